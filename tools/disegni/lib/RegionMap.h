#pragma once

#include "GeoData.h"
#include "MapWindow.h"
#include "Style.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <functional>

namespace disegni {

// The ground of a map drawn through a MapWindow: sea, plates, land, borders, coasts and graticule.
// Widths are pixels of the drawn picture; 0 leaves a layer out.
struct RegionLook {
    QColor sea = style::ocean();
    // Colour of a PB2002 plate by its code; invalid colour or no function: no plates.
    std::function<QColor(const QString &code)> plateColour;
    QColor seaTint;                 // laid over the plates where there is sea
    double seaTintOpacity = 0;
    QColor land = style::land();
    double landOpacity = 1.0;       // over the plates, or over the sea when there are none
    QColor borders;                 // national borders
    double bordersWidth = 0;
    QColor coast = style::withAlpha(style::outline(), 0.45);
    double coastWidth = 1.2;
    QColor graticule = style::withAlpha(Qt::white, 0.5);
    double graticuleWidth = 0;
    double graticuleStep = 30;
    GeoData::Detail detail = GeoData::Detail::Coarse;
};

// The ground on a transparent layer of the given size, cut to the window's outline.
QImage drawRegionMap(const MapWindow &map, const QSize &size, GeoData &data, const RegionLook &look);

} // namespace disegni
