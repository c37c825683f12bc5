#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace ui {

// Every position and size of the screens is written in twips, as designed. This is the one place
// where twips become pixels: the 12000 x 9000 twip design area (800 x 600 pixels at 15 twips a pixel)
// is scaled uniformly to fit the window and centred in it.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kDesignWidth = 12000;
inline constexpr int kDesignHeight = 9000;

class Scala {
public:
    Scala() = default;
    Scala(double factor, QPoint offset) : m_factor(factor), m_offset(offset) {}

    // The largest uniform scale at which the design area fits into `area`, centred.
    static Scala perArea(QSize area);
    // The scale of a design rectangle of its own (a screen designed smaller than the display).
    static Scala perArea(QSize area, QSize designTwips);

    double factor() const { return m_factor; }
    QPoint offset() const { return m_offset; }

    // Edges are rounded, not lengths, so that controls that touch in the design still touch.
    QRect rect(const QRect& twips) const;
    int x(int twips) const;
    int y(int twips) const;
    int length(int twips) const;
    double pointsToPixels(double points) const;

private:
    double m_factor = 1.0;
    QPoint m_offset;
};

}  // namespace ui
