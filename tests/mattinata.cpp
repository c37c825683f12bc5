// A morning of tests from several pupils, through the real screens, then what a teacher sees of it: the
// archive exported to CSV, the analysis of the answers (statements and class grid) photographed, printed
// to PDF and exported. Run it by hand from the build folder: tests/mattinata OUTPUT_FOLDER
#include "Misure.h"

#include "animation/Fsintesi.h"
#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "archive/Analisi.h"
#include "archive/Archivio.h"
#include "assessment/Etichette.h"
#include "assessment/FQimage.h"
#include "assessment/FQuest.h"
#include "assessment/FSommati.h"
#include "ui/FileDialog.h"
#include "ui/Printer.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

using Misure::menu;

namespace {
// Whether pupil `k` gets `testo` wrong: some statements are missed by most pupils, some by none.
bool sbaglia(const QString& testo, int k)
{
    return int(qHash(testo, 7u) % 7) < (k % 3) + (testo.size() % 3 == 0 ? 3 : 0);
}

// Pupil `k` marks the ten statements of the page shown.
template <typename Pagina>
void rispondi(Pagina* p, int k)
{
    for (int r = 0; r < 10; ++r) {
        const bool vero = (TestSupport::sessione().soluzioni[r + 1] == 1) != sbaglia(p->Text1[r]->text(), k);
        (vero ? p->Check1 : p->Check2)[r]->click();
    }
}

void questionario(int argomento, int k, bool immagine)
{
    menu()->Command1_Click(argomento - 1);
    auto& screens = ui::Screens::instance();
    auto* q = qobject_cast<FQuest*>(screens.show(QStringLiteral("FQuest")));
    q->cmdquestionario->click();
    for (;;) {
        rispondi(q, k);
        q->cmdRISULT->click();
        if (!q->cmdmostradomande->isEnabled())
            break;
        q->cmdmostradomande->click();
    }
    if (immagine) {
        q->cmdimage->click();
        auto* f = qobject_cast<FQimage*>(screens.front());
        const auto& numeri = Etichette::argomento(argomento)->numeriesatti;
        for (int i = 0; i < 10 - 2 * k % 7; ++i)
            f->Label4_DragDrop(i, numeri[i].toInt() - 1);
        f->cmdRISULT->click();
        f->cmdscegliarg->click();
    } else {
        q->cmdscegli->click();
    }
}

void sommativo(int k)
{
    menu()->sommativo->click();
    auto* f = qobject_cast<FSommati*>(ui::Screens::instance().find(QStringLiteral("FSommati")));
    while (f->cmdAVANTI->isEnabled()) {
        rispondi(f, k);
        f->cmdAVANTI->click();
    }
    f->Command1->click();
}

void sintesi(int k)
{
    menu()->cmdsinteanim->click();
    auto* f = qobject_cast<Fsintesi*>(ui::Screens::instance().find(QStringLiteral("Fsintesi")));
    for (int guard = 0; guard < 300; ++guard) {
        if (f->Frame1.isVisible() && !f->Timer1->isEnabled() && !f->Timer2->isEnabled() && f->CmdCorreggi->isEnabled()) {
            for (int i = 0; i < 12; ++i)
                if (f->prova().esattaMostrata(i) != sbaglia(f->prova().mostrata(i), k))
                    f->Label11_Click(i);
            f->CmdCorreggi_Click();
            if (f->prova().prova() == 2)
                break;
            f->CmdContinuo->click();
        }
        TestSupport::secondi(f, 1);
    }
    f->Cmdmenu_Click();
}
}  // namespace

int main(int argc, char** argv)
{
    Misure::offscreen();
    QApplication app(argc, argv);
    const QString out = QDir(app.arguments().value(1, QStringLiteral("mattinata"))).absolutePath();
    QDir().mkpath(out);
    QTextStream dice(stdout);
    TestSupport::prepara();
    TestSupport::CartellaProgramma folder(true, true);
    if (!TestSupport::apriMenu())
        return 1;
    QWidget* window = ui::Screens::instance().front()->window();
    window->resize(1366, 768);

    const QStringList alunni{QStringLiteral("Rossi Mario"), QStringLiteral("Bianchi Anna"), QStringLiteral("Verdi Luca"),
                             QStringLiteral("D'Amico Lucia"), QStringLiteral("=Neri Ugo"), QStringLiteral("Esposito Gennaro")};
    for (int k = 0; k < alunni.size(); ++k) {
        TestSupport::sessione().nomestudente = alunni[k];
        questionario(1, k, true);
        if (k % 2 == 0)
            questionario(3, k, false);
        sommativo(k);
        if (k < 3)
            sintesi(k);
        dice << alunni[k] << ": fatto\n";
    }

    auto& screens = ui::Screens::instance();
    auto* archivio = qobject_cast<Archivio*>(screens.show(QStringLiteral("frmRISUL")));
    archivio->cmdtutto->click();
    ui::FileDialog::setNextFile(out + QStringLiteral("/archivio-questionari.csv"));
    archivio->cmdesporto->click();
    window->grab().save(out + QStringLiteral("/archivio-questionari.png"));
    archivio->cmdanalisi->click();
    auto* analisi = qobject_cast<Analisi*>(screens.front());
    for (const QString& vista : {QStringLiteral("affermazioni"), QStringLiteral("classe")}) {
        if (vista == QLatin1String("classe"))
            analisi->cmdclasse->click();
        QApplication::processEvents();
        const QString nome = out + QStringLiteral("/analisi-") + vista;
        window->grab().save(nome + QStringLiteral(".png"));
        ui::Printer::setRecording(true, nome + QStringLiteral(".pdf"));
        analisi->cmdstampa->click();
        ui::FileDialog::setNextFile(nome + QStringLiteral(".csv"));
        analisi->cmdesporto->click();
    }
    dice << "Risposte lette dall'analisi: " << analisi->analisi().risposteLette() << "\n" << out << "\n";
    TestSupport::chiudiTutto();
    return 0;
}
