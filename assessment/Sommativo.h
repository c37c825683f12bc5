#pragma once

class Sessione;

#include "data/Risposte.h"

#include <QVector>

#include <QString>
#include <QtGlobal>

#include <array>

// The scoring of the summative test. Every page is worth ten points and its rows decide what they
// measure: rows 1-5 knowledge, 6-8 understanding, 9-10 application. The running sums and the final
// percentages live in the session, where the result card reads them.
namespace Sommativo {

enum class Categoria { Conoscere, Comprendere, Applicare };

// What row 1-10 of a page measures.
Categoria categoria(int riga);

// The right rows of one page, by category.
struct Punti {
    int conoscere = 0;
    int comprendere = 0;
    int applicare = 0;
    int totale() const { return conoscere + comprendere + applicare; }
};
Punti puntiPagina(const std::array<qint16, 11>& risposte, const std::array<qint16, 11>& soluzioni);

// A new test: sums, page count and grade back to nothing.
void inizia(Sessione& sessione);
// Counts one answered page into the running sums.
void aggiungiPagina(Sessione& sessione, const Punti& punti);
// After the last page: percentages and grade word, then the percentages cut to whole numbers.
void concludi(Sessione& sessione);
// A percentage cut to the whole number at or below it. A value that only misses a whole number by the
// rounding of the division (99.99999999999999 for 100) counts as that whole number.
double taglia(double percentuale);

// Stores the result in "studsomm" and notes in the session whether it is stored. On failure the pupil
// is told that it was not saved; false.
// The answers of every page are stored with it.
bool registra(Sessione& sessione, const QVector<data::Risposta>& risposte = {});

}  // namespace Sommativo
