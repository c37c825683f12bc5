// Figures for the animated synthesis, at three window sizes (800 x 600, 1920 x 1080, 3840 x 2160):
//   - the time a tick holds the interface thread: the handler and the repaint it causes, median and 99th
//     percentile, for the ticks of the series (Timer1) and of the close-ups (Timer2), in wall time and in
//     the interface thread's own processor time;
//   - the program's peak memory (VmHWM) during the whole exercise at each size;
//   - reading and decoding one main picture alone, for comparison.
// Between two ticks the program is left idle for a while, as the one-second clock leaves it (not counted).
// The pictures are made up for the run in a temporary program folder, at the size the course's pictures
// are drawn (main pictures 1280 x 920; close-ups, the viewer's wide cross-sections, 1924 x 580; 192 dpi),
// as GIF when built with giflib (as the course's main series is), else as JPEG.
// Goal: a tick holds the interface thread less than half a 60 Hz frame (8.3 ms) at 1920 x 1080 and less than
// one frame (16.7 ms) at 3840 x 2160, 99 ticks in 100.
// Run it by hand from the build folder: tests/bench_sintesi [RUNS] [jpeg|gif] [IDLE_MS]
// To look at the synthesis at these sizes: tests/fotografa FOLDER sintesi WxH.
#include "TestSupport.h"

#include "animation/Fsintesi.h"
#include "app/Fscelt.h"
#include "ui/MessageBox.h"
#include "ui/Pictures.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTextStream>

#ifdef BENCH_GIF
#include <gif_lib.h>
#endif

#include <algorithm>
#include <ctime>

namespace {
// Processor time of the whole program, in milliseconds (Qt scales large pictures on helper threads): what
// a tick costs whatever else the machine is doing, and at most what it blocks an idle machine.
double cpuMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// The program's peak resident memory since the last reset, in MiB; -1 where the system does not say.
double piccoMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}
// Starts a new peak from the memory in use now (Linux: "5" to clear_refs).
void azzeraPicco()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

constexpr int kDotsPerMeter = 7559;  // 192 dpi

struct Cifre {
    QList<double> valori;
    void add(double ms) { valori << ms; }
    double quantile(double q) const
    {
        if (valori.isEmpty())
            return 0;
        QList<double> v = valori;
        std::sort(v.begin(), v.end());
        return v[std::min<qsizetype>(v.size() - 1, qsizetype(q * (v.size() - 1) + 0.5))];
    }
    QString riga() const
    {
        return QStringLiteral("median %1 ms, p99 %2 ms, max %3 ms over %4")
            .arg(quantile(0.5), 0, 'f', 2)
            .arg(quantile(0.99), 0, 'f', 2)
            .arg(quantile(1.0), 0, 'f', 2)
            .arg(valori.size());
    }
};

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

bool salvaGif(const QImage& image, const QString& path)
{
#ifdef BENCH_GIF
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QList<QRgb> table = indexed.colorTable();
    table.resize(256);
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])), GifByteType(qBlue(table[i]))};
    int error = 0;
    GifFileType* gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
    if (!gif)
        return false;
    ColorMapObject* map = GifMakeMapObject(256, colours);
    bool ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), 8, 0, map) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < indexed.height(); ++y)
        ok = EGifPutLine(gif, const_cast<GifPixelType*>(indexed.constScanLine(y)), indexed.width()) == GIF_OK;
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return ok;
#else
    Q_UNUSED(image);
    Q_UNUSED(path);
    return false;
#endif
}

// Writes a picture under the name the program asks for; a JPEG under a ".gif" name is read by its
// content, as the program does.
bool salva(const QImage& image, const QString& relativePath, bool gif)
{
    const QString path = ui::Pictures::locate(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (gif && path.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
        return salvaGif(image, path);
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
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int giri = std::max(1, app.arguments().value(1).toInt() > 0 ? app.arguments().value(1).toInt() : 2);
#ifdef BENCH_GIF
    const bool gif = app.arguments().value(2) != QLatin1String("jpeg");
#else
    const bool gif = false;
#endif
    const int pausa = app.arguments().value(3).toInt() > 0 ? app.arguments().value(3).toInt() : 150;
    QTextStream out(stdout);
    TestSupport::prepara();
    TestSupport::CartellaProgramma folder(true, false);
    if (!preparaImmagini(gif)) {
        out << "pictures not written\n";
        return 1;
    }
    out << "pictures: " << (gif ? "GIF" : "JPEG") << " 1280 x 920 (main) and 1924 x 580 (close-ups), 192 dpi; "
        << giri << " runs of the exercise a size; " << pausa << " ms idle between ticks\n";

    Cifre decodifica;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer t;
        t.start();
        QImageReader reader(ui::Pictures::resolve(SerieSintesi::fotogrammi(1 + 2 * (i % 15))));
        reader.setDecideFormatFromContent(true);
        const QImage img = reader.read();
        decodifica.add(t.nsecsElapsed() / 1e6);
        if (img.isNull())
            return 2;
    }
    out << "read and decode one main picture alone: " << decodifica.riga() << "\n";
    out.flush();

    for (const QSize& finestra : {QSize(800, 600), QSize(1920, 1080), QSize(3840, 2160)}) {
        if (!TestSupport::apriMenu())
            return 3;
        auto* menu = qobject_cast<Fscelt*>(ui::Screens::instance().find(QStringLiteral("Fscelt")));
        menu->window()->resize(finestra);
        QApplication::processEvents();
        azzeraPicco();
        ui::MessageBox::setNextInput(QStringLiteral("Prova Banco"));
        menu->cmdsinteanim->click();
        auto* f = qobject_cast<Fsintesi*>(ui::Screens::instance().front());
        QApplication::processEvents();

        auto riposo = [pausa] { TestSupport::gira(pausa); };
        Cifre serie, ingrandimenti, tutti, cpuTutti;
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
                QElapsedTimer t;
                t.start();
                const double cpu0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
                timer->fire();
                QApplication::processEvents();  // the repaint the tick asked for
                const double ms = t.nsecsElapsed() / 1e6;
                const double cpu = cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpu0;
                cpuTutti.add(cpu);
                lenti << Lento{ms, cpu,
                               QStringLiteral("%1 %2%3")
                                   .arg(timer == f->Timer1 ? QStringLiteral("frame") : QStringLiteral("close-up of frame"))
                                   .arg(f->serie().fotogramma())
                                   .arg(f->Frame1.isVisible() && timer == f->Timer1 ? QStringLiteral(", test opened")
                                                                                    : QString())};
                (timer == f->Timer1 ? serie : ingrandimenti).add(ms);
                tutti.add(ms);
            }
            f->CmdRicomincio->click();
            riposo();
        }
        const double picco = piccoMiB();
        out << "window " << finestra.width() << " x " << finestra.height() << ", main picture shown at "
            << f->Image1->width() << " x " << f->Image1->height() << ":\n";
        out << "  interface thread a tick, series:    " << serie.riga() << "\n";
        out << "  interface thread a tick, close-ups: " << ingrandimenti.riga() << "\n";
        out << "  interface thread a tick, all:       " << tutti.riga() << "\n";
        out << "  its own processor time, all:        " << cpuTutti.riga() << "\n";
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
