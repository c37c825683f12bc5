#include "app/Fscelt.h"

#include "animation/Fsintesi.h"
#include "app/AvvioArchivio.h"
#include "app/Configurazione.h"
#include "app/Sessione.h"
#include "ui/MessageBox.h"
#include "ui/Pictures.h"
#include "ui/Screens.h"

namespace {
const ui::FontSpec kArial{QStringLiteral("Arial"), 10, true};

struct TopicButton {
    const char* caption;
    QRect twips;
};
// Two columns of three; the blanks are part of the captions.
const TopicButton kTopics[6] = {
    {"1.  LA STRUTTURA DELLA TERRA", {1680, 960, 3855, 615}},
    {"2.  LE SCOPERTE RECENTI", {1680, 2280, 3855, 615}},
    {"3.  LA TEORIA:  cosa dice", {1680, 3600, 3855, 615}},
    {"4.  I MOVIMENTI DEI MARGINI   ", {6480, 960, 3855, 615}},
    {"5.  IL TERRITORIO ATTUALE", {6480, 2280, 3855, 615}},
    {"6.  LA  TEORIA,  IN SINTESI", {6480, 3600, 3855, 615}},
};
}  // namespace

Fscelt::Fscelt(Sessione& sessione) : ui::Form(QStringLiteral("Fscelt")), m_sessione(sessione)
{
    setCaption(QStringLiteral("scelta dell'argomento"));
    // The sky of the menu picture, so that the picture melts into the screen.
    setBackColor(QColor(222, 232, 240));
    Image1 = addPicture(QStringLiteral("Image1"), {1200, 600, 9600, 6900});
    Image1->setAccessibleName(QStringLiteral("il globo con le placche della Terra"));
    for (int i = 0; i < 6; ++i) {
        auto* b = addButton(arrayName(QStringLiteral("Command1"), i), QString::fromUtf8(kTopics[i].caption),
                            kTopics[i].twips, kArial);
        connect(b, &ui::Button::clicked, this, [this, i] { Command1_Click(i); });
        Command1.append(b);
    }
    sommativo = addButton(QStringLiteral("sommativo"), QStringLiteral("questionario sommativo"), {2040, 4800, 3135, 615}, kArial);
    cmdsinteanim = addButton(QStringLiteral("cmdsinteanim"), QStringLiteral("Sintesi animata + test"), {6840, 4800, 3135, 615}, kArial);
    CMDarchquest = addButton(QStringLiteral("CMDarchquest"),
                             QStringLiteral(" archivio dei questionari e dei test sulla sintesi animata"),
                             {2040, 5880, 2535, 615}, {QStringLiteral("Arial"), 8, true});
    CMDarchsomm = addButton(QStringLiteral("CMDarchsomm"), QStringLiteral("archivio dei test sommativi"), {4560, 5880, 2895, 615}, kArial);
    cmduscita = addButton(QStringLiteral("cmduscita"), QStringLiteral("ESCO dal programma"), {7440, 5880, 2535, 615}, kArial);

    connect(sommativo, &ui::Button::clicked, this, &Fscelt::sommativo_Click);
    connect(cmdsinteanim, &ui::Button::clicked, this, &Fscelt::cmdsinteanim_Click);
    connect(CMDarchquest, &ui::Button::clicked, this, &Fscelt::CMDarchquest_Click);
    connect(CMDarchsomm, &ui::Button::clicked, this, &Fscelt::CMDarchsomm_Click);
    connect(cmduscita, &ui::Button::clicked, this, &Fscelt::cmduscita_Click);
}

void Fscelt::Form_Load()
{
    Image1->load(QStringLiteral("immagini\\altre\\scelta.jpg"), false);
    // The picture's sky continues over the rest of the screen.
    if (!Image1->image().isNull())
        setBackColor(Image1->image().pixelColor(4, 4));
    // An installed program is told where its archive is; otherwise the archive lies beside the program.
    const Configurazione::Archivio configurato = Configurazione::archivio();
    if (!configurato.errore.isEmpty()) {
        m_erroreArchivio = configurato.errore;
        ui::MessageBox::message(m_erroreArchivio, ui::MessageBox::Ok);
        return;
    }
    if (configurato.server) {
        m_sessione.dbcorso = data::Database::openServer(*configurato.server, &m_erroreArchivio);
        if (!m_sessione.dbcorso)
            ui::MessageBox::message(m_erroreArchivio, ui::MessageBox::Ok);
        else
            m_sessione.inviaCoda();
        return;
    }
    const QString path = configurato.file.isEmpty()
                             ? ui::Pictures::locate(QStringLiteral("immagini\\altre\\morvel6.mdb"))
                             : configurato.file;
    m_sessione.dbcorso = data::Database::open(path, &m_erroreArchivio);
    if (!m_sessione.dbcorso) {
        if (const QString mancante = Configurazione::mancante(configurato); !mancante.isEmpty())
            m_erroreArchivio = mancante;
        ui::MessageBox::message(m_erroreArchivio, ui::MessageBox::Ok);
        return;
    }
    AvvioArchivio::prepara(m_sessione);
}

void Fscelt::Command1_Click(int Index)
{
    m_sessione.numargomento = qint16(Index + 1);
    m_sessione.apriargomento();
    m_sessione.apridomande();
    m_sessione.caricadomande();
    ui::Screens::instance().hide(name());
}

void Fscelt::passaA(const QString& screen)
{
    ui::Screens::instance().show(screen);
    ui::Screens::instance().hide(name());
}

void Fscelt::sommativo_Click()
{
    passaA(QStringLiteral("FSommati"));
}

void Fscelt::cmdsinteanim_Click()
{
    if (auto* sintesi = ui::Screens::instance().load<Fsintesi>(QStringLiteral("Fsintesi")))
        sintesi->avvia();
    passaA(QStringLiteral("Fsintesi"));
}

void Fscelt::CMDarchsomm_Click()
{
    passaA(QStringLiteral("FLIsomm"));
}

void Fscelt::CMDarchquest_Click()
{
    passaA(QStringLiteral("frmRISUL"));
}

void Fscelt::cmduscita_Click()
{
    m_sessione.uscita();
}
