#include "lessons/Lezioni.h"

#include "ui/Screens.h"

void registraLezioni()
{
}
