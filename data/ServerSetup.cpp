#include "data/ServerSetup.h"

#include "data/CourseBuilder.h"
#include "data/Database.h"
#include "data/Risposte.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace data::ServerSetup {

namespace {
const auto kTables = QStringLiteral(
    "SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema() ORDER BY table_name");
// What a server adds to a result table: the identity that addresses and orders its rows, and the key a
// result is made with, so that a result sent twice is stored once.
const auto kServerColumns = QStringLiteral(
    R"(ALTER TABLE "%1" ADD COLUMN "id" BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY, )"
    R"(ADD COLUMN "chiave" VARCHAR(36) UNIQUE)");
const auto kCreateRole = QStringLiteral(
    "DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = '%1') THEN CREATE ROLE %1 NOLOGIN; "
    "END IF; END $$");

QStringList resultTables()
{
    return {QStringLiteral("studenti"), QStringLiteral("studsomm")};
}

// The statements of schema.sql that belong to a table: its CREATE TABLE and its indexes.
QStringList statementsFor(const QStringList& statements, const QString& table)
{
    const QString quoted = QLatin1Char('"') + table + QLatin1Char('"');
    const QRegularExpression create(QStringLiteral("^CREATE TABLE ") + QRegularExpression::escape(quoted) +
                                    QStringLiteral("\\s"));
    const QRegularExpression index(QStringLiteral("^CREATE INDEX .* ON ") + QRegularExpression::escape(quoted) +
                                   QStringLiteral("\\s"));
    QStringList out;
    for (const QString& s : statements)
        if (create.match(s).hasMatch() || index.match(s).hasMatch())
            out << s;
    return out;
}

bool run(QSqlQuery& query, const QString& sql, QString* message)
{
    if (query.exec(sql))
        return true;
    *message = QStringLiteral("%1\n(%2)").arg(Database::describe(query.lastError()), sql.left(200));
    return false;
}

int rowCount(QSqlQuery& query, const QString& table)
{
    if (!query.exec(QStringLiteral(R"(SELECT COUNT(*) FROM "%1")").arg(table)) || !query.next())
        return -1;
    return query.value(0).toInt();
}
}  // namespace

bool prepara(QSqlDatabase db, const QString& sourceFolder, QString* message)
{
    QString schema;
    QVector<CourseBuilder::Bank> banks;
    if (!CourseBuilder::readSource(sourceFolder, &schema, &banks, message))
        return false;
    const QStringList statements = CourseBuilder::schemaStatements(schema);

    QStringList ours = Database::questionTables() + resultTables() + QStringList{Risposte::kTabella};
    QSqlQuery query(db);
    // The server's notices ("role already a member") are no news when the setup runs again.
    if (!run(query, QStringLiteral("SET client_min_messages TO WARNING"), message) || !run(query, kTables, message))
        return false;
    QStringList present;
    QStringList foreign;
    while (query.next()) {
        const QString table = query.value(0).toString();
        (ours.contains(table) ? present : foreign) << table;
    }
    if (!foreign.isEmpty()) {
        *message = QStringLiteral("La banca dati \"%1\" contiene già tabelle che non sono del corso (%2): non la "
                                  "tocco. Crea una banca dati nuova, vuota, per il corso.")
                       .arg(db.databaseName(), foreign.join(QStringLiteral(", ")));
        return false;
    }
    // Tables of the course already there must have the shape the program relies on.
    for (const QString& table : std::as_const(present)) {
        const QSqlRecord columns = db.record(table);
        QStringList needed = table == Risposte::kTabella ? Risposte::colonne() : Database::requiredColumns(table);
        if (resultTables().contains(table))
            needed << QStringLiteral("id") << QStringLiteral("chiave");
        for (const QString& column : std::as_const(needed))
            if (columns.indexOf(column) < 0) {
                *message = QStringLiteral("Nella banca dati \"%1\" la tabella \"%2\" non ha la colonna \"%3\": non "
                                          "è stata preparata per il corso e non la tocco.")
                               .arg(db.databaseName(), table, column);
                return false;
            }
    }

    if (!db.transaction()) {
        *message = Database::describe(db.lastError());
        return false;
    }
    bool ok = true;
    QStringList created;
    QStringList filled;
    for (const QString& table : std::as_const(ours)) {
        if (!ok || present.contains(table))
            continue;
        // The answers behind the results are the program's own table, not the course source's.
        if (table == Risposte::kTabella) {
            QSqlError error;
            ok = Risposte::prepara(db, &error);
            if (!ok)
                *message = Database::describe(error);
        }
        for (const QString& s : statementsFor(statements, table))
            if (ok)
                ok = run(query, s, message);
        if (ok && resultTables().contains(table))
            ok = run(query, kServerColumns.arg(table), message);
        created << table;
    }
    for (const CourseBuilder::Bank& bank : std::as_const(banks)) {
        if (!ok)
            break;
        const int rows = rowCount(query, bank.table);
        if (rows < 0) {
            *message = Database::describe(query.lastError());
            ok = false;
        } else if (rows == 0) {
            ok = CourseBuilder::fillBank(query, bank, message);
            filled << bank.table;
        }
    }
    // The rights: pupils read and add results; the teacher may also delete them.
    const QString alunni = QString::fromLatin1(kRuoloAlunni);
    const QString insegnanti = QString::fromLatin1(kRuoloInsegnanti);
    const QStringList grants{
        kCreateRole.arg(alunni),
        kCreateRole.arg(insegnanti),
        QStringLiteral("GRANT %1 TO %2").arg(alunni, insegnanti),
        QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2").arg(QStringLiteral("\"%1\""), alunni),
        QStringLiteral(R"(GRANT SELECT ON %1 TO %2)")
            .arg(QStringLiteral("\"") + ours.join(QStringLiteral("\", \"")) + QStringLiteral("\""), alunni),
        QStringLiteral(R"(GRANT INSERT ON "studenti", "studsomm", "risposte" TO %1)").arg(alunni),
        QStringLiteral(R"(GRANT DELETE ON "studenti", "studsomm" TO %1)").arg(insegnanti),
    };
    QString schemaName;
    if (ok && query.exec(QStringLiteral("SELECT current_schema()")) && query.next())
        schemaName = query.value(0).toString();
    for (QString grant : grants) {
        if (!ok)
            break;
        if (grant.contains(QLatin1String("%1")))
            grant = grant.arg(schemaName.replace(QLatin1Char('"'), QStringLiteral("\"\"")));
        ok = run(query, grant, message);
    }
    query.finish();
    if (ok && !db.commit()) {
        *message = Database::describe(db.lastError());
        ok = false;
    }
    if (!ok) {
        db.rollback();
        *message = QStringLiteral("La banca dati \"%1\" non è stata preparata, nulla è cambiato: %2")
                       .arg(db.databaseName(), *message);
        return false;
    }
    QStringList done;
    if (!created.isEmpty())
        done << QStringLiteral("create le tabelle %1").arg(created.join(QStringLiteral(", ")));
    if (!filled.isEmpty())
        done << QStringLiteral("riempite le tabelle delle domande %1").arg(filled.join(QStringLiteral(", ")));
    done << QStringLiteral("dati i permessi ai ruoli %1 (leggere e aggiungere risultati) e %2 (anche cancellarli)")
                .arg(alunni, insegnanti);
    *message = QStringLiteral("La banca dati \"%1\" è pronta per il corso: %2. I risultati già registrati non sono "
                              "stati toccati.")
                   .arg(db.databaseName(), done.join(QStringLiteral("; ")));
    return true;
}

}  // namespace data::ServerSetup
