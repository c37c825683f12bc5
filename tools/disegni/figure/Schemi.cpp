#include "Schemi.h"
#include "Labels.h"

#include "MapCanvas.h"
#include "Output.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>

namespace disegni::schema {

QColor mantelloRigido() { return QColor(0xA9, 0x9E, 0x8E); }
QColor mantelloSuperiore() { return QColor(0xE6, 0x9C, 0x66); }
QColor mantelloInferiore() { return QColor(0xD6, 0x80, 0x52); }
QColor nucleoEsterno() { return QColor(0xF0, 0xBC, 0x55); }
QColor nucleoInterno() { return QColor(0xFA, 0xE3, 0x9C); }
QColor terreno() { return QColor(0xB9, 0xCC, 0x8E); }
QColor spazio() { return QColor(0x13, 0x21, 0x36); }
QColor cieloAlto() { return QColor(0xD4, 0xE6, 0xF0); }
QColor cieloBasso() { return QColor(0xF6, 0xF3, 0xEA); }

void cielo(QPainter &p, const QRectF &area)
{
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, cieloAlto());
    g.setColorAt(1, cieloBasso());
    p.fillRect(area, g);
}

double Sequenza::next()
{
    // xorshift32: enough for scattering details, and the same on every machine
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return (m_state & 0xFFFFFF) / double(0x1000000);
}

void spazioStellato(QPainter &p, const QRectF &area, int stars, quint32 seed)
{
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, spazio());
    g.setColorAt(1, style::mix(spazio(), QColor(0x2A, 0x3E, 0x5C), 0.8));
    p.fillRect(area, g);
    Sequenza s(seed);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < stars; ++i) {
        const QPointF at(area.left() + s.next() * area.width(), area.top() + s.next() * area.height());
        const double size = 0.6 + 1.3 * std::pow(s.next(), 3);
        p.setBrush(style::withAlpha(QColor(0xF4, 0xF1, 0xE6), 0.25 + 0.5 * s.next()));
        p.drawEllipse(at, size, size);
    }
    p.restore();
}

namespace {

QRectF blocco(const QString &text, Qt::Alignment align, const QPointF &at, const QFontMetricsF &fm)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    double w = 0;
    for (const QString &l : lines)
        w = std::max(w, fm.horizontalAdvance(l));
    const double h = fm.height() * lines.size();
    double x = at.x();
    double y = at.y();
    if (align & Qt::AlignRight)
        x -= w;
    else if (align & Qt::AlignHCenter)
        x -= w / 2;
    if (align & Qt::AlignBottom)
        y -= h;
    else if (align & Qt::AlignVCenter)
        y -= h / 2;
    return QRectF(x, y, w, h);
}

} // namespace

QRectF misura(const QString &text, Qt::Alignment align, const QPointF &at, const Testo &look)
{
    return blocco(text, align, at, QFontMetricsF(style::font(look.size, look.weight)));
}

QRectF scrivi(QPainter &p, const QPointF &at, const QString &text, Qt::Alignment align, const Testo &look)
{
    const QFont font = style::font(look.size, look.weight);
    const QFontMetricsF fm(font);
    const QRectF box = blocco(text, align, at, fm);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (look.halo) {
        p.setPen(Qt::NoPen);
        p.setBrush(look.haloColour);
        const double m = look.size * 0.22;
        p.drawRoundedRect(box.adjusted(-m * 1.4, -m * 0.3, m * 1.4, m * 0.3), m * 1.5, m * 1.5);
    }
    p.setFont(font);
    p.setPen(look.colour);
    const Qt::Alignment h = align & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter);
    p.drawText(box, int(h ? h : Qt::AlignLeft) | Qt::AlignTop, text);
    p.restore();
    drawnTexts::note(p, text, box, look.size);
    return box;
}

void freccia(QPainter &p, const QPointF &a, const QPointF &b, const QColor &fill, double width, double head)
{
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    if (len < 1e-6)
        return;
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const double shaft = std::max(0.0, len - head);
    const QPointF neck = a + u * shaft;
    QPainterPath path;
    path.moveTo(a + n * width / 2);
    path.lineTo(neck + n * width / 2);
    path.lineTo(neck + n * head * 0.75);
    path.lineTo(b);
    path.lineTo(neck - n * head * 0.75);
    path.lineTo(neck - n * width / 2);
    path.lineTo(a - n * width / 2);
    path.closeSubpath();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(style::pen(style::mix(fill, style::outline(), 0.55), std::max(1.2, width * 0.12)));
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

namespace {

void punta(QPainter &p, const QPointF &tip, double angleDegrees, const QColor &colour, double head)
{
    // angleAtPercent counts counter-clockwise with y up; pixels have y down
    const double a = qDegreesToRadians(angleDegrees);
    const QPointF u(std::cos(a), -std::sin(a));
    const QPointF n(-u.y(), u.x());
    QPainterPath tri;
    tri.moveTo(tip + u * head * 0.35);
    tri.lineTo(tip - u * head * 0.85 + n * head * 0.55);
    tri.lineTo(tip - u * head * 0.6);
    tri.lineTo(tip - u * head * 0.85 - n * head * 0.55);
    tri.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(tri);
}

} // namespace

void frecciaLinea(QPainter &p, const QPainterPath &path, const QColor &colour, double width, double head, bool doppia)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // stop the line short of the tip, so that a round cap never pokes through the head
    const double len = path.length();
    const double cut = std::min(0.45, head * 0.55 / std::max(1.0, len));
    QPainterPath shaft;
    const double t0 = doppia ? path.percentAtLength(len * cut) : 0.0;
    const double t1 = path.percentAtLength(len * (1.0 - cut));
    const int steps = std::max(8, int(len / 3));
    for (int i = 0; i <= steps; ++i) {
        const QPointF q = path.pointAtPercent(t0 + (t1 - t0) * i / steps);
        if (i == 0)
            shaft.moveTo(q);
        else
            shaft.lineTo(q);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(style::pen(colour, width));
    p.drawPath(shaft);
    punta(p, path.pointAtPercent(1.0), path.angleAtPercent(1.0), colour, head);
    if (doppia)
        punta(p, path.pointAtPercent(0.0), path.angleAtPercent(0.0) + 180.0, colour, head);
    p.restore();
}

void richiamo(QPainter &p, const QPointF &daEtichetta, const QPointF &aOggetto, const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(style::pen(style::withAlpha(Qt::white, 0.7), 4.0));
    p.drawLine(daEtichetta, aOggetto);
    p.setPen(style::pen(colour, 1.8));
    p.drawLine(daEtichetta, aOggetto);
    p.setPen(style::pen(style::withAlpha(Qt::white, 0.85), 1.5));
    p.setBrush(colour);
    p.drawEllipse(aOggetto, 3.6, 3.6);
    p.restore();
}

QImage tessituraTerra(GeoData &data, const QSize &size, bool natural)
{
    QImage texture = newPicture(size, natural ? QColor(0x4F, 0x8D, 0xC0) : style::ocean());
    const MapCanvas flat(Projection(Projection::Kind::Equirectangular, 0), QRectF(QPointF(0, 0), size));
    const QPainterPath land = flat.areas(allPolygons(data.land()));
    QPainter p(&texture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient byLatitude(QPointF(0, 0), QPointF(0, size.height()));
    const auto at = [](double lat) { return (90.0 - lat) / 180.0; };
    if (natural) {
        const QColor ice(0xF2, 0xF5, 0xF7), boreal(0x8F, 0xA8, 0x7A), temperate(0x7E, 0xA8, 0x5E),
            dry(0xD2, 0xBC, 0x86), tropical(0x6B, 0x9E, 0x4E);
        byLatitude.setColorAt(at(90), ice);
        byLatitude.setColorAt(at(70), ice);
        byLatitude.setColorAt(at(62), boreal);
        byLatitude.setColorAt(at(48), temperate);
        byLatitude.setColorAt(at(33), dry);
        byLatitude.setColorAt(at(20), dry);
        byLatitude.setColorAt(at(8), tropical);
        byLatitude.setColorAt(at(-8), tropical);
        byLatitude.setColorAt(at(-22), dry);
        byLatitude.setColorAt(at(-30), dry);
        byLatitude.setColorAt(at(-42), temperate);
        byLatitude.setColorAt(at(-58), boreal);
        byLatitude.setColorAt(at(-63), ice);
        byLatitude.setColorAt(at(-90), ice);
    } else {
        byLatitude.setColorAt(at(90), style::ice());
        byLatitude.setColorAt(at(68), style::ice());
        byLatitude.setColorAt(at(60), style::land());
        byLatitude.setColorAt(at(-58), style::land());
        byLatitude.setColorAt(at(-63), style::ice());
        byLatitude.setColorAt(at(-90), style::ice());
    }
    p.fillPath(land, byLatitude);
    p.strokePath(flat.edges(allPolygons(data.land())),
                 style::pen(natural ? QColor(0x3E, 0x6E, 0x4A, 110) : style::withAlpha(style::outline(), 0.35), 1.6));
    return texture;
}

QPainterPath settore(const QPointF &centre, double r0, double r1, double startDegrees, double spanDegrees)
{
    QPainterPath path;
    const QRectF outer(centre.x() - r1, centre.y() - r1, 2 * r1, 2 * r1);
    path.arcMoveTo(outer, startDegrees);
    path.arcTo(outer, startDegrees, spanDegrees);
    if (r0 > 0) {
        const QRectF inner(centre.x() - r0, centre.y() - r0, 2 * r0, 2 * r0);
        path.arcTo(inner, startDegrees + spanDegrees, -spanDegrees);
    } else {
        path.lineTo(centre);
    }
    path.closeSubpath();
    return path;
}

QPointF suCerchio(const QPointF &centre, double radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return centre + QPointF(std::cos(a) * radius, -std::sin(a) * radius);
}

} // namespace disegni::schema
