#pragma once

#include "Geo.h"

#include <QList>
#include <QString>

namespace disegni {

class GeoData;

// Bird's classes of the PB2002 boundary steps.
enum class StepClass {
    SpreadingRidge,        // OSR: oceanic spreading ridge
    ContinentalRift,       // CRB
    OceanicTransform,      // OTF
    ContinentalTransform,  // CTF
    Subduction,            // SUB
    OceanicConvergent,     // OCB: convergence without a trench
    ContinentalConvergent, // CCB: collision of continents
};

// The three margins a pupil learns, plus collisions, which are destructive without subduction.
enum class Margin { Constructive, Destructive, Collision, Conservative };
Margin marginOf(StepClass c);

// Consecutive PB2002 steps of one boundary and one class, joined into a line.
struct BoundaryPiece {
    QString name;          // as in PB2002: "AF-AN"; "NZ\\SA" and "TO/PA" for subduction
    QString left;          // PB2002 code of the plate on the left of the line as it runs
    QString right;
    StepClass stepClass = StepClass::SpreadingRidge;
    Ring line;
    double lengthKm = 0;
    double speedMmYear = 0; // mean relative speed of the two plates along the piece
    // Mean velocity of the left plate relative to the right one, mm a year, east and north.
    QPointF velocity;

    Margin margin() const { return marginOf(stepClass); }
    // For subduction: the plate that stays on top ('/' leaves it on the left, '\\' on the right).
    bool overridingOnLeft() const;
    QString overriding() const { return overridingOnLeft() ? left : right; }
};

// Reads PB2002_steps.csv; an empty list and *error when the file cannot be used.
QList<BoundaryPiece> readBoundarySteps(const QString &path, QString *error = nullptr);
// The pieces of the data folder, read once. Throws GeoDataError when the file is missing.
const QList<BoundaryPiece> &boundarySteps(GeoData &data);

// For small maps: transforms shorter than minTransformKm that join spreading pieces become part of
// the ridge (continental ones part of the rift), and neighbouring pieces of one class are joined,
// so that a ridge reads as one line instead of a zigzag of short offsets.
QList<BoundaryPiece> generalised(const QList<BoundaryPiece> &pieces, double minTransformKm);

} // namespace disegni
