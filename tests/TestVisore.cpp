#include "TestSupport.h"

#include "animation/Formani.h"
#include "animation/Visore.h"
#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "lessons/Forarg.h"
#include "ui/Screens.h"

#include <QTest>

namespace {
Formani* viewer()
{
    return qobject_cast<Formani*>(ui::Screens::instance().find(QStringLiteral("Formani")));
}
}  // namespace

class TestVisore : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    void sequences_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("numfoto");
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QString>("ultima");
        QTest::addColumn<int>("anni");
        QTest::newRow("1 origins") << 1 << 14 << "immagini\\origini\\orig1.jpg" << "immagini\\origini\\orig2h.jpg" << 0;
        QTest::newRow("2 spreading") << 2 << 14 << "immagini\\allontan\\ESPANS.jpg" << "immagini\\allontan\\ESPANS14.jpg" << 0;
        QTest::newRow("3 drift") << 3 << 45 << "immagini\\deriva\\new-1.jpg" << "immagini\\deriva\\new-45.jpg" << 528;
        QTest::newRow("4 subduction") << 4 << 15 << "immagini\\SUBDUZIO\\subduz1.jpg" << "immagini\\SUBDUZIO\\subduz15.jpg" << 0;
        QTest::newRow("5 collision") << 5 << 12 << "immagini\\avvici\\avvic1.jpg" << "immagini\\avvici\\avvic12.jpg" << 0;
        QTest::newRow("6 ocean-ocean") << 6 << 11 << "immagini\\oceoce\\oceoce1.jpg" << "immagini\\oceoce\\oceoce11.jpg" << 0;
        QTest::newRow("7 recent drift") << 7 << 12 << "immagini\\deriva\\new-34.jpg" << "immagini\\deriva\\new-45.jpg" << 132;
    }
    void sequences()
    {
        QFETCH(int, n);
        QFETCH(int, numfoto);
        QFETCH(QString, prima);
        QFETCH(QString, ultima);
        QFETCH(int, anni);
        const Sequenza s = Sequenze::sequenza(n);
        QCOMPARE(s.foto.size(), numfoto);
        QCOMPARE(s.foto.first(), prima);
        QCOMPARE(s.foto.last(), ultima);
        QCOMPARE(s.anniIniziali, anni);
        QCOMPARE(QSet<QString>(s.foto.cbegin(), s.foto.cend()).size(), numfoto);
    }

    // Left alone, the automatic run shows pictures 2 ... N with their years, then stands still.
    void automaticRun_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("sequence 3") << 3;
        QTest::newRow("sequence 7") << 7;
        QTest::newRow("sequence 2") << 2;
    }
    void automaticRun()
    {
        QFETCH(int, n);
        Visore v;
        v.carica(n);
        const Sequenza& s = v.sequenza();
        for (int k = 2; k <= v.numfoto(); ++k) {
            const Visore::Passo p = v.tick();
            QVERIFY(p.mostra);
            QCOMPARE(p.numero, k);
            QCOMPARE(p.foto, s.foto.at(k - 1));
            if (v.haAnni())
                QCOMPARE(p.anni, s.anniIniziali - 12 * (k - 1));
        }
        if (v.haAnni())
            QCOMPARE(s.anniIniziali - 12 * (v.numfoto() - 1), 0);  // the last picture is today
        for (int i = 0; i < 5; ++i)
            QVERIFY(!v.tick().mostra);
        // Restarting plays again from picture 1 with the starting years.
        v.riavvia();
        const Visore::Passo first = v.tick();
        QVERIFY(first.mostra);
        QCOMPARE(first.numero, 1);
        QCOMPARE(first.foto, s.foto.first());
        if (v.haAnni())
            QCOMPARE(first.anni, s.anniIniziali);
    }

    // The manual run wraps around after the last picture, years included.
    void manualRunWraps_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("sequence 2") << 2;
        QTest::newRow("sequence 7") << 7;
    }
    void manualRunWraps()
    {
        QFETCH(int, n);
        Visore v;
        v.carica(n);
        const Sequenza& s = v.sequenza();
        for (int round = 0; round < 2; ++round) {
            for (int k = 1; k <= v.numfoto(); ++k) {
                const Visore::Passo p = v.passoManuale();
                QCOMPARE(p.numero, k);
                QCOMPARE(p.foto, s.foto.at(k - 1));
                if (v.haAnni())
                    QCOMPARE(p.anni, s.anniIniziali - 12 * (k - 1));
            }
        }
    }

    // "+" is "Maggiore", "-" is "Minore", clicked in this order from the start.
    void speed_data()
    {
        QTest::addColumn<QString>("clic");
        QTest::addColumn<int>("intervallo");
        QTest::addColumn<int>("livello");
        QTest::addColumn<bool>("maggiore");  // "Maggiore" enabled after the clicks
        QTest::addColumn<bool>("minore");
        QTest::newRow("start") << "" << 701 << 11 << true << true;
        QTest::newRow("seven faster") << "+++++++" << 1 << 18 << true << true;
        QTest::newRow("eight faster: clamped") << "++++++++" << 1 << 19 << false << true;
        QTest::newRow("eight faster, one slower") << "++++++++-" << 101 << 18 << true << true;
        QTest::newRow("ten slower") << "----------" << 1701 << 1 << true << true;
        QTest::newRow("eleven slower: clamped") << "-----------" << 1800 << 0 << true << false;
        QTest::newRow("eleven slower, one faster") << "-----------+" << 1700 << 1 << true << true;
        QTest::newRow("twelve slower: the level still moves") << "------------" << 1800 << -1 << true << false;
    }
    void speed()
    {
        QFETCH(QString, clic);
        QFETCH(int, intervallo);
        QFETCH(int, livello);
        QFETCH(bool, maggiore);
        QFETCH(bool, minore);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        TestSupport::sessione().numanimazione = 3;
        TestSupport::sessione().numargomento = 5;
        auto* f = qobject_cast<Formani*>(ui::Screens::instance().show(QStringLiteral("Formani")));
        QVERIFY(f);
        for (QChar c : clic)
            (c == QLatin1Char('+') ? f->cmdmaxvel : f->cmdminvel)->press();
        QCOMPARE(f->Timer1->interval(), intervallo);
        QCOMPARE(f->Labvel->caption(), QString::number(livello));
        QCOMPARE(f->cmdmaxvel->isEnabled(), maggiore);
        QCOMPARE(f->cmdminvel->isEnabled(), minore);
    }

    // The screen: years shown only for the drift, the timer driving Image2, the way back to the lesson.
    void yearsLabelsOnlyForTheDrift_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("anni");
        QTest::addColumn<QString>("inizio");
        for (int n = 1; n <= 7; ++n)
            QTest::addRow("sequence %d", n) << n << (n == 3 || n == 7) << (n == 3 ? "528" : n == 7 ? "132" : "");
    }
    void yearsLabelsOnlyForTheDrift()
    {
        QFETCH(int, n);
        QFETCH(bool, anni);
        QFETCH(QString, inizio);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        TestSupport::sessione().numanimazione = qint16(n);
        auto* f = qobject_cast<Formani*>(ui::Screens::instance().show(QStringLiteral("Formani")));
        QCOMPARE(f->window()->windowTitle(), QStringLiteral("ANIMAZIONI"));
        QCOMPARE(f->Label3->isVisible(), anni);
        QCOMPARE(f->Label2->isVisible(), anni);
        QCOMPARE(f->Label2->caption(), QStringLiteral("    milioni di anni fa"));
        QCOMPARE(f->Label3->caption(), inizio);
        QCOMPARE(f->Image1->fileName(), Sequenze::sequenza(n).foto.first());
        QCOMPARE(f->Image2->fileName(), Sequenze::sequenza(n).foto.first());
        QVERIFY(f->Timer1->isEnabled());
        QCOMPARE(f->Timer1->interval(), 701);
        f->Timer1->fire();
        QCOMPARE(f->Label4->caption(), QStringLiteral("2"));
        QCOMPARE(f->Image2->fileName(), Sequenze::sequenza(n).foto.at(1));
        QCOMPARE(f->Image1->fileName(), Sequenze::sequenza(n).foto.first());
        QCOMPARE(f->designRect(f->Image2), Sequenze::sequenza(n).image2);
        if (anni)
            QCOMPARE(f->Label3->caption(), QString::number(inizio.toInt() - 12));
        f->Command1->click();
        QCOMPARE(f->Image1->fileName(), Sequenze::sequenza(n).foto.first());
        QCOMPARE(f->Label4->caption(), QStringLiteral("1"));
    }

    // From a lesson page to the viewer and back: same page, no animation button, a fresh viewer next time.
    void fromTheLessonAndBack()
    {
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        auto* menu = qobject_cast<Fscelt*>(ui::Screens::instance().find(QStringLiteral("Fscelt")));
        menu->Command1[1]->click();
        auto* lesson = qobject_cast<Forarg*>(ui::Screens::instance().front());
        for (int i = 1; i < 5; ++i)
            lesson->cmdAVANTI->click();
        QCOMPARE(int(TestSupport::sessione().numanimazione), 2);
        lesson->cmdanimazione->click();
        QCOMPARE(ui::Screens::instance().front(), viewer());
        QVERIFY(!ui::Screens::instance().isVisible(QStringLiteral("forarg2")));
        QVERIFY(ui::Screens::instance().isLoaded(QStringLiteral("forarg2")));
        QCOMPARE(viewer()->visore().numanimazione(), 2);
        viewer()->cmdmaxvel->click();
        viewer()->Cmdtorna->click();
        QCOMPARE(ui::Screens::instance().front(), lesson);
        QVERIFY(!ui::Screens::instance().isLoaded(QStringLiteral("Formani")));
        QCOMPARE(lesson->numpagina(), 5);
        QVERIFY(lesson->cmdanimazione->isHidden());
        lesson->cmdAVANTI->click();
        lesson->Cmdindietro->click();
        lesson->cmdanimazione->click();
        QCOMPARE(viewer()->Timer1->interval(), 701);
        QCOMPARE(viewer()->Labvel->caption(), QStringLiteral("11"));
    }
};

QTEST_MAIN(TestVisore)
#include "TestVisore.moc"
