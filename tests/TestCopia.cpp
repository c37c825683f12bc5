// The backup copy made by `creadb --copia`: a file that opens and holds every committed row, taken also
// while another connection is storing, never over an existing file, from the configured archive when a
// configuration names one.
#include "data/CourseBuilder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Every row of every table, in stored order, as text.
QStringList tutteLeRighe(const QString& path)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("leggi"));
        db.setDatabaseName(path);
        if (!db.open())
            return {QStringLiteral("non si apre")};
        QSqlQuery tables(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"), db);
        while (tables.next()) {
            const QString table = tables.value(0).toString();
            QSqlQuery q(QStringLiteral(R"(SELECT * FROM "%1" ORDER BY rowid)").arg(table), db);
            while (q.next()) {
                QStringList values{table};
                for (int i = 0; i < q.record().count(); ++i)
                    values << q.value(i).toString();
                rows << values.join(QLatin1Char('|'));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("leggi"));
    return rows;
}

void aggiungiRisultati(QSqlDatabase& db, int quanti, const QString& nome)
{
    QSqlQuery q(db);
    for (int i = 0; i < quanti; ++i) {
        QVERIFY(q.exec(QStringLiteral(R"(INSERT INTO studenti ("cognome e nome", argomento, punteggio, maxpunti, data) )"
                                      "VALUES ('%1 %2', 'LA STRUTTURA DELLA TERRA', %2, 10, '07/12/2026')")
                           .arg(nome).arg(i)));
        QVERIFY(q.exec(QStringLiteral(R"(INSERT INTO studsomm ("cognome e nome", "punteggio totale", conscere, )"
                                      "comprendere, applicare, valutazione, data) "
                                      "VALUES ('%1 %2', %3, 1, 2, 3, 'sufficiente', '07/12/2026')")
                           .arg(nome).arg(i).arg(i % 101)));
    }
}
}  // namespace

class TestCopia : public QObject {
    Q_OBJECT
private slots:
    void copyHoldsEveryCommittedRow_data()
    {
        QTest::addColumn<bool>("scritturaInCorso");   // another connection holds a write transaction
        QTest::addColumn<bool>("configurato");        // a configuration names the archive
        QTest::addColumn<bool>("destinazioneEsiste");
        QTest::addColumn<bool>("inCartella");         // the destination is a folder
        QTest::newRow("idle archive") << false << false << false << false;
        QTest::newRow("configured archive") << false << true << false << false;
        QTest::newRow("into a folder, while another connection stores") << true << false << false << true;
        QTest::newRow("existing destination refused") << false << false << true << false;
    }
    void copyHoldsEveryCommittedRow()
    {
        QFETCH(bool, scritturaInCorso);
        QFETCH(bool, configurato);
        QFETCH(bool, destinazioneEsiste);
        QFETCH(bool, inCartella);
        QTemporaryDir dir;
        const QString archivio = dir.filePath(QStringLiteral("dati/morvel6.mdb"));
        const QString predefinito = dir.filePath(QStringLiteral("build/morvel6.mdb"));
        for (const char* cartella : {"dati", "build", "copie", "xdg/placche"})
            QDir().mkpath(dir.filePath(QString::fromLatin1(cartella)));
        QString message;
        for (const QString& file : {archivio, predefinito})
            QCOMPARE(data::CourseBuilder::build(QStringLiteral(PLACCHE_SORGENTE_CORSO), file, &message),
                     data::CourseBuilder::Outcome::Created);
        const QString origine = configurato ? archivio : predefinito;

        // Only the case's own configuration applies, never this PC's.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("nessuna")));
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), dir.filePath(QStringLiteral("xdg")));
        if (configurato) {
            QFile ini(dir.filePath(QStringLiteral("xdg/placche/placche.ini")));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(QStringLiteral("[archivio]\nfile=%1\n").arg(archivio).toUtf8());
        }

        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("scrive"));
        writer.setDatabaseName(origine);
        QVERIFY(writer.open());
        QVERIFY(writer.transaction());
        aggiungiRisultati(writer, 300, QStringLiteral("Rossi Anna"));
        QVERIFY(writer.commit());
        const QStringList committed = tutteLeRighe(origine);
        if (scritturaInCorso) {
            QSqlQuery(QStringLiteral("BEGIN IMMEDIATE"), writer);
            aggiungiRisultati(writer, 5, QStringLiteral("Bianchi Luca"));
        }

        const QString destinazione =
            inCartella ? dir.filePath(QStringLiteral("copie")) : dir.filePath(QStringLiteral("copie/copia.mdb"));
        if (destinazioneEsiste) {
            QFile old(destinazione);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("una copia di ieri");
        }
        QProcess creadb;
        creadb.setProcessEnvironment(env);
        creadb.start(QStringLiteral(CREADB), {QStringLiteral("--copia"), predefinito, destinazione});
        QVERIFY(creadb.waitForFinished(60000));
        const QString said = QString::fromUtf8(creadb.readAllStandardOutput() + creadb.readAllStandardError());

        if (scritturaInCorso)
            QSqlQuery(QStringLiteral("ROLLBACK"), writer);
        writer.close();
        writer = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("scrive"));

        if (destinazioneEsiste) {
            QCOMPARE(creadb.exitCode(), 1);
            QVERIFY2(said.contains(QStringLiteral("non lo sovrascrivo")), qPrintable(said));
            QFile old(destinazione);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("una copia di ieri"));
            return;
        }
        QVERIFY2(creadb.exitCode() == 0, qPrintable(said));
        QVERIFY2(said.contains(origine) && said.contains(QStringLiteral("300 risultati")), qPrintable(said));
        const QStringList copie = QDir(dir.filePath(QStringLiteral("copie"))).entryList(QDir::Files);
        QCOMPARE(copie.size(), 1);  // no partial file left beside it
        const QString copia = dir.filePath(QStringLiteral("copie/") + copie.first());
        QVERIFY(said.contains(copia));
        QCOMPARE(tutteLeRighe(copia), committed);
        QCOMPARE(tutteLeRighe(origine), committed);
    }
};

QTEST_MAIN(TestCopia)
#include "TestCopia.moc"
