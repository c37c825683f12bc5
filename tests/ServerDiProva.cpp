#include "ServerDiProva.h"

#include "data/ServerSetup.h"

#include <QDebug>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

namespace TestSupport {

namespace {
const auto kSuper = QStringLiteral("placche_prove");
const auto kPostgres = QStringLiteral("postgres");
// Each login role's password, and the one the password file gives for it (the intruder's is wrong).
constexpr struct {
    const char *utente, *password, *nelFile;
} kAccessi[] = {
    {"placche_prove", "super-segreta-1", "super-segreta-1"},
    {"docente", "cattedra-segreta-2", "cattedra-segreta-2"},
    {"aula", "banco-segreto-3", "banco-segreto-3"},
    {"intruso", "vera-segreta-4", "sbagliata-segreta-4"},
};

QString g_perche;
bool g_installato = true;

bool manca(const QString& perche)
{
    g_perche = perche;
    return false;
}

QString ultimaVersione()
{
    QDir lib(QStringLiteral("/usr/lib/postgresql"));
    QStringList versioni = lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versioni.begin(), versioni.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& v : versioni)
        if (QFile::exists(lib.filePath(v + QStringLiteral("/bin/pg_ctl"))))
            return lib.filePath(v + QStringLiteral("/bin"));
    return {};
}
}  // namespace

ServerDiProva* ServerDiProva::istanza()
{
    // Made at the first call, stopped and removed when the program ends.
    static const std::unique_ptr<ServerDiProva> server = [] {
        std::unique_ptr<ServerDiProva> s(new ServerDiProva);
        return s->prepara() ? std::move(s) : nullptr;
    }();
    return server.get();
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

bool ServerDiProva::comando(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_utenteSistema.isEmpty())
        p.start(program, arguments);
    else
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), m_utenteSistema, QStringLiteral("--"), program} + arguments);
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    g_perche = QStringLiteral("%1 %2: %3").arg(program, arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(p.readAll()).trimmed());
    return false;
}

bool ServerDiProva::pgCtl(const QStringList& arguments)
{
    return comando(m_bin + QStringLiteral("/pg_ctl"), arguments + QStringList{QStringLiteral("-w"), QStringLiteral("-D"), m_dati});
}

bool ServerDiProva::prepara()
{
    m_bin = ultimaVersione();
    g_installato = !m_bin.isEmpty() && QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"));
    if (m_bin.isEmpty())
        return manca(QStringLiteral("PostgreSQL is not installed (package postgresql)"));
    if (!g_installato)
        return manca(QStringLiteral("Qt's PostgreSQL driver is not installed (package libqt6sql6-psql)"));
    if (!m_cartella.isValid())
        return manca(QStringLiteral("no temporary folder"));
    m_dati = m_cartella.filePath(QStringLiteral("dati"));
    m_socket = m_cartella.filePath(QStringLiteral("socket"));
    QDir().mkpath(m_socket);

    // Passwords: one file the server is made with, one that libpq reads, as on a school's computer.
    QFile pw(m_cartella.filePath(QStringLiteral("password-iniziale")));
    QFile pgpass(m_cartella.filePath(QStringLiteral("pgpass")));
    if (!pw.open(QIODevice::WriteOnly) || !pgpass.open(QIODevice::WriteOnly))
        return manca(QStringLiteral("cannot write the password files"));
    pw.write(QByteArray(kAccessi[0].password) + '\n');
    for (const auto& a : kAccessi)
        pgpass.write(QStringLiteral("*:*:*:%1:%2\n").arg(QLatin1String(a.utente), QLatin1String(a.nelFile)).toUtf8());
    pw.close();
    pgpass.close();
    pgpass.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    qputenv("PGPASSFILE", pgpass.fileName().toLocal8Bit());
    // Nothing of this machine's own libpq set-up may reach the tests.
    for (const char* v : {"PGHOST", "PGPORT", "PGDATABASE", "PGUSER", "PGSERVICE", "PGSERVICEFILE", "PGSSLMODE"})
        qunsetenv(v);

    // The server refuses to run as root: it then runs as an unprivileged account, owner of its folder.
    if (geteuid() == 0) {
        const passwd* account = getpwnam("postgres");
        if (!account)
            account = getpwnam("nobody");
        if (!account)
            return manca(QStringLiteral("no unprivileged account to run the server as"));
        if (!comando(QStringLiteral("chown"), {QStringLiteral("-R"), QString::fromLocal8Bit(account->pw_name), m_cartella.path()}))
            return false;
        m_utenteSistema = QString::fromLocal8Bit(account->pw_name);
    }
    if (!comando(m_bin + QStringLiteral("/initdb"),
                 {QStringLiteral("-D"), m_dati, QStringLiteral("-U"), kSuper, QStringLiteral("--pwfile"), pw.fileName(),
                  QStringLiteral("--auth-local=scram-sha-256"), QStringLiteral("--auth-host=scram-sha-256"),
                  QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")})
        || !avvia())
        return false;
    QStringList ruoli;
    for (const auto& a : kAccessi)
        if (QLatin1String(a.utente) != kSuper)
            ruoli << QStringLiteral("CREATE ROLE \"%1\" LOGIN PASSWORD '%2'").arg(QLatin1String(a.utente), QLatin1String(a.password));
    return esegui(kPostgres, ruoli);
}

bool ServerDiProva::avvia()
{
    // Reached only through a socket in its own folder, never through a TCP port.
    m_avviato = pgCtl({QStringLiteral("start"), QStringLiteral("-l"), m_cartella.filePath(QStringLiteral("server.log")),
                       QStringLiteral("-o"), QStringLiteral("-c listen_addresses='' -k %1 -p %2").arg(m_socket).arg(kPorta)});
    return m_avviato;
}

bool ServerDiProva::ferma()
{
    m_avviato = !pgCtl({QStringLiteral("stop"), QStringLiteral("-m"), QStringLiteral("fast")});
    return !m_avviato;
}

ServerDiProva::~ServerDiProva()
{
    if (m_avviato)
        pgCtl({QStringLiteral("stop"), QStringLiteral("-m"), QStringLiteral("immediate")});
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
    Connessione c(QStringLiteral("QPSQL"));
    server(database, kSuper).configura(c.db);
    if (!c.db.open())
        return manca(c.db.lastError().text());
    QSqlQuery q(c.db);
    q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    for (const QString& s : statements)
        if (!q.exec(s))
            return manca(s + QStringLiteral(": ") + q.lastError().text());
    return true;
}

QString ServerDiProva::nuovoDatabase()
{
    const QString nome = QStringLiteral("prova_%1").arg(++m_database);
    return esegui(kPostgres, {QStringLiteral("CREATE DATABASE \"%1\"").arg(nome)}) ? nome : QString();
}

bool ServerDiProva::preparaCorso(const QString& database, QString* messaggio)
{
    Connessione c(QStringLiteral("QPSQL"));
    server(database, kSuper).configura(c.db);
    const bool ok = c.db.open() && data::ServerSetup::prepara(c.db, QStringLiteral(PLACCHE_SORGENTE_CORSO), messaggio);
    if (!ok && messaggio->isEmpty())
        *messaggio = c.db.lastError().text();
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
    const bool ok = esegui(nome, {QStringLiteral("GRANT %1 TO aula, intruso").arg(QLatin1String(data::ServerSetup::kRuoloAlunni)),
                                  QStringLiteral("GRANT %1 TO docente").arg(QLatin1String(data::ServerSetup::kRuoloInsegnanti))});
    return ok ? nome : QString();
}

ArchivioDiProva::ArchivioDiProva(Motore motore, bool conImmagini, const QString& utente)
    : m_motore(motore), m_cartella(motore == Motore::File, conImmagini), m_utente(utente)
{
    if (motore == Motore::File)
        return;
    if (ServerDiProva* server = ServerDiProva::istanza())
        m_database = server->nuovoArchivio();
    if (m_database.isEmpty()) {
        m_errore = QStringLiteral("no PostgreSQL server for the tests: ") + ServerDiProva::perche();
        return;
    }
    // The program looks for its file in the program folder's own configuration folder.
    const QString cartella = m_cartella.percorso() + QStringLiteral("/configurazione");
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
    if (errore)
        errore->clear();
    return m_motore == Motore::File
               ? data::Database::open(m_cartella.archivio(), errore)
               : data::Database::openServer(ServerDiProva::istanza()->server(m_database, utente.isEmpty() ? m_utente : utente), errore);
}

QString ArchivioDiProva::indirizzo() const
{
    if (m_motore == Motore::File)
        return m_cartella.archivio();
    const data::Server s = ServerDiProva::istanza()->server(m_database, m_utente);
    return QStringLiteral("host=%1 porta=%2 database=%3 utente=%4").arg(s.host).arg(s.porta).arg(s.database, s.utente);
}

QVariant ArchivioDiProva::interroga(const QString& statement, const QVariantList& values) const
{
    const bool file = m_motore == Motore::File;
    Connessione c(file ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), file ? m_cartella.archivio() : QString());
    if (!file)
        ServerDiProva::istanza()->server(m_database, kSuper).configura(c.db);
    if (!c.db.open())
        qWarning() << c.db.lastError().text();
    QSqlQuery q(c.db);
    if (!values.isEmpty())
        q.prepare(statement);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!(values.isEmpty() ? q.exec(statement) : q.exec()))
        qWarning() << statement << q.lastError().text();
    return q.next() ? q.value(0) : QVariant();
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
