#pragma once

#include "Geo.h"
#include "Projection.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <functional>

namespace disegni {

// A window of longitudes and latitudes. The longitudes may run past ±180° and the span may exceed
// 360°: a map wider than the world shows the strip beyond 360° again at the other edge.
struct GeoWindow {
    double lonMin = -180;
    double lonMax = 180;
    double latMin = -90;
    double latMax = 90;

    double centreLon() const { return (lonMin + lonMax) / 2; }
};

// A region of a map, or a world map wider than the world, drawn into a rectangle of a picture.
// The projection's central meridian is the window's centre. Paths stick out of the window where
// rings cross its edges: draw them with paintInside(), or on a layer cut with cutToOutline().
class MapWindow
{
public:
    // Keep: one scale on both axes, the window centred in the target. Stretch: the window fills
    // the target exactly, each axis with its own scale (a map whose frame is given by others).
    enum class Aspect { Keep, Stretch };

    MapWindow(Projection::Kind kind, const GeoWindow &window, const QRectF &target, Aspect aspect = Aspect::Keep);

    // Height in pixels that the window needs at this width with its true aspect.
    static double heightForWidth(Projection::Kind kind, const GeoWindow &window, double width);

    const GeoWindow &window() const { return m_window; }
    const Projection &projection() const { return m_projection; }
    QRectF mapRect() const;
    // Pixels per degree of longitude along the equator.
    double pixelsPerDegree() const;

    // The copy of a point nearest the window's centre.
    QPointF toPixel(double lon, double lat) const;
    QPointF toPixel(const QPointF &lonLat) const { return toPixel(lonLat.x(), lonLat.y()); }
    // Every copy of a point whose longitude lies inside the window.
    QList<QPointF> copies(double lon, double lat) const;
    // The geographic point under a pixel (longitude as in the window, possibly beyond ±180).
    QPointF toGeo(const QPointF &pixel) const;

    QPainterPath outline() const;
    // Polygons as one winding-filled path, every copy that reaches the window.
    QPainterPath areas(const QList<GeoPolygon> &polygons) const;
    QPainterPath lines(const QList<Ring> &lines) const;
    // The rings of polygons as lines, without the date-line and pole cuts (coasts).
    QPainterPath edges(const QList<GeoPolygon> &polygons) const;
    // Each copy of a line that reaches the window, as a pixel polyline: for symbols along it.
    QList<QPolygonF> polylines(const Ring &line) const;
    QPainterPath graticule(double stepDegrees) const;

    void cutToOutline(QImage *layer) const;
    // Runs draw on a transparent layer as large as the picture p paints on (antialiased), cuts the
    // layer to the outline and paints it over the picture: what draw puts beyond the window's
    // edges is cut off with the same soft edge as the map.
    void paintInside(QPainter &p, const std::function<void(QPainter &)> &draw) const;
    void setMaxStep(double degrees) { m_maxStep = degrees; }

private:
    QPointF planeToPixel(const QPointF &plane) const;
    QList<double> offsetsFor(const Ring &relative) const;
    bool reachesLatitudes(const Ring &ring) const;
    void addRelative(QPainterPath *path, const Ring &relative, double offset) const;

    Projection m_projection;
    GeoWindow m_window;
    double m_relMin;
    double m_relMax;
    QRectF m_plane;
    double m_sx = 1;
    double m_sy = 1;
    QPointF m_origin;
    double m_maxStep = 1.0;
};

} // namespace disegni
