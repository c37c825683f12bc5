#include "Events.h"

#include "GeoData.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTextStream>
#include <QVector3D>
#include <QtMath>

#include <cmath>
#include <map>

namespace disegni {

bool Volcano::active() const
{
    static const QSet<QString> notActive = {QStringLiteral("Uncertain"), QStringLiteral("Holocene?"),
                                            QStringLiteral("Pleistocene"), QStringLiteral("Pleistocene-Fumarol")};
    return !status.isEmpty() && !notActive.contains(status);
}

QList<Earthquake> readEarthquakes(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    QTextStream in(&file);
    const QStringList header = in.readLine().trimmed().split(QLatin1Char(','));
    const int cYear = header.indexOf(QLatin1String("year"));
    const int cLat = header.indexOf(QLatin1String("latitude"));
    const int cLon = header.indexOf(QLatin1String("longitude"));
    const int cDepth = header.indexOf(QLatin1String("depth"));
    const int cMag = header.indexOf(QLatin1String("magnitude"));
    if (std::min({cYear, cLat, cLon, cDepth, cMag}) < 0) {
        if (error)
            *error = QStringLiteral("%1: colonne mancanti").arg(path);
        return {};
    }
    QList<Earthquake> out;
    int lineNumber = 1;
    while (!in.atEnd()) {
        ++lineNumber;
        const QString line = in.readLine().trimmed();
        if (line.isEmpty())
            continue;
        const QStringList f = line.split(QLatin1Char(','));
        bool ok = f.size() == header.size();
        const auto number = [&](int c) {
            bool good = false;
            const double v = ok ? f.at(c).toDouble(&good) : 0;
            ok = ok && good;
            return v;
        };
        Earthquake e;
        e.at = QPointF(number(cLon), number(cLat));
        e.depthKm = number(cDepth);
        e.magnitude = number(cMag);
        e.year = int(number(cYear));
        // a broken or cut line means a damaged download: better no map than a map with holes
        if (!ok || std::abs(e.at.y()) > 90 || std::abs(e.at.x()) > 360) {
            if (error)
                *error = QStringLiteral("%1: riga %2 non valida").arg(path).arg(lineNumber);
            return {};
        }
        out.append(e);
    }
    if (out.isEmpty() && error)
        *error = QStringLiteral("%1: nessun terremoto").arg(path);
    return out;
}

const QList<Earthquake> &earthquakes(GeoData &data)
{
    static std::map<QString, QList<Earthquake>> cache;
    const QString path = QDir(data.folder()).filePath(QStringLiteral("earthquakes.csv"));
    if (auto it = cache.find(path); it != cache.end())
        return it->second;
    QString error;
    QList<Earthquake> list = readEarthquakes(path, &error);
    if (!error.isEmpty())
        throw GeoDataError(error.toStdString());
    return cache.emplace(path, list).first->second;
}

QList<Volcano> volcanoes(GeoData &data)
{
    QList<Volcano> out;
    for (const GeoFeature &f : data.geoJson(QStringLiteral("volcanoes.json"))) {
        for (const QPointF &p : f.points) {
            Volcano v;
            v.at = p;
            v.name = f.text(QStringLiteral("name"));
            v.type = f.text(QStringLiteral("type"));
            v.status = f.text(QStringLiteral("status"));
            v.elevation = f.properties.value(QStringLiteral("elev")).toDouble();
            out.append(v);
        }
    }
    return out;
}

namespace {

QVector3D unit(const QPointF &lonLat)
{
    const double lon = qDegreesToRadians(lonLat.x());
    const double lat = qDegreesToRadians(lonLat.y());
    return QVector3D(float(std::cos(lat) * std::cos(lon)), float(std::cos(lat) * std::sin(lon)), float(std::sin(lat)));
}

} // namespace

QPointF rotatedAbout(const QPointF &lonLat, const QPointF &poleLonLat, double angleDegrees)
{
    // Rodrigues' formula, in double precision
    const QVector3D kf = unit(poleLonLat);
    const QVector3D vf = unit(lonLat);
    const double k[3] = {kf.x(), kf.y(), kf.z()};
    const double v[3] = {vf.x(), vf.y(), vf.z()};
    const double a = qDegreesToRadians(angleDegrees);
    const double c = std::cos(a), s = std::sin(a);
    const double dot = k[0] * v[0] + k[1] * v[1] + k[2] * v[2];
    const double cross[3] = {k[1] * v[2] - k[2] * v[1], k[2] * v[0] - k[0] * v[2], k[0] * v[1] - k[1] * v[0]};
    double r[3];
    for (int i = 0; i < 3; ++i)
        r[i] = v[i] * c + cross[i] * s + k[i] * dot * (1 - c);
    const double lat = qRadiansToDegrees(std::asin(std::clamp(r[2], -1.0, 1.0)));
    const double lon = qRadiansToDegrees(std::atan2(r[1], r[0]));
    return QPointF(lon, lat);
}

QPointF travelled(const QPointF &lonLat, double azimuthDegrees, double distanceKm)
{
    constexpr double kEarthRadiusKm = 6371.0;
    const double d = distanceKm / kEarthRadiusKm;
    const double az = qDegreesToRadians(azimuthDegrees);
    const double lat1 = qDegreesToRadians(lonLat.y());
    const double lon1 = qDegreesToRadians(lonLat.x());
    const double lat2 = std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(az));
    const double lon2 = lon1 + std::atan2(std::sin(az) * std::sin(d) * std::cos(lat1), std::cos(d) - std::sin(lat1) * std::sin(lat2));
    // longitude back into [-180, 180]
    return QPointF(std::remainder(qRadiansToDegrees(lon2), 360.0), qRadiansToDegrees(lat2));
}

} // namespace disegni
