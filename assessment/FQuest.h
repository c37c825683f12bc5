#pragma once

class Sessione;
namespace data {
struct Risposta;
}

#include "assessment/PaginaVeroFalso.h"
#include "ui/Form.h"

#include <QVector>

// The questionnaire of the current topic: pages of ten true/false statements in a new random order,
// practised in a loop ("PRIMA MI ESERCITO") or taken once each as a test whose page scores are stored
// ("PASSO AL TEST"), and then the image labelling test.
class FQuest : public ui::Form {
    Q_OBJECT
public:
    explicit FQuest(Sessione& sessione);

    void Form_Load() override;

    void cmdesercitazione_Click();
    void cmdquestionario_Click();
    // The labelling test sends the pupil back: to the test (as "PASSO AL TEST" pressed) or to the
    // exercise (as "Mi esercito" pressed).
    void riprendiTest();
    void riprendiEsercizio();
    void cmdmostradomande_Click();
    void cmdRISULT_Click();
    void cmdimage_Click();
    void Cmdhelp_Click();
    void cmdscegli_Click();
    void cmduscita_Click();

    // Rows left without an answer by the last check of the page.
    int mancanti() const { return m_mancanti; }
    // Test pages whose row reached the archive since the test started.
    int pagineRegistrate() const { return m_pagineRegistrate; }

    ui::Picture* Image1;
    ui::TextBox* Text2;
    ui::Label* labelverofalso;
    QVector<ui::TextBox*> Text1;
    QVector<ui::CheckBox*> Check1;
    QVector<ui::CheckBox*> Check2;
    ui::Button* cmdRISULT;
    ui::Label* Labrisult;
    ui::Button* cmdmostradomande;
    ui::Button* cmdimage;
    ui::Button* Cmdhelp;
    ui::Button* cmdesercitazione;
    ui::Button* cmdquestionario;
    ui::Button* cmdscegli;
    ui::Button* cmduscita;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Sessione& m_sessione;
    bool verifica();
    void ordinecasuale();
    // Brings rsdomande onto a page that can be shown, telling the pupil about each one that cannot. False
    // when there is none: the test is then over, or the pupil is back at the menu.
    bool cercaPagina();
    void fineTest();
    void registraPagina();
    void scriviRiga(int r, const QString& testo);
    // The answers of the page just checked, as stored with its score.
    QVector<data::Risposta> risposteDellaPagina() const;
    void invio();  // Return: the page's check, or the next page

    PaginaVeroFalso* m_pagina = nullptr;

    int m_mancanti = 0;
    int m_pagineRegistrate = 0;
    bool m_chiuso = false;  // the pupil went back to the menu: the screen is on its way out
};
