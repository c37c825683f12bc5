// Renders screens to PNG files, to look at them: fotografa OUTPUT_FOLDER [lezioni | visore | sintesi] [WxH]
// The main menu at 800 x 600, 1366 x 768 and 1920 x 1080; with "lezioni", every page of every lesson at
// 1366 x 768 (or the size given), the hotspot pages once more after a click on each hotspot; with
// "visore", each animation a few seconds in; with "sintesi", the synthesis second by second, every
// close-up and each test as it opens, then corrected after marking the statements that are true.
#include "Misure.h"

#include "animation/Formani.h"
#include "animation/Fsintesi.h"
#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "lessons/Forarg.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

namespace {
void salva(const QString& file)
{
    QApplication::processEvents();
    ui::Screens::instance().front()->window()->grab().save(file);
    QTextStream(stdout) << file << "\n";
}
}  // namespace

int main(int argc, char** argv)
{
    Misure::offscreen();
    QApplication app(argc, argv);
    const QString out = app.arguments().value(1, QStringLiteral("fotografie"));
    const bool lezioni = app.arguments().contains(QStringLiteral("lezioni"));
    const bool visore = app.arguments().contains(QStringLiteral("visore"));
    const bool sintesi = app.arguments().contains(QStringLiteral("sintesi"));
    QSize size(1366, 768);
    for (const QString& a : app.arguments()) {
        const QStringList wh = a.split(QLatin1Char('x'));
        if (wh.size() == 2 && wh[0].toInt() > 0 && wh[1].toInt() > 0)
            size = QSize(wh[0].toInt(), wh[1].toInt());
    }
    QDir().mkpath(out);
    TestSupport::prepara();
    TestSupport::CartellaProgramma folder(true, true);
    if (!TestSupport::apriMenu())
        return 1;
    QWidget* window = ui::Screens::instance().front()->window();
    window->resize(size);
    if (sintesi) {
        ui::MessageBox::setNextInput(QStringLiteral("Rossi Maria"));
        Misure::menu()->cmdsinteanim->click();
        auto* f = qobject_cast<Fsintesi*>(ui::Screens::instance().find(QStringLiteral("Fsintesi")));
        for (int secondo = 1; secondo < 200 && !f->CmdRicomincio->isVisible(); ++secondo) {
            TestSupport::secondi(f, 1);
            const int fotogramma = f->serie().fotogramma();
            salva(f->Timer2->isEnabled() || f->Image2->isVisible()
                      ? QStringLiteral("%1/sintesi-%2-zoom-%3.png").arg(out).arg(fotogramma, 2, 10, QLatin1Char('0')).arg(f->serie().contingrandimento(), 2, 10, QLatin1Char('0'))
                      : QStringLiteral("%1/sintesi-%2.png").arg(out).arg(fotogramma, 2, 10, QLatin1Char('0')));
            if (f->Frame1.isVisible() && !f->Timer1->isEnabled() && !f->Timer2->isEnabled()) {
                for (int i = 0; i < 12; ++i)
                    if (f->prova().esattaMostrata(i))
                        f->Label11_Click(i);
                f->CmdCorreggi->click();
                salva(QStringLiteral("%1/sintesi-%2-corretta.png").arg(out).arg(fotogramma, 2, 10, QLatin1Char('0')));
                f->CmdContinuo->click();
            }
        }
    } else if (visore) {
        for (int n = 1; n <= 7; ++n) {
            TestSupport::sessione().numanimazione = qint16(n);
            auto* f = qobject_cast<Formani*>(ui::Screens::instance().show(QStringLiteral("Formani")));
            for (int i = 0; i < 5; ++i)
                f->Timer1->fire();
            f->Command1->click();
            salva(QStringLiteral("%1/Formani-%2.png").arg(out).arg(n));
            ui::Screens::instance().show(QStringLiteral("Fscelt"));
            ui::Screens::instance().unload(QStringLiteral("Formani"));
        }
    } else if (!lezioni) {
        for (const QSize& size : {QSize(800, 600), QSize(1366, 768), QSize(1920, 1080)}) {
            window->resize(size);
            salva(QStringLiteral("%1/Fscelt-%2x%3.png").arg(out).arg(size.width()).arg(size.height()));
        }
    } else {
        for (int n = 1; n <= 6; ++n) {
            Misure::menu()->Command1_Click(n - 1);
            auto* lesson = qobject_cast<Forarg*>(ui::Screens::instance().front());
            if (!lesson)
                return 2;
            for (;;) {
                const int p = lesson->numpagina();
                salva(QStringLiteral("%1/forarg%2-%3.png").arg(out).arg(n).arg(p, 2, 10, QLatin1Char('0')));
                for (const QString& label : lesson->motore().vista().finestrelle.keys()) {
                    lesson->Finestrella_Click(label);
                    salva(QStringLiteral("%1/forarg%2-%3-%4.png").arg(out).arg(n).arg(p, 2, 10, QLatin1Char('0')).arg(label));
                }
                if (!lesson->cmdAVANTI->isEnabled())
                    break;
                lesson->cmdAVANTI->click();
            }
            lesson->cmdscegli->click();
        }
    }
    TestSupport::chiudiTutto();
    return 0;
}
