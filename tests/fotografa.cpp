// Renders screens to PNG files, to look at them: fotografa OUTPUT_FOLDER
// Each screen is drawn at 800 x 600, 1366 x 768 and 1920 x 1080.
#include "TestSupport.h"

#include "ui/Screens.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QString out = app.arguments().value(1, QStringLiteral("fotografie"));
    QDir().mkpath(out);
    TestSupport::prepara();
    TestSupport::CartellaProgramma folder(true, true);
    if (!TestSupport::apriMenu())
        return 1;
    const QList<QSize> sizes{{800, 600}, {1366, 768}, {1920, 1080}};
    for (const QSize& size : sizes) {
        QWidget* window = ui::Screens::instance().front()->window();
        window->resize(size);
        QApplication::processEvents();
        const QString file = QStringLiteral("%1/Fscelt-%2x%3.png").arg(out).arg(size.width()).arg(size.height());
        window->grab().save(file);
        QTextStream(stdout) << file << "\n";
    }
    TestSupport::chiudiTutto();
    return 0;
}
