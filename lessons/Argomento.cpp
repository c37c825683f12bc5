#include "lessons/Argomento.h"

#include "data/LettoreJson.h"

#include <QFile>

namespace {

using Lettore = data::LettoreJson;

bool assente(const QJsonValue& v)
{
    return v.isNull() || v.isUndefined();
}

bool nomeFinestrella(const QString& nome)
{
    static const QStringList nomi{QStringLiteral("Label2"), QStringLiteral("Label3"), QStringLiteral("Label4"),
                                  QStringLiteral("Label5"), QStringLiteral("Label6"), QStringLiteral("Label7"),
                                  QStringLiteral("Label8")};
    return nomi.contains(nome);
}

}  // namespace

bool Argomento::daJson(const QByteArray& json, Argomento* out, QString* errore)
{
    Lettore r;
    const QJsonObject o = r.documento(json);
    if (!r.ok()) {
        *errore = r.errore;
        return false;
    }
    Argomento a;
    a.numero = r.intero(o[QLatin1String("argomento")], QStringLiteral("argomento"), 1, 6);
    a.schermo = r.testo(o[QLatin1String("schermo")], QStringLiteral("schermo"));
    a.caption = r.testo(o[QLatin1String("caption")], QStringLiteral("caption"));
    a.ultimaPagina = r.intero(o[QLatin1String("ultimaPagina")], QStringLiteral("ultimaPagina"), 1, kTesti - 1);
    if (!assente(o[QLatin1String("paginaFinestrelle")]))
        a.paginaFinestrelle = r.intero(o[QLatin1String("paginaFinestrelle")], QStringLiteral("paginaFinestrelle"), 1,
                                       a.ultimaPagina);
    if (!assente(o[QLatin1String("animazioneAlCaricamento")]))
        a.animazioneAlCaricamento =
            r.intero(o[QLatin1String("animazioneAlCaricamento")], QStringLiteral("animazioneAlCaricamento"), 1, 7);
    const QJsonValue accodate = o[QLatin1String("pagineAccodate")];
    if (!assente(accodate)) {
        const QJsonArray pair = accodate.toArray();
        a.primaAccodata = r.intero(pair.at(0), QStringLiteral("pagineAccodate"), 2, a.ultimaPagina);
        a.ultimaAccodata = r.intero(pair.at(1), QStringLiteral("pagineAccodate"), a.primaAccodata, a.ultimaPagina);
    }
    a.sfondoTesto = r.colore(o[QLatin1String("sfondoTesto")], QStringLiteral("sfondoTesto"));
    a.captionUscita = r.testo(o[QLatin1String("captionUscita")], QStringLiteral("captionUscita"));

    const QJsonObject progetto = o[QLatin1String("progetto")].toObject();
    a.progettoTitolo = r.rettangolo(progetto[QLatin1String("Labeltit")], QStringLiteral("progetto.Labeltit"));
    a.progettoImmagine = r.rettangolo(progetto[QLatin1String("Image1")], QStringLiteral("progetto.Image1"));
    a.progettoPannello = r.rettangolo(progetto[QLatin1String("Label1")], QStringLiteral("progetto.Label1"));
    a.progettoSfondo = r.rettangolo(progetto[QLatin1String("Image2")], QStringLiteral("progetto.Image2"));
    if (progetto.contains(QLatin1String("cmdanimazione")))
        a.progettoAnimazione = r.rettangolo(progetto[QLatin1String("cmdanimazione")], QStringLiteral("progetto.cmdanimazione"));
    const QJsonObject riga = progetto[QLatin1String("rigaPulsanti")].toObject();
    a.rigaPulsantiTop = r.intero(riga[QLatin1String("top")], QStringLiteral("progetto.rigaPulsanti.top"), 0, 9000);
    a.rigaPulsantiAltezza = r.intero(riga[QLatin1String("altezza")], QStringLiteral("progetto.rigaPulsanti.altezza"), 100, 2000);

    const QJsonObject titoli = o[QLatin1String("titoli")].toObject();
    for (auto it = titoli.begin(); it != titoli.end(); ++it) {
        bool numero = false;
        const int k = it.key().toInt(&numero);
        if (!numero || k < 0 || k >= kTitoli)
            r.sbaglio(QStringLiteral("titoli"), QStringLiteral("voce \"%1\" fuori da 0-%2").arg(it.key()).arg(kTitoli - 1));
        else
            a.titoli[k] = r.testo(it.value(), QStringLiteral("titoli.%1").arg(k));
    }
    const QJsonObject testi = o[QLatin1String("testi")].toObject();
    for (auto it = testi.begin(); it != testi.end(); ++it) {
        bool numero = false;
        const int k = it.key().toInt(&numero);
        if (!numero || k < 0 || k >= kTesti)
            r.sbaglio(QStringLiteral("testi"), QStringLiteral("voce \"%1\" fuori da 0-%2").arg(it.key()).arg(kTesti - 1));
        else
            a.testi[k] = r.righe(it.value(), QStringLiteral("testi.%1").arg(k));
    }
    const QJsonObject finestrelle = o[QLatin1String("finestrelle")].toObject();
    for (auto it = finestrelle.begin(); it != finestrelle.end(); ++it) {
        const QString dove = QStringLiteral("finestrelle.%1").arg(it.key());
        if (!nomeFinestrella(it.key())) {
            r.sbaglio(dove, QStringLiteral("le finestrelle si chiamano Label2 ... Label8"));
            continue;
        }
        const QJsonObject f = it.value().toObject();
        const QJsonArray size = f[QLatin1String("dimensioni")].toArray();
        Finestrella fin;
        fin.progetto = QRect(0, 0, r.intero(size.at(0), dove, 1, 12000), r.intero(size.at(1), dove, 1, 9000));
        fin.didascalia = r.testo(f[QLatin1String("didascalia")], dove);
        fin.testo = r.righe(f[QLatin1String("testo")], dove);
        a.finestrelle.insert(it.key(), fin);
    }

    const QJsonArray pagine = o[QLatin1String("pagine")].toArray();
    if (pagine.size() != a.ultimaPagina)
        r.sbaglio(QStringLiteral("pagine"), QStringLiteral("%1 pagine invece di %2").arg(pagine.size()).arg(a.ultimaPagina));
    for (int i = 0; i < pagine.size(); ++i) {
        const QJsonObject p = pagine[i].toObject();
        const QString dove = QStringLiteral("pagina %1").arg(i + 1);
        Pagina pg;
        pg.numero = r.intero(p[QLatin1String("n")], dove, i + 1, i + 1);
        const QJsonValue titolo = p[QLatin1String("titolo")];
        if (assente(titolo)) {
            pg.tipoTitolo = Pagina::Titolo::Nascosto;
        } else if (titolo.isString()) {
            pg.tipoTitolo = Pagina::Titolo::Letterale;
            pg.titoloLetterale = titolo.toString();
        } else {
            pg.tipoTitolo = Pagina::Titolo::Voce;
            pg.voceTitolo = r.intero(titolo, dove + QStringLiteral(", titolo"), 0, kTitoli - 1);
        }
        pg.immagine = r.testo(p[QLatin1String("immagine")], dove + QStringLiteral(", immagine"));
        if (pg.immagine.trimmed().isEmpty())
            r.sbaglio(dove, QStringLiteral("manca l'immagine"));
        if (p[QLatin1String("immagineIndietro")].isString())
            pg.immagineIndietro = p[QLatin1String("immagineIndietro")].toString();
        pg.descrizioneImmagine = r.testo(p[QLatin1String("descrizioneImmagine")], dove + QStringLiteral(", descrizioneImmagine"));
        if (pg.descrizioneImmagine.trimmed().isEmpty())
            r.sbaglio(dove, QStringLiteral("manca la descrizione dell'immagine"));
        // The backward picture is mostly the same file named in other letters: it shares the description.
        if (p[QLatin1String("descrizioneIndietro")].isString())
            pg.descrizioneIndietro = p[QLatin1String("descrizioneIndietro")].toString();
        if (!pg.immagineIndietro.isEmpty() && pg.immagineIndietro.compare(pg.immagine, Qt::CaseInsensitive) != 0 &&
            pg.descrizioneIndietro.trimmed().isEmpty())
            r.sbaglio(dove, QStringLiteral("manca la descrizione dell'immagine mostrata tornando indietro"));
        if (!assente(p[QLatin1String("posizioneImmagine")]))
            pg.posizioneImmagine = r.punto(p[QLatin1String("posizioneImmagine")], dove + QStringLiteral(", posizioneImmagine"));
        if (!assente(p[QLatin1String("pannello")]))
            pg.pannello = r.rettangolo(p[QLatin1String("pannello")], dove + QStringLiteral(", pannello"));
        if (!assente(p[QLatin1String("pannelloIndietro")]))
            pg.pannelloIndietro = r.rettangolo(p[QLatin1String("pannelloIndietro")], dove + QStringLiteral(", pannelloIndietro"));
        const QJsonObject fin = p[QLatin1String("finestrelle")].toObject();
        for (auto it = fin.begin(); it != fin.end(); ++it) {
            if (!a.finestrelle.contains(it.key()))
                r.sbaglio(dove, QStringLiteral("la finestrella %1 non è descritta").arg(it.key()));
            pg.finestrelle.insert(it.key(), r.punto(it.value(), dove + QStringLiteral(", ") + it.key()));
        }
        if (!assente(p[QLatin1String("animazione")])) {
            pg.animazione = r.intero(p[QLatin1String("animazione")], dove + QStringLiteral(", animazione"), 1, 7);
            if (!a.progettoAnimazione)
                r.sbaglio(dove, QStringLiteral("un'animazione in un argomento senza il pulsante"));
        }
        a.pagine.append(pg);
    }
    const QJsonValue mappa = o[QLatin1String("mappa")];
    if (mappa.isObject()) {
        const QJsonObject m = mappa.toObject();
        MappaMondo mm;
        mm.immagine = r.testo(m[QLatin1String("immagine")], QStringLiteral("mappa.immagine"));
        mm.proiezione = r.testo(m[QLatin1String("proiezione")], QStringLiteral("mappa.proiezione"));
        mm.lonMin = m[QLatin1String("lonMin")].toDouble();
        mm.lonMax = m[QLatin1String("lonMax")].toDouble();
        mm.latMin = m[QLatin1String("latMin")].toDouble();
        mm.latMax = m[QLatin1String("latMax")].toDouble();
        mm.rettangolo = r.rettangolo(m[QLatin1String("rettangolo")], QStringLiteral("mappa.rettangolo"));
        if (mm.lonMax <= mm.lonMin || mm.latMax <= mm.latMin)
            r.sbaglio(QStringLiteral("mappa"), QStringLiteral("estensione vuota"));
        a.mappa = mm;
    }
    if (!r.ok()) {
        *errore = r.errore;
        return false;
    }
    *out = a;
    return true;
}

QRect Argomento::rigaPulsanti() const
{
    const int gap = 120;
    int right = progettoSfondo.right() + 1;
    QVector<QRect> pannelli{progettoPannello};
    for (const Pagina& p : pagine) {
        if (p.pannello)
            pannelli << *p.pannello;
        if (p.pannelloIndietro)
            pannelli << *p.pannelloIndietro;
    }
    for (const QRect& r : std::as_const(pannelli)) {
        const bool inBand = r.top() < rigaPulsantiTop + rigaPulsantiAltezza && r.bottom() >= rigaPulsantiTop;
        if (inBand && r.left() > progettoTitolo.left())
            right = std::min(right, r.left() - gap);
    }
    return QRect(progettoTitolo.left(), rigaPulsantiTop, right - progettoTitolo.left(), rigaPulsantiAltezza);
}

namespace Argomenti {

namespace {
struct Catalogo {
    std::array<Argomento, 6> argomenti;
    QString errore;
    bool letto = false;
};

Catalogo& catalogo()
{
    static Catalogo c;
    if (!c.letto) {
        c.letto = true;
        for (int n = 1; n <= 6 && c.errore.isEmpty(); ++n) {
            const QString path = QStringLiteral(":/lezioni/argomento%1.json").arg(n);
            QFile file(path);
            QString errore;
            if (!file.open(QIODevice::ReadOnly))
                c.errore = QStringLiteral("argomento %1: dati mancanti").arg(n);
            else if (!Argomento::daJson(file.readAll(), &c.argomenti[n - 1], &errore))
                c.errore = QStringLiteral("argomento %1, %2").arg(n).arg(errore);
            else if (c.argomenti[n - 1].numero != n)
                c.errore = QStringLiteral("argomento %1: il file dice di essere l'argomento %2").arg(n).arg(c.argomenti[n - 1].numero);
        }
    }
    return c;
}
}  // namespace

const Argomento* argomento(int numero)
{
    Catalogo& c = catalogo();
    if (!c.errore.isEmpty() || numero < 1 || numero > 6)
        return nullptr;
    return &c.argomenti[numero - 1];
}

QString errore()
{
    return catalogo().errore;
}

}  // namespace Argomenti
