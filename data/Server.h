#pragma once

#include <QSqlDatabase>
#include <QString>

namespace data {

// Where a classroom's shared results server is: a libpq service (pg_service.conf), or a host, port,
// database and user. Never a password: libpq reads it from ~/.pgpass, PGPASSFILE or the service file.
struct Server {
    QString servizio;
    QString host;
    int porta = 0;  // 0: libpq's default
    QString database;
    QString utente;
    QString sslmode;

    // How messages name the server to a teacher or a technician: "servizio aula" or "host/database".
    QString nome() const;
    // An Italian reason when a value could not be handed to libpq safely; empty when all is well.
    QString problema() const;
    // The options QtSql passes on to libpq besides host, port, database and user (service, sslmode,
    // a short connect timeout and the program's name on the server).
    QString opzioni() const;
    // Gives a QtSql connection of the PostgreSQL driver these parameters, ready to be opened.
    void configura(QSqlDatabase& db) const;

    // Reads "servizio=aula", "host=… porta=… database=… utente=…" (libpq's own key names too) or a
    // postgresql:// address. False, with an Italian reason, on anything else.
    static bool leggi(const QString& testo, Server* server, QString* errore);
};

}  // namespace data
