#include "TestSupport.h"

#include "app/Sessione.h"
#include "animation/Fsintesi.h"
#include "app/Fscelt.h"
#include "archive/Archivio.h"
#include "assessment/Etichette.h"
#include "assessment/FQimage.h"
#include "assessment/FQuest.h"
#include "assessment/FRIsomma.h"
#include "assessment/FSommati.h"
#include "lessons/Argomento.h"
#include "lessons/Forarg.h"
#include "ui/FocusRing.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

namespace {
// Tab, as a pupil would, until `bersaglio` has the keyboard; false when a whole round never reaches it.
bool tabFinoA(QWidget* window, QWidget* bersaglio)
{
    for (int i = 0; i < 60 && window->focusWidget() != bersaglio; ++i)
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    return window->focusWidget() == bersaglio;
}

// The main menu in an active window, as a pupil finds it.
QWidget* menuAttivo()
{
    if (!TestSupport::apriMenu())
        return nullptr;
    QWidget* window = ui::Screens::instance().front()->window();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) ? window : nullptr;
}

// Tab to `bersaglio`, then Return.
bool premi(QWidget* window, QWidget* bersaglio)
{
    if (!tabFinoA(window, bersaglio))
        return false;
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    return true;
}

// From the menu by keyboard: topic 1's lesson, then its questionnaire.
FQuest* questionarioDaTastiera(QWidget* window)
{
    auto& screens = ui::Screens::instance();
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);  // "1.  LA STRUTTURA DELLA TERRA"
    auto* lezione = qobject_cast<Forarg*>(screens.front());
    if (!lezione || !premi(window, lezione->cmdquest))
        return nullptr;
    return qobject_cast<FQuest*>(screens.front());
}

// The clock runs the synthesis until its first test opens.
bool finoAllaPrimaProva(Fsintesi* f)
{
    for (int guard = 0; guard < 300 && !f->Frame1.isVisible(); ++guard)
        (f->Timer2->isEnabled() ? f->Timer2 : f->Timer1)->fire();
    return f->Frame1.isVisible();
}

ui::Form* mostra(const QString& schermo)
{
    auto& screens = ui::Screens::instance();
    ui::Form* form = screens.show(schermo);
    QCoreApplication::processEvents();
    return form;
}
}  // namespace

// The keyboard on every screen: where it starts, the order Tab and Shift+Tab follow, and the ring that
// shows where it is.
class TestFuoco : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    void everyScreen_data()
    {
        QTest::addColumn<QString>("schermo");
        for (const char* s : {"Fscelt", "forarg1", "forarg3", "forarg6", "FQuest", "FQimage", "FSommati", "FRIsomma",
                              "frmRISUL", "FLIsomm", "frmANALISI", "Formani", "Fsintesi"})
            QTest::newRow(s) << s;
    }
    void everyScreen()
    {
        QFETCH(QString, schermo);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        TestSupport::sessione().numargomento = 1;
        TestSupport::sessione().numanimazione = 1;
        TestSupport::sessione().nomestudente = QStringLiteral("Rossi Mario");
        ui::Form* form = schermo == QLatin1String("Fscelt") ? ui::Screens::instance().front() : mostra(schermo);
        QVERIFY(form);
        QCOMPARE(ui::Screens::instance().front(), form);
        QWidget* window = form->window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));

        // The screen starts on its first control in reading order.
        const QList<QWidget*> ordine = form->ordineDiLettura();
        QVERIFY(!ordine.isEmpty());
        QCOMPARE(window->focusWidget(), ordine.first());
        // Reading order as a pupil reads the screen: each control is right of the one before on the same
        // row, or on a row below it (the labelling test keeps its own order: numbers, boxes, buttons).
        if (schermo != QLatin1String("FQimage")) {
            for (qsizetype i = 1; i < ordine.size(); ++i) {
                const QRect prima = ordine[i - 1]->geometry();
                const QRect dopo = ordine[i]->geometry();
                const bool stessaRiga = std::abs(dopo.top() - prima.top()) <= prima.height() / 2;
                QVERIFY2(stessaRiga ? dopo.left() > prima.left() : dopo.top() > prima.top(),
                         qPrintable(ordine[i - 1]->objectName() + QStringLiteral(" -> ") + ordine[i]->objectName()));
            }
        }

        // Tab goes through every control that takes the keyboard once, in that order, and round again;
        // Shift+Tab comes back the same way.
        QList<QWidget*> visti{window->focusWidget()};
        for (qsizetype i = 1; i <= ordine.size(); ++i) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            visti.append(window->focusWidget());
        }
        QCOMPARE(visti.mid(0, ordine.size()), ordine);
        QCOMPARE(visti.last(), ordine.first());
        QTest::keyClick(window->focusWidget(), Qt::Key_Backtab);
        QCOMPARE(window->focusWidget(), ordine.last());
        // What a screen reader gets through Qt's accessibility interface: a role and a name for every
        // control, and the focus where the ring is.
        for (QWidget* w : ordine) {
            QVERIFY2(w->isVisible() && w->isEnabled(), qPrintable(w->objectName()));
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(iface && iface->isValid(), qPrintable(w->objectName()));
            QVERIFY2(iface->role() != QAccessible::NoRole, qPrintable(w->objectName()));
            QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(w->objectName()));
        }
        // Every picture is a graphic that says what it is, never the control's internal name.
        for (ui::Picture* p : form->findChildren<ui::Picture*>()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(p);
            QVERIFY(iface);
            QCOMPARE(iface->role(), QAccessible::Graphic);
            const QString detto = iface->text(QAccessible::Name);
            QVERIFY2(!detto.trimmed().isEmpty() && detto != p->objectName(), qPrintable(p->objectName()));
        }
        QAccessibleInterface* finestra = QAccessible::queryAccessibleInterface(window);
        QVERIFY(finestra);
        QAccessibleInterface* conFuoco = finestra->focusChild();
        QVERIFY(conFuoco);
        QCOMPARE(conFuoco->object(), window->focusWidget());

        // The ring stands round the control with the keyboard, over the screen.
        auto* anello = window->findChild<ui::FocusRing*>();
        QVERIFY(anello);
        QVERIFY(anello->isVisible());
        QCOMPARE(anello->seguito(), window->focusWidget());
        const QRect controllo(window->focusWidget()->mapTo(window, QPoint(0, 0)), window->focusWidget()->size());
        QVERIFY(anello->geometry().contains(controllo));
        QVERIFY(anello->geometry().adjusted(ui::FocusRing::kSpessore, ui::FocusRing::kSpessore,
                                            -ui::FocusRing::kSpessore, -ui::FocusRing::kSpessore) == controllo);
        TestSupport::fotografa(window, QStringLiteral("fuoco-") + schermo);
    }

    // Screens in the states a pupil meets after they open: hotspots over a picture, the questionnaire
    // in test mode, the labelling test with its result, the synthesis stopped at its test. Tab from where
    // the keyboard is goes round every control that takes it once, in reading order, and back.
    void everyStateWalk_data()
    {
        QTest::addColumn<QString>("stato");
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("hotspots of topic %d", n) << QStringLiteral("finestrelle%1").arg(n);
        for (int n : {2, 4, 5})
            QTest::addRow("topic %d page 1", n) << QStringLiteral("forarg%1").arg(n);
        QTest::newRow("questionnaire test") << "test";
        QTest::newRow("labelling result") << "risultato";
        QTest::newRow("synthesis test") << "sintesi";
        QTest::newRow("synthesis corrected") << "corretta";
    }
    void everyStateWalk()
    {
        QFETCH(QString, stato);
        TestSupport::CartellaProgramma folder;
        QWidget* window = menuAttivo();
        QVERIFY(window);
        auto& screens = ui::Screens::instance();
        auto* menu = qobject_cast<Fscelt*>(screens.front());
        TestSupport::sessione().nomestudente = QStringLiteral("Rossi Mario");
        if (stato.startsWith(QLatin1String("finestrelle")) || stato.startsWith(QLatin1String("forarg"))) {
            const int n = stato.right(1).toInt();
            menu->Command1[n - 1]->click();
            auto* f = qobject_cast<Forarg*>(screens.front());
            QVERIFY(f);
            if (stato.startsWith(QLatin1String("finestrelle"))) {
                while (f->numpagina() < Argomenti::argomento(n)->paginaFinestrelle)
                    QTest::keyClick(f->cmdAVANTI, Qt::Key_Return);
                for (ui::Label* l : std::as_const(f->finestrelle))
                    QVERIFY(l->isVisible());
            }
        } else if (stato == QLatin1String("test") || stato == QLatin1String("risultato")) {
            FQuest* quest = questionarioDaTastiera(window);
            QVERIFY(quest);
            QVERIFY(premi(window, stato == QLatin1String("test") ? quest->cmdquestionario : quest->cmdesercitazione));
            if (stato == QLatin1String("risultato")) {
                QVERIFY(premi(window, quest->cmdimage));
                auto* immagine = qobject_cast<FQimage*>(screens.front());
                QVERIFY(immagine);
                QVERIFY(premi(window, immagine->cmdRISULT));
            }
        } else {
            menu->cmdsinteanim->click();
            auto* f = qobject_cast<Fsintesi*>(screens.front());
            QVERIFY(f);
            QVERIFY(finoAllaPrimaProva(f));
            if (stato == QLatin1String("corretta")) {
                QTest::keyClick(window->focusWidget(), Qt::Key_Space);
                QVERIFY(premi(window, f->CmdCorreggi));
            }
        }
        ui::Form* form = screens.front();
        QVERIFY(form->window()->isActiveWindow());
        const QList<QWidget*> ordine = form->ordineDiLettura();
        QVERIFY(!ordine.isEmpty());
        const qsizetype inizio = ordine.indexOf(window->focusWidget());
        QVERIFY2(inizio >= 0, qPrintable(window->focusWidget() ? window->focusWidget()->objectName() : QStringLiteral("none")));
        for (qsizetype i = 1; i <= ordine.size(); ++i) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            QCOMPARE(window->focusWidget(), ordine[(inizio + i) % ordine.size()]);
            QVERIFY(window->focusWidget()->isVisible() && window->focusWidget()->isEnabled());
        }
        for (qsizetype i = 1; i <= ordine.size(); ++i) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Backtab);
            QCOMPARE(window->focusWidget(), ordine[(inizio - i + 2 * ordine.size()) % ordine.size()]);
        }
        // Every control in the walk has a role and a name for a screen reader.
        for (QWidget* w : ordine) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(iface && iface->role() != QAccessible::NoRole, qPrintable(w->objectName()));
            QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(w->objectName()));
        }
        auto* anello = window->findChild<ui::FocusRing*>();
        QVERIFY(anello && anello->isVisible());
        QCOMPARE(anello->seguito(), window->focusWidget());
        TestSupport::fotografa(window, QStringLiteral("giro-") + stato);
    }

    // The questionnaire's rows take the keyboard only while they hold a statement: opened, the screen
    // starts on its buttons; with a page shown, Tab reaches every box of the ten rows.
    void rowsTakeTheKeyboardOnlyWithAStatement_data()
    {
        QTest::addColumn<int>("modo");  // 0 opened, 1 exercise, 2 test
        QTest::addColumn<int>("caselle");
        QTest::newRow("opened") << 0 << 0;
        QTest::newRow("exercise") << 1 << 20;
        QTest::newRow("test") << 2 << 20;
    }
    void rowsTakeTheKeyboardOnlyWithAStatement()
    {
        QFETCH(int, modo);
        QFETCH(int, caselle);
        TestSupport::CartellaProgramma folder;
        QWidget* window = menuAttivo();
        QVERIFY(window);
        TestSupport::sessione().nomestudente = QStringLiteral("Rossi Mario");
        FQuest* quest = questionarioDaTastiera(window);
        QVERIFY(quest);
        if (modo)
            QVERIFY(premi(window, modo == 1 ? quest->cmdesercitazione : quest->cmdquestionario));
        int viste = 0;
        for (QWidget* w : quest->ordineDiLettura())
            viste += quest->Check1.contains(static_cast<ui::CheckBox*>(w)) ||
                     quest->Check2.contains(static_cast<ui::CheckBox*>(w));
        QCOMPARE(viste, caselle);
        if (!modo) {
            QVERIFY(!quest->Check1.contains(static_cast<ui::CheckBox*>(window->focusWidget())));
            // A row digit finds no statement to go to.
            QWidget* prima = window->focusWidget();
            QTest::keyClick(prima, Qt::Key_1);
            QCOMPARE(window->focusWidget(), prima);
        }
    }

    // RISULTATO on the labelling test disables itself; pressed from the keyboard, the keyboard goes on
    // to the pupil's next step: try again after an exercise, the archive after a stored test.
    void labellingResultHandsTheKeyboardOn_data()
    {
        QTest::addColumn<bool>("test");
        QTest::addColumn<QString>("dopo");
        QTest::newRow("exercise") << false << "cmdriprovo";
        QTest::newRow("test") << true << "cmdarchivio";
    }
    void labellingResultHandsTheKeyboardOn()
    {
        QFETCH(bool, test);
        QFETCH(QString, dopo);
        TestSupport::CartellaProgramma folder;
        QWidget* window = menuAttivo();
        QVERIFY(window);
        TestSupport::sessione().numargomento = 1;
        TestSupport::sessione().nomestudente = QStringLiteral("Rossi Mario");
        TestSupport::sessione().modotest = test ? ModoTest::Test : ModoTest::Esercizio;
        auto* immagine = qobject_cast<FQimage*>(mostra(QStringLiteral("FQimage")));
        QVERIFY(immagine);
        QVERIFY(premi(window, immagine->cmdRISULT));
        QVERIFY(!immagine->cmdRISULT->isEnabled());
        QCOMPARE(window->focusWidget()->objectName(), dopo);
    }

    // The synthesis test's first stop by keyboard alone: Space ticks each true statement, Return on
    // "Correzione" corrects, and leaving by "Menù" stores the result.
    void synthesisFirstStopByKeyboard()
    {
        TestSupport::CartellaProgramma folder;
        QWidget* window = menuAttivo();
        QVERIFY(window);
        auto& screens = ui::Screens::instance();
        auto* menu = qobject_cast<Fscelt*>(screens.front());
        ui::MessageBox::setNextInput(QStringLiteral("Tasti Carla"));
        QVERIFY(premi(window, menu->cmdsinteanim));
        auto* f = qobject_cast<Fsintesi*>(screens.front());
        QVERIFY(f);
        QVERIFY(finoAllaPrimaProva(f));
        QCOMPARE(window->focusWidget(), f->Label11[0]);
        for (int i = 0; i < 12; ++i) {
            if (!f->prova().esattaMostrata(i))
                continue;
            QVERIFY(tabFinoA(window, f->Label11[i]));
            QTest::keyClick(window->focusWidget(), Qt::Key_Space);
            QCOMPARE(f->prova().segno(i), ProvaSintesi::Segno::Segnato);
        }
        QVERIFY(premi(window, f->CmdCorreggi));
        QCOMPARE(f->LabPunti->caption(), QStringLiteral("12"));
        QCOMPARE(f->LabTotPunti->caption(), QStringLiteral("12"));
        QCOMPARE(f->LabTotMax->caption(), QStringLiteral("12"));
        QCOMPARE(window->focusWidget(), f->CmdContinuo);
        QVERIFY(premi(window, f->Cmdmenu));
        const auto righe = TestSupport::righeStudenti(folder.archivio());
        QCOMPARE(righe.size(), 1);
        QCOMPARE(righe[0].nome, QStringLiteral("Tasti Carla"));
        QCOMPARE(righe[0].argomento, QStringLiteral("Animazione finale"));
        QCOMPARE(righe[0].punteggio, 12);
        QCOMPARE(righe[0].maxpunti, 12);
    }

    // On the main menu Return works at once: the first topic opens, and coming back finds the keyboard
    // on the control used last.
    void menuAnswersReturnAtOnce()
    {
        TestSupport::CartellaProgramma folder;
        QWidget* window = menuAttivo();
        QVERIFY(window);
        ui::Form* menu = ui::Screens::instance().front();
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        QWidget* secondo = window->focusWidget();
        QTest::keyClick(secondo, Qt::Key_Return);
        QVERIFY(ui::Screens::instance().front() != menu);
        ui::Screens::instance().show(QStringLiteral("Fscelt"));
        QCOMPARE(window->focusWidget(), secondo);
    }

    // From the menu to a stored test page with the keyboard alone: no mouse event, no call of a handler.
    void topicToAStoredPageByKeyboard()
    {
        TestSupport::CartellaProgramma folder;
        QWidget* window = menuAttivo();
        QVERIFY(window);
        FQuest* quest = questionarioDaTastiera(window);
        QVERIFY(quest);
        ui::MessageBox::setNextInput(QStringLiteral("Tastiera Ada"));
        QVERIFY(premi(window, quest->cmdquestionario));
        for (int r = 0; r < 10; ++r) {
            QTest::keyClick(window->focusWidget(), r == 9 ? Qt::Key_0 : Qt::Key(Qt::Key_1 + r));
            QTest::keyClick(window->focusWidget(), Qt::Key_V);
        }
        QTest::keyClick(window->focusWidget(), Qt::Key_Return);
        const auto righe = TestSupport::righeStudenti(folder.archivio());
        QCOMPARE(righe.size(), 1);
        QCOMPARE(righe[0].nome, QStringLiteral("Tastiera Ada"));
        QCOMPARE(righe[0].maxpunti, 10);
        QCOMPARE(quest->pagineRegistrate(), 1);
    }

    // The summative test from the menu to its card, and then a pupil's rows deleted from the archive
    // with the code, by keyboard alone.
    void summativeAndArchiveByKeyboard()
    {
        TestSupport::CartellaProgramma folder;
        QWidget* window = menuAttivo();
        QVERIFY(window);
        auto& screens = ui::Screens::instance();
        auto* menu = qobject_cast<Fscelt*>(screens.front());
        ui::MessageBox::setNextInput(QStringLiteral("Tasti Bruno"));
        QVERIFY(premi(window, menu->sommativo));
        auto* test = qobject_cast<FSommati*>(screens.front());
        QVERIFY(test);
        while (test->cmdAVANTI->isEnabled()) {
            QTest::keyClick(window->focusWidget(), Qt::Key_1);
            for (int r = 0; r < 10; ++r)
                QTest::keyClick(window->focusWidget(), Qt::Key_F);
            QTest::keyClick(window->focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(window->focusWidget(), test->cmdRISULT);
        QTest::keyClick(window->focusWidget(), Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* scheda = qobject_cast<FRIsomma*>(screens.front());
        QVERIFY(scheda);
        QVERIFY(premi(window, scheda->cmdlista));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* archivio = qobject_cast<Archivio*>(screens.front());
        QVERIFY(archivio);
        ui::MessageBox::setNextInput(QStringLiteral("tasti bruno"));
        QVERIFY(premi(window, archivio->cmdselezione));
        QCOMPARE(archivio->Listsomm[0]->item(0)->text(), QStringLiteral("Tasti Bruno"));
        ui::MessageBox::setNextInput(QStringLiteral("cipresso"));
        QVERIFY(premi(window, archivio->cmdelimina));
        QVERIFY(archivio->eliminato());
        QCOMPARE(archivio->Listsomm[0]->count(), 0);
    }

    // The labelling test of topic 1 to 10 out of 10 with the keyboard: a digit picks a number, Tab reaches
    // its box, Space puts it there.
    void labellingTestByKeyboard()
    {
        TestSupport::CartellaProgramma folder;
        QWidget* window = menuAttivo();
        QVERIFY(window);
        FQuest* quest = questionarioDaTastiera(window);
        QVERIFY(quest);
        QVERIFY(premi(window, quest->cmdesercitazione));
        QVERIFY(premi(window, quest->cmdimage));
        auto* immagine = qobject_cast<FQimage*>(ui::Screens::instance().front());
        QVERIFY(immagine);
        const Etichette::Argomento* dati = Etichette::argomento(1);
        QVERIFY(dati);
        for (int casella = 0; casella < 10; ++casella) {
            const int numero = dati->numeriesatti[casella].toInt();
            QTest::keyClick(window->focusWidget(), numero == 10 ? Qt::Key_0 : Qt::Key(Qt::Key_0 + numero));
            QVERIFY(tabFinoA(window, immagine->Label4[casella]));
            QTest::keyClick(window->focusWidget(), Qt::Key_Space);
            QCOMPARE(immagine->Label4[casella]->caption(), QString::number(numero));
        }
        QVERIFY(premi(window, immagine->cmdRISULT));
        QCOMPARE(immagine->txtrisult->text(), QStringLiteral("10"));
    }
};

QTEST_MAIN(TestFuoco)
#include "TestFuoco.moc"
