// Pictures of topic 5, "LETTURA DEL TERRITORIO ATTUALE": the regional maps of its pages, the
// section of the African rift and the world map of the hotspot page.

#include "Boundaries.h"
#include "Carte.h"
#include "Catalogue.h"
#include "Events.h"
#include "Labels.h"
#include "Legend.h"
#include "MapWindow.h"
#include "MarginMap.h"
#include "Output.h"
#include "RegionMap.h"
#include "Sezione.h"
#include "Style.h"
#include "Symbols.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace disegni {

using namespace carte;

namespace {

// Pictures of this topic stand left of the text panel, which begins 3120 twips to the right of
// their left edge (3050 where topic 6 shows the California map), above the button row.
constexpr int kTopicWidthTwips = 3120;
constexpr int kCaliforniaWidthTwips = 3045;

const QColor kMountain(0x8A, 0x5A, 0x3A);
const QColor kVolcano(0xC8, 0x3C, 0x28);
const QColor kArrow(0x2F, 0x4E, 0x6B);

QString creditWith(const QString &more)
{
    return more.isEmpty() ? mapCredit() : mapCredit() + QStringLiteral("; ") + more;
}

// Plates in their pastels, sea a little bluer, land lighter: the ground of every map here.
// The plates tint sea and land alike, lightly, so that sea and land stay plainly sea and land.
RegionLook regionalGround(std::function<QColor(const QString &)> colour = majorColour)
{
    RegionLook look;
    look.sea = style::mix(style::ocean(), style::oceanShelf(), 0.3);
    look.plateColour = std::move(colour);
    look.seaTint = look.sea;
    look.seaTintOpacity = 0.72;
    look.land = style::mix(style::land(), Qt::white, 0.3);
    look.landOpacity = 0.62;
    look.coast = style::withAlpha(style::outline(), 0.45);
    look.coastWidth = 1.3;
    look.borders = style::withAlpha(style::outline(), 0.18);
    look.bordersWidth = 1.0;
    look.detail = GeoData::Detail::Fine;
    return look;
}

MarginLook regionalMargins()
{
    MarginLook look;
    look.ridgeWidth = 4;
    look.trenchWidth = 2.6;
    look.teethSize = 10;
    look.teethSpacing = 22;
    look.collisionWidth = 4;
    look.chevronSize = 0;
    look.transformWidth = 3.2;
    look.casing = style::withAlpha(Qt::white, 0.6);
    look.casingExtra = 3;
    return look;
}

// A map in the upper part of a picture of the topic's width; `below` file pixels are left under
// it for a key or a drawing.
struct Sheet {
    QImage image;
    QRectF mapArea;
    MapWindow map;
};

Sheet sheet(int widthTwips, Projection::Kind kind, const GeoWindow &window, double below)
{
    const QSize pixels = pixelsForTwips(widthTwips, 100);
    // whole design pixels: the height in twips is then a multiple of 15
    const int mapHeight = 2 * qRound(MapWindow::heightForWidth(kind, window, pixels.width()) / 2);
    const int total = 2 * qRound((mapHeight + below) / 2);
    const QRectF area(0, 0, pixels.width(), mapHeight);
    return Sheet{newPicture(QSize(pixels.width(), total), style::paper()), area, MapWindow(kind, window, area)};
}

void drawGround(QPainter &p, const Sheet &s, GeoData &data, const RegionLook &look)
{
    const QImage ground = drawRegionMap(s.map, s.image.size(), data, look);
    p.drawImage(0, 0, ground);
}

void credit(QPainter &p, const QRectF &area, const QString &text)
{
    CreditLook look;
    look.pixelSize = 11;
    drawCredit(p, area, text, look);
}

LabelLook plateLook()
{
    LabelLook look;
    look.pixelSize = kReadablePixelSize;
    look.weight = QFont::Bold;
    look.letterSpacing = 0.3;
    look.colour = style::withAlpha(style::text(), 0.85);
    look.halo = style::withAlpha(Qt::white, 0.75);
    look.haloWidth = 3;
    look.lineSpacing = 0.9;
    return look;
}

LabelLook placeLook(double size = kReadablePixelSize)
{
    LabelLook look;
    look.pixelSize = size;
    look.colour = style::text();
    look.halo = style::withAlpha(Qt::white, 0.85);
    look.haloWidth = 3;
    look.lineSpacing = 0.9;
    return look;
}

LabelLook featureLook(const QColor &c, double size = kReadablePixelSize)
{
    LabelLook look = placeLook(size);
    look.italic = true;
    look.weight = QFont::Bold;
    look.colour = style::mix(c, Qt::black, 0.25);
    return look;
}

LabelLook seaLook(double size = kReadablePixelSize)
{
    LabelLook look = placeLook(size);
    look.italic = true;
    look.colour = QColor(0x2E, 0x5C, 0x86);
    look.halo = style::withAlpha(style::oceanShelf(), 0.7);
    look.haloWidth = 2;
    return look;
}

void label(QPainter &p, const Sheet &s, const QString &text, const QPointF &lonLat, const LabelLook &look)
{
    drawLabel(p, text, s.map.toPixel(lonLat), look);
}

// A city: a dark dot with a white ring, its name beside it.
void city(QPainter &p, const Sheet &s, const QString &name, const QPointF &lonLat, Qt::Alignment side, double size = kReadablePixelSize)
{
    const QPointF at = s.map.toPixel(lonLat);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(style::pen(Qt::white, 2));
    p.setBrush(style::text());
    p.drawEllipse(at, 4.5, 4.5);
    p.restore();
    LabelLook look = placeLook(size);
    look.weight = QFont::Bold;
    const QPointF offset((side & Qt::AlignLeft) ? 8 : (side & Qt::AlignRight) ? -8 : 0,
                         (side & Qt::AlignTop) ? 6 : (side & Qt::AlignBottom) ? -6 : 0);
    drawLabelAt(p, name, at + offset, side, look);
}

// A volcano: a small red triangle.
void volcanoMark(QPainter &p, const QPointF &at, double size)
{
    QPainterPath t;
    t.moveTo(at + QPointF(0, -size * 0.75));
    t.lineTo(at + QPointF(size * 0.65, size * 0.45));
    t.lineTo(at + QPointF(-size * 0.65, size * 0.45));
    t.closeSubpath();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(t, style::pen(Qt::white, 1.6));
    p.fillPath(t, kVolcano);
    p.restore();
}

// The active volcanoes of NOAA's list inside the map.
void activeVolcanoes(QPainter &p, const Sheet &s, GeoData &data, double size)
{
    const QRectF inside = s.mapArea.adjusted(2, 2, -2, -2);
    for (const Volcano &v : volcanoes(data)) {
        if (!v.active() || v.type == QLatin1String("Submarine volcano"))
            continue;
        for (const QPointF &at : s.map.copies(v.at.x(), v.at.y())) {
            if (inside.contains(at))
                volcanoMark(p, at, size);
        }
    }
}

// Earthquakes of the USGS catalogue inside the map, coloured by depth.
QColor depthColour(double km)
{
    return km < 70 ? QColor(0xF2, 0xB1, 0x34) : QColor(0x9C, 0x2A, 0x5E);
}

void quakes(QPainter &p, const Sheet &s, GeoData &data, double minMagnitude, double radius, bool byDepth)
{
    QList<Earthquake> list = earthquakes(data);
    // deep ones last, so the few deep ones stay visible
    std::stable_sort(list.begin(), list.end(), [](const Earthquake &a, const Earthquake &b) { return a.depthKm < b.depthKm; });
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF inside = s.mapArea.adjusted(1, 1, -1, -1);
    for (const Earthquake &e : list) {
        if (e.magnitude < minMagnitude)
            continue;
        const QColor c = byDepth ? depthColour(e.depthKm) : QColor(0xE0, 0x6A, 0x2C);
        for (const QPointF &at : s.map.copies(e.at.x(), e.at.y())) {
            if (!inside.contains(at))
                continue;
            p.setPen(style::pen(style::withAlpha(Qt::white, 0.8), 0.8));
            p.setBrush(style::withAlpha(c, 0.85));
            p.drawEllipse(at, radius, radius);
        }
    }
    p.restore();
}

void arrowGeo(QPainter &p, const Sheet &s, const QPointF &from, const QPointF &to, double width = 7,
              const QColor &c = kArrow)
{
    const QPointF a = s.map.toPixel(from);
    const QPointF b = s.map.toPixel(to);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = symbols::arrow(a, b, width, width * 2.3, width * 2.6);
    p.strokePath(shape, style::pen(style::withAlpha(Qt::white, 0.85), 2.5));
    p.fillPath(shape, c);
    p.restore();
}

// Lon/lat points as a pixel line on the map.
QPolygonF pixelLine(const Sheet &s, const Ring &points)
{
    QPolygonF line;
    for (const QPointF &pt : points)
        line.append(s.map.toPixel(pt));
    return line;
}

// A mountain chain as a soft band along its crest, lon/lat points from one end to the other.
void chain(QPainter &p, const Sheet &s, const Ring &crest, const QColor &c, double width)
{
    const QPolygonF line = pixelLine(s, crest);
    QPainterPath path;
    path.addPolygon(line);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen = style::pen(style::withAlpha(c, 0.55), width);
    p.strokePath(path, pen);
    // small peaks along it
    const double total = symbols::length(line);
    const double step = width * 1.1;
    for (double at = step / 2; at < total; at += step) {
        const QPointF c0 = symbols::pointAt(line, at);
        QPainterPath peak;
        peak.moveTo(c0 + QPointF(-width * 0.32, width * 0.18));
        peak.lineTo(c0 + QPointF(0, -width * 0.28));
        peak.lineTo(c0 + QPointF(width * 0.32, width * 0.18));
        p.strokePath(peak, style::pen(style::mix(c, Qt::black, 0.2), 1.6));
    }
    p.restore();
}

// A key under the map.
QRectF keyBelow(QPainter &p, const QList<LegendEntry> &entries, double top)
{
    LegendLook look;
    look.text.pixelSize = kReadablePixelSize;
    look.text.haloWidth = 0;
    look.text.lineSpacing = 0.95;
    look.margins = regionalMargins();
    look.sampleWidth = 34;
    look.sampleHeight = 18;
    look.rowGap = 6;
    look.padding = 8;
    look.background = style::withAlpha(Qt::white, 0);
    look.frame = style::withAlpha(Qt::white, 0);
    return drawLegend(p, QPointF(4, top), entries, look);
}

// What closes a map with a key under it: its frame, the key and the credit line.
void finishSheet(QPainter &p, const Sheet &s, const QList<LegendEntry> &entries, const QString &creditText)
{
    drawFrame(p, s.map);
    keyBelow(p, entries, s.mapArea.bottom() + 2);
    // the credit under the key, off the map, where it covers nothing the map shows
    credit(p, QRectF(0, s.mapArea.bottom(), s.image.width(), s.image.height() - s.mapArea.bottom()), creditText);
}

// Room under a map for a key of so many one-line entries and the credit line.
double keyRoom(int entries)
{
    return 2 * 8 + entries * 21 + (entries - 1) * 6 + 20;
}

bool inCodes(const BoundaryPiece &b, const QStringList &codes)
{
    return codes.contains(b.left) && codes.contains(b.right);
}

// --- ZONE.jpg: where the seven subjects of the topic are -------------------------------------

QImage zone(PictureContext &ctx)
{
    struct Zone {
        QString name;
        QPointF at;
    };
    const QList<Zone> zones = {
        {QStringLiteral("l'Himalaya"), QPointF(84, 30)},
        {QStringLiteral("le faglie africane"), QPointF(37, 2)},
        {QStringLiteral("le Ande"), QPointF(-70, -18)},
        {QStringLiteral("gli archi insulari asiatici"), QPointF(138, 32)},
        {QStringLiteral("la faglia di S. Andreas"), QPointF(-120, 36)},
        {QStringLiteral("l'Europa"), QPointF(0, 52)},
        {QStringLiteral("l'Italia"), QPointF(16, 40)},
    };
    const GeoWindow window{-135, 160, -57, 72};
    Sheet s = sheet(kTopicWidthTwips, Projection::Kind::GallStereographic, window, 266);
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    drawGround(p, s, ctx.data(), [] {
        RegionLook look = regionalGround();
        look.detail = GeoData::Detail::Coarse;
        look.bordersWidth = 0;
        return look;
    }());
    drawBoundaries(p, s.map, ctx.plates().majorBoundaryLines(), style::pen(style::withAlpha(style::outline(), 0.6), 1.4));
    drawFrame(p, s.map);

    const auto marker = [&p](const QPointF &at, int n, double r) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(style::pen(Qt::white, 2.2));
        p.setBrush(kVolcano);
        p.drawEllipse(at, r, r);
        p.restore();
        LabelLook look = placeLook(r * 1.3);
        look.weight = QFont::Bold;
        look.colour = Qt::white;
        look.haloWidth = 0;
        drawLabel(p, QString::number(n), at + QPointF(0, 0.5), look);
    };
    for (qsizetype i = 0; i < zones.size(); ++i)
        marker(s.map.toPixel(zones.at(i).at), int(i + 1), 14);

    const double top = s.mapArea.bottom() + 14;
    LabelLook look = placeLook(18);
    look.haloWidth = 0;
    for (qsizetype i = 0; i < zones.size(); ++i) {
        const QPointF at(22, top + 12 + i * 32);
        marker(at, int(i + 1), 14);
        drawLabelAt(p, zones.at(i).name, at + QPointF(20, 0), Qt::AlignLeft | Qt::AlignVCenter, look);
    }
    credit(p, QRectF(0, 0, s.image.width(), s.image.height()), mapCredit());
    return s.image;
}

// --- HIMALAYA.jpg: India against Asia ---------------------------------------------------------

QImage himalaya(PictureContext &ctx)
{
    const GeoWindow window{62, 102, 4, 42};
    constexpr double kSection = 250; // the section under the map; the key under it
    Sheet s = sheet(kTopicWidthTwips, Projection::Kind::Mercator, window, kSection + keyRoom(4));
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    drawGround(p, s, ctx.data(), regionalGround());
    const MarginLook margins = regionalMargins();
    drawMarginsOn(p, s.map, ctx.data(), margins, betweenMajorPlates);
    // the Himalaya along the front of the collision, and the Tibetan plateau behind it
    chain(p, s, Ring{{73.5, 35.2}, {77, 33}, {80, 30.3}, {84, 28.7}, {88, 27.9}, {92, 27.8}, {95.5, 28.6}}, kMountain, 16);
    label(p, s, QStringLiteral("HIMALAYA"), QPointF(83, 26.4), featureLook(kMountain, 18));
    label(p, s, QStringLiteral("altopiano\ndel Tibet"), QPointF(87, 33.5), featureLook(kMountain, 18));
    label(p, s, QStringLiteral("PLACCA\nEUROASIATICA"), QPointF(85, 39.3), plateLook());
    label(p, s, QStringLiteral("PLACCA\nINDO-AUSTRALIANA"), QPointF(79, 13), plateLook());
    label(p, s, QStringLiteral("INDIA"), QPointF(76.0, 22), placeLook(18));
    city(p, s, QStringLiteral("Everest"), QPointF(86.92, 27.99), Qt::AlignRight | Qt::AlignVCenter, 18);
    arrowGeo(p, s, QPointF(78, 16.5), QPointF(80.5, 24.5), 8);
    LabelLook speed = placeLook(18);
    speed.weight = QFont::Bold;
    speed.colour = kArrow;
    label(p, s, QStringLiteral("4-5 cm\nall'anno"), QPointF(84.6, 19.8), speed);
    label(p, s, QStringLiteral("Oceano\nIndiano"), QPointF(70, 9), seaLook());
    drawFrame(p, s.map);

    // under the map: the collision in section, north to the right
    const QRectF art(0, s.mapArea.bottom() + 8, s.image.width(), kSection - 8);
    p.save();
    p.setClipRect(art);
    const double surface = art.top() + 92;
    p.fillRect(art, QColor(0xE6, 0xF0, 0xF6));
    p.fillRect(QRectF(art.left(), surface + 40, art.width(), art.bottom() - surface - 40), sezione::colore::astenosfera());
    const double x0 = art.left(), x1 = art.right();
    const double front = x0 + art.width() * 0.45;
    // India's crust goes under Asia's; Asia's crust piles up into the Himalaya and Tibet
    QPainterPath india;
    india.moveTo(x0, surface + 10);
    india.lineTo(front - 20, surface + 12);
    india.quadTo(front + 60, surface + 40, x1, surface + 95);
    india.lineTo(x1, surface + 135);
    india.quadTo(front + 60, surface + 85, front - 30, surface + 62);
    india.lineTo(x0, surface + 60);
    india.closeSubpath();
    // both crusts continental, India's a shade darker so that the two can be told apart
    const QColor crostaIndia = style::mix(sezione::colore::continentale(), sezione::colore::litosfera(), 0.25);
    p.fillPath(india, crostaIndia);
    p.strokePath(india, style::pen(style::withAlpha(style::outline(), 0.55), 1.5));
    // the crumpled top of Asia's crust, the Himalaya and the Tibet behind
    const QPolygonF rilievo{QPointF(front - 20, surface + 12), QPointF(front, surface - 30),
                            QPointF(front + 25, surface - 52), QPointF(front + 45, surface - 40),
                            QPointF(front + 65, surface - 58), QPointF(front + 90, surface - 36),
                            QPointF(front + 120, surface - 40), QPointF(x1, surface - 38)};
    QPainterPath asia;
    asia.addPolygon(rilievo);
    asia.lineTo(x1, surface + 95);
    asia.quadTo(front + 60, surface + 40, front - 20, surface + 12);
    asia.closeSubpath();
    p.fillPath(asia, sezione::colore::continentale());
    p.strokePath(asia, style::pen(style::withAlpha(style::outline(), 0.55), 1.5));
    // the land surface on both
    QPainterPath suolo;
    suolo.moveTo(x0, surface + 10);
    for (const QPointF &q : rilievo)
        suolo.lineTo(q);
    p.strokePath(suolo, style::pen(sezione::colore::verde(), 3));
    p.fillPath(symbols::arrow(QPointF(x0 + 30, surface + 27), QPointF(x0 + 120, surface + 27), 7, 16, 18), kArrow);
    p.restore();
    drawLabel(p, QStringLiteral("India"), QPointF(x0 + 60, surface - 12), placeLook(18));
    drawLabel(p, QStringLiteral("Himalaya"), QPointF(front + 40, surface - 72), featureLook(kMountain, 18));
    drawLabel(p, QStringLiteral("Tibet"), QPointF(front + 150, surface - 56), featureLook(kMountain, 18));
    LabelLook small = placeLook(18);
    drawLabel(p, QStringLiteral("crosta dell'India"), QPointF(x0 + 90, surface + 48), small);
    drawLabel(p, QStringLiteral("crosta dell'Asia"), QPointF(x1 - 80, surface + 10), small);
    drawLabel(p, QStringLiteral("le due croste continentali si accavallano"), QPointF(art.center().x(), art.bottom() - 20),
              placeLook(18));
    keyBelow(p,
             {{LegendEntry::Sample::Collision, QColor(), QStringLiteral("le placche si scontrano"), QColor()},
              {LegendEntry::Sample::Area, style::withAlpha(kMountain, 0.55), QStringLiteral("catena montuosa"), QColor()},
              {LegendEntry::Sample::Trench, QColor(), QStringLiteral("fossa: una placca scende sotto l'altra"), QColor()},
              {LegendEntry::Sample::Transform, QColor(), QStringLiteral("le placche scorrono affiancate"), QColor()}},
             art.bottom() + 2);
    credit(p, QRectF(0, art.bottom(), s.image.width(), s.image.height() - art.bottom()), mapCredit());
    return s.image;
}

// --- FAGLIE.jpg: Arabia leaves Africa, the rift opens -----------------------------------------

QImage faglie(PictureContext &ctx)
{
    const GeoWindow window{22, 62, -15, 38};
    Sheet s = sheet(kTopicWidthTwips, Projection::Kind::Mercator, window, keyRoom(4));
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    drawGround(p, s, ctx.data(), regionalGround());
    const MarginLook margins = regionalMargins();
    drawMarginsOn(p, s.map, ctx.data(), margins);
    // lake Tanganyika, which the pages name: long and narrow in the western branch of the rift (the
    // land data has no lakes; its outline after the atlases, from the north end to the south end),
    // over the rift's line so that it shows
    {
        const Ring shore{{29.45, -3.30}, {29.62, -4.50}, {29.80, -5.45}, {30.20, -6.35}, {30.70, -7.05}, {31.05, -7.85},
                         {31.35, -8.55}, {31.05, -8.85}, {30.45, -8.30}, {29.95, -7.55}, {29.50, -6.75}, {29.12, -5.70},
                         {28.95, -4.55}, {29.00, -3.40}};
        QPainterPath lake;
        lake.addPolygon(pixelLine(s, shore));
        lake.closeSubpath();
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(lake, style::mix(style::ocean(), style::oceanShelf(), 0.3));
        p.strokePath(lake, style::pen(style::withAlpha(style::outline(), 0.55), 1.2));
        p.restore();
    }
    label(p, s, QStringLiteral("lago\nTanganica"), QPointF(25.9, -8.6), seaLook());

    label(p, s, QStringLiteral("PLACCA\nAFRICANA"), QPointF(28.5, 6), plateLook());
    label(p, s, QStringLiteral("PLACCA\nARABICA"), QPointF(45, 24), plateLook());
    label(p, s, QStringLiteral("PLACCA\nSOMALA"), QPointF(47, -3), plateLook());
    label(p, s, QStringLiteral("PLACCA\nEUROASIATICA"), QPointF(53, 35.3), plateLook());
    label(p, s, QStringLiteral("Mar\nRosso"), QPointF(35.2, 22.2), seaLook());
    label(p, s, QStringLiteral("Golfo di Aden"), QPointF(49.5, 13.6), seaLook(18));
    label(p, s, QStringLiteral("Afar"), QPointF(40.2, 10.8), featureLook(style::ridge(), 18));
    label(p, s, QStringLiteral("Rift\nValley"), QPointF(33, -2), featureLook(style::ridge(), 18));
    label(p, s, QStringLiteral("monti\nZagros"), QPointF(53.5, 29.4), featureLook(kMountain, 18));
    volcanoMark(p, s.map.toPixel(37.35, -3.07), 12);
    label(p, s, QStringLiteral("Kilimangiaro"), QPointF(37.4, -6.4), placeLook(18));
    arrowGeo(p, s, QPointF(44, 19), QPointF(48.5, 23), 7);
    arrowGeo(p, s, QPointF(49, -8.5), QPointF(54, -9.8), 7);

    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Ridge, QColor(), QStringLiteral("le placche si allontanano (dorsale, rift)"), QColor()},
        {LegendEntry::Sample::Collision, QColor(), QStringLiteral("le placche si scontrano"), QColor()},
        {LegendEntry::Sample::Transform, QColor(), QStringLiteral("le placche scorrono affiancate"), QColor()},
        {LegendEntry::Sample::Trench, QColor(), QStringLiteral("una placca scende sotto l'altra"), QColor()},
    };
    finishSheet(p, s, entries, mapCredit());
    return s.image;
}

// --- afrfagl.jpg: the rift valley in section ----------------------------------------------

QImage afrfagl(PictureContext &)
{
    const QSize size = pixelsForTwips(kTopicWidthTwips, 3660);
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHints(smooth());
    const double w = size.width();
    const double h = size.height();
    // the colours of every cross-section of the course; the crust a little darker with depth
    const QColor sky(0xE6, 0xF0, 0xF6);
    const QColor upper = sezione::colore::continentale();
    const QColor lower = style::mix(sezione::colore::continentale(), sezione::colore::litosfera(), 0.4);
    const QColor mantle = sezione::colore::astenosfera();
    const QColor magma = sezione::colore::magma();
    const QColor lake = sezione::colore::mare();

    p.fillRect(QRectF(0, 0, w, h), sky);
    const double ground = 150;         // the plateaus
    const double rim = ground - 28;    // the raised shoulders by the faults
    const double floorY = 210;         // the floor of the valley
    const double l = w * 0.27, r = w * 0.73;  // faults at the surface
    const double dip = 0.22;                  // how far the faults lean in, per pixel of depth
    const double base = 360;                  // bottom of the crust
    const auto leftFault = [&](double y) { return l + (y - rim) * dip; };
    const auto rightFault = [&](double y) { return r - (y - rim) * dip; };

    // the plateaus and their raised shoulders
    QPainterPath leftBlock, rightBlock, middle;
    leftBlock.moveTo(0, ground + 10);
    leftBlock.quadTo(l * 0.6, ground + 5, l, rim);
    leftBlock.lineTo(leftFault(base), base);
    leftBlock.lineTo(0, base);
    leftBlock.closeSubpath();
    rightBlock.moveTo(w, ground + 10);
    rightBlock.quadTo(w - (w - r) * 0.6, ground + 5, r, rim);
    rightBlock.lineTo(rightFault(base), base);
    rightBlock.lineTo(w, base);
    rightBlock.closeSubpath();
    // the block that sank between the two faults
    middle.moveTo(leftFault(floorY), floorY);
    middle.lineTo(rightFault(floorY), floorY);
    middle.lineTo(rightFault(base), base);
    middle.lineTo(leftFault(base), base);
    middle.closeSubpath();
    p.fillRect(QRectF(0, base - 4, w, h - base + 4), mantle);
    for (const QPainterPath *block : {&leftBlock, &rightBlock, &middle}) {
        QLinearGradient fill(QPointF(0, ground), QPointF(0, base));
        fill.setColorAt(0, upper);
        fill.setColorAt(1, lower);
        p.fillPath(*block, fill);
        p.strokePath(*block, style::pen(style::withAlpha(style::outline(), 0.55), 1.5));
    }
    // the land surface: the plateaus, the scarps' tops and the valley floor
    {
        QPainterPath land;
        land.moveTo(0, ground + 10);
        land.quadTo(l * 0.6, ground + 5, l, rim);
        land.moveTo(w, ground + 10);
        land.quadTo(w - (w - r) * 0.6, ground + 5, r, rim);
        land.moveTo(leftFault(floorY), floorY);
        land.lineTo(rightFault(floorY), floorY);
        p.strokePath(land, style::pen(sezione::colore::verde(), 3));
    }
    // layers of rock, broken and lowered in the middle
    const QPen layer = style::pen(style::withAlpha(style::outline(), 0.25), 1.2);
    for (int i = 1; i <= 3; ++i) {
        const double d = 45.0 * i;
        p.setPen(layer);
        p.drawLine(QPointF(0, ground + 10 + d), QPointF(leftFault(ground + 10 + d), ground + 10 + d));
        p.drawLine(QPointF(rightFault(ground + 10 + d), ground + 10 + d), QPointF(w, ground + 10 + d));
        p.drawLine(QPointF(leftFault(floorY + d), floorY + d), QPointF(rightFault(floorY + d), floorY + d));
    }
    // a long, narrow lake on the valley floor
    const double lakeL = leftFault(floorY) + 12, lakeR = leftFault(floorY) + 80;
    p.setPen(Qt::NoPen);
    p.setBrush(lake);
    p.drawRoundedRect(QRectF(lakeL, floorY - 6, lakeR - lakeL, 10), 5, 5);
    // a volcano in the valley, fed by magma rising through the cracks
    const double vx = rightFault(floorY) - 48;
    QPainterPath cone;
    cone.moveTo(vx - 38, floorY + 1);
    cone.lineTo(vx - 7, floorY - 44);
    cone.lineTo(vx + 7, floorY - 44);
    cone.lineTo(vx + 38, floorY + 1);
    cone.closeSubpath();
    p.fillPath(cone, sezione::colore::vulcano());
    QPainterPath rise;
    rise.moveTo(vx + 10, base + 40);
    rise.cubicTo(vx + 20, base - 60, vx - 5, floorY + 60, vx, floorY - 42);
    p.strokePath(rise, style::pen(magma, 6));
    QRadialGradient hot(QPointF(w / 2, base + 55), 130);
    hot.setColorAt(0, magma);
    hot.setColorAt(1, style::withAlpha(magma, 0));
    p.setBrush(hot);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(w / 2, base + 55), 150, 45);
    // the faults
    const QPen fault = style::pen(QColor(0x5A, 0x2E, 0x1E), 3.2);
    p.setPen(fault);
    p.drawLine(QPointF(l, rim), QPointF(leftFault(base), base));
    p.drawLine(QPointF(r, rim), QPointF(rightFault(base), base));
    // the crust is pulled apart
    p.fillPath(symbols::arrow(QPointF(90, ground + 95), QPointF(12, ground + 95), 8, 18, 20), kArrow);
    p.fillPath(symbols::arrow(QPointF(w - 90, ground + 95), QPointF(w - 12, ground + 95), 8, 18, 20), kArrow);
    // the middle block sank
    p.fillPath(symbols::arrow(QPointF(w / 2 - 30, floorY + 40), QPointF(w / 2 - 30, floorY + 92), 6, 14, 16), kArrow);

    LabelLook bold = placeLook(18);
    bold.weight = QFont::Bold;
    drawLabel(p, QStringLiteral("RIFT VALLEY"), QPointF(w / 2, 38), featureLook(style::ridge(), 18));
    drawLabel(p, QStringLiteral("valle larga decine di km"), QPointF(w / 2, 62), placeLook(18));
    // each on its fault line, the halo parting the line round it
    drawLabel(p, QStringLiteral("faglia"), QPointF(leftFault(ground + 100) - 4, ground + 100), bold);
    drawLabel(p, QStringLiteral("faglia"), QPointF(rightFault(ground + 100) + 6, ground + 100), bold);
    drawLabel(p, QStringLiteral("scarpata"), QPointF(l - 30, rim - 22), placeLook(18));
    drawLabel(p, QStringLiteral("altopiano"), QPointF(w - 50, ground - 14), placeLook(18));
    drawLabel(p, QStringLiteral("lago"), QPointF((lakeL + lakeR) / 2, floorY - 22), placeLook(18));
    drawLabel(p, QStringLiteral("vulcano"), QPointF(vx + 12, floorY - 62), placeLook(18));
    drawLabel(p, QStringLiteral("crosta"), QPointF(62, ground + 150), bold);
    drawLabel(p, QStringLiteral("magma che risale"), QPointF(w / 2, h - 28), bold);
    return image;
}

// --- ande.jpg: the Nazca plate under South America --------------------------------------------

QImage ande(PictureContext &ctx)
{
    const GeoWindow window{-96, -30, -56, 13};
    Sheet s = sheet(kTopicWidthTwips, Projection::Kind::Mercator, window, keyRoom(2));
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    drawGround(p, s, ctx.data(), regionalGround());
    drawMarginsOn(p, s.map, ctx.data(), regionalMargins(), betweenMajorPlates);
    chain(p, s,
          Ring{{-71.5, 9.5}, {-75.3, 5.5}, {-78.2, 0.5}, {-79, -4}, {-77.5, -9}, {-74, -13.5}, {-70.5, -16.5}, {-68.5, -20},
               {-68.3, -24}, {-69.3, -28}, {-70, -32.5}, {-70.6, -36.5}, {-71.6, -41}, {-72.6, -46}, {-73.2, -50}},
          kMountain, 15);
    activeVolcanoes(p, s, ctx.data(), 9);
    label(p, s, QStringLiteral("PLACCA\nDI NAZCA"), QPointF(-86.5, -18), plateLook());
    label(p, s, QStringLiteral("PLACCA\nSUDAMERICANA"), QPointF(-52, -8), plateLook());
    label(p, s, QStringLiteral("PLACCA\nANTARTICA"), QPointF(-87, -50.5), plateLook());
    label(p, s, QStringLiteral("ANDE"), QPointF(-62.6, -28), featureLook(kMountain, 18));
    label(p, s, QStringLiteral("fossa del\nPerù-Cile"), QPointF(-80.5, -40), featureLook(style::trench(), 18));
    label(p, s, QStringLiteral("Altiplano"), QPointF(-60.8, -17.2), placeLook(18));
    city(p, s, QStringLiteral("Aconcagua"), QPointF(-70.01, -32.65), Qt::AlignLeft | Qt::AlignVCenter, 18);
    city(p, s, QStringLiteral("Cotopaxi"), QPointF(-78.44, -0.68), Qt::AlignLeft | Qt::AlignVCenter, 18);
    arrowGeo(p, s, QPointF(-91, -27), QPointF(-82, -25), 7);
    LabelLook speed = placeLook(18);
    speed.weight = QFont::Bold;
    speed.colour = kArrow;
    label(p, s, QStringLiteral("7 cm all'anno"), QPointF(-85.6, -30.2), speed);
    label(p, s, QStringLiteral("Oceano\nPacifico"), QPointF(-88, -8), seaLook()); // clear of the Galápagos
    label(p, s, QStringLiteral("Oceano\nAtlantico"), QPointF(-37, -27), seaLook());
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Trench, QColor(), QStringLiteral("fossa: Nazca scende sotto il Sudamerica"), QColor()},
        {LegendEntry::Sample::Volcano, kVolcano, QStringLiteral("vulcani attivi"), Qt::white},
    };
    finishSheet(p, s, entries, creditWith(QStringLiteral("NOAA")));
    return s.image;
}

// --- pacifico.jpg: island arcs of the western Pacific ----------------------------------------

QImage pacifico(PictureContext &ctx)
{
    const GeoWindow window{108, 198, -40, 62};
    Sheet s = sheet(kTopicWidthTwips, Projection::Kind::Mercator, window, keyRoom(2));
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    drawGround(p, s, ctx.data(), [] {
        RegionLook look = regionalGround();
        look.bordersWidth = 0;
        return look;
    }());
    MarginLook margins = regionalMargins();
    margins.teethSize = 8;
    margins.teethSpacing = 16;
    margins.ridgeWidth = 0;
    margins.transformWidth = 0;
    margins.collisionWidth = 0;
    drawMarginsOn(p, s.map, ctx.data(), margins);
    activeVolcanoes(p, s, ctx.data(), 5.5);

    label(p, s, QStringLiteral("PLACCA\nPACIFICA"), QPointF(170, 20), plateLook());
    label(p, s, QStringLiteral("PLACCA\nFILIPPINA"), QPointF(134.5, 19), plateLook());
    label(p, s, QStringLiteral("PLACCA\nEUROASIATICA"), QPointF(123.5, 52.5), plateLook());
    label(p, s, QStringLiteral("PLACCA\nINDO-AUSTRALIANA"), QPointF(137, -25), plateLook());
    LabelLook arc = featureLook(style::trench(), 18);
    label(p, s, QStringLiteral("Aleutine"), QPointF(184, 48.5), arc);
    label(p, s, QStringLiteral("Kamčatka"), QPointF(168, 58), placeLook(18));
    label(p, s, QStringLiteral("Curili"), QPointF(157.5, 45), arc);
    label(p, s, QStringLiteral("Giappone"), QPointF(146, 36.5), arc);
    label(p, s, QStringLiteral("Ryukyu"), QPointF(122.5, 28.5), arc);
    label(p, s, QStringLiteral("Filippine"), QPointF(116.4, 8), arc);
    label(p, s, QStringLiteral("Marianne"), QPointF(152.5, 15), arc);
    label(p, s, QStringLiteral("Salomone"), QPointF(158, -3), arc);
    label(p, s, QStringLiteral("Vanuatu"), QPointF(173.5, -14), arc);
    label(p, s, QStringLiteral("Tonga"), QPointF(181, -25), arc);
    // the sea is narrower than its name: the name stands on the land west of it, with a leader
    {
        const QRectF box = drawLabel(p, QStringLiteral("Mar del\nGiappone"), s.map.toPixel(125.5, 45.2), seaLook(18));
        const QPointF sea = s.map.toPixel(134.8, 40.6);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(style::pen(QColor(0x2E, 0x5C, 0x86), 1.4));
        p.drawLine(QPointF(box.right() + 2, box.center().y()), sea);
        p.setBrush(QColor(0x2E, 0x5C, 0x86));
        p.drawEllipse(sea, 2.5, 2.5);
        p.restore();
    }
    label(p, s, QStringLiteral("Nuova Zelanda"), QPointF(165, -35.5), placeLook(18));
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Trench, QColor(), QStringLiteral("fossa (i triangoli sulla placca che sta sopra)"), QColor()},
        {LegendEntry::Sample::Volcano, kVolcano, QStringLiteral("vulcani attivi"), Qt::white},
    };
    finishSheet(p, s, entries, creditWith(QStringLiteral("NOAA")));
    return s.image;
}

// --- califo.jpg and califo2.jpg: the San Andreas fault, today and in five million years -------

const GeoWindow kCalifornia{-126.5, -112.5, 29.2, 42.2};

// How far, and which way, the Pacific plate moves past North America in California: the PB2002
// velocities of the boundary between them, averaged.
QPointF pacificDrift(GeoData &data, double *speedMmYear)
{
    QPointF sum;
    double length = 0;
    for (const BoundaryPiece &b : boundarySteps(data)) {
        if (b.name != QLatin1String("NA-PA"))
            continue;
        const QPointF mid = b.line.at(b.line.size() / 2);
        if (mid.y() < 31 || mid.y() > 40)
            continue;
        sum += b.velocity * b.lengthKm;
        length += b.lengthKm;
    }
    // the steps give North America's motion relative to the Pacific: turn it round
    const QPointF v = length > 0 ? -sum / length : QPointF(-27, 38);
    if (speedMmYear)
        *speedMmYear = std::hypot(v.x(), v.y());
    return v;
}

QImage californiaMap(PictureContext &ctx, double millionYears)
{
    const QSize pixels = pixelsForTwips(kCaliforniaWidthTwips, 100);
    const int mapHeight = 2 * qRound(MapWindow::heightForWidth(Projection::Kind::Mercator, kCalifornia, pixels.width()) / 2);
    const QRectF area(0, 0, pixels.width(), mapHeight);
    Sheet s{newPicture(QSize(pixels.width(), mapHeight + 134), style::paper()), area,
            MapWindow(Projection::Kind::Mercator, kCalifornia, area)};
    QPainter p(&s.image);
    p.setRenderHints(smooth());

    double speed = 0;
    pacificDrift(ctx.data(), &speed);
    // the speed as the page says it, in whole centimetres a year; mm a year for a million years is a km
    const double cmYear = qRound(speed / 10);
    const double km = cmYear * 10 * millionYears;
    const FaultSlide slide(km);
    const auto moved = [&](const QPointF &at) { return millionYears > 0 ? slide.moved(at) : at; };
    const QRectF nearCalifornia(QPointF(-135, 15), QPointF(-100, 45));

    // The ground: sea, then each plate with its land. The Pacific's land slides along the fault,
    // which stays where it is: each plate keeps today's outline, so nothing crosses the fault.
    const QColor pacific(0xCF, 0xE0, 0xB0);
    const QColor northAmerica = style::plate(QStringLiteral("NA"));
    const QList<GeoPolygon> land = allPolygons(ctx.data().land(GeoData::Detail::Fine));
    s.map.paintInside(p, [&](QPainter &g) {
        g.fillRect(s.image.rect(), style::mix(style::ocean(), style::oceanShelf(), 0.4));
        struct Part {
            QStringList codes;
            QColor colour;
            bool moves;
        };
        for (const Part &part : {Part{{QStringLiteral("NA")}, northAmerica, false}, Part{{QStringLiteral("PA")}, pacific, true}}) {
            const QPainterPath platePath = s.map.areas(platePolygons(ctx.data(), part.codes));
            const QPainterPath landPath =
                s.map.areas(part.moves && millionYears > 0 ? slide.moved(land, nearCalifornia) : land);
            g.save();
            g.setClipPath(platePath);
            g.fillPath(landPath, part.colour);
            g.strokePath(landPath, style::pen(style::withAlpha(style::outline(), 0.5), 1.3));
            g.restore();
        }
        if (millionYears > 0) {
            // today's coast, dashed, to compare
            QPen today = style::pen(style::withAlpha(style::outline(), 0.45), 1.3);
            today.setDashPattern({3, 3});
            g.strokePath(s.map.edges(land), today);
        }
    });

    // the fault: the boundary between the two plates, where it now runs
    MarginLook margins = regionalMargins();
    margins.transformWidth = 4;
    margins.collisionWidth = 4;
    margins.collision = margins.transform; // the Big Bend is part of the same fault system here
    margins.ridgeWidth = 3.5;
    // drawn where it runs today: North America's side, which this map holds still
    QList<BoundaryPiece> pieces;
    for (const BoundaryPiece &b : boundarySteps(ctx.data())) {
        if (inCodes(b, {QStringLiteral("NA"), QStringLiteral("PA")}))
            pieces.append(b);
    }
    s.map.paintInside(p, [&](QPainter &l) { drawMargins(l, s.map, pieces, margins); });

    city(p, s, QStringLiteral("San Francisco"), QPointF(-122.42, 37.77), Qt::AlignLeft | Qt::AlignBottom, 18);
    // in five million years the name goes west of the city, clear of the arrow that brings it there
    city(p, s, QStringLiteral("Los Angeles"), moved(QPointF(-118.24, 34.05)),
         millionYears > 0 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignTop, 18);
    if (millionYears > 0) {
        // where Los Angeles is today
        const QPointF now = s.map.toPixel(-118.24, 34.05);
        p.save();
        p.setPen(style::pen(style::withAlpha(style::text(), 0.6), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(now, 4.5, 4.5);
        p.restore();
        LabelLook oggi = placeLook(18);
        oggi.colour = style::textSoft();
        drawLabelAt(p, QStringLiteral("Los Angeles oggi"), now + QPointF(-6, 6), Qt::AlignRight | Qt::AlignTop, oggi);
        arrowGeo(p, s, QPointF(-118.24, 34.05) + QPointF(-0.2, 0.25), moved(QPointF(-118.24, 34.05)) + QPointF(0.25, -0.3), 4,
                 style::withAlpha(kArrow, 0.8));
    }
    LabelLook fault = featureLook(style::transform(), 18);
    label(p, s, QStringLiteral("faglia di\nS. Andreas"), QPointF(-117.3, 36.2), fault);
    label(p, s, QStringLiteral("PLACCA\nPACIFICA"), QPointF(-123.8, 32.4), plateLook());
    label(p, s, QStringLiteral("PLACCA\nNORDAMERICANA"), QPointF(-116, 40.5), plateLook());
    label(p, s, QStringLiteral("Golfo di\nCalifornia"), QPointF(-114.0, 30.2), seaLook(18));
    if (millionYears <= 0) {
        // the two plates slide past each other
        arrowGeo(p, s, QPointF(-121.2, 33.2), QPointF(-123.5, 35.5), 6);
        arrowGeo(p, s, QPointF(-117.4, 38.8), QPointF(-115.1, 36.5), 6);
    }
    drawFrame(p, s.map);

    // under the map: what it shows
    LabelLook caption = placeLook(18);
    caption.haloWidth = 0;
    const QString text = millionYears > 0
        ? QStringLiteral("fra %1 milioni di anni: la terra a ovest della\nfaglia sarà circa %2 km più a nord-ovest")
              .arg(millionYears)
              .arg(qRound(km / 10) * 10)
        : QStringLiteral("oggi: la placca pacifica scorre verso\nnord-ovest di circa %1 cm all'anno").arg(cmYear);
    drawLabel(p, text, QPointF(s.image.width() / 2.0, mapHeight + 27), caption);
    const QColor edge = style::withAlpha(style::outline(), 0.5);
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Area, pacific, QStringLiteral("terre della placca pacifica"), edge},
        {LegendEntry::Sample::Area, northAmerica, QStringLiteral("terre della placca nordamericana"), edge},
    };
    keyBelow(p, entries, mapHeight + 48);
    credit(p, QRectF(0, mapHeight + 48, s.image.width(), s.image.height() - mapHeight - 48), mapCredit());
    return s.image;
}

QImage califo(PictureContext &ctx)
{
    return californiaMap(ctx, 0);
}

QImage califo2(PictureContext &ctx)
{
    return californiaMap(ctx, 5);
}

// --- EUROPA.jpg: the old chains and the young ones ---------------------------------------------

QImage europa(PictureContext &ctx)
{
    const GeoWindow window{-11, 40, 33.5, 63};
    Sheet s = sheet(kTopicWidthTwips, Projection::Kind::Mercator, window, keyRoom(3));
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    RegionLook look = regionalGround([](const QString &) { return QColor(); });
    look.land = QColor(0xF4, 0xEC, 0xD6);
    look.landOpacity = 1.0;
    drawGround(p, s, ctx.data(), look);

    const QColor old(0x8E, 0x86, 0xB0);
    const QColor young = kMountain;
    // Caledonian chain: Scotland and the Scandinavian mountains
    chain(p, s, Ring{{-6.5, 56.6}, {-4, 57.6}}, old, 14);
    chain(p, s, Ring{{6.5, 58.8}, {8, 61}, {11, 62.6}, {13.5, 63.4}}, old, 14);
    // Hercynian massifs: Massif Central, Vosges and Black Forest, Bohemia, Ardennes, Iberian Meseta
    chain(p, s, Ring{{2.2, 44.6}, {3.4, 45.8}}, old, 14);
    chain(p, s, Ring{{7.0, 48.0}, {8.2, 48.4}}, old, 12);
    chain(p, s, Ring{{12.5, 49.5}, {15.5, 50.5}}, old, 12);
    chain(p, s, Ring{{4.8, 50.0}, {6.2, 50.3}}, old, 10);
    chain(p, s, Ring{{-6.5, 40.2}, {-4, 40.6}}, old, 12);
    // Alpine chains: Betic Cordillera, Pyrenees, Alps, Apennines, Dinarides, Carpathians
    chain(p, s, Ring{{-5, 36.8}, {-3.3, 37.1}, {-1.5, 37.9}}, young, 15);
    chain(p, s, Ring{{-1.8, 43}, {0.5, 42.7}, {2.5, 42.5}}, young, 15);
    chain(p, s, Ring{{7, 44.2}, {6.8, 45.6}, {8, 46.3}, {10, 46.5}, {12.5, 46.9}, {15.5, 47.4}}, young, 16);
    chain(p, s, Ring{{8.5, 44.4}, {11, 44}, {12.8, 43}, {13.7, 42.2}, {15.3, 40.8}, {16.2, 39.3}}, young, 14);
    chain(p, s, Ring{{15, 45.3}, {17, 44}, {19, 42.6}, {20.5, 41.2}, {21.3, 39.5}}, young, 14);
    chain(p, s, Ring{{17.5, 48.7}, {21, 49.2}, {24, 48}, {25.5, 46.5}, {24, 45.4}, {22, 45}}, young, 14);

    LabelLook oldLook = featureLook(old.darker(140), 18);
    LabelLook youngLook = featureLook(young, 18);
    label(p, s, QStringLiteral("Scozia"), QPointF(-5.0, 58.9), oldLook);
    label(p, s, QStringLiteral("Norvegia"), QPointF(4.2, 61.6), oldLook);
    label(p, s, QStringLiteral("Massiccio\nCentrale"), QPointF(1.5, 47.2), oldLook);
    label(p, s, QStringLiteral("Vosgi e\nForesta Nera"), QPointF(8.6, 50.3), oldLook);
    label(p, s, QStringLiteral("Sierra Nevada"), QPointF(-3.2, 35.8), youngLook);
    label(p, s, QStringLiteral("Pirenei"), QPointF(-1.3, 41.5), youngLook);
    label(p, s, QStringLiteral("Alpi"), QPointF(11.5, 48.0), youngLook);
    label(p, s, QStringLiteral("Appennini"), QPointF(10.3, 41.5), youngLook);
    label(p, s, QStringLiteral("Dinaridi"), QPointF(19.5, 44.4), youngLook);
    label(p, s, QStringLiteral("Carpazi"), QPointF(27.8, 47.5), youngLook);
    LabelLook africa = plateLook();
    label(p, s, QStringLiteral("AFRICA"), QPointF(12, 34.8), africa);
    arrowGeo(p, s, QPointF(20, 34.4), QPointF(20, 37.3), 7);
    label(p, s, QStringLiteral("Mar Mediterraneo"), QPointF(5.5, 38.6), seaLook(18));

    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Line, old, QStringLiteral("catene antiche (caledoniana, ercinica)"), QColor()},
        {LegendEntry::Sample::Line, young, QStringLiteral("catene giovani (alpine)"), QColor()},
        {LegendEntry::Sample::Arrow, kArrow, QStringLiteral("l'Africa spinge verso nord"), QColor()},
    };
    finishSheet(p, s, entries, QStringLiteral("Dati: Natural Earth"));
    return s.image;
}

// --- ita1, ita2, ita3: Italy between Africa and Europe ------------------------------------------

const GeoWindow kItaly{5.5, 20.5, 35.5, 47.6};

struct ItalyVolcano {
    QString name;
    QPointF at;
    Qt::Alignment side;
};

const QList<ItalyVolcano> &italianVolcanoes()
{
    static const QList<ItalyVolcano> list = {
        {QStringLiteral("Vesuvio"), QPointF(14.43, 40.82), Qt::AlignLeft | Qt::AlignBottom},
        {QStringLiteral("Campi Flegrei"), QPointF(14.14, 40.83), Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("Stromboli"), QPointF(15.21, 38.79), Qt::AlignLeft | Qt::AlignBottom},
        {QStringLiteral("Vulcano"), QPointF(14.96, 38.40), Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("Etna"), QPointF(14.99, 37.75), Qt::AlignLeft | Qt::AlignVCenter},
    };
    return list;
}

Sheet italySheet(double below)
{
    return sheet(kTopicWidthTwips, Projection::Kind::Mercator, kItaly, below);
}

RegionLook italyGround()
{
    RegionLook look = regionalGround();
    look.bordersWidth = 1.0;
    look.borders = style::withAlpha(style::outline(), 0.22);
    return look;
}

QImage ita1(PictureContext &ctx)
{
    Sheet s = italySheet(keyRoom(3));
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    drawGround(p, s, ctx.data(), italyGround());
    quakes(p, s, ctx.data(), 4.0, 2.6, false);
    drawMarginsOn(p, s.map, ctx.data(), regionalMargins(), betweenMajorPlates);
    chain(p, s, Ring{{7.1, 44.1}, {6.9, 45.3}, {7.6, 46}, {9, 46.4}, {10.5, 46.5}, {12.5, 46.7}, {13.7, 46.5}}, kMountain, 14);
    chain(p, s, Ring{{8.6, 44.4}, {10.5, 44.2}, {12.3, 43.4}, {13.4, 42.4}, {14.4, 41.6}, {15.5, 40.6}, {16.1, 39.4}, {16.2, 38.4}},
          kMountain, 12);
    for (const ItalyVolcano &v : italianVolcanoes()) {
        const QPointF at = s.map.toPixel(v.at);
        volcanoMark(p, at, 11);
        LabelLook look = placeLook(18);
        look.weight = QFont::Bold;
        const QPointF off((v.side & Qt::AlignLeft) ? 8 : -8, (v.side & Qt::AlignBottom) ? -4 : 0);
        drawLabelAt(p, v.name, at + off, v.side, look);
    }
    label(p, s, QStringLiteral("ALPI"), QPointF(10.2, 47.15), featureLook(kMountain, 18));
    label(p, s, QStringLiteral("APPENNINI"), QPointF(11.1, 42.9), featureLook(kMountain, 18));
    label(p, s, QStringLiteral("PLACCA\nEUROASIATICA"), QPointF(17.6, 46.0), plateLook());
    label(p, s, QStringLiteral("PLACCA\nAFRICANA"), QPointF(11.2, 36.6), plateLook());
    arrowGeo(p, s, QPointF(15.5, 35.8), QPointF(15.8, 37.0), 7);
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Dot, QColor(0xE0, 0x6A, 0x2C), QStringLiteral("terremoti (1973-2005)"), Qt::white},
        {LegendEntry::Sample::Volcano, kVolcano, QStringLiteral("vulcani attivi"), Qt::white},
        {LegendEntry::Sample::Trench, QColor(), QStringLiteral("confine: subduzione"), QColor()},
    };
    finishSheet(p, s, entries, creditWith(QStringLiteral("USGS")));
    return s.image;
}

QImage ita2(PictureContext &ctx)
{
    Sheet s = italySheet(keyRoom(3));
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    drawGround(p, s, ctx.data(), italyGround());
    quakes(p, s, ctx.data(), 4.0, 3.2, true);
    // the Calabrian arc: Africa's old ocean floor going down under the Tyrrhenian
    drawMarginsOn(p, s.map, ctx.data(), regionalMargins(), [](const BoundaryPiece &b) {
        return b.margin() == Margin::Destructive && majorPlateOf(b.overriding()) == QLatin1String("EU")
            && majorPlateOf(b.overriding() == b.left ? b.right : b.left) == QLatin1String("AF");
    });
    for (const ItalyVolcano &v : italianVolcanoes())
        volcanoMark(p, s.map.toPixel(v.at), 10);
    volcanoMark(p, s.map.toPixel(14.4, 39.25), 10);
    LabelLook look = placeLook(18);
    look.weight = QFont::Bold;
    // below and left of the seamount, clear of the sea's name and of the Aeolian islands
    drawLabelAt(p, QStringLiteral("Marsili\n(sottomarino)"), s.map.toPixel(14.4, 39.25) + QPointF(-6, 4), Qt::AlignRight | Qt::AlignTop, look);
    drawLabelAt(p, QStringLiteral("Eolie"), s.map.toPixel(15.21, 38.79) + QPointF(8, -2), Qt::AlignLeft | Qt::AlignBottom, look);
    label(p, s, QStringLiteral("Mar\nTirreno"), QPointF(11.0, 40.3), seaLook(18));
    // the Tyrrhenian widens while the Calabrian arc moves south-east
    arrowGeo(p, s, QPointF(13.7, 40.15), QPointF(12.75, 40.95), 5);
    arrowGeo(p, s, QPointF(16.6, 38.45), QPointF(17.9, 37.55), 7);
    label(p, s, QStringLiteral("arco\ncalabro"), QPointF(18.0, 39.95), featureLook(style::trench(), 18));
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Dot, depthColour(10), QStringLiteral("terremoti fino a 70 km di profondità"), Qt::white},
        {LegendEntry::Sample::Dot, depthColour(100), QStringLiteral("terremoti profondi: nella placca che scende"), Qt::white},
        {LegendEntry::Sample::Trench, QColor(), QStringLiteral("fossa: qui la placca comincia a scendere"), QColor()},
    };
    finishSheet(p, s, entries, creditWith(QStringLiteral("USGS; NOAA")));
    return s.image;
}

QImage ita3(PictureContext &ctx)
{
    Sheet s = italySheet(keyRoom(2));
    QPainter p(&s.image);
    p.setRenderHints(smooth());
    drawGround(p, s, ctx.data(), italyGround());
    // Adria, as most studies outline it: the Po plain, the Adriatic and Apulia, bounded by the
    // Apennines, the Alps and the Dinarides.
    const Ring adria{{7.6, 45.0}, {9.5, 45.6}, {12.0, 45.9}, {13.6, 45.9}, {14.5, 45.3}, {15.6, 44.3}, {17.3, 43.2},
                     {19.2, 42.0}, {19.6, 40.8}, {19.3, 39.6}, {18.5, 39.4}, {17.0, 40.2}, {16.2, 40.9}, {15.6, 41.4},
                     {14.6, 42.1}, {13.6, 43.0}, {12.3, 43.9}, {10.5, 44.4}, {8.6, 44.6}, {7.6, 45.0}};
    QPainterPath area;
    area.addPolygon(pixelLine(s, adria));
    area.closeSubpath();
    p.fillPath(area, style::withAlpha(QColor(0xB8, 0x8F, 0xC8), 0.35));
    QPen dashed = style::pen(QColor(0x6E, 0x4A, 0x86), 3);
    dashed.setDashPattern({3, 2});
    p.strokePath(area, dashed);
    quakes(p, s, ctx.data(), 4.0, 2.8, false);
    // it turns slowly counter-clockwise
    const QPointF c = s.map.toPixel(15.6, 43.4);
    const QPointF a = c + QPointF(40, 20), b = c + QPointF(-40, 20);
    p.fillPath(symbols::curvedArrow(a, c + QPointF(0, -34), b, 5, 13, 15), kArrow);
    LabelLook adriaLook = plateLook();
    adriaLook.colour = QColor(0x5A, 0x3A, 0x72);
    label(p, s, QStringLiteral("MICROPLACCA\nADRIATICA"), QPointF(14.2, 44.6), adriaLook);
    label(p, s, QStringLiteral("Pianura Padana"), QPointF(10.4, 45.3), placeLook(18));
    label(p, s, QStringLiteral("Puglia"), QPointF(16.6, 41.1), placeLook(18));
    label(p, s, QStringLiteral("Friuli"), QPointF(13.4, 46.6), placeLook(18));
    label(p, s, QStringLiteral("Balcani"), QPointF(19.4, 43.7), placeLook(18));
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Area, style::withAlpha(QColor(0xB8, 0x8F, 0xC8), 0.45), QStringLiteral("microplacca adriatica (Adria)"),
         QColor(0x6E, 0x4A, 0x86)},
        {LegendEntry::Sample::Dot, QColor(0xE0, 0x6A, 0x2C), QStringLiteral("terremoti (1973-2005)"), Qt::white},
    };
    finishSheet(p, s, entries, creditWith(QStringLiteral("USGS")));
    return s.image;
}

// --- world.jpg: the world map of the hotspot page ----------------------------------------------

// The frame the page's hotspots are measured in is stated by the lesson data ("mappa" of
// argomento5.json): a projection with its true aspect over a window of longitudes and latitudes,
// and the rectangle of the page the map fills. The picture reads it, so that map and hotspots
// cannot drift apart; under the map stands the key of its lines.
struct WorldFrame {
    Projection::Kind kind;
    GeoWindow window;
    QSize twips;
};

WorldFrame worldFrame()
{
    const QString path = QDir(QStringLiteral(DISEGNI_REPOSITORY)).filePath(QStringLiteral("lessons/argomenti/argomento5.json"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw GeoDataError(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    const QJsonObject map = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("mappa")).toObject();
    const QJsonArray rect = map.value(QStringLiteral("rettangolo")).toArray();
    if (map.value(QStringLiteral("proiezione")).toString() != QLatin1String("mercatore") || rect.size() != 4)
        throw GeoDataError(QStringLiteral("%1: \"mappa\" non è una carta di Mercatore con il suo rettangolo").arg(path).toStdString());
    WorldFrame frame{Projection::Kind::Mercator,
                     GeoWindow{map.value(QStringLiteral("lonMin")).toDouble(), map.value(QStringLiteral("lonMax")).toDouble(),
                               map.value(QStringLiteral("latMin")).toDouble(), map.value(QStringLiteral("latMax")).toDouble()},
                     QSize(rect.at(2).toInt(), rect.at(3).toInt())};
    if (frame.window.lonMax <= frame.window.lonMin || frame.window.latMax <= frame.window.latMin || frame.twips.isEmpty())
        throw GeoDataError(QStringLiteral("%1: \"mappa\" vuota").arg(path).toStdString());
    // the rectangle must have the window's own shape: a map stretched to fit would distort the world
    const QSize pixels = pixelsForTwips(frame.twips.width(), frame.twips.height());
    const double trueHeight = MapWindow::heightForWidth(frame.kind, frame.window, pixels.width());
    if (std::abs(trueHeight - pixels.height()) > 2)
        throw GeoDataError(QStringLiteral("%1: il rettangolo di \"mappa\" dovrebbe essere alto %2 twip")
                               .arg(path)
                               .arg(qRound(trueHeight * kTwipsPerInch / kDpi))
                               .toStdString());
    return frame;
}

QImage world(PictureContext &ctx)
{
    const WorldFrame frame = worldFrame();
    const QSize mapPixels = pixelsForTwips(frame.twips.width(), frame.twips.height());
    constexpr int kKeyHeight = 104; // file pixels under the map for the key of its lines
    const QSize size(mapPixels.width(), mapPixels.height() + kKeyHeight);
    QImage image = newPicture(size, style::paper());
    const QRectF rect(QPointF(0, 0), QSizeF(mapPixels));
    const MapWindow map(frame.kind, frame.window, rect);
    QPainter p(&image);
    p.setRenderHints(smooth());
    RegionLook look = regionalGround([](const QString &code) { return style::mix(majorColour(code), Qt::white, 0.15); });
    look.detail = GeoData::Detail::Coarse;
    look.bordersWidth = 0;
    look.graticuleWidth = 1.0;
    look.graticule = style::withAlpha(Qt::white, 0.45);
    look.graticuleStep = 30;
    p.drawImage(0, 0, drawRegionMap(map, size, ctx.data(), look));
    MarginLook margins = regionalMargins();
    margins.ridgeWidth = 4;
    margins.trenchWidth = 2.6;
    margins.teethSize = 8;
    margins.teethSpacing = 18;
    margins.transformWidth = 3;
    margins.collisionWidth = 4;
    margins.minTransformKm = 450;
    margins.simplifyDegrees = 0.2;
    drawMarginsOn(p, map, ctx.data(), margins, betweenMajorPlates);
    drawFrame(p, map);
    CreditLook c;
    c.pixelSize = 12;
    drawCredit(p, rect, mapCredit(), c);

    // the key, in two columns under the map
    LegendLook key;
    key.text.pixelSize = 18;
    key.text.haloWidth = 0;
    key.margins = margins;
    key.sampleWidth = 40;
    key.sampleHeight = 20;
    key.rowGap = 8;
    key.padding = 8;
    key.background = style::withAlpha(Qt::white, 0);
    key.frame = style::withAlpha(Qt::white, 0);
    const double top = rect.bottom() + 6;
    drawLegend(p, QPointF(8, top),
               {{LegendEntry::Sample::Ridge, QColor(), QStringLiteral("dorsale: le placche si allontanano"), QColor()},
                {LegendEntry::Sample::Trench, QColor(), QStringLiteral("fossa: una placca scende sotto l'altra"), QColor()}},
               key);
    drawLegend(p, QPointF(size.width() / 2.0 + 8, top),
               {{LegendEntry::Sample::Collision, QColor(), QStringLiteral("scontro tra placche"), QColor()},
                {LegendEntry::Sample::Transform, QColor(), QStringLiteral("faglia: le placche scorrono affiancate"), QColor()}},
               key);
    return image;
}

} // namespace

void addLezione5(QList<Picture> *pictures)
{
    const auto add = [pictures](const char *path, const char *description, std::function<QImage(PictureContext &)> draw) {
        pictures->append({QString::fromLatin1(path), QString::fromUtf8(description), std::move(draw)});
    };
    add("altre/zone.jpg", "argomento 5, pagina 1: dove si trovano i sette fenomeni", zone);
    add("altre/himalaya.jpg", "argomento 5, pagina 2: l'India contro l'Asia", himalaya);
    add("altre/faglie.jpg", "argomento 5, pagine 3 e 4: Mar Rosso, Golfo di Aden e Rift Valley", faglie);
    add("altre/afrfagl.jpg", "argomento 5, pagina 5: la Rift Valley in sezione", afrfagl);
    add("altre/ande.jpg", "argomento 5, pagine 6 e 7: la placca di Nazca sotto il Sudamerica", ande);
    add("altre/pacifico.jpg", "argomento 5, pagine 8 e 9: gli archi insulari del Pacifico", pacifico);
    add("altre/califo.jpg", "argomento 5, pagina 10 (e 6, pagina 6): la faglia di S. Andreas", califo);
    add("altre/califo2.jpg", "argomento 5, pagina 11: la California fra 5 milioni di anni", califo2);
    add("altre/europa.jpg", "argomento 5, pagine 12 e 13: le catene montuose antiche e giovani", europa);
    add("altre/ita1.jpg", "argomento 5, pagine 14 e 15: l'Italia fra Africa ed Europa", ita1);
    add("altre/ita2.jpg", "argomento 5, pagina 16: l'apertura del Tirreno", ita2);
    add("altre/ita3.jpg", "argomento 5, pagina 17: la microplacca adriatica", ita3);
    add("altre/world.jpg", "argomento 5, pagine 18 e 19: la carta del mondo sotto le sette finestrelle", world);
}

} // namespace disegni
