#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

// The seven picture sequences of the animation viewer and where their two pictures stand.
struct Sequenza {
    QStringList foto;     // foto(1) ... foto(numfoto)
    int anniIniziali = 0; // millions of years of the first picture; 0: no years counter
    QRect image1;         // manual run
    QRect image2;         // automatic run
};

namespace Sequenze {
// The sequence an animation number plays; numbers outside 1-7 give an empty sequence.
Sequenza sequenza(int numanimazione);
}  // namespace Sequenze

// The viewer's counters without widgets: the automatic run driven by the timer, the manual run driven
// by the pupil, the years counter and the speed.
class Visore {
public:
    static constexpr int kIntervalloIniziale = 701;
    static constexpr int kLivelloIniziale = 11;
    static constexpr int kIntervalloMinimo = 1;
    static constexpr int kIntervalloMassimo = 1800;

    // What a step puts on the screen.
    struct Passo {
        bool mostra = false;  // false: the automatic run has ended and shows nothing new
        int numero = 0;       // Label4
        QString foto;         // the picture file to load
        int anni = 0;         // Label3
    };

    void carica(int numanimazione);
    Passo tick();           // Timer1_Timer
    Passo passoManuale();   // Command1_Click
    void riavvia();         // Cmdanim_Click
    // Faster and slower: false when the button just pressed reached its limit and is to be disabled.
    bool piuVeloce();
    bool menoVeloce();

    // The pictures that the next `quante` ticks will show, in order: none once the run has ended.
    QStringList prossimeAutomatiche(int quante) const;
    // The pictures that the next `quante` manual steps will show, wrapping around as the steps do.
    QStringList prossimeManuali(int quante) const;

    const Sequenza& sequenza() const { return m_sequenza; }
    int numanimazione() const { return m_numanimazione; }
    int numfoto() const { return int(m_sequenza.foto.size()); }
    int contanim() const { return m_contanim; }
    int contfoto() const { return m_contfoto; }
    int milionianim() const { return m_milionianim; }
    int milionifoto() const { return m_milionifoto; }
    int livello() const { return m_livello; }
    int intervallo() const { return m_intervallo; }
    bool haAnni() const { return m_sequenza.anniIniziali > 0; }

private:
    int m_numanimazione = 0;
    Sequenza m_sequenza;
    int m_contanim = 0;
    int m_contfoto = 0;
    int m_milionianim = 0;
    int m_milionifoto = 0;
    int m_livello = kLivelloIniziale;
    int m_intervallo = kIntervalloIniziale;
};
