#pragma once

// Data sets of ../shared/geo that only the lesson pictures use: the earthquake catalogue and the
// volcanoes, read at drawing time like the rest.

#include "GeoData.h"

#include <QByteArray>
#include <QList>

namespace disegni {

struct Terremoto {
    double lon = 0, lat = 0, depth = 0, magnitude = 0;
};

// A catalogue in CSV with a header naming at least latitude, longitude, depth and magnitude, in any
// order; rows that do not read as numbers are skipped. Throws GeoDataError when a column is missing
// or no row is left.
QList<Terremoto> leggiTerremoti(const QByteArray &csv, const QString &nome);
// earthquakes.csv of the data folder.
QList<Terremoto> terremoti(GeoData &data);

// A volcano of volcanoes.json counted as active: it erupted in the last ten thousand years, however
// the date is known; doubtful and older ones are left out.
bool vulcanoAttivo(const GeoFeature &vulcano);

} // namespace disegni
