#include "Carte.h"

#include "Plates.h"
#include "Style.h"

namespace disegni::carte {

QPainter::RenderHints smooth()
{
    return QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform;
}

QColor majorColour(const QString &code)
{
    return style::plate(majorPlateOf(code));
}

bool betweenMajorPlates(const BoundaryPiece &b)
{
    return majorPlateOf(b.left) != majorPlateOf(b.right);
}

void drawFrame(QPainter &p, const MapWindow &map)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(map.outline(), style::pen(style::withAlpha(style::outline(), 0.55), 1.5));
    p.restore();
}

void drawMarginsOn(QPainter &p, const MapWindow &map, GeoData &data, const MarginLook &look,
                   const std::function<bool(const BoundaryPiece &)> &keep)
{
    map.paintInside(p, [&](QPainter &l) { drawMargins(l, map, boundarySteps(data), look, keep); });
}

void drawBoundaries(QPainter &p, const MapWindow &map, const QList<Ring> &lines, const QPen &pen)
{
    map.paintInside(p, [&](QPainter &l) { l.strokePath(map.lines(lines), pen); });
}

} // namespace disegni::carte
