#include "data/Risposte.h"

#include "data/Clock.h"
#include "data/Database.h"
#include "data/Recordset.h"

#include <QSqlQuery>

namespace data {

namespace Risposte {

namespace {
// The file engine's own row identity gives the stored order; the server needs a column for it.
const auto kCreaFile = QStringLiteral(R"(CREATE TABLE IF NOT EXISTS "risposte" ()"
                                      R"("chiave" VARCHAR(36) NOT NULL, "nome" VARCHAR(255), )"
                                      R"("prova" VARCHAR(40) NOT NULL, "banco" VARCHAR(40), )"
                                      R"("pagina" INTEGER, "riga" INTEGER, "testo" TEXT, )"
                                      R"("risposta" VARCHAR(4), "giusta" INTEGER NOT NULL, "data" DATE))");
const auto kCreaServer = QStringLiteral(R"(CREATE TABLE IF NOT EXISTS "risposte" ()"
                                        R"("id" BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY, )"
                                        R"("chiave" VARCHAR(36) NOT NULL, "nome" VARCHAR(255), )"
                                        R"("prova" VARCHAR(40) NOT NULL, "banco" VARCHAR(40), )"
                                        R"("pagina" INTEGER, "riga" INTEGER, "testo" TEXT, )"
                                        R"("risposta" VARCHAR(4), "giusta" INTEGER NOT NULL, "data" DATE))");
// The analysis reads by date, the results by key.
const auto kIndiceData = QStringLiteral(R"(CREATE INDEX IF NOT EXISTS "risposte_data" ON "risposte" ("data"))");
const auto kIndiceChiave = QStringLiteral(R"(CREATE INDEX IF NOT EXISTS "risposte_chiave" ON "risposte" ("chiave"))");

bool sulServer(const QSqlDatabase& db)
{
    return Database::isServer(db);
}
}  // namespace

QStringList colonne()
{
    return {QStringLiteral("chiave"), QStringLiteral("nome"),  QStringLiteral("prova"),
            QStringLiteral("banco"),  QStringLiteral("pagina"), QStringLiteral("riga"),
            QStringLiteral("testo"),  QStringLiteral("risposta"), QStringLiteral("giusta"),
            QStringLiteral("data")};
}

bool esiste(QSqlDatabase db)
{
    return !db.record(kTabella).isEmpty();
}

bool prepara(QSqlDatabase db, QSqlError* error)
{
    if (esiste(db))
        return true;
    for (const QString& sql : {sulServer(db) ? kCreaServer : kCreaFile, kIndiceData, kIndiceChiave}) {
        QSqlQuery query(db);
        if (!query.exec(sql)) {
            if (error)
                *error = query.lastError();
            return false;
        }
    }
    return true;
}

QString ordine(const QSqlDatabase& db)
{
    return Database::rowIdentity(db);
}

Riga riga(const QString& chiave, const QString& nome, const QDate& data, const Risposta& r)
{
    return {{QStringLiteral("chiave"), chiave},
            {QStringLiteral("nome"), nome},
            {QStringLiteral("prova"), r.prova},
            {QStringLiteral("banco"), r.banco},
            {QStringLiteral("pagina"), r.pagina},
            {QStringLiteral("riga"), r.riga},
            {QStringLiteral("testo"), r.testo},
            {QStringLiteral("risposta"), r.risposta},
            {QStringLiteral("giusta"), r.giusta ? 1 : 0},
            {QStringLiteral("data"), data}};
}

bool allega(QSqlDatabase db, Recordset& rs, const QString& nome, const QVector<Risposta>& risposte, QSqlError* error)
{
    if (risposte.isEmpty())
        return true;
    QSqlError motivo;
    // A server out of reach cannot say whether it has the table: the answers go with the result all the
    // same, and wait with it on this computer.
    // (A connection already closed fails without an error of its own.)
    if (!prepara(db, &motivo) && motivo.isValid() && Database::classify(motivo) != Database::Failure::Connection) {
        if (error)
            *error = motivo;
        return false;
    }
    const QDate oggi = Clock::today();
    for (const Risposta& r : risposte)
        rs.storeWith(kTabella, riga(rs.chiave(), nome, oggi, r));
    return true;
}

QString provaArgomento(int n)
{
    return QStringLiteral("argomento %1").arg(n);
}

QString provaEtichette(int n)
{
    return QStringLiteral("etichette %1").arg(n);
}

}  // namespace Risposte

}  // namespace data
