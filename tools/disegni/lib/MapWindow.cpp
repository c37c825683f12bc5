#include "MapWindow.h"

#include "MapCanvas.h"
#include "Output.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace disegni {

namespace {

constexpr int kEdgeSamples = 90;

QRectF planeBounds(const Projection &projection, double relMin, double relMax, const GeoWindow &w)
{
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    const auto add = [&](const QPointF &p) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    };
    for (int i = 0; i <= kEdgeSamples; ++i) {
        const double lat = w.latMin + (w.latMax - w.latMin) * i / kEdgeSamples;
        const double lon = relMin + (relMax - relMin) * i / kEdgeSamples;
        add(projection.forward(relMin, lat));
        add(projection.forward(relMax, lat));
        add(projection.forward(lon, w.latMin));
        add(projection.forward(lon, w.latMax));
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

} // namespace

MapWindow::MapWindow(Projection::Kind kind, const GeoWindow &window, const QRectF &target, Aspect aspect)
    : m_projection(kind, window.centreLon())
    , m_window(window)
    , m_relMin(window.lonMin - window.centreLon())
    , m_relMax(window.lonMax - window.centreLon())
{
    m_plane = planeBounds(m_projection, m_relMin, m_relMax, m_window);
    m_sx = target.width() / m_plane.width();
    m_sy = target.height() / m_plane.height();
    if (aspect == Aspect::Keep)
        m_sx = m_sy = std::min(m_sx, m_sy);
    const QPointF centre = target.center();
    // plane y points north, pixels y points down
    m_origin = QPointF(centre.x() - m_plane.center().x() * m_sx, centre.y() + m_plane.center().y() * m_sy);
}

double MapWindow::heightForWidth(Projection::Kind kind, const GeoWindow &window, double width)
{
    const Projection projection(kind, window.centreLon());
    const double half = (window.lonMax - window.lonMin) / 2;
    const QRectF plane = planeBounds(projection, -half, half, window);
    return width * plane.height() / plane.width();
}

QRectF MapWindow::mapRect() const
{
    return QRectF(planeToPixel(QPointF(m_plane.left(), m_plane.bottom())),
                  planeToPixel(QPointF(m_plane.right(), m_plane.top())))
        .normalized();
}

double MapWindow::pixelsPerDegree() const
{
    return (m_projection.forward(1, 0).x() - m_projection.forward(0, 0).x()) * m_sx;
}

QPointF MapWindow::planeToPixel(const QPointF &plane) const
{
    return QPointF(m_origin.x() + plane.x() * m_sx, m_origin.y() - plane.y() * m_sy);
}

QPointF MapWindow::toPixel(double lon, double lat) const
{
    return planeToPixel(m_projection.project(lon, lat));
}

QList<QPointF> MapWindow::copies(double lon, double lat) const
{
    QList<QPointF> out;
    const double rel = m_projection.relativeLongitude(lon);
    for (int k = -2; k <= 2; ++k) {
        const double l = rel + 360.0 * k;
        if (l >= m_relMin - 1e-9 && l <= m_relMax + 1e-9)
            out.append(planeToPixel(m_projection.forward(l, lat)));
    }
    return out;
}

QPointF MapWindow::toGeo(const QPointF &pixel) const
{
    const double planeY = (m_origin.y() - pixel.y()) / m_sy;
    const double planeX = (pixel.x() - m_origin.x()) / m_sx;
    // every projection here grows with latitude on the central meridian
    double lo = -90, hi = 90;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (m_projection.forward(0, mid).y() < planeY ? lo : hi) = mid;
    }
    const double lat = (lo + hi) / 2;
    // and, at a given latitude, x grows linearly with longitude
    const double perDegree = m_projection.forward(1, lat).x() - m_projection.forward(0, lat).x();
    return QPointF(m_projection.centralLongitude() + planeX / perDegree, lat);
}

QPainterPath MapWindow::outline() const
{
    QPainterPath path;
    const auto at = [this](double rel, double lat) { return planeToPixel(m_projection.forward(rel, lat)); };
    path.moveTo(at(m_relMin, m_window.latMin));
    for (int i = 1; i <= kEdgeSamples; ++i)
        path.lineTo(at(m_relMin, m_window.latMin + (m_window.latMax - m_window.latMin) * i / kEdgeSamples));
    for (int i = 1; i <= kEdgeSamples; ++i)
        path.lineTo(at(m_relMin + (m_relMax - m_relMin) * i / kEdgeSamples, m_window.latMax));
    for (int i = kEdgeSamples - 1; i >= 0; --i)
        path.lineTo(at(m_relMax, m_window.latMin + (m_window.latMax - m_window.latMin) * i / kEdgeSamples));
    for (int i = kEdgeSamples - 1; i > 0; --i)
        path.lineTo(at(m_relMin + (m_relMax - m_relMin) * i / kEdgeSamples, m_window.latMin));
    path.closeSubpath();
    return path;
}

QList<double> MapWindow::offsetsFor(const Ring &relative) const
{
    QList<double> out;
    if (relative.isEmpty())
        return out;
    double lo = relative.first().x();
    double hi = lo;
    for (const QPointF &p : relative) {
        lo = std::min(lo, p.x());
        hi = std::max(hi, p.x());
    }
    // a little margin, so that thick strokes at the edge are not cut short
    const double margin = 2.0;
    for (int k = -3; k <= 3; ++k) {
        const double shift = 360.0 * k;
        if (hi + shift >= m_relMin - margin && lo + shift <= m_relMax + margin)
            out.append(shift);
    }
    return out;
}

bool MapWindow::reachesLatitudes(const Ring &ring) const
{
    double lo = 90, hi = -90;
    for (const QPointF &p : ring) {
        lo = std::min(lo, p.y());
        hi = std::max(hi, p.y());
    }
    const double margin = 2.0;
    return hi >= m_window.latMin - margin && lo <= m_window.latMax + margin;
}

void MapWindow::addRelative(QPainterPath *path, const Ring &relative, double offset) const
{
    planar::addPoints(path, relative, [&](const QPointF &p) { return planeToPixel(m_projection.forward(p.x() + offset, p.y())); });
}

QPainterPath MapWindow::areas(const QList<GeoPolygon> &polygons) const
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const auto reaches = [this](const Ring &ring) { return reachesLatitudes(ring); };
    for (const Ring &ring : planar::areaRings(polygons, m_projection.centralLongitude(), m_maxStep, reaches)) {
        for (double offset : offsetsFor(ring)) {
            addRelative(&path, ring, offset);
            path.closeSubpath();
        }
    }
    return path;
}

QPainterPath MapWindow::lines(const QList<Ring> &lines) const
{
    QPainterPath path;
    for (const Ring &line : lines) {
        for (const QPolygonF &copy : polylines(line)) {
            path.moveTo(copy.first());
            for (qsizetype i = 1; i < copy.size(); ++i)
                path.lineTo(copy.at(i));
        }
    }
    return path;
}

QList<QPolygonF> MapWindow::polylines(const Ring &line) const
{
    QList<QPolygonF> out;
    if (line.size() < 2 || !reachesLatitudes(line))
        return out;
    const Ring l = planar::densified(planar::continuous(line, m_projection.centralLongitude()), m_maxStep);
    for (double offset : offsetsFor(l)) {
        QPolygonF poly;
        poly.reserve(l.size());
        for (const QPointF &p : l)
            poly.append(planeToPixel(m_projection.forward(p.x() + offset, p.y())));
        out.append(poly);
    }
    return out;
}

QPainterPath MapWindow::edges(const QList<GeoPolygon> &polygons) const
{
    return lines(planar::outlinePieces(polygons));
}

QPainterPath MapWindow::graticule(double step) const
{
    QPainterPath path;
    const double central = m_projection.centralLongitude();
    for (double lon = std::ceil(m_window.lonMin / step) * step; lon <= m_window.lonMax + 1e-9; lon += step) {
        Ring meridian;
        for (int i = 0; i <= kEdgeSamples; ++i)
            meridian.append(QPointF(lon - central, m_window.latMin + (m_window.latMax - m_window.latMin) * i / kEdgeSamples));
        addRelative(&path, meridian, 0);
    }
    for (double lat = std::ceil(m_window.latMin / step) * step; lat <= m_window.latMax + 1e-9; lat += step) {
        Ring parallel;
        for (int i = 0; i <= kEdgeSamples; ++i)
            parallel.append(QPointF(m_relMin + (m_relMax - m_relMin) * i / kEdgeSamples, lat));
        addRelative(&path, parallel, 0);
    }
    return path;
}

void MapWindow::cutToOutline(QImage *layer) const
{
    cutToPath(layer, outline());
}

void MapWindow::paintInside(QPainter &p, const std::function<void(QPainter &)> &draw) const
{
    QImage layer = newLayer(QSize(p.device()->width(), p.device()->height()));
    {
        QPainter l(&layer);
        l.setRenderHint(QPainter::Antialiasing);
        draw(l);
    }
    cutToOutline(&layer);
    p.drawImage(0, 0, layer);
}

} // namespace disegni
