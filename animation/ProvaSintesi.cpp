#include "animation/ProvaSintesi.h"

#include "animation/SerieSintesi.h"
#include "data/LettoreJson.h"
#include "ui/Random.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {
using Tabella = ProvaSintesi::Tabella;

struct Catalogo {
    ProvaSintesi::Tabelle tabelle;
    QString errore;
};

const Catalogo& catalogo()
{
    static const Catalogo c = [] {
        Catalogo letto;
        ProvaSintesi::leggi(QStringLiteral(":/sintesi/prove.json"), &letto.tabelle, &letto.errore);
        return letto;
    }();
    return c;
}

Tabella leggiProva(data::LettoreJson& r, const QJsonValue& v, int n)
{
    const QString dove = QStringLiteral("prova %1").arg(n);
    const QJsonObject o = r.oggetto(v, dove,
                                    {QStringLiteral("prova"), QStringLiteral("introduzione"), QStringLiteral("numesatte"),
                                     QStringLiteral("affermazioni")});
    Tabella t;
    if (!r.ok())
        return t;
    if (o.value(QLatin1String("prova")).toDouble() != n)
        r.sbaglio(dove, QStringLiteral("serve \"prova\": %1 (le prove vanno in ordine da 1 a %2)").arg(n).arg(ProvaSintesi::numprove));
    t.introduzione = r.testoPieno(o.value(QLatin1String("introduzione")), dove + QStringLiteral(", introduzione"));
    t.numesatte = r.intero(o.value(QLatin1String("numesatte")), dove + QStringLiteral(", numesatte"), 1,
                           ProvaSintesi::numaffermazioni - 1);

    const QJsonArray affermazioni =
        r.elenco(o.value(QLatin1String("affermazioni")), dove + QStringLiteral(", affermazioni"), ProvaSintesi::numaffermazioni);
    QHash<QString, int> testiVisti;
    int vere = 0;
    for (int i = 0; i < affermazioni.size() && r.ok(); ++i) {
        const QString qui = dove + QStringLiteral(", affermazione %1").arg(i + 1);
        const QJsonObject a = r.oggetto(affermazioni[i], qui, {QStringLiteral("testo"), QStringLiteral("vera"), QStringLiteral("nota")});
        t.affermazioni[i].testo = r.testoPieno(a.value(QLatin1String("testo")), qui + QStringLiteral(", testo"));
        t.affermazioni[i].vera = r.booleano(a.value(QLatin1String("vera")), qui + QStringLiteral(", vera"));
        if (a.contains(QLatin1String("nota")))
            r.testo(a.value(QLatin1String("nota")), qui + QStringLiteral(", nota"));
        vere += t.affermazioni[i].vera;
        // The same statement twice would be one answer counted two times.
        const QString testo = t.affermazioni[i].testo.trimmed();
        if (r.ok() && testiVisti.contains(testo))
            r.sbaglio(dove, QStringLiteral("le affermazioni %1 e %2 sono uguali").arg(testiVisti.value(testo)).arg(i + 1));
        testiVisti.insert(testo, i + 1);
    }
    // The pupil is told how many to find: a truth changed by mistake shows here.
    if (r.ok() && vere != t.numesatte)
        r.sbaglio(dove, QStringLiteral("numesatte dice %1, ma le affermazioni vere sono %2").arg(t.numesatte).arg(vere));
    return t;
}
}  // namespace

bool ProvaSintesi::leggi(const QString& file, Tabelle* out, QString* errore)
{
    data::LettoreJson r;
    const QJsonObject o = r.oggetto(r.documento(file), {}, {QStringLiteral("prove")});
    const QJsonArray prove = r.elenco(o.value(QLatin1String("prove")), QStringLiteral("prove"), numprove);
    Tabelle tabelle;
    for (int n = 1; n <= prove.size() && r.ok(); ++n)
        tabelle[n - 1] = leggiProva(r, prove[n - 1], n);
    if (!r.ok()) {
        *errore = QStringLiteral("%1: %2").arg(QFileInfo(file).fileName(), r.errore);
        return false;
    }
    *out = tabelle;
    return true;
}

QString ProvaSintesi::errore()
{
    return catalogo().errore;
}

const ProvaSintesi::Tabella& ProvaSintesi::tabella(int prova)
{
    return catalogo().tabelle.at(std::clamp(prova, 1, numprove) - 1);
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
