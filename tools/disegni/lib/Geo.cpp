#include "Geo.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace disegni {

namespace {

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

bool readFile(const QString &path, QByteArray *data, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    *data = file.readAll();
    return true;
}

bool parseDocument(const QByteArray &json, QJsonObject *root, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull() || !doc.isObject()) {
        setError(error, QStringLiteral("JSON non valido: %1 (offset %2)")
                            .arg(parseError.errorString())
                            .arg(parseError.offset));
        return false;
    }
    *root = doc.object();
    return true;
}

QPointF position(const QJsonArray &pair)
{
    return QPointF(pair.at(0).toDouble(), pair.at(1).toDouble());
}

Ring positions(const QJsonArray &list)
{
    Ring ring;
    ring.reserve(list.size());
    for (const QJsonValue &p : list)
        ring.append(position(p.toArray()));
    return ring;
}

GeoPolygon polygonFrom(const QJsonArray &rings)
{
    GeoPolygon polygon;
    for (const QJsonValue &r : rings)
        polygon.rings.append(positions(r.toArray()));
    return polygon;
}

void addGeoJsonGeometry(const QJsonObject &geometry, GeoFeature *feature)
{
    const QString type = geometry.value(QLatin1String("type")).toString();
    const QJsonArray coords = geometry.value(QLatin1String("coordinates")).toArray();
    if (type == QLatin1String("Point")) {
        feature->points.append(position(coords));
    } else if (type == QLatin1String("MultiPoint")) {
        feature->points.append(positions(coords));
    } else if (type == QLatin1String("LineString")) {
        feature->lines.append(positions(coords));
    } else if (type == QLatin1String("MultiLineString")) {
        for (const QJsonValue &l : coords)
            feature->lines.append(positions(l.toArray()));
    } else if (type == QLatin1String("Polygon")) {
        feature->polygons.append(polygonFrom(coords));
    } else if (type == QLatin1String("MultiPolygon")) {
        for (const QJsonValue &p : coords)
            feature->polygons.append(polygonFrom(p.toArray()));
    } else if (type == QLatin1String("GeometryCollection")) {
        for (const QJsonValue &g : geometry.value(QLatin1String("geometries")).toArray())
            addGeoJsonGeometry(g.toObject(), feature);
    }
}

// Arcs of a topology decoded to longitude/latitude.
class TopoArcs
{
public:
    explicit TopoArcs(const QJsonObject &topology)
    {
        const QJsonObject transform = topology.value(QLatin1String("transform")).toObject();
        m_quantized = !transform.isEmpty();
        if (m_quantized) {
            const QJsonArray scale = transform.value(QLatin1String("scale")).toArray();
            const QJsonArray translate = transform.value(QLatin1String("translate")).toArray();
            m_scale = QPointF(scale.at(0).toDouble(), scale.at(1).toDouble());
            m_translate = QPointF(translate.at(0).toDouble(), translate.at(1).toDouble());
        }
        const QJsonArray arcs = topology.value(QLatin1String("arcs")).toArray();
        m_arcs.reserve(arcs.size());
        for (const QJsonValue &a : arcs) {
            Ring arc;
            double x = 0, y = 0;
            for (const QJsonValue &p : a.toArray()) {
                const QJsonArray pair = p.toArray();
                if (m_quantized) {
                    x += pair.at(0).toDouble();
                    y += pair.at(1).toDouble();
                    arc.append(toGeo(x, y));
                } else {
                    arc.append(position(pair));
                }
            }
            m_arcs.append(arc);
        }
    }

    // Point coordinates are absolute positions, not deltas.
    QPointF point(const QJsonArray &pair) const
    {
        return m_quantized ? toGeo(pair.at(0).toDouble(), pair.at(1).toDouble()) : position(pair);
    }

    bool valid(int index) const
    {
        const int i = index < 0 ? ~index : index;
        return i >= 0 && i < m_arcs.size();
    }

    // Concatenates arcs; ~i means arc i reversed. The first point of each following arc repeats
    // the last point of the previous one and is dropped.
    Ring join(const QJsonArray &indexes) const
    {
        Ring out;
        for (const QJsonValue &v : indexes) {
            const int index = v.toInt();
            if (!valid(index))
                continue;
            Ring arc = index < 0 ? m_arcs.at(~index) : m_arcs.at(index);
            if (index < 0)
                std::reverse(arc.begin(), arc.end());
            if (!out.isEmpty() && !arc.isEmpty())
                arc.removeFirst();
            out.append(arc);
        }
        return out;
    }

private:
    QPointF toGeo(double x, double y) const
    {
        return QPointF(x * m_scale.x() + m_translate.x(), y * m_scale.y() + m_translate.y());
    }

    bool m_quantized = false;
    QPointF m_scale{1, 1};
    QPointF m_translate{0, 0};
    QList<Ring> m_arcs;
};

GeoPolygon topoPolygon(const TopoArcs &arcs, const QJsonArray &rings)
{
    GeoPolygon polygon;
    for (const QJsonValue &r : rings)
        polygon.rings.append(arcs.join(r.toArray()));
    return polygon;
}

void addTopoGeometry(const TopoArcs &arcs, const QJsonObject &geometry, QList<GeoFeature> *out)
{
    const QString type = geometry.value(QLatin1String("type")).toString();
    if (type == QLatin1String("GeometryCollection")) {
        for (const QJsonValue &g : geometry.value(QLatin1String("geometries")).toArray())
            addTopoGeometry(arcs, g.toObject(), out);
        return;
    }
    GeoFeature feature;
    feature.properties = geometry.value(QLatin1String("properties")).toObject();
    if (geometry.contains(QLatin1String("id")))
        feature.properties.insert(QStringLiteral("id"), geometry.value(QLatin1String("id")));
    const QJsonArray a = geometry.value(QLatin1String("arcs")).toArray();
    if (type == QLatin1String("Polygon")) {
        feature.polygons.append(topoPolygon(arcs, a));
    } else if (type == QLatin1String("MultiPolygon")) {
        for (const QJsonValue &p : a)
            feature.polygons.append(topoPolygon(arcs, p.toArray()));
    } else if (type == QLatin1String("LineString")) {
        feature.lines.append(arcs.join(a));
    } else if (type == QLatin1String("MultiLineString")) {
        for (const QJsonValue &l : a)
            feature.lines.append(arcs.join(l.toArray()));
    } else if (type == QLatin1String("Point")) {
        feature.points.append(arcs.point(geometry.value(QLatin1String("coordinates")).toArray()));
    } else if (type == QLatin1String("MultiPoint")) {
        for (const QJsonValue &p : geometry.value(QLatin1String("coordinates")).toArray())
            feature.points.append(arcs.point(p.toArray()));
    }
    out->append(feature);
}

} // namespace

QList<GeoFeature> parseGeoJson(const QByteArray &json, QString *error)
{
    QJsonObject root;
    if (!parseDocument(json, &root, error))
        return {};
    QList<GeoFeature> out;
    const QString type = root.value(QLatin1String("type")).toString();
    auto addFeature = [&out](const QJsonObject &f) {
        GeoFeature feature;
        feature.properties = f.value(QLatin1String("properties")).toObject();
        addGeoJsonGeometry(f.value(QLatin1String("geometry")).toObject(), &feature);
        out.append(feature);
    };
    if (type == QLatin1String("FeatureCollection")) {
        for (const QJsonValue &f : root.value(QLatin1String("features")).toArray())
            addFeature(f.toObject());
    } else if (type == QLatin1String("Feature")) {
        addFeature(root);
    } else if (!type.isEmpty()) {
        GeoFeature feature;
        addGeoJsonGeometry(root, &feature);
        out.append(feature);
    } else {
        setError(error, QStringLiteral("non è GeoJSON: manca \"type\""));
    }
    return out;
}

QList<GeoFeature> readGeoJson(const QString &path, QString *error)
{
    QByteArray data;
    if (!readFile(path, &data, error))
        return {};
    QString why;
    QList<GeoFeature> out = parseGeoJson(data, &why);
    if (!why.isEmpty())
        setError(error, QStringLiteral("%1: %2").arg(path, why));
    return out;
}

QList<GeoFeature> parseTopoJson(const QByteArray &json, const QString &object, QString *error)
{
    QJsonObject root;
    if (!parseDocument(json, &root, error))
        return {};
    if (root.value(QLatin1String("type")).toString() != QLatin1String("Topology")) {
        setError(error, QStringLiteral("non è una topologia TopoJSON"));
        return {};
    }
    const QJsonObject objects = root.value(QLatin1String("objects")).toObject();
    if (!objects.contains(object)) {
        setError(error, QStringLiteral("manca l'oggetto \"%1\"").arg(object));
        return {};
    }
    const TopoArcs arcs(root);
    QList<GeoFeature> out;
    addTopoGeometry(arcs, objects.value(object).toObject(), &out);
    return out;
}

QList<GeoFeature> readTopoJson(const QString &path, const QString &object, QString *error)
{
    QByteArray data;
    if (!readFile(path, &data, error))
        return {};
    QString why;
    QList<GeoFeature> out = parseTopoJson(data, object, &why);
    if (!why.isEmpty())
        setError(error, QStringLiteral("%1: %2").arg(path, why));
    return out;
}

QList<GeoPolygon> allPolygons(const QList<GeoFeature> &features)
{
    QList<GeoPolygon> out;
    for (const GeoFeature &f : features)
        out.append(f.polygons);
    return out;
}

} // namespace disegni
