#pragma once

class Sessione;

#include "ui/Form.h"

#include <QVector>

// The main menu: the six topics, the summative test, the animated synthesis, the two archives and the
// exit. It opens the course database when it loads and stays loaded while the program runs.
class Fscelt : public ui::Form {
    Q_OBJECT
public:
    explicit Fscelt(Sessione& sessione);

    void Form_Load() override;
    // Empty when the course database was opened; otherwise what went wrong, already shown to the user.
    QString erroreArchivio() const { return m_erroreArchivio; }

    void Command1_Click(int Index);
    void sommativo_Click();
    void cmdsinteanim_Click();
    void CMDarchsomm_Click();
    void CMDarchquest_Click();
    void cmduscita_Click();

    QVector<ui::Button*> Command1;
    ui::Button* sommativo;
    ui::Button* cmdsinteanim;
    ui::Button* CMDarchquest;
    ui::Button* CMDarchsomm;
    ui::Button* cmduscita;
    ui::Picture* Image1;

private:
    Sessione& m_sessione;
    // Shows `screen` in front of the menu (loading it if needed) and hides the menu behind it.
    void passaA(const QString& screen);

    QString m_erroreArchivio;
};
