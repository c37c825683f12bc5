#include "TestSupport.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include "data/CourseBuilder.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
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

void scriviConfigurazione(const QString& cartella, const QString& testo)
{
    QDir(cartella).mkpath(QStringLiteral("placche"));
    QFile ini(cartella + QStringLiteral("/placche/placche.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(testo.toUtf8());
}
}  // namespace

class TestFscelt : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    // Which archive the menu opens: the user's configuration, else the system-wide one, else the file
    // beside the program; a configured file that is missing or given by a relative path stops the start.
    void archiveFromTheConfiguration_data()
    {
        QTest::addColumn<QString>("utente");   // [archivio] file= of the user's file; "-" for no file
        QTest::addColumn<QString>("sistema");  // the same for the system-wide file
        QTest::addColumn<QString>("atteso");   // "accanto", "configurato", or the start of the message
        QTest::newRow("no configuration") << "-" << "-" << "accanto";
        QTest::newRow("a file without the key") << "" << "" << "accanto";
        QTest::newRow("system-wide") << "-" << "ARCHIVIO" << "configurato";
        QTest::newRow("user's") << "ARCHIVIO" << "-" << "configurato";
        QTest::newRow("user's before system-wide") << "ARCHIVIO" << "MANCANTE" << "configurato";
        QTest::newRow("configured file missing") << "-" << "MANCANTE" << "Non trovo l'archivio del corso:\n";
        QTest::newRow("relative path") << "altre/morvel6.mdb" << "ARCHIVIO" << "Il file di configurazione\n";
    }
    void archiveFromTheConfiguration()
    {
        QFETCH(QString, utente);
        QFETCH(QString, sistema);
        QFETCH(QString, atteso);
        TestSupport::CartellaProgramma folder;
        QTemporaryDir altrove;
        const QString archivio = altrove.filePath(QStringLiteral("dati/morvel6.mdb"));
        QDir().mkpath(altrove.filePath(QStringLiteral("dati")));
        QString message;
        QCOMPARE(data::CourseBuilder::build(QStringLiteral(PLACCHE_SORGENTE_CORSO), archivio, &message),
                 data::CourseBuilder::Outcome::Created);
        const QString mancante = altrove.filePath(QStringLiteral("dati/non-ce.mdb"));
        // The program folder has just pointed both variables at an empty folder; the case sets its own.
        const QString ini[2] = {utente, sistema};
        const QString cartelle[2] = {altrove.filePath(QStringLiteral("utente")),
                                     altrove.filePath(QStringLiteral("sistema"))};
        for (int i = 0; i < 2; ++i) {
            if (ini[i] == QLatin1String("-"))
                continue;
            QString valore = ini[i];
            valore.replace(QStringLiteral("ARCHIVIO"), archivio).replace(QStringLiteral("MANCANTE"), mancante);
            scriviConfigurazione(cartelle[i], valore.isEmpty() ? QStringLiteral("[archivio]\n")
                                                               : QStringLiteral("[archivio]\nfile=%1\n").arg(valore));
        }
        qputenv("XDG_CONFIG_HOME", cartelle[0].toUtf8());
        // A list of folders, as the system gives it; the first one does not exist.
        qputenv("XDG_CONFIG_DIRS", (altrove.filePath(QStringLiteral("nessuna")) + QLatin1Char(':') + cartelle[1]).toUtf8());

        if (atteso == QLatin1String("accanto") || atteso == QLatin1String("configurato")) {
            QVERIFY(TestSupport::apriMenu());
            QCOMPARE(TestSupport::sessione().dbcorso->path(),
                     atteso == QLatin1String("accanto") ? folder.archivio() : archivio);
            QCOMPARE(ui::MessageBox::shown().size(), 0);
            return;
        }
        QVERIFY(!TestSupport::apriMenu());
        QCOMPARE(TestSupport::codiceAvvio(), 2);
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.startsWith(atteso), qPrintable(shown[0].text));
        // The message names the configuration file, and the missing archive when that is the fault.
        QVERIFY(shown[0].text.contains(cartelle[0] + QStringLiteral("/placche/placche.ini"))
                || shown[0].text.contains(cartelle[1] + QStringLiteral("/placche/placche.ini")));
        if (atteso.startsWith(QStringLiteral("Non trovo")))
            QVERIFY(shown[0].text.contains(mancante));
        QVERIFY(!QFile::exists(mancante));
    }

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

    // The menu's start brings the archive to the course the program carries: every question table is
    // found to hold it and recorded so; a table a teacher changed stays, and the pupil is shown nothing.
    void startChecksTheCourseOfTheArchive()
    {
        TestSupport::CartellaProgramma folder;
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            raw.setDatabaseName(folder.archivio());
            raw.open();
            QSqlQuery(QStringLiteral(R"(UPDATE "domande2" SET "dom1" = 'Scritta in classe.' WHERE "id" = 1)"), raw);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        QVERIFY(TestSupport::apriMenu());
        QCOMPARE(ui::MessageBox::shown().size(), 0);
        QFile versione(QStringLiteral(PLACCHE_SORGENTE_CORSO "/VERSIONE"));
        QVERIFY(versione.open(QIODevice::ReadOnly));
        const int corso = versione.readAll().trimmed().toInt();
        QSqlQuery q(TestSupport::sessione().dbcorso->connection());
        QVERIFY(q.exec(QStringLiteral(R"(SELECT "tabella", "versione" FROM "versioni_corso" ORDER BY "tabella")")));
        QStringList registro;
        while (q.next())
            registro << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString();
        QStringList attese;
        for (const QString& t : data::Database::questionTables())
            attese << QStringLiteral("%1 %2").arg(t).arg(t == QLatin1String("domande2") ? 0 : corso);
        QCOMPARE(registro, attese);
        menu()->Command1_Click(1);
        QCOMPARE(TestSupport::sessione().domande[1], QStringLiteral("Scritta in classe."));
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
