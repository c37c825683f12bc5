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

QString Database::check() const
{
    QSqlDatabase db = connection();
    {
        QSqlQuery master(db);
        if (!master.exec(kSqliteMaster))
            return QStringLiteral("il file è danneggiato o non è un archivio (%1)").arg(describe(master.lastError()));
    }
    QStringList tables = questionTables();
    tables << QStringLiteral("studenti") << QStringLiteral("studsomm");
    for (const QString& table : std::as_const(tables)) {
        const QSqlRecord columns = db.record(table);
        if (columns.isEmpty())
            return QStringLiteral("manca la tabella \"%1\"").arg(table);
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
    return std::make_unique<Recordset>(connection(), table);
}

QString Database::describe(const QSqlError& error)
{
    const QString text = (error.databaseText() + QLatin1Char(' ') + error.driverText()).toLower();
    QString reason;
    if (text.contains(QLatin1String("full")))
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
