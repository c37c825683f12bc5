#pragma once

#include <QJsonObject>
#include <QList>
#include <QPointF>
#include <QString>

namespace disegni {

// A ring or a line of geographic points: x is longitude, y is latitude, in degrees.
using Ring = QList<QPointF>;

// First ring is the outer boundary, the others are holes.
struct GeoPolygon {
    QList<Ring> rings;
};

struct GeoFeature {
    QJsonObject properties;
    QList<GeoPolygon> polygons;
    QList<Ring> lines;
    QList<QPointF> points;

    QString text(const QString &key) const { return properties.value(key).toString(); }
};

// Both readers return an empty list and fill *error when the file cannot be used.
QList<GeoFeature> readGeoJson(const QString &path, QString *error = nullptr);
QList<GeoFeature> parseGeoJson(const QByteArray &json, QString *error = nullptr);

// Reads one named object of a TopoJSON topology (a GeometryCollection or a single geometry).
QList<GeoFeature> readTopoJson(const QString &path, const QString &object, QString *error = nullptr);
QList<GeoFeature> parseTopoJson(const QByteArray &json, const QString &object, QString *error = nullptr);

// All polygons of a set of features, flattened.
QList<GeoPolygon> allPolygons(const QList<GeoFeature> &features);

} // namespace disegni
