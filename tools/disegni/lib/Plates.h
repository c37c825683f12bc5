#pragma once

#include "Geo.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

namespace disegni {

class GeoData;

// The fifteen plates a pupil learns. PB2002 has 52; the small ones are folded into the major
// plate they are usually counted with on school maps.
struct MajorPlate {
    QString key;          // PB2002 code of the plate that gives its name
    QString name;         // Italian, as in the lessons: "placca africana"
    QString label;        // short caption for a map: "AFRICANA"
    QStringList codes;    // every PB2002 plate folded into it, key first
    QPointF labelAt;      // lon/lat where a caption sits well
};

const QList<MajorPlate> &majorPlates();
// Key of the major plate a PB2002 code belongs to; empty for an unknown code.
QString majorPlateOf(const QString &code);

struct PlateBoundary {
    QString name;       // as in PB2002: "AF-AN", or "NZ\\SA" for subduction
    QString plateA;     // PB2002 codes
    QString plateB;
    bool subduction = false;
    Ring line;
};

// Plates and boundaries of PB2002 grouped by major plate.
class PlateModel
{
public:
    explicit PlateModel(GeoData &data);

    QList<GeoPolygon> polygonsOf(const QString &majorKey) const;
    const QList<PlateBoundary> &boundaries() const { return m_boundaries; }
    // Boundaries between two different major plates: the lines a school map shows.
    QList<Ring> majorBoundaryLines() const;
    QList<Ring> boundaryLines(bool subduction) const;

private:
    QList<QPair<QString, GeoPolygon>> m_polygons; // PB2002 code, outline
    QList<PlateBoundary> m_boundaries;
};

} // namespace disegni
