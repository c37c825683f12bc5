#pragma once

#include <QFont>
#include <QString>

namespace ui {

// A font as the screens are designed with it: a family of the old office fonts and a size in points.
struct FontSpec {
    QString family = QStringLiteral("MS Sans Serif");
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

namespace Fonts {
// The installed face that stands for a designed family: Liberation's metric twins of Arial, Times New
// Roman and Courier New; MS Sans Serif and anything unknown fall back to the sans face.
QString faceFor(const QString& designFamily);
// The font at the screen's scale, sized in pixels so that text grows exactly with the layout.
QFont font(const FontSpec& design, double pixelsPerPoint);
}  // namespace Fonts

}  // namespace ui
