#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace ui {

// Pictures and the course files are named relative to the program's folder, with backslashes, and the
// same file is sometimes named with other letter case: every path component is matched ignoring case.
class Pictures {
public:
    // The folder that relative names start from: the program's own folder unless a test set another.
    static QString root();
    static void setRoot(const QString& folder);  // empty: back to the program's folder

    // The existing file that `relativePath` names, or an empty string.
    static QString resolve(const QString& relativePath);
    // Where `relativePath` is or would be: existing components matched ignoring case, the rest as written.
    static QString locate(const QString& relativePath);

    // A picture and its design size in twips. A picture records its resolution: one drawn at 192 dots an
    // inch shows at half its pixel size, so that it stays crisp on a large display. Files that state no
    // resolution count as 96 dots an inch (one pixel, 15 twips).
    struct Loaded {
        QImage image;
        QSize twips;
        bool isNull() const { return image.isNull(); }
    };
    // A missing or unreadable file gives a null picture and one line on stderr naming it. With a
    // `fitInto` size smaller than the picture, the picture is decoded straight at that size: much faster
    // than decoding it whole and scaling it down, which is what animations need.
    static Loaded load(const QString& relativePath, QSize fitInto = {});
    static QSize designTwips(const QImage& image);
};

}  // namespace ui
