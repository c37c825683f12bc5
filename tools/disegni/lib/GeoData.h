#pragma once

#include "Geo.h"

#include <QString>

#include <map>
#include <stdexcept>

namespace disegni {

struct GeoDataError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The shared geographic data sets, read from their folder when first asked for and kept for the
// rest of the run. The files stay outside the repository: only the pictures drawn from them are ours.
class GeoData
{
public:
    enum class Detail { Coarse, Fine }; // Natural Earth 1:110m and 1:50m

    explicit GeoData(const QString &folder);

    QString folder() const { return m_folder; }
    // True when the folder holds the plate outlines; pictures without maps can do without.
    bool available() const;

    const QList<GeoFeature> &land(Detail detail = Detail::Coarse);
    const QList<GeoFeature> &countries(Detail detail = Detail::Coarse);
    const QList<GeoFeature> &plates();      // PB2002 outlines, property Code
    const QList<GeoFeature> &boundaries();  // PB2002 boundary lines, exact duplicates removed
    const QList<GeoFeature> &orogens();     // PB2002 orogen outlines

    // Throws GeoDataError when the file is missing or unreadable.
    const QList<GeoFeature> &geoJson(const QString &fileName);
    const QList<GeoFeature> &topoJson(const QString &fileName, const QString &object);

private:
    QString m_folder;
    // std::map: references handed out stay valid while later data sets are added
    std::map<QString, QList<GeoFeature>> m_cache;
};

} // namespace disegni
