#include "data/Recordset.h"

#include "data/Clock.h"
#include "data/Database.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QUuid>

namespace data {

namespace {
// The engine's own row identity keeps the stored order, without a column of ours in the tables.
const auto kKeyAlias = QStringLiteral("placche_riga");
const auto kSelectAll = QStringLiteral(R"(SELECT %1 AS "%2", * FROM "%3" ORDER BY %1)");
const auto kDateColumn = QStringLiteral("data");
const auto kInsert = QStringLiteral(R"(INSERT INTO "%1" (%2) VALUES (%3))");

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

QString Recordset::keyColumn() const
{
    return QStringLiteral("rowid");
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
    m_chiave = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_insieme.clear();
}

void Recordset::storeWith(const QString& table, QVector<std::pair<QString, QVariant>> row)
{
    m_insieme.append({table, std::move(row)});
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
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (int i = 0; i < m_new.count(); ++i) {
        if (!m_new.isGenerated(i))
            continue;
        names << quoted(m_new.fieldName(i));
        marks << QStringLiteral("?");
        values << m_new.value(i);
    }
    QSqlQuery query(m_db);
    const QString sql = names.isEmpty()
                            ? QStringLiteral(R"(INSERT INTO "%1" DEFAULT VALUES)").arg(m_table)
                            : kInsert.arg(m_table, names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    if (!query.prepare(sql)) {
        m_error = Database::describe(query.lastError());
        return false;
    }
    for (const QVariant& v : std::as_const(values))
        query.addBindValue(v);
    QSqlError error;
    if (!beginWrite(m_db, &error)) {
        m_error = Database::describe(error);
        return false;
    }
    if (!query.exec()) {
        m_error = Database::describe(query.lastError());
        m_db.rollback();
        return false;
    }
    query.finish();
    for (const auto& [table, row] : std::as_const(m_insieme)) {
        QStringList others;
        QStringList otherMarks;
        for (const auto& column : row) {
            others << quoted(column.first);
            otherMarks << QStringLiteral("?");
        }
        QSqlQuery other(m_db);
        if (!other.prepare(kInsert.arg(table, others.join(QLatin1String(", ")), otherMarks.join(QLatin1String(", "))))) {
            m_error = Database::describe(other.lastError());
            m_db.rollback();
            return false;
        }
        for (const auto& column : row)
            other.addBindValue(column.second);
        if (!other.exec()) {
            m_error = Database::describe(other.lastError());
            m_db.rollback();
            return false;
        }
    }
    // The commit is synchronous: when it returns, the row is on disk.
    if (!commitWrite(m_db, &error)) {
        m_error = Database::describe(error);
        return false;
    }
    m_adding = false;
    m_insieme.clear();
    m_error.clear();
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
