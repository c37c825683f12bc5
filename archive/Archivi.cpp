#include "archive/Archivi.h"

#include "archive/Analisi.h"
#include "archive/FLIsomm.h"
#include "archive/FrmRISUL.h"
#include "ui/Screens.h"

void registraArchivi(Sessione& sessione)
{
    auto& screens = ui::Screens::instance();
    screens.registerScreen(QStringLiteral("frmRISUL"), [&sessione] { return new FrmRISUL(sessione); });
    screens.registerScreen(QStringLiteral("FLIsomm"), [&sessione] { return new FLIsomm(sessione); });
    screens.registerScreen(QString::fromLatin1(Analisi::kNome), [&sessione] { return new Analisi(sessione); });
}
