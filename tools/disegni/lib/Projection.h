#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

namespace disegni {

// World projections for flat maps. All of them are (pseudo-)cylindrical: at a given latitude x grows
// linearly with longitude, so a ring unwrapped beyond ±180° can be projected as it is and cut at the
// map's outline afterwards. Plane units are radians of the unit sphere, y pointing north.
class Projection
{
public:
    enum class Kind {
        Equirectangular, // plate carrée; also the texture of a globe
        NaturalEarth,    // Šavrič, Jenny, Patterson 2011: the calm default for world maps
        Robinson,        // the 1974 table, interpolated
        Miller,          // cylindrical, about 4:3 for the whole world: fills a page-sized picture
        GallStereographic, // cylindrical, secant at 45°: the rectangular world map of many atlases
        Mercator,        // conformal, for regional maps; latitudes beyond ±85° are held at ±85°
    };

    explicit Projection(Kind kind = Kind::NaturalEarth, double centralLongitude = 0);

    Kind kind() const { return m_kind; }
    double centralLongitude() const { return m_central; }

    // lambda is the longitude east of the central meridian in degrees (any value, not wrapped).
    QPointF forward(double lambda, double phi) const;

    // A geographic point, wrapped to the nearest side of the central meridian.
    QPointF project(double lon, double lat) const;

    // Longitude relative to the central meridian, in [-180, 180).
    double relativeLongitude(double lon) const;

    // Outer border of the map (lambda = ±180 and the pole lines), in plane units.
    QPainterPath outline(int samples = 180) const;
    QRectF bounds() const;

private:
    Kind m_kind;
    double m_central;
};

} // namespace disegni
