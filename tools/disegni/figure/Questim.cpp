// Pictures of the folder questim/: the six pictures of the labelling test. Ten boxes stand round the
// edges of each picture; the part that belongs in a box lies near it, and a thin leader runs from the
// part to the edge under the box. No names are written: the pupil supplies them.

#include "Catalogue.h"
#include "Globe.h"
#include "Labels.h"
#include "MapCanvas.h"
#include "Output.h"
#include "PlateMap.h"
#include "Sezione.h"
#include "Style.h"

#include <QFile>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QTextStream>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>

namespace disegni {

namespace {

// The picture fills the design rectangle 5175 x 4095 twips of the test screen.
QSize dimensione()
{
    return pixelsForTwips(5175, 4095);
}

// Where the leader of box i meets the edge of the picture: boxes 0-2 on the right edge from the bottom
// up, 3-4 on the top edge, 5-7 on the left edge from the top down, 8-9 on the bottom edge.
QPointF bordo(int casella)
{
    // The boxes' centres in twips, less the picture's corner (840, 720), at the picture's scale.
    static const QPointF centri[10] = {{6247.5, 4087.5}, {6247.5, 2767.5}, {6247.5, 1327.5}, {4507.5, 547.5},
                                       {2107.5, 547.5},  {607.5, 1327.5},  {607.5, 2767.5},  {607.5, 4087.5},
                                       {2107.5, 4987.5}, {4627.5, 4987.5}};
    const QSize s = dimensione();
    const double k = s.width() / 5175.0;
    const QPointF c((centri[casella].x() - 840) * k, (centri[casella].y() - 720) * k);
    if (casella <= 2)
        return {double(s.width()), c.y()};
    if (casella <= 4)
        return {c.x(), 0};
    if (casella <= 7)
        return {0, c.y()};
    return {c.x(), double(s.height())};
}

// The rectangle of box i in the picture's pixels: the screen places the ten boxes over the picture's
// edges, so nothing the picture writes may stand under them.
QRectF casella(int i)
{
    static const QRectF caselle[10] = {{6000, 3840, 495, 495}, {6000, 2520, 495, 495}, {6000, 1080, 495, 495},
                                       {4200, 360, 615, 375},  {1800, 360, 615, 375},  {360, 1080, 495, 495},
                                       {360, 2520, 495, 495},  {360, 3840, 495, 495},  {1800, 4800, 615, 375},
                                       {4320, 4800, 615, 375}};
    const double k = dimensione().width() / 5175.0;
    const QRectF &c = caselle[i];
    return QRectF((c.x() - 840) * k, (c.y() - 720) * k, c.width() * k, c.height() * k);
}

// The credit of a map on the bottom edge between boxes 8 and 9, clear of them and of their leaders.
void creditoTraLeCaselle(QPainter &p, const QString &testo)
{
    CreditLook credit;
    credit.pixelSize = 10;
    credit.opacity = 0.8;
    credit.corner = Qt::BottomLeftCorner;
    const QRectF sotto8 = casella(8), sotto9 = casella(9);
    drawCredit(p, QRectF(sotto8.right() + 4, 0, sotto9.left() - sotto8.right() - 8, dimensione().height()), testo, credit);
}

QPointF polare(const QPointF &centro, double raggio, double gradi)
{
    const double a = qDegreesToRadians(gradi);
    return centro + QPointF(raggio * std::cos(a), -raggio * std::sin(a));
}

struct Richiamo {
    int casella;
    QPointF parte;
};

// Thin leaders from each part to the edge under its box, over a faint light halo so that they read on
// any colour, with a dot on the part.
void richiami(QPainter &p, const QList<Richiamo> &lista)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor scuro(0x23, 0x2B, 0x33);
    for (const Richiamo &r : lista) {
        const QLineF linea(r.parte, bordo(r.casella));
        p.setPen(style::pen(style::withAlpha(Qt::white, 0.75), 5.0));
        p.drawLine(linea);
    }
    for (const Richiamo &r : lista) {
        const QLineF linea(r.parte, bordo(r.casella));
        p.setPen(style::pen(scuro, 1.8));
        p.drawLine(linea);
        p.setPen(style::pen(Qt::white, 1.6));
        p.setBrush(scuro);
        p.drawEllipse(r.parte, 4.2, 4.2);
    }
    p.restore();
    // Crossing leaders would make the picture ambiguous: say so while drawing.
    for (qsizetype i = 0; i < lista.size(); ++i)
        for (qsizetype j = i + 1; j < lista.size(); ++j) {
            const QLineF a(lista[i].parte, bordo(lista[i].casella));
            const QLineF b(lista[j].parte, bordo(lista[j].casella));
            if (a.intersects(b) == QLineF::BoundedIntersection)
                QTextStream(stderr) << "attenzione: si incrociano i richiami delle caselle " << lista[i].casella
                                    << " e " << lista[j].casella << Qt::endl;
        }
}

QImage tela(const QColor &fondo)
{
    return newPicture(dimensione(), fondo);
}

// --- 1. La struttura della Terra: a globe with a wedge cut away ---

QImage terra1(PictureContext &ctx)
{
    const QSize size = dimensione();
    QImage image = tela(QColor(0xF3, 0xF6, 0xF7));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF c(330, 286);
    const double R = 222;

    // the atmosphere: a pale shell round the globe
    QRadialGradient aria(c, R * 1.1);
    aria.setColorAt(0.0, QColor(0xA9, 0xD2, 0xEC));
    aria.setColorAt(0.93, QColor(0xB4, 0xD9, 0xF0));
    aria.setColorAt(1.0, QColor(0xDD, 0xEC, 0xF5));
    p.setPen(style::pen(QColor(0x9C, 0xC6, 0xE2), 1.2));
    p.setBrush(aria);
    p.drawEllipse(c, R * 1.1, R * 1.1);

    // the surface: seas, lands, and Italy picked out
    const QSize textureSize(3072, 1536);
    const MapCanvas flat(Projection(Projection::Kind::Equirectangular, 0), QRectF(QPointF(0, 0), textureSize));
    QImage texture = newPicture(textureSize, style::ocean());
    {
        QPainter t(&texture);
        t.setRenderHint(QPainter::Antialiasing);
        t.fillPath(flat.areas(allPolygons(ctx.data().land(GeoData::Detail::Fine))), QColor(0xE6, 0xD8, 0xB4));
        for (const GeoFeature &f : ctx.data().countries(GeoData::Detail::Fine))
            if (f.text(QStringLiteral("name")) == QLatin1String("Italy"))
                t.fillPath(flat.areas(f.polygons), QColor(0x4C, 0x9A, 0x3E));
        t.strokePath(flat.edges(allPolygons(ctx.data().land(GeoData::Detail::Fine))),
                     style::pen(style::withAlpha(style::outline(), 0.45), 2.0));
    }
    const Globe globe(40, 22, c, R);
    Globe::Light light;
    light.ambient = 0.85;
    light.highlight = 0.08;
    light.rim = 0.08;
    p.drawImage(0, 0, globe.render(texture, size, light));

    // the wedge: the layers seen where the globe is cut open
    const double da = -66, a = 112;  // from, to (degrees, anticlockwise from east)
    QPainterPath spicchio;
    spicchio.moveTo(c);
    spicchio.arcTo(QRectF(c.x() - R, c.y() - R, 2 * R, 2 * R), da, a - da);
    spicchio.closeSubpath();
    struct Strato {
        double raggio;
        QColor colore;
    };
    const Strato strati[] = {
        {1.00, QColor(0x9C, 0x7E, 0x62)},  // crust: far thinner than the mantle, still wide enough to see
        {0.962, QColor(0xEE, 0xAE, 0x72)}, // upper mantle
        {0.77, QColor(0xDD, 0x82, 0x57)},  // lower mantle
        {0.47, QColor(0xF3, 0xC4, 0x52)},  // liquid outer core
        {0.21, QColor(0xFA, 0xE7, 0x98)},  // solid inner core
    };
    p.save();
    p.setClipPath(spicchio);
    for (const Strato &s : strati) {
        p.setBrush(s.colore);
        p.setPen(style::pen(style::withAlpha(style::outline(), 0.55), 1.6));
        p.drawEllipse(c, R * s.raggio, R * s.raggio);
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.8), 2.0));
    p.drawPath(spicchio);
    p.drawEllipse(c, R, R);

    const auto luogo = [&globe](double lon, double lat) { return globe.toPixel(lon, lat).value_or(QPointF()); };
    richiami(p, {
                    {0, polare(c, 0.07 * R, -25)},          // solid inner core
                    {1, polare(c, 0.34 * R, 4)},            // liquid outer core
                    {2, polare(c, 0.77 * R, 30)},           // a boundary between layers
                    {3, polare(c, 0.62 * R, 64)},           // lower mantle
                    {4, polare(c, 0.85 * R, 107)},          // upper mantle
                    {5, polare(c, 1.06 * R, 141)},          // atmosphere
                    {6, luogo(12.6, 42.6)},                 // Italy
                    {7, luogo(21, 4)},                      // a continent: Africa
                    {8, luogo(-12, -18)},                   // the ocean
                    {9, polare(c, 0.981 * R, -60)},         // crust
                });
    // the layers' thicknesses are not to scale: the crust would be thinner than a line
    {
        LabelLook nota;
        nota.pixelSize = kReadablePixelSize;
        nota.colour = style::textSoft();
        nota.haloWidth = 0;
        drawLabelAt(p, QStringLiteral("non in scala"), QPointF(size.width() - 8, size.height() - 6), Qt::AlignRight | Qt::AlignBottom, nota);
    }
    CreditLook credit;
    credit.pixelSize = 10;
    credit.opacity = 0.7;
    credit.corner = Qt::TopRightCorner;
    drawCredit(p, QRectF(QPointF(0, 0), size), QStringLiteral("Dati: Natural Earth"), credit);
    return image;
}

// --- the world maps of topics 3 and 5 ---

// The boundary steps of PB2002, each a short segment with its class: OSR oceanic ridge, CRB continental
// rift, SUB subduction, OTF/CTF transform, OCB/CCB convergent without subduction.
struct Passo {
    QString classe;
    QPointF da;
    QPointF a;
};

QList<Passo> passi(GeoData &data)
{
    QFile file(data.folder() + QStringLiteral("/PB2002_steps.csv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw GeoDataError("PB2002_steps.csv: " + file.errorString().toStdString());
    QList<Passo> out;
    QTextStream in(&file);
    in.readLine();  // the heading
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(','));
        if (f.size() < 16)
            continue;
        out.append({f[15], QPointF(f[3].toDouble(), f[4].toDouble()), QPointF(f[5].toDouble(), f[6].toDouble())});
    }
    return out;
}

// The steps of the given classes as lines, consecutive steps joined.
QList<Ring> lineeDi(const QList<Passo> &tutti, const QStringList &classi)
{
    QList<Ring> linee;
    Ring corrente;
    for (const Passo &s : tutti) {
        if (!classi.contains(s.classe)) {
            if (corrente.size() > 1)
                linee.append(corrente);
            corrente.clear();
            continue;
        }
        if (corrente.isEmpty() || QLineF(corrente.last(), s.da).length() > 1e-6) {
            if (corrente.size() > 1)
                linee.append(corrente);
            corrente = Ring{s.da};
        }
        corrente.append(s.a);
    }
    if (corrente.size() > 1)
        linee.append(corrente);
    return linee;
}

// The point of the given classes nearest to a place, to put a leader exactly on a boundary.
QPointF suConfine(const QList<Passo> &tutti, const QStringList &classi, const QPointF &vicino)
{
    QPointF meglio = vicino;
    double distanza = 1e18;
    for (const Passo &s : tutti) {
        if (!classi.contains(s.classe))
            continue;
        const QPointF m = (s.da + s.a) / 2;
        const double d = QLineF(m, vicino).length();
        if (d < distanza) {
            distanza = d;
            meglio = m;
        }
    }
    return meglio;
}

// `gradi` degrees of longitude across the picture, on a Miller map centred on `centrale`.
MapCanvas mappa(double centrale, double gradi)
{
    const QSize s = dimensione();
    const double larghezza = s.width() * 360.0 / gradi;
    const double altezza = s.height() * 1.01;
    return MapCanvas(Projection(Projection::Kind::Miller, centrale),
                     QRectF((s.width() - larghezza) / 2, (s.height() - altezza) / 2, larghezza, altezza),
                     MapCanvas::Fit::Contain);
}

void disegnaConfini(QPainter &p, const MapCanvas &canvas, const QList<Passo> &tutti)
{
    p.setBrush(Qt::NoBrush);
    p.strokePath(canvas.lines(lineeDi(tutti, {QStringLiteral("OTF"), QStringLiteral("CTF"), QStringLiteral("OCB"),
                                             QStringLiteral("CCB")})),
                 style::pen(style::withAlpha(style::outline(), 0.7), 1.6));
    p.strokePath(canvas.lines(lineeDi(tutti, {QStringLiteral("SUB")})), style::pen(style::trench(), 3.2));
    p.strokePath(canvas.lines(lineeDi(tutti, {QStringLiteral("OSR")})), style::pen(style::ridge(), 3.0));
    QPen rift = style::pen(style::ridge(), 2.6);
    rift.setDashPattern({2.0, 1.6});
    p.strokePath(canvas.lines(lineeDi(tutti, {QStringLiteral("CRB")})), rift);
}

QImage mondo(PictureContext &ctx, const MapCanvas &canvas, const std::function<QColor(const QString &)> &colore)
{
    const QSize size = dimensione();
    QImage image = tela(style::oceanShelf());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    PlateMapLook look;
    look.plateColour = colore;
    look.land = QColor(0xFF, 0xFB, 0xF0);
    look.landOpacity = 0.35;
    look.seaTint = style::ocean();
    look.seaTintOpacity = 0.42;
    look.coast = style::withAlpha(style::outline(), 0.35);
    look.coastWidth = 1.2;
    look.graticule = style::withAlpha(Qt::white, 0.6);
    look.graticuleWidth = 1.0;
    look.boundaryWidth = 0;
    p.drawImage(0, 0, drawPlateMap(canvas, size, ctx.data(), ctx.plates(), look));
    return image;
}

// --- 3. Le placche ---

QImage plac(PictureContext &ctx)
{
    const MapCanvas canvas = mappa(170, 330);
    QImage image = mondo(ctx, canvas, [](const QString &key) { return style::plate(key); });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QList<Passo> tutti = passi(ctx.data());
    disegnaConfini(p, canvas, tutti);
    const auto luogo = [&canvas](const QPointF &geo) { return canvas.toPixel(geo.x(), geo.y()); };
    const QStringList dorsale{QStringLiteral("OSR")};
    const QStringList fossa{QStringLiteral("SUB")};
    richiami(p, {
                    {0, luogo({-88, -27})},                                   // only oceanic crust: Nazca
                    {1, luogo(suConfine(tutti, dorsale, {-27, 1}))},          // along a ridge: mid-Atlantic
                    {2, luogo({-45, 63})},                                    // both crusts: North America
                    {3, luogo(suConfine(tutti, fossa, {-160, 51}))},          // along a trench: Aleutians
                    {4, luogo({72, 58})},                                     // Eurasian
                    {5, luogo({46, 23})},                                     // only continental crust: Arabian
                    {6, luogo({13, 8})},                                      // African
                    {7, luogo({82, -22})},                                    // Indo-Australian
                    {8, luogo({100, -76})},                                   // Antarctic
                    {9, luogo({-138, -44})},                                  // Pacific
                });
    creditoTraLeCaselle(p, mapCredit());
    return image;
}

// --- 5. I fenomeni attuali ---

QImage terrafis(PictureContext &ctx)
{
    const MapCanvas canvas = mappa(15, 300);
    QImage image = mondo(ctx, canvas, [](const QString &key) {
        return style::mix(style::plate(key), Qt::white, 0.45);
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The mountain systems born where plates collide, as soft brown areas.
    QList<GeoPolygon> catene;
    for (const GeoFeature &f : ctx.data().orogens()) {
        const QString nome = f.text(QStringLiteral("Name"));
        if (nome == QLatin1String("Alps") || nome == QLatin1String("Persia-Tibet-Burma"))
            catene.append(f.polygons);
    }
    p.fillPath(canvas.areas(catene), style::withAlpha(QColor(0xA8, 0x6A, 0x3C), 0.45));
    p.strokePath(canvas.areas(catene), style::pen(style::withAlpha(QColor(0x8A, 0x55, 0x30), 0.7), 1.2));
    // Nazca and the Arabian plate are named: their outlines stand out.
    for (const QString &key : {QStringLiteral("NZ"), QStringLiteral("AR")}) {
        const QPainterPath area = canvas.areas(ctx.plates().polygonsOf(key));
        p.fillPath(area, style::withAlpha(style::plate(key), 0.9));
    }
    const QList<Passo> tutti = passi(ctx.data());
    disegnaConfini(p, canvas, tutti);
    // Active volcanoes mark the island arcs and the other fire belts.
    for (const GeoFeature &f : ctx.data().geoJson(QStringLiteral("volcanoes.json"))) {
        for (const QPointF &v : f.points) {
            const QPointF px = canvas.toPixel(v.x(), v.y());
            p.setPen(Qt::NoPen);
            p.setBrush(style::withAlpha(QColor(0xC0, 0x30, 0x20), 0.55));
            p.drawEllipse(px, 1.6, 1.6);
        }
    }
    const auto luogo = [&canvas](const QPointF &geo) { return canvas.toPixel(geo.x(), geo.y()); };
    const QStringList rift{QStringLiteral("CRB")};
    const QStringList dorsale{QStringLiteral("OSR")};
    const QStringList trasforme{QStringLiteral("CTF"), QStringLiteral("OTF")};
    const QStringList fossa{QStringLiteral("SUB")};
    richiami(p, {
                    {0, luogo(suConfine(tutti, rift, {40, 8}))},              // African rifts
                    {1, luogo({84, 29.5})},                                   // Himalayan system
                    {2, luogo({150, 46})},                                    // island arc: the Kurils
                    {3, luogo({47, 23})},                                     // Arabian plate
                    {4, luogo({10, 46.5})},                                   // Alpine system
                    {5, luogo(suConfine(tutti, trasforme, {-121, 36.5}))},    // San Andreas fault
                    {6, luogo(suConfine(tutti, dorsale, {-46, 15}))},         // mid-Atlantic ridge
                    {7, luogo(suConfine(tutti, fossa, {-72, -20}))},          // trench: Peru-Chile
                    {8, luogo({-86, -38})},                                   // Nazca plate
                    {9, luogo(suConfine(tutti, dorsale, {100, -47}))},        // another ridge: south-east Indian
                });
    creditoTraLeCaselle(p, mapCredit() + QStringLiteral(";\nNOAA NCEI"));
    return image;
}

// --- the blocks of topics 2, 4 and 6: a cross-section in front, the surface above it ---

// The sections speak the colour language of the animated sequences, which the course's tests ask
// about; the faces seen from above keep the calm colours of a landscape.
const QColor kAcqua = sezione::colore::mare();
const QColor kAcquaProfonda(0x7E, 0xB2, 0xD4);
const QColor kCrostaOceanica = sezione::colore::oceanica();
const QColor kCrostaContinentale = sezione::colore::continentale();
const QColor kLitosfera = sezione::colore::litosfera();
const QColor kMantello = sezione::colore::astenosfera();
const QColor kMagma = sezione::colore::magma();
const QColor kSedimenti(0xE9, 0xD5, 0x92);
const QColor kTerra(0xC9, 0xD9, 0xA6);
const QColor kCielo(0xE4, 0xF0, 0xF7);

QPainterPath poligono(const QList<QPointF> &punti)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QVector<QPointF>(punti.begin(), punti.end())));
    path.closeSubpath();
    return path;
}

QList<QPointF> unisci(QList<QPointF> a, const QList<QPointF> &b, bool rovescia = false)
{
    if (rovescia)
        for (qsizetype i = b.size() - 1; i >= 0; --i)
            a.append(b[i]);
    else
        a.append(b);
    return a;
}

// The top face: a point `u` along the front edge (at height `cima`) moved back by `v` (0 front, 1 back).
struct Faccia {
    double cima;
    QPointF fuga;
    QPointF at(double u, double v) const { return QPointF(u + v * fuga.x(), cima + v * fuga.y()); }
    // The strip of the surface between u0 and u1 on the front edge, from depth v0 to v1.
    QPainterPath striscia(double u0, double u1, double v0 = 0, double v1 = 1) const
    {
        return poligono({at(u0, v0), at(u1, v0), at(u1, v1), at(u0, v1)});
    }
};

// A mountain range running back along the top face at `u`: peaks of varied size in two staggered rows,
// each with a lit side and a shaded side, drawn from the back so that nearer peaks stand in front.
void catena(QPainter &p, const Faccia &top, double u, double largo, double v0, double v1, double alto)
{
    const QColor roccia(0xB4, 0x97, 0x6E);
    const int picchi = 9;
    for (int i = 0; i < picchi; ++i) {
        for (int fila = 0; fila < 2; ++fila) {
            const double v = v1 - (v1 - v0) * (i + 0.5 * fila) / picchi;
            if (v < v0)
                continue;
            const double k = 0.75 + 0.25 * std::sin(i * 2.3 + fila * 1.7);
            const double l = largo * (fila ? 0.42 : 0.55) * k;
            const double h = alto * (fila ? 0.75 : 1.0) * k;
            const QPointF base = top.at(u + (fila ? largo * 0.28 : -largo * 0.1), v);
            const QPointF cima = base + QPointF(l * 0.06, -h);
            const QPointF spalla1 = base + QPointF(-l * 0.3, -h * 0.45);
            const QPointF spalla2 = base + QPointF(l * 0.32, -h * 0.5);
            const QPointF sinistra = base + QPointF(-l / 2, 0);
            const QPointF destra = base + QPointF(l / 2, 0);
            const QPointF mezzo = base + QPointF(l * 0.1, 0);
            p.setPen(Qt::NoPen);
            p.setBrush(style::mix(roccia, Qt::white, 0.24));
            p.drawPath(poligono({sinistra, spalla1, cima, mezzo}));
            p.setBrush(style::mix(roccia, Qt::black, 0.14));
            p.drawPath(poligono({mezzo, cima, spalla2, destra}));
            // a little snow on the higher peaks
            if (k > 0.85) {
                p.setBrush(QColor(0xF6, 0xF8, 0xFA));
                p.drawPath(poligono({cima, cima + QPointF(-h * 0.14, h * 0.2), cima + QPointF(h * 0.02, h * 0.14),
                                     cima + QPointF(h * 0.15, h * 0.2)}));
            }
            p.setBrush(Qt::NoBrush);
            p.setPen(style::pen(style::withAlpha(style::outline(), 0.5), 1.1));
            p.drawPath(poligono({sinistra, spalla1, cima, spalla2, destra}));
        }
    }
}

void freccia(QPainter &p, const QPointF &da, const QPointF &a, const QColor &colore, double spessore)
{
    const QLineF l(da, a);
    const double punta = spessore * 3.2;
    const QLineF indietro(a, da);
    QLineF ala1 = indietro;
    ala1.setLength(punta);
    ala1.setAngle(indietro.angle() + 28);
    QLineF ala2 = indietro;
    ala2.setLength(punta);
    ala2.setAngle(indietro.angle() - 28);
    p.setPen(style::pen(colore, spessore));
    QLineF corpo = l;
    corpo.setLength(l.length() - punta * 0.6);
    p.drawLine(corpo);
    p.setPen(Qt::NoPen);
    p.setBrush(colore);
    p.drawPath(poligono({a, ala1.p2(), ala2.p2()}));
}

void contorno(QPainter &p, const QPainterPath &path, double alfa = 0.55)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::withAlpha(style::outline(), alfa), 1.4));
    p.drawPath(path);
}

// Small dots that say "loose material" on a surface.
void puntini(QPainter &p, const QPainterPath &area, const QColor &colore, double passo)
{
    p.save();
    p.setClipPath(area);
    p.setPen(Qt::NoPen);
    p.setBrush(colore);
    const QRectF r = area.boundingRect();
    int riga = 0;
    for (double y = r.top(); y <= r.bottom(); y += passo, ++riga)
        for (double x = r.left() + (riga % 2) * passo / 2; x <= r.right(); x += passo)
            p.drawEllipse(QPointF(x, y), 1.1, 1.1);
    p.restore();
}

// --- 2. Le croste ---

QList<QPointF> rovescio(QList<QPointF> l)
{
    std::reverse(l.begin(), l.end());
    return l;
}

// A line moved sideways by `d`, to the right of its direction of travel (downwards for a line drawn
// from left to right).
QList<QPointF> parallela(const QList<QPointF> &l, double d)
{
    QList<QPointF> out;
    for (qsizetype i = 0; i < l.size(); ++i) {
        QPointF n;
        for (qsizetype j : {i - 1, i}) {
            if (j < 0 || j + 1 >= l.size())
                continue;
            const QPointF t = l[j + 1] - l[j];
            const double len = std::hypot(t.x(), t.y());
            n += QPointF(-t.y() / len, t.x() / len);
        }
        const double len = std::hypot(n.x(), n.y());
        out.append(l[i] + n / len * d);
    }
    return out;
}

void cielo(QPainter &p, double W, double fino)
{
    QLinearGradient g(0, 0, 0, fino);
    g.setColorAt(0, QColor(0xD3, 0xE7, 0xF4));
    g.setColorAt(1, QColor(0xEE, 0xF5, 0xF9));
    p.fillRect(QRectF(0, 0, W, fino), g);
}

void suolo(QPainter &p, const QList<QPointF> &profilo)
{
    QPainterPath linea;
    linea.addPolygon(QPolygonF(QVector<QPointF>(profilo.begin(), profilo.end())));
    p.strokePath(linea, style::pen(sezione::colore::verde(), 3));
}

// The blocks of a trench beside a continent (crostea, subdur) are seen from one point: the same top
// face under the same sky, the sea level at the face's front edge.
const Faccia kSopraFossa{235, QPointF(-70, -190)};

// The sea on the front face: from its level down to the ocean floor and the continental slope.
QPainterPath mare(double costa, const QList<QPointF> &scarpata, const QList<QPointF> &fondale)
{
    const double livello = kSopraFossa.cima;
    return poligono(QList<QPointF>{{-1, livello}, {costa, livello}} + rovescio(scarpata).mid(1) + rovescio(fondale).mid(1));
}

// The sea's surface seen edge on, from the left edge to the coast.
void livelloMare(QPainter &p, double costa)
{
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.7), 1.6));
    p.drawLine(QPointF(0, kSopraFossa.cima), QPointF(costa, kSopraFossa.cima));
}

QImage crostea(PictureContext &)
{
    const QSize size = dimensione();
    QImage image = tela(kCielo);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double W = size.width();
    const double H = size.height();
    const Faccia top = kSopraFossa;
    cielo(p, W, top.cima);

    // top face: a far continent on the left with its shelf, the open ocean, the trench, the near continent
    const double fossa = 478, costa = 530;
    p.save();
    p.setClipPath(top.striscia(-300, W));
    p.fillPath(top.striscia(-300, fossa - 26), kAcquaProfonda);
    p.fillPath(top.striscia(fossa - 26, fossa + 20), QColor(0x5E, 0x93, 0xBD));
    p.fillPath(top.striscia(fossa + 20, costa), kAcqua);
    p.fillPath(top.striscia(costa, W), kTerra);
    const auto riva = [&top](double scarto) {
        QList<QPointF> l;
        for (double v = 0.3; v <= 1.0001; v += 0.02)
            l.append(top.at(70 + 190 * (v - 0.6) + scarto + 9 * std::sin(v * 17), v));
        return l;
    };
    const QList<QPointF> costaLontana = riva(0);
    const QList<QPointF> piattaforma = riva(46);  // where the continental crust ends and the oceanic begins
    p.fillPath(poligono(QList<QPointF>{top.at(-300, 1), top.at(-300, 0.3)} + piattaforma), QColor(0xB6, 0xD9, 0xEB));
    p.fillPath(poligono(QList<QPointF>{top.at(-300, 1), top.at(-300, 0.3)} + costaLontana), kTerra);
    {
        QPainterPath linea;
        linea.addPolygon(QPolygonF(QVector<QPointF>(piattaforma.begin(), piattaforma.end())));
        QPen tratteggio = style::pen(QColor(0x3A, 0x4D, 0x60), 2.2);
        tratteggio.setDashPattern({3, 2});
        p.strokePath(linea, tratteggio);
        QPainterPath riva;
        riva.addPolygon(QPolygonF(QVector<QPointF>(costaLontana.begin(), costaLontana.end())));
        p.strokePath(riva, style::pen(style::withAlpha(style::outline(), 0.5), 1.2));
    }
    p.strokePath(poligono({top.at(fossa, 0), top.at(fossa, 1)}), style::pen(QColor(0x3E, 0x6E, 0x9C), 2.4));
    p.restore();
    catena(p, top, 622, 110, 0.04, 0.97, 52);
    contorno(p, top.striscia(-300, W), 0.6);

    // front face: the cross-section
    const QList<QPointF> fondale{{-1, 262}, {400, 264}, {440, 276}, {fossa, 306}};
    const QList<QPointF> scarpata{{fossa, 306}, {500, 280}, {costa, 235}};
    const QList<QPointF> terra{{costa, 235}, {572, 234}, {590, 208}, {612, 170}, {632, 192}, {652, 162},
                               {676, 196}, {W + 1, 214}};
    // the two plates meet along a steep surface under the trench
    const QList<QPointF> contatto{{fossa, 306}, {483, 336}, {490, 378}, {500, 462}, {508, H + 1}};
    const QList<QPointF> sottoCrostaOc{{-1, 290}, {400, 292}, {440, 304}, {483, 336}};
    const QList<QPointF> baseLitoOc{{-1, 458}, {480, 461}, {500, 462}};
    const QList<QPointF> moho{{490, 378}, {560, 392}, {615, 444}, {655, 450}, {W + 1, 440}};

    const QPainterPath acqua = mare(costa, scarpata, fondale);
    const QPainterPath crostaOc = poligono(fondale + rovescio(sottoCrostaOc));
    const QPainterPath litoOc = poligono(sottoCrostaOc + contatto.mid(2, 2) + rovescio(baseLitoOc).mid(1));
    const QPainterPath mantello = poligono(baseLitoOc + QList<QPointF>{{508, H + 1}, {-1, H + 1}});
    const QPainterPath crostaCo =
        poligono(scarpata + terra.mid(1) + QList<QPointF>{{W + 1, 440}} + rovescio(moho).mid(1) +
                 rovescio(contatto.mid(0, 3)).mid(1));
    const QPainterPath litoCo = poligono(moho + QList<QPointF>{{W + 1, H + 1}, {508, H + 1}, {500, 462}});
    p.fillPath(acqua, kAcqua);
    p.fillPath(mantello, kMantello);
    p.fillPath(litoOc, kLitosfera);
    p.fillPath(crostaOc, kCrostaOceanica);
    p.fillPath(litoCo, kLitosfera);
    p.fillPath(crostaCo, kCrostaContinentale);
    for (const QPainterPath &a : {acqua, mantello, litoOc, crostaOc, litoCo, crostaCo})
        contorno(p, a);
    suolo(p, terra);
    livelloMare(p, costa);

    richiami(p, {
                    {0, {668, 424}},                       // continental crust
                    {1, {664, 186}},                       // mountain range
                    {2, {668, 52}},                        // atmosphere
                    {3, top.at(fossa, 0.86)},              // oceanic trench
                    {4, top.at(262, 0.78)},                // ocean
                    {5, piattaforma.at(26)},               // where the two crusts meet
                    {6, {42, 277}},                        // oceanic crust
                    {7, {42, 440}},                        // oceanic lithosphere
                    {8, {169, 506}},                       // upper mantle
                    {9, {566, 505}},                       // continental lithosphere
                });
    return image;
}

// --- 4. La subduzione ---

QImage subdur(PictureContext &)
{
    const QSize size = dimensione();
    QImage image = tela(kCielo);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double W = size.width();
    const double H = size.height();
    const Faccia top = kSopraFossa;
    cielo(p, W, top.cima);

    // top face: the sea floor under clear water, bare far out, covered by sediments towards the trench
    const double fossa = 470, costa = 522;
    const QColor basalto(0x86, 0x98, 0xA6);
    p.save();
    p.setClipPath(top.striscia(-300, W));
    p.fillPath(top.striscia(-300, 150), basalto);
    QLinearGradient coltre(top.at(150, 0.5), top.at(230, 0.5));
    coltre.setColorAt(0, style::mix(kSedimenti, basalto, 0.6));
    coltre.setColorAt(1, kSedimenti);
    p.fillPath(top.striscia(150, fossa - 24), coltre);
    puntini(p, top.striscia(200, fossa - 24), style::withAlpha(QColor(0x9A, 0x80, 0x40), 0.55), 7);
    p.fillPath(top.striscia(fossa - 24, fossa + 18), QColor(0x5E, 0x7E, 0x9A));
    p.fillPath(top.striscia(fossa + 18, costa), QColor(0xA7, 0xB4, 0x9C));
    p.fillPath(top.striscia(-300, costa), style::withAlpha(kAcqua, 0.38));
    p.fillPath(top.striscia(costa, W), kTerra);
    p.strokePath(poligono({top.at(fossa, 0), top.at(fossa, 1)}), style::pen(QColor(0x33, 0x55, 0x77), 2.4));
    p.restore();
    catena(p, top, 612, 120, 0.3, 0.98, 60);
    contorno(p, top.striscia(-300, W), 0.6);

    // front face
    const QList<QPointF> fondale{{-1, 256}, {380, 258}, {430, 272}, {fossa, 302}};
    const QList<QPointF> scarpata{{fossa, 302}, {496, 282}, {costa, 235}};
    const QList<QPointF> terra{{costa, 235}, {602, 234}, {626, 206}, {650, 160}, {664, 160}, {688, 212}, {W + 1, 226}};
    // the top of the oceanic crust, which bends down at the trench and sinks under the continent
    const QList<QPointF> crostaSopra{{-1, 261}, {380, 268}, {430, 284}, {fossa, 306}, {505, 324}, {540, 358},
                                     {575, 410}, {610, 472}, {640, H + 1}};
    QList<QPointF> crostaSotto = parallela(crostaSopra, 30);
    const QList<QPointF> baseLito{{-1, 458}, {300, 460}, {350, 468}, {390, 490}, {420, 520}, {436, H + 1}};
    const QList<QPointF> moho{{555, 380}, {600, 420}, {640, 452}, {W + 1, 456}};

    const QPainterPath acqua = mare(costa, scarpata, fondale);
    const QPainterPath sedimenti = poligono(fondale + rovescio(crostaSopra.mid(0, 4)));
    const QPainterPath crostaOc = poligono(crostaSopra + rovescio(crostaSotto));
    const QPainterPath litoOc = poligono(crostaSotto + QList<QPointF>{{crostaSotto.last().x(), H + 30}} +
                                         rovescio(baseLito));
    const QPainterPath mantello = poligono(baseLito + QList<QPointF>{{-1, H + 1}});
    const QPainterPath crostaCo = poligono(scarpata + terra.mid(1) + QList<QPointF>{{W + 1, 456}} +
                                           rovescio(moho).mid(1) + QList<QPointF>{{540, 358}, {505, 324}, {fossa, 306}});
    const QPainterPath litoCo =
        poligono(moho + QList<QPointF>{{W + 1, H + 1}, {640, H + 1}, {610, 472}, {575, 410}});
    // the wedge of sediments scraped off at the trench
    const QPainterPath cuneo = poligono({{fossa - 2, 303}, {485, 292}, {500, 280}, {509, 300}, {497, 316}});

    p.fillPath(acqua, kAcqua);
    p.fillPath(mantello, kMantello);
    p.fillPath(litoOc, kLitosfera);
    p.fillPath(crostaOc, kCrostaOceanica);
    p.fillPath(sedimenti, kSedimenti);
    p.fillPath(litoCo, kLitosfera);
    p.fillPath(crostaCo, kCrostaContinentale);
    p.fillPath(cuneo, kSedimenti);
    for (const QPainterPath &a : {acqua, mantello, litoOc, crostaOc, sedimenti, litoCo, crostaCo, cuneo})
        contorno(p, a);
    puntini(p, sedimenti.united(cuneo), style::withAlpha(QColor(0x9A, 0x80, 0x40), 0.6), 5);

    // magma rising from the sinking plate to the volcano
    QPainterPath risalita;
    risalita.moveTo(604, 462);
    risalita.cubicTo(640, 400, 628, 330, 650, 280);
    risalita.cubicTo(660, 240, 654, 200, 657, 162);
    p.strokePath(risalita, style::pen(kMagma, 4.0));
    p.setPen(Qt::NoPen);
    p.setBrush(kMagma);
    p.drawEllipse(QPointF(646, 292), 13, 9);
    suolo(p, terra);
    p.setPen(Qt::NoPen);
    p.setBrush(kMagma);
    p.drawPath(poligono({{650, 160}, {664, 160}, {659, 168}, {655, 168}}));
    p.setBrush(style::withAlpha(QColor(0x8A, 0x8A, 0x8A), 0.45));
    p.drawEllipse(QPointF(660, 140), 12, 9);
    p.drawEllipse(QPointF(672, 124), 10, 8);
    // the motion of the plate: towards the trench, then down
    freccia(p, {250, 378}, {330, 378}, QColor(0xFF, 0xFF, 0xFF, 210), 3.4);
    freccia(p, {452, 396}, {524, 470}, QColor(0xFF, 0xFF, 0xFF, 230), 4.0);
    livelloMare(p, costa);

    richiami(p, {
                    {0, {668, 426}},                           // continental crust
                    {1, {679, 200}},                           // volcano
                    {2, top.at(612, 0.87) + QPointF(0, -24)},  // mountain range
                    {3, top.at(fossa, 0.86)},                  // oceanic trench
                    {4, top.at(268, 0.8)},                     // sediments
                    {5, top.at(86, 0.76)},                     // ocean floor
                    {6, {42, 276}},                            // oceanic crust
                    {7, {42, 440}},                            // oceanic lithosphere
                    {8, {169, 506}},                           // upper mantle
                    {9, {505, 515}},                           // subduction
                });
    return image;
}

// --- 6. Per la sintesi: the Earth cut in half, and a block of its surface ---

QImage sintesi(PictureContext &)
{
    const QSize size = dimensione();
    QImage image = tela(kCielo);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double W = size.width();
    const double H = size.height();

    // the Earth, cut through its centre on the left edge
    const QPointF c(0, 395);
    const double R = 290;
    struct Strato {
        double raggio;
        QColor colore;
    };
    const Strato strati[] = {
        {1.00, kCrostaContinentale},             // crust
        {0.975, kLitosfera},                     // the rest of the lithosphere
        {0.945, kMantello},                      // upper mantle
        {0.82, QColor(0xDD, 0x82, 0x57)},        // lower mantle
        {0.55, QColor(0xF3, 0xC4, 0x52)},        // liquid outer core
        {0.24, QColor(0xFA, 0xE7, 0x98)},        // solid inner core
    };
    for (const Strato &s : strati) {
        p.setBrush(s.colore);
        p.setPen(style::pen(style::withAlpha(style::outline(), 0.5), 1.4));
        p.drawEllipse(c, R * s.raggio, R * s.raggio);
    }
    // the ocean half of the surface: oceanic crust from the top down to the trench at 56 degrees
    const auto anello = [&c](double r0, double r1, double a0, double a1) {
        QPainterPath path;
        path.arcMoveTo(QRectF(c.x() - r1, c.y() - r1, 2 * r1, 2 * r1), a0);
        path.arcTo(QRectF(c.x() - r1, c.y() - r1, 2 * r1, 2 * r1), a0, a1 - a0);
        path.arcTo(QRectF(c.x() - r0, c.y() - r0, 2 * r0, 2 * r0), a1, a0 - a1);
        path.closeSubpath();
        return path;
    };
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.5), 1.2));
    p.setBrush(kCrostaOceanica);
    p.drawPath(anello(R * 0.975, R, 57, 92));
    p.setBrush(kAcqua);
    p.drawPath(anello(R, R * 1.012, 57, 92));
    // the plate sinking under the continent: a band bending down into the mantle
    QPainterPath lastra;
    lastra.moveTo(polare(c, R, 57));
    lastra.cubicTo(polare(c, R * 0.93, 52), polare(c, R * 0.86, 50), polare(c, R * 0.76, 46));
    lastra.lineTo(polare(c, R * 0.77, 52));
    lastra.cubicTo(polare(c, R * 0.88, 56), polare(c, R * 0.93, 58), polare(c, R * 0.945, 61));
    lastra.arcTo(QRectF(c.x() - R * 0.945, c.y() - R * 0.945, 2 * R * 0.945, 2 * R * 0.945), 61, -4);
    lastra.closeSubpath();
    p.setBrush(kLitosfera);
    p.drawPath(lastra);
    freccia(p, polare(c, R * 0.93, 55), polare(c, R * 0.8, 50), QColor(0xFF, 0xFF, 0xFF, 220), 2.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.8), 2.0));
    p.drawEllipse(c, R, R);

    // the block: an ocean with its ridge behind a continent
    const Faccia top{300, QPointF(-60, -200)};
    const double x0 = 330;
    p.fillPath(top.striscia(x0, W, 0.3, 1), kAcquaProfonda);
    // stripes of sea floor the same age on either side of the ridge, and the way they move
    const double dorsale = 0.7;
    for (int k = 1; k <= 4; ++k) {
        const double d = 0.075 * k;
        const QColor tono = style::withAlpha(QColor(0x4C, 0x7E, 0xAE), k % 2 ? 0.5 : 0.25);
        p.fillPath(top.striscia(x0, W, dorsale - d, dorsale - d + 0.0375), tono);
        if (dorsale + d - 0.0375 < 1)
            p.fillPath(top.striscia(x0, W, dorsale + d - 0.0375, std::min(1.0, dorsale + d)), tono);
    }
    p.fillPath(top.striscia(x0, W, dorsale - 0.03, dorsale + 0.03), QColor(0xC8, 0x5A, 0x3C));
    p.strokePath(poligono({top.at(x0, dorsale), top.at(W, dorsale)}), style::pen(QColor(0x7A, 0x2E, 0x1C), 1.4));
    for (double u : {400.0, 520.0}) {
        freccia(p, top.at(u, dorsale - 0.06), top.at(u, dorsale - 0.26), QColor(0xFF, 0xFF, 0xFF, 230), 2.6);
        freccia(p, top.at(u + 40, dorsale + 0.06), top.at(u + 40, dorsale + 0.24), QColor(0xFF, 0xFF, 0xFF, 230), 2.6);
    }
    p.fillPath(top.striscia(x0, W, 0, 0.3), kTerra);
    p.strokePath(poligono({top.at(x0, 0.3), top.at(W, 0.3)}), style::pen(style::withAlpha(style::outline(), 0.5), 1.2));
    contorno(p, top.striscia(x0, W), 0.7);
    // front face through the continent
    const QList<QPointF> moho{{x0, 372}, {500, 368}, {W + 1, 374}};
    const QList<QPointF> baseLito{{x0, 600}, {500, 516}, {W + 1, 425}};
    const QPainterPath crosta = poligono(unisci({{x0, 300}, {W + 1, 300}}, moho, true));
    const QPainterPath lito = poligono(unisci(moho, baseLito, true));
    const QPainterPath sotto = poligono(unisci(baseLito, {{W + 1, H + 1}, {x0, H + 1}}));
    p.fillPath(sotto, kMantello);
    p.fillPath(lito, kLitosfera);
    p.fillPath(crosta, kCrostaContinentale);
    for (const QPainterPath &a : {crosta, lito, sotto})
        contorno(p, a);
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.8), 2.0));
    p.drawLine(QPointF(x0, 300), QPointF(x0, H));

    richiami(p, {
                    {0, {672, 452}},                          // upper mantle
                    {1, {672, 322}},                          // continental crust
                    {2, top.at(640, dorsale)},                // ridge
                    {3, top.at(560, dorsale + 0.2)},          // spreading sea floor
                    {4, polare(c, R * 0.9, 53.5)},            // subduction
                    {5, polare(c, R * 0.988, 85)},            // oceanic crust
                    {6, polare(c, R * 0.4, 70)},              // liquid outer core
                    {7, polare(c, R * 0.1, 35)},              // solid inner core
                    {8, polare(c, R * 0.7, -35)},             // lower mantle
                    {9, {505, 490}},                          // continental lithosphere
                });
    return image;
}

// --- the background of the labelling screen: the plates, so pale that the picture stands out ---

QImage sfondo(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(12000, 9000);
    QImage image = newPicture(size, QColor(0xF6, 0xF7, 0xF5));
    const MapCanvas canvas(Projection(Projection::Kind::Miller, 11), QRectF(QPointF(0, 0), size),
                           MapCanvas::Fit::Cover);
    PlateMapLook look;
    look.plateColour = [](const QString &key) { return style::mix(style::plate(key), Qt::white, 0.72); };
    look.land = Qt::white;
    look.landOpacity = 0.5;
    look.coast = style::withAlpha(style::outline(), 0.06);
    look.coastWidth = 1.2;
    look.boundary = style::withAlpha(style::mix(style::outline(), Qt::white, 0.5), 0.25);
    look.boundaryWidth = 1.4;
    QPainter p(&image);
    p.drawImage(0, 0, drawPlateMap(canvas, size, ctx.data(), ctx.plates(), look));
    CreditLook credit;
    credit.pixelSize = 11;
    credit.opacity = 0.5;
    credit.halo = false;
    drawCredit(p, QRectF(QPointF(0, 0), size), mapCredit(), credit);
    return image;
}

} // namespace

void addQuestim(QList<Picture> *pictures)
{
    pictures->append({QStringLiteral("questim/terra1.jpg"),
                      QStringLiteral("test sull'immagine 1: la Terra aperta a spicchio, strati e superficie"), terra1});
    pictures->append({QStringLiteral("questim/crostea.jpg"),
                      QStringLiteral("test sull'immagine 2: le due croste, un oceano tra due continenti"), crostea});
    pictures->append({QStringLiteral("questim/plac.jpg"),
                      QStringLiteral("test sull'immagine 3: le placche, i loro confini e le loro croste"), plac});
    pictures->append({QStringLiteral("questim/terrafis.jpg"),
                      QStringLiteral("test sull'immagine 5: i fenomeni attuali sulla carta del mondo"), terrafis});
    pictures->append({QStringLiteral("questim/subdur.jpg"),
                      QStringLiteral("test sull'immagine 4: la subduzione sotto un continente"), subdur});
    pictures->append({QStringLiteral("questim/SINTESI.jpg"),
                      QStringLiteral("test sull'immagine 6: la Terra aperta e un blocco della sua superficie"), sintesi});
    pictures->append({QStringLiteral("questim/sfondo.jpg"),
                      QStringLiteral("sfondo del test sull'immagine: le placche, pallidissime"), sfondo});
}

} // namespace disegni
