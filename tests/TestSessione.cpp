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
        // Where two ranges meet both tests hold, and the later one wins.
        const std::pair<double, const char*> casi[] = {
            {0, "MOLTO INSUFF."}, {34, "MOLTO INSUFF."}, {34.01, "NON SUFFICIENTE"}, {34.5, "NON SUFFICIENTE"},
            {55, "NON SUFFICIENTE"}, {55.5, "SUFFICIENTE"}, {75, "SUFFICIENTE"}, {75.5, "BUONO"}, {85, "BUONO"},
            {85.5, "DISTINTO"}, {94, "DISTINTO"}, {94.5, "OTTIMO"}, {100, "OTTIMO"}};
        for (const auto& [p, parola] : casi)
            QTest::addRow("%g", p) << p << QString::fromUtf8(parola);
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
        using L = QList<double>;
        QTest::newRow("three pages") << 3 << L{12, 6, 3} << L{70, 80, 200.0 / 3, 50} << "SUFFICIENTE";
        QTest::newRow("nine right, row 10 wrong") << 1 << L{5, 3, 1} << L{90, 100, 100, 50} << "DISTINTO";
        QTest::newRow("two pages, 7 points") << 2 << L{4, 2, 1} << L{35, 40, 100.0 / 3, 25} << "NON SUFFICIENTE";
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
        QTest::addColumn<int>("prima");  // score before; row 3 already marked wrong when not 0
        QTest::addColumn<int>("punti");
        QTest::addColumn<QList<int>>("sbagliate");
        const QList<int> codes{1, 0, 1, 1, 0, 0, 1, 0, 1, 0};
        QList<int> opposite;
        for (int c : codes)
            opposite << 1 - c;
        QList<int> two = codes;
        two[0] = 0;
        two[9] = 1;
        QTest::newRow("all wrong") << opposite << codes << 0 << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QTest::newRow("first and last wrong") << two << codes << 0 << 8 << QList<int>{1, 10};
        // The caller resets: correggi adds to the score and only ever sets marks.
        QTest::newRow("all right, added to 4") << codes << codes << 4 << 14 << QList<int>{3};
    }
    void correggiScoresAndMarks()
    {
        QFETCH(QList<int>, risposteDate);
        QFETCH(QList<int>, soluzioniGiuste);
        QFETCH(int, prima);
        QFETCH(int, punti);
        QFETCH(QList<int>, sbagliate);
        for (int i = 1; i <= 10; ++i) {
            s->risposte[i] = qint16(risposteDate[i - 1]);
            s->soluzioni[i] = qint16(soluzioniGiuste[i - 1]);
        }
        s->errori[3] = prima ? 1 : 0;
        s->punteggio = qint16(prima);
        s->correggi();
        QCOMPARE(int(s->punteggio), punti);
        for (int i = 1; i <= 10; ++i)
            QCOMPARE(int(s->errori[i]), sbagliate.contains(i) ? 1 : 0);
    }

    void chiedinomeAsks_data()
    {
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<bool>("annullato");
        QTest::addColumn<QString>("nome");
        QTest::newRow("typed, apostrophe") << "D'Amico Lucia" << false << "D'Amico Lucia";
        QTest::newRow("blanks kept") << "  De  Luca Anna " << false << "  De  Luca Anna ";
        QTest::newRow("only blanks stay") << "   " << false << "   ";
        QTest::newRow("nothing typed") << "" << false << "Anonimo";
        QTest::newRow("cancelled") << "Bianchi" << true << "Anonimo";
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
        ui::MessageBox::setNextAnswer(ui::MessageBox::Answer(risposta));
        s->uscita();
        QCOMPARE(TestSupport::fineRichiesta(), fine);
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("sei sicuro di voler uscire dal programma?"));
        QCOMPARE(shown[0].title, QStringLiteral("USCITA MsgBox"));
        QCOMPARE(shown[0].buttons, ui::MessageBox::OkCancel);
    }
};

QTEST_MAIN(TestSessione)
#include "TestSessione.moc"
