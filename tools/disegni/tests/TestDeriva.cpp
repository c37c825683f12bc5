#include "GeoData.h"
#include "MapCanvas.h"
#include "Output.h"
#include "Paleo.h"

#include <QDir>
#include <QImageReader>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace disegni;
using namespace disegni::paleo;

namespace {

// Plates 1-3 make a chain down to the spin axis; 4 changes the plate it hangs on at 100 Ma;
// 5 and 6 hang on each other; 7 hangs on 2, which stops at 10 Ma; 8 turns by a full turn and 10° more, which is 10°.
const char kModel[] = R"(1 0.0 90.0 0.0 0.0 0 !! plate 1 on the spin axis
1 10.0 90.0 0.0 40.0 0
1 20.0 90.0 0.0 60.0 0
1 200.0 90.0 0.0 60.0 0
2 0.0 0.0 0.0 0.0 1
2 10.0 0.0 0.0 90.0 1
3 0.0 0.0 0.0 0.0 2
3 10.0 90.0 0.0 90.0 2
999 5.0 1.0 2.0 3.0 1 !! moving plate 999: a comment
4 0.0 90.0 0.0 0.0 1
4 100.0 90.0 0.0 10.0 1
4 100.0 90.0 0.0 50.0 0
4 200.0 90.0 0.0 70.0 0

5 0.0 0.0 0.0 0.0 6
6 0.0 0.0 0.0 0.0 5
8 0.0 90.0 0.0 0.0 0
8 10.0 90.0 0.0 370.0 0
7 0.0 0.0 0.0 0.0 2
7 300.0 0.0 0.0 0.0 2
)";

const RotationModel &model()
{
    static const RotationModel m = RotationModel::parse(kModel);
    return m;
}

// A cap round the south pole as flat-map data store it: cut along the date line, closed through
// two pole points.
Ring southCap()
{
    Ring r;
    for (int lon = -180; lon <= 180; lon += 30)
        r.append(QPointF(lon, -65));
    r << QPointF(180, -90) << QPointF(-180, -90) << QPointF(-180, -65);
    return r;
}

Ring square(double west, double south, double size)
{
    const double east = west + size > 180 ? west + size - 360 : west + size;
    return Ring{{west, south}, {east, south}, {east, south + size}, {west, south + size}, {west, south}};
}

bool touchesPoleLine(const Ring &ring)
{
    return std::any_of(ring.begin(), ring.end(), [](const QPointF &p) { return std::abs(p.y()) == 90.0; });
}

double lonSpan(const Ring &ring)
{
    const auto [lo, hi] = std::minmax_element(ring.begin(), ring.end(),
                                              [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    return hi->x() - lo->x();
}

bool crossesCut(const Ring &piece)
{
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const QPointF p = piece.at(i);
        if (std::abs(p.y()) >= 89.99)
            return true;
        if (i > 0 && std::abs(std::abs(p.x()) - 180) < 1e-9 && std::abs(std::abs(piece.at(i - 1).x()) - 180) < 1e-9)
            return true;
    }
    return false;
}

} // namespace

class TestDeriva : public QObject
{
    Q_OBJECT

private slots:
    void rotationAboutAPole_data();
    void rotationAboutAPole();
    void modelInterpolatesAndComposes_data();
    void modelInterpolatesAndComposes();
    void malformedModelIsRefused_data();
    void malformedModelIsRefused();
    void ringsAcrossTheDateLineAndRoundThePole_data();
    void ringsAcrossTheDateLineAndRoundThePole();
    void coastLeavesOutTheMapCuts_data();
    void coastLeavesOutTheMapCuts();
    void paleomapAtKnownAges_data();
    void paleomapAtKnownAges();
    void everyFrameIsDrawn();
};

void TestDeriva::rotationAboutAPole_data()
{
    QTest::addColumn<double>("poleLat");
    QTest::addColumn<double>("poleLon");
    QTest::addColumn<double>("angle");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QPointF>("expected");

    QTest::newRow("zero rotation") << 40.0 << 70.0 << 0.0 << QPointF(12, 34) << QPointF(12, 34);
    QTest::newRow("north pole: positive is east") << 90.0 << 0.0 << 90.0 << QPointF(0, 0) << QPointF(90, 0);
    QTest::newRow("north pole: over the date line") << 90.0 << 0.0 << 30.0 << QPointF(170, 10) << QPointF(-160, 10);
    QTest::newRow("south pole: positive is west") << -90.0 << 0.0 << 90.0 << QPointF(0, 0) << QPointF(-90, 0);
    QTest::newRow("pole on the equator lifts a point") << 0.0 << 0.0 << 90.0 << QPointF(90, 0) << QPointF(0, 90);
    QTest::newRow("pole on the equator lowers the north pole") << 0.0 << 0.0 << 90.0 << QPointF(0, 90) << QPointF(-90, 0);
    QTest::newRow("half turn") << 0.0 << 0.0 << 180.0 << QPointF(0, 45) << QPointF(0, -45);
    QTest::newRow("the pole itself stays") << 30.0 << 60.0 << 75.0 << QPointF(60, 30) << QPointF(60, 30);
}

void TestDeriva::rotationAboutAPole()
{
    QFETCH(double, poleLat);
    QFETCH(double, poleLon);
    QFETCH(double, angle);
    QFETCH(QPointF, point);
    QFETCH(QPointF, expected);

    const QPointF moved = rotate(Quaternion::aboutPole(poleLat, poleLon, angle), point);
    QVERIFY2(distance(moved, expected) < 1e-9,
             qPrintable(QStringLiteral("(%1, %2)").arg(moved.x()).arg(moved.y())));
}

void TestDeriva::modelInterpolatesAndComposes_data()
{
    QTest::addColumn<int>("plate");
    QTest::addColumn<double>("age");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("placed");
    QTest::addColumn<QPointF>("expected");
    QTest::addColumn<QList<int>>("chain");

    using C = QList<int>;
    QTest::newRow("today nothing moves") << 3 << 0.0 << QPointF(12, 34) << true << QPointF(12, 34) << C{3, 2, 1, 0};
    QTest::newRow("at an age of the model") << 1 << 10.0 << QPointF(0, 0) << true << QPointF(40, 0) << C{1, 0};
    QTest::newRow("between two ages") << 1 << 2.5 << QPointF(0, 0) << true << QPointF(10, 0) << C{1, 0};
    QTest::newRow("between two later ages") << 1 << 17.5 << QPointF(0, 0) << true << QPointF(55, 0) << C{1, 0};
    // the plate's own rotation first (to the north pole), then its carrier's (which keeps it there);
    // the other order would give (180°, 50°N)
    QTest::newRow("chain of two") << 2 << 10.0 << QPointF(90, 0) << true << QPointF(0, 90) << C{2, 1, 0};
    // (0, 0) -> (90°E, 0) -> north pole -> north pole; any other order ends elsewhere
    QTest::newRow("chain of three") << 3 << 10.0 << QPointF(0, 0) << true << QPointF(0, 90) << C{3, 2, 1, 0};
    // each link halfway: 45° east to (√½, √½, 0), 45° about (0, 0) to (√½, ½, ½), then 20° east
    QTest::newRow("chain of three halfway") << 3 << 5.0 << QPointF(0, 0) << true
                                            << QPointF(20 + qRadiansToDegrees(std::atan2(0.5, std::sqrt(0.5))), 30)
                                            << C{3, 2, 1, 0};
    QTest::newRow("before the change of carrier") << 4 << 50.0 << QPointF(0, 0) << true << QPointF(65, 0) << C{4, 1, 0};
    QTest::newRow("where two carriers meet the first wins") << 4 << 100.0 << QPointF(0, 0) << true << QPointF(70, 0) << C{4, 1, 0};
    QTest::newRow("after the change of carrier") << 4 << 150.0 << QPointF(0, 0) << true << QPointF(60, 0) << C{4, 0};
    QTest::newRow("the shorter way between ages") << 8 << 5.0 << QPointF(0, 0) << true << QPointF(5, 0) << C{8, 0};
    QTest::newRow("unknown plate") << 9 << 10.0 << QPointF(0, 0) << false << QPointF() << C{};
    QTest::newRow("older than the model") << 1 << 300.0 << QPointF(0, 0) << false << QPointF() << C{};
    QTest::newRow("a missing link") << 7 << 200.0 << QPointF(0, 0) << false << QPointF() << C{};
    QTest::newRow("a loop") << 5 << 0.0 << QPointF(0, 0) << false << QPointF() << C{};
}

void TestDeriva::modelInterpolatesAndComposes()
{
    QFETCH(int, plate);
    QFETCH(double, age);
    QFETCH(QPointF, point);
    QFETCH(bool, placed);
    QFETCH(QPointF, expected);
    QFETCH(QList<int>, chain);

    QVERIFY(!model().isEmpty());
    QCOMPARE(model().chain(plate, age), chain);
    const std::optional<Quaternion> q = model().absolute(plate, age);
    QCOMPARE(q.has_value(), placed);
    if (!placed)
        return;
    const QPointF moved = rotate(*q, point);
    QVERIFY2(distance(moved, expected) < 1e-9, qPrintable(QStringLiteral("(%1, %2)").arg(moved.x()).arg(moved.y())));
}

void TestDeriva::malformedModelIsRefused_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("a column missing") << QByteArray("1 0.0 90 0 0 0\n1 10.0 90 0 5\n") << "riga 2:";
    QTest::newRow("a word for a number") << QByteArray("1 0.0 90 0 0 0\n\n1 dieci 90 0 5 0\n") << "riga 3:";
    QTest::newRow("a fractional plate") << QByteArray("1.5 0.0 90 0 0 0\n") << "riga 1:";
    QTest::newRow("ages going back") << QByteArray("1 10.0 90 0 5 0\n1 5.0 90 0 2 0\n") << "riga 2:";
    QTest::newRow("only comments") << QByteArray("! nothing here\n999 1.0 2 3 4 5\n") << "nessuna rotazione";
}

void TestDeriva::malformedModelIsRefused()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);

    QString message;
    const RotationModel m = RotationModel::parse(text, &message);
    QVERIFY(m.isEmpty());
    QVERIFY2(message.startsWith(error), qPrintable(message));
}

void TestDeriva::ringsAcrossTheDateLineAndRoundThePole_data()
{
    QTest::addColumn<Ring>("ring");
    QTest::addColumn<double>("angle"); // about the pole (poleLat, 0)
    QTest::addColumn<double>("poleLat");
    QTest::addColumn<bool>("roundPole");
    QTest::addColumn<QPointF>("centre");

    QTest::newRow("island on the date line") << square(175, -5, 10) << 0.0 << 90.0 << false << QPointF(180, 0);
    QTest::newRow("island carried over the date line") << square(150, -5, 10) << 25.0 << 90.0 << false << QPointF(180, 0);
    QTest::newRow("island carried back over it") << square(175, -5, 10) << -25.0 << 90.0 << false << QPointF(155, 0);
    QTest::newRow("polar cap stays round the pole") << southCap() << 0.0 << 90.0 << true << QPointF(0, -90);
    QTest::newRow("polar cap turned about the pole") << southCap() << 70.0 << 90.0 << true << QPointF(0, -90);
    QTest::newRow("polar cap carried off the pole") << southCap() << 50.0 << 0.0 << false << QPointF(90, -40);
}

void TestDeriva::ringsAcrossTheDateLineAndRoundThePole()
{
    QFETCH(Ring, ring);
    QFETCH(double, angle);
    QFETCH(double, poleLat);
    QFETCH(bool, roundPole);
    QFETCH(QPointF, centre);

    const Ring onSphere = sphericalRing(ring);
    QVERIFY(onSphere.size() >= 4);
    QCOMPARE(onSphere.first(), onSphere.last());
    const Ring moved = rotate(Quaternion::aboutPole(poleLat, 0, angle), onSphere);
    QVERIFY(distance(sphericalCentre(moved.mid(1)), centre) < 1e-6);

    // as the map will draw it
    const Ring flat = planar::closedRing(moved, 10);
    QCOMPARE(touchesPoleLine(flat), roundPole);
    // a ring the map unwraps the wrong way runs round the whole world
    if (!roundPole)
        QVERIFY2(lonSpan(flat) < 90, qPrintable(QString::number(lonSpan(flat))));
    const MapCanvas canvas(Projection(Projection::Kind::Robinson, 10), QRectF(0, 0, 600, 300));
    const QRectF drawn = canvas.areas({GeoPolygon{{moved}}}).boundingRect();
    if (roundPole)
        QVERIFY(drawn.width() > canvas.mapRect().width() / 2); // along the whole bottom of the map
    else
        QVERIFY2(drawn.width() < canvas.mapRect().width() / 4, qPrintable(QString::number(drawn.width())));
}

void TestDeriva::coastLeavesOutTheMapCuts_data()
{
    QTest::addColumn<Ring>("ring");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<int>("points");

    QTest::newRow("island away from the cuts") << square(10, 10, 5) << 1 << 5;
    QTest::newRow("one cut along the date line")
        << Ring{{170, 60}, {180, 60}, {180, 70}, {170, 70}, {170, 60}} << 1 << 4;
    QTest::newRow("two cuts along the date line")
        << Ring{{175, 0}, {180, 0}, {180, 5}, {175, 10}, {180, 15}, {180, 20}, {175, 20}, {175, 0}} << 2 << 7;
    // 13 points at -65°: the cut from 180° to -180° is dropped with the pole points
    QTest::newRow("cap closed through the pole") << southCap() << 1 << 13;
}

void TestDeriva::coastLeavesOutTheMapCuts()
{
    QFETCH(Ring, ring);
    QFETCH(int, pieces);
    QFETCH(int, points);

    const QList<Ring> coast = coastPieces(ring);
    QCOMPARE(coast.size(), pieces);
    int total = 0;
    for (const Ring &piece : coast) {
        QVERIFY(!crossesCut(piece));
        total += int(piece.size());
    }
    QCOMPARE(total, points);
}

void TestDeriva::paleomapAtKnownAges_data()
{
    QTest::addColumn<double>("age");
    QTest::addColumn<int>("plateA");
    QTest::addColumn<QPointF>("pointA");
    QTest::addColumn<int>("plateB");
    QTest::addColumn<QPointF>("pointB");
    QTest::addColumn<double>("least");
    QTest::addColumn<double>("most");

    const QPointF recife(-35.5, -8), cameroon(10.5, 4), morocco(-8, 32), novaScotia(-64, 45);
    const QPointF india(78, 22), lhasa(88, 32), madagascar(46, -20), sahara(0, 25), southPole(0, -90);
    QTest::newRow("Brazil against the Gulf of Guinea, 240 Ma") << 240.0 << 201 << recife << 701 << cameroon << 0.0 << 5.0;
    QTest::newRow("the South Atlantic today") << 0.0 << 201 << recife << 701 << cameroon << 40.0 << 55.0;
    QTest::newRow("Morocco against Nova Scotia, 240 Ma") << 240.0 << 707 << morocco << 108 << novaScotia << 0.0 << 8.0;
    QTest::newRow("the central Atlantic today") << 0.0 << 707 << morocco << 108 << novaScotia << 40.0 << 55.0;
    QTest::newRow("India beside Madagascar, 120 Ma") << 120.0 << 501 << india << 702 << madagascar << 0.0 << 15.0;
    QTest::newRow("India far from Asia, 120 Ma") << 120.0 << 501 << india << 613 << lhasa << 60.0 << 90.0;
    QTest::newRow("India against Asia today") << 0.0 << 501 << india << 613 << lhasa << 0.0 << 20.0;
    // plate 0 is the spin axis itself: its points never move
    QTest::newRow("the Sahara at the south pole, 444 Ma") << 444.0 << 714 << sahara << 0 << southPole << 0.0 << 12.0;
}

void TestDeriva::paleomapAtKnownAges()
{
    QFETCH(double, age);
    QFETCH(int, plateA);
    QFETCH(QPointF, pointA);
    QFETCH(int, plateB);
    QFETCH(QPointF, pointB);
    QFETCH(double, least);
    QFETCH(double, most);

    const QString path = QDir(QStringLiteral(DISEGNI_GEO)).filePath(QStringLiteral("PALEOMAP_PlateModel.rot"));
    if (!QFile::exists(path))
        QSKIP("PALEOMAP_PlateModel.rot is not in the shared data folder");
    static const RotationModel paleomap = RotationModel::read(path);
    QVERIFY(!paleomap.isEmpty());
    const std::optional<Quaternion> a = paleomap.absolute(plateA, age);
    const std::optional<Quaternion> b = paleomap.absolute(plateB, age);
    QVERIFY(a && b);
    const double d = distance(rotate(*a, pointA), rotate(*b, pointB));
    QVERIFY2(d >= least && d <= most, qPrintable(QStringLiteral("%1°").arg(d)));
}

void TestDeriva::everyFrameIsDrawn()
{
    // The viewer shows them as "immagini\deriva\new-1.jpg" ... "new-45.jpg".
    const QDir folder(QStringLiteral(DISEGNI_REPOSITORY "/immagini/deriva"));
    QSize size;
    QImage previous;
    for (int k = 1; k <= 45; ++k) {
        const QString path = folder.filePath(QStringLiteral("new-%1.jpg").arg(k));
        QImageReader reader(path);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(": ") + reader.errorString()));
        if (k == 1)
            size = image.size();
        QCOMPARE(image.size(), size);
        QCOMPARE(dpiOf(image), kDpi);
        // each frame a new age: two equal neighbours would put picture and counter out of step
        QVERIFY2(image != previous, qPrintable(path));
        previous = image;
    }
    QCOMPARE(twipsForPixels(size, kDpi), QSize(4695, 3735));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("new-46.jpg"))));
}

QTEST_GUILESS_MAIN(TestDeriva)
#include "TestDeriva.moc"
