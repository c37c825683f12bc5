#pragma once

#include "Geo.h"
#include "Projection.h"

#include <QImage>
#include <QPainterPath>
#include <QRectF>

#include <functional>

namespace disegni {

// Preparing geographic rings for a flat map: longitudes made continuous across the date line,
// rings round a pole closed along the pole line. All results are in degrees, x relative to the
// central meridian.
namespace planar {

// Points closer than this to a pole are dropped: data sets close polar rings with explicit
// pole points at ±180°, which would otherwise draw a spike or a ring round the map.
inline constexpr double kPoleLatitude = 89.99;

// Longitudes relative to centralLon, without jumps larger than 180° between neighbours; the first
// point lies in [-180, 180).
Ring continuous(const Ring &points, double centralLon);

// A closed ring ready for the plane: pole points dropped, continuous, and, when it goes once round
// a pole, closed along that pole's line. Empty when fewer than three points remain.
Ring closedRing(const Ring &ring, double centralLon);

// Inserts points so that no step is longer than maxStep degrees in longitude or latitude.
Ring densified(const Ring &ring, double maxStep);

// Douglas-Peucker: drops points closer than tolerance degrees to the simplified line. For small
// pictures, where the zigzag of ridges and transforms would only thicken a line.
Ring simplified(const Ring &line, double tolerance);

// Shoelace area in square degrees, positive counter-clockwise (x east, y north).
double signedArea(const Ring &ring);

// Multiples of 360 by which the ring must be shifted to cover all of [-180, 180] it reaches.
QList<double> wrapOffsets(const Ring &ring);

// The coast or plate outlines of polygons as open lines: the cuts that only close a ring on a flat
// map (along the date line, or to a pole point) are left out.
QList<Ring> outlinePieces(const QList<GeoPolygon> &polygons);

// The rings of polygons ready to be filled as one winding path: closed for the plane, outer rings
// turned one way and holes the other (so that polygons sharing an edge fill without a seam),
// densified to maxStep. A ring that keep refuses is left out.
QList<Ring> areaRings(const QList<GeoPolygon> &polygons, double centralLon, double maxStep,
                      const std::function<bool(const Ring &)> &keep = {});

// Appends the points to path as one open subpath, each point made a pixel by toPixel.
template <typename ToPixel>
void addPoints(QPainterPath *path, const Ring &points, const ToPixel &toPixel)
{
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF px = toPixel(points.at(i));
        if (i == 0)
            path->moveTo(px);
        else
            path->lineTo(px);
    }
}

} // namespace planar

// Keeps only what of a layer lies inside outline, with a soft antialiased edge where a clip path
// would leave a jagged one.
void cutToPath(QImage *layer, const QPainterPath &outline);

// A world map fitted into a rectangle of a picture: turns geographic data into pixel paths.
// Paths may stick out beyond the map's outline (shifted copies across the date line); draw them
// on a layer and cut it with cutToOutline(), which keeps a soft antialiased edge where a clip path
// would leave a jagged one.
class MapCanvas
{
public:
    // Contain shows the whole world inside target; Cover fills target and lets the map's edges
    // (poles first) run past it.
    enum class Fit { Contain, Cover };

    MapCanvas(const Projection &projection, const QRectF &target, Fit fit = Fit::Contain);

    const Projection &projection() const { return m_projection; }
    QRectF mapRect() const;
    double pixelsPerRadian() const { return m_scale; }

    QPointF planeToPixel(const QPointF &plane) const;
    QPointF toPixel(double lon, double lat) const;

    QPainterPath outline() const;
    // Polygons as one path (winding fill): outer rings turn one way and holes the other, so
    // polygons sharing an edge fill without a seam.
    QPainterPath areas(const QList<GeoPolygon> &polygons) const;
    QPainterPath lines(const QList<Ring> &lines) const;
    // The rings of polygons as lines, for coasts: without the pole lines and the date-line cuts
    // that only close a ring on the flat map.
    QPainterPath edges(const QList<GeoPolygon> &polygons) const;
    QPainterPath graticule(double stepDegrees) const;

    void cutToOutline(QImage *layer) const;

    // Longest step, in degrees, between projected points; curved meridians need short steps.
    void setMaxStep(double degrees) { m_maxStep = degrees; }

private:
    void addRing(QPainterPath *path, const Ring &planarRing, double offset) const;

    Projection m_projection;
    QRectF m_target;
    QRectF m_bounds;
    double m_scale = 1;
    QPointF m_origin;
    double m_maxStep = 1.0;
};

} // namespace disegni
