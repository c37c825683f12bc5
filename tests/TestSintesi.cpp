// The animated synthesis without its screen: the frames with their stops, close-ups and rewind, and the test
// with its shuffling, marking, correction and totals (its statements are data, checked by TestContenuti).
#include "animation/ProvaSintesi.h"
#include "animation/SerieSintesi.h"
#include "ui/Random.h"

#include <QSet>
#include <QTest>

using Fermata = SerieSintesi::Fermata;
using Segno = ProvaSintesi::Segno;
Q_DECLARE_METATYPE(Fermata)

namespace {
// Clicks the labels whose statement is true (or false) as shown, at most `quante` of them.
void segna(ProvaSintesi& p, bool vere, int quante = 12)
{
    for (int i = 0; i < ProvaSintesi::numaffermazioni && quante > 0; ++i)
        if (p.esattaMostrata(i) == vere) {
            p.clic(i);
            --quante;
        }
}

QStringList mostrate(const ProvaSintesi& p)
{
    QStringList m;
    for (int i = 0; i < ProvaSintesi::numaffermazioni; ++i)
        m << p.mostrata(i);
    return m;
}

int conta(const ProvaSintesi& p, Segno segno)
{
    int n = 0;
    for (int i = 0; i < ProvaSintesi::numaffermazioni; ++i)
        n += p.segno(i) == segno;
    return n;
}

const int kFotogrammaDellaProva[] = {0, 30, 45, 51, 59};
}  // namespace

class TestSintesi : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::Random::setFixedSeed(12345u); }

    // The picture of each frame, and where the rewind button takes the series from there.
    void eachFrame_data()
    {
        QTest::addColumn<int>("fotogramma");
        QTest::addColumn<QString>("immagine");
        QTest::addColumn<int>("a");
        QTest::addColumn<bool>("riavvolto");
        QTest::newRow("before the start") << 0 << "" << 0 << false;
        QTest::newRow("first, held for two frames") << 1 << "immagini\\New-1.gif" << 1 << true;
        QTest::newRow("first test") << 30 << "immagini\\New-15.gif" << 1 << true;
        QTest::newRow("first of the second sequence") << 31 << "immagini\\New-15b.gif" << 31 << true;
        QTest::newRow("32") << 32 << "immagini\\New-16.gif" << 31 << true;
        QTest::newRow("second test") << 45 << "immagini\\New-29.gif" << 31 << true;
        QTest::newRow("third test") << 51 << "immagini\\New-35.gif" << 46 << true;
        QTest::newRow("58") << 58 << "immagini\\New-42.gif" << 52 << true;
        QTest::newRow("fourth test goes back to 41") << 59 << "immagini\\New-41.gif" << 52 << true;
        QTest::newRow("closing pictures") << 60 << "immagini\\New-43.gif" << 60 << false;
        QTest::newRow("last") << 62 << "immagini\\New-45.gif" << 62 << false;
    }
    void eachFrame()
    {
        QFETCH(int, fotogramma);
        QFETCH(QString, immagine);
        QFETCH(int, a);
        QFETCH(bool, riavvolto);
        QCOMPARE(SerieSintesi::fotogrammi(fotogramma), immagine);
        SerieSintesi s;
        while (s.fotogramma() < fotogramma)
            s.avanza();
        QCOMPARE(s.riavvolgi(), riavvolto);
        QCOMPARE(s.fotogramma(), a);
    }

    // Left alone, the series stops exactly where the tests, the close-ups and the end are, and never passes the
    // last frame. A close-up shows its first picture at the start and again at the first tick, ends one tick after
    // its last picture, never reads beyond it, and leaves the series where it was.
    void seriesStopsWhereItShould()
    {
        SerieSintesi s;
        QList<QPair<int, Fermata>> fermate;
        QStringList ingrandimenti;  // "frame: pictures first last" of each close-up
        for (int tick = 0; tick < 70; ++tick) {
            const SerieSintesi::Passo p = s.avanza();
            QCOMPARE(p.immagine, SerieSintesi::fotogrammi(p.fotogramma));
            if (p.fermata != Fermata::Nessuna && (fermate.isEmpty() || fermate.last().first != p.fotogramma))
                fermate.append({p.fotogramma, p.fermata});
            if (p.fermata != Fermata::Ingrandimento)
                continue;
            const QString prima = s.iniziaIngrandimento();
            QVERIFY(s.ingrandimentoInCorso());
            QStringList viste;
            while (const auto next = s.avanzaIngrandimento())
                viste << *next;
            QVERIFY(!s.ingrandimentoInCorso() && !s.avanzaIngrandimento());
            QCOMPARE(s.fotogramma(), p.fotogramma);
            QCOMPARE(QSet<QString>(viste.cbegin(), viste.cend()).size(), viste.size());
            QCOMPARE(viste.value(0), prima);
            ingrandimenti << QStringLiteral("%1: %2 %3 %4")
                                 .arg(p.fotogramma)
                                 .arg(viste.size())
                                 .arg(prima, viste.last());
        }
        const QList<QPair<int, Fermata>> attese{{30, Fermata::Test}, {44, Fermata::Ingrandimento}, {45, Fermata::Test},
                                                {50, Fermata::Ingrandimento}, {51, Fermata::Test},
                                                {58, Fermata::Ingrandimento}, {59, Fermata::Test}, {62, Fermata::Fine}};
        QCOMPARE(fermate, attese);
        const QStringList attesi{
            QStringLiteral("44: 12 immagini\\avvici\\avvic1.jpg immagini\\avvici\\avvic12.jpg"),
            QStringLiteral("50: 11 immagini\\oceoce\\oceoce1.jpg immagini\\oceoce\\oceoce11.jpg"),
            QStringLiteral("58: 14 immagini\\allontan\\ESPANS.jpg immagini\\allontan\\ESPANS14.jpg")};
        QCOMPARE(ingrandimenti, attesi);
        QCOMPARE(s.fotogramma(), 62);
        QCOMPARE(s.avanza().fermata, Fermata::Fine);
        QCOMPARE(SerieSintesi::fotogrammi(63), QString());
    }

    // Every statement is dealt exactly once and keeps its own truth, whatever the draw; with the clock's seed,
    // opening the same test again deals a new order.
    void shuffleKeepsStatementsWithTheirTruth()
    {
        for (quint32 seed : {1u, 2u, 99u, 12345u}) {
            ui::Random::setFixedSeed(seed);
            for (int n = 1; n <= 4; ++n) {
                ProvaSintesi p;
                p.apri(kFotogrammaDellaProva[n]);
                QHash<QString, bool> vera;
                for (const auto& a : ProvaSintesi::tabella(n).affermazioni)
                    vera.insert(a.testo, a.vera);
                const QStringList m = mostrate(p);
                QCOMPARE(QSet<QString>(m.cbegin(), m.cend()).size(), 12);
                for (int i = 0; i < 12; ++i) {
                    QVERIFY2(vera.contains(m[i]), qPrintable(m[i]));
                    QCOMPARE(p.esattaMostrata(i), vera.value(m[i]));
                }
            }
        }
        ui::Random::setFixedSeed(std::nullopt);
        ProvaSintesi p;
        p.apri(45);
        const QStringList prima = mostrate(p);
        p.apri(45);
        QVERIFY(prima != mostrate(p));
    }

    void correction_data()
    {
        QTest::addColumn<int>("prova");
        QTest::addColumn<int>("vereSegnate");
        QTest::addColumn<int>("falseSegnate");
        QTest::addColumn<bool>("corretta");
        QTest::addColumn<int>("punti");
        QTest::addColumn<int>("giuste");
        QTest::newRow("the six true of test 1") << 1 << 6 << 0 << true << 12 << 12;
        QTest::newRow("everything marked in test 3") << 3 << 7 << 5 << true << 7 << 7;
        QTest::newRow("three true and two false of test 4") << 4 << 3 << 2 << true << 6 << 6;
        QTest::newRow("nothing marked") << 2 << 0 << 0 << false << 0 << 0;
    }
    void correction()
    {
        QFETCH(int, prova);
        QFETCH(int, vereSegnate);
        QFETCH(int, falseSegnate);
        QFETCH(bool, corretta);
        QFETCH(int, punti);
        QFETCH(int, giuste);
        ProvaSintesi p;
        p.apri(kFotogrammaDellaProva[prova]);
        segna(p, true, vereSegnate);
        segna(p, false, falseSegnate);
        QCOMPARE(p.correggi(), corretta);
        QCOMPARE(p.puntisequenza(), punti);
        QCOMPARE(conta(p, Segno::Giusto), giuste);
        // The errors stay in sight: false statements marked, true ones not marked.
        QCOMPARE(conta(p, Segno::Segnato), corretta ? falseSegnate : 0);
        QCOMPARE(p.totpunti(), punti);
        QCOMPARE(p.totmax(), corretta ? 12 : 0);
    }
};

QTEST_MAIN(TestSintesi)
#include "TestSintesi.moc"
