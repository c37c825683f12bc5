#include "animation/Formani.h"

#include "app/Sessione.h"
#include "ui/Screens.h"

#include <QResizeEvent>

namespace {
const ui::FontSpec kPulsanti{QStringLiteral("Arial"), 10, true};
const ui::FontSpec kNumeri{QStringLiteral("Arial"), 16, true};
const ui::FontSpec kScritte{QStringLiteral("Arial"), 11, true};
const QColor kCartiglio(255, 250, 235);
}  // namespace

Formani::Formani(Sessione& sessione) : ui::Form(QStringLiteral("Formani")), m_sessione(sessione)
{
    setCaption(QStringLiteral("ANIMAZIONI"));
    setBackColor(QColor(233, 238, 242));
    Image3 = addPicture(QStringLiteral("Image3"), {1200, 240, 9600, 6900});
    Image1 = addPicture(QStringLiteral("Image1"), {960, 960, 4575, 3735});
    Image2 = addPicture(QStringLiteral("Image2"), {6120, 960, 4815, 3735});
    Image3->setAccessibleName(QStringLiteral("sfondo: la carta delle placche"));
    Image1->setAccessibleName(QStringLiteral("l'animazione, a sinistra"));
    Image2->setAccessibleName(QStringLiteral("l'animazione, a destra"));

    Command1 = addButton(QStringLiteral("Command1"), QStringLiteral("Vedo le immagini una per una"),
                         {1200, 5040, 3240, 615}, kPulsanti);
    Label4 = addLabel(QStringLiteral("Label4"), QString(), {4680, 5040, 960, 615}, kNumeri);
    Label3 = addLabel(QStringLiteral("Label3"), QString(), {5880, 5040, 960, 615}, kNumeri);
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("    milioni di anni fa"), {6840, 5040, 2640, 615}, kScritte);
    Cmdanim = addButton(QStringLiteral("Cmdanim"), QStringLiteral("Avvio l'animazione"), {1200, 5940, 3240, 615}, kPulsanti);
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Regolo la velocità "), {4680, 5820, 3240, 330}, kScritte);
    cmdminvel = addButton(QStringLiteral("cmdminvel"), QStringLiteral("Minore"), {4680, 6180, 1080, 495}, kPulsanti);
    Labvel = addLabel(QStringLiteral("Labvel"), QString(), {5880, 6180, 960, 495}, kNumeri);
    cmdmaxvel = addButton(QStringLiteral("cmdmaxvel"), QStringLiteral("Maggiore"), {6960, 6180, 1080, 495}, kPulsanti);
    Cmdtorna = addButton(QStringLiteral("Cmdtorna"), QStringLiteral("TORNO all'argomento"), {8280, 5940, 2400, 735}, kPulsanti);
    Timer1 = addTimer(QStringLiteral("Timer1"), 0, true);

    for (ui::Label* l : {Label4, Label3, Labvel}) {
        l->setBackColor(Qt::white);
        l->setFrameShape(QFrame::Box);
        l->setCentred(true);
    }
    for (ui::Label* l : {Label2, Label1}) {
        l->setBackColor(kCartiglio);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    Label4->setAccessibleName(QStringLiteral("numero dell'immagine"));
    Label3->setAccessibleName(QStringLiteral("milioni di anni fa"));
    Labvel->setAccessibleName(QStringLiteral("velocità"));

    connect(Timer1, &ui::Timer::tick, this, &Formani::Timer1_Timer);
    connect(Command1, &ui::Button::clicked, this, &Formani::Command1_Click);
    connect(Cmdanim, &ui::Button::clicked, this, &Formani::Cmdanim_Click);
    connect(cmdmaxvel, &ui::Button::clicked, this, &Formani::cmdmaxvel_Click);
    connect(cmdminvel, &ui::Button::clicked, this, &Formani::cmdminvel_Click);
    connect(Cmdtorna, &ui::Button::clicked, this, &Formani::Cmdtorna_Click);
}

void Formani::Form_Load()
{
    Image3->load(QStringLiteral("immagini\\altre\\placche1.jpg"), false);
    Label3->hide();
    Label2->hide();
    m_visore.carica(m_sessione.numanimazione);
    Timer1->setInterval(m_visore.intervallo());
    Labvel->setCaption(QString::number(m_visore.livello()));
    const Sequenza& s = m_visore.sequenza();
    setDesignRect(Image1, s.image1);
    setDesignRect(Image2, s.image2);
    if (m_visore.haAnni()) {
        Label2->show();
        Label3->show();
        Label3->setCaption(QString::number(s.anniIniziali));
    }
    if (!s.foto.isEmpty()) {
        Image2->load(s.foto.first(), false);
        Image1->load(s.foto.first(), false);
    }
    // Another sequence: nothing prepared for the one before may be shown.
    m_anticipo1.cancel();
    m_anticipo2.cancel();
    preparaProssime();
}

ui::Pictures::Target Formani::bersaglio(const ui::Picture* image)
{
    return ui::Pictures::Target::stretched((QSizeF(image->size()) * image->devicePixelRatioF()).toSize());
}

void Formani::preparaProssime()
{
    if (!isVisible())
        return;
    // At the fastest speeds a few pictures ahead keep both helper threads busy; slower, one is plenty.
    m_anticipo2.setDepth(m_visore.intervallo() <= 101 ? 4 : 2);
    m_anticipo2.plan(m_visore.prossimeAutomatiche(m_anticipo2.depth()), bersaglio(Image2));
    m_anticipo1.plan(m_visore.prossimeManuali(m_anticipo1.depth()), bersaglio(Image1));
}

void Formani::Timer1_Timer()
{
    // On the clock, a tick whose picture a helper is still preparing lets the screen go and comes back
    // the moment the picture is ready: the buttons answer meanwhile, and no picture is passed over. A tick
    // fired by hand shows its picture at once, prepared here if need be.
    m_tickInAttesa = false;
    if (!ui::Timer::isManual()) {
        const QString prossima = m_visore.prossimeAutomatiche(1).value(0);
        m_tickInAttesa = m_anticipo2.whenReady(prossima, bersaglio(Image2), this, [this] {
            // Only the tick still waiting runs: one that the clock ran since then has taken its place.
            if (m_tickInAttesa && Timer1->isEnabled() && isVisible())
                Timer1_Timer();
        });
        if (m_tickInAttesa)
            return;
    }
    const Visore::Passo p = m_visore.tick();
    if (!p.mostra)
        return;  // the run stands still on its last picture
    // The numbers are painted together with the picture of the same tick: a repaint of their own at
    // every tick would halve the fastest speed.
    Label4->setCaption(QString::number(p.numero));
    Image2->showPrepared(p.foto, m_anticipo2.take(p.foto, bersaglio(Image2)).image);
    Label3->setCaption(QString::number(p.anni));
    preparaProssime();
}

void Formani::Command1_Click()
{
    const Visore::Passo p = m_visore.passoManuale();
    if (!p.mostra)
        return;
    Label3->setCaption(QString::number(p.anni));
    Label4->setCaption(QString::number(p.numero));
    Image1->showPrepared(p.foto, m_anticipo1.take(p.foto, bersaglio(Image1)).image);
    preparaProssime();
}

void Formani::Cmdanim_Click()
{
    m_visore.riavvia();
    preparaProssime();
}

void Formani::cmdmaxvel_Click()
{
    cmdminvel->setEnabled(true);
    const bool ancora = m_visore.piuVeloce();
    cmdmaxvel->setEnabled(ancora);
    Timer1->setInterval(m_visore.intervallo());
    Labvel->setCaption(QString::number(m_visore.livello()));
    if (!ancora)
        cmdminvel->setFocus();
    preparaProssime();
}

void Formani::cmdminvel_Click()
{
    cmdmaxvel->setEnabled(true);
    const bool ancora = m_visore.menoVeloce();
    cmdminvel->setEnabled(ancora);
    Timer1->setInterval(m_visore.intervallo());
    Labvel->setCaption(QString::number(m_visore.livello()));
    if (!ancora)
        cmdmaxvel->setFocus();
    preparaProssime();
}

void Formani::Cmdtorna_Click()
{
    const int n = m_sessione.numargomento;
    if (n < 1 || n > 6)
        return;
    auto& screens = ui::Screens::instance();
    // The lesson comes to the front first, so that the window never stands empty.
    screens.show(QStringLiteral("forarg%1").arg(n));
    Timer1->setEnabled(false);
    screens.unload(name());
}

void Formani::showEvent(QShowEvent* event)
{
    ui::Form::showEvent(event);
    preparaProssime();
}

void Formani::hideEvent(QHideEvent* event)
{
    // Nothing is prepared for a screen that is not there.
    m_anticipo1.cancel();
    m_anticipo2.cancel();
    ui::Form::hideEvent(event);
}

void Formani::resizeEvent(QResizeEvent* event)
{
    ui::Form::resizeEvent(event);
    preparaProssime();
}
