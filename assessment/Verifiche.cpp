#include "assessment/Verifiche.h"

#include "ui/Screens.h"

void registraVerifiche()
{
}
