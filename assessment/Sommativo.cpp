#include "assessment/Sommativo.h"

#include "app/Sessione.h"

#include <cmath>

namespace Sommativo {

namespace {
const auto kTabellaRisultati = QStringLiteral("studsomm");
const auto kNome = QStringLiteral("cognome e nome");
const auto kTotale = QStringLiteral("punteggio totale");
const auto kConoscere = QStringLiteral("conscere");  // the column's historical spelling
const auto kComprendere = QStringLiteral("comprendere");
const auto kApplicare = QStringLiteral("applicare");
const auto kValutazione = QStringLiteral("valutazione");
}  // namespace

Categoria categoria(int riga)
{
    if (riga <= 5)
        return Categoria::Conoscere;
    if (riga <= 8)
        return Categoria::Comprendere;
    return Categoria::Applicare;
}

Punti puntiPagina(const std::array<qint16, 11>& risposte, const std::array<qint16, 11>& soluzioni)
{
    Punti punti;
    for (int i = 1; i <= 10; ++i) {
        if (risposte[i] != soluzioni[i])
            continue;
        switch (categoria(i)) {
        case Categoria::Conoscere:
            ++punti.conoscere;
            break;
        case Categoria::Comprendere:
            ++punti.comprendere;
            break;
        case Categoria::Applicare:
            ++punti.applicare;
            break;
        }
    }
    return punti;
}

void inizia(Sessione& sessione)
{
    sessione.totale = sessione.conoscere = sessione.comprendere = sessione.applicare = 0;
    sessione.numpagine = 0;
    sessione.valutazione.clear();
    sessione.sommativoSalvato = false;
}

void aggiungiPagina(Sessione& sessione, const Punti& punti)
{
    ++sessione.numpagine;
    sessione.conoscere += punti.conoscere;
    sessione.comprendere += punti.comprendere;
    sessione.applicare += punti.applicare;
    sessione.totale += punti.totale();
}

double taglia(double percentuale)
{
    return std::floor(percentuale + 1e-9);
}

void concludi(Sessione& sessione)
{
    sessione.valuta();
    sessione.conoscere = taglia(sessione.conoscere);
    sessione.comprendere = taglia(sessione.comprendere);
    sessione.applicare = taglia(sessione.applicare);
    sessione.totale = taglia(sessione.totale);
}

bool registra(Sessione& sessione, const QVector<data::Risposta>& risposte)
{
    sessione.sommativoSalvato = false;
    if (!sessione.dbcorso)
        return false;  // never: the program does not start without its database
    const auto rssomm = sessione.dbcorso->OpenRecordset(kTabellaRisultati);
    data::Recordset& rs = *rssomm;
    rs.AddNew();
    // A column that cannot be set stays empty, and the table refuses the row: registra reports it.
    rs.setField(kNome, sessione.nomestudente);
    rs.setField(kTotale, qint64(sessione.totale));
    rs.setField(kConoscere, qint64(sessione.conoscere));
    rs.setField(kComprendere, qint64(sessione.comprendere));
    rs.setField(kApplicare, qint64(sessione.applicare));
    rs.setField(kValutazione, sessione.valutazione);
    data::Risposte::allega(sessione.dbcorso->connection(), rs, sessione.nomestudente, risposte);
    sessione.sommativoSalvato = sessione.registra(rs, QStringLiteral("il risultato del test sommativo"));
    return sessione.sommativoSalvato;
}

}  // namespace Sommativo
