#include "assessment/Verifiche.h"

#include "assessment/FQimage.h"
#include "assessment/FQuest.h"
#include "assessment/FRIsomma.h"
#include "assessment/FSommati.h"
#include "ui/Screens.h"

void registraVerifiche()
{
    auto& screens = ui::Screens::instance();
    screens.registerScreen(QStringLiteral("FQuest"), [] { return new FQuest; });
    screens.registerScreen(QStringLiteral("FQimage"), [] { return new FQimage; });
    screens.registerScreen(QStringLiteral("FSommati"), [] { return new FSommati; });
    screens.registerScreen(QStringLiteral("FRIsomma"), [] { return new FRIsomma; });
}
