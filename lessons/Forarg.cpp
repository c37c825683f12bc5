#include "lessons/Forarg.h"

#include "app/Sessione.h"
#include "ui/Screens.h"

#include <QCursor>

namespace {
const ui::FontSpec kTitolo{QStringLiteral("Times New Roman"), 14.25, true};
const ui::FontSpec kPannello{QStringLiteral("MS Sans Serif"), 12};
const ui::FontSpec kPulsanti{QStringLiteral("Arial"), 10, true};
const ui::FontSpec kRiga{QStringLiteral("Arial"), 9, true};
const ui::FontSpec kFinestrelle{QStringLiteral("Arial"), 8, true};
const QColor kArancio(255, 128, 0);
const QColor kFinestrella(255, 255, 210);
const int kPannelloMargine = 4;  // pixels around the text, as the content is measured
}  // namespace

Forarg::Forarg(const Argomento& argomento, Sessione& sessione)
    : ui::Form(argomento.schermo), m_argomento(argomento), m_sessione(sessione),
      m_motore(std::make_unique<MotorePagine>(argomento))
{
    const Argomento& a = argomento;
    setCaption(a.caption);
    setBackColor(QColor(233, 238, 242));

    // The decorative map goes first, so that everything else stands on it.
    Image2 = addPicture(QStringLiteral("Image2"), a.progettoSfondo);
    Image2->setAccessibleName(QStringLiteral("sfondo: la carta delle placche"));
    Image1 = addPicture(QStringLiteral("Image1"), a.progettoImmagine);
    Labeltit = addLabel(QStringLiteral("Labeltit"), QString(), a.progettoTitolo, kTitolo);
    Labeltit->setBackColor(kArancio);
    Labeltit->setWordWrap(false);
    Labeltit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Label1"), a.progettoPannello, kPannello);
    Label1->setBackColor(a.sfondoTesto);
    Label1->setMargin(kPannelloMargine);
    Label1->setFrameShape(QFrame::Box);
    Label1->setLineWidth(1);

    for (auto it = a.finestrelle.cbegin(); it != a.finestrelle.cend(); ++it) {
        ui::Label* l = addLabel(it.key(), it->didascalia, it->progetto, kFinestrelle);
        // A hotspot that covers a whole region of a map lets the map show through.
        const bool regione = it->progetto.width() > 1200 || it->progetto.height() > 800;
        QColor fondo = kFinestrella;
        fondo.setAlpha(regione ? 80 : 235);
        l->setBackColor(fondo);
        if (regione)
            l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setForeColor(QColor(120, 40, 0));
        l->setCentred(true);
        l->setFrameShape(QFrame::Box);
        l->setCursor(Qt::PointingHandCursor);
        l->setFocusPolicy(Qt::StrongFocus);
        l->setAccessibleName(QStringLiteral("%1 (%2)").arg(it->didascalia, it.key()));
        // What pressing it shows, so that a pupil who cannot see the map knows which one to press.
        l->setAccessibleDescription(ui::displayText(it->testo).simplified().left(200));
        l->setRuolo(ui::Label::Ruolo::Pulsante);
        l->hide();
        const QString label = it.key();
        connect(l, &ui::Label::clicked, this, [this, label] { Finestrella_Click(label); });
        finestrelle.insert(label, l);
    }
    if (a.progettoAnimazione) {
        cmdanimazione = addButton(QStringLiteral("cmdanimazione"), QStringLiteral("GUARDO L'ANIMAZIONE"),
                                  *a.progettoAnimazione, kPulsanti);
        connect(cmdanimazione, &ui::Button::clicked, this, &Forarg::cmdanimazione_Click);
    }

    const QRect row = a.rigaPulsanti();
    const int gap = 120;
    const int width = (row.width() - 5 * gap) / 6;
    auto riga = [&](int i, const char* name, const QString& caption) {
        return addButton(QString::fromLatin1(name), caption,
                         QRect(row.left() + i * (width + gap), row.top(), width, row.height()), kRiga);
    };
    cmduscita = riga(0, "cmduscita", a.captionUscita);
    cmdscegli = riga(1, "cmdscegli", QStringLiteral("Menù"));
    cmdquest = riga(2, "cmdquest", QStringLiteral("Questionario"));
    Cmdrivedi = riga(3, "Cmdrivedi", QStringLiteral("Ricomincio"));
    Cmdindietro = riga(4, "Cmdindietro", QStringLiteral("Indietro"));
    cmdAVANTI = riga(5, "cmdAVANTI", QStringLiteral("Avanti"));
    // The keyboard walks the row in reading order after the hotspots: forward first.
    setTabOrder(cmdAVANTI, Cmdindietro);

    connect(cmdAVANTI, &ui::Button::clicked, this, &Forarg::cmdAVANTI_Click);
    connect(Cmdindietro, &ui::Button::clicked, this, &Forarg::Cmdindietro_Click);
    connect(Cmdrivedi, &ui::Button::clicked, this, &Forarg::Cmdrivedi_Click);
    connect(cmdquest, &ui::Button::clicked, this, &Forarg::cmdquest_Click);
    connect(cmdscegli, &ui::Button::clicked, this, &Forarg::cmdscegli_Click);
    connect(cmduscita, &ui::Button::clicked, this, &Forarg::cmduscita_Click);
}

void Forarg::Form_Load()
{
    Image2->load(QStringLiteral("immagini\\altre\\placche1.jpg"), false);
    m_motore->carica();
    m_immagineMostrata.clear();
    dopoIlPasso(cmdAVANTI, Cmdindietro);
}

void Forarg::mostra()
{
    const MotorePagine::Vista& v = m_motore->vista();
    Labeltit->setCaption(v.titolo);
    Labeltit->setVisible(v.titoloVisibile);
    if (v.immagine != m_immagineMostrata) {
        m_immagineMostrata = v.immagine;
        Image1->load(v.immagine, true);
    }
    Image1->setAccessibleName(v.descrizioneImmagine);
    moveTo(Image1, v.posizioneImmagine.x(), v.posizioneImmagine.y());
    setDesignRect(Label1, v.pannello);
    Label1->setCaption(v.testo);
    for (auto it = finestrelle.cbegin(); it != finestrelle.cend(); ++it) {
        const auto pos = v.finestrelle.constFind(it.key());
        if (pos != v.finestrelle.cend())
            moveTo(it.value(), pos->x(), pos->y());
        it.value()->setVisible(pos != v.finestrelle.cend());
        it.value()->raise();
    }
    if (cmdanimazione)
        cmdanimazione->setVisible(v.animazioneVisibile);
    cmdAVANTI->setEnabled(v.avantiAbilitato);
    Cmdindietro->setEnabled(v.indietroAbilitato);
    Cmdrivedi->setEnabled(v.rivediAbilitato);
}

void Forarg::cmdAVANTI_Click()
{
    m_motore->avanti();
    dopoIlPasso(cmdAVANTI, Cmdindietro);
}

void Forarg::Cmdindietro_Click()
{
    m_motore->indietro();
    dopoIlPasso(Cmdindietro, cmdAVANTI);
}

void Forarg::dopoIlPasso(ui::Button* premuto, ui::Button* altro)
{
    if (m_motore->vista().animazioneVisibile)
        m_sessione.numanimazione = qint16(m_motore->vista().animazione);
    mostra();
    // The keyboard stays on the row when the button just pressed is disabled at the end of the topic.
    if (!premuto->isEnabled() && premuto->hasFocus())
        altro->setFocus();
}

void Forarg::Finestrella_Click(const QString& label)
{
    m_motore->clicFinestrella(label);
    Label1->setCaption(m_motore->vista().testo);
}

void Forarg::cmdanimazione_Click()
{
    // The lesson stays loaded with its page while the viewer plays.
    auto& screens = ui::Screens::instance();
    screens.show(QStringLiteral("Formani"));
    screens.hide(name());
    m_motore->nascondiAnimazione();
    mostra();
}

void Forarg::cmdquest_Click()
{
    // Closing the lesson with nothing to show in its place would leave the window empty.
    auto& screens = ui::Screens::instance();
    if (screens.show(QStringLiteral("FQuest")))
        screens.unload(name());
}

void Forarg::Cmdrivedi_Click()
{
    const QString me = name();
    auto& screens = ui::Screens::instance();
    screens.unload(me);
    screens.show(me);
}

void Forarg::cmdscegli_Click()
{
    auto& screens = ui::Screens::instance();
    screens.show(QStringLiteral("Fscelt"));
    screens.unload(name());
}

void Forarg::cmduscita_Click()
{
    m_sessione.uscita();
}
