#include "data/Recordset.h"

#include "data/Clock.h"
#include "data/Database.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>

namespace data {

namespace {
// The engine's own row identity keeps the stored order, without a column of ours in the tables.
const auto kKeyAlias = QStringLiteral("placche_riga");
const auto kSelectAll = QStringLiteral(R"(SELECT %1 AS "%2", * FROM "%3" ORDER BY %1)");
const auto kDateColumn = QStringLiteral("data");
const auto kInsert = QStringLiteral(R"(INSERT INTO "%1" (%2) VALUES (%3))");
const auto kKeyColumn = QStringLiteral("chiave");

// A write takes the file's write lock before it reads anything: two copies of the program that both
// read first and then want to write would otherwise stop each other, and the engine gives up on one at
// once instead of waiting for it.
bool beginWrite(QSqlDatabase& db, QSqlError* error)
{
    if (db.driverName() != QLatin1String("QSQLITE")) {
        if (db.transaction())
            return true;
        *error = db.lastError();
        return false;
    }
    QSqlQuery begin(db);
    if (begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return true;
    *error = begin.lastError();
    return false;
}

bool commitWrite(QSqlDatabase& db, QSqlError* error)
{
    if (db.commit())
        return true;
    *error = db.lastError();
    db.rollback();
    return false;
}

QString quoted(const QString& identifier)
{
    QString id = identifier;
    return QLatin1Char('"') + id.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}
}  // namespace

Recordset::Recordset(QSqlDatabase db, QString table) : m_db(std::move(db)), m_table(std::move(table))
{
    m_columns = m_db.record(m_table);
    if (m_columns.isEmpty())
        m_error = QStringLiteral("la tabella \"%1\" non esiste").arg(m_table);
}

Recordset::Recordset(QSqlDatabase db, QString table, const QSqlRecord& columns)
    : m_db(std::move(db)), m_table(std::move(table)), m_columns(columns)
{
    if (m_columns.isEmpty())
        m_error = QStringLiteral("la tabella \"%1\" non esiste").arg(m_table);
}

QString Recordset::keyColumn() const
{
    return Database::rowIdentity(m_db);
}

void Recordset::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_rows.clear();
    if (m_columns.isEmpty())
        return;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(kSelectAll.arg(keyColumn(), kKeyAlias, m_table));
    if (!query.exec()) {
        m_error = Database::describe(query.lastError());
        return;
    }
    while (query.next()) {
        QSqlRecord full = query.record();
        full.remove(0);
        m_rows.append({full});
    }
    m_pos = 0;
}

void Recordset::MoveFirst()
{
    ensureLoaded();
    m_pos = 0;
}

void Recordset::MoveNext()
{
    ensureLoaded();
    if (m_pos < m_rows.size())
        ++m_pos;
}

bool Recordset::eof()
{
    ensureLoaded();
    return m_pos >= m_rows.size();
}

int Recordset::RecordCount()
{
    ensureLoaded();
    return int(m_rows.size());
}

int Recordset::AbsolutePosition()
{
    ensureLoaded();
    return m_pos;
}

QVariant Recordset::Fields(const QString& name)
{
    ensureLoaded();
    if (m_pos >= m_rows.size())
        return {};
    return m_rows.at(m_pos).values.value(name);  // QSqlRecord matches names ignoring case
}

QVariant Recordset::Fields(int position)
{
    ensureLoaded();
    if (m_pos >= m_rows.size())
        return {};
    return m_rows.at(m_pos).values.value(position);
}

void Recordset::AddNew()
{
    m_new = m_columns;
    for (int i = 0; i < m_new.count(); ++i)
        m_new.setGenerated(i, false);
    m_adding = true;
    // Made when the pupil finishes: the server keeps one row per key, however often it is sent.
    m_chiave = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (const int at = m_new.indexOf(kKeyColumn); at >= 0) {
        m_new.setValue(at, m_chiave);
        m_new.setGenerated(at, true);
    }
    m_insieme.clear();
}

void Recordset::storeWith(const QString& table, QVector<std::pair<QString, QVariant>> row)
{
    m_insieme.append({table, std::move(row)});
}

QVector<std::pair<QString, QVariant>> Recordset::newRow() const
{
    QVector<std::pair<QString, QVariant>> row;
    for (int i = 0; i < m_new.count(); ++i)
        if (m_new.isGenerated(i))
            row.append({m_new.fieldName(i), m_new.value(i)});
    return row;
}

bool Recordset::insertRow(QSqlDatabase db, const QString& table, const QVector<std::pair<QString, QVariant>>& row,
                          QSqlError* error, bool oncePerKey)
{
    QStringList names;
    QStringList marks;
    for (const auto& [name, value] : row) {
        names << quoted(name);
        marks << QStringLiteral("?");
    }
    QString sql = names.isEmpty()
                      ? QStringLiteral(R"(INSERT INTO "%1" DEFAULT VALUES)").arg(table)
                      : kInsert.arg(table, names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    // A result sent again (its first sending was cut off before the answer came back) is already there.
    if (oncePerKey && Database::isServer(db) && std::any_of(row.begin(), row.end(), [](const auto& c) { return c.first == kKeyColumn; }))
        sql += QStringLiteral(R"( ON CONFLICT ("chiave") DO NOTHING)");
    QSqlQuery query(db);
    if (!query.prepare(sql)) {
        *error = query.lastError();
        return false;
    }
    for (const auto& column : row)
        query.addBindValue(column.second);
    if (!query.exec()) {
        *error = query.lastError();
        return false;
    }
    return true;
}

bool Recordset::setField(const QString& name, const QVariant& value)
{
    if (!m_adding) {
        m_error = QStringLiteral("nessuna riga nuova in preparazione");
        return false;
    }
    const int at = m_new.indexOf(name);
    if (at < 0) {
        m_error = QStringLiteral("la tabella \"%1\" non ha la colonna \"%2\"").arg(m_table, name);
        return false;
    }
    m_new.setValue(at, value);
    m_new.setGenerated(at, true);
    return true;
}

void Recordset::fail(const QSqlError& error)
{
    // A connection that is no longer open fails without an error of its own.
    m_lastError = error;
    if (!error.isValid() && Database::isServer(m_db))
        m_lastError = QSqlError(QStringLiteral("connection not open"), {}, QSqlError::ConnectionError);
    m_error = Database::describe(m_lastError);
}

bool Recordset::Update()
{
    if (!m_adding) {
        m_error = QStringLiteral("nessuna riga nuova da salvare");
        return false;
    }
    // The engine's own default would be the UTC day: a result stored just after midnight in Italy would
    // carry the day before.
    if (const int at = m_new.indexOf(kDateColumn); at >= 0 && !m_new.isGenerated(at)) {
        m_new.setValue(at, Clock::today());
        m_new.setGenerated(at, true);
    }
    QSqlError error;
    if (!beginWrite(m_db, &error)) {
        fail(error);
        return false;
    }
    if (!insertRow(m_db, m_table, newRow(), &error)) {
        fail(error);
        m_db.rollback();
        return false;
    }
    // The rows that go with it share its key: plain inserts.
    for (const auto& [table, row] : std::as_const(m_insieme)) {
        if (!insertRow(m_db, table, row, &error, false)) {
            fail(error);
            m_db.rollback();
            return false;
        }
    }
    // The commit is synchronous: when it returns, the row is on disk.
    if (!commitWrite(m_db, &error)) {
        fail(error);
        return false;
    }
    m_adding = false;
    m_insieme.clear();
    m_error.clear();
    m_lastError = QSqlError();
    if (m_loaded) {
        // The new row joins the set at the end, as it was stored.
        Row row{m_columns};
        for (int i = 0; i < m_new.count(); ++i)
            row.values.setValue(i, m_new.isGenerated(i) ? m_new.value(i) : QVariant());
        m_rows.append(row);
    }
    return true;
}

}  // namespace data
