#pragma once

// The earthquake catalogue of ../shared/geo as the lesson pictures read it, at drawing time like the
// rest. The volcanoes, and which of them are active, are in Events.h.

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

} // namespace disegni
