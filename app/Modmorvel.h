#pragma once

#include "data/Database.h"
#include "data/Recordset.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <memory>

// The state the screens share, and the shared procedures. Arrays run 0-10 and use 1-10: screen row r is
// array index r + 1.
namespace Modmorvel {

inline std::unique_ptr<data::Database> dbcorso;     // open from start-up to exit
inline std::unique_ptr<data::Recordset> rsdomande;  // the current topic's question table
inline qint16 numargomento = 0;                     // current topic 1-6
inline qint16 modotest = 0;                         // 0 exercise, 1 test
inline qint16 punteggio = 0;                        // right answers on the page just checked
inline double conoscere = 0;                        // summative sums, percentages after valuta
inline double comprendere = 0;
inline double applicare = 0;
inline double totale = 0;
inline QString valutazione;
inline qint16 numpagine = 0;  // summative pages answered
inline std::array<QString, 11> domande;
inline std::array<QString, 11> testisomm;
inline std::array<qint16, 11> soluzioni{};
inline std::array<qint16, 11> risposte{};
inline std::array<qint16, 11> errori{};
inline std::unique_ptr<data::Recordset> rssomm;
inline QString nomestudente;
inline QString titolo;
inline qint16 numanimazione = 0;
inline qint16 giuste = 0;

// Loads and shows the lesson screen of topic `numargomento`.
void apriargomento();
// Opens the table "domande"n of the topic on its first record; false when it cannot be opened.
bool apridomande();
// Copies the current record of rsdomande into domande, soluzioni and titolo.
void caricadomande();
// Scores the answers: one point per right row into punteggio, errori(i) = 1 for each wrong row.
void correggi();
// Turns the summative sums into percentages and chooses the grade word.
void valuta();
// Asks the pupil's name once per run; Cancel or nothing typed gives "Anonimo".
void chiedinome();
// Asks for confirmation and ends the program on OK.
void uscita();

// The grade word of a percentage.
QString valutazionePer(double percentuale);
// Stores a new row prepared on `rs`; on failure tells the user what was not saved and returns false.
bool registra(data::Recordset& rs, const QString& cosa);

// Back to the start of a run (tests).
void azzera();

}  // namespace Modmorvel
