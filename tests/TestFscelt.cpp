#include "TestSupport.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {
Fscelt* menu()
{
    return qobject_cast<Fscelt*>(ui::Screens::instance().find(QStringLiteral("Fscelt")));
}

// The first page of a question table, read straight from the file.
QStringList firstPage(const QString& path, const QString& table)
{
    QStringList page;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(path);
        raw.open();
        QSqlQuery q(QStringLiteral("SELECT * FROM \"%1\" ORDER BY \"id\" LIMIT 1").arg(table), raw);
        if (q.next())
            for (int i = 0; i < 22; ++i)
                page << q.value(i).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return page;
}
}  // namespace

class TestFscelt : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    void topicButtonOpensItsQuestionTable_data()
    {
        QTest::addColumn<int>("indice");
        QTest::newRow("first topic") << 0;
        QTest::newRow("last topic") << 5;
    }
    void topicButtonOpensItsQuestionTable()
    {
        QFETCH(int, indice);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1[indice]->click();
        QCOMPARE(int(TestSupport::sessione().numargomento), indice + 1);
        const QString table = QStringLiteral("domande%1").arg(indice + 1);
        QVERIFY(TestSupport::sessione().rsdomande);
        QCOMPARE(TestSupport::sessione().rsdomande->table(), table);
        const QStringList page = firstPage(folder.archivio(), table);
        QCOMPARE(page.size(), 22);
        QCOMPARE(TestSupport::sessione().titolo, page[1]);
        for (int i = 1; i <= 10; ++i) {
            QCOMPARE(TestSupport::sessione().domande[i], page[i + 1]);
            QCOMPARE(QString::number(TestSupport::sessione().soluzioni[i]), page[i + 11]);
        }
        // The topic's lesson comes to the front, the menu is hidden.
        QCOMPARE(ui::Screens::instance().front()->name(), QStringLiteral("forarg%1").arg(indice + 1));
        QVERIFY(!menu()->isVisible());
        QCOMPARE(ui::MessageBox::shown().size(), 0);
    }

    void secondTopicReplacesTheRecordset()
    {
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1_Click(1);
        TestSupport::sessione().rsdomande->MoveNext();
        menu()->Command1_Click(3);
        QCOMPARE(TestSupport::sessione().rsdomande->table(), QStringLiteral("domande4"));
        QCOMPARE(TestSupport::sessione().titolo, firstPage(folder.archivio(), QStringLiteral("domande4")).value(1));
        menu()->Command1_Click(1);
        QCOMPARE(TestSupport::sessione().titolo, firstPage(folder.archivio(), QStringLiteral("domande2")).value(1));
    }

    // Without a usable course database the program says so, names the file, and shows no menu.
    void noDatabaseNoMenu()
    {
        TestSupport::CartellaProgramma folder(false);
        QVERIFY(!TestSupport::apriMenu());
        QCOMPARE(TestSupport::codiceAvvio(), 2);
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(QStringLiteral("morvel6.mdb")));
        QVERIFY(shown[0].text.startsWith(QStringLiteral("Non trovo l'archivio del corso")));
        QVERIFY(!QFile::exists(folder.archivio()));
        QVERIFY(!ui::Screens::instance().front());
    }

    void refusedExitLeavesTheMenu()
    {
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1_Click(2);
        ui::Screens::instance().show(QStringLiteral("Fscelt"));
        const QString titolo = TestSupport::sessione().titolo;
        ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerCancel);
        menu()->cmduscita->click();
        QCOMPARE(TestSupport::fineRichiesta(), 0);
        QCOMPARE(ui::Screens::instance().front(), menu());
        QCOMPARE(TestSupport::sessione().titolo, titolo);
        QCOMPARE(int(TestSupport::sessione().numargomento), 3);
        ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerOk);
        menu()->cmduscita->click();
        QCOMPARE(TestSupport::fineRichiesta(), 1);
    }

    void menuFillsTheWindowWithItsCaption()
    {
        TestSupport::CartellaProgramma folder(true, true);
        QVERIFY(TestSupport::apriMenu());
        QWidget* window = menu()->window();
        QCOMPARE(window->windowTitle(), QStringLiteral("scelta dell'argomento"));
        QCOMPARE(menu()->geometry(), window->rect());
        QCOMPARE(menu()->Command1[3]->caption(), QStringLiteral("4.  I MOVIMENTI DEI MARGINI   "));
        QVERIFY(!menu()->Image1->image().isNull());
    }
};

QTEST_MAIN(TestFscelt)
#include "TestFscelt.moc"
