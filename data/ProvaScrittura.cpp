#include "data/ProvaScrittura.h"

#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace data::ProvaScrittura {

namespace {
// A table made and dropped again in a transaction that is never stored: the engine has to write the file
// and the journal beside it, which is what storing a result needs.
const auto kProva = QStringLiteral(R"(CREATE TABLE "placche_prova_scrittura" ("x" INTEGER))");

bool occupato(const QSqlError& error)
{
    // SQLITE_BUSY and SQLITE_LOCKED, with or without their extended codes.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 5 || code == 6;
}
}  // namespace

Esito prova(QSqlDatabase db, QString* motivo)
{
    if (db.driverName() != QLatin1String("QSQLITE"))
        return Esito::Scrivibile;
    Transaction transazione(db);
    // Taking the write lock fails only while another computer holds it (a read-only file grants it).
    if (!transazione.isActive())
        return Esito::Occupato;
    QSqlQuery query(db);
    if (query.exec(kProva))
        return Esito::Scrivibile;  // the transaction is undone as it goes
    const QSqlError errore = query.lastError();
    if (occupato(errore))
        return Esito::Occupato;
    if (motivo)
        *motivo = Database::describe(errore);
    return Esito::NonScrivibile;
}

}  // namespace data::ProvaScrittura
