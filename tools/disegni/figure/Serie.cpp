// The synthesis series: the cross-section of four plates that the closing exercise plays and asks
// about. Every picture is drawn from a scene (where the plates, cells, faults and trenches are at that
// moment); the facts the pupil is asked about are read from the same scenes.

#include "Serie.h"

#include "Catalogue.h"
#include "Output.h"
#include "Sezione.h"
#include "Style.h"

#include <QLineF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace disegni::serie {

namespace {

using namespace sezione;

// Twice the design size of the synthesis' main picture (8265 x 5940 twips at 96 dpi, halved).
constexpr int kW = 1102;
constexpr int kH = 792;
constexpr double kMare = 240;       // sea level
constexpr double kFondale = 300;    // sea floor
constexpr double kTerra = 228;      // land surface
constexpr double kOceanicaSotto = 322;
constexpr double kContinentaleSotto = 336;
constexpr double kLitosferaSotto = 400;
constexpr double kFaglia = 660;     // where the plate over the right-hand cell breaks
constexpr double kFossa1 = 480;
constexpr double kFossa2 = 940;
constexpr double kDorsale1 = 300;
constexpr double kCellaY = 600;
// After the collision the spreading ridge pushes everything on its left away: from kApertura px in
// the first picture to kSpostamento in the last of the fourth sequence, a small step each time.
constexpr double kApertura = 15;
constexpr double kSpostamento = 230;
// The sinking plates: their dip, and how far they reach into the mantle before the oceans close.
constexpr double kPendenza1 = 50;
constexpr double kPendenza2 = 52;

struct Cella {
    double x, rx;
    bool orario;
};
// left, middle, right: the middle and right ones turn in opposite senses, rising under the fault
const Cella kCelle[3] = {{390, 92, true}, {568, 84, false}, {805, 138, true}};

struct Placca {
    QString numero;
    double x0, x1;
    bool oceanica, continentale;
    QStringList prima = {}; // the numbers it had before the plates were counted again, written under it
};

struct Scena {
    int sequenza = 1;
    int dettaglio = 99;      // how many labels a still picture of sequence 1 shows
    double g = 0;            // width the fault has opened to (px)
    double m = 0;            // how far the left ridge has moved towards its trench
    double sx = 0;           // how far everything left of the fault has moved left
    double fase = 0;         // turn of the cells
    bool attive[3] = {false, false, false};
    bool vulcaniFaglia = false;
    bool terremoto = false;
    bool vulcaniDorsale = false;
    bool terremotiPassati = false;
    bool chiusura = false;
    double dopo = -1;        // pictures since the oceans closed (-1: not yet): slabs tear off, the chain rises
    bool notaNumeri = false; // the plates have just been counted again: each says which it was

    // Once every label is there, the still pictures light up one part at a time (1-6), then the whole
    // picture again for the test.
    int fuoco() const { return dettaglio >= 9 && dettaglio <= 14 ? dettaglio - 8 : 0; }
    bool fossa1() const { return kFossa1 - (kDorsale1 + m) > 4; }
    bool fossa2() const { return kFossa2 - (820 + g) > 4; }
    bool collisione() const { return !fossa2(); }
    bool faglia() const { return vulcaniFaglia && g < 10; }
    double sinistra(double x) const { return x - sx; }
    double dorsale1() const { return sinistra(kDorsale1 + m); }
    bool oceanoNuovo() const { return g + sx > 0.5; }
    double dorsaleNuova() const { return (sinistra(kFaglia) + kFaglia + g) / 2; }
    double larghezzaOceano() const { return kFaglia + g - sinistra(kFaglia); }
    // the cells rise under the new ridge, and the still left-hand one drifts off with the left side
    double cellaX(int c) const
    {
        if (c == 0)
            return kCelle[0].x - sx;
        return kCelle[c].x + (oceanoNuovo() ? dorsaleNuova() - kFaglia : 0);
    }

    std::vector<Placca> placche() const
    {
        std::vector<Placca> p;
        const double destra = oceanoNuovo() ? dorsaleNuova() : kFossa2;
        if (sequenza < 4) {
            p.push_back({QStringLiteral("1"), sinistra(0), fossa1() ? dorsale1() : sinistra(kFossa1), true, true});
            if (fossa1())
                p.push_back({QStringLiteral("2"), dorsale1(), kFossa1, true, false});
            p.push_back({QStringLiteral("3"), sinistra(kFossa1), destra, fossa2() || oceanoNuovo(), true});
            if (oceanoNuovo())
                p.push_back({QStringLiteral("5"), destra, kFossa2, true, true});
            p.push_back({QStringLiteral("4"), kFossa2, kW, false, true});
        } else {
            // plate 2 has gone down its trench, 1 and 3 are welded into one plate, 5 and 4 met
            const auto nota = [this](QStringList n) { return notaNumeri ? n : QStringList(); };
            p.push_back({QStringLiteral("1"), sinistra(0), destra, true, true, nota({QStringLiteral("1"), QStringLiteral("3")})});
            p.push_back({QStringLiteral("2"), destra, kFossa2, true, true, nota({QStringLiteral("5")})});
            p.push_back({QStringLiteral("3"), kFossa2, kW, false, true, nota({QStringLiteral("4")})});
        }
        std::sort(p.begin(), p.end(), [](const Placca &a, const Placca &b) { return a.x0 < b.x0; });
        return p;
    }
};

// The ridges and trenches of a scene, left to right: where plates move apart and where one goes down.
struct Dorsale {
    double x;
    bool attiva; // the young ridge of the new ocean, magma pouring
};
std::vector<Dorsale> dorsali(const Scena &s)
{
    std::vector<Dorsale> d;
    if (s.fossa1())
        d.push_back({s.dorsale1(), false});
    if (s.oceanoNuovo() && s.g >= 10)
        d.push_back({s.dorsaleNuova(), true});
    return d;
}
std::vector<double> fosse(const Scena &s)
{
    std::vector<double> f;
    if (s.fossa1())
        f.push_back(kFossa1);
    if (s.fossa2())
        f.push_back(kFossa2);
    return f;
}

// The arrows of plate motion drawn on a scene, from tail to head.
std::vector<QLineF> frecce(const Scena &s)
{
    std::vector<QLineF> f;
    if (s.sequenza >= 2 && s.oceanoNuovo() && s.g < 119)
        f.emplace_back(kFaglia + s.g + 40, 200, kFaglia + s.g + 120, 200);
    if (s.sequenza >= 3 && s.fossa1()) { // on the plate between the old ridge and its trench, while there is room
        const double coda = s.dorsale1() + 30, punta = std::min(s.dorsale1() + 100, kFossa1 - 30);
        if (punta - coda >= 30)
            f.emplace_back(coda, 272, punta, 272);
    }
    if (s.sequenza >= 4)
        f.emplace_back(s.dorsaleNuova() - 40, 200, s.dorsaleNuova() - 130, 200);
    return f;
}

// Whether an arrow on either side of a ridge points towards it: an arrow belongs to the ridge when
// its tail lies between the ridge and the next ridge or trench on that side.
bool versoLaDorsale(const Scena &s, double x)
{
    std::vector<double> confini = fosse(s);
    for (const Dorsale &d : dorsali(s))
        if (d.x != x)
            confini.push_back(d.x);
    for (const QLineF &f : frecce(s)) {
        const double coda = f.x1();
        bool tra = true;
        for (double c : confini)
            tra = tra && (c - x) * (coda - c) < 0; // no boundary between the ridge and the tail
        if (tra && (f.x2() - f.x1()) * (coda - x) < 0)
            return true;
    }
    return false;
}

// Position of picture `i` of nomi() in the story.
Scena scena(int i)
{
    Scena s;
    if (i < 15) { // New-1..15: still, the labels come one by one
        s.sequenza = 1;
        s.dettaglio = i + 1;
        return s;
    }
    if (i < 30) { // New-15b, 16..29: the right-hand cell opens a fault that becomes an ocean
        const double t = (i - 15) / 14.0;
        s.sequenza = 2;
        s.attive[2] = true;
        s.fase = t * 1.5;
        s.g = t < 0.15 ? 0 : 75 * (t - 0.15) / 0.85;
        s.vulcaniFaglia = t > 0.03 && t < 0.6;
        s.terremoto = t > 0.35;
        return s;
    }
    if (i < 36) { // New-30..35: both cells under the new ocean turn; the two old oceans close
        const double u = (i - 29) / 6.0;
        s.sequenza = 3;
        s.attive[0] = s.attive[1] = s.attive[2] = true;
        s.fase = 1.5 + u * 0.6;
        s.g = 75 + 39 * u;   // in New-35 a strip of ocean floor is left before the right trench
        s.m = 175 * u;       // and the old ridge is going down the left one
        return s;
    }
    // New-36..42, then the close 43..45: the oceans have closed; the plates are counted again
    const double v = std::min(1.0, (i - 36) / 6.0);
    s.sequenza = i < 43 ? 4 : 5;
    s.chiusura = i >= 43;
    s.attive[1] = s.attive[2] = true;
    s.fase = 2.1 + (i - 36) * 0.1;
    s.g = 120;
    s.m = 180;
    s.sx = kApertura + (kSpostamento - kApertura) * v + (i >= 43 ? 15 * (i - 42) : 0);
    s.dopo = i - 36;
    s.notaNumeri = i <= 37; // also the first picture of a replay, which starts one picture in
    s.vulcaniDorsale = true;
    s.terremotiPassati = true;
    return s;
}

int indice(const QString &nome)
{
    return int(nomi().indexOf(nome.toLower()));
}

// Height of the chain where the continents collided: low in the first picture after the collision,
// then higher picture by picture.
double altezzaCatena(const Scena &s)
{
    if (!s.collisione())
        return 0;
    return 24 + 46 * liscio((std::max(s.dopo, 0.0) + 1) / 4);
}

// --- drawing ---

QPainterPath crosta(double x0, double x1, bool continentale)
{
    QPainterPath path;
    if (continentale) {
        const double r = std::min(34.0, (x1 - x0) / 3);
        path.moveTo(x0, kOceanicaSotto);
        path.lineTo(x0, kFondale);
        path.cubicTo(x0 + r * 0.5, kFondale - 20, x0 + r * 0.6, kTerra, x0 + r, kTerra);
        path.lineTo(x1 - r, kTerra);
        path.cubicTo(x1 - r * 0.6, kTerra, x1 - r * 0.5, kFondale - 20, x1, kFondale);
        path.lineTo(x1, kOceanicaSotto);
        path.cubicTo(x1 - r, kContinentaleSotto, x0 + r, kContinentaleSotto, x0, kOceanicaSotto);
    } else {
        path.addRect(QRectF(QPointF(x0, kFondale), QPointF(x1, kOceanicaSotto)));
    }
    path.closeSubpath();
    return path;
}

void montagne(QPainter &p, double x0, double x1, int picchi, double altezza)
{
    QPolygonF poly;
    poly << QPointF(x0, kTerra + 2);
    for (int k = 0; k < picchi; ++k) {
        const double a = x0 + (x1 - x0) * k / picchi;
        const double b = x0 + (x1 - x0) * (k + 1) / picchi;
        const double h = altezza * (0.7 + 0.3 * std::sin(k * 2.1 + 1.0));
        poly << QPointF((a + b) / 2, kTerra - h) << QPointF(b, kTerra - h * 0.25);
    }
    poly << QPointF(x1, kTerra + 2);
    p.setPen(QPen(colore::contorno(), 1.5));
    p.setBrush(colore::verde().darker(125));
    p.drawPolygon(poly);
    p.setPen(Qt::NoPen);
    p.setBrush(colore::neve());
    for (int k = 0; k < picchi; ++k) {
        const double a = x0 + (x1 - x0) * k / picchi;
        const double b = x0 + (x1 - x0) * (k + 1) / picchi;
        const double h = altezza * (0.7 + 0.3 * std::sin(k * 2.1 + 1.0));
        const QPointF top((a + b) / 2, kTerra - h);
        const double w = (b - a) * 0.16;
        p.drawPolygon(QPolygonF{top, top + QPointF(w, w * 1.6 * h / (b - a) * 2), top + QPointF(-w, w * 1.6 * h / (b - a) * 2)});
    }
}

// A plate sinking at a trench: its crust and rigid mantle as a band going down to the right, from
// `da` to `a` px along its path. Once subduction has stopped the band has torn off the plate (da > 0)
// and sinks (`affonda` px lower), paler as it warms into the mantle.
struct Lastra {
    double fossa, gradi, da, a, affonda = 0;
};
// The band's two parts on the picture: its rigid mantle and, on top, its crust.
std::pair<QPolygonF, QPolygonF> sagoma(const Lastra &l)
{
    const double ang = qDegreesToRadians(l.gradi);
    const QPointF dir(std::cos(ang), std::sin(ang));
    const QPointF giu(-std::sin(ang), std::cos(ang));
    const QPointF fossa(l.fossa, kFondale + l.affonda);
    const QPointF o = fossa + dir * l.da;
    const QPointF f = fossa + dir * l.a;
    const double c = kOceanicaSotto - kFondale;
    const double s = kLitosferaSotto - kFondale;
    // attached, the band's mantle starts under the plate it belongs to
    const QPointF coda = l.da > 0 ? QPointF() : QPointF(40, 0);
    return {QPolygonF{o + giu * c, f + giu * c, f + giu * s + dir * -10, o + giu * s - coda},
            QPolygonF{o, f, f + giu * c, o + giu * c}};
}

void lastra(QPainter &p, const Lastra &l)
{
    const auto [mantello, crosta] = sagoma(l);
    p.setOpacity(l.da > 0 ? 1.0 - 0.45 * std::min(1.0, l.affonda / 60) : 1.0);
    p.setPen(QPen(colore::contorno(), 1.5));
    p.setBrush(colore::litosfera());
    p.drawPolygon(mantello);
    p.setBrush(colore::oceanica());
    p.drawPolygon(crosta);
    p.setOpacity(1.0);
}

// The two sinking plates of a scene: they lengthen while their oceans close, then tear off and sink.
Lastra lastra1(const Scena &s)
{
    const double lunga = 200 + 0.5 * s.m;
    if (s.dopo < 0)
        return {kFossa1, kPendenza1, 0, lunga};
    const double e = liscio((s.dopo + 1) / 5);
    return {s.sinistra(kFossa1), kPendenza1 + 6 * e, 125 + 30 * e, std::min(lunga, 275.0) - 40 * e, 15 + 55 * e};
}
Lastra lastra2(const Scena &s)
{
    const double lunga = 230 + s.g * 0.5;
    if (s.dopo < 0)
        return {kFossa2, kPendenza2, 0, lunga};
    const double e = liscio((s.dopo + 1) / 5);
    return {kFossa2, kPendenza2 + 8 * e, 125 + 30 * e, lunga - 20 * e, 15 + 55 * e};
}

// The drops of magma rising from the hot mantle: under the fault while it opens, under the spreading
// ridge after the collision. They stand clear of the sinking plates, which give these no magma.
std::vector<QPainterPath> gocce(const Scena &s)
{
    std::vector<QPainterPath> g;
    if (s.vulcaniFaglia)
        g.push_back(goccia(QPointF(kFaglia + s.g / 2, 448), 22, 60));
    if (s.vulcaniDorsale) {
        g.push_back(goccia(QPointF(s.dorsaleNuova(), 470), 26, 80));
        g.push_back(goccia(QPointF(s.dorsaleNuova() - 26, 560), 16, 40));
    }
    return g;
}

QPointF puntoLastra(double xFossa, double gradi, double s)
{
    const double a = qDegreesToRadians(gradi);
    return QPointF(xFossa + s * std::cos(a), kFondale + s * std::sin(a) + 30);
}

void fossa(QPainter &p, double x)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colore::mareProfondo());
    p.drawPolygon(QPolygonF{QPointF(x - 34, kFondale), QPointF(x - 4, kFondale + 34), QPointF(x + 6, kFondale)});
}

void dorsale(QPainter &p, double x, bool attiva)
{
    p.setPen(QPen(colore::contorno(), 1.5));
    p.setBrush(colore::oceanicaGiovane());
    p.drawPolygon(QPolygonF{QPointF(x - 46, kFondale + 1), QPointF(x - 8, kFondale - 26), QPointF(x + 8, kFondale - 26),
                            QPointF(x + 46, kFondale + 1)});
    p.setPen(QPen(colore::magma(), attiva ? 6 : 4));
    p.drawLine(QPointF(x, kFondale - 24), QPointF(x, kLitosferaSotto + 6));
}

void vulcano(QPainter &p, double x, double base, double h, double forza)
{
    p.setPen(QPen(colore::contorno(), 1.5));
    p.setBrush(colore::vulcano());
    p.drawPolygon(QPolygonF{QPointF(x - h * 0.9, base), QPointF(x - h * 0.15, base - h), QPointF(x + h * 0.15, base - h),
                            QPointF(x + h * 0.9, base)});
    if (forza > 0)
        disegnaEruzione(p, QPointF(x, base - h), 1.9, forza);
}

void numero(QPainter &p, const QString &n, double x)
{
    const QPointF c(x, 150);
    p.setPen(QPen(colore::contorno(), 2.5));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 24, 24);
    p.setFont(style::font(30, QFont::Bold));
    p.setPen(colore::contorno());
    p.drawText(QRectF(c.x() - 24, c.y() - 24, 48, 48), Qt::AlignCenter, n);
}

QImage disegnaScena(const Scena &s)
{
    QImage image = newPicture(QSize(kW, kH), colore::cielo());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient cielo(0, 0, 0, kMare);
    cielo.setColorAt(0, colore::cieloAlto());
    cielo.setColorAt(1, colore::cielo());
    p.fillRect(QRectF(0, 0, kW, kMare), cielo);
    QLinearGradient mare(0, kMare, 0, kOceanicaSotto);
    mare.setColorAt(0, colore::mare());
    mare.setColorAt(1, colore::mareProfondo());
    p.fillRect(QRectF(0, kMare, kW, kOceanicaSotto + 10 - kMare), mare);
    QLinearGradient mantello(0, kOceanicaSotto, 0, kH);
    mantello.setColorAt(0, colore::astenosfera());
    mantello.setColorAt(1, colore::astenosferaProfonda());
    p.fillRect(QRectF(0, kOceanicaSotto + 10, kW, kH), mantello);

    // convection cells: a still one is a faint dashed loop without arrows
    for (int c = 0; c < 3; ++c) {
        const Cella &k = kCelle[c];
        const double kx = s.cellaX(c);
        if (s.attive[c]) {
            disegnaCella(p, QPointF(kx, kCellaY), k.rx, 140, k.orario, std::fmod(s.fase, 1.0), 9,
                         colore::cella(), 4);
        } else {
            p.setPen(QPen(colore::cella(), 4, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.setOpacity(s.sequenza == 1 ? 0.9 : 0.35);
            p.drawEllipse(QPointF(kx, kCellaY), k.rx, 140);
            p.setOpacity(1);
            if (s.sequenza == 1) // a still picture still shows which way the cell turns
                disegnaCella(p, QPointF(kx, kCellaY), k.rx, 140, k.orario, 0.1, 9, colore::cella(), 2);
        }
    }

    // sinking plates, and what is left of them once subduction has ended
    lastra(p, lastra1(s));
    lastra(p, lastra2(s));
    const double lung2 = lastra2(s).a;

    // plates: rigid mantle first, then the crust
    struct Pezzo { double x0, x1; bool cont; };
    std::vector<Pezzo> pezzi;
    pezzi.push_back({s.sinistra(-60), s.sinistra(130), true});
    pezzi.push_back({s.sinistra(130), s.fossa1() ? kFossa1 : s.sinistra(kFossa1), false});
    pezzi.push_back({s.sinistra(kFossa1), s.sinistra(kFaglia), true});
    if (s.oceanoNuovo())
        pezzi.push_back({s.sinistra(kFaglia), kFaglia + s.g, false});
    if (s.fossa2()) {
        pezzi.push_back({kFaglia + s.g, 820 + s.g, true});
        pezzi.push_back({820 + s.g, kFossa2, false});
        pezzi.push_back({kFossa2, kW + 60, true});
    } else { // the two continents have collided and are welded together
        pezzi.push_back({kFaglia + s.g, kW + 60, true});
    }
    if (!s.oceanoNuovo()) { // before the fault the middle continent is one piece
        pezzi.erase(pezzi.begin() + 2, pezzi.begin() + 4);
        pezzi.insert(pezzi.begin() + 2, Pezzo{kFossa1, 820, true});
    }
    for (const Pezzo &z : pezzi) {
        p.setPen(QPen(colore::contorno(), 1.5));
        p.setBrush(colore::litosfera());
        p.drawRect(QRectF(QPointF(z.x0, kOceanicaSotto), QPointF(z.x1, kLitosferaSotto)));
    }
    for (const Pezzo &z : pezzi) {
        const QPainterPath c = crosta(z.x0, z.x1, z.cont);
        p.setPen(QPen(colore::contorno(), 1.5));
        p.setBrush(z.cont ? colore::continentale() : colore::oceanica());
        p.drawPath(c);
        if (z.cont) { // the land surface, green
            p.save();
            p.setClipPath(c);
            p.setPen(QPen(colore::verde(), 16));
            p.setBrush(Qt::NoBrush);
            p.drawPath(c);
            p.restore();
            p.setPen(QPen(colore::contorno(), 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawPath(c);
        }
    }
    // where the two continents have collided, they crumple into a mountain chain that rises picture
    // by picture
    if (s.collisione()) {
        p.setPen(QPen(colore::contorno(), 2, Qt::DashLine));
        p.drawLine(QPointF(kFossa2, kTerra + 4), QPointF(kFossa2, kLitosferaSotto));
        montagne(p, kFossa2 - 70, kFossa2 + 60, 5, altezzaCatena(s));
    }
    // the old chain over the left trench
    montagne(p, s.sinistra(kFossa1) + 20, s.sinistra(kFossa1) + 120, 4, 62);

    // a ridge that reaches a trench goes down into it: what has passed the trench's axis is under the
    // other plate, and the trench is drawn over the rest
    for (const Dorsale &d : dorsali(s)) {
        p.save();
        for (double x : fosse(s))
            if (x > d.x && x - d.x < 60)
                p.setClipRect(QRectF(0, 0, x - 4, kH));
        dorsale(p, d.x, d.attiva);
        p.restore();
    }
    for (double x : fosse(s))
        fossa(p, x);

    // the fault: a crack through the plate with magma rising into it, volcanoes on both lips
    if (s.vulcaniFaglia) {
        const double x = kFaglia + s.g / 2;
        if (s.g < 10) {
            p.setPen(QPen(colore::contorno(), 1.5));
            p.setBrush(colore::magma());
            p.drawPolygon(QPolygonF{QPointF(x - 9 - s.g / 2, kTerra - 1), QPointF(x + 9 + s.g / 2, kTerra - 1),
                                    QPointF(x + 3, kLitosferaSotto + 4), QPointF(x - 3, kLitosferaSotto + 4)});
        }
        vulcano(p, kFaglia - 42, kTerra + 1, 42, 1.0);
        vulcano(p, kFaglia + s.g + 42, kTerra + 1, 38, 0.8);
    }
    if (s.vulcaniDorsale) { // spreading ridge: magma rising, sea-floor volcanoes erupting
        const double x = s.dorsaleNuova();
        vulcano(p, x - 70, kFondale + 1, 26, 0);
        vulcano(p, x + 64, kFondale + 1, 22, 0);
        disegnaEruzione(p, QPointF(x, kFondale - 26), 1.3, 0.9);
    }
    for (const QPainterPath &g : gocce(s))
        disegnaMagma(p, g, 2);
    if (s.terremoto)
        disegnaTerremoto(p, puntoLastra(kFossa2, kPendenza2, lung2 * 0.72), 28, 1.0);
    if (s.terremotiPassati) { // faint marks where the sunken plates shook the mantle
        disegnaTerremoto(p, QPointF(kFossa2 + 95, 560), 18, 0.35);
        disegnaTerremoto(p, QPointF(s.sinistra(kFossa1) + 160, 540), 18, 0.35);
    }

    // motion of the plates
    for (const QLineF &f : frecce(s))
        disegnaFreccia(p, f.p1(), f.p2(), f.y1() > 250 ? 7 : 8, colore::freccia());

    // plate numbers, then the labels
    if (s.dettaglio >= 2)
        for (const Placca &k : s.placche()) {
            const double x0 = std::max(k.x0, 0.0), x1 = std::min(k.x1, double(kW));
            numero(p, k.numero, (x0 + x1) / 2);
            if (!k.prima.isEmpty()) {
                Etichetta e;
                e.testo = k.prima.size() == 1 ? QStringLiteral("era la %1").arg(k.prima.first())
                                              : QStringLiteral("erano la %1 e la %2").arg(k.prima.at(0), k.prima.at(1));
                e.punto = QPointF((x0 + x1) / 2, 203);
                e.dimensione = 22;
                e.grassetto = true;
                disegnaEtichetta(p, e);
            }
        }
    const auto scrivi = [&p](const QString &t, QPointF at, QPointF guida = QPointF(-1, -1)) {
        Etichetta e;
        e.testo = t;
        e.punto = at;
        e.dimensione = 21;
        e.guida = guida;
        disegnaEtichetta(p, e);
    };
    if (s.sequenza == 1) {
        if (s.dettaglio >= 3) {
            scrivi(QStringLiteral("crosta continentale"), QPointF(700, 290));
            scrivi(QStringLiteral("crosta oceanica"), QPointF(215, 356), QPointF(215, 312));
        }
        if (s.dettaglio >= 4) {
            scrivi(QStringLiteral("mantello superiore"), QPointF(150, 760));
            scrivi(QStringLiteral("litosfera"), QPointF(75, 372));
        }
        if (s.dettaglio >= 5) {
            scrivi(QStringLiteral("fossa"), QPointF(kFossa1 - 40, 270));
            scrivi(QStringLiteral("fossa"), QPointF(kFossa2 - 40, 270));
        }
        if (s.dettaglio >= 6)
            scrivi(QStringLiteral("dorsale oceanica"), QPointF(kDorsale1, 250));
        if (s.dettaglio >= 7)
            scrivi(QStringLiteral("catena montuosa"), QPointF(kFossa1 + 70, 150));
        if (s.dettaglio >= 8)
            scrivi(QStringLiteral("celle convettive"), QPointF(kCelle[1].x, 775));
    } else if (s.sequenza == 2) {
        if (s.faglia())
            scrivi(QStringLiteral("faglia"), QPointF(kFaglia + 90, 98), QPointF(kFaglia + 4, 226));
        if (s.terremoto)
            scrivi(QStringLiteral("terremoto"), puntoLastra(kFossa2, kPendenza2, lung2 * 0.72) + QPointF(-20, 58));
        if (s.g >= 10)
            scrivi(QStringLiteral("nuovo fondale oceanico"), QPointF(kFaglia + s.g / 2, 370));
    } else if (s.sequenza == 4) {
        scrivi(QStringLiteral("oceano in espansione"), QPointF(s.dorsaleNuova(), 100));
        scrivi(QStringLiteral("catena montuosa"), QPointF(kFossa2 - 20, 100));
    }
    if (const int fuoco = s.fuoco()) {
        // a light veil over everything but the part to look at, which gets a warm rim
        QPainterPath luce;
        switch (fuoco) {
        case 1: // the plates: the rigid outer shell, broken into numbered pieces
            luce.addRoundedRect(QRectF(-20, 118, kW + 40, kLitosferaSotto - 112), 30, 30);
            break;
        case 2: // the two trenches
            luce.addEllipse(QPointF(kFossa1 - 20, 292), 80, 62);
            luce.addEllipse(QPointF(kFossa2 - 20, 292), 80, 62);
            break;
        case 3: // the ridge
            luce.addEllipse(QPointF(kDorsale1, 282), 96, 70);
            break;
        case 4: // the mountain chain
            luce.addEllipse(QPointF(kFossa1 + 70, 184), 104, 78);
            break;
        case 5: // the convection cells
            luce.addRoundedRect(QRectF(kCelle[0].x - kCelle[0].rx - 30, kCellaY - 170, kCelle[2].x + kCelle[2].rx - kCelle[0].x + kCelle[0].rx + 60, 350), 60, 60);
            break;
        default: // the two crusts, and the name under the oceanic one
            luce.addRoundedRect(QRectF(-20, kTerra - 14, kW + 40, kContinentaleSotto - kTerra + 28), 20, 20);
            luce.addRoundedRect(QRectF(122, 330, 186, 50), 16, 16);
            break;
        }
        luce = luce.simplified();
        QPainterPath tutto;
        tutto.addRect(QRectF(0, 0, kW, kH));
        p.fillPath(tutto.subtracted(luce), QColor(255, 255, 255, 125));
        p.setBrush(Qt::NoBrush);
        for (const auto &[largo, alfa] : {std::pair{14.0, 0.18}, std::pair{8.0, 0.3}, std::pair{3.5, 1.0}}) {
            p.setPen(QPen(style::withAlpha(QColor(0xF5, 0xB8, 0x2E), alfa), largo));
            p.drawPath(luce);
        }
    }
    if (s.chiusura) {
        Etichetta e;
        e.testo = QStringLiteral("Fine");
        e.punto = QPointF(kW / 2.0, 70);
        e.dimensione = 40;
        e.grassetto = true;
        e.opacita = std::min(1.0, 0.4 + 0.3 * (s.sx - kSpostamento) / 15);
        disegnaEtichetta(p, e);
    }
    p.end();
    return image;
}

} // namespace

QStringList nomi()
{
    QStringList n;
    for (int k = 1; k <= 15; ++k)
        n << QStringLiteral("new-%1.gif").arg(k);
    n << QStringLiteral("new-15b.gif");
    for (int k = 16; k <= 45; ++k)
        n << QStringLiteral("new-%1.gif").arg(k);
    return n;
}

bool velata(const QString &nome)
{
    const int i = indice(nome);
    return i >= 0 && scena(i).fuoco() != 0;
}

int sequenzaDi(const QString &nome)
{
    const int i = indice(nome);
    return i < 0 ? 0 : scena(i).sequenza;
}

Fatti fatti(int sequenza)
{
    std::vector<Scena> scene;
    for (int i = 0; i < nomi().size(); ++i)
        if (scena(i).sequenza == sequenza)
            scene.push_back(scena(i));
    Fatti f;
    if (scene.empty())
        return f;
    const Scena &primo = scene.front();
    const Scena &ultimo = scene.back();
    const std::vector<Placca> placche = ultimo.placche();
    f.placche = int(placche.size());
    f.celle = 3;
    f.celleAttive = int(std::count(std::begin(ultimo.attive), std::end(ultimo.attive), true));
    f.attivaSoloDestra = std::all_of(scene.begin(), scene.end(), [](const Scena &s) {
        return !s.attive[0] && !s.attive[1] && s.attive[2];
    });
    f.celleControrotanti = ultimo.attive[1] && ultimo.attive[2] && kCelle[1].orario != kCelle[2].orario
                           && ultimo.oceanoNuovo();
    f.fosse = int(fosse(primo).size());
    f.dorsali = int(dorsali(primo).size());
    f.catene = 1 + int(primo.collisione());
    f.subduzioni = int(fosse(ultimo).size()); // a trench is drawn only where a plate still goes down
    f.subduzioniInEsaurimento = f.subduzioni > 0 && kFossa1 - (kDorsale1 + ultimo.m) < 60
                                && kFossa2 - (820 + ultimo.g) < 60;
    for (const Scena &s : scene) {
        f.faglia = f.faglia || s.faglia();
        f.vulcaniFaglia = f.vulcaniFaglia || (s.vulcaniFaglia && s.faglia());
        f.terremotoSottoPlacca4 = f.terremotoSottoPlacca4 || s.terremoto;
        f.terremotiSubduzioni = f.terremotiSubduzioni || s.terremotiPassati;
        f.vulcaniEspansione = f.vulcaniEspansione || s.vulcaniDorsale;
        // a continent reaching a trench stops there: only oceanic plate sinks
        f.continentaleSubduce = f.continentaleSubduce || (s.fossa2() == false && s.g > 120);
        for (const Placca &k : s.placche())
            if (k.numero == QLatin1String("5"))
                f.nuovaPlacca = true;
        for (const Dorsale &d : dorsali(s)) {
            f.dorsaleTraPlaccheConvergenti = f.dorsaleTraPlaccheConvergenti || versoLaDorsale(s, d.x);
            for (double x : fosse(s))
                f.subduzioneSottoDorsale = f.subduzioneSottoDorsale || std::abs(x - d.x) < 60;
        }
    }
    // the fault opens over the rising side of the right-hand cell, while the plate to its left stands still
    f.fagliaSopraCellaDestra = f.faglia && std::abs(kCelle[2].x - kCelle[2].rx - kFaglia) < 10 && kCelle[2].orario;
    f.fagliaDaSpinta = f.faglia && f.attivaSoloDestra == false;
    f.vulcaniDaCompressione = f.vulcaniFaglia && ultimo.g <= primo.g; // the lips move apart, not together
    f.fondaleInEspansione = ultimo.g + ultimo.sx > primo.g + primo.sx && ultimo.oceanoNuovo();
    f.archiInsulari = false; // the main picture has no island arcs; only the close-up shows them
    f.fosseRimaste = !fosse(ultimo).empty();
    f.primeDueMiste = placche.size() >= 2 && placche[0].oceanica && placche[0].continentale && placche[1].oceanica
                      && placche[1].continentale;
    f.placcheSoloOceaniche = int(std::count_if(placche.begin(), placche.end(),
                                               [](const Placca &k) { return k.oceanica && !k.continentale; }));
    f.catenaConfineDestro = ultimo.collisione();
    f.oceanoVasto = ultimo.larghezzaOceano() > 250;
    return f;
}

Quadro quadro(const QString &nome)
{
    const int i = indice(nome);
    Quadro q;
    if (i < 0)
        return q;
    const Scena s = scena(i);
    if (s.dettaglio >= 2)
        for (const Placca &k : s.placche())
            q.placche.push_back({k.numero, k.prima, k.x0, k.x1});
    for (const Dorsale &d : dorsali(s))
        q.dorsali.push_back(d.x);
    q.fosse = fosse(s);
    if (s.vulcaniFaglia && s.g < 10)
        q.faglia = kFaglia + s.g / 2;
    q.mareTraContinenti = std::max(0.0, kFossa2 - (820 + s.g));
    q.magma = gocce(s);
    for (const Lastra &l : {lastra1(s), lastra2(s)}) {
        const auto [mantello, crosta] = sagoma(l);
        q.lastre.push_back(mantello.united(crosta));
    }
    q.catena = altezzaCatena(s);
    return q;
}

QImage disegna(const QString &nome)
{
    const int i = indice(nome);
    return disegnaScena(scena(std::max(i, 0)));
}

} // namespace disegni::serie

namespace disegni {

void addSerie(QList<Picture> *pictures)
{
    for (const QString &nome : serie::nomi())
        pictures->append({nome, QStringLiteral("Sintesi animata: la sezione delle quattro placche"),
                          [nome](PictureContext &) { return serie::disegna(nome); }});
}

} // namespace disegni
