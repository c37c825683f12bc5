#include "assessment/FQuest.h"

#include "app/Sessione.h"
#include "assessment/FQimage.h"
#include "assessment/Questionario.h"
#include "data/Risposte.h"
#include "ui/MessageBox.h"
#include "ui/Random.h"
#include "ui/Screens.h"

#include <QFontMetricsF>
#include <QKeyEvent>

namespace {
const ui::FontSpec kPulsanti{QStringLiteral("Arial"), 10, true};
const ui::FontSpec kRighe{QStringLiteral("Arial"), 10};
const ui::FontSpec kTitolo{QStringLiteral("Arial"), 11, true};
const QColor kGrigio(192, 192, 192);
const QColor kAzzurro(192, 192, 255);
const QColor kRosso(255, 0, 0);
constexpr int kLarghezzaRiga = 8175;  // twips
constexpr double kCarattereMinimo = 7.5;

const auto kTabellaRisultati = QStringLiteral("studenti");
const auto kImmagine = QStringLiteral("FQimage");

const auto kAiuto = QStringLiteral(
    "Hai DUE possibilità: 1) cliccare su 'PASSO AL TEST' e INIZIARE SUBITO IL QUESTIONARIO. Al termine delle "
    "risposte ti verrà comunicato il risultato e questo verrà registrato nell'archivio.     2) Oppure puoi "
    "cliccare su 'PRIMA MI ESERCITO', per controllare e migliorare le tue prestazioni. Al termine "
    "dell'esercitazione, potrai comunque PASSARE AL QUESTIONARIO per registrare il risultato");
const auto kMancano = QStringLiteral(
    "Non hai fornito TUTTE LE RISPOSTE.  Prima di continuare, controlla e completa le risposte.");

int riga(int r)
{
    return 840 + 360 * r;
}
}  // namespace

FQuest::FQuest(Sessione& sessione) : ui::Form(QStringLiteral("FQuest")), m_sessione(sessione)
{
    setCaption(QStringLiteral("questionari"));
    setBackColor(QColor(128, 128, 128));
    Image1 = addPicture(QStringLiteral("Image1"), {0, 0, 12000, 9000});
    Image1->setAccessibleName(QStringLiteral("sfondo: la carta delle placche"));

    Text2 = addTextBox(QStringLiteral("Text2"), {240, 520, 8175, 325}, kTitolo);
    Text2->setBackColor(kAzzurro);
    Text2->setReadOnly(true);
    Text2->setFocusPolicy(Qt::NoFocus);
    labelverofalso = addLabel(QStringLiteral("labelverofalso"), QStringLiteral(" V     F"), {8400, 520, 855, 375},
                              {QStringLiteral("Arial"), 10, true});
    labelverofalso->setBackColor(QColor(224, 224, 224));
    labelverofalso->setToolTip(QStringLiteral("Con la tastiera: il numero della riga (0 per la 10), poi V o F; "
                                              "Invio per il RISULTATO"));
    for (int r = 0; r < 10; ++r) {
        auto* testo = addTextBox(arrayName(QStringLiteral("Text1"), r), {240, riga(r), kLarghezzaRiga, 360}, kRighe);
        testo->setBackColor(kGrigio);
        // The statements are read, not written.
        testo->setReadOnly(true);
        testo->setFocusPolicy(Qt::NoFocus);
        Text1.append(testo);
        auto* vero = addCheckBox(arrayName(QStringLiteral("Check1"), r), QString::number(r + 1),
                                 {8400, riga(r), 495, 375}, {QStringLiteral("Arial"), 8, true});
        Check1.append(vero);
        auto* falso = addCheckBox(arrayName(QStringLiteral("Check2"), r), QString(), {8880, riga(r), 375, 375});
        Check2.append(falso);
        // The two columns of boxes stand on one light strip, as under their heading.
        for (ui::CheckBox* c : {vero, falso}) {
            QPalette pal = c->palette();
            pal.setColor(QPalette::Window, QColor(224, 224, 224));
            c->setPalette(pal);
            c->setAutoFillBackground(true);
        }
    }
    cmdRISULT = addButton(QStringLiteral("cmdRISULT"), QStringLiteral("RISULTATO"), {4560, 4680, 1935, 855}, kPulsanti);
    Labrisult = addLabel(QStringLiteral("Labrisult"), QString(), {6600, 4920, 615, 375},
                         {QStringLiteral("Arial"), 12, true});
    Labrisult->setBackColor(kAzzurro);
    Labrisult->setCentred(true);
    cmdmostradomande = addButton(QStringLiteral("cmdmostradomande"), QStringLiteral("MOSTRA DOMANDE"),
                                 {7320, 4680, 1935, 855}, kPulsanti);
    cmdimage = addButton(QStringLiteral("cmdimage"), QStringLiteral("Continua il test con l'immagine"),
                         {4560, 5760, 4695, 495}, kPulsanti);
    Cmdhelp = addButton(QStringLiteral("Cmdhelp"), QStringLiteral("? AIUTO ?"), {240, 7440, 1455, 495}, kPulsanti);
    cmdesercitazione = addButton(QStringLiteral("cmdesercitazione"), QStringLiteral("PRIMA MI ESERCITO"),
                                 {1800, 7440, 2055, 495}, kPulsanti);
    {
        QPalette pal = cmdesercitazione->palette();
        pal.setColor(QPalette::Button, kGrigio);
        cmdesercitazione->setPalette(pal);
    }
    cmdquestionario = addButton(QStringLiteral("cmdquestionario"), QStringLiteral("   PASSO al TEST    "),
                                {3960, 7440, 2055, 495}, kPulsanti);
    cmdscegli = addButton(QStringLiteral("cmdscegli"), QStringLiteral("Menù"), {6120, 7440, 2055, 495}, kPulsanti);
    cmduscita = addButton(QStringLiteral("cmduscita"), QStringLiteral("Esco dal programma"), {8280, 7440, 1815, 495},
                          kPulsanti);
    Cmdhelp->setShortcut(QKeySequence(Qt::Key_F1));

    m_pagina = new PaginaVeroFalso(this, Text1, Check1, Check2, m_sessione.risposte);
    connect(m_pagina, &PaginaVeroFalso::ultimaRigaRisposta, this, [this] {
        if (cmdRISULT->isVisible() && cmdRISULT->isEnabled())
            cmdRISULT->setFocus(Qt::OtherFocusReason);
    });
    connect(m_pagina, &PaginaVeroFalso::invio, this, &FQuest::invio);
    connect(cmdesercitazione, &ui::Button::clicked, this, &FQuest::cmdesercitazione_Click);
    connect(cmdquestionario, &ui::Button::clicked, this, &FQuest::cmdquestionario_Click);
    connect(cmdmostradomande, &ui::Button::clicked, this, &FQuest::cmdmostradomande_Click);
    connect(cmdRISULT, &ui::Button::clicked, this, &FQuest::cmdRISULT_Click);
    connect(cmdimage, &ui::Button::clicked, this, &FQuest::cmdimage_Click);
    connect(Cmdhelp, &ui::Button::clicked, this, &FQuest::Cmdhelp_Click);
    connect(cmdscegli, &ui::Button::clicked, this, &FQuest::cmdscegli_Click);
    connect(cmduscita, &ui::Button::clicked, this, &FQuest::cmduscita_Click);
}

void FQuest::Form_Load()
{
    Image1->load(QStringLiteral("immagini\\altre\\placche1.jpg"), false);
    cmdmostradomande->hide();
    cmdRISULT->hide();
    cmdimage->hide();
    m_sessione.modotest = ModoTest::Esercizio;
}

void FQuest::cmdesercitazione_Click()
{
    cmdesercitazione->hide();
    cmdmostradomande->press();
    if (m_chiuso)
        return;
    cmdquestionario->setCaption(QStringLiteral("PASSO AL TEST"));
    cmdquestionario->show();
    cmdimage->show();
    cmdRISULT->show();
    cmdmostradomande->show();
    m_sessione.modotest = ModoTest::Esercizio;
    Labrisult->setCaption(QString());
}

void FQuest::cmdquestionario_Click()
{
    m_sessione.modotest = ModoTest::Test;
    m_sessione.chiedinome();
    cmdimage->setEnabled(false);
    cmdesercitazione->hide();
    cmdRISULT->show();
    cmdmostradomande->show();
    cmdquestionario->hide();
    for (int r = 0; r < 10; ++r) {
        scriviRiga(r, QString());
        Check1[r]->setChecked(false);
        Check2[r]->setChecked(false);
        Text1[r]->setBackColor(kGrigio);
    }
    Text2->clear();
    Labrisult->setCaption(QString());
    m_pagineRegistrate = 0;
    if (m_sessione.rsdomande) {
        m_sessione.rsdomande->MoveFirst();
        m_sessione.caricadomande();
    }
    cmdmostradomande->press();
}

void FQuest::cmdmostradomande_Click()
{
    Labrisult->setCaption(QString());
    for (int i = 1; i <= 10; ++i) {
        m_sessione.errori[i] = 0;
        scriviRiga(i - 1, QString());
        Text1[i - 1]->setBackColor(kGrigio);
    }
    if (!cercaPagina())
        return;
    m_sessione.caricadomande();
    ordinecasuale();
    Text2->setText(m_sessione.titolo);
    Text2->setCursorPosition(0);
    cmdRISULT->setEnabled(true);
    cmdmostradomande->setEnabled(false);
}

bool FQuest::cercaPagina()
{
    data::Recordset* rs = m_sessione.rsdomande.get();
    const int pagine = rs ? rs->RecordCount() : 0;
    if (pagine == 0) {
        const QString tabella = rs ? rs->table() : QStringLiteral("domande%1").arg(m_sessione.numargomento);
        ui::MessageBox::message(QStringLiteral("La tabella di domande \"%1\" non contiene nessuna pagina: il "
                                               "questionario di questo argomento non si può fare.\n\nAvvisa "
                                               "l'insegnante. Ora torni al menù.")
                                    .arg(tabella));
        cmdscegli_Click();
        return false;
    }
    for (int prova = 0; prova < pagine; ++prova) {
        if (rs->eof()) {
            if (m_sessione.modotest == ModoTest::Test) {
                fineTest();
                return false;
            }
            rs->MoveFirst();
        }
        const QString difetto = Questionario::difettoPagina(*rs, rs->AbsolutePosition() + 1);
        if (difetto.isEmpty())
            return true;
        ui::MessageBox::message(difetto);
        rs->MoveNext();
    }
    if (m_sessione.modotest == ModoTest::Test) {
        fineTest();
        return false;
    }
    ui::MessageBox::message(QStringLiteral("Nessuna pagina della tabella di domande \"%1\" si può mostrare.\n\n"
                                           "Avvisa l'insegnante. Ora torni al menù.")
                                .arg(rs->table()));
    cmdscegli_Click();
    return false;
}

void FQuest::cmdRISULT_Click()
{
    if (!verifica())
        return;
    m_sessione.punteggio = 0;
    m_sessione.correggi();
    Labrisult->setCaption(QString::number(m_sessione.punteggio));
    for (int r = 0; r < 10; ++r)
        if (m_sessione.errori[r + 1] == 1)
            Text1[r]->setBackColor(kRosso);

    data::Recordset* rs = m_sessione.rsdomande.get();
    if (m_sessione.modotest == ModoTest::Esercizio) {
        if (rs) {
            rs->MoveNext();
            if (rs->eof())
                rs->MoveFirst();
        }
        m_sessione.caricadomande();
        cmdRISULT->setEnabled(false);
        cmdmostradomande->show();
        cmdmostradomande->setEnabled(true);
        return;
    }
    registraPagina();
    if (rs)
        rs->MoveNext();
    if (rs && !rs->eof()) {
        m_sessione.caricadomande();
        cmdRISULT->setEnabled(false);
        cmdmostradomande->setEnabled(true);
    } else {
        fineTest();
    }
}

void FQuest::registraPagina()
{
    const QString cosa = QStringLiteral("il punteggio di questa pagina");
    if (!m_sessione.dbcorso) {
        ui::MessageBox::message(QStringLiteral("Attenzione: %1 NON è stato salvato: l'archivio dei risultati non è "
                                               "aperto.\n\nAvvisa l'insegnante.")
                                    .arg(cosa));
        return;
    }
    auto rsstudenti = m_sessione.dbcorso->OpenRecordset(kTabellaRisultati);
    rsstudenti->AddNew();
    rsstudenti->setField(QStringLiteral("punteggio"), int(m_sessione.punteggio));
    rsstudenti->setField(QStringLiteral("cognome e nome"), m_sessione.nomestudente);
    rsstudenti->setField(QStringLiteral("argomento"), Text2->text());
    rsstudenti->setField(QStringLiteral("maxpunti"), 10);
    data::Risposte::allega(m_sessione.dbcorso->connection(), *rsstudenti, m_sessione.nomestudente, risposteDellaPagina());
    if (m_sessione.registra(*rsstudenti, cosa))
        ++m_pagineRegistrate;
}

QVector<data::Risposta> FQuest::risposteDellaPagina() const
{
    QVector<data::Risposta> out;
    const auto& rs = m_sessione.rsdomande;
    for (int r = 0; r < PaginaVeroFalso::kRighe; ++r) {
        const int i = r + 1;
        const QString risposta = Check1[r]->isChecked() ? QStringLiteral("V")
                                 : Check2[r]->isChecked() ? QStringLiteral("F")
                                                          : QString();
        out.append({data::Risposte::provaArgomento(m_sessione.numargomento), rs ? rs->table() : QString(),
                    rs ? rs->AbsolutePosition() + 1 : 0, i, Text1[r]->text(), risposta,
                    m_sessione.risposte[i] == m_sessione.soluzioni[i]});
    }
    return out;
}

void FQuest::fineTest()
{
    if (m_sessione.rsdomande)
        m_sessione.rsdomande->MoveFirst();
    cmdimage->setEnabled(true);
    cmdimage->show();
    cmdRISULT->setEnabled(false);
    cmdmostradomande->setEnabled(false);
}

void FQuest::cmdimage_Click()
{
    Labrisult->setCaption(QString());
    auto& screens = ui::Screens::instance();
    auto* immagine = screens.load<FQimage>(kImmagine);
    if (!immagine)
        return;
    immagine->abilitaRisultato();
    screens.show(kImmagine);
    screens.hide(name());
}

void FQuest::riprendiTest()
{
    cmdquestionario->press();
}

void FQuest::riprendiEsercizio()
{
    cmdesercitazione->press();
}

void FQuest::Cmdhelp_Click()
{
    ui::MessageBox::message(kAiuto);
}

void FQuest::cmdscegli_Click()
{
    for (int r = 0; r < 10; ++r)
        scriviRiga(r, QString());
    Text2->clear();
    Labrisult->setCaption(QString());
    cmdmostradomande->setEnabled(true);
    m_chiuso = true;
    auto& screens = ui::Screens::instance();
    screens.show(QStringLiteral("Fscelt"));
    screens.unload(name());
    screens.unload(kImmagine);
}

void FQuest::cmduscita_Click()
{
    m_sessione.uscita();
}

bool FQuest::verifica()
{
    m_mancanti = m_pagina->mancanti();
    if (m_mancanti > 0)
        ui::MessageBox::message(kMancano);
    return m_mancanti == 0;
}

void FQuest::ordinecasuale()
{
    ui::Random::seedFromClock();
    const Questionario::PaginaMescolata pagina =
        Questionario::ordinecasuale(m_sessione.domande, m_sessione.soluzioni, [] { return ui::Random::next(); });
    for (int i = 1; i <= 10; ++i) {
        scriviRiga(i - 1, pagina.testi[i]);
        Check1[i - 1]->setChecked(false);
        Check2[i - 1]->setChecked(false);
        m_sessione.soluzioni[i] = pagina.codici[i];
    }
}

void FQuest::scriviRiga(int r, const QString& testo)
{
    // A long statement gets a smaller type rather than a row the pupil would have to scroll.
    ui::FontSpec carattere = kRighe;
    const double larghezza = kLarghezzaRiga / 15.0 - 12;  // design pixels, less the box's margins
    while (carattere.points > kCarattereMinimo &&
           QFontMetricsF(ui::Fonts::font(carattere, 96.0 / 72.0)).horizontalAdvance(testo) > larghezza)
        carattere.points -= 0.5;
    setDesignFont(Text1[r], carattere);
    m_pagina->scrivi(r, testo);
}

void FQuest::invio()
{
    if (cmdRISULT->isVisible() && cmdRISULT->isEnabled())
        cmdRISULT->click();
    else if (cmdmostradomande->isVisible() && cmdmostradomande->isEnabled())
        cmdmostradomande->click();
}

void FQuest::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        invio();
        return;
    }
    ui::Form::keyPressEvent(event);
}
