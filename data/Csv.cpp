#include "data/Csv.h"

#include <QSaveFile>

#include <cmath>

namespace data {

namespace Csv {

namespace {
QByteArray testo(QString t)
{
    if (!t.isEmpty()) {
        const QChar primo = t.front();
        if (primo == QLatin1Char('=') || primo == QLatin1Char('+') || primo == QLatin1Char('-') ||
            primo == QLatin1Char('@') || primo == QLatin1Char('\t') || primo == QLatin1Char('\r'))
            t.prepend(QLatin1Char('\''));
    }
    // Every text is quoted, so a ";" or a line break inside it stays in its cell.
    t.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return '"' + t.toUtf8() + '"';
}

}  // namespace

QByteArray numero(double d)
{
    if (d == std::trunc(d) && std::fabs(d) < 1e15)
        return QByteArray::number(qint64(d));
    QByteArray n = QByteArray::number(d, 'f', 6);
    while (n.endsWith('0'))
        n.chop(1);
    if (n.endsWith('.'))
        n.chop(1);
    return n.replace('.', ',');
}

QByteArray cella(const QVariant& valore)
{
    if (!valore.isValid() || valore.isNull())
        return {};
    switch (valore.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QByteArray::number(valore.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = valore.toDouble();
        return std::isfinite(d) ? numero(d) : QByteArray();
    }
    case QMetaType::Bool:
        return valore.toBool() ? "1" : "0";
    case QMetaType::QDate:
        return valore.toDate().toString(QStringLiteral("dd/MM/yyyy")).toUtf8();
    case QMetaType::QDateTime:
        return valore.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy")).toUtf8();
    default:
        break;
    }
    return testo(valore.toString());
}

QByteArray riga(const QVariantList& valori)
{
    QByteArray out;
    for (qsizetype i = 0; i < valori.size(); ++i) {
        if (i > 0)
            out += ';';
        out += cella(valori.at(i));
    }
    return out + "\r\n";
}

bool scrivi(const QString& percorso, const QStringList& intestazione, const Prossime& prossime, QString* errore)
{
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errore)
            *errore = QStringLiteral("non riesco a scrivere il file %1 (%2)").arg(percorso, file.errorString());
        return false;
    }
    file.write("\xEF\xBB\xBF");
    QVariantList titoli;
    for (const QString& t : intestazione)
        titoli << t;
    file.write(riga(titoli));
    QVector<QVariantList> righe;
    for (;;) {
        QString motivo;
        if (!prossime(&righe, &motivo)) {
            file.cancelWriting();
            if (errore)
                *errore = motivo;
            return false;
        }
        if (righe.isEmpty())
            break;
        QByteArray blocco;
        for (const QVariantList& r : std::as_const(righe))
            blocco += riga(r);
        file.write(blocco);
    }
    if (!file.commit()) {
        if (errore)
            *errore = QStringLiteral("il file %1 non si è potuto salvare (%2)").arg(percorso, file.errorString());
        return false;
    }
    return true;
}

bool scrivi(const QString& percorso, const QStringList& intestazione, const QVector<QVariantList>& righe,
            QString* errore)
{
    bool dato = false;
    return scrivi(
        percorso, intestazione,
        [&](QVector<QVariantList>* out, QString*) {
            *out = dato ? QVector<QVariantList>() : righe;
            dato = true;
            return true;
        },
        errore);
}

QString nomeProposto(const QString& inizio, const QDate& giorno)
{
    return QStringLiteral("%1-%2.csv").arg(inizio, giorno.toString(Qt::ISODate));
}

}  // namespace Csv

}  // namespace data
