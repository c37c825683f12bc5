// The animated synthesis on screen: the route from the menu and back, the timers fired by hand, the
// close-ups and the tests they lead to, the end, the correction on the labels and the rows stored.
#include "TestSupport.h"

#include "animation/Fsintesi.h"
#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "ui/MessageBox.h"
#include "ui/Pictures.h"
#include "ui/Screens.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageWriter>
#include <QSqlQuery>
#include <QTest>

namespace {
const QString kNome = QStringLiteral("Rossi Maria");
const QString kFine = QStringLiteral("L'esercitazione è teminata....");

using TestSupport::menu;

// The pupil presses the synthesis button of the menu.
Fsintesi* apri()
{
    menu()->cmdsinteanim->click();
    return qobject_cast<Fsintesi*>(ui::Screens::instance().find(QStringLiteral("Fsintesi")));
}

// The pupil opens the synthesis for the first time and types the name.
Fsintesi* avvia()
{
    ui::MessageBox::setNextInput(kNome);
    return apri();
}

using TestSupport::secondi;

bool inProva(Fsintesi* f)
{
    return f->Frame1.isVisible() && SerieSintesi::provaA(f->serie().fotogramma()) != 0
           && !f->Timer1->isEnabled() && !f->Timer2->isEnabled();
}

// Runs the clock until the test of sequence `n` opens, going on after the tests before it.
bool finoAllaProva(Fsintesi* f, int n)
{
    for (int guard = 0; guard < 300; ++guard) {
        if (inProva(f)) {
            if (SerieSintesi::provaA(f->serie().fotogramma()) == n)
                return true;
            f->CmdContinuo->click();
        }
        secondi(f, 1);
    }
    return false;
}

// Clicks the labels whose statement is true (or false), at most `quante`.
void segna(Fsintesi* f, bool vere, int quante = 12)
{
    for (int i = 0; i < 12 && quante > 0; ++i)
        if (f->prova().esattaMostrata(i) == vere) {
            QTest::mouseClick(f->Label11[i], Qt::LeftButton);
            --quante;
        }
}

int colorate(Fsintesi* f, const QColor& colore)
{
    return int(std::count_if(f->Label11.cbegin(), f->Label11.cend(),
                             [&](auto* l) { return l->backColor() == colore; }));
}

// The rows of "studenti" in the file, as "name|topic|points|maximum".
QStringList righe()
{
    QStringList out;
    for (const auto& r : TestSupport::righeStudenti(TestSupport::sessione().dbcorso->connection().databaseName()))
        out << QStringLiteral("%1|%2|%3|%4").arg(r.nome, r.argomento).arg(r.punteggio).arg(r.maxpunti);
    return out;
}

QString totaliMostrati(Fsintesi* f)
{
    return f->LabTotPunti->caption() + QLatin1Char('/') + f->LabTotMax->caption();
}

QString riga(int punti, int max)
{
    return QStringLiteral("%1|Animazione finale|%2|%3").arg(kNome).arg(punti).arg(max);
}

// Every picture of the exercise in the order of the series and of the close-ups, each file once.
QStringList tutteLeImmagini()
{
    QStringList nomi;
    for (int fr = 1; fr <= SerieSintesi::numfotogrammi; ++fr)
        if (!nomi.contains(SerieSintesi::fotogrammi(fr)))
            nomi << SerieSintesi::fotogrammi(fr);
    return nomi + SerieSintesi::avvici() + SerieSintesi::oceoce() + SerieSintesi::allontan();
}

// Picture k is one flat colour that spells k in steps of 32 per channel, read back after JPEG and scaling.
QColor coloreDi(int k)
{
    return QColor(16 + 32 * (k % 8), 16 + 32 * (k / 8 % 8), 16 + 32 * (k / 64));
}

// The pictures as small JPEGs (read by content, ".gif" names too), each in the shape it is shown in.
void scriviImmagini()
{
    const QStringList nomi = tutteLeImmagini();
    for (int k = 0; k < nomi.size(); ++k) {
        const bool ingrandimento = nomi.at(k).endsWith(QLatin1String(".jpg"));
        QImage image(ingrandimento ? QSize(448, 135) : QSize(320, 230), QImage::Format_RGB32);
        image.fill(coloreDi(k));
        const QString path = ui::Pictures::locate(nomi.at(k));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImageWriter(path, "jpeg").write(image);
    }
}

// What a picture control shows agrees with the file it names, prepared at the size it is shown.
QString coerente(const ui::Picture* image)
{
    const QStringList nomi = tutteLeImmagini();
    const int k = int(nomi.indexOf(image->fileName()));
    if (k < 0 || image->image().isNull())
        return QStringLiteral("%1: no picture").arg(image->fileName());
    const QColor c = image->image().pixelColor(image->image().width() / 2, image->image().height() / 2);
    const int best = c.red() / 32 + 8 * (c.green() / 32) + 64 * (c.blue() / 32);
    if (best != k)
        return QStringLiteral("%1 shows %2").arg(image->fileName(), nomi.value(best));
    if (image->image().size() != image->size())
        return QStringLiteral("%1 prepared at another size").arg(image->fileName());
    return {};
}
}  // namespace

class TestFsintesi : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        TestSupport::prepara();
        m_cartella = std::make_unique<TestSupport::CartellaProgramma>();
        QVERIFY(TestSupport::apriMenu());
    }
    void cleanup()
    {
        m_cartella.reset();
        TestSupport::chiudiTutto();
    }

    void openingAndTheFirstTest_data()
    {
        QTest::addColumn<QString>("giaNoto");
        QTest::addColumn<bool>("annullato");
        QTest::addColumn<QString>("nome");
        QTest::newRow("name typed") << "" << false << kNome;
        QTest::newRow("name box cancelled") << "" << true << "Anonimo";
        QTest::newRow("name already known") << "Bianchi Luca" << false << "Bianchi Luca";
    }
    // Opened from the menu, the name asked unless known; left alone, the first test opens after 30 seconds,
    // and the missing pictures stay empty while the exercise goes on.
    void openingAndTheFirstTest()
    {
        QFETCH(QString, giaNoto);
        QFETCH(bool, annullato);
        QFETCH(QString, nome);
        TestSupport::sessione().nomestudente = giaNoto;
        ui::MessageBox::setNextInput(kNome, annullato);
        Fsintesi* f = apri();
        QCOMPARE(ui::Screens::instance().visibleScreens(), QStringList{QStringLiteral("Fsintesi")});
        QCOMPARE(TestSupport::sessione().nomestudente, nome);
        QCOMPARE(ui::MessageBox::shown().size(), giaNoto.isEmpty() ? 1 : 0);
        QCOMPARE(f->window()->windowTitle(), QStringLiteral("Form1"));
        QVERIFY(f->Timer1->isEnabled() && !f->Timer2->isEnabled());
        QCOMPARE(f->Timer1->interval(), 1000);
        QCOMPARE(f->Timer2->interval(), 1000);
        QVERIFY(!f->Frame1.isVisible() && !f->Frame2.isVisible());
        QVERIFY(!f->Image2->isVisible() && !f->CmdRicomincio->isVisible());
        secondi(f, 29);
        QVERIFY(!f->Frame1.isVisible());
        secondi(f, 1);
        QCOMPARE(f->serie().fotogramma(), 30);
        QVERIFY(inProva(f) && f->Frame2.isVisible() && f->CmdCorreggi->isEnabled());
        QVERIFY(f->Image1->image().isNull());
        QCOMPARE(f->Label2->caption(), QStringLiteral("In questa sequenza, senza animazione, ho visto che..."));
        QCOMPARE(f->LabNumero->caption(), QStringLiteral("6"));
        for (int i = 0; i < 12; ++i)
            QCOMPARE(f->Label11[i]->caption(), f->prova().mostrata(i));
        f->CmdContinuo->click();
        QVERIFY(!f->Frame1.isVisible() && !f->Frame2.isVisible());
        secondi(f, 1);
        QCOMPARE(f->Image1->fileName(), QStringLiteral("immagini\\New-15b.gif"));
    }

    void designedShapeAndTextsThatFit_data()
    {
        QTest::addColumn<QSize>("finestra");
        QTest::newRow("800 x 600") << QSize(800, 600);
        QTest::newRow("1366 x 768") << QSize(1366, 768);
        QTest::newRow("1920 x 1080") << QSize(1920, 1080);
        QTest::newRow("1024 x 1024, bound by the width") << QSize(1024, 1024);
    }
    // Scaled as a whole into the window, every statement, lead-in and instruction is read whole at every size.
    void designedShapeAndTextsThatFit()
    {
        QFETCH(QSize, finestra);
        Fsintesi* f = avvia();
        f->window()->resize(finestra);
        QCoreApplication::processEvents();
        const double scala = f->scala().factor();
        QCOMPARE(scala, std::min(finestra.width() / 793.0, finestra.height() / 600.0));
        QCOMPARE(f->Image1->geometry().size(), QSize(qRound(551 * scala), qRound(396 * scala)));
        auto entra = [](ui::Label* l, const QString& text) {
            const int m = l->margin();
            const QRect room = l->contentsRect().adjusted(m, m, -m, -m);
            const QRect needed = QFontMetrics(l->font()).boundingRect(QRect(0, 0, room.width(), 100000),
                                                                      Qt::TextWordWrap, text);
            if (needed.height() > room.height() || needed.width() > room.width())
                qWarning("%s: %d x %d px needed, %d x %d there: %s", qPrintable(l->objectName()), needed.width(),
                         needed.height(), room.width(), room.height(), qPrintable(text));
            return needed.height() <= room.height() && needed.width() <= room.width();
        };
        for (int n = 1; n <= 4; ++n) {
            for (const auto& a : ProvaSintesi::tabella(n).affermazioni)
                for (ui::Label* l : f->Label11)
                    QVERIFY(entra(l, a.testo));
            QVERIFY(entra(f->Label2, ProvaSintesi::tabella(n).introduzione));
        }
        for (ui::Label* l : {f->Label3, f->Label4, f->Label8, f->Label5, f->Label6})
            QVERIFY(entra(l, l->text()));
    }

    void closeUpBeforeTheTest_data()
    {
        QTest::addColumn<int>("prova");
        QTest::addColumn<int>("inizio");
        QTest::addColumn<int>("quante");
        QTest::newRow("sequence 2") << 2 << 44 << 12;
        QTest::newRow("sequence 3") << 3 << 50 << 11;
        QTest::newRow("sequence 4") << 4 << 58 << 14;
    }
    // The close-up plays in Image2 while the series waits; Image2 hides a second after it, the test a second later.
    void closeUpBeforeTheTest()
    {
        QFETCH(int, prova);
        QFETCH(int, inizio);
        QFETCH(int, quante);
        Fsintesi* f = avvia();
        QVERIFY(finoAllaProva(f, prova - 1));
        f->CmdContinuo->click();
        while (f->serie().fotogramma() < inizio)
            secondi(f, 1);
        QVERIFY(f->Image2->isVisible() && f->Timer2->isEnabled() && !f->Timer1->isEnabled());
        QCOMPARE(f->designRect(f->Image2), QRect(1200, 240, 4095, 3735));
        secondi(f, quante);
        QVERIFY(f->Image2->isVisible());
        QCOMPARE(f->Image2->fileName(), SerieSintesi::ingrandimentoA(inizio).last());
        secondi(f, 1);
        QVERIFY(!f->Image2->isVisible() && !f->Frame1.isVisible());
        secondi(f, 1);
        QCOMPARE(f->serie().fotogramma(), inizio + 1);
        QVERIFY(inProva(f));
        QCOMPARE(f->LabNumero->caption(), QStringLiteral("7"));
    }

    void replayTheSequence_data()
    {
        QTest::addColumn<int>("prova");
        QTest::addColumn<int>("ripresa");
        QTest::addColumn<int>("secondiAlTest");  // from the click to the test, close-up included
        QTest::addColumn<int>("seconda");  // points of the correction during the replay: one false marked
        QTest::addColumn<QString>("totali");
        QTest::addColumn<bool>("menu");  // "Menù" and back instead of "Rivedo"
        QTest::newRow("sequence 1") << 1 << 2 << 29 << 5 << "13/24" << false;
        QTest::newRow("sequence 2") << 2 << 32 << 13 + 13 + 1 << 4 << "11/24" << false;
        QTest::newRow("sequence 3, Menù and back") << 3 << 47 << 4 + 12 + 1 << 4 << "11/24" << true;
        QTest::newRow("sequence 4") << 4 << 53 << 6 + 15 + 1 << 4 << "11/24" << false;
    }
    // "Rivedo", or "Menù" and back: neutral statements, panels and totals kept, the sequence again from its
    // second frame to the same test; a correction in the replay counts on its own; nothing runs behind the menu.
    void replayTheSequence()
    {
        QFETCH(int, prova);
        QFETCH(int, ripresa);
        QFETCH(int, secondiAlTest);
        QFETCH(int, seconda);
        QFETCH(QString, totali);
        QFETCH(bool, menu);
        Fsintesi* f = avvia();
        QVERIFY(finoAllaProva(f, prova));
        segna(f, true, 2);
        f->CmdCorreggi->click();
        (menu ? f->Cmdmenu : f->Cmdrivedo)->click();
        QCOMPARE(colorate(f, Fsintesi::coloreNeutro), 12);
        if (menu) {
            QCOMPARE(righe().size(), 1);
            secondi(f, 10);
            QCOMPARE(f->serie().fotogramma(), ripresa - 1);
            QCOMPARE(apri(), f);
            QCOMPARE(ui::MessageBox::shown().size(), 1);  // the name was asked once only
        }
        secondi(f, 1);
        QCOMPARE(f->serie().fotogramma(), ripresa);
        QVERIFY(f->CmdCorreggi->isEnabled() && f->Frame1.isVisible() && f->Frame2.isVisible());
        segna(f, false, 1);
        f->CmdCorreggi->click();
        QCOMPARE(f->LabPunti->caption(), QString::number(seconda));
        QCOMPARE(totaliMostrati(f), totali);
        secondi(f, secondiAlTest - 2);
        QVERIFY(!inProva(f));
        secondi(f, 1);
        QVERIFY(inProva(f) && f->CmdCorreggi->isEnabled());
        QCOMPARE(SerieSintesi::provaA(f->serie().fotogramma()), prova);
        QCOMPARE(righe().size(), menu ? 1 : 0);
    }

    void correction_data()
    {
        QTest::addColumn<int>("prova");
        QTest::addColumn<int>("vere");
        QTest::addColumn<int>("false_");
        QTest::addColumn<bool>("togliUna");
        QTest::addColumn<int>("verdi");
        QTest::addColumn<int>("blu");
        QTest::newRow("the six true of test 1") << 1 << 6 << 0 << false << 12 << 0;
        QTest::newRow("one false of test 2") << 2 << 0 << 1 << false << 4 << 1;
        QTest::newRow("nothing marked") << 1 << 0 << 0 << false << 0 << 0;
        QTest::newRow("one marked and unmarked") << 1 << 0 << 0 << true << 0 << 0;
    }
    // Green for every statement judged rightly, the errors left in sight; with nothing marked, only a message.
    void correction()
    {
        QFETCH(int, prova);
        QFETCH(int, vere);
        QFETCH(int, false_);
        QFETCH(bool, togliUna);
        QFETCH(int, verdi);
        QFETCH(int, blu);
        Fsintesi* f = avvia();
        QVERIFY(finoAllaProva(f, prova));
        segna(f, true, vere);
        segna(f, false, false_);
        if (togliUna) {
            QTest::mouseClick(f->Label11[4], Qt::LeftButton);
            QCOMPARE(f->Label11[4]->backColor(), Fsintesi::coloreSegnato);
            QTest::mouseClick(f->Label11[4], Qt::LeftButton);
        }
        ui::MessageBox::clear();
        f->CmdCorreggi->click();
        const bool niente = vere + false_ == 0;
        QCOMPARE(ui::MessageBox::shown().size(), niente ? 1 : 0);
        if (niente)
            QCOMPARE(ui::MessageBox::shown()[0].text, QStringLiteral("Non c'è niente da correggere.."));
        QCOMPARE(colorate(f, Fsintesi::coloreGiusto), verdi);
        QCOMPARE(colorate(f, Fsintesi::coloreSegnato), blu);
        QCOMPARE(f->LabPunti->caption(), QString::number(verdi));
        QCOMPARE(f->LabTotPunti->caption(), QString::number(verdi));
        QCOMPARE(f->LabTotMax->caption(), niente ? QStringLiteral("0") : QStringLiteral("12"));
        QCOMPARE(f->CmdCorreggi->isEnabled(), niente);
        QTest::mouseClick(f->Label11[0], Qt::LeftButton);  // green stays green
        if (verdi == 12)
            QCOMPARE(f->Label11[0]->backColor(), Fsintesi::coloreGiusto);
    }

    void leaving_data()
    {
        QTest::addColumn<int>("corrette");  // tests corrected before leaving
        QTest::addColumn<bool>("esco");
        QTest::addColumn<bool>("conferma");
        QTest::addColumn<int>("riprova");  // "Riprova" answers before the archive takes the row; -1: never
        QTest::newRow("four corrected, Menù") << 4 << false << false << 0;
        QTest::newRow("none corrected, Menù") << 0 << false << false << 0;
        QTest::newRow("none corrected, Esco") << 0 << true << true << 0;
        QTest::newRow("one corrected, Esco declined") << 1 << true << false << 0;
        QTest::newRow("one corrected, Menù, archive refusing") << 1 << false << false << -1;
        QTest::newRow("one corrected, Menù, Riprova stores it") << 1 << false << false << 3;
    }
    // Leaving stores the sum and 12 per correction, if any; a row that cannot be written is reported.
    void leaving()
    {
        QFETCH(int, corrette);
        QFETCH(bool, esco);
        QFETCH(bool, conferma);
        QFETCH(int, riprova);
        Fsintesi* f = avvia();
        int somma = 0;
        for (int n = 1; n <= 4; ++n) {
            QVERIFY(finoAllaProva(f, n));
            segna(f, true, n);
            if (n <= corrette) {
                f->CmdCorreggi->click();
                somma += f->LabPunti->caption().toInt();
            }
        }
        QCOMPARE(f->LabTotMax->caption(), QString::number(12 * corrette));
        ui::MessageBox::clear();
        QSqlDatabase db = TestSupport::sessione().dbcorso->connection();
        if (riprova < 0)
            QSqlQuery(QStringLiteral("PRAGMA query_only = ON"), db);
        else if (riprova > 0)
            TestSupport::rifiutaFinoARiprova(m_cartella->archivio(), QStringLiteral("studenti"), riprova);
        if (esco) {
            ui::MessageBox::setNextAnswer(conferma ? ui::MessageBox::AnswerOk : ui::MessageBox::AnswerCancel);
            f->CmdEsco->click();
            QCOMPARE(ui::MessageBox::shown().last().title, QStringLiteral("USCITA MsgBox"));
            QCOMPARE(ui::Screens::instance().front(), f);
        } else {
            f->Cmdmenu->click();
            QCOMPARE(ui::Screens::instance().front(), menu());
        }
        QCOMPARE(TestSupport::fineRichiesta(), conferma ? 1 : 0);
        QCOMPARE(TestSupport::richiesteDiRiprovare(), riprova < 0 ? 1 : riprova);
        if (riprova < 0) {
            QCOMPARE(ui::MessageBox::shown().size(), 1);
            QVERIFY(ui::MessageBox::shown()[0].text.contains(QStringLiteral("NON è stato salvato")));
            QSqlQuery(QStringLiteral("PRAGMA query_only = OFF"), db);
        }
        QCOMPARE(righe(), corrette && riprova >= 0 ? QStringList{riga(somma, 12 * corrette)} : QStringList{});
    }

    void closeUpCutShort_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<int>("fotogramma");  // one second after the click (after coming back for Menù)
        QTest::newRow("Menù") << "Cmdmenu" << 32;
        QTest::newRow("Continuo during a replay") << "CmdContinuo" << 45;
        QTest::newRow("Rivedo during a replay") << "Cmdrivedo" << 32;
    }
    // Leaving, resuming or replaying ends a close-up: one timer at a time, and no test passed by.
    void closeUpCutShort()
    {
        QFETCH(QString, pulsante);
        QFETCH(int, fotogramma);
        Fsintesi* f = avvia();
        QVERIFY(finoAllaProva(f, 2));
        f->Cmdrivedo->click();
        secondi(f, 13 + 3);
        QVERIFY(f->Timer2->isEnabled());
        f->findChild<ui::Button*>(pulsante)->click();
        QVERIFY(!f->Timer2->isEnabled() && !f->Image2->isVisible());
        if (pulsante == QLatin1String("Cmdmenu")) {
            QVERIFY(!f->Timer1->isEnabled());
            apri();
        }
        secondi(f, 1);
        QCOMPARE(f->serie().fotogramma(), fotogramma);
        QCOMPARE(inProva(f), fotogramma == 45);
    }

    // The end at frame 62, kept across the menu; "Ricomincio" clears the totals for the next stored row.
    void endReopenAndStartAgain()
    {
        Fsintesi* f = avvia();
        QVERIFY(finoAllaProva(f, 4));
        segna(f, true);
        f->CmdCorreggi->click();
        f->CmdContinuo->click();
        secondi(f, 3);
        QCOMPARE(f->Image1->fileName(), QStringLiteral("immagini\\New-45.gif"));
        QCOMPARE(f->Label1->caption(), kFine);
        QVERIFY(f->CmdRicomincio->isVisible() && !f->Timer1->isEnabled());
        f->Cmdmenu->click();
        QCOMPARE(f->Label1->caption(), Fsintesi::titolo());
        apri();
        secondi(f, 1);
        QCOMPARE(f->serie().fotogramma(), 62);
        QCOMPARE(f->Label1->caption(), kFine);
        QVERIFY(f->CmdRicomincio->isVisible() && !f->Timer1->isEnabled());
        f->CmdRicomincio->click();
        QCOMPARE(totaliMostrati(f), QStringLiteral("0/0"));
        QCOMPARE(f->Label1->caption(), Fsintesi::titolo());
        QVERIFY(!f->CmdRicomincio->isVisible());
        secondi(f, 1);
        QCOMPARE(f->serie().fotogramma(), 1);
        QVERIFY(finoAllaProva(f, 1));
        segna(f, false, 2);
        f->CmdCorreggi->click();
        f->Cmdmenu->click();
        QCOMPARE(righe(), (QStringList{riga(12, 12), riga(4, 12)}));
    }

    // Every second shows the frame the series names, prepared or caught mid-way. T seconds until a test or
    // the end, sN N seconds, c "Continuo...", v "Rivedo", x "Menù" and back. A bad picture stays empty with
    // one line on stderr per tick that shows it (none while only prepared), and the series goes on.
    void readAheadFollowsTheSeries_data()
    {
        QTest::addColumn<QString>("passi");
        QTest::addColumn<bool>("attendi");
        QTest::addColumn<QString>("guasta");
        QTest::addColumn<bool>("rotta");
        QTest::addColumn<int>("volte");  // ticks that show it
        for (bool attendi : {true, false}) {
            const char* come = attendi ? "prepared" : "caught mid-way";
            for (const auto& [nome, passi] :
                 {std::pair{"the whole exercise with a replay", "T c T v T c T c T"},
                  {"menu in the middle of close-ups", "T c s14 x T c s4 x s1 x T c s10 x T"},
                  {"menu in the series, start again at the end", "s7 x s3 T c T c T c T c T x s1"}})
                QTest::addRow("%s, %s", nome, come) << QString::fromLatin1(passi) << attendi << QString() << false << 0;
            for (const auto& [riga, guasta, volte] :
                 {std::tuple{"series", "immagini\\New-5.gif", 2}, {"close-up", "immagini\\avvici\\avvic4.jpg", 1}})
                for (bool rotta : {false, true})
                    QTest::addRow("%s picture %s, %s", riga, rotta ? "broken" : "missing", come)
                        << QStringLiteral("T c T c s1") << attendi << QString::fromLatin1(guasta) << rotta << volte;
        }
    }
    void readAheadFollowsTheSeries()
    {
        QFETCH(QString, passi);
        QFETCH(bool, attendi);
        QFETCH(QString, guasta);
        QFETCH(bool, rotta);
        QFETCH(int, volte);
        scriviImmagini();
        if (!guasta.isEmpty()) {
            QFile file(ui::Pictures::locate(guasta));
            QVERIFY(file.remove());
            if (rotta)
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write("GIF89a non una figura") > 0);
        }
        const QString quale = QFileInfo(QString(guasta).replace(QLatin1Char('\\'), QLatin1Char('/'))).completeBaseName();
        menu()->window()->resize(1280, 800);
        Fsintesi* f = avvia();
        TestSupport::Stderr err;
        int secondiVisti = 0, mostrata = 0;
        auto unSecondo = [&] {
            if (attendi) {
                QVERIFY(ui::Pictures::ReadAhead::waitForIdle(10000));
                QCOMPARE(err.righe(), QStringList());
            }
            ui::Picture* image = f->Timer1->isEnabled() ? f->Image1 : f->Image2;  // the one this tick loads
            secondi(f, 1);
            ++secondiVisti;
            const QStringList righe = err.righe();
            QCOMPARE(f->Image1->fileName(), SerieSintesi::fotogrammi(f->serie().fotogramma()));
            if (f->Image2->isVisible())
                QCOMPARE(f->Image2->fileName(),
                         SerieSintesi::ingrandimentoA(f->serie().fotogramma()).value(std::max(0, f->serie().contingrandimento() - 1)));
            if (image->fileName() == guasta) {
                ++mostrata;
                QVERIFY(image->image().isNull());
                QCOMPARE(righe.size(), 1);
                QVERIFY2(righe.first().contains(rotta ? QStringLiteral("illeggibile") : QStringLiteral("non trovata")),
                         qPrintable(righe.first()));
                QVERIFY2(righe.first().contains(quale), qPrintable(righe.first()));
            } else {
                QCOMPARE(righe, QStringList());
                for (ui::Picture* p : {f->Image1, f->Image2})
                    if (p->fileName() != guasta && (p == f->Image1 || p->isVisible()))
                        QCOMPARE(coerente(p), QString());
            }
            QVERIFY(f->anticipoSerie().pending().size() <= 2 && f->anticipoIngrandimento().pending().size() <= 2);
        };
        for (const QString& passo : passi.split(QLatin1Char(' '))) {
            if (passo == QLatin1String("T")) {
                for (int guard = 0; guard < 100 && f->Timer1->isEnabled() + f->Timer2->isEnabled() > 0; ++guard)
                    unSecondo();
                QVERIFY(inProva(f) || f->CmdRicomincio->isVisible());
                // Standing still for a test, nothing is prepared until the pupil goes on.
                if (inProva(f))
                    QVERIFY(f->anticipoSerie().pending().isEmpty());
            } else if (passo.startsWith(QLatin1Char('s'))) {
                for (int i = 0; i < passo.mid(1).toInt(); ++i)
                    unSecondo();
            } else if (passo == QLatin1String("c")) {
                const bool daUnaProva = inProva(f);
                f->CmdContinuo->click();
                if (daUnaProva)
                    QCOMPARE(f->anticipoSerie().pending(), f->serie().prossimi(1));
            } else if (passo == QLatin1String("v")) {
                f->Cmdrivedo->click();
            } else if (passo == QLatin1String("x")) {
                f->Cmdmenu->click();  // what was being prepared is dropped, maybe mid-way
                QVERIFY(f->anticipoSerie().pending().isEmpty() && f->anticipoIngrandimento().pending().isEmpty());
                QVERIFY(!f->Timer1->isEnabled() && !f->Timer2->isEnabled());  // nothing runs behind the menu
                QCOMPARE(apri(), f);
            }
        }
        QVERIFY(secondiVisti > 20);
        QCOMPARE(mostrata, volte);
    }

private:
    std::unique_ptr<TestSupport::CartellaProgramma> m_cartella;
};

QTEST_MAIN(TestFsintesi)
#include "TestFsintesi.moc"
