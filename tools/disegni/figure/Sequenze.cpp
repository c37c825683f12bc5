// The cross-section sequences of the animation viewer and of the synthesis zooms: sea-floor
// spreading at a ridge (allontan/), ocean under continent (subduzio/), two continents colliding
// (avvici/), ocean under ocean with an island arc (oceoce/). Each frame is the same scene a small
// step later: everything that moves is a function of the frame's time, so the frames play smoothly.

#include "Sequenze.h"

#include "Catalogue.h"
#include "Output.h"
#include "Sezione.h"
#include "Style.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace disegni {

void addOrigini(QList<Picture> *pictures); // Origini.cpp

namespace {

using namespace sezione;
using sequenze::Fotogramma;

// Design sizes in twips. A strip is stretched by the viewer into 7215 x 2175 twips, so it keeps
// that shape; its height is the most that still leaves every lesson page that shows one of its
// frames at natural size clear of the text panel and of the animation button beside it.
const QSize kEspansione(6015, 1815);    // topic 4 page 1, topic 6 page 3 (panel at 2750 under a picture at 840)
const QSize kAvvicinamento(6720, 2025); // topic 4 pages 5 and 9, topic 6 page 5 (panel at 3000 under 840)
const QSize kOceanica(6465, 1950);      // topic 4 page 6 (panel at 3600 under 1550)
// Played in 4575 x 3735 and 4815 x 3735: the shape between the two.
const QSize kSubduzione(4695, 3735);
// The same scene on topic 4 pages 2-4: under the title, above the panel at 3600, left of the
// animation button at 8400.
const QSize kSubduzioneLezione(6720, 2610);

QImage nuova(const QSize &twips)
{
    return newPicture(pixelsForTwips(twips.width(), twips.height()), Qt::white);
}

void prepara(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

void riempi(QPainter &p, const Sezione &sez, const QPainterPath &km, const QBrush &brush)
{
    p.fillPath(sez.px(km), brush);
}

void contorna(QPainter &p, const Sezione &sez, const QPainterPath &km, double spessore, const QColor &colore = colore::contorno())
{
    p.strokePath(sez.px(km), style::pen(colore, spessore));
}

// Sky, hot mantle and the sea over the solid surface `superficie`.
void fondo(QPainter &p, const Sezione &sez, const Profilo &superficie)
{
    const QSizeF size = sez.pixels();
    const double seaY = sez.px(0, 0).y();
    QLinearGradient sky(0, 0, 0, seaY);
    sky.setColorAt(0, colore::cieloAlto());
    sky.setColorAt(1, colore::cielo());
    p.fillRect(QRectF(0, 0, size.width(), seaY), sky);

    QLinearGradient mantle(0, seaY, 0, size.height());
    mantle.setColorAt(0, colore::astenosfera());
    mantle.setColorAt(1, colore::astenosferaProfonda());
    p.fillRect(QRectF(0, seaY, size.width(), size.height() - seaY), mantle);

    const QPainterPath sea = Sezione::tra([](double) { return 0.0; },
                                          [&](double x) { return std::max(0.0, superficie(x)); }, 0, sez.larghezza());
    QLinearGradient water(0, seaY, 0, sez.px(0, 30).y());
    water.setColorAt(0, colore::mare());
    water.setColorAt(1, colore::mareProfondo());
    riempi(p, sez, sea, water);
    p.setPen(style::pen(style::withAlpha(Qt::white, 0.8), 1.4));
    p.drawLine(QPointF(0, seaY), QPointF(size.width(), seaY));
}

// The green skin of the land: the first km under the surface wherever it stands above the sea.
QPainterPath pelleVerde(const Profilo &superficie, double x0, double x1, double spessore = 2.2)
{
    return Sezione::tra(superficie,
                        [&](double x) {
                            const double z = superficie(x);
                            return z < 0 ? z + spessore * std::clamp(-z / 1.5, 0.0, 1.0) : z;
                        },
                        x0, x1, 0.5);
}

// An arrow of plate motion, in pixels; the note counts it as moving away from the boundary at
// pixel column `confine` or towards it.
void moto(QPainter &p, const QPointF &a, const QPointF &b, double spessore, double confine, Fotogramma *nota)
{
    disegnaFreccia(p, a, b, spessore, colore::freccia(), style::withAlpha(Qt::white, 0.7));
    if (nota)
        nota->moto += (b.x() - a.x()) * (a.x() - confine) > 0 ? 1 : -1;
}

// A thin frame round the picture, so that it ends cleanly on any page.
void cornice(QPainter &p, const QSizeF &size)
{
    p.setPen(style::pen(style::withAlpha(colore::contorno(), 0.55), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, size.width() - 2, size.height() - 2));
}

// ---------------------------------------------------------------------------------------------
// Sequence 2: sea-floor spreading. A young, narrow ocean between two continents widens frame by
// frame: the plates move apart, magma rises under the ridge and becomes new crust in bands that
// move away on both sides, over two convection cells that turn in opposite directions.

struct Dorsale {
    double x = 400;       // the ridge
    double larghezza = 0; // ocean floor on each side, up to the foot of the continents
    double tempo = 0;     // km of new crust made on each side since the first frame
};

constexpr double kMargine = 70;     // km of the continental slope, from thin crust to full thickness
constexpr double kBanda = 40;       // km of one band of crust of the same age

double fondaleOceanico(double u)
{
    // shallow at the ridge, deeper as the floor cools and ages, a small rift valley on the axis
    return 9.0 + 1.0 * std::sqrt(u) + 2.2 * std::exp(-(u / 5.0) * (u / 5.0));
}

constexpr double kCrostaOceanica = 10;
constexpr double kCrostaContinentale = 46;
// km a volcano's top must stand above the sea to count, and be named, as an island: one that only
// reaches the surface is still a submarine volcano
constexpr double kFuoriDalMare = 4;

double basePlaccaOceanica(double u)
{
    return fondaleOceanico(u) + kCrostaOceanica + 4.2 * std::sqrt(u);
}

struct ProfiliDorsale {
    Profilo superficie, baseCrosta, baseLitosfera;
};

ProfiliDorsale profiliDorsale(const Dorsale &d)
{
    ProfiliDorsale r;
    r.superficie = [d](double x) {
        const double u = std::abs(x - d.x);
        const double f = liscio((u - d.larghezza) / kMargine);
        const double ocean = fondaleOceanico(std::min(u, d.larghezza));
        // a low coastal plain rising gently inland
        const double land = -7 - 3 * liscio((u - d.larghezza - kMargine) / 160);
        return mescola(ocean, land, f);
    };
    r.baseCrosta = [d](double x) {
        const double u = std::abs(x - d.x);
        const double f = liscio((u - d.larghezza) / kMargine);
        return mescola(fondaleOceanico(std::min(u, d.larghezza)) + kCrostaOceanica, kCrostaContinentale, f);
    };
    r.baseLitosfera = [d](double x) {
        const double u = std::abs(x - d.x);
        const double f = liscio((u - d.larghezza) / (kMargine * 1.8));
        return mescola(basePlaccaOceanica(std::min(u, d.larghezza)), 118, f);
    };
    return r;
}

QPainterPath linea(const Profilo &z, double x0, double x1)
{
    QPainterPath path;
    path.addPolygon(Sezione::linea(z, x0, x1, 0.5));
    return path;
}

// Magma rising from the mantle under a ridge: a wide root fading into the mantle, narrowing into
// a chamber just under the axis.
void risalita(QPainter &p, const Sezione &sez, double x, double top, double bottom, double mezzaLarghezza)
{
    QPainterPath melt;
    melt.moveTo(x, top);
    melt.cubicTo(x + mezzaLarghezza * 0.35, top + 2, x + mezzaLarghezza * 0.6, top + 25, x + mezzaLarghezza,
                 bottom - 25);
    melt.cubicTo(x + mezzaLarghezza * 1.2, bottom - 8, x + mezzaLarghezza * 0.6, bottom, x, bottom);
    melt.cubicTo(x - mezzaLarghezza * 0.6, bottom, x - mezzaLarghezza * 1.2, bottom - 8, x - mezzaLarghezza,
                 bottom - 25);
    melt.cubicTo(x - mezzaLarghezza * 0.6, top + 25, x - mezzaLarghezza * 0.35, top + 2, x, top);
    melt.closeSubpath();
    const QPainterPath shape = sez.px(melt);
    QLinearGradient g(sez.px(x, top), sez.px(x, bottom));
    g.setColorAt(0.0, colore::magmaChiaro());
    g.setColorAt(0.25, colore::magma());
    g.setColorAt(0.75, style::mix(colore::magma(), colore::astenosfera(), 0.45));
    g.setColorAt(1.0, style::withAlpha(colore::astenosfera(), 0.0));
    p.fillPath(shape, g);
    QLinearGradient edge(sez.px(x, top), sez.px(x, bottom));
    edge.setColorAt(0.0, QColor(0xA8, 0x3A, 0x10));
    edge.setColorAt(0.6, style::withAlpha(QColor(0xA8, 0x3A, 0x10), 0.5));
    edge.setColorAt(1.0, style::withAlpha(QColor(0xA8, 0x3A, 0x10), 0.0));
    p.strokePath(shape, QPen(QBrush(edge), 1.6));
}

QImage espansione(int k, Fotogramma *nota = nullptr)
{
    QImage image = nuova(kEspansione);
    QPainter p(&image);
    prepara(p);
    const Sezione sez(image.size(), 800, 36);
    const double passo = 17; // km of new floor on each side per frame
    Dorsale d;
    d.x = 400;
    d.tempo = passo * k;
    d.larghezza = 42 + d.tempo;
    const ProfiliDorsale prof = profiliDorsale(d);
    const double W = sez.larghezza();
    const double crest = fondaleOceanico(0);
    if (nota) {
        nota->oceano = 2 * d.larghezza;
        nota->dorsale = true;
    }

    fondo(p, sez, prof.superficie);

    // convection: up under the ridge, outwards under the plates, down at the far ends
    const double fase = double(k) / 16.0;
    for (int side : {-1, 1})
        disegnaCella(p, sez.px(d.x + side * 192, 162), sez.px(166), sez.px(27), side > 0, fase, 3.0,
                     style::withAlpha(colore::cella(), 0.8));

    risalita(p, sez, d.x, crest + 5, 150, 40);

    for (int side : {-1, 1}) {
        const double x0 = side < 0 ? 0 : d.x;
        const double x1 = side < 0 ? d.x : W;
        const QPainterPath plate = Sezione::tra(prof.superficie, prof.baseLitosfera, x0, x1, 0.5);
        riempi(p, sez, plate, colore::litosfera());

        // oceanic crust, lighter where it is young
        const double cob = d.x + side * d.larghezza;
        const QPainterPath ocean =
            Sezione::tra(prof.superficie, prof.baseCrosta, std::min(d.x, cob), std::max(d.x, cob), 0.5);
        QLinearGradient age(sez.px(d.x, 0), sez.px(d.x + side * 260, 0));
        age.setColorAt(0, colore::oceanicaGiovane());
        age.setColorAt(1, colore::oceanica());
        riempi(p, sez, ocean, age);
        // lines of equal age, made at the ridge and carried away with the plate
        for (int b = -2; b * kBanda <= d.tempo; ++b) {
            const double u = d.tempo - b * kBanda;
            if (u <= 3 || u >= d.larghezza - 2)
                continue;
            const double x = d.x + side * u;
            p.setPen(style::pen(style::withAlpha(colore::oceanica().darker(160), 0.55), 1.3));
            p.drawLine(sez.px(x, prof.superficie(x) + 0.8), sez.px(x, prof.baseCrosta(x) - 0.8));
        }
        // the continent beyond the oldest floor
        const double c0 = side < 0 ? 0 : cob, c1 = side < 0 ? cob : W;
        riempi(p, sez, Sezione::tra(prof.superficie, prof.baseCrosta, c0, c1, 0.5), colore::continentale());
        riempi(p, sez, pelleVerde(prof.superficie, c0, c1, 3.0), colore::verde());
        contorna(p, sez, linea(prof.baseCrosta, x0, x1), 1.2, style::withAlpha(colore::contorno(), 0.55));
        contorna(p, sez, plate, 2.0);
    }

    // small volcanoes built at the axis ride away on both plates, one every few frames
    for (int i = -6; i < 20; ++i) {
        const double born = i * 2.2 + 0.7;
        const double u = d.tempo - born * passo;
        if (u < 2 || u > d.larghezza - 14)
            continue;
        const int side = i % 2 == 0 ? 1 : -1;
        const double x = d.x + side * u;
        const double h = (3.6 - 0.004 * u) * liscio(u / 24), half = 9; // growing as it leaves the axis
        const Profilo base = prof.superficie;
        const Profilo top = [=](double xx) {
            const double t = std::abs(xx - x) / half;
            return base(xx) - (t < 1 ? h * (1 - t * t) : 0.0);
        };
        const QPainterPath cone = Sezione::tra(top, base, x - half, x + half, 0.5);
        riempi(p, sez, cone, colore::oceanica());
        contorna(p, sez, linea(top, x - half, x + half), 1.2, style::withAlpha(colore::contorno(), 0.8));
        if (nota)
            ++nota->vulcani;
    }

    // the magma comes up the axis and pours out on the floor
    {
        QPainterPath dyke;
        dyke.moveTo(sez.px(d.x, crest + 6));
        dyke.lineTo(sez.px(d.x, crest - 0.5));
        p.strokePath(dyke, style::pen(QColor(0xA8, 0x3A, 0x10), 5.0));
        p.strokePath(dyke, style::pen(colore::magma(), 3.0));
        const double swell = 0.75 + 0.25 * std::abs(std::sin(k * 1.3));
        // a glow in the water over the vent
        QRadialGradient glow(sez.px(d.x, crest - 2), sez.px(12));
        glow.setColorAt(0, style::withAlpha(colore::magmaChiaro(), 0.75));
        glow.setColorAt(1, style::withAlpha(colore::magmaChiaro(), 0.0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(sez.px(d.x, crest - 2), sez.px(12), sez.px(12));
        QPainterPath lava;
        lava.moveTo(sez.px(d.x - 11 * swell, crest + 0.6));
        lava.quadTo(sez.px(d.x - 6, crest - 4.5 * swell), sez.px(d.x, crest - 6.5 * swell));
        lava.quadTo(sez.px(d.x + 6, crest - 4.5 * swell), sez.px(d.x + 11 * swell, crest + 0.6));
        lava.closeSubpath();
        disegnaMagma(p, lava, 1.2);
        // steam and gas rising through the water to the surface
        p.setPen(style::pen(style::withAlpha(Qt::white, 0.9), 1.2));
        p.setBrush(style::withAlpha(Qt::white, 0.4));
        for (int i = 0; i < 5; ++i) {
            const double t = std::fmod(k * 0.29 + i / 5.0, 1.0);
            const double z = (crest - 7) * (1 - t);
            const double r = 1.8 + 1.6 * t;
            p.drawEllipse(sez.px(d.x + (i - 2) * 2.2 + std::sin(k * 0.9 + i) * 2.0, z), r, r);
        }
    }

    // shallow earthquakes along the ridge, now on one side, now on the other
    if (k % 3 != 1) {
        disegnaTerremoto(p, sez.px(d.x + (k % 3 == 0 ? -11 : 13), crest + 6), 6.5);
        if (nota)
            ++nota->terremoti;
    }

    // the plates move apart
    for (int side : {-1, 1}) {
        const double x = d.x + side * 118;
        const double z = (prof.baseCrosta(x) + prof.baseLitosfera(x)) / 2 + 4;
        moto(p, sez.px(x - side * 32, z), sez.px(x + side * 32, z), 5.0, sez.px(d.x, 0).x(), nota);
    }

    const double fs = 19;
    Etichetta ridge{QStringLiteral("dorsale oceanica"), sez.px(d.x - 14, -17), fs, Qt::AlignRight, true};
    ridge.guida = sez.px(d.x, crest - 3);
    disegnaEtichetta(p, ridge);
    const double xo = d.x + std::max(22.0, d.larghezza * 0.55);
    Etichetta ocean{QStringLiteral("crosta oceanica"), sez.px(d.x + 22, -17), fs, Qt::AlignLeft};
    ocean.guida = sez.px(xo, prof.superficie(xo) + kCrostaOceanica * 0.5);
    disegnaEtichetta(p, ocean);
    Etichetta cont{QStringLiteral("crosta continentale"), sez.px(8, -19), fs, Qt::AlignLeft};
    cont.guida = sez.px(40, 20);
    disegnaEtichetta(p, cont);
    disegnaEtichetta(p, {QStringLiteral("magma"), sez.px(d.x + 30, 88), fs, Qt::AlignLeft, true});
    for (int side : {-1, 1})
        disegnaEtichetta(p, {QStringLiteral("cella convettiva"), sez.px(d.x + side * 192, 168), fs});

    cornice(p, image.size());
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// Convergent margins: the plate on the left reaches the trench and goes down under the plate on
// the right along a Lastra. The left plate and the right plate are profiles of x; the part of the
// right plate that would lie below the slab's top is cut away, which leaves the mantle wedge
// between the two where the slab is deep enough.

struct Vulcano {
    double x = 0;
    double altezza = 0;     // km over the ground at its foot
    double base = 28;       // half width of the cone at its foot
    double eruzione = 0;    // 0-1
    double camera = 0;      // 0-1: size of the magma chamber under it
    double profCamera = 25; // depth of the chamber's centre
    double verde = 0;       // green on its emerged flanks, for islands
};

struct Goccia {
    QPointF km;
    double raggio = 4; // km
};

struct Convergenza {
    double fossa = 0;
    const Lastra *lastra = nullptr;
    double lunghezza = 0;   // slab past the trench
    double spessore = 80;   // slab lithosphere, across the plate
    double crosta = 10;     // slab crust
    double rottura = -1;    // s where the slab has broken off; -1: whole
    double caduta = 0;      // how far the broken part has sunk along the path
    double avanzamento = 0; // how far the left plate has moved since the first frame
    double giunzione = 0;   // the left plate is drawn as profiles up to here, on the flat floor, then along the slab's path
    Profilo sxSuperficie, sxCrosta, sxLitosfera;
    double sxContinenteFino = -1e9; // the left crust is continental up to this x, oceanic after it
    Profilo dxSuperficie, dxCrosta, dxLitosfera;
    bool dxContinentale = true;
    bool radiceSopraLastra = false; // colliding continents: the thickened crust is not cut by the slab
    std::vector<Vulcano> vulcani;
    std::vector<Goccia> gocce;
    QPointF fusione{-1, -1}; // km: where the sinking plate melts; it glows while drops leave it
    std::vector<std::pair<QPointF, double>> terremoti; // km, strength 0-1
};

double cono(const Vulcano &v, double x)
{
    if (v.altezza <= 0)
        return 0;
    const double u = std::abs(x - v.x) / v.base;
    if (u >= 1)
        return 0;
    const double crater = std::min(v.altezza * 0.18, 2.2) * std::exp(-std::pow((x - v.x) / 3.0, 2));
    return v.altezza * std::pow(1 - u, 1.25) * (1 - 0.25 * std::exp(-u * u * 60)) - crater;
}

double coni(const std::vector<Vulcano> &vulcani, double x)
{
    double h = 0;
    for (const Vulcano &v : vulcani)
        h = std::max(h, cono(v, x));
    return h;
}

QPainterPath unione(const QPainterPath &a, const QPainterPath &b)
{
    QPainterPath u = a.united(b);
    return u.simplified();
}

void disegnaConvergenza(QPainter &p, const Sezione &sez, const Convergenza &c, Fotogramma *nota = nullptr)
{
    const double W = sez.larghezza();
    const Lastra &L = *c.lastra;
    const double attached = c.rottura >= 0 ? std::min(c.rottura, c.lunghezza) : c.lunghezza;
    // the right plate ends along the slab's path, also ahead of the slab's tip: there the slab
    // slides into mantle, not into the plate
    const auto slabTop = [&](double x) { return L.profondita(x, L.fine()); };
    const Profilo dxSup = [&](double x) { return c.dxSuperficie(x) - coni(c.vulcani, x); };
    const Profilo superficie = [&](double x) { return x < c.fossa ? c.sxSuperficie(x) : dxSup(x); };
    fondo(p, sez, superficie);

    // the slab, its end rounded
    const auto spessoreA = [&](double from, double to, double t) {
        return [=](double s) {
            const double round = std::min(25.0, (to - from) / 2);
            double f = 1;
            if (s > to - round)
                f = std::sqrt(std::max(0.0, 1 - std::pow((s - (to - round)) / round, 2)));
            if (from > 0 && s < from + round)
                f = std::min(f, std::sqrt(std::max(0.0, 1 - std::pow((from + round - s) / round, 2))));
            return t * f;
        };
    };
    const auto zero = [](double) { return 0.0; };
    const double s0 = c.giunzione - c.fossa - 0.5;
    const QPainterPath slab = L.fascia(s0, attached, zero, spessoreA(s0, attached, c.spessore));
    const QPainterPath slabCrust = L.fascia(s0, attached, zero, spessoreA(s0, attached, c.crosta));
    riempi(p, sez, slab, colore::litosfera());
    riempi(p, sez, slabCrust, colore::oceanica());
    QPainterPath fallen;
    if (c.rottura >= 0 && c.lunghezza > c.rottura) {
        const double a = c.rottura + c.caduta, b = c.lunghezza + c.caduta;
        fallen = L.fascia(a, b, zero, spessoreA(a, b, c.spessore));
        riempi(p, sez, fallen, colore::litosfera());
        riempi(p, sez, L.fascia(a, b, zero, spessoreA(a, b, c.crosta)), colore::oceanica());
    }

    // the plate on the right, cut by the slab
    const Profilo dxCrostaBase = [&](double x) {
        const double z = c.radiceSopraLastra ? c.dxCrosta(x) : std::min(c.dxCrosta(x), slabTop(x));
        return std::max(z, c.dxSuperficie(x));
    };
    const Profilo dxLitoBase = [&](double x) {
        return std::max(std::min(c.dxLitosfera(x), slabTop(x)), c.dxSuperficie(x));
    };
    const QPainterPath right = Sezione::tra(c.dxSuperficie, dxLitoBase, c.fossa, W, 0.5);
    riempi(p, sez, right, colore::litosfera());
    const QPainterPath rightCrust = Sezione::tra(c.dxSuperficie, dxCrostaBase, c.fossa, W, 0.5);
    riempi(p, sez, rightCrust, c.dxContinentale ? colore::continentale() : colore::oceanica());
    if (c.dxContinentale)
        riempi(p, sez, pelleVerde(c.dxSuperficie, c.fossa, W, 3.0), colore::verde());

    // the plate on the left, up to where the slab's path takes it over; a continent on it may
    // reach further, over the bending plate
    const double cob = std::clamp(c.sxContinenteFino, 0.0, c.fossa);
    const QPainterPath left = Sezione::tra(c.sxSuperficie, c.sxLitosfera, 0, c.giunzione, 0.5);
    riempi(p, sez, left, colore::litosfera());
    if (cob < c.giunzione)
        riempi(p, sez, Sezione::tra(c.sxSuperficie, c.sxCrosta, cob, c.giunzione, 0.5), colore::oceanica());
    const QPainterPath leftContinent = cob > 0 ? Sezione::tra(c.sxSuperficie, c.sxCrosta, 0, cob, 0.5) : QPainterPath();
    if (cob > 0) {
        riempi(p, sez, leftContinent, colore::continentale());
        riempi(p, sez, pelleVerde(c.sxSuperficie, 0, cob, 3.0), colore::verde());
    }

    // marks carried by the oceanic crust show it moving into the trench
    const double marks = 40;
    for (int i = -40; i < 40; ++i) {
        const double s = c.avanzamento + i * marks;
        if (s < cob - c.fossa + 3 || s > attached - 8 || std::abs(s) < 2)
            continue;
        p.setPen(style::pen(style::withAlpha(colore::oceanica().darker(160), 0.55), 1.3));
        if (s < c.giunzione - c.fossa) {
            const double x = c.fossa + s;
            p.drawLine(sez.px(x, c.sxSuperficie(x) + 0.8), sez.px(x, c.sxCrosta(x) - 0.8));
        } else {
            const QPointF q = L.punto(s), n = L.normale(s);
            p.drawLine(sez.px(q + n * 0.8), sez.px(q + n * (c.crosta - 0.8)));
        }
    }

    // outlines: crust bases thin, plates bold
    const QColor thin = style::withAlpha(colore::contorno(), 0.55);
    contorna(p, sez, linea(c.sxCrosta, 0, std::max(cob, c.giunzione)), 1.2, thin);
    {
        QPainterPath l;
        QPolygonF line;
        for (double s = std::max(s0, cob - c.fossa); s <= attached - 2; s += 1)
            line << L.punto(s) + L.normale(s) * c.crosta;
        l.addPolygon(line);
        contorna(p, sez, l, 1.2, thin);
    }
    contorna(p, sez, linea(dxCrostaBase, c.fossa + 1, W), 1.2, thin);
    if (c.radiceSopraLastra) {
        // welded: one body, the weld drawn by the caller
        contorna(p, sez, unione(unione(left, slab), unione(unione(right, rightCrust), leftContinent)), 2.0);
    } else {
        contorna(p, sez, unione(unione(left, slab), leftContinent), 2.0);
        contorna(p, sez, right, 2.0);
    }
    if (!fallen.isEmpty())
        contorna(p, sez, fallen, 2.0);

    // magma: where the slab melts, drops rising from it, chambers, the way up to the craters
    const bool fonde = !c.gocce.empty() && c.fusione.x() >= 0;
    if (fonde) {
        const QPointF centro = sez.px(c.fusione);
        const double r = sez.px(22);
        QRadialGradient glow(centro, r);
        glow.setColorAt(0, style::withAlpha(colore::magmaChiaro(), 0.95));
        glow.setColorAt(0.45, style::withAlpha(colore::magma(), 0.7));
        glow.setColorAt(1, style::withAlpha(colore::magma(), 0.0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(centro, r, r);
    }
    for (const Goccia &g : c.gocce)
        disegnaMagma(p, sez.px(goccia(g.km, g.raggio, g.raggio * 1.6)), 1.3);
    for (const Vulcano &v : c.vulcani) {
        if (v.camera > 0) {
            if (v.altezza > 2) {
                QPainterPath pipe;
                pipe.moveTo(sez.px(v.x, v.profCamera));
                pipe.lineTo(sez.px(v.x, dxSup(v.x) + 0.5));
                p.strokePath(pipe, style::pen(QColor(0xA8, 0x3A, 0x10), 4.2));
                p.strokePath(pipe, style::pen(colore::magma(), 2.4));
            }
            QPainterPath chamber;
            chamber.addEllipse(sez.px(v.x, v.profCamera), sez.px(11 * v.camera), sez.px(5.5 * v.camera));
            disegnaMagma(p, chamber, 1.4);
        }
    }
    for (const Vulcano &v : c.vulcani) {
        if (v.altezza <= 0)
            continue;
        const QPainterPath cone = Sezione::tra(dxSup, c.dxSuperficie, v.x - v.base, v.x + v.base, 0.25);
        riempi(p, sez, cone, colore::vulcano());
        if (v.verde > 0) {
            // the emerged lower flanks of an island turn green; the summit stays bare rock
            const Profilo top = dxSup;
            const Profilo skin = [&](double x) {
                const double z = top(x);
                const double bare = std::exp(-std::pow((x - v.x) / (v.base * 0.28), 2));
                return z < 0 ? z + 2.4 * v.verde * (1 - bare) * std::clamp(-z / 1.2, 0.0, 1.0) : z;
            };
            riempi(p, sez, Sezione::tra(top, skin, v.x - v.base, v.x + v.base, 0.25), colore::verde());
        }
        contorna(p, sez, linea(dxSup, v.x - v.base, v.x + v.base), 1.4, style::withAlpha(colore::contorno(), 0.8));
        if (v.camera > 0 && v.altezza > 2) {
            QPainterPath pipe;
            pipe.moveTo(sez.px(v.x, c.dxSuperficie(v.x)));
            pipe.lineTo(sez.px(v.x, dxSup(v.x) + 0.5));
            p.strokePath(pipe, style::pen(QColor(0xA8, 0x3A, 0x10), 4.2));
            p.strokePath(pipe, style::pen(colore::magma(), 2.4));
        }
        disegnaEruzione(p, sez.px(v.x, dxSup(v.x)), sez.scala() * 1.3, v.eruzione);
    }
    for (const auto &[km, forza] : c.terremoti)
        disegnaTerremoto(p, sez.px(km), 7.5, forza);

    if (nota) {
        nota->fossa = true;
        nota->lastra = attached > s0;
        nota->lastraOceanica = cob < c.fossa - 1;
        nota->sopraOceanica = !c.dxContinentale;
        nota->terremoti += int(c.terremoti.size());
        // the drops leave the top of the sinking plate, where it melts
        nota->magmaDallaLastra = fonde && std::abs(L.profondita(c.fusione.x(), L.fine()) - c.fusione.y()) < 6;
        for (const Vulcano &v : c.vulcani) {
            if (v.altezza <= 0.5)
                continue;
            ++nota->vulcani;
            double cima = c.dxSuperficie(v.x);
            for (double x = v.x - v.base; x <= v.x + v.base; x += 0.5)
                cima = std::min(cima, dxSup(x));
            if (c.dxSuperficie(v.x) > 0 && cima < -kFuoriDalMare)
                ++nota->isole;
        }
    }
}

// Drops of magma leaving the slab at depth `da` from frame kInizio on, one every `ogni` frames,
// rising `velocita` km per frame to the chamber at depth `a`.
std::vector<Goccia> gocce(double x, double da, double a, double kInizio, double kFine, double k, double ogni,
                          double velocita)
{
    std::vector<Goccia> out;
    for (int j = 0; j < 40; ++j) {
        const double born = kInizio + j * ogni;
        if (born > k || born > kFine)
            break;
        const double z = da - velocita * (k - born);
        if (z < a + 9)
            continue;
        out.push_back({QPointF(x + 5 * std::sin(j * 2.1) + 0.04 * (da - z), z), 3.6 + 0.6 * std::sin(j * 1.3)});
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Sequence 4: oceanic crust goes down under a continent. The slab lengthens frame by frame; once it
// reaches about 100 km, magma leaves it, rises, gathers under the continent and builds a volcano;
// the squeezed edge of the continent rises into a chain; earthquakes follow the slab down, the last
// one deep in the mantle.

// Sea floor of an ocean plate approaching its trench at xT: the abyssal plain, a low outer rise,
// the bend into the trench, over kFlessione km.
constexpr double kFlessione = 80;
double fondaleVersoFossa(double x, double xT, double abisso, double fossa)
{
    // the plate bends down smoothly and keeps dipping past the trench, where the slab takes over
    const double u = std::max(0.0, (x - (xT - kFlessione)) / kFlessione);
    return abisso - 2.2 * std::exp(-std::pow((x - (xT - kFlessione - 30)) / 34, 2)) + (fossa - abisso) * u * u;
}

// The path of a plate going down at the trench xT from the sea floor `fondale`, bending over `curva`
// km to a dip of `pendenza` degrees.
Lastra lastraSotto(const Profilo &fondale, double xT, double pendenza, double curva, double lunghezza)
{
    Lastra::Forma forma;
    forma.fossa = xT;
    forma.pendenza = pendenza;
    forma.curva = curva;
    forma.lunghezza = lunghezza;
    return Lastra(fondale, -10, forma);
}

struct Subduzione {
    int k = 0;              // frame, 0-14
    double xT = 190;        // trench
    bool etichetteLezione = false;
};

constexpr double kSubAvanzamento = 35;  // km the ocean plate moves per frame
constexpr double kSubLunghezza0 = 40;   // slab past the trench in the first frame
constexpr double kSubProfMagma = 115;   // depth at which the slab starts melting

QImage subduzione(const QSize &twips, double larghezza, double sopra, const Subduzione &sc)
{
    QImage image = nuova(twips);
    QPainter p(&image);
    prepara(p);
    const Sezione sez(image.size(), larghezza, sopra);
    const double xT = sc.xT;
    const double k = sc.k;
    const double abisso = 20, profFossa = 36;
    const Profilo fondale = [=](double x) { return fondaleVersoFossa(x, xT, abisso, profFossa); };
    const Lastra lastra = lastraSotto(fondale, xT, 54, 240, 900);

    Convergenza c;
    c.fossa = xT;
    c.lastra = &lastra;
    c.avanzamento = kSubAvanzamento * k;
    c.giunzione = xT - kFlessione;
    c.lunghezza = kSubLunghezza0 + kSubAvanzamento * k;
    c.spessore = 82;
    c.sxSuperficie = fondale;
    c.sxCrosta = [=](double x) { return fondale(x) + 10; };
    c.sxLitosfera = [=](double x) { return fondale(x) + 82; };

    const double sMagma = lastra.aProfondita(kSubProfMagma);
    const double xv = lastra.punto(sMagma).x();
    // frame at which the slab reaches the melting depth
    const double kMagma = (sMagma - kSubLunghezza0) / kSubAvanzamento;
    const double monti = 13 * liscio((k - 2) / 11);
    const double xm = xv + 38;
    const auto rilievo = [=](double x) { return monti * std::exp(-std::pow((x - xm) / 70, 2)); };
    c.dxSuperficie = [=](double x) {
        return profFossa + (1.5 - profFossa) * liscio((x - xT) / 48) + (-7.5 - 1.5) * liscio((x - xT - 50) / 45) -
               rilievo(x);
    };
    c.dxCrosta = [=](double x) { return 46 + 2.6 * rilievo(x); };
    c.dxLitosfera = [](double) { return 112.0; };
    c.dxContinentale = true;

    Vulcano v;
    v.x = xv;
    v.base = 40;
    v.profCamera = 24;
    const double arrive = kMagma + 3.2; // the first drops reach the crust
    v.camera = liscio((k - arrive + 0.8) / 2.0);
    v.altezza = 21 * liscio((k - arrive) / 4.0);
    v.eruzione = (k >= arrive + 3) ? (int(k) % 2 == 0 ? 1.0 : 0.7) : 0.0;
    c.vulcani.push_back(v);
    c.gocce = gocce(xv, kSubProfMagma - 4, v.profCamera, kMagma, 99, k, 0.85, 24);
    c.fusione = lastra.punto(sMagma);

    // earthquakes follow the slab down: at the contact near the trench, then deeper, then very deep
    const auto sulla = [&](double s, double dentro) { return lastra.punto(s) + lastra.normale(s) * dentro; };
    struct Scossa { int frame; double s; double dentro; };
    const Scossa scosse[] = {{2, 45, 4}, {4, 85, 6}, {7, 150, 14}, {9, 250, 18}, {12, 440, 26}, {13, 440, 26}};
    bool profondo = false;
    for (const Scossa &q : scosse) {
        if (int(k) == q.frame && q.s < c.lunghezza - 10 && !sc.etichetteLezione) {
            c.terremoti.push_back({sulla(q.s, q.dentro), 1.0});
            profondo = profondo || q.s > 400;
        }
    }
    // the lesson's picture shows where the plates grind: one shallow, one deeper
    const QPointF scossaA = sulla(70, 5), scossaB = sulla(215, 16);
    if (sc.etichetteLezione) {
        c.terremoti.push_back({scossaA, 1.0});
        c.terremoti.push_back({scossaB, 1.0});
    }
    disegnaConvergenza(p, sez, c);

    // the ocean plate moves towards the continent and goes down
    {
        const double x = xT - 95;
        const double z = fondale(x) + 46;
        disegnaFreccia(p, sez.px(x - 32, z), sez.px(x + 32, z), 5.5, colore::freccia(), style::withAlpha(Qt::white, 0.7));
        const double s = std::min(c.lunghezza - 40, 215.0);
        if (s > 90) {
            const QPointF a = sulla(s - 45, 44), b = sulla(s, 44);
            disegnaFreccia(p, sez.px(a), sez.px(b), 5.5, colore::freccia(), style::withAlpha(Qt::white, 0.7));
        }
    }

    const double fs = sc.etichetteLezione ? 19 : 20;
    Etichetta ocean{QStringLiteral("crosta oceanica"), sez.px(xT - 175, -14), fs, Qt::AlignLeft};
    ocean.guida = sez.px(xT - 125, fondale(xT - 125) + 5);
    if (sc.etichetteLezione) {
        ocean.punto = sez.px(xT - 330, -14);
        ocean.guida = sez.px(xT - 260, fondale(xT - 260) + 5);
    }
    disegnaEtichetta(p, ocean);
    Etichetta fossa{QStringLiteral("fossa"), sez.px(xT + 4, -14), fs, Qt::AlignHCenter, true};
    fossa.guida = sez.px(xT, profFossa - 4);
    disegnaEtichetta(p, fossa);
    disegnaEtichetta(p, {QStringLiteral("crosta continentale"), sez.px(larghezza - 12, 30), fs, Qt::AlignRight});
    const double sLabel = sc.etichetteLezione ? 250 : 330;
    if (c.lunghezza > sLabel + 30) {
        const QPointF q = sulla(sLabel, 82);
        disegnaEtichetta(p, {QStringLiteral("subduzione"), sez.px(q) + QPointF(-12, 26), fs, Qt::AlignRight, true});
    }
    if (!c.gocce.empty() || v.camera > 0.3)
        disegnaEtichetta(p, {QStringLiteral("magma"), sez.px(xv + 14, 78), fs, Qt::AlignLeft, true});
    if (v.altezza > 6) {
        Etichetta vulcano{QStringLiteral("vulcano"), sez.px(xv - 40, -sopra + 22), fs, Qt::AlignRight};
        vulcano.guida = sez.px(xv - 8, c.dxSuperficie(xv - 8) - cono(v, xv - 8) + 1);
        disegnaEtichetta(p, vulcano);
    }
    if (profondo) {
        const QPointF q = sulla(440, 26);
        disegnaEtichetta(p, {QStringLiteral("terremoto\nprofondo"), sez.px(q) + QPointF(22, 30), fs, Qt::AlignLeft, true});
    }
    if (sc.etichetteLezione)
        disegnaEtichetta(p, {QStringLiteral("terremoti"), sez.px(scossaA) + QPointF(-16, 34), fs, Qt::AlignRight, true});
    // the depth at which the slab begins to melt
    {
        const double y = sez.px(0, 100).y();
        const double x1 = image.width() - 4;
        QPen dash = style::pen(style::withAlpha(colore::contorno(), 0.7), 1.5);
        dash.setDashPattern({4, 3});
        p.setPen(dash);
        p.drawLine(QPointF(x1 - 70, y), QPointF(x1, y));
        disegnaEtichetta(p, {QStringLiteral("100 km"), QPointF(x1 - 4, y - 5), fs * 0.85, Qt::AlignRight});
    }
    if (sc.etichetteLezione) {
        disegnaEtichetta(p, {QStringLiteral("mantello"), sez.px(xT - 250, 230), fs});
        Etichetta chain{QStringLiteral("catena montuosa"), sez.px(xm + 60, -sopra + 22), fs, Qt::AlignLeft};
        chain.guida = sez.px(xm + 55, c.dxSuperficie(xm + 55) + 1);
        disegnaEtichetta(p, chain);
    } else {
        disegnaEtichetta(p, {QStringLiteral("mantello"), sez.px(70, 300), fs});
    }

    cornice(p, image.size());
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// Sequence 6: an old, heavy ocean plate goes down under a younger ocean plate. Magma from the slab
// builds volcanoes on the sea floor of the plate above; they grow until they come out of the water
// as a row of volcanic islands, the island arc, beside a deep trench. Earthquakes follow the slab.

QImage oceanoOceano(int k, Fotogramma *nota = nullptr)
{
    QImage image = nuova(kOceanica);
    QPainter p(&image);
    prepara(p);
    const Sezione sez(image.size(), 860, 50);
    const double xT = 330;
    const double abisso = 22, profFossa = 42, fondaleDestro = 15;
    const Profilo fondale = [=](double x) { return fondaleVersoFossa(x, xT, abisso, profFossa); };
    const Lastra lastra = lastraSotto(fondale, xT, 44, 190, 900);

    const double sMagma = lastra.aProfondita(kSubProfMagma);
    Convergenza c;
    c.fossa = xT;
    c.lastra = &lastra;
    c.giunzione = xT - kFlessione;
    c.avanzamento = 34.0 * k;
    c.lunghezza = sMagma - 6 + 34.0 * k;
    c.spessore = 80;
    c.sxSuperficie = fondale;
    c.sxCrosta = [=](double x) { return fondale(x) + 10; };
    c.sxLitosfera = [=](double x) { return fondale(x) + 80; };
    c.dxSuperficie = [=](double x) { return profFossa + (fondaleDestro - profFossa) * liscio((x - xT) / 55); };
    c.dxCrosta = [=](double x) { return c.dxSuperficie(x) + 10; };
    c.dxLitosfera = [](double) { return 62.0; };
    c.dxContinentale = false;

    const double xv = lastra.punto(sMagma).x();
    Vulcano first;
    first.x = xv;
    first.base = 44;
    first.profCamera = 34;
    first.camera = liscio((k - 1.6) / 1.6);
    first.altezza = 38 * liscio((k - 2.0) / 5.5);
    first.eruzione = k >= 6 ? (k % 2 == 0 ? 1.0 : 0.75) : 0.0;
    first.verde = liscio((k - 6.5) / 2.5);
    Vulcano second = first;
    second.x = xv + 52;
    second.base = 36;
    second.camera = liscio((k - 4.2) / 1.6);
    second.altezza = 31 * liscio((k - 4.8) / 5.0);
    second.eruzione = k >= 9 ? 0.8 : 0.0;
    second.verde = liscio((k - 9) / 2.0);
    c.vulcani = {first, second};
    c.gocce = gocce(xv, kSubProfMagma - 4, first.profCamera, 0, 99, k, 0.8, 30);
    c.fusione = lastra.punto(sMagma);
    if (k >= 3) {
        for (Goccia g : gocce(xv, kSubProfMagma - 4, second.profCamera, 3.0, 99, k, 1.1, 30)) {
            // these drops lean towards the second volcano as they rise
            const double t = (kSubProfMagma - 4 - g.km.y()) / (kSubProfMagma - 4 - second.profCamera);
            g.km.rx() = xv + 10 + (second.x - xv - 10) * t;
            c.gocce.push_back(g);
        }
    }

    // earthquakes: where the plates grind near the trench and deeper down the slab
    const auto sulla = [&](double s, double dentro) { return lastra.punto(s) + lastra.normale(s) * dentro; };
    struct Scossa { int frame; double s; double dentro; };
    const Scossa scosse[] = {{1, 55, 4}, {3, 150, 12}, {5, 95, 6}, {7, 235, 16}, {9, 60, 4}, {10, 175, 14}};
    QPointF quake(-1, -1);
    for (const Scossa &q : scosse) {
        if (k == q.frame) {
            quake = sulla(q.s, q.dentro);
            c.terremoti.push_back({quake, 1.0});
        }
    }
    disegnaConvergenza(p, sez, c, nota);

    {
        const double x = 120;
        const double z = fondale(x) + 42;
        moto(p, sez.px(x - 34, z), sez.px(x + 34, z), 5.0, sez.px(xT, 0).x(), nota);
    }

    const double fs = 19;
    Etichetta ocean1{QStringLiteral("crosta oceanica"), sez.px(40, -20), fs, Qt::AlignLeft};
    ocean1.guida = sez.px(175, fondale(175) + 5);
    disegnaEtichetta(p, ocean1);
    Etichetta ocean2{QStringLiteral("crosta oceanica"), sez.px(sez.larghezza() - 10, -20), fs, Qt::AlignRight};
    ocean2.guida = sez.px(sez.larghezza() - 70, fondaleDestro + 5);
    disegnaEtichetta(p, ocean2);
    Etichetta fossa{QStringLiteral("fossa"), sez.px(xT - 30, -20), fs, Qt::AlignRight, true};
    fossa.guida = sez.px(xT, profFossa - 4);
    disegnaEtichetta(p, fossa);
    // an island arc only once the top of the first volcano, as drawn, stands clearly out of the sea
    double cima = fondaleDestro;
    for (double x = xv - first.base; x <= xv + first.base; x += 0.5)
        cima = std::min(cima, c.dxSuperficie(x) - coni(c.vulcani, x));
    if (cima < -kFuoriDalMare) {
        Etichetta arc{QStringLiteral("arco insulare"), sez.px(xv + 100, -30), fs, Qt::AlignLeft, true};
        arc.guida = sez.px(xv + 8, -(first.altezza - fondaleDestro) * 0.55);
        disegnaEtichetta(p, arc);
    } else if (first.altezza > 6) {
        Etichetta sub{QStringLiteral("vulcano sottomarino"), sez.px(xv + 70, -20), fs, Qt::AlignLeft};
        sub.guida = sez.px(xv + 6, fondaleDestro - first.altezza + 3);
        disegnaEtichetta(p, sub);
    }
    if (!c.gocce.empty())
        disegnaEtichetta(p, {QStringLiteral("magma"), sez.px(xv + 14, 88), fs, Qt::AlignLeft, true});
    if (quake.x() >= 0)
        disegnaEtichetta(p, {QStringLiteral("terremoto"), sez.px(quake) + QPointF(-14, 6), fs, Qt::AlignRight});

    cornice(p, image.size());
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// Sequence 5: two continents come together. The ocean between them goes down under the continent
// on the right (its volcano still active) until the margins meet; continental crust is too light
// to go down, so the margins pile up, fold and rise into a mountain chain with a deep root, the
// volcano dies, the slab breaks off and sinks, and earthquakes are frequent.

constexpr int kAvvContatto = 4; // the frame at which the ocean has closed

QImage avvicinamento(int k, Fotogramma *nota = nullptr)
{
    QImage image = nuova(kAvvicinamento);
    QPainter p(&image);
    prepara(p);
    const Sezione sez(image.size(), 896, 74);
    const double W = sez.larghezza();
    const double xT = 540;
    const double abisso = 20, profFossa = 38;
    const Profilo fondale = [=](double x) { return fondaleVersoFossa(x, xT, abisso, profFossa); };
    const Lastra lastra = lastraSotto(fondale, xT, 58, 170, 1000);

    const double chiusura = std::min(k, kAvvContatto) / double(kAvvContatto);
    const double cob = xT - 240 * (1 - chiusura);
    const double urto = std::clamp((k - kAvvContatto) / 7.0, 0.0, 1.0); // collision, 0-1
    const double monti = 54 * (1 - std::pow(1 - urto, 2));
    const double xm = xT + 18;
    const auto campana = [=](double x) { return std::exp(-std::pow((x - xm) / 92, 2)); };
    const double riempito = liscio(urto * 1.6); // the gap between the margins filled up
    const auto finestra = [=](double x) { return riempito * std::exp(-std::pow((x - xm) / 150, 4)); };
    // a chain of peaks, the highest in the middle
    const auto picchi = [=](double x) {
        const double u = (x - xm + 6) / 34.0;
        return 0.5 + 0.5 * std::cos(2 * M_PI * u) * (0.8 + 0.2 * std::sin(u * 2.3));
    };
    const auto montagna = [=](double x) {
        const double e = campana(x);
        return -7 - monti * e * e * (0.7 + 0.3 * picchi(x));
    };
    const auto radice = [=](double x) { return 46 + 1.45 * monti * campana(x); };

    constexpr double M = 70; // width of a continental margin
    const auto continente = [=](double x) { return 1 - liscio((x - (cob - M)) / M); };
    const Profilo supSx = [=](double x) {
        return mescola(mescola(fondale(x), -7, continente(x)), montagna(x), finestra(x));
    };
    const Profilo crostaSx = [=](double x) {
        return mescola(mescola(fondale(x) + 10, 46, continente(x)), radice(x), finestra(x));
    };
    const Profilo supDx = [=](double x) {
        const double z = profFossa + (1.5 - profFossa) * liscio((x - xT) / 48) + (-7 - 1.5) * liscio((x - xT - 50) / 45);
        return mescola(z, montagna(x), finestra(x));
    };
    const Profilo crostaDx = [=](double x) { return mescola(46, radice(x), finestra(x)); };

    Convergenza c;
    c.fossa = xT;
    c.lastra = &lastra;
    c.giunzione = xT - kFlessione;
    c.avanzamento = 240 * chiusura;
    c.lunghezza = 380 + 240 * chiusura;
    c.spessore = 80;
    if (urto > 0.25) {
        c.rottura = 175;
        c.caduta = 150 * liscio((urto - 0.25) / 0.75);
    }
    c.sxSuperficie = supSx;
    c.sxCrosta = crostaSx;
    c.sxLitosfera = [=](double x) { return fondale(x) + 80; };
    c.sxContinenteFino = cob;
    c.dxSuperficie = supDx;
    c.dxCrosta = crostaDx;
    c.dxLitosfera = [](double) { return 115.0; };
    c.dxContinentale = true;
    c.radiceSopraLastra = urto > 0;

    const double sMagma = lastra.aProfondita(kSubProfMagma);
    const double xv = lastra.punto(sMagma).x();
    Vulcano v;
    v.x = xv;
    v.base = 36;
    v.profCamera = 24;
    v.altezza = 18;
    v.camera = 1 - liscio((k - kAvvContatto + 0.5) / 2.0);
    v.eruzione = k < kAvvContatto ? (k % 2 == 0 ? 1.0 : 0.7) : 0.0;
    c.vulcani = {v};
    c.gocce = gocce(xv, kSubProfMagma - 4, v.profCamera, -10, kAvvContatto - 0.8, k, 0.8, 30);
    c.fusione = lastra.punto(sMagma);

    // earthquakes: along the slab while the ocean closes, then all over the collision
    const auto sulla = [&](double s, double dentro) { return lastra.punto(s) + lastra.normale(s) * dentro; };
    const QPointF scosse[] = {sulla(60, 5),  QPointF(0, 0),   sulla(140, 12), QPointF(0, 0),
                              sulla(90, 8),  QPointF(xT - 10, 40), QPointF(xT + 45, 62), QPointF(xT - 40, 30),
                              QPointF(xT + 20, 85), QPointF(xT + 70, 40), QPointF(xT - 15, 60), QPointF(xT + 35, 30)};
    if (k < 12 && scosse[k] != QPointF(0, 0))
        c.terremoti.push_back({scosse[k], 1.0});

    disegnaConvergenza(p, sez, c, nota);
    if (nota) {
        nota->oceano = std::max(0.0, xT - cob);
        nota->catena = monti;
        nota->pieghe = urto > 0;
    }

    // layers in the continental crust: flat while the ocean closes, folded where the margins collide
    {
        const double x0 = mescola(cob - 40, xT, riempito), x1 = mescola(xT + 70, xT, riempito);
        const auto piega = [=](double x) { return 4.5 * urto * campana(x) * std::sin((x - xT) / 9.0); };
        QPen layer = style::pen(style::withAlpha(colore::continentale().darker(128), 0.9), 1.3);
        for (double f : {0.36, 0.68}) {
            const Profilo left = [=](double x) { return mescola(supSx(x), crostaSx(x), f) + piega(x); };
            const Profilo right = [=](double x) { return mescola(supDx(x), crostaDx(x), f) + piega(x); };
            p.strokePath(sez.px(linea(left, 0, x0)), layer);
            p.strokePath(sez.px(linea(right, x1, W)), layer);
        }
    }
    // snow on the highest peaks
    if (monti > 20) {
        const double line = -7 - 0.72 * monti;
        const Profilo top = [=](double x) { return x < xT ? supSx(x) : supDx(x); };
        const Profilo snow = [=](double x) {
            const double z = top(x);
            return z < line ? std::min(z + 6.0, line) : z;
        };
        riempi(p, sez, Sezione::tra(top, snow, xm - 200, xm + 200, 0.5), colore::neve());
        contorna(p, sez, linea(top, xm - 200, xm + 200), 1.6, style::withAlpha(colore::contorno(), 0.9));
    }
    if (urto > 0) {
        // the weld between the two continents
        // steep under the chain, then along the top of the old slab
        QPainterPath weld;
        const QPointF join = lastra.punto(25);
        weld.moveTo(sez.px(xT - 6, supDx(xT - 6) + 1.5));
        weld.cubicTo(sez.px(xT - 3, 10), sez.px(join.x() - 10, join.y() - 8), sez.px(join));
        for (double s = 26; s <= 95; s += 1)
            weld.lineTo(sez.px(lastra.punto(s)));
        QPen pen = style::pen(style::withAlpha(colore::contorno(), 0.85 * liscio(urto * 3)), 2.0);
        pen.setDashPattern({3, 2});
        p.strokePath(weld, pen);
    }

    // the continent on the left travels on its plate towards the other
    {
        const double x = 110;
        const double z = 72;
        moto(p, sez.px(x - 34, z), sez.px(x + 34, z), 5.0, sez.px(xT, 0).x(), nota);
    }

    const double fs = 19;
    disegnaEtichetta(p, {QStringLiteral("crosta continentale"), sez.px(std::max(cob - 78, 185.0), 31), fs, Qt::AlignRight});
    disegnaEtichetta(p, {QStringLiteral("crosta continentale"), sez.px(W - 12, 33), fs, Qt::AlignRight});
    if (xT - cob > 120) {
        Etichetta ocean{QStringLiteral("crosta oceanica"), sez.px((cob + xT) / 2 - 20, -28), fs};
        ocean.guida = sez.px((cob + xT) / 2 - 20, fondale((cob + xT) / 2 - 20) + 5);
        disegnaEtichetta(p, ocean);
    }
    if (k < kAvvContatto) {
        Etichetta fossa{QStringLiteral("fossa"), sez.px(xT + 30, -28), fs, Qt::AlignLeft, true};
        fossa.guida = sez.px(xT, profFossa - 4);
        disegnaEtichetta(p, fossa);
        Etichetta vulcano{QStringLiteral("vulcano"), sez.px(xv + 40, -40), fs, Qt::AlignLeft};
        vulcano.guida = sez.px(xv + 9, supDx(xv + 9) - cono(v, xv + 9) + 1);
        disegnaEtichetta(p, vulcano);
    }
    if (!c.gocce.empty())
        disegnaEtichetta(p, {QStringLiteral("magma"), sez.px(xv + 14, 80), fs, Qt::AlignLeft, true});
    if (urto >= 0.3) {
        Etichetta chain{QStringLiteral("catena montuosa"), sez.px(xm - 120, -46), fs, Qt::AlignRight, true};
        chain.guida = sez.px(xm - 38, montagna(xm - 38) + 1.5);
        disegnaEtichetta(p, chain);
    }

    cornice(p, image.size());
    p.end();
    return image;
}

} // namespace

namespace sequenze {

std::vector<Fotogramma> storia(const QString &cartella)
{
    QImage (*disegna)(int, Fotogramma *) = nullptr;
    int n = 0;
    if (cartella == QLatin1String("allontan"))
        disegna = espansione, n = 14;
    else if (cartella == QLatin1String("avvici"))
        disegna = avvicinamento, n = 12;
    else if (cartella == QLatin1String("oceoce"))
        disegna = oceanoOceano, n = 11;
    std::vector<Fotogramma> out;
    for (int k = 0; k < n; ++k) {
        Fotogramma f;
        disegna(k, &f);
        out.push_back(f);
    }
    return out;
}

Riassunto riassunto(const std::vector<Fotogramma> &s)
{
    Riassunto r;
    if (s.empty())
        return r;
    const auto tutti = [&s](auto vero) { return std::all_of(s.begin(), s.end(), vero); };
    const auto qualcuno = [&s](auto vero) { return std::any_of(s.begin(), s.end(), vero); };
    const Fotogramma &a = s.front(), &z = s.back();

    r.dorsale = tutti([](const Fotogramma &f) { return f.dorsale; });
    r.espansione = z.oceano > a.oceano && tutti([](const Fotogramma &f) { return f.moto > 0; });
    bool chiude = true;
    for (size_t i = 1; i < s.size(); ++i)
        chiude = chiude && s[i].oceano >= 0 && s[i].oceano <= s[i - 1].oceano;
    r.collisione = a.oceano > 0 && z.oceano == 0 && chiude;
    r.catena = r.collisione && z.catena > 20;
    r.compressione = r.collisione && z.pieghe && tutti([](const Fotogramma &f) { return f.moto < 0; });

    // the frames in which the volcanoes are there, growing into islands
    std::vector<Fotogramma> arco;
    std::copy_if(s.begin(), s.end(), std::back_inserter(arco), [](const Fotogramma &f) { return f.vulcani > 0; });
    const auto nellArco = [&arco](auto vero) { return std::all_of(arco.begin(), arco.end(), vero); };
    r.isoleVulcaniche = z.isole >= 2;
    r.archiSuFossa = r.isoleVulcaniche && nellArco([](const Fotogramma &f) { return f.fossa && f.lastra; });
    r.archiConvergenti = r.archiSuFossa && nellArco([](const Fotogramma &f) { return f.moto < 0; });
    r.archiDivergenti = r.isoleVulcaniche && std::any_of(arco.begin(), arco.end(), [](const Fotogramma &f) { return f.moto > 0; });
    r.archiOceanici = r.archiSuFossa && nellArco([](const Fotogramma &f) { return f.lastraOceanica && f.sopraOceanica; });
    r.terremotiArchi = r.isoleVulcaniche
                       && std::any_of(arco.begin(), arco.end(), [](const Fotogramma &f) { return f.terremoti > 0; });
    r.magmaDallaLastra = r.isoleVulcaniche && qualcuno([](const Fotogramma &f) { return f.magmaDallaLastra; });

    const bool fosse = qualcuno([](const Fotogramma &f) { return f.fossa; });
    r.fossaDaSubduzione = fosse && tutti([](const Fotogramma &f) { return !f.fossa || (f.lastra && f.moto < 0); });
    r.fossaDaDivergenza = qualcuno([](const Fotogramma &f) { return f.fossa && f.moto > 0; });
    return r;
}

} // namespace sequenze

void addSequenze(QList<Picture> *pictures)
{
    addOrigini(pictures);
    pictures->append({QStringLiteral("allontan/espans.jpg"),
                      QStringLiteral("espansione dei fondali, immagine 1 di 14"),
                      [](PictureContext &) { return espansione(0); }});
    for (int k = 2; k <= 14; ++k)
        pictures->append({QStringLiteral("allontan/espans%1.jpg").arg(k),
                          QStringLiteral("espansione dei fondali, immagine %1 di 14").arg(k),
                          [k](PictureContext &) { return espansione(k - 1); }});
    for (int k = 1; k <= 15; ++k)
        pictures->append({QStringLiteral("subduzio/subduz%1.jpg").arg(k),
                          QStringLiteral("crosta oceanica sotto un continente, immagine %1 di 15").arg(k),
                          [k](PictureContext &) {
                              Subduzione sc;
                              sc.k = k - 1;
                              return subduzione(kSubduzione, 620, 64, sc);
                          }});
    for (int k = 1; k <= 12; ++k)
        pictures->append({QStringLiteral("avvici/avvic%1.jpg").arg(k),
                          QStringLiteral("due continenti si avvicinano e si scontrano, immagine %1 di 12").arg(k),
                          [k](PictureContext &) { return avvicinamento(k - 1); }});
    for (int k = 1; k <= 11; ++k)
        pictures->append({QStringLiteral("oceoce/oceoce%1.jpg").arg(k),
                          QStringLiteral("crosta oceanica sotto crosta oceanica, arco insulare, immagine %1 di 11").arg(k),
                          [k](PictureContext &) { return oceanoOceano(k - 1); }});
    pictures->append({QStringLiteral("subduzio/subduz17.jpg"),
                      QStringLiteral("crosta oceanica sotto un continente, per la lezione"),
                      [](PictureContext &) {
                          Subduzione sc;
                          sc.k = 14;
                          sc.xT = 360;
                          sc.etichetteLezione = true;
                          return subduzione(kSubduzioneLezione, 896, 68, sc);
                      }});
}

} // namespace disegni
