#include "assessment/Etichette.h"

#include "data/LettoreJson.h"

#include <QFileInfo>
#include <QHash>

namespace Etichette {

namespace {

struct Catalogo {
    Dati dati;
    QString errore;
};

const Catalogo& catalogo()
{
    static const Catalogo c = [] {
        Catalogo letto;
        leggi(QStringLiteral(":/etichette/etichette.json"), &letto.dati, &letto.errore);
        return letto;
    }();
    return c;
}

// Two boxes on top of each other would take each other's drops.
void leggiCaselle(data::LettoreJson& r, const QJsonValue& v, std::array<QRect, kCaselle>* caselle)
{
    const QJsonArray a = r.elenco(v, QStringLiteral("caselle"), kCaselle);
    if (!r.ok())
        return;
    for (int i = 0; i < kCaselle; ++i) {
        (*caselle)[i] = r.rettangolo(a[i], QStringLiteral("caselle, casella %1").arg(i));
        for (int j = 0; j < i && r.ok(); ++j)
            if ((*caselle)[i].intersects((*caselle)[j]))
                r.sbaglio(QStringLiteral("caselle"), QStringLiteral("le caselle %1 e %2 si sovrappongono").arg(j).arg(i));
    }
}

Argomento leggiArgomento(data::LettoreJson& r, const QJsonValue& v, int n)
{
    const QString dove = QStringLiteral("argomento %1").arg(n);
    const QJsonObject o = r.oggetto(v, dove,
                                    {QStringLiteral("argomento"), QStringLiteral("titolo"), QStringLiteral("immagine"),
                                     QStringLiteral("descrizione"), QStringLiteral("nomiparti"),
                                     QStringLiteral("numeriesatti")});
    Argomento a;
    if (!r.ok())
        return a;
    if (o.value(QLatin1String("argomento")).toDouble() != n)
        r.sbaglio(dove, QStringLiteral("serve \"argomento\": %1 (gli argomenti vanno in ordine da 1 a %2)").arg(n).arg(kArgomenti));
    a.titolo = r.testoPieno(o.value(QLatin1String("titolo")), dove + QStringLiteral(", titolo"));
    a.immagine = r.testoPieno(o.value(QLatin1String("immagine")), dove + QStringLiteral(", immagine"));
    a.descrizione = r.testoPieno(o.value(QLatin1String("descrizione")), dove + QStringLiteral(", descrizione"));

    // Two parts with the same name could not be told apart.
    const QJsonArray nomi = r.elenco(o.value(QLatin1String("nomiparti")), dove + QStringLiteral(", nomiparti"), 10);
    QHash<QString, int> nomiVisti;
    for (int k = 1; k <= nomi.size() && r.ok(); ++k) {
        a.nomiparti[k] = r.testoPieno(nomi[k - 1], dove + QStringLiteral(", nomiparti, nome %1").arg(k));
        const QString nome = a.nomiparti[k].trimmed();
        if (nomiVisti.contains(nome))
            r.sbaglio(dove + QStringLiteral(", nomiparti"),
                      QStringLiteral("i nomi %1 e %2 sono uguali (\"%3\")").arg(nomiVisti.value(nome)).arg(k).arg(nome));
        nomiVisti.insert(nome, k);
    }

    // Every name has exactly one box: the right numbers are 1-10, each once.
    const QJsonArray esatti = r.elenco(o.value(QLatin1String("numeriesatti")), dove + QStringLiteral(", numeriesatti"), kCaselle);
    QHash<int, int> caselleDelNumero;
    for (int i = 0; i < esatti.size() && r.ok(); ++i) {
        const int k = r.intero(esatti[i], dove + QStringLiteral(", numeriesatti, casella %1").arg(i), 1, 10);
        if (caselleDelNumero.contains(k))
            r.sbaglio(dove + QStringLiteral(", numeriesatti"),
                      QStringLiteral("il numero %1 è giusto in due caselle (%2 e %3)").arg(k).arg(caselleDelNumero.value(k)).arg(i));
        caselleDelNumero.insert(k, i);
        a.numeriesatti[i] = QString::number(k);
    }
    return a;
}

}  // namespace

bool leggi(const QString& file, Dati* out, QString* errore)
{
    data::LettoreJson r;
    const QJsonObject o = r.oggetto(r.documento(file), {}, {QStringLiteral("caselle"), QStringLiteral("argomenti")});
    Dati d;
    if (r.ok())
        leggiCaselle(r, o.value(QLatin1String("caselle")), &d.caselle);
    const QJsonArray argomenti = r.elenco(o.value(QLatin1String("argomenti")), QStringLiteral("argomenti"), kArgomenti);
    for (int n = 1; n <= argomenti.size() && r.ok(); ++n)
        d.argomenti[n - 1] = leggiArgomento(r, argomenti[n - 1], n);
    if (!r.ok()) {
        *errore = QStringLiteral("%1: %2").arg(QFileInfo(file).fileName(), r.errore);
        return false;
    }
    *out = d;
    return true;
}

QString errore()
{
    return catalogo().errore;
}

const Argomento* argomento(int numero)
{
    const Catalogo& c = catalogo();
    if (!c.errore.isEmpty() || numero < 1 || numero > kArgomenti)
        return nullptr;
    return &c.dati.argomenti[numero - 1];
}

QRect casella(int i)
{
    return catalogo().dati.caselle.at(i);
}

int casellaSotto(const QPoint& twips)
{
    for (int i = 0; i < kCaselle; ++i)
        if (casella(i).contains(twips))
            return i;
    return -1;
}

void Caselle::lascia(int casella, int numero)
{
    m_contenuto[casella] = QString::number(numero);
    m_spostato[numero - 1] = true;
}

int Caselle::lasciaIn(const QPoint& twips, int numero)
{
    const int i = casellaSotto(twips);
    if (i >= 0)
        lascia(i, numero);
    return i;
}

void Caselle::svuota()
{
    m_contenuto.fill(QString());
    m_spostato.fill(false);
}

Caselle::Esito Caselle::valuta(const std::array<QString, kCaselle>& numeriesatti) const
{
    Esito esito;
    for (int i = 0; i < kCaselle; ++i) {
        if (!numeriesatti[i].isEmpty() && m_contenuto[i] == numeriesatti[i])
            ++esito.giuste;
        else
            esito.sbagliata[i] = true;
    }
    return esito;
}

}  // namespace Etichette
