#include "Symbols.h"

#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace disegni::symbols {

double length(const QPolygonF &line)
{
    double total = 0;
    for (qsizetype i = 1; i < line.size(); ++i)
        total += std::hypot(line.at(i).x() - line.at(i - 1).x(), line.at(i).y() - line.at(i - 1).y());
    return total;
}

QPointF pointAt(const QPolygonF &line, double distance, QPointF *direction)
{
    if (line.isEmpty())
        return {};
    double walked = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QPointF a = line.at(i - 1);
        const QPointF d = line.at(i) - a;
        const double step = std::hypot(d.x(), d.y());
        if (step <= 0)
            continue;
        if (walked + step >= distance || i == line.size() - 1) {
            if (direction)
                *direction = d / step;
            const double t = std::clamp((distance - walked) / step, 0.0, 1.0);
            return a + d * t;
        }
        walked += step;
    }
    if (direction)
        *direction = QPointF(1, 0);
    return line.first();
}

QPointF normal(const QPointF &direction, bool left)
{
    const QPointF n(direction.y(), -direction.x());
    return left ? n : -n;
}

namespace {

// The direction over a stretch of the line, so that a symbol does not follow every small wiggle.
QPointF smoothDirection(const QPolygonF &line, double at, double span)
{
    const QPointF a = pointAt(line, std::max(0.0, at - span));
    const QPointF b = pointAt(line, std::min(length(line), at + span));
    const QPointF d = b - a;
    const double l = std::hypot(d.x(), d.y());
    if (l <= 0) {
        QPointF dir;
        pointAt(line, at, &dir);
        return dir;
    }
    return d / l;
}

} // namespace

QPainterPath teeth(const QPolygonF &line, double spacing, double size, bool left)
{
    QPainterPath path;
    const double total = length(line);
    if (total < size)
        return path;
    for (double at = spacing / 2; at < total; at += spacing) {
        const QPointF dir = smoothDirection(line, at, size);
        const QPointF base = pointAt(line, at);
        const QPointF n = normal(dir, left);
        const QPointF a = base - dir * (size * 0.5);
        const QPointF b = base + dir * (size * 0.5);
        const QPointF tip = base + n * (size * 0.9);
        path.moveTo(a);
        path.lineTo(tip);
        path.lineTo(b);
        path.closeSubpath();
    }
    return path;
}

QPainterPath chevrons(const QPolygonF &line, double spacing, double size, bool left)
{
    QPainterPath path;
    const double total = length(line);
    for (double at = spacing / 2; at < total; at += spacing) {
        const QPointF dir = smoothDirection(line, at, size);
        const QPointF base = pointAt(line, at);
        const QPointF n = normal(dir, left);
        path.moveTo(base - dir * (size * 0.5));
        path.lineTo(base + n * (size * 0.7));
        path.lineTo(base + dir * (size * 0.5));
    }
    return path;
}

QPainterPath arrow(const QPointF &from, const QPointF &to, double shaftWidth, double headLength, double headWidth)
{
    QPainterPath path;
    const QPointF d = to - from;
    const double l = std::hypot(d.x(), d.y());
    if (l <= 0)
        return path;
    const QPointF u = d / l;
    const QPointF n(-u.y(), u.x());
    const double head = std::min(headLength, l);
    const QPointF neck = to - u * head;
    path.moveTo(from + n * (shaftWidth / 2));
    path.lineTo(neck + n * (shaftWidth / 2));
    path.lineTo(neck + n * (headWidth / 2));
    path.lineTo(to);
    path.lineTo(neck - n * (headWidth / 2));
    path.lineTo(neck - n * (shaftWidth / 2));
    path.lineTo(from - n * (shaftWidth / 2));
    path.closeSubpath();
    return path;
}

QPainterPath curvedArrow(const QPointF &from, const QPointF &via, const QPointF &to, double shaftWidth,
                         double headLength, double headWidth)
{
    // the shaft is a stroked curve ending where the head begins
    QPolygonF curve;
    const int samples = 48;
    for (int i = 0; i <= samples; ++i) {
        const double t = double(i) / samples;
        curve.append(from * ((1 - t) * (1 - t)) + via * (2 * (1 - t) * t) + to * (t * t));
    }
    const double total = length(curve);
    QPointF dir;
    pointAt(curve, total, &dir);
    const QPointF neck = to - dir * std::min(headLength, total);
    QPolygonF shaft;
    for (const QPointF &p : curve) {
        if (QPointF::dotProduct(p - neck, dir) < 0)
            shaft.append(p);
    }
    shaft.append(neck + dir * 1.0);
    QPainterPath centre;
    centre.addPolygon(shaft);
    QPainterPathStroker stroker;
    stroker.setWidth(shaftWidth);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath path = stroker.createStroke(centre);
    const QPointF n(-dir.y(), dir.x());
    QPainterPath head;
    head.moveTo(neck + n * (headWidth / 2));
    head.lineTo(to);
    head.lineTo(neck - n * (headWidth / 2));
    head.closeSubpath();
    return path.united(head);
}

} // namespace disegni::symbols
