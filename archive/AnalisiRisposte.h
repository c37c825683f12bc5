#pragma once

#include <QDate>
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// What the stored answers say to a teacher: for each test, which statements the class gets wrong, and for
// each pupil, the latest score on each topic, on the summative test and on the synthesis. No widget here:
// the screen "ANALISI DELLE RISPOSTE" shows it, prints it and exports it.
class AnalisiRisposte {
public:
    // The days looked at, both ends included.
    struct Periodo {
        enum class Tipo { Oggi, Settimana, AnnoScolastico, Intervallo };
        Tipo tipo = Tipo::AnnoScolastico;
        QDate dal;
        QDate al;
        // Today; this week from Monday; the school year from 1 September; or the days given.
        static Periodo di(Tipo tipo, const QDate& oggi, const QDate& dal = {}, const QDate& al = {});
        QString descrizione() const;  // "oggi (07/12/2026)", "dal 01/09/2026 al 07/12/2026", ...
    };

    struct Filtro {
        Periodo periodo;
        std::optional<QString> alunno;  // one pupil, letter case aside, as the archives select; none: all
        QString descrizione() const;   // what a printed page says was filtered
    };

    // One statement of one test: how many pupils answered it in the period and how many of them got it
    // right the last time they answered it.
    struct Affermazione {
        QString testo;
        int alunni = 0;
        int giuste = 0;
        double quota() const { return alunni > 0 ? double(giuste) / alunni : 0.0; }
    };

    // The columns of the class grid: topics 1-6, the summative test, the synthesis.
    static constexpr int kColonne = 8;
    static constexpr int kSommativa = 6;
    static constexpr int kSintesi = 7;
    static QString titoloColonna(int colonna);  // "Arg. 1" ... "Sommativo", "Sintesi"
    static QString provaColonna(int colonna);   // the test each column shows

    // A pupil's latest score on one column: on a topic, the latest run of its questionnaire (from its first
    // page on); on the summative and the synthesis, the latest result.
    struct Cella {
        int giuste = 0;
        int totale = 0;  // 0: nothing in the period
        QDate data;
        bool vuota() const { return totale == 0; }
        double percentuale() const { return totale > 0 ? 100.0 * giuste / totale : 0.0; }
    };
    struct Alunno {
        QString nome;  // as first written in the period
        std::array<Cella, kColonne> celle;
    };

    // Reads the answers of the period (and pupil) in stored order. An archive without answers yet gives
    // an empty analysis. False with an Italian `errore` when the archive cannot be read.
    bool carica(QSqlDatabase db, const Filtro& filtro, QString* errore);

    // The tests that have answers, in the order of the program: topics, labelling tests, summative, synthesis.
    QStringList prove() const;
    // The statements of `prova`, most missed first (then the most answered, then by text).
    QVector<Affermazione> affermazioni(const QString& prova) const;
    // One row per pupil with answers in the period, by name.
    QVector<Alunno> griglia() const;
    int risposteLette() const { return m_lette; }

    // Every pupil's name in the archive's answers (one spelling for names differing only in letter case),
    // sorted; for the pupil filter.
    static QStringList alunni(QSqlDatabase db, QString* errore);
    // A test's name as the screen shows it: "Argomento 1", "Etichette 3", "Sommativo", "Sintesi animata".
    static QString nomeProva(const QString& prova);

private:
    QHash<QString, QVector<Affermazione>> m_affermazioni;
    QVector<Alunno> m_griglia;
    QStringList m_prove;
    int m_lette = 0;
};
