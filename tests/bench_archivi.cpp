// Figures for the archives over a large results table (100,000 rows unless told otherwise): listing the
// whole table and showing its first page ("VEDO tutti i dati", median of repeated runs), paging through it
// to the end ("CONTINUO a scorrere"), printing it to a PDF file, and the process's peak memory.
// Run it by hand from the build folder: tests/bench_archivi [ROWS]
#include "Misure.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "archive/Archivio.h"
#include "ui/Printer.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

using Misure::ms;
using TestSupport::median;
using TestSupport::piccoMemoria;

int main(int argc, char** argv)
{
    Misure::offscreen();
    QApplication app(argc, argv);
    const int rows = Misure::numero(1, 100000);
    TestSupport::prepara();
    TestSupport::CartellaProgramma folder;
    if (!TestSupport::apriMenu())
        return 1;
    TestSupport::riempiStudenti(TestSupport::sessione().dbcorso->connection(), rows);
    const double memoriaPrima = piccoMemoria();
    auto* menu = Misure::menu();
    menu->CMDarchquest->click();
    auto* archivio = qobject_cast<Archivio*>(ui::Screens::instance().front());

    QList<double> primaPagina;
    for (int i = 0; i < 15; ++i) {
        primaPagina << ms([&] {
            archivio->cmdtutto->click();
            QApplication::processEvents();
        });
        // The next run starts on a fresh screen, as a teacher coming from the menu.
        archivio->cmdcseltaarg->click();
        menu->CMDarchquest->click();
        archivio = qobject_cast<Archivio*>(ui::Screens::instance().front());
    }

    archivio->cmdtutto->click();
    int pagine = 1;
    const double tempoScorri = ms([&] {
        for (; archivio->CmdContinuo->isEnabled(); ++pagine)
            archivio->CmdContinuo->click();
    });

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("elenco.pdf"));
    // As a real job: the lines are not kept.
    ui::Printer::setRecording(true, pdf, false);
    const double memoriaPrimaStampa = piccoMemoria();
    const double tempoStampa = ms([&] { archivio->cmdstampa->click(); });
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
