#pragma once

#include "Labels.h"
#include "MarginMap.h"

#include <QColor>
#include <QList>
#include <QPainter>
#include <QString>

namespace disegni {

// One line of a map's key: a small sample of a symbol and its meaning.
struct LegendEntry {
    enum class Sample { Area, Ridge, Trench, Collision, Transform, Dot, Line, Arrow, Volcano };
    Sample sample = Sample::Area;
    QColor colour;
    QString text;          // '\n' breaks the line
    QColor edge;           // Area: outline; invalid: none
};

struct LegendLook {
    LabelLook text;
    MarginLook margins;    // the symbols are drawn as on the map
    double sampleWidth = 40;
    double sampleHeight = 20;
    double gap = 10;       // between sample and text
    double rowGap = 10;
    double padding = 12;
    QColor background = style::withAlpha(style::paper(), 0.92);
    QColor frame = style::withAlpha(style::outline(), 0.35);
};

// The size a key takes.
QSizeF legendSize(const QList<LegendEntry> &entries, const LegendLook &look);
// Draws a key with its top-left corner at `at` and returns its box.
QRectF drawLegend(QPainter &painter, const QPointF &at, const QList<LegendEntry> &entries, const LegendLook &look);

} // namespace disegni
