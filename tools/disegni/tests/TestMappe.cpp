// Regional maps, plate margins and the hotspot frame of the lesson maps.

#include "Boundaries.h"
#include "Carte.h"
#include "Events.h"
#include "GeoData.h"
#include "Labels.h"
#include "MapWindow.h"
#include "Output.h"
#include "Plates.h"
#include "Symbols.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace disegni;

namespace {

QString geoFolder()
{
    return QStringLiteral(DISEGNI_GEO);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(text);
    return path;
}

const QByteArray kStepsHeader =
    "SeqNum,PlateBoundIdentifer,PlateBoundContinuity,StartLong,StartLat,FinalLong,FinalLat,StepLength(km),"
    "AzimuthCenter,VelocityLeft,VelocityAzimuth,VelocityDivergent,VelocityRightLateral,Elevation,SeafloorAge,"
    "StepClass,StepContinuity,Orogen\n";

QByteArray step(int n, const char *name, double lon0, double lat0, double lon1, double lat1, double km, const char *cls)
{
    return QStringLiteral("%1,%2,TRUE,%3,%4,%5,%6,%7,0,40,90,0,0,0,0,%8,TRUE,FALSE\n")
        .arg(n)
        .arg(QLatin1String(name))
        .arg(lon0)
        .arg(lat0)
        .arg(lon1)
        .arg(lat1)
        .arg(km)
        .arg(QLatin1String(cls))
        .toUtf8();
}

bool insideRing(const QPointF &p, const Ring &ring)
{
    bool in = false;
    for (qsizetype i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const QPointF a = ring.at(i), b = ring.at(j);
        if ((a.y() > p.y()) != (b.y() > p.y()) && p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
            in = !in;
    }
    return in;
}

bool insidePlate(const QPointF &p, const QList<GeoPolygon> &polygons)
{
    for (const GeoPolygon &g : polygons) {
        if (!g.rings.isEmpty() && insideRing(p, g.rings.first()))
            return true;
    }
    return false;
}

} // namespace

class TestMappe : public QObject
{
    Q_OBJECT

private slots:
    void newProjectionsAtKnownPoints_data();
    void newProjectionsAtKnownPoints();
    void windowRoundTrip_data();
    void windowRoundTrip();
    void windowWiderThanTheWorld();
    void windowsCoverEveryPixel_data();
    void windowsCoverEveryPixel();
    void paintInsideCutsToTheOutline_data();
    void paintInsideCutsToTheOutline();
    void mapsShowOnlyBoundariesOfMajorPlates_data();
    void mapsShowOnlyBoundariesOfMajorPlates();
    void stepsJoinIntoPieces();
    void unusableStepsAreRefused_data();
    void unusableStepsAreRefused();
    void shortTransformsJoinTheRidge();
    void teethStandOnTheOverridingPlate();
    void teethSide_data();
    void teethSide();
    void movingOnTheSphere_data();
    void movingOnTheSphere();
    void earthquakesFromCsv_data();
    void earthquakesFromCsv();
    void activeVolcanoes_data();
    void activeVolcanoes();
    void volcanoesOnePerPlace();
    void labelsDoNotCoverEachOther();
    void worldHotspotsCoverTheirRegions_data();
    void worldHotspotsCoverTheirRegions();
    void topic3TongaHotspotOverTheTrench();
    void californiaSlidesAlongTheFault_data();
    void californiaSlidesAlongTheFault();
};

void TestMappe::newProjectionsAtKnownPoints_data()
{
    QTest::addColumn<Projection::Kind>("kind");
    QTest::addColumn<QPointF>("lonLat");
    QTest::addColumn<QPointF>("plane");

    QTest::newRow("Gall, 90E 45N") << Projection::Kind::GallStereographic << QPointF(90, 45)
                                   << QPointF(M_PI / 2 * M_SQRT1_2, (1 + M_SQRT1_2) * std::tan(M_PI / 8));
    QTest::newRow("Gall, pole") << Projection::Kind::GallStereographic << QPointF(-180, -90)
                                << QPointF(-M_PI * M_SQRT1_2, -(1 + M_SQRT1_2));
    QTest::newRow("Mercator, 45N") << Projection::Kind::Mercator << QPointF(0, 45) << QPointF(0, std::log(std::tan(3 * M_PI / 8)));
    // near the pole Mercator runs off to infinity: held at 85°
    QTest::newRow("Mercator, 89S") << Projection::Kind::Mercator << QPointF(30, -89)
                                   << QPointF(M_PI / 6, -std::log(std::tan(M_PI / 4 + 85 * M_PI / 360)));
}

void TestMappe::newProjectionsAtKnownPoints()
{
    QFETCH(Projection::Kind, kind);
    QFETCH(QPointF, lonLat);
    QFETCH(QPointF, plane);
    const QPointF p = Projection(kind, 0).forward(lonLat.x(), lonLat.y());
    QVERIFY2(std::abs(p.x() - plane.x()) < 1e-9 && std::abs(p.y() - plane.y()) < 1e-9,
             qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
}

void TestMappe::windowRoundTrip_data()
{
    QTest::addColumn<Projection::Kind>("kind");
    QTest::addColumn<double>("lonMin");
    QTest::addColumn<double>("lonMax");
    QTest::addColumn<double>("latMin");
    QTest::addColumn<double>("latMax");
    QTest::addColumn<bool>("stretch");

    QTest::newRow("Italy, Mercator") << Projection::Kind::Mercator << 5.5 << 20.5 << 35.5 << 47.6 << false;
    QTest::newRow("Pacific world, Gall") << Projection::Kind::GallStereographic << -30.0 << 340.0 << -70.0 << 82.0 << false;
    QTest::newRow("stretched world") << Projection::Kind::Equirectangular << -224.5 << 185.0 << -60.0 << 90.0 << true;
    QTest::newRow("western Pacific, across the date line") << Projection::Kind::Mercator << 108.0 << 198.0 << -40.0 << 62.0 << false;
}

void TestMappe::windowRoundTrip()
{
    QFETCH(Projection::Kind, kind);
    QFETCH(double, lonMin);
    QFETCH(double, lonMax);
    QFETCH(double, latMin);
    QFETCH(double, latMax);
    QFETCH(bool, stretch);
    const GeoWindow w{lonMin, lonMax, latMin, latMax};
    const QRectF target(0, 0, 500, stretch ? 700 : MapWindow::heightForWidth(kind, w, 500));
    const MapWindow map(kind, w, target, stretch ? MapWindow::Aspect::Stretch : MapWindow::Aspect::Keep);
    // the window fills its target: its corners are the target's
    QVERIFY(std::abs(map.mapRect().left() - target.left()) < 0.5);
    QVERIFY(std::abs(map.mapRect().right() - target.right()) < 0.5);
    QVERIFY(std::abs(map.mapRect().top() - target.top()) < 0.5);
    QVERIFY(std::abs(map.mapRect().bottom() - target.bottom()) < 0.5);
    const QPointF topLeft = map.toGeo(target.topLeft());
    QVERIFY(std::abs(topLeft.x() - lonMin) < 1e-6);
    QVERIFY(std::abs(topLeft.y() - latMax) < 1e-6);
    for (int i = 1; i < 10; ++i) {
        const double lon = lonMin + (lonMax - lonMin) * i / 10.0;
        const double lat = latMin + (latMax - latMin) * (10 - i) / 10.0;
        const QPointF px = map.toPixel(lon, lat);
        QVERIFY2(target.contains(px), qPrintable(QStringLiteral("%1,%2").arg(lon).arg(lat)));
        const QPointF back = map.toGeo(px);
        const double dLon = std::remainder(back.x() - lon, 360.0);
        QVERIFY2(std::abs(dLon) < 1e-6 && std::abs(back.y() - lat) < 1e-6,
                 qPrintable(QStringLiteral("%1,%2 came back as %3,%4").arg(lon).arg(lat).arg(back.x()).arg(back.y())));
    }
}

void TestMappe::windowWiderThanTheWorld()
{
    // 409.5° wide: the strip from 135.5°E to 185°E is on both sides
    const MapWindow map(Projection::Kind::Equirectangular, GeoWindow{-224.5, 185, -60, 90}, QRectF(0, 0, 819, 300),
                        MapWindow::Aspect::Stretch);
    const QList<QPointF> tonga = map.copies(-175, -20);
    QCOMPARE(tonga.size(), 2);
    QVERIFY(std::abs(tonga.at(0).x() - (-175 + 224.5) * 2) < 1e-6);
    QVERIFY(std::abs(tonga.at(1).x() - (-175 + 360 + 224.5) * 2) < 1e-6);
    QCOMPARE(map.copies(0, 0).size(), 1);
    // a line across the date line shows in both strips
    const QList<QPolygonF> arcs = map.polylines(Ring{{170, -10}, {-170, -10}});
    QCOMPARE(arcs.size(), 2);
}

void TestMappe::windowsCoverEveryPixel_data()
{
    QTest::addColumn<Projection::Kind>("kind");
    QTest::addColumn<double>("lonMin");
    QTest::addColumn<double>("lonMax");
    QTest::addColumn<double>("latMin");
    QTest::addColumn<double>("latMax");

    QTest::newRow("topic 3 frame") << Projection::Kind::GallStereographic << -30.0 << 340.0 << -72.0 << 82.0;
    QTest::newRow("topic 5 world frame") << Projection::Kind::Mercator << 62.0 << 422.0 << -66.0 << 80.0;
    QTest::newRow("western Pacific") << Projection::Kind::Mercator << 108.0 << 198.0 << -40.0 << 62.0;
}

// PB2002's plates tile the Earth: any pixel of the window left unpainted is a ring lost at a
// wrap of the window or at the date line.
void TestMappe::windowsCoverEveryPixel()
{
    QFETCH(Projection::Kind, kind);
    QFETCH(double, lonMin);
    QFETCH(double, lonMax);
    QFETCH(double, latMin);
    QFETCH(double, latMax);
    GeoData data(geoFolder());
    if (!data.available())
        QSKIP("shared geographic data not found");
    const QSize size(600, 360);
    const MapWindow map(kind, GeoWindow{lonMin, lonMax, latMin, latMax}, QRectF(QPointF(0, 0), size), MapWindow::Aspect::Stretch);
    QList<GeoPolygon> all;
    for (const GeoFeature &f : data.plates())
        all.append(f.polygons);
    QImage layer = newLayer(size);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(map.areas(all), Qt::black);
    }
    int holes = 0;
    for (int y = 2; y < size.height() - 2; y += 2) {
        for (int x = 2; x < size.width() - 2; x += 2)
            holes += qAlpha(layer.pixel(x, y)) < 250 ? 1 : 0;
    }
    QCOMPARE(holes, 0);
}

void TestMappe::paintInsideCutsToTheOutline_data()
{
    QTest::addColumn<Projection::Kind>("kind");
    QTest::addColumn<QRectF>("target");
    // a regional map in part of the picture, and a world whose outline curves inside its rectangle
    QTest::newRow("Mercator region") << Projection::Kind::Mercator << QRectF(40, 30, 200, 150);
    QTest::newRow("Robinson world") << Projection::Kind::Robinson << QRectF(0, 0, 300, 200);
}

void TestMappe::paintInsideCutsToTheOutline()
{
    QFETCH(Projection::Kind, kind);
    QFETCH(QRectF, target);
    const GeoWindow window = kind == Projection::Kind::Robinson ? GeoWindow{} : GeoWindow{5, 20, 35, 47};
    const MapWindow map(kind, window, target);
    const QColor paper(0xF0, 0xF0, 0xF0);
    QImage picture = newPicture(QSize(320, 220), paper);
    {
        QPainter p(&picture);
        // what the drawing covers beyond the outline must not reach the picture
        map.paintInside(p, [](QPainter &l) { l.fillRect(QRect(0, 0, 320, 220), Qt::red); });
    }
    const QPointF centre = map.mapRect().center();
    QCOMPARE(picture.pixelColor(centre.toPoint()), QColor(Qt::red));
    // a corner of the map's rectangle: outside a curved outline, or just outside a straight one
    const QPoint corner = (map.mapRect().topLeft() + QPointF(kind == Projection::Kind::Robinson ? 3 : -3, 3)).toPoint();
    QCOMPARE(picture.pixelColor(corner), paper);
    QCOMPARE(picture.pixelColor(316, 216), paper);
}

void TestMappe::mapsShowOnlyBoundariesOfMajorPlates_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<bool>("shown");
    QTest::newRow("Africa, Antarctica") << "AF" << "AN" << true;
    // small plates folded into their major plate: no line where the key shows one plate
    QTest::newRow("Eurasia, Anatolia") << "EU" << "AT" << false;
    QTest::newRow("Australia, Tonga") << "AU" << "TO" << false;
    // a small plate against another major plate: the boundary of its major plate
    QTest::newRow("Okinawa, Philippine Sea") << "ON" << "PS" << true;
}

void TestMappe::mapsShowOnlyBoundariesOfMajorPlates()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(bool, shown);
    BoundaryPiece piece;
    piece.left = left;
    piece.right = right;
    QCOMPARE(carte::betweenMajorPlates(piece), shown);
    // the same rule gives the plates their colours
    QCOMPARE(carte::majorColour(left) != carte::majorColour(right), shown);
}

void TestMappe::stepsJoinIntoPieces()
{
    QTemporaryDir dir;
    const QByteArray csv = kStepsHeader + step(1, "NZ\\SA", -76, -45, -75, -40, 500, "SUB")
        + step(2, "NZ\\SA", -75, -40, -74, -35, 500, "SUB")   // continues: same piece
        + step(3, "NZ\\SA", -74, -35, -73, -30, 400, "OCB")   // another class: a new piece
        + step(4, "TO/PA", -175, -24, -174, -15, 900, "SUB")  // another boundary
        + step(5, "AF-AN", 10, -50, 11, -50, 80, "OSR");
    QString error;
    const QList<BoundaryPiece> pieces = readBoundarySteps(writeFile(dir, QStringLiteral("s.csv"), csv), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(pieces.size(), 4);
    QCOMPARE(pieces.at(0).line.size(), 3);
    QCOMPARE(pieces.at(0).lengthKm, 1000.0);
    QCOMPARE(pieces.at(0).margin(), Margin::Destructive);
    QCOMPARE(pieces.at(0).overriding(), QStringLiteral("SA"));   // '\': the right-hand plate stays on top
    QCOMPARE(pieces.at(1).margin(), Margin::Collision);
    QCOMPARE(pieces.at(2).overriding(), QStringLiteral("TO"));   // '/': the left-hand plate stays on top
    QCOMPARE(pieces.at(3).left, QStringLiteral("AF"));
    QCOMPARE(pieces.at(3).right, QStringLiteral("AN"));
    QCOMPARE(pieces.at(3).margin(), Margin::Constructive);
    // VelocityLeft 40 mm a year towards azimuth 90: east
    QVERIFY(std::abs(pieces.at(3).velocity.x() - 40) < 1e-9 && std::abs(pieces.at(3).velocity.y()) < 1e-9);
}

void TestMappe::unusableStepsAreRefused_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::newRow("unknown class") << QByteArray(kStepsHeader + step(1, "AF-AN", 0, 0, 1, 0, 10, "XYZ"));
    QTest::newRow("not a number") << QByteArray(kStepsHeader + "1,AF-AN,TRUE,x,0,1,0,10,0,4,0,0,0,0,0,OSR,TRUE,FALSE\n");
    QTest::newRow("no plate pair") << QByteArray(kStepsHeader + step(1, "AFRICA", 0, 0, 1, 0, 10, "OSR"));
    QTest::newRow("a column missing") << QByteArray("SeqNum,PlateBoundIdentifer\n1,AF-AN\n");
}

void TestMappe::unusableStepsAreRefused()
{
    QFETCH(QByteArray, csv);
    QTemporaryDir dir;
    QString error;
    const QList<BoundaryPiece> pieces = readBoundarySteps(writeFile(dir, QStringLiteral("s.csv"), csv), &error);
    QVERIFY(pieces.isEmpty());
    QVERIFY(!error.isEmpty());
    QVERIFY(readBoundarySteps(dir.filePath(QStringLiteral("missing.csv")), &error).isEmpty());
}

void TestMappe::shortTransformsJoinTheRidge()
{
    QTemporaryDir dir;
    const QByteArray csv = kStepsHeader + step(1, "AF-AN", 0, -50, 1, -50, 100, "OSR")
        + step(2, "AF-AN", 1, -50, 1, -51, 60, "OTF")      // a short offset of the ridge
        + step(3, "AF-AN", 1, -51, 2, -51, 100, "OSR")
        + step(4, "AF-AN", 2, -51, 2, -58, 800, "OTF")     // a long transform stays one
        + step(5, "AF-AN", 2, -58, 3, -58, 100, "OSR");
    const QList<BoundaryPiece> pieces = readBoundarySteps(writeFile(dir, QStringLiteral("s.csv"), csv));
    QCOMPARE(pieces.size(), 5);
    const QList<BoundaryPiece> general = generalised(pieces, 400);
    QCOMPARE(general.size(), 3);
    QCOMPARE(general.at(0).stepClass, StepClass::SpreadingRidge);
    QCOMPARE(general.at(0).line.size(), 4);
    QCOMPARE(general.at(1).stepClass, StepClass::OceanicTransform);
    QCOMPARE(general.at(2).stepClass, StepClass::SpreadingRidge);
}

// Teeth go on the side of the line where the overriding plate is: for that, the first plate of
// a PB2002 name must lie left of the line as it runs, the second right of it. Checked on every
// trench: points a little way off its middle, on either side.
void TestMappe::teethStandOnTheOverridingPlate()
{
    GeoData data(geoFolder());
    if (!data.available())
        QSKIP("shared geographic data not found");
    QMap<QString, QList<GeoPolygon>> plates;
    for (const GeoFeature &f : data.plates())
        plates[f.text(QStringLiteral("Code"))].append(f.polygons);
    int checked = 0, right = 0;
    QStringList wrong;
    for (const BoundaryPiece &b : boundarySteps(data)) {
        if (b.margin() != Margin::Destructive || b.line.size() < 3)
            continue;
        const qsizetype i = b.line.size() / 2;
        const QPointF a = b.line.at(i - 1), c = b.line.at(i + 1), mid = b.line.at(i);
        if (std::abs(mid.x()) > 175 || std::abs(c.x() - a.x()) > 180)
            continue; // the plates' outlines are cut at the date line
        const double k = std::cos(qDegreesToRadians(mid.y()));
        QPointF dir((c.x() - a.x()) * k, c.y() - a.y());
        dir /= std::hypot(dir.x(), dir.y());
        const QPointF left(-dir.y(), dir.x()); // east/north coordinates
        const QPointF probeLeft(mid.x() + left.x() * 0.3 / k, mid.y() + left.y() * 0.3);
        const QPointF probeRight(mid.x() - left.x() * 0.3 / k, mid.y() - left.y() * 0.3);
        ++checked;
        if (insidePlate(probeLeft, plates.value(b.left)) && insidePlate(probeRight, plates.value(b.right)))
            ++right;
        else
            wrong.append(b.name);
    }
    QVERIFY2(checked > 40, qPrintable(QString::number(checked)));
    // a few pieces are shorter than the probe's distance from their bends
    QVERIFY2(right >= checked * 0.9,
             qPrintable(QStringLiteral("%1 of %2; wrong: %3").arg(right).arg(checked).arg(wrong.join(QLatin1Char(' ')))));
    // and the overriding plate of the best-known trenches
    QMap<QString, QString> known{{QStringLiteral("NZ\\SA"), QStringLiteral("SA")},
                                 {QStringLiteral("TO/PA"), QStringLiteral("TO")},
                                 {QStringLiteral("JF\\NA"), QStringLiteral("NA")},
                                 {QStringLiteral("PA\\OK"), QStringLiteral("OK")},
                                 {QStringLiteral("CA/SA"), QStringLiteral("CA")}};
    for (const BoundaryPiece &b : boundarySteps(data)) {
        if (known.contains(b.name) && b.margin() == Margin::Destructive)
            QCOMPARE(b.overriding(), known.value(b.name));
    }
}

void TestMappe::teethSide_data()
{
    QTest::addColumn<QPolygonF>("line");
    QTest::addColumn<bool>("left");
    QTest::addColumn<QPointF>("towards");

    // pixels: y grows downwards, so north is up
    QTest::newRow("running east, left is north") << QPolygonF{{0, 100}, {200, 100}} << true << QPointF(0, -1);
    QTest::newRow("running east, right is south") << QPolygonF{{0, 100}, {200, 100}} << false << QPointF(0, 1);
    QTest::newRow("running north, left is west") << QPolygonF{{100, 200}, {100, 0}} << true << QPointF(-1, 0);
}

void TestMappe::teethSide()
{
    QFETCH(QPolygonF, line);
    QFETCH(bool, left);
    QFETCH(QPointF, towards);
    const QPainterPath teeth = symbols::teeth(line, 20, 8, left);
    QCOMPARE(teeth.toSubpathPolygons().size(), 10);
    const QPointF centre = teeth.boundingRect().center() - line.boundingRect().center();
    QVERIFY(QPointF::dotProduct(centre, towards) > 2);
    // the arrow ends where it is sent
    const QPainterPath arrow = symbols::arrow(QPointF(0, 0), QPointF(50, 0), 4, 10, 12);
    QVERIFY(std::abs(arrow.boundingRect().right() - 50) < 1e-9);
}

void TestMappe::movingOnTheSphere_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<double>("azimuth");
    QTest::addColumn<double>("km");
    QTest::addColumn<QPointF>("expected");

    QTest::newRow("one degree north") << QPointF(0, 0) << 0.0 << 111.195 << QPointF(0, 1);
    QTest::newRow("one degree east on the equator") << QPointF(10, 0) << 90.0 << 111.195 << QPointF(11, 0);
    QTest::newRow("across the date line") << QPointF(179.5, 0) << 90.0 << 111.195 << QPointF(-179.5, 0);
}

void TestMappe::movingOnTheSphere()
{
    QFETCH(QPointF, from);
    QFETCH(double, azimuth);
    QFETCH(double, km);
    QFETCH(QPointF, expected);
    const QPointF to = travelled(from, azimuth, km);
    QVERIFY2(std::abs(to.x() - expected.x()) < 1e-3 && std::abs(to.y() - expected.y()) < 1e-3,
             qPrintable(QStringLiteral("%1,%2").arg(to.x()).arg(to.y())));
    // a quarter turn about the north pole carries the equator round by 90°
    const QPointF turned = rotatedAbout(QPointF(0, 0), QPointF(0, 90), 90);
    QVERIFY(std::abs(turned.x() - 90) < 1e-4 && std::abs(turned.y()) < 1e-4);
}

// The one reader of the earthquake catalogue: columns found by name, and a damaged file refused
// whole rather than drawn with holes.
void TestMappe::earthquakesFromCsv_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("count"); // -1: refused
    QTest::addColumn<QPointF>("first"); // lon, lat of the first quake
    QTest::addColumn<double>("depth");  // of the first quake

    const QByteArray header = "year,month,day,latitude,longitude,depth,magnitude\n";
    QTest::newRow("two quakes") << QByteArray(header + "2000,1,1,38.1,15.6,279,4.5\n1980,11,23,40.9,15.4,10,6.9\n") << 2
                                << QPointF(15.6, 38.1) << 279.0;
    QTest::newRow("as in the catalogue") << QByteArray(header + "2000,1,1,57.440,-154.442,49.4,4.0\n2000,1,1,-17.241,167.055,47.0,4.0\n")
                                         << 2 << QPointF(-154.442, 57.44) << 49.4;
    QTest::newRow("columns in another order") << QByteArray("magnitude,depth,year,longitude,latitude\n5.1,10,1999,20.5,30.25\n") << 1
                                              << QPointF(20.5, 30.25) << 10.0;
    QTest::newRow("blank lines are skipped") << QByteArray(header + "\n2000,1,1,38.1,15.6,279,4.5\n\n") << 1
                                             << QPointF(15.6, 38.1) << 279.0;
    QTest::newRow("windows line ends") << QByteArray("year,latitude,longitude,depth,magnitude\r\n2000,10,20,30,4\r\n") << 1
                                       << QPointF(20, 10) << 30.0;
    QTest::newRow("longitudes beyond 180") << QByteArray(header + "2000,1,1,10,200,30,4\n") << 1 << QPointF(200, 10) << 30.0;
    QTest::newRow("a broken line refuses the file") << QByteArray(header + "2000,1,1,38.1,abc,279,4.5\n") << -1 << QPointF() << 0.0;
    QTest::newRow("a cut line refuses the file")
        << QByteArray("year,latitude,longitude,depth,magnitude\n2000,10,20,30,4\n2000,10,20\n") << -1 << QPointF() << 0.0;
    QTest::newRow("a quake off the globe refuses the file")
        << QByteArray("year,latitude,longitude,depth,magnitude\n2000,95,20,30,4\n2000,10,20,30,4\n") << -1 << QPointF() << 0.0;
    QTest::newRow("a missing column refuses the file") << QByteArray("year,latitude,longitude\n2000,1,2\n") << -1 << QPointF() << 0.0;
    QTest::newRow("no depth") << QByteArray("year,latitude,longitude,magnitude\n2000,10,20,4\n") << -1 << QPointF() << 0.0;
    QTest::newRow("only the header") << header << -1 << QPointF() << 0.0;
    QTest::newRow("empty file") << QByteArray() << -1 << QPointF() << 0.0;
}

void TestMappe::earthquakesFromCsv()
{
    QFETCH(QByteArray, csv);
    QFETCH(int, count);
    QFETCH(QPointF, first);
    QFETCH(double, depth);
    QTemporaryDir dir;
    QString error;
    const QList<Earthquake> list = readEarthquakes(writeFile(dir, QStringLiteral("q.csv"), csv), &error);
    if (count < 0) {
        QVERIFY(list.isEmpty());
        QVERIFY(!error.isEmpty());
        return;
    }
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(list.size(), count);
    QCOMPARE(list.first().at, first);
    QCOMPARE(list.first().depthKm, depth);
}

// One rule for every picture that shows active volcanoes: erupted in the last ten thousand years,
// whatever way the eruption is dated.
void TestMappe::activeVolcanoes_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("active");

    QTest::newRow("historical eruptions") << "Historical" << true;
    QTest::newRow("holocene") << "Holocene" << true;
    QTest::newRow("dated by radiocarbon") << "Radiocarbon" << true;
    QTest::newRow("dated by tephra layers") << "Tephrochronology" << true;
    QTest::newRow("dated by tree rings (Rainier)") << "Dendrochronology" << true;
    QTest::newRow("dated by people who saw it") << "Anthropology" << true;
    QTest::newRow("steaming vents") << "Fumarolic" << true;
    QTest::newRow("doubtful holocene") << "Holocene?" << false;
    QTest::newRow("uncertain") << "Uncertain" << false;
    QTest::newRow("pleistocene") << "Pleistocene" << false;
    QTest::newRow("pleistocene, still steaming") << "Pleistocene-Fumarol" << false;
    QTest::newRow("no status") << "" << false;
}

void TestMappe::activeVolcanoes()
{
    QFETCH(QString, status);
    QFETCH(bool, active);
    Volcano v;
    v.at = QPointF(14.99, 37.75);
    v.status = status;
    QCOMPARE(v.active(), active);
}

// A volcano without a place is no volcano on a map.
void TestMappe::volcanoesOnePerPlace()
{
    QTemporaryDir dir;
    writeFile(dir, QStringLiteral("volcanoes.json"), R"({"type": "FeatureCollection", "features": [
        {"type": "Feature", "geometry": {"type": "Point", "coordinates": [14.99, 37.75]},
         "properties": {"name": "Etna", "type": "Stratovolcano", "status": "Historical", "elev": 3350}},
        {"type": "Feature", "geometry": null, "properties": {"name": "Nowhere", "status": "Historical"}}]})");
    GeoData data(dir.path());
    const QList<Volcano> list = volcanoes(data);
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.first().name, QStringLiteral("Etna"));
    QCOMPARE(list.first().at, QPointF(14.99, 37.75));
    QVERIFY(list.first().active());
}

void TestMappe::labelsDoNotCoverEachOther()
{
    QImage image = newPicture(QSize(300, 200), Qt::white);
    QPainter p(&image);
    LabelPlacer placer(QRectF(0, 0, 300, 200));
    LabelLook look;
    const QList<QPointF> candidates{{150, 100}, {150, 140}, {150, 60}};
    QVERIFY(placer.place(p, QStringLiteral("Himalaya"), candidates, look));
    QVERIFY(placer.place(p, QStringLiteral("Tibet"), candidates, look));
    QCOMPARE(placer.taken().size(), 2);
    QVERIFY(!placer.taken().at(0).intersects(placer.taken().at(1)));
    QVERIFY(std::abs(placer.taken().at(1).center().y() - 140) < 1);
    // nothing fits outside the picture: refused, and not drawn when not forced
    QVERIFY(!placer.place(p, QStringLiteral("Ande"), {QPointF(-50, -50)}, look, false));
    QCOMPARE(placer.taken().size(), 2);
}

void TestMappe::worldHotspotsCoverTheirRegions_data()
{
    QTest::addColumn<QString>("hotspot");
    QTest::addColumn<QPointF>("place");

    QTest::newRow("Tonga trench") << "Label2" << QPointF(-175, -21);
    QTest::newRow("Kermadec trench") << "Label2" << QPointF(-177, -30);
    QTest::newRow("North Island of New Zealand") << "Label2" << QPointF(175, -38.5);
    QTest::newRow("Calabria") << "Label3" << QPointF(16.3, 38.9);
    QTest::newRow("Aegean") << "Label3" << QPointF(25, 37);
    QTest::newRow("Vesuvius") << "Label3" << QPointF(14.4, 40.8);
    QTest::newRow("Nazca plate") << "Label4" << QPointF(-85, -10);
    QTest::newRow("East Pacific rise, Nazca side") << "Label4" << QPointF(-110, -20);
    QTest::newRow("Peru trench off Ecuador") << "Label4" << QPointF(-81.5, -3);
    QTest::newRow("San Andreas fault") << "Label5" << QPointF(-120.5, 36);
    QTest::newRow("San Francisco") << "Label5" << QPointF(-122.4, 37.8);
    QTest::newRow("Red Sea") << "Label6" << QPointF(38, 21);
    QTest::newRow("Gulf of Aden") << "Label6" << QPointF(48, 12.5);
    QTest::newRow("Afar") << "Label6" << QPointF(41, 11.5);
    QTest::newRow("Kenya rift") << "Label6" << QPointF(36, 0);
    QTest::newRow("Kilimanjaro") << "Label6" << QPointF(37.35, -3.07);
    QTest::newRow("Lake Tanganyika") << "Label6" << QPointF(29.6, -6);
    QTest::newRow("Japan") << "Label7" << QPointF(140, 36);
    QTest::newRow("Kuril islands") << "Label7" << QPointF(150, 46);
    QTest::newRow("Ryukyu islands") << "Label7" << QPointF(128, 27);
    QTest::newRow("Taiwan") << "Label7" << QPointF(121, 23.5);
    QTest::newRow("Atlantic ridge off the Azores") << "Label8" << QPointF(-29.5, 38);
    QTest::newRow("Atlantic ridge, equator") << "Label8" << QPointF(-25, 0);
    QTest::newRow("Atlantic ridge, south") << "Label8" << QPointF(-13.5, -20);
    QTest::newRow("Iceland") << "Label8" << QPointF(-18, 64.5);
}

// The hotspots of topic 5's last pages stand over the regions their texts name, in the frame the
// lesson data gives the world map.
void TestMappe::worldHotspotsCoverTheirRegions()
{
    QFETCH(QString, hotspot);
    QFETCH(QPointF, place);
    QFile file(QStringLiteral(DISEGNI_REPOSITORY) + QStringLiteral("/lessons/argomenti/argomento5.json"));
    if (!file.open(QIODevice::ReadOnly))
        QSKIP("lesson data not found");
    const QJsonObject topic = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject m = topic.value(QStringLiteral("mappa")).toObject();
    QCOMPARE(m.value(QStringLiteral("proiezione")).toString(), QStringLiteral("mercatore"));
    const QJsonArray r = m.value(QStringLiteral("rettangolo")).toArray();
    const QRectF frame(r.at(0).toDouble(), r.at(1).toDouble(), r.at(2).toDouble(), r.at(3).toDouble());
    const GeoWindow window{m.value(QStringLiteral("lonMin")).toDouble(), m.value(QStringLiteral("lonMax")).toDouble(),
                           m.value(QStringLiteral("latMin")).toDouble(), m.value(QStringLiteral("latMax")).toDouble()};
    // the map keeps the projection's own shape, and the whole world once: no strip repeats
    QVERIFY(std::abs(MapWindow::heightForWidth(Projection::Kind::Mercator, window, frame.width()) - frame.height()) < 30);
    QVERIFY(window.lonMax - window.lonMin <= 360);
    const MapWindow map(Projection::Kind::Mercator, window, frame);
    const QJsonArray size = topic.value(QStringLiteral("finestrelle")).toObject().value(hotspot).toObject().value(QStringLiteral("dimensioni")).toArray();
    QJsonArray at;
    for (const QJsonValue &page : topic.value(QStringLiteral("pagine")).toArray()) {
        const QJsonObject shown = page.toObject().value(QStringLiteral("finestrelle")).toObject();
        if (shown.contains(hotspot))
            at = shown.value(hotspot).toArray();
    }
    QCOMPARE(at.size(), 2);
    const QRectF rect(at.at(0).toDouble(), at.at(1).toDouble(), size.at(0).toDouble(), size.at(1).toDouble());
    bool covered = false;
    for (const QPointF &px : map.copies(place.x(), place.y()))
        covered = covered || rect.contains(px);
    QVERIFY2(covered, qPrintable(QStringLiteral("%1 not under %2").arg(QTest::currentDataTag(), hotspot)));
}

// Topic 3's hotspot about the Tonga trench stands over the trench, not over Australia.
void TestMappe::topic3TongaHotspotOverTheTrench()
{
    QFile file(QStringLiteral(DISEGNI_REPOSITORY) + QStringLiteral("/lessons/argomenti/argomento3.json"));
    if (!file.open(QIODevice::ReadOnly))
        QSKIP("lesson data not found");
    const QJsonObject topic = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonArray size = topic.value(QStringLiteral("finestrelle")).toObject().value(QStringLiteral("Label2")).toObject().value(QStringLiteral("dimensioni")).toArray();
    QJsonObject page;
    for (const QJsonValue &v : topic.value(QStringLiteral("pagine")).toArray()) {
        if (v.toObject().value(QStringLiteral("finestrelle")).toObject().contains(QStringLiteral("Label2")))
            page = v.toObject();
    }
    const QJsonArray picture = page.value(QStringLiteral("posizioneImmagine")).toArray();
    const QJsonArray at = page.value(QStringLiteral("finestrelle")).toObject().value(QStringLiteral("Label2")).toArray();
    QCOMPARE(at.size(), 2);
    QCOMPARE(picture.size(), 2);
    // in the picture's twips
    const QRectF rect(at.at(0).toDouble() - picture.at(0).toDouble(), at.at(1).toDouble() - picture.at(1).toDouble(),
                      size.at(0).toDouble(), size.at(1).toDouble());
    const MapWindow map(Projection::Kind::GallStereographic, carte::kHotspotWorld,
                        QRectF(0, 0, carte::kHotspotWorldWidthTwips, carte::kHotspotWorldHeightTwips));
    for (const QPointF &trench : {QPointF(-175, -19), QPointF(-173.5, -23), QPointF(-176, -27)})
        QVERIFY2(rect.contains(map.toPixel(trench)), qPrintable(QStringLiteral("%1,%2").arg(trench.x()).arg(trench.y())));
    // eastern Australia: Brisbane and the coast north of it
    for (const QPointF &land : {QPointF(153, -27.5), QPointF(149, -21), QPointF(146, -19)})
        QVERIFY2(!rect.contains(map.toPixel(land)), qPrintable(QStringLiteral("%1,%2").arg(land.x()).arg(land.y())));
}

// In five million years the land west of the San Andreas fault has slid along it as far as the page
// says, and stays west of it: Los Angeles on the Pacific plate, nearer San Francisco.
void TestMappe::californiaSlidesAlongTheFault_data()
{
    QTest::addColumn<QPointF>("place");
    QTest::newRow("Los Angeles") << QPointF(-118.24, 34.05);
    QTest::newRow("San Diego") << QPointF(-117.16, 32.72);
    QTest::newRow("Santa Barbara") << QPointF(-119.70, 34.42);
    QTest::newRow("Monterey") << QPointF(-121.89, 36.60);
}

void TestMappe::californiaSlidesAlongTheFault()
{
    QFETCH(QPointF, place);
    if (!QDir(geoFolder()).exists())
        QSKIP("shared geographic data not found");
    GeoData data(geoFolder());
    const carte::FaultSlide slide(250);
    const QPointF moved = slide.moved(place);
    // about 250 km, to the north-west
    const double dy = (moved.y() - place.y()) * 111.2;
    const double dx = (moved.x() - place.x()) * 111.2 * std::cos(qDegreesToRadians(place.y()));
    QVERIFY2(std::abs(std::hypot(dx, dy) - 250) < 25, qPrintable(QString::number(std::hypot(dx, dy))));
    QVERIFY(dx < 0 && dy > 0);
    // still on the Pacific plate, where it was
    const QList<GeoPolygon> pacific = platePolygons(data, {QStringLiteral("PA")});
    const auto onPacific = [&pacific](const QPointF &at) {
        return std::any_of(pacific.begin(), pacific.end(), [&at](const GeoPolygon &g) {
            return !g.rings.isEmpty() && QPolygonF(g.rings.first()).containsPoint(at, Qt::OddEvenFill);
        });
    };
    QVERIFY(onPacific(place));
    QVERIFY(onPacific(moved));
    if (QTest::currentDataTag() == QLatin1String("Los Angeles")) {
        // nearer San Francisco, which stays on North America
        const QPointF sf(-122.42, 37.77);
        QVERIFY(!onPacific(sf));
        QVERIFY(QLineF(moved, sf).length() < QLineF(place, sf).length() - 1.5);
    }
}

QTEST_MAIN(TestMappe)
#include "TestMappe.moc"
