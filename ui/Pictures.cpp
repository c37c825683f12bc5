#include "ui/Pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <cmath>
#include <cstdio>

namespace ui {

namespace {
QString& rootOverride()
{
    static QString folder;
    return folder;
}

QStringList components(const QString& relativePath)
{
    QString p = relativePath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

// The entry of `dir` named `name`, the exact name first, else ignoring case.
QString matchEntry(const QDir& dir, const QString& name)
{
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return name;
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}
}  // namespace

QString Pictures::root()
{
    if (!rootOverride().isEmpty())
        return rootOverride();
    return QCoreApplication::applicationDirPath();
}

void Pictures::setRoot(const QString& folder)
{
    rootOverride() = folder;
}

QString Pictures::locate(const QString& relativePath)
{
    QDir dir(root());
    QString path = dir.absolutePath();
    bool found = true;
    for (const QString& part : components(relativePath)) {
        const QString entry = found ? matchEntry(QDir(path), part) : QString();
        found = !entry.isEmpty();
        path = QDir(path).filePath(found ? entry : part);
    }
    return QDir::cleanPath(path);
}

QString Pictures::resolve(const QString& relativePath)
{
    if (components(relativePath).isEmpty())
        return {};
    const QString path = locate(relativePath);
    return QFileInfo(path).isFile() ? path : QString();
}

namespace {
QSize twipsFor(QSize pixels, int dotsPerMeter)
{
    double dpi = dotsPerMeter * 0.0254;
    if (dpi < 24 || dpi > 2400)
        dpi = 96;
    dpi = std::round(dpi);
    return QSize(int(std::lround(pixels.width() * 1440.0 / dpi)), int(std::lround(pixels.height() * 1440.0 / dpi)));
}
}  // namespace

QSize Pictures::designTwips(const QImage& image)
{
    return twipsFor(image.size(), image.dotsPerMeterX());
}

Pictures::Loaded Pictures::load(const QString& relativePath, QSize fitInto)
{
    Loaded result;
    const QString path = resolve(relativePath);
    if (path.isEmpty()) {
        std::fprintf(stderr, "placche: immagine non trovata: %s\n", qPrintable(relativePath));
        return result;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize full = reader.size();
    const bool shrink = fitInto.isValid() && full.isValid() && fitInto.width() < full.width() &&
                        fitInto.height() < full.height();
    if (shrink)
        reader.setScaledSize(fitInto);
    result.image = reader.read();
    if (result.image.isNull()) {
        std::fprintf(stderr, "placche: immagine illeggibile: %s (%s)\n", qPrintable(path),
                     qPrintable(reader.errorString()));
        return result;
    }
    // The design size is the whole picture's, whatever size it was decoded at.
    result.twips = twipsFor(shrink ? full : result.image.size(), result.image.dotsPerMeterX());
    return result;
}

}  // namespace ui
