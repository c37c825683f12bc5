#pragma once

#include "GeoData.h"
#include "MapCanvas.h"
#include "Plates.h"
#include "Style.h"

#include <QColor>
#include <QImage>

#include <functional>

namespace disegni {

// How a world map of the plates looks. Widths are in pixels of the drawn picture; a width of 0
// leaves that layer out.
struct PlateMapLook {
    std::function<QColor(const QString &majorKey)> plateColour = [](const QString &key) { return style::plate(key); };
    QColor sea;                       // under everything; transparent keeps the layer clear
    QColor seaTint;                   // laid over the plates where there is no land
    double seaTintOpacity = 0;
    QColor land;                      // laid over the plates where there is land
    double landOpacity = 0.35;
    QColor coast;
    double coastWidth = 0;
    QColor graticule;
    double graticuleWidth = 0;
    double graticuleStep = 30;
    QColor boundary;
    double boundaryWidth = 1.5;
    QColor border;                    // the map's own outline
    double borderWidth = 0;
    GeoData::Detail landDetail = GeoData::Detail::Coarse;
};

// A world map of the fifteen major plates on a transparent layer of the given size, cut to the
// map's outline. Plates, then land, graticule, boundaries and the border, in that order.
QImage drawPlateMap(const MapCanvas &canvas, const QSize &size, GeoData &data, const PlateModel &plates,
                    const PlateMapLook &look);

} // namespace disegni
