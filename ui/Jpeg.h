#pragma once

#include <QImage>
#include <QString>

namespace ui::Jpeg {

// Decodes a JPEG file straight into the display's format, whole or at 1/2, 1/4 or 1/8 of its size
// (`denominator`), with the resolution its header records: the pixels Qt's own reader gives, which
// decodes to three bytes a pixel and then widens every row, for two thirds of its time. A null picture
// when the file cannot be read this way (not a JPEG, damaged, or in colours other than grey or RGB): the
// caller then reads it as any other picture.
QImage read(const QString& path, int denominator = 1);

}  // namespace ui::Jpeg
