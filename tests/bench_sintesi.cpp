// Figures for the animated synthesis at 800 x 600, 1920 x 1080 and 3840 x 2160: how long a tick of the
// series (Timer1) or of the close-ups (Timer2) holds the interface thread with the repaint it causes
// (median, 99th percentile; wall and processor time), the peak memory (VmHWM) over the exercise, and
// decoding one main picture alone. Ticks are IDLE_MS apart, as the one-second clock leaves the program.
// The pictures are made up at the course's sizes (1280 x 920 main, 1924 x 580 close-ups, 192 dpi), as
// GIF when built with the picture tools, else JPEG. Goal, 99 ticks in 100: under half a 60 Hz frame (8.3 ms) at
// 1920 x 1080 and under a frame (16.7 ms) at 3840 x 2160.
// Run it by hand from the build folder: tests/bench_sintesi [RUNS] [jpeg|gif] [IDLE_MS]
// To look at the synthesis at these sizes: tests/fotografa FOLDER sintesi WxH.
#include "Misure.h"

#include "animation/Fsintesi.h"
#include "app/Fscelt.h"
#include "ui/MessageBox.h"
#include "ui/Pictures.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTextStream>

#ifdef BENCH_GIF
#include "GifWriter.h"
#endif

using Misure::quantile;

namespace {
// Starts a new peak of TestSupport::piccoMemoria() from the memory in use now (Linux: "5" to clear_refs).
void azzeraPicco()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

constexpr int kDotsPerMeter = 7559;  // 192 dpi

QString riga(const QList<double>& v)
{
    return QStringLiteral("median %1 ms, p99 %2 ms, max %3 ms over %4")
        .arg(quantile(v, 0.5), 0, 'f', 2)
        .arg(quantile(v, 0.99), 0, 'f', 2)
        .arg(quantile(v, 1.0), 0, 'f', 2)
        .arg(v.size());
}

// A cross-section in the colours of the course (sky, sea, yellow and green continents, red oceanic crust,
// the mantle with its cells), different for every number, with some grain so that it compresses like a
// drawn picture rather than flat colour.
QImage disegno(QSize size, int numero)
{
    QImage img(size, QImage::Format_RGB32);
    img.setDotsPerMeterX(kDotsPerMeter);
    img.setDotsPerMeterY(kDotsPerMeter);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    QLinearGradient cielo(0, 0, 0, h * 0.3);
    cielo.setColorAt(0, QColor(150, 200, 240));
    cielo.setColorAt(1, QColor(225, 240, 250));
    p.fillRect(img.rect(), cielo);
    QLinearGradient mantello(0, h * 0.45, 0, h);
    mantello.setColorAt(0, QColor(240, 150, 60));
    mantello.setColorAt(1, QColor(150, 40, 20));
    p.fillRect(QRectF(0, h * 0.45, w, h * 0.55), mantello);
    p.setPen(QPen(QColor(255, 230, 180), w / 300));
    for (int c = 0; c < 3; ++c) {
        const QPointF centro(w * (0.2 + 0.3 * c), h * 0.72);
        for (int r = 1; r <= 4; ++r)
            p.drawEllipse(centro, w * 0.035 * r + numero % 7, h * 0.05 * r);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 30));
    p.drawRect(QRectF(0, h * 0.38, w, h * 0.07));
    p.setBrush(QColor(40, 90, 170));
    p.drawRect(QRectF(0, h * 0.3, w, h * 0.08));
    for (int k = 0; k < 3; ++k) {
        const double x = w * (0.05 + 0.33 * k) + (numero * 7 % 40);
        QPainterPath cont;
        cont.moveTo(x, h * 0.45);
        cont.cubicTo(x + w * 0.05, h * 0.22, x + w * 0.15, h * 0.2, x + w * 0.22, h * 0.45);
        p.setBrush(QColor(235, 205, 70));
        p.drawPath(cont);
        p.setBrush(QColor(70, 150, 60));
        p.drawEllipse(QPointF(x + w * 0.11, h * 0.27), w * 0.07, h * 0.025);
    }
    QRandomGenerator grana{quint32(numero)};
    for (int i = 0; i < int(w * h / 40); ++i) {
        const int x = int(grana.bounded(int(w))), y = int(grana.bounded(int(h)));
        const QRgb c = img.pixel(x, y);
        const int d = int(grana.bounded(31)) - 15;
        img.setPixel(x, y, qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                                std::clamp(qBlue(c) + d, 0, 255)));
    }
    p.setPen(Qt::black);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(int(h / 18));
    p.setFont(f);
    p.drawText(QRectF(0, h * 0.02, w, h * 0.1), Qt::AlignCenter, QStringLiteral("fotogramma %1").arg(numero));
    return img;
}

// Writes a picture under the name the program asks for; a JPEG under a ".gif" name is read by its
// content, as the program does.
bool salva(const QImage& image, const QString& relativePath, [[maybe_unused]] bool gif)
{
    const QString path = ui::Pictures::locate(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
#ifdef BENCH_GIF
    if (gif && path.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
        return disegni::writeGif(image, path);
#endif
    QImageWriter writer(path, "jpeg");
    writer.setQuality(88);
    return writer.write(image);
}

bool preparaImmagini(bool gif)
{
    QSet<QString> fatte;
    for (int f = 1; f <= SerieSintesi::numfotogrammi; ++f) {
        const QString path = SerieSintesi::fotogrammi(f);
        if (!fatte.contains(path) && !salva(disegno(QSize(1280, 920), f), path, gif))
            return false;
        fatte.insert(path);
    }
    int n = 100;
    for (const QStringList& seq : {SerieSintesi::avvici(), SerieSintesi::oceoce(), SerieSintesi::allontan()})
        for (const QString& path : seq)
            if (!salva(disegno(QSize(1924, 580), ++n), path, gif))
                return false;
    return true;
}
}  // namespace

int main(int argc, char** argv)
{
    Misure::offscreen();
    QApplication app(argc, argv);
    const int giri = Misure::numero(1, 2);
#ifdef BENCH_GIF
    const bool gif = app.arguments().value(2) != QLatin1String("jpeg");
#else
    const bool gif = false;
#endif
    const int pausa = Misure::numero(3, 150);
    QTextStream out(stdout);
    TestSupport::prepara();
    TestSupport::CartellaProgramma folder(true, false);
    if (!preparaImmagini(gif)) {
        out << "pictures not written\n";
        return 1;
    }
    out << "pictures: " << (gif ? "GIF" : "JPEG") << " 1280 x 920 (main) and 1924 x 580 (close-ups), 192 dpi; "
        << giri << " runs of the exercise a size; " << pausa << " ms idle between ticks\n";

    QList<double> decodifica;
    for (int i = 0; i < 30; ++i) {
        QImage img;
        decodifica << Misure::ms([&] {
            QImageReader reader(ui::Pictures::resolve(SerieSintesi::fotogrammi(1 + 2 * (i % 15))));
            reader.setDecideFormatFromContent(true);
            img = reader.read();
        });
        if (img.isNull())
            return 2;
    }
    out << "read and decode one main picture alone: " << riga(decodifica) << "\n";
    out.flush();

    for (const QSize& finestra : {QSize(800, 600), QSize(1920, 1080), QSize(3840, 2160)}) {
        if (!TestSupport::apriMenu())
            return 3;
        auto* menu = Misure::menu();
        menu->window()->resize(finestra);
        QApplication::processEvents();
        azzeraPicco();
        ui::MessageBox::setNextInput(QStringLiteral("Prova Banco"));
        menu->cmdsinteanim->click();
        auto* f = qobject_cast<Fsintesi*>(ui::Screens::instance().front());
        QApplication::processEvents();

        auto riposo = [pausa] { TestSupport::gira(pausa); };
        QList<double> serie, ingrandimenti, tutti, cpuTutti;
        struct Lento {
            double ms, cpu;
            QString cosa;
        };
        QList<Lento> lenti;
        for (int giro = 0; giro < giri; ++giro) {
            for (int guard = 0; guard < 200 && !f->CmdRicomincio->isVisible(); ++guard) {
                ui::Timer* timer = f->Timer2->isEnabled() ? f->Timer2 : f->Timer1;
                if (!timer->isEnabled()) {
                    f->CmdContinuo->click();  // a test: go on
                    riposo();
                    continue;
                }
                riposo();
                const double cpu0 = Misure::cpuMs(CLOCK_THREAD_CPUTIME_ID);
                const double ms = Misure::ms([&] {
                    timer->fire();
                    QApplication::processEvents();  // the repaint the tick asked for
                });
                const double cpu = Misure::cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpu0;
                cpuTutti << cpu;
                lenti << Lento{ms, cpu,
                               QStringLiteral("%1 %2%3")
                                   .arg(timer == f->Timer1 ? QStringLiteral("frame") : QStringLiteral("close-up of frame"))
                                   .arg(f->serie().fotogramma())
                                   .arg(f->Frame1.isVisible() && timer == f->Timer1 ? QStringLiteral(", test opened")
                                                                                    : QString())};
                (timer == f->Timer1 ? serie : ingrandimenti) << ms;
                tutti << ms;
            }
            f->CmdRicomincio->click();
            riposo();
        }
        const double picco = TestSupport::piccoMemoria();
        out << "window " << finestra.width() << " x " << finestra.height() << ", main picture shown at "
            << f->Image1->width() << " x " << f->Image1->height() << ":\n";
        out << "  interface thread a tick, series:    " << riga(serie) << "\n";
        out << "  interface thread a tick, close-ups: " << riga(ingrandimenti) << "\n";
        out << "  interface thread a tick, all:       " << riga(tutti) << "\n";
        out << "  its own processor time, all:        " << riga(cpuTutti) << "\n";
        out << "  peak memory during the exercise:    " << QString::number(picco, 'f', 1) << " MiB\n";
        std::sort(lenti.begin(), lenti.end(), [](const Lento& a, const Lento& b) { return a.cpu > b.cpu; });
        out << "  the slowest ticks (processor time):";
        for (int i = 0; i < std::min<qsizetype>(5, lenti.size()); ++i)
            out << " " << lenti[i].cosa << " " << QString::number(lenti[i].cpu, 'f', 1) << " ms ("
                << QString::number(lenti[i].ms, 'f', 1) << " ms wall);";
        out << "\n";
        out.flush();
        TestSupport::chiudiTutto();
    }
    return 0;
}
