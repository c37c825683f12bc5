#pragma once

#include "data/Database.h"
#include "data/Recordset.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <memory>

// How the topic questionnaire and the labelling test are being taken.
enum class ModoTest { Esercizio, Test };

// What the screens share while the program runs, and the shared procedures that work on it. The start-up
// code makes one and hands it to every screen; a test makes a fresh one. Arrays run 0-10 and use 1-10:
// screen row r is array index r + 1.
class Sessione {
public:
    std::unique_ptr<data::Database> dbcorso;     // the results store, open from start-up to exit
    std::unique_ptr<data::Recordset> rsdomande;  // the current topic's question table
    qint16 numargomento = 0;                     // current topic 1-6
    ModoTest modotest = ModoTest::Esercizio;
    qint16 punteggio = 0;  // right answers on the questionnaire page just checked
    double conoscere = 0;  // summative sums, percentages after valuta
    double comprendere = 0;
    double applicare = 0;
    double totale = 0;
    QString valutazione;
    qint16 numpagine = 0;  // summative pages answered
    bool sommativoSalvato = false;  // whether the summative result just finished is in the archive
    std::array<QString, 11> domande;
    std::array<qint16, 11> soluzioni{};
    std::array<qint16, 11> risposte{};
    std::array<qint16, 11> errori{};
    QString nomestudente;
    QString titolo;
    qint16 numanimazione = 0;

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

    // Stores a new row prepared on `rs`. When it cannot be stored the pupil is told why and may try
    // again ("Riprova") as often as needed; false once the pupil goes on without it.
    bool registra(data::Recordset& rs, const QString& cosa);
    // On a classroom's server: sends the results this computer kept while the server could not be reached.
    void inviaCoda();

    // The grade word of a percentage.
    static QString valutazionePer(double percentuale);
};
