// The cross-section sequences as the course uses them: every frame the animation viewer and the
// synthesis name is there and decodes, the frames of a sequence share one size that suits the
// viewer's placements, and every lesson page that shows one of them at natural size keeps it clear
// of the text panel, the title, the animation button and the button row. Also the geometry the
// sections are built on, and the colour convention the synthesis test asks about.

#include "Output.h"
#include "Sezione.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLineF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>
#include <QSet>
#include <QTest>

#include <cmath>

using namespace disegni;
using namespace disegni::sezione;

namespace {

QDir repository()
{
    return QDir(QStringLiteral(DISEGNI_REPOSITORY));
}

// A path as the program names it ("immagini\SUBDUZIO\subduz1.jpg"), found whatever the letter
// case, as the program finds it; empty when missing.
QString trova(const QString &programPath)
{
    QDir dir = repository();
    const QStringList parts = programPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        const QStringList entries =
            dir.entryList(last ? QDir::Files : QDir::Dirs | QDir::NoDotAndDotDot);
        QString match;
        for (const QString &e : entries) {
            if (e.compare(parts.at(i), Qt::CaseInsensitive) == 0)
                match = e;
        }
        if (match.isEmpty())
            return QString();
        if (last)
            return dir.filePath(match);
        dir.cd(match);
    }
    return QString();
}

QStringList numerate(const QString &pattern, int from, int to)
{
    QStringList list;
    for (int k = from; k <= to; ++k)
        list << pattern.arg(k);
    return list;
}

QStringList origini()
{
    QStringList list;
    for (const char *name : {"orig1", "orig1a", "orig1b", "orig2", "orig2a", "orig2b", "orig2c", "orig2d", "orig2e",
                             "orig2f", "orig2g", "orig2g1", "orig2g2", "orig2h"})
        list << QStringLiteral("immagini\\origini\\%1.jpg").arg(QLatin1String(name));
    return list;
}

// The other sequences as the viewer and the synthesis name them.
QStringList espansione()
{
    return QStringList{QStringLiteral("immagini\\allontan\\ESPANS.jpg")}
           + numerate(QStringLiteral("immagini\\allontan\\ESPANS%1.jpg"), 2, 14);
}
QStringList subduzione() { return numerate(QStringLiteral("immagini\\SUBDUZIO\\subduz%1.jpg"), 1, 15); }
QStringList avvicinamento() { return numerate(QStringLiteral("immagini\\avvici\\avvic%1.jpg"), 1, 12); }
QStringList oceanoOceano() { return numerate(QStringLiteral("immagini\\oceoce\\oceoce%1.jpg"), 1, 11); }

// The pictures of this family that lesson pages show; other pictures of the same folders belong to
// other families.
bool nostra(const QString &programPath)
{
    const QString p = programPath.toLower();
    for (const char *folder : {"\\allontan\\", "\\subduzio\\", "\\avvici\\", "\\oceoce\\"}) {
        if (p.contains(QLatin1String(folder)))
            return true;
    }
    for (const QString &o : origini()) {
        if (o.compare(programPath, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

struct Letta {
    QImage image;
    QSize twips;
};

Letta leggi(const QString &file)
{
    QImageReader reader(file);
    Letta l;
    l.image = reader.read();
    if (!l.image.isNull())
        l.twips = twipsForPixels(l.image.size(), dpiOf(l.image));
    return l;
}

QRect rect(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return QRect(a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt());
}

QString descrivi(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

} // namespace

class TestSezioni : public QObject
{
    Q_OBJECT

private slots:
    void framesDecodeWithOneSize_data();
    void framesDecodeWithOneSize();
    void lessonPagesLeaveRoom_data();
    void lessonPagesLeaveRoom();
    void seaFollowsTheStory_data();
    void seaFollowsTheStory();
    void sunLightsTheFirstFrames_data();
    void sunLightsTheFirstFrames();
    void terraRotonda_data();
    void terraRotonda();
    void slabFollowsItsPath_data();
    void slabFollowsItsPath();
    void sectionMapsKilometres();
    void coloursSpeakOneLanguage_data();
    void coloursSpeakOneLanguage();
    void lessonSectionsSpeakItToo_data();
    void lessonSectionsSpeakItToo();
};

void TestSezioni::framesDecodeWithOneSize_data()
{
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QList<QSize>>("placements"); // where the viewer stretches them, twips
    QTest::addColumn<double>("stretch");          // largest change of shape allowed, as a fraction
    QTest::addColumn<int>("dpi");

    const QList<QSize> strip{QSize(7215, 2175)};
    // the birth of the Earth takes the shape of the larger of its two placements, where its round
    // Earth must stay round (terraRotonda), at twice that placement's pixels
    QTest::newRow("1 origini") << origini() << QList<QSize>{QSize(4575, 3735)} << 0.001 << 300;
    QTest::newRow("2 allontan") << espansione() << strip << 0.01 << kDpi;
    QTest::newRow("4 subduzio") << subduzione() << QList<QSize>{QSize(4575, 3735), QSize(4815, 3735)} << 0.03 << kDpi;
    QTest::newRow("5 avvici") << avvicinamento() << strip << 0.01 << kDpi;
    QTest::newRow("6 oceoce") << oceanoOceano() << strip << 0.01 << kDpi;
}

void TestSezioni::framesDecodeWithOneSize()
{
    QFETCH(QStringList, frames);
    QFETCH(QList<QSize>, placements);
    QFETCH(double, stretch);
    QFETCH(int, dpi);

    QSize first;
    for (const QString &frame : frames) {
        const QString file = trova(frame);
        QVERIFY2(!file.isEmpty(), qPrintable(frame + QStringLiteral(": manca")));
        const Letta l = leggi(file);
        QVERIFY2(!l.image.isNull(), qPrintable(frame + QStringLiteral(": non si legge")));
        QCOMPARE(dpiOf(l.image), dpi);
        if (first.isEmpty())
            first = l.image.size();
        QVERIFY2(l.image.size() == first, qPrintable(frame + QStringLiteral(": dimensioni diverse dalle altre")));
    }
    // stretched into the viewer's pictures, circles and slopes keep nearly their shape
    const double shape = double(first.width()) / first.height();
    for (const QSize &place : placements) {
        const double change = std::abs(double(place.width()) / place.height() / shape - 1);
        QVERIFY2(change <= stretch, qPrintable(QStringLiteral("deformata del %1% in %2x%3")
                                                   .arg(change * 100, 0, 'f', 1)
                                                   .arg(place.width())
                                                   .arg(place.height())));
        // at least twice the pixels the placement has on the 800 x 600 design (15 twips a pixel)
        if (dpi > kDpi)
            QVERIFY(first.width() * 15 >= place.width() * 2 && first.height() * 15 >= place.height() * 2);
    }
}

void TestSezioni::lessonPagesLeaveRoom_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QList<QRect>>("keepClear"); // every rectangle the page may show beside it
    QTest::addColumn<int>("buttonRow");

    int rows = 0;
    for (int topic = 1; topic <= 6; ++topic) {
        QFile file(repository().filePath(QStringLiteral("lessons/argomenti/argomento%1.json").arg(topic)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject t = QJsonDocument::fromJson(file.readAll()).object();
        const QJsonObject design = t.value(QStringLiteral("progetto")).toObject();
        const QJsonArray pages = t.value(QStringLiteral("pagine")).toArray();
        const int n = int(pages.size());

        // A page that leaves the panel where it is shows what the page before left there when it
        // is reached going forward, and what the page after left there when reached going back,
        // unless it has a rectangle of its own for going back. Gather every possibility; the same
        // for the picture's position.
        QList<QList<QRect>> panels(n);
        QList<QList<QPoint>> places(n);
        const auto add = [](auto &list, const auto &item) {
            if (list.contains(item))
                return false;
            list << item;
            return true;
        };
        for (bool changed = true; changed;) {
            changed = false;
            for (int i = 0; i < n; ++i) {
                const QJsonObject pg = pages.at(i).toObject();
                const QJsonValue own = pg.value(QStringLiteral("pannello"));
                const QJsonValue back = pg.value(QStringLiteral("pannelloIndietro"));
                QList<QRect> forward, backward;
                if (!own.isNull())
                    forward << rect(own);
                else if (i == 0)
                    forward << rect(design.value(QStringLiteral("Label1")));
                else
                    forward = panels.at(i - 1);
                if (!back.isNull())
                    backward << rect(back);
                else if (!own.isNull())
                    backward << rect(own);
                else if (i + 1 < n)
                    backward = panels.at(i + 1);
                for (const QRect &r : forward + backward)
                    changed = add(panels[i], r) || changed;

                const QJsonArray at = pg.value(QStringLiteral("posizioneImmagine")).toArray();
                QList<QPoint> here;
                if (!at.isEmpty())
                    here << QPoint(at.at(0).toInt(), at.at(1).toInt());
                else if (i == 0)
                    here << rect(design.value(QStringLiteral("Image1"))).topLeft();
                else
                    here = places.at(i - 1) + (i + 1 < n ? places.at(i + 1) : QList<QPoint>());
                for (const QPoint &q : here)
                    changed = add(places[i], q) || changed;
            }
        }

        const int buttonRow = design.value(QStringLiteral("rigaPulsanti")).toObject().value(QStringLiteral("top")).toInt();
        for (int i = 0; i < n; ++i) {
            const QJsonObject pg = pages.at(i).toObject();
            QStringList shown{pg.value(QStringLiteral("immagine")).toString()};
            if (pg.value(QStringLiteral("immagineIndietro")).isString())
                shown << pg.value(QStringLiteral("immagineIndietro")).toString();
            QList<QRect> clear = panels.at(i);
            if (!pg.value(QStringLiteral("titolo")).isNull())
                clear << rect(design.value(QStringLiteral("Labeltit")));
            if (!pg.value(QStringLiteral("animazione")).isNull())
                clear << rect(design.value(QStringLiteral("cmdanimazione")));
            for (const QString &picture : shown) {
                if (!nostra(picture))
                    continue;
                for (const QPoint &at : places.at(i)) {
                    QTest::addRow("argomento %d pagina %d %s (%d,%d)", topic, i + 1, qPrintable(picture), at.x(), at.y())
                        << picture << at << clear << buttonRow;
                    ++rows;
                }
            }
        }
    }
    // topic 1 pages 8, 9, 12, 17; topic 4 pages 1-6 and 9; topic 6 pages 3 and 5
    QVERIFY(rows >= 13);
}

void TestSezioni::lessonPagesLeaveRoom()
{
    QFETCH(QString, picture);
    QFETCH(QPoint, position);
    QFETCH(QList<QRect>, keepClear);
    QFETCH(int, buttonRow);

    const QString file = trova(picture);
    QVERIFY2(!file.isEmpty(), qPrintable(picture + QStringLiteral(": manca")));
    const Letta l = leggi(file);
    QVERIFY(!l.image.isNull());
    const QRect shown(position, l.twips);
    QVERIFY2(QRect(0, 0, 12000, 9000).contains(shown), qPrintable(descrivi(shown)));
    QVERIFY2(shown.bottom() < buttonRow, qPrintable(QStringLiteral("%1 sui pulsanti").arg(descrivi(shown))));
    for (const QRect &r : keepClear)
        QVERIFY2(!shown.intersects(r), qPrintable(QStringLiteral("%1 copre %2").arg(descrivi(shown), descrivi(r))));
}

namespace {
// The widest stretch of open sea along one row of a section: pixels of the sea's surface colour.
int larghezzaMare(const QImage &image)
{
    const QColor sea = colore::mare();
    int widest = 0;
    for (int y = 0; y < image.height() / 2; ++y) {
        int n = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const double d = std::hypot(std::hypot(c.red() - sea.red(), c.green() - sea.green()), c.blue() - sea.blue());
            n += d <= 28 ? 1 : 0;
        }
        widest = std::max(widest, n);
    }
    return widest;
}
} // namespace

// What the zooms of the synthesis must show plainly: at the ridge the ocean widens frame after
// frame; between the two continents it narrows until it is gone (the lesson page showing avvic8
// says the ocean has closed); over the island arc the islands come out of the water.
void TestSezioni::seaFollowsTheStory_data()
{
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<int>("story");
    QTest::addColumn<int>("closedFrom"); // 1-based frame from which no sea is left, or 0

    QTest::newRow("2 allontan: the ocean widens") << espansione() << 1 << 0;
    QTest::newRow("5 avvici: the ocean closes") << avvicinamento() << -1 << 8;
    QTest::newRow("6 oceoce: islands rise") << oceanoOceano() << 0 << 0;
}

void TestSezioni::seaFollowsTheStory()
{
    QFETCH(QStringList, frames);
    QFETCH(int, story);
    QFETCH(int, closedFrom);

    QList<int> widths;
    for (const QString &frame : frames) {
        const Letta l = leggi(trova(frame));
        QVERIFY2(!l.image.isNull(), qPrintable(frame));
        widths << larghezzaMare(l.image);
    }
    const auto elenco = [&] {
        QStringList w;
        for (int v : widths)
            w << QString::number(v);
        return w.join(QLatin1Char(' '));
    };
    for (int i = 1; i < widths.size(); ++i) {
        if (story > 0)
            QVERIFY2(widths.at(i) > widths.at(i - 1), qPrintable(elenco()));
        else if (story < 0)
            QVERIFY2(widths.at(i) < widths.at(i - 1) || widths.at(i) == 0, qPrintable(elenco()));
        else
            QVERIFY2(widths.at(i) <= widths.at(i - 1), qPrintable(elenco()));
    }
    if (closedFrom > 0) {
        QVERIFY2(widths.at(closedFrom - 2) > 0, qPrintable(elenco()));
        for (int i = closedFrom - 1; i < widths.size(); ++i)
            QVERIFY2(widths.at(i) == 0, qPrintable(elenco()));
    }
    if (story == 0) {
        // open sea across the strip at first; islands break its surface in the end
        const int w = leggi(trova(frames.first())).image.width();
        QVERIFY2(widths.first() > w * 0.95, qPrintable(elenco()));
        QVERIFY2(widths.last() < widths.first() - w * 0.05, qPrintable(elenco()));
    }
}

namespace {
// The white-hot middle of the Sun's disc in a picture: pixels whose whole neighbourhood is white-hot,
// so that the pale halos round the names (thin strokes), the golden core and the faint stars do not
// count; and where they stand on average.
struct Bianchi {
    int quanti = 0;
    QPointF centro;
};
Bianchi soleIn(const QImage &image)
{
    const auto caldo = [&](int x, int y) {
        const QColor c = image.pixelColor(x, y);
        return c.red() > 245 && c.green() > 235 && c.blue() > 150;
    };
    Bianchi b;
    const int r = 3;
    for (int y = r; y < image.height() - r; ++y)
        for (int x = r; x < image.width() - r; ++x) {
            bool tutto = caldo(x, y);
            for (int dy = -r; tutto && dy <= r; ++dy)
                for (int dx = -r; tutto && dx <= r; ++dx)
                    tutto = caldo(x + dx, y + dy);
            if (tutto) {
                ++b.quanti;
                b.centro += QPointF(x, y);
            }
        }
    if (b.quanti > 0)
        b.centro /= b.quanti;
    return b;
}
// Mean brightness of a corner of a picture, a sixth of it each way.
double luceNellAngolo(const QImage &image, bool sinistra)
{
    double somma = 0;
    int n = 0;
    const int w = image.width() / 6, h = image.height() / 6;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, ++n)
            somma += image.pixelColor(sinistra ? x : image.width() * 5 / 6 - w + x, y).lightnessF();
    return somma / n;
}
} // namespace

// Topic 1's page 8 tells of the Sun lighting up at the centre of the cloud: the first frame shows it
// in the middle of the picture's visible part (the viewer covers its right sixth); then the view
// closes in on the young Earth and the Sun slides away to the top left, a step each frame, and it
// has left the picture by the time the layers start to form.
void TestSezioni::sunLightsTheFirstFrames_data()
{
    QTest::addColumn<int>("frame");
    for (int i = 0; i < origini().size(); ++i)
        QTest::newRow(qPrintable(origini().at(i).section(QLatin1Char('\\'), -1))) << i;
}

void TestSezioni::sunLightsTheFirstFrames()
{
    QFETCH(int, frame);
    const Letta l = leggi(trova(origini().at(frame)));
    QVERIFY2(!l.image.isNull(), qPrintable(origini().at(frame)));
    const Bianchi sole = soleIn(l.image);
    const QString dove = QStringLiteral("%1 pixel intorno a %2,%3").arg(sole.quanti).arg(sole.centro.x()).arg(sole.centro.y());
    const double w = l.image.width() * 5.0 / 6, h = l.image.height();
    if (frame == 0) {
        QVERIFY2(sole.quanti > 300, qPrintable(dove));
        QVERIFY2(std::abs(sole.centro.x() - w / 2) < w * 0.1 && std::abs(sole.centro.y() - h / 2) < h * 0.1, qPrintable(dove));
    } else if (frame == 1) {
        const Bianchi prima = soleIn(leggi(trova(origini().at(0))).image);
        QVERIFY2(sole.quanti > 300, qPrintable(dove));
        // on its way out by the top left corner, not in a jump
        QVERIFY2(sole.centro.x() < prima.centro.x() && sole.centro.y() < prima.centro.y(), qPrintable(dove));
        QVERIFY2(QLineF(sole.centro, prima.centro).length() < w / 2, qPrintable(dove));
    } else if (frame == 2) {
        // its disc at the edge, its light still in the top left corner
        QVERIFY2(sole.quanti < 40, qPrintable(dove));
        QVERIFY2(luceNellAngolo(l.image, true) > luceNellAngolo(l.image, false) + 0.15, qPrintable(dove));
    } else {
        QVERIFY2(sole.quanti < 40, qPrintable(dove)); // a white cloud or two, never a disc
    }
}

// The Earth is drawn round for the shape it is shown in: its outline, measured on the committed
// frames where it is whole and not yet wrapped in the pale shell of its atmosphere, is as wide as it is tall once the viewer stretches the picture into the
// larger of its two placements (and so also on the lesson pages, which keep the picture's shape).
void TestSezioni::terraRotonda_data()
{
    QTest::addColumn<int>("frame");
    for (int i = 3; i <= 9; ++i)
        QTest::newRow(qPrintable(origini().at(i).section(QLatin1Char('\\'), -1))) << i;
}

void TestSezioni::terraRotonda()
{
    QFETCH(int, frame);
    const QImage image = leggi(trova(origini().at(frame))).image;
    QVERIFY(!image.isNull());
    // the dark brown outline of the Earth, against the blue-black of space and the bright glow
    const auto bordo = [&](int x, int y) {
        const QColor c = image.pixelColor(x, y);
        return c.red() < 110 && c.red() > c.blue() + 12 && c.green() < 80;
    };
    // the outermost outline along a row and along a column, from a point inside the Earth
    const auto larghezza = [&](int y, double *centro) {
        int a = 0, b = image.width() - 1;
        while (a < b && !bordo(a, y))
            ++a;
        while (b > a && !bordo(b, y))
            --b;
        *centro = (a + b) / 2.0;
        return b - a;
    };
    const auto altezza = [&](int x, double *centro) {
        int a = 0, b = image.height() - 1;
        while (a < b && !bordo(x, a))
            ++a;
        while (b > a && !bordo(x, b))
            --b;
        *centro = (a + b) / 2.0;
        return b - a;
    };
    double cx = image.width() * 0.45, cy = image.height() * 0.46;
    int w = 0, h = 0;
    for (int giro = 0; giro < 3; ++giro) {
        w = larghezza(qRound(cy), &cx);
        h = altezza(qRound(cx), &cy);
    }
    QVERIFY2(w > image.width() / 4 && h > image.height() / 4, qPrintable(QStringLiteral("%1 x %2").arg(w).arg(h)));
    const QSize grande(4575, 3735), piccolo(3700, 3735);
    const auto forma = [&](const QSize &posto) {
        return (double(w) / image.width() * posto.width()) / (double(h) / image.height() * posto.height());
    };
    qInfo("%s: Terra di %d x %d pixel; larga/alta %.3f in %dx%d, %.3f in %dx%d", qPrintable(origini().at(frame)), w, h,
          forma(grande), grande.width(), grande.height(), forma(piccolo), piccolo.width(), piccolo.height());
    QVERIFY2(std::abs(forma(grande) - 1) < 0.02, qPrintable(QString::number(forma(grande))));
}

void TestSezioni::slabFollowsItsPath_data()
{
    QTest::addColumn<double>("dip");
    QTest::addColumn<double>("bend");
    QTest::addColumn<double>("floorSlope"); // km of depth per km of distance before the trench

    QTest::newRow("steep, short bend, flat floor") << 60.0 << 120.0 << 0.0;
    QTest::newRow("gentle, long bend") << 30.0 << 250.0 << 0.0;
    QTest::newRow("floor already dipping into the trench") << 45.0 << 180.0 << 0.3;
}

void TestSezioni::slabFollowsItsPath()
{
    QFETCH(double, dip);
    QFETCH(double, bend);
    QFETCH(double, floorSlope);

    const double trench = 200;
    const Profilo floor = [=](double x) { return 20 + std::max(0.0, x - (trench - 50)) * floorSlope; };
    Lastra::Forma f;
    f.fossa = trench;
    f.pendenza = dip;
    f.curva = bend;
    f.lunghezza = 500;
    const Lastra slab(floor, 0, f);

    // it starts at the trench, on the floor
    QCOMPARE(slab.punto(0).x(), trench);
    QCOMPARE(slab.punto(0).y(), floor(trench));
    // before the trench it is the floor itself
    QCOMPARE(slab.punto(-120).x(), trench - 120);
    QCOMPARE(slab.punto(-120).y(), floor(trench - 120));
    // km along it are km: successive points one km apart
    for (double s = 0; s < 480; s += 37) {
        const QPointF d = slab.punto(s + 1) - slab.punto(s);
        QVERIFY(std::abs(std::hypot(d.x(), d.y()) - 1) < 0.01);
    }
    // it goes down ever more steeply and ends at the dip asked for
    double last = slab.pendenza(0);
    for (double s = 10; s <= 480; s += 10) {
        QVERIFY(slab.pendenza(s) >= last - 1e-9);
        last = slab.pendenza(s);
    }
    QVERIFY(std::abs(slab.pendenza(bend + 10) - dip) < 0.01);
    // the normal is unit, points into the plate (downwards) and across the path
    for (double s : {0.0, bend / 2, bend * 1.5}) {
        const QPointF n = slab.normale(s);
        const QPointF d = slab.punto(s + 0.5) - slab.punto(s - 0.5);
        QVERIFY(std::abs(std::hypot(n.x(), n.y()) - 1) < 1e-9);
        QVERIFY(n.y() > 0);
        QVERIFY(std::abs(n.x() * d.x() + n.y() * d.y()) < 0.02);
    }
    // depth at a point's x is the point's depth; the first point at a depth lies at that depth
    for (double s : {40.0, 150.0, 300.0}) {
        const QPointF q = slab.punto(s);
        QVERIFY(std::abs(slab.profondita(q.x(), slab.fine()) - q.y()) < 0.05);
        QVERIFY(std::abs(slab.punto(slab.aProfondita(q.y())).y() - q.y()) < 1.0);
    }
    // nothing where the slab has not got to yet
    QVERIFY(std::isinf(slab.profondita(slab.punto(300).x(), 100)));
    // a band under the top surface is as thick as asked, across the plate
    const QPainterPath band = slab.fascia(100, 200, [](double) { return 0.0; }, [](double) { return 30.0; });
    const QPointF inside = slab.punto(150) + slab.normale(150) * 15;
    const QPointF outside = slab.punto(150) + slab.normale(150) * 45;
    QVERIFY(band.contains(inside));
    QVERIFY(!band.contains(outside));
}

void TestSezioni::sectionMapsKilometres()
{
    const Sezione sez(QSizeF(800, 240), 400, 40);
    QCOMPARE(sez.scala(), 2.0);
    QCOMPARE(sez.px(0, -40), QPointF(0, 0));         // top left: 40 km over the sea
    QCOMPARE(sez.px(0, 0), QPointF(0, 80));          // sea level
    QCOMPARE(sez.fondo(), 80.0);
    QCOMPARE(sez.px(400, sez.fondo()), QPointF(800, 240));
    // the region between two profiles lies between them
    const QPainterPath band = Sezione::tra([](double) { return 10.0; }, [](double x) { return 30 + x / 10; }, 0, 100);
    QVERIFY(band.contains(QPointF(50, 20)));
    QVERIFY(!band.contains(QPointF(50, 5)));
    QVERIFY(!band.contains(QPointF(50, 36)));
}

void TestSezioni::coloursSpeakOneLanguage_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("hueFrom");
    QTest::addColumn<int>("hueTo");

    // the synthesis test: "la crosta continentale è gialla e ricoperta di verde",
    // "la crosta oceanica è rappresentata col rosso"
    QTest::newRow("continental crust yellow") << colore::continentale() << 40 << 60;
    QTest::newRow("land green") << colore::verde() << 80 << 140;
    QTest::newRow("oceanic crust red") << colore::oceanica() << -15 << 12;
    QTest::newRow("young oceanic crust still red") << colore::oceanicaGiovane() << -15 << 15;
    QTest::newRow("sea blue") << colore::mare() << 190 << 220;
    QTest::newRow("mantle orange") << colore::astenosfera() << 20 << 40;
}

void TestSezioni::coloursSpeakOneLanguage()
{
    QFETCH(QColor, colour);
    QFETCH(int, hueFrom);
    QFETCH(int, hueTo);
    int hue = colour.hsvHue();
    if (hue > 180 && hueFrom < 0)
        hue -= 360;
    QVERIFY2(hue >= hueFrom && hue <= hueTo, qPrintable(QString::number(hue)));
    QVERIFY(colour.hsvSaturation() > 60);
}

namespace {

// The share of a picture's pixels within `tolleranza` of a colour (JPEG moves colours a little).
double quota(const QImage &image, const QColor &colour, int tolleranza)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    qint64 vicini = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const int dr = qRed(row[x]) - colour.red(), dg = qGreen(row[x]) - colour.green(), db = qBlue(row[x]) - colour.blue();
            vicini += dr * dr + dg * dg + db * db <= tolleranza * tolleranza;
        }
    }
    return double(vicini) / (qint64(rgb.width()) * rgb.height());
}

} // namespace

// The lesson pictures and the labelling test draw their sections in the same colours as the
// sequences, so that a lesson page showing a frame beside a drawing speaks one language: each
// shows the crusts and the plate's mantle it draws in those colours, and none of the grey and beige
// crusts they were drawn with before.
void TestSezioni::lessonSectionsSpeakItToo_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("continentale"); // least share of the picture; 0: not drawn
    QTest::addColumn<double>("oceanica");
    QTest::addColumn<double>("litosfera");

    QTest::newRow("croste1") << "altre/croste1.jpg" << 0.2 << 0.01 << 0.05;
    QTest::newRow("croocean") << "altre/croocean.jpg" << 0.02 << 0.01 << 0.05;
    QTest::newRow("crostuno") << "altre/crostuno.jpg" << 0.03 << 0.01 << 0.1;
    QTest::newRow("mantsup") << "altre/mantsup.jpg" << 0.01 << 0.002 << 0.03;
    QTest::newRow("celleconv") << "altre/celleconv.jpg" << 0.0 << 0.0 << 0.03;
    QTest::newRow("margini") << "altre/margini.jpg" << 0.02 << 0.01 << 0.05;
    QTest::newRow("sintuno") << "altre/sintuno.jpg" << 0.005 << 0.003 << 0.03;
    QTest::newRow("califo1") << "altre/califo1.jpg" << 0.03 << 0.0 << 0.0;
    QTest::newRow("himalaya") << "altre/himalaya.jpg" << 0.02 << 0.0 << 0.0;
    QTest::newRow("afrfagl") << "altre/afrfagl.jpg" << 0.02 << 0.0 << 0.0;
    QTest::newRow("crostea") << "questim/crostea.jpg" << 0.05 << 0.01 << 0.1;
    QTest::newRow("subdur") << "questim/subdur.jpg" << 0.05 << 0.01 << 0.1;
    QTest::newRow("SINTESI") << "questim/SINTESI.jpg" << 0.03 << 0.001 << 0.05;
}

void TestSezioni::lessonSectionsSpeakItToo()
{
    QFETCH(QString, file);
    QFETCH(double, continentale);
    QFETCH(double, oceanica);
    QFETCH(double, litosfera);
    const QImage image(repository().filePath(QStringLiteral("immagini/") + file));
    QVERIFY2(!image.isNull(), qPrintable(file));
    const auto almeno = [&](const QColor &colour, double minimo, const char *cosa) {
        if (minimo <= 0)
            return;
        const double q = quota(image, colour, 20);
        QVERIFY2(q >= minimo, qPrintable(QStringLiteral("%1: %2 solo %3").arg(file, QLatin1String(cosa)).arg(q, 0, 'f', 4)));
    };
    almeno(colore::continentale(), continentale, "crosta continentale");
    almeno(colore::oceanica(), oceanica, "crosta oceanica");
    almeno(colore::litosfera(), litosfera, "litosfera");
    // the other convention: grey and blue-grey oceanic crusts, beige continental crusts, grey lithospheres
    const QColor vecchi[] = {QColor(0x6E, 0x78, 0x85), QColor(0x7E, 0x8D, 0x96), QColor(0xE0, 0xC3, 0x9C),
                             QColor(0xC9, 0xA4, 0x72), QColor(0xD8, 0xB2, 0x8A), QColor(0xA9, 0x9E, 0x8E),
                             QColor(0xA8, 0xB5, 0x9C), QColor(0xC7, 0xAE, 0x86)};
    for (const QColor &vecchio : vecchi) {
        const double q = quota(image, vecchio, 8);
        QVERIFY2(q < 0.003, qPrintable(QStringLiteral("%1: %2 del colore %3").arg(file).arg(q, 0, 'f', 4).arg(vecchio.name())));
    }
}

QTEST_GUILESS_MAIN(TestSezioni)
#include "TestSezioni.moc"
