#include "animation/Animazioni.h"

#include "animation/Formani.h"
#include "animation/Fsintesi.h"
#include "ui/Screens.h"

void registraAnimazioni(Sessione& sessione)
{
    ui::Screens::instance().registerScreen(QStringLiteral("Formani"), [&sessione] { return new Formani(sessione); });
    ui::Screens::instance().registerScreen(QStringLiteral("Fsintesi"), [&sessione] { return new Fsintesi(sessione); });
}
