#pragma once

// What the maps of topics 3 and 5 share: the same smooth drawing, the plates in the pastel of their
// major plate, the boundaries between major plates only, lines cut to the map, and one thin frame
// round it.

#include "Boundaries.h"
#include "GeoData.h"
#include "MapWindow.h"
#include "MarginMap.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QString>

#include <functional>

namespace disegni::carte {

// The frame of topic 3's hotspot map (placuno.jpg): a Pacific-centred world in Gall's stereographic
// projection filling a picture of this design size. Its hotspots are measured on it.
inline constexpr GeoWindow kHotspotWorld{-30, 340, -72, 82};
inline constexpr int kHotspotWorldWidthTwips = 6840;
inline constexpr int kHotspotWorldHeightTwips = 4080;

// Lines, text and the layers painted over a map, all antialiased.
QPainter::RenderHints smooth();

// The pastel of the major plate a PB2002 plate is folded into.
QColor majorColour(const QString &code);

// A boundary between two of the fifteen major plates: the ones inside a major plate stay unseen.
bool betweenMajorPlates(const BoundaryPiece &b);

// The map's outline as a thin dark line.
void drawFrame(QPainter &p, const MapWindow &map);

// The margins of PB2002 on the map, cut to its outline; keep chooses the pieces (all when empty).
void drawMarginsOn(QPainter &p, const MapWindow &map, GeoData &data, const MarginLook &look,
                   const std::function<bool(const BoundaryPiece &)> &keep = {});

// Boundaries as plain lines (majorBoundaryLines(), boundariesBetween()), cut to the map's outline.
void drawBoundaries(QPainter &p, const MapWindow &map, const QList<Ring> &lines, const QPen &pen);

// The land west of the San Andreas fault sliding along it: the fault and the rift of the Gulf of
// California as one smooth line from the mouth of the gulf to Cape Mendocino, and each point of the
// Pacific side carried as far along that line as the plate moves, so that nothing crosses the fault
// where it bends. Distances in km on a plane tangent to California.
class FaultSlide
{
public:
    explicit FaultSlide(double km);
    QPointF moved(const QPointF &lonLat) const;
    QList<GeoPolygon> moved(const QList<GeoPolygon> &polygons, const QRectF &near) const;

private:
    QPointF toPlane(const QPointF &lonLat) const;
    QPointF toGeo(const QPointF &km) const;
    QPointF along(double s) const;

    QPolygonF m_line;
    QList<double> m_length;
    double m_km = 0;
};

} // namespace disegni::carte
