#include "Boundaries.h"

#include "GeoData.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTextStream>
#include <QtMath>

#include <algorithm>
#include <cmath>

#include <map>

namespace disegni {

Margin marginOf(StepClass c)
{
    switch (c) {
    case StepClass::SpreadingRidge:
    case StepClass::ContinentalRift:
        return Margin::Constructive;
    case StepClass::Subduction:
        return Margin::Destructive;
    case StepClass::OceanicConvergent:
    case StepClass::ContinentalConvergent:
        return Margin::Collision;
    case StepClass::OceanicTransform:
    case StepClass::ContinentalTransform:
        break;
    }
    return Margin::Conservative;
}

bool BoundaryPiece::overridingOnLeft() const
{
    return name.contains(QLatin1Char('/'));
}

namespace {

bool stepClassFrom(const QString &code, StepClass *out)
{
    static const QHash<QString, StepClass> classes = {
        {QStringLiteral("OSR"), StepClass::SpreadingRidge},
        {QStringLiteral("CRB"), StepClass::ContinentalRift},
        {QStringLiteral("OTF"), StepClass::OceanicTransform},
        {QStringLiteral("CTF"), StepClass::ContinentalTransform},
        {QStringLiteral("SUB"), StepClass::Subduction},
        {QStringLiteral("OCB"), StepClass::OceanicConvergent},
        {QStringLiteral("CCB"), StepClass::ContinentalConvergent},
    };
    const auto it = classes.constFind(code.trimmed());
    if (it == classes.constEnd())
        return false;
    *out = *it;
    return true;
}

bool joins(const QPointF &a, const QPointF &b)
{
    // the same point, also when one side writes it as -180 and the other as 180
    const double dx = std::abs(a.x() - b.x());
    return std::abs(a.y() - b.y()) < 1e-3 && (dx < 1e-3 || std::abs(dx - 360.0) < 1e-3);
}

bool isTransform(StepClass c)
{
    return c == StepClass::OceanicTransform || c == StepClass::ContinentalTransform;
}

bool isOpening(StepClass c)
{
    return c == StepClass::SpreadingRidge || c == StepClass::ContinentalRift;
}

void append(QList<BoundaryPiece> *pieces, const BoundaryPiece &next)
{
    if (!pieces->isEmpty()) {
        BoundaryPiece &last = pieces->last();
        if (last.name == next.name && last.stepClass == next.stepClass && joins(last.line.last(), next.line.first())) {
            const double total = last.lengthKm + next.lengthKm;
            if (total > 0) {
                last.speedMmYear = (last.speedMmYear * last.lengthKm + next.speedMmYear * next.lengthKm) / total;
                last.velocity = (last.velocity * last.lengthKm + next.velocity * next.lengthKm) / total;
            }
            last.lengthKm = total;
            last.line.append(next.line.mid(1));
            return;
        }
    }
    pieces->append(next);
}

} // namespace

QList<BoundaryPiece> readBoundarySteps(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    QTextStream in(&file);
    const QStringList header = in.readLine().split(QLatin1Char(','));
    const auto column = [&header](const char *name) { return header.indexOf(QLatin1String(name)); };
    const int cName = column("PlateBoundIdentifer");
    const int cLon0 = column("StartLong"), cLat0 = column("StartLat");
    const int cLon1 = column("FinalLong"), cLat1 = column("FinalLat");
    const int cLength = column("StepLength(km)");
    const int cSpeed = column("VelocityLeft");
    const int cAzimuth = column("VelocityAzimuth");
    const int cClass = column("StepClass");
    if (std::min({cName, cLon0, cLat0, cLon1, cLat1, cLength, cSpeed, cAzimuth, cClass}) < 0) {
        if (error)
            *error = QStringLiteral("%1: colonne mancanti").arg(path);
        return {};
    }
    QList<BoundaryPiece> pieces;
    int lineNumber = 1;
    while (!in.atEnd()) {
        ++lineNumber;
        const QStringList f = in.readLine().split(QLatin1Char(','));
        if (f.size() < header.size())
            continue;
        BoundaryPiece step;
        bool ok = stepClassFrom(f.at(cClass), &step.stepClass);
        bool okNumber = true;
        const auto number = [&f, &okNumber](int c) {
            bool good = false;
            const double v = f.at(c).toDouble(&good);
            okNumber = okNumber && good;
            return v;
        };
        step.name = f.at(cName).trimmed();
        step.line = {QPointF(number(cLon0), number(cLat0)), QPointF(number(cLon1), number(cLat1))};
        step.lengthKm = number(cLength);
        step.speedMmYear = number(cSpeed);
        const double azimuth = qDegreesToRadians(number(cAzimuth));
        step.velocity = QPointF(std::sin(azimuth), std::cos(azimuth)) * step.speedMmYear;
        const qsizetype sep = step.name.indexOf(QRegularExpression(QStringLiteral("[-/\\\\]")));
        if (!ok || !okNumber || sep != 2) {
            if (error)
                *error = QStringLiteral("%1: riga %2 non valida").arg(path).arg(lineNumber);
            return {};
        }
        step.left = step.name.left(sep);
        step.right = step.name.mid(sep + 1);
        append(&pieces, step);
    }
    return pieces;
}

const QList<BoundaryPiece> &boundarySteps(GeoData &data)
{
    static std::map<QString, QList<BoundaryPiece>> cache;
    const QString path = QDir(data.folder()).filePath(QStringLiteral("PB2002_steps.csv"));
    if (auto it = cache.find(path); it != cache.end())
        return it->second;
    QString error;
    QList<BoundaryPiece> pieces = readBoundarySteps(path, &error);
    if (!error.isEmpty())
        throw GeoDataError(error.toStdString());
    return cache.emplace(path, pieces).first->second;
}

QList<BoundaryPiece> generalised(const QList<BoundaryPiece> &pieces, double minTransformKm)
{
    QList<BoundaryPiece> relabelled = pieces;
    for (qsizetype i = 0; i < relabelled.size(); ++i) {
        BoundaryPiece &p = relabelled[i];
        if (!isTransform(p.stepClass) || p.lengthKm >= minTransformKm)
            continue;
        const auto opening = [&](qsizetype j) -> const BoundaryPiece * {
            if (j < 0 || j >= pieces.size())
                return nullptr;
            const BoundaryPiece &q = pieces.at(j);
            const bool touches = joins(q.line.last(), p.line.first()) || joins(p.line.last(), q.line.first());
            return q.name == p.name && touches && isOpening(q.stepClass) ? &q : nullptr;
        };
        const BoundaryPiece *before = opening(i - 1);
        const BoundaryPiece *after = opening(i + 1);
        if (before || after)
            p.stepClass = (before ? before : after)->stepClass;
    }
    QList<BoundaryPiece> out;
    for (const BoundaryPiece &p : relabelled)
        append(&out, p);
    return out;
}

} // namespace disegni
