#include "TestSupport.h"

#include "lessons/Argomento.h"
#include "lessons/MotorePagine.h"
#include "ui/Pictures.h"

#include <QDir>
#include <QDirIterator>
#include <QSet>
#include <QTest>

#include <functional>
#include <vector>

// Every picture a lesson page names: present, readable, at 192 dpi or finer, and never over the text panel,
// the animation button, the title strip or the button row in any state the page buttons can reach (an
// earlier page may leave the panel and the picture's position behind). To look at the pages as the pupil
// sees them: tests/fotografa FOLDER lezioni.

namespace {

const QRect kAreaProgetto(0, 0, 12000, 9000);

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

// The six topics as the program reads them; one it cannot read is left out (the first test says why).
QList<const Argomento*> argomenti()
{
    QList<const Argomento*> out;
    for (int n = 1; n <= 6; ++n)
        if (const Argomento* a = Argomenti::argomento(n))
            out.append(a);
    return out;
}

Stato statoDi(const MotorePagine& motore, bool avanti)
{
    const MotorePagine::Vista& v = motore.vista();
    return {v.numpagina, v.posizioneImmagine, v.pannello, v.animazioneVisibile, v.titoloVisibile, v.immagine, avanti};
}

// Every state the forward, back and animation buttons can reach from loading, in the order reached.
QList<Stato> stati(const Argomento& a)
{
    struct Raggiunto {
        MotorePagine motore;
        bool avanti;
    };
    std::vector<Raggiunto> coda{{MotorePagine(a), true}};
    QList<Stato> ordine{statoDi(coda.front().motore, true)};
    QSet<Stato> visti{ordine.first()};
    for (std::size_t i = 0; i < coda.size(); ++i) {
        const Raggiunto qui = coda[i];
        const auto passa = [&](const std::function<void(MotorePagine&)>& passo, bool avanti) {
            Raggiunto r{qui.motore, avanti};
            passo(r.motore);
            const Stato t = statoDi(r.motore, avanti);
            if (!visti.contains(t)) {
                visti.insert(t);
                ordine.append(t);
                coda.push_back(r);
            }
        };
        if (qui.motore.vista().numpagina < a.ultimaPagina)
            passa([](MotorePagine& m) { m.avanti(); }, true);
        if (qui.motore.vista().numpagina > 1)
            passa([](MotorePagine& m) { m.indietro(); }, false);
        if (qui.motore.vista().animazioneVisibile)  // back from the animation viewer: same page, no button
            passa([](MotorePagine& m) { m.nascondiAnimazione(); }, qui.avanti);
    }
    return ordine;
}

QString descrivi(const Argomento& a, const Stato& s)
{
    const QRect& p = s.pannello;
    return QStringLiteral("argomento %1, pagina %2 (%3, pannello %4,%5 %6x%7%8): %9")
        .arg(a.numero).arg(s.pagina).arg(s.avanti ? "avanti" : "indietro").arg(p.x()).arg(p.y()).arg(p.width())
        .arg(p.height()).arg(s.animazione ? ", con GUARDO L'ANIMAZIONE" : "", s.immagine);
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
        QVERIFY2(Argomenti::errore().isEmpty(), qPrintable(Argomenti::errore()));
        // every topic file of the lessons is one the program reads
        const QDir cartella(QStringLiteral(PLACCHE_SORGENTE "/lessons/argomenti"));
        QCOMPARE(cartella.entryList({QStringLiteral("argomento*.json")}, QDir::Files).size(), 6);
        QCOMPARE(argomenti().size(), 6);
        for (const Argomento* a : argomenti())
            QVERIFY2(a->ultimaPagina >= 1 && a->pagine.size() == a->ultimaPagina,
                     qPrintable(QString::number(a->numero)));
    }

    void immaginiAlPostoGiusto_data()
    {
        QTest::addColumn<int>("numero");
        for (const Argomento* a : argomenti())
            QTest::addRow("argomento%d.json", a->numero) << a->numero;
    }
    void immaginiAlPostoGiusto()
    {
        QFETCH(int, numero);
        QVERIFY2(Argomenti::argomento(numero), qPrintable(Argomenti::errore()));
        const Argomento& a = *Argomenti::argomento(numero);
        for (const Stato& s : stati(a)) {
            const QString dove = descrivi(a, s);
            const ui::Pictures::Loaded figura = ui::Pictures::load(s.immagine);
            QVERIFY2(!figura.isNull(), qPrintable(QStringLiteral("immagine mancante o illeggibile: ") + dove));
            // twice the design size or finer, so that it stays sharp when a large screen stretches it
            QVERIFY2(qRound(figura.image.dotsPerMeterX() * 0.0254) >= 192, qPrintable(QStringLiteral("sotto 192 dpi: ") + dove));

            const QRect r(s.posizione, figura.twips);
            const QString misura = QStringLiteral("%1 %2x%3 ").arg(s.immagine).arg(r.width()).arg(r.height());
            const auto motivo = [&](const char* cosa) { return QStringLiteral("%1%2: %3").arg(misura, cosa, dove); };
            QVERIFY2(kAreaProgetto.contains(r), qPrintable(motivo("fuori dall'area della pagina")));
            QVERIFY2(!r.intersects(s.pannello), qPrintable(motivo("sopra il pannello del testo")));
            QVERIFY2(r.y() + r.height() <= a.rigaPulsantiTop, qPrintable(motivo("sopra la riga dei pulsanti")));
            if (s.animazione)
                QVERIFY2(a.progettoAnimazione && !r.intersects(*a.progettoAnimazione),
                         qPrintable(motivo("sotto GUARDO L'ANIMAZIONE")));
            if (s.titolo)
                QVERIFY2(!r.intersects(a.progettoTitolo), qPrintable(motivo("sotto il titolo")));

            // the hotspots stand over the picture they talk about
            const QMap<QString, QPoint>& qui = a.pagina(s.pagina).finestrelle;
            for (auto it = qui.begin(); it != qui.end(); ++it) {
                const QRect f(it.value(), a.finestrelle.value(it.key()).progetto.size());
                QVERIFY2(r.contains(f), qPrintable(QStringLiteral("%1 fuori dall'immagine: %2").arg(it.key(), dove)));
            }
        }
    }

    // What a hotspot names must be under it in the picture: checked by the colours of the pictures' palette.
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
        const Argomento* a = Argomenti::argomento(numero);
        QVERIFY2(a, qPrintable(Argomenti::errore()));
        QVERIFY(a->paginaFinestrelle > 0);
        const Pagina& pagina = a->pagina(a->paginaFinestrelle);
        const ui::Pictures::Loaded figura = ui::Pictures::load(pagina.immagine);
        QVERIFY(!figura.isNull());
        // the hotspot page puts its picture where its hotspots are measured from
        QVERIFY(pagina.posizioneImmagine.has_value());
        QVERIFY(pagina.finestrelle.contains(finestrella));
        const QRect f(pagina.finestrelle.value(finestrella) - *pagina.posizioneImmagine,
                      a->finestrelle.value(finestrella).progetto.size());
        // twips to the picture's pixels
        const double k = double(figura.image.width()) / figura.twips.width();
        const double q = quota(figura.image, QRectF(f.x() * k, f.y() * k, f.width() * k, f.height() * k), colore);
        QVERIFY2(q >= almeno, qPrintable(QStringLiteral("%1: %2 del riquadro del colore atteso").arg(finestrella).arg(q, 0, 'f', 3)));
    }

    // Names are matched ignoring case: two files differing only in case would make a page show either.
    void nessunaImmagineDoppia()
    {
        QHash<QString, QStringList> perChiave;
        QDirIterator it(QStringLiteral(PLACCHE_SORGENTE "/immagini"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString relativo = QDir(QStringLiteral(PLACCHE_SORGENTE)).relativeFilePath(file);
            perChiave[relativo.toLower()].append(relativo);
        }
        for (auto i = perChiave.begin(); i != perChiave.end(); ++i)
            QVERIFY2(i.value().size() == 1, qPrintable(i.value().join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TestImmaginiLezioni)
#include "TestImmaginiLezioni.moc"
