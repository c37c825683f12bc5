#include "animation/Animazioni.h"

#include "ui/Screens.h"

void registraAnimazioni()
{
}
