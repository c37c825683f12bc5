#pragma once

#include <QList>
#include <QPointF>
#include <QString>

namespace disegni {

class GeoData;

struct Earthquake {
    QPointF at;          // lon, lat
    double depthKm = 0;
    double magnitude = 0;
    int year = 0;
};

struct Volcano {
    QPointF at;          // lon, lat
    QString name;
    QString type;        // "Stratovolcano", "Submarine volcano", ...
    QString status;      // how its last eruption is dated: "Historical", "Radiocarbon", "Pleistocene", ...
    double elevation = 0;

    // What the course calls active: it erupted in the last ten thousand years, however the date is
    // known (records, radiocarbon, tree rings, ...). Doubtful ("Holocene?", "Uncertain") and older
    // ones (Pleistocene) are left out, and so are those whose status is missing.
    bool active() const;
};

// earthquakes.csv: a header naming at least year, latitude, longitude, depth and magnitude, in any
// order, then one quake a line (blank lines skipped). An empty list and *error when the file
// cannot be read, a column is missing, a line does not read as numbers or lies off the globe
// (longitudes up to ±360), or no quake is left.
QList<Earthquake> readEarthquakes(const QString &path, QString *error = nullptr);
// Both read once from the data folder; they throw GeoDataError when the file is missing.
const QList<Earthquake> &earthquakes(GeoData &data);
QList<Volcano> volcanoes(GeoData &data);

// A point turned about an axis through the Earth's centre (a pole of rotation), by angle degrees,
// counter-clockwise seen from above the pole: how a plate moves on the sphere.
QPointF rotatedAbout(const QPointF &lonLat, const QPointF &poleLonLat, double angleDegrees);
// The point reached by going distanceKm from a point along a great circle that starts towards
// azimuthDegrees (clockwise from north).
QPointF travelled(const QPointF &lonLat, double azimuthDegrees, double distanceKm);

} // namespace disegni
