#pragma once

class Sessione;

#include "ui/Form.h"

// The result card of the summative test just finished: the pupil's name, the total and the three partial
// percentages, and the grade word. It only reads the shared results; it stores nothing.
class FRIsomma : public ui::Form {
    Q_OBJECT
public:
    explicit FRIsomma(Sessione& sessione);

    void Form_Load() override;
    // Fills the value boxes from the results of the test.
    void mostraRisultato();

    void cmdlista_Click();
    void cmdscegliarg_Click();
    void cmduscita_Click();

    ui::Picture* Image1;
    ui::Label* Labnome;
    ui::Label* lblsomma;
    ui::Label* LABsomma;
    ui::Label* lblconsci;
    ui::Label* LABconosci;
    ui::Label* lblcomprendi;
    ui::Label* LABcomprendi;
    ui::Label* lblapplica;
    ui::Label* LABapplica;
    ui::Label* lblvaluta;
    ui::Label* LABvaluta;
    // Shown only when the result could not be stored: the card must not pass for an archived result.
    ui::Label* lblnonsalvato;
    ui::Button* cmdlista;
    ui::Button* cmdscegliarg;
    ui::Button* cmduscita;

private:
    Sessione& m_sessione;
    // A fixed text and the value box laid over the blank gap in it.
    ui::Label* testoFisso(const QString& name, const QString& caption, const QRect& twips);
    ui::Label* casella(const QString& name, const QRect& twips, bool rossa);
    // Leaves for `screen`, which is shown only when the program has it.
    void passaA(const QString& screen);
};
