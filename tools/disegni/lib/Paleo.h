#pragma once

#include "Geo.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

namespace disegni {

// Moving continents back in time with a plate rotation model (PALEOMAP's .rot file): finite
// rotations about Euler poles, interpolated between the ages the model gives and composed along
// the chain of plates each one is fixed to, down to plate 0 (the Earth's spin axis).
namespace paleo {

// A rotation of the sphere as a unit quaternion; points are unit vectors x towards (0°, 0°),
// y towards (90°E, 0°), z towards the north pole.
struct Quaternion {
    double w = 1, x = 0, y = 0, z = 0;

    static Quaternion identity() { return {}; }
    // angleDegrees about the axis through (poleLat, poleLon), counter-clockwise seen from above
    // the pole: a positive angle about the north pole moves points east.
    static Quaternion aboutPole(double poleLat, double poleLon, double angleDegrees);

    Quaternion conjugate() const { return {w, -x, -y, -z}; }
    // Angle of the rotation in degrees, 0...180.
    double angle() const;
};

// Applies b first, then a.
Quaternion operator*(const Quaternion &a, const Quaternion &b);
// Along the shorter arc from a (t = 0) to b (t = 1).
Quaternion slerp(const Quaternion &a, Quaternion b, double t);
// Angle in degrees of the rotation that takes a to b: how far apart two rotations are.
double angleBetween(const Quaternion &a, const Quaternion &b);

QPointF rotate(const Quaternion &q, const QPointF &lonLat);
Ring rotate(const Quaternion &q, const Ring &ring);
GeoPolygon rotate(const Quaternion &q, const GeoPolygon &polygon);

// Great-circle distance in degrees.
double distance(const QPointF &a, const QPointF &b);

// The finite rotations of one moving plate relative to one fixed plate, in increasing age.
struct RotationSequence {
    int fixedPlate = 0;
    QList<double> ages;
    QList<Quaternion> rotations;
};

class RotationModel
{
public:
    // Lines "moving age poleLat poleLon angle fixed ! comment"; moving plate 999 marks a comment
    // line. On a malformed line the model stays empty and *error names the line.
    static RotationModel parse(const QByteArray &text, QString *error = nullptr);
    static RotationModel read(const QString &path, QString *error = nullptr);

    bool isEmpty() const { return m_sequences.isEmpty(); }

    struct Relative {
        int fixedPlate = 0;
        Quaternion rotation;
    };
    // The plate's rotation relative to the plate it hangs on at that age, interpolated between the
    // two nearest ages; where two sequences meet (a plate changing the plate it is fixed to), the
    // first in the file wins. Nothing when no sequence of the plate covers the age.
    std::optional<Relative> relative(int plate, double age) const;

    // The rotation taking the plate's present-day coordinates to where it stood at that age,
    // relative to plate 0. Nothing when a link of the chain is missing or the chain loops.
    std::optional<Quaternion> absolute(int plate, double age) const;

    // The plates from this one down to 0, for checking a chain.
    QList<int> chain(int plate, double age) const;

private:
    QHash<int, QList<RotationSequence>> m_sequences; // by moving plate, in file order
};

// A coastline of the present day with its plate and life span, made ready to be rotated.
struct PaleoFeature {
    int plateId = 0;
    double begin = 0; // appears at this age (Ma)
    double end = 0;   // and lasts until this one; negative values reach into the future
    GeoPolygon area;  // rings on the sphere: no pole points, no seam along the date line
    QList<Ring> coasts; // the true coast only, without the cuts that close a ring on a flat map
    QPointF centre;   // present-day centre, for telling which continent it belongs to

    bool existsAt(double age) const { return begin >= age && age >= end; }
};

// A ring as the data store it on a flat map turned into a ring on the sphere: points at a pole
// dropped (they only close a ring round the pole along the map's edge) and the two ends of a cut
// along the date line (±180° at the same latitude, the same place on the sphere) merged.
Ring sphericalRing(const Ring &ring);
// The pieces of a ring that are real coast: cut where the ring runs along the date line or
// touches a pole.
QList<Ring> coastPieces(const Ring &ring);
// Centre of a ring on the sphere (mean of its unit vectors), right across the date line too.
QPointF sphericalCentre(const Ring &ring);

// Features with properties plateId, begin, end (paleomap_coastlines.json).
QList<PaleoFeature> paleoFeatures(const QList<GeoFeature> &features);

} // namespace paleo

} // namespace disegni
