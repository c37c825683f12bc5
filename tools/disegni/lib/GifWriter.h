#pragma once

#include <QImage>
#include <QString>

namespace disegni {

// Writes a picture as a GIF with giflib. GIF holds at most 256 colours: the picture's most frequent
// colours become the palette (flat drawings use few), every other pixel takes the nearest of them.
// GIF states no resolution, so the course reads such a file at its assumed 96 dpi.
bool writeGif(const QImage &image, const QString &path, QString *error = nullptr);

} // namespace disegni
