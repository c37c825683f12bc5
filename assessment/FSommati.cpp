#include "assessment/FSommati.h"

#include "app/Sessione.h"
#include "assessment/FRIsomma.h"
#include "assessment/Questionario.h"
#include "assessment/Sommativo.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QKeyEvent>

namespace {
const auto kTabellaDomande = QStringLiteral("sommativo");
const auto kNomeSchermo = QStringLiteral("FSommati");
const auto kMenu = QStringLiteral("Fscelt");
const auto kScheda = QStringLiteral("FRIsomma");
const auto kMancanoRisposte =
    QStringLiteral("Non hai fornito TUTTE LE RISPOSTE.  Prima di continuare, controlla e completa le risposte.");
const auto kFinito = QStringLiteral("IL TEST E' FINITO");

const ui::FontSpec kPulsanti{QStringLiteral("Arial"), 10, true};
const ui::FontSpec kAffermazioni{QStringLiteral("Arial"), 10};
const ui::FontSpec kArgomento{QStringLiteral("Arial"), 10, true};
const ui::FontSpec kCaselle{QStringLiteral("Arial"), 8, true};
const ui::FontSpec kIntestazione{QStringLiteral("Arial"), 10, true};  // "V" and "F" over their boxes

const QColor kAzzurro(192, 192, 255);
const QColor kGrigio(192, 192, 192);
const QColor kSfondo(58, 84, 112);  // deep slate: the grey rows and the white box numbers read well on it
}  // namespace

FSommati::FSommati(Sessione& sessione) : ui::Form(kNomeSchermo), m_sessione(sessione)
{
    setCaption(QStringLiteral("Test sommativo"));
    setBackColor(kSfondo);

    // The boxes and buttons first: that is the order of the keyboard, row by row, "V" then "F".
    for (int r = 0; r < 10; ++r) {
        const int top = 1560 + 360 * r;
        auto* v = addCheckBox(arrayName(QStringLiteral("Check1"), r), QString::number(r + 1), {8280, top, 495, 375},
                              kCaselle);
        auto* f = addCheckBox(arrayName(QStringLiteral("Check2"), r), QString(), {8760, top, 375, 375}, kCaselle);
        for (ui::CheckBox* box : {v, f}) {
            QPalette pal = box->palette();
            pal.setColor(QPalette::WindowText, Qt::white);  // the row number; the tick keeps its dark colour
            box->setPalette(pal);
        }
        Check1.append(v);
        Check2.append(f);
    }
    cmdAVANTI = addButton(QStringLiteral("cmdAVANTI"), QStringLiteral("  DOMANDE SUCCESSIVE"), {9000, 5640, 2655, 975},
                          kPulsanti);
    cmdRISULT = addButton(QStringLiteral("cmdRISULT"), QStringLiteral("RISULTATO"), {6240, 5640, 2655, 975}, kPulsanti);
    Command1 = addButton(QStringLiteral("Command1"), QStringLiteral("Menù"), {6240, 7200, 2655, 615}, kPulsanti);
    fine = addButton(QStringLiteral("fine"), QStringLiteral("Esco dal programma"), {9000, 7200, 2655, 615}, kPulsanti);

    Text2 = addTextBox(QStringLiteral("Text2"), {600, 960, 6255, 360}, kArgomento);
    Text2->setBackColor(kAzzurro);
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral(" V      F"), {8280, 1320, 855, 255}, kIntestazione);
    Label1->setForeColor(Qt::white);
    for (int r = 0; r < 10; ++r) {
        auto* t = addTextBox(arrayName(QStringLiteral("Text1"), r), {600, 1560 + 360 * r, 7695, 375}, kAffermazioni);
        t->setBackColor(kGrigio);
        Text1.append(t);
    }
    // The statements are read, not written: no caret, no typing, and the keys stay with the boxes.
    for (ui::TextBox* t : Text1 + QVector<ui::TextBox*>{Text2}) {
        t->setReadOnly(true);
        t->setFocusPolicy(Qt::NoFocus);
    }
    // The last column of the statements touches the "V" boxes: the boxes stay on top.
    for (int r = 0; r < 10; ++r) {
        Check1[r]->raise();
        Check2[r]->raise();
    }

    m_pagina = new PaginaVeroFalso(this, Text1, Check1, Check2, m_sessione.risposte);
    connect(m_pagina, &PaginaVeroFalso::ultimaRigaRisposta, this, [this] {
        if (cmdAVANTI->isEnabled())
            cmdAVANTI->setFocus(Qt::OtherFocusReason);
    });
    // Return goes to the first unanswered row or, with every row answered, to the next page.
    connect(m_pagina, &PaginaVeroFalso::invio, this, [this] {
        if (const int mancante = m_pagina->primaMancante(); mancante >= 0)
            m_pagina->vaiA(mancante, 0);
        else if (cmdAVANTI->isEnabled())
            cmdAVANTI->click();
    });
    connect(cmdAVANTI, &ui::Button::clicked, this, &FSommati::cmdAVANTI_Click);
    connect(cmdRISULT, &ui::Button::clicked, this, &FSommati::cmdRISULT_Click);
    connect(Command1, &ui::Button::clicked, this, &FSommati::Command1_Click);
    connect(fine, &ui::Button::clicked, this, &FSommati::fine_Click);
}

void FSommati::resizeEvent(QResizeEvent* event)
{
    ui::Form::resizeEvent(event);
    // The style draws check boxes at one size for every window: here they grow with the screen, so that
    // they stay easy to hit and under their "V" and "F".
    const QString stile = QStringLiteral("QCheckBox { spacing: %1px; }"
                                         "QCheckBox::indicator { width: %2px; height: %2px; }")
                              .arg(std::max(2, scala().length(45)))
                              .arg(std::max(8, scala().length(195)));
    for (int r = 0; r < 10; ++r) {
        Check1[r]->setStyleSheet(stile);
        Check2[r]->setStyleSheet(stile);
    }
}

void FSommati::Form_Load()
{
    Sommativo::inizia(m_sessione);
    m_risposte.clear();
    // The bank is checked before the name is asked: without pages there is no test to take.
    if (m_sessione.dbcorso)
        m_rssommativo = m_sessione.dbcorso->OpenRecordset(kTabellaDomande);
    if (m_rssommativo)
        m_rssommativo->MoveFirst();
    if (!m_rssommativo || !paginaUsabile()) {
        ui::MessageBox::message(QStringLiteral("Il test sommativo non si può fare: le sue domande mancano "
                                               "nell'archivio del corso, o nessuna pagina si può usare.\n\nAvvisa l'insegnante."));
        ui::Screens::instance().unload(name());
        return;
    }
    m_sessione.chiedinome();
    creaultmat();
    cmdRISULT->hide();
}

void FSommati::creaultmat()
{
    for (int i = 1; i <= 10; ++i) {
        testisomm[i] = m_rssommativo->Fields(i + 1).toString();
        m_sessione.soluzioni[i] = qint16(m_rssommativo->Fields(i + 11).toInt());
    }
    for (int i = 1; i <= 10; ++i)
        m_pagina->scrivi(i - 1, testisomm[i]);
    Text2->setText(m_rssommativo->Fields(QStringLiteral("argomento")).toString());
    Text2->setCursorPosition(0);
}

bool FSommati::paginaUsabile()
{
    // A damaged page is named and left out: it counts neither in the answers nor in the maximum.
    for (; !m_rssommativo->eof(); m_rssommativo->MoveNext()) {
        const QString difetto = Questionario::difettoPagina(*m_rssommativo, m_rssommativo->AbsolutePosition() + 1);
        if (difetto.isEmpty())
            return true;
        ui::MessageBox::message(difetto);
    }
    return false;
}

void FSommati::verifica()
{
    m_mancanti = qint16(m_pagina->mancanti());
    if (m_mancanti > 0)
        ui::MessageBox::message(kMancanoRisposte);
}

void FSommati::cmdAVANTI_Click()
{
    // Pressed from the program after the end: the result is already counted and stored.
    if (!m_rssommativo || m_rssommativo->eof())
        return;
    verifica();
    if (m_mancanti > 0) {
        m_pagina->vaiA(m_pagina->primaMancante(), 0);
        return;
    }
    Sommativo::aggiungiPagina(m_sessione, Sommativo::puntiPagina(m_sessione.risposte, m_sessione.soluzioni));
    for (int i = 1; i <= 10; ++i)
        m_risposte.append({data::Risposte::kProvaSommativa, m_rssommativo->table(), m_sessione.numpagine, i,
                           testisomm[i], m_sessione.risposte[i] == 1 ? QStringLiteral("V") : QStringLiteral("F"),
                           m_sessione.risposte[i] == m_sessione.soluzioni[i]});
    // The window's own focus, also while another window is active.
    const bool conIlFuoco = isAncestorOf(window()->focusWidget());
    m_rssommativo->MoveNext();
    if (paginaUsabile()) {
        m_pagina->svuota();
        Text2->clear();
        creaultmat();
        if (conIlFuoco)
            m_pagina->vaiA(0, 0);
        return;
    }
    Sommativo::concludi(m_sessione);
    Sommativo::registra(m_sessione, m_risposte);
    cmdRISULT->show();
    cmdAVANTI->setCaption(kFinito);
    cmdAVANTI->setEnabled(false);
    if (conIlFuoco)
        cmdRISULT->setFocus(Qt::OtherFocusReason);
}

void FSommati::cmdRISULT_Click()
{
    auto& screens = ui::Screens::instance();
    auto* scheda = qobject_cast<FRIsomma*>(screens.load(kScheda));
    if (!scheda)
        return;
    scheda->mostraRisultato();
    screens.show(kScheda);
    screens.unload(name());
}

void FSommati::Command1_Click()
{
    // The test is abandoned: nothing stored, and the next opening starts again from the first page.
    ui::Screens::instance().show(kMenu);
    ui::Screens::instance().unload(name());
}

void FSommati::fine_Click()
{
    m_sessione.uscita();
}
