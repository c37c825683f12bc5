#include "GeoData.h"
#include "Globe.h"
#include "MapCanvas.h"
#include "Output.h"
#include "Plates.h"
#include "Projection.h"

#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace disegni;

namespace {

double lonSpan(const Ring &ring)
{
    double lo = ring.first().x(), hi = lo;
    for (const QPointF &p : ring) {
        lo = std::min(lo, p.x());
        hi = std::max(hi, p.x());
    }
    return hi - lo;
}

// Largest step in longitude, leaving out the pole line that closes a polar cap.
double largestStep(const Ring &ring)
{
    double worst = 0;
    for (qsizetype i = 1; i < ring.size(); ++i) {
        const bool alongPole = std::abs(ring.at(i).y()) == 90.0 && ring.at(i).y() == ring.at(i - 1).y();
        if (!alongPole)
            worst = std::max(worst, std::abs(ring.at(i).x() - ring.at(i - 1).x()));
    }
    return worst;
}

bool touchesPole(const Ring &ring, double pole)
{
    return std::any_of(ring.begin(), ring.end(), [pole](const QPointF &p) { return p.y() == pole; });
}

// A ring round the south pole as PB2002 stores it: cut at the date line, closed by pole points.
Ring southCapWithPolePoints()
{
    Ring r{{180, -65}, {180, -90}, {-180, -90}, {-180, -65}};
    for (int lon = -150; lon <= 150; lon += 30)
        r.append(QPointF(lon, lon % 60 == 0 ? -70 : -62));
    r.append(QPointF(180, -65));
    return r;
}

// The same cap as world-atlas stores it: one jump over the date line, no pole points.
Ring southCapWithJump()
{
    Ring r;
    for (int lon = -180; lon <= 170; lon += 10)
        r.append(QPointF(lon, -70 + (lon % 20 == 0 ? 2 : -2)));
    r.append(QPointF(-180, -68));
    return r;
}

// Chukotka-like: crosses the date line and comes back; must stay a small ring.
Ring acrossDateLine()
{
    return Ring{{170, 65}, {178, 68}, {-175, 67}, {-170, 64}, {-178, 62}, {172, 62}, {170, 65}};
}

} // namespace

class TestDisegni : public QObject
{
    Q_OBJECT

private slots:
    void pictureSurvivesFileWithItsDpi_data();
    void pictureSurvivesFileWithItsDpi();
    void designSizeFromPixels_data();
    void designSizeFromPixels();
    void ringsOnTheFlatMap_data();
    void ringsOnTheFlatMap();
    void areaRingsForBothMapClasses_data();
    void areaRingsForBothMapClasses();
    void areasWhateverTheRingsTurn_data();
    void areasWhateverTheRingsTurn();
    void topoJsonArcsJoin();
    void projectionsAtKnownPoints_data();
    void projectionsAtKnownPoints();
    void globeRoundTrip_data();
    void globeRoundTrip();
    void everyPb2002PlateHasAMajorPlate();
    void platesTileTheWholeMap_data();
    void platesTileTheWholeMap();
};

void TestDisegni::pictureSurvivesFileWithItsDpi_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("throughSavePicture");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("twips");

    QTest::newRow("jpeg marked by savePicture") << "a.jpg" << true << 192 << QSize(9600, 6900);
    QTest::newRow("png marked by savePicture") << "a.png" << true << 192 << QSize(9600, 6900);
    // a file saved without a density: the course takes it as 96 dpi, twice as large
    QTest::newRow("jpeg without density") << "b.jpg" << false << 96 << QSize(19200, 13800);
}

void TestDisegni::pictureSurvivesFileWithItsDpi()
{
    QFETCH(QString, fileName);
    QFETCH(bool, throughSavePicture);
    QFETCH(int, dpi);
    QFETCH(QSize, twips);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("sub/") + fileName);
    QImage picture(pixelsForTwips(9600, 6900), QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    if (throughSavePicture) {
        QString error;
        QVERIFY2(savePicture(picture, path, &error), qPrintable(error));
    } else {
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("sub"))));
        picture.setDotsPerMeterX(0);
        picture.setDotsPerMeterY(0);
        QVERIFY(picture.save(path));
    }

    QImageReader reader(path);
    const QImage back = reader.read();
    QVERIFY2(!back.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(back.size(), QSize(1280, 920));
    QCOMPARE(dpiOf(back), dpi);
    QCOMPARE(twipsForPixels(back.size(), dpiOf(back)), twips);
}

void TestDisegni::designSizeFromPixels_data()
{
    QTest::addColumn<QSize>("twips");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("page background") << QSize(9600, 6900) << QSize(1280, 920);
    QTest::newRow("lesson picture") << QSize(4320, 3600) << QSize(576, 480);
    QTest::newRow("one design pixel") << QSize(15, 15) << QSize(2, 2);
}

void TestDisegni::designSizeFromPixels()
{
    QFETCH(QSize, twips);
    QFETCH(QSize, pixels);
    QCOMPARE(pixelsForTwips(twips.width(), twips.height()), pixels);
    QCOMPARE(twipsForPixels(pixels, kDpi), twips);
}

void TestDisegni::ringsOnTheFlatMap_data()
{
    QTest::addColumn<Ring>("ring");
    QTest::addColumn<double>("central");
    QTest::addColumn<double>("pole");     // 0: the ring must not be closed along a pole
    QTest::addColumn<double>("minSpan");
    QTest::addColumn<double>("maxSpan");

    QTest::newRow("cap with pole points") << southCapWithPolePoints() << 0.0 << -90.0 << 359.9 << 360.1;
    QTest::newRow("cap with pole points, Pacific view") << southCapWithPolePoints() << 150.0 << -90.0 << 359.9 << 360.1;
    QTest::newRow("cap with one jump") << southCapWithJump() << 0.0 << -90.0 << 359.9 << 360.1;
    QTest::newRow("cap with one jump, view at -100") << southCapWithJump() << -100.0 << -90.0 << 359.9 << 360.1;
    QTest::newRow("north cap reversed")
        << Ring{{-180, 80}, {-90, 82}, {0, 80}, {90, 82}, {180, 80}, {180, 90}, {-180, 90}, {-180, 80}} << 0.0
        << 90.0 << 359.9 << 360.1;
    QTest::newRow("across the date line") << acrossDateLine() << 0.0 << 0.0 << 10.0 << 20.0;
    QTest::newRow("across the date line, Pacific view") << acrossDateLine() << 180.0 << 0.0 << 10.0 << 20.0;
}

void TestDisegni::ringsOnTheFlatMap()
{
    QFETCH(Ring, ring);
    QFETCH(double, central);
    QFETCH(double, pole);
    QFETCH(double, minSpan);
    QFETCH(double, maxSpan);

    const Ring flat = planar::closedRing(ring, central);
    QVERIFY(flat.size() >= 3);
    QCOMPARE(flat.first(), flat.last());
    QVERIFY2(largestStep(flat) <= 180.0, "a jump over the date line is left in the ring");
    QVERIFY(lonSpan(flat) >= minSpan);
    QVERIFY(lonSpan(flat) <= maxSpan);
    QCOMPARE(touchesPole(flat, -90.0), pole == -90.0);
    QCOMPARE(touchesPole(flat, 90.0), pole == 90.0);
    QVERIFY(std::abs(planar::signedArea(flat)) > 1.0);
    // together, the shifted copies reach both sides of the map
    double lo = 1e9, hi = -1e9;
    for (double offset : planar::wrapOffsets(flat)) {
        for (const QPointF &p : flat) {
            lo = std::min(lo, p.x() + offset);
            hi = std::max(hi, p.x() + offset);
        }
    }
    if (pole != 0.0) {
        QVERIFY(lo <= -180.0);
        QVERIFY(hi >= 180.0);
    }
}

static Ring square(double x, double y, double side, bool counterClockwise)
{
    Ring r{{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
    if (!counterClockwise)
        std::reverse(r.begin(), r.end());
    return r;
}

// The rings both map classes fill: outer rings and holes turned opposite ways whatever the data
// set does, short steps, and only the rings the map keeps (a regional map drops far latitudes).
void TestDisegni::areaRingsForBothMapClasses_data()
{
    QTest::addColumn<bool>("outerCcw");
    QTest::addColumn<bool>("holeCcw");
    QTest::addColumn<bool>("keepSouth");

    QTest::newRow("outer ccw, hole cw") << true << false << true;
    QTest::newRow("both cw") << false << false << true;
    QTest::newRow("both ccw, southern ring refused") << true << true << false;
}

void TestDisegni::areaRingsForBothMapClasses()
{
    QFETCH(bool, outerCcw);
    QFETCH(bool, holeCcw);
    QFETCH(bool, keepSouth);

    const GeoPolygon north{{square(0, 10, 20, outerCcw), square(5, 15, 5, holeCcw)}};
    const GeoPolygon south{{square(0, -60, 20, outerCcw)}};
    const GeoPolygon broken{{Ring{{0, 0}, {1, 1}}}};
    const auto keep = [keepSouth](const Ring &r) { return keepSouth || r.first().y() > 0; };
    const QList<Ring> rings = planar::areaRings({north, broken, south}, 0, 2.0, keep);
    QCOMPARE(rings.size(), keepSouth ? 3 : 2);
    QVERIFY(planar::signedArea(rings.at(0)) > 0);
    QVERIFY(planar::signedArea(rings.at(1)) < 0);
    for (const Ring &r : rings)
        QVERIFY(largestStep(r) <= 2.0 + 1e-9);
}

void TestDisegni::areasWhateverTheRingsTurn_data()
{
    QTest::addColumn<QList<GeoPolygon>>("polygons");
    QTest::addColumn<QPointF>("geo");
    QTest::addColumn<bool>("painted");

    // data sets disagree on which way outer rings and holes turn
    for (const bool ccw : {true, false}) {
        const QString turn = ccw ? QStringLiteral("ccw") : QStringLiteral("cw");
        const QList<GeoPolygon> withHole{GeoPolygon{{square(0, 0, 40, ccw), square(10, 10, 20, ccw)}}};
        QTest::addRow("hole turning like its ring, %s", qPrintable(turn)) << withHole << QPointF(20, 20) << false;
        QTest::addRow("ring round a hole, %s", qPrintable(turn)) << withHole << QPointF(5, 20) << true;
        // the shared edge runs through the middle of a pixel column
        const QList<GeoPolygon> neighbours{GeoPolygon{{square(0.5, 0, 20, ccw)}}, GeoPolygon{{square(20.5, 0, 20, !ccw)}}};
        QTest::addRow("shared edge of neighbours turning apart, %s", qPrintable(turn))
            << neighbours << QPointF(20.5, 10) << true;
    }
}

// Pixels are sampled at the point itself: a seam or a filled hole shows as partial coverage.
void TestDisegni::areasWhateverTheRingsTurn()
{
    QFETCH(QList<GeoPolygon>, polygons);
    QFETCH(QPointF, geo);
    QFETCH(bool, painted);
    const QSize size(360, 180);
    const MapCanvas canvas(Projection(Projection::Kind::Equirectangular), QRectF(QPointF(0, 0), size));
    QImage layer = newLayer(size);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(canvas.areas(polygons), Qt::black);
    }
    const QPoint px = canvas.toPixel(geo.x(), geo.y()).toPoint();
    // the pixels either side of the point, so that an edge through it is caught
    for (const QPoint &at : {px, px - QPoint(1, 0)}) {
        const int alpha = qAlpha(layer.pixel(at));
        QVERIFY2(painted ? alpha == 255 : alpha == 0, qPrintable(QString::number(alpha)));
    }
}

void TestDisegni::topoJsonArcsJoin()
{
    // Two quantized, delta-encoded arcs; the line runs the first arc backwards (-1 is ~0).
    const QByteArray json = R"({"type":"Topology",
        "transform":{"scale":[0.5,0.25],"translate":[-10,20]},
        "arcs":[[[0,0],[4,0],[0,4]],[[4,4],[-4,0],[0,-4]]],
        "objects":{"land":{"type":"GeometryCollection","geometries":[
            {"type":"Polygon","arcs":[[0,1]],"properties":{"name":"quadrato"}},
            {"type":"LineString","arcs":[-1],"id":7}]}}})";
    QString error;
    const QList<GeoFeature> features = parseTopoJson(json, QStringLiteral("land"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(features.size(), 2);

    const Ring square = features.at(0).polygons.value(0).rings.value(0);
    // the vertex where the arcs meet appears once
    const Ring expected{{-10, 20}, {-8, 20}, {-8, 21}, {-10, 21}, {-10, 20}};
    QCOMPARE(square, expected);
    QCOMPARE(features.at(0).text(QStringLiteral("name")), QStringLiteral("quadrato"));

    const Ring back = features.at(1).lines.value(0);
    QCOMPARE(back, (Ring{{-8, 21}, {-8, 20}, {-10, 20}}));
    QCOMPARE(features.at(1).properties.value(QStringLiteral("id")).toInt(), 7);

    QVERIFY(parseTopoJson(json, QStringLiteral("countries"), &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

void TestDisegni::projectionsAtKnownPoints_data()
{
    QTest::addColumn<Projection::Kind>("kind");
    QTest::addColumn<QPointF>("geo");
    QTest::addColumn<QPointF>("plane");

    const double pi = M_PI;
    using K = Projection::Kind;
    QTest::newRow("equirectangular corner") << K::Equirectangular << QPointF(180, 90) << QPointF(pi, pi / 2);
    QTest::newRow("natural earth equator end") << K::NaturalEarth << QPointF(180, 0) << QPointF(0.8707 * pi, 0);
    QTest::newRow("natural earth pole") << K::NaturalEarth << QPointF(0, 90) << QPointF(0, 1.4224);
    QTest::newRow("robinson equator end") << K::Robinson << QPointF(180, 0) << QPointF(0.8487 * pi, 0);
    QTest::newRow("robinson table row 45") << K::Robinson << QPointF(180, 45) << QPointF(0.8487 * 0.8962 * pi, 1.3523 * 0.5571);
    QTest::newRow("robinson table row 85") << K::Robinson << QPointF(-180, -85) << QPointF(-0.8487 * 0.5722 * pi, -1.3523 * 0.9761);
    QTest::newRow("robinson pole") << K::Robinson << QPointF(90, 90) << QPointF(0.8487 * 0.5322 * pi / 2, 1.3523);
    QTest::newRow("miller pole") << K::Miller << QPointF(0, 90) << QPointF(0, 2.3034);
    QTest::newRow("miller south") << K::Miller << QPointF(-90, -45) << QPointF(-pi / 2, -0.8428);
}

void TestDisegni::projectionsAtKnownPoints()
{
    QFETCH(Projection::Kind, kind);
    QFETCH(QPointF, geo);
    QFETCH(QPointF, plane);
    const QPointF got = Projection(kind).forward(geo.x(), geo.y());
    QVERIFY2(std::abs(got.x() - plane.x()) < 1e-3 && std::abs(got.y() - plane.y()) < 1e-3,
             qPrintable(QStringLiteral("(%1, %2)").arg(got.x()).arg(got.y())));
    // parallels never bend back: y grows with latitude all the way to the pole
    double previous = -1e9;
    for (double lat = -90; lat <= 90; lat += 0.5) {
        const double y = Projection(kind).forward(30, lat).y();
        QVERIFY2(y > previous, qPrintable(QString::number(lat)));
        previous = y;
    }
}

void TestDisegni::globeRoundTrip_data()
{
    QTest::addColumn<QPointF>("view");
    QTest::addColumn<QPointF>("geo");
    QTest::addColumn<bool>("visible");

    QTest::newRow("centre") << QPointF(10, 20) << QPointF(10, 20) << true;
    QTest::newRow("near the rim") << QPointF(10, 20) << QPointF(95, 20) << true;
    QTest::newRow("across the date line") << QPointF(170, -10) << QPointF(-160, 5) << true;
    QTest::newRow("pole seen from above") << QPointF(0, 60) << QPointF(123, 89) << true;
    QTest::newRow("far side") << QPointF(10, 20) << QPointF(-170, -20) << false;
}

void TestDisegni::globeRoundTrip()
{
    QFETCH(QPointF, view);
    QFETCH(QPointF, geo);
    QFETCH(bool, visible);
    const Globe globe(view.x(), view.y(), QPointF(300, 200), 150);
    const std::optional<QPointF> px = globe.toPixel(geo.x(), geo.y());
    QCOMPARE(px.has_value(), visible);
    if (!visible)
        return;
    const std::optional<QPointF> back = globe.toGeo(*px);
    QVERIFY(back.has_value());
    const double dLon = std::remainder(back->x() - geo.x(), 360.0);
    QVERIFY2(std::abs(dLon) < 1e-6 && std::abs(back->y() - geo.y()) < 1e-6,
             qPrintable(QStringLiteral("%1, %2").arg(back->x()).arg(back->y())));
}

static QString geoFolder()
{
    return QStringLiteral(DISEGNI_GEO);
}

void TestDisegni::everyPb2002PlateHasAMajorPlate()
{
    GeoData data(geoFolder());
    if (!data.available())
        QSKIP("shared geographic data not found");
    QSet<QString> keys;
    for (const MajorPlate &m : majorPlates())
        keys.insert(m.key);
    QCOMPARE(keys.size(), majorPlates().size());
    for (const GeoFeature &f : data.plates()) {
        const QString code = f.text(QStringLiteral("Code"));
        QVERIFY2(keys.contains(majorPlateOf(code)), qPrintable(code));
    }
    const PlateModel model(data);
    for (const PlateBoundary &b : model.boundaries()) {
        QVERIFY2(!majorPlateOf(b.plateA).isEmpty() && !majorPlateOf(b.plateB).isEmpty(), qPrintable(b.name));
    }
}

void TestDisegni::platesTileTheWholeMap_data()
{
    QTest::addColumn<Projection::Kind>("kind");
    QTest::addColumn<double>("central");

    QTest::newRow("natural earth, Europe") << Projection::Kind::NaturalEarth << 11.0;
    QTest::newRow("natural earth, Pacific") << Projection::Kind::NaturalEarth << 150.0;
    QTest::newRow("robinson, Americas") << Projection::Kind::Robinson << -90.0;
    QTest::newRow("miller, Greenwich") << Projection::Kind::Miller << 0.0;
    QTest::newRow("equirectangular, date line") << Projection::Kind::Equirectangular << 180.0;
}

// The plates of PB2002 cover the Earth without gaps, so every pixel inside the map's outline
// must be painted: a ring lost at the date line or a pole cap turned inside out leaves a hole.
void TestDisegni::platesTileTheWholeMap()
{
    QFETCH(Projection::Kind, kind);
    QFETCH(double, central);
    GeoData data(geoFolder());
    if (!data.available())
        QSKIP("shared geographic data not found");
    const PlateModel plates(data);

    const QSize size(720, 400);
    const MapCanvas canvas(Projection(kind, central), QRectF(QPointF(0, 0), size));
    // one path for all: edges shared by neighbours then leave no antialiased seam either
    QList<GeoPolygon> all;
    for (const MajorPlate &m : majorPlates())
        all.append(plates.polygonsOf(m.key));
    QImage layer = newLayer(size);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(canvas.areas(all), Qt::black);
    }
    QImage inside = newLayer(size);
    {
        QPainter p(&inside);
        p.fillPath(canvas.outline(), Qt::black);
    }
    int holes = 0;
    QString first;
    for (int y = 3; y < size.height() - 3; y += 2) {
        for (int x = 3; x < size.width() - 3; x += 2) {
            // away from the outline's own edge
            const bool deepInside = qAlpha(inside.pixel(x - 3, y)) == 255 && qAlpha(inside.pixel(x + 3, y)) == 255
                && qAlpha(inside.pixel(x, y - 3)) == 255 && qAlpha(inside.pixel(x, y + 3)) == 255;
            if (deepInside && qAlpha(layer.pixel(x, y)) < 250) {
                if (holes++ == 0)
                    first = QStringLiteral("%1,%2 alpha %3").arg(x).arg(y).arg(qAlpha(layer.pixel(x, y)));
            }
        }
    }
    QVERIFY2(holes == 0, qPrintable(QStringLiteral("%1 unpainted pixels, first at %2").arg(holes).arg(first)));
}

QTEST_GUILESS_MAIN(TestDisegni)
#include "TestDisegni.moc"
