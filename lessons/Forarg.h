#pragma once

class Sessione;

#include "lessons/MotorePagine.h"
#include "ui/Form.h"

#include <QMap>
#include <memory>

// A lesson screen (forarg1 ... forarg6): the same machine for every topic, drawn from the topic's data.
class Forarg : public ui::Form {
    Q_OBJECT
public:
    Forarg(const Argomento& argomento, Sessione& sessione);

    void Form_Load() override;

    void cmdAVANTI_Click();
    void Cmdindietro_Click();
    void Finestrella_Click(const QString& label);  // Label2_Click ... Label8_Click
    void cmdanimazione_Click();
    void cmdquest_Click();
    void Cmdrivedi_Click();
    void cmdscegli_Click();
    void cmduscita_Click();

    const MotorePagine& motore() const { return *m_motore; }
    int numpagina() const { return m_motore->vista().numpagina; }

    ui::Label* Labeltit;
    ui::Label* Label1;
    ui::Picture* Image1;
    ui::Picture* Image2;
    QMap<QString, ui::Label*> finestrelle;  // Label2 ... Label8
    ui::Button* cmdanimazione = nullptr;    // none in a topic without animations
    ui::Button* Cmdindietro;
    ui::Button* cmdAVANTI;
    ui::Button* Cmdrivedi;
    ui::Button* cmdquest;
    ui::Button* cmdscegli;
    ui::Button* cmduscita;

private:
    void mostra();  // draws what the page machine says
    void dopoIlPasso(ui::Button* premuto, ui::Button* altro);

    const Argomento& m_argomento;
    Sessione& m_sessione;
    std::unique_ptr<MotorePagine> m_motore;
    QString m_immagineMostrata;
};
