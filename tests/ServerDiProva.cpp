#include "ServerDiProva.h"

#include "data/Database.h"
#include "data/ServerSetup.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace TestSupport {

namespace {
const auto kSuper = QStringLiteral("placche_prove");
const auto kConnessione = QStringLiteral("server-di-prova");
// Each login role's password, and the one the password file gives for it (the intruder's is wrong).
struct Accesso {
    const char* utente;
    const char* password;
    const char* nelFile;
};
constexpr Accesso kAccessi[] = {
    {"placche_prove", "super-segreta-1", "super-segreta-1"},
    {"docente", "cattedra-segreta-2", "cattedra-segreta-2"},
    {"aula", "banco-segreto-3", "banco-segreto-3"},
    {"intruso", "vera-segreta-4", "sbagliata-segreta-4"},
};

std::unique_ptr<ServerDiProva> g_server;
QString g_perche;
bool g_provato = false;
bool g_installato = true;

QString ultimaVersione()
{
    QDir lib(QStringLiteral("/usr/lib/postgresql"));
    QStringList versioni = lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versioni.begin(), versioni.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    for (auto it = versioni.crbegin(); it != versioni.crend(); ++it)
        if (QFile::exists(lib.filePath(*it + QStringLiteral("/bin/pg_ctl"))))
            return lib.filePath(*it + QStringLiteral("/bin"));
    return {};
}

void fermaAllaFine()
{
    g_server.reset();
}
}  // namespace

ServerDiProva* ServerDiProva::istanza()
{
    if (!g_provato) {
        g_provato = true;
        std::unique_ptr<ServerDiProva> server(new ServerDiProva);
        if (server->prepara()) {
            g_server = std::move(server);
            std::atexit(fermaAllaFine);
        }
    }
    return g_server.get();
}

QString ServerDiProva::perche()
{
    return g_perche;
}

bool ServerDiProva::installato()
{
    istanza();
    return g_installato;
}

bool ServerDiProva::comando(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_utenteSistema.isEmpty()) {
        p.start(program, arguments);
    } else {
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), m_utenteSistema, QStringLiteral("--"), program} + arguments);
    }
    const bool finito = p.waitForFinished(60000);
    const QString testo = QString::fromLocal8Bit(p.readAll());
    if (output)
        *output = testo;
    if (!finito || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        g_perche = QStringLiteral("%1 %2: %3").arg(program, arguments.join(QLatin1Char(' ')), testo.trimmed());
        return false;
    }
    return true;
}

bool ServerDiProva::pgCtl(const QStringList& arguments)
{
    return comando(m_bin + QStringLiteral("/pg_ctl"), arguments);
}

bool ServerDiProva::prepara()
{
    m_bin = ultimaVersione();
    if (m_bin.isEmpty()) {
        g_installato = false;
        g_perche = QStringLiteral("PostgreSQL is not installed (package postgresql)");
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        g_installato = false;
        g_perche = QStringLiteral("Qt's PostgreSQL driver is not installed (package libqt6sql6-psql)");
        return false;
    }
    QTemporaryDir cartella(QDir::tempPath() + QStringLiteral("/placche-server-XXXXXX"));
    if (!cartella.isValid()) {
        g_perche = QStringLiteral("no temporary folder");
        return false;
    }
    cartella.setAutoRemove(false);
    m_cartella = cartella.path();
    m_dati = m_cartella + QStringLiteral("/dati");
    m_socket = m_cartella + QStringLiteral("/socket");
    QDir().mkpath(m_socket);

    // Passwords: one file the server is made with, one that libpq reads, as on a school's computer.
    QFile pw(m_cartella + QStringLiteral("/password-iniziale"));
    QFile pgpass(m_cartella + QStringLiteral("/pgpass"));
    if (!pw.open(QIODevice::WriteOnly) || !pgpass.open(QIODevice::WriteOnly)) {
        g_perche = QStringLiteral("cannot write the password files");
        return false;
    }
    pw.write(kAccessi[0].password);
    pw.write("\n");
    for (const Accesso& a : kAccessi)
        pgpass.write(QStringLiteral("*:*:*:%1:%2\n").arg(QLatin1String(a.utente), QLatin1String(a.nelFile)).toUtf8());
    pw.close();
    pgpass.close();
    pgpass.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    qputenv("PGPASSFILE", pgpass.fileName().toLocal8Bit());
    // Nothing of this machine's own libpq set-up may reach the tests.
    for (const char* v : {"PGHOST", "PGPORT", "PGDATABASE", "PGUSER", "PGSERVICE", "PGSERVICEFILE", "PGSSLMODE"})
        qunsetenv(v);

    if (geteuid() == 0) {
        const passwd* account = getpwnam("postgres");
        if (!account)
            account = getpwnam("nobody");
        if (!account) {
            g_perche = QStringLiteral("no unprivileged account to run the server as");
            return false;
        }
        // The server's account owns the cluster's folder; root reaches it all the same.
        if (!comando(QStringLiteral("chown"), {QStringLiteral("-R"), QString::fromLocal8Bit(account->pw_name), m_cartella}))
            return false;
        m_utenteSistema = QString::fromLocal8Bit(account->pw_name);
    }
    if (!comando(m_bin + QStringLiteral("/initdb"),
                 {QStringLiteral("-D"), m_dati, QStringLiteral("-U"), kSuper, QStringLiteral("--pwfile"), pw.fileName(),
                  QStringLiteral("--auth-local=scram-sha-256"), QStringLiteral("--auth-host=scram-sha-256"),
                  QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")}))
        return false;
    if (!avvia())
        return false;
    QStringList ruoli;
    for (const Accesso& a : kAccessi)
        if (QLatin1String(a.utente) != kSuper)
            ruoli << QStringLiteral("CREATE ROLE \"%1\" LOGIN PASSWORD '%2'").arg(QLatin1String(a.utente), QLatin1String(a.password));
    return esegui(QStringLiteral("postgres"), ruoli);
}

bool ServerDiProva::avvia()
{
    m_avviato = pgCtl({QStringLiteral("start"), QStringLiteral("-w"), QStringLiteral("-D"), m_dati, QStringLiteral("-l"),
                       m_cartella + QStringLiteral("/server.log"), QStringLiteral("-o"),
                       QStringLiteral("-c listen_addresses='' -k %1 -p %2").arg(m_socket).arg(kPorta)});
    return m_avviato;
}

bool ServerDiProva::ferma()
{
    const bool fermato = pgCtl({QStringLiteral("stop"), QStringLiteral("-w"), QStringLiteral("-m"), QStringLiteral("fast"),
                                QStringLiteral("-D"), m_dati});
    m_avviato = !fermato;
    return fermato;
}

ServerDiProva::~ServerDiProva()
{
    if (m_avviato)
        pgCtl({QStringLiteral("stop"), QStringLiteral("-w"), QStringLiteral("-m"), QStringLiteral("immediate"),
               QStringLiteral("-D"), m_dati});
    QDir(m_cartella).removeRecursively();
}

data::Server ServerDiProva::server(const QString& database, const QString& utente) const
{
    data::Server s;
    s.host = m_socket;
    s.porta = kPorta;
    s.database = database;
    s.utente = utente;
    return s;
}

bool ServerDiProva::esegui(const QString& database, const QStringList& statements)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kConnessione);
        server(database, kSuper).configura(db);
        if (!db.open()) {
            g_perche = db.lastError().text();
            ok = false;
        }
        QSqlQuery q(db);
        if (ok)
            q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
        for (const QString& s : statements) {
            if (!ok)
                break;
            if (!q.exec(s)) {
                g_perche = s + QStringLiteral(": ") + q.lastError().text();
                ok = false;
            }
        }
    }
    QSqlDatabase::removeDatabase(kConnessione);
    return ok;
}

QString ServerDiProva::nuovoDatabase()
{
    const QString nome = QStringLiteral("prova_%1").arg(++m_database);
    if (!esegui(QStringLiteral("postgres"), {QStringLiteral("CREATE DATABASE \"%1\"").arg(nome)}))
        return {};
    return nome;
}

bool ServerDiProva::preparaCorso(const QString& database, QString* messaggio)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kConnessione);
        server(database, kSuper).configura(db);
        ok = db.open() && data::ServerSetup::prepara(db, QStringLiteral(PLACCHE_SORGENTE_CORSO), messaggio);
        if (!ok && messaggio->isEmpty())
            *messaggio = db.lastError().text();
    }
    QSqlDatabase::removeDatabase(kConnessione);
    return ok;
}

QString ServerDiProva::nuovoArchivio()
{
    const QString nome = nuovoDatabase();
    if (nome.isEmpty())
        return {};
    QString messaggio;
    if (!preparaCorso(nome, &messaggio)) {
        g_perche = messaggio;
        return {};
    }
    // The school's technician makes each computer's login a member of its group.
    if (!esegui(nome, {QStringLiteral("GRANT %1 TO aula, intruso").arg(QLatin1String(data::ServerSetup::kRuoloAlunni)),
                       QStringLiteral("GRANT %1 TO docente").arg(QLatin1String(data::ServerSetup::kRuoloInsegnanti))}))
        return {};
    return nome;
}

ArchivioDiProva::ArchivioDiProva(Motore motore, bool conImmagini, const QString& utente)
    : m_motore(motore), m_utente(utente)
{
    m_cartella = std::make_unique<CartellaProgramma>(motore == Motore::File, conImmagini);
    if (motore == Motore::File) {
        m_pronto = true;
        return;
    }
    ServerDiProva* server = ServerDiProva::istanza();
    if (server)
        m_database = server->nuovoArchivio();
    m_pronto = !m_database.isEmpty();
    if (!m_pronto) {
        m_errore = QStringLiteral("no PostgreSQL server for the tests: ") + ServerDiProva::perche();
        return;
    }
    configura(utente);
}

void ArchivioDiProva::configura(const QString& utente)
{
    m_utente = utente;
    if (m_motore == Motore::File)
        return;
    // The program folder's own configuration folder is where the program looks for its file.
    const QString cartella = m_cartella->percorso() + QStringLiteral("/configurazione");
    QDir().mkpath(cartella + QStringLiteral("/placche"));
    const data::Server s = ServerDiProva::istanza()->server(m_database, utente);
    QSettings ini(cartella + QStringLiteral("/placche/placche.ini"), QSettings::IniFormat);
    ini.clear();
    ini.setValue(QStringLiteral("archivio/tipo"), QStringLiteral("postgresql"));
    ini.setValue(QStringLiteral("archivio/host"), s.host);
    ini.setValue(QStringLiteral("archivio/porta"), s.porta);
    ini.setValue(QStringLiteral("archivio/database"), s.database);
    ini.setValue(QStringLiteral("archivio/utente"), s.utente);
    ini.sync();
    qputenv("XDG_CONFIG_HOME", cartella.toLocal8Bit());
}

std::unique_ptr<data::Database> ArchivioDiProva::apri(QString* errore, const QString& utente) const
{
    QString e;
    std::unique_ptr<data::Database> db =
        m_motore == Motore::File
            ? data::Database::open(m_cartella->archivio(), &e)
            : data::Database::openServer(ServerDiProva::istanza()->server(m_database, utente.isEmpty() ? m_utente : utente), &e);
    if (errore)
        *errore = e;
    return db;
}

QString ArchivioDiProva::indirizzo() const
{
    if (m_motore == Motore::File)
        return m_cartella->archivio();
    const data::Server s = ServerDiProva::istanza()->server(m_database, m_utente);
    return QStringLiteral("host=%1 porta=%2 database=%3 utente=%4").arg(s.host).arg(s.porta).arg(s.database, s.utente);
}

QVariant ArchivioDiProva::interroga(const QString& statement, const QVariantList& values) const
{
    QVariant risultato;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(m_motore == Motore::File ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"),
                                                    kConnessione);
        if (m_motore == Motore::File)
            db.setDatabaseName(m_cartella->archivio());
        else
            ServerDiProva::istanza()->server(m_database, kSuper).configura(db);
        if (!db.open())
            qWarning() << db.lastError().text();
        QSqlQuery q(db);
        if (!values.isEmpty())
            q.prepare(statement);
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!(values.isEmpty() ? q.exec(statement) : q.exec()))
            qWarning() << statement << q.lastError().text();
        if (q.next())
            risultato = q.value(0);
    }
    QSqlDatabase::removeDatabase(kConnessione);
    return risultato;
}

void colonnaMotore()
{
    QTest::addColumn<Motore>("motore");
}

void soloMotore()
{
    colonnaMotore();
    QTest::newRow("file") << Motore::File;
    QTest::newRow("server") << Motore::Server;
}

QList<Motore> motori()
{
    return {Motore::File, Motore::Server};
}

QByteArray riga(Motore motore, const char* nome)
{
    return (motore == Motore::File ? QByteArrayLiteral("file: ") : QByteArrayLiteral("server: ")) + nome;
}

}  // namespace TestSupport
