#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <utility>

namespace data {

class Recordset;

// One statement answered in a test (or one box of a labelling test), as the pupil saw it.
struct Risposta {
    QString prova;     // which test: "argomento 1".."argomento 6", "etichette N", "sommativa", "sintesi"
    QString banco;     // where the statement comes from: a question table, "etichette", "sintesi"
    int pagina = 0;    // the page of the bank (the sequence of the synthesis), from 1
    int riga = 0;      // the row as shown, from 1
    QString testo;     // the statement as shown, so that a later edit of the bank rewrites no history
    QString risposta;  // "V", "F", empty for none; for a labelling box the number placed in it
    bool giusta = false;
};

// The answers behind each stored result, in the table "risposte": one row per statement, tied to its
// result row by the key the result was made with, and stored in the same transaction as that row.
namespace Risposte {

inline const QString kTabella = QStringLiteral("risposte");
using Riga = QVector<std::pair<QString, QVariant>>;

// Makes the table when the archive has none yet. The result tables are never touched.
bool prepara(QSqlDatabase db, QSqlError* error);
// The columns the program writes and reads.
QStringList colonne();
// Whether the archive has the table (an archive nobody has stored answers in yet may not).
bool esiste(QSqlDatabase db);

// The column that gives the stored order of the answers, already quoted for a statement.
QString ordine(const QSqlDatabase& db);

// The row of "risposte" that stores `r`.
Riga riga(const QString& chiave, const QString& nome, const QDate& data, const Risposta& r);

// Hands the answers to the result row in preparation on `rs` (after its AddNew): they are stored with
// it, in its transaction, under its key. False, with `error`, when the table could not be made; the
// result row then goes alone.
bool allega(QSqlDatabase db, Recordset& rs, const QString& nome, const QVector<Risposta>& risposte,
            QSqlError* error = nullptr);

// The name of the test of topic `n` and of its labelling test.
QString provaArgomento(int n);
QString provaEtichette(int n);
inline const QString kProvaSommativa = QStringLiteral("sommativa");
inline const QString kProvaSintesi = QStringLiteral("sintesi");

}  // namespace Risposte

}  // namespace data
