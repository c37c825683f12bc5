#include "animation/Fsintesi.h"

#include "app/Sessione.h"
#include "data/Risposte.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QEvent>
#include <QResizeEvent>

namespace {
const ui::FontSpec kIstruzioni{QStringLiteral("Arial"), 12, true};
const ui::FontSpec kTitolo{QStringLiteral("Times New Roman"), 18, true, true};
const ui::FontSpec kPulsanti{QStringLiteral("Arial"), 9, true};
const ui::FontSpec kPannello{QStringLiteral("Arial"), 8};
const ui::FontSpec kPunti{QStringLiteral("Arial"), 10, true};
const ui::FontSpec kIntroduzione{QStringLiteral("Arial"), 10, true, true};
const ui::FontSpec kNumero{QStringLiteral("Arial"), 22, true};
const ui::FontSpec kAffermazioni{QStringLiteral("Arial"), 8};

const QColor kSfondo(226, 232, 238);
const QColor kBlu(34, 56, 86);
const QColor kRiquadro(214, 224, 234);
const QColor kGiallo(255, 232, 64);
const QColor kInchiostro(24, 40, 64);

// The layout, in twips. The main picture takes the top left, in the shape of the course's pictures
// (9600 x 6900); the right-hand column holds the instructions or the test's controls, the band below the
// title or the statements.
const QRect kImage1{0, 0, 8265, 5940};
const QRect kImage2{1200, 240, 4095, 3735};
// A close-up keeps the shape it is drawn in, within the main picture.
const QRect kAreaIngrandimento{1200, 240, 8265 - 1200 - 240, 5940 - 240 - 240};
constexpr int kLarghezza = 11895;
constexpr int kAltezza = 9000;
constexpr int kColonna = 8265;   // left edge of the right-hand column
constexpr int kFascia = 5940;    // top of the bottom band
constexpr int kDentro = 8385;    // left edge of the controls in the column
constexpr int kLargo = 3390;     // their width

QString fine()
{
    return QStringLiteral("L'esercitazione è teminata....");
}
}  // namespace

const QColor Fsintesi::coloreNeutro(240, 240, 240);
const QColor Fsintesi::coloreSegnato(192, 192, 255);
const QColor Fsintesi::coloreGiusto(192, 255, 192);

QString Fsintesi::titolo()
{
    return QStringLiteral("                 Teoria delle placche illustrata con 4 sequenze animate");
}

Fsintesi::Fsintesi(Sessione& sessione) : ui::Form(QStringLiteral("Fsintesi")), m_sessione(sessione)
{
    setCaption(QStringLiteral("Form1"));
    setBackColor(kSfondo);

    // Stacking order: the pictures at the back, the panels over the column and the band, the buttons that
    // are always there on top.
    Image1 = addPicture(QStringLiteral("Image1"), kImage1);
    // The close-up stands out from the picture under it by a dark edge.
    m_cornice = addLabel(QStringLiteral("corniceImage2"), QString(), kImage2.adjusted(-45, -45, 45, 45));
    m_cornice->setBackColor(kBlu);
    m_cornice->hide();
    Image2 = addPicture(QStringLiteral("Image2"), kImage2);
    Image1->setAccessibleName(QStringLiteral("la sequenza della sintesi animata"));
    Image2->setAccessibleName(QStringLiteral("l'ingrandimento della sequenza"));

    Label4 = addLabel(QStringLiteral("Label4"),
                      QStringLiteral("Osserva attentamente queste immagini mostrate in sequenza. Al termine ti "
                                     "sarà sottoposto un questionario."),
                      {kDentro, 480, kLargo, 3000}, kIstruzioni);
    Label4->setForeColor(kInchiostro);

    Label1 = addLabel(QStringLiteral("Label1"), titolo(), {0, kFascia, kLarghezza, kAltezza - kFascia}, kTitolo);
    Label1->setBackColor(kBlu);
    Label1->setForeColor(Qt::white);
    Label1->setWordWrap(false);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label1->setIndent(12);

    // The right-hand panel: instructions, replay, points of this test, totals, resume, correction.
    Frame2.setFondo(addLabel(QStringLiteral("Frame2"), QString(), {kColonna, 0, kLarghezza - kColonna, 4785}));
    Frame2.fondo()->setBackColor(kRiquadro);
    auto inFrame2 = [this](auto* control) {
        Frame2.aggiungi(control);
        return control;
    };
    Label3 = inFrame2(addLabel(QStringLiteral("Label3"),
                               QStringLiteral("Cosa c'era di notevole nella sequenza di immagini che hai visto? "
                                              "Clicca sulle affermazioni in basso. Alla fine, clicca su "
                                              "'Correzione', poi su 'Continuo'. Se non sei sicuro, puoi rivedere "
                                              "la sequenza cliccando sul pulsante giallo."),
                               {kDentro, 105, kLargo, 1500}, kPannello));
    Label3->setForeColor(kInchiostro);
    Cmdrivedo = inFrame2(addButton(QStringLiteral("Cmdrivedo"), QStringLiteral("Rivedo l'ultima sequenza"),
                                   {kDentro, 1680, kLargo, 555}, kPulsanti));
    QPalette giallo = Cmdrivedo->palette();
    giallo.setColor(QPalette::Button, kGiallo);
    giallo.setColor(QPalette::ButtonText, Qt::black);
    Cmdrivedo->setPalette(giallo);
    Label5 = inFrame2(addLabel(QStringLiteral("Label5"), QStringLiteral("Hai individuato"),
                               {kDentro, 2370, 1800, 285}, kPunti));
    LabPunti = inFrame2(addLabel(QStringLiteral("LabPunti"), QStringLiteral("0"), {kDentro + 1830, 2370, 600, 285}, kPunti));
    Label6 = inFrame2(addLabel(QStringLiteral("Label6"), QStringLiteral("risposte su"), {kDentro, 2670, 1800, 285}, kPunti));
    LabMax = inFrame2(addLabel(QStringLiteral("LabMax"), QStringLiteral("12"), {kDentro + 1830, 2670, 600, 285}, kPunti));
    Label9 = inFrame2(addLabel(QStringLiteral("Label9"), QStringLiteral(" Tot. punti          su"),
                               {kDentro, 3090, kLargo, 330}, kPunti));
    Label9->setBackColor(Qt::white);
    Label9->setWordWrap(false);
    Label9->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LabTotPunti = inFrame2(addLabel(QStringLiteral("LabTotPunti"), QStringLiteral("0"), {kDentro + 1170, 3120, 540, 270}, kPunti));
    LabTotMax = inFrame2(addLabel(QStringLiteral("LabTotMax"), QStringLiteral("0"), {kDentro + 2010, 3120, 540, 270}, kPunti));
    for (ui::Label* l : {LabPunti, LabMax, LabTotPunti, LabTotMax}) {
        l->setWordWrap(false);
        l->setForeColor(QColor(0, 0, 160));
    }
    for (ui::Label* l : {Label5, Label6})
        l->setForeColor(kInchiostro);
    CmdContinuo = inFrame2(addButton(QStringLiteral("CmdContinuo"), QStringLiteral("Continuo..."),
                                     {kDentro, 3570, kLargo, 495}, kPulsanti));
    CmdCorreggi = inFrame2(addButton(QStringLiteral("CmdCorreggi"), QStringLiteral("Correzione"),
                                     {kDentro, 4155, kLargo, 495}, kPulsanti));

    // The bottom panel: the lead-in, how many statements are true, the twelve statements.
    Frame1.setFondo(addLabel(QStringLiteral("Frame1"), QString(), {0, kFascia, kLarghezza, kAltezza - kFascia}));
    Frame1.fondo()->setBackColor(kRiquadro);
    auto inFrame1 = [this](auto* control) {
        Frame1.aggiungi(control);
        return control;
    };
    Label2 = inFrame1(addLabel(QStringLiteral("Label2"),
                               QStringLiteral("In questa sequenza, senza animazione, ho visto che..."),
                               {90, kFascia + 90, 1470, 1230}, kIntroduzione));
    Label8 = inFrame1(addLabel(QStringLiteral("Label8"), QStringLiteral("Numero di osservazioni da selezionare:"),
                               {90, kFascia + 1440, 1470, 600}, kPannello));
    LabNumero = inFrame1(addLabel(QStringLiteral("LabNumero"), QString(), {90, kFascia + 2100, 1470, 840}, kNumero));
    LabNumero->setCentred(true);
    LabNumero->setForeColor(QColor(0, 0, 160));
    for (ui::Label* l : {Label2, Label8})
        l->setForeColor(kInchiostro);

    // Three columns of four: 0-3 on the left, 4-7 in the middle, 8-11 on the right.
    constexpr int left = 1620, top = kFascia + 45, gap = 45;
    constexpr int width = (kLarghezza - 60 - left - 2 * gap) / 3;
    constexpr int height = (kAltezza - 30 - top - 3 * gap) / 4;
    for (int i = 0; i < ProvaSintesi::numaffermazioni; ++i) {
        const QRect r(left + (i / 4) * (width + gap), top + (i % 4) * (height + gap), width, height);
        ui::Label* l = inFrame1(addLabel(arrayName(QStringLiteral("Label11"), i), QStringLiteral("Label%1").arg(11 + i),
                                         r, kAffermazioni));
        l->setBackColor(coloreNeutro);
        l->setForeColor(Qt::black);
        l->setFrameShape(QFrame::Box);
        l->setLineWidth(1);
        l->setMargin(2);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        l->setCursor(Qt::PointingHandCursor);
        // Statements are marked from the keyboard too (Space or Enter on the one with the focus).
        l->setFocusPolicy(Qt::StrongFocus);
        l->setRuolo(ui::Label::Ruolo::Spunta);
        l->installEventFilter(this);
        connect(l, &ui::Label::clicked, this, [this, i] { Label11_Click(i); });
        Label11.append(l);
    }

    // Always there, in every state of the exercise.
    Cmdmenu = addButton(QStringLiteral("Cmdmenu"), QStringLiteral("Menù"), {kDentro, 5310, 1650, 495}, kPulsanti);
    CmdEsco = addButton(QStringLiteral("CmdEsco"), QStringLiteral("Esco"), {kDentro + 1740, 5310, 1650, 495}, kPulsanti);
    CmdRicomincio = addButton(QStringLiteral("CmdRicomincio"), QStringLiteral("Ricomincio l'esercizio"),
                              {8580, 8190, 3000, 555}, kPulsanti);

    Timer1 = addTimer(QStringLiteral("Timer1"), 0, true);
    Timer2 = addTimer(QStringLiteral("Timer2"), 0, false);

    connect(Timer1, &ui::Timer::tick, this, &Fsintesi::Timer1_Timer);
    connect(Timer2, &ui::Timer::tick, this, &Fsintesi::Timer2_Timer);
    connect(CmdContinuo, &ui::Button::clicked, this, &Fsintesi::CmdContinuo_Click);
    connect(Cmdrivedo, &ui::Button::clicked, this, &Fsintesi::Cmdrivedo_Click);
    connect(CmdRicomincio, &ui::Button::clicked, this, &Fsintesi::CmdRicomincio_Click);
    connect(Cmdmenu, &ui::Button::clicked, this, &Fsintesi::Cmdmenu_Click);
    connect(CmdEsco, &ui::Button::clicked, this, &Fsintesi::CmdEsco_Click);
    connect(CmdCorreggi, &ui::Button::clicked, this, &Fsintesi::CmdCorreggi_Click);
}

void Fsintesi::Form_Load()
{
    vediIngrandimento(false);
    Timer2->setEnabled(false);
    Frame1.setVisible(false);
    Frame2.setVisible(false);
    CmdRicomincio->hide();
    m_serie.ricomincia();
    if (m_sessione.nomestudente.isEmpty())
        m_sessione.chiedinome();
    // The opening picture stands until the first tick replaces it.
    Image1->load(SerieSintesi::fotogrammi(1), false);
    Timer1->setInterval(1000);
    Timer2->setInterval(1000);
    preparaProssime();
}

ui::Pictures::Target Fsintesi::bersaglioSerie() const
{
    return ui::Pictures::Target::stretched((QSizeF(Image1->size()) * Image1->devicePixelRatioF()).toSize());
}

ui::Pictures::Target Fsintesi::bersaglioIngrandimento() const
{
    return ui::Pictures::Target::natural(scala(), kAreaIngrandimento, Image2->devicePixelRatioF());
}

void Fsintesi::preparaProssime()
{
    if (!isVisible())
        return;
    m_anticipo1.plan(m_serie.prossimi(m_anticipo1.depth()), bersaglioSerie());
    m_anticipo2.plan(m_serie.prossimiIngrandimento(m_anticipo2.depth()), bersaglioIngrandimento());
}

void Fsintesi::avvia()
{
    Timer1->setEnabled(true);
}

void Fsintesi::Timer1_Timer()
{
    const SerieSintesi::Passo passo = m_serie.avanza();
    // Prepared ahead while the screen waited for this tick; a missing file leaves the picture empty.
    Image1->showPrepared(passo.immagine, m_anticipo1.take(passo.immagine, bersaglioSerie()).image);
    switch (passo.fermata) {
    case SerieSintesi::Fermata::Test:
        Timer1->setEnabled(false);
        Listedomande();
        // The series stands still until the pupil goes on, and its next picture is prepared then: the
        // helper threads leave the processors to the test's first paint, the largest of the exercise.
        return;
    case SerieSintesi::Fermata::Ingrandimento:
        Timer1->setEnabled(false);
        avviaIngrandimento();
        break;
    case SerieSintesi::Fermata::Fine:
        Timer1->setEnabled(false);
        Label1->setCaption(fine());
        CmdRicomincio->show();
        break;
    case SerieSintesi::Fermata::Nessuna:
        break;
    }
    preparaProssime();
}

void Fsintesi::avviaIngrandimento()
{
    // avvici at frame 44, oceoce at 50, allontan at 58.
    const QString prima = m_serie.iniziaIngrandimento();
    if (!m_serie.ingrandimentoInCorso()) {
        Timer1->setEnabled(true);
        return;
    }
    mostraIngrandimento(prima);
    vediIngrandimento(true);
    Timer2->setEnabled(true);
}

void Fsintesi::Timer2_Timer()
{
    const std::optional<QString> prossima = m_serie.avanzaIngrandimento();
    if (!prossima) {
        // The close-up is over: the series goes on to the test of its sequence.
        Timer2->setEnabled(false);
        Timer1->setEnabled(true);
        vediIngrandimento(false);
        preparaProssime();
        return;
    }
    mostraIngrandimento(*prossima);
    vediIngrandimento(true);
    preparaProssime();
}

void Fsintesi::mostraIngrandimento(const QString& path)
{
    // The close-ups are the viewer's wide cross-sections: shown in their own shape at (1200, 240), made
    // smaller only if they would leave the main picture. Without its picture the box keeps its designed
    // size and stays empty.
    const ui::Pictures::Target bersaglio = bersaglioIngrandimento();
    const ui::Pictures::Loaded loaded = m_anticipo2.take(path, bersaglio);
    if (!loaded.isNull())
        setDesignRect(Image2, QRect(kAreaIngrandimento.topLeft(), bersaglio.twipsFor(loaded.twips)));
    else
        setDesignRect(Image2, kImage2);
    Image2->showPrepared(path, loaded.image);
    setDesignRect(m_cornice, designRect(Image2).adjusted(-45, -45, 45, 45));
}

void Fsintesi::vediIngrandimento(bool visible)
{
    m_cornice->setVisible(visible);
    Image2->setVisible(visible);
}

void Fsintesi::fermaIngrandimento()
{
    if (!Timer2->isEnabled() && !m_serie.ingrandimentoInCorso())
        return;
    Timer2->setEnabled(false);
    m_serie.interrompiIngrandimento();
    vediIngrandimento(false);
}

void Fsintesi::CmdContinuo_Click()
{
    Frame1.setVisible(false);
    Frame2.setVisible(false);
    LabPunti->setCaption(QStringLiteral("0"));
    tuttiNeutri();
    LabNumero->setCaption(QStringLiteral("0"));
    fermaIngrandimento();
    Timer1->setEnabled(true);
    preparaProssime();
}

void Fsintesi::Cmdrivedo_Click()
{
    tuttiNeutri();
    CmdCorreggi->setEnabled(true);
    if (m_serie.riavvolgi()) {
        fermaIngrandimento();
        Timer1->setEnabled(true);
        preparaProssime();
    }
}

void Fsintesi::CmdRicomincio_Click()
{
    m_serie.ricomincia();
    fermaIngrandimento();
    Timer1->setEnabled(true);
    Frame1.setVisible(false);
    Frame2.setVisible(false);
    Label1->setCaption(titolo());
    CmdRicomincio->hide();
    m_prova.azzeraTotali();
    m_risposte.clear();
    mostraTotali();
    preparaProssime();
}

void Fsintesi::Cmdmenu_Click()
{
    if (m_prova.totmax() != 0)
        Archiviare();
    auto& screens = ui::Screens::instance();
    screens.show(QStringLiteral("Fscelt"));
    screens.hide(name());
    tuttiNeutri();
    CmdCorreggi->setEnabled(true);
    Label1->setCaption(titolo());
    m_serie.riavvolgi();
    Timer1->setEnabled(false);
    // Nothing plays behind the menu: the close-up comes again with its sequence on the way back.
    fermaIngrandimento();
}

void Fsintesi::CmdEsco_Click()
{
    if (m_prova.totmax() != 0)
        Archiviare();
    m_sessione.uscita();
}

void Fsintesi::Listedomande()
{
    Frame1.setVisible(true);
    Frame2.setVisible(true);
    CmdCorreggi->setEnabled(true);
    m_corretta = false;
    m_prova.apri(m_serie.fotogramma());
    Label2->setCaption(m_prova.introduzione());
    LabNumero->setCaption(QString::number(m_prova.numesatte()));
    for (int i = 0; i < ProvaSintesi::numaffermazioni; ++i) {
        Label11[i]->setCaption(m_prova.mostrata(i));
        descriviAffermazione(i);
    }
    // The test is what the pupil does now: the keyboard starts on its first statement.
    Label11[0]->setFocus(Qt::OtherFocusReason);
}

void Fsintesi::Label11_Click(int Index)
{
    m_prova.clic(Index);
    coloraAffermazione(Index);
}

void Fsintesi::CmdCorreggi_Click()
{
    if (!m_prova.correggi()) {
        ui::MessageBox::message(QStringLiteral("Non c'è niente da correggere.."), ui::MessageBox::Ok);
        return;
    }
    m_corretta = true;
    for (int i = 0; i < ProvaSintesi::numaffermazioni; ++i)
        coloraAffermazione(i);
    LabPunti->setCaption(QString::number(m_prova.puntisequenza()));
    mostraTotali();
    // From the correction the keyboard goes on where the pupil goes next.
    const bool daTastiera = CmdCorreggi->hasFocus();
    CmdCorreggi->setEnabled(false);
    // What the pupil judged: a marked statement was called true, one left alone false.
    for (int i = 0; i < ProvaSintesi::numaffermazioni; ++i) {
        const bool giusta = m_prova.segno(i) == ProvaSintesi::Segno::Giusto;
        const bool segnata = giusta ? m_prova.esattaMostrata(i) : m_prova.segno(i) == ProvaSintesi::Segno::Segnato;
        m_risposte.append({data::Risposte::kProvaSintesi, QStringLiteral("sintesi"), m_prova.prova(), i + 1,
                           m_prova.mostrata(i), segnata ? QStringLiteral("V") : QStringLiteral("F"), giusta});
    }
    if (daTastiera)
        CmdContinuo->setFocus(Qt::TabFocusReason);
}

void Fsintesi::Archiviare()
{
    if (m_sessione.nomestudente.isEmpty())
        m_sessione.chiedinome();
    const QString cosa = QStringLiteral("il risultato del test sulla sintesi animata");
    if (!m_sessione.dbcorso) {
        ui::MessageBox::message(
            QStringLiteral("Attenzione: %1 NON è stato salvato: l'archivio dei risultati non è aperto.\n\n"
                           "Avvisa l'insegnante.")
                .arg(cosa),
            ui::MessageBox::Ok, QStringLiteral("Risultato non salvato"));
        return;
    }
    auto rsstudenti = m_sessione.dbcorso->OpenRecordset(QStringLiteral("studenti"));
    rsstudenti->AddNew();
    rsstudenti->setField(QStringLiteral("punteggio"), int(qint16(m_prova.totpunti())));
    rsstudenti->setField(QStringLiteral("cognome e nome"), m_sessione.nomestudente);
    rsstudenti->setField(QStringLiteral("argomento"), QStringLiteral("Animazione finale"));
    rsstudenti->setField(QStringLiteral("maxpunti"), m_prova.totmax());
    // Every correction the totals count goes with them, so each stored row agrees with its answers.
    data::Risposte::allega(m_sessione.dbcorso->connection(), *rsstudenti, m_sessione.nomestudente, m_risposte);
    m_sessione.registra(*rsstudenti, cosa);
}

void Fsintesi::tuttiNeutri()
{
    m_corretta = false;
    m_prova.neutralizza();
    for (int i = 0; i < ProvaSintesi::numaffermazioni; ++i)
        coloraAffermazione(i);
}

void Fsintesi::coloraAffermazione(int Index)
{
    if (Index < 0 || Index >= Label11.size())
        return;
    switch (m_prova.segno(Index)) {
    case ProvaSintesi::Segno::Neutro:
        Label11[Index]->setBackColor(coloreNeutro);
        break;
    case ProvaSintesi::Segno::Segnato:
        Label11[Index]->setBackColor(coloreSegnato);
        break;
    case ProvaSintesi::Segno::Giusto:
        Label11[Index]->setBackColor(coloreGiusto);
        break;
    }
    descriviAffermazione(Index);
}

void Fsintesi::descriviAffermazione(int Index)
{
    // Read as the pupil sees it: the statement, whether it is ticked as true, and after the correction
    // whether it was judged rightly (the colour says so on the screen).
    ui::Label* l = Label11[Index];
    const ProvaSintesi::Segno segno = m_prova.segno(Index);
    const bool corretta = m_corretta;
    QString stato;
    switch (segno) {
    case ProvaSintesi::Segno::Neutro:
        stato = corretta ? QStringLiteral("non segnata come vera, sbagliato") : QStringLiteral("non segnata come vera");
        break;
    case ProvaSintesi::Segno::Segnato:
        stato = corretta ? QStringLiteral("segnata come vera, sbagliato") : QStringLiteral("segnata come vera");
        break;
    case ProvaSintesi::Segno::Giusto:
        stato = QStringLiteral("giusto");
        break;
    }
    // Numbered as Tab reaches them, row by row across the three columns.
    const int numero = (Index % 4) * 3 + Index / 4 + 1;
    l->setAccessibleName(QStringLiteral("affermazione %1: %2 (%3)")
                             .arg(numero)
                             .arg(ui::displayText(l->caption()).simplified(), stato));
    // Ticked means marked as true by the pupil: a green true statement was, a green false one was not.
    l->setSpuntata(segno == ProvaSintesi::Segno::Segnato ||
                   (segno == ProvaSintesi::Segno::Giusto && m_prova.esattaMostrata(Index)));
}

void Fsintesi::mostraTotali()
{
    LabTotPunti->setCaption(QString::number(m_prova.totpunti()));
    LabTotMax->setCaption(QString::number(m_prova.totmax()));
}

bool Fsintesi::eventFilter(QObject* watched, QEvent* event)
{
    // The statement with the keyboard's focus shows a thicker border.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        if (auto* l = qobject_cast<ui::Label*>(watched))
            l->setLineWidth(event->type() == QEvent::FocusIn ? 2 : 1);
    return ui::Form::eventFilter(watched, event);
}

void Fsintesi::showEvent(QShowEvent* event)
{
    ui::Form::showEvent(event);
    preparaProssime();
}

void Fsintesi::hideEvent(QHideEvent* event)
{
    // Behind the menu nothing is prepared: coming back prepares again from the rewound frame.
    m_anticipo1.cancel();
    m_anticipo2.cancel();
    ui::Form::hideEvent(event);
}

void Fsintesi::resizeEvent(QResizeEvent* event)
{
    ui::Form::resizeEvent(event);
    preparaProssime();
}
