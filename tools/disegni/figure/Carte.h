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
#include <QString>

#include <functional>

namespace disegni::carte {

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

} // namespace disegni::carte
