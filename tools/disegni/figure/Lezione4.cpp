// Pictures of topic 4, the margins of the plates: a transform fault beside the map of the San
// Andreas fault, and the slice of the Earth on which the hotspots of the synthesis page stand.

#include "Catalogue.h"
#include "Output.h"
#include "Plates.h"
#include "Schemi.h"
#include "Sezione.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>

namespace disegni {

using namespace schema;
// sections speak the colour language of the animated sequences
namespace sez = sezione::colore;

namespace {

Testo etichetta(double size, int weight = QFont::Normal)
{
    Testo t;
    t.size = size;
    t.weight = weight;
    t.halo = false;
    return t;
}

QPainterPath poligono(const QList<QPointF> &punti)
{
    QPainterPath path;
    path.moveTo(punti.first());
    for (qsizetype i = 1; i < punti.size(); ++i)
        path.lineTo(punti.at(i));
    path.closeSubpath();
    return path;
}

// ---------------------------------------------------------------------------------------------
// Califo1: on the left a block of crust cut by a transform fault, the two sides slid past each
// other so that a road crossing the fault is broken; on the right the San Andreas fault on the map
// of California, between the Pacific and the North American plates.

// A box-shaped block seen from the front, a little from above and from the right.
struct Blocco {
    QPointF fronte;   // front top-left corner
    double larghezza;
    double altezza;   // of the front face
    QPointF indietro; // the top face going back
};

void disegnaBlocco(QPainter &p, const Blocco &b, const QColor &cima)
{
    const QPointF a = b.fronte, bb = b.fronte + QPointF(b.larghezza, 0);
    const QPointF giu(0, b.altezza);
    // right side, front (crust in three bands), top
    QPolygonF lato({bb, bb + b.indietro, bb + b.indietro + giu, bb + giu});
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.8), 1.4));
    p.setBrush(style::mix(sez::continentale(), QColor(0x50, 0x40, 0x30), 0.25));
    p.drawPolygon(lato);
    // continental crust, a little darker with depth
    const QColor strati[] = {sez::continentale(), style::mix(sez::continentale(), sez::litosfera(), 0.2),
                             style::mix(sez::continentale(), sez::litosfera(), 0.4)};
    for (int i = 0; i < 3; ++i) {
        const double y0 = b.altezza * i / 3.0, y1 = b.altezza * (i + 1) / 3.0;
        p.setPen(Qt::NoPen);
        p.setBrush(strati[i]);
        p.drawRect(QRectF(a.x(), a.y() + y0, b.larghezza, y1 - y0));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.8), 1.4));
    p.drawRect(QRectF(a, QSizeF(b.larghezza, b.altezza)));
    QPolygonF top({a, bb, bb + b.indietro, a + b.indietro});
    p.setBrush(cima);
    p.drawPolygon(top);
}

// A road across the top face of a block, at depth t (0 front, 1 back).
void strada(QPainter &p, const Blocco &b, double t)
{
    const QPointF s = b.fronte + b.indietro * t;
    p.setPen(QPen(QColor(0x6E, 0x6A, 0x66), 9, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(s, s + QPointF(b.larghezza, 0));
    p.setPen(QPen(QColor(0xF4, 0xEE, 0xDC), 1.6, Qt::DashLine, Qt::FlatCap));
    p.drawLine(s, s + QPointF(b.larghezza, 0));
}

void stella(QPainter &p, const QPointF &c, double r)
{
    QPainterPath s;
    for (int i = 0; i < 16; ++i) {
        const double a = M_PI * i / 8.0 - M_PI / 2;
        const double rr = i % 2 ? r * 0.45 : r;
        const QPointF q = c + QPointF(std::cos(a), std::sin(a)) * rr;
        if (i == 0)
            s.moveTo(q);
        else
            s.lineTo(q);
    }
    s.closeSubpath();
    p.setPen(style::pen(QColor(0x8A, 0x20, 0x10), 1.2));
    p.setBrush(QColor(0xF2, 0xC2, 0x30));
    p.drawPath(s);
}

// A small regional map: longitudes shrunk by the cosine of the middle latitude.
class Regione
{
public:
    Regione(const QRectF &geo, const QRectF &target)
        : m_geo(geo)
        , m_target(target)
        , m_k(std::cos(qDegreesToRadians(geo.center().y())))
    {
        m_scale = std::min(target.width() / (geo.width() * m_k), target.height() / geo.height());
    }
    QPointF operator()(double lon, double lat) const
    {
        return QPointF(m_target.center().x() + (lon - m_geo.center().x()) * m_k * m_scale,
                       m_target.center().y() - (lat - m_geo.center().y()) * m_scale);
    }
    QPointF operator()(const QPointF &ll) const { return (*this)(ll.x(), ll.y()); }
    QPainterPath anello(const Ring &ring, bool chiuso) const
    {
        QPainterPath path;
        for (qsizetype i = 0; i < ring.size(); ++i) {
            const QPointF q = (*this)(ring.at(i));
            if (i == 0)
                path.moveTo(q);
            else
                path.lineTo(q);
        }
        if (chiuso)
            path.closeSubpath();
        return path;
    }
    bool vicino(const Ring &ring) const
    {
        const QRectF larga = m_geo.adjusted(-3, -3, 3, 3);
        return std::any_of(ring.begin(), ring.end(), [&](const QPointF &q) { return larga.contains(q); });
    }

private:
    QRectF m_geo;
    QRectF m_target;
    double m_k;
    double m_scale = 1;
};

QImage califo1(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(9255, 2340);
    const double h = size.height();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    cielo(p, QRectF(QPointF(0, 0), size));

    // the block: the right half has slid towards us, the left half away
    const QPointF indietro(150, -128);
    const double scorre = 0.16;
    const Blocco sinistra{QPointF(48, 178) + indietro * scorre, 360, 78, indietro};
    const Blocco destra{QPointF(408, 178) - indietro * scorre, 360, 78, indietro};
    const QColor cima = terreno();
    disegnaBlocco(p, sinistra, cima);
    strada(p, sinistra, 0.5);
    disegnaBlocco(p, destra, cima);
    strada(p, destra, 0.5);
    // the fault line on top, and the earthquake where the two sides snap
    p.setPen(style::pen(QColor(0x8A, 0x26, 0x14), 3));
    const QPointF cimaFaglia = sinistra.fronte + QPointF(sinistra.larghezza, 0) + indietro;
    p.drawLine(destra.fronte, cimaFaglia);
    stella(p, destra.fronte + QPointF(0, destra.altezza * 0.55), 13);

    const QColor bianco = style::withAlpha(Qt::white, 0.95);
    freccia(p, sinistra.fronte + QPointF(250, 0) + indietro * 0.12, sinistra.fronte + QPointF(250, 0) + indietro * 0.62, bianco, 12,
            22);
    freccia(p, destra.fronte + QPointF(110, 0) + indietro * 0.88, destra.fronte + QPointF(110, 0) + indietro * 0.38, bianco, 12, 22);

    const Testo nome = etichetta(18, QFont::Bold);
    scrivi(p, sinistra.fronte + indietro * 0.78 + QPointF(14, 0), QStringLiteral("placca pacifica"), Qt::AlignLeft | Qt::AlignVCenter,
           nome);
    scrivi(p, destra.fronte + indietro * 0.2 + QPointF(150, 0), QStringLiteral("placca nordamericana"), Qt::AlignLeft | Qt::AlignVCenter,
           nome);
    const QRectF faglia = scrivi(p, cimaFaglia + QPointF(26, -4), QStringLiteral("FAGLIA TRASFORME"), Qt::AlignLeft | Qt::AlignBottom,
                                 etichetta(19, QFont::Bold));
    richiamo(p, QPointF(faglia.left() - 2, faglia.bottom() - 6), cimaFaglia + indietro * -0.05);
    Testo scossa = etichetta(18, QFont::Bold);
    scossa.halo = true;
    scrivi(p, destra.fronte + QPointF(-18, destra.altezza * 0.55), QStringLiteral("terremoti"), Qt::AlignRight | Qt::AlignVCenter, scossa);

    // the map
    const QRectF riquadro(size.width() - 372, 8, 364, h - 16);
    const Regione r(QRectF(-125.5, 31.0, 12.0, 11.5), riquadro);
    p.save();
    p.setClipRect(riquadro);
    p.fillRect(riquadro, style::ocean());
    QPainterPath terra;
    terra.setFillRule(Qt::WindingFill);
    for (const GeoPolygon &poly : allPolygons(ctx.data().land(GeoData::Detail::Fine))) {
        if (poly.rings.isEmpty() || !r.vicino(poly.rings.first()))
            continue;
        for (const Ring &ring : poly.rings)
            terra.addPath(r.anello(ring, true));
    }
    p.fillPath(terra, style::land());
    p.strokePath(terra, style::pen(style::withAlpha(style::outline(), 0.45), 1.2));
    int linee = 0;
    for (const PlateBoundary &b : ctx.plates().boundaries()) {
        if (!r.vicino(b.line))
            continue;
        const bool sanAndreas = QSet<QString>{b.plateA, b.plateB} == QSet<QString>{QStringLiteral("PA"), QStringLiteral("NA")};
        p.setPen(style::pen(sanAndreas ? QColor(0xB8, 0x2E, 0x14) : style::withAlpha(style::outline(), 0.6), sanAndreas ? 3.4 : 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(r.anello(b.line, false));
        linee += sanAndreas;
    }
    if (linee == 0)
        throw GeoDataError("PB2002: nessun confine PA-NA in California");
    // the two plates slide past each other along the fault
    freccia(p, r(-123.2, 33.6), r(-124.6, 35.4), bianco, 10, 18);
    freccia(p, r(-116.0, 37.6), r(-114.6, 35.8), bianco, 10, 18);
    const auto citta = [&](double lon, double lat, const QString &nome, Qt::Alignment align, const QPointF &dx) {
        const QPointF at = r(lon, lat);
        p.setPen(style::pen(Qt::white, 1.4));
        p.setBrush(style::text());
        p.drawEllipse(at, 4, 4);
        Testo t = etichetta(18);
        t.halo = true;
        t.haloColour = style::withAlpha(style::land(), 0.8);
        scrivi(p, at + dx, nome, align, t);
    };
    citta(-122.42, 37.77, QStringLiteral("San Francisco"), Qt::AlignLeft | Qt::AlignVCenter, QPointF(8, -2));
    citta(-118.24, 34.05, QStringLiteral("Los Angeles"), Qt::AlignLeft | Qt::AlignVCenter, QPointF(8, 2));
    Testo mare = etichetta(18, QFont::Bold);
    mare.colour = QColor(0x2E, 0x5A, 0x80);
    scrivi(p, r(-123.9, 33.0), QStringLiteral("PLACCA\nPACIFICA"), Qt::AlignCenter, mare);
    scrivi(p, r(-115.6, 40.4), QStringLiteral("PLACCA\nNORDAMERICANA"), Qt::AlignCenter, etichetta(18, QFont::Bold));
    const QRectF sa = scrivi(p, r(-120.6, 39.6), QStringLiteral("faglia di\nS. Andreas"), Qt::AlignRight | Qt::AlignBottom, [] {
        Testo t = etichetta(18, QFont::Bold);
        t.colour = QColor(0x9A, 0x22, 0x10);
        t.halo = true;
        t.haloColour = style::withAlpha(style::land(), 0.8);
        return t;
    }());
    richiamo(p, QPointF(sa.right() - 10, sa.bottom()), r(-121.0, 36.55), QColor(0x9A, 0x22, 0x10));
    CreditLook credit;
    credit.pixelSize = 12;
    drawCredit(p, riquadro, mapCredit(), credit);
    p.restore();
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.6), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(riquadro);
    return image;
}


// ---------------------------------------------------------------------------------------------
// Sintuno: a slice of the Earth with every kind of margin on it, for the hotspot page. Along the
// surface, from the upper left: an island arc where one ocean plate sinks under another, the
// ocean, a ridge, an ocean that ends in a continent on the same plate, and that continent welded
// to the next one in a mountain chain. Under them the upper mantle with its currents, then the
// lower mantle and the core. No words: the hotspots are the labels. The surface is the circle
// through where Label4, Label5 and Label3 stand (page 8 puts the picture at 50, 0 twips), so each
// hotspot lies on its subject; Label2 and Label6 stand just under the surface and in the mantle.
// The crust, the plates and the upper mantle are drawn many times thicker than true.

class Fetta
{
public:
    Fetta(const QPointF &centro, double raggio)
        : m_o(centro)
        , m_r(raggio)
    {
    }
    // The point at angle theta (degrees, counter-clockwise from east) and depth d below sea level.
    QPointF operator()(double theta, double d) const { return suCerchio(m_o, m_r - d, theta); }
    QPointF centro() const { return m_o; }
    double raggio() const { return m_r; }

    // The band between two depth profiles over an angle range, sampled every half degree.
    QPainterPath fascia(double t0, double t1, const std::function<double(double)> &sopra,
                        const std::function<double(double)> &sotto) const
    {
        QPainterPath path;
        const int n = std::max(2, int(std::abs(t1 - t0) * 2));
        for (int i = 0; i <= n; ++i) {
            const double t = t0 + (t1 - t0) * i / n;
            if (i == 0)
                path.moveTo((*this)(t, sopra(t)));
            else
                path.lineTo((*this)(t, sopra(t)));
        }
        for (int i = n; i >= 0; --i) {
            const double t = t0 + (t1 - t0) * i / n;
            path.lineTo((*this)(t, sotto(t)));
        }
        path.closeSubpath();
        return path;
    }
    // A polygon given in (angle, depth) points.
    QPainterPath figura(const QList<QPointF> &td) const
    {
        QList<QPointF> punti;
        for (const QPointF &q : td)
            punti.append((*this)(q.x(), q.y()));
        return poligono(punti);
    }

private:
    QPointF m_o;
    double m_r;
};

// A convection cell in the mantle of the slice: up along angle tSu, across at depth d0, down along
// angle tGiu, back at depth d1; rounded corners, coloured from hot to cold.
void cellaPolare(QPainter &p, const Fetta &f, double tSu, double tGiu, double d0, double d1)
{
    // work in a flat (arc length, depth) plane at the middle depth, then bend it onto the slice
    const double rMedio = f.raggio() - (d0 + d1) / 2;
    const double s0 = qDegreesToRadians(tSu) * rMedio, s1 = qDegreesToRadians(tGiu) * rMedio;
    const double dir = s1 > s0 ? 1 : -1;
    const double k = std::min(std::abs(s1 - s0), d1 - d0) * 0.3; // corner radius
    const double gap = 9;
    const auto punto = [&](double s, double d) { return f(qRadiansToDegrees(s / rMedio), d); };
    const auto ramo = [&](const QList<QPointF> &sd, const QColor &c) {
        // short steps, so that a straight run in the flat plane follows the curve of the slice
        QPainterPath path;
        path.moveTo(punto(sd.first().x(), sd.first().y()));
        for (qsizetype i = 1; i < sd.size(); ++i) {
            const QPointF a = sd.at(i - 1), b = sd.at(i);
            const int n = std::max(1, int(std::hypot(b.x() - a.x(), b.y() - a.y()) / 4));
            for (int j = 1; j <= n; ++j) {
                const QPointF q = a + (b - a) * (double(j) / n);
                path.lineTo(punto(q.x(), q.y()));
            }
        }
        frecciaLinea(p, path, c, 3.2, 13);
    };
    const auto angolo = [&](QList<QPointF> *out, const QPointF &centro, double a0, double a1) {
        for (int i = 0; i <= 8; ++i) {
            const double a = qDegreesToRadians(a0 + (a1 - a0) * i / 8.0);
            out->append(centro + QPointF(std::cos(a) * k, std::sin(a) * k));
        }
    };
    // in (s, d): s grows with the angle, d downwards
    QList<QPointF> su{{s0, d1 - k - gap}, {s0, d0 + k}};
    angolo(&su, QPointF(s0 + dir * k, d0 + k), dir > 0 ? 180 : 0, dir > 0 ? 270 : -90);
    QList<QPointF> attraverso{{s0 + dir * (k + gap), d0}, {s1 - dir * k, d0}};
    angolo(&attraverso, QPointF(s1 - dir * k, d0 + k), dir > 0 ? 270 : -90, dir > 0 ? 360 : -180);
    QList<QPointF> giu{{s1, d0 + k + gap}, {s1, d1 - k}};
    angolo(&giu, QPointF(s1 - dir * k, d1 - k), dir > 0 ? 0 : 180, dir > 0 ? 90 : 90);
    QList<QPointF> ritorno{{s1 - dir * (k + gap), d1}, {s0 + dir * k, d1}};
    angolo(&ritorno, QPointF(s0 + dir * k, d1 - k), 90, dir > 0 ? 180 : 0);
    ramo(su, style::withAlpha(QColor(0xC0, 0x3A, 0x1A), 0.75));
    ramo(attraverso, style::withAlpha(QColor(0xD0, 0x7A, 0x2A), 0.75));
    ramo(giu, style::withAlpha(QColor(0x3E, 0x5E, 0x90), 0.75));
    ramo(ritorno, style::withAlpha(QColor(0x8A, 0x50, 0x80), 0.65));
}

// Smooth steps for the depth profiles.
double liscio(double x, double x0, double x1)
{
    const double t = std::clamp((x - x0) / (x1 - x0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

QImage sintuno(PictureContext &)
{
    const QSize size = pixelsForTwips(7200, 6990);
    const double w = size.width(), h = size.height();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    cielo(p, QRectF(0, 0, w, h));

    const Fetta f(QPointF(px(1524), px(5626)), px(5098));
    // where things are along the surface (degrees)
    const double arco = 101.4, fossa = 88.8, dorsale = 40.9, margine = 21.3, sutura = 10.5;
    const double inizio = 112, fine = -22;
    // depths in pixels below sea level
    const double mare = 10, crostaOc = 7;
    const auto fondoMare = [&](double t) {
        // shallower over the ridge, deep in the trench
        double d = mare + 2 - 6 * std::exp(-std::pow((t - dorsale) / 3.0, 2));
        d += 16 * std::exp(-std::pow((t - fossa) / 0.9, 2));
        return d;
    };
    const auto etaOceano = [&](double t) {
        // how old the ocean floor is, 0 at the ridge, 1 at the far end of its plate
        if (t > dorsale)
            return std::clamp((t - dorsale) / (fossa - dorsale), 0.0, 1.0);
        return std::clamp((dorsale - t) / (dorsale - margine), 0.0, 1.0);
    };
    const auto baseLitosfera = [&](double t) { return mare + crostaOc + 6 + 40 * std::sqrt(etaOceano(t)); };
    // the continents: from the passive margin down past the suture
    const auto cimaContinente = [&](double t) {
        const double monti = 26 * std::exp(-std::pow((t - sutura) / 3.4, 2));
        return -3 - monti + (mare + 3) * (1 - liscio(t, margine + 0.5, margine - 2.0));
    };
    const auto mohoContinente = [&](double t) {
        const double radice = 38 * std::exp(-std::pow((t - sutura) / 2.6, 2));
        return 30 + radice - (30 - mare - crostaOc) * (1 - liscio(t, margine + 0.5, margine - 3.0));
    };
    const auto baseContinente = [&](double t) {
        const double oceano = baseLitosfera(margine + 3);
        return oceano + (84 - oceano) * liscio(t, margine + 3, margine - 4) + 20 * std::exp(-std::pow((t - sutura) / 3.0, 2));
    };

    const double r = f.raggio();
    const double rMantelloInf = r - 200, rNucleo = r - 420, rNucleoInt = r - 560;
    const QPointF o = f.centro();

    // the deep Earth
    const auto disco = [&](double raggio, const QColor &c) {
        p.setPen(style::pen(style::withAlpha(QColor(0x6A, 0x3A, 0x1E), 0.45), 1.2));
        p.setBrush(c);
        p.drawEllipse(o, raggio, raggio);
    };
    {
        QRadialGradient g(o, r);
        g.setColorAt(rMantelloInf / r, sez::astenosferaProfonda());
        g.setColorAt(1.0, sez::astenosfera());
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(o, r - mare, r - mare);
    }
    // the deep Earth paler: the subject is the surface and the upper mantle
    disco(rMantelloInf, style::mix(mantelloInferiore(), style::paper(), 0.3));
    disco(rNucleo, style::mix(nucleoEsterno(), style::paper(), 0.3));
    disco(rNucleoInt, style::mix(nucleoInterno(), style::paper(), 0.3));

    // mantle currents: two cells, up under the ridge, along under the plates, down with the
    // sinking plate on one side and under the mountain chain on the other
    cellaPolare(p, f, dorsale + 3.0, fossa + 4.6, 80, 190);
    cellaPolare(p, f, dorsale - 3.0, sutura + 2.0, 104, 192);

    // magma under the ridge
    {
        QPainterPath risalita = f.figura({{dorsale + 4.5, 150}, {dorsale + 0.4, mare + 3}, {dorsale - 0.4, mare + 3}, {dorsale - 4.5, 150}});
        QRadialGradient g(f(dorsale, mare), 150);
        g.setColorAt(0, style::withAlpha(sez::magma(), 0.95));
        g.setColorAt(1, style::withAlpha(sez::magma(), 0.0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(risalita);
    }

    // plate A, on the left, carrying the island arc
    const QColor bordo = style::withAlpha(style::outline(), 0.65);
    p.setPen(style::pen(bordo, 1.2));
    p.setBrush(sez::litosfera());
    p.drawPath(f.fascia(inizio, fossa + 0.6, [&](double) { return mare + crostaOc; }, [&](double t) { return 52 + 8 * liscio(t, fossa, inizio); }));
    p.setBrush(sez::oceanica());
    p.drawPath(f.fascia(inizio, fossa + 0.6, [&](double t) { return std::min(fondoMare(t), mare); }, [&](double) { return mare + crostaOc; }));

    // plate B: born at the ridge, sinking at the trench under plate A
    {
        QList<QPointF> cima, base;
        for (double t = dorsale; t <= fossa; t += 0.5)
            cima.append(QPointF(t, fondoMare(t)));
        // gently at first, so that it is about 100 km deep under the arc, then steeper
        const QList<QPointF> discesa = {{fossa + 1.6, 27}, {fossa + 5, 40}, {fossa + 9, 54}, {fossa + 12.6, 70}, {fossa + 16.5, 96},
                                        {fossa + 20.5, 132}, {fossa + 24, 172}};
        QList<QPointF> lastra = cima;
        lastra += discesa;
        QList<QPointF> sotto;
        for (double t = dorsale; t <= fossa - 3; t += 0.5)
            sotto.append(QPointF(t, baseLitosfera(t)));
        const QList<QPointF> sottoDiscesa = {{fossa - 1.0, 68}, {fossa + 3.0, 82}, {fossa + 7.5, 98}, {fossa + 11.5, 118},
                                             {fossa + 15.5, 146}, {fossa + 19.5, 184}, {fossa + 23, 224}};
        sotto += sottoDiscesa;
        QList<QPointF> contorno = lastra;
        for (qsizetype i = sotto.size() - 1; i >= 0; --i)
            contorno.append(sotto.at(i));
        p.setPen(style::pen(bordo, 1.2));
        p.setBrush(sez::litosfera());
        p.drawPath(f.figura(contorno));
        // its crust
        QList<QPointF> crosta = cima;
        crosta += discesa.mid(0, 4);
        QList<QPointF> sottoCrosta;
        for (const QPointF &q : cima)
            sottoCrosta.append(q + QPointF(0, crostaOc));
        sottoCrosta += {{fossa + 1.2, 35}, {fossa + 4.8, 48}, {fossa + 8.8, 62}, {fossa + 12.4, 78}};
        QList<QPointF> c2 = crosta;
        for (qsizetype i = sottoCrosta.size() - 1; i >= 0; --i)
            c2.append(sottoCrosta.at(i));
        p.setBrush(sez::oceanica());
        p.drawPath(f.figura(c2));
    }

    // plate C: ocean from the ridge to the continent it carries; then continent D
    const auto cimaMantelloC = [&](double t) { return t > margine + 0.5 ? fondoMare(t) + crostaOc : mohoContinente(t); };
    const auto baseC = [&](double t) { return t > margine + 3 ? baseLitosfera(t) : baseContinente(t); };
    p.setPen(style::pen(bordo, 1.2));
    p.setBrush(sez::litosfera());
    p.drawPath(f.fascia(fine, dorsale, cimaMantelloC, baseC));
    p.setBrush(sez::oceanica());
    p.drawPath(f.fascia(margine + 0.2, dorsale, fondoMare, [&](double t) { return fondoMare(t) + crostaOc; }));
    p.setBrush(sez::continentale());
    p.drawPath(f.fascia(fine, margine + 0.5, cimaContinente, mohoContinente));
    // the weld between the two continents: a steep seam through the mountain root
    p.setPen(QPen(style::withAlpha(QColor(0x6A, 0x4A, 0x30), 0.8), 1.6, Qt::DashLine));
    p.drawLine(f(sutura + 0.6, -8), f(sutura - 1.6, 95));
    // the sea
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.4), 1.0));
    p.setBrush(style::withAlpha(sez::mare(), 0.95));
    p.drawPath(f.fascia(margine - 1.5, inizio, [](double) { return 0.0; }, fondoMare));
    // land on the continents, with a grass line
    p.setPen(style::pen(sez::verde(), 3.0));
    p.setBrush(Qt::NoBrush);
    {
        QPainterPath suolo;
        bool primo = true;
        for (double t = margine - 0.4; t >= fine; t -= 0.25) {
            const QPointF q = f(t, cimaContinente(t));
            if (primo)
                suolo.moveTo(q);
            else
                suolo.lineTo(q);
            primo = false;
        }
        p.drawPath(suolo);
    }
    // the island arc: volcanoes growing out of the sea above the sinking plate, fed by magma
    // tall enough to show above the hotspot that stands on it
    for (const double t : {arco + 2.4, arco}) {
        const double alto = t > arco ? 18 : 34;
        const double base = t > arco ? 1.4 : 2.0;
        p.setPen(style::pen(sez::vulcano().darker(140), 1.2));
        p.setBrush(sez::vulcano());
        p.drawPath(f.figura({{t + base, mare}, {t + 0.3, -alto}, {t - 0.3, -alto}, {t - base, mare}}));
    }
    QPainterPath vena;
    vena.moveTo(f(arco + 0.6, 74));
    vena.cubicTo(f(arco + 0.2, 50), f(arco - 0.2, 20), f(arco, -34));
    p.setPen(style::pen(style::withAlpha(sez::magma(), 0.9), 4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(vena);
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 4; ++k) {
        p.setBrush(style::withAlpha(QColor(0xB6, 0xB2, 0xAC), 0.7 - 0.13 * k));
        p.drawEllipse(f(arco - 0.4 * k, -44 - 9 * k), 4 + 1.5 * k, 4 + 1.5 * k);
    }

    // plates moving: apart at the ridge, towards the trench, the continent pushed into the other
    const QColor bianco = style::withAlpha(Qt::white, 0.95);
    freccia(p, f(dorsale + 2.5, -12), f(dorsale + 9, -12), bianco, 9, 17);
    freccia(p, f(dorsale - 2.5, -12), f(dorsale - 8, -12), bianco, 9, 17);
    freccia(p, f(fossa - 14, -12), f(fossa - 6, -12), bianco, 9, 17);
    freccia(p, f(margine - 3, -30), f(sutura + 4.5, -30), bianco, 9, 17);

    Testo nota = etichetta(18);
    nota.colour = style::textSoft();
    nota.halo = true; // it stands over the edge of the continent
    scrivi(p, QPointF(w - 8, h - 6), QStringLiteral("spessori\nnon in scala"), Qt::AlignRight | Qt::AlignBottom, nota);
    return image;
}

} // namespace

void addLezione4(QList<Picture> *pictures)
{
    pictures->append({QStringLiteral("altre/sintuno.jpg"), QStringLiteral("i margini delle placche su una fetta della Terra, per le finestrelle"), sintuno});
    pictures->append({QStringLiteral("altre/califo1.jpg"), QStringLiteral("faglia trasforme e faglia di S. Andreas"), califo1});
}

} // namespace disegni
