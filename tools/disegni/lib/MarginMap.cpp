#include "MarginMap.h"

#include "GeoData.h"
#include "MapCanvas.h"
#include "Symbols.h"

namespace disegni {

namespace {

QPen flatPen(const QColor &c, double width)
{
    QPen pen = style::pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

} // namespace

void drawMargins(QPainter &painter, const MapWindow &map, const QList<BoundaryPiece> &pieces, const MarginLook &look,
                 const std::function<bool(const BoundaryPiece &)> &keep)
{
    QList<BoundaryPiece> chosen;
    for (const BoundaryPiece &p : look.minTransformKm > 0 ? generalised(pieces, look.minTransformKm) : pieces) {
        if (!keep || keep(p))
            chosen.append(p);
    }
    const auto widthOf = [&look](const BoundaryPiece &p) {
        switch (p.margin()) {
        case Margin::Constructive: return look.ridgeWidth;
        case Margin::Destructive: return look.trenchWidth;
        case Margin::Collision: return look.collisionWidth;
        case Margin::Conservative: return look.transformWidth;
        }
        return 0.0;
    };
    const auto colourOf = [&look](const BoundaryPiece &p) {
        switch (p.margin()) {
        case Margin::Constructive: return look.ridge;
        case Margin::Destructive: return look.trench;
        case Margin::Collision: return look.collision;
        case Margin::Conservative: return look.transform;
        }
        return QColor();
    };
    const auto lineOf = [&look](const BoundaryPiece &p) {
        return look.simplifyDegrees > 0 ? planar::simplified(p.line, look.simplifyDegrees) : p.line;
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    if (look.casing.isValid() && look.casingExtra > 0) {
        for (const BoundaryPiece &p : chosen) {
            const double w = widthOf(p);
            if (w > 0)
                painter.strokePath(map.lines({lineOf(p)}), flatPen(look.casing, w + look.casingExtra));
        }
    }
    // transforms first, so that ridges and trenches run over their ends
    for (const Margin m : {Margin::Conservative, Margin::Collision, Margin::Constructive, Margin::Destructive}) {
        for (const BoundaryPiece &p : chosen) {
            if (p.margin() != m)
                continue;
            const double w = widthOf(p);
            if (w <= 0)
                continue;
            const QColor c = colourOf(p);
            for (const QPolygonF &line : map.polylines(lineOf(p))) {
                QPainterPath path;
                path.addPolygon(line);
                painter.strokePath(path, flatPen(c, w));
                if (m == Margin::Destructive && look.teethSize > 0)
                    painter.fillPath(symbols::teeth(line, look.teethSpacing, look.teethSize, p.overridingOnLeft()), c);
                if (m == Margin::Collision && look.chevronSize > 0) {
                    const QPen thin = flatPen(c, std::max(1.0, w * 0.6));
                    painter.strokePath(symbols::chevrons(line, look.teethSpacing, look.chevronSize, true), thin);
                }
            }
        }
    }
    painter.restore();
}

QList<GeoPolygon> platePolygons(GeoData &data, const QStringList &codes)
{
    QList<GeoPolygon> out;
    for (const GeoFeature &f : data.plates()) {
        if (codes.contains(f.text(QStringLiteral("Code"))))
            out.append(f.polygons);
    }
    return out;
}

QList<Ring> boundariesBetween(const PlateModel &plates, const std::function<QString(const QString &)> &group)
{
    QList<Ring> out;
    for (const PlateBoundary &b : plates.boundaries()) {
        if (group(b.plateA) != group(b.plateB))
            out.append(b.line);
    }
    return out;
}

} // namespace disegni
