#include "Paleo.h"

#include <QFile>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace disegni::paleo {

namespace {

struct Vec3 {
    double x, y, z;
};

Vec3 cross(const Vec3 &a, const Vec3 &b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 toVector(const QPointF &lonLat)
{
    const double lon = qDegreesToRadians(lonLat.x());
    const double lat = qDegreesToRadians(lonLat.y());
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

QPointF toLonLat(const Vec3 &v)
{
    const double horizontal = std::hypot(v.x, v.y);
    const double lat = qRadiansToDegrees(std::atan2(v.z, horizontal));
    // at a pole the longitude means nothing; 0 keeps it stable
    const double lon = horizontal < 1e-12 ? 0.0 : qRadiansToDegrees(std::atan2(v.y, v.x));
    return QPointF(lon, lat);
}

Vec3 rotateVector(const Quaternion &q, const Vec3 &v)
{
    // v' = v + w t + u × t with t = 2 u × v (u the vector part): q v q* without building matrices
    const Vec3 u{q.x, q.y, q.z};
    Vec3 t = cross(u, v);
    t = {2 * t.x, 2 * t.y, 2 * t.z};
    const Vec3 c = cross(u, t);
    return {v.x + q.w * t.x + c.x, v.y + q.w * t.y + c.y, v.z + q.w * t.z + c.z};
}

Quaternion normalised(const Quaternion &q)
{
    const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (n <= 0)
        return Quaternion::identity();
    return {q.w / n, q.x / n, q.y / n, q.z / n};
}

double dot(const Quaternion &a, const Quaternion &b)
{
    return a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
}

bool onDateLine(const QPointF &p)
{
    return std::abs(std::abs(p.x()) - 180.0) < 1e-6;
}

bool atPole(const QPointF &p)
{
    return std::abs(p.y()) >= 89.99;
}

// Two points that are one place on the sphere: equal, or the two ends of the date line.
bool samePlace(const QPointF &a, const QPointF &b)
{
    if (std::abs(a.y() - b.y()) > 1e-9)
        return false;
    return std::abs(a.x() - b.x()) < 1e-9 || (onDateLine(a) && onDateLine(b));
}

} // namespace

Quaternion Quaternion::aboutPole(double poleLat, double poleLon, double angleDegrees)
{
    const Vec3 axis = toVector(QPointF(poleLon, poleLat));
    const double half = qDegreesToRadians(angleDegrees) / 2;
    const double s = std::sin(half);
    return {std::cos(half), axis.x * s, axis.y * s, axis.z * s};
}

double Quaternion::angle() const
{
    return qRadiansToDegrees(2 * std::acos(std::clamp(std::abs(w), 0.0, 1.0)));
}

Quaternion operator*(const Quaternion &a, const Quaternion &b)
{
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
            a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

Quaternion slerp(const Quaternion &a, Quaternion b, double t)
{
    double d = dot(a, b);
    if (d < 0) {
        // q and -q are the same rotation: take the one on a's side, the shorter way round
        b = {-b.w, -b.x, -b.y, -b.z};
        d = -d;
    }
    double fa = 1 - t;
    double fb = t;
    if (d < 0.9999995) {
        const double theta = std::acos(std::min(d, 1.0));
        const double s = std::sin(theta);
        fa = std::sin((1 - t) * theta) / s;
        fb = std::sin(t * theta) / s;
    }
    return normalised({fa * a.w + fb * b.w, fa * a.x + fb * b.x, fa * a.y + fb * b.y, fa * a.z + fb * b.z});
}

double angleBetween(const Quaternion &a, const Quaternion &b)
{
    return (a.conjugate() * b).angle();
}

QPointF rotate(const Quaternion &q, const QPointF &lonLat)
{
    return toLonLat(rotateVector(q, toVector(lonLat)));
}

Ring rotate(const Quaternion &q, const Ring &ring)
{
    Ring out;
    out.reserve(ring.size());
    for (const QPointF &p : ring)
        out.append(rotate(q, p));
    return out;
}

GeoPolygon rotate(const Quaternion &q, const GeoPolygon &polygon)
{
    GeoPolygon out;
    out.rings.reserve(polygon.rings.size());
    for (const Ring &ring : polygon.rings)
        out.rings.append(rotate(q, ring));
    return out;
}

double distance(const QPointF &a, const QPointF &b)
{
    const Vec3 u = toVector(a);
    const Vec3 v = toVector(b);
    const Vec3 c = cross(u, v);
    return qRadiansToDegrees(std::atan2(std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z), u.x * v.x + u.y * v.y + u.z * v.z));
}

RotationModel RotationModel::parse(const QByteArray &text, QString *error)
{
    RotationModel model;
    int lastMoving = -1;
    int lastFixed = -1;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QByteArray line = lines.at(n);
        const qsizetype comment = line.indexOf('!');
        if (comment >= 0)
            line.truncate(comment);
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 1 && fields.first().isEmpty())
            continue;
        bool ok = fields.size() >= 6;
        double numbers[4] = {};
        int moving = 0;
        int fixed = 0;
        if (ok) {
            bool good = true;
            moving = fields.at(0).toInt(&good);
            ok = ok && good;
            for (int i = 0; i < 4; ++i) {
                numbers[i] = fields.at(i + 1).toDouble(&good);
                ok = ok && good && std::isfinite(numbers[i]);
            }
            fixed = fields.at(5).toInt(&good);
            ok = ok && good;
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("riga %1: attese sei colonne (placca, età, latitudine e longitudine del polo, "
                                        "angolo, placca fissa)")
                             .arg(n + 1);
            return {};
        }
        if (moving == 999)
            continue;
        QList<RotationSequence> &sequences = model.m_sequences[moving];
        if (moving != lastMoving || fixed != lastFixed || sequences.isEmpty()) {
            RotationSequence s;
            s.fixedPlate = fixed;
            sequences.append(s);
        }
        RotationSequence &s = sequences.last();
        const double age = numbers[0];
        if (!s.ages.isEmpty() && age < s.ages.last()) {
            if (error)
                *error = QStringLiteral("riga %1: le età di una placca devono crescere").arg(n + 1);
            return {};
        }
        s.ages.append(age);
        s.rotations.append(Quaternion::aboutPole(numbers[1], numbers[2], numbers[3]));
        lastMoving = moving;
        lastFixed = fixed;
    }
    if (model.isEmpty() && error)
        *error = QStringLiteral("nessuna rotazione");
    return model;
}

RotationModel RotationModel::read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    QString parseError;
    RotationModel model = parse(file.readAll(), &parseError);
    if (model.isEmpty() && error)
        *error = QStringLiteral("%1: %2").arg(path, parseError);
    return model;
}

std::optional<RotationModel::Relative> RotationModel::relative(int plate, double age) const
{
    const auto found = m_sequences.constFind(plate);
    if (found == m_sequences.constEnd())
        return std::nullopt;
    for (const RotationSequence &s : *found) {
        if (age < s.ages.first() || age > s.ages.last())
            continue;
        // first sample at or past the age
        const auto at = std::lower_bound(s.ages.begin(), s.ages.end(), age);
        const qsizetype i = at - s.ages.begin();
        if (s.ages.at(i) == age || i == 0)
            return Relative{s.fixedPlate, s.rotations.at(i)};
        const double young = s.ages.at(i - 1);
        const double old = s.ages.at(i);
        const double t = (age - young) / (old - young);
        return Relative{s.fixedPlate, slerp(s.rotations.at(i - 1), s.rotations.at(i), t)};
    }
    return std::nullopt;
}

QList<int> RotationModel::chain(int plate, double age) const
{
    // No real chain is this long; a longer one loops.
    constexpr int kLongestChain = 64;
    QList<int> plates{plate};
    while (plate != 0) {
        const std::optional<Relative> r = relative(plate, age);
        if (!r || plates.size() > kLongestChain)
            return {};
        plate = r->fixedPlate;
        plates.append(plate);
    }
    return plates;
}

std::optional<Quaternion> RotationModel::absolute(int plate, double age) const
{
    const QList<int> plates = chain(plate, age);
    if (plates.isEmpty())
        return std::nullopt;
    // total = R(k-1 on 0) ... R(1 on 2) R(0 on 1): the plate's own rotation applies first
    Quaternion total;
    for (qsizetype i = 0; i + 1 < plates.size(); ++i)
        total = relative(plates.at(i), age)->rotation * total;
    return normalised(total);
}

Ring sphericalRing(const Ring &ring)
{
    Ring out;
    out.reserve(ring.size());
    for (const QPointF &p : ring) {
        if (atPole(p))
            continue;
        if (!out.isEmpty() && samePlace(out.last(), p))
            continue;
        out.append(p);
    }
    while (out.size() > 1 && samePlace(out.first(), out.last()))
        out.removeLast();
    if (out.size() < 3)
        return {};
    out.append(out.first());
    return out;
}

QList<Ring> coastPieces(const Ring &ring)
{
    QList<Ring> pieces;
    Ring piece;
    const auto flush = [&pieces, &piece] {
        if (piece.size() > 1)
            pieces.append(piece);
        piece.clear();
    };
    for (qsizetype i = 0; i < ring.size(); ++i) {
        const QPointF p = ring.at(i);
        if (atPole(p)) {
            flush();
            continue;
        }
        if (!piece.isEmpty() && onDateLine(piece.last()) && onDateLine(p))
            flush();
        piece.append(p);
    }
    flush();
    // A ring cut only once joins up again: the piece after the cut continues into the first.
    if (pieces.size() > 1 && samePlace(pieces.first().first(), pieces.last().last()) && ring.first() == ring.last()) {
        Ring joined = pieces.takeLast();
        joined.removeLast();
        joined.append(pieces.takeFirst());
        pieces.prepend(joined);
    }
    return pieces;
}

QPointF sphericalCentre(const Ring &ring)
{
    Vec3 sum{0, 0, 0};
    for (const QPointF &p : ring) {
        const Vec3 v = toVector(p);
        sum = {sum.x + v.x, sum.y + v.y, sum.z + v.z};
    }
    return toLonLat(sum);
}

QList<PaleoFeature> paleoFeatures(const QList<GeoFeature> &features)
{
    QList<PaleoFeature> out;
    for (const GeoFeature &f : features) {
        for (const GeoPolygon &polygon : f.polygons) {
            PaleoFeature p;
            p.plateId = f.properties.value(QStringLiteral("plateId")).toInt();
            p.begin = f.properties.value(QStringLiteral("begin")).toDouble();
            p.end = f.properties.value(QStringLiteral("end")).toDouble();
            for (const Ring &ring : polygon.rings) {
                const Ring r = sphericalRing(ring);
                if (r.isEmpty()) {
                    if (p.area.rings.isEmpty())
                        break; // an outer ring too small to keep takes its holes with it
                    continue;
                }
                p.area.rings.append(r);
                p.coasts.append(coastPieces(ring));
            }
            if (p.area.rings.isEmpty())
                continue;
            p.centre = sphericalCentre(p.area.rings.first());
            out.append(p);
        }
    }
    return out;
}

} // namespace disegni::paleo
