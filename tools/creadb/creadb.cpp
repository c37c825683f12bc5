// Builds the course database from its readable source, only when the file does not exist yet; or makes a
// consistent copy of the archive, also while the program is running and storing results.
//   creadb FOLDER_OF_SOURCE DATABASE_FILE
//   creadb --copia DEFAULT_DATABASE_FILE DESTINATION
// or prepares a classroom's PostgreSQL database for the course (run again at will: results are kept):
//   creadb --server "servizio=NAME" | "host=H porta=P database=D utente=U" | postgresql://U@H/D [FOLDER_OF_SOURCE]
// or brings an existing archive's question tables to the course of a source folder (the installer runs it
// on the installed archive; the program does the same at start-up), or prints the fingerprints of a
// source folder's question tables, for its impronte.txt:
//   creadb --aggiorna FOLDER_OF_SOURCE DATABASE_FILE
//   creadb --impronte FOLDER_OF_SOURCE
#include "app/Configurazione.h"
#include "data/AggiornaCorso.h"
#include "data/CourseBuilder.h"
#include "data/Database.h"
#include "data/Server.h"
#include "data/ServerSetup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QUrl>

namespace {
// A store in progress is waited for this long before the copy gives up.
constexpr int kAttesaMs = 30000;

// Opens `path` read-only under `name`; the caller removes the connection.
QSqlDatabase apriInLettura(const QString& path, const QString& name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                       + QStringLiteral("?mode=ro"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kAttesaMs));
    db.open();
    return db;
}

int conta(QSqlDatabase& db, const QString& table)
{
    QSqlQuery q(QStringLiteral(R"(SELECT COUNT(*) FROM "%1")").arg(table), db);
    return q.next() ? q.value(0).toInt() : -1;
}

int impronte(const QString& sorgente)
{
    data::AggiornaCorso corso;
    QString errore;
    if (!corso.leggi(sorgente, &errore)) {
        QTextStream(stderr) << "creadb: " << errore << "\n";
        return 1;
    }
    QTextStream out(stdout);
    for (const QString& riga : corso.righeImpronte())
        out << riga << "\n";
    return 0;
}

// What the program does at start-up, said on the terminal: the technician sees it while installing.
int aggiorna(const QString& sorgente, const QString& archivio)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    data::AggiornaCorso corso;
    QString errore;
    if (!corso.leggi(sorgente, &errore)) {
        err << "creadb: " << errore << "\n";
        return 1;
    }
    auto db = data::Database::open(archivio, &errore);
    if (!db) {
        err << "creadb: " << errore << "\n";
        return 1;
    }
    const auto esito = corso.aggiorna(db->connection());
    for (const QString& avviso : esito.avvisi)
        err << "creadb: " << avviso << "\n";
    if (!esito.errore.isEmpty()) {
        err << "creadb: le domande dell'archivio restano come erano: " << esito.errore << "\n";
        return 1;
    }
    if (esito.sostituite.isEmpty())
        out << "Le domande dell'archivio " << db->path() << " non cambiano (versione " << corso.versione()
            << " del corso).\n";
    else
        out << "Nell'archivio " << db->path() << " le domande di " << esito.sostituite.join(QStringLiteral(", "))
            << " sono passate alla versione " << corso.versione() << " del corso; i risultati restano com'erano.\n";
    return 0;
}

// The archive is copied with VACUUM INTO: one read transaction, so the copy is the archive as it was at
// one instant, never half of a store. It is written beside the destination under a name of its own,
// checked, and only then given the destination's name, so a failed copy leaves no file that looks good.
int copia(const QString& predefinito, QString destinazione)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const Configurazione::Archivio configurato = Configurazione::archivio();
    if (!configurato.errore.isEmpty()) {
        err << configurato.errore << "\n";
        return 1;
    }
    const QString origine = QFileInfo(configurato.file.isEmpty() ? predefinito : configurato.file).absoluteFilePath();
    if (!QFileInfo(origine).isFile()) {
        err << "Non trovo l'archivio dei risultati: " << origine << "\nNon ho copiato niente.\n";
        return 1;
    }
    if (QFileInfo(destinazione).isDir())
        destinazione = QDir(destinazione).filePath(
            QStringLiteral("morvel6-%1.mdb").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"))));
    if (QFileInfo::exists(destinazione)) {
        err << "Esiste già " << destinazione << ": non lo sovrascrivo. Scegli un altro nome.\n";
        return 1;
    }
    const QString parziale = destinazione + QStringLiteral(".parziale-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(parziale);

    QString errore;
    int questionari = -1;
    int sommativi = -1;
    {
        QSqlDatabase db = apriInLettura(origine, QStringLiteral("origine"));
        QSqlQuery vacuum(db);
        QString quoted = QFileInfo(parziale).absoluteFilePath();
        quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
        if (!db.isOpen())
            errore = data::Database::describe(db.lastError());
        else if (!vacuum.exec(QStringLiteral("VACUUM INTO '%1'").arg(quoted)))
            errore = data::Database::describe(vacuum.lastError());
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("origine"));
    if (errore.isEmpty()) {
        QSqlDatabase db = apriInLettura(parziale, QStringLiteral("copia"));
        QSqlQuery check(QStringLiteral("PRAGMA integrity_check"), db);
        if (!check.next() || check.value(0).toString() != QLatin1String("ok"))
            errore = QStringLiteral("la copia non è integra");
        questionari = conta(db, QStringLiteral("studenti"));
        sommativi = conta(db, QStringLiteral("studsomm"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("copia"));
    if (errore.isEmpty() && !QFile::rename(parziale, destinazione))
        errore = QStringLiteral("non riesco a dare alla copia il nome %1").arg(destinazione);
    if (!errore.isEmpty()) {
        QFile::remove(parziale);
        err << "Copia non riuscita: " << errore << ".\nL'archivio " << origine << " non è stato toccato.\n";
        return 1;
    }
    out << "Ho copiato l'archivio " << origine << "\nin " << destinazione << "\n(" << questionari
        << " risultati di questionari e test della sintesi animata, " << sommativi << " di test sommativi).\n";
    return 0;
}
// The technician prepares the server once, as a user that may create tables and roles; the course source
// is the one installed beside this tool unless another folder is given.
int server(const QString& indirizzo, QString sorgente)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    data::Server server;
    QString errore;
    if (!data::Server::leggi(indirizzo, &server, &errore)) {
        err << "creadb: il server è indicato male: " << errore << ".\n";
        return 2;
    }
    if (sorgente.isEmpty())
        sorgente = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("corso"));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        err << "creadb: manca il componente per PostgreSQL (su Debian: il pacchetto libqt6sql6-psql).\n";
        return 1;
    }
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("server"));
        server.configura(db);
        if (!db.open()) {
            err << "creadb: non riesco a collegarmi al " << server.nome() << ": "
                << data::Database::describe(db.lastError()) << "\n";
        } else {
            QString messaggio;
            ok = data::ServerSetup::prepara(db, sorgente, &messaggio);
            (ok ? out : err) << messaggio << "\n";
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("server"));
    return ok ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() == 3 && args.at(1) == QLatin1String("--impronte"))
        return impronte(args.at(2));
    if (args.size() == 4 && args.at(1) == QLatin1String("--aggiorna"))
        return aggiorna(args.at(2), args.at(3));

    if (args.size() == 4 && args.at(1) == QLatin1String("--copia"))
        return copia(args.at(2), args.at(3));
    if ((args.size() == 3 || args.size() == 4) && args.at(1) == QLatin1String("--server"))
        return server(args.at(2), args.value(3));
    if (args.size() != 3) {
        err << "uso: creadb CARTELLA_SORGENTE FILE_ARCHIVIO\n"
               "     creadb --copia FILE_ARCHIVIO_PREDEFINITO DESTINAZIONE\n"
               "     creadb --server \"servizio=NOME\" [CARTELLA_SORGENTE]\n"
               "     creadb --server \"host=SERVER porta=5432 database=placche utente=UTENTE\" [CARTELLA_SORGENTE]\n"
               "     creadb --aggiorna CARTELLA_SORGENTE FILE_ARCHIVIO\n"
               "     creadb --impronte CARTELLA_SORGENTE\n";
        return 2;
    }
    QString message;
    const auto outcome = data::CourseBuilder::build(args.at(1), args.at(2), &message);
    if (outcome == data::CourseBuilder::Outcome::Failed) {
        err << "creadb: " << message << "\n";
        return 1;
    }
    QTextStream(stdout) << message << "\n";
    return 0;
}
