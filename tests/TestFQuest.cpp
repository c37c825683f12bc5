#include "TestSupport.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "assessment/FQimage.h"
#include "assessment/FQuest.h"
#include "assessment/Questionario.h"
#include "ui/MessageBox.h"
#include "ui/Random.h"
#include "ui/Screens.h"

#include <QSqlQuery>
#include <QTest>

namespace {
const auto kMancano = QStringLiteral(
    "Non hai fornito TUTTE LE RISPOSTE.  Prima di continuare, controlla e completa le risposte.");

// A page of a question table as stored: label, and each statement's truth.
struct Pagina {
    QString argomento;
    QHash<QString, int> verita;
};
// The pages of `table`, after keeping only its first `n` (all with -1) and setting `guasto` on its second,
// straight on the course file before the program opens it. A damaged table first loses its checks, so that
// it can hold what a damaged file could.
QList<Pagina> pagine(const QString& path, const QString& table, int n = -1, const QString& guasto = {})
{
    QStringList sql;
    if (!guasto.isEmpty())
        sql << QStringLiteral(R"(CREATE TABLE "t" AS SELECT * FROM "%1" ORDER BY rowid)").arg(table)
            << QStringLiteral(R"(DROP TABLE "%1")").arg(table)
            << QStringLiteral(R"(ALTER TABLE "t" RENAME TO "%1")").arg(table);
    if (n >= 0)
        sql << QStringLiteral(R"(DELETE FROM "%1" WHERE rowid NOT IN (SELECT rowid FROM "%1" ORDER BY rowid LIMIT %2))")
                   .arg(table)
                   .arg(n);
    if (!guasto.isEmpty())
        sql << QStringLiteral(R"(UPDATE "%1" SET %2 WHERE rowid = 2)").arg(table, guasto);
    QList<Pagina> out;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("grezzo"));
        raw.setDatabaseName(path);
        raw.open();
        for (const QString& s : sql) {
            QSqlQuery q(raw);
            if (!q.exec(s))
                qFatal("%s: %s", qPrintable(s), qPrintable(q.lastError().text()));
        }
        QSqlQuery q(QStringLiteral(R"(SELECT * FROM "%1" ORDER BY rowid)").arg(table), raw);
        while (q.next()) {
            Pagina p;
            p.argomento = q.value(1).toString();
            for (int i = 0; i < 10; ++i)
                p.verita.insert(q.value(2 + i).toString(), q.value(12 + i).toInt());
            out.append(p);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("grezzo"));
    return out;
}

using TestSupport::menu;

FQuest* quest()
{
    return qobject_cast<FQuest*>(ui::Screens::instance().find(QStringLiteral("FQuest")));
}

// The menu, topic `argomento` chosen, and the questionnaire in front as a lesson opens it.
FQuest* apri(int argomento)
{
    if (!TestSupport::apriMenu())
        return nullptr;
    menu()->Command1_Click(argomento - 1);
    return qobject_cast<FQuest*>(ui::Screens::instance().show(QStringLiteral("FQuest")));
}

// Ticks every row: by its truth, or against it for the rows in `sbagliate`.
void rispondi(FQuest* q, const Pagina& p, const QSet<int>& sbagliate = {})
{
    for (int r = 0; r < 10; ++r) {
        const QString testo = q->Text1[r]->text();
        QVERIFY2(p.verita.contains(testo), qPrintable(testo));
        const bool vero = (p.verita.value(testo) == 1) != sbagliate.contains(r);
        (vero ? q->Check1 : q->Check2)[r]->click();
    }
}

QStringList testi(FQuest* q)
{
    QStringList l;
    for (auto* t : q->Text1)
        l << t->text();
    return l;
}

int righeRosse(FQuest* q)
{
    int n = 0;
    for (auto* t : q->Text1)
        n += t->backColor() == QColor(255, 0, 0) ? 1 : 0;
    return n;
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
}  // namespace

class TestFQuest : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    // Every seed gives a permutation whose codes follow their statements, and no row is favoured.
    void ordineCasualeUniforme()
    {
        std::array<QString, 11> domande;
        std::array<qint16, 11> soluzioni{};
        for (int i = 1; i <= 10; ++i) {
            domande[i] = QStringLiteral("affermazione %1").arg(i);
            soluzioni[i] = qint16(i % 3 == 0 ? 1 : 0);
        }
        std::array<int, 11> primaInRiga{};
        const int semi = 3000;
        for (int seme = 0; seme < semi; ++seme) {
            ui::Random::setFixedSeed(quint32(seme));
            const auto pagina = Questionario::ordinecasuale(domande, soluzioni, [] { return ui::Random::next(); });
            QSet<QString> visti;
            for (int i = 1; i <= 10; ++i) {
                const int origine = pagina.testi[i].section(QLatin1Char(' '), 1).toInt();
                QVERIFY(origine >= 1 && origine <= 10);
                QCOMPARE(pagina.codici[i], soluzioni[origine]);
                visti.insert(pagina.testi[i]);
                if (origine == 1)
                    ++primaInRiga[i];
            }
            QCOMPARE(visti.size(), 10);
        }
        for (int i = 1; i <= 10; ++i)
            QVERIFY2(primaInRiga[i] > semi / 10 * 0.75 && primaInRiga[i] < semi / 10 * 1.25,
                     qPrintable(QStringLiteral("riga %1: %2 volte").arg(i).arg(primaInRiga[i])));
        // Even a page with an empty statement is laid out, instead of drawing for ever.
        domande[4].clear();
        const auto pagina = Questionario::ordinecasuale(domande, soluzioni, [] { return ui::Random::next(); });
        QCOMPARE(std::count(pagina.testi.begin() + 1, pagina.testi.end(), QString()), 1);
    }

    // One answer a row, the last ticked; an unticked row stops the check: the message, nothing scored, nothing
    // stored, the page as it was.
    void rigaSenzaRisposta()
    {
        TestSupport::CartellaProgramma folder;
        FQuest* q = apri(1);
        QVERIFY(q);
        ui::MessageBox::setNextInput(QStringLiteral("Bianchi Anna"));
        q->cmdquestionario->click();
        const Pagina p = pagine(folder.archivio(), QStringLiteral("domande1")).first();
        rispondi(q, p);
        for (int volta = 0; volta < 2; ++volta) {
            const bool vero = !q->Check1[4]->isChecked();
            (vero ? q->Check1 : q->Check2)[4]->click();
            QCOMPARE(q->Check1[4]->isChecked(), vero);
            QCOMPARE(q->Check2[4]->isChecked(), !vero);
            QCOMPARE(int(TestSupport::sessione().risposte[5]), vero ? 1 : 0);
        }
        q->Check1[7]->isChecked() ? q->Check1[7]->click() : q->Check2[7]->click();
        const QStringList righe = testi(q);
        q->cmdRISULT->click();
        QCOMPARE(q->mancanti(), 1);
        QCOMPARE(ui::MessageBox::shown().last().text, kMancano);
        QCOMPARE(ui::MessageBox::shown().last().title, ui::MessageBox::applicationTitle());
        QCOMPARE(q->Labrisult->caption(), QString());
        QCOMPARE(righeRosse(q), 0);
        QVERIFY(q->cmdRISULT->isEnabled());
        QVERIFY(TestSupport::righeStudenti(folder.archivio()).isEmpty());
        QCOMPARE(testi(q), righe);
    }

    // Exercise pages are checked, wrong rows in red, nothing stored, and run in a loop: the fourth page of a
    // three-page table is the first again, in another order.
    void eserciziInCiclo()
    {
        TestSupport::CartellaProgramma folder(true, true);
        const QList<Pagina> tabella = pagine(folder.archivio(), QStringLiteral("domande3"), 3);
        QCOMPARE(tabella.size(), 3);
        FQuest* q = apri(3);
        QVERIFY(q);
        q->cmdesercitazione->click();
        QCOMPARE(q->cmdquestionario->caption(), QStringLiteral("PASSO AL TEST"));
        const QStringList primoOrdine = testi(q);
        const QList<QSet<int>> sbagliate{{0, 3, 6}, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
        for (int n = 0; n < 3; ++n) {
            QCOMPARE(q->Text2->text(), tabella[n].argomento);
            rispondi(q, tabella[n], sbagliate[n]);
            q->cmdRISULT->click();
            QCOMPARE(q->Labrisult->caption(), QString::number(10 - sbagliate[n].size()));
            QCOMPARE(righeRosse(q), int(sbagliate[n].size()));
            for (int r : sbagliate[n])
                QCOMPARE(q->Text1[r]->backColor(), QColor(255, 0, 0));
            QVERIFY(!q->cmdRISULT->isEnabled());
            QVERIFY(q->cmdmostradomande->isVisible() && q->cmdmostradomande->isEnabled());
            if (n == 0)
                TestSupport::fotografa(q->window(), QStringLiteral("FQuest-esercizio-3-sbagliate"));
            ui::Random::setFixedSeed(std::nullopt);  // from now on the clock, as in class
            q->cmdmostradomande->click();
        }
        QCOMPARE(q->Text2->text(), tabella[0].argomento);
        const QStringList ordine = testi(q);
        QVERIFY(ordine != primoOrdine);
        QCOMPARE(QSet<QString>(ordine.begin(), ordine.end()), QSet<QString>(primoOrdine.begin(), primoOrdine.end()));
        QVERIFY(TestSupport::righeStudenti(folder.archivio()).isEmpty());
        QCOMPARE(ui::MessageBox::shown().size(), 0);
    }

    // A test over a three-page table stores three rows, then only the way on and out remain.
    void testSuTrePagine()
    {
        TestSupport::CartellaProgramma folder(true, true);
        const QList<Pagina> tabella = pagine(folder.archivio(), QStringLiteral("domande4"), 3);
        FQuest* q = apri(4);
        QVERIFY(q);
        q->cmdesercitazione->click();
        ui::MessageBox::setNextInput(QStringLiteral("  Verdi   Luca "));
        q->cmdquestionario->click();
        QCOMPARE(pulsantiUsabili(q), (QStringList{"Cmdhelp", "cmdRISULT", "cmdscegli", "cmduscita"}));
        QVERIFY(q->cmdimage->isVisible() && !q->cmdimage->isEnabled());
        for (int n = 0; n < 3; ++n) {
            QCOMPARE(q->Text2->text(), tabella[n].argomento);
            rispondi(q, tabella[n], n == 2 ? QSet<int>{0, 5} : QSet<int>{n});
            q->cmdRISULT->click();
            if (n < 2) {
                QCOMPARE(pulsantiUsabili(q), (QStringList{"Cmdhelp", "cmdmostradomande", "cmdscegli", "cmduscita"}));
                q->cmdmostradomande->click();
            }
        }
        TestSupport::fotografa(q->window(), QStringLiteral("FQuest-test-finito"));
        QCOMPARE(q->Labrisult->caption(), QStringLiteral("8"));
        QCOMPARE(righeRosse(q), 2);
        QCOMPARE(pulsantiUsabili(q), (QStringList{"Cmdhelp", "cmdimage", "cmdscegli", "cmduscita"}));
        const QList<TestSupport::Riga> righe = TestSupport::righeStudenti(folder.archivio());
        QCOMPARE(righe.size(), 3);
        for (int n = 0; n < 3; ++n) {
            QCOMPARE(righe[n].nome, QStringLiteral("  Verdi   Luca "));
            QCOMPARE(righe[n].argomento, tabella[n].argomento);
            QCOMPARE(righe[n].punteggio, n == 2 ? 8 : 9);
            QCOMPARE(righe[n].maxpunti, 10);
        }
        QCOMPARE(TestSupport::sessione().rsdomande->AbsolutePosition(), 0);
        QCOMPARE(ui::MessageBox::shown().size(), 1);  // only the name

        // On to the picture, which finds the test mode.
        q->cmdimage->click();
        auto* immagine = qobject_cast<FQimage*>(ui::Screens::instance().front());
        QVERIFY(immagine);
        QVERIFY(immagine->cmdRISULT->isEnabled());
        QVERIFY(!immagine->cmdscegliarg->isEnabled());
        QVERIFY(ui::Screens::instance().isLoaded(QStringLiteral("FQuest")));
    }

    // "Menù" in the middle of a test unloads the screen and keeps what was stored; the next test starts from
    // the first page, and the name (cancelled: "Anonimo") is not asked again.
    void menuAMetaTest()
    {
        TestSupport::CartellaProgramma folder;
        const QList<Pagina> tabella = pagine(folder.archivio(), QStringLiteral("domande1"), 3);
        FQuest* q = apri(1);
        QVERIFY(q);
        ui::MessageBox::setNextInput(QString(), true);
        q->cmdquestionario->click();
        for (int n = 0; n < 2; ++n) {
            rispondi(q, tabella[n]);
            q->cmdRISULT->click();
            q->cmdmostradomande->click();
        }
        q->cmdscegli->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!quest());
        QCOMPARE(ui::Screens::instance().front(), menu());
        QCOMPARE(TestSupport::righeStudenti(folder.archivio()).size(), 2);

        menu()->Command1_Click(0);
        q = qobject_cast<FQuest*>(ui::Screens::instance().show(QStringLiteral("FQuest")));
        QVERIFY(q->cmdesercitazione->isVisible());  // a fresh screen
        q->cmdquestionario->click();
        QCOMPARE(q->Text2->text(), tabella[0].argomento);
        for (int n = 0; n < 3; ++n) {
            rispondi(q, tabella[n]);
            q->cmdRISULT->click();
            if (n < 2)
                q->cmdmostradomande->click();
        }
        const QList<TestSupport::Riga> righe = TestSupport::righeStudenti(folder.archivio());
        QCOMPARE(righe.size(), 5);
        QCOMPARE(righe[2].argomento, tabella[0].argomento);
        QCOMPARE(righe[4].argomento, tabella[2].argomento);
        QCOMPARE(righe[4].nome, QStringLiteral("Anonimo"));
        int domandeNome = 0;
        for (const auto& box : ui::MessageBox::shown())
            domandeNome += box.isInput ? 1 : 0;
        QCOMPARE(domandeNome, 1);
    }

    // A damaged page is named and skipped; the other pages go on as usual.
    void paginaDifettosa_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("detto");
        QTest::addColumn<bool>("test");
        QTest::newRow("empty statement, test") << R"("dom3" = '  ')" << "manca l'affermazione numero 3" << true;
        QTest::newRow("missing statement, exercise") << R"("dom10" = NULL)" << "manca l'affermazione numero 10"
                                                     << false;
        QTest::newRow("missing code, test")
            << R"("ris1" = NULL)" << "manca la risposta giusta dell'affermazione numero 1" << true;
        QTest::newRow("code 2, exercise")
            << R"("ris7" = 2)" << "affermazione numero 7 non è né 1 (vero) né 0 (falso)" << false;
        QTest::newRow("no label, test") << R"("argomento" = NULL)" << "manca il titolo della pagina" << true;
    }
    void paginaDifettosa()
    {
        QFETCH(QString, guasto);
        QFETCH(QString, detto);
        QFETCH(bool, test);
        TestSupport::CartellaProgramma folder;
        const QList<Pagina> tabella = pagine(folder.archivio(), QStringLiteral("domande6"), 3, guasto);
        FQuest* q = apri(6);
        QVERIFY(q);
        ui::MessageBox::setNextInput(QStringLiteral("Gialli Eva"));
        (test ? q->cmdquestionario : q->cmdesercitazione)->click();
        rispondi(q, tabella[0]);
        q->cmdRISULT->click();
        q->cmdmostradomande->click();
        const auto shown = ui::MessageBox::shown();
        const QString avviso = shown.value(shown.size() - 1).text;
        QVERIFY2(avviso.startsWith(QStringLiteral("La pagina 2 della tabella di domande \"domande6\" non si "
                                                  "può usare: ")) &&
                     avviso.contains(detto),
                 qPrintable(avviso));
        QCOMPARE(q->Text2->text(), tabella[2].argomento);
        rispondi(q, tabella[2]);
        q->cmdRISULT->click();
        const QList<TestSupport::Riga> righe = TestSupport::righeStudenti(folder.archivio());
        if (test) {
            QCOMPARE(righe.size(), 2);
            QCOMPARE(righe[1].argomento, tabella[2].argomento);
            QVERIFY(q->cmdimage->isEnabled());
        } else {
            QVERIFY(righe.isEmpty());
            q->cmdmostradomande->click();
            QCOMPARE(q->Text2->text(), tabella[0].argomento);
        }
    }

    // A topic whose table holds no page: the pupil is told, and goes back to the menu.
    void tabellaSenzaPagine_data()
    {
        QTest::addColumn<bool>("test");
        QTest::newRow("exercise") << false;
        QTest::newRow("test") << true;
    }
    void tabellaSenzaPagine()
    {
        QFETCH(bool, test);
        TestSupport::CartellaProgramma folder;
        pagine(folder.archivio(), QStringLiteral("domande2"), 0);
        FQuest* q = apri(2);
        QVERIFY(q);
        ui::MessageBox::setNextInput(QStringLiteral("Rosa Ada"));
        (test ? q->cmdquestionario : q->cmdesercitazione)->click();
        QCOMPARE(ui::MessageBox::shown().last().text,
                 QStringLiteral("La tabella di domande \"domande2\" non contiene nessuna pagina: il questionario di "
                                "questo argomento non si può fare.\n\nAvvisa l'insegnante. Ora torni al menù."));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!quest());
        QCOMPARE(ui::Screens::instance().front(), menu());
        QCOMPARE(TestSupport::fineRichiesta(), 0);
    }

    // A row the archive refuses is reported and not counted, and the test goes on; "Riprova" stores the same
    // page once the archive takes it again.
    void registrazione_data()
    {
        QTest::addColumn<int>("riprova");
        QTest::newRow("refused, Continua") << 0;
        QTest::newRow("stored at the second Riprova") << 2;
    }
    void registrazione()
    {
        QFETCH(int, riprova);
        TestSupport::CartellaProgramma folder;
        const QList<Pagina> tabella = pagine(folder.archivio(), QStringLiteral("domande3"));
        FQuest* q = apri(3);
        QVERIFY(q);
        ui::MessageBox::setNextInput(QStringLiteral("Blu Ivo"));
        q->cmdquestionario->click();
        rispondi(q, tabella[0]);
        TestSupport::rifiutaFinoARiprova(folder.archivio(), QStringLiteral("studenti"), riprova);
        q->cmdRISULT->click();
        QCOMPARE(TestSupport::richiesteDiRiprovare(), qMax(riprova, 1));
        const QString avviso = ui::MessageBox::shown().last().text;
        QVERIFY2(avviso.startsWith(QStringLiteral("Attenzione: il punteggio di questa pagina NON è stato salvato")) &&
                     avviso.contains(QStringLiteral("il disco è pieno")),
                 qPrintable(avviso));
        QCOMPARE(q->pagineRegistrate(), riprova ? 1 : 0);
        QCOMPARE(q->Labrisult->caption(), QStringLiteral("10"));
        QVERIFY(q->cmdmostradomande->isEnabled());
        const auto righe = TestSupport::righeStudenti(folder.archivio());
        QCOMPARE(righe.size(), riprova ? 1 : 0);
        if (riprova) {
            QCOMPARE(righe[0].nome, QStringLiteral("Blu Ivo"));
            QCOMPARE(righe[0].punteggio, 10);
        }
    }

    void aiuto()
    {
        TestSupport::CartellaProgramma folder;
        FQuest* q = apri(1);
        QVERIFY(q);
        q->Cmdhelp->click();
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].buttons, ui::MessageBox::Ok);
        QCOMPARE(shown[0].title, ui::MessageBox::applicationTitle());
        QCOMPARE(shown[0].text,
                 QStringLiteral("Hai DUE possibilità: 1) cliccare su 'PASSO AL TEST' e INIZIARE SUBITO IL QUESTIONARIO. "
                                "Al termine delle risposte ti verrà comunicato il risultato e questo verrà registrato "
                                "nell'archivio.     2) Oppure puoi cliccare su 'PRIMA MI ESERCITO', per controllare e "
                                "migliorare le tue prestazioni. Al termine dell'esercitazione, potrai comunque PASSARE "
                                "AL QUESTIONARIO per registrare il risultato"));
        QCOMPARE(pulsantiUsabili(q), (QStringList{"Cmdhelp", "cmdesercitazione", "cmdquestionario", "cmdscegli", "cmduscita"}));
        QCOMPARE(q->cmdquestionario->caption(), QStringLiteral("   PASSO al TEST    "));
    }

    // The keyboard alone: the arrows move between the boxes, a box describes its statement; a page is
    // answered by the row's number, then V or F, then Enter.
    void tastiera()
    {
        TestSupport::CartellaProgramma folder;
        const Pagina p = pagine(folder.archivio(), QStringLiteral("domande5")).first();
        FQuest* q = apri(5);
        QVERIFY(q);
        q->cmdesercitazione->click();
        q->window()->activateWindow();
        QTest::keyClick(q, Qt::Key_5);
        const std::pair<Qt::Key, ui::CheckBox*> frecce[] = {
            {Qt::Key_Left, q->Check2[4]}, {Qt::Key_Up, q->Check2[3]}, {Qt::Key_Right, q->Check1[3]},
            {Qt::Key_Down, q->Check1[4]}};
        for (const auto& [tasto, casella] : frecce) {
            QTest::keyClick(q->focusWidget(), tasto);
            QCOMPARE(q->focusWidget(), casella);
        }
        QVERIFY(!q->Text1[4]->text().isEmpty());
        QCOMPARE(q->Check1[4]->accessibleDescription(), q->Text1[4]->text().simplified());
        for (int r = 0; r < 10; ++r) {
            QTest::keyClick(q, r == 9 ? Qt::Key_0 : Qt::Key(Qt::Key_1 + r));
            QCOMPARE(q->focusWidget(), q->Check1[r]);
            const bool vero = p.verita.value(q->Text1[r]->text()) == 1;
            QTest::keyClick(q->focusWidget(), vero ? Qt::Key_V : Qt::Key_F);
        }
        // The last answer hands the focus to the page's check.
        QCOMPARE(q->focusWidget(), q->cmdRISULT);
        QTest::keyClick(q->focusWidget(), Qt::Key_Return);
        QCOMPARE(q->Labrisult->caption(), QStringLiteral("10"));
    }
};

QTEST_MAIN(TestFQuest)
#include "TestFQuest.moc"
