// Figures for the archives over a large results table (100,000 rows unless told otherwise):
//   - listing the whole table and showing its first page ("VEDO tutti i dati"), median of repeated runs;
//   - paging through the whole list ("CONTINUO a scorrere" to the end);
//   - printing the whole list to a PDF file;
//   - the process's peak memory.
// Run it by hand from the build folder: tests/bench_archivi [ROWS]
#include "TestSupport.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "archive/Archivio.h"
#include "ui/Printer.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

using TestSupport::median;
using TestSupport::piccoMemoria;


int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rows = app.arguments().value(1).toInt() > 0 ? app.arguments().value(1).toInt() : 100000;
    TestSupport::prepara();
    TestSupport::CartellaProgramma folder;
    if (!TestSupport::apriMenu())
        return 1;
    TestSupport::riempiStudenti(TestSupport::sessione().dbcorso->connection(), rows);
    const double memoriaPrima = piccoMemoria();
    auto* menu = qobject_cast<Fscelt*>(ui::Screens::instance().find(QStringLiteral("Fscelt")));
    menu->CMDarchquest->click();
    auto* archivio = qobject_cast<Archivio*>(ui::Screens::instance().front());

    QList<double> primaPagina;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        archivio->cmdtutto->click();
        QApplication::processEvents();
        primaPagina << t.nsecsElapsed() / 1e6;
        // The next run starts on a fresh screen, as a teacher coming from the menu.
        archivio->cmdcseltaarg->click();
        menu->CMDarchquest->click();
        archivio = qobject_cast<Archivio*>(ui::Screens::instance().front());
    }

    archivio->cmdtutto->click();
    int pagine = 1;
    QElapsedTimer scorri;
    scorri.start();
    while (archivio->CmdContinuo->isEnabled()) {
        archivio->CmdContinuo->click();
        ++pagine;
    }
    const double tempoScorri = scorri.nsecsElapsed() / 1e6;

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("elenco.pdf"));
    // As a real job: the lines are not kept.
    ui::Printer::setRecording(true, pdf, false);
    const double memoriaPrimaStampa = piccoMemoria();
    QElapsedTimer stampa;
    stampa.start();
    archivio->cmdstampa->click();
    const double tempoStampa = stampa.nsecsElapsed() / 1e6;
    const auto jobs = ui::Printer::jobs();

    QTextStream out(stdout);
    out << "rows in \"studenti\": " << rows << "\n";
    out << "list the whole table and show its first page: median " << median(primaPagina) << " ms over "
        << primaPagina.size() << " runs (slowest " << *std::max_element(primaPagina.begin(), primaPagina.end())
        << " ms)\n";
    out << "page through it: " << pagine << " presses in " << tempoScorri << " ms, " << tempoScorri / pagine
        << " ms a page\n";
    out << "print it to PDF: " << tempoStampa << " ms, " << (jobs.isEmpty() ? 0 : jobs.last().layout.pages)
        << " pages, " << QFileInfo(pdf).size() / 1024 << " KiB\n";
    out << "peak memory: " << piccoMemoria() << " MiB (" << memoriaPrima << " MiB before the archive opened, "
        << memoriaPrimaStampa << " MiB before printing)\n";
    TestSupport::chiudiTutto();
    return 0;
}
