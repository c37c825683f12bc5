#include "GeoData.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace disegni {

GeoData::GeoData(const QString &folder)
    : m_folder(QDir(folder).absolutePath())
{
}

bool GeoData::available() const
{
    return QFileInfo::exists(QDir(m_folder).filePath(QStringLiteral("PB2002_plates.json")));
}

const QList<GeoFeature> &GeoData::geoJson(const QString &fileName)
{
    if (auto it = m_cache.find(fileName); it != m_cache.end())
        return it->second;
    QString error;
    QList<GeoFeature> features = readGeoJson(QDir(m_folder).filePath(fileName), &error);
    if (!error.isEmpty())
        throw GeoDataError(error.toStdString());
    return m_cache.emplace(fileName, features).first->second;
}

const QList<GeoFeature> &GeoData::topoJson(const QString &fileName, const QString &object)
{
    const QString key = fileName + QLatin1Char('#') + object;
    if (auto it = m_cache.find(key); it != m_cache.end())
        return it->second;
    QString error;
    QList<GeoFeature> features = readTopoJson(QDir(m_folder).filePath(fileName), object, &error);
    if (!error.isEmpty())
        throw GeoDataError(error.toStdString());
    return m_cache.emplace(key, features).first->second;
}

const QList<GeoFeature> &GeoData::land(Detail detail)
{
    return topoJson(detail == Detail::Fine ? QStringLiteral("land-50m.json") : QStringLiteral("land-110m.json"),
                    QStringLiteral("land"));
}

const QList<GeoFeature> &GeoData::countries(Detail detail)
{
    return topoJson(detail == Detail::Fine ? QStringLiteral("countries-50m.json")
                                           : QStringLiteral("countries-110m.json"),
                    QStringLiteral("countries"));
}

const QList<GeoFeature> &GeoData::plates()
{
    return geoJson(QStringLiteral("PB2002_plates.json"));
}

const QList<GeoFeature> &GeoData::orogens()
{
    return geoJson(QStringLiteral("PB2002_orogens.json"));
}

const QList<GeoFeature> &GeoData::boundaries()
{
    const QString key = QStringLiteral("#boundaries");
    if (auto it = m_cache.find(key); it != m_cache.end())
        return it->second;
    // The file lists a few date-line pieces twice; drawn twice they would look darker.
    QList<GeoFeature> unique;
    QSet<QString> seen;
    for (const GeoFeature &f : geoJson(QStringLiteral("PB2002_boundaries.json"))) {
        QString signature;
        for (const Ring &line : f.lines) {
            for (const QPointF &p : line)
                signature += QString::number(p.x(), 'f', 4) + QLatin1Char(',') + QString::number(p.y(), 'f', 4) + QLatin1Char(';');
            signature += QLatin1Char('|');
        }
        if (seen.contains(signature))
            continue;
        seen.insert(signature);
        unique.append(f);
    }
    return m_cache.emplace(key, unique).first->second;
}

} // namespace disegni
