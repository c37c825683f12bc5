#include "ui/Jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace ui::Jpeg {

namespace {
// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to decode().
struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

extern "C" void stopDecoding(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Errors*>(info->err)->back, 1);
}

// Warnings (a file cut short, say) are not fatal: the picture is given as far as it goes, as Qt does.
extern "C" void ignoreWarning(j_common_ptr, int) {}

// Only C frames lie between the jump and its landing here, and nothing here needs destroying on the way:
// the picture belongs to the caller.
bool decode(const QByteArray& data, int denominator, QImage* image)
{
    jpeg_decompress_struct info;
    Errors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = stopDecoding;
    errors.manager.emit_message = ignoreWarning;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK
        || (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGRX;  // the bytes of QImage::Format_RGB32 on a little-endian machine
    info.scale_num = 1;
    info.scale_denom = unsigned(denominator);
    jpeg_start_decompress(&info);
    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    // The resolution as Qt's reader takes it: dots an inch or a centimetre; none is recorded otherwise.
    if (info.density_unit == 1) {
        image->setDotsPerMeterX(int(100. * info.X_density / 2.54));
        image->setDotsPerMeterY(int(100. * info.Y_density / 2.54));
    } else if (info.density_unit == 2) {
        image->setDotsPerMeterX(int(100. * info.X_density));
        image->setDotsPerMeterY(int(100. * info.Y_density));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}
}  // namespace

QImage read(const QString& path, int denominator)
{
    if (Q_BYTE_ORDER != Q_LITTLE_ENDIAN || (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    QImage image;
    if (data.isEmpty() || !decode(data, denominator, &image))
        return {};
    return image;
}

}  // namespace ui::Jpeg
