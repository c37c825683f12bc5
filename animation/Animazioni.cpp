#include "animation/Animazioni.h"

#include "animation/Fsintesi.h"
#include "ui/Screens.h"

void registraAnimazioni()
{
    ui::Screens::instance().registerScreen(QStringLiteral("Fsintesi"), [] { return new Fsintesi; });
}
