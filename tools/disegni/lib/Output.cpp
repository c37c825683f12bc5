#include "Output.h"

#include "GifWriter.h"
#include "Labels.h"
#include "Style.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

#include <cmath>

namespace disegni {

QSize pixelsForTwips(int widthTwips, int heightTwips)
{
    return QSize(qRound(double(widthTwips) * kDpi / kTwipsPerInch),
                 qRound(double(heightTwips) * kDpi / kTwipsPerInch));
}

QSize twipsForPixels(const QSize &pixels, int dpi)
{
    const int d = dpi > 0 ? dpi : kAssumedDpi;
    return QSize(qRound(double(pixels.width()) * kTwipsPerInch / d),
                 qRound(double(pixels.height()) * kTwipsPerInch / d));
}

int dpiOf(const QImage &image)
{
    const int dpm = image.dotsPerMeterX();
    // Qt puts 3780 (96 dpi) on images whose file states nothing, and 0 can occur too.
    if (dpm <= 0)
        return kAssumedDpi;
    return qRound(dpm * 0.0254);
}

void setPictureDpi(QImage *image)
{
    image->setDotsPerMeterX(kDotsPerMeter);
    image->setDotsPerMeterY(kDotsPerMeter);
}

QImage newPicture(const QSize &pixels, const QColor &fill, QImage::Format format)
{
    QImage image(pixels, format);
    image.fill(fill);
    setPictureDpi(&image);
    return image;
}

QImage newLayer(const QSize &pixels)
{
    return newPicture(pixels, Qt::transparent, QImage::Format_ARGB32_Premultiplied);
}

bool savePicture(const QImage &image, const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("%1: cartella non creata").arg(info.absolutePath());
        return false;
    }
    QImage out = image;
    // a picture drawn finer than twice its design size states its own density; all others get 192 dpi
    const bool piuFine = image.dotsPerMeterX() > kDotsPerMeter;
    if (!piuFine)
        setPictureDpi(&out);
    const QString suffix = info.suffix().toLower();
    QImageWriter writer(path);
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        writer.setFormat("jpeg");
        writer.setQuality(kJpegQuality);
        writer.setOptimizedWrite(true);
        // JPEG has no alpha: flatten on white rather than let transparent pixels turn black.
        if (out.hasAlphaChannel()) {
            QImage flat(out.size(), QImage::Format_RGB32);
            flat.fill(Qt::white);
            flat.setDotsPerMeterX(out.dotsPerMeterX());
            flat.setDotsPerMeterY(out.dotsPerMeterY());
            QPainter p(&flat);
            p.drawImage(0, 0, out);
            p.end();
            out = flat;
        }
    } else if (suffix == QLatin1String("gif")) {
        return writeGif(out, path, error);
    } else if (suffix == QLatin1String("png")) {
        writer.setFormat("png");
    } else {
        if (error)
            *error = QStringLiteral("%1: formato non previsto").arg(path);
        return false;
    }
    if (!writer.write(out)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, writer.errorString());
        return false;
    }
    return true;
}

QString mapCredit()
{
    return QStringLiteral("Dati: Natural Earth; P. Bird 2003 (PB2002)");
}

void drawCredit(QPainter &painter, const QRectF &area, const QString &text, const CreditLook &look)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setOpacity(look.opacity);
    const double size = look.pixelSize;
    painter.setFont(style::font(size));
    const double margin = size * 0.6;
    const QRectF inner = area.adjusted(margin, margin * 0.5, -margin, -margin * 0.5);
    Qt::Alignment align;
    switch (look.corner) {
    case Qt::TopLeftCorner: align = Qt::AlignTop | Qt::AlignLeft; break;
    case Qt::TopRightCorner: align = Qt::AlignTop | Qt::AlignRight; break;
    case Qt::BottomLeftCorner: align = Qt::AlignBottom | Qt::AlignLeft; break;
    case Qt::BottomRightCorner: align = Qt::AlignBottom | Qt::AlignRight; break;
    }
    const QRectF box = painter.fontMetrics().boundingRect(inner.toRect(), int(align), text);
    drawnTexts::note(painter, text, box, size, true);
    if (look.halo) {
        // keeps the grey legible over sea and land alike
        painter.setPen(Qt::NoPen);
        painter.setBrush(style::withAlpha(style::paper(), 0.55));
        painter.drawRoundedRect(box.adjusted(-size * 0.35, -size * 0.1, size * 0.35, size * 0.1), size * 0.3, size * 0.3);
    }
    painter.setPen(look.colour.isValid() ? look.colour : style::credit());
    painter.drawText(inner, int(align), text);
    painter.restore();
}

} // namespace disegni
