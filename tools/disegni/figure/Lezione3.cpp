// Pictures of topic 3, "LA TEORIA DELLE PLACCHE": the plate maps of its pages, the diagram of the
// three kinds of margin and the map of the hotspot page.

#include "Boundaries.h"
#include "Carte.h"
#include "Catalogue.h"
#include "Labels.h"
#include "Legend.h"
#include "MapWindow.h"
#include "MarginMap.h"
#include "Output.h"
#include "RegionMap.h"
#include "Sezione.h"
#include "Style.h"
#include "Symbols.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <QPainter>

namespace disegni {

using namespace carte;

namespace {

// Every world map of the topic has one frame, so that a pupil turning the pages sees the same
// world and only what is drawn on it change: the Pacific in the middle and whole, in Gall's
// stereographic projection; the strip from 30°W to 20°W appears at both edges. The pictures stand
// above a text panel, so their height is the limit: 3600 twips (the plate map is shown 3610 twips
// above a panel in topic 6 as well).
constexpr double kWest = -30;
constexpr double kEast = 340;
const GeoWindow kWorld{kWest, kEast, -70, 82};
const QSize kWorldTwips(6135, 3600);
// Keys and explanations stand beside the map, which keeps its place from page to page.
const QSize kWorldWithKeyTwips(8265, 3600);
// The hotspot page has room for a taller picture; its frame is the same world, larger, and places
// each of its five hotspots over what the hotspot's text names.
const GeoWindow kWorldHotspots = kHotspotWorld;
const QSize kHotspotTwips(kHotspotWorldWidthTwips, kHotspotWorldHeightTwips);

struct PlateName {
    QString key;       // PB2002 code of the plate (or of the major plate)
    QString text;
    QPointF at;        // lon, lat of the name's centre
    bool large = false;
    double pixelSize = 0; // 0: the size of its kind
};

// Names of the fifteen plates, where they read well on this frame.
const QList<PlateName> &majorNames()
{
    static const QList<PlateName> names = {
        {QStringLiteral("PA"), QStringLiteral("PACIFICA"), QPointF(-150, 8), true},
        {QStringLiteral("NA"), QStringLiteral("NORDAMERICANA"), QPointF(-98, 50), true},
        // east of the trench: the plate reaches the Atlantic ridge, and the name stays off Nazca
        {QStringLiteral("SA"), QStringLiteral("SUD-\nAMERICANA"), QPointF(-51.5, -24), true, 18},
        {QStringLiteral("EU"), QStringLiteral("EUROASIATICA"), QPointF(88, 56), true},
        {QStringLiteral("AF"), QStringLiteral("AFRICANA"), QPointF(14, 4), true},
        {QStringLiteral("AU"), QStringLiteral("INDO-AUSTRALIANA"), QPointF(110, -31), true},
        {QStringLiteral("AN"), QStringLiteral("ANTARTICA"), QPointF(112, -60), true},
        {QStringLiteral("NZ"), QStringLiteral("NAZCA"), QPointF(-92, -19), false},
        {QStringLiteral("CO"), QStringLiteral("COCOS"), QPointF(-96, 8), false},
        {QStringLiteral("CA"), QStringLiteral("CARAIBICA"), QPointF(-74, 15), false},
        {QStringLiteral("AR"), QStringLiteral("ARABICA"), QPointF(45, 23), false},
        {QStringLiteral("PS"), QStringLiteral("FILIPPINA"), QPointF(134, 19), false},
        {QStringLiteral("SC"), QStringLiteral("SCOTIA"), QPointF(-42, -57.5), false},
        {QStringLiteral("JF"), QStringLiteral("JUAN\nDE FUCA"), QPointF(-152, 39), false},
        {QStringLiteral("SO"), QStringLiteral("SOMALA"), QPointF(54, -8), false},
    };
    return names;
}

LabelLook nameLook(bool large, double pixelSize = 0)
{
    LabelLook look;
    look.pixelSize = pixelSize > 0 ? pixelSize : (large ? 19 : kReadablePixelSize);
    look.weight = QFont::Bold;
    look.letterSpacing = pixelSize > 0 ? 0 : (large ? 1.5 : 0.3);
    look.colour = style::withAlpha(style::text(), 0.88);
    look.halo = style::withAlpha(Qt::white, 0.75);
    look.haloWidth = 3;
    look.lineSpacing = 0.9;
    return look;
}

// The ground of every world map of the topic: plates in their pastels, the sea a little bluer,
// the land lighter, faint coasts.
RegionLook worldGround(std::function<QColor(const QString &)> colour)
{
    RegionLook look;
    look.sea = style::ocean();
    look.plateColour = std::move(colour);
    look.seaTint = style::oceanShelf();
    look.seaTintOpacity = 0.35;
    look.land = QColor(0xFF, 0xFB, 0xF0);
    look.landOpacity = 0.55;
    look.coast = style::withAlpha(style::outline(), 0.30);
    look.coastWidth = 1.2;
    look.graticule = style::withAlpha(Qt::white, 0.45);
    look.graticuleWidth = 1.0;
    look.graticuleStep = 30;
    return look;
}

// Margins between the fifteen plates of the maps, drawn by their kind.
MarginLook worldMargins()
{
    MarginLook look;
    look.ridgeWidth = 3.2;
    look.trenchWidth = 2.2;
    look.teethSize = 7;
    look.teethSpacing = 15;
    look.collisionWidth = 3.6;
    look.transformWidth = 2.6;
    look.minTransformKm = 450;
    look.simplifyDegrees = 0.25;
    look.casing = style::withAlpha(Qt::white, 0.55);
    look.casingExtra = 2.5;
    return look;
}

void creditOnMap(QPainter &p, const MapWindow &map, const QString &text = mapCredit())
{
    CreditLook credit;
    credit.pixelSize = 12;
    credit.corner = Qt::BottomRightCorner;
    drawCredit(p, map.mapRect(), text, credit);
}

QRectF worldRect(const QSize &twips)
{
    return QRectF(QPointF(0, 0), QSizeF(pixelsForTwips(twips.width(), twips.height())));
}

void drawNames(QPainter &p, const MapWindow &map, const QList<PlateName> &names)
{
    for (const PlateName &n : names)
        drawLabel(p, n.text, map.toPixel(n.at), nameLook(n.large, n.pixelSize));
}

// The copy of a point at the right-hand edge of a map wider than the world.
QPointF eastCopy(const MapWindow &map, const QPointF &lonLat)
{
    const QList<QPointF> all = map.copies(lonLat.x(), lonLat.y());
    return all.isEmpty() ? map.toPixel(lonLat) : all.last();
}

// Where Juan de Fuca's name stands, out at sea, and the plate it points to.
const QPointF kJuanDeFucaLeaderFrom(-145.5, 41.2);
const QPointF kJuanDeFucaPlate(-128.5, 45.5);

// A leader from a small plate's name to the plate.
void drawLeader(QPainter &p, const MapWindow &map, const QPointF &from, const QPointF &to)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(style::pen(style::withAlpha(style::text(), 0.7), 1.3));
    const QPointF a = map.toPixel(from);
    const QPointF b = map.toPixel(to);
    p.drawLine(a, b);
    p.setBrush(style::withAlpha(style::text(), 0.7));
    p.setPen(Qt::NoPen);
    p.drawEllipse(b, 2.5, 2.5);
    p.restore();
}

LegendLook keyLook()
{
    LegendLook look;
    look.text.pixelSize = kReadablePixelSize;
    look.text.haloWidth = 0;
    look.text.lineSpacing = 0.95;
    look.margins = worldMargins();
    look.margins.ridgeWidth = 4;
    look.margins.trenchWidth = 2.6;
    look.margins.teethSize = 9;
    look.margins.collisionWidth = 4.2;
    look.margins.transformWidth = 3.2;
    look.sampleWidth = 40;
    look.sampleHeight = 22;
    look.rowGap = 16;
    look.padding = 10;
    look.background = style::withAlpha(Qt::white, 0.0);
    look.frame = style::withAlpha(Qt::white, 0.0);
    return look;
}

// A small key boxed in white in the bottom-left corner of a map, as far from the corner as its
// padding: for maps whose key cannot stand beside them.
void drawCornerKey(QPainter &p, const QRectF &rect, const QList<LegendEntry> &entries, double textSize,
                   const QSizeF &sample, double rowGap, double padding)
{
    LegendLook key = keyLook();
    key.text.pixelSize = textSize;
    key.sampleWidth = sample.width();
    key.sampleHeight = sample.height();
    key.rowGap = rowGap;
    key.padding = padding;
    key.background = style::withAlpha(Qt::white, 0.85);
    key.frame = style::withAlpha(style::outline(), 0.35);
    const QSizeF keySize = legendSize(entries, key);
    drawLegend(p, QPointF(padding, rect.height() - keySize.height() - padding), entries, key);
}

// A title over a key at the right of a map.
void drawKeyTitle(QPainter &p, const QRectF &column, double top, const QString &text)
{
    LabelLook look;
    look.pixelSize = 18;
    look.weight = QFont::Bold;
    look.haloWidth = 0;
    look.colour = style::text();
    drawLabelAt(p, text, QPointF(column.left() + 14, top), Qt::AlignLeft | Qt::AlignTop, look);
}

// --- the pictures ---------------------------------------------------------------------------

// Page 1 (and topic 6, page 2): the plates of the world with their names.
QImage placche2(PictureContext &ctx)
{
    const QRectF rect = worldRect(kWorldTwips);
    QImage image = newPicture(rect.size().toSize(), style::paper());
    const MapWindow map(Projection::Kind::GallStereographic, kWorld, rect);
    QPainter p(&image);
    p.setRenderHints(smooth());
    p.drawImage(0, 0, drawRegionMap(map, image.size(), ctx.data(), worldGround(majorColour)));
    drawBoundaries(p, map, ctx.plates().majorBoundaryLines(), style::pen(style::withAlpha(style::outline(), 0.85), 2.2));
    drawNames(p, map, majorNames());
    drawLeader(p, map, kJuanDeFucaLeaderFrom, kJuanDeFucaPlate);
    drawFrame(p, map);
    creditOnMap(p, map);
    return image;
}

// Page 2: about twenty plates, the seven large ones set apart from the small ones.
QImage placche4(PictureContext &ctx)
{
    const QRectF rect = worldRect(kWorldTwips);
    QImage image = newPicture(rect.size().toSize(), style::paper());
    const MapWindow map(Projection::Kind::GallStereographic, kWorld, rect);

    // Five plates that PB2002 counts and school maps often fold into their neighbours: with them
    // the map shows twenty.
    static const QStringList extra = {QStringLiteral("AT"), QStringLiteral("SU"), QStringLiteral("AM"),
                                      QStringLiteral("OK"), QStringLiteral("CL")};
    static const QStringList large = {QStringLiteral("PA"), QStringLiteral("NA"), QStringLiteral("SA"),
                                      QStringLiteral("EU"), QStringLiteral("AF"), QStringLiteral("AU"),
                                      QStringLiteral("AN")};
    const auto groupOf = [](const QString &code) { return extra.contains(code) ? code : majorPlateOf(code); };
    const QColor smallColour(0xF6, 0xD8, 0x9E);
    const auto colour = [&](const QString &code) {
        const QString g = groupOf(code);
        if (large.contains(g))
            return style::mix(style::plate(g), Qt::white, 0.15);
        // the small plates share one warm colour, told apart by their outlines
        return smallColour;
    };

    QPainter p(&image);
    p.setRenderHints(smooth());
    RegionLook ground = worldGround(colour);
    ground.seaTintOpacity = 0.15; // the small plates keep the colour of the key over the sea too
    p.drawImage(0, 0, drawRegionMap(map, image.size(), ctx.data(), ground));
    drawBoundaries(p, map, boundariesBetween(ctx.plates(), groupOf), style::pen(style::withAlpha(style::outline(), 0.85), 2.0));

    QList<PlateName> names;
    for (const PlateName &n : majorNames()) {
        if (large.contains(n.key))
            names.append(n);
    }
    drawNames(p, map, names);
    const auto small = [&](const QString &text, const QPointF &at) { drawLabel(p, text, map.toPixel(at), nameLook(false)); };
    small(QStringLiteral("NAZCA"), QPointF(-92, -19));
    small(QStringLiteral("COCOS"), QPointF(-96, 8));
    small(QStringLiteral("CARAIBICA"), QPointF(-74, 15));
    small(QStringLiteral("ARABICA"), QPointF(45, 23));
    small(QStringLiteral("FILIPPINA"), QPointF(134, 19));
    small(QStringLiteral("SCOTIA"), QPointF(-42, -57.5));
    small(QStringLiteral("SOMALA"), QPointF(54, -8));
    small(QStringLiteral("JUAN\nDE FUCA"), QPointF(-152, 39));
    drawLeader(p, map, kJuanDeFucaLeaderFrom, kJuanDeFucaPlate);
    small(QStringLiteral("ANATOLICA"), QPointF(24, 45));
    drawLeader(p, map, QPointF(26, 42.6), QPointF(33, 39));
    small(QStringLiteral("SONDA"), QPointF(108, 4));
    small(QStringLiteral("AMUR"), QPointF(124, 45));
    small(QStringLiteral("OCHOTSK"), QPointF(150, 60));
    small(QStringLiteral("CAROLINE"), QPointF(146, 1));

    // which is which, low in the Atlantic where nothing is named
    const QColor edge = style::withAlpha(style::outline(), 0.6);
    // the seven large plates are told by their large names; the key tells the small ones
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Area, smallColour, QStringLiteral("placche più piccole"), edge},
    };
    drawCornerKey(p, rect, entries, kReadablePixelSize, QSizeF(30, 16), 5, 8);

    drawFrame(p, map);
    creditOnMap(p, map);
    return image;
}

// The key of the margin symbols, in a column at the right of a map.
QRectF marginKey(QPainter &p, const QRectF &column, double top)
{
    drawKeyTitle(p, column, top, QStringLiteral("I confini tra le placche"));
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Ridge, QColor(), QStringLiteral("dorsale oceanica"), QColor()},
        {LegendEntry::Sample::Trench, QColor(), QStringLiteral("fossa oceanica\n(i triangoli sono sulla\nplacca che sta sopra)"),
         QColor()},
        {LegendEntry::Sample::Collision, QColor(), QStringLiteral("catena montuosa giovane:\nscontro tra placche"), QColor()},
        {LegendEntry::Sample::Transform, QColor(), QStringLiteral("faglia: le placche\nscorrono affiancate"), QColor()},
    };
    return drawLegend(p, QPointF(column.left(), top + 34), entries, keyLook());
}

// Page 3 (and the closing page 8): where the boundaries run, drawn by their kind.
QImage placche5(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(kWorldWithKeyTwips.width(), kWorldWithKeyTwips.height());
    QImage image = newPicture(size, style::paper());
    const QRectF mapArea = worldRect(kWorldTwips);
    const MapWindow map(Projection::Kind::GallStereographic, kWorld, mapArea);

    // the plates pale, so that the boundaries stand out
    const auto colour = [](const QString &code) { return style::mix(majorColour(code), Qt::white, 0.45); };
    RegionLook ground = worldGround(colour);
    ground.landOpacity = 0.5;
    QPainter p(&image);
    p.setRenderHints(smooth());
    p.drawImage(0, 0, drawRegionMap(map, size, ctx.data(), ground));
    drawMarginsOn(p, map, ctx.data(), worldMargins(), betweenMajorPlates);

    LabelLook feature;
    feature.pixelSize = kReadablePixelSize;
    feature.weight = QFont::Bold;
    feature.italic = true;
    feature.haloWidth = 3;
    feature.halo = style::withAlpha(Qt::white, 0.85);
    const auto name = [&](const QString &text, const QPointF &at, const QColor &c) {
        LabelLook look = feature;
        look.colour = style::mix(c, Qt::black, 0.25);
        drawLabel(p, text, map.toPixel(at), look);
    };
    {
        LabelLook look = feature;
        look.colour = style::mix(style::ridge(), Qt::black, 0.25);
        drawLabel(p, QStringLiteral("Dorsale\natlantica"), eastCopy(map, QPointF(-36, 38)), look);
    }
    name(QStringLiteral("Dorsale del Pacifico\norientale"), QPointF(-150, -24), style::ridge());
    // out in the Pacific, east of the trench line
    name(QStringLiteral("Fossa delle\nMarianne"), QPointF(174, 16), style::trench());
    name(QStringLiteral("Fossa del\nPerù-Cile"), QPointF(-97, -44), style::trench());
    // The Alps: Africa's promontory (Adria) against Europe, a boundary the major plates of PB2002
    // leave in the Mediterranean; drawn through the chain, its name just north of it.
    {
        MarginLook look = worldMargins();
        const Ring alps{{6.2, 43.9}, {7.0, 45.2}, {7.8, 46.1}, {9.5, 46.4}, {11.5, 46.8}, {13.5, 47.1}, {16.0, 47.6}};
        QList<Ring> lines{alps};
        map.paintInside(p, [&](QPainter &l) {
            const QPainterPath path = map.lines(lines);
            l.strokePath(path, style::pen(look.casing, look.collisionWidth + 2 * look.casingExtra));
            l.strokePath(path, style::pen(look.collision, look.collisionWidth));
        });
    }
    name(QStringLiteral("Alpi"), QPointF(11, 50.6), QColor(0x8A, 0x5A, 0x3A));
    name(QStringLiteral("Himalaya"), QPointF(83, 36.5), QColor(0x8A, 0x5A, 0x3A));
    name(QStringLiteral("Ande"), QPointF(-60, -12), QColor(0x8A, 0x5A, 0x3A));
    name(QStringLiteral("faglia di\nS. Andreas"), QPointF(-133, 30), style::transform());

    drawFrame(p, map);
    creditOnMap(p, map);
    const QRectF column(mapArea.right() + 6, 0, size.width() - mapArea.right() - 6, size.height());
    marginKey(p, column, 24);
    return image;
}

// Page 4: plates of oceanic crust only or almost only, of continental crust almost only, and of both.
QImage placche3(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(kWorldWithKeyTwips.width(), kWorldWithKeyTwips.height());
    QImage image = newPicture(size, style::paper());
    const QRectF mapArea = worldRect(kWorldTwips);
    const MapWindow map(Projection::Kind::GallStereographic, kWorld, mapArea);

    const QColor oceanic(0x8F, 0xB8, 0xDE);
    const QColor mixed(0xB9, 0xD9, 0x9A);
    const QColor continental(0xE8, 0xB0, 0x6E);
    static const QStringList oceanicPlates = {QStringLiteral("PA"), QStringLiteral("NZ"), QStringLiteral("CO"),
                                              QStringLiteral("JF"), QStringLiteral("PS"), QStringLiteral("SC")};
    const auto kindColour = [&](const QString &code) {
        const QString major = majorPlateOf(code);
        if (oceanicPlates.contains(major))
            return oceanic;
        if (major == QLatin1String("AR"))
            return continental;
        return mixed;
    };
    RegionLook ground = worldGround(kindColour);
    ground.seaTintOpacity = 0.25;
    // continents (continental crust) lighter and warmer on every plate
    ground.land = QColor(0xFF, 0xF4, 0xDC);
    ground.landOpacity = 0.55;
    ground.coast = style::withAlpha(style::outline(), 0.45);
    QPainter p(&image);
    p.setRenderHints(smooth());
    p.drawImage(0, 0, drawRegionMap(map, size, ctx.data(), ground));
    drawBoundaries(p, map, ctx.plates().majorBoundaryLines(), style::pen(style::withAlpha(style::outline(), 0.85), 2.2));

    for (const PlateName &n : majorNames()) {
        // the plates the page names, and the large ones
        static const QStringList named = {QStringLiteral("PA"), QStringLiteral("NZ"), QStringLiteral("AF"),
                                          QStringLiteral("SA"), QStringLiteral("AR"), QStringLiteral("NA"),
                                          QStringLiteral("EU"), QStringLiteral("AU"), QStringLiteral("AN")};
        if (named.contains(n.key))
            drawLabel(p, n.text, map.toPixel(n.at), nameLook(n.large, n.pixelSize));
    }
    drawFrame(p, map);
    creditOnMap(p, map);

    const QRectF column(mapArea.right() + 6, 0, size.width() - mapArea.right() - 6, size.height());
    drawKeyTitle(p, column, 24, QStringLiteral("Le placche sono formate da:"));
    LegendLook look = keyLook();
    look.sampleWidth = 40;
    look.sampleHeight = 28;
    const QColor edge = style::withAlpha(style::outline(), 0.6);
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Area, oceanic, QStringLiteral("solo o quasi solo\ncrosta oceanica"), edge},
        {LegendEntry::Sample::Area, mixed, QStringLiteral("crosta oceanica\ne continentale"), edge},
        {LegendEntry::Sample::Area, continental, QStringLiteral("quasi solo\ncrosta continentale"), edge},
    };
    const QRectF key = drawLegend(p, QPointF(column.left(), 24 + 34), entries, look);
    LabelLook note;
    note.pixelSize = kReadablePixelSize;
    note.haloWidth = 0;
    note.colour = style::textSoft();
    note.align = Qt::AlignLeft;
    note.lineSpacing = 0.95;
    drawLabelAt(p, QStringLiteral("Le terre emerse, più chiare,\nsono crosta continentale."),
                QPointF(column.left() + 14, key.bottom() + 16), Qt::AlignLeft | Qt::AlignTop, note);
    return image;
}

// --- margini.jpg: the three kinds of margin as sections ----------------------------------------

// The colours of every cross-section of the course, those of the animated sequences.
struct SectionColours {
    QColor sky = QColor(0xE6, 0xF0, 0xF6);
    QColor sea = sezione::colore::mare();
    QColor oceanicCrust = sezione::colore::oceanica();
    QColor continentalCrust = sezione::colore::continentale();
    QColor land = sezione::colore::verde();
    QColor volcano = sezione::colore::vulcano();
    QColor lithosphere = sezione::colore::litosfera();
    QColor mantle = sezione::colore::astenosfera();
    QColor magma = sezione::colore::magma();
    QColor arrow = sezione::colore::freccia();
};

LabelLook diagramText(double size = kReadablePixelSize, int weight = QFont::Normal)
{
    LabelLook look;
    look.pixelSize = size;
    look.weight = weight;
    look.haloWidth = 3;
    look.halo = style::withAlpha(Qt::white, 0.8);
    look.lineSpacing = 0.95;
    return look;
}

void panelTitle(QPainter &p, const QRectF &panel, const QString &title, const QString &subtitle, const QColor &accent)
{
    const QRectF band(panel.left(), panel.top(), panel.width(), 58);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRoundedRect(band, 8, 8);
    p.fillRect(QRectF(band.left(), band.bottom() - 10, band.width(), 10), accent);
    p.restore();
    LabelLook t = diagramText(20, QFont::Bold);
    t.colour = Qt::white;
    t.haloWidth = 0;
    t.letterSpacing = 1;
    drawLabel(p, title, QPointF(band.center().x(), band.top() + 20), t);
    LabelLook s = diagramText(18);
    s.colour = style::withAlpha(Qt::white, 0.92);
    s.haloWidth = 0;
    drawLabel(p, subtitle, QPointF(band.center().x(), band.top() + 43), s);
}

// Arrows showing how the plates move, drawn over the section.
void moveArrow(QPainter &p, const QPointF &from, const QPointF &to, const QColor &c, double width = 7)
{
    p.fillPath(symbols::arrow(from, to, width, width * 2.4, width * 2.8), c);
}

QImage margini(PictureContext &)
{
    // Low enough to end above GUARDO L'ANIMAZIONE, which page 6 shows under its right-hand corner.
    const QSize size = pixelsForTwips(9360, 2790);
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHints(smooth());
    const SectionColours c;
    const double gap = 18;
    const double w = (size.width() - 2 * gap) / 3.0;
    const double h = size.height();
    const double top = 70;           // under the title band
    const double H = h - top;        // height of each drawing
    const QPen edge = style::pen(style::withAlpha(style::outline(), 0.55), 1.5);

    // ---- constructive: at a ridge the plates move apart and magma rising between them makes new crust
    {
        const QRectF panel(0, 0, w, h);
        panelTitle(p, panel, QStringLiteral("COSTRUTTIVO"), QStringLiteral("le placche si allontanano"), style::ridge());
        p.save();
        p.translate(panel.left(), top);
        p.setClipRect(QRectF(0, 0, w, H));
        const double cx = w / 2;
        const double sea = 60;            // sea level
        p.fillRect(QRectF(0, 0, w, sea), c.sky);
        p.fillRect(QRectF(0, sea, w, H - sea), c.mantle);
        // the floor rises towards the ridge; the lithosphere thickens away from it
        const auto floorAt = [&](double x) { return 128 + 48 * std::pow(std::abs(x - cx) / cx, 0.8); };
        const auto baseAt = [&](double x) { return 150 + 150 * std::pow(std::abs(x - cx) / cx, 0.6); };
        QPainterPath water;
        water.moveTo(0, sea);
        water.lineTo(w, sea);
        for (double x = w; x >= 0; x -= 4)
            water.lineTo(x, floorAt(x));
        water.closeSubpath();
        p.fillPath(water, c.sea);
        for (const int side : {-1, 1}) {
            const double inner = cx + side * 9;
            const double outer = side < 0 ? 0 : w;
            QPainterPath plate, crust;
            plate.moveTo(inner, floorAt(inner) + 8);
            crust.moveTo(inner, floorAt(inner) + 8);
            for (double t = 0; t <= 1.0001; t += 0.02) {
                const double x = inner + (outer - inner) * t;
                plate.lineTo(x, floorAt(x));
                crust.lineTo(x, floorAt(x));
            }
            for (double t = 1; t >= -0.0001; t -= 0.02) {
                const double x = inner + (outer - inner) * t;
                plate.lineTo(x, baseAt(x));
                crust.lineTo(x, floorAt(x) + 15);
            }
            plate.closeSubpath();
            crust.closeSubpath();
            p.fillPath(plate, c.lithosphere);
            p.fillPath(crust, c.oceanicCrust);
            p.strokePath(plate, edge);
        }
        // magma: a chamber under the axis, feeding the crack between the plates
        QPainterPath magma;
        magma.moveTo(cx - 9, floorAt(cx - 9) + 8);
        magma.lineTo(cx + 9, floorAt(cx + 9) + 8);
        magma.cubicTo(cx + 12, 175, cx + 60, 185, cx + 55, 215);
        magma.cubicTo(cx + 50, 245, cx - 50, 245, cx - 55, 215);
        magma.cubicTo(cx - 60, 185, cx - 12, 175, cx - 9, floorAt(cx - 9) + 8);
        magma.closeSubpath();
        QRadialGradient hot(QPointF(cx, 205), 70);
        hot.setColorAt(0, c.magma);
        hot.setColorAt(1, c.magma.lighter(125));
        p.fillPath(magma, hot);
        // currents in the mantle rise under the ridge and spread out
        for (const int side : {-1, 1})
            p.fillPath(symbols::curvedArrow(QPointF(cx + side * 25, H - 10), QPointF(cx + side * 45, H - 70),
                                            QPointF(cx + side * 150, H - 62), 5, 14, 16),
                       style::withAlpha(c.magma, 0.7));
        for (const int side : {-1, 1})
            moveArrow(p, QPointF(cx + side * 80, 222), QPointF(cx + side * 185, 222), c.arrow);
        p.restore();
        const QPointF o(panel.left(), top);
        drawLabel(p, QStringLiteral("dorsale"), o + QPointF(cx, sea + 35), diagramText(18, QFont::Bold));
        drawLabel(p, QStringLiteral("crosta oceanica"), o + QPointF(85, sea + 62), diagramText());
        drawLabel(p, QStringLiteral("magma"), o + QPointF(cx, 208), diagramText(18, QFont::Bold));
        drawLabel(p, QStringLiteral("qui nasce\nnuova crosta"), o + QPointF(cx + 118, sea + 38), diagramText(18));
        drawLabel(p, QStringLiteral("mantello"), o + QPointF(60, H - 28), diagramText());
    }
    // ---- destructive: an oceanic plate sinks under a continent
    {
        const QRectF panel(w + gap, 0, w, h);
        panelTitle(p, panel, QStringLiteral("DISTRUTTIVO"), QStringLiteral("le placche si avvicinano"), style::trench());
        p.save();
        p.translate(panel.left(), top);
        p.setClipRect(QRectF(0, 0, w, H));
        const double sea = 70;
        const double trench = w * 0.42;
        p.fillRect(QRectF(0, 0, w, sea), c.sky);
        p.fillRect(QRectF(0, sea, w, H - sea), c.mantle);
        // top of the sinking plate: flat, then bending down under the continent
        QPolygonF slabTop;
        for (double x = -5; x <= trench - 40; x += 5)
            slabTop.append(QPointF(x, 140 + 0.04 * x));
        for (double t = 0; t <= 1.0001; t += 0.02) {
            const double x = trench - 40 + t * (w - trench + 60);
            slabTop.append(QPointF(x, 140 + 0.04 * (trench - 40) + 30 * t + 230 * t * t));
        }
        const double thick = 58;
        const auto offsetBelow = [&slabTop](double d) {
            QPolygonF out;
            for (qsizetype i = 0; i < slabTop.size(); ++i) {
                const QPointF a = slabTop.at(std::max<qsizetype>(0, i - 1));
                const QPointF b = slabTop.at(std::min(slabTop.size() - 1, i + 1));
                QPointF dir = b - a;
                dir /= std::hypot(dir.x(), dir.y());
                out.append(slabTop.at(i) + QPointF(-dir.y(), dir.x()) * d);
            }
            return out;
        };
        const QPolygonF slabBase = offsetBelow(thick);
        const QPolygonF crustBase = offsetBelow(15);
        const auto band = [](const QPolygonF &upper, const QPolygonF &lower) {
            QPainterPath path;
            path.addPolygon(upper);
            for (qsizetype i = lower.size() - 1; i >= 0; --i)
                path.lineTo(lower.at(i));
            path.closeSubpath();
            return path;
        };
        // sea over the oceanic plate, down into the trench
        QPainterPath water;
        water.moveTo(0, sea);
        water.lineTo(trench + 40, sea);
        water.lineTo(trench + 8, symbols::pointAt(slabTop, 0).y());
        for (qsizetype i = slabTop.size() - 1; i >= 0; --i) {
            if (slabTop.at(i).x() <= trench + 8)
                water.lineTo(slabTop.at(i));
        }
        water.closeSubpath();
        // the continent: thick, light crust whose edge rests on the sinking plate
        const auto slabY = [&slabTop](double x) {
            for (qsizetype i = 1; i < slabTop.size(); ++i) {
                if (slabTop.at(i).x() >= x) {
                    const QPointF a = slabTop.at(i - 1), b = slabTop.at(i);
                    return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
                }
            }
            return slabTop.last().y();
        };
        const double volcano = trench + 150;
        QPainterPath continent;
        continent.moveTo(trench + 6, slabY(trench + 6));
        continent.cubicTo(trench + 30, 115, trench + 50, sea + 2, trench + 75, sea - 8);
        continent.lineTo(volcano - 42, sea - 14);
        continent.lineTo(volcano - 8, sea - 52);
        continent.lineTo(volcano + 8, sea - 52);
        continent.lineTo(volcano + 42, sea - 16);
        continent.cubicTo(volcano + 90, sea - 20, w - 40, sea - 12, w + 5, sea - 14);
        continent.lineTo(w + 5, 190);
        for (double x = w + 5; x >= trench + 6; x -= 5)
            continent.lineTo(x, std::min(190.0, slabY(x)));
        continent.closeSubpath();
        p.fillPath(water, c.sea);
        p.fillPath(band(slabTop, slabBase), c.lithosphere);
        p.fillPath(band(slabTop, crustBase), c.oceanicCrust);
        {
            QPainterPath outline = band(slabTop, slabBase);
            p.strokePath(outline, edge);
        }
        p.fillPath(continent, c.continentalCrust);
        // the volcano's cone, and the land surface on either side of it
        QPainterPath cone;
        cone.moveTo(volcano - 42, sea - 14);
        cone.lineTo(volcano - 8, sea - 52);
        cone.lineTo(volcano + 8, sea - 52);
        cone.lineTo(volcano + 42, sea - 16);
        cone.closeSubpath();
        p.fillPath(cone, c.volcano);
        QPainterPath land;
        land.moveTo(trench + 64, sea - 5);
        land.cubicTo(trench + 68, sea - 7, trench + 72, sea - 8, trench + 75, sea - 8);
        land.lineTo(volcano - 42, sea - 14);
        land.moveTo(volcano + 42, sea - 16);
        land.cubicTo(volcano + 90, sea - 20, w - 40, sea - 12, w + 5, sea - 14);
        p.strokePath(land, style::pen(c.land, 3));
        p.strokePath(continent, edge);
        // magma from the sinking plate up to the volcano
        const QPointF source(volcano + 20, slabY(volcano + 20) - 6);
        QPainterPath rise;
        rise.moveTo(source);
        rise.cubicTo(source + QPointF(-10, -50), QPointF(volcano - 4, 120), QPointF(volcano, sea - 50));
        p.strokePath(rise, style::pen(c.magma, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(c.magma);
        p.drawEllipse(source, 17, 11);
        p.setBrush(style::withAlpha(style::outline(), 0.22));
        p.drawEllipse(QPointF(volcano + 4, sea - 60), 14, 8);
        // movements
        moveArrow(p, QPointF(35, 170), QPointF(135, 174), c.arrow);
        const QPointF a = symbols::pointAt(slabTop, symbols::length(slabTop) * 0.70);
        const QPointF b = symbols::pointAt(slabTop, symbols::length(slabTop) * 0.84);
        moveArrow(p, a + QPointF(-24, 8), b + QPointF(-24, 8), c.arrow, 6);
        p.restore();
        const QPointF o(panel.left(), top);
        drawLabel(p, QStringLiteral("fossa"), o + QPointF(trench - 4, sea + 22), diagramText(18, QFont::Bold));
        drawLabel(p, QStringLiteral("vulcano"), o + QPointF(volcano - 75, sea - 40), diagramText());
        drawLabel(p, QStringLiteral("crosta\ncontinentale"), o + QPointF(w - 62, 120), diagramText());
        drawLabel(p, QStringLiteral("crosta oceanica"), o + QPointF(75, 118), diagramText());
        drawLabel(p, QStringLiteral("subduzione"), o + QPointF(trench - 10, H - 95), diagramText(18, QFont::Bold));
        drawLabel(p, QStringLiteral("magma"), o + QPointF(volcano - 50, 205), diagramText());
    }
    // ---- conservative: two plates slide past each other, seen from above
    {
        const QRectF panel(2 * (w + gap), 0, w, h);
        panelTitle(p, panel, QStringLiteral("CONSERVATIVO"), QStringLiteral("le placche scorrono affiancate"),
                   style::transform());
        p.save();
        p.translate(panel.left(), top);
        p.setClipRect(QRectF(0, 0, w, H));
        const double fx = w / 2;
        const QColor leftPlate(0xDE, 0xD3, 0xAA);
        const QColor rightPlate(0xC9, 0xDB, 0xB1);
        p.fillRect(QRectF(0, 0, fx, H), leftPlate);
        p.fillRect(QRectF(fx, 0, w - fx, H), rightPlate);
        // A river and a road crossed the fault in straight lines: the left plate has since moved up
        // the page and the right one down, so their pieces no longer meet.
        const double shift = 60;
        QPainterPath riverLeft;
        riverLeft.moveTo(0, 56);
        riverLeft.cubicTo(70, 40, fx - 90, 100 - shift / 2, fx, 100 - shift / 2 + 16);
        QPainterPath riverRight;
        riverRight.moveTo(fx, 100 + shift / 2 + 16);
        riverRight.cubicTo(fx + 90, 100 + shift / 2 + 26, w - 70, 128 + shift / 2, w, 118 + shift / 2);
        const QPen river = style::pen(QColor(0x6E, 0xA8, 0xD0), 9);
        p.strokePath(riverLeft, river);
        p.strokePath(riverRight, river);
        // the road: grey, with its white centre line
        const double roadY = 160;
        QPen road = style::pen(QColor(0x86, 0x80, 0x76), 12);
        road.setCapStyle(Qt::FlatCap);
        QPen middle = style::pen(Qt::white, 2);
        middle.setCapStyle(Qt::FlatCap);
        middle.setDashPattern({4, 3});
        for (const QLineF &piece : {QLineF(0, roadY - shift / 2, fx, roadY - shift / 2), QLineF(fx, roadY + shift / 2, w, roadY + shift / 2)}) {
            p.setPen(road);
            p.drawLine(piece);
            p.setPen(middle);
            p.drawLine(piece);
        }
        p.setPen(style::pen(style::transform().darker(135), 4.5));
        p.drawLine(QPointF(fx, 0), QPointF(fx, H));
        p.restore();
        const QPointF o(panel.left(), top);
        moveArrow(p, o + QPointF(fx - 48, 222), o + QPointF(fx - 48, 152), c.arrow);
        moveArrow(p, o + QPointF(fx + 48, 62), o + QPointF(fx + 48, 132), c.arrow);
        drawLabel(p, QStringLiteral("faglia"), o + QPointF(fx, 18), diagramText(18, QFont::Bold));
        drawLabel(p, QStringLiteral("strada"), o + QPointF(58, roadY - shift / 2 - 22), diagramText(18));
        drawLabel(p, QStringLiteral("fiume"), o + QPointF(w - 48, 118 + shift / 2 - 26), diagramText(18));
        drawLabel(p, QStringLiteral("il fiume e la strada, tagliati\ndalla faglia, si sono spostati"), o + QPointF(fx, H - 26),
                  diagramText(18));
        drawLabel(p, QStringLiteral("placca A"), o + QPointF(64, 188), diagramText(18, QFont::Bold));
        drawLabel(p, QStringLiteral("placca B"), o + QPointF(w - 64, 230), diagramText(18, QFont::Bold));
        drawLabel(p, QStringLiteral("visto dall'alto"), o + QPointF(w - 68, 18), diagramText(18));
    }
    return image;
}

// Page 7: the map under the five hotspots. No names where the click is the point; the margins are
// drawn as on page 3, with a small key.
QImage placuno(PictureContext &ctx)
{
    const QRectF rect = worldRect(kHotspotTwips);
    QImage image = newPicture(rect.size().toSize(), style::paper());
    const MapWindow map(Projection::Kind::GallStereographic, kWorldHotspots, rect);
    const auto colour = [](const QString &code) { return style::mix(majorColour(code), Qt::white, 0.2); };
    QPainter p(&image);
    p.setRenderHints(smooth());
    p.drawImage(0, 0, drawRegionMap(map, image.size(), ctx.data(), worldGround(colour)));
    MarginLook look = worldMargins();
    look.ridgeWidth = 3.6;
    look.teethSize = 8;
    look.teethSpacing = 17;
    drawMarginsOn(p, map, ctx.data(), look, betweenMajorPlates);
    drawFrame(p, map);

    // the key in the far south, where no hotspot stands
    const QList<LegendEntry> entries = {
        {LegendEntry::Sample::Ridge, QColor(), QStringLiteral("dorsale"), QColor()},
        {LegendEntry::Sample::Trench, QColor(), QStringLiteral("fossa"), QColor()},
        {LegendEntry::Sample::Collision, QColor(), QStringLiteral("scontro tra placche"), QColor()},
        {LegendEntry::Sample::Transform, QColor(), QStringLiteral("faglia"), QColor()},
    };
    drawCornerKey(p, rect, entries, kReadablePixelSize, QSizeF(36, 18), 6, 10);
    creditOnMap(p, map);
    return image;
}

} // namespace

void addLezione3(QList<Picture> *pictures)
{
    pictures->append({QStringLiteral("altre/placche2.jpg"),
                      QStringLiteral("argomento 3, pagina 1: le placche della Terra con i loro nomi"), placche2});
    pictures->append({QStringLiteral("altre/placche4.jpg"),
                      QStringLiteral("argomento 3, pagina 2: una ventina di placche, le sette grandi e le piccole"),
                      placche4});
    pictures->append({QStringLiteral("altre/placche5.jpg"),
                      QStringLiteral("argomento 3, pagine 3 e 8: i confini lungo dorsali, fosse e catene giovani"),
                      placche5});
    pictures->append({QStringLiteral("altre/placche3.jpg"),
                      QStringLiteral("argomento 3, pagina 4: placche di crosta oceanica, continentale o di entrambe"),
                      placche3});
    pictures->append({QStringLiteral("altre/margini.jpg"),
                      QStringLiteral("argomento 3, pagine 5 e 6: margini costruttivi, distruttivi e conservativi"),
                      margini});
    pictures->append({QStringLiteral("altre/placuno.jpg"),
                      QStringLiteral("argomento 3, pagina 7: la carta sotto le cinque finestrelle"), placuno});
}

} // namespace disegni
