#pragma once

#include "TestSupport.h"
#include "data/Server.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace data {
class Database;
}

namespace TestSupport {

// A throwaway PostgreSQL cluster for one test program: made in a temporary folder the first time a test
// asks for it, reached only through a Unix socket in that folder (no TCP port), stopped and removed when
// the program ends. The server refuses to run as root, so a root test run starts it as the unprivileged
// "postgres" account (or "nobody"). Passwords come from a PGPASSFILE of its own, as on a school's PCs.
//
// Its login roles: "placche_prove" (superuser, prepares databases), "docente" (the teacher's computer),
// "aula" (a pupils' computer), and "intruso", whose stored password is wrong.
class ServerDiProva {
public:
    // The cluster, started at the first call; nullptr when PostgreSQL is not installed or did not start
    // (perche() says why: a test then skips with that reason).
    static ServerDiProva* istanza();
    static QString perche();
    // False when PostgreSQL or Qt's driver for it is not installed: the tests that need it skip. A server
    // that is installed but does not work is a failure.
    static bool installato();

    // A new database on the cluster, empty, with a name of its own; empty on failure (perche()).
    QString nuovoDatabase();
    // The same, prepared for the course as the setup tool prepares a school's server.
    QString nuovoArchivio();
    // Runs the set-up tool's preparation on `database` as the technician; false with its message.
    bool preparaCorso(const QString& database, QString* messaggio);
    // How a configuration reaches `database` as `utente`.
    data::Server server(const QString& database, const QString& utente = QStringLiteral("docente")) const;
    // Runs statements as the superuser on `database`; false with perche() on the first that fails.
    bool esegui(const QString& database, const QStringList& statements);

    QString cartellaSocket() const { return m_socket; }
    int porta() const { return kPorta; }

    // Stops and starts the server again, as a school's server restarted in the middle of a lesson.
    bool ferma();
    bool avvia();

    ~ServerDiProva();

private:
    static constexpr int kPorta = 5432;
    ServerDiProva() = default;
    bool prepara();
    bool pgCtl(const QStringList& arguments);
    bool comando(const QString& program, const QStringList& arguments, QString* output = nullptr);

    QString m_bin;      // the server's programs
    QString m_cartella; // the cluster's own temporary folder
    QString m_dati;
    QString m_socket;
    QString m_utenteSistema;  // the account the server runs as, when the tests run as root
    int m_database = 0;
    bool m_avviato = false;
};

// Which engine an engine-independent test runs on.
enum class Motore { File, Server };

// A fresh course database for one test on either engine: a file in a program folder of its own, or a
// database of its own on the throwaway server, prepared as the setup tool prepares a school's. On the
// server the program folder holds a configuration that sends the program there, as `utente`.
class ArchivioDiProva {
public:
    explicit ArchivioDiProva(Motore motore, bool conImmagini = false, const QString& utente = QStringLiteral("docente"));

    // False when the engine is not available here: the test skips, with errore() as reason.
    bool pronto() const { return m_pronto; }
    QString errore() const { return m_errore; }
    Motore motore() const { return m_motore; }

    // Opens it as the program does, as the configured user (or another one, on the server).
    std::unique_ptr<data::Database> apri(QString* errore = nullptr, const QString& utente = {}) const;
    // Sends the program's configuration to it as another user (a pupils' computer: "aula").
    void configura(const QString& utente);
    CartellaProgramma& cartella() { return *m_cartella; }
    // How messages and tests name it: a file path, or the server database's name.
    QString nome() const { return m_motore == Motore::File ? m_cartella->archivio() : m_database; }
    // How a copy of the program on another computer is pointed at it (tests/scrivirisultati).
    QString indirizzo() const;
    // Runs a statement straight on it, around the program (as a teacher's own edit, or a fault), with
    // bound values; the first value of its first row.
    QVariant interroga(const QString& statement, const QVariantList& values = {}) const;

private:
    Motore m_motore;
    std::unique_ptr<CartellaProgramma> m_cartella;
    QString m_database;
    QString m_utente;
    bool m_pronto = false;
    QString m_errore;
};

// Adds the "motore" column to a `_data()` table, whose rows then go once per engine of motori(), each
// named by riga() ("file: two writers", "server: two writers").
void colonnaMotore();
QList<Motore> motori();
QByteArray riga(Motore motore, const char* nome);
// The `_data()` of a test with no other column: one row per engine.
void soloMotore();

}  // namespace TestSupport

Q_DECLARE_METATYPE(TestSupport::Motore)

// At the head of a test with a "motore" column: a fresh archive on that engine, or a skip.
#define ARCHIVIO_DI_PROVA(variabile, ...)                                                  \
    QFETCH(TestSupport::Motore, motore);                                                   \
    TestSupport::ArchivioDiProva variabile(motore __VA_OPT__(, ) __VA_ARGS__);             \
    PRONTO(variabile)

// A server archive that is not there: a skip when PostgreSQL is not installed, else a failure.
#define PRONTO(archivio)                                                                   \
    if (!(archivio).pronto()) {                                                            \
        if (!TestSupport::ServerDiProva::installato())                                     \
            QSKIP(qPrintable((archivio).errore()));                                        \
        QFAIL(qPrintable((archivio).errore()));                                            \
    }
