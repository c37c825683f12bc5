#include "MapCanvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace disegni {

namespace planar {

Ring continuous(const Ring &points, double centralLon)
{
    Ring out;
    out.reserve(points.size());
    double previous = 0;
    for (const QPointF &p : points) {
        double x = p.x() - centralLon;
        if (out.isEmpty()) {
            x = std::fmod(x + 180.0, 360.0);
            if (x < 0)
                x += 360.0;
            x -= 180.0;
        } else {
            x += 360.0 * std::round((previous - x) / 360.0);
        }
        out.append(QPointF(x, p.y()));
        previous = x;
    }
    return out;
}

Ring closedRing(const Ring &ring, double centralLon)
{
    Ring kept;
    kept.reserve(ring.size() + 2);
    for (const QPointF &p : ring) {
        if (std::abs(p.y()) < kPoleLatitude)
            kept.append(p);
    }
    if (kept.size() < 3)
        return {};
    if (kept.first() != kept.last())
        kept.append(kept.first());
    Ring out = continuous(kept, centralLon);
    const double turn = out.last().x() - out.first().x();
    if (std::abs(turn) > 180.0) {
        // Once round a pole: follow the pole line back to where the ring started.
        double sumLat = 0;
        for (const QPointF &p : out)
            sumLat += p.y();
        const double pole = sumLat < 0 ? -90.0 : 90.0;
        out.append(QPointF(out.last().x(), pole));
        out.append(QPointF(out.first().x(), pole));
        out.append(out.first());
    }
    return out;
}

Ring densified(const Ring &ring, double maxStep)
{
    if (ring.size() < 2 || maxStep <= 0)
        return ring;
    Ring out;
    out.reserve(ring.size());
    out.append(ring.first());
    for (qsizetype i = 1; i < ring.size(); ++i) {
        const QPointF a = ring.at(i - 1);
        const QPointF b = ring.at(i);
        const double span = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
        const int steps = static_cast<int>(std::ceil(span / maxStep));
        for (int s = 1; s < steps; ++s)
            out.append(a + (b - a) * (double(s) / steps));
        out.append(b);
    }
    return out;
}

Ring simplified(const Ring &line, double tolerance)
{
    if (line.size() < 3 || tolerance <= 0)
        return line;
    QList<bool> keep(line.size(), false);
    keep.first() = keep.last() = true;
    QList<QPair<qsizetype, qsizetype>> stack{{0, line.size() - 1}};
    while (!stack.isEmpty()) {
        const auto [a, b] = stack.takeLast();
        const QPointF pa = line.at(a);
        const QPointF d = line.at(b) - pa;
        const double length = std::hypot(d.x(), d.y());
        double worst = -1;
        qsizetype at = -1;
        for (qsizetype i = a + 1; i < b; ++i) {
            const QPointF v = line.at(i) - pa;
            const double dist = length > 0 ? std::abs(d.x() * v.y() - d.y() * v.x()) / length : std::hypot(v.x(), v.y());
            if (dist > worst) {
                worst = dist;
                at = i;
            }
        }
        if (at >= 0 && worst > tolerance) {
            keep[at] = true;
            stack.append({a, at});
            stack.append({at, b});
        }
    }
    Ring out;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (keep.at(i))
            out.append(line.at(i));
    }
    return out;
}

double signedArea(const Ring &ring)
{
    double sum = 0;
    for (qsizetype i = 0; i < ring.size(); ++i) {
        const QPointF a = ring.at(i);
        const QPointF b = ring.at((i + 1) % ring.size());
        sum += a.x() * b.y() - b.x() * a.y();
    }
    return sum / 2;
}

QList<double> wrapOffsets(const Ring &ring)
{
    if (ring.isEmpty())
        return {};
    double lo = ring.first().x();
    double hi = lo;
    for (const QPointF &p : ring) {
        lo = std::min(lo, p.x());
        hi = std::max(hi, p.x());
    }
    QList<double> out;
    for (int k = -2; k <= 2; ++k) {
        const double shift = 360.0 * k;
        if (hi + shift > -180.0 && lo + shift < 180.0)
            out.append(shift);
    }
    return out;
}

QList<Ring> areaRings(const QList<GeoPolygon> &polygons, double centralLon, double maxStep,
                      const std::function<bool(const Ring &)> &keep)
{
    QList<Ring> out;
    for (const GeoPolygon &polygon : polygons) {
        for (qsizetype r = 0; r < polygon.rings.size(); ++r) {
            Ring ring = closedRing(polygon.rings.at(r), centralLon);
            if (ring.isEmpty() || (keep && !keep(ring)))
                continue;
            const bool outer = r == 0;
            if ((signedArea(ring) > 0) != outer)
                std::reverse(ring.begin(), ring.end());
            out.append(densified(ring, maxStep));
        }
    }
    return out;
}

} // namespace planar

void cutToPath(QImage *layer, const QPainterPath &outline)
{
    QImage mask(layer->size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing);
        m.fillPath(outline, Qt::black);
    }
    QPainter p(layer);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, mask);
}

MapCanvas::MapCanvas(const Projection &projection, const QRectF &target, Fit fit)
    : m_projection(projection)
    , m_target(target)
    , m_bounds(projection.bounds())
{
    const double sx = target.width() / m_bounds.width();
    const double sy = target.height() / m_bounds.height();
    m_scale = fit == Fit::Contain ? std::min(sx, sy) : std::max(sx, sy);
    const QPointF centre = target.center();
    // plane y points north, pixels y points down
    m_origin = QPointF(centre.x() - m_bounds.center().x() * m_scale,
                       centre.y() + m_bounds.center().y() * m_scale);
}

QRectF MapCanvas::mapRect() const
{
    const QPointF tl = planeToPixel(QPointF(m_bounds.left(), m_bounds.bottom()));
    const QPointF br = planeToPixel(QPointF(m_bounds.right(), m_bounds.top()));
    return QRectF(tl, br).normalized();
}

QPointF MapCanvas::planeToPixel(const QPointF &plane) const
{
    return QPointF(m_origin.x() + plane.x() * m_scale, m_origin.y() - plane.y() * m_scale);
}

QPointF MapCanvas::toPixel(double lon, double lat) const
{
    return planeToPixel(m_projection.project(lon, lat));
}

QPainterPath MapCanvas::outline() const
{
    QPainterPath path;
    const QPainterPath plane = m_projection.outline();
    for (int i = 0; i < plane.elementCount(); ++i) {
        const QPointF p = planeToPixel(plane.elementAt(i));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void MapCanvas::addRing(QPainterPath *path, const Ring &ring, double offset) const
{
    planar::addPoints(path, ring, [&](const QPointF &p) { return planeToPixel(m_projection.forward(p.x() + offset, p.y())); });
}

QPainterPath MapCanvas::areas(const QList<GeoPolygon> &polygons) const
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const Ring &ring : planar::areaRings(polygons, m_projection.centralLongitude(), m_maxStep)) {
        for (double offset : planar::wrapOffsets(ring)) {
            addRing(&path, ring, offset);
            path.closeSubpath();
        }
    }
    return path;
}

QPainterPath MapCanvas::lines(const QList<Ring> &lines) const
{
    QPainterPath path;
    const double central = m_projection.centralLongitude();
    for (const Ring &line : lines) {
        if (line.size() < 2)
            continue;
        const Ring l = planar::densified(planar::continuous(line, central), m_maxStep);
        for (double offset : planar::wrapOffsets(l))
            addRing(&path, l, offset);
    }
    return path;
}

QList<Ring> planar::outlinePieces(const QList<GeoPolygon> &polygons)
{
    QList<Ring> pieces;
    const auto isCut = [](const QPointF &a, const QPointF &b) {
        // along the date line, or leaving a pole point
        return (std::abs(std::abs(a.x()) - 180.0) < 1e-6 && std::abs(std::abs(b.x()) - 180.0) < 1e-6)
            || std::abs(a.y()) >= planar::kPoleLatitude || std::abs(b.y()) >= planar::kPoleLatitude;
    };
    for (const GeoPolygon &polygon : polygons) {
        for (const Ring &ring : polygon.rings) {
            Ring piece;
            for (qsizetype i = 0; i < ring.size(); ++i) {
                if (i > 0 && isCut(ring.at(i - 1), ring.at(i))) {
                    if (piece.size() > 1)
                        pieces.append(piece);
                    piece.clear();
                }
                if (std::abs(ring.at(i).y()) < planar::kPoleLatitude)
                    piece.append(ring.at(i));
            }
            if (piece.size() > 1)
                pieces.append(piece);
        }
    }
    return pieces;
}

QPainterPath MapCanvas::edges(const QList<GeoPolygon> &polygons) const
{
    return lines(planar::outlinePieces(polygons));
}

QPainterPath MapCanvas::graticule(double step) const
{
    QList<Ring> lines;
    const double central = m_projection.centralLongitude();
    // Meridians on round longitudes, the border meridian left to the outline.
    for (double lon = std::ceil((central - 180.0) / step) * step; lon < central + 180.0; lon += step) {
        if (std::abs(lon - (central - 180.0)) < 1e-9)
            continue;
        lines.append(Ring{QPointF(lon, -90), QPointF(lon, 90)});
    }
    for (double lat = -90.0 + step; lat < 90.0 - 1e-9; lat += step) {
        Ring parallel;
        for (double lon = central - 180.0; lon < central + 180.0; lon += 10.0)
            parallel.append(QPointF(lon, lat));
        parallel.append(QPointF(central + 179.999, lat));
        lines.append(parallel);
    }
    return this->lines(lines);
}

void MapCanvas::cutToOutline(QImage *layer) const
{
    cutToPath(layer, outline());
}

} // namespace disegni
