// Sequence 1 (origini/): how the Earth's layers formed. A slowly turning cloud of gas and dust lit
// by the young Sun, where grains stick together into pebbles and then into blocks as big as
// mountains; one clump gathers the rest and becomes a hot, mostly molten ball; in it the heaviest
// material (iron and nickel) sinks to the centre and makes the core, the heavy rocks settle round it as the mantle, the light
// rocks float up into a thin crust; then the surface cools, gases make the atmosphere, rain makes
// the oceans. Every grain keeps its place in the mixture from frame to frame and moves a little
// further towards its layer, so the frames play as one smooth movement.

#include "Catalogue.h"
#include "Output.h"
#include "Sezione.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace disegni {

namespace {

using namespace sezione;

// The viewer stretches these pictures into 4575 x 3735 twips (manual run) and 3700 x 3735 (automatic
// run). They are drawn in the shape of the larger one at twice its pixels, so that the Earth is round
// there (in the narrower one it comes out 19 % narrower than tall: one picture cannot suit both
// shapes). Topic 1's pages show them at natural size from left 1160, top 720, clear of the text panel
// at left 4200 and of the animation button at top 4560: marked 300 dpi, they stand 2928 x 2390 twips.
const QSize kPixel(610, 498); // 2 x 4575 / 15, 2 x 3735 / 15
constexpr int kDpiOrigini = 300;
// The drawing is laid out on a picture 392 units wide, and scaled to the pixels.
constexpr double kLargo = 392;
constexpr int kFotogrammi = 14;
// Topic 1's pages show these frames at 0.32 design pixels per file pixel, which 1366 x 768 makes 0.41
// screen pixels: a name needs 27 file pixels (17.5 units) to stand 11 pixels high there.
constexpr double kNomePiccolo = 17.5;

enum Materiale { Ferro, RoccePesanti, RocceLeggere };

struct Granello {
    Materiale materiale;
    double angolo;    // radians
    double partenza;  // 0-1 of the cloud's radius
    double arrivo;    // 0-1 of the planet's radius, inside its layer
    double raggio;    // pixels
};

// Layer boundaries as parts of the planet's radius: the core reaches 0.55 as in the real Earth;
// the crust is drawn far thicker than it is, or it would not be seen.
constexpr double kNucleo = 0.55;
constexpr double kMantello = 0.925;

// The colours of topic 1's other whole-Earth pictures, so that the lesson pages that show frames
// of this sequence and those pictures one after the other read as one set: gold iron and core,
// orange mantle, brown crust, on deep space.
QColor nucleoInterno() { return QColor(0xFA, 0xE3, 0x9C); }
QColor nucleoEsterno() { return QColor(0xF0, 0xBC, 0x55); }
QColor mantelloInferiore() { return QColor(0xD6, 0x80, 0x52); }
QColor mantelloSuperiore() { return QColor(0xE6, 0x9C, 0x66); }
QColor crostaTerra() { return QColor(0x8E, 0x6E, 0x55); }
QColor spazio() { return QColor(0x13, 0x21, 0x36); }

// The grains: the same families as their layers, kept well apart so they can be told apart in the
// mixture.
QColor colore(Materiale m)
{
    switch (m) {
    case Ferro:
        return QColor(0xFB, 0xD8, 0x69);
    case RoccePesanti:
        return QColor(0xE9, 0x8A, 0x55);
    case RocceLeggere:
        break;
    }
    return QColor(0xCD, 0xB4, 0x97);
}

QString nome(Materiale m)
{
    switch (m) {
    case Ferro:
        return QStringLiteral("ferro e nickel");
    case RoccePesanti:
        return QStringLiteral("rocce pesanti");
    case RocceLeggere:
        break;
    }
    return QStringLiteral("rocce leggere");
}

// A fixed pseudo-random sequence: the same grains in every frame and on every run.
class Sequenza
{
public:
    explicit Sequenza(std::uint64_t seed = 0x9E3779B97F4A7C15ULL) : m_state(seed) {}

    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return double(m_state >> 11) / double(1ULL << 53);
    }

private:
    std::uint64_t m_state;
};

const std::vector<Granello> &granelli()
{
    static const std::vector<Granello> all = [] {
        std::vector<Granello> g;
        Sequenza r;
        // in proportion to the layers' areas on the picture
        const int n = 430;
        for (int i = 0; i < n; ++i) {
            Granello q;
            const double pick = r.next();
            const double core = kNucleo * kNucleo;
            const double mantle = kMantello * kMantello - core;
            q.materiale = pick < core ? Ferro : (pick < core + mantle ? RoccePesanti : RocceLeggere);
            q.angolo = r.next() * 2 * M_PI;
            q.partenza = std::sqrt(r.next());
            // each grain keeps its order from the centre: iron contracts into the core as a whole
            // while the rock it replaces moves out, with no gap opening between them
            const double u = q.partenza * q.partenza;
            const double jitter = (r.next() - 0.5) * 0.03;
            switch (q.materiale) {
            case Ferro:
                q.arrivo = kNucleo * 0.93 * q.partenza + jitter;
                break;
            case RoccePesanti:
                q.arrivo = std::sqrt(mescola(kNucleo * kNucleo, kMantello * kMantello, u)) * mescola(1.03, 0.985, u) + jitter;
                break;
            case RocceLeggere:
                q.arrivo = mescola(kMantello + 0.012, 0.985, q.partenza);
                break;
            }
            q.raggio = 2.4 + 0.9 * r.next();
            g.push_back(q);
        }
        return g;
    }();
    return all;
}

// How far each material has gone towards its layer at frame k (0-13): iron first, then the heavy
// rocks, the light ones last.
double avanzamento(Materiale m, double k)
{
    switch (m) {
    case Ferro:
        return liscio((k - 1.8) / 4.2);
    case RoccePesanti:
        return liscio((k - 4.0) / 4.5);
    case RocceLeggere:
        break;
    }
    return liscio((k - 4.4) / 4.0);
}

// How solidly a layer is drawn: it fills in as its material arrives.
double strato(Materiale m, double k)
{
    switch (m) {
    case Ferro:
        return liscio((k - 4.2) / 2.6);
    case RoccePesanti:
        return liscio((k - 6.0) / 2.4);
    case RocceLeggere:
        break;
    }
    return liscio((k - 6.6) / 1.9);
}

void sfondo(QPainter &p, const QSizeF &size, const QPointF &centre)
{
    QRadialGradient sky(centre, size.width() * 0.75);
    sky.setColorAt(0, style::mix(spazio(), QColor(0x3A, 0x55, 0x78), 0.45));
    sky.setColorAt(1, spazio());
    p.fillRect(QRectF(QPointF(0, 0), size), sky);
    Sequenza r;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        const QPointF at(r.next() * size.width(), r.next() * size.height() * 0.86);
        const double a = 0.25 + 0.5 * r.next();
        p.setBrush(style::withAlpha(QColor(0xEE, 0xF2, 0xF8), a));
        const double rr = 0.8 + r.next() * 1.1;
        p.drawEllipse(at, rr, rr);
    }
}

// A name on the picture: laid out like the drawing, but written without the painter's scale, so that
// the glyphs come out the same whatever was written before (the order pictures are drawn in).
void scrivi(QPainter &p, Etichetta e)
{
    const double scala = p.transform().m11();
    p.save();
    p.resetTransform();
    e.punto *= scala;
    if (e.guida.x() >= 0)
        e.guida *= scala;
    e.dimensione *= scala;
    disegnaEtichetta(p, e);
    p.restore();
}

void legenda(QPainter &p, const QSizeF &size)
{
    const double fs = kNomePiccolo;
    double y = size.height() - 52;
    for (Materiale m : {Ferro, RoccePesanti, RocceLeggere}) {
        p.setPen(style::pen(colore(m).darker(150), 1.2));
        p.setBrush(colore(m));
        p.drawEllipse(QPointF(14, y - fs * 0.33), 5, 5);
        scrivi(p, {nome(m), QPointF(24, y), fs, Qt::AlignLeft, false, QPointF(-1, -1),
                             QColor(0xE6, 0xEC, 0xF2)});
        y += 20;
    }
}

// The ring between radii r0 and r1 from angle a0 to a1 (radians, clockwise on the picture).
QPainterPath settore(const QPointF &c, double r0, double r1, double a0, double a1)
{
    QPolygonF ring;
    const int n = 48;
    for (int i = 0; i <= n; ++i) {
        const double a = a0 + (a1 - a0) * i / n;
        ring << c + QPointF(std::cos(a), std::sin(a)) * r1;
    }
    for (int i = n; i >= 0; --i) {
        const double a = a0 + (a1 - a0) * i / n;
        ring << c + QPointF(std::cos(a), std::sin(a)) * r0;
    }
    QPainterPath path;
    path.addPolygon(ring);
    path.closeSubpath();
    return path;
}

// --- the first frames: the young Sun, dust sticking together, the clump that becomes the Earth ---

// The Sun lit up at the centre of the great turning cloud; the Earth grew from a clump of it, far
// out. The first picture shows the whole cloud with the Sun in its middle; then the view closes in
// on the clump, and the Sun slides away to the top left: by frame 3 the picture is the Earth's alone.
// Positions are given where the Earth stands from frame 3 on, the view maps them on the picture.
struct Sole {
    QPointF centro;
    double raggio = 64;
    double forza = 0;  // 0: not in the picture
};

// Where the Sun stands from the Earth's place, and how near the view is in the first three frames.
const QPointF kDalSole(-280, -180);
constexpr double kVicinanza[3] = {0.34, 0.6, 0.85};

Sole sole(int frame, const QPointF &terra)
{
    constexpr double forza[3] = {1.0, 0.95, 0.8};
    if (frame < 0 || frame > 2)
        return {};
    return {terra + kDalSole, 64, forza[frame]};
}

// The view of frame k: in frame 0 the Sun stands at `centroNube` and everything round it is seen
// from afar; step by step the view closes in until the Earth stands at `terra` at full size.
QTransform vista(int frame, const QPointF &terra, const QPointF &centroNube)
{
    if (frame < 0 || frame > 2)
        return QTransform();
    const double z0 = kVicinanza[0], z = kVicinanza[frame];
    const QPointF spostamento0 = centroNube - terra - kDalSole * z0;
    const QPointF spostamento = spostamento0 * (1 - (z - z0) / (1 - z0));
    QTransform t;
    t.translate(terra.x() + spostamento.x(), terra.y() + spostamento.y());
    t.scale(z, z);
    t.translate(-terra.x(), -terra.y());
    return t;
}

// Its light spread over the dark sky, behind the cloud.
void bagliore(QPainter &p, const Sole &s)
{
    QRadialGradient g(s.centro, s.raggio * 7);
    g.setColorAt(0.0, style::withAlpha(QColor(0xFF, 0xE4, 0xA0), 0.75 * s.forza));
    g.setColorAt(0.12, style::withAlpha(QColor(0xFF, 0xD0, 0x78), 0.5 * s.forza));
    g.setColorAt(0.35, style::withAlpha(QColor(0xF4, 0xB0, 0x60), 0.16 * s.forza));
    g.setColorAt(1.0, style::withAlpha(QColor(0xF4, 0xB0, 0x60), 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(s.centro, s.raggio * 7, s.raggio * 7);
}

// The Sun itself, over the dust: a white-hot centre, a golden edge and a soft crown of rays.
void disegnaSole(QPainter &p, const Sole &s)
{
    p.save();
    p.setOpacity(s.forza);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6 + 0.13;
        const double lungo = s.raggio * (i % 2 == 0 ? 2.3 : 1.8);
        const QPointF u(std::cos(a), std::sin(a)), n(-u.y(), u.x());
        QPainterPath raggio;
        raggio.moveTo(s.centro + n * s.raggio * 0.28);
        raggio.lineTo(s.centro + u * lungo);
        raggio.lineTo(s.centro - n * s.raggio * 0.28);
        raggio.closeSubpath();
        QRadialGradient g(s.centro, lungo);
        g.setColorAt(0.3, style::withAlpha(QColor(0xFF, 0xE9, 0xA8), 0.55));
        g.setColorAt(1.0, style::withAlpha(QColor(0xFF, 0xE9, 0xA8), 0.0));
        p.fillPath(raggio, g);
    }
    QRadialGradient corona(s.centro, s.raggio * 1.6);
    corona.setColorAt(0.55, style::withAlpha(QColor(0xFF, 0xDA, 0x7A), 0.85));
    corona.setColorAt(1.0, style::withAlpha(QColor(0xFF, 0xDA, 0x7A), 0.0));
    p.setBrush(corona);
    p.drawEllipse(s.centro, s.raggio * 1.6, s.raggio * 1.6);
    QRadialGradient disco(s.centro - QPointF(s.raggio, s.raggio) * 0.2, s.raggio);
    disco.setColorAt(0.0, QColor(0xFF, 0xFE, 0xF4));
    disco.setColorAt(0.55, QColor(0xFF, 0xF0, 0xB8));
    disco.setColorAt(1.0, QColor(0xFF, 0xCC, 0x55));
    p.setBrush(disco);
    p.drawEllipse(s.centro, s.raggio, s.raggio);
    p.restore();
}

// Sunlight falling on the cloud: warmer and brighter on the side that faces the Sun.
void luce(QPainter &p, const QPainterPath &dove, const Sole &s, double forza)
{
    QRadialGradient g(s.centro, s.raggio * 9);
    g.setColorAt(0.0, style::withAlpha(QColor(0xFF, 0xE2, 0x9A), 0.55 * forza));
    g.setColorAt(0.45, style::withAlpha(QColor(0xFF, 0xD6, 0x8A), 0.22 * forza));
    g.setColorAt(1.0, style::withAlpha(QColor(0xFF, 0xD6, 0x8A), 0.0));
    p.fillPath(dove, g);
}

// The great cloud round the Sun, seen whole in frame 0: a faint disc of gas and dust strewn with
// grains and pebbles, which sticks together round the Sun, turning slowly.
void nubeDelSole(QPainter &p, const Sole &s, double k)
{
    // it fades as the view closes in on the Earth, so that it is gone when the Sun is
    p.save();
    p.setOpacity(s.forza * s.forza);
    const double raggio = s.raggio * 7.2;
    QRadialGradient g(s.centro, raggio);
    const QColor polvere(0x6E, 0x5A, 0x4E);
    g.setColorAt(0.0, style::withAlpha(polvere, 0.55));
    g.setColorAt(0.7, style::withAlpha(polvere, 0.35));
    g.setColorAt(1.0, style::withAlpha(polvere, 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(s.centro, raggio, raggio);
    luce(p, [&] { QPainterPath d; d.addEllipse(s.centro, raggio, raggio); return d; }(), s, 0.8);

    // grains and pebbles all round, turning with the cloud
    Sequenza r(0xA0761D6478BD642FULL);
    const double giro = k * 5.0 * M_PI / 180;
    for (int i = 0; i < 140; ++i) {
        const double a = r.next() * 2 * M_PI + giro;
        const double d = raggio * (0.22 + 0.74 * std::sqrt(r.next()));
        const double pick = r.next();
        const Materiale m = pick < 0.3 ? Ferro : (pick < 0.75 ? RoccePesanti : RocceLeggere);
        const double rr = 3.5 + 4.5 * r.next();
        p.setPen(style::pen(colore(m).darker(230), 1.2));
        p.setBrush(colore(m));
        p.drawEllipse(s.centro + QPointF(std::cos(a), std::sin(a)) * d, rr, rr);
    }

    // the whole cloud turns slowly on itself
    if (k < 0.5) {
        QPainterPath arco;
        // top left, away from the clump that becomes the Earth
        const double rr = raggio * 0.93, a0 = 3.3 + giro, a1 = 4.3 + giro;
        for (int i = 0; i <= 30; ++i) {
            const double a = a0 + (a1 - a0) * i / 30;
            const QPointF q = s.centro + QPointF(std::cos(a), std::sin(a)) * rr;
            if (i == 0)
                arco.moveTo(q);
            else
                arco.lineTo(q);
        }
        const QColor chiaro = style::withAlpha(QColor(0xE6, 0xEC, 0xF2), 0.85);
        p.strokePath(arco, style::pen(chiaro, 9.0));
        const QPointF punta = s.centro + QPointF(std::cos(a1), std::sin(a1)) * rr;
        const QPointF dir(-std::sin(a1), std::cos(a1));
        disegnaFreccia(p, punta - dir * 6, punta + dir * 27, 9.0, chiaro);
    }
    p.restore();
}

// A lump of rock stuck together from the grains: irregular, lit from the Sun's side, speckled with
// the colours of the grains it is made of.
void disegnaAmmasso(QPainter &p, const QPointF &q, double r, std::uint64_t seme, const Sole &s)
{
    Sequenza rnd(seme * 0x2545F4914F6CDD1DULL + 0x632BE59BD9B4E019ULL);
    const int lati = 11;
    const double giro = rnd.next() * 2 * M_PI;
    QPolygonF bordo;
    for (int i = 0; i < lati; ++i) {
        const double a = giro + 2 * M_PI * i / lati;
        bordo << q + QPointF(std::cos(a), std::sin(a)) * r * (0.82 + 0.3 * rnd.next());
    }
    QPainterPath forma;
    // rounded: through the middles of the sides, curving round each corner
    const auto mezzo = [&](int i) { return (bordo.at(i % lati) + bordo.at((i + 1) % lati)) / 2; };
    forma.moveTo(mezzo(0));
    for (int i = 1; i <= lati; ++i)
        forma.quadTo(bordo.at(i % lati), mezzo(i));
    forma.closeSubpath();

    // lit from the Sun, or from the top left where it was
    QPointF verso = s.forza > 0 ? s.centro - q : QPointF(-1, -1);
    if (std::hypot(verso.x(), verso.y()) < 1)
        verso = QPointF(-1, -1);
    const QPointF luceDa = q + verso / std::hypot(verso.x(), verso.y()) * r * 0.55;
    const QColor roccia = style::mix(colore(RocceLeggere), colore(RoccePesanti), 0.35).darker(125);
    QRadialGradient g(q, r * 1.25, luceDa);
    g.setColorAt(0.0, roccia.lighter(140));
    g.setColorAt(0.55, roccia);
    g.setColorAt(1.0, roccia.darker(185));
    p.save();
    p.setPen(style::pen(roccia.darker(260), 1.0));
    p.setBrush(g);
    p.drawPath(forma);
    p.setPen(Qt::NoPen);
    // a pebble shows the few grains it is made of, a block many small ones
    const bool sasso = r < 8;
    const int macchie = sasso ? 5 : std::clamp(int(r * 1.1), 2, 22);
    for (int i = 0; i < macchie; ++i) {
        const double a = sasso ? giro + 2 * M_PI * i / (macchie - 1) : rnd.next() * 2 * M_PI;
        const double d = sasso ? (i == macchie - 1 ? 0.0 : r * 0.5) : std::sqrt(rnd.next()) * r * 0.62;
        const double pick = rnd.next();
        const Materiale m = pick < 0.3 ? Ferro : (pick < 0.75 ? RoccePesanti : RocceLeggere);
        p.setPen(sasso ? style::pen(colore(m).darker(230), 0.8) : QPen(Qt::NoPen));
        p.setBrush(style::withAlpha(colore(m), 0.92));
        const double rr = sasso ? r * 0.36 : 1.2 + 0.7 * rnd.next();
        p.drawEllipse(q + QPointF(std::cos(a), std::sin(a)) * d, rr, rr);
    }
    p.restore();
}

// A flash where two bodies hit each other.
void scontro(QPainter &p, const QPointF &q, double r, double forza)
{
    QRadialGradient g(q, r);
    g.setColorAt(0.0, style::withAlpha(QColor(0xFF, 0xF6, 0xD8), 0.95 * forza));
    g.setColorAt(0.3, style::withAlpha(QColor(0xFF, 0xC8, 0x60), 0.7 * forza));
    g.setColorAt(1.0, style::withAlpha(QColor(0xFF, 0x8A, 0x3A), 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(q, r, r);
}

// The clumps of the first frames. Each is a place in the turning cloud (angle, part of the cloud's
// radius): in frame 0 a few pebbles lie there, in frame 1 they have stuck together into one block.
struct Blocco {
    double angolo;
    double distanza;
    double raggio;  // pixels, in frame 1
};

const std::vector<Blocco> &blocchi()
{
    static const std::vector<Blocco> all = [] {
        std::vector<Blocco> b;
        Sequenza r(0xD1B54A32D192ED03ULL);
        // round the middle, where the clump that becomes the Earth grows
        const int n = 11;
        for (int i = 0; i < n; ++i) {
            Blocco q;
            q.angolo = 2 * M_PI * (i + 0.2 + 0.6 * r.next()) / n;
            q.distanza = 0.62 + 0.3 * r.next();
            q.raggio = 8 + 8 * r.next();
            b.push_back(q);
        }
        return b;
    }();
    return all;
}

// The radius of the middle clump: a block a little bigger than the others in frame 0, already the
// young Earth in frame 1.
double embrione(int frame)
{
    return frame == 0 ? 13.0 : 58.0;
}

QImage origine(int frame)
{
    const double k = frame;
    QImage image = newPicture(kPixel, Qt::black);
    image.setDotsPerMeterX(qRound(kDpiOrigini / 0.0254));
    image.setDotsPerMeterY(qRound(kDpiOrigini / 0.0254));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double scala = kPixel.width() / kLargo;
    p.scale(scala, scala);
    const QTransform suQuadro = p.transform();
    const QSizeF size(kLargo, kPixel.height() / scala);
    // left of the middle: in the viewer the right sixth of the manual run lies under the other picture
    const QPointF c(178, 148);
    const double R = 112;
    sfondo(p, size, c);
    // the first frames are seen from further away, round the Sun
    const QTransform v = vista(frame, c, QPointF(170, 156));
    p.setTransform(v * suQuadro);
    const Sole luceSole = sole(frame, c);
    if (luceSole.forza > 0) {
        bagliore(p, luceSole);
        nubeDelSole(p, luceSole, k);
    }

    // the cloud draws together into a round ball in the first frames
    const double raccolta = liscio(k / 2.0);
    const double nube = 1 + 0.24 * (1 - raccolta);
    const double lobi = 0.17 * (1 - raccolta);
    const double rotazione = k * 5.0 * M_PI / 180;
    const auto forma = [&](double a) { return 1 + lobi * (std::sin(3 * a + 1.1) * 0.6 + std::sin(5 * a + 0.3) * 0.4); };

    const double crosta = strato(RocceLeggere, k);
    const double raffreddamento = liscio((k - 8.5) / 2.0);   // the surface cools
    const double atmosfera = liscio((k - 9.2) / 1.6);
    const double oceani = liscio((k - 10.8) / 1.6);

    // glow of the hot ball, fading as it cools; before, of the clump that grows into it
    if (frame == 1) {
        QRadialGradient g(c, embrione(frame) * 1.6);
        g.setColorAt(0.6, style::withAlpha(QColor(0xFF, 0x9A, 0x4A), 0.5));
        g.setColorAt(1.0, style::withAlpha(QColor(0xFF, 0x9A, 0x4A), 0.0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, embrione(frame) * 1.6, embrione(frame) * 1.6);
    } else if (frame >= 2) {
        const double glow = raccolta * (1 - 0.8 * raffreddamento);
        QRadialGradient g(c, R * 1.45);
        g.setColorAt(0.6, style::withAlpha(QColor(0xFF, 0x9A, 0x4A), 0.55 * glow));
        g.setColorAt(1.0, style::withAlpha(QColor(0xFF, 0x9A, 0x4A), 0.0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, R * 1.45, R * 1.45);
    }
    // the atmosphere: a pale blue shell
    if (atmosfera > 0) {
        QRadialGradient a(c, R + 18);
        a.setColorAt(R / (R + 18), style::withAlpha(QColor(0xA9, 0xD3, 0xF0), 0.75 * atmosfera));
        a.setColorAt(1.0, style::withAlpha(QColor(0xA9, 0xD3, 0xF0), 0.0));
        p.setBrush(a);
        p.drawEllipse(c, R + 18, R + 18);
    }

    // the dusty cloud, then the molten ball
    {
        QPainterPath outline;
        const int n = 180;
        for (int i = 0; i <= n; ++i) {
            const double a = 2 * M_PI * i / n;
            const QPointF q = c + QPointF(std::cos(a), std::sin(a)) * R * nube * forma(a - rotazione) * (1.04 - 0.04 * raccolta);
            if (i == 0)
                outline.moveTo(q);
            else
                outline.lineTo(q);
        }
        QRadialGradient g(c, R * nube * 1.1);
        const QColor dust(0x6E, 0x5A, 0x4E), molten(0x86, 0x36, 0x24);
        if (frame < 2) {
            // gas and dust, thinning as the grains gather into lumps, lit by the Sun
            const double velo = frame == 0 ? 1.0 : 0.7;
            g.setColorAt(0.0, style::withAlpha(dust, 0.6 * velo));
            g.setColorAt(0.85, style::withAlpha(dust, 0.4 * velo));
            g.setColorAt(1.0, style::withAlpha(dust, 0.12 * velo));
            p.setBrush(g);
            p.setPen(Qt::NoPen);
            p.drawPath(outline);
            luce(p, outline, luceSole, velo);
        } else {
            g.setColorAt(0.0, style::withAlpha(style::mix(dust, molten.lighter(115), raccolta), 0.55 + 0.45 * raccolta));
            g.setColorAt(0.85, style::withAlpha(style::mix(dust, molten, raccolta), 0.35 + 0.65 * raccolta));
            g.setColorAt(1.0, style::withAlpha(style::mix(dust, molten.darker(120), raccolta), 0.1 + 0.9 * raccolta));
            p.setBrush(g);
            p.setPen(raccolta > 0.5 ? style::pen(style::withAlpha(QColor(0x5A, 0x2E, 0x1E), raccolta), 1.6) : QPen(Qt::NoPen));
            p.drawPath(outline);
            // the last of the sunlight as the view closes in
            if (luceSole.forza > 0)
                luce(p, outline, luceSole, 0.35 * luceSole.forza);
        }
    }

    // one clump in the middle: a pebble among the others, then the young Earth, hot from the
    // collisions, pulling in the rest
    if (frame == 0) {
        disegnaAmmasso(p, c, embrione(frame), 7, luceSole);
    } else if (frame == 1) {
        const double r = embrione(frame);
        QPainterPath palla;
        palla.addEllipse(c, r, r);
        QRadialGradient g(c, r);
        g.setColorAt(0.0, QColor(0x9E, 0x44, 0x2A));
        g.setColorAt(0.8, QColor(0x86, 0x36, 0x24));
        g.setColorAt(1.0, QColor(0x6E, 0x2C, 0x1E));
        p.setPen(style::pen(QColor(0x5A, 0x2E, 0x1E), 1.6));
        p.setBrush(g);
        p.drawPath(palla);
        luce(p, palla, luceSole, 0.5);
    }

    // the cloud round the Earth turns slowly on itself (in frame 0 the whole cloud's arrow says it)
    if (frame > 0 && raccolta < 0.99) {
        // low on the right, where the cloud leaves room
        const double rr = R * nube * 1.04;
        QPainterPath arc;
        const double a0 = rotazione + 0.05, a1 = rotazione + 1.15;
        for (int i = 0; i <= 30; ++i) {
            const double a = a0 + (a1 - a0) * i / 30;
            const QPointF q = c + QPointF(std::cos(a), std::sin(a)) * rr;
            if (i == 0)
                arc.moveTo(q);
            else
                arc.lineTo(q);
        }
        const double shown = 1 - raccolta;
        p.strokePath(arc, style::pen(style::withAlpha(QColor(0xE6, 0xEC, 0xF2), 0.8 * shown), 3.0));
        const QPointF tip = c + QPointF(std::cos(a1), std::sin(a1)) * rr;
        const QPointF dir(-std::sin(a1), std::cos(a1));
        disegnaFreccia(p, tip - dir * 2, tip + dir * 9, 3.0, style::withAlpha(QColor(0xE6, 0xEC, 0xF2), 0.8 * shown));
    }

    // the layers fill in as their material arrives
    const auto disco = [&](double r, const QBrush &brush, double alpha) {
        if (alpha <= 0)
            return;
        p.save();
        p.setOpacity(alpha);
        p.setBrush(brush);
        p.setPen(style::pen(QColor(0x3A, 0x2A, 0x24), 1.4));
        p.drawEllipse(c, r, r);
        p.restore();
    };
    {
        QRadialGradient crust(c, R);
        crust.setColorAt(kMantello - 0.02, crostaTerra());
        crust.setColorAt(1.0, style::mix(crostaTerra(), QColor(0xFF, 0x8A, 0x40), 0.45 * (1 - raffreddamento)));
        disco(R, crust, crosta);
        QRadialGradient mantle(c, R * kMantello);
        mantle.setColorAt(kNucleo / kMantello, mantelloInferiore());
        mantle.setColorAt(1.0, mantelloSuperiore());
        disco(R * kMantello, mantle, strato(RoccePesanti, k));
        QRadialGradient core(c, R * kNucleo);
        core.setColorAt(0.0, nucleoInterno());
        core.setColorAt(1.0, nucleoEsterno());
        disco(R * kNucleo, core, strato(Ferro, k));
    }

    // the grains, fading into their layers
    for (const Granello &g : granelli()) {
        // rock that started at the centre is pushed out as the iron comes in
        double t = avanzamento(g.materiale, k);
        if (g.materiale != Ferro && g.partenza < kNucleo * 1.1)
            t = std::max(t, avanzamento(Ferro, k));
        const double start = g.partenza * nube * forma(g.angolo);
        const double r = mescola(start, g.arrivo, t) * R;
        const double alpha = 1 - 0.92 * strato(g.materiale, k);
        if (alpha < 0.04)
            continue;
        const double a = g.angolo + rotazione;
        const QPointF q = c + QPointF(std::cos(a), std::sin(a)) * r;
        p.setPen(style::pen(style::withAlpha(colore(g.materiale).darker(230), alpha), 1.0));
        p.setBrush(style::withAlpha(colore(g.materiale), alpha));
        p.drawEllipse(q, g.raggio, g.raggio);
    }

    // pebbles, then blocks as big as mountains; the last of them fall onto the young Earth
    if (frame < 3) {
        const auto nellaNube = [&](double angolo, double distanza) {
            const double a = angolo + rotazione;
            return c + QPointF(std::cos(a), std::sin(a)) * distanza * R * nube * forma(angolo);
        };
        const std::vector<Blocco> &tutti = blocchi();
        if (frame == 0) {
            Sequenza r(0x94D049BB133111EBULL);
            for (std::size_t i = 0; i < tutti.size(); ++i) {
                const QPointF q = nellaNube(tutti[i].angolo, tutti[i].distanza);
                // the biggest are already blocks, the others still a handful of pebbles
                const bool blocco = tutti[i].raggio > 13;
                if (blocco)
                    disegnaAmmasso(p, q, tutti[i].raggio * 0.65, i + 100, luceSole);
                const int sassi = blocco ? 2 : 3 + int(tutti[i].raggio > 12);
                for (int j = 0; j < sassi; ++j) {
                    const double a = 2 * M_PI * (j + r.next() * 0.6) / sassi;
                    const double d = blocco ? tutti[i].raggio * 0.65 + 7 : 6 + tutti[i].raggio * 0.7 * r.next();
                    disegnaAmmasso(p, q + QPointF(std::cos(a), std::sin(a)) * d, 4.8 + 2.0 * r.next(), i * 8 + j + 20, luceSole);
                }
            }
        } else if (frame == 1) {
            for (std::size_t i = 0; i < tutti.size(); ++i)
                disegnaAmmasso(p, nellaNube(tutti[i].angolo, tutti[i].distanza), tutti[i].raggio, i + 100, luceSole);
            // two blocks meet
            const QPointF a = nellaNube(tutti[2].angolo, tutti[2].distanza);
            scontro(p, a + QPointF(tutti[2].raggio * 0.9, 0), 14, 0.8);
        } else {
            // the three farthest out are still falling in; one hits
            std::vector<std::size_t> ordine(tutti.size());
            for (std::size_t i = 0; i < ordine.size(); ++i)
                ordine[i] = i;
            std::sort(ordine.begin(), ordine.end(), [&](std::size_t x, std::size_t y) { return tutti[x].distanza > tutti[y].distanza; });
            for (int j = 0; j < 3; ++j) {
                const Blocco &b = tutti[ordine[j]];
                const double a = b.angolo + rotazione;
                const QPointF u(std::cos(a), std::sin(a));
                const double r = std::max(b.raggio, 10.0);
                const double d = j == 0 ? R + r * 0.3 : R + r + 10 + 8 * j;
                const QPointF q = c + u * d;
                // a faint trail behind it
                QLinearGradient scia(q, q + u * 30);
                scia.setColorAt(0.0, style::withAlpha(QColor(0xE6, 0xEC, 0xF2), 0.45));
                scia.setColorAt(1.0, style::withAlpha(QColor(0xE6, 0xEC, 0xF2), 0.0));
                p.setPen(QPen(QBrush(scia), r * 1.1, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(q, q + u * 30);
                if (j == 0)
                    scontro(p, c + u * R, 26, 1.0);
                disegnaAmmasso(p, q, r, ordine[j] + 100, luceSole);
            }
        }
    }

    // arrows: iron sinks, the light rocks rise
    const auto frecce = [&](Materiale m, double strength, bool inward, const QColor &col) {
        if (strength <= 0.05)
            return;
        for (int i = 0; i < 6; ++i) {
            const double a = rotazione + i * M_PI / 3 + (m == Ferro ? 0.35 : 0.0);
            const double r0 = inward ? R * 0.86 : R * 0.5;
            const double r1 = inward ? R * 0.6 : R * 0.78;
            const QPointF u(std::cos(a), std::sin(a));
            p.save();
            p.setOpacity(strength);
            disegnaFreccia(p, c + u * r0, c + u * r1, 3.6, col, style::withAlpha(QColor(0x20, 0x20, 0x28), 0.7));
            p.restore();
        }
    };
    frecce(Ferro, liscio(k - 2.0) * (1 - liscio(k - 5.0)), true, nucleoInterno());
    frecce(RocceLeggere, liscio(k - 5.2) * (1 - liscio(k - 7.2)), false, QColor(0xD9, 0xC2, 0xA6));

    // once cool: land green at the surface; seas fill the low parts, where the crust is thinner
    const double bacini[][2] = {{0.3, 0.55}, {2.45, 0.45}, {4.35, 0.5}};
    if (oceani > 0) {
        p.save();
        p.setOpacity(oceani);
        p.fillPath(settore(c, R - 2.6, R, 0, 2 * M_PI), colore::verde());
        const double band = R * (1 - kMantello);
        for (const auto &b : bacini) {
            const double a0 = rotazione + b[0] - b[1], a1 = rotazione + b[0] + b[1];
            const double floor = R * kMantello + band * 0.4;
            p.fillPath(settore(c, floor, R + 0.5, a0, a1), QColor(0x5F, 0xA3, 0xD6));
            p.strokePath(settore(c, floor, R + 0.5, a0, a1), style::pen(QColor(0x3A, 0x2A, 0x24), 0.9));
        }
        p.restore();
    }

    // gases leave the cooling surface, clouds and rain follow
    const double gas = liscio((k - 8.4) / 1.0) * (1 - liscio((k - 11.5) / 1.5));
    if (gas > 0) {
        for (int i = 0; i < 8; ++i) {
            const double a = rotazione * 0.5 + i * M_PI / 4 + 0.2;
            const QPointF u(std::cos(a), std::sin(a));
            const QPointF n(-u.y(), u.x());
            QPainterPath wisp;
            const QPointF b = c + u * (R + 2);
            wisp.moveTo(b);
            wisp.cubicTo(b + u * 6 + n * 4, b + u * 10 - n * 4, b + u * 16 + n * 2);
            p.strokePath(wisp, style::pen(style::withAlpha(QColor(0xEE, 0xEE, 0xEA), 0.8 * gas), 2.0));
        }
    }
    const double nuvole = liscio((k - 9.8) / 1.2);
    if (nuvole > 0) {
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 5; ++i) {
            const double a = -M_PI / 2 + (i - 2) * 0.55 + 0.1 * std::sin(k + i);
            const QPointF u(std::cos(a), std::sin(a));
            const QPointF at = c + u * (R + 10);
            p.setBrush(style::withAlpha(Qt::white, 0.85 * nuvole));
            p.drawEllipse(at, 8, 5);
            p.drawEllipse(at + QPointF(6, 1), 6, 4);
            p.drawEllipse(at - QPointF(6, -1), 5, 3.5);
            if (k >= 10 && k <= 12) {
                p.setPen(style::pen(style::withAlpha(QColor(0xBF, 0xE0, 0xF8), 0.9 * nuvole), 1.2));
                for (int j = -1; j <= 1; ++j)
                    p.drawLine(at + u * 5 + QPointF(j * 4, 0), at + u * 11 + QPointF(j * 4 - 1, 0));
                p.setPen(Qt::NoPen);
            }
        }
    }

    if (luceSole.forza > 0)
        disegnaSole(p, luceSole);

    // the names, on the picture itself
    p.setTransform(suQuadro);
    const auto qui = [&v](const QPointF &q) { return v.map(q); };
    const double fs = 18;
    if (strato(Ferro, k) > 0.5)
        scrivi(p, {QStringLiteral("NUCLEO"), c + QPointF(0, 6), fs, Qt::AlignHCenter, true, QPointF(-1, -1),
                             QColor(0x5A, 0x3A, 0x10)});
    if (strato(RoccePesanti, k) > 0.5)
        scrivi(p, {QStringLiteral("MANTELLO"), c + QPointF(0, -R * (kNucleo + kMantello) / 2 + 6), fs,
                             Qt::AlignHCenter, true, QPointF(-1, -1), QColor(0x4A, 0x22, 0x12)});
    if (crosta > 0.5) {
        Etichetta e{QStringLiteral("CROSTA"), QPointF(324, 22), fs, Qt::AlignRight, true};
        e.colore = QColor(0xF1, 0xF4, 0xF7);
        const double a = -M_PI / 4 - 0.05;
        e.guida = c + QPointF(std::cos(a), std::sin(a)) * (R - 3);
        scrivi(p, e);
    }
    if (atmosfera > 0.5) {
        Etichetta e{QStringLiteral("atmosfera"), QPointF(8, 22), kNomePiccolo, Qt::AlignLeft};
        e.colore = QColor(0xF1, 0xF4, 0xF7);
        const double a = -3 * M_PI / 4 - 0.1;
        e.guida = c + QPointF(std::cos(a), std::sin(a)) * (R + 9);
        scrivi(p, e);
    }
    if (oceani > 0.5) {
        Etichetta e{QStringLiteral("oceano"), QPointF(324, 296), kNomePiccolo, Qt::AlignRight};
        e.colore = QColor(0xF1, 0xF4, 0xF7);
        const double a = rotazione + bacini[0][0];
        e.guida = c + QPointF(std::cos(a), std::sin(a)) * (R - 2);
        scrivi(p, e);
    }

    if (luceSole.forza > 0 && frame < 2)
        scrivi(p, {QStringLiteral("Sole"), qui(luceSole.centro) + QPointF(0, luceSole.raggio * kVicinanza[frame] + 24), fs,
                             Qt::AlignHCenter, true, QPointF(-1, -1), QColor(0xF1, 0xF4, 0xF7)});
    // right of the legend, clear of the part of the picture the viewer may cover
    if (frame < 2)
        scrivi(p, {QStringLiteral("nube di gas e polveri"), QPointF(324, 311), kNomePiccolo, Qt::AlignRight, false,
                             QPointF(-1, -1), QColor(0xF1, 0xF4, 0xF7)});
    if (frame == 1 || frame == 2)
        scrivi(p, {QStringLiteral("giovane Terra"), qui(c) + QPointF(0, 6), fs, Qt::AlignHCenter, true, QPointF(-1, -1),
                             QColor(0xF1, 0xF4, 0xF7)});

    legenda(p, size);
    p.setPen(style::pen(QColor(0x0E, 0x18, 0x24), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, size.width() - 2, size.height() - 2));
    p.end();
    return image;
}

} // namespace

void addOrigini(QList<Picture> *pictures)
{
    const std::array<const char *, kFotogrammi> names = {"orig1",  "orig1a", "orig1b", "orig2",  "orig2a",
                                                         "orig2b", "orig2c", "orig2d", "orig2e", "orig2f",
                                                         "orig2g", "orig2g1", "orig2g2", "orig2h"};
    for (int k = 0; k < kFotogrammi; ++k)
        pictures->append({QStringLiteral("origini/%1.jpg").arg(QLatin1String(names[k])),
                          QStringLiteral("come si sono formati gli strati della Terra, immagine %1 di %2")
                              .arg(k + 1)
                              .arg(kFotogrammi),
                          [k](PictureContext &) { return origine(k); }});
}

} // namespace disegni
