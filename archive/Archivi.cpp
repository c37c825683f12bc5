#include "archive/Archivi.h"

#include "ui/Screens.h"

void registraArchivi()
{
}
