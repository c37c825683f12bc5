#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <limits>
#include <optional>

namespace data {

// The rows of a results table that an archive lists: the whole table, or the rows of one pupil, in
// stored order, as they stood when the list was opened (rows stored later by another copy of the
// program stay out of it). Opening only counts; rows are read a page at a time, each read a short
// statement of its own, so that even a very large table lists at once and no lock is held while a
// teacher looks at a page.
class ResultList {
public:
    // `columns` are the columns to read, in order; with a `pupil` only the rows whose "cognome e nome"
    // is that name, letter case aside (the spellings stored when the list is opened).
    ResultList(QSqlDatabase db, QString table, QStringList columns, std::optional<QString> pupil = std::nullopt);

    // Counts the rows and marks the end of the list. False, with errorText(), when the table cannot be read.
    bool open();
    int count() const { return m_count; }
    bool isSelection() const { return m_pupil.has_value(); }

    // Where a reading has got to: before the first row, or after the last row read.
    struct Position {
        qint64 after = std::numeric_limits<qint64>::min();
    };
    // Reads up to `n` rows from `at` on and moves `at` past them; each row holds the values of the columns,
    // in order. Fewer rows at the end of the list, none past it. False, with errorText(), on a read failure.
    bool read(Position& at, int n, QVector<QVariantList>* rows);

    // Deletes every row of the list in one transaction: all of them or, on failure, none. `deleted` gets
    // the number of rows removed (fewer than count() when another copy removed some meanwhile), and
    // `rows`, when given, the values of the rows removed, read in the same transaction (none on failure).
    bool deleteAll(int* deleted, QVector<QVariantList>* rows = nullptr);

    QString errorText() const { return m_error; }

private:
    QString pupilCondition() const;
    void bindPupil(QSqlQuery& query) const;

    QSqlDatabase m_db;
    QString m_table;
    QStringList m_columns;
    std::optional<QString> m_pupil;
    QStringList m_spellings;  // how the pupil's name is written in the rows of the list
    int m_count = 0;
    std::optional<qint64> m_last;  // the key of the last row of the list; none for an empty list
    QString m_error;
};

}  // namespace data
