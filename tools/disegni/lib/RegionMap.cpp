#include "RegionMap.h"

#include "Output.h"

#include <QPainter>

namespace disegni {

QImage drawRegionMap(const MapWindow &map, const QSize &size, GeoData &data, const RegionLook &look)
{
    QImage layer = newLayer(size);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(QPoint(0, 0), size), look.sea);

    const QList<GeoPolygon> land = allPolygons(data.land(look.detail));
    const QPainterPath landPath = map.areas(land);
    if (look.plateColour) {
        QImage plates = newLayer(size);
        {
            QPainter q(&plates);
            q.setRenderHint(QPainter::Antialiasing);
            for (const GeoFeature &f : data.plates()) {
                const QColor c = look.plateColour(f.text(QStringLiteral("Code")));
                if (!c.isValid())
                    continue;
                const QPainterPath area = map.areas(f.polygons);
                q.fillPath(area, c);
                // closes the hairline gaps antialiasing leaves between neighbours
                q.strokePath(area, style::pen(c, 1.0));
            }
        }
        p.drawImage(0, 0, plates);
        if (look.seaTint.isValid() && look.seaTintOpacity > 0) {
            // tint the sea only: the land keeps the plate colours
            QImage tint = newLayer(size);
            {
                QPainter t(&tint);
                t.setRenderHint(QPainter::Antialiasing);
                t.fillRect(tint.rect(), look.seaTint);
                t.setCompositionMode(QPainter::CompositionMode_DestinationOut);
                t.fillPath(landPath, Qt::black);
            }
            p.save();
            p.setOpacity(look.seaTintOpacity);
            p.drawImage(0, 0, tint);
            p.restore();
        }
    }
    if (look.land.isValid() && look.landOpacity > 0) {
        p.save();
        p.setOpacity(look.landOpacity);
        p.fillPath(landPath, look.land);
        p.restore();
    }
    if (look.bordersWidth > 0) {
        const QList<GeoPolygon> countries = allPolygons(data.countries(look.detail));
        p.strokePath(map.edges(countries), style::pen(look.borders, look.bordersWidth));
    }
    if (look.coastWidth > 0)
        p.strokePath(map.edges(land), style::pen(look.coast, look.coastWidth));
    if (look.graticuleWidth > 0)
        p.strokePath(map.graticule(look.graticuleStep), style::pen(look.graticule, look.graticuleWidth));
    p.end();
    map.cutToOutline(&layer);
    return layer;
}

} // namespace disegni
