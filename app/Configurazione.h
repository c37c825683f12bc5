#pragma once

#include "data/Server.h"

#include <QString>

#include <optional>

// The optional configuration file placche/placche.ini, looked for in the user's configuration folder
// first ($XDG_CONFIG_HOME, else ~/.config) and then in the system-wide ones ($XDG_CONFIG_DIRS, else
// /etc/xdg): the first file that names an archive wins. An installed program is told there where its
// archive lives; a program run from its build folder has no such file and keeps the archive beside it.
// A classroom's computers are told instead to store into one PostgreSQL server:
//   [archivio]
//   tipo=postgresql
//   servizio=NAME                 (a libpq service), or host=, porta=, database=, utente=
//   sslmode=...                   (optional)
// The password is never written there: libpq reads it from ~/.pgpass, PGPASSFILE or the service file.
namespace Configurazione {

struct Archivio {
    QString file;     // absolute path of the archive; empty when no configuration names one
    QString origine;  // the configuration file that named it
    QString errore;   // an Italian message when the configuration names it wrongly
    std::optional<data::Server> server;  // tipo=postgresql: the classroom's server instead of a file
};

// Section [archivio]: tipo= (sqlite, the default, or postgresql), then file= or the server's keys.
Archivio archivio();
// The Italian start-up message when the configured archive is missing; empty otherwise.
QString mancante(const Archivio& archivio);

}  // namespace Configurazione
