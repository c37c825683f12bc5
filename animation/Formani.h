#pragma once

class Sessione;

#include "animation/Visore.h"
#include "ui/Form.h"
#include "ui/Pictures.h"

// The animation viewer: the sequence the lesson page chose, played by the timer in Image2 and step by
// step in Image1, with its speed and, for the drift of the continents, the years counter.
class Formani : public ui::Form {
    Q_OBJECT
public:
    explicit Formani(Sessione& sessione);

    void Form_Load() override;

    void Timer1_Timer();
    void Command1_Click();
    void Cmdanim_Click();
    void cmdmaxvel_Click();
    void cmdminvel_Click();
    void Cmdtorna_Click();

    const Visore& visore() const { return m_visore; }
    // The next pictures of the automatic run (Image2) and of the manual run (Image1), prepared ahead.
    const ui::Pictures::ReadAhead& anticipoAutomatico() const { return m_anticipo2; }
    const ui::Pictures::ReadAhead& anticipoManuale() const { return m_anticipo1; }

    ui::Picture* Image1;
    ui::Picture* Image2;
    ui::Picture* Image3;
    ui::Label* Label1;
    ui::Label* Label2;
    ui::Label* Label3;
    ui::Label* Label4;
    ui::Label* Labvel;
    ui::Button* Command1;
    ui::Button* Cmdanim;
    ui::Button* cmdminvel;
    ui::Button* cmdmaxvel;
    ui::Button* Cmdtorna;
    ui::Timer* Timer1;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static ui::Pictures::Target bersaglio(const ui::Picture* image);
    // Starts preparing the pictures of the next ticks and of the next manual step.
    void preparaProssime();

    Sessione& m_sessione;
    Visore m_visore;
    bool m_tickInAttesa = false;  // a tick of the clock waits for its picture
    ui::Pictures::ReadAhead m_anticipo1{1, 1};  // a click comes before the clock
    ui::Pictures::ReadAhead m_anticipo2;
};
