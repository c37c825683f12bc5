#include "Carte.h"

#include "Plates.h"
#include "Style.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace disegni::carte {

QPainter::RenderHints smooth()
{
    return QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform;
}

QColor majorColour(const QString &code)
{
    return style::plate(majorPlateOf(code));
}

bool betweenMajorPlates(const BoundaryPiece &b)
{
    return majorPlateOf(b.left) != majorPlateOf(b.right);
}

void drawFrame(QPainter &p, const MapWindow &map)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(map.outline(), style::pen(style::withAlpha(style::outline(), 0.55), 1.5));
    p.restore();
}

void drawMarginsOn(QPainter &p, const MapWindow &map, GeoData &data, const MarginLook &look,
                   const std::function<bool(const BoundaryPiece &)> &keep)
{
    map.paintInside(p, [&](QPainter &l) { drawMargins(l, map, boundarySteps(data), look, keep); });
}

void drawBoundaries(QPainter &p, const MapWindow &map, const QList<Ring> &lines, const QPen &pen)
{
    map.paintInside(p, [&](QPainter &l) { l.strokePath(map.lines(lines), pen); });
}

namespace {

constexpr double kKmPerDegree = 111.2;
constexpr double kOriginLon = -118;
constexpr double kOriginLat = 33;

} // namespace

FaultSlide::FaultSlide(double km)
    : m_km(km)
{
    // the axis of the gulf and the San Andreas fault, south to north
    const Ring trace{{-108.0, 21.5}, {-110.5, 25.0}, {-112.8, 28.3}, {-114.5, 31.0}, {-115.6, 33.0},
                     {-116.6, 33.9}, {-117.5, 34.3}, {-118.8, 34.8}, {-120.3, 35.8}, {-121.5, 36.9},
                     {-122.6, 37.8}, {-123.7, 39.0}, {-124.4, 40.3}};
    QPolygonF line;
    for (const QPointF &pt : trace)
        line.append(toPlane(pt));
    // rounded corners, so that the points near a bend slide smoothly round it
    for (int pass = 0; pass < 3; ++pass) {
        QPolygonF round{line.first()};
        for (qsizetype i = 0; i + 1 < line.size(); ++i) {
            round.append(line.at(i) * 0.75 + line.at(i + 1) * 0.25);
            round.append(line.at(i) * 0.25 + line.at(i + 1) * 0.75);
        }
        round.append(line.last());
        line = round;
    }
    m_line = line;
    m_length.append(0);
    for (qsizetype i = 1; i < m_line.size(); ++i) {
        const QPointF d = m_line.at(i) - m_line.at(i - 1);
        m_length.append(m_length.last() + std::hypot(d.x(), d.y()));
    }
}

QPointF FaultSlide::toPlane(const QPointF &lonLat) const
{
    return QPointF((lonLat.x() - kOriginLon) * kKmPerDegree * std::cos(qDegreesToRadians(kOriginLat)),
                   (lonLat.y() - kOriginLat) * kKmPerDegree);
}

QPointF FaultSlide::toGeo(const QPointF &km) const
{
    return QPointF(kOriginLon + km.x() / (kKmPerDegree * std::cos(qDegreesToRadians(kOriginLat))),
                   kOriginLat + km.y() / kKmPerDegree);
}

QPointF FaultSlide::along(double s) const
{
    // beyond the ends the line goes straight on
    qsizetype i = 1;
    while (i + 1 < m_line.size() && m_length.at(i) < s)
        ++i;
    const QPointF a = m_line.at(i - 1), b = m_line.at(i);
    const double t = (s - m_length.at(i - 1)) / std::max(1e-9, m_length.at(i) - m_length.at(i - 1));
    return a + (b - a) * t;
}

QPointF FaultSlide::moved(const QPointF &lonLat) const
{
    const QPointF p = toPlane(lonLat);
    double best = std::numeric_limits<double>::max();
    double s = 0;
    for (qsizetype i = 1; i < m_line.size(); ++i) {
        const QPointF a = m_line.at(i - 1), d = m_line.at(i) - a;
        const double len2 = QPointF::dotProduct(d, d);
        const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0.0;
        const QPointF foot = a + d * t;
        const double dist = std::hypot(p.x() - foot.x(), p.y() - foot.y());
        if (dist < best) {
            best = dist;
            s = m_length.at(i - 1) + t * std::sqrt(len2);
        }
    }
    return toGeo(p + along(s + m_km) - along(s));
}

QList<GeoPolygon> FaultSlide::moved(const QList<GeoPolygon> &polygons, const QRectF &near) const
{
    QList<GeoPolygon> out;
    for (const GeoPolygon &g : polygons) {
        QRectF box;
        for (const Ring &r : g.rings)
            box = box.united(QPolygonF(r).boundingRect());
        if (!box.intersects(near))
            continue;
        GeoPolygon m;
        for (const Ring &r : g.rings) {
            Ring mr;
            for (const QPointF &pt : r)
                mr.append(moved(pt));
            m.rings.append(mr);
        }
        out.append(m);
    }
    return out;
}

} // namespace disegni::carte
