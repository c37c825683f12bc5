#include "TestSupport.h"

#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

#include "data/CourseBuilder.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {
using TestSupport::menu;

// Runs `sql` straight on the file, and gives the first row it reads.
QStringList grezzo(const QString& path, const QString& sql)
{
    QStringList row;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(path);
        raw.open();
        QSqlQuery q(sql, raw);
        if (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return row;
}
}  // namespace

class TestFscelt : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup() { TestSupport::chiudiTutto(); }

    // Which archive the menu opens: the user's configuration, else the system-wide one, else the file
    // beside the program; a missing archive or a relative path stops the start, with no menu.
    void archiveFromTheConfiguration_data()
    {
        QTest::addColumn<QString>("utente");   // [archivio] file= of the user's file; "-" for no file
        QTest::addColumn<QString>("sistema");  // the same for the system-wide file
        QTest::addColumn<bool>("accanto");     // a course database beside the program
        QTest::addColumn<QString>("atteso");   // "accanto", "configurato", or the start of the message
        QTest::newRow("no configuration") << "-" << "-" << true << "accanto";
        QTest::newRow("a file without the key") << "" << "" << true << "accanto";
        QTest::newRow("system-wide") << "-" << "ARCHIVIO" << true << "configurato";
        QTest::newRow("user's before system-wide") << "ARCHIVIO" << "MANCANTE" << true << "configurato";
        QTest::newRow("none beside the program") << "-" << "-" << false << "Non trovo l'archivio del corso";
        QTest::newRow("configured file missing") << "-" << "MANCANTE" << true << "Non trovo l'archivio del corso:\n";
        QTest::newRow("relative path") << "altre/morvel6.mdb" << "ARCHIVIO" << true << "Il file di configurazione\n";
    }
    void archiveFromTheConfiguration()
    {
        QFETCH(QString, utente);
        QFETCH(QString, sistema);
        QFETCH(bool, accanto);
        QFETCH(QString, atteso);
        TestSupport::CartellaProgramma folder(accanto);
        QTemporaryDir altrove;
        const QString archivio = altrove.filePath(QStringLiteral("dati/morvel6.mdb"));
        QDir().mkpath(altrove.filePath(QStringLiteral("dati")));
        QString message;
        QCOMPARE(data::CourseBuilder::build(QStringLiteral(PLACCHE_SORGENTE_CORSO), archivio, &message),
                 data::CourseBuilder::Outcome::Created);
        const QString mancante = accanto ? altrove.filePath(QStringLiteral("dati/non-ce.mdb")) : folder.archivio();
        // Only the case's own configuration files apply.
        const QString ini[2] = {utente, sistema};
        const QString cartelle[2] = {altrove.filePath(QStringLiteral("utente")),
                                     altrove.filePath(QStringLiteral("sistema"))};
        for (int i = 0; i < 2; ++i) {
            if (ini[i] == QLatin1String("-"))
                continue;
            QString valore = ini[i];
            valore.replace(QStringLiteral("ARCHIVIO"), archivio).replace(QStringLiteral("MANCANTE"), mancante);
            QDir(cartelle[i]).mkpath(QStringLiteral("placche"));
            QFile f(cartelle[i] + QStringLiteral("/placche/placche.ini"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(valore.isEmpty() ? QByteArray("[archivio]\n")
                                     : QStringLiteral("[archivio]\nfile=%1\n").arg(valore).toUtf8());
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
        QVERIFY(!ui::Screens::instance().front());
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.startsWith(atteso), qPrintable(shown[0].text));
        // The message names the configuration file, and the missing archive when that is the fault.
        if (accanto)
            QVERIFY(shown[0].text.contains(cartelle[0] + QStringLiteral("/placche/placche.ini"))
                    || shown[0].text.contains(cartelle[1] + QStringLiteral("/placche/placche.ini")));
        if (atteso.startsWith(QStringLiteral("Non trovo")))
            QVERIFY(shown[0].text.contains(mancante));
        QVERIFY(!QFile::exists(mancante));
    }

    // A topic chosen after another one replaces the questions of the first, wherever they were read to.
    void topicButtonOpensItsQuestionTable_data()
    {
        QTest::addColumn<int>("prima");
        QTest::addColumn<int>("indice");
        QTest::newRow("first topic, after the fourth") << 3 << 0;
        QTest::newRow("last topic, after the second") << 1 << 5;
    }
    void topicButtonOpensItsQuestionTable()
    {
        QFETCH(int, prima);
        QFETCH(int, indice);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        menu()->Command1[prima]->click();
        TestSupport::sessione().rsdomande->MoveNext();
        ui::Screens::instance().show(QStringLiteral("Fscelt"));
        menu()->Command1[indice]->click();
        QCOMPARE(int(TestSupport::sessione().numargomento), indice + 1);
        const QString table = QStringLiteral("domande%1").arg(indice + 1);
        QVERIFY(TestSupport::sessione().rsdomande);
        QCOMPARE(TestSupport::sessione().rsdomande->table(), table);
        const QStringList page =
            grezzo(folder.archivio(), QStringLiteral(R"(SELECT * FROM "%1" ORDER BY "id" LIMIT 1)").arg(table));
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

    // The menu's start brings the archive to the course the program carries: every question table is
    // found to hold it and recorded so; a table a teacher changed stays, and the pupil is shown nothing.
    void startChecksTheCourseOfTheArchive()
    {
        TestSupport::CartellaProgramma folder;
        grezzo(folder.archivio(),
               QStringLiteral(R"(UPDATE "domande2" SET "dom1" = 'Scritta in classe.' WHERE "id" = 1)"));
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

    // The menu fills its window, with its caption and picture; a refused exit leaves it in front, as it was.
    void menuWindowAndExit()
    {
        TestSupport::CartellaProgramma folder(true, true);
        QVERIFY(TestSupport::apriMenu());
        QWidget* window = menu()->window();
        QCOMPARE(window->windowTitle(), QStringLiteral("scelta dell'argomento"));
        QCOMPARE(menu()->geometry(), window->rect());
        QCOMPARE(menu()->Command1[3]->caption(), QStringLiteral("4.  I MOVIMENTI DEI MARGINI   "));
        QVERIFY(!menu()->Image1->image().isNull());
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
};

QTEST_MAIN(TestFscelt)
#include "TestFscelt.moc"
