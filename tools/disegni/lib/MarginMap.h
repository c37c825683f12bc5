#pragma once

#include "Boundaries.h"
#include "MapWindow.h"
#include "Plates.h"
#include "Style.h"

#include <QColor>
#include <QPainter>

#include <functional>

namespace disegni {

class GeoData;

// How plate margins are drawn on a map. Sizes are pixels of the drawn picture; a width of 0 leaves
// that kind of margin out.
struct MarginLook {
    QColor ridge = style::ridge();
    double ridgeWidth = 3.0;
    QColor trench = style::trench();
    double trenchWidth = 2.0;
    double teethSize = 8.0;       // triangles on the overriding plate
    double teethSpacing = 18.0;
    QColor collision = QColor(0x8A, 0x5A, 0x3A);
    double collisionWidth = 2.6;
    double chevronSize = 0;       // > 0: small chevrons on both sides of a collision belt
    QColor transform = style::transform();
    double transformWidth = 2.0;
    double minTransformKm = 0;    // shorter transforms between ridge pieces are drawn as ridge
    double simplifyDegrees = 0;   // Douglas-Peucker tolerance before drawing, 0: none
    QColor casing;                // a light line under every margin, to lift it off the ground
    double casingExtra = 0;       // how much wider than the margin the casing is
};

// Draws the PB2002 margins that reach the window: constructive as the ridge colour, destructive
// (subduction) as a line with teeth on the overriding plate, collisions and conservative margins
// in their own colours. `keep` chooses the pieces (all when empty).
void drawMargins(QPainter &painter, const MapWindow &map, const QList<BoundaryPiece> &pieces, const MarginLook &look,
                 const std::function<bool(const BoundaryPiece &)> &keep = {});

// The outlines of the PB2002 plates with these codes.
QList<GeoPolygon> platePolygons(GeoData &data, const QStringList &codes);
// Boundary lines between plates that a grouping puts in different groups (group: PB2002 code to
// the key of its group).
QList<Ring> boundariesBetween(const PlateModel &plates, const std::function<QString(const QString &)> &group);

} // namespace disegni
