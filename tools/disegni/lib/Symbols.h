#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>

namespace disegni::symbols {

// Measuring along a polyline in pixels.
double length(const QPolygonF &line);
// The point at a distance along the line, and the unit direction of the line there.
QPointF pointAt(const QPolygonF &line, double distance, QPointF *direction = nullptr);
// A unit normal on one side of a direction, in pixel coordinates (y down): "left" as seen by
// someone walking along the line on the map, so left of a line running east is north.
QPointF normal(const QPointF &direction, bool left);

// The teeth of a trench: triangles every `spacing` pixels along the line, on the side of the
// overriding plate, their bases on the line. The first sits half a spacing in.
QPainterPath teeth(const QPolygonF &line, double spacing, double size, bool left);
// Small open chevrons on one side of a line: thrusts of a collision belt.
QPainterPath chevrons(const QPolygonF &line, double spacing, double size, bool left);

// A filled arrow from `from` to `to`; its head is headLength long and headWidth wide.
QPainterPath arrow(const QPointF &from, const QPointF &to, double shaftWidth, double headLength, double headWidth);
// A filled arrow bent through `via` (a quadratic curve), for motions that turn.
QPainterPath curvedArrow(const QPointF &from, const QPointF &via, const QPointF &to, double shaftWidth,
                         double headLength, double headWidth);

} // namespace disegni::symbols
