#include "GifWriter.h"

#include <QFile>
#include <QHash>

#include <gif_lib.h>

#include <algorithm>
#include <vector>

namespace disegni {

namespace {

int distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

} // namespace

bool writeGif(const QImage &image, const QString &path, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    };
    if (image.isNull())
        return fail(QStringLiteral("immagine vuota"));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();

    QHash<QRgb, int> counts;
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x)
            ++counts[line[x] | 0xff000000u];
    }
    std::vector<std::pair<int, QRgb>> byCount;
    byCount.reserve(counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byCount.emplace_back(it.value(), it.key());
    std::sort(byCount.begin(), byCount.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<QRgb> palette;
    for (const auto &[count, colour] : byCount) {
        if (palette.size() == 256)
            break;
        palette.push_back(colour);
    }

    QHash<QRgb, int> index;
    for (int i = 0; i < int(palette.size()); ++i)
        index.insert(palette[i], i);
    const auto nearest = [&](QRgb c) {
        auto it = index.constFind(c);
        if (it != index.cend())
            return it.value();
        int best = 0;
        int bestDistance = distance(c, palette[0]);
        for (int i = 1; i < int(palette.size()); ++i) {
            const int d = distance(c, palette[i]);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        index.insert(c, best);
        return best;
    };

    GifColorType colours[256] = {};
    for (int i = 0; i < int(palette.size()); ++i)
        colours[i] = GifColorType{GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                                  GifByteType(qBlue(palette[i]))};
    ColorMapObject *map = GifMakeMapObject(256, colours);
    if (!map)
        return fail(QStringLiteral("tavolozza non creata"));

    int code = 0;
    GifFileType *gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &code);
    if (!gif) {
        GifFreeMapObject(map);
        return fail(QString::fromLatin1(GifErrorString(code)));
    }
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(static_cast<size_t>(w));
    for (int y = 0; ok && y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x)
            row[size_t(x)] = GifPixelType(nearest(line[x] | 0xff000000u));
        ok = EGifPutLine(gif, row.data(), w) == GIF_OK;
    }
    const QString why = ok ? QString() : QString::fromLatin1(GifErrorString(gif->Error));
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &code) != GIF_OK && ok)
        return fail(QString::fromLatin1(GifErrorString(code)));
    return ok ? true : fail(why);
}

} // namespace disegni
