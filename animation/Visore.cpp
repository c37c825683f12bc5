#include "animation/Visore.h"

namespace Sequenze {

namespace {
QStringList numerate(const QString& pattern, int from, int to)
{
    QStringList list;
    for (int k = from; k <= to; ++k)
        list << pattern.arg(k);
    return list;
}

const QRect kImage1Progetto(960, 960, 4575, 3735);
const QRect kImage2Progetto(6120, 960, 4815, 3735);
// Wide cross-sections: the automatic run on top, the manual run below.
const QRect kSopra(1200, 240, 7215, 2175);
const QRect kSotto(1200, 2640, 7215, 2175);
}  // namespace

Sequenza sequenza(int n)
{
    Sequenza s;
    s.image1 = kImage1Progetto;
    s.image2 = kImage2Progetto;
    switch (n) {
    case 1: {
        const char* names[] = {"orig1", "orig1a", "orig1b", "orig2", "orig2a", "orig2b", "orig2c",
                               "orig2d", "orig2e", "orig2f", "orig2g", "orig2g1", "orig2g2", "orig2h"};
        for (const char* name : names)
            s.foto << QStringLiteral("immagini\\origini\\%1.jpg").arg(QLatin1String(name));
        s.image1 = QRect(840, 960, 4575, 3735);
        s.image2 = QRect(4680, 960, 3700, 3735);
        break;
    }
    case 2:
        s.foto << QStringLiteral("immagini\\allontan\\ESPANS.jpg")
               << numerate(QStringLiteral("immagini\\allontan\\ESPANS%1.jpg"), 2, 14);
        s.image1 = kSotto;
        s.image2 = kSopra;
        break;
    case 3:
        s.foto = numerate(QStringLiteral("immagini\\deriva\\new-%1.jpg"), 1, 45);
        s.anniIniziali = 528;
        break;
    case 4:
        s.foto = numerate(QStringLiteral("immagini\\SUBDUZIO\\subduz%1.jpg"), 1, 15);
        break;
    case 5:
        s.foto = numerate(QStringLiteral("immagini\\avvici\\avvic%1.jpg"), 1, 12);
        s.image1 = kSotto;
        s.image2 = kSopra;
        break;
    case 6:
        s.foto = numerate(QStringLiteral("immagini\\oceoce\\oceoce%1.jpg"), 1, 11);
        s.image1 = kSotto;
        s.image2 = kSopra;
        break;
    case 7:
        // The last twelve pictures of the drift, from 132 million years ago to today.
        s.foto = numerate(QStringLiteral("immagini\\deriva\\new-%1.jpg"), 34, 45);
        s.anniIniziali = 132;
        break;
    default:
        break;
    }
    return s;
}

}  // namespace Sequenze

void Visore::carica(int numanimazione)
{
    m_numanimazione = numanimazione;
    m_sequenza = Sequenze::sequenza(numanimazione);
    m_intervallo = kIntervalloIniziale;
    m_livello = kLivelloIniziale;
    m_milionianim = m_milionifoto = m_sequenza.anniIniziali;
    m_contanim = 1;
    m_contfoto = 0;
    // The first picture is on screen with its years, so the first tick shows the second with its own.
    if (haAnni())
        m_milionianim -= 12;
}

Visore::Passo Visore::tick()
{
    Passo p;
    ++m_contanim;
    if (m_contanim <= numfoto()) {
        p.mostra = true;
        p.numero = m_contanim;
        p.foto = m_sequenza.foto.at(m_contanim - 1);
        p.anni = m_milionianim;
        m_milionianim -= 12;
    }
    return p;
}

Visore::Passo Visore::passoManuale()
{
    Passo p;
    if (numfoto() == 0)
        return p;
    p.anni = m_milionifoto;
    m_milionifoto -= 12;
    ++m_contfoto;
    p.mostra = true;
    p.numero = m_contfoto;
    p.foto = m_sequenza.foto.at(m_contfoto - 1);
    if (m_contfoto == numfoto()) {
        // The manual run wraps around to the first picture and its years.
        m_contfoto = 0;
        m_milionifoto = m_sequenza.anniIniziali;
    }
    return p;
}

QStringList Visore::prossimeAutomatiche(int quante) const
{
    QStringList prossime;
    for (int k = m_contanim + 1; k <= numfoto() && prossime.size() < quante; ++k)
        prossime << m_sequenza.foto.at(k - 1);
    return prossime;
}

QStringList Visore::prossimeManuali(int quante) const
{
    QStringList prossime;
    for (int i = 0; i < quante && numfoto() > 0; ++i)
        prossime << m_sequenza.foto.at((m_contfoto + i) % numfoto());
    return prossime;
}

void Visore::riavvia()
{
    if (haAnni())
        m_milionianim = m_sequenza.anniIniziali;
    m_contanim = 0;
}

bool Visore::piuVeloce()
{
    ++m_livello;
    m_intervallo -= 100;
    if (m_intervallo < kIntervalloMinimo) {
        m_intervallo = kIntervalloMinimo;
        return false;
    }
    return true;
}

bool Visore::menoVeloce()
{
    --m_livello;
    m_intervallo += 100;
    if (m_intervallo > kIntervalloMassimo) {
        m_intervallo = kIntervalloMassimo;
        return false;
    }
    return true;
}
