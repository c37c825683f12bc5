#include "assessment/FRIsomma.h"

#include "app/Sessione.h"
#include "assessment/Sommativo.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

namespace {
const auto kNomeSchermo = QStringLiteral("FRIsomma");
const auto kArchivio = QStringLiteral("FLIsomm");
const auto kMenu = QStringLiteral("Fscelt");
const auto kSfondo = QStringLiteral("immagini\\altre\\risultato.jpg");

// The blanks of the fixed texts are the gaps the value boxes fill: at this size each gap holds its box
// with room on both sides.
const ui::FontSpec kTesti{QStringLiteral("Arial"), 13};
const ui::FontSpec kPulsanti{QStringLiteral("Arial"), 10, true};
const ui::FontSpec kAvviso{QStringLiteral("Arial"), 10, true};

const QColor kArancioPallido(255, 224, 192);
const QColor kGrigio(192, 192, 192);

QString numero(double valore)
{
    return QString::number(qint64(valore));
}
}  // namespace

FRIsomma::FRIsomma(Sessione& sessione) : ui::Form(kNomeSchermo), m_sessione(sessione)
{
    setCaption(QStringLiteral("RISULTATO DEL TEST SOMMATIVO"));
    setBackColor(kGrigio);

    // The buttons first: they are the keyboard's stops, in reading order.
    cmdlista = addButton(QStringLiteral("cmdlista"), QStringLiteral("MOSTRA  L'ARCHIVIO "), {8760, 6600, 3015, 615},
                         kPulsanti);
    cmdscegliarg =
        addButton(QStringLiteral("cmdscegliarg"), QStringLiteral("Menù"), {5640, 7320, 3015, 615}, kPulsanti);
    cmduscita = addButton(QStringLiteral("cmduscita"), QStringLiteral("ESCO "), {8760, 7320, 3015, 615}, kPulsanti);

    Image1 = addPicture(QStringLiteral("Image1"), {360, 240, 11280, 6120});
    Image1->setAccessibleName(QStringLiteral("sfondo: le placche della Terra di notte"));

    Labnome = addLabel(QStringLiteral("Labnome"), QStringLiteral("nome"), {1320, 600, 6255, 375}, kTesti);
    Labnome->setForeColor(kArancioPallido);
    Labnome->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    lblsomma = testoFisso(QStringLiteral("lblsomma"), QStringLiteral("Punteggio complessivo:              su   100"),
                          {1320, 1560, 5295, 375});
    LABsomma = casella(QStringLiteral("LABsomma"), {4320, 1560, 615, 375}, true);
    lblconsci = testoFisso(QStringLiteral("lblconsci"), QStringLiteral("Conoscere:                     %     "),
                           {960, 2640, 3735, 375});
    LABconosci = casella(QStringLiteral("LABconosci"), {2880, 2640, 615, 375}, false);
    lblcomprendi = testoFisso(QStringLiteral("lblcomprendi"), QStringLiteral("Comprendere:                %     "),
                              {960, 3360, 3615, 375});
    LABcomprendi = casella(QStringLiteral("LABcomprendi"), {2880, 3360, 615, 375}, false);
    lblapplica = testoFisso(QStringLiteral("lblapplica"), QStringLiteral("Applicare:                      %  "),
                            {960, 4080, 3735, 375});
    LABapplica = casella(QStringLiteral("LABapplica"), {2880, 4080, 615, 375}, false);
    lblvaluta = testoFisso(QStringLiteral("lblvaluta"), QStringLiteral("VALUTAZIONE:"), {1320, 5400, 5655, 375});
    LABvaluta = casella(QStringLiteral("LABvaluta"), {3840, 5400, 2655, 375}, true);

    lblnonsalvato = addLabel(QStringLiteral("lblnonsalvato"),
                             QStringLiteral("Attenzione: questo risultato NON è stato salvato nell'archivio. "
                                            "Avvisa l'insegnante."),
                             {600, 6600, 4800, 735}, kAvviso);
    lblnonsalvato->setBackColor(QColor(255, 244, 214));
    lblnonsalvato->setForeColor(QColor(160, 0, 0));
    lblnonsalvato->setAlignment(Qt::AlignCenter);
    lblnonsalvato->setMargin(4);
    lblnonsalvato->hide();

    connect(cmdlista, &ui::Button::clicked, this, &FRIsomma::cmdlista_Click);
    connect(cmdscegliarg, &ui::Button::clicked, this, &FRIsomma::cmdscegliarg_Click);
    connect(cmduscita, &ui::Button::clicked, this, &FRIsomma::cmduscita_Click);
}

ui::Label* FRIsomma::testoFisso(const QString& name, const QString& caption, const QRect& twips)
{
    auto* l = addLabel(name, caption, twips, kTesti);
    l->setForeColor(Qt::white);
    l->setWordWrap(false);
    // Centred in height like the value boxes, so that text and values share one line.
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

ui::Label* FRIsomma::casella(const QString& name, const QRect& twips, bool rossa)
{
    auto* l = addLabel(name, QStringLiteral("0"), twips, kTesti);
    l->setBackColor(kArancioPallido);
    l->setForeColor(rossa ? QColor(Qt::red) : QColor(Qt::black));
    l->setWordWrap(false);
    l->setCentred(true);
    return l;
}

void FRIsomma::Form_Load()
{
    // The picture is drawn at the size of its control: loaded whole, it stays sharp on a large display.
    // Without it the card keeps the picture's night blue, on which the white texts still read.
    if (!Image1->load(kSfondo, true)) {
        QImage notte(1, 1, QImage::Format_RGB32);
        notte.fill(QColor(30, 47, 69));
        Image1->setImage(notte);
    }
    mostraRisultato();
}

void FRIsomma::mostraRisultato()
{
    const std::pair<ui::Label*, QString> valori[] = {
        {Labnome, m_sessione.nomestudente},
        {LABsomma, numero(m_sessione.totale)},
        {LABvaluta, m_sessione.valutazione},
        {LABconosci, numero(m_sessione.conoscere)},
        {LABcomprendi, numero(m_sessione.comprendere)},
        {LABapplica, numero(m_sessione.applicare)},
    };
    for (const auto& [label, valore] : valori) {
        label->setCaption(QString());
        label->setCaption(valore);
    }
    lblnonsalvato->setVisible(!m_sessione.sommativoSalvato);
}

void FRIsomma::passaA(const QString& screen)
{
    auto& screens = ui::Screens::instance();
    // The card goes only once the next screen is in front: the window always shows a screen.
    if (!screens.show(screen))
        return;
    screens.unload(name());
}

void FRIsomma::cmdlista_Click()
{
    passaA(kArchivio);
}

void FRIsomma::cmdscegliarg_Click()
{
    passaA(kMenu);
}

void FRIsomma::cmduscita_Click()
{
    m_sessione.uscita();
}
