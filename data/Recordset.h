#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <utility>

namespace data {

// A record set over one table, in stored order: move first and next, test the end, count, read columns
// by name (letter case ignored) or position, add a row. (The archives list and delete through
// ResultList.) Rows are read when first needed, so a record set opened only to add a row reads
// nothing.
class Recordset {
public:
    Recordset(QSqlDatabase db, QString table);
    // With the table's columns already known: a server that went away meanwhile still lets a result be
    // prepared, and kept on this computer until it can be sent.
    Recordset(QSqlDatabase db, QString table, const QSqlRecord& columns);

    QString table() const { return m_table; }

    void MoveFirst();
    void MoveNext();
    bool eof();  // past the last row (or no rows at all)
    int RecordCount();
    int AbsolutePosition();  // the current row, counted from 0 (RecordCount() past the end)

    // The current row's column by name, or by position counted from 0; null past the end.
    QVariant Fields(const QString& name);
    QVariant Fields(int position);
    int fieldCount() const { return m_columns.count(); }

    // Starts a new row whose columns are all the table's defaults until set.
    void AddNew();
    // False (with errorText()) for a column the table does not have.
    bool setField(const QString& name, const QVariant& value);
    // Stores the new row. Returns only once the row is committed to the file; false with errorText()
    // when it could not be stored. A "data" column left unset gets today's local date.
    bool Update();

    // The key of the row in preparation, made by AddNew(): a stored result's identity on a server.
    QString chiave() const { return m_chiave; }
    // The columns set in the row in preparation, with their values, in the table's order.
    QVector<std::pair<QString, QVariant>> newRow() const;
    // Inserts one row of named values (no transaction of its own). On a server a row whose key is
    // already stored is left as it is, and that is no failure; unless `oncePerKey` is false, for a table
    // whose rows share their result's key.
    static bool insertRow(QSqlDatabase db, const QString& table, const QVector<std::pair<QString, QVariant>>& row,
                          QSqlError* error, bool oncePerKey = true);
    // A row of another table stored together with the new row, in its transaction: all of them with it,
    // or none. AddNew() forgets them.
    void storeWith(const QString& table, QVector<std::pair<QString, QVariant>> row);
    QVector<std::pair<QString, QVector<std::pair<QString, QVariant>>>> storedWith() const { return m_insieme; }

    QString errorText() const { return m_error; }
    QSqlError lastError() const { return m_lastError; }
    bool isValid() const { return m_columns.count() > 0; }

private:
    struct Row {
        QSqlRecord values;
    };
    void ensureLoaded();
    QString keyColumn() const;
    void fail(const QSqlError& error);

    QSqlDatabase m_db;
    QString m_table;
    QSqlRecord m_columns;
    QVector<Row> m_rows;
    bool m_loaded = false;
    int m_pos = 0;
    bool m_adding = false;
    QSqlRecord m_new;
    QString m_error;
    QSqlError m_lastError;
    QString m_chiave;
    QVector<std::pair<QString, QVector<std::pair<QString, QVariant>>>> m_insieme;
};

}  // namespace data
