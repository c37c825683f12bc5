#include "animation/Animazioni.h"

#include "animation/Formani.h"
#include "animation/Fsintesi.h"
#include "ui/Screens.h"

void registraAnimazioni()
{
    ui::Screens::instance().registerScreen(QStringLiteral("Formani"), [] { return new Formani; });
    ui::Screens::instance().registerScreen(QStringLiteral("Fsintesi"), [] { return new Fsintesi; });
}
