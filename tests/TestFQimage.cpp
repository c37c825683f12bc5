#include "TestSupport.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "assessment/Etichette.h"
#include "assessment/FQimage.h"
#include "assessment/FQuest.h"
#include "ui/MessageBox.h"
#include "ui/Pictures.h"
#include "ui/Screens.h"

#include <QFontMetrics>
#include <QTest>

namespace {
const QColor kArancio(255, 224, 192);
const QColor kRosso(255, 0, 0);
const QColor kGrigio(192, 192, 192);
const QColor kGiallo(255, 255, 128);


using TestSupport::menu;

// The labelling test of a topic, opened in the given mode as the questionnaire opens it.
FQimage* apri(int argomento, int modo, QSize finestra = {800, 600})
{
    if (!TestSupport::apriMenu())
        return nullptr;
    menu()->Command1_Click(argomento - 1);
    auto& screens = ui::Screens::instance();
    auto* quest = qobject_cast<FQuest*>(screens.show(QStringLiteral("FQuest")));
    menu()->window()->resize(finestra);
    QCoreApplication::processEvents();
    TestSupport::sessione().modotest = modo == 1 ? ModoTest::Test : ModoTest::Esercizio;
    quest->cmdimage->show();
    quest->cmdimage->setEnabled(true);
    quest->cmdimage->click();
    return qobject_cast<FQimage*>(screens.front());
}

// The mouse: press on number k, a few moves, release over `punto` of widget `sopra`.
void trascina(FQimage* f, int k, QWidget* sopra, QPoint punto)
{
    ui::Label* numero = f->Label3[k];
    const QPoint da = numero->rect().center();
    const QPoint a = sopra->mapTo(f, punto) - numero->mapTo(f, QPoint(0, 0));
    QTest::mousePress(numero, Qt::LeftButton, {}, da);
    for (int passo = 1; passo <= 4; ++passo)
        QTest::mouseMove(numero, da + (a - da) * passo / 4);
    QTest::mouseRelease(numero, Qt::LeftButton, {}, a);
}

void trascinaInCasella(FQimage* f, int k, int casella)
{
    trascina(f, k, f->Label4[casella], f->Label4[casella]->rect().center() + QPoint(3, -2));
}

QStringList pulsantiUsabili(ui::Form* f)
{
    QStringList out;
    for (auto* b : f->findChildren<ui::Button*>(QString(), Qt::FindDirectChildrenOnly))
        if (b->isVisibleTo(f) && b->isEnabled())
            out << b->objectName();
    out.sort();
    return out;
}

using Lanci = QList<QPair<int, int>>;  // (box, number 1-10)
}  // namespace

class TestFQimage : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    // Which box holds which number, and what scores.
    void caselle_data()
    {
        QTest::addColumn<Lanci>("lanci");
        QTest::addColumn<int>("giuste");
        QTest::addColumn<QList<int>>("rosse");
        // Box 0 wants 10 and box 1 wants 1.
        QTest::newRow("same number on two boxes") << Lanci{{0, 10}, {1, 10}} << 1 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("a second number replaces the first") << Lanci{{1, 7}, {1, 1}} << 1
                                                            << QList<int>{0, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("a right number replaced by a wrong one") << Lanci{{1, 1}, {1, 7}} << 0
                                                                << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    }
    void caselle()
    {
        QFETCH(Lanci, lanci);
        QFETCH(int, giuste);
        QFETCH(QList<int>, rosse);
        Etichette::Caselle caselle;
        for (const auto& [casella, numero] : lanci)
            caselle.lascia(casella, numero);
        const auto esito = caselle.valuta(Etichette::argomento(1)->numeriesatti);
        QCOMPARE(esito.giuste, giuste);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(esito.sbagliata[i], rosse.contains(i));
        for (const auto& [casella, numero] : lanci)
            QVERIFY(caselle.spostato(numero));
        // Outside the topics every box is wrong.
        QVERIFY(!Etichette::argomento(0) && !Etichette::argomento(7));
        QCOMPARE(caselle.valuta({}).giuste, 0);
    }

    // A drop lands in the box under the pointer; anywhere else it does nothing.
    void casellaSotto_data()
    {
        QTest::addColumn<QPoint>("punto");
        QTest::addColumn<int>("casella");
        QTest::newRow("box 0, top left corner") << Etichette::casella(0).topLeft() << 0;
        QTest::newRow("box 9, lower right inside") << Etichette::casella(9).bottomRight() << 9;
        QTest::newRow("just right of box 9") << Etichette::casella(9).topRight() + QPoint(1, 0) << -1;
        QTest::newRow("on the picture") << QPoint(3000, 2500) << -1;
    }
    void casellaSotto()
    {
        QFETCH(QPoint, punto);
        QFETCH(int, casella);
        QCOMPARE(Etichette::casellaSotto(punto), casella);
    }

    // The pupil's mouse: press on a number, move, release over a box, at any window size.
    void trascinaConIlMouse_data()
    {
        QTest::addColumn<QSize>("finestra");
        QTest::newRow("800 x 600") << QSize(800, 600);
        QTest::newRow("1366 x 768") << QSize(1366, 768);
    }
    void trascinaConIlMouse()
    {
        QFETCH(QSize, finestra);
        TestSupport::CartellaProgramma folder(true, true);
        FQimage* f = apri(2, 0, finestra);
        QVERIFY(f);
        trascinaInCasella(f, 6, 4);
        QCOMPARE(f->Label4[4]->caption(), QStringLiteral("7"));
        QCOMPARE(f->Label3[6]->backColor(), kGiallo);
        QCOMPARE(f->Label3[6]->caption(), QStringLiteral("7"));
        // Dragged again, onto another box: both hold it.
        trascinaInCasella(f, 6, 9);
        QCOMPARE(f->Label4[9]->caption(), QStringLiteral("7"));
        QCOMPARE(f->Label4[4]->caption(), QStringLiteral("7"));
        // A second number replaces the first; the first stays light yellow.
        trascinaInCasella(f, 1, 4);
        QCOMPARE(f->Label4[4]->caption(), QStringLiteral("2"));
        QCOMPARE(f->Label3[6]->backColor(), kGiallo);
        // Dropped on the picture: nothing.
        trascina(f, 2, f->Image1, f->Image1->rect().center());
        QCOMPARE(f->Label3[2]->backColor(), kGrigio);
        for (auto* c : f->Label4)
            QVERIFY(c->caption() != QStringLiteral("3"));
        QCOMPARE(f->numeroScelto(), -1);
        TestSupport::fotografa(f->window(), QStringLiteral("FQimage-trascinato-%1").arg(finestra.width()));
    }

    // Without dragging: a click on a number, then a click on a box; or the same from the keyboard.
    void senzaTrascinare()
    {
        TestSupport::CartellaProgramma folder;
        FQimage* f = apri(1, 0);
        QVERIFY(f);
        QTest::mouseClick(f->Label3[4], Qt::LeftButton);
        QCOMPARE(f->numeroScelto(), 4);
        QTest::mouseClick(f->Label4[8], Qt::LeftButton);
        QCOMPARE(f->Label4[8]->caption(), QStringLiteral("5"));
        QCOMPARE(f->numeroScelto(), -1);

        f->window()->activateWindow();
        f->Label3[2]->setFocus();
        QTest::keyClick(f->Label3[2], Qt::Key_Return);
        QCOMPARE(f->numeroScelto(), 2);
        QCOMPARE(f->focusWidget(), f->Label4[0]);
        QTest::keyClick(f->focusWidget(), Qt::Key_Space);
        QCOMPARE(f->Label4[0]->caption(), QStringLiteral("3"));
        QCOMPARE(f->Label3[2]->backColor(), kGiallo);
        QCOMPARE(f->focusWidget(), f->Label3[3]);
        // A digit picks its number; Escape puts it down again.
        QTest::keyClick(f, Qt::Key_0);
        QCOMPARE(f->numeroScelto(), 9);
        QTest::keyClick(f->focusWidget(), Qt::Key_Escape);
        QCOMPARE(f->numeroScelto(), -1);
    }

    // The opening setups and what each mode leaves enabled; without its picture the screen says which file
    // is missing and still works.
    void apertura_data()
    {
        QTest::addColumn<int>("modo");
        QTest::addColumn<QStringList>("usabili");
        QTest::addColumn<bool>("immagine");
        const QStringList esercizio{"Cmdtorna", "cmdRISULT", "cmdscegliarg", "cmdtest", "cmduscita"};
        QTest::newRow("exercise") << 0 << esercizio << true;
        QTest::newRow("test") << 1 << QStringList{"cmdRISULT"} << true;
        QTest::newRow("exercise, picture missing") << 0 << esercizio << false;
    }
    void apertura()
    {
        QFETCH(int, modo);
        QFETCH(QStringList, usabili);
        QFETCH(bool, immagine);
        TestSupport::CartellaProgramma folder(true, immagine);
        FQimage* f = apri(4, modo);
        QVERIFY(f);
        QCOMPARE(pulsantiUsabili(f), usabili);
        QCOMPARE(f->txtTITOLO->text(), QStringLiteral("La SUBDUZIONE."));
        QCOMPARE(f->Label1[7]->caption(), QStringLiteral(" Catena montuosa"));
        QCOMPARE(f->Label3[9]->caption(), QStringLiteral("10"));
        QCOMPARE(f->caption(), QStringLiteral("DESCRIVI L'IMMAGINE"));
        QCOMPARE(f->Image1->image().isNull(), !immagine);
        QCOMPARE(f->lblmancante->isVisible(), !immagine);
        QCOMPARE(f->lblmancante->caption().contains(QStringLiteral("immagini\\questim\\subdur.jpg")), !immagine);
        for (auto* c : f->Label4)
            QVERIFY(c->caption().isEmpty() && c->backColor() == kArancio);
        // The title is shown, not typed into.
        QTest::keyClicks(f->txtTITOLO, QStringLiteral("xyz"));
        QCOMPARE(f->txtTITOLO->text(), QStringLiteral("La SUBDUZIONE."));
        trascinaInCasella(f, Etichette::argomento(4)->numeriesatti[9].toInt() - 1, 9);
        f->cmdRISULT->click();
        QCOMPARE(f->txtrisult->text(), QStringLiteral("1"));
    }

    // A stored test: the score, the title with " (immagine)", the pupil; then only the ways out. A result the
    // archive refuses is reported, not claimed as stored; "Riprova" stores it once the archive takes it again.
    void testRegistrato_data()
    {
        QTest::addColumn<int>("argomento");
        QTest::addColumn<int>("giuste");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<int>("riprova");  // -1: the archive takes it at once
        QTest::newRow("topic 3, all right") << 3 << 10 << "Le PLACCHE. (immagine)" << -1;
        QTest::newRow("topic 5, four right") << 5 << 4 << "I FENOMENI ATTUALI. (immagine)" << -1;
        QTest::newRow("topic 6, none") << 6 << 0 << "PER LA SINTESI. (immagine)" << -1;
        QTest::newRow("refused, Continua") << 3 << 4 << "" << 0;
        QTest::newRow("stored at Riprova") << 3 << 4 << "Le PLACCHE. (immagine)" << 1;
    }
    void testRegistrato()
    {
        QFETCH(int, argomento);
        QFETCH(int, giuste);
        QFETCH(QString, titolo);
        QFETCH(int, riprova);
        TestSupport::CartellaProgramma folder(true, true);
        FQimage* f = apri(argomento, 1);
        QVERIFY(f);
        TestSupport::sessione().nomestudente = QStringLiteral("D'Amico Sara");
        const auto* a = Etichette::argomento(argomento);
        for (int i = 0; i < giuste; ++i)
            trascinaInCasella(f, a->numeriesatti[i].toInt() - 1, i);
        if (riprova >= 0)
            TestSupport::rifiutaFinoARiprova(folder.archivio(), QStringLiteral("studenti"), riprova);
        f->cmdRISULT->click();
        QCOMPARE(f->txtrisult->text(), QString::number(giuste));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(f->Label4[i]->backColor(), i < giuste ? kArancio : kRosso);
        QCOMPARE(TestSupport::richiesteDiRiprovare(), riprova < 0 ? 0 : qMax(riprova, 1));
        const QList<TestSupport::Riga> righe = TestSupport::righeStudenti(folder.archivio());
        QCOMPARE(righe.size(), riprova == 0 ? 0 : 1);
        QCOMPARE(f->rigaRegistrata(), riprova != 0);
        if (riprova == 0) {
            const QString testo = ui::MessageBox::shown().last().text;
            QVERIFY2(testo.startsWith(
                         QStringLiteral("Attenzione: il punteggio del test sull'immagine NON è stato salvato")),
                     qPrintable(testo));
        } else {
            QCOMPARE(righe[0].argomento, titolo);
            QCOMPARE(righe[0].nome, QStringLiteral("D'Amico Sara"));
            QCOMPARE(righe[0].punteggio, giuste);
            QCOMPARE(righe[0].maxpunti, 10);
        }
        QCOMPARE(int(TestSupport::sessione().modotest), 0);
        // The pupil is not shut in, stored or not.
        QCOMPARE(pulsantiUsabili(f), (QStringList{"cmdarchivio", "cmdscegliarg", "cmduscita"}));
        TestSupport::fotografa(f->window(), QStringLiteral("FQimage-registrato-%1-%2").arg(argomento).arg(riprova));
    }

    // Where each button of an exercise leads; back on the picture, or after RIPROVO, the boxes are empty
    // again. An exercise stores nothing.
    void percorsi_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("davanti");
        QTest::addColumn<bool>("immagineCaricata");
        QTest::addColumn<bool>("questCaricato");
        QTest::addColumn<int>("modo");
        QTest::newRow("RIPROVO") << "cmdriprovo" << "FQimage" << true << true << 0;
        QTest::newRow("FACCIO IL TEST") << "cmdtest" << "FQuest" << true << true << 1;
        QTest::newRow("Mi esercito") << "Cmdtorna" << "FQuest" << true << true << 0;
        QTest::newRow("Menù") << "cmdscegliarg" << "Fscelt" << false << false << 0;
        // The finished questionnaire goes too, so that the next topic starts afresh.
        QTest::newRow("archive") << "cmdarchivio" << "frmRISUL" << false << false << 0;
    }
    void percorsi()
    {
        QFETCH(QString, pulsante);
        QFETCH(QString, davanti);
        QFETCH(bool, immagineCaricata);
        QFETCH(bool, questCaricato);
        QFETCH(int, modo);
        TestSupport::CartellaProgramma folder;
        FQimage* f = apri(1, 0);
        QVERIFY(f);
        trascinaInCasella(f, 0, 0);
        f->cmdRISULT->click();
        f->cmdarchivio->setEnabled(true);
        ui::MessageBox::setNextInput(QStringLiteral("Viola Pia"));
        f->control<ui::Button>(pulsante)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto& screens = ui::Screens::instance();
        QCOMPARE(screens.front()->name(), davanti);
        QCOMPARE(screens.isLoaded(QStringLiteral("FQimage")), immagineCaricata);
        QCOMPARE(screens.isLoaded(QStringLiteral("FQuest")), questCaricato);
        QCOMPARE(int(TestSupport::sessione().modotest), modo);
        if (auto* quest = qobject_cast<FQuest*>(screens.front())) {
            QCOMPARE(quest->Text2->text(), TestSupport::sessione().titolo);
            quest->cmdimage->setEnabled(true);
            quest->cmdimage->click();
        }
        if (immagineCaricata) {
            QCOMPARE(screens.front(), f);
            for (int i = 0; i < 10; ++i) {
                QVERIFY(f->Label4[i]->caption().isEmpty());
                QCOMPARE(f->Label4[i]->backColor(), kArancio);
                QCOMPARE(f->Label3[i]->backColor(), kGrigio);
            }
            QVERIFY(f->cmdRISULT->isEnabled() && !f->cmdriprovo->isEnabled());
            QVERIFY(f->txtrisult->text().isEmpty());
        }
        QVERIFY(TestSupport::righeStudenti(folder.archivio()).isEmpty());
        QCOMPARE(ui::MessageBox::shown().size(), pulsante == QLatin1String("cmdtest") ? 1 : 0);  // the name
    }

    // Each topic: a picture of the box layout's size, and names that fit beside their numbers (the rest of
    // the data's rules are its reader's, checked by TestContenuti).
    void argomenti_data()
    {
        QTest::addColumn<int>("argomento");
        for (int n = 1; n <= 6; ++n)
            QTest::newRow(qPrintable(QStringLiteral("topic %1").arg(n))) << n;
    }
    void argomenti()
    {
        QFETCH(int, argomento);
        const auto* a = Etichette::argomento(argomento);
        QVERIFY2(a, qPrintable(Etichette::errore()));
        ui::Pictures::setRoot(QStringLiteral(PLACCHE_SORGENTE));
        const auto loaded = ui::Pictures::load(a->immagine);
        ui::Pictures::setRoot({});
        QVERIFY2(!loaded.isNull(), qPrintable(a->immagine));
        QCOMPARE(loaded.twips, QSize(5175, 4095));

        TestSupport::CartellaProgramma folder(true, true);
        FQimage* f = apri(argomento, 0);
        QVERIFY(f);
        for (ui::Label* nome : f->Label1) {
            const int m = nome->margin();
            const QRect posto = nome->contentsRect().adjusted(m, m, -m, -m);
            const QRect serve = QFontMetrics(nome->font()).boundingRect(posto, Qt::TextWordWrap, nome->text());
            QVERIFY2(serve.width() <= posto.width() && serve.height() <= posto.height(),
                     qPrintable(QStringLiteral("\"%1\": %2 x %3 px in %4 x %5").arg(nome->text()).arg(serve.width())
                                    .arg(serve.height()).arg(posto.width()).arg(posto.height())));
        }
        // With every box holding its right number, for the eye: each number beside its part.
        for (int i = 0; i < 10; ++i)
            f->Label4_DragDrop(i, a->numeriesatti[i].toInt() - 1);
        TestSupport::fotografa(f->window(), QStringLiteral("FQimage-argomento-%1").arg(argomento));
    }

};

QTEST_MAIN(TestFQimage)
#include "TestFQimage.moc"
