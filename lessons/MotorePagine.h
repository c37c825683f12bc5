#pragma once

#include "lessons/Argomento.h"

#include <QMap>
#include <QPoint>
#include <QRect>
#include <QString>

// The page machine of a lesson, without widgets: which page is shown and everything the screen shows
// of it. The lesson screen asks it after every button and draws what it says.
class MotorePagine {
public:
    explicit MotorePagine(const Argomento& argomento);

    // What the screen shows now.
    struct Vista {
        int numpagina = 1;
        bool titoloVisibile = true;
        QString titolo;
        QString immagine;
        QString descrizioneImmagine;
        QPoint posizioneImmagine;
        QRect pannello;
        QString testo;
        QMap<QString, QPoint> finestrelle;  // the hotspots shown, at their left and top
        bool animazioneVisibile = false;
        int animazione = 0;  // the animation the button opens while visible
        bool avantiAbilitato = true;
        bool indietroAbilitato = false;
        bool rivediAbilitato = false;
    };

    void carica();               // page 1 as the lesson opens
    void avanti();               // the next page
    void indietro();             // the previous page; on page 1 only disables the back button
    void clicFinestrella(const QString& label);
    void nascondiAnimazione();   // the pupil went to watch it

    const Vista& vista() const { return m_vista; }
    const Argomento& argomento() const { return m_argomento; }

private:
    void applica(bool indietro);

    const Argomento& m_argomento;
    Vista m_vista;
};
