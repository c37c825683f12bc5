// Figures for the start of the program, medians over repeated runs: from process start to the main menu
// shown (a fresh process each run), and opening a question table with a copy of its first record.
// Run it by hand from the build folder: tests/bench_avvio [RUNS]
#include "Misure.h"

#include "app/Avvio.h"
#include "app/Sessione.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QTest>
#include <QTextStream>

using TestSupport::median;

namespace {
// The child: start as the program does and say when the menu is on screen.
int child(const QString& folder)
{
    TestSupport::prepara();
    ui::Pictures::setRoot(folder);
    int exitCode = 0;
    QElapsedTimer inProcess;
    inProcess.start();
    auto window = Avvio::prepara(TestSupport::sessione(), &exitCode);
    if (!window)
        return exitCode;
    window->resize(1366, 768);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 5;
    QTextStream(stdout) << "MENU " << inProcess.nsecsElapsed() / 1e6 << "\n";
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    Misure::offscreen();
    QApplication app(argc, argv);
    if (app.arguments().value(1) == QLatin1String("--figlio"))
        return child(app.arguments().value(2));
    const int runs = std::max(3, Misure::numero(1, 15));
    TestSupport::CartellaProgramma folder(true, true);

    QList<double> whole, inside;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        whole << Misure::ms([&] {
            p.start(app.applicationFilePath(), {QStringLiteral("--figlio"), folder.percorso()});
            p.waitForReadyRead(60000);
        });
        inside << p.readAllStandardOutput().mid(5).trimmed().toDouble();
        p.waitForFinished(60000);
    }

    TestSupport::prepara();
    ui::Pictures::setRoot(folder.percorso());
    int exitCode = 0;
    auto window = Avvio::prepara(TestSupport::sessione(), &exitCode);
    QList<double> open;
    for (int i = 0; i < runs * 20; ++i) {
        TestSupport::sessione().numargomento = qint16(1 + i % 6);
        open << Misure::ms([] {
            TestSupport::sessione().apridomande();
            TestSupport::sessione().caricadomande();
        });
    }
    QTextStream out(stdout);
    out << "runs: " << runs << "\n";
    out << "process start to main menu shown: median " << median(whole) << " ms\n";
    out << "  of which inside the process (database opened, menu built and exposed): median " << median(inside)
        << " ms\n";
    out << "open a question table and copy its first record: median " << median(open) * 1000 << " us over "
        << open.size() << " openings\n";
    window.reset();
    TestSupport::chiudiTutto();
    return 0;
}
