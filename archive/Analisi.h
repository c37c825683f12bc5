#pragma once

class Sessione;

#include "archive/AnalisiRisposte.h"
#include "ui/Form.h"
#include "ui/Printer.h"

#include <QComboBox>
#include <QDateEdit>
#include <QTableWidget>

// The screen "ANALISI DELLE RISPOSTE": which statements the class gets wrong, test by test, and where each
// pupil stands on each topic, for a period and for all pupils or one. It reads only: nothing here
// deletes. Both views print and go to a spreadsheet file.
class Analisi : public ui::Form {
    Q_OBJECT
public:
    static constexpr const char* kNome = "frmANALISI";
    enum class Vista { Affermazioni, Classe };

    explicit Analisi(Sessione& sessione);

    void Form_Load() override;
    // Opened from an archive, to which "Torno all'archivio" goes back; with the pupil the archive has
    // selected, the analysis starts on that pupil.
    void apriDa(const QString& archivio, const std::optional<QString>& alunno = std::nullopt);

    void cmdaffermazioni_Click();
    void cmdclasse_Click();
    void cmdstampa_Click();
    void cmdesporto_Click();
    void cmdtorna_Click();
    // Reads the answers again with the filters as they are set.
    void aggiorna();

    Vista vista() const { return m_vista; }
    AnalisiRisposte::Filtro filtro() const;
    const AnalisiRisposte& analisi() const { return m_analisi; }
    QString provaScelta() const;

    // What the two views print, heading included (one page of A4 across).
    QList<ui::PrintLine> righeStampaAffermazioni() const;
    QList<ui::PrintLine> righeStampaClasse() const;

    ui::Label* lblTitolo;
    ui::Label* lblPeriodo;
    QComboBox* cboPeriodo;
    ui::Label* lblDal;
    QDateEdit* txtDal;
    ui::Label* lblAl;
    QDateEdit* txtAl;
    ui::Label* lblAlunno;
    QComboBox* cboAlunno;
    ui::Button* cmdaffermazioni;
    ui::Button* cmdclasse;
    ui::Label* lblProva;
    QComboBox* cboProva;
    QTableWidget* tblAffermazioni;
    QTableWidget* tblClasse;
    ui::Label* lblStato;
    ui::Button* cmdstampa;
    ui::Button* cmdesporto;
    ui::Button* cmdtorna;

    // The colour of a score on the one scale of the grid (and of the bars): red for none right, through
    // yellow, to green for all right.
    static QColor colore(double quota);

private:
    void riempiAlunni();
    void riempiProve();
    void mostraAffermazioni();
    void mostraClasse();
    void mostraVista();
    void avvisa(const QString& testo);

    Sessione& m_sessione;
    AnalisiRisposte m_analisi;
    Vista m_vista = Vista::Affermazioni;
    QString m_archivio = QStringLiteral("frmRISUL");
    bool m_carico = false;  // filters being filled: no reading on each change
};
