// Pictures of topic 2, the discoveries behind the theory: the two kinds of crust, the ocean floor
// spreading from the ridges, where earthquakes and volcanoes happen, and the section of the hotspot
// page.

#include "Catalogue.h"
#include "Events.h"
#include "GeoData.h"
#include "Globe.h"
#include "Output.h"
#include "Schemi.h"
#include "Sezione.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace disegni {

using namespace schema;
// sections speak the colour language of the animated sequences
namespace sez = sezione::colore;

namespace {

// ---------------------------------------------------------------------------------------------
// World maps of earthquakes and volcanoes: the world as two hemispheres, one above the other, so
// that in the narrow column beside the text each hemisphere is nearly twice as large as a flat world map
// would be. The upper one has Europe, Africa and the Atlantic ridge; the lower one, opposite, the
// Pacific with the belt round it.

struct Emisfero {
    double lon, lat;
    QPointF centre;
};

constexpr double kRaggioEmisfero = 160;
const Emisfero kAtlantico{30, 10, QPointF(212, 170)};
const Emisfero kPacifico{-150, -10, QPointF(212, 514)};

QSize dimensioneCarta()
{
    return pixelsForTwips(3180, 5460);
}

Globe globo(const Emisfero &e)
{
    return Globe(e.lon, e.lat, e.centre, kRaggioEmisfero);
}

// The two hemispheres on the sky, one above the other: the ground of ter200 and vulc200.
void emisferi(QPainter &p, PictureContext &ctx, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    cielo(p, QRectF(QPointF(0, 0), size));
    const QImage texture = tessituraTerra(ctx.data(), QSize(2048, 1024), false);
    Globe::Light light;
    light.ambient = 0.93;
    light.highlight = 0.05;
    light.rim = 0.05;
    for (const Emisfero &e : {kAtlantico, kPacifico}) {
        const Globe g = globo(e);
        p.drawImage(0, 0, g.render(texture, size, light));
        p.setBrush(Qt::NoBrush);
        p.strokePath(g.graticule(30), style::pen(style::withAlpha(Qt::white, 0.6), 1.0));
        p.strokePath(g.disc(), style::pen(style::withAlpha(style::outline(), 0.45), 1.6));
    }
}

// Calls segna with the pixel of each event on the side of each hemisphere that faces us.
template <typename Evento, typename Segna>
void suEmisferi(const QList<Evento> &eventi, const Segna &segna)
{
    for (const Emisfero &e : {kAtlantico, kPacifico}) {
        const Globe g = globo(e);
        for (const Evento &ev : eventi) {
            if (const auto at = g.toPixel(ev.at.x(), ev.at.y()))
                segna(*at, ev);
        }
    }
}

// A place name on a globe, with a short leader when the name cannot sit on the place itself.
void luogo(QPainter &p, const Globe &g, double lon, double lat, const QString &nome, const QPointF &spostamento,
           Qt::Alignment align)
{
    const std::optional<QPointF> at = g.toPixel(lon, lat);
    if (!at)
        return;
    Testo t;
    t.size = 18;
    t.weight = QFont::Bold;
    t.colour = style::text();
    t.haloColour = style::withAlpha(style::paper(), 0.72);
    if (spostamento.isNull()) {
        scrivi(p, *at, nome, align, t);
        return;
    }
    const QRectF box = misura(nome, align, *at + spostamento, t);
    QPointF from = box.center();
    from.setX(std::clamp(at->x(), box.left() + 4, box.right() - 4));
    from.setY(at->y() < box.top() ? box.top() : box.bottom());
    richiamo(p, from, *at);
    scrivi(p, *at + spostamento, nome, align, t);
}

void nomeMare(QPainter &p, const Globe &g, double lon, double lat, const QString &nome)
{
    const std::optional<QPointF> at = g.toPixel(lon, lat);
    if (!at)
        return;
    Testo t;
    t.size = 18;
    t.weight = QFont::Normal;
    t.halo = false;
    t.colour = QColor(0x4A, 0x6E, 0x8C);
    scrivi(p, *at, nome, Qt::AlignCenter, t);
}

void credito(QPainter &p, const QSize &size, const QString &text)
{
    CreditLook look;
    look.pixelSize = 13;
    look.halo = false;
    drawCredit(p, QRectF(QPointF(0, 0), size), text, look);
}

QColor coloreProfondita(double km)
{
    if (km < 70)
        return QColor(0xD8, 0x43, 0x2A);
    if (km < 300)
        return QColor(0xEE, 0xA0, 0x2C);
    return QColor(0x5E, 0x46, 0xA8);
}

double raggioTerremoto(double magnitude)
{
    return 1.2 + 0.55 * std::max(0.0, magnitude - 4.0);
}

void puntoTerremoto(QPainter &p, const QPointF &at, double depth, double magnitude)
{
    const QColor c = coloreProfondita(depth);
    p.setPen(style::pen(style::withAlpha(c.darker(150), 0.55), 0.6));
    p.setBrush(style::withAlpha(c, 0.72));
    const double r = raggioTerremoto(magnitude);
    p.drawEllipse(at, r, r);
}

// Ter200: the world's earthquakes, coloured by depth, as recorded 1973-2005.
QImage ter200(PictureContext &ctx)
{
    const QSize size = dimensioneCarta();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    emisferi(p, ctx, size);

    QList<Earthquake> tutti = earthquakes(ctx.data());
    // the deep ones are few: drawn last, so that they show through the shallow ones
    std::stable_sort(tutti.begin(), tutti.end(), [](const Earthquake &a, const Earthquake &b) { return a.depthKm < b.depthKm; });
    suEmisferi(tutti, [&p](const QPointF &at, const Earthquake &t) { puntoTerremoto(p, at, t.depthKm, t.magnitude); });

    const Globe a = globo(kAtlantico), b = globo(kPacifico);
    nomeMare(p, b, -145, 8, QStringLiteral("Oceano\nPacifico"));
    luogo(p, a, 10, 46.5, QStringLiteral("Alpi"), QPointF(-34, -30), Qt::AlignRight | Qt::AlignBottom);
    luogo(p, a, 84, 29, QStringLiteral("Himalaya"), QPointF(-6, -38), Qt::AlignHCenter | Qt::AlignBottom);
    luogo(p, a, -14, -30, QStringLiteral("dorsale\natlantica"), QPointF(-6, 20), Qt::AlignRight | Qt::AlignTop);
    luogo(p, b, -71, -25, QStringLiteral("Ande"), QPointF(-18, 10), Qt::AlignRight | Qt::AlignTop);
    luogo(p, b, 141, 37, QStringLiteral("Giappone"), QPointF(18, -18), Qt::AlignLeft | Qt::AlignBottom);

    // key
    const double y = 696;
    Testo t;
    t.size = 18;
    t.halo = false;
    // the title on a line of its own, so that the three depths fit the narrow column at a readable size
    scrivi(p, QPointF(6, y - 21), QStringLiteral("profondità dei terremoti:"), Qt::AlignLeft | Qt::AlignVCenter, t);
    double x = 6;
    for (const auto &[km, testo] : {std::pair{20.0, "fino a 70 km"}, std::pair{150.0, "70-300 km"}, std::pair{450.0, "oltre 300 km"}}) {
        puntoTerremoto(p, QPointF(x + 4, y), km, 6.0);
        x = scrivi(p, QPointF(x + 12, y), QString::fromUtf8(testo), Qt::AlignLeft | Qt::AlignVCenter, t).right() + 10;
    }
    credito(p, size, QStringLiteral("Dati: USGS/NEIC, terremoti 1973-2005; Natural Earth"));
    return image;
}

void triangolo(QPainter &p, const QPointF &at, double size)
{
    QPainterPath t;
    t.moveTo(at + QPointF(0, -size));
    t.lineTo(at + QPointF(size * 0.9, size * 0.6));
    t.lineTo(at + QPointF(-size * 0.9, size * 0.6));
    t.closeSubpath();
    p.setPen(style::pen(QColor(0x6E, 0x1E, 0x10), 0.9));
    p.setBrush(QColor(0xE0, 0x45, 0x24));
    p.drawPath(t);
}

// Vulc200: the active volcanoes of the world.
QImage vulc200(PictureContext &ctx)
{
    const QSize size = dimensioneCarta();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    emisferi(p, ctx, size);

    QList<Volcano> attivi = volcanoes(ctx.data());
    attivi.removeIf([](const Volcano &v) { return !v.active(); });
    suEmisferi(attivi, [&p](const QPointF &at, const Volcano &) { triangolo(p, at, 3.6); });
    if (attivi.isEmpty())
        throw GeoDataError("volcanoes.json: nessun vulcano attivo");

    const Globe a = globo(kAtlantico), b = globo(kPacifico);
    nomeMare(p, b, -145, 8, QStringLiteral("Oceano\nPacifico"));
    luogo(p, a, -19, 64.8, QStringLiteral("Islanda"), QPointF(-26, -16), Qt::AlignRight | Qt::AlignBottom);
    luogo(p, a, 15, 38.5, QStringLiteral("Italia"), QPointF(-40, 30), Qt::AlignRight | Qt::AlignTop);
    luogo(p, b, -155.5, 19.5, QStringLiteral("Hawaii"), QPointF(18, -26), Qt::AlignLeft | Qt::AlignBottom);
    Testo cintura;
    cintura.size = 18;
    cintura.weight = QFont::Bold;
    cintura.colour = QColor(0xB0, 0x30, 0x18);
    cintura.haloColour = style::withAlpha(style::paper(), 0.75);
    // between the two hemispheres, as the lower one's caption
    scrivi(p, QPointF(size.width() / 2.0, (kAtlantico.centre.y() + kPacifico.centre.y()) / 2), QStringLiteral("Cintura di fuoco del Pacifico"),
           Qt::AlignCenter, cintura);

    const double y = 700;
    Testo t;
    t.size = 18;
    t.halo = false;
    triangolo(p, QPointF(16, y + 1), 5.5);
    scrivi(p, QPointF(28, y), QStringLiteral("vulcano attivo (eruzioni negli ultimi 10 000 anni)"), Qt::AlignLeft | Qt::AlignVCenter, t);
    credito(p, size, QStringLiteral("Dati: NOAA NCEI; Natural Earth"));
    return image;
}


// ---------------------------------------------------------------------------------------------
// Sections of the crust. The thicknesses of the crusts are to one scale (2.2 pixels a kilometre,
// so 7 km of ocean crust against 35-70 km of continent); heights of land and depths of sea are
// drawn three times larger, or they would not show.

constexpr double kPxKm = 2.2;
constexpr double kLivelloMare = 58;

QPainterPath linea(const QList<QPointF> &punti)
{
    QPainterPath path;
    path.moveTo(punti.first());
    for (qsizetype i = 1; i < punti.size(); ++i)
        path.lineTo(punti.at(i));
    return path;
}

// The area between an upper and a lower line, both running left to right.
QPainterPath fascia(const QList<QPointF> &sopra, const QList<QPointF> &sotto)
{
    QPainterPath path = linea(sopra);
    for (qsizetype i = sotto.size() - 1; i >= 0; --i)
        path.lineTo(sotto.at(i));
    path.closeSubpath();
    return path;
}

// Sky above the surface line, water between sea level and the sea floor where it is below.
void cieloEMare(QPainter &p, const QSize &size, const QList<QPointF> &superficie)
{
    QPainterPath aria = linea(superficie);
    aria.lineTo(size.width(), 0);
    aria.lineTo(0, 0);
    aria.closeSubpath();
    QPainterPath mare;
    mare.addRect(QRectF(0, kLivelloMare, size.width(), size.height()));
    mare = mare.intersected(aria);
    p.save();
    p.setClipPath(aria);
    cielo(p, QRectF(0, 0, size.width(), kLivelloMare + 20));
    p.restore();
    QLinearGradient g(0, kLivelloMare, 0, kLivelloMare + 70);
    g.setColorAt(0, sez::mare());
    g.setColorAt(1, sez::mareProfondo());
    p.fillPath(mare, g);
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.35), 1.0));
    p.drawLine(QPointF(0, kLivelloMare), QPointF(size.width(), kLivelloMare));
}

void strato(QPainter &p, const QPainterPath &area, const QColor &colour)
{
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.6), 1.2));
    p.setBrush(colour);
    p.drawPath(area);
}

// Grass along the land, drawn over the top of the continental crust where it is above the sea.
void suolo(QPainter &p, const QList<QPointF> &terra)
{
    p.setPen(style::pen(sez::verde(), 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(linea(terra));
}

// A vertical measure with its value beside it.
// dy moves the text up or down from the middle of the arrow: off a band too thin to be covered
void misuraVerticale(QPainter &p, double x, double y0, double y1, const QString &testo, bool aDestra, double dy = 0)
{
    QPainterPath m;
    m.moveTo(x, y0 + 1);
    m.lineTo(x, y1 - 1);
    frecciaLinea(p, m, style::text(), 1.6, std::min(9.0, std::abs(y1 - y0) / 2.6), true);
    Testo t;
    t.size = 18;
    t.weight = QFont::Bold;
    t.halo = true;
    t.haloColour = style::withAlpha(style::paper(), 0.7);
    scrivi(p, QPointF(x + (aDestra ? 8 : -8), (y0 + y1) / 2 + dy), testo, (aDestra ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, t);
}

Testo nomeStrato()
{
    Testo t;
    t.size = 19;
    t.weight = QFont::Bold;
    t.halo = false;
    return t;
}

Testo dettaglio()
{
    Testo t;
    t.size = 18;
    t.halo = false;
    return t;
}

Testo etichettaCielo()
{
    Testo t;
    t.size = 18;
    t.halo = false;
    t.colour = style::textSoft();
    return t;
}

// The same text on a pale patch, for names that stand on the dark brown of a plate's mantle.
Testo suPlacca(Testo t)
{
    t.halo = true;
    t.haloColour = style::withAlpha(style::paper(), 0.72);
    return t;
}

QSize dimensioneCroste()
{
    return pixelsForTwips(7965, 1860);
}

void nota(QPainter &p, const QPointF &at, Qt::Alignment align)
{
    Testo t;
    t.size = 18;
    t.halo = false;
    t.colour = style::withAlpha(style::text(), 0.75);
    scrivi(p, at, QStringLiteral("spessori delle croste in scala; rilievi e mari ingranditi"), align | Qt::AlignBottom, t);
}

// Croste1: from a mountain range across a plain and the continental shelf to the ocean floor.
QImage croste1(PictureContext &)
{
    const QSize size = dimensioneCroste();
    const double w = size.width(), h = size.height();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const auto km = [](double d) { return kLivelloMare + d * kPxKm; };

    const QList<QPointF> superficie = {{0, 52},   {30, 46},  {55, 38},  {75, 42},  {95, 30},  {115, 36}, {135, 24},
                                       {150, 30}, {168, 22}, {190, 34}, {210, 29}, {235, 40}, {260, 46}, {300, 53},
                                       {360, 55}, {500, 56}, {600, 57}, {640, 58}, {650, 60}, {720, 64}, {760, 76},
                                       {800, 88}, {w, 90}};
    const QList<QPointF> moho = {{0, km(40)},   {60, km(57)},  {150, km(70)}, {240, km(57)}, {320, km(37)},
                                 {400, km(35)}, {640, km(35)}, {720, km(27)}, {800, km(21)}};
    const QList<QPointF> fondoOceanico = {{790, 88}, {800, 88}, {w, 90}};
    const QList<QPointF> mohoOceanico = {{790, 90 + 7 * kPxKm}, {w, 90 + 7 * kPxKm}};

    QLinearGradient mantello(0, km(20), 0, h);
    mantello.setColorAt(0, sez::litosfera());
    mantello.setColorAt(1, style::mix(sez::litosfera(), sez::astenosfera(), 0.55));
    p.fillRect(QRectF(0, 0, w, h), mantello);
    cieloEMare(p, size, superficie);

    QList<QPointF> sopraContinente;
    for (const QPointF &q : superficie)
        if (q.x() <= 800)
            sopraContinente.append(q);
    strato(p, fascia(fondoOceanico, mohoOceanico), sez::oceanica());
    strato(p, fascia(sopraContinente, moho), sez::continentale());
    QList<QPointF> terra;
    for (const QPointF &q : superficie)
        if (q.x() <= 640)
            terra.append(q);
    suolo(p, terra);

    misuraVerticale(p, 150, 31, km(70), QStringLiteral("70 km"), true);
    misuraVerticale(p, 380, 56, km(35), QStringLiteral("35 km"), false);
    misuraVerticale(p, w - 34, 90, 90 + 7 * kPxKm, QStringLiteral("7 km"), false, -27);

    scrivi(p, QPointF(150, 3), QStringLiteral("catena montuosa"), Qt::AlignHCenter | Qt::AlignTop, etichettaCielo());
    scrivi(p, QPointF(470, 50), QStringLiteral("pianura"), Qt::AlignHCenter | Qt::AlignBottom, etichettaCielo());
    const QRectF piattaforma = scrivi(p, QPointF(690, 4), QStringLiteral("piattaforma\ncontinentale"), Qt::AlignHCenter | Qt::AlignTop,
                                      etichettaCielo());
    richiamo(p, QPointF(690, piattaforma.bottom() + 1), QPointF(690, 62));
    Testo mare = dettaglio();
    mare.colour = QColor(0x2E, 0x5A, 0x80);
    scrivi(p, QPointF(920, 74), QStringLiteral("oceano"), Qt::AlignCenter, mare);

    const QRectF cc = scrivi(p, QPointF(540, 76), QStringLiteral("CROSTA CONTINENTALE"), Qt::AlignHCenter | Qt::AlignTop, nomeStrato());
    scrivi(p, QPointF(540, cc.bottom()), QStringLiteral("granito, leggera"), Qt::AlignHCenter | Qt::AlignTop, dettaglio());
    const QRectF co = scrivi(p, QPointF(900, 118), QStringLiteral("CROSTA OCEANICA"), Qt::AlignHCenter | Qt::AlignTop, suPlacca(nomeStrato()));
    scrivi(p, QPointF(900, co.bottom()), QStringLiteral("basalto, più pesante"), Qt::AlignHCenter | Qt::AlignTop, suPlacca(dettaglio()));
    richiamo(p, QPointF(900, co.top()), QPointF(900, 97));
    scrivi(p, QPointF(560, 196), QStringLiteral("MANTELLO"), Qt::AlignHCenter | Qt::AlignVCenter, suPlacca(nomeStrato()));
    nota(p, QPointF(w - 8, h - 5), Qt::AlignRight);
    return image;
}

// Croocean: the ocean floor born at the ridge, old at the trench, where it sinks under a continent.
QImage croocean(PictureContext &)
{
    const QSize size = dimensioneCroste();
    const double w = size.width(), h = size.height();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double crosta = 7 * kPxKm;
    const double dorsale = 230, fossa = 820;

    const QList<QPointF> fondo = {{0, 86},     {120, 82},   {195, 76},   {220, 72}, {226, 78}, {230, 80}, {234, 78},
                                  {240, 72},   {265, 76},   {340, 82},   {500, 86}, {700, 90}, {790, 92}, {808, 106},
                                  {fossa, 122}, {832, 118}, {848, 98},   {866, 74}, {880, 62}, {900, 56}};
    const QList<QPointF> continente = {{866, 74}, {880, 62}, {900, 56}, {920, 52}, {935, 38}, {944, 26}, {948, 24},
                                       {952, 24}, {956, 26}, {966, 40}, {985, 50}, {w, 52}};
    // the plate: crust on top, its rigid mantle below growing thicker with age, bending at the trench
    QList<QPointF> cimaPlacca;
    for (const QPointF &q : fondo)
        if (q.x() <= fossa)
            cimaPlacca.append(q);
    cimaPlacca += {{860, 140}, {920, 168}, {990, 200}, {w, 236}};
    QList<QPointF> baseCrosta, basePlacca;
    for (const QPointF &q : cimaPlacca) {
        const bool inFossa = q.x() > fossa;
        baseCrosta.append(q + QPointF(inFossa ? -6 : 0, crosta));
        const double eta = std::clamp(std::abs(q.x() - dorsale) / (fossa - dorsale), 0.0, 1.0);
        basePlacca.append(q + QPointF(inFossa ? -16 : 0, crosta + 2 + 26 * std::sqrt(eta)));
    }
    // under the continent: its crust, 45 km thick, above the sinking plate
    // it rests on the sinking plate down to about 40 km, where the mantle wedge begins
    QList<QPointF> mohoContinente = {{832, 127}, {860, 140}, {900, 158}, {940, 161}, {980, 162}, {w, 163}};

    QLinearGradient mantello(0, 90, 0, h);
    mantello.setColorAt(0, sez::astenosfera());
    mantello.setColorAt(1, sez::astenosferaProfonda());
    p.fillRect(QRectF(0, 0, w, h), mantello);
    // magma rising under the ridge
    QPainterPath risalita;
    risalita.moveTo(dorsale - 70, h);
    risalita.cubicTo(QPointF(dorsale - 30, 170), QPointF(dorsale - 6, 120), QPointF(dorsale - 2, 82));
    risalita.lineTo(dorsale + 2, 82);
    risalita.cubicTo(QPointF(dorsale + 6, 120), QPointF(dorsale + 30, 170), QPointF(dorsale + 70, h));
    risalita.closeSubpath();
    QLinearGradient caldo(0, 80, 0, h);
    caldo.setColorAt(0, style::withAlpha(sez::magma(), 0.95));
    caldo.setColorAt(1, style::withAlpha(sez::magma(), 0.15));
    p.fillPath(risalita, caldo);

    strato(p, fascia(baseCrosta, basePlacca), sez::litosfera());
    // the ocean crust in bands of age, youngest at the ridge
    const QPainterPath crostaOc = fascia(cimaPlacca, baseCrosta);
    p.save();
    p.setClipPath(crostaOc);
    for (int i = 0; i < 5; ++i) {
        const QColor c = style::mix(sez::oceanicaGiovane(), sez::oceanica(), i / 4.0);
        const double d0 = i * 130.0, d1 = (i + 1) * 130.0;
        p.fillRect(QRectF(dorsale - d1, 0, d1 - d0, h), c);
        p.fillRect(QRectF(dorsale + d0, 0, (i == 4 ? w : d1 - d0), h), c);
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.6), 1.2));
    p.drawPath(crostaOc);
    QList<QPointF> sottoContinente = continente;
    sottoContinente.prepend(QPointF(848, 98));
    sottoContinente.prepend(QPointF(826, 121));
    strato(p, fascia(sottoContinente, mohoContinente), sez::continentale());
    cieloEMare(p, size, [&] {
        QList<QPointF> s;
        for (const QPointF &q : fondo)
            if (q.x() < 866)
                s.append(q);
        s += continente;
        return s;
    }());
    suolo(p, {{880, 60}, {900, 54}, {920, 50}, {935, 37}});
    suolo(p, {{966, 39}, {985, 48}, {w, 50}});
    // magma from the sinking plate up to the volcano
    QPainterPath vena;
    vena.moveTo(958, 182);
    vena.cubicTo(QPointF(940, 150), QPointF(962, 110), QPointF(950, 70));
    vena.lineTo(950, 27);
    p.setPen(style::pen(style::withAlpha(sez::magma(), 0.9), 4.5));
    p.drawPath(vena);
    p.setPen(Qt::NoPen);
    p.setBrush(style::withAlpha(sez::magma(), 0.9));
    p.drawEllipse(QPointF(952, 96), 9, 7);
    p.setBrush(style::withAlpha(QColor(0xB8, 0xB4, 0xAE), 0.7));
    for (int k = 0; k < 3; ++k)
        p.drawEllipse(QPointF(952 + 3 * k, 16 - 5 * k), 4 + k, 4 + k);

    // movements
    const QColor bianco = style::withAlpha(Qt::white, 0.95);
    freccia(p, QPointF(dorsale - 14, 66), QPointF(dorsale - 120, 66), bianco, 7, 14);
    freccia(p, QPointF(dorsale + 14, 66), QPointF(dorsale + 120, 66), bianco, 7, 14);
    freccia(p, QPointF(600, 76), QPointF(720, 79), bianco, 7, 14);
    QPainterPath giu;
    giu.moveTo(872, 160);
    giu.lineTo(938, 191);
    frecciaLinea(p, giu, QColor(0x3A, 0x40, 0x48), 2.4, 11);

    scrivi(p, QPointF(dorsale, 8), QStringLiteral("DORSALE"), Qt::AlignHCenter | Qt::AlignTop, nomeStrato());
    const QRectF f = scrivi(p, QPointF(fossa - 6, 8), QStringLiteral("FOSSA"), Qt::AlignRight | Qt::AlignTop, nomeStrato());
    richiamo(p, QPointF(f.right() - 6, f.bottom()), QPointF(fossa, 118));
    const QRectF v = scrivi(p, QPointF(922, 6), QStringLiteral("vulcano"), Qt::AlignRight | Qt::AlignTop, etichettaCielo());
    richiamo(p, QPointF(v.right() + 1, v.center().y() + 2), QPointF(943, 27));
    const QRectF m = scrivi(p, QPointF(dorsale + 44, 206), QStringLiteral("magma che risale"), Qt::AlignLeft | Qt::AlignVCenter, dettaglio());
    richiamo(p, QPointF(m.left() - 2, m.center().y()), QPointF(dorsale + 12, 196));
    const QRectF co = scrivi(p, QPointF(500, 134), QStringLiteral("CROSTA OCEANICA (basalto)"), Qt::AlignHCenter | Qt::AlignTop, nomeStrato());
    richiamo(p, QPointF(500, co.top()), QPointF(500, 92));
    Testo eta = dettaglio();
    eta.colour = style::textSoft();
    scrivi(p, QPointF(dorsale + 40, 122), QStringLiteral("più giovane"), Qt::AlignLeft | Qt::AlignTop, eta);
    scrivi(p, QPointF(fossa - 44, 124), QStringLiteral("più vecchia"), Qt::AlignRight | Qt::AlignTop, eta);
    scrivi(p, QPointF(838, 178), QStringLiteral("SUBDUZIONE"), Qt::AlignRight | Qt::AlignVCenter, nomeStrato());
    scrivi(p, QPointF(1012, 108), QStringLiteral("crosta\ncontinentale"), Qt::AlignHCenter | Qt::AlignVCenter, dettaglio());
    scrivi(p, QPointF(560, 206), QStringLiteral("MANTELLO"), Qt::AlignHCenter | Qt::AlignVCenter, nomeStrato());
    nota(p, QPointF(330, h - 5), Qt::AlignLeft);
    return image;
}


// ---------------------------------------------------------------------------------------------
// Crostuno: the block of the hotspot page, seen from the front and a little from above. The front
// face is the section: from the left, an opening ridge, the ocean crust, the trench, the ocean plate
// sinking under the continent, whose thick crust carries a volcano. The top face shows the same
// landscape going back. No words: the five hotspots are the labels. Where each stands (page 8 puts
// the picture at 1140, 720 twips) fixes where its subject is drawn:
//   ridge crest under Label4, ocean crust under Label6, trench under Label2,
//   continental crust under Label5, the sinking plate under Label3.
// Thicknesses at 1.6 pixels a kilometre (7 km of ocean crust, about 60 km of continent); heights of
// land and depths of sea three times larger, the trench deeper still: the deepest sea there is.

QPointF piu(const QPointF &a, const QPointF &b, double t)
{
    return a + b * t;
}

QColor ombreggia(const QColor &base, double pendenza)
{
    // slopes facing left (rising to the right) catch the light
    const double k = std::clamp(-pendenza * 1.6, -0.5, 0.5);
    return k > 0 ? style::mix(base, Qt::white, k * 0.6) : style::mix(base, QColor(0x30, 0x30, 0x38), -k * 0.55);
}

QImage crostuno(PictureContext &)
{
    const QSize size = pixelsForTwips(7200, 5580);
    const double w = size.width(), h = size.height();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const double mare = px(3440);      // sea level on the front face
    const QPointF indietro(76, -290);  // the top face going back
    const double xd = 124, xf = 532;   // ridge crest, trench axis

    const QList<QPointF> fondo = {{0, 481},   {60, 476},  {100, 470}, {116, 467}, {120, 472}, {124, 474}, {128, 472},
                                  {132, 467}, {150, 470}, {200, 476}, {280, 480}, {440, 482}, {492, 485}, {510, 498},
                                  {522, 520}, {xf, 542},  {544, 530}, {558, 508}, {574, 484}, {590, 464}, {606, 459}};
    const QList<QPointF> terra = {{606, 459}, {620, 456}, {660, 452}, {700, 446}, {730, 440}, {760, 437}, {780, 433},
                                  {792, 424}, {798, 418}, {802, 421}, {806, 418}, {812, 424}, {826, 436}, {860, 440},
                                  {900, 444}, {w, 446}};
    QList<QPointF> superficie = fondo;
    superficie.removeLast();
    superficie += terra;

    // the top face: the land extruded backwards (the strips never fold over, so no order is needed),
    // the sea as a plane with the ridge and the trench marked on it
    cielo(p, QRectF(0, 0, w, h));
    for (qsizetype i = 0; i + 1 < terra.size(); ++i) {
        const QPointF a = terra.at(i), b = terra.at(i + 1);
        const double pendenza = (b.y() - a.y()) / std::max(1e-6, b.x() - a.x());
        QColor base = terreno();
        if (a.y() < 442 || b.y() < 442)
            base = style::mix(terreno(), QColor(0xB0, 0x98, 0x78), 0.6);
        const QColor c = ombreggia(base, pendenza * 0.6);
        QPolygonF quad({a, b, piu(b, indietro, 1), piu(a, indietro, 1)});
        p.setPen(QPen(c, 0.8));
        p.setBrush(c);
        p.drawPolygon(quad);
    }
    // volcanoes along the chain, smaller going back
    for (double t : {0.85, 0.58, 0.3}) {
        const QPointF base = piu(QPointF(802, 436), indietro, t);
        const double k = 1.0 - 0.35 * t;
        QPainterPath cono;
        cono.moveTo(base + QPointF(-26 * k, 4 * k));
        cono.lineTo(base + QPointF(-4 * k, -17 * k));
        cono.lineTo(base + QPointF(4 * k, -17 * k));
        cono.lineTo(base + QPointF(24 * k, 4 * k));
        cono.closeSubpath();
        p.setPen(style::pen(sez::vulcano().darker(135), 1.0));
        p.setBrush(sez::vulcano());
        p.drawPath(cono);
    }
    // the sea over the ocean floor
    QPolygonF acquaSopra({QPointF(0, mare), QPointF(606, mare), piu(QPointF(606, mare), indietro, 1), piu(QPointF(0, mare), indietro, 1)});
    QLinearGradient piano(0, mare, 0, mare + indietro.y());
    piano.setColorAt(0, sez::mare());
    piano.setColorAt(1, style::mix(sez::mare(), Qt::white, 0.25));
    p.setPen(Qt::NoPen);
    p.setBrush(piano);
    p.drawPolygon(acquaSopra);
    // the ridge and the trench, seen through the water
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(style::withAlpha(QColor(0x2E, 0x4E, 0x6E), 0.55), 2.2, Qt::DashLine, Qt::FlatCap));
    p.drawLine(QPointF(xd, mare), piu(QPointF(xd, mare), indietro, 1));
    p.setPen(QPen(style::withAlpha(QColor(0x1E, 0x34, 0x50), 0.6), 4.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(xf, mare), piu(QPointF(xf, mare), indietro, 1));
    p.setPen(style::pen(style::withAlpha(Qt::white, 0.6), 1.2));
    p.drawLine(piu(QPointF(606, mare), indietro, 1), QPointF(606, mare));

    // plates moving on the top face: apart from the ridge, towards the trench
    const auto sulPiano = [&](double x, double t) { return piu(QPointF(x, mare), indietro, t); };
    const QColor bianco = style::withAlpha(Qt::white, 0.92);
    const double t = 0.5;
    freccia(p, sulPiano(xd - 14, t), sulPiano(xd - 92, t), bianco, 9, 17);
    freccia(p, sulPiano(xd + 14, t), sulPiano(xd + 120, t), bianco, 9, 17);
    freccia(p, sulPiano(300, t), sulPiano(440, t), bianco, 9, 17);

    // the front face
    QPainterPath fronte = linea(superficie);
    fronte.lineTo(w, h);
    fronte.lineTo(0, h);
    fronte.closeSubpath();
    p.save();
    p.setClipPath(fronte);
    QLinearGradient mantello(0, mare, 0, h);
    mantello.setColorAt(0, sez::astenosfera());
    mantello.setColorAt(1, sez::astenosferaProfonda());
    p.fillRect(QRectF(0, mare - 40, w, h - mare + 40), mantello);

    // magma under the ridge
    QPainterPath risalita;
    risalita.moveTo(xd - 64, h);
    risalita.cubicTo(QPointF(xd - 24, 600), QPointF(xd - 6, 520), QPointF(xd - 2, 476));
    risalita.lineTo(xd + 2, 476);
    risalita.cubicTo(QPointF(xd + 6, 520), QPointF(xd + 24, 600), QPointF(xd + 64, h));
    risalita.closeSubpath();
    QLinearGradient caldo(0, 470, 0, h);
    caldo.setColorAt(0, style::withAlpha(sez::magma(), 0.95));
    caldo.setColorAt(1, style::withAlpha(sez::magma(), 0.2));
    p.fillPath(risalita, caldo);

    // the ocean plates: crust on their rigid mantle, thicker with age, one sinking under the continent
    const double crosta = 7 * 1.6;
    QList<QPointF> cima, baseCrosta, basePlacca;
    for (const QPointF &q : fondo)
        if (q.x() <= xf)
            cima.append(q);
    cima += {{560, 550}, {600, 559}, {700, 578}, {823, 600}, {850, 616}, {900, 655}, {w, 706}, {w + 60, 770}};
    for (const QPointF &q : cima) {
        const double dist = q.x() < xd ? (xd - q.x()) : std::min(q.x() - xd, xf - xd);
        const double spessore = q.x() > xf ? 165 + (q.x() - xf) * 0.1 : 160 * std::sqrt(dist / (xf - xd));
        baseCrosta.append(q + QPointF(0, crosta + (q.x() > xf ? 1.5 : 0)));
        basePlacca.append(q + QPointF(q.x() > xf ? -20 : 0, crosta + std::max(3.0, spessore)));
    }
    strato(p, fascia(baseCrosta, basePlacca), sez::litosfera());
    strato(p, fascia(cima, baseCrosta), sez::oceanica());

    // the continent, resting on the sinking plate near the trench
    QList<QPointF> sopraContinente = {{544, 530}, {558, 508}, {574, 484}, {590, 464}};
    sopraContinente += terra;
    const QList<QPointF> moho = {{544, 532}, {560, 548}, {600, 558}, {700, 576}, {740, 577}, {800, 578}, {900, 578}, {w, 578}};
    strato(p, fascia(sopraContinente, moho), sez::continentale());

    // magma from above the sinking plate up to the volcano
    QPainterPath vena;
    vena.moveTo(852, 614);
    vena.cubicTo(QPointF(836, 575), QPointF(826, 520), QPointF(815, 486));
    vena.cubicTo(QPointF(808, 462), QPointF(803, 440), QPointF(802, 422));
    p.setPen(style::pen(style::withAlpha(sez::magma(), 0.92), 5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(vena);
    p.setPen(Qt::NoPen);
    p.setBrush(style::withAlpha(sez::magma(), 0.92));
    p.drawEllipse(QPointF(813, 482), 8, 11);
    p.drawEllipse(QPointF(855, 620), 9, 6);
    p.restore();

    // the sea in section
    QPainterPath acquaFronte = linea(fondo);
    acquaFronte.lineTo(606, mare);
    acquaFronte.lineTo(0, mare);
    acquaFronte.closeSubpath();
    QLinearGradient g(0, mare, 0, 540);
    g.setColorAt(0, sez::mare());
    g.setColorAt(1, sez::mareProfondo());
    p.fillPath(acquaFronte, g);

    // the sinking plate goes down
    QPainterPath giu;
    giu.moveTo(604, 590);
    giu.lineTo(682, 608);
    frecciaLinea(p, giu, QColor(0x3A, 0x40, 0x48), 3, 13);

    // the land surface over the continental crust, then the block's edges
    suolo(p, terra);
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.85), 1.8));
    p.drawPath(linea(superficie));
    // the far edge: the land's profile, and the sea's surface
    QList<QPointF> retro = {piu(QPointF(0, mare), indietro, 1)};
    for (const QPointF &q : terra)
        retro.append(piu(q, indietro, 1));
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.45), 1.4));
    p.drawPath(linea(retro));
    p.drawLine(QPointF(0, mare), retro.first());
    // smoke from the front volcano
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 4; ++k) {
        p.setBrush(style::withAlpha(QColor(0xB6, 0xB2, 0xAC), 0.7 - 0.12 * k));
        p.drawEllipse(QPointF(803 + 6 * k, 410 - 11 * k), 5 + 2 * k, 5 + 2 * k);
    }
    return image;
}

} // namespace

void addLezione2(QList<Picture> *pictures)
{
    pictures->append({QStringLiteral("altre/croste1.jpg"), QStringLiteral("crosta continentale e crosta oceanica a confronto"), croste1});
    pictures->append({QStringLiteral("altre/croocean.jpg"), QStringLiteral("la crosta oceanica dalla dorsale alla fossa"), croocean});
    pictures->append({QStringLiteral("altre/crostuno.jpg"), QStringLiteral("sezione a blocco per le finestrelle: dorsale, fossa, subduzione"), crostuno});
    pictures->append({QStringLiteral("altre/ter200.jpg"), QStringLiteral("i terremoti del mondo, per profondità"), ter200});
    pictures->append({QStringLiteral("altre/vulc200.jpg"), QStringLiteral("i vulcani attivi del mondo"), vulc200});
}

} // namespace disegni
