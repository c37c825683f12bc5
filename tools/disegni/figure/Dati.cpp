#include "Dati.h"

#include <QDir>
#include <QFile>

#include <cmath>

namespace disegni {

QList<Terremoto> leggiTerremoti(const QByteArray &csv, const QString &nome)
{
    QList<QByteArray> righe = csv.split('\n');
    if (righe.isEmpty())
        throw GeoDataError(QStringLiteral("%1: vuoto").arg(nome).toStdString());
    const QList<QByteArray> intestazione = righe.takeFirst().trimmed().split(',');
    const qsizetype lat = intestazione.indexOf("latitude"), lon = intestazione.indexOf("longitude"),
                    depth = intestazione.indexOf("depth"), mag = intestazione.indexOf("magnitude");
    if (lat < 0 || lon < 0 || depth < 0 || mag < 0)
        throw GeoDataError(QStringLiteral("%1: mancano le colonne latitude, longitude, depth, magnitude").arg(nome).toStdString());
    QList<Terremoto> out;
    for (const QByteArray &riga : righe) {
        const QList<QByteArray> campi = riga.trimmed().split(',');
        if (campi.size() != intestazione.size())
            continue;
        bool ok[4];
        Terremoto t;
        t.lon = campi.at(lon).toDouble(&ok[0]);
        t.lat = campi.at(lat).toDouble(&ok[1]);
        t.depth = campi.at(depth).toDouble(&ok[2]);
        t.magnitude = campi.at(mag).toDouble(&ok[3]);
        if (ok[0] && ok[1] && ok[2] && ok[3] && std::abs(t.lat) <= 90 && std::abs(t.lon) <= 360)
            out.append(t);
    }
    if (out.isEmpty())
        throw GeoDataError(QStringLiteral("%1: nessun terremoto").arg(nome).toStdString());
    return out;
}

QList<Terremoto> terremoti(GeoData &data)
{
    QFile f(QDir(data.folder()).filePath(QStringLiteral("earthquakes.csv")));
    if (!f.open(QIODevice::ReadOnly))
        throw GeoDataError(QStringLiteral("%1: %2").arg(f.fileName(), f.errorString()).toStdString());
    return leggiTerremoti(f.readAll(), f.fileName());
}

} // namespace disegni
