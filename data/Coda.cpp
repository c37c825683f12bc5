#include "data/Coda.h"

#include "data/Database.h"
#include "data/Recordset.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <atomic>

namespace data {

namespace {
const auto kCreate = QStringLiteral(
    R"(CREATE TABLE IF NOT EXISTS "coda" ("n" INTEGER PRIMARY KEY, "tabella" VARCHAR(100) NOT NULL, )"
    R"("chiave" VARCHAR(36) NOT NULL UNIQUE, "riga" TEXT NOT NULL))");
const auto kInsert = QStringLiteral(R"(INSERT INTO "coda" ("tabella", "chiave", "riga") VALUES (?, ?, ?) ON CONFLICT ("chiave") DO NOTHING)");
const auto kOldest = QStringLiteral(R"(SELECT "n", "tabella", "riga", "chiave" FROM "coda" ORDER BY "n" LIMIT 1)");
const auto kAlreadyThere = QStringLiteral(R"(SELECT COUNT(*) FROM "%1" WHERE "chiave" = ?)");
const auto kForget = QStringLiteral(R"(DELETE FROM "coda" WHERE "n" = ?)");
const auto kCount = QStringLiteral(R"(SELECT COUNT(*) FROM "coda")");
const auto kCreateAside = QStringLiteral(
    R"(CREATE TABLE IF NOT EXISTS "non_accettati" ("n" INTEGER PRIMARY KEY, "tabella" VARCHAR(100) NOT NULL, )"
    R"("chiave" VARCHAR(36) NOT NULL, "riga" TEXT NOT NULL, "motivo" TEXT))");
const auto kSetAside = QStringLiteral(
    R"(INSERT INTO "non_accettati" ("tabella", "chiave", "riga", "motivo") SELECT "tabella", "chiave", "riga", ? FROM "coda" WHERE "n" = ?)");
const auto kDateType = QStringLiteral("data");

// A row as JSON: each column's name and value, dates marked so they come back as dates.
QString codifica(const Coda::Riga& riga)
{
    QJsonArray colonne;
    for (const auto& [nome, valore] : riga) {
        QJsonObject c{{QStringLiteral("c"), nome}};
        if (valore.metaType().id() == QMetaType::QDate) {
            c.insert(QStringLiteral("t"), kDateType);
            c.insert(QStringLiteral("v"), valore.toDate().toString(Qt::ISODate));
        } else {
            c.insert(QStringLiteral("v"), QJsonValue::fromVariant(valore));
        }
        colonne.append(c);
    }
    return QString::fromUtf8(QJsonDocument(colonne).toJson(QJsonDocument::Compact));
}

Coda::Riga decodificaRiga(const QJsonArray& colonne)
{
    Coda::Riga riga;
    for (const QJsonValue& v : colonne) {
        const QJsonObject c = v.toObject();
        QVariant valore = c.value(QStringLiteral("v")).toVariant();
        if (c.value(QStringLiteral("t")).toString() == kDateType)
            valore = QDate::fromString(valore.toString(), Qt::ISODate);
        riga.append({c.value(QStringLiteral("c")).toString(), valore});
    }
    return riga;
}

// A result alone is its row; a result with rows that go with it, an object holding both.
QString codifica(const Coda::Riga& riga, const Coda::Insieme& insieme)
{
    if (insieme.isEmpty())
        return codifica(riga);
    QJsonArray altre;
    for (const auto& [tabella, r] : insieme)
        altre.append(QJsonObject{{QStringLiteral("t"), tabella},
                                 {QStringLiteral("r"), QJsonDocument::fromJson(codifica(r).toUtf8()).array()}});
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("riga"), QJsonDocument::fromJson(codifica(riga).toUtf8()).array()},
                                  {QStringLiteral("insieme"), altre}})
            .toJson(QJsonDocument::Compact));
}

Coda::Riga decodifica(const QString& testo, Coda::Insieme* insieme)
{
    const QJsonDocument doc = QJsonDocument::fromJson(testo.toUtf8());
    if (!doc.isObject())
        return decodificaRiga(doc.array());
    for (const QJsonValue& v : doc.object().value(QStringLiteral("insieme")).toArray())
        insieme->append({v.toObject().value(QStringLiteral("t")).toString(),
                         decodificaRiga(v.toObject().value(QStringLiteral("r")).toArray())});
    return decodificaRiga(doc.object().value(QStringLiteral("riga")).toArray());
}
}  // namespace

QString Coda::percorsoPredefinito()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("placche/risultati-da-inviare.sqlite"));
}

Coda::Coda(QString path) : m_path(std::move(path))
{
    static std::atomic<int> counter{0};
    m_connectionName = QStringLiteral("placche-coda-%1").arg(++counter);
}

Coda::~Coda()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

bool Coda::apri(bool crea, QString* errore)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen())
        return true;
    if (!crea && !QFileInfo::exists(m_path))
        return false;
    if (crea && !QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        *errore = QStringLiteral("non riesco a creare la cartella %1").arg(QFileInfo(m_path).absolutePath());
        return false;
    }
    if (!db.isValid()) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(m_path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(Database::kBusyWaitMs));
    }
    QSqlQuery query(db);
    if (!db.open() || !query.exec(QStringLiteral("PRAGMA synchronous = FULL")) || !query.exec(kCreate)) {
        *errore = Database::describe(db.isOpen() ? query.lastError() : db.lastError());
        db.close();
        return false;
    }
    return true;
}

bool Coda::aggiungi(const QString& table, const QString& chiave, const Riga& riga, QString* errore,
                    const Insieme& insieme)
{
    if (!apri(true, errore))
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(kInsert);
    query.addBindValue(table);
    query.addBindValue(chiave);
    query.addBindValue(codifica(riga, insieme));
    if (!query.exec()) {
        *errore = Database::describe(query.lastError());
        return false;
    }
    return true;
}

bool Coda::metteDaParte(qint64 n, const QString& motivo, QString* errore)
{
    QSqlDatabase locale = QSqlDatabase::database(m_connectionName, false);
    Transaction transaction(locale);
    QSqlQuery query(locale);
    bool ok = transaction.isActive() && query.exec(kCreateAside) && query.prepare(kSetAside);
    if (ok) {
        query.addBindValue(motivo);
        query.addBindValue(n);
        ok = query.exec() && query.prepare(kForget);
    }
    if (ok) {
        query.addBindValue(n);
        ok = query.exec();
    }
    if (!ok || !transaction.commit()) {
        *errore = transaction.errorText().isEmpty() ? Database::describe(query.lastError()) : transaction.errorText();
        return false;
    }
    return true;
}

int Coda::quanti()
{
    QString errore;
    if (!apri(false, &errore))
        return 0;
    QSqlQuery query(kCount, QSqlDatabase::database(m_connectionName, false));
    return query.next() ? query.value(0).toInt() : 0;
}

int Coda::invia(QSqlDatabase server, QString* errore)
{
    if (!apri(false, errore))
        return 0;
    QSqlDatabase locale = QSqlDatabase::database(m_connectionName, false);
    int inviati = 0;
    for (;;) {
        QSqlQuery prossimo(locale);
        if (!prossimo.exec(kOldest)) {
            *errore = Database::describe(prossimo.lastError());
            return inviati;
        }
        if (!prossimo.next())
            return inviati;
        const qint64 n = prossimo.value(0).toLongLong();
        const QString tabella = prossimo.value(1).toString();
        Insieme insieme;
        const Riga riga = decodifica(prossimo.value(2).toString(), &insieme);
        const QString chiave = prossimo.value(3).toString();
        prossimo.finish();
        {
            // Stored on the server first, forgotten here after: cut in between, it is sent again and the
            // server keeps the copy it has.
            Transaction transaction(server);
            QSqlError errorSql;
            if (!transaction.isActive()) {
                *errore = transaction.errorText();
                return inviati;
            }
            // The rows that go with a result are sent with it, once: a result the server already has
            // already has them.
            if (!insieme.isEmpty()) {
                QSqlQuery presente(server);
                presente.prepare(kAlreadyThere.arg(tabella));
                presente.addBindValue(chiave);
                if (presente.exec() && presente.next() && presente.value(0).toInt() > 0)
                    insieme.clear();
            }
            bool inviato = Recordset::insertRow(server, tabella, riga, &errorSql);
            for (qsizetype i = 0; inviato && i < insieme.size(); ++i)
                inviato = Recordset::insertRow(server, insieme[i].first, insieme[i].second, &errorSql, false);
            if (!inviato) {  // undone with the transaction
                if (Database::classify(errorSql) == Database::Failure::Connection) {
                    *errore = Database::describe(errorSql);
                    return inviati;
                }
                // Refused for good (a table changed on the server meanwhile): it would stop every later
                // result behind it, so it is set aside here, kept, and the others go on.
                if (!metteDaParte(n, Database::describe(errorSql), errore))
                    return inviati;
                qWarning("placche: un risultato salvato su questo computer non è stato accettato dal server e resta "
                         "in %s: %s", qPrintable(m_path), qPrintable(Database::describe(errorSql)));
                continue;
            }
            if (!transaction.commit()) {
                *errore = transaction.errorText();
                return inviati;
            }
        }
        QSqlQuery dimentica(locale);
        dimentica.prepare(kForget);
        dimentica.addBindValue(n);
        if (!dimentica.exec()) {
            *errore = Database::describe(dimentica.lastError());
            return inviati;
        }
        ++inviati;
    }
}

}  // namespace data
