#include "PlateMap.h"

#include "Output.h"
#include "Style.h"

#include <QPainter>

namespace disegni {

QImage drawPlateMap(const MapCanvas &canvas, const QSize &size, GeoData &data, const PlateModel &plates,
                    const PlateMapLook &look)
{
    QImage layer = newLayer(size);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);

    if (look.sea.isValid() && look.sea.alpha() > 0)
        p.fillPath(canvas.outline(), look.sea);

    QImage platesOnly = newLayer(size);
    {
        QPainter q(&platesOnly);
        q.setRenderHint(QPainter::Antialiasing);
        for (const MajorPlate &plate : majorPlates()) {
            const QPainterPath area = canvas.areas(plates.polygonsOf(plate.key));
            const QColor c = look.plateColour(plate.key);
            q.fillPath(area, c);
            // A hairline of the same colour closes the slivers antialiasing leaves between plates.
            q.strokePath(area, style::pen(c, 1.0));
        }
    }
    p.drawImage(0, 0, platesOnly);

    const bool seaTinted = look.seaTint.isValid() && look.seaTintOpacity > 0;
    const bool landShown = look.land.isValid() && (look.landOpacity > 0 || seaTinted);
    if (seaTinted) {
        p.save();
        p.setOpacity(look.seaTintOpacity);
        p.fillRect(QRect(QPoint(0, 0), size), look.seaTint);
        p.restore();
    }
    if (landShown || look.coastWidth > 0) {
        const QPainterPath land = canvas.areas(allPolygons(data.land(look.landDetail)));
        if (seaTinted) {
            // the tint belongs to the sea: give the land its plate colours back
            QPainter q(&platesOnly);
            q.setRenderHint(QPainter::Antialiasing);
            q.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            QImage mask = newLayer(size);
            {
                QPainter m(&mask);
                m.setRenderHint(QPainter::Antialiasing);
                m.fillPath(land, Qt::black);
            }
            q.drawImage(0, 0, mask);
            q.end();
            p.drawImage(0, 0, platesOnly);
        }
        if (look.landOpacity > 0) {
            p.save();
            p.setOpacity(look.landOpacity);
            p.fillPath(land, look.land);
            p.restore();
        }
        if (look.coastWidth > 0)
            p.strokePath(canvas.edges(allPolygons(data.land(look.landDetail))), style::pen(look.coast, look.coastWidth));
    }

    if (look.graticuleWidth > 0)
        p.strokePath(canvas.graticule(look.graticuleStep), style::pen(look.graticule, look.graticuleWidth));

    if (look.boundaryWidth > 0)
        p.strokePath(canvas.lines(plates.majorBoundaryLines()), style::pen(look.boundary, look.boundaryWidth));

    p.end();
    canvas.cutToOutline(&layer);

    if (look.borderWidth > 0) {
        QPainter b(&layer);
        b.setRenderHint(QPainter::Antialiasing);
        b.strokePath(canvas.outline(), style::pen(look.border, look.borderWidth));
    }
    return layer;
}

} // namespace disegni
