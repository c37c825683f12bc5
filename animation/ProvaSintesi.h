#pragma once

#include <QString>

#include <array>

// The test that closes each sequence of the animated synthesis: twelve statements shown in random order,
// marked and unmarked by the pupil, then corrected (one point for every statement judged rightly), with
// the points and the maximum adding up over the tests until the exercise starts again. The statements
// are data (animation/sintesi/prove.json), read once from inside the program.
class ProvaSintesi {
public:
    static constexpr int numaffermazioni = 12;

    // What a statement's label shows: not marked, marked by the pupil, judged rightly after correction.
    enum class Segno { Neutro, Segnato, Giusto };

    struct Affermazione {
        QString testo;
        bool vera = false;
    };
    struct Tabella {
        QString introduzione;  // the lead-in above the statements
        int numesatte = 0;     // how many of the twelve are true
        std::array<Affermazione, numaffermazioni> affermazioni;
    };
    static constexpr int numprove = 4;
    using Tabelle = std::array<Tabella, numprove>;
    // The statements of test 1-4, in their own order, as the program's own data gives them (empty when
    // it could not be read).
    static const Tabella& tabella(int prova);
    // Why the program's own data could not be read, or empty when it was.
    static QString errore();
    // The four tests from a data file. On a fault, false with a message that names the file and says
    // where and what: four tests in order, each with its lead-in and twelve different statements, true
    // or false, as many of them true as the pupil is told to find.
    static bool leggi(const QString& file, Tabelle* out, QString* errore);

    // Opens the test of the sequence that ends at `fotogramma` (30, 45, 51, 59) with a new order; at any
    // other frame the statements stay those of the last test. The marks stay on their labels.
    void apri(int fotogramma);
    // Deals the statements into the twelve labels in a new random order.
    void casuale();

    int prova() const { return m_prova; }  // 1-4, 0 before the first test
    QString introduzione() const;
    int numesatte() const;
    QString mostrata(int label) const { return m_mostrate.at(label); }
    bool esattaMostrata(int label) const { return m_esatteMostrate.at(label); }
    Segno segno(int label) const { return m_segni.at(label); }

    // A click on a label: marks it, or unmarks it; a label judged rightly stays as it is.
    void clic(int label);
    // Every label back to not marked.
    void neutralizza();
    // Marks the test. False, and nothing changes, when nothing is marked. Otherwise every statement judged
    // rightly (a true one marked, a false one left alone) becomes Giusto and earns a point; the errors keep
    // their marks; the points go into the totals and the maximum grows by twelve.
    bool correggi();

    int puntisequenza() const { return m_puntisequenza; }
    int totpunti() const { return m_totpunti; }
    int totmax() const { return m_totmax; }
    void azzeraTotali();

private:
    int m_prova = 0;
    std::array<QString, numaffermazioni> m_mostrate;
    std::array<bool, numaffermazioni> m_esatteMostrate{};
    std::array<Segno, numaffermazioni> m_segni{};
    int m_puntisequenza = 0;
    int m_totpunti = 0;
    int m_totmax = 0;
};
