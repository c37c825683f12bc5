#pragma once

#include "Geo.h"

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QVector3D>

#include <optional>

namespace disegni {

// An orthographic globe. Its surface is an equirectangular texture (a flat map drawn with
// Projection::Kind::Equirectangular over the whole image) wrapped onto the sphere pixel by pixel,
// which sidesteps clipping rings at the horizon and keeps every map layer usable on a globe.
class Globe
{
public:
    struct Light {
        QVector3D direction{-0.45f, 0.55f, 0.70f}; // towards the light; x right, y up, z to the viewer
        double ambient = 0.80;   // 1 = flat, no shading at all
        double highlight = 0.10; // strength of a soft sheen
        double rim = 0.10;       // darkening towards the edge
    };

    Globe(double centreLon, double centreLat, const QPointF &centrePx, double radiusPx);

    QPointF centre() const { return m_centre; }
    double radius() const { return m_radius; }

    // Pixel of a geographic point, none when it lies on the far side.
    std::optional<QPointF> toPixel(double lon, double lat) const;
    // Geographic point (lon, lat) under a pixel, none outside the disc.
    std::optional<QPointF> toGeo(const QPointF &pixel) const;

    // Lines over the visible side, ending cleanly at the horizon.
    QPainterPath lines(const QList<Ring> &lines, double maxStep = 1.0) const;
    // Meridians and parallels every stepDegrees.
    QPainterPath graticule(double stepDegrees) const;
    QPainterPath disc() const;

    // The globe on a transparent layer of the given size, antialiased by supersampling.
    QImage render(const QImage &texture, const QSize &layerSize, const Light &light, int supersample = 3) const;
    QImage render(const QImage &texture, const QSize &layerSize) const { return render(texture, layerSize, Light()); }

private:
    double visibility(const QPointF &geo) const; // cosine of the angle from the centre of view

    double m_lon0;
    double m_sinLat0;
    double m_cosLat0;
    QPointF m_centre;
    double m_radius;
};

} // namespace disegni
