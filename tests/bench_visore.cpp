// Figures for the animation viewer at its fastest setting (1 ms), at three window sizes: pictures painted
// a second by the automatic run against two decode floors measured in the same run, before and after the
// automatic run (each picture decoded whole, or straight at the size shown), and against what a 1 ms clock
// lets it reach; preparing alone what the viewer shows, on one thread; the processor time a picture
// painted against a decode alone (the share that does not depend on what else the machine runs); the time
// from a press of the manual run, "Minore" or "Maggiore" to its effect on screen while the run goes on.
// Run it by hand from the build folder: tests/bench_visore [SECONDS [WIDTH...]], where the widths pick
// some of the three windows (800, 1920, 3840).
#include "Misure.h"

#include "animation/Formani.h"
#include "app/Sessione.h"
#include "ui/Pictures.h"
#include "ui/Screens.h"
#include "ui/Timer.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QTextStream>

using Misure::cpuMs;
using Misure::quantile;

namespace {
// Calls `allaPittura` at each paint of a control and notes when the first one after `attesa()` came.
class Pitture : public QObject {
public:
    explicit Pitture(QWidget* w) : m_w(w) { w->installEventFilter(this); }
    qint64 primaDopo = -1;  // ns on the clock, or -1
    void attesa(const QElapsedTimer* clock) { m_clock = clock; primaDopo = -1; }
    std::function<void()> allaPittura;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == m_w && e->type() == QEvent::Paint) {
            if (allaPittura)
                allaPittura();
            if (m_clock && primaDopo < 0)
                primaDopo = m_clock->nsecsElapsed();
        }
        return false;
    }

private:
    QWidget* m_w;
    const QElapsedTimer* m_clock = nullptr;
};

// A press of the mouse on a button, queued as the window system would deliver it.
void premi(QWidget* button)
{
    const QPointF centro(button->width() / 2.0, button->height() / 2.0);
    const QPointF globale = button->mapToGlobal(centro);
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, centro, globale, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, centro, globale, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}
}  // namespace

int main(int argc, char** argv)
{
    Misure::offscreen();
    QApplication app(argc, argv);
    const double seconds = std::max(1.0, app.arguments().value(1).toDouble() > 0 ? app.arguments().value(1).toDouble() : 4.0);
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

    // Pictures a second that `una(k)` handles one after another on one thread for half a run (-1 where
    // one fails), and the whole program's processor time a picture.
    QElapsedTimer t;
    struct Ritmo {
        double alSecondo, cpu;
    };
    auto rate = [&](const std::function<bool(int)>& una) {
        t.start();
        const double cpu0 = cpuMs();
        int fatte = 0;
        for (; t.elapsed() < seconds * 500; ++fatte)
            if (!una(fatte))
                return Ritmo{-1.0, 0};
        return Ritmo{fatte / (t.nsecsElapsed() / 1e9), (cpuMs() - cpu0) / fatte};
    };
    // Decoding alone: whole, or straight at a size.
    auto decodeRate = [&](QSize size) {
        return rate([&](int k) {
            QImageReader reader(files.at(k % files.size()));
            if (size.isValid())
                reader.setScaledSize(size);
            return !reader.read().isNull();
        });
    };
    auto prepareRate = [&](QSize size) {
        const auto target = ui::Pictures::Target::stretched(size);
        return rate([&](int k) {
            return !ui::Pictures::prepare(QStringLiteral("immagini\\deriva\\new-%1.jpg").arg(1 + k % 45), target).isNull();
        });
    };

    QTextStream out(stdout);
    out << "pictures: JPEG 642 x 498, 192 dpi; the run restarted at its last picture; " << seconds << " s a run\n";
    // What the clock gives at 1 ms with nothing to do on a tick: no viewer can show more pictures than that.
    double clockRate = 0;
    {
        ui::Timer bare;
        int beats = 0;
        QObject::connect(&bare, &ui::Timer::tick, &bare, [&] { ++beats; });
        bare.setInterval(1);
        bare.setEnabled(true);
        t.start();
        TestSupport::gira(int(seconds * 500));
        clockRate = beats / (t.nsecsElapsed() / 1e9);
    }
    out << "the clock alone at 1 ms: " << qRound(clockRate) << " ticks/s\n";
    out.flush();
    const QStringList larghezze = app.arguments().mid(2);
    for (const QSize& finestra : {QSize(800, 600), QSize(1920, 1080), QSize(3840, 2160)}) {
        if (!larghezze.isEmpty() && !larghezze.contains(QString::number(finestra.width())))
            continue;
        if (!TestSupport::apriMenu())
            return 1;
        ui::Screens::instance().front()->window()->resize(finestra);
        TestSupport::sessione().numanimazione = 3;
        auto* f = qobject_cast<Formani*>(ui::Screens::instance().show(QStringLiteral("Formani")));
        for (int i = 0; i < 8; ++i)
            f->cmdmaxvel->click();
        QApplication::processEvents();
        const QSize shownSize = (QSizeF(f->Image2->size()) * f->Image2->devicePixelRatioF()).toSize();
        // The floors are measured before and after the run and averaged: the machine's speed drifts.
        f->Timer1->setEnabled(false);
        const Ritmo wholeBefore = decodeRate({}), shownBefore = decodeRate(shownSize);
        f->Timer1->setEnabled(true);

        // The automatic run: ticks that changed the picture, and paints that show a picture not yet painted.
        int ticks = 0, painted = 0;
        int last = f->visore().contanim();
        QString lastPainted;
        Pitture pitture2(f->Image2);
        pitture2.allaPittura = [&] {
            if (f->Image2->fileName() != lastPainted)
                ++painted;
            lastPainted = f->Image2->fileName();
        };
        auto contaERiavvia = QObject::connect(f->Timer1, &ui::Timer::tick, f, [&] {
            if (f->visore().contanim() <= f->visore().numfoto() && f->visore().contanim() != last)
                ++ticks;
            last = f->visore().contanim();
            if (f->visore().contanim() >= f->visore().numfoto())
                f->Cmdanim->click();
        });
        QApplication::processEvents();
        ticks = painted = 0;
        t.restart();
        const double cpu0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID), cpuGui0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
        TestSupport::gira(int(seconds * 1000));
        const double elapsed = t.nsecsElapsed() / 1e9;
        const double cpuPerPicture = (cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0) / std::max(1, painted);
        const double cpuGuiPerPicture = (cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpuGui0) / std::max(1, painted);
        const double tickRate = ticks / elapsed, paintRate = painted / elapsed;

        // Presses while the run goes on: the manual run's button (effect: its picture painted anew), then
        // "Minore" and "Maggiore" in turn (effect: the speed level painted anew).
        QElapsedTimer clock;
        clock.start();
        QList<double> manuale, velocita, manualeClic;
        qint64 clic = -1;
        QObject::connect(f->Command1, &ui::Button::clicked, f, [&] { clic = clock.nsecsElapsed(); });
        Pitture pitture1(f->Image1), pittureVel(f->Labvel);
        for (int i = 0; i < 45; ++i) {
            // Manual steps at 1 ms; "Minore" at 1 ms, then "Maggiore" back to 1 ms.
            const bool isManual = i % 3 == 0;
            QWidget* button = isManual ? static_cast<QWidget*>(f->Command1)
                                       : (i % 3 == 1 ? static_cast<QWidget*>(f->cmdminvel) : f->cmdmaxvel);
            Pitture& effetto = isManual ? pitture1 : pittureVel;
            TestSupport::gira(50);
            effetto.attesa(&clock);
            const qint64 t0 = clock.nsecsElapsed();
            premi(button);
            TestSupport::gira(2000, [&] { return effetto.primaDopo >= 0; });
            (isManual ? manuale : velocita) << (effetto.primaDopo < 0 ? 2000.0 : (effetto.primaDopo - t0) / 1e6);
            if (isManual)
                manualeClic << (clic - t0) / 1e6;
        }
        QObject::disconnect(contaERiavvia);
        f->Timer1->setEnabled(false);
        QApplication::processEvents();

        auto media = [](Ritmo a, Ritmo b) {
            return a.alSecondo < 0 || b.alSecondo < 0 ? Ritmo{-1.0, 0} : Ritmo{(a.alSecondo + b.alSecondo) / 2, (a.cpu + b.cpu) / 2};
        };
        const Ritmo whole = media(wholeBefore, decodeRate({})), shown = media(shownBefore, decodeRate(shownSize));
        const Ritmo prepared = prepareRate(shownSize);
        const double floor = std::max(whole.alSecondo, shown.alSecondo);
        out << "window " << finestra.width() << " x " << finestra.height() << ", picture shown at "
            << shownSize.width() << " x " << shownSize.height() << ", interval " << f->Timer1->interval() << " ms:\n";
        auto riga = [&](const char* cosa, Ritmo r) {
            out << "  " << cosa << " " << qRound(r.alSecondo) << " pictures/s, processor "
                << QString::number(r.cpu, 'f', 2) << " ms a picture\n";
        };
        riga("decode alone, whole:            ", whole);
        riga("decode alone, at the size shown:", shown);
        riga("prepare alone, decoded and brought to the size shown:", prepared);
        out << "  viewer: ticks " << qRound(tickRate) << "/s, pictures painted " << qRound(paintRate) << "/s = "
            << qRound(100.0 * paintRate / floor) << "% of the better floor, " << qRound(100.0 * paintRate / std::min(floor, clockRate))
            << "% of what the clock lets it reach; processor "
            << QString::number(cpuPerPicture, 'f', 2) << " ms a picture painted, "
            << QString::number(cpuGuiPerPicture, 'f', 2) << " ms of it on the interface thread\n";
        // What the processor time alone allows when nothing else runs: two processors, the interface
        // thread's share on one of them.
        const double ceiling = std::min(2000.0 / cpuPerPicture, 1000.0 / cpuGuiPerPicture);
        const double floorCpu = 1000.0 / std::min(whole.cpu, shown.cpu);
        out << "  by processor time alone: the better floor " << qRound(floorCpu) << " pictures/s on one idle processor, "
            << "the viewer " << qRound(ceiling) << " pictures/s on two = " << qRound(100.0 * ceiling / floorCpu) << "%\n";
        out << "  press to click handler, manual run: median " << quantile(manualeClic, 0.5) << " ms, max "
            << quantile(manualeClic, 1.0) << " ms\n";
        out << "  press to effect, manual run: median " << quantile(manuale, 0.5) << " ms, max "
            << quantile(manuale, 1.0) << " ms; speed buttons: median " << quantile(velocita, 0.5) << " ms, max "
            << quantile(velocita, 1.0) << " ms\n";
        out.flush();
        TestSupport::chiudiTutto();
    }
    return 0;
}
