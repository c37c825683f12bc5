#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

namespace disegni {

// Pictures are drawn at twice their design size and marked 192 dpi, so the course sizes them in
// twips exactly as designed (pixels × 1440 / dpi) while a large screen still gets sharp detail.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDpi = 192;
inline constexpr int kDotsPerMeter = 7559;    // 192 dpi; JFIF stores it back as 192 dots per inch
inline constexpr int kAssumedDpi = 96;        // what the course assumes for a file that states none
inline constexpr int kJpegQuality = 90;

// Pixel size of a picture that fills a design rectangle given in twips.
QSize pixelsForTwips(int widthTwips, int heightTwips);
// Design size in twips of a picture as the course computes it.
QSize twipsForPixels(const QSize &pixels, int dpi);
// Dots per inch stated by an image, kAssumedDpi when it states none.
int dpiOf(const QImage &image);

// A new picture of the given pixel size, filled and marked 192 dpi.
QImage newPicture(const QSize &pixels, const QColor &fill, QImage::Format format = QImage::Format_RGB32);
QImage newLayer(const QSize &pixels); // transparent, premultiplied, for drawing before compositing
void setPictureDpi(QImage *image);

// Writes a picture by its suffix (.jpg at kJpegQuality, .png, .gif), marked 192 dpi where the format
// can say so (or the higher density the picture states, for one drawn finer), creating folders.
bool savePicture(const QImage &image, const QString &path, QString *error = nullptr);

// The credit every map carries, in small grey text in a corner of the given area.
QString mapCredit();
// On a dark ground pass a light colour and no halo.
struct CreditLook {
    Qt::Corner corner = Qt::BottomRightCorner;
    double pixelSize = 17;
    double opacity = 1.0;
    QColor colour;        // invalid: the palette's grey
    bool halo = true;     // a faint light patch under the text
};
void drawCredit(QPainter &painter, const QRectF &area, const QString &text = mapCredit(),
                const CreditLook &look = CreditLook());

} // namespace disegni
