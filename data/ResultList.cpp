#include "data/ResultList.h"

#include "data/Database.h"
#include "data/PupilNames.h"

#include <QSqlError>
#include <QSqlQuery>

namespace data {

namespace {
// The engine's row identity ({id}: the file's own, the server's identity column) gives the stored order
// and marks where a list ends. %1 is the table, %2 the columns read; the pupil's name and the bounds are
// always bound values.
const auto kCountAll = QStringLiteral(R"(SELECT COUNT(*), MAX({id}) FROM "%1")");
const auto kCountPupil = QStringLiteral(R"(SELECT COUNT(*), MAX({id}) FROM "%1" WHERE "cognome e nome" %2)");
const auto kPageAll =
    QStringLiteral(R"(SELECT {id}, %2 FROM "%1" WHERE {id} > ? AND {id} <= ? ORDER BY {id} LIMIT ?)");
const auto kPagePupil = QStringLiteral(
    R"(SELECT {id}, %2 FROM "%1" WHERE "cognome e nome" %3 AND {id} > ? AND {id} <= ? ORDER BY {id} LIMIT ?)");
const auto kDeleteAll = QStringLiteral(R"(DELETE FROM "%1" WHERE {id} <= ?)");
const auto kDeletePupil = QStringLiteral(R"(DELETE FROM "%1" WHERE "cognome e nome" %2 AND {id} <= ?)");

QString withIdentity(QString sql, const QSqlDatabase& db)
{
    return sql.replace(QLatin1String("{id}"), Database::rowIdentity(db));
}

QString quoted(const QString& identifier)
{
    QString id = identifier;
    return QLatin1Char('"') + id.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}
}  // namespace

ResultList::ResultList(QSqlDatabase db, QString table, QStringList columns, std::optional<QString> pupil)
    : m_db(std::move(db)), m_table(std::move(table)), m_columns(std::move(columns)), m_pupil(std::move(pupil))
{
}

QString ResultList::pupilCondition() const
{
    return PupilNames::inList(m_spellings.size());
}

void ResultList::bindPupil(QSqlQuery& query) const
{
    for (const QString& spelling : m_spellings)
        query.addBindValue(spelling);
}

bool ResultList::open()
{
    m_count = 0;
    m_last.reset();
    m_spellings.clear();
    if (m_pupil) {
        if (!PupilNames::spellings(m_db, m_table, *m_pupil, &m_spellings, &m_error))
            return false;
        if (m_spellings.isEmpty()) {
            m_error.clear();
            return true;  // no row of this pupil
        }
    }
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(withIdentity(m_pupil ? kCountPupil.arg(m_table, pupilCondition()) : kCountAll.arg(m_table), m_db))) {
        m_error = Database::describe(query.lastError());
        return false;
    }
    bindPupil(query);
    if (!query.exec() || !query.next()) {
        m_error = Database::describe(query.lastError());
        return false;
    }
    m_count = query.value(0).toInt();
    if (!query.value(1).isNull())
        m_last = query.value(1).toLongLong();
    m_error.clear();
    return true;
}

bool ResultList::read(Position& at, int n, QVector<QVariantList>* rows)
{
    rows->clear();
    if (!m_last || at.after >= *m_last || n <= 0)
        return true;
    QStringList columns;
    for (const QString& c : std::as_const(m_columns))
        columns << quoted(c);
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    const QString names = columns.join(QLatin1String(", "));
    if (!query.prepare(withIdentity(m_pupil ? kPagePupil.arg(m_table, names, pupilCondition()) : kPageAll.arg(m_table, names), m_db))) {
        m_error = Database::describe(query.lastError());
        return false;
    }
    bindPupil(query);
    query.addBindValue(at.after);
    query.addBindValue(*m_last);
    query.addBindValue(n);
    if (!query.exec()) {
        m_error = Database::describe(query.lastError());
        return false;
    }
    const int width = int(m_columns.size());
    while (query.next()) {
        QVariantList row;
        row.reserve(width);
        for (int i = 1; i <= width; ++i)
            row.append(query.value(i));
        rows->append(row);
        at.after = query.value(0).toLongLong();
    }
    if (query.lastError().isValid()) {
        m_error = Database::describe(query.lastError());
        rows->clear();
        return false;
    }
    return true;
}

bool ResultList::deleteAll(int* deleted, QVector<QVariantList>* rows)
{
    *deleted = 0;
    if (rows)
        rows->clear();
    if (!m_last)
        return true;
    Transaction transaction(m_db);
    if (!transaction.isActive()) {
        m_error = transaction.errorText();
        return false;
    }
    // The rows as they are at the moment they go, read under the same lock that deletes them.
    if (rows) {
        Position from;
        if (!read(from, std::numeric_limits<int>::max(), rows)) {
            rows->clear();
            return false;
        }
    }
    int removed = 0;
    {
        QSqlQuery query(m_db);
        if (!query.prepare(withIdentity(m_pupil ? kDeletePupil.arg(m_table, pupilCondition()) : kDeleteAll.arg(m_table), m_db))) {
            m_error = Database::describe(query.lastError());
            if (rows)
                rows->clear();
            return false;
        }
        bindPupil(query);
        query.addBindValue(*m_last);
        if (!query.exec()) {
            m_error = Database::describe(query.lastError());
            if (rows)
                rows->clear();
            return false;
        }
        removed = query.numRowsAffected();
    }
    if (!transaction.commit()) {
        m_error = transaction.errorText();
        if (rows)
            rows->clear();
        return false;
    }
    *deleted = removed;
    return true;
}

}  // namespace data
