#pragma once

#include <QSqlDatabase>
#include <QHash>
#include <QSqlError>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include "data/Server.h"

#include <memory>
#include <optional>

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
    // Opens the classroom's shared results server (PostgreSQL). A server that cannot be reached, refuses
    // the user, or holds no course tables is refused with a message naming the server, never a password.
    static std::unique_ptr<Database> openServer(const Server& server, QString* error);

    // The file's path; for a server, how messages name it.
    QString path() const { return m_path; }
    bool isServer() const { return m_server.has_value(); }
    QSqlDatabase connection() const;
    // A server connection lost meanwhile (network cut, server restarted) is opened again; false when the
    // server still cannot be reached. A file is always there.
    bool reconnect();
    // Whether this computer may delete stored results from `table`: on a server only the teacher's role may.
    bool canDelete(const QString& table);

    // A record set on a whole table, all rows in stored order, positioned on the first row.
    std::unique_ptr<Recordset> OpenRecordset(const QString& table);

    // The tables and the columns the program relies on.
    static QStringList questionTables();
    static QStringList requiredColumns(const QString& table);

    // A database error as a pupil or a teacher can read it.
    static QString describe(const QSqlError& error);
    // What kind of failure an error is: a server that could not be reached (what failed may be tried
    // again later), a right this computer lacks, or anything else.
    enum class Failure { None, Connection, Permission, Other };
    static Failure classify(const QSqlError& error);

    // The column that gives a table's stored order and addresses its rows: the file engine's own row
    // identity, the identity column on a server. Already quoted for a statement.
    static QString rowIdentity(const QSqlDatabase& db);
    static bool isServer(const QSqlDatabase& db);

private:
    Database(const QString& path, const QString& connectionName);
    QString check() const;  // empty when the file is a usable course database
    static bool openConnection(QSqlDatabase& db, const Server& server);

    QString m_path;
    QString m_connectionName;
    std::optional<Server> m_server;
    QHash<QString, QSqlRecord> m_columns;  // on a server: each table's columns, read when it was opened
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
