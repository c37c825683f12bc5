#include "assessment/FQimage.h"

#include "app/Sessione.h"
#include "assessment/FQuest.h"
#include "data/Risposte.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {
const ui::FontSpec kPulsanti{QStringLiteral("Arial"), 10, true};
const ui::FontSpec kNumeri{QStringLiteral("Arial"), 12, true};
const QColor kArancioChiaro(255, 224, 192);
const QColor kRosso(255, 0, 0);
const QColor kGrigio(192, 192, 192);
const QColor kGialloChiaro(255, 255, 128);
const QColor kScelto(0, 0, 160);

const auto kQuestionario = QStringLiteral("FQuest");
const auto kArchivio = QStringLiteral("frmRISUL");
const auto kMenu = QStringLiteral("Fscelt");
const auto kTabellaRisultati = QStringLiteral("studenti");
}  // namespace

FQimage::FQimage(Sessione& sessione) : ui::Form(QStringLiteral("FQimage")), m_sessione(sessione)
{
    setCaption(QStringLiteral("DESCRIVI L'IMMAGINE"));
    setBackColor(QColor(222, 232, 240));
    Sfondo = addPicture(QStringLiteral("Sfondo"), {0, 0, 12000, 9000});
    Sfondo->setAccessibleName(QStringLiteral("sfondo: le placche"));

    txtTITOLO = addTextBox(QStringLiteral("txtTITOLO"), {360, 45, 6135, 280}, {QStringLiteral("Arial"), 11, true});
    // The title is also what a stored test is filed under: it is shown, not edited.
    txtTITOLO->setReadOnly(true);
    txtTITOLO->setFocusPolicy(Qt::NoFocus);
    txtTITOLO->setAlignment(Qt::AlignCenter);
    Image1 = addPicture(QStringLiteral("Image1"), {840, 720, 5175, 4095});
    lblmancante = addLabel(QStringLiteral("lblmancante"), QString(), {1440, 1800, 3975, 1935},
                           {QStringLiteral("Arial"), 10, true});
    lblmancante->setBackColor(QColor(255, 255, 255));
    lblmancante->setCentred(true);
    lblmancante->hide();

    for (int i = 0; i < Etichette::kCaselle; ++i) {
        auto* casella = addLabel(arrayName(QStringLiteral("Label4"), i), QString(), Etichette::casella(i), kNumeri);
        casella->setCentred(true);
        casella->setBackColor(kArancioChiaro);
        casella->setFocusPolicy(Qt::StrongFocus);
        casella->setRuolo(ui::Label::Ruolo::Pulsante);
        Label4.append(casella);
    }
    for (int i = 0; i < 10; ++i) {
        const int top = 240 + 480 * i;
        auto* numero = addLabel(arrayName(QStringLiteral("Label3"), i), QString(), {6960, top, 375, 495}, kNumeri);
        numero->setCentred(true);
        numero->setBackColor(kGrigio);
        numero->setFocusPolicy(Qt::StrongFocus);
        numero->setCursor(Qt::OpenHandCursor);
        numero->setRuolo(ui::Label::Ruolo::Pulsante);
        Label3.append(numero);
        auto* nome = addLabel(arrayName(QStringLiteral("Label1"), i), QString(), {7320, top, 2535, 495},
                              {QStringLiteral("Arial"), 10, true});
        nome->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        nome->setBackColor(QColor(251, 247, 238));
        Label1.append(nome);
    }
    Label2 = addLabel(QStringLiteral("Label2"),
                      QStringLiteral("CLICCA sui numeri e, tenendo premuto il tasto, trascinali nelle caselle chiare"),
                      {7200, 5280, 4455, 615}, kPulsanti);
    Label2->setToolTip(QStringLiteral("Senza trascinare: clicca un numero (o sceglilo con Tab e Invio), poi clicca "
                                      "la casella (o raggiungila con Tab e premi Invio)."));
    cmdRISULT = addButton(QStringLiteral("cmdRISULT"), QStringLiteral("RISULTATO"), {4440, 5280, 2055, 495}, kPulsanti);
    txtrisult = addTextBox(QStringLiteral("txtrisult"), {6600, 5280, 495, 420}, kNumeri);
    txtrisult->setReadOnly(true);
    txtrisult->setFocusPolicy(Qt::NoFocus);
    txtrisult->setAlignment(Qt::AlignCenter);
    cmdriprovo = addButton(QStringLiteral("cmdriprovo"), QStringLiteral("RIPROVO"), {2280, 5280, 2055, 495}, kPulsanti);
    cmdtest = addButton(QStringLiteral("cmdtest"), QStringLiteral(" FACCIO IL TEST"), {4440, 6600, 2055, 495}, kPulsanti);
    Cmdtorna = addButton(QStringLiteral("Cmdtorna"), QStringLiteral("Mi esercito (questionario)"),
                         {2280, 6600, 2055, 495}, kPulsanti);
    cmdarchivio = addButton(QStringLiteral("cmdarchivio"), QStringLiteral(" ARCHIVIO  DEI RISULTATI"),
                            {2280, 7320, 2895, 495}, kPulsanti);
    cmdscegliarg = addButton(QStringLiteral("cmdscegliarg"), QStringLiteral("Menù"), {5280, 7320, 2895, 495}, kPulsanti);
    cmduscita = addButton(QStringLiteral("cmduscita"), QStringLiteral("ESCO "), {8280, 7320, 2895, 495}, kPulsanti);
    Cmdpertest = addButton(QStringLiteral("Cmdpertest"), QStringLiteral("Command1"), {240, 5520, 735, 255});
    Cmdpereserc = addButton(QStringLiteral("Cmdpereserc"), QStringLiteral("Command1"), {240, 5880, 855, 255});
    Cmdpertest->hide();
    Cmdpereserc->hide();

    // Tab runs over the numbers, then the boxes by their numbers (around the picture their places do
    // not read in order), then the buttons.
    setOrdine({Label3[0], Label3[1], Label3[2], Label3[3], Label3[4], Label3[5], Label3[6], Label3[7], Label3[8],
               Label3[9], Label4[0], Label4[1], Label4[2], Label4[3], Label4[4], Label4[5], Label4[6], Label4[7],
               Label4[8], Label4[9], cmdriprovo, cmdRISULT, Cmdtorna, cmdtest, cmdarchivio, cmdscegliarg, cmduscita});

    for (int i = 0; i < 10; ++i) {
        connect(Label3[i], &ui::Label::clicked, this, [this, i] { scegliNumero(i); });
        connect(Label4[i], &ui::Label::clicked, this, [this, i] { scegliCasella(i); });
        Label3[i]->installEventFilter(this);
        Label4[i]->installEventFilter(this);
        Label1[i]->installEventFilter(this);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Sfondo, Image1, lblmancante, Label2, txtTITOLO, txtrisult})
        w->installEventFilter(this);
    installEventFilter(this);

    connect(cmdRISULT, &ui::Button::clicked, this, &FQimage::cmdRISULT_Click);
    connect(cmdriprovo, &ui::Button::clicked, this, &FQimage::cmdriprovo_Click);
    connect(cmdtest, &ui::Button::clicked, this, &FQimage::cmdtest_Click);
    connect(Cmdtorna, &ui::Button::clicked, this, &FQimage::Cmdtorna_Click);
    connect(cmdarchivio, &ui::Button::clicked, this, &FQimage::cmdarchivio_Click);
    connect(cmdscegliarg, &ui::Button::clicked, this, &FQimage::cmdscegliarg_Click);
    connect(cmduscita, &ui::Button::clicked, this, &FQimage::cmduscita_Click);
    connect(Cmdpertest, &ui::Button::clicked, this, &FQimage::Cmdpertest_Click);
    connect(Cmdpereserc, &ui::Button::clicked, this, &FQimage::Cmdpereserc_Click);
}

void FQimage::Form_Load()
{
    Sfondo->load(QStringLiteral("immagini\\questim\\sfondo.jpg"), false);
    cmdriprovo->setEnabled(false);
    svuotaCaselle();
    m_maxpunti = 10;
    m_argomento = Etichette::argomento(m_sessione.numargomento);
    if (m_argomento) {
        m_numeriesatti = m_argomento->numeriesatti;
        if (!Image1->load(m_argomento->immagine, false)) {
            lblmancante->setCaption(QStringLiteral("Non trovo l'immagine da completare:\r%1\r\rAvvisa l'insegnante.")
                                        .arg(m_argomento->immagine));
            lblmancante->show();
        }
        txtTITOLO->setText(m_argomento->titolo);
        Image1->setAccessibleName(m_argomento->descrizione);
    }
    for (int k = 1; k <= 10; ++k) {
        Label3[k - 1]->setCaption(QString::number(k));
        Label1[k - 1]->setCaption(m_argomento ? m_argomento->nomiparti[k] : QString());
    }
    descriviCaselle();
    if (m_sessione.modotest == ModoTest::Test)
        Cmdpertest->press();
    else
        Cmdpereserc->press();
}

void FQimage::Cmdpertest_Click()
{
    cmdtest->setEnabled(false);
    Cmdtorna->setEnabled(false);
    cmdscegliarg->setEnabled(false);
    cmduscita->setEnabled(false);
    cmdarchivio->setEnabled(false);
}

void FQimage::Cmdpereserc_Click()
{
    cmdarchivio->setEnabled(false);
}

void FQimage::Label4_DragDrop(int Index, int source)
{
    m_caselle.lascia(Index, source + 1);
    mostraCaselle();
}

void FQimage::cmdRISULT_Click()
{
    // The button disables itself: from the keyboard, the pupil goes on to the next step, not to
    // whatever control happens to follow.
    const bool daTastiera = cmdRISULT->hasFocus();
    auto passaOltre = [this, daTastiera] {
        if (!daTastiera)
            return;
        for (ui::Button* dopo : {cmdriprovo, cmdarchivio, cmdscegliarg})
            if (dopo->isEnabled()) {
                dopo->setFocus(Qt::TabFocusReason);
                return;
            }
    };
    const Etichette::Caselle::Esito esito = m_caselle.valuta(m_numeriesatti);
    giuste = qint16(esito.giuste);
    for (int i = 0; i < Etichette::kCaselle; ++i)
        if (esito.sbagliata[i])
            m_rossa[i] = true;
    mostraCaselle();
    txtrisult->setText(QString::number(giuste));
    cmdRISULT->setEnabled(false);
    cmdriprovo->setEnabled(true);
    if (m_sessione.modotest != ModoTest::Test) {
        passaOltre();
        return;
    }

    m_registrata = false;
    const QString cosa = QStringLiteral("il punteggio del test sull'immagine");
    if (m_sessione.dbcorso) {
        auto rs = m_sessione.dbcorso->OpenRecordset(kTabellaRisultati);
        rs->AddNew();
        rs->setField(QStringLiteral("maxpunti"), int(m_maxpunti));
        rs->setField(QStringLiteral("punteggio"), int(giuste));
        rs->setField(QStringLiteral("cognome e nome"), m_sessione.nomestudente);
        rs->setField(QStringLiteral("argomento"), txtTITOLO->text() + QStringLiteral(" (immagine)"));
        QVector<data::Risposta> caselle;
        for (int i = 0; i < Etichette::kCaselle; ++i) {
            // A box stands for the part whose number belongs in it; the answer is the number placed.
            const int giusto = m_numeriesatti[i].toInt();
            const QString parte = giusto >= 1 && giusto <= Label1.size() ? Label1[giusto - 1]->caption().trimmed() : QString();
            caselle.append({data::Risposte::provaEtichette(m_sessione.numargomento), QStringLiteral("etichette"), 1,
                            i + 1, parte, m_caselle.contenuto(i), !esito.sbagliata[i]});
        }
        data::Risposte::allega(m_sessione.dbcorso->connection(), *rs, m_sessione.nomestudente, caselle);
        m_registrata = m_sessione.registra(*rs, cosa);
    } else {
        ui::MessageBox::message(QStringLiteral("Attenzione: %1 NON è stato salvato: l'archivio dei risultati non è "
                                               "aperto.\n\nAvvisa l'insegnante.")
                                    .arg(cosa));
    }
    cmdscegliarg->setEnabled(true);
    cmdarchivio->setEnabled(true);
    cmduscita->setEnabled(true);
    cmdtest->setEnabled(false);
    Cmdtorna->setEnabled(false);
    cmdriprovo->setEnabled(false);
    m_sessione.modotest = ModoTest::Esercizio;
    passaOltre();
}

void FQimage::cmdriprovo_Click()
{
    svuotaCaselle();
    cmdriprovo->setEnabled(false);
    cmdRISULT->setEnabled(true);
    txtrisult->clear();
}

void FQimage::cmdtest_Click()
{
    svuotaCaselle();
    txtrisult->clear();
    cmdriprovo->setEnabled(false);
    auto& screens = ui::Screens::instance();
    auto* questionario = qobject_cast<FQuest*>(screens.show(kQuestionario));
    if (!questionario)
        return;
    screens.hide(name());
    questionario->riprendiTest();
}

void FQimage::abilitaRisultato()
{
    cmdRISULT->setEnabled(true);
}

void FQimage::Cmdtorna_Click()
{
    m_sessione.modotest = ModoTest::Esercizio;
    auto& screens = ui::Screens::instance();
    auto* questionario = screens.load<FQuest>(kQuestionario);
    if (!questionario)
        return;
    questionario->riprendiEsercizio();
    // The exercise may have sent the pupil to the menu (a questionnaire with no page to show).
    if (screens.isLoaded(kQuestionario)) {
        screens.show(kQuestionario);
        screens.hide(name());
    }
    cmdriprovo->setEnabled(false);
    txtrisult->clear();
    svuotaCaselle();
}

void FQimage::cmdarchivio_Click()
{
    auto& screens = ui::Screens::instance();
    // Until the archive is there, closing this screen would leave nothing in front.
    if (!screens.show(kArchivio))
        return;
    // The questionnaire is over too: left loaded behind the archive, it would greet the next topic with
    // this topic's last page.
    screens.unload(kQuestionario);
    screens.unload(name());
}

void FQimage::cmdscegliarg_Click()
{
    txtrisult->clear();
    auto& screens = ui::Screens::instance();
    screens.show(kMenu);
    screens.hide(name());
    screens.unload(kQuestionario);
    screens.unload(name());
}

void FQimage::cmduscita_Click()
{
    m_sessione.uscita();
}

void FQimage::showEvent(QShowEvent* event)
{
    ui::Form::showEvent(event);
    // The keyboard starts on the first number.
    if (!isAncestorOf(QApplication::focusWidget()))
        Label3[0]->setFocus(Qt::OtherFocusReason);
}

void FQimage::svuotaCaselle()
{
    m_caselle.svuota();
    m_rossa.fill(false);
    m_scelto = -1;
    mostraCaselle();
}

void FQimage::mostraCaselle()
{
    for (int i = 0; i < Etichette::kCaselle; ++i) {
        Label4[i]->setCaption(m_caselle.contenuto(i));
        Label4[i]->setBackColor(m_rossa[i] ? kRosso : kArancioChiaro);
    }
    for (int k = 1; k <= 10; ++k)
        Label3[k - 1]->setBackColor(m_caselle.spostato(k) ? kGialloChiaro : kGrigio);
    aggiornaCornici();
}

QString FQimage::nomeParte(int k) const
{
    return k >= 1 && k <= 10 ? Label1[k - 1]->caption().simplified() : QString();
}

void FQimage::descriviCaselle()
{
    // Said as the screen shows it: each number with its name and whether it is picked up or already
    // placed, each box with its number, what is in it, and whether the result marked it wrong.
    for (int k = 1; k <= 10; ++k) {
        QString detto = QStringLiteral("numero %1: %2").arg(k).arg(nomeParte(k));
        if (k - 1 == m_scelto)
            detto += QStringLiteral(" (scelto: ora premi una casella)");
        else if (m_caselle.spostato(k))
            detto += QStringLiteral(" (già in una casella)");
        Label3[k - 1]->setAccessibleName(detto);
    }
    for (int i = 0; i < Etichette::kCaselle; ++i) {
        const QString dentro = m_caselle.contenuto(i).trimmed();
        bool numero = false;
        const int k = dentro.toInt(&numero);
        QString detto = QStringLiteral("casella %1: ").arg(i + 1);
        detto += dentro.isEmpty() ? QStringLiteral("vuota")
                 : numero         ? QStringLiteral("numero %1, %2").arg(k).arg(nomeParte(k))
                                  : dentro;
        if (m_rossa[i])
            detto += QStringLiteral(" (sbagliata)");
        Label4[i]->setAccessibleName(detto);
    }
}

void FQimage::scegliNumero(int k)
{
    m_scelto = m_scelto == k ? -1 : k;
    aggiornaCornici();
    if (m_scelto >= 0 && Label3[k]->hasFocus())
        Label4[0]->setFocus(Qt::TabFocusReason);
}

void FQimage::scegliCasella(int i)
{
    if (m_scelto < 0)
        return;
    const int k = m_scelto;
    m_scelto = -1;
    const bool daTastiera = Label4[i]->hasFocus();
    Label4_DragDrop(i, k);
    if (daTastiera)
        Label3[(k + 1) % 10]->setFocus(Qt::TabFocusReason);
}

void FQimage::aggiornaCornici()
{
    const auto cornice = [](ui::Label* l, int spessore) {
        if (spessore == 0) {
            l->setFrameStyle(QFrame::NoFrame);
        } else {
            l->setFrameStyle(QFrame::Box | QFrame::Plain);
            l->setLineWidth(spessore);
        }
    };
    for (int k = 0; k < 10; ++k) {
        const bool scelto = k == m_scelto || k == m_trascinato;
        cornice(Label3[k], scelto ? 3 : Label3[k]->hasFocus() ? 1 : 0);
        Label3[k]->setForeColor(scelto ? kScelto : QColor(Qt::black));
    }
    for (int i = 0; i < Etichette::kCaselle; ++i)
        cornice(Label4[i], i == m_sopra ? 3 : Label4[i]->hasFocus() ? 1 : 0);
    descriviCaselle();
}

QPoint FQimage::inTwips(const QPoint& pixel) const
{
    const ui::Scala& s = scala();
    const double f = s.factor() > 0 ? s.factor() : 1.0;
    return QPoint(int(std::lround((pixel.x() - s.offset().x()) * ui::kTwipsPerPixel / f)),
                  int(std::lround((pixel.y() - s.offset().y()) * ui::kTwipsPerPixel / f)));
}

bool FQimage::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (auto* w = qobject_cast<QWidget*>(watched))
            return mouse(w, static_cast<QMouseEvent*>(event));
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        aggiornaCornici();
        break;
    default:
        break;
    }
    return ui::Form::eventFilter(watched, event);
}

bool FQimage::mouse(QWidget* widget, QMouseEvent* event)
{
    const QPoint p = widget == this ? event->position().toPoint() : widget->mapTo(this, event->position().toPoint());
    const int numero = Label3.indexOf(qobject_cast<ui::Label*>(widget));
    const int casella = Label4.indexOf(qobject_cast<ui::Label*>(widget));
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        // The second click of a double click is not a second choice that would undo the first.
        return numero >= 0 || casella >= 0;
    case QEvent::MouseButtonPress:
        if (event->button() != Qt::LeftButton)
            return false;
        if (numero >= 0) {
            m_trascinato = numero;
            m_presa = p;
            m_mosso = false;
            aggiornaCornici();
            return true;
        }
        return casella >= 0;
    case QEvent::MouseMove: {
        if (m_trascinato < 0)
            return false;
        if (!m_mosso && (p - m_presa).manhattanLength() < QApplication::startDragDistance())
            return true;
        m_mosso = true;
        ui::Label* origine = Label3[m_trascinato];
        if (!m_fantasma) {
            m_fantasma = new QLabel(origine->caption(), this);
            m_fantasma->setAlignment(Qt::AlignCenter);
            m_fantasma->setFont(origine->font());
            m_fantasma->setAutoFillBackground(true);
            QPalette pal = m_fantasma->palette();
            pal.setColor(QPalette::Window, kGialloChiaro);
            m_fantasma->setPalette(pal);
            m_fantasma->setFrameStyle(QFrame::Box | QFrame::Plain);
            m_fantasma->resize(origine->size());
            m_fantasma->setAttribute(Qt::WA_TransparentForMouseEvents);
            m_fantasma->show();
        }
        m_fantasma->move(p - (m_presa - origine->pos()));
        m_fantasma->raise();
        m_sopra = Etichette::casellaSotto(inTwips(p));
        aggiornaCornici();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (event->button() != Qt::LeftButton)
            return false;
        const int sotto = Etichette::casellaSotto(inTwips(p));
        if (m_trascinato >= 0) {
            const int k = m_trascinato;
            const bool mosso = m_mosso;
            m_trascinato = -1;
            m_sopra = -1;
            m_mosso = false;
            delete m_fantasma;
            if (sotto >= 0) {
                m_scelto = -1;
                Label4_DragDrop(sotto, k);
            } else if (!mosso) {
                // A click on a number, without dragging: it waits for a click on a box.
                scegliNumero(k);
            }
            aggiornaCornici();
            return true;
        }
        if (casella >= 0) {
            if (sotto == casella)
                scegliCasella(casella);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void FQimage::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && event->modifiers() == Qt::NoModifier) {
        const int k = key == Qt::Key_0 ? 9 : key - Qt::Key_1;
        Label3[k]->setFocus(Qt::ShortcutFocusReason);
        m_scelto = -1;
        scegliNumero(k);
        return;
    }
    if (key == Qt::Key_Escape && m_scelto >= 0) {
        m_scelto = -1;
        aggiornaCornici();
        return;
    }
    ui::Form::keyPressEvent(event);
}
