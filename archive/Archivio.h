#pragma once

class Sessione;

#include "archive/Campi.h"
#include "archive/Paginazione.h"
#include "data/ResultList.h"
#include "ui/Form.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

// What makes the shared archive screen one archive or the other: the table, its columns on screen and
// on paper, the captions and places of the controls, and the few ways the two archives differ.
struct ImpostazioniArchivio {
    struct Colonna {
        QString campo;  // column of the table
        Campi::Tipo tipo;
        QRect lista;  // the list that shows it, in twips
        QString intestazioneCarta;
        int colonnaIntestazione;  // printed heading's character column
        int colonnaCarta;  // printed values' character column
    };
    struct Pulsante {
        QString caption;
        QRect twips;
    };

    QString nome;
    QString caption;
    QString tabella;
    QVector<Colonna> colonne;
    QString intestazione;  // caption of Label1, blanks placing each heading over its list
    QRect posIntestazione;
    ui::FontSpec fontIntestazione;
    Pulsante selezione, tutto, continuo, stampa, elimina, menu, uscita;
    Pulsante analisi, esporto;  // in free space of the design
    QString nomeFile;  // how an exported file's name begins
    QString nomeSfondo;  // the picture behind the controls
    QRect posSfondo;
    QColor colore;  // around the picture
    bool continuoRiabilitaSelezione = false;  // CONTINUO enables the selection while a list is paged
    QString selezioneDopoEliminazione;  // the selection button's caption after an emptying (empty: kept)
    bool uscitaConConferma = false;  // the exit asks first, through uscita
    bool menuScaricaQuestionario = false;  // going back to the menu also unloads FQuest
};

// An archive of results: the whole table or one pupil's rows, 20 to a page, printed, and deleted after
// the access code. The rows are read from the table a page at a time, so that even a very large archive
// lists at once; printing and emptying act on the whole current list.
class Archivio : public ui::Form {
    Q_OBJECT
public:
    static constexpr const char* kCodice = "cipresso";

    Archivio(ImpostazioniArchivio impostazioni, Sessione& sessione);

    void Form_Load() override;

    void cmdtutto_Click();
    void cmdselezione_Click();
    void CmdContinuo_Click();
    void cmdstampa_Click();
    void cmdelimina_Click();
    void cmdcseltaarg_Click();
    void cmduscita_Click();
    void cmdanalisi_Click();
    void cmdesporto_Click();

    ui::Label* Label1;
    QVector<ui::ListBox*> Listsomm;
    ui::Button* cmdselezione;
    ui::Button* cmdtutto;
    ui::Button* CmdContinuo;
    ui::Button* cmdstampa;
    ui::Button* cmdelimina;
    ui::Button* cmdcseltaarg;
    ui::Button* cmduscita;
    ui::Button* cmdanalisi;
    ui::Button* cmdesporto;
    ui::Picture* sfondo;

    // The state of the list, as the screen keeps it.
    const Paginazione& paginazione() const { return m_pagine; }
    int numrighe() const { return m_numrighe; }
    qint16 tipoelenco() const { return m_tipoelenco; }
    // Whether print and delete have a list to act on (none before a list, after an abandoned selection
    // or after a failed reading).
    bool haElenco() const { return m_rsattuale != nullptr; }
    bool eliminato() const { return m_eliminato; }

private:
    // Opens the whole table (no pupil) or one pupil's rows as the current list; a list that cannot be
    // read is said so and leaves none.
    std::unique_ptr<data::ResultList> apri(const std::optional<QString>& pupil);
    void nuovoElenco(std::unique_ptr<data::ResultList> elenco, int numrec);
    // Writes the next page: 20 lines in every list, empty past the rows. False when the rows could not
    // be read: the list is then dropped.
    bool scrivilista();
    void lasciaElenco();
    void svuotaListe();
    void avvisa(const QString& testo);

    ImpostazioniArchivio m_imp;
    Sessione& m_sessione;
    Paginazione m_pagine;
    int m_numrighe = 0;
    qint16 m_tipoelenco = 0;
    std::unique_ptr<data::ResultList> m_rsattuale;
    data::ResultList::Position m_letti;  // how far the pages have read the list
    bool m_eliminato = false;
    QVector<QVariantList> m_righeEliminate;  // the list as it was deleted: it still prints
};
