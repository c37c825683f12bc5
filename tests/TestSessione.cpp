#include "TestSupport.h"

#include "app/Sessione.h"
#include "ui/MessageBox.h"

#include <QTest>


class TestSessione : public QObject {
    Q_OBJECT
    std::unique_ptr<Sessione> s = std::make_unique<Sessione>();

private slots:
    void init()
    {
        TestSupport::prepara();
        s = std::make_unique<Sessione>();
    }

    void gradeWords_data()
    {
        QTest::addColumn<double>("percentuale");
        QTest::addColumn<QString>("parola");
        QTest::newRow("30") << 30.0 << "MOLTO INSUFF.";
        QTest::newRow("34") << 34.0 << "MOLTO INSUFF.";
        QTest::newRow("34.5 holds two tests, the later wins") << 34.5 << "NON SUFFICIENTE";
        QTest::newRow("35") << 35.0 << "NON SUFFICIENTE";
        QTest::newRow("34.01") << 34.01 << "NON SUFFICIENTE";
        QTest::newRow("55") << 55.0 << "NON SUFFICIENTE";
        QTest::newRow("55.5") << 55.5 << "SUFFICIENTE";
        QTest::newRow("56") << 56.0 << "SUFFICIENTE";
        QTest::newRow("75") << 75.0 << "SUFFICIENTE";
        QTest::newRow("75.5") << 75.5 << "BUONO";
        QTest::newRow("76") << 76.0 << "BUONO";
        QTest::newRow("85") << 85.0 << "BUONO";
        QTest::newRow("85.5") << 85.5 << "DISTINTO";
        QTest::newRow("86") << 86.0 << "DISTINTO";
        QTest::newRow("94") << 94.0 << "DISTINTO";
        QTest::newRow("94.5") << 94.5 << "OTTIMO";
        QTest::newRow("100") << 100.0 << "OTTIMO";
        QTest::newRow("0") << 0.0 << "MOLTO INSUFF.";
    }
    void gradeWords()
    {
        QFETCH(double, percentuale);
        QFETCH(QString, parola);
        QCOMPARE(Sessione::valutazionePer(percentuale), parola);
    }

    // Sums over N pages become percentages of N x 10, 5, 3 and 2 points; the word follows the total.
    void valutaOverPages_data()
    {
        QTest::addColumn<int>("pagine");
        QTest::addColumn<QList<double>>("somme");  // knowledge, understanding, application
        QTest::addColumn<QList<double>>("percentuali");  // total, knowledge, understanding, application
        QTest::addColumn<QString>("parola");
        QTest::newRow("three pages") << 3 << QList<double>{12, 6, 3}
                                     << QList<double>{70, 80, 200.0 / 3, 50} << "SUFFICIENTE";
        QTest::newRow("one page all right") << 1 << QList<double>{5, 3, 2} << QList<double>{100, 100, 100, 100}
                                            << "OTTIMO";
        QTest::newRow("nine right, row 10 wrong") << 1 << QList<double>{5, 3, 1} << QList<double>{90, 100, 100, 50}
                                                  << "DISTINTO";
        QTest::newRow("two pages, 7 points") << 2 << QList<double>{4, 2, 1} << QList<double>{35, 40, 100.0 / 3, 25}
                                             << "NON SUFFICIENTE";
        QTest::newRow("two pages, 6 points") << 2 << QList<double>{4, 2, 0} << QList<double>{30, 40, 100.0 / 3, 0}
                                             << "MOLTO INSUFF.";
        QTest::newRow("nothing right") << 4 << QList<double>{0, 0, 0} << QList<double>{0, 0, 0, 0} << "MOLTO INSUFF.";
    }
    void valutaOverPages()
    {
        QFETCH(int, pagine);
        QFETCH(QList<double>, somme);
        QFETCH(QList<double>, percentuali);
        QFETCH(QString, parola);
        s->numpagine = qint16(pagine);
        s->conoscere = somme[0];
        s->comprendere = somme[1];
        s->applicare = somme[2];
        s->totale = somme[0] + somme[1] + somme[2];
        s->valuta();
        QCOMPARE(s->totale, percentuali[0]);
        QCOMPARE(s->conoscere, percentuali[1]);
        QCOMPARE(s->comprendere, percentuali[2]);
        QCOMPARE(s->applicare, percentuali[3]);
        QCOMPARE(s->valutazione, parola);
    }

    void correggiScoresAndMarks_data()
    {
        QTest::addColumn<QList<int>>("risposteDate");
        QTest::addColumn<QList<int>>("soluzioniGiuste");
        QTest::addColumn<int>("punti");
        QTest::addColumn<QList<int>>("sbagliate");
        const QList<int> codes{1, 0, 1, 1, 0, 0, 1, 0, 1, 0};
        QList<int> opposite;
        for (int c : codes)
            opposite << 1 - c;
        QTest::newRow("all right") << codes << codes << 10 << QList<int>{};
        QTest::newRow("all wrong") << opposite << codes << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QList<int> two = codes;
        two[0] = 0;
        two[9] = 1;
        QTest::newRow("first and last wrong") << two << codes << 8 << QList<int>{1, 10};
    }
    void correggiScoresAndMarks()
    {
        QFETCH(QList<int>, risposteDate);
        QFETCH(QList<int>, soluzioniGiuste);
        QFETCH(int, punti);
        QFETCH(QList<int>, sbagliate);
        for (int i = 1; i <= 10; ++i) {
            s->risposte[i] = qint16(risposteDate[i - 1]);
            s->soluzioni[i] = qint16(soluzioniGiuste[i - 1]);
        }
        s->punteggio = 0;
        s->correggi();
        QCOMPARE(int(s->punteggio), punti);
        for (int i = 1; i <= 10; ++i)
            QCOMPARE(int(s->errori[i]), sbagliate.contains(i) ? 1 : 0);
    }

    // The caller resets: correggi adds to the score and only ever sets marks.
    void correggiAccumulates()
    {
        for (int i = 1; i <= 10; ++i)
            s->risposte[i] = s->soluzioni[i] = 1;
        s->errori[3] = 1;
        s->punteggio = 4;
        s->correggi();
        QCOMPARE(int(s->punteggio), 14);
        QCOMPARE(int(s->errori[3]), 1);
    }

    void chiedinomeAsks_data()
    {
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<bool>("annullato");
        QTest::addColumn<QString>("nome");
        QTest::newRow("typed") << "Rossi Mario" << false << "Rossi Mario";
        QTest::newRow("blanks kept") << "  De  Luca Anna " << false << "  De  Luca Anna ";
        QTest::newRow("only blanks stay") << "   " << false << "   ";
        QTest::newRow("nothing typed") << "" << false << "Anonimo";
        QTest::newRow("cancelled") << "Bianchi" << true << "Anonimo";
        QTest::newRow("apostrophe") << "D'Amico Lucia" << false << "D'Amico Lucia";
    }
    void chiedinomeAsks()
    {
        QFETCH(QString, scritto);
        QFETCH(bool, annullato);
        QFETCH(QString, nome);
        ui::MessageBox::setNextInput(scritto, annullato);
        s->chiedinome();
        QCOMPARE(s->nomestudente, nome);
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].isInput);
        QCOMPARE(shown[0].text, QStringLiteral("Scrivi qui prima il cognome, poi il tuo nome"));
        QCOMPARE(shown[0].title, QStringLiteral("La teoria delle placche"));

        // Asked once a run: a second call shows nothing and keeps the name.
        ui::MessageBox::setNextInput(QStringLiteral("Altro Nome"));
        s->chiedinome();
        QCOMPARE(s->nomestudente, nome);
        QCOMPARE(ui::MessageBox::shown().size(), 1);
    }

    void uscitaAsksAndEnds_data()
    {
        QTest::addColumn<int>("risposta");
        QTest::addColumn<int>("fine");
        QTest::newRow("OK ends") << int(ui::MessageBox::AnswerOk) << 1;
        QTest::newRow("Cancel stays") << int(ui::MessageBox::AnswerCancel) << 0;
    }
    void uscitaAsksAndEnds()
    {
        QFETCH(int, risposta);
        QFETCH(int, fine);
        s->titolo = QStringLiteral("Gli strati della Terra");
        s->numargomento = 3;
        s->nomestudente = QStringLiteral("Verdi Anna");
        ui::MessageBox::setNextAnswer(ui::MessageBox::Answer(risposta));
        s->uscita();
        QCOMPARE(TestSupport::fineRichiesta(), fine);
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("sei sicuro di voler uscire dal programma?"));
        QCOMPARE(shown[0].title, QStringLiteral("USCITA MsgBox"));
        QCOMPARE(shown[0].buttons, ui::MessageBox::OkCancel);
        QCOMPARE(s->titolo, QStringLiteral("Gli strati della Terra"));
        QCOMPARE(int(s->numargomento), 3);
        QCOMPARE(s->nomestudente, QStringLiteral("Verdi Anna"));
    }
};

QTEST_MAIN(TestSessione)
#include "TestSessione.moc"
