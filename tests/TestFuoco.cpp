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
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);  // "1.  LA STRUTTURA DELLA TERRA"
    auto* lezione = qobject_cast<Forarg*>(ui::Screens::instance().front());
    if (!lezione || !premi(window, lezione->cmdquest))
        return nullptr;
    return qobject_cast<FQuest*>(ui::Screens::instance().front());
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
    ui::Form* form = ui::Screens::instance().show(schermo);
    QCoreApplication::processEvents();
    return form;
}
}  // namespace

// A program folder of its own and the main menu in an active window.
#define MENU_ATTIVO(folder, window)       \
    TestSupport::CartellaProgramma folder; \
    QWidget* window = menuAttivo();        \
    QVERIFY(window)

// The keyboard on every screen: where it starts, the order Tab and Shift+Tab follow, the ring that shows it.
class TestFuoco : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    // Every screen as it opens, and the states a pupil meets next: hotspots over a picture, a lesson opened
    // from the menu, the questionnaire in test mode, the labelling result, the synthesis at its test.
    void everyScreen_data()
    {
        QTest::addColumn<QString>("stato");
        QTest::addColumn<bool>("aperto");  // the screen just shown, or the state reached from the menu
        for (const char* s : {"Fscelt", "forarg1", "forarg3", "forarg6", "FQuest", "FQimage", "FSommati", "FRIsomma",
                              "frmRISUL", "FLIsomm", "frmANALISI", "Formani", "Fsintesi"})
            QTest::newRow(s) << s << true;
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("hotspots of topic %d", n) << QStringLiteral("finestrelle%1").arg(n) << false;
        for (int n : {2, 4, 5})
            QTest::addRow("topic %d page 1", n) << QStringLiteral("forarg%1").arg(n) << false;
        QTest::newRow("questionnaire exercise") << "esercizio" << false;
        QTest::newRow("questionnaire test") << "test" << false;
        QTest::newRow("labelling result") << "risultato" << false;
        QTest::newRow("synthesis test") << "sintesi" << false;
        QTest::newRow("synthesis corrected") << "corretta" << false;
    }
    void everyScreen()
    {
        QFETCH(QString, stato);
        QFETCH(bool, aperto);
        MENU_ATTIVO(folder, window);
        auto& screens = ui::Screens::instance();
        auto* menu = qobject_cast<Fscelt*>(screens.front());
        TestSupport::sessione().numargomento = 1;
        TestSupport::sessione().numanimazione = 1;
        TestSupport::sessione().nomestudente = QStringLiteral("Rossi Mario");
        if (aperto) {
            ui::Form* form = stato == QLatin1String("Fscelt") ? menu : mostra(stato);
            QVERIFY(form);
            QCOMPARE(screens.front(), form);
        } else if (stato.startsWith(QLatin1String("finestrelle")) || stato.startsWith(QLatin1String("forarg"))) {
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
        } else if (QStringList{"esercizio", "test", "risultato"}.contains(stato)) {
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
        QCOMPARE(form->window(), window);
        QVERIFY(window->isActiveWindow());
        const QList<QWidget*> ordine = form->ordineDiLettura();
        QVERIFY(!ordine.isEmpty());
        if (aperto) {
            // A screen starts on its first control in reading order: each control right of the one before on
            // the same row, or on a row below it (the labelling test keeps its own: numbers, boxes, buttons).
            QCOMPARE(window->focusWidget(), ordine.first());
            for (qsizetype i = 1; i < ordine.size() && stato != QLatin1String("FQimage"); ++i) {
                const QRect prima = ordine[i - 1]->geometry();
                const QRect dopo = ordine[i]->geometry();
                const bool stessaRiga = std::abs(dopo.top() - prima.top()) <= prima.height() / 2;
                QVERIFY2(stessaRiga ? dopo.left() > prima.left() : dopo.top() > prima.top(),
                         qPrintable(ordine[i - 1]->objectName() + QStringLiteral(" -> ") + ordine[i]->objectName()));
            }
        }
        // The questionnaire's rows take the keyboard only while they hold a statement: none before a page is
        // shown (a row digit then goes nowhere), all twenty boxes after.
        if (auto* quest = qobject_cast<FQuest*>(form)) {
            int caselle = 0;
            for (QWidget* w : ordine)
                caselle += quest->Check1.contains(qobject_cast<ui::CheckBox*>(w)) ||
                           quest->Check2.contains(qobject_cast<ui::CheckBox*>(w));
            QCOMPARE(caselle, aperto ? 0 : 20);
            if (aperto) {
                QWidget* prima = window->focusWidget();
                QTest::keyClick(prima, Qt::Key_1);
                QCOMPARE(window->focusWidget(), prima);
            }
        }
        // Tab goes round every control that takes the keyboard once, in that order; Shift+Tab comes back.
        const qsizetype inizio = ordine.indexOf(window->focusWidget());
        QVERIFY2(inizio >= 0, qPrintable(window->focusWidget() ? window->focusWidget()->objectName() : QStringLiteral("none")));
        for (qsizetype i = 1; i <= ordine.size(); ++i) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            QCOMPARE(window->focusWidget(), ordine[(inizio + i) % ordine.size()]);
        }
        for (qsizetype i = 1; i <= ordine.size(); ++i) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Backtab);
            QCOMPARE(window->focusWidget(), ordine[(inizio - i + 2 * ordine.size()) % ordine.size()]);
        }
        // What a screen reader gets: a role and a name for every control, pictures as graphics that say what
        // they show (never the control's internal name), and the focus where the ring is.
        for (QWidget* w : ordine) {
            QVERIFY2(w->isVisible() && w->isEnabled(), qPrintable(w->objectName()));
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(iface && iface->isValid() && iface->role() != QAccessible::NoRole, qPrintable(w->objectName()));
            QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(w->objectName()));
        }
        for (ui::Picture* p : form->findChildren<ui::Picture*>()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(p);
            QVERIFY(iface);
            QCOMPARE(iface->role(), QAccessible::Graphic);
            const QString detto = iface->text(QAccessible::Name);
            QVERIFY2(!detto.trimmed().isEmpty() && detto != p->objectName(), qPrintable(p->objectName()));
        }
        QAccessibleInterface* finestra = QAccessible::queryAccessibleInterface(window);
        QVERIFY(finestra && finestra->focusChild());
        QCOMPARE(finestra->focusChild()->object(), window->focusWidget());
        // The ring stands round the control with the keyboard, over the screen.
        auto* anello = window->findChild<ui::FocusRing*>();
        QVERIFY(anello && anello->isVisible());
        QCOMPARE(anello->seguito(), window->focusWidget());
        const QRect controllo(window->focusWidget()->mapTo(window, QPoint(0, 0)), window->focusWidget()->size());
        QCOMPARE(anello->geometry().adjusted(ui::FocusRing::kSpessore, ui::FocusRing::kSpessore,
                                             -ui::FocusRing::kSpessore, -ui::FocusRing::kSpessore), controllo);
        TestSupport::fotografa(window, (aperto ? QStringLiteral("fuoco-") : QStringLiteral("giro-")) + stato);
    }

    // The synthesis test's first stop by keyboard: Space ticks, "Correzione" corrects, "Menù" stores the result.
    void synthesisFirstStopByKeyboard()
    {
        MENU_ATTIVO(folder, window);
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

    // On the main menu Return works at once, and coming back finds the keyboard on the control used last.
    void menuAnswersReturnAtOnce()
    {
        MENU_ATTIVO(folder, window);
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
        MENU_ATTIVO(folder, window);
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

    // By keyboard alone: the summative test to its card, then the pupil's rows deleted from the archive.
    void summativeAndArchiveByKeyboard()
    {
        MENU_ATTIVO(folder, window);
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

    // The labelling test of topic 1 to 10 out of 10 by keyboard (a digit picks a number, Tab reaches its box,
    // Space puts it there); RISULTATO then disables itself and hands the keyboard to the pupil's next step.
    void labellingTestByKeyboard_data()
    {
        QTest::addColumn<bool>("test");
        QTest::addColumn<QString>("dopo");
        QTest::newRow("exercise: try again") << false << "cmdriprovo";
        QTest::newRow("test: the archive") << true << "cmdarchivio";
    }
    void labellingTestByKeyboard()
    {
        QFETCH(bool, test);
        QFETCH(QString, dopo);
        MENU_ATTIVO(folder, window);
        TestSupport::sessione().numargomento = 1;
        TestSupport::sessione().nomestudente = QStringLiteral("Rossi Mario");
        TestSupport::sessione().modotest = test ? ModoTest::Test : ModoTest::Esercizio;
        auto* immagine = qobject_cast<FQimage*>(mostra(QStringLiteral("FQimage")));
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
        QVERIFY(!immagine->cmdRISULT->isEnabled());
        QCOMPARE(window->focusWidget()->objectName(), dopo);
    }
};

QTEST_MAIN(TestFuoco)
#include "TestFuoco.moc"
