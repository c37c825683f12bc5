#include "animation/ProvaSintesi.h"

#include "animation/SerieSintesi.h"
#include "ui/Random.h"

#include <algorithm>

namespace {
using Tabella = ProvaSintesi::Tabella;

QString t(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kSenzaAnimazione = t("In questa sequenza, senza animazione, ho visto che...");
const QString kAnimata = t("In questa sequenza animata, ho visto che...");

// The statements of each test in their own order; the pupil sees them shuffled.
const std::array<Tabella, 4>& tabelle()
{
    static const std::array<Tabella, 4> tables{{
        {kSenzaAnimazione,
         6,
         {{
             {t("vengono mostrate 2 fosse marine, una dorsale oceanica e una catena montuosa"), true},
             {t("sotto il mantello superiore si vedono il mantello inferiore ed il nucleo"), false},
             {t("si possono distinguere, grazie ai colori, le 3 placche oceaniche e le 3 continentali"), false},
             {t("la crosta continentale è gialla e ricoperta di verde"), true},
             {t("la crosta oceanica è rappresentata col rosso"), true},
             {t("si vede che sta nascendo una nuova placca lungo una faglia"), false},
             {t("sotto la dorsale oceanica subduce la crosta oceanica"), false},
             {t("sotto la crosta c'è il mantello superiore"), true},
             {t("sotto la placca nr 4 si genera un terremoto di profondità"), false},
             {t("vengono rappresentate 4 placche"), true},
             {t("è ben visibile il fatto che la crosta oceanica è più spessa di quella continentale"), false},
             {t("nel mantello ci sono 3 celle convettive"), true},
         }}},
        {kAnimata,
         7,
         {{
             {t("In questa sequenza animata si assiste alla formazione degli archi insulari e all'attività "
                "vulcanica che ne consegue"),
              false},
             {t("la cella convettiva più attiva è quella di destra, le altre due sono ferme"), true},
             {t("la cella di destra provoca una faglia nella placca soprastante"), true},
             {t("grazie alla faglia, nasce una nuova placca delimitata, a sinistra, dalla faglia stessa"), true},
             {t("lungo la faglia, appena si è formata, si è verificata un'intensa attività vulcanica"), true},
             {t("l'attività vulcanica lungo la faglia è provocata dalla compressione dei margini della faglia"),
              false},
             {t("la faglia è stata provocata dalla spinta della placca alla sua sinistra"), false},
             {t("la faglia viene sostituita progressivamente da un fondale oceanico in espansione"), true},
             // Continental crust is too light to sink into the mantle: where it collides it crumples.
             {t("la crosta continentale della nuova placca, spinta verso destra, subduce sotto la placca con "
                "cui si scontra"),
              false},
             {t("sotto la placca4, la crosta che subduce genera un terremoto di profondità"), true},
             {t("l'ingrandimento mostra la formazione degli archi insulari"), false},
             {t("l'ingrandimento conferma che lo scontro tra due margini continentali dà origine a una nuova "
                "catena montuosa"),
              true},
         }}},
        {kAnimata,
         7,
         {{
             {t("si può prevedere che stiano per terminare le due subduzioni ancora visibili"), true},
             {t("l'espansione dei fondali oceanici è provocata dalla rotazione contraria delle celle "
                "convettive"),
              true},
             {t("al centro di un oceano in espansione c'è sempre una dorsale oceanica"), true},
             // Ridges open where plates move apart; arcs and trenches form where they meet.
             {t("la dorsale oceanica si forma al confine tra due placche che si avvicinano"), false},
             {t("l'ingrandimento mostra la formazione degli archi insulari"), true},
             {t("gli archi insulari si formano al confine tra due placche che si allontanano"), false},
             {t("lungo gli archi insulari si formano vulcani, ma non ci sono terremoti"), false},
             {t("accanto agli archi insulari si forma una profonda fossa marina"), true},
             {t("la fossa marina si forma perché le placche si allontanano e aprono una profonda faglia"),
              false},
             {t("negli archi, il materiale espulso dai vulcani proviene direttamente dal mantello"), false},
             {t("Gli archi insulari si formano quando la crosta oceanica subduce a crosta oceanica"), true},
             {t("gli archi insulari sono formati da isole vulcaniche"), true},
         }}},
        {kAnimata,
         7,
         {{
             {t("ora sono rimaste due celle convettive attive"), true},
             {t("la cella convettiva di destra provoca una faglia nella placca soprastante"), false},
             {t("la cella convettiva di sinistra porta la crosta oceanica a subdurre sotto la c.continentale"),
              false},
             {t("Non ci sono più subduzioni; al loro posto rimangono le fosse marine"), false},
             {t("Non ci sono più subduzioni; l'immersione della crosta oceanica ha, forse, provocato "
                "terremoti di profondità"),
              true},
             {t("l'ingrandimento mostra la compressione e il corrugamento di due margini continentali"), false},
             {t("l'ingrandimento mostra una dorsale oceanica e l'espansione dei fondali oceanici"), true},
             {t("ora si vedono solo tre placche; le prime due sono formate sia da crosta oceanica sia da "
                "crosta continentale"),
              true},
             {t("ora si vedono tre placche: due continentali e una formata soltanto da crosta oceanica"), false},
             {t("a destra, il confine tra la seconda e la terza placca corre lungo una catena montuosa"), true},
             {t("tra le due placche, l'espansione dei fondali oceanici sta formando un vasto oceano"), true},
             {t("l'espansione dei fondali oceanici è accompagnata da molti fenomeni vulcanici"), true},
         }}},
    }};
    return tables;
}
}  // namespace

const ProvaSintesi::Tabella& ProvaSintesi::tabella(int prova)
{
    return tabelle().at(std::clamp(prova, 1, 4) - 1);
}

QString ProvaSintesi::introduzione() const
{
    return m_prova ? tabella(m_prova).introduzione : QString();
}

int ProvaSintesi::numesatte() const
{
    return m_prova ? tabella(m_prova).numesatte : 0;
}

void ProvaSintesi::apri(int fotogramma)
{
    m_puntisequenza = 0;
    if (const int prova = SerieSintesi::provaA(fotogramma))
        m_prova = prova;
    casuale();
}

void ProvaSintesi::casuale()
{
    if (!m_prova)
        return;
    const Tabella& tab = tabella(m_prova);
    // Each label takes one of the statements still to deal, every one of them equally likely.
    std::array<int, numaffermazioni> rimaste;
    for (int i = 0; i < numaffermazioni; ++i)
        rimaste[i] = i;
    int quante = numaffermazioni;
    ui::Random::seedFromClock();
    for (int n = 0; n < numaffermazioni; ++n) {
        const int k = std::min(int(ui::Random::next() * quante), quante - 1);
        const int r = rimaste[k];
        rimaste[k] = rimaste[--quante];
        m_mostrate[n] = tab.affermazioni[r].testo;
        m_esatteMostrate[n] = tab.affermazioni[r].vera;
    }
}

void ProvaSintesi::clic(int label)
{
    if (label < 0 || label >= numaffermazioni)
        return;
    Segno& s = m_segni[label];
    if (s == Segno::Neutro)
        s = Segno::Segnato;
    else if (s == Segno::Segnato)
        s = Segno::Neutro;
}

void ProvaSintesi::neutralizza()
{
    m_segni.fill(Segno::Neutro);
}

bool ProvaSintesi::correggi()
{
    if (std::find(m_segni.cbegin(), m_segni.cend(), Segno::Segnato) == m_segni.cend())
        return false;
    // Every correction counts on its own: a second one during a replay must not add the first again.
    m_puntisequenza = 0;
    for (int i = 0; i < numaffermazioni; ++i) {
        Segno& s = m_segni[i];
        const bool giusta = (s == Segno::Neutro && !m_esatteMostrate[i]) || (s == Segno::Segnato && m_esatteMostrate[i]);
        if (giusta) {
            s = Segno::Giusto;
            ++m_puntisequenza;
        }
    }
    m_totpunti += m_puntisequenza;
    m_totmax += numaffermazioni;
    return true;
}

void ProvaSintesi::azzeraTotali()
{
    m_totpunti = 0;
    m_totmax = 0;
}
