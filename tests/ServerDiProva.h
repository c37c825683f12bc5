#pragma once

#include "TestSupport.h"
#include "data/Database.h"
#include "data/Server.h"

#include <QDir>
#include <QVariant>

#include <memory>

namespace TestSupport {

// A throwaway PostgreSQL cluster for one test program, in a temporary folder. Its login roles:
// "placche_prove" (superuser), "docente" (the teacher's computer), "aula" (a pupils' computer) and
// "intruso", whose password in the PGPASSFILE is wrong.
class ServerDiProva {
public:
    // Nullptr when the cluster did not start: a test skips or fails with perche().
    static ServerDiProva* istanza();
    static QString perche();
    // False when PostgreSQL or Qt's driver for it is missing (the tests skip); a failing server is a fault.
    static bool installato();

    // A new empty database of its own; empty on failure (perche()).
    QString nuovoDatabase();
    // The same, prepared as the setup tool prepares a school's server.
    QString nuovoArchivio();
    // The setup tool's preparation of `database`, as the technician; false with its message.
    bool preparaCorso(const QString& database, QString* messaggio);
    data::Server server(const QString& database, const QString& utente = QStringLiteral("docente")) const;
    // Runs statements as the superuser; false with perche() at the first that fails.
    bool esegui(const QString& database, const QStringList& statements);

    // As a school's server restarted in the middle of a lesson.
    bool ferma();
    bool avvia();

    ~ServerDiProva();

private:
    static constexpr int kPorta = 5432;
    ServerDiProva() = default;
    bool prepara();
    bool pgCtl(const QStringList& arguments);
    bool comando(const QString& program, const QStringList& arguments);

    QTemporaryDir m_cartella{QDir::tempPath() + QStringLiteral("/placche-server-XXXXXX")};
    QString m_bin;  // the server's programs
    QString m_dati;
    QString m_socket;
    QString m_utenteSistema;  // the account the server runs as, when the tests run as root
    int m_database = 0;
    bool m_avviato = false;
};

// Which engine an engine-independent test runs on.
enum class Motore { File, Server };

// A fresh course database for one test: a file in a program folder of its own, or a database of its own
// on the throwaway server, where the program folder's configuration sends the program as `utente`.
class ArchivioDiProva {
public:
    explicit ArchivioDiProva(Motore motore, bool conImmagini = false, const QString& utente = QStringLiteral("docente"));

    // False when the engine is not available here, with errore() as the reason.
    bool pronto() const { return m_motore == Motore::File || !m_database.isEmpty(); }
    QString errore() const { return m_errore; }
    Motore motore() const { return m_motore; }

    // Opens it as the program does, as the configured user (or another one, on the server).
    std::unique_ptr<data::Database> apri(QString* errore = nullptr, const QString& utente = {}) const;
    // A file path, or the server database's name.
    QString nome() const { return m_motore == Motore::File ? m_cartella.archivio() : m_database; }
    // How a copy of the program on another computer is pointed at it (tests/scrivirisultati).
    QString indirizzo() const;
    // The first value a statement with bound values gives, run around the program (a teacher's own edit,
    // or a fault).
    QVariant interroga(const QString& statement, const QVariantList& values = {}) const;

private:
    Motore m_motore;
    CartellaProgramma m_cartella;
    QString m_database;
    QString m_utente;
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
