// Figures for the animation viewer at its fastest setting (1 ms): pictures actually shown per second,
// against the rate at which the same pictures are read and decoded alone. Run by hand:
//   tests/bench_visore [SECONDS]
#include "TestSupport.h"

#include "animation/Formani.h"
#include "app/Sessione.h"
#include "ui/Pictures.h"
#include "ui/Screens.h"
#include "ui/Timer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTextStream>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const double seconds = std::max(1.0, app.arguments().value(1).toDouble() > 0 ? app.arguments().value(1).toDouble() : 5.0);
    TestSupport::prepara();
    ui::Timer::setManual(false);  // the real clock drives the run here
    TestSupport::CartellaProgramma folder;

    // 45 drift pictures of the committed size: 4815 x 3735 twips drawn at 192 dpi.
    QDir().mkpath(folder.percorso() + QStringLiteral("/immagini/deriva"));
    QStringList files;
    for (int k = 1; k <= 45; ++k) {
        QImage image(642, 498, QImage::Format_RGB32);
        QPainter p(&image);
        p.fillRect(image.rect(), QColor(200, 220, 240));
        p.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 40; ++i) {
            p.setBrush(QColor::fromHsv((i * 37 + k * 5) % 360, 90, 230));
            p.drawEllipse(QPointF((i * 97 + k * 13) % 642, (i * 53 + k * 7) % 498), 40 + i % 30, 25 + i % 20);
        }
        p.end();
        image.setDotsPerMeterX(7559);
        image.setDotsPerMeterY(7559);
        const QString file = folder.percorso() + QStringLiteral("/immagini/deriva/new-%1.jpg").arg(k);
        QImageWriter(file, "jpg").write(image);
        files << file;
    }

    // Decoding alone: whole, and straight at the size the viewer shows them.
    QElapsedTimer t;
    auto decodeRate = [&](QSize size) {
        t.start();
        int decoded = 0;
        while (t.elapsed() < seconds * 1000) {
            QImageReader reader(files.at(decoded % files.size()));
            if (size.isValid())
                reader.setScaledSize(size);
            if (reader.read().isNull())
                return -1.0;
            ++decoded;
        }
        return decoded / (t.nsecsElapsed() / 1e9);
    };
    const double wholeRate = decodeRate({});

    // The viewer at 1 ms, restarted whenever the run reaches its last picture.
    if (!TestSupport::apriMenu())
        return 1;
    ui::Screens::instance().front()->window()->resize(1366, 768);
    TestSupport::sessione().numanimazione = 3;
    auto* f = qobject_cast<Formani*>(ui::Screens::instance().show(QStringLiteral("Formani")));
    for (int i = 0; i < 8; ++i)
        f->cmdmaxvel->click();
    int shown = 0;
    int last = f->visore().contanim();
    QObject::connect(f->Timer1, &ui::Timer::tick, f, [&] {
        if (f->visore().contanim() <= f->visore().numfoto() && f->visore().contanim() != last)
            ++shown;
        last = f->visore().contanim();
        if (f->visore().contanim() >= f->visore().numfoto())
            f->Cmdanim->click();
    });
    t.restart();
    while (t.elapsed() < seconds * 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    const double showRate = shown / (t.nsecsElapsed() / 1e9);
    const QSize shownSize = f->Image2->size();
    const double decodeRateShown = decodeRate(shownSize);

    QTextStream out(stdout);
    out << "interval " << f->Timer1->interval() << " ms, level " << f->Labvel->caption() << "\n";
    out << "decode alone, whole pictures (642 x 498): " << wholeRate << " pictures/s\n";
    out << "decode alone, at the size shown (" << shownSize.width() << " x " << shownSize.height()
        << "): " << decodeRateShown << " pictures/s\n";
    out << "viewer shows: " << showRate << " pictures/s = " << 100.0 * showRate / decodeRateShown
        << "% of the decode rate at the size shown, " << 100.0 * showRate / wholeRate << "% of the whole-picture rate\n";
    TestSupport::chiudiTutto();
    return 0;
}
