#include "animation/SerieSintesi.h"

#include <algorithm>

namespace {
QStringList numerate(const QString& pattern, int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << pattern.arg(i);
    return list;
}
}  // namespace

QString SerieSintesi::fotogrammi(int f)
{
    const QString newK = QStringLiteral("immagini\\New-%1.gif");
    if (f >= 1 && f <= 30)
        return newK.arg((f + 1) / 2);  // the first sequence holds each still picture for two ticks
    if (f == 31)
        return QStringLiteral("immagini\\New-15b.gif");
    if (f >= 32 && f <= 58)
        return newK.arg(f - 16);
    if (f == 59)
        return newK.arg(41);  // the fourth sequence ends on New-41 again
    if (f >= 60 && f <= numfotogrammi)
        return newK.arg(f - 17);
    return {};
}

SerieSintesi::Fermata SerieSintesi::fermataA(int f)
{
    switch (f) {
    case 30:
    case 45:
    case 51:
    case 59:
        return Fermata::Test;
    case 44:
    case 50:
    case 58:
        return Fermata::Ingrandimento;
    case numfotogrammi:
        return Fermata::Fine;
    default:
        return Fermata::Nessuna;
    }
}

QStringList SerieSintesi::avvici()
{
    return numerate(QStringLiteral("immagini\\avvici\\avvic%1.jpg"), 1, 12);
}

QStringList SerieSintesi::oceoce()
{
    return numerate(QStringLiteral("immagini\\oceoce\\oceoce%1.jpg"), 1, 11);
}

QStringList SerieSintesi::allontan()
{
    return QStringList{QStringLiteral("immagini\\allontan\\ESPANS.jpg")}
           + numerate(QStringLiteral("immagini\\allontan\\ESPANS%1.jpg"), 2, 14);
}

QStringList SerieSintesi::ingrandimentoA(int f)
{
    switch (f) {
    case 44:
        return avvici();
    case 50:
        return oceoce();
    case 58:
        return allontan();
    default:
        return {};
    }
}

int SerieSintesi::provaA(int f)
{
    switch (f) {
    case 30:
        return 1;
    case 45:
        return 2;
    case 51:
        return 3;
    case 59:
        return 4;
    default:
        return 0;
    }
}

SerieSintesi::Passo SerieSintesi::avanza()
{
    m_fotogramma = std::min(m_fotogramma + 1, int(numfotogrammi));
    return {m_fotogramma, fotogrammi(m_fotogramma), fermataA(m_fotogramma)};
}

bool SerieSintesi::riavvolgi()
{
    const int f = m_fotogramma;
    if (f >= 1 && f <= 30)
        m_fotogramma = 1;
    else if (f >= 31 && f <= 45)
        m_fotogramma = 31;
    else if (f >= 46 && f <= 51)
        m_fotogramma = 46;
    else if (f >= 52 && f <= 59)
        m_fotogramma = 52;
    else
        return false;
    return true;
}

void SerieSintesi::ricomincia()
{
    m_fotogramma = 0;
}

QStringList SerieSintesi::prossimi(int quante) const
{
    QStringList prossimi;
    int f = m_fotogramma;
    for (int i = 0; i < quante; ++i) {
        f = std::min(f + 1, int(numfotogrammi));
        prossimi << fotogrammi(f);
    }
    return prossimi;
}

QStringList SerieSintesi::prossimiIngrandimento(int quante) const
{
    // The first picture of a close-up is shown again by its first tick.
    if (m_inCorso)
        return m_ingrandimento.mid(m_contingrandimento, quante);
    for (int f = m_fotogramma + 1; f <= std::min(m_fotogramma + quante, int(numfotogrammi)); ++f) {
        if (fermataA(f) == Fermata::Test)
            break;
        const QStringList ingrandimento = ingrandimentoA(f);
        if (!ingrandimento.isEmpty())
            return ingrandimento.mid(0, quante);
    }
    return {};
}

QString SerieSintesi::iniziaIngrandimento()
{
    m_ingrandimento = ingrandimentoA(m_fotogramma);
    m_contingrandimento = 0;
    m_inCorso = !m_ingrandimento.isEmpty();
    return m_ingrandimento.value(0);
}

std::optional<QString> SerieSintesi::avanzaIngrandimento()
{
    if (!m_inCorso)
        return std::nullopt;
    ++m_contingrandimento;
    if (m_contingrandimento > numingrandimento()) {
        m_inCorso = false;
        return std::nullopt;
    }
    return m_ingrandimento.at(m_contingrandimento - 1);
}

void SerieSintesi::interrompiIngrandimento()
{
    m_inCorso = false;
}
