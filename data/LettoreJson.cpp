#include "data/LettoreJson.h"

#include <QFile>
#include <QJsonDocument>

namespace data {

void LettoreJson::sbaglio(const QString& dove, const QString& cosa)
{
    if (errore.isEmpty())
        errore = dove.isEmpty() ? cosa : QStringLiteral("%1: %2").arg(dove, cosa);
}

QJsonObject LettoreJson::documento(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        sbaglio({}, QStringLiteral("il file manca o non si può leggere"));
        return {};
    }
    return documento(f.readAll());
}

QJsonObject LettoreJson::documento(const QByteArray& json)
{
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError)
        sbaglio({}, QStringLiteral("carattere %1: %2").arg(parse.offset).arg(parse.errorString()));
    else if (!doc.isObject())
        sbaglio({}, QStringLiteral("serve un oggetto JSON { ... }"));
    return doc.object();
}

QJsonObject LettoreJson::oggetto(const QJsonValue& v, const QString& dove, const QStringList& chiavi)
{
    if (!v.isObject()) {
        sbaglio(dove, QStringLiteral("serve un oggetto { ... }"));
        return {};
    }
    const QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!chiavi.contains(it.key()))
            sbaglio(dove, QStringLiteral("voce sconosciuta \"%1\" (sono ammesse: %2)").arg(it.key(), chiavi.join(QStringLiteral(", "))));
    return o;
}

QJsonArray LettoreJson::elenco(const QJsonValue& v, const QString& dove, int quante)
{
    if (!v.isArray()) {
        sbaglio(dove, QStringLiteral("serve un elenco [ ... ] di %1 voci").arg(quante));
        return {};
    }
    const QJsonArray a = v.toArray();
    if (a.size() != quante) {
        sbaglio(dove, QStringLiteral("servono %1 voci, ce ne sono %2").arg(quante).arg(a.size()));
        return {};
    }
    return a;
}

int LettoreJson::intero(const QJsonValue& v, const QString& dove, int min, int max)
{
    if (!v.isDouble() || v.toDouble() != double(v.toInt()) || v.toInt() < min || v.toInt() > max) {
        sbaglio(dove, QStringLiteral("serve un numero intero da %1 a %2").arg(min).arg(max));
        return min;
    }
    return v.toInt();
}

bool LettoreJson::booleano(const QJsonValue& v, const QString& dove)
{
    if (!v.isBool())
        sbaglio(dove, QStringLiteral("serve true o false"));
    return v.toBool();
}

QString LettoreJson::testo(const QJsonValue& v, const QString& dove)
{
    if (!v.isString()) {
        sbaglio(dove, QStringLiteral("serve un testo"));
        return {};
    }
    return v.toString();
}

QString LettoreJson::testoPieno(const QJsonValue& v, const QString& dove)
{
    const QString t = testo(v, dove);
    if (v.isString() && t.trimmed().isEmpty())
        sbaglio(dove, QStringLiteral("il testo è vuoto"));
    return t;
}

QString LettoreJson::righe(const QJsonValue& v, const QString& dove)
{
    if (!v.isArray()) {
        sbaglio(dove, QStringLiteral("serve un elenco di righe"));
        return {};
    }
    QStringList lines;
    for (const QJsonValue& line : v.toArray())
        lines << testo(line, dove);
    return lines.join(QLatin1Char('\r'));
}

QRect LettoreJson::rettangolo(const QJsonValue& v, const QString& dove)
{
    const QJsonArray a = v.toArray();
    if (!v.isArray() || a.size() != 4) {
        sbaglio(dove, QStringLiteral("serve [Left, Top, Width, Height]"));
        return {};
    }
    return QRect(intero(a[0], dove, 0, 20000), intero(a[1], dove, 0, 20000), intero(a[2], dove, 1, 20000),
                 intero(a[3], dove, 1, 20000));
}

QPoint LettoreJson::punto(const QJsonValue& v, const QString& dove)
{
    const QJsonArray a = v.toArray();
    if (!v.isArray() || a.size() != 2) {
        sbaglio(dove, QStringLiteral("serve [Left, Top]"));
        return {};
    }
    return QPoint(intero(a[0], dove, 0, 20000), intero(a[1], dove, 0, 20000));
}

QColor LettoreJson::colore(const QJsonValue& v, const QString& dove)
{
    const QJsonArray a = v.toArray();
    if (!v.isArray() || a.size() != 3) {
        sbaglio(dove, QStringLiteral("serve [rosso, verde, blu]"));
        return {};
    }
    return QColor(intero(a[0], dove, 0, 255), intero(a[1], dove, 0, 255), intero(a[2], dove, 0, 255));
}

}  // namespace data
