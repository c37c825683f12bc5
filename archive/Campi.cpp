#include "archive/Campi.h"

#include "data/Csv.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

namespace Campi {

namespace {
QString data(const QVariant& valore)
{
    if (valore.metaType().id() == QMetaType::QDate)
        return valore.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (valore.metaType().id() == QMetaType::QDateTime)
        return valore.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy"));
    const QString text = valore.toString().trimmed();
    // The engine keeps a date as "yyyy-mm-dd", sometimes followed by a time.
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (date.isValid() && (text.size() == 10 || text.at(10) == QLatin1Char(' ') || text.at(10) == QLatin1Char('T')))
        return date.toString(QStringLiteral("dd/MM/yyyy"));
    return text;
}

// Whole numbers come out whole, others with a decimal comma, as the export writes them.
QString numero(const QVariant& valore)
{
    bool ok = false;
    const double d = valore.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return valore.toString();
    return QString::fromLatin1(data::Csv::numero(d));
}
}  // namespace

QString testo(const QVariant& valore, Tipo tipo)
{
    if (!valore.isValid() || valore.isNull())
        return {};
    switch (tipo) {
    case Tipo::Data:
        return data(valore);
    case Tipo::Numero:
        return numero(valore);
    case Tipo::Testo:
        break;
    }
    return valore.toString();
}

}  // namespace Campi
