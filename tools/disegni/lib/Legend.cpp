#include "Legend.h"

#include "Symbols.h"

namespace disegni {

namespace {

QSizeF textSize(const QString &text, const LabelLook &look)
{
    return labelRect(text, QPointF(), look).size();
}

void drawSample(QPainter &p, const QRectF &r, const LegendEntry &e, const LegendLook &look)
{
    const MarginLook &m = look.margins;
    const double y = r.center().y();
    QPolygonF line{QPointF(r.left(), y), QPointF(r.right(), y)};
    QPainterPath path;
    path.addPolygon(line);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    switch (e.sample) {
    case LegendEntry::Sample::Area:
        p.setPen(e.edge.isValid() ? style::pen(e.edge, 1.5) : QPen(Qt::NoPen));
        p.setBrush(e.colour);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 3, 3);
        break;
    case LegendEntry::Sample::Ridge:
        p.strokePath(path, style::pen(e.colour.isValid() ? e.colour : m.ridge, m.ridgeWidth));
        break;
    case LegendEntry::Sample::Trench: {
        const QColor c = e.colour.isValid() ? e.colour : m.trench;
        const QPolygonF low{QPointF(r.left(), y + m.teethSize * 0.4), QPointF(r.right(), y + m.teethSize * 0.4)};
        QPainterPath lowPath;
        lowPath.addPolygon(low);
        p.strokePath(lowPath, style::pen(c, m.trenchWidth));
        p.fillPath(symbols::teeth(low, r.width() / 2.5, m.teethSize, true), c);
        break;
    }
    case LegendEntry::Sample::Collision: {
        const QColor c = e.colour.isValid() ? e.colour : m.collision;
        p.strokePath(path, style::pen(c, m.collisionWidth));
        if (m.chevronSize > 0)
            p.strokePath(symbols::chevrons(line, r.width() / 2.5, m.chevronSize, true), style::pen(c, std::max(1.0, m.collisionWidth * 0.6)));
        break;
    }
    case LegendEntry::Sample::Transform:
        p.strokePath(path, style::pen(e.colour.isValid() ? e.colour : m.transform, m.transformWidth));
        break;
    case LegendEntry::Sample::Line:
        p.strokePath(path, style::pen(e.colour, 2.5));
        break;
    case LegendEntry::Sample::Dot:
        p.setPen(e.edge.isValid() ? style::pen(e.edge, 1.2) : QPen(Qt::NoPen));
        p.setBrush(e.colour);
        p.drawEllipse(r.center(), r.height() * 0.3, r.height() * 0.3);
        break;
    case LegendEntry::Sample::Volcano: {
        const QPointF at = r.center();
        const double s = r.height() * 0.5;
        QPainterPath t;
        t.moveTo(at + QPointF(0, -s * 0.8));
        t.lineTo(at + QPointF(s * 0.7, s * 0.5));
        t.lineTo(at + QPointF(-s * 0.7, s * 0.5));
        t.closeSubpath();
        if (e.edge.isValid())
            p.strokePath(t, style::pen(e.edge, 1.5));
        p.fillPath(t, e.colour);
        break;
    }
    case LegendEntry::Sample::Arrow:
        p.fillPath(symbols::arrow(QPointF(r.left(), y), QPointF(r.right(), y), r.height() * 0.3, r.height() * 0.6,
                                  r.height() * 0.8),
                   e.colour);
        break;
    }
    p.restore();
}

} // namespace

QSizeF legendSize(const QList<LegendEntry> &entries, const LegendLook &look)
{
    double w = 0, h = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QSizeF t = textSize(entries.at(i).text, look.text);
        w = std::max(w, look.sampleWidth + look.gap + t.width());
        h += std::max(t.height(), look.sampleHeight) + (i > 0 ? look.rowGap : 0);
    }
    return QSizeF(w + 2 * look.padding, h + 2 * look.padding);
}

QRectF drawLegend(QPainter &painter, const QPointF &at, const QList<LegendEntry> &entries, const LegendLook &look)
{
    const QRectF box(at, legendSize(entries, look));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (look.background.alpha() > 0 || look.frame.alpha() > 0) {
        painter.setPen(look.frame.alpha() > 0 ? style::pen(look.frame, 1.2) : QPen(Qt::NoPen));
        painter.setBrush(look.background);
        painter.drawRoundedRect(box, look.padding * 0.6, look.padding * 0.6);
    }
    LabelLook text = look.text;
    text.align = Qt::AlignLeft;
    double y = box.top() + look.padding;
    for (const LegendEntry &e : entries) {
        const QSizeF t = textSize(e.text, text);
        const double rowHeight = std::max(t.height(), look.sampleHeight);
        const QRectF sample(box.left() + look.padding, y + (rowHeight - look.sampleHeight) / 2, look.sampleWidth,
                            look.sampleHeight);
        drawSample(painter, sample, e, look);
        drawLabelAt(painter, e.text, QPointF(sample.right() + look.gap, y + rowHeight / 2), Qt::AlignLeft | Qt::AlignVCenter,
                    text);
        y += rowHeight + look.rowGap;
    }
    painter.restore();
    return box;
}

} // namespace disegni
