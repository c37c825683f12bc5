#include "ui/Twips.h"

#include <algorithm>
#include <cmath>

namespace ui {

Scala Scala::perArea(QSize area)
{
    return perArea(area, QSize(kDesignWidth, kDesignHeight));
}

Scala Scala::perArea(QSize area, QSize designTwips)
{
    const double designW = double(designTwips.width()) / kTwipsPerPixel;
    const double designH = double(designTwips.height()) / kTwipsPerPixel;
    if (area.isEmpty() || designW <= 0 || designH <= 0)
        return {};
    const double f = std::min(area.width() / designW, area.height() / designH);
    const QPoint offset(int(std::floor((area.width() - designW * f) / 2)),
                        int(std::floor((area.height() - designH * f) / 2)));
    return {f, offset};
}

int Scala::x(int twips) const
{
    return m_offset.x() + int(std::lround(twips * m_factor / kTwipsPerPixel));
}

int Scala::y(int twips) const
{
    return m_offset.y() + int(std::lround(twips * m_factor / kTwipsPerPixel));
}

int Scala::length(int twips) const
{
    return int(std::lround(twips * m_factor / kTwipsPerPixel));
}

QRect Scala::rect(const QRect& twips) const
{
    const int left = x(twips.x());
    const int top = y(twips.y());
    const int right = x(twips.x() + twips.width());
    const int bottom = y(twips.y() + twips.height());
    return QRect(left, top, right - left, bottom - top);
}

double Scala::pointsToPixels(double points) const
{
    // The design is drawn at 96 pixels an inch: 1440 twips / 15.
    return points * 96.0 / 72.0 * m_factor;
}

}  // namespace ui
