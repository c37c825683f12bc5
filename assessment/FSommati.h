#pragma once

#include "data/Risposte.h"

class Sessione;

#include "assessment/PaginaVeroFalso.h"
#include "data/Recordset.h"
#include "ui/Form.h"

#include <QVector>

#include <array>
#include <memory>

// The summative test over the whole course: every page of the table "sommativo" once, in stored order,
// ten true/false statements a page. No score is shown while answering; after the last page the result is
// graded, stored and offered on the result card.
//
// Keys: 1-9 and 0 go to rows 1-10, V and F answer the row in hand and go on to the next, the arrows move
// between the boxes, Enter goes to the first unanswered row or, with every row answered, to the next page.
class FSommati : public ui::Form {
    Q_OBJECT
public:
    explicit FSommati(Sessione& sessione);

    void Form_Load() override;

    void cmdAVANTI_Click();
    void cmdRISULT_Click();
    void Command1_Click();
    void fine_Click();

    // Rows left with neither box ticked when the page was last checked.
    int mancanti() const { return m_mancanti; }

    ui::TextBox* Text2;
    ui::Label* Label1;
    QVector<ui::TextBox*> Text1;
    QVector<ui::CheckBox*> Check1;
    QVector<ui::CheckBox*> Check2;
    ui::Button* cmdRISULT;
    ui::Button* cmdAVANTI;
    ui::Button* Command1;
    ui::Button* fine;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Sessione& m_sessione;
    std::array<QString, 11> testisomm;  // the statements of the page shown, rows 1-10
    QVector<data::Risposta> m_risposte;  // every page answered so far, stored with the result
    // From the current page on, the first one that can be shown (true), naming each damaged page it
    // passes; false past the last page.
    bool paginaUsabile();
    void creaultmat();
    void verifica();

    PaginaVeroFalso* m_pagina = nullptr;
    std::unique_ptr<data::Recordset> m_rssommativo;
    qint16 m_mancanti = 0;
};
