// What a screen reader hears, through Qt's accessibility interface, of the controls that change as the pupil works.
#include "TestSupport.h"

#include "animation/Fsintesi.h"
#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "assessment/Etichette.h"
#include "assessment/FQimage.h"
#include "assessment/FQuest.h"
#include "lessons/Argomento.h"
#include "lessons/Forarg.h"
#include "ui/Screens.h"

#include <QAccessible>
#include <QTest>

#include <memory>

namespace {
using TestSupport::menu;

QAccessibleInterface* iface(QWidget* w)
{
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i && i->isValid() ? i : nullptr;
}

QString nome(QWidget* w)
{
    QAccessibleInterface* i = iface(w);
    return i ? i->text(QAccessible::Name) : QString();
}

// Topic 1's questionnaire, as exercise, on its first page.
FQuest* esercizio()
{
    menu()->Command1[0]->click();
    if (auto* lezione = qobject_cast<Forarg*>(ui::Screens::instance().front()))
        lezione->cmdquest->click();
    auto* q = qobject_cast<FQuest*>(ui::Screens::instance().front());
    if (q)
        q->cmdesercitazione->click();
    return q;
}

// The synthesis with its first test open.
Fsintesi* primaProva()
{
    menu()->cmdsinteanim->click();
    auto* f = qobject_cast<Fsintesi*>(ui::Screens::instance().find(QStringLiteral("Fsintesi")));
    for (int guard = 0; f && guard < 300 && !f->Frame1.isVisible(); ++guard) {
        if (f->Timer2->isEnabled())
            f->Timer2->fire();
        else
            f->Timer1->fire();
    }
    return f && f->Frame1.isVisible() ? f : nullptr;
}
}  // namespace

class TestAccessibile : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        TestSupport::prepara();
        m_cartella = std::make_unique<TestSupport::CartellaProgramma>();
        QVERIFY(TestSupport::apriMenu());
        TestSupport::sessione().nomestudente = QStringLiteral("Rossi Mario");
    }
    void cleanup()
    {
        TestSupport::chiudiTutto();
        m_cartella.reset();
    }

    // A row's two boxes read the row, which box each is, the statement and the answer; the ticked one says so.
    void questionnaireRowReadsStatementAndAnswer_data()
    {
        QTest::addColumn<int>("tasto");  // 0: no answer
        QTest::addColumn<QString>("risposta");
        QTest::newRow("not answered") << 0 << "senza risposta";
        QTest::newRow("true") << int(Qt::Key_V) << "risposta: vero";
        QTest::newRow("false") << int(Qt::Key_F) << "risposta: falso";
    }
    void questionnaireRowReadsStatementAndAnswer()
    {
        QFETCH(int, tasto);
        QFETCH(QString, risposta);
        FQuest* q = esercizio();
        QVERIFY(q);
        constexpr int riga = 3;
        if (tasto) {
            QTest::keyClick(q, Qt::Key_4);
            QTest::keyClick(q->focusWidget(), Qt::Key(tasto));
        }
        const QString testo = q->Text1[riga]->text().simplified();
        QVERIFY(!testo.isEmpty());
        for (const bool vero : {true, false}) {
            QWidget* box = (vero ? q->Check1 : q->Check2)[riga];
            QAccessibleInterface* i = iface(box);
            QVERIFY(i);
            QCOMPARE(i->role(), QAccessible::CheckBox);
            QCOMPARE(i->text(QAccessible::Name), QStringLiteral("riga 4, %1: %2 (%3)")
                                                     .arg(vero ? QStringLiteral("V vero") : QStringLiteral("F falso"),
                                                          testo, risposta));
            QCOMPARE(bool(i->state().checked), tasto == int(vero ? Qt::Key_V : Qt::Key_F));
        }
        // A row answered the other way reads the new answer at once.
        QTest::keyClick(q, Qt::Key_4);
        QTest::keyClick(q->focusWidget(), tasto == int(Qt::Key_V) ? Qt::Key_F : Qt::Key_V);
        QVERIFY(nome(q->Check1[riga]).endsWith(tasto == int(Qt::Key_V) ? QStringLiteral("(risposta: falso)")
                                                                      : QStringLiteral("(risposta: vero)")));
    }

    // The labelling test: each number reads its name and whether it is picked up or placed; each box its
    // number, what is in it and, after the result, whether it is wrong. Both are buttons.
    void labellingNumbersAndBoxesSayWhatTheyHold_data()
    {
        QTest::addColumn<int>("numero");  // 1-10: the number put into box 0; 0: none
        QTest::addColumn<bool>("risultato");
        QTest::addColumn<QString>("casella");  // what box 0 then reads, %1 = the number's name
        const int esatto = Etichette::argomento(1)->numeriesatti[0].toInt();
        const int altro = esatto == 1 ? 2 : 1;
        QTest::newRow("empty") << 0 << false << "casella 1: vuota";
        QTest::newRow("wrong number") << altro << false << "casella 1: numero %2, %1";
        QTest::newRow("right number, marked") << esatto << true << "casella 1: numero %2, %1";
        QTest::newRow("wrong number, marked") << altro << true << "casella 1: numero %2, %1 (sbagliata)";
    }
    void labellingNumbersAndBoxesSayWhatTheyHold()
    {
        QFETCH(int, numero);
        QFETCH(bool, risultato);
        QFETCH(QString, casella);
        FQuest* q = esercizio();
        QVERIFY(q);
        q->cmdimage->click();
        auto* f = qobject_cast<FQimage*>(ui::Screens::instance().front());
        QVERIFY(f);
        QCOMPARE(iface(f->Label4[0])->role(), QAccessible::Button);
        QCOMPARE(iface(f->Label3[0])->role(), QAccessible::Button);
        QCOMPARE(nome(f->Image1), Etichette::argomento(1)->descrizione);
        const QString parte = numero ? Etichette::argomento(1)->nomiparti[numero].simplified() : QString();
        if (numero) {
            // Picked with the screen reader's own press, as a pupil without a mouse may do.
            iface(f->Label3[numero - 1])->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(nome(f->Label3[numero - 1]),
                     QStringLiteral("numero %1: %2 (scelto: ora premi una casella)").arg(numero).arg(parte));
            iface(f->Label4[0])->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        }
        if (risultato)
            f->cmdRISULT->click();
        QCOMPARE(nome(f->Label4[0]), numero ? casella.arg(parte).arg(numero) : casella);
        if (numero)
            QCOMPARE(nome(f->Label3[numero - 1]),
                     QStringLiteral("numero %1: %2 (già in una casella)").arg(numero).arg(parte));
        if (!risultato)
            QCOMPARE(nome(f->Label4[1]), QStringLiteral("casella 2: vuota"));
    }

    // The synthesis statements are check boxes: ticked is marked as true. Each reads its place, its
    // statement and how it stands, also after the correction has judged it.
    void synthesisStatementReadsItsState_data()
    {
        QTest::addColumn<bool>("vera");
        QTest::addColumn<bool>("segnata");
        QTest::addColumn<bool>("corretta");
        QTest::addColumn<QString>("stato");
        QTest::newRow("true, not marked") << true << false << false << "non segnata come vera";
        QTest::newRow("true, marked") << true << true << false << "segnata come vera";
        QTest::newRow("true, marked, corrected") << true << true << true << "giusto";
        QTest::newRow("true, left, corrected") << true << false << true << "non segnata come vera, sbagliato";
        QTest::newRow("false, marked, corrected") << false << true << true << "segnata come vera, sbagliato";
        QTest::newRow("false, left, corrected") << false << false << true << "giusto";
    }
    void synthesisStatementReadsItsState()
    {
        QFETCH(bool, vera);
        QFETCH(bool, segnata);
        QFETCH(bool, corretta);
        QFETCH(QString, stato);
        Fsintesi* f = primaProva();
        QVERIFY(f);
        int i = 0;
        while (i < 12 && f->prova().esattaMostrata(i) != vera)
            ++i;
        QVERIFY(i < 12);
        QAccessibleInterface* a = iface(f->Label11[i]);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::CheckBox);
        QVERIFY(a->state().checkable);
        if (segnata)
            a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        if (corretta) {
            // Something must be marked for the correction to run.
            int altra = 0;
            while (altra == i || f->prova().segno(altra) != ProvaSintesi::Segno::Neutro)
                ++altra;
            if (!segnata)
                f->Label11_Click(altra);
            f->CmdCorreggi->click();
            QVERIFY(!f->CmdCorreggi->isEnabled());
        }
        const QString detto = a->text(QAccessible::Name);
        QVERIFY2(detto.endsWith(QStringLiteral(": %1 (%2)").arg(f->Label11[i]->caption().simplified(), stato)),
                 qPrintable(detto));
        QCOMPARE(bool(a->state().checked), segnata);
        // Going on to the next sequence clears every mark, and the names say so.
        f->CmdContinuo->click();
        QVERIFY(a->text(QAccessible::Name).endsWith(QStringLiteral("(non segnata come vera)")));
        QVERIFY(!a->state().checked);
    }

    // Tab goes along the rows of the three columns of statements, and the statements are numbered in
    // the order a pupil hears them.
    void synthesisStatementsNumberedInTabOrder()
    {
        Fsintesi* f = primaProva();
        QVERIFY(f);
        QWidget* window = f->window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(window->focusWidget(), f->Label11[0]);
        for (int k = 1; k <= 12; ++k) {
            QWidget* w = window->focusWidget();
            QVERIFY(f->Label11.contains(static_cast<ui::Label*>(w)));
            QVERIFY2(nome(w).startsWith(QStringLiteral("affermazione %1: ").arg(k)), qPrintable(nome(w)));
            QTest::keyClick(w, Qt::Key_Tab);
        }
    }

    // A hotspot is a button that says, before it is pressed, what it will show; pressed by the screen reader
    // it shows it, but not while hidden, as a click could not reach it. The window, a frame, is named
    // after the screen in front, so that the reader says where the pupil is after every hand-over.
    void hotspotSaysWhatItShows_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("topic %d", n) << n;
    }
    void hotspotSaysWhatItShows()
    {
        QFETCH(int, n);
        QWidget* window = ui::Screens::instance().front()->window();
        QCOMPARE(iface(window)->role(), QAccessible::Window);
        QCOMPARE(nome(window), menu()->caption());
        menu()->Command1[n - 1]->click();
        auto* f = qobject_cast<Forarg*>(ui::Screens::instance().front());
        QVERIFY(f);
        const Argomento* a = Argomenti::argomento(n);
        QCOMPARE(nome(window), a->caption);
        while (f->numpagina() < a->paginaFinestrelle)
            f->cmdAVANTI->click();
        QVERIFY(!f->finestrelle.isEmpty());
        const QString prima = f->Label1->caption();
        ui::Label* nascosta = f->finestrelle.first();
        nascosta->hide();
        iface(nascosta)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(f->Label1->caption(), prima);
        nascosta->show();
        for (auto it = f->finestrelle.cbegin(); it != f->finestrelle.cend(); ++it) {
            QAccessibleInterface* i = iface(it.value());
            QVERIFY(i);
            QCOMPARE(i->role(), QAccessible::Button);
            const QString testo = a->finestrelle.value(it.key()).testo;
            QVERIFY2(!i->text(QAccessible::Description).isEmpty(), qPrintable(it.key()));
            QVERIFY(ui::displayText(testo).simplified().startsWith(i->text(QAccessible::Description)));
            i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(f->Label1->caption(), testo);
        }
        QCOMPARE(iface(f->Image1)->role(), QAccessible::Graphic);
        QCOMPARE(nome(f->Image1), a->pagina(a->paginaFinestrelle).descrizioneImmagine);
    }

private:
    std::unique_ptr<TestSupport::CartellaProgramma> m_cartella;
};

QTEST_MAIN(TestAccessibile)
#include "TestAccessibile.moc"
