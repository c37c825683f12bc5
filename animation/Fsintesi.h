#pragma once

class Sessione;

#include "animation/ProvaSintesi.h"
#include "animation/Riquadro.h"
#include "animation/SerieSintesi.h"
#include "data/Risposte.h"
#include "ui/Form.h"
#include "ui/Pictures.h"

#include <QVector>

// The animated synthesis: the 62-picture series that tells the whole theory, stopped four times by a
// test of twelve statements about what was just seen, with its close-ups, the replay of a sequence and
// the totals that are stored when the pupil leaves. The screen is only hidden, never unloaded, so that
// coming back from the menu goes on with the same exercise.
class Fsintesi : public ui::Form {
    Q_OBJECT
public:
    explicit Fsintesi(Sessione& sessione);

    // Designed smaller than the other screens; the layer scales this area into the window.
    QSize designSize() const override { return QSize(11895, 9000); }

    void Form_Load() override;

    // The main menu starts the synthesis before showing it: its picture timer runs.
    void avvia();
    void Timer1_Timer();
    void Timer2_Timer();
    void CmdContinuo_Click();
    void Cmdrivedo_Click();
    void CmdRicomincio_Click();
    void Cmdmenu_Click();
    void CmdEsco_Click();
    void Label11_Click(int Index);
    void CmdCorreggi_Click();

    const SerieSintesi& serie() const { return m_serie; }
    const ProvaSintesi& prova() const { return m_prova; }
    // The next pictures of the series (Image1) and of the close-ups (Image2), prepared ahead.
    const ui::Pictures::ReadAhead& anticipoSerie() const { return m_anticipo1; }
    const ui::Pictures::ReadAhead& anticipoIngrandimento() const { return m_anticipo2; }

    // The colours of a statement: not marked, marked, judged rightly.
    static const QColor coloreNeutro;
    static const QColor coloreSegnato;
    static const QColor coloreGiusto;
    static QString titolo();

    ui::Picture* Image1;
    ui::Picture* Image2;
    ui::Label* Label4;
    ui::Label* Label1;
    ui::Button* Cmdmenu;
    ui::Button* CmdEsco;
    ui::Button* CmdRicomincio;
    ui::Timer* Timer1;
    ui::Timer* Timer2;

    Riquadro Frame2;
    ui::Label* Label3;
    ui::Button* Cmdrivedo;
    ui::Label* Label5;
    ui::Label* LabPunti;
    ui::Label* Label6;
    ui::Label* LabMax;
    ui::Label* Label9;
    ui::Label* LabTotPunti;
    ui::Label* LabTotMax;
    ui::Button* CmdContinuo;
    ui::Button* CmdCorreggi;

    Riquadro Frame1;
    ui::Label* Label2;
    ui::Label* Label8;
    ui::Label* LabNumero;
    QVector<ui::Label*> Label11;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Sessione& m_sessione;
    QVector<data::Risposta> m_risposte;  // every correction since the totals last started from 0
    void Listedomande();
    void Archiviare();
    void avviaIngrandimento();
    void mostraIngrandimento(const QString& path);
    void vediIngrandimento(bool visible);
    // A close-up still playing ends here: one timer at a time, and none behind a hidden screen.
    void fermaIngrandimento();
    void tuttiNeutri();
    void coloraAffermazione(int Index);
    void descriviAffermazione(int Index);  // its accessible name: the statement and how it stands
    void mostraTotali();
    ui::Pictures::Target bersaglioSerie() const;
    ui::Pictures::Target bersaglioIngrandimento() const;
    // Starts preparing the pictures of the next ticks, wherever the series stands now.
    void preparaProssime();

    ui::Label* m_cornice;
    bool m_corretta = false;  // the test on screen has been corrected
    SerieSintesi m_serie;
    ProvaSintesi m_prova;
    // One picture ahead is plenty at one tick a second, and holds the least memory.
    ui::Pictures::ReadAhead m_anticipo1{1};
    ui::Pictures::ReadAhead m_anticipo2{1};
};
