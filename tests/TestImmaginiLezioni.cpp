#include "TestSupport.h"

#include "ui/Pictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSet>
#include <QTest>

// Every picture a lesson page names: present under immagini/, readable, drawn at 192 dpi, and at its
// design size never over the page's text panel, the animation button, the title strip or the button
// row, whichever way the pupil has paged to it. The text panel and the picture's position may be left
// as an earlier page set them, so every state the page buttons can reach is checked, not only the
// first pass forward.
//
// With PLACCHE_FOTO set to a folder, each page is also drawn there as the pupil first sees it
// (background, picture, text panel with its text, hotspots, buttons), to look at it.

namespace {

const QRect kAreaProgetto(0, 0, 12000, 9000);

QString chiave(const QString& percorso)
{
    QString p = percorso.toLower();
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QRect rettangolo(const QJsonValue& v)
{
    const QJsonArray a = v.toArray();
    return QRect(a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt());
}

QPoint punto(const QJsonValue& v)
{
    const QJsonArray a = v.toArray();
    return QPoint(a.at(0).toInt(), a.at(1).toInt());
}

// What a lesson screen shows that matters for where its picture may stand.
struct Stato {
    int pagina = 1;
    QPoint posizione;
    QRect pannello;
    bool animazione = false;  // GUARDO L'ANIMAZIONE visible
    bool titolo = true;       // title strip visible
    QString immagine;
    bool avanti = true;       // reached forward (or at load)

    bool operator==(const Stato& o) const
    {
        return pagina == o.pagina && posizione == o.posizione && pannello == o.pannello
               && animazione == o.animazione && titolo == o.titolo && immagine == o.immagine;
    }
};

size_t qHash(const Stato& s, size_t seed = 0)
{
    return qHashMulti(seed, s.pagina, s.posizione.x(), s.posizione.y(), s.pannello.x(), s.pannello.y(),
                      s.pannello.width(), s.pannello.height(), s.animazione, s.titolo, s.immagine);
}

struct Argomento {
    QString file;
    QJsonObject dati;

    int numero() const { return dati.value(QStringLiteral("argomento")).toInt(); }
    QJsonObject progetto() const { return dati.value(QStringLiteral("progetto")).toObject(); }
    bool haPulsanteAnimazione() const { return progetto().contains(QStringLiteral("cmdanimazione")); }
    QRect pulsanteAnimazione() const { return rettangolo(progetto().value(QStringLiteral("cmdanimazione"))); }
    QRect titolo() const { return rettangolo(progetto().value(QStringLiteral("Labeltit"))); }
    int rigaPulsanti() const
    {
        return progetto().value(QStringLiteral("rigaPulsanti")).toObject().value(QStringLiteral("top")).toInt();
    }
    QJsonObject pagina(int n) const
    {
        for (const QJsonValue& v : dati.value(QStringLiteral("pagine")).toArray())
            if (v.toObject().value(QStringLiteral("n")).toInt() == n)
                return v.toObject();
        return {};
    }
    int ultima() const { return dati.value(QStringLiteral("ultimaPagina")).toInt(); }
};

QList<Argomento> argomenti()
{
    QList<Argomento> out;
    const QDir cartella(QStringLiteral(PLACCHE_SORGENTE "/lessons/argomenti"));
    for (const QString& nome : cartella.entryList({QStringLiteral("argomento*.json")}, QDir::Files, QDir::Name)) {
        QFile f(cartella.filePath(nome));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll());
        out.append({nome, doc.object()});
    }
    return out;
}

// The page record applied in one direction, as the lesson engine applies it.
Stato applica(const Argomento& a, const Stato& da, int n, bool avanti)
{
    const QJsonObject p = a.pagina(n);
    Stato s = da;
    s.pagina = n;
    s.avanti = avanti;
    if (p.value(QStringLiteral("posizioneImmagine")).isArray())
        s.posizione = punto(p.value(QStringLiteral("posizioneImmagine")));
    if (!avanti && p.value(QStringLiteral("pannelloIndietro")).isArray())
        s.pannello = rettangolo(p.value(QStringLiteral("pannelloIndietro")));
    else if (p.value(QStringLiteral("pannello")).isArray())
        s.pannello = rettangolo(p.value(QStringLiteral("pannello")));
    const QString indietro = p.value(QStringLiteral("immagineIndietro")).toString();
    s.immagine = (!avanti && !indietro.isEmpty()) ? indietro : p.value(QStringLiteral("immagine")).toString();
    s.animazione = a.haPulsanteAnimazione() && !p.value(QStringLiteral("animazione")).isNull();
    s.titolo = !p.value(QStringLiteral("titolo")).isNull();
    return s;
}

// Every state the forward, back and animation buttons can reach from loading, in the order reached.
QList<Stato> stati(const Argomento& a)
{
    const QJsonObject progetto = a.progetto();
    Stato inizio;
    inizio.posizione = rettangolo(progetto.value(QStringLiteral("Image1"))).topLeft();
    inizio.pannello = rettangolo(progetto.value(QStringLiteral("Label1")));
    inizio.animazione = a.haPulsanteAnimazione() && !a.dati.value(QStringLiteral("animazioneAlCaricamento")).isNull();
    inizio.immagine = a.pagina(1).value(QStringLiteral("immagine")).toString();
    QList<Stato> ordine{inizio};
    QSet<Stato> visti{inizio};
    for (qsizetype i = 0; i < ordine.size(); ++i) {
        const Stato s = ordine.at(i);
        QList<Stato> dopo;
        if (s.pagina < a.ultima())
            dopo.append(applica(a, s, s.pagina + 1, true));
        if (s.pagina > 1)
            dopo.append(applica(a, s, s.pagina - 1, false));
        if (s.animazione) {  // back from the animation viewer: same page, no button
            Stato t = s;
            t.animazione = false;
            dopo.append(t);
        }
        for (const Stato& t : dopo) {
            if (!visti.contains(t)) {
                visti.insert(t);
                ordine.append(t);
            }
        }
    }
    return ordine;
}

QString descrivi(const Argomento& a, const Stato& s)
{
    return QStringLiteral("argomento %1, pagina %2 (%3, pannello %4,%5 %6x%7%8): %9")
        .arg(a.numero())
        .arg(s.pagina)
        .arg(s.avanti ? QStringLiteral("avanti") : QStringLiteral("indietro"))
        .arg(s.pannello.x())
        .arg(s.pannello.y())
        .arg(s.pannello.width())
        .arg(s.pannello.height())
        .arg(s.animazione ? QStringLiteral(", con GUARDO L'ANIMAZIONE") : QString())
        .arg(s.immagine);
}

// The page as the pupil sees it, at twice the design size, for looking at it.
void disegnaPagina(const Argomento& a, const Stato& s, const QString& cartella)
{
    const double k = 2.0 / 15.0;  // twips to pixels at twice the design size
    QImage pagina(qRound(12000 * k), qRound(9000 * k), QImage::Format_RGB32);
    pagina.fill(QColor(0xD4, 0xD0, 0xC8));
    QPainter p(&pagina);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const auto px = [k](const QRect& r) { return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k); };
    const QJsonObject progetto = a.progetto();

    const ui::Pictures::Loaded sfondo = ui::Pictures::load(QStringLiteral("immagini\\altre\\placche1.jpg"));
    if (!sfondo.isNull())
        p.drawImage(px(QRect(rettangolo(progetto.value(QStringLiteral("Image2"))).topLeft(), sfondo.twips)), sfondo.image);

    const ui::Pictures::Loaded figura = ui::Pictures::load(s.immagine);
    if (!figura.isNull())
        p.drawImage(px(QRect(s.posizione, figura.twips)), figura.image);

    QFont testo(QStringLiteral("Liberation Sans"));
    testo.setPixelSize(32);
    if (s.titolo) {
        const QRect t = a.titolo();
        p.fillRect(px(t), QColor(255, 128, 0));
        QFont f(QStringLiteral("Liberation Serif"));
        f.setPixelSize(38);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::black);
        const QJsonValue titolo = a.pagina(s.pagina).value(QStringLiteral("titolo"));
        const QString riga = titolo.isString()
                                 ? titolo.toString()
                                 : a.dati.value(QStringLiteral("titoli")).toObject().value(QString::number(titolo.toInt())).toString();
        p.drawText(px(t), Qt::AlignLeft | Qt::AlignVCenter, riga);
    }

    const QJsonArray sfondoTesto = a.dati.value(QStringLiteral("sfondoTesto")).toArray();
    p.fillRect(px(s.pannello), QColor(sfondoTesto.at(0).toInt(), sfondoTesto.at(1).toInt(), sfondoTesto.at(2).toInt()));
    QStringList righe;
    for (const QJsonValue& r : a.dati.value(QStringLiteral("testi")).toObject().value(QString::number(s.pagina)).toArray())
        righe.append(r.toString());
    p.setFont(testo);
    p.setPen(Qt::black);
    p.drawText(px(s.pannello).adjusted(8, 8, -8, -8), Qt::TextWordWrap, righe.join(QLatin1Char('\n')));

    p.setFont(testo);
    const QJsonObject finestrelle = a.dati.value(QStringLiteral("finestrelle")).toObject();
    const QJsonObject qui = a.pagina(s.pagina).value(QStringLiteral("finestrelle")).toObject();
    for (auto it = qui.begin(); it != qui.end(); ++it) {
        const QJsonArray dim = finestrelle.value(it.key()).toObject().value(QStringLiteral("dimensioni")).toArray();
        const QRectF r = px(QRect(punto(it.value()), QSize(dim.at(0).toInt(), dim.at(1).toInt())));
        p.fillRect(r, QColor(255, 255, 192));
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(r);
        p.drawText(r, Qt::AlignCenter | Qt::TextWordWrap, it.key());
    }

    const auto pulsante = [&](const QRect& r, const QString& scritta) {
        p.fillRect(px(r), QColor(0xE8, 0xE4, 0xDC));
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), 2));
        p.drawRect(px(r));
        p.drawText(px(r), Qt::AlignCenter, scritta);
    };
    if (s.animazione)
        pulsante(a.pulsanteAnimazione(), QStringLiteral("GUARDO L'ANIMAZIONE"));
    pulsante(QRect(1000, a.rigaPulsanti(), 10000, 495), QStringLiteral("riga dei pulsanti"));
    p.end();
    pagina.save(QDir(cartella).filePath(QStringLiteral("argomento%1_pagina%2.png").arg(a.numero()).arg(s.pagina, 2, 10, QLatin1Char('0'))));
}

// The share of a picture's pixels inside a hotspot that are close to a colour: JPEG shifts colours
// a little, so "close" allows for it.
double quota(const QImage& figura, const QRectF& riquadro, const QColor& colore)
{
    const QRect r = riquadro.toAlignedRect().intersected(figura.rect());
    if (r.isEmpty())
        return 0;
    int vicini = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = figura.pixelColor(x, y);
            const int dr = c.red() - colore.red(), dg = c.green() - colore.green(), db = c.blue() - colore.blue();
            vicini += dr * dr + dg * dg + db * db <= 30 * 30;
        }
    }
    return double(vicini) / (r.width() * r.height());
}

}  // namespace

class TestImmaginiLezioni : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::Pictures::setRoot(QStringLiteral(PLACCHE_SORGENTE)); }
    void cleanup() { ui::Pictures::setRoot(QString()); }

    void tuttiGliArgomenti()
    {
        const QList<Argomento> tutti = argomenti();
        QCOMPARE(tutti.size(), 6);
        for (const Argomento& a : tutti)
            QVERIFY2(a.ultima() >= 1 && !a.pagina(a.ultima()).isEmpty(), qPrintable(a.file));
    }

    void immaginiAlPostoGiusto_data()
    {
        QTest::addColumn<int>("numero");
        for (const Argomento& a : argomenti())
            QTest::newRow(qPrintable(a.file)) << a.numero();
    }
    void immaginiAlPostoGiusto()
    {
        QFETCH(int, numero);
        Argomento a;
        for (const Argomento& b : argomenti())
            if (b.numero() == numero)
                a = b;
        const QString foto = qEnvironmentVariable("PLACCHE_FOTO");
        QSet<int> fotografate;
        for (const Stato& s : stati(a)) {
            const QString dove = descrivi(a, s);
            const QString file = ui::Pictures::resolve(s.immagine);
            QVERIFY2(!file.isEmpty(), qPrintable(QStringLiteral("manca l'immagine di ") + dove));
            const ui::Pictures::Loaded figura = ui::Pictures::load(s.immagine);
            QVERIFY2(!figura.isNull(), qPrintable(QStringLiteral("immagine illeggibile: ") + dove));
            // drawn at twice the design size, so that it stays sharp on a large screen
            QVERIFY2(qRound(figura.image.dotsPerMeterX() * 0.0254) == 192, qPrintable(QStringLiteral("non a 192 dpi: ") + dove));

            const QRect r(s.posizione, figura.twips);
            const auto motivo = [&](const char* cosa) {
                return qPrintable(QStringLiteral("%1 %2x%3 %4: %5").arg(s.immagine).arg(r.width()).arg(r.height()).arg(QLatin1String(cosa), dove));
            };
            QVERIFY2(kAreaProgetto.contains(r), motivo("fuori dall'area della pagina"));
            QVERIFY2(!r.intersects(s.pannello), motivo("sopra il pannello del testo"));
            QVERIFY2(r.y() + r.height() <= a.rigaPulsanti(), motivo("sopra la riga dei pulsanti"));
            if (s.animazione)
                QVERIFY2(!r.intersects(a.pulsanteAnimazione()), motivo("sotto GUARDO L'ANIMAZIONE"));
            if (s.titolo)
                QVERIFY2(!r.intersects(a.titolo()), motivo("sotto il titolo"));

            // the hotspots stand over the picture they talk about
            const QJsonObject finestrelle = a.dati.value(QStringLiteral("finestrelle")).toObject();
            const QJsonObject qui = a.pagina(s.pagina).value(QStringLiteral("finestrelle")).toObject();
            for (auto it = qui.begin(); it != qui.end(); ++it) {
                const QJsonArray dim = finestrelle.value(it.key()).toObject().value(QStringLiteral("dimensioni")).toArray();
                const QRect f(punto(it.value()), QSize(dim.at(0).toInt(), dim.at(1).toInt()));
                QVERIFY2(r.contains(f), qPrintable(QStringLiteral("%1 fuori dall'immagine: %2").arg(it.key(), dove)));
            }

            if (!foto.isEmpty() && s.avanti && !fotografate.contains(s.pagina)) {
                fotografate.insert(s.pagina);
                disegnaPagina(a, s, foto);
            }
        }
    }

    // The hotspot pages say what lies under each hotspot: the picture must show it there. Checked by
    // the colours under the hotspot, in the palette the pictures are drawn with.
    void finestrelleSulSoggetto_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("finestrella");
        QTest::addColumn<QColor>("colore");
        QTest::addColumn<double>("almeno");
        // terrauno in the whole-Earth colours; crostuno and sintuno are cross-sections, in the colours
        // of the animated sequences: continental crust yellow, oceanic crust red, the plate's mantle brown
        const QColor nucleoInterno(0xFA, 0xE3, 0x9C), nucleoEsterno(0xF0, 0xBC, 0x55), mantelloInferiore(0xD6, 0x80, 0x52),
            mantelloSuperiore(0xE6, 0x9C, 0x66), linea(0x1E, 0x1E, 0x22), crostaOceanica(0xCC, 0x4B, 0x3C),
            crostaContinentale(0xF2, 0xD4, 0x6A), mantelloRigido(0xA8, 0x7B, 0x5C), acqua(0x9C, 0xCB, 0xE6),
            astenosfera(0xE9, 0xA4, 0x6A);
        QTest::newRow("terrauno: nucleo solido") << 1 << "Label2" << nucleoInterno << 0.6;
        QTest::newRow("terrauno: nucleo liquido") << 1 << "Label3" << nucleoEsterno << 0.6;
        QTest::newRow("terrauno: mantello inferiore") << 1 << "Label4" << mantelloInferiore << 0.6;
        QTest::newRow("terrauno: mantello superiore") << 1 << "Label5" << mantelloSuperiore << 0.6;
        QTest::newRow("terrauno: la linea nera della crosta") << 1 << "Label6" << linea << 0.03;
        QTest::newRow("crostuno: dorsale sotto il mare") << 2 << "Label4" << acqua << 0.2;
        QTest::newRow("crostuno: fossa") << 2 << "Label2" << crostaOceanica << 0.02;
        QTest::newRow("crostuno: crosta oceanica") << 2 << "Label6" << crostaOceanica << 0.1;
        QTest::newRow("crostuno: crosta continentale") << 2 << "Label5" << crostaContinentale << 0.6;
        QTest::newRow("crostuno: placca che sprofonda") << 2 << "Label3" << mantelloRigido << 0.5;
        QTest::newRow("sintuno: arco insulare sul mare") << 4 << "Label4" << crostaOceanica << 0.02;
        QTest::newRow("sintuno: mantello superiore") << 4 << "Label6" << astenosfera << 0.6;
        QTest::newRow("sintuno: dorsale") << 4 << "Label5" << crostaOceanica << 0.02;
        // a thin red band: JPEG keeps less of its colour at the edges than it did of the old grey
        QTest::newRow("sintuno: placca mista, parte oceanica") << 4 << "Label2" << crostaOceanica << 0.01;
        QTest::newRow("sintuno: placca mista, parte continentale") << 4 << "Label2" << crostaContinentale << 0.05;
        QTest::newRow("sintuno: due continenti saldati") << 4 << "Label3" << crostaContinentale << 0.3;
    }
    void finestrelleSulSoggetto()
    {
        QFETCH(int, numero);
        QFETCH(QString, finestrella);
        QFETCH(QColor, colore);
        QFETCH(double, almeno);
        Argomento a;
        for (const Argomento& b : argomenti())
            if (b.numero() == numero)
                a = b;
        const QJsonObject pagina = a.pagina(a.dati.value(QStringLiteral("paginaFinestrelle")).toInt());
        const ui::Pictures::Loaded figura = ui::Pictures::load(pagina.value(QStringLiteral("immagine")).toString());
        QVERIFY(!figura.isNull());
        const QPoint posizione = punto(pagina.value(QStringLiteral("posizioneImmagine")));
        const QJsonArray dim =
            a.dati.value(QStringLiteral("finestrelle")).toObject().value(finestrella).toObject().value(QStringLiteral("dimensioni")).toArray();
        const QRect f(punto(pagina.value(QStringLiteral("finestrelle")).toObject().value(finestrella)) - posizione,
                      QSize(dim.at(0).toInt(), dim.at(1).toInt()));
        // twips to the picture's pixels
        const double k = double(figura.image.width()) / figura.twips.width();
        const double q = quota(figura.image, QRectF(f.x() * k, f.y() * k, f.width() * k, f.height() * k), colore);
        QVERIFY2(q >= almeno, qPrintable(QStringLiteral("%1: %2 del riquadro del colore atteso").arg(finestrella).arg(q, 0, 'f', 3)));
    }

    // Names are matched ignoring case, so two files differing only in case would make a page show
    // either of them.
    void nessunaImmagineDoppia()
    {
        QHash<QString, QStringList> perChiave;
        QDirIterator it(QStringLiteral(PLACCHE_SORGENTE "/immagini"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString relativo = QDir(QStringLiteral(PLACCHE_SORGENTE)).relativeFilePath(file);
            perChiave[chiave(relativo)].append(relativo);
        }
        for (auto i = perChiave.begin(); i != perChiave.end(); ++i)
            QVERIFY2(i.value().size() == 1, qPrintable(i.value().join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TestImmaginiLezioni)
#include "TestImmaginiLezioni.moc"
