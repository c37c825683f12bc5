#include "archive/Archivio.h"

#include "app/Sessione.h"
#include "archive/Analisi.h"
#include "data/Clock.h"
#include "data/Csv.h"
#include "ui/Application.h"
#include "ui/BusyCursor.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/Printer.h"
#include "ui/Screens.h"

#include <QAbstractItemView>

namespace {
const QColor kColoreListe(255, 224, 192);
const ui::FontSpec kFontPulsanti{QStringLiteral("Arial"), 9, true};
const ui::FontSpec kFontListe{QStringLiteral("MS Sans Serif"), 8.25};
constexpr int kRighePerLettura = 500;  // rows read at a time while printing
constexpr int kRighePerFile = 5000;    // and while writing a file, which is quicker at it

const auto kNessunElencoStampa = QStringLiteral(
    "Non c'è nessun elenco da stampare: prima premi \"VEDO tutti i dati\" oppure \"SELEZIONO i dati\".");
const auto kNessunElencoElimina = QStringLiteral(
    "Non c'è nessun elenco da eliminare: prima premi \"VEDO tutti i dati\" oppure \"SELEZIONO i dati\".");
const auto kElencoVuotoStampa = QStringLiteral("L'elenco è vuoto: non c'è niente da stampare.");
const auto kElencoVuotoElimina = QStringLiteral("L'elenco è vuoto: non c'è niente da eliminare.");
const auto kSoloInsegnante = QStringLiteral(
    "Da questo computer non si possono cancellare risultati: l'archivio è sul server della scuola, e solo il "
    "computer dell'insegnante può cancellarli.\n\nNon è stato eliminato niente.");
const auto kGiaEliminato = QStringLiteral("Le righe di questo elenco sono già state eliminate dall'archivio.");
}  // namespace

Archivio::Archivio(ImpostazioniArchivio impostazioni, Sessione& sessione)
    : ui::Form(impostazioni.nome), m_imp(std::move(impostazioni)), m_sessione(sessione)
{
    setCaption(m_imp.caption);
    if (m_imp.colore.isValid())
        setBackColor(m_imp.colore);
    // Created first, so that it stays behind every other control.
    sfondo = addPicture(m_imp.nomeSfondo, m_imp.posSfondo);
    sfondo->setAccessibleName(QStringLiteral("sfondo: la carta delle placche"));
    Label1 = addLabel(QStringLiteral("Label1"), QString(), m_imp.posIntestazione, m_imp.fontIntestazione);
    Label1->setWordWrap(false);
    for (int i = 0; i < m_imp.colonne.size(); ++i) {
        auto* lista = addListBox(arrayName(QStringLiteral("Listsomm"), i), m_imp.colonne[i].lista, kFontListe);
        QPalette pal = lista->palette();
        pal.setColor(QPalette::Base, kColoreListe);
        lista->setPalette(pal);
        lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        lista->setTextElideMode(Qt::ElideRight);
        lista->setUniformItemSizes(true);
        lista->setAccessibleName(m_imp.colonne[i].intestazioneCarta);
        Listsomm.append(lista);
    }
    auto pulsante = [this](const char* nome, const ImpostazioniArchivio::Pulsante& p) {
        return addButton(QString::fromLatin1(nome), p.caption, p.twips, kFontPulsanti);
    };
    cmdselezione = pulsante("cmdselezione", m_imp.selezione);
    cmdtutto = pulsante("cmdtutto", m_imp.tutto);
    CmdContinuo = pulsante("CmdContinuo", m_imp.continuo);
    cmdstampa = pulsante("cmdstampa", m_imp.stampa);
    cmdelimina = pulsante("cmdelimina", m_imp.elimina);
    cmdcseltaarg = pulsante("cmdcseltaarg", m_imp.menu);
    cmduscita = pulsante("cmduscita", m_imp.uscita);
    cmdanalisi = pulsante("cmdanalisi", m_imp.analisi);
    cmdesporto = pulsante("cmdesporto", m_imp.esporto);
    cmdanalisi->setAccessibleName(QStringLiteral("Analisi delle risposte"));
    cmdesporto->setAccessibleName(QStringLiteral("Esporto l'elenco per il foglio di calcolo"));

    connect(cmdtutto, &ui::Button::clicked, this, &Archivio::cmdtutto_Click);
    connect(cmdselezione, &ui::Button::clicked, this, &Archivio::cmdselezione_Click);
    connect(CmdContinuo, &ui::Button::clicked, this, &Archivio::CmdContinuo_Click);
    connect(cmdstampa, &ui::Button::clicked, this, &Archivio::cmdstampa_Click);
    connect(cmdelimina, &ui::Button::clicked, this, &Archivio::cmdelimina_Click);
    connect(cmdcseltaarg, &ui::Button::clicked, this, &Archivio::cmdcseltaarg_Click);
    connect(cmduscita, &ui::Button::clicked, this, &Archivio::cmduscita_Click);
    connect(cmdanalisi, &ui::Button::clicked, this, &Archivio::cmdanalisi_Click);
    connect(cmdesporto, &ui::Button::clicked, this, &Archivio::cmdesporto_Click);
}

void Archivio::Form_Load()
{
    sfondo->load(QStringLiteral("immagini\\altre\\placche1.jpg"), false);
    CmdContinuo->setEnabled(false);
    cmdstampa->setEnabled(false);
    cmdelimina->setEnabled(false);
    m_pagine.azzera();
    Label1->setCaption(m_imp.intestazione);
}

void Archivio::avvisa(const QString& testo)
{
    ui::MessageBox::message(testo, ui::MessageBox::Ok);
}

void Archivio::svuotaListe()
{
    for (ui::ListBox* lista : std::as_const(Listsomm))
        lista->clear();
}

void Archivio::lasciaElenco()
{
    m_rsattuale.reset();
    m_numrighe = 0;
    m_eliminato = false;
    m_righeEliminate.clear();
    m_letti = {};
}

std::unique_ptr<data::ResultList> Archivio::apri(const std::optional<QString>& pupil)
{
    if (!m_sessione.dbcorso) {
        avvisa(QStringLiteral("L'archivio dei risultati non è aperto: non posso mostrare nessun elenco."));
        return nullptr;
    }
    QStringList campi;
    for (const auto& c : std::as_const(m_imp.colonne))
        campi << c.campo;
    auto elenco =
        std::make_unique<data::ResultList>(m_sessione.dbcorso->connection(), m_imp.tabella, campi, pupil);
    if (!elenco->open()) {
        avvisa(QStringLiteral("Non riesco a leggere l'archivio dei risultati: %1.").arg(elenco->errorText()));
        return nullptr;
    }
    return elenco;
}

void Archivio::nuovoElenco(std::unique_ptr<data::ResultList> elenco, int numrec)
{
    m_numrighe = elenco->count();
    m_rsattuale = std::move(elenco);
    m_eliminato = false;
    m_righeEliminate.clear();
    m_letti = {};
    m_pagine.inizia(numrec);
}

bool Archivio::scrivilista()
{
    const int prima = m_pagine.scrivi();
    QVector<QVariantList> righe;
    if (m_rsattuale && !m_eliminato && prima <= m_numrighe && !m_rsattuale->read(m_letti, Paginazione::kRighe, &righe)) {
        const QString motivo = m_rsattuale->errorText();
        lasciaElenco();
        m_pagine.azzera();
        CmdContinuo->setEnabled(false);
        cmdtutto->setEnabled(true);
        cmdselezione->setEnabled(true);
        avvisa(QStringLiteral("Non riesco a leggere l'elenco dei risultati: %1.").arg(motivo));
        return false;
    }
    for (int c = 0; c < Listsomm.size(); ++c) {
        for (int r = 0; r < Paginazione::kRighe; ++r) {
            auto* item = new QListWidgetItem(
                r < righe.size() ? Campi::testo(righe[r].value(c), m_imp.colonne[c].tipo) : QString());
            item->setToolTip(item->text());  // the whole text of a line cut short by its list
            Listsomm[c]->addItem(item);
        }
    }
    return true;
}

void Archivio::cmdtutto_Click()
{
    m_pagine.azzera();
    cmdselezione->setEnabled(false);
    cmdstampa->setEnabled(true);
    cmdelimina->setEnabled(true);
    m_tipoelenco = 12;
    svuotaListe();
    lasciaElenco();
    auto elenco = apri(std::nullopt);
    if (!elenco) {
        cmdselezione->setEnabled(true);
        return;
    }
    // The whole table is counted one past its rows, as the archive has always paged it.
    const int n = elenco->count();
    nuovoElenco(std::move(elenco), n + 1);
    if (!scrivilista())
        return;
    if (!m_pagine.dopoPrimaPagina()) {
        cmdselezione->setEnabled(true);
    } else {
        cmdtutto->setEnabled(false);
        CmdContinuo->setEnabled(true);
    }
}

void Archivio::cmdselezione_Click()
{
    // Until a pupil's rows are found nothing changes: a cancelled or empty name, or a search given up,
    // leaves the list on screen, its paging, and what printing and deleting act on as they were.
    for (;;) {
        const QString nome = ui::MessageBox::input(QStringLiteral("scrivi cognome e nome"));
        m_sessione.nomestudente = nome;
        if (nome.isEmpty())
            return;
        auto elenco = apri(nome);
        if (!elenco)
            return;
        if (elenco->count() == 0) {
            if (ui::MessageBox::message(QStringLiteral("ATTENZIONE, non hai scritto bene il nome"),
                                        ui::MessageBox::OkCancel) == ui::MessageBox::AnswerOk)
                continue;
            avvisa(QStringLiteral("ABBANDONO QUESTA RICERCA"));
            return;
        }
        m_tipoelenco = 0;
        cmdstampa->setEnabled(true);
        cmdelimina->setEnabled(true);
        svuotaListe();
        lasciaElenco();
        m_pagine.azzera();
        const int n = elenco->count();
        nuovoElenco(std::move(elenco), n);
        if (!scrivilista())
            return;
        if (m_pagine.dopoPrimaPagina()) {
            CmdContinuo->setEnabled(true);
            cmdselezione->setEnabled(false);
            cmdtutto->setEnabled(false);
        }
        return;
    }
}

void Archivio::CmdContinuo_Click()
{
    if (m_imp.continuoRiabilitaSelezione)
        cmdselezione->setEnabled(true);
    svuotaListe();
    if (!m_pagine.avanti()) {
        cmdtutto->setEnabled(true);
        cmdselezione->setEnabled(true);
        CmdContinuo->setEnabled(false);
        return;
    }
    scrivilista();
}

void Archivio::cmdstampa_Click()
{
    if (!m_rsattuale) {
        avvisa(kNessunElencoStampa);
        return;
    }
    if (m_eliminato ? m_righeEliminate.isEmpty() : m_numrighe == 0) {
        avvisa(kElencoVuotoStampa);
        return;
    }
    // The rows come in chunks: from the table, a reading of its own from the first row, whatever page is
    // on screen; after an emptying, the rows as they were when they were deleted.
    data::ResultList::Position letti;
    bool consegnate = false;
    QString errore;
    const auto prossime = [&](QVector<QVariantList>* righe) {
        if (m_eliminato) {
            *righe = consegnate ? QVector<QVariantList>() : m_righeEliminate;
            consegnate = true;
            return true;
        }
        if (m_rsattuale->read(letti, kRighePerLettura, righe))
            return true;
        errore = m_rsattuale->errorText();
        return false;
    };
    QVector<QVariantList> righe;
    qsizetype prossima = 0;
    bool intestazione = true;
    const auto riga = [&](ui::PrintLine& linea) {
        if (intestazione) {
            intestazione = false;
            for (const auto& c : std::as_const(m_imp.colonne))
                linea.append({c.colonnaIntestazione, c.intestazioneCarta});
            return ui::Printer::Next::Line;
        }
        if (prossima >= righe.size()) {
            if (!prossime(&righe))
                return ui::Printer::Next::Failed;
            prossima = 0;
            if (righe.isEmpty())
                return ui::Printer::Next::End;
        }
        const QVariantList& valori = righe.at(prossima++);
        for (int c = 0; c < m_imp.colonne.size(); ++c)
            linea.append({m_imp.colonne[c].colonnaCarta, Campi::testo(valori.value(c), m_imp.colonne[c].tipo)});
        return ui::Printer::Next::Line;
    };
    QString motivo;
    if (ui::Printer::print(m_imp.caption, riga, &motivo) != ui::Printer::Outcome::Failed)
        return;
    if (!errore.isEmpty())
        motivo = QStringLiteral("%1 (%2)").arg(motivo, errore);
    avvisa(QStringLiteral("La stampa non è riuscita: %1.").arg(motivo));
}

void Archivio::cmdelimina_Click()
{
    if (!m_rsattuale) {
        avvisa(kNessunElencoElimina);
        return;
    }
    if (m_eliminato) {
        avvisa(kGiaEliminato);
        return;
    }
    if (m_numrighe == 0) {
        avvisa(kElencoVuotoElimina);
        return;
    }
    const QString codice = ui::MessageBox::input(QStringLiteral("SE SEI AUTORIZZATO A CANCELLARE, scrivi il CODICE"),
                                                 QStringLiteral("CODICE PER LA CANCELLAZIONE"));
    if (codice.isEmpty())
        return;
    if (codice != QLatin1String(kCodice)) {
        avvisa(QStringLiteral("Mi dispiace, o hai sbagliato a scrivere il codice, o non sei autorizzato a cancellare."));
        return;
    }
    // On a classroom's shared server only the teacher's computer has the right to delete.
    if (m_sessione.dbcorso && !m_sessione.dbcorso->canDelete(m_imp.tabella)) {
        avvisa(kSoloInsegnante);
        return;
    }
    if (m_tipoelenco == 12 &&
        ui::MessageBox::message(QStringLiteral("SEI PROPRIO SICURO DI VOLER ELIMINARE TUTTO L'ARCHIVIO?"),
                                ui::MessageBox::YesNo) != ui::MessageBox::AnswerYes)
        return;
    int eliminate = 0;
    QVector<QVariantList> righe;
    bool riuscito = false;
    {
        ui::BusyCursor attesa;
        riuscito = m_rsattuale->deleteAll(&eliminate, &righe);
    }
    if (!riuscito) {
        avvisa(QStringLiteral("Non è stato eliminato niente: %1.\n\nL'archivio è rimasto com'era.")
                   .arg(m_rsattuale->errorText()));
        return;
    }
    m_eliminato = true;
    m_righeEliminate = std::move(righe);
    svuotaListe();
    // Nothing is left to page through.
    m_pagine.azzera();
    CmdContinuo->setEnabled(false);
    cmdtutto->setEnabled(true);
    cmdselezione->setEnabled(true);
    if (!m_imp.selezioneDopoEliminazione.isEmpty())
        cmdselezione->setCaption(m_imp.selezioneDopoEliminazione);
}

void Archivio::cmdcseltaarg_Click()
{
    auto& screens = ui::Screens::instance();
    if (m_imp.menuScaricaQuestionario) {
        screens.show(QStringLiteral("Fscelt"));
        screens.unload(QStringLiteral("FQuest"));
        screens.hide(name());
        screens.unload(name());
    } else {
        screens.hide(name());
        screens.unload(name());
        screens.show(QStringLiteral("Fscelt"));
    }
}

void Archivio::cmduscita_Click()
{
    if (m_imp.uscitaConConferma)
        m_sessione.uscita();
    else
        ui::Application::end(0);
}

void Archivio::cmdanalisi_Click()
{
    auto& screens = ui::Screens::instance();
    auto* analisi = screens.load<Analisi>(QString::fromLatin1(Analisi::kNome));
    if (!analisi)
        return;
    // After a selection the analysis starts on the same pupil.
    analisi->apriDa(name(), haElenco() && m_tipoelenco == 0 ? std::optional<QString>(m_sessione.nomestudente)
                                                            : std::nullopt);
    screens.show(QString::fromLatin1(Analisi::kNome));
    screens.hide(name());
}

namespace {
// A stored value as a spreadsheet should take it: numbers and dates as such, anything else as text.
QVariant valoreFile(const QVariant& valore, Campi::Tipo tipo)
{
    if (!valore.isValid() || valore.isNull())
        return {};
    switch (valore.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::QDate:
        if (tipo != Campi::Tipo::Testo)
            return valore;  // already what the spreadsheet should get
        break;
    case QMetaType::QString:
        if (tipo == Campi::Tipo::Data) {
            // The engine keeps a date as "yyyy-mm-dd": read at once, without the general conversion.
            const QString t = valore.toString();
            if (t.size() == 10) {
                const QDate d = QDate::fromString(t, Qt::ISODate);
                if (d.isValid())
                    return d;
            }
        }
        break;
    default:
        break;
    }
    const QString testo = Campi::testo(valore, tipo);
    switch (tipo) {
    case Campi::Tipo::Data: {
        const QDate d = QDate::fromString(testo, QStringLiteral("dd/MM/yyyy"));
        return d.isValid() ? QVariant(d) : QVariant(testo);
    }
    case Campi::Tipo::Numero: {
        bool ok = false;
        const double d = QString(testo).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? QVariant(d) : QVariant(testo);
    }
    case Campi::Tipo::Testo:
        break;
    }
    return testo;
}
}  // namespace

void Archivio::cmdesporto_Click()
{
    // The list shown, every page of it; before any list, the whole archive.
    std::unique_ptr<data::ResultList> tutto;
    data::ResultList* elenco = m_rsattuale.get();
    if (!elenco && !m_eliminato) {
        tutto = apri(std::nullopt);
        if (!tutto)
            return;
        elenco = tutto.get();
    }
    const QString file = ui::FileDialog::salva(QStringLiteral("Esporto per il foglio di calcolo"),
                                               data::Csv::nomeProposto(m_imp.nomeFile, data::Clock::today()),
                                               QStringLiteral("File CSV (*.csv)"));
    if (file.isEmpty())
        return;
    QStringList intestazione;
    for (const auto& c : std::as_const(m_imp.colonne))
        intestazione << c.campo;
    data::ResultList::Position letti;
    bool consegnate = false;
    const auto prossime = [&](QVector<QVariantList>* righe, QString* errore) {
        QVector<QVariantList> lette;
        if (m_eliminato) {
            lette = consegnate ? QVector<QVariantList>() : m_righeEliminate;
            consegnate = true;
        } else if (!elenco->read(letti, kRighePerFile, &lette)) {
            *errore = QStringLiteral("l'elenco non si è potuto leggere (%1)").arg(elenco->errorText());
            return false;
        }
        righe->clear();
        for (const QVariantList& r : std::as_const(lette)) {
            QVariantList valori;
            for (int c = 0; c < m_imp.colonne.size(); ++c)
                valori << valoreFile(r.value(c), m_imp.colonne[c].tipo);
            righe->append(valori);
        }
        return true;
    };
    QString errore;
    bool scritto = false;
    {
        ui::BusyCursor attesa;
        scritto = data::Csv::scrivi(file, intestazione, prossime, &errore);
    }
    if (!scritto)
        avvisa(QStringLiteral("Il file non è stato salvato: %1.").arg(errore));
}
