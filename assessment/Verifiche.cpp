#include "assessment/Verifiche.h"

#include "assessment/FRIsomma.h"
#include "assessment/FSommati.h"
#include "ui/Screens.h"

void registraVerifiche()
{
    ui::Screens::instance().registerScreen(QStringLiteral("FSommati"), [] { return new FSommati; });
    ui::Screens::instance().registerScreen(QStringLiteral("FRIsomma"), [] { return new FRIsomma; });
}
