#include "Plates.h"

#include "GeoData.h"

#include <QHash>

namespace disegni {

const QList<MajorPlate> &majorPlates()
{
    // Tonga, Kermadec and the reef plates lie west of the Tonga-Kermadec trench, so they go with
    // the Indo-Australian plate; Burma, Sunda and the Banda and Molucca seas with Eurasia;
    // Okhotsk with North America, as school atlases draw them.
    static const QList<MajorPlate> plates = {
        {QStringLiteral("PA"), QStringLiteral("placca del Pacifico"), QStringLiteral("PACIFICA"),
         {QStringLiteral("PA"), QStringLiteral("CL"), QStringLiteral("NB"), QStringLiteral("MN")},
         QPointF(-150, 5)},
        {QStringLiteral("NA"), QStringLiteral("placca nordamericana"), QStringLiteral("NORDAMERICANA"),
         {QStringLiteral("NA"), QStringLiteral("OK")}, QPointF(-100, 48)},
        {QStringLiteral("SA"), QStringLiteral("placca sudamericana"), QStringLiteral("SUDAMERICANA"),
         {QStringLiteral("SA"), QStringLiteral("AP"), QStringLiteral("ND")}, QPointF(-50, -18)},
        {QStringLiteral("EU"), QStringLiteral("placca euroasiatica"), QStringLiteral("EUROASIATICA"),
         {QStringLiteral("EU"), QStringLiteral("AS"), QStringLiteral("AT"), QStringLiteral("YA"),
          QStringLiteral("AM"), QStringLiteral("SU"), QStringLiteral("BU"), QStringLiteral("ON"),
          QStringLiteral("MS"), QStringLiteral("BS")},
         QPointF(70, 55)},
        {QStringLiteral("AF"), QStringLiteral("placca africana"), QStringLiteral("AFRICANA"),
         {QStringLiteral("AF")}, QPointF(10, 5)},
        {QStringLiteral("SO"), QStringLiteral("placca somala"), QStringLiteral("SOMALA"),
         {QStringLiteral("SO")}, QPointF(50, -15)},
        {QStringLiteral("AU"), QStringLiteral("placca indo-australiana"), QStringLiteral("INDO-AUSTRALIANA"),
         {QStringLiteral("AU"), QStringLiteral("IN"), QStringLiteral("TI"), QStringLiteral("MO"),
          QStringLiteral("BH"), QStringLiteral("WL"), QStringLiteral("SS"), QStringLiteral("SB"),
          QStringLiteral("NH"), QStringLiteral("CR"), QStringLiteral("BR"), QStringLiteral("KE"),
          QStringLiteral("TO"), QStringLiteral("NI"), QStringLiteral("FT")},
         QPointF(115, -30)},
        {QStringLiteral("AN"), QStringLiteral("placca antartica"), QStringLiteral("ANTARTICA"),
         {QStringLiteral("AN"), QStringLiteral("SL")}, QPointF(40, -72)},
        {QStringLiteral("NZ"), QStringLiteral("placca di Nazca"), QStringLiteral("NAZCA"),
         {QStringLiteral("NZ"), QStringLiteral("EA"), QStringLiteral("JZ")}, QPointF(-92, -20)},
        {QStringLiteral("AR"), QStringLiteral("placca araba"), QStringLiteral("ARABA"),
         {QStringLiteral("AR")}, QPointF(46, 23)},
        {QStringLiteral("PS"), QStringLiteral("placca filippina"), QStringLiteral("FILIPPINA"),
         {QStringLiteral("PS"), QStringLiteral("MA")}, QPointF(134, 18)},
        {QStringLiteral("CA"), QStringLiteral("placca caraibica"), QStringLiteral("CARAIBICA"),
         {QStringLiteral("CA"), QStringLiteral("PM")}, QPointF(-75, 14.5)},
        {QStringLiteral("CO"), QStringLiteral("placca di Cocos"), QStringLiteral("COCOS"),
         {QStringLiteral("CO"), QStringLiteral("RI"), QStringLiteral("GP")}, QPointF(-95, 8)},
        {QStringLiteral("JF"), QStringLiteral("placca di Juan de Fuca"), QStringLiteral("JUAN DE FUCA"),
         {QStringLiteral("JF")}, QPointF(-128, 46)},
        {QStringLiteral("SC"), QStringLiteral("placca di Scotia"), QStringLiteral("SCOTIA"),
         {QStringLiteral("SC"), QStringLiteral("SW")}, QPointF(-45, -57.5)},
    };
    return plates;
}

QString majorPlateOf(const QString &code)
{
    static const QHash<QString, QString> byCode = [] {
        QHash<QString, QString> h;
        for (const MajorPlate &m : majorPlates()) {
            for (const QString &c : m.codes)
                h.insert(c, m.key);
        }
        return h;
    }();
    return byCode.value(code);
}

PlateModel::PlateModel(GeoData &data)
{
    for (const GeoFeature &f : data.plates()) {
        const QString code = f.text(QStringLiteral("Code"));
        for (const GeoPolygon &p : f.polygons)
            m_polygons.append({code, p});
    }
    for (const GeoFeature &f : data.boundaries()) {
        for (const Ring &line : f.lines) {
            PlateBoundary b;
            b.name = f.text(QStringLiteral("Name"));
            b.plateA = f.text(QStringLiteral("PlateA"));
            b.plateB = f.text(QStringLiteral("PlateB"));
            b.subduction = f.text(QStringLiteral("Type")) == QLatin1String("subduction");
            b.line = line;
            m_boundaries.append(b);
        }
    }
}

QList<GeoPolygon> PlateModel::polygonsOf(const QString &majorKey) const
{
    QList<GeoPolygon> out;
    for (const auto &[code, polygon] : m_polygons) {
        if (majorPlateOf(code) == majorKey)
            out.append(polygon);
    }
    return out;
}

QList<Ring> PlateModel::majorBoundaryLines() const
{
    QList<Ring> out;
    for (const PlateBoundary &b : m_boundaries) {
        if (majorPlateOf(b.plateA) != majorPlateOf(b.plateB))
            out.append(b.line);
    }
    return out;
}

QList<Ring> PlateModel::boundaryLines(bool subduction) const
{
    QList<Ring> out;
    for (const PlateBoundary &b : m_boundaries) {
        if (b.subduction == subduction)
            out.append(b.line);
    }
    return out;
}

} // namespace disegni
