#include "TestSupport.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "assessment/FRIsomma.h"
#include "assessment/FSommati.h"
#include "assessment/Sommativo.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QSqlQuery>
#include <QStyle>
#include <QTest>

namespace {
const auto kMancanoRisposte =
    QStringLiteral("Non hai fornito TUTTE LE RISPOSTE.  Prima di continuare, controlla e completa le risposte.");

// The stored summative rows, each as its columns in table order but "data".
QList<QVariantList> righeSalvate(const QString& path)
{
    QList<QVariantList> rows;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(path);
        raw.open();
        QSqlQuery q(QStringLiteral(R"(SELECT "cognome e nome", "punteggio totale", "conscere", "comprendere",
                                      "applicare", "valutazione" FROM "studsomm" ORDER BY rowid)"),
                    raw);
        while (q.next())
            rows << QVariantList{q.value(0).toString(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                                 q.value(4).toInt(), q.value(5).toString()};
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return rows;
}

// Keeps only the first `pagine` pages of the summative bank; with `guasto` the bank loses its checks, as one
// written by another tool, and its page `pagina` (from 1) gets that damage.
void tieniPagine(const QString& path, int pagine, const QString& guasto = {}, int pagina = 1)
{
    QStringList sql;
    if (!guasto.isEmpty())
        sql << QStringLiteral(R"(CREATE TABLE "copia" AS SELECT * FROM "sommativo" ORDER BY rowid)")
            << QStringLiteral(R"(DROP TABLE "sommativo")")
            << QStringLiteral(R"(ALTER TABLE "copia" RENAME TO "sommativo")");
    sql << QStringLiteral(R"(DELETE FROM "sommativo" WHERE rowid NOT IN
                             (SELECT rowid FROM "sommativo" ORDER BY rowid LIMIT %1))")
               .arg(pagine);
    if (!guasto.isEmpty())
        sql << QStringLiteral(R"(UPDATE "sommativo" SET %1 WHERE rowid =
                                 (SELECT rowid FROM "sommativo" ORDER BY rowid LIMIT 1 OFFSET %2))")
                   .arg(guasto)
                   .arg(pagina - 1);
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(path);
        QVERIFY(raw.open());
        QSqlQuery q(raw);
        for (const QString& s : sql)
            QVERIFY2(q.exec(s), qPrintable(s));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

using TestSupport::menu;
FSommati* test()
{
    return qobject_cast<FSommati*>(ui::Screens::instance().find(QStringLiteral("FSommati")));
}
FRIsomma* scheda()
{
    return qobject_cast<FRIsomma*>(ui::Screens::instance().find(QStringLiteral("FRIsomma")));
}

// From the menu (opened first if need be) into the test, typing `nome` into the name box (or cancelling it).
FSommati* apriTest(const QString& nome = QStringLiteral("Rossi Mario"), bool annullato = false)
{
    if (!menu() && !TestSupport::apriMenu())
        return nullptr;
    ui::MessageBox::setNextInput(nome, annullato);
    menu()->sommativo->click();
    return test();
}

// Ticks row `riga` (0-9) right or wrong, as a pupil clicks.
void rispondi(FSommati* f, int riga, bool giusta)
{
    const bool vero = (TestSupport::sessione().soluzioni[riga + 1] == 1) == giusta;
    (vero ? f->Check1 : f->Check2)[riga]->click();
}

// "k+c+a": k right rows among 1-5, c among 6-8, a among 9-10, the others wrong.
void rispondiPagina(FSommati* f, const QString& punti)
{
    const QStringList parti = punti.split(QLatin1Char('+'));
    const int giuste[3] = {parti[0].toInt(), parti[1].toInt(), parti[2].toInt()};
    const int inizio[3] = {0, 5, 8};
    const int righe[3] = {5, 3, 2};
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < righe[c]; ++i)
            rispondi(f, inizio[c] + i, i < giuste[c]);
}
}  // namespace

class TestFSommati : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    // Pages answered with so many right rows per category give these stored percentages and grade.
    void testScoresAndStores_data()
    {
        QTest::addColumn<QStringList>("pagine");     // right rows "k+c+a" of each page
        QTest::addColumn<int>("primaIncompleta");    // a page first sent with row 7 unanswered, or -1
        QTest::addColumn<QList<int>>("percentuali"); // total, knowledge, understanding, application
        QTest::addColumn<QString>("parola");
        QTest::newRow("the worked example: three pages")
            << QStringList{"4+3+1", "5+2+2", "3+1+0"} << -1 << QList<int>{70, 80, 66, 50} << "SUFFICIENTE";
        QTest::newRow("nine right, row 10 wrong")
            << QStringList{"5+3+1"} << -1 << QList<int>{90, 100, 100, 50} << "DISTINTO";
        QTest::newRow("two pages, 7 right rows: 35")
            << QStringList{"4+2+1", "0+0+0"} << -1 << QList<int>{35, 40, 33, 25} << "NON SUFFICIENTE";
        QTest::newRow("two pages, 6 right rows: 30")
            << QStringList{"4+2+0", "0+0+0"} << -1 << QList<int>{30, 40, 33, 0} << "MOLTO INSUFF.";
        QTest::newRow("an unanswered row: message, page not counted")
            << QStringList{"5+3+2", "2+1+1"} << 0 << QList<int>{70, 70, 66, 75} << "SUFFICIENTE";
    }
    void testScoresAndStores()
    {
        QFETCH(QStringList, pagine);
        QFETCH(int, primaIncompleta);
        QFETCH(QList<int>, percentuali);
        QFETCH(QString, parola);
        TestSupport::CartellaProgramma folder;
        tieniPagine(folder.archivio(), pagine.size());
        FSommati* f = apriTest(QStringLiteral("  Bianchi Anna "));
        QVERIFY(f);
        QVERIFY(!f->cmdRISULT->isVisibleTo(f));
        QString primaEtichetta;
        for (int p = 0; p < pagine.size(); ++p) {
            const QString etichetta = f->Text2->text();
            QVERIFY(!etichetta.isEmpty());
            QVERIFY(etichetta != primaEtichetta);
            primaEtichetta = etichetta;
            for (int r = 0; r < 10; ++r) {
                QVERIFY(!f->Text1[r]->text().trimmed().isEmpty());
                QVERIFY(!f->Check1[r]->isChecked() && !f->Check2[r]->isChecked());
            }
            rispondiPagina(f, pagine[p]);
            if (p == primaIncompleta) {
                const bool vero = f->Check1[6]->isChecked();
                (vero ? f->Check1 : f->Check2)[6]->click();  // unticking leaves the row unanswered
                f->cmdAVANTI->click();
                QCOMPARE(f->mancanti(), 1);
                QCOMPARE(ui::MessageBox::shown().last().text, kMancanoRisposte);
                QCOMPARE(int(TestSupport::sessione().numpagine), p);
                QCOMPARE(f->Text2->text(), etichetta);
                (vero ? f->Check1 : f->Check2)[6]->click();
            }
            f->cmdAVANTI->click();
        }
        QCOMPARE(int(TestSupport::sessione().numpagine), pagine.size());
        QCOMPARE(ui::MessageBox::shown().size(), primaIncompleta >= 0 ? 2 : 1);  // the name box, the message

        // The end: graded, stored once, the last page left on screen.
        QCOMPARE(f->cmdAVANTI->caption(), QStringLiteral("IL TEST E' FINITO"));
        QVERIFY(!f->cmdAVANTI->isEnabled());
        QVERIFY(f->cmdRISULT->isVisibleTo(f));
        QCOMPARE(f->Text2->text(), primaEtichetta);
        const QVariantList atteso{QStringLiteral("  Bianchi Anna "), percentuali[0], percentuali[1], percentuali[2],
                                  percentuali[3], parola};
        QCOMPARE(righeSalvate(folder.archivio()), QList<QVariantList>{atteso});
        f->cmdAVANTI->press();  // from the program, after the end: nothing counted or stored again
        QCOMPARE(righeSalvate(folder.archivio()).size(), 1);
        QCOMPARE(int(TestSupport::sessione().numpagine), pagine.size());

        // RISULTATO: the card in front with the stored values, the test gone.
        f->cmdRISULT->click();
        QApplication::processEvents();
        FRIsomma* card = scheda();
        QVERIFY(card);
        QCOMPARE(ui::Screens::instance().front(), card);
        QVERIFY(!test());
        QCOMPARE((QStringList{card->Labnome->caption(), card->LABsomma->caption(), card->LABconosci->caption(),
                              card->LABcomprendi->caption(), card->LABapplica->caption(), card->LABvaluta->caption()}),
                 (QStringList{QStringLiteral("  Bianchi Anna "), QString::number(percentuali[0]),
                              QString::number(percentuali[1]), QString::number(percentuali[2]),
                              QString::number(percentuali[3]), parola}));
    }

    // The stored percentages are the values cut to whole numbers; a division that misses a whole number
    // only by its rounding does not lose a point.
    void percentagesAreCutToWholeNumbers_data()
    {
        QTest::addColumn<int>("pagine");
        QTest::addColumn<QList<int>>("giuste");       // knowledge, understanding, application
        QTest::addColumn<QList<int>>("percentuali");  // total, knowledge, understanding, application
        QTest::addColumn<QString>("parola");
        QTest::newRow("39 pages all right: 100, not 99")
            << 39 << QList<int>{195, 117, 78} << QList<int>{100, 100, 100, 100} << "OTTIMO";
        QTest::newRow("61 pages, 183 right: 30, not 29")
            << 61 << QList<int>{183, 0, 0} << QList<int>{30, 60, 0, 0} << "MOLTO INSUFF.";
    }
    void percentagesAreCutToWholeNumbers()
    {
        QFETCH(int, pagine);
        QFETCH(QList<int>, giuste);
        QFETCH(QList<int>, percentuali);
        QFETCH(QString, parola);
        Sessione& s = TestSupport::sessione();
        Sommativo::inizia(s);
        s.numpagine = qint16(pagine - 1);
        Sommativo::aggiungiPagina(s, {giuste[0], giuste[1], giuste[2]});
        Sommativo::concludi(s);
        QCOMPARE(QList<double>({s.totale, s.conoscere, s.comprendere, s.applicare}),
                 QList<double>({double(percentuali[0]), double(percentuali[1]), double(percentuali[2]),
                                double(percentuali[3])}));
        QCOMPARE(s.valutazione, parola);
    }

    // "Menù" abandons the test: nothing stored, and the next test starts from zero without asking the name.
    void menuAbandonsTheTest()
    {
        TestSupport::CartellaProgramma folder;
        FSommati* f = apriTest();
        QVERIFY(f);
        const QString primaPagina = f->Text2->text();
        rispondiPagina(f, QStringLiteral("5+3+2"));
        f->cmdAVANTI->click();
        rispondiPagina(f, QStringLiteral("1+1+1"));
        QCOMPARE(int(TestSupport::sessione().numpagine), 1);
        f->Command1->click();
        QApplication::processEvents();
        QVERIFY(!test());
        QCOMPARE(ui::Screens::instance().front(), menu());
        QVERIFY(righeSalvate(folder.archivio()).isEmpty());

        f = apriTest(QStringLiteral("Un Altro"));
        QCOMPARE(ui::MessageBox::shown().size(), 1);  // the name was asked once
        QCOMPARE(TestSupport::sessione().nomestudente, QStringLiteral("Rossi Mario"));
        QCOMPARE(int(TestSupport::sessione().numpagine), 0);
        const Sessione& s = TestSupport::sessione();
        QCOMPARE(s.totale + s.conoscere + s.comprendere + s.applicare, 0.0);
        QCOMPARE(f->Text2->text(), primaPagina);
        QCOMPARE(f->cmdAVANTI->caption(), QStringLiteral("  DOMANDE SUCCESSIVE"));
        for (int r = 0; r < 10; ++r)
            QVERIFY(!f->Check1[r]->isChecked() && !f->Check2[r]->isChecked());
    }

    // A cancelled name box stores and shows the result under "Anonimo". A row the archive refuses is reported,
    // and neither the test nor the card passes it off as stored; "Riprova" stores it once the archive takes
    // it again. The card leads back to the menu.
    void storedAndShown_data()
    {
        QTest::addColumn<bool>("annullato");
        QTest::addColumn<int>("riprova");  // -1: the archive takes the row at once
        QTest::newRow("name cancelled") << true << -1;
        QTest::newRow("refused, Continua") << false << 0;
        QTest::newRow("stored at the second Riprova") << false << 2;
    }
    void storedAndShown()
    {
        QFETCH(bool, annullato);
        QFETCH(int, riprova);
        const QString nome = annullato ? QStringLiteral("Anonimo") : QStringLiteral("Verdi");
        TestSupport::CartellaProgramma folder;
        tieniPagine(folder.archivio(), 1);
        FSommati* f = apriTest(QStringLiteral("Verdi"), annullato);
        QVERIFY(f);
        rispondiPagina(f, QStringLiteral("5+3+2"));
        if (riprova >= 0)
            TestSupport::rifiutaFinoARiprova(folder.archivio(), QStringLiteral("studsomm"), riprova);
        f->cmdAVANTI->click();
        const int rifiuti = riprova < 0 ? 0 : qMax(riprova, 1);
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1 + rifiuti);  // the name, then the boxes about the refusal
        QCOMPARE(TestSupport::richiesteDiRiprovare(), rifiuti);
        if (rifiuti)
            QVERIFY2(shown[1].text.contains(QStringLiteral("il risultato del test sommativo NON è stato salvato")),
                     qPrintable(shown[1].text));
        QCOMPARE(TestSupport::sessione().sommativoSalvato, riprova != 0);
        const auto righe = righeSalvate(folder.archivio());
        QCOMPARE(righe.size(), riprova != 0 ? 1 : 0);
        QCOMPARE(righe.value(0).value(0).toString(), riprova != 0 ? nome : QString());
        f->cmdRISULT->click();
        QApplication::processEvents();
        QCOMPARE(scheda()->Labnome->caption(), nome);
        QCOMPARE(scheda()->LABsomma->caption(), QStringLiteral("100"));
        QCOMPARE(scheda()->lblnonsalvato->isVisibleTo(scheda()), riprova == 0);
        QCOMPARE(scheda()->cmdlista->caption(), QStringLiteral("MOSTRA  L'ARCHIVIO "));
        if (riprova == 0)
            TestSupport::fotografa(scheda()->window(), QStringLiteral("FRIsomma-non-salvato"));
        scheda()->cmdscegliarg->click();
        QApplication::processEvents();
        QVERIFY(!scheda());
        QCOMPARE(ui::Screens::instance().front(), menu());
    }

    // A damaged page (a missing statement, an answer code that is neither 1 nor 0) is named and left
    // out: it counts neither in the answers nor in the maximum.
    void damagedPageIsLeftOut_data()
    {
        QTest::addColumn<QString>("guasto");   // the column and value written into the damaged page
        QTest::addColumn<int>("pagina");       // which of three pages, from 1
        QTest::newRow("missing statement, first page") << R"("dom3" = NULL)" << 1;
        QTest::newRow("blank statement, middle page") << R"("dom7" = '   ')" << 2;
        QTest::newRow("code 2, middle page") << R"("ris5" = 2)" << 2;
        QTest::newRow("missing code, last page") << R"("ris10" = NULL)" << 3;
    }
    void damagedPageIsLeftOut()
    {
        QFETCH(QString, guasto);
        QFETCH(int, pagina);
        TestSupport::CartellaProgramma folder;
        tieniPagine(folder.archivio(), 3, guasto, pagina);
        FSommati* f = apriTest();
        QVERIFY(f);
        for (int p = 0; p < 2; ++p) {
            rispondiPagina(f, QStringLiteral("5+3+2"));
            f->cmdAVANTI->click();
        }
        QCOMPARE(int(TestSupport::sessione().numpagine), 2);
        QVERIFY(f->cmdRISULT->isVisibleTo(f));
        QCOMPARE(righeSalvate(folder.archivio()).value(0).mid(1),
                 (QVariantList{100, 100, 100, 100, QStringLiteral("OTTIMO")}));
        QStringList avvisi;
        for (const auto& box : ui::MessageBox::shown())
            if (!box.isInput)
                avvisi << box.text;
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].startsWith(QStringLiteral("La pagina %1 della tabella di domande \"sommativo\" non si può usare")
                                          .arg(pagina)),
                 qPrintable(avvisi[0]));
    }

    // Without pages the test cannot start: the pupil is told, no name is asked, the menu stays.
    void emptyBankKeepsTheMenu()
    {
        TestSupport::CartellaProgramma folder;
        tieniPagine(folder.archivio(), 0);
        QVERIFY(TestSupport::apriMenu());
        menu()->sommativo->click();
        QApplication::processEvents();
        QVERIFY(!test());
        QCOMPARE(ui::Screens::instance().front(), menu());
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(!shown[0].isInput);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("Il test sommativo non si può fare")));
        QVERIFY(TestSupport::sessione().nomestudente.isEmpty());
    }

    // A page from the keyboard: digits choose a row, V and F answer it, Enter goes on; Enter with rows
    // unanswered goes to the first of them, without a message.
    void keyboardTakesTheTest()
    {
        TestSupport::CartellaProgramma folder;
        tieniPagine(folder.archivio(), 1);
        FSommati* f = apriTest();
        QVERIFY(f);
        auto tasto = [f](int key) { QTest::keyClick(f->focusWidget() ? f->focusWidget() : f, Qt::Key(key)); };
        QTest::keyClick(f->cmdAVANTI, Qt::Key_3);
        QCOMPARE(f->focusWidget(), f->Check1[2]);
        tasto(Qt::Key_F);
        QVERIFY(f->Check2[2]->isChecked());
        QCOMPARE(f->focusWidget(), f->Check1[3]);
        tasto(Qt::Key_Return);
        QCOMPARE(f->focusWidget(), f->Check1[0]);
        QCOMPARE(ui::MessageBox::shown().size(), 1);
        for (int r = 0; r < 10; ++r)
            tasto(TestSupport::sessione().soluzioni[r + 1] == 1 ? Qt::Key_V : Qt::Key_F);
        QCOMPARE(f->focusWidget(), f->cmdAVANTI);
        tasto(Qt::Key_Return);
        QCOMPARE(righeSalvate(folder.archivio()).value(0).value(1).toInt(), 100);
    }

    // The fixed texts of the card keep a blank gap for each value; the value box lies inside it.
    void valueBoxesSitInTheirGaps_data()
    {
        QTest::addColumn<QSize>("finestra");
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1366x768") << QSize(1366, 768);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }
    void valueBoxesSitInTheirGaps()
    {
        QFETCH(QSize, finestra);
        TestSupport::CartellaProgramma folder(true, true);
        QVERIFY(TestSupport::apriMenu());
        TestSupport::sessione().nomestudente = QStringLiteral("Esposito Gennaro");
        TestSupport::sessione().totale = 100;
        TestSupport::sessione().valutazione = QStringLiteral("NON SUFFICIENTE");
        ui::Screens::instance().show(QStringLiteral("FRIsomma"));
        FRIsomma* card = scheda();
        card->window()->resize(finestra);
        QApplication::processEvents();
        const std::pair<ui::Label*, ui::Label*> coppie[] = {{card->lblsomma, card->LABsomma},
                                                           {card->lblconsci, card->LABconosci},
                                                           {card->lblcomprendi, card->LABcomprendi},
                                                           {card->lblapplica, card->LABapplica},
                                                           {card->lblvaluta, card->LABvaluta}};
        for (const auto& [testo, casella] : coppie) {
            const QFontMetricsF fm(testo->font());
            const QString caption = testo->caption();
            const QString prima = caption.left(caption.indexOf(QLatin1String(":")) + 1);
            int spazi = 0;  // the gap: the blanks after the colon
            while (prima.size() + spazi < caption.size() && caption[prima.size() + spazi] == QLatin1Char(' '))
                ++spazi;
            const double fineTesto = testo->x() + fm.horizontalAdvance(prima);
            const double fineSpazio = testo->x() + fm.horizontalAdvance(prima + QString(spazi, QLatin1Char(' ')));
            const QRect box = casella->geometry();
            QVERIFY2(fineTesto <= box.left(), qPrintable(testo->objectName()));
            if (spazi > 0)
                QVERIFY2(fineSpazio >= box.left() + box.width(), qPrintable(testo->objectName()));
            QCOMPARE(box.top(), testo->y());
            QCOMPARE(box.height(), testo->height());
            // The value itself fits its box.
            QVERIFY2(QFontMetricsF(casella->font()).horizontalAdvance(casella->text()) <= box.width(),
                     qPrintable(casella->objectName()));
        }
        QVERIFY(card->Image1->image().width() > 1);  // the picture itself, not the plain colour without it
        TestSupport::fotografa(card->window(),
                               QStringLiteral("FRIsomma-%1x%2").arg(finestra.width()).arg(finestra.height()));
    }

    // The bank covers the course, and every statement shows whole in its row at every window size.
    void bankStatementsFitTheirRows_data() { valueBoxesSitInTheirGaps_data(); }
    void bankStatementsFitTheirRows()
    {
        QFETCH(QSize, finestra);
        TestSupport::CartellaProgramma folder(true, true);
        FSommati* f = apriTest();
        QVERIFY(f);
        f->window()->resize(finestra);
        QApplication::processEvents();
        auto spazio = [](const ui::TextBox* t) {
            const int cornice = t->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, t);
            return t->width() - 2 * cornice - 4;  // the line edit's own margin, 2 pixels a side
        };
        int pagine = 0;
        while (f->cmdAVANTI->isEnabled()) {
            ++pagine;
            QVERIFY2(QFontMetricsF(f->Text2->font()).horizontalAdvance(f->Text2->text()) <= spazio(f->Text2),
                     qPrintable(f->Text2->text()));
            for (int r = 0; r < 10; ++r) {
                const QString s = f->Text1[r]->text();
                QVERIFY2(QFontMetricsF(f->Text1[r]->font()).horizontalAdvance(s) <= spazio(f->Text1[r]), qPrintable(s));
            }
            rispondiPagina(f, QStringLiteral("5+3+2"));
            if (pagine == 1)
                TestSupport::fotografa(f->window(),
                                       QStringLiteral("FSommati-%1x%2").arg(finestra.width()).arg(finestra.height()));
            f->cmdAVANTI->click();
        }
        QVERIFY2(pagine >= 6, "the summative test covers the course in at least six pages");
    }
};

QTEST_MAIN(TestFSommati)
#include "TestFSommati.moc"
