#include "assessment/Verifiche.h"

#include "assessment/FQimage.h"
#include "assessment/FQuest.h"
#include "assessment/FRIsomma.h"
#include "assessment/FSommati.h"
#include "ui/Screens.h"

void registraVerifiche(Sessione& sessione)
{
    auto& screens = ui::Screens::instance();
    screens.registerScreen(QStringLiteral("FQuest"), [&sessione] { return new FQuest(sessione); });
    screens.registerScreen(QStringLiteral("FQimage"), [&sessione] { return new FQimage(sessione); });
    screens.registerScreen(QStringLiteral("FSommati"), [&sessione] { return new FSommati(sessione); });
    screens.registerScreen(QStringLiteral("FRIsomma"), [&sessione] { return new FRIsomma(sessione); });
}
