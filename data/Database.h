#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

#include <memory>

namespace data {

class Recordset;

// The course database: question banks and stored results in one file, opened once at start-up.
// Everything is portable SQL through QtSql: double-quoted identifiers, standard types, bound values.
class Database {
public:
    // How long a store waits for another copy of the program that is writing the same file.
    static constexpr int kBusyWaitMs = 4000;
    // Another wait for the databases opened from now on (tests); 0 gives back the usual one.
    static void setBusyWait(int milliseconds);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing course database, for reading and writing, shared with other copies of the
    // program. A missing file is never created; a file that is not a usable course database (damaged,
    // a table or column missing) is refused. On failure `error` gets a message for the user, in Italian,
    // naming the file.
    static std::unique_ptr<Database> open(const QString& path, QString* error);

    QString path() const { return m_path; }
    QSqlDatabase connection() const;

    // A record set on a whole table, all rows in stored order, positioned on the first row.
    std::unique_ptr<Recordset> OpenRecordset(const QString& table);

    // The tables and the columns the program relies on.
    static QStringList questionTables();
    static QStringList requiredColumns(const QString& table);

    // A database error as a pupil or a teacher can read it.
    static QString describe(const QSqlError& error);

private:
    Database(const QString& path, const QString& connectionName);
    QString check() const;  // empty when the file is a usable course database

    QString m_path;
    QString m_connectionName;
};

// The statements run while it lives form one transaction, holding the file's write lock from the start:
// all of them are stored by commit(), none of them if it goes without a commit (a failure half-way
// changes nothing).
class Transaction {
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const { return m_active; }
    bool commit();  // false (and everything undone) when the engine refused to store it
    QString errorText() const { return m_error; }

private:
    QSqlDatabase m_db;
    bool m_active = false;
    QString m_error;
};

}  // namespace data
