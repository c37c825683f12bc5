#include "assessment/Sommativo.h"

#include "app/Modmorvel.h"

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

void inizia()
{
    Modmorvel::totale = Modmorvel::conoscere = Modmorvel::comprendere = Modmorvel::applicare = 0;
    Modmorvel::numpagine = 0;
    Modmorvel::valutazione.clear();
    salvato = false;
}

void aggiungiPagina(const Punti& punti)
{
    ++Modmorvel::numpagine;
    Modmorvel::conoscere += punti.conoscere;
    Modmorvel::comprendere += punti.comprendere;
    Modmorvel::applicare += punti.applicare;
    Modmorvel::totale += punti.totale();
}

double taglia(double percentuale)
{
    return std::floor(percentuale + 1e-9);
}

void concludi()
{
    Modmorvel::valuta();
    Modmorvel::conoscere = taglia(Modmorvel::conoscere);
    Modmorvel::comprendere = taglia(Modmorvel::comprendere);
    Modmorvel::applicare = taglia(Modmorvel::applicare);
    Modmorvel::totale = taglia(Modmorvel::totale);
}

bool registra()
{
    salvato = false;
    if (!Modmorvel::dbcorso)
        return false;  // never: the program does not start without its database
    Modmorvel::rssomm = Modmorvel::dbcorso->OpenRecordset(kTabellaRisultati);
    data::Recordset& rs = *Modmorvel::rssomm;
    rs.AddNew();
    // A column that cannot be set stays empty, and the table refuses the row: registra reports it.
    rs.setField(kNome, Modmorvel::nomestudente);
    rs.setField(kTotale, qint64(Modmorvel::totale));
    rs.setField(kConoscere, qint64(Modmorvel::conoscere));
    rs.setField(kComprendere, qint64(Modmorvel::comprendere));
    rs.setField(kApplicare, qint64(Modmorvel::applicare));
    rs.setField(kValutazione, Modmorvel::valutazione);
    salvato = Modmorvel::registra(rs, QStringLiteral("il risultato del test sommativo"));
    return salvato;
}

}  // namespace Sommativo
