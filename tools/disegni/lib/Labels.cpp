#include "Labels.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <cmath>
#include <utility>

namespace disegni {

QFont labelFont(const LabelLook &look)
{
    QFont f = style::font(look.pixelSize, look.weight);
    f.setItalic(look.italic);
    if (look.letterSpacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, look.letterSpacing);
    return f;
}

namespace {

bool g_recording = false;
QList<DrawnText> g_drawn;

} // namespace

namespace drawnTexts {

void open()
{
    g_recording = true;
    g_drawn.clear();
}

QList<DrawnText> close()
{
    g_recording = false;
    return std::exchange(g_drawn, {});
}

void note(const QPainter &painter, const QString &text, const QRectF &box, double pixelSize, bool credit)
{
    if (!g_recording)
        return;
    const double scale = std::sqrt(std::abs(painter.worldTransform().determinant()));
    g_drawn.append({text, painter.worldTransform().mapRect(box), pixelSize * scale, credit});
}

} // namespace drawnTexts

namespace {

struct Laid {
    QStringList lines;
    QList<double> widths;
    double lineHeight = 0;
    double ascent = 0;
    QSizeF size;
};

Laid layout(const QString &text, const LabelLook &look)
{
    const QFontMetricsF fm(labelFont(look));
    Laid l;
    l.lines = text.split(QLatin1Char('\n'));
    l.lineHeight = fm.height() * look.lineSpacing;
    l.ascent = fm.ascent();
    double width = 0;
    for (const QString &line : l.lines) {
        // trailing letter spacing is not part of the ink
        const double w = fm.horizontalAdvance(line) - (line.isEmpty() ? 0 : look.letterSpacing);
        l.widths.append(w);
        width = std::max(width, w);
    }
    l.size = QSizeF(width, l.lineHeight * (l.lines.size() - 1) + fm.height());
    return l;
}

} // namespace

QRectF labelRect(const QString &text, const QPointF &centre, const LabelLook &look)
{
    const Laid l = layout(text, look);
    return QRectF(centre - QPointF(l.size.width() / 2, l.size.height() / 2), l.size);
}

QRectF drawLabel(QPainter &painter, const QString &text, const QPointF &centre, const LabelLook &look)
{
    const Laid l = layout(text, look);
    const QRectF box(centre - QPointF(l.size.width() / 2, l.size.height() / 2), l.size);
    const QFont font = labelFont(look);
    QPainterPath glyphs;
    for (qsizetype i = 0; i < l.lines.size(); ++i) {
        double x = box.left();
        if (look.align & Qt::AlignHCenter)
            x += (l.size.width() - l.widths.at(i)) / 2;
        else if (look.align & Qt::AlignRight)
            x += l.size.width() - l.widths.at(i);
        glyphs.addText(QPointF(x, box.top() + l.ascent + l.lineHeight * i), font, l.lines.at(i));
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (look.haloWidth > 0 && look.halo.alpha() > 0) {
        QPen halo(look.halo, look.haloWidth * 2);
        halo.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(glyphs, halo);
    }
    painter.fillPath(glyphs, look.colour);
    painter.restore();
    drawnTexts::note(painter, text, box, look.pixelSize);
    return box;
}

QRectF drawLabelAt(QPainter &painter, const QString &text, const QPointF &anchor, Qt::Alignment side,
                   const LabelLook &look)
{
    const QSizeF size = labelRect(text, QPointF(), look).size();
    QPointF centre = anchor;
    if (side & Qt::AlignLeft)
        centre.rx() += size.width() / 2;
    else if (side & Qt::AlignRight)
        centre.rx() -= size.width() / 2;
    if (side & Qt::AlignTop)
        centre.ry() += size.height() / 2;
    else if (side & Qt::AlignBottom)
        centre.ry() -= size.height() / 2;
    return drawLabel(painter, text, centre, look);
}

bool LabelPlacer::place(QPainter &painter, const QString &text, const QList<QPointF> &candidates,
                        const LabelLook &look, bool force)
{
    for (const QPointF &c : candidates) {
        const QRectF box = labelRect(text, c, look).adjusted(-look.haloWidth, -look.haloWidth, look.haloWidth,
                                                              look.haloWidth);
        if (!m_bounds.contains(box))
            continue;
        const bool free = std::none_of(m_taken.begin(), m_taken.end(), [&box](const QRectF &t) { return t.intersects(box); });
        if (free) {
            m_taken.append(drawLabel(painter, text, c, look));
            return true;
        }
    }
    if (force && !candidates.isEmpty())
        m_taken.append(drawLabel(painter, text, candidates.first(), look));
    return false;
}

} // namespace disegni
