#pragma once

#include "Style.h"

#include <QColor>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace disegni {

// The smallest name a pupil can read, in pixels of a picture drawn at twice its design size: the
// course shows the 800 x 600 design scaled uniformly into the screen, 1.28 times on a 1366 x 768
// display, so 18 pixels of the file come out as 11.5 pixels there.
inline constexpr double kReadablePixelSize = 18;

// How a name on a map or a diagram looks. Sizes are pixels of the drawn picture.
struct LabelLook {
    double pixelSize = 20;
    int weight = QFont::Normal;
    bool italic = false;
    double letterSpacing = 0;   // extra pixels between letters: spaced capitals for large areas
    QColor colour = style::text();
    QColor halo = style::paper(); // a soft outline that keeps the name legible on any ground
    double haloWidth = 4;         // 0: no halo
    double lineSpacing = 1.0;     // multiple of the font's line height
    Qt::Alignment align = Qt::AlignHCenter; // of the lines among themselves
};

QFont labelFont(const LabelLook &look);

// What a picture writes on itself, kept while a record is open, so that a test can check that every
// name is large enough to read and that no two names, nor a name and the credit line, cover one
// another. Boxes are in the pixels of the picture the painter draws on.
struct DrawnText {
    QString text;
    QRectF box;
    double pixelSize = 0;  // of the font, in the picture's pixels
    bool credit = false;   // a credit line: small on purpose, but nothing may cover it
};
namespace drawnTexts {
void open();                 // starts a record, forgetting any earlier one
QList<DrawnText> close();    // ends the record and returns what was written since open()
// Called by everything that writes text on a picture; `box` is in the painter's coordinates.
void note(const QPainter &painter, const QString &text, const QRectF &box, double pixelSize, bool credit = false);
} // namespace drawnTexts
// The box a label takes when centred on a point; lines are separated by '\n'.
QRectF labelRect(const QString &text, const QPointF &centre, const LabelLook &look);
// Draws a label centred on a point and returns its box.
QRectF drawLabel(QPainter &painter, const QString &text, const QPointF &centre, const LabelLook &look);
// Draws a label whose box has a corner or an edge at `anchor` (Qt::AlignLeft | Qt::AlignTop: the
// label lies right of and below the anchor).
QRectF drawLabelAt(QPainter &painter, const QString &text, const QPointF &anchor, Qt::Alignment side,
                   const LabelLook &look);

// Puts labels where they do not cover one another or the areas kept free: each label is tried at
// its candidate centres in order and drawn at the first that is free, inside the bounds.
class LabelPlacer
{
public:
    explicit LabelPlacer(const QRectF &bounds)
        : m_bounds(bounds)
    {
    }

    void keepFree(const QRectF &area) { m_taken.append(area); }
    // False when no candidate was free; the label is then drawn at the first candidate only if
    // force is true.
    bool place(QPainter &painter, const QString &text, const QList<QPointF> &candidates, const LabelLook &look,
               bool force = true);
    const QList<QRectF> &taken() const { return m_taken; }

private:
    QRectF m_bounds;
    QList<QRectF> m_taken;
};

} // namespace disegni
