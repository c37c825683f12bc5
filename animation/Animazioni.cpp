#include "animation/Animazioni.h"

#include "animation/Formani.h"
#include "ui/Screens.h"

void registraAnimazioni()
{
    ui::Screens::instance().registerScreen(QStringLiteral("Formani"), [] { return new Formani; });
}
