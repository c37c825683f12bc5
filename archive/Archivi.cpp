#include "archive/Archivi.h"

#include "archive/FLIsomm.h"
#include "archive/FrmRISUL.h"
#include "ui/Screens.h"

void registraArchivi()
{
    auto& screens = ui::Screens::instance();
    screens.registerScreen(QStringLiteral("frmRISUL"), [] { return new FrmRISUL; });
    screens.registerScreen(QStringLiteral("FLIsomm"), [] { return new FLIsomm; });
}
