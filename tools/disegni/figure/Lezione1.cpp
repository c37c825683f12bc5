// Pictures of topic 1, the structure of the Earth: the Earth from space, its birth from the cloud
// round the young Sun, the layers it separated into, the upper mantle and its convection cells.

#include "Catalogue.h"
#include "Globe.h"
#include "Output.h"
#include "Schemi.h"
#include "Sezione.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QVector3D>
#include <QtMath>

#include <cmath>

namespace disegni {

using namespace schema;
// sections speak the colour language of the animated sequences
namespace sez = sezione::colore;

namespace {

// The Earth lit from the upper left, as from space.
QImage globoNaturale(PictureContext &ctx, const Globe &globe, const QSize &size, double ambient)
{
    Globe::Light light;
    light.direction = QVector3D(-0.55f, 0.45f, 0.70f);
    light.ambient = ambient;
    light.highlight = 0.07;
    light.rim = 0.18;
    return globe.render(tessituraTerra(ctx.data(), QSize(2048, 1024), true), size, light);
}

// The small credit of a globe drawn from the coastlines of Natural Earth.
void creditoGlobo(QPainter &p, const QSize &size, const QColor &colour)
{
    CreditLook look;
    look.pixelSize = 11;
    look.opacity = 0.75;
    look.halo = false;
    look.colour = colour;
    drawCredit(p, QRectF(QPointF(0, 0), size), QStringLiteral("Dati: Natural Earth"), look);
}

void alone(QPainter &p, const QPointF &centre, double radius, double width, double alpha)
{
    QRadialGradient g(centre, radius + width);
    const double inner = radius / (radius + width);
    g.setColorAt(inner * 0.97, style::withAlpha(QColor(0xA8, 0xD4, 0xF2), 0.0));
    g.setColorAt(inner, style::withAlpha(QColor(0xA8, 0xD4, 0xF2), alpha));
    g.setColorAt(1.0, style::withAlpha(QColor(0xA8, 0xD4, 0xF2), 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius + width, radius + width);
}

void luna(QPainter &p, const QPointF &c, double r)
{
    QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.3), r * 1.3);
    g.setColorAt(0, QColor(0xEC, 0xE9, 0xE1));
    g.setColorAt(0.75, QColor(0xB9, 0xB5, 0xAB));
    g.setColorAt(1, QColor(0x8A, 0x87, 0x80));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    // the dark seas, irregular patches towards the upper left
    p.setBrush(QColor(0x9C, 0x98, 0x8F, 90));
    QPainterPath mari;
    mari.moveTo(c + QPointF(-r * 0.62, -r * 0.18));
    mari.cubicTo(c + QPointF(-r * 0.55, -r * 0.62), c + QPointF(-r * 0.05, -r * 0.55), c + QPointF(r * 0.05, -r * 0.25));
    mari.cubicTo(c + QPointF(r * 0.12, r * 0.05), c + QPointF(-r * 0.25, r * 0.02), c + QPointF(-r * 0.32, r * 0.22));
    mari.cubicTo(c + QPointF(-r * 0.45, r * 0.35), c + QPointF(-r * 0.66, r * 0.12), c + QPointF(-r * 0.62, -r * 0.18));
    p.drawPath(mari);
    p.drawEllipse(c + QPointF(r * 0.38, -r * 0.12), r * 0.13, r * 0.17);
}

// Guarda com'è tranquilla la Terra vista dallo spazio: the globe with Europe and Africa, the Moon far off.
QImage prima(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(3000, 4575);
    QImage image = newPicture(size, spazio());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    spazioStellato(p, QRectF(QPointF(0, 0), size), 140, 1961);

    luna(p, QPointF(size.width() * 0.78, 78), 21);

    const Globe globe(12, 24, QPointF(size.width() / 2.0, size.height() * 0.57), 180);
    alone(p, globe.centre(), globe.radius(), 16, 0.45);
    p.drawImage(0, 0, globoNaturale(ctx, globe, size, 0.42));
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::withAlpha(QColor(0xC8, 0xE6, 0xFA), 0.55), 1.6));
    p.drawEllipse(globe.centre(), globe.radius(), globe.radius());
    creditoGlobo(p, size, QColor(0xA9, 0xBA, 0xC9));
    return image;
}


// The radii of the layers as fractions of the Earth's, from the depths of their boundaries.
constexpr double kRaggioTerra = 6371.0;
constexpr double kNucleoInterno = 1220.0 / kRaggioTerra;
constexpr double kNucleoEsterno = 3480.0 / kRaggioTerra;
// the upper mantle ends at about 700 km, as the lessons say (geophysics puts the step at 660 km)
constexpr double kFineMantelloSuperiore = 700.0;
constexpr double kMantelloInferiore = (kRaggioTerra - kFineMantelloSuperiore) / kRaggioTerra;

// The crust in the whole-Earth pictures, where it is one thin band.
QColor crostaTerra()
{
    return QColor(0x8E, 0x6E, 0x55);
}

Testo chiaro(double size = 19, int weight = QFont::Normal)
{
    Testo t;
    t.size = size;
    t.weight = weight;
    t.colour = QColor(0xF4, 0xEF, 0xE2);
    t.halo = false; // the dark ground is calm enough
    return t;
}

Testo scuro(double size = 19, int weight = QFont::Normal)
{
    Testo t;
    t.size = size;
    t.weight = weight;
    return t;
}

// An irregular rocky lump.
QPainterPath blocchetto(const QPointF &c, double r, Sequenza &s)
{
    QPainterPath path;
    const int n = 8;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * (i + s.between(-0.25, 0.25)) / n;
        const QPointF q = c + QPointF(std::cos(a), std::sin(a)) * r * s.between(0.72, 1.12);
        if (i == 0)
            path.moveTo(q);
        else
            path.lineTo(q);
    }
    path.closeSubpath();
    return path;
}

void roccia(QPainter &p, const QPainterPath &lump)
{
    p.setPen(style::pen(QColor(0x4E, 0x45, 0x3C), 1.4));
    QLinearGradient g(lump.boundingRect().topLeft(), lump.boundingRect().bottomRight());
    g.setColorAt(0, QColor(0xB3, 0xA0, 0x88));
    g.setColorAt(1, QColor(0x7C, 0x6B, 0x5A));
    p.setBrush(g);
    p.drawPath(lump);
}

// The glow round a hot ball: colore from `da` (a fraction of raggio) fading out to raggio.
void bagliore(QPainter &p, const QPointF &c, double raggio, double da, const QColor &colore)
{
    QRadialGradient glow(c, raggio);
    glow.setColorAt(da, colore);
    glow.setColorAt(1.0, style::withAlpha(colore, 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, raggio, raggio);
}

// A ball of molten rock glowing from inside.
void pallaFusa(QPainter &p, const QPointF &c, double r, Sequenza &s)
{
    bagliore(p, c, r * 1.35, 0.70, style::withAlpha(QColor(0xFF, 0xA0, 0x50), 0.45));
    QRadialGradient g(c + QPointF(-r * 0.3, -r * 0.3), r * 1.3);
    g.setColorAt(0, QColor(0xFF, 0xDA, 0x85));
    g.setColorAt(0.55, QColor(0xF0, 0x8A, 0x3A));
    g.setColorAt(1, QColor(0xB0, 0x3E, 0x2A));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    // a few dark rafts of cooling rock on the molten surface
    p.save();
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    p.setClipPath(disc);
    p.setBrush(QColor(0x5E, 0x3A, 0x2C, 200));
    p.setPen(style::pen(QColor(0xFF, 0xC0, 0x60, 160), 1.2));
    for (int i = 0; i < 6; ++i) {
        const double a = s.between(0, 2 * M_PI);
        const double d = s.between(0.2, 0.95) * r;
        p.drawPath(blocchetto(c + QPointF(std::cos(a), std::sin(a)) * d, s.between(0.12, 0.22) * r, s));
    }
    p.restore();
}

// The frame the formation pictures share, so that paging through them the Earth stays in place
// while its layers form.
QSize dimensioneOrigini()
{
    return pixelsForTwips(3000, 3780);
}
const QPointF kCentroOrigini(200, 184);
constexpr double kRaggioOrigini = 168;

// The molten mixture of the young Earth: dark red rock with lighter and darker swirls.
void miscelaFusa(QPainter &p, const QPointF &c, double r, quint32 seed)
{
    bagliore(p, c, r + 16, r / (r + 16), style::withAlpha(QColor(0xFF, 0x9A, 0x50), 0.5));
    QRadialGradient g(c, r);
    g.setColorAt(0, QColor(0xE2, 0x86, 0x52));
    g.setColorAt(0.7, QColor(0xCB, 0x66, 0x42));
    g.setColorAt(1, QColor(0xA8, 0x46, 0x30));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.save();
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    p.setClipPath(disc);
    Sequenza s(seed);
    for (int i = 0; i < 22; ++i) {
        const double a = s.between(0, 2 * M_PI);
        const double d = r * std::sqrt(s.next());
        p.save();
        p.translate(c + QPointF(std::cos(a), std::sin(a)) * d);
        p.rotate(qRadiansToDegrees(a) + 90);
        p.setBrush(i % 2 ? style::withAlpha(QColor(0xF4, 0xAE, 0x72), 0.22) : style::withAlpha(QColor(0x8A, 0x36, 0x24), 0.18));
        p.drawEllipse(QPointF(0, 0), s.between(16, 34), s.between(5, 9));
        p.restore();
    }
    p.restore();
}

void nucleo(QPainter &p, const QPointF &c, double r, bool interno)
{
    QRadialGradient g(c + QPointF(-r * 0.25, -r * 0.25), r * 1.2);
    g.setColorAt(0, nucleoInterno());
    g.setColorAt(interno ? 0.3 : 0.45, style::mix(nucleoInterno(), nucleoEsterno(), 0.5));
    g.setColorAt(1, nucleoEsterno());
    p.setPen(style::pen(QColor(0xB5, 0x86, 0x34), 1.8));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    if (interno) {
        p.setPen(style::pen(style::withAlpha(QColor(0xB5, 0x86, 0x34), 0.8), 1.4));
        p.setBrush(nucleoInterno());
        p.drawEllipse(c, r * kNucleoInterno / kNucleoEsterno, r * kNucleoInterno / kNucleoEsterno);
    }
}

// A colour chip and its words, for the small keys under the formation pictures.
void voce(QPainter &p, const QPointF &at, const QColor &colour, const QString &nome, const QString &testo)
{
    p.setPen(style::pen(style::withAlpha(Qt::white, 0.7), 1.2));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(at.x(), at.y() - 8, 24, 16), 3, 3);
    const QRectF n = scrivi(p, QPointF(at.x() + 34, at.y()), nome, Qt::AlignLeft | Qt::AlignVCenter, chiaro(18, QFont::Bold));
    scrivi(p, QPointF(n.right() + 7, at.y()), testo, Qt::AlignLeft | Qt::AlignVCenter, chiaro(18));
}

// The mantle: lighter silicate rocks settle round the core, 2900 km thick.
void mantello(QPainter &p, const QPointF &c, double rNucleo, double rEsterno)
{
    QRadialGradient g(c, rEsterno);
    g.setColorAt(rNucleo / rEsterno, mantelloInferiore());
    g.setColorAt(1.0, mantelloSuperiore());
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, rEsterno, rEsterno);
}

QImage orig3(PictureContext &)
{
    const QSize size = dimensioneOrigini();
    QImage image = newPicture(size, spazio());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    spazioStellato(p, QRectF(QPointF(0, 0), size), 90, 52);
    const QPointF c = kCentroOrigini;
    const double r = kRaggioOrigini;
    miscelaFusa(p, c, r, 9);
    // what is left above the mantle is still a lighter molten mixture
    p.setBrush(QColor(0xE4, 0xA8, 0x7A));
    p.drawEllipse(c, r - 1, r - 1);
    mantello(p, c, r * kNucleoEsterno, r - 13);
    nucleo(p, c, r * kNucleoEsterno, false);
    for (double deg = 30; deg < 360; deg += 60)
        freccia(p, suCerchio(c, r - 2, deg), suCerchio(c, r - 34, deg), style::withAlpha(QColor(0xFF, 0xF1, 0xD6), 0.85), 5, 12);

    Testo inNucleo = scuro(20, QFont::Bold);
    inNucleo.halo = false;
    inNucleo.colour = QColor(0x5A, 0x3A, 0x10);
    scrivi(p, c, QStringLiteral("NUCLEO"), Qt::AlignCenter, inNucleo);
    Testo inMantello = scuro(20, QFont::Bold);
    inMantello.halo = false;
    inMantello.colour = QColor(0x4A, 0x22, 0x12);
    scrivi(p, QPointF(c.x(), c.y() - r * (kNucleoEsterno + 1.0) / 2 + 4), QStringLiteral("MANTELLO"), Qt::AlignCenter, inMantello);

    // its thickness, along a radius
    const double deg = -38;
    QPainterPath spessore;
    spessore.moveTo(suCerchio(c, r * kNucleoEsterno + 2, deg));
    spessore.lineTo(suCerchio(c, r - 14, deg));
    frecciaLinea(p, spessore, QColor(0xFF, 0xF6, 0xE4), 2.0, 10, true);
    scrivi(p, suCerchio(c, r * (kNucleoEsterno + 1) / 2 - 4, deg) + QPointF(-6, 10), QStringLiteral("2900 km"),
           Qt::AlignRight | Qt::AlignTop, scuro(18, QFont::Bold));

    voce(p, QPointF(40, 400), nucleoEsterno(), QStringLiteral("NUCLEO:"), QStringLiteral("ferro e nickel"));
    voce(p, QPointF(40, 436), mantelloSuperiore(), QStringLiteral("MANTELLO:"), QStringLiteral("rocce di silicati,"));
    scrivi(p, QPointF(74, 448), QStringLiteral("composti di silicio e ossigeno"), Qt::AlignLeft | Qt::AlignTop, chiaro(18));
    return image;
}

// The lightest rocks float to the top and cool into a thin crust; gases and water vapour make the
// air and the oceans.
QImage orig4(PictureContext &)
{
    const QSize size = dimensioneOrigini();
    QImage image = newPicture(size, spazio());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    spazioStellato(p, QRectF(QPointF(0, 0), size), 90, 52);
    const QPointF c = kCentroOrigini;
    const double r = kRaggioOrigini;

    // the air
    QRadialGradient aria(c, r + 22);
    aria.setColorAt(r / (r + 22), style::withAlpha(QColor(0xA8, 0xD4, 0xF2), 0.6));
    aria.setColorAt(1.0, style::withAlpha(QColor(0xA8, 0xD4, 0xF2), 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(aria);
    p.drawEllipse(c, r + 22, r + 22);

    p.setBrush(crostaTerra());
    p.drawEllipse(c, r, r);
    mantello(p, c, r * kNucleoEsterno, r - 7);
    nucleo(p, c, r * kNucleoEsterno, false);
    // oceans over much of the crust
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x4F, 0x8D, 0xC0), 4.0, Qt::SolidLine, Qt::FlatCap));
    const QRectF mare(c.x() - r + 2, c.y() - r + 2, 2 * r - 4, 2 * r - 4);
    for (const QPointF &arc : {QPointF(-20, 62), QPointF(58, 58), QPointF(150, 52), QPointF(250, 55)})
        p.drawArc(mare, int(arc.x() * 16), int(arc.y() * 16));
    // volcanoes letting out their gases
    for (double deg : {49.0, 128.0, 206.0}) {
        const double a = qDegreesToRadians(deg);
        const QPointF u(std::cos(a), -std::sin(a));
        const QPointF n(-u.y(), u.x());
        const QPointF base = c + u * (r - 1);
        QPainterPath cono;
        cono.moveTo(base + n * 11);
        cono.lineTo(base + u * 11 + n * 2.5);
        cono.lineTo(base + u * 11 - n * 2.5);
        cono.lineTo(base - n * 11);
        cono.closeSubpath();
        p.setPen(style::pen(QColor(0x5A, 0x44, 0x36), 1.2));
        p.setBrush(crostaTerra());
        p.drawPath(cono);
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 3; ++k) {
            p.setBrush(style::withAlpha(QColor(0xEE, 0xEE, 0xEA), 0.55 - 0.12 * k));
            p.drawEllipse(base + u * (17 + 8 * k) + n * (k % 2 ? 3 : -2), 4 + 1.5 * k, 4 + 1.5 * k);
        }
    }

    Testo inNucleo = scuro(20, QFont::Bold);
    inNucleo.halo = false;
    inNucleo.colour = QColor(0x5A, 0x3A, 0x10);
    scrivi(p, c, QStringLiteral("NUCLEO"), Qt::AlignCenter, inNucleo);
    Testo inMantello = inNucleo;
    inMantello.colour = QColor(0x4A, 0x22, 0x12);
    scrivi(p, QPointF(c.x(), c.y() - r * (kNucleoEsterno + 1.0) / 2 + 4), QStringLiteral("MANTELLO"), Qt::AlignCenter, inMantello);

    const Testo t = chiaro(19, QFont::Bold);
    const QColor filo(0xF4, 0xEF, 0xE2);
    const QRectF crosta = scrivi(p, QPointF(12, 378), QStringLiteral("CROSTA"), Qt::AlignLeft | Qt::AlignTop, t);
    richiamo(p, QPointF(crosta.center().x(), crosta.top()), suCerchio(c, r - 2, 226), filo);
    const QRectF oceani = scrivi(p, QPointF(200, 378), QStringLiteral("oceani"), Qt::AlignHCenter | Qt::AlignTop, chiaro(19));
    richiamo(p, QPointF(oceani.center().x(), oceani.top()), suCerchio(c, r + 2, 262), filo);
    const QRectF aria2 = scrivi(p, QPointF(size.width() - 12, 378), QStringLiteral("atmosfera"), Qt::AlignRight | Qt::AlignTop, chiaro(19));
    richiamo(p, QPointF(aria2.center().x(), aria2.top()), suCerchio(c, r + 11, 308), filo);

    voce(p, QPointF(40, 432), crostaTerra(), QStringLiteral("CROSTA:"), QStringLiteral("rocce leggere,"));
    scrivi(p, QPointF(74, 444), QStringLiteral("come il basalto e il granito"), Qt::AlignLeft | Qt::AlignTop, chiaro(18));
    scrivi(p, QPointF(74, 468), QStringLiteral("(disegnata più spessa del vero)"), Qt::AlignLeft | Qt::AlignTop,
           [] {
               Testo t = chiaro(18);
               t.colour = QColor(0xC8, 0xCE, 0xD6);
               return t;
           }());
    return image;
}


// The layers of the Earth, drawn over a sector of the disc: crust (thicker than true, or it would
// not show), upper and lower mantle, outer and inner core. Radii are true to scale.
void stratiInSettore(QPainter &p, const QPointF &c, double r, double crosta, double start, double span)
{
    const struct {
        double from, to;
        QColor colour;
    } strati[] = {
        {r - crosta, r, crostaTerra()},
        {r * kMantelloInferiore, r - crosta, mantelloSuperiore()},
        {r * kNucleoEsterno, r * kMantelloInferiore, mantelloInferiore()},
        {r * kNucleoInterno, r * kNucleoEsterno, nucleoEsterno()},
        {0, r * kNucleoInterno, nucleoInterno()},
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor bordo = style::withAlpha(QColor(0x6A, 0x3A, 0x1E), 0.45);
    for (const auto &s : strati) {
        p.setPen(style::pen(bordo, 1.0));
        p.setBrush(s.colour);
        p.drawPath(settore(c, s.from, s.to, start, span));
    }
    p.restore();
}

// The cut-away Earth with its layers, and the radius from the surface to the centre laid out as a
// column with the depths of the boundaries.
QImage terra(PictureContext &ctx)
{
    const QSize size = pixelsForTwips(3000, 5550);
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    cielo(p, QRectF(QPointF(0, 0), size));

    const Globe globe(30, 18, QPointF(size.width() / 2.0, 204), 184);
    alone(p, globe.centre(), globe.radius(), 9, 0.35);
    p.drawImage(0, 0, globoNaturale(ctx, globe, size, 0.62));
    const QPointF c = globe.centre();
    const double r = globe.radius();
    // a quarter cut away: the two cut faces seen edge on, a soft shadow where they meet the surface
    p.setPen(Qt::NoPen);
    p.setBrush(style::withAlpha(QColor(0x20, 0x30, 0x40), 0.18));
    p.drawPath(settore(c + QPointF(-4, 4), 0, r, 0, 90));
    stratiInSettore(p, c, r, 4, 0, 90);
    p.setPen(style::pen(style::outline(), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawLine(c, c + QPointF(r, 0));
    p.drawLine(c, c + QPointF(0, -r));
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.5), 1.4));
    p.drawEllipse(c, r, r);
    // the radius the column lays out
    p.setPen(QPen(style::withAlpha(Qt::white, 0.95), 2.4, Qt::DashLine, Qt::FlatCap));
    p.drawLine(c + QPointF(2, -r + 2), c + QPointF(2, 0));
    creditoGlobo(p, QSize(size.width(), int(c.y() + r + 16)), style::credit());

    const double x0 = 86, x1 = 126;
    const double y0 = 470, y1 = 722;
    const auto y = [&](double km) { return y0 + (y1 - y0) * km / kRaggioTerra; };
    scrivi(p, QPointF(size.width() / 2.0, 402), QStringLiteral("Dalla superficie al centro"), Qt::AlignHCenter | Qt::AlignTop,
           scuro(20, QFont::Bold));
    const double crosta = 5; // drawn thicker than the true 5-70 km
    const struct {
        double top, bottom;
        QColor colour;
    } colonna[] = {
        {y0, y0 + crosta, crostaTerra()},
        {y0 + crosta, y(kFineMantelloSuperiore), mantelloSuperiore()},
        {y(kFineMantelloSuperiore), y(2900), mantelloInferiore()},
        {y(2900), y(5150), nucleoEsterno()},
        {y(5150), y1, nucleoInterno()},
    };
    for (const auto &t : colonna) {
        p.setPen(style::pen(style::withAlpha(QColor(0x6A, 0x3A, 0x1E), 0.45), 1.0));
        p.setBrush(t.colour);
        p.drawRect(QRectF(x0, t.top, x1 - x0, t.bottom - t.top));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::outline(), 1.6));
    p.drawRect(QRectF(x0, y0, x1 - x0, y1 - y0));

    Testo km = scuro(18);
    km.halo = false;
    km.colour = style::textSoft();
    const struct {
        double at;
        const char *text;
    } profondita[] = {{y0, "0 km"}, {y(kFineMantelloSuperiore), "700 km"}, {y(2900), "2900 km"}, {y(5150), "5150 km"}, {y1, "6370 km"}};
    for (const auto &d : profondita) {
        p.setPen(style::pen(style::textSoft(), 1.2));
        p.drawLine(QPointF(x0 - 6, d.at), QPointF(x0, d.at));
        scrivi(p, QPointF(x0 - 9, d.at), QString::fromUtf8(d.text), Qt::AlignRight | Qt::AlignVCenter, km);
    }

    const double xl = x1 + 16;
    const auto nome = [&](double at, double yTesto, const QString &testo, const QString &sotto) {
        p.setPen(style::pen(style::outline(), 1.2));
        p.drawLine(QPointF(x1, at), QPointF(xl - 4, yTesto));
        Testo t = scuro(18, QFont::Bold);
        t.halo = false;
        const QRectF box = scrivi(p, QPointF(xl, yTesto), testo, Qt::AlignLeft | Qt::AlignVCenter, t);
        if (!sotto.isEmpty()) {
            Testo u = scuro(18);
            u.halo = false;
            u.colour = style::textSoft();
            scrivi(p, QPointF(xl, box.bottom() - 2), sotto, Qt::AlignLeft | Qt::AlignTop, u);
        }
    };
    nome(y0 + 2, y0 - 12, QStringLiteral("CROSTA"), QString());
    const double larghezzaCrosta = misura(QStringLiteral("CROSTA"), Qt::AlignLeft, QPointF(), scuro(18, QFont::Bold)).width();
    nome((y0 + crosta + y(kFineMantelloSuperiore)) / 2, y(kFineMantelloSuperiore) + 4, QStringLiteral("MANTELLO SUPERIORE"), QString());
    nome((y(kFineMantelloSuperiore) + y(2900)) / 2, (y(kFineMantelloSuperiore) + y(2900)) / 2 + 6, QStringLiteral("MANTELLO INFERIORE"), QStringLiteral("rocce calde"));
    nome((y(2900) + y(5150)) / 2, (y(2900) + y(5150)) / 2 - 8, QStringLiteral("NUCLEO ESTERNO"), QStringLiteral("ferro e nickel liquidi"));
    nome((y(5150) + y1) / 2, (y(5150) + y1) / 2 - 8, QStringLiteral("NUCLEO INTERNO"), QStringLiteral("ferro e nickel solidi"));
    Testo u = scuro(18);
    u.halo = false;
    u.colour = style::textSoft();
    scrivi(p, QPointF(xl + larghezzaCrosta + 8, y0 - 11), QStringLiteral("5-70 km, solida"), Qt::AlignLeft | Qt::AlignVCenter, u);
    return image;
}


// Under the lithosphere: a section of the upper mantle from the surface to 700 km, depths to scale.
QImage mantsup(PictureContext &)
{
    const QSize size = pixelsForTwips(3000, 5550);
    const double w = size.width();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double mare = 66;                                   // sea level
    const auto y = [&](double km) { return mare + km * 0.87; }; // depth below sea level
    const double dorsale = 108, costa = 250;
    const double fondo = mare + 11;                           // the sea drawn deeper than true

    // the lithosphere thins to nothing under the ridge, where hot rock comes up
    QPainterPath baseLitosfera;
    baseLitosfera.moveTo(0, y(92));
    baseLitosfera.cubicTo(QPointF(dorsale - 70, y(88)), QPointF(dorsale - 20, y(40)), QPointF(dorsale, fondo + 6));
    baseLitosfera.cubicTo(QPointF(dorsale + 20, y(40)), QPointF(dorsale + 90, y(92)), QPointF(costa, y(100)));
    baseLitosfera.cubicTo(QPointF(costa + 60, y(104)), QPointF(w - 60, y(112)), QPointF(w, y(112)));

    // deep to shallow: lower mantle, upper mantle, asthenosphere, lithosphere
    p.fillRect(QRectF(0, y(kFineMantelloSuperiore), w, size.height() - y(kFineMantelloSuperiore)), mantelloInferiore());
    QLinearGradient profondo(0, y(240), 0, y(kFineMantelloSuperiore));
    profondo.setColorAt(0, sez::astenosfera());
    profondo.setColorAt(0.35, sez::astenosferaProfonda());
    profondo.setColorAt(1, style::mix(sez::astenosferaProfonda(), mantelloInferiore(), 0.55));
    p.fillRect(QRectF(0, y(100), w, y(kFineMantelloSuperiore) - y(100)), profondo);
    p.fillRect(QRectF(0, mare, w, y(240) - mare), [&] {
        QLinearGradient g(0, mare, 0, y(240));
        g.setColorAt(0, sez::astenosfera());
        g.setColorAt(0.8, sez::astenosfera());
        g.setColorAt(1, style::withAlpha(sez::astenosfera(), 0));
        return QBrush(g);
    }());
    QPainterPath litosfera = baseLitosfera;
    litosfera.lineTo(w, mare - 12);
    litosfera.lineTo(0, mare - 12);
    litosfera.closeSubpath();
    p.fillPath(litosfera, sez::litosfera());
    // magma rising into the crack
    QPainterPath risalita;
    risalita.moveTo(dorsale - 22, y(130));
    risalita.cubicTo(QPointF(dorsale - 8, y(70)), QPointF(dorsale - 3, y(20)), QPointF(dorsale - 1.5, fondo));
    risalita.lineTo(dorsale + 1.5, fondo);
    risalita.cubicTo(QPointF(dorsale + 3, y(20)), QPointF(dorsale + 8, y(70)), QPointF(dorsale + 22, y(130)));
    risalita.closeSubpath();
    QLinearGradient calore(0, fondo, 0, y(130));
    calore.setColorAt(0, style::withAlpha(sez::magma(), 0.95));
    calore.setColorAt(0.55, style::withAlpha(sez::magma(), 0.7));
    calore.setColorAt(1, style::withAlpha(sez::magma(), 0.0));
    p.fillPath(risalita, calore);

    // crusts: thin oceanic basalt, thick continental granite
    QPainterPath oceanica;
    oceanica.moveTo(0, fondo);
    oceanica.lineTo(dorsale - 6, fondo - 4);
    oceanica.lineTo(dorsale - 2, fondo);
    oceanica.lineTo(dorsale + 2, fondo);
    oceanica.lineTo(dorsale + 6, fondo - 4);
    oceanica.lineTo(costa - 30, fondo);
    oceanica.lineTo(costa, fondo + 2);
    oceanica.lineTo(costa, y(7) + 11);
    oceanica.lineTo(0, y(7) + 11);
    oceanica.closeSubpath();
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.55), 1.0));
    p.setBrush(sez::oceanica());
    p.drawPath(oceanica);
    QPainterPath continentale;
    continentale.moveTo(costa - 34, fondo);
    continentale.cubicTo(QPointF(costa - 10, fondo - 2), QPointF(costa - 6, mare), QPointF(costa + 4, mare - 4));
    continentale.cubicTo(QPointF(costa + 50, mare - 6), QPointF(costa + 90, mare - 10), QPointF(w, mare - 9));
    continentale.lineTo(w, y(38));
    continentale.cubicTo(QPointF(costa + 60, y(37)), QPointF(costa + 10, y(32)), QPointF(costa - 20, y(12)));
    continentale.closeSubpath();
    p.setBrush(sez::continentale());
    p.drawPath(continentale);
    // sea and land surface
    QPainterPath acquaMare;
    acquaMare.moveTo(0, mare);
    acquaMare.lineTo(costa + 2, mare);
    acquaMare.cubicTo(QPointF(costa - 8, fondo - 4), QPointF(costa - 14, fondo), QPointF(costa - 34, fondo));
    acquaMare.lineTo(dorsale + 6, fondo - 4);
    acquaMare.lineTo(dorsale, fondo);
    acquaMare.lineTo(dorsale - 6, fondo - 4);
    acquaMare.lineTo(0, fondo);
    acquaMare.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(sez::mare());
    p.drawPath(acquaMare);
    // the sky over sea and land
    QPainterPath sopra;
    sopra.moveTo(0, 0);
    sopra.lineTo(0, mare);
    sopra.lineTo(costa + 2, mare);
    sopra.cubicTo(QPointF(costa + 50, mare - 6), QPointF(costa + 90, mare - 10), QPointF(w, mare - 9));
    sopra.lineTo(w, 0);
    sopra.closeSubpath();
    p.save();
    p.setClipPath(sopra);
    cielo(p, QRectF(0, 0, w, mare));
    p.restore();
    p.setPen(style::pen(sez::verde(), 3));
    p.drawPath([&] {
        QPainterPath suolo;
        suolo.moveTo(costa + 2, mare - 4);
        suolo.cubicTo(QPointF(costa + 50, mare - 6), QPointF(costa + 90, mare - 10), QPointF(w, mare - 9));
        return suolo;
    }());

    // boundaries
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.7), 1.6));
    p.drawPath(baseLitosfera);
    p.setPen(QPen(style::withAlpha(style::outline(), 0.6), 1.4, Qt::DashLine));
    p.drawLine(QPointF(0, y(kFineMantelloSuperiore)), QPointF(w, y(kFineMantelloSuperiore)));

    // the asthenosphere flows slowly, carrying the plates apart from the ridge
    const QColor flusso = style::withAlpha(QColor(0x8A, 0x3A, 0x1E), 0.75);
    for (int side : {-1, 1}) {
        QPainterPath f;
        f.moveTo(dorsale + side * 6, y(215));
        f.cubicTo(QPointF(dorsale + side * 10, y(150)), QPointF(dorsale + side * 30, y(128)), QPointF(dorsale + side * (side < 0 ? 90 : 200), y(128)));
        frecciaLinea(p, f, flusso, 2.4, 12);
    }
    Testo placca = scuro(18, QFont::Bold);
    placca.halo = false;
    for (int side : {-1, 1}) {
        const double x0 = dorsale + side * 12, x1 = side < 0 ? 8 : dorsale + 150;
        freccia(p, QPointF(x0, 28), QPointF(x1, 28), style::withAlpha(Qt::white, 0.95), 22, 30);
        scrivi(p, QPointF((x0 + x1) / 2 - side * 8, 29), QStringLiteral("placca"), Qt::AlignCenter, placca);
    }

    // depths
    Testo km = scuro(18);
    km.colour = style::text();
    km.haloColour = style::withAlpha(style::paper(), 0.6);
    for (int d : {100, 200, 300, 400, 500, 600}) {
        p.setPen(style::pen(style::withAlpha(style::outline(), 0.8), 1.4));
        p.drawLine(QPointF(w - 8, y(d)), QPointF(w, y(d)));
        scrivi(p, QPointF(w - 12, y(d)), QStringLiteral("%1 km").arg(d), Qt::AlignRight | Qt::AlignVCenter, km);
    }
    scrivi(p, QPointF(w - 12, y(kFineMantelloSuperiore) + 2), QStringLiteral("700 km"), Qt::AlignRight | Qt::AlignTop, km);

    Testo nome = scuro(19, QFont::Bold);
    nome.halo = false;
    Testo sotto = scuro(18);
    sotto.halo = false;
    const auto strato = [&](double cx, double cy, const QString &n, const QString &t) {
        const QRectF b = scrivi(p, QPointF(cx, cy), n, Qt::AlignLeft | Qt::AlignTop, nome);
        if (!t.isEmpty())
            scrivi(p, QPointF(cx, b.bottom()), t, Qt::AlignLeft | Qt::AlignTop, sotto);
    };
    // names on the dark brown of the lithosphere stand on a pale patch
    const auto suPlacca = [](Testo t) {
        t.halo = true;
        t.haloColour = style::withAlpha(style::paper(), 0.72);
        return t;
    };
    {
        const QRectF b = scrivi(p, QPointF(146, y(48)), QStringLiteral("LITOSFERA"), Qt::AlignLeft | Qt::AlignTop, suPlacca(nome));
        scrivi(p, QPointF(146, b.bottom()), QStringLiteral("rigida, spessa\ncirca 100 km"), Qt::AlignLeft | Qt::AlignTop, suPlacca(sotto));
    }
    Testo crosta = scuro(18);
    crosta.halo = false;
    scrivi(p, QPointF(w - 8, y(18)), QStringLiteral("crosta continentale"), Qt::AlignRight | Qt::AlignVCenter, crosta);
    const QRectF oc = scrivi(p, QPointF(22, y(36)), QStringLiteral("crosta oceanica"), Qt::AlignLeft | Qt::AlignVCenter, suPlacca(crosta));
    richiamo(p, QPointF(oc.left() + 30, oc.top()), QPointF(oc.left() + 36, fondo + 4));
    strato(150, y(150), QStringLiteral("ASTENOSFERA"), QStringLiteral("rocce vicine\nalla fusione,\nsolide ma plastiche:\nscorrono lentamente"));
    strato(16, y(420), QStringLiteral("MANTELLO SUPERIORE"), QStringLiteral("rocce sempre più calde\ne compresse"));
    Testo inferiore = scuro(18, QFont::Bold);
    inferiore.halo = false;
    inferiore.colour = QColor(0xFB, 0xEE, 0xE0);
    scrivi(p, QPointF(16, (y(kFineMantelloSuperiore) + size.height()) / 2), QStringLiteral("MANTELLO INFERIORE"), Qt::AlignLeft | Qt::AlignVCenter, inferiore);
    return image;
}


// A closed loop of current: a rounded rectangle travelled so that it rises along `sale` (the x of the
// rising side) and sinks along the other side; the four branches coloured from hot to cold.
void cella(QPainter &p, const QRectF &box, bool saleADestra, double width)
{
    const double r = std::min(box.width(), box.height()) * 0.42;
    const QColor caldo(0xD2, 0x3C, 0x1E), tiepido(0xE8, 0x8A, 0x2E), freddo(0x3E, 0x6E, 0xA8), fresco(0x8E, 0x5A, 0x8C);
    const double l = box.left(), t = box.top(), rr = box.right(), b = box.bottom();
    const double gap = 10; // the branches stop short of one another so the heads show
    // rising side, top, sinking side, bottom
    const double xs = saleADestra ? rr : l, xd = saleADestra ? l : rr;
    const double dir = saleADestra ? -1 : 1; // from the rising side towards the sinking one
    QPainterPath su, alto, giu, basso;
    su.moveTo(xs, b - r + gap);
    su.lineTo(xs, t + r);
    su.quadTo(QPointF(xs, t), QPointF(xs + dir * r, t));
    alto.moveTo(xs + dir * (r + gap), t);
    alto.lineTo(xd - dir * r, t);
    alto.quadTo(QPointF(xd, t), QPointF(xd, t + r));
    giu.moveTo(xd, t + r + gap);
    giu.lineTo(xd, b - r);
    giu.quadTo(QPointF(xd, b), QPointF(xd - dir * r, b));
    basso.moveTo(xd - dir * (r + gap), b);
    basso.lineTo(xs + dir * r, b);
    basso.quadTo(QPointF(xs, b), QPointF(xs, b - r));
    frecciaLinea(p, su, caldo, width, width * 3.2);
    frecciaLinea(p, alto, tiepido, width, width * 3.2);
    frecciaLinea(p, giu, freddo, width, width * 3.2);
    frecciaLinea(p, basso, fresco, width, width * 3.2);
}

// Convection in the mantle, after the same thing in a pot of water on the fire.
QImage celleconv(PictureContext &)
{
    const QSize size = pixelsForTwips(3000, 5550);
    const double w = size.width(), h = size.height();
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    cielo(p, QRectF(0, 0, w, h));

    Testo titolo = scuro(18, QFont::Bold);
    titolo.halo = false;
    Testo t17 = scuro(18);
    t17.halo = false;

    // the pot
    scrivi(p, QPointF(w / 2, 10), QStringLiteral("L'acqua in una pentola sul fuoco"), Qt::AlignHCenter | Qt::AlignTop, titolo);
    const QRectF pentola(118, 56, 164, 116);
    p.setPen(Qt::NoPen);
    QLinearGradient caldaInBasso(0, pentola.top(), 0, pentola.bottom());
    caldaInBasso.setColorAt(0, QColor(0xB8, 0xD8, 0xEA));
    caldaInBasso.setColorAt(1, QColor(0xE9, 0xC3, 0xB0));
    p.setBrush(caldaInBasso);
    p.drawRect(pentola.adjusted(0, 10, 0, 0));
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(QColor(0x55, 0x60, 0x6C), 5));
    QPainterPath corpo;
    corpo.moveTo(pentola.topLeft());
    corpo.lineTo(pentola.bottomLeft());
    corpo.lineTo(pentola.bottomRight());
    corpo.lineTo(pentola.topRight());
    p.drawPath(corpo);
    p.drawLine(QPointF(pentola.left() - 16, pentola.top() + 14), QPointF(pentola.left(), pentola.top() + 14));
    p.drawLine(QPointF(pentola.right(), pentola.top() + 14), QPointF(pentola.right() + 16, pentola.top() + 14));
    // flames
    for (int i = 0; i < 5; ++i) {
        const double x = pentola.left() + 22 + i * 30;
        QPainterPath fiamma;
        fiamma.moveTo(x - 9, pentola.bottom() + 30);
        fiamma.cubicTo(QPointF(x - 10, pentola.bottom() + 16), QPointF(x - 2, pentola.bottom() + 14), QPointF(x, pentola.bottom() + 5));
        fiamma.cubicTo(QPointF(x + 2, pentola.bottom() + 14), QPointF(x + 10, pentola.bottom() + 16), QPointF(x + 9, pentola.bottom() + 30));
        fiamma.closeSubpath();
        QLinearGradient g(0, pentola.bottom() + 5, 0, pentola.bottom() + 30);
        g.setColorAt(0, QColor(0xF7, 0xA1, 0x2E));
        g.setColorAt(1, QColor(0x5B, 0x8F, 0xD6));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(fiamma);
    }
    cella(p, QRectF(pentola.left() + 14, pentola.top() + 24, pentola.width() / 2 - 22, pentola.height() - 36), true, 3);
    cella(p, QRectF(pentola.center().x() + 8, pentola.top() + 24, pentola.width() / 2 - 22, pentola.height() - 36), false, 3);
    scrivi(p, QPointF(8, pentola.top() + 30), QStringLiteral("in alto\nl'acqua si\nraffredda\ne scende"), Qt::AlignLeft | Qt::AlignTop, t17);
    scrivi(p, QPointF(w - 8, pentola.top() + 30), QStringLiteral("sul fondo\nl'acqua si\nscalda\ne sale"), Qt::AlignRight | Qt::AlignTop, t17);

    // the mantle
    const double top = 250;
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.35), 1.2));
    p.drawLine(QPointF(24, top - 24), QPointF(w - 24, top - 24));
    scrivi(p, QPointF(w / 2, top - 10), QStringLiteral("Il mantello: celle convettive"), Qt::AlignHCenter | Qt::AlignTop, titolo);

    const double mare = top + 70, lit = mare + 8, litBase = lit + 32;
    const double fondo = h - 40;
    const double dorsale = w / 2;
    QLinearGradient mantello(0, litBase, 0, fondo);
    mantello.setColorAt(0, sez::astenosfera());
    mantello.setColorAt(1, mantelloInferiore());
    p.fillRect(QRectF(0, mare, w, fondo - mare), mantello);
    QLinearGradient calore(0, fondo, 0, h);
    calore.setColorAt(0, mantelloInferiore());
    calore.setColorAt(1, QColor(0xE8, 0x6A, 0x2E));
    p.fillRect(QRectF(0, fondo, w, h - fondo), calore);

    // two plates drawn apart at the ridge, each sinking at its far end under a third plate
    const QColor bordo = style::withAlpha(style::outline(), 0.7);
    for (int side : {-1, 1}) {
        // x measured from the ridge outwards
        const auto X = [&](double d) { return dorsale + side * d; };
        QPainterPath placca;
        placca.moveTo(X(3), lit);
        placca.lineTo(X(128), lit);
        placca.cubicTo(QPointF(X(150), lit), QPointF(X(160), lit + 22), QPointF(X(166), lit + 60));
        placca.lineTo(X(176), lit + 160);
        placca.lineTo(X(146), lit + 160);
        placca.cubicTo(QPointF(X(140), lit + 80), QPointF(X(128), litBase + 4), QPointF(X(100), litBase));
        placca.lineTo(X(3), lit + 14);
        placca.closeSubpath();
        p.setPen(style::pen(bordo, 1.4));
        p.setBrush(sez::litosfera());
        p.drawPath(placca);
        QPainterPath sopra;
        sopra.moveTo(X(200), lit);
        sopra.lineTo(X(140), lit);
        sopra.cubicTo(QPointF(X(150), lit + 8), QPointF(X(156), lit + 20), QPointF(X(160), litBase));
        sopra.lineTo(X(200), litBase);
        sopra.closeSubpath();
        p.setBrush(style::mix(sez::litosfera(), sez::continentale(), 0.45));
        p.drawPath(sopra);
        QPainterPath giu;
        giu.moveTo(X(158), lit + 70);
        giu.lineTo(X(165), lit + 140);
        frecciaLinea(p, giu, QColor(0x4A, 0x40, 0x36), 2.2, 10);
    }
    QPainterPath risalita;
    risalita.moveTo(dorsale - 22, litBase + 10);
    risalita.lineTo(dorsale - 2, lit);
    risalita.lineTo(dorsale + 2, lit);
    risalita.lineTo(dorsale + 22, litBase + 10);
    risalita.closeSubpath();
    QLinearGradient magmaSale(0, lit, 0, litBase + 10);
    magmaSale.setColorAt(0, style::withAlpha(sez::magma(), 0.95));
    magmaSale.setColorAt(1, style::withAlpha(sez::magma(), 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(magmaSale);
    p.drawPath(risalita);
    p.fillRect(QRectF(0, mare, w, lit - mare), sez::mare());
    cielo(p, QRectF(0, top + 10, w, mare - top - 10));
    p.setPen(style::pen(style::withAlpha(style::outline(), 0.4), 1.0));
    p.drawLine(QPointF(0, mare), QPointF(w, mare));

    Testo nome = scuro(18, QFont::Bold);
    nome.halo = false;
    Testo placca = scuro(18, QFont::Bold);
    placca.halo = false;
    for (int side : {-1, 1}) {
        const double x0 = dorsale + side * 12, x1 = dorsale + side * 118;
        freccia(p, QPointF(x0, mare - 14), QPointF(x1, mare - 14), style::withAlpha(Qt::white, 0.95), 18, 26);
        scrivi(p, QPointF((x0 + x1) / 2 - side * 8, mare - 13), QStringLiteral("placca"), Qt::AlignCenter, placca);
        Testo inLitosfera = scuro(18, QFont::Bold);
        inLitosfera.haloColour = style::withAlpha(style::paper(), 0.72);
        inLitosfera.colour = QColor(0x3A, 0x30, 0x28);
        scrivi(p, QPointF(dorsale + side * 66, lit + 13), QStringLiteral("LITOSFERA"), Qt::AlignCenter, inLitosfera);
    }
    scrivi(p, QPointF(dorsale, mare - 28), QStringLiteral("dorsale"), Qt::AlignHCenter | Qt::AlignBottom, nome);
    scrivi(p, QPointF(8, mare - 28), QStringLiteral("fossa"), Qt::AlignLeft | Qt::AlignBottom, nome);
    scrivi(p, QPointF(w - 8, mare - 28), QStringLiteral("fossa"), Qt::AlignRight | Qt::AlignBottom, nome);

    const QRectF sinistra(dorsale - 126, litBase + 26, 114, fondo - litBase - 48);
    const QRectF destra(dorsale + 12, litBase + 26, 114, fondo - litBase - 48);
    cella(p, sinistra, true, 4.5);
    cella(p, destra, false, 4.5);
    scrivi(p, sinistra.center(), QStringLiteral("CELLA\nCONVETTIVA"), Qt::AlignCenter, nome);
    Testo ramo = scuro(18, QFont::Bold);
    ramo.halo = false;
    ramo.colour = QColor(0xA8, 0x2C, 0x14);
    scrivi(p, QPointF(destra.left() + 12, destra.center().y() - 60), QStringLiteral("calda:\nsale"), Qt::AlignLeft | Qt::AlignVCenter, ramo);
    ramo.colour = QColor(0x2E, 0x55, 0x88);
    scrivi(p, QPointF(destra.right() - 12, destra.center().y() + 60), QStringLiteral("fredda:\nscende"), Qt::AlignRight | Qt::AlignVCenter,
           ramo);
    Testo caldo = scuro(18, QFont::Bold);
    caldo.halo = false;
    caldo.colour = QColor(0xFF, 0xF4, 0xE4);
    scrivi(p, QPointF(w / 2, (fondo + h) / 2 + 2), QStringLiteral("calore dall'interno della Terra"), Qt::AlignCenter, caldo);
    return image;
}

// Cut in half through the centre: the cut-away of the hotspot page. The five hotspots stand over
// the solid core, the liquid core, the lower mantle, the upper mantle and the black line of the
// crust, so the drawing has no words of its own. Its centre and radius come from where the
// hotspots stand (page 16 puts the picture at 1080, 620 twips).
QImage terrauno(PictureContext &)
{
    const QSize size = pixelsForTwips(7260, 3690);
    QImage image = newPicture(size, style::paper());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    cielo(p, QRectF(QPointF(0, 0), size));

    const QPointF c(px(3780), px(3530));
    const double r = px(3460);
    // the upper mantle is drawn a little thicker than its 700 km, so its hotspot fits inside
    const double mantelloInf = r * 0.86;
    const double nucleoInt = r * 0.21;
    const double litosfera = 11;

    p.setPen(Qt::NoPen);
    p.setBrush(style::withAlpha(QColor(0x30, 0x40, 0x50), 0.12));
    p.drawEllipse(QPointF(c.x(), c.y() + 6), r * 0.98, 10);

    const struct {
        double from, to;
        QColor colour;
    } strati[] = {
        {r - litosfera, r, mantelloRigido()},
        {mantelloInf, r - litosfera, mantelloSuperiore()},
        {r * kNucleoEsterno, mantelloInf, mantelloInferiore()},
        {nucleoInt, r * kNucleoEsterno, nucleoEsterno()},
        {0, nucleoInt, nucleoInterno()},
    };
    for (const auto &s : strati) {
        p.setPen(style::pen(style::withAlpha(QColor(0x6A, 0x3A, 0x1E), 0.5), 1.4));
        p.setBrush(s.colour);
        p.drawPath(settore(c, s.from, s.to, 0, 180));
    }
    // the crust: the black line round the outside
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x1E, 0x1E, 0x22), 4.0, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(c.x() - r + 2, c.y() - r + 2, 2 * r - 4, 2 * r - 4), 0, 180 * 16);
    p.setPen(style::pen(style::outline(), 2.0));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    return image;
}

} // namespace

void addLezione1(QList<Picture> *pictures)
{
    pictures->append({QStringLiteral("altre/prima.jpg"), QStringLiteral("la Terra vista dallo spazio"), prima});
    pictures->append({QStringLiteral("origini/orig3.jpg"), QStringLiteral("intorno al nucleo si forma il mantello"), orig3});
    pictures->append({QStringLiteral("origini/orig4.jpg"), QStringLiteral("la crosta, l'atmosfera e gli oceani"), orig4});
    pictures->append({QStringLiteral("altre/terra.jpg"), QStringLiteral("spaccato della Terra con i suoi strati"), terra});
    pictures->append({QStringLiteral("altre/mantsup.jpg"), QStringLiteral("sezione del mantello superiore"), mantsup});
    pictures->append({QStringLiteral("altre/celleconv.jpg"), QStringLiteral("le celle convettive del mantello"), celleconv});
    pictures->append({QStringLiteral("altre/terrauno.jpg"), QStringLiteral("la Terra tagliata a metà, per le finestrelle"), terrauno});
}

} // namespace disegni
