#include "data/Database.h"

#include "data/Recordset.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUrl>

#include <atomic>

namespace data {

namespace {
// Another copy of the program writing the same file (a shared folder) is waited for this long, no
// longer: a store that finds the file still in use is then reported, and the pupil may try again, instead
// of a window that stops answering.
int& busyWaitMs()
{
    static int ms = Database::kBusyWaitMs;
    return ms;
}

const auto kProbeTable = QStringLiteral(R"(SELECT COUNT(*) FROM "%1")");
// A transaction takes the file's write lock at once: one that read first and wrote later could be
// refused by the engine at once, instead of waiting, while another copy of the program writes.
const auto kBeginWrite = QStringLiteral("BEGIN IMMEDIATE");
const auto kSqliteMaster = QStringLiteral("SELECT COUNT(*) FROM sqlite_master");

// A write or a growth of the file that the system refused: no space left for this user (a quota, a limit
// on file size) comes so from the file engine, not as a full disk. A refused commit carries no code, only
// the engine's text.
bool diskRefusedWrite(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    if (code.isEmpty())
        return error.databaseText().contains(QLatin1String("disk I/O error"));
    return code == QLatin1String("778") /* SQLITE_IOERR_WRITE */ || code == QLatin1String("1546") /* SQLITE_IOERR_TRUNCATE */;
}

const auto kInUso = QStringLiteral("in uso: ");

bool isBusy(const QSqlError& error)
{
    const QString text = error.text().toLower();
    return text.contains(QLatin1String("locked")) || text.contains(QLatin1String("busy"));
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}
}  // namespace

Database::Database(const QString& path, const QString& connectionName)
    : m_path(path), m_connectionName(connectionName)
{
}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void Database::setBusyWait(int milliseconds)
{
    busyWaitMs() = milliseconds > 0 ? milliseconds : kBusyWaitMs;
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QStringList Database::questionTables()
{
    return {QStringLiteral("domande1"), QStringLiteral("domande2"), QStringLiteral("domande3"),
            QStringLiteral("domande4"), QStringLiteral("domande5"), QStringLiteral("domande6"),
            QStringLiteral("sommativo")};
}

QStringList Database::requiredColumns(const QString& table)
{
    if (table == QLatin1String("studenti"))
        return {QStringLiteral("cognome e nome"), QStringLiteral("argomento"), QStringLiteral("punteggio"),
                QStringLiteral("maxpunti"), QStringLiteral("data")};
    if (table == QLatin1String("studsomm"))
        return {QStringLiteral("cognome e nome"), QStringLiteral("punteggio totale"), QStringLiteral("conscere"),
                QStringLiteral("comprendere"), QStringLiteral("applicare"), QStringLiteral("valutazione"),
                QStringLiteral("data")};
    QStringList columns{QStringLiteral("argomento")};
    for (int i = 1; i <= 10; ++i)
        columns << QStringLiteral("dom%1").arg(i);
    return columns;
}

std::unique_ptr<Database> Database::open(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (error)
            *error = QStringLiteral("Non trovo l'archivio del corso:\n%1\n\n"
                                    "Il programma non può partire senza questo file. Controlla che accanto al "
                                    "programma ci sia la cartella \"immagini\", con dentro la cartella \"altre\" e "
                                    "il file \"morvel6.mdb\".")
                         .arg(nativePath(path));
        return nullptr;
    }

    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("placche-%1").arg(++counter);
    std::unique_ptr<Database> database(new Database(info.absoluteFilePath(), name));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // mode=rw opens the file for reading and writing and fails rather than create a new, empty file.
        QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
        db.setDatabaseName(url.toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyWaitMs()));
        if (!db.open()) {
            if (error)
                *error = QStringLiteral("Non riesco ad aprire l'archivio del corso:\n%1\n\n%2")
                             .arg(nativePath(path), describe(db.lastError()));
            return nullptr;
        }
        // A stored result must survive a power cut or a killed program.
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    }
    const QString problem = database->check();
    if (problem.startsWith(kInUso)) {
        if (error)
            *error = QStringLiteral("L'archivio del corso\n%1\nper ora non si riesce a leggere: %2.\n\n"
                                    "Un'altra copia del programma lo sta usando: riprova tra qualche secondo.")
                         .arg(nativePath(path), problem.mid(kInUso.size()));
        return nullptr;
    }
    if (!problem.isEmpty()) {
        if (error)
            *error = QStringLiteral("Il file\n%1\nnon è un archivio del corso utilizzabile: %2.\n\n"
                                    "Il programma non può partire. Chiedi all'insegnante di rimettere al suo "
                                    "posto una copia buona dell'archivio.")
                         .arg(nativePath(path), problem);
        return nullptr;
    }
    return database;
}

bool Database::openConnection(QSqlDatabase& db, const Server& server)
{
    server.configura(db);
    return db.open();
}

std::unique_ptr<Database> Database::openServer(const Server& server, QString* error)
{
    if (const QString problema = server.problema(); !problema.isEmpty()) {
        if (error)
            *error = QStringLiteral("Il server dei risultati (%1) è indicato male: %2.").arg(server.nome(), problema);
        return nullptr;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        if (error)
            *error = QStringLiteral("Per usare il server dei risultati (%1) manca il componente del programma che "
                                    "parla con PostgreSQL (su Debian: il pacchetto libqt6sql6-psql).")
                         .arg(server.nome());
        return nullptr;
    }
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("placche-server-%1").arg(++counter);
    std::unique_ptr<Database> database(new Database(server.nome(), name));
    database->m_server = server;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        if (!openConnection(db, server)) {
            if (error)
                *error = QStringLiteral("Non riesco a collegarmi al server dei risultati (%1).\n\n%2")
                             .arg(server.nome(), describe(db.lastError()));
            return nullptr;
        }
    }
    const QString problem = database->check();
    if (!problem.isEmpty()) {
        if (error)
            *error = QStringLiteral("Il server dei risultati (%1) non è pronto per il corso: %2.\n\n"
                                    "Il tecnico della scuola lo prepara con il comando \"creadb --server\".")
                         .arg(server.nome(), problem);
        return nullptr;
    }
    QSqlDatabase db = database->connection();
    for (const QString& table : questionTables() + QStringList{QStringLiteral("studenti"), QStringLiteral("studsomm")})
        database->m_columns.insert(table, db.record(table));
    return database;
}

bool Database::reconnect()
{
    if (!m_server)
        return true;
    QSqlDatabase db = connection();
    {
        QSqlQuery ping(db);
        if (db.isOpen() && ping.exec(QStringLiteral("SELECT 1")))
            return true;
    }
    db.close();
    return openConnection(db, *m_server);
}

bool Database::canDelete(const QString& table)
{
    if (!m_server)
        return true;
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT has_table_privilege(current_user, ?, 'DELETE')"));
    query.addBindValue(QLatin1Char('"') + table + QLatin1Char('"'));
    // When the question itself fails (the server went away) the deletion is tried and says why it failed.
    if (!query.exec() || !query.next())
        return true;
    return query.value(0).toBool();
}

bool Database::isServer(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

QString Database::rowIdentity(const QSqlDatabase& db)
{
    return isServer(db) ? QStringLiteral("\"id\"") : QStringLiteral("rowid");
}

QString Database::check() const
{
    QSqlDatabase db = connection();
    if (!isServer(db)) {
        QSqlQuery master(db);
        // Another copy storing many results back to back can hold the file past one busy wait: a start-up
        // waits a few of them before it says the file is in use, which is not a damaged file.
        bool read = master.exec(kSqliteMaster);
        for (int attempt = 1; !read && attempt < 3 && isBusy(master.lastError()); ++attempt)
            read = master.exec(kSqliteMaster);
        if (!read && isBusy(master.lastError()))
            return kInUso + describe(master.lastError());
        if (!read)
            return QStringLiteral("il file è danneggiato o non è un archivio (%1)").arg(describe(master.lastError()));
    }
    QStringList tables = questionTables();
    tables << QStringLiteral("studenti") << QStringLiteral("studsomm");
    for (const QString& table : std::as_const(tables)) {
        const QSqlRecord columns = db.record(table);
        if (columns.isEmpty())
            return QStringLiteral("manca la tabella \"%1\"").arg(table);
        // On a server the result tables carry the identity of each row and the key of each result.
        if (isServer(db) && !questionTables().contains(table))
            for (const QString& column : {QStringLiteral("id"), QStringLiteral("chiave")})
                if (columns.indexOf(column) < 0)
                    return QStringLiteral("nella tabella \"%1\" manca la colonna \"%2\"").arg(table, column);
        for (const QString& column : requiredColumns(table))
            if (columns.indexOf(column) < 0)
                return QStringLiteral("nella tabella \"%1\" manca la colonna \"%2\"").arg(table, column);
        if (questionTables().contains(table)) {
            const int at = columns.indexOf(QStringLiteral("argomento"));
            if (columns.count() < 22 || (at >= 2 && at <= 21))
                return QStringLiteral("la tabella \"%1\" non ha la forma di una tabella di domande").arg(table);
        }
        QSqlQuery probe(db);
        if (!probe.exec(kProbeTable.arg(table)))
            return QStringLiteral("la tabella \"%1\" non si legge (%2)").arg(table, describe(probe.lastError()));
    }
    return {};
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& table)
{
    // A server's names keep their letter case: the table is asked for by its own name.
    if (const auto known = m_columns.constFind(table.toLower()); known != m_columns.constEnd())
        return std::make_unique<Recordset>(connection(), known.key(), *known);
    return std::make_unique<Recordset>(connection(), table);
}

namespace {
// Texts of the file engine never mention a server.
bool isServerText(const QString& text)
{
    return text.contains(QLatin1String("server")) || text.contains(QLatin1String("connect")) ||
           text.contains(QLatin1String("timeout")) || text.contains(QLatin1String("host")) ||
           text.contains(QLatin1String("terminating"));
}

// libpq's own texts for a server that could not be reached or was lost on the way; they carry no SQLSTATE.
bool connectionLost(const QString& text)
{
    static const char* const kTexts[] = {"could not connect", "connection to server", "server closed the connection",
                                         "no connection to the server", "could not receive data",
                                         "could not send data", "terminating connection", "connection refused",
                                         "timeout expired", "could not translate host name", "eof detected",
                                         "the database system is starting up", "the database system is shutting down",
                                         "connection not open"};
    for (const char* t : kTexts)
        if (text.contains(QLatin1String(t)))
            return true;
    return false;
}
}  // namespace

Database::Failure Database::classify(const QSqlError& error)
{
    if (!error.isValid())
        return Failure::None;
    const QString code = error.nativeErrorCode();
    const QString text = (error.databaseText() + QLatin1Char(' ') + error.driverText()).toLower();
    // SQLSTATE class 08 is a connection exception, 57P0x the server shutting down or restarting.
    if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")) ||
        (code.isEmpty() && connectionLost(text)))
        return Failure::Connection;
    if (code == QLatin1String("42501") || text.contains(QLatin1String("permission denied")))
        return Failure::Permission;
    return Failure::Other;
}

QString Database::describe(const QSqlError& error)
{
    const QString text = (error.databaseText() + QLatin1Char(' ') + error.driverText()).toLower();
    const QString code = error.nativeErrorCode();
    QString reason;
    if (code == QLatin1String("28P01") || text.contains(QLatin1String("password authentication failed")))
        reason = QStringLiteral("il server non ha accettato la password di questo computer (controlla il file .pgpass)");
    else if (text.contains(QLatin1String("no password supplied")))
        reason = QStringLiteral("il server chiede una password che questo computer non ha (manca nel file .pgpass)");
    else if (text.contains(QLatin1String("could not translate host name")))
        reason = QStringLiteral("il nome del server non si trova nella rete della scuola");
    else if (code == QLatin1String("3D000") ||
             (text.contains(QLatin1String("database")) && text.contains(QLatin1String("does not exist"))))
        reason = QStringLiteral("sul server non c'è la banca dati indicata");
    else if (code == QLatin1String("28000") || (text.contains(QLatin1String("role")) && text.contains(QLatin1String("does not exist"))))
        reason = QStringLiteral("il server non conosce l'utente di questo computer");
    else if (text.contains(QLatin1String("definition of service")))
        reason = QStringLiteral("il servizio indicato non è descritto nel file pg_service.conf");
    else if (code == QLatin1String("42501") || text.contains(QLatin1String("permission denied")))
        reason = QStringLiteral("questo computer non ha il permesso di farlo sul server dei risultati");
    else if (isServerText(text) && connectionLost(text))
        reason = QStringLiteral("il server dei risultati non risponde (la rete o il server sono fermi)");
    else if (text.contains(QLatin1String("full")))
        reason = QStringLiteral("il disco è pieno");
    else if (diskRefusedWrite(error))
        reason = QStringLiteral("il disco è pieno");
    else if (text.contains(QLatin1String("readonly")) || text.contains(QLatin1String("read-only")))
        reason = QStringLiteral("il file si può solo leggere, non scrivere");
    else if (text.contains(QLatin1String("locked")) || text.contains(QLatin1String("busy")))
        reason = QStringLiteral("l'archivio è in uso da un altro computer (o da un'altra copia del programma) e "
                                "per ora non si può scrivere");
    else if (text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed")) ||
             text.contains(QLatin1String("corrupt")))
        reason = QStringLiteral("il file è danneggiato");
    else if (text.contains(QLatin1String("unable to open")) || text.contains(QLatin1String("cannot open")))
        reason = QStringLiteral("il file non si può aprire");
    else
        reason = QStringLiteral("errore dell'archivio");
    const QString detail = error.text().trimmed();
    return detail.isEmpty() ? reason : QStringLiteral("%1 (%2)").arg(reason, detail);
}

Transaction::Transaction(QSqlDatabase db) : m_db(std::move(db))
{
    if (m_db.driverName() != QLatin1String("QSQLITE")) {
        m_active = m_db.transaction();
        if (!m_active)
            m_error = Database::describe(m_db.lastError());
        return;
    }
    QSqlQuery begin(m_db);
    m_active = begin.exec(kBeginWrite);
    if (!m_active)
        m_error = Database::describe(begin.lastError());
}

Transaction::~Transaction()
{
    if (m_active)
        m_db.rollback();
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    if (m_db.commit()) {
        m_active = false;
        return true;
    }
    m_error = Database::describe(m_db.lastError());
    m_db.rollback();
    m_active = false;
    return false;
}

}  // namespace data
