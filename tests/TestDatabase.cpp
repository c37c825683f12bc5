#include "ServerDiProva.h"
#include "TestSupport.h"

#include "app/Sessione.h"
#include "data/Clock.h"
#include "data/Coda.h"
#include "data/CourseBuilder.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "data/ResultList.h"
#include "ui/BusyCursor.h"
#include "ui/MessageBox.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <ctime>

using data::Database;
using data::Recordset;
using data::ResultList;

namespace {
bool addResult(Database& db, const QString& name, const QVariant& points, const QString& topic = QStringLiteral("prova"))
{
    auto rs = db.OpenRecordset(QStringLiteral("studenti"));
    rs->AddNew();
    return rs->setField(QStringLiteral("punteggio"), points) && rs->setField(QStringLiteral("cognome e nome"), name) &&
           rs->setField(QStringLiteral("argomento"), topic) && rs->setField(QStringLiteral("maxpunti"), 10) &&
           rs->Update();
}

// The names of the rows an archive lists for `pupil`, sorted.
QStringList pupilRows(Database& db, const QString& pupil)
{
    ResultList list(db.connection(), QStringLiteral("studenti"), {QStringLiteral("cognome e nome")}, pupil);
    if (!list.open())
        return {QStringLiteral("ERRORE: ") + list.errorText()};
    ResultList::Position at;
    QVector<QVariantList> rows;
    list.read(at, 100000, &rows);
    QStringList names;
    for (const QVariantList& row : std::as_const(rows))
        names << row.value(0).toString();
    names.sort();
    return names;
}

int countRows(const QString& path, const QString& table)
{
    QString error;
    auto db = Database::open(path, &error);
    return db ? db->OpenRecordset(table)->RecordCount() : -1;
}

int countRows(const TestSupport::ArchivioDiProva& archivio, const QString& table)
{
    auto db = archivio.apri();
    return db ? db->OpenRecordset(table)->RecordCount() : -1;
}
}  // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }

    void questionTableByPositionAndName_data() { TestSupport::soloMotore(); }
    void questionTableByPositionAndName()
    {
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        for (const QString& table : Database::questionTables()) {
            auto rs = db->OpenRecordset(table);
            QVERIFY2(rs->RecordCount() >= 1, qPrintable(table));
            rs->MoveFirst();
            QVERIFY(!rs->eof());
            QCOMPARE(rs->Fields(1), rs->Fields(QStringLiteral("argomento")));
            // Letter case is ignored in column names: "Dom2" is dom2, at position 3.
            QCOMPARE(rs->Fields(QStringLiteral("Dom2")), rs->Fields(3));
            QCOMPARE(rs->Fields(QStringLiteral("DOM10")), rs->Fields(11));
            QCOMPARE(rs->Fields(QStringLiteral("ris1")), rs->Fields(12));
            int seen = 0;
            for (rs->MoveFirst(); !rs->eof(); rs->MoveNext())
                ++seen;
            QCOMPARE(seen, rs->RecordCount());
            QVERIFY(rs->Fields(2).isNull());  // past the end there is no row to read
            rs->MoveNext();
            QVERIFY(rs->eof());
        }
    }

    void addedRowReadsBackWithDefaults_data() { TestSupport::soloMotore(); }
    void addedRowReadsBackWithDefaults()
    {
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        QVERIFY(addResult(*db, QStringLiteral("Rossi Mario"), 48.0, QStringLiteral("La crosta terrestre")));
        auto rs = db->OpenRecordset(QStringLiteral("STUDENTI"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Fields(QStringLiteral("punteggio")).toString(), QStringLiteral("48"));
        QCOMPARE(rs->Fields(QStringLiteral("Cognome E Nome")).toString(), QStringLiteral("Rossi Mario"));
        QCOMPARE(rs->Fields(QStringLiteral("argomento")).toString(), QStringLiteral("La crosta terrestre"));
        QCOMPARE(rs->Fields(QStringLiteral("data")).toDate(), QDate::currentDate());
    }

    // A row carries the pupil's own calendar day: just after midnight in Italy it is already the next
    // day there while it is still the day before in UTC (and the other way round in New York).
    void storedDateIsTheLocalDay_data()
    {
        QTest::addColumn<QByteArray>("zona");
        QTest::addColumn<QDateTime>("istante");
        QTest::addColumn<QDate>("giorno");
        const QDateTime inverno(QDate(2026, 12, 6), QTime(23, 30), Qt::UTC);
        const QDateTime estate(QDate(2026, 7, 6), QTime(22, 30), Qt::UTC);
        QTest::newRow("Rome, winter, 00:30") << QByteArray("Europe/Rome") << inverno << QDate(2026, 12, 7);
        QTest::newRow("Rome, summer, 00:30") << QByteArray("Europe/Rome") << estate << QDate(2026, 7, 7);
        QTest::newRow("Rome, 23:59") << QByteArray("Europe/Rome") << inverno.addSecs(-91 * 60) << QDate(2026, 12, 6);
        QTest::newRow("New York, 18:30") << QByteArray("America/New_York") << inverno << QDate(2026, 12, 6);
        QTest::newRow("New York, 00:10") << QByteArray("America/New_York") << inverno.addSecs(340 * 60)
                                         << QDate(2026, 12, 7);
    }
    void storedDateIsTheLocalDay()
    {
        QFETCH(QByteArray, zona);
        QFETCH(QDateTime, istante);
        QFETCH(QDate, giorno);
        const QByteArray prima = qgetenv("TZ");
        qputenv("TZ", zona);
        tzset();
        data::Clock::fix(istante);
        TestSupport::CartellaProgramma folder;
        QString error;
        auto db = Database::open(folder.archivio(), &error);
        const bool stored = addResult(*db, QStringLiteral("Rossi Mario"), 7);
        data::Clock::fix(std::nullopt);
        qputenv("TZ", prima);
        tzset();
        QVERIFY(stored);
        auto rs = db->OpenRecordset(QStringLiteral("studenti"));
        QCOMPARE(rs->Fields(QStringLiteral("data")).toDate(), giorno);
        // Stored as the engine writes its own dates, so that files of either origin read alike.
        QCOMPARE(rs->Fields(QStringLiteral("data")).toString(), giorno.toString(Qt::ISODate));
    }

    void summativeRowStoresWholeNumbers_data() { TestSupport::soloMotore(); }
    void summativeRowStoresWholeNumbers()
    {
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        auto rs = db->OpenRecordset(QStringLiteral("studsomm"));
        rs->AddNew();
        rs->setField(QStringLiteral("cognome e nome"), QStringLiteral("Neri Ugo"));
        rs->setField(QStringLiteral("punteggio totale"), 66);
        rs->setField(QStringLiteral("conscere"), 80);
        rs->setField(QStringLiteral("comprendere"), 66);
        rs->setField(QStringLiteral("applicare"), 50);
        rs->setField(QStringLiteral("valutazione"), QStringLiteral("SUFFICIENTE"));
        QVERIFY2(rs->Update(), qPrintable(rs->errorText()));
        auto back = db->OpenRecordset(QStringLiteral("studsomm"));
        QCOMPARE(back->Fields(QStringLiteral("Punteggio Totale")).toString(), QStringLiteral("66"));
        QCOMPARE(back->Fields(QStringLiteral("valutazione")).toString(), QStringLiteral("SUFFICIENTE"));
    }

    void unknownColumnIsRefused_data() { TestSupport::soloMotore(); }
    void unknownColumnIsRefused()
    {
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        auto rs = db->OpenRecordset(QStringLiteral("studenti"));
        rs->AddNew();
        QVERIFY(!rs->setField(QStringLiteral("voto"), 3));
        QVERIFY(rs->errorText().contains(QStringLiteral("voto")));
    }

    // A pupil's name is a value, never part of the query: each name selects exactly its own rows.
    void selectionByHostileNames_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<QString>("nome");
        for (const auto m : TestSupport::motori()) {
            using TestSupport::riga;
            QTest::newRow(riga(m, "apostrophe")) << m << "D'Amico Lucia";
            QTest::newRow(riga(m, "two apostrophes")) << m << "Dell'Orto Pier'Luigi";
            QTest::newRow(riga(m, "closing quote and comment")) << m << "x' OR '1'='1' --";
            QTest::newRow(riga(m, "double quotes")) << m << "\"Neri\" Ugo";
            QTest::newRow(riga(m, "semicolon and statement")) << m << "Rossi'; DELETE FROM studenti; --";
            QTest::newRow(riga(m, "SQL words")) << m << "SELECT * FROM studsomm";
            QTest::newRow(riga(m, "accents")) << m << "Perché Niccolò Ça";
            QTest::newRow(riga(m, "percent and underscore")) << m << "R_ss% Mario";
            QTest::newRow(riga(m, "backslash and dollar quotes")) << m << "Ro\\ssi $$ Mario $1";
            QTest::newRow(riga(m, "blanks")) << m << "  Bianchi   Anna ";
            QTest::newRow(riga(m, "500 characters")) << m << QString(500, QLatin1Char('a'));
            QTest::newRow(riga(m, "Anonimo")) << m << "Anonimo";
        }
    }
    // Letter case does not count, accented capitals included; accents, blanks and other letters do.
    void selectionIgnoresLetterCase_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<QStringList>("trovati");
        const QStringList rossi{"Rossi Mario", "ROSSI MARIO", "rossi mario"};
        for (const auto m : TestSupport::motori()) {
            using TestSupport::riga;
            QTest::newRow(riga(m, "lower case")) << m << "rossi mario" << rossi;
            QTest::newRow(riga(m, "mixed")) << m << "rOSSI mARIO" << rossi;
            QTest::newRow(riga(m, "accented capital")) << m << "perè èlia" << QStringList{"PERÈ ÈLIA", "Perè Èlia"};
            QTest::newRow(riga(m, "decomposed accent")) << m << QStringLiteral("Nicolo\u0300 Anna") << QStringList{"Nicolò Anna"};
            QTest::newRow(riga(m, "apostrophe")) << m << "D'AMICO LUCIA" << QStringList{"D'Amico Lucia"};
            QTest::newRow(riga(m, "accent counts")) << m << "Pere Elia" << QStringList{};
            QTest::newRow(riga(m, "blank counts")) << m << "rossi  mario" << QStringList{};
            QTest::newRow(riga(m, "another name")) << m << "rossi maria" << QStringList{};
        }
    }
    void selectionIgnoresLetterCase()
    {
        QFETCH(QString, scritto);
        QFETCH(QStringList, trovati);
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        for (const char* nome : {"Rossi Mario", "PERÈ ÈLIA", "ROSSI MARIO", "Nicolò Anna", "Perè Èlia",
                                 "D'Amico Lucia", "rossi mario", "Rossi Mariox"})
            QVERIFY(addResult(*db, QString::fromUtf8(nome), 5));
        const QStringList nomi = pupilRows(*db, scritto);
        trovati.sort();
        QCOMPARE(nomi, trovati);
    }

    void selectionByHostileNames()
    {
        QFETCH(QString, nome);
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        QVERIFY(addResult(*db, QStringLiteral("Rossi Mario"), 7));
        QVERIFY(addResult(*db, nome, 9));
        QVERIFY(addResult(*db, nome.toUpper() + QStringLiteral("x"), 3));
        QVERIFY(addResult(*db, nome, 10));
        QCOMPARE(pupilRows(*db, nome), (QStringList{nome, nome}));
        QCOMPARE(countRows(archivio, QStringLiteral("studenti")), 4);
        // Deleting the selection removes exactly its rows.
        ResultList list(db->connection(), QStringLiteral("studenti"), {QStringLiteral("cognome e nome")}, nome);
        QVERIFY(list.open());
        int deleted = 0;
        QVERIFY(list.deleteAll(&deleted));
        QCOMPARE(deleted, 2);
        QCOMPARE(countRows(archivio, QStringLiteral("studenti")), 2);
    }

    // A file that is missing or not a course database stops the start with a message naming it, and
    // nothing is created or changed.
    void unusableFileIsRefused_data()
    {
        QTest::addColumn<QString>("come");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("missing") << "missing" << "Non trovo l'archivio del corso";
        QTest::newRow("empty file") << "empty" << "manca la tabella";
        QTest::newRow("not a database") << "garbage" << "danneggiato";
        QTest::newRow("table missing") << "drop" << "manca la tabella \"studsomm\"";
        QTest::newRow("column missing") << "column" << "manca la colonna \"maxpunti\"";
    }
    void unusableFileIsRefused()
    {
        QFETCH(QString, come);
        QFETCH(QString, motivo);
        TestSupport::CartellaProgramma folder(come == QLatin1String("drop") || come == QLatin1String("column"));
        const QString path = folder.archivio();
        if (come == QLatin1String("empty")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (come == QLatin1String("garbage")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(8192, 'x'));
        } else if (come == QLatin1String("drop") || come == QLatin1String("column")) {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            raw.setDatabaseName(path);
            QVERIFY(raw.open());
            QSqlQuery q(raw);
            if (come == QLatin1String("drop")) {
                QVERIFY(q.exec(QStringLiteral("DROP TABLE \"studsomm\"")));
            } else {
                QVERIFY(q.exec(QStringLiteral("DROP TABLE \"studenti\"")));
                QVERIFY(q.exec(QStringLiteral("CREATE TABLE \"studenti\" (\"cognome e nome\" TEXT, \"argomento\" TEXT, "
                                              "\"punteggio\" INTEGER, \"data\" DATE)")));
            }
            q.finish();
            raw.close();
            raw = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        }
        const QByteArray before = QFile::exists(path) ? [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }() : QByteArray();
        QString error;
        auto db = Database::open(path, &error);
        QVERIFY(!db);
        QVERIFY2(error.contains(motivo), qPrintable(error));
        QVERIFY2(error.contains(QFileInfo(path).fileName()), qPrintable(error));
        if (come == QLatin1String("missing")) {
            QVERIFY(!QFile::exists(path));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), before);
        }
    }

    // A file held by another copy for longer than a start-up waits is said to be in use, not damaged.
    void busyFileAtStartIsNotDamaged()
    {
        TestSupport::CartellaProgramma folder;
        Database::setBusyWait(200);
        QString error;
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tiene"));
            other.setDatabaseName(folder.archivio());
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(!Database::open(folder.archivio(), &error));
            QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("tiene"));
        Database::setBusyWait(0);
        QVERIFY2(error.contains(QStringLiteral("riprova tra qualche secondo")), qPrintable(error));
        QVERIFY2(!error.contains(QStringLiteral("danneggiato")), qPrintable(error));
        QVERIFY(Database::open(folder.archivio(), &error));
    }

    // A row that cannot be stored says why and is not taken for stored.
    void refusedRowIsReported_data() { TestSupport::soloMotore(); }
    void refusedRowIsReported()
    {
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        TestSupport::sessione().dbcorso = archivio.apri(&error);
        QVERIFY2(TestSupport::sessione().dbcorso, qPrintable(error));
        auto rs = TestSupport::sessione().dbcorso->OpenRecordset(QStringLiteral("studsomm"));
        rs->AddNew();
        rs->setField(QStringLiteral("cognome e nome"), QStringLiteral("Neri Ugo"));
        rs->setField(QStringLiteral("punteggio totale"), 250);
        QVERIFY(!TestSupport::sessione().registra(*rs, QStringLiteral("il risultato del test sommativo")));
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(QStringLiteral("il risultato del test sommativo NON è stato salvato")));
        QCOMPARE(countRows(archivio, QStringLiteral("studsomm")), 0);
        QCOMPARE(data::Coda().quanti(), 0);  // refused by the archive: nothing waits to be sent again
    }

    // "Riprova" stores the same row once the cause is gone; "Continua senza salvare" gives it up.
    void retryOrGoOn_data()
    {
        QTest::addColumn<int>("riprova");    // how many times the pupil answers "Riprova"
        QTest::addColumn<int>("guarisce");   // after how many refusals the archive takes rows again (0: never)
        QTest::addColumn<bool>("salvato");
        QTest::addColumn<int>("riquadri");   // "Riprova / Continua" boxes shown
        QTest::newRow("go on at once") << 0 << 0 << false << 1;
        QTest::newRow("retry once, stored") << 1 << 1 << true << 1;
        QTest::newRow("retry twice, stored") << 2 << 2 << true << 2;
        QTest::newRow("retry, still refused, go on") << 1 << 0 << false << 2;
    }
    void retryOrGoOn()
    {
        QFETCH(int, riprova);
        QFETCH(int, guarisce);
        QFETCH(bool, salvato);
        QFETCH(int, riquadri);
        TestSupport::CartellaProgramma folder;
        QString error;
        TestSupport::sessione().dbcorso = Database::open(folder.archivio(), &error);
        if (guarisce > 0) {
            TestSupport::rifiutaFinoARiprova(folder.archivio(), QStringLiteral("studenti"), guarisce);
        } else {
            QSqlQuery(QStringLiteral(R"(CREATE TRIGGER "sempre" BEFORE INSERT ON "studenti" )"
                                     R"(BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END)"),
                      TestSupport::sessione().dbcorso->connection());
            for (int i = 0; i < riprova; ++i)
                ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerRetry);
        }
        ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerContinue);
        auto rs = TestSupport::sessione().dbcorso->OpenRecordset(QStringLiteral("studenti"));
        rs->AddNew();
        rs->setField(QStringLiteral("cognome e nome"), QStringLiteral("Neri Ugo"));
        rs->setField(QStringLiteral("argomento"), QStringLiteral("prova"));
        rs->setField(QStringLiteral("punteggio"), 8);
        rs->setField(QStringLiteral("maxpunti"), 10);
        QCOMPARE(TestSupport::sessione().registra(*rs, QStringLiteral("il punteggio di questa pagina")), salvato);
        QCOMPARE(TestSupport::richiesteDiRiprovare(), riquadri);
        const auto shown = ui::MessageBox::shown();
        QVERIFY(shown[0].text.contains(QStringLiteral("il punteggio di questa pagina NON è stato salvato")));
        QVERIFY(shown[0].text.contains(QStringLiteral("il disco è pieno")));
        QCOMPARE(countRows(folder.archivio(), QStringLiteral("studenti")), salvato ? 1 : 0);
    }

    // Another copy of the program holding the file: the store gives up after a short wait with the wait
    // cursor on, says the archive is in use by another computer, and "Riprova" stores it once freed.
    void busyArchiveIsReportedSoon()
    {
        TestSupport::CartellaProgramma folder;
        Database::setBusyWait(300);
        QString error;
        TestSupport::sessione().dbcorso = Database::open(folder.archivio(), &error);
        Database::setBusyWait(0);
        QVERIFY(TestSupport::sessione().dbcorso);
        {
            QSqlDatabase altro = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("altro"));
            altro.setDatabaseName(folder.archivio());
            QVERIFY(altro.open());
            QVERIFY(QSqlQuery(altro).exec(QStringLiteral("BEGIN IMMEDIATE")));
        }
        bool cursoreDuranteIlMessaggio = true;
        ui::MessageBox::setOnShown([&](const ui::MessageBox::Shown&) {
            cursoreDuranteIlMessaggio = ui::BusyCursor::active();
            QSqlDatabase::database(QStringLiteral("altro")).rollback();
        });
        ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerRetry);
        auto rs = TestSupport::sessione().dbcorso->OpenRecordset(QStringLiteral("studsomm"));
        rs->AddNew();
        rs->setField(QStringLiteral("cognome e nome"), QStringLiteral("Neri Ugo"));
        for (const char* c : {"punteggio totale", "conscere", "comprendere", "applicare"})
            rs->setField(QString::fromLatin1(c), 50);
        rs->setField(QStringLiteral("valutazione"), QStringLiteral("NON SUFFICIENTE"));
        QVERIFY(TestSupport::sessione().registra(*rs, QStringLiteral("il risultato del test sommativo")));
        QSqlDatabase::removeDatabase(QStringLiteral("altro"));
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].buttons, ui::MessageBox::RetryContinue);
        QVERIFY2(shown[0].text.contains(QStringLiteral("in uso da un altro computer")), qPrintable(shown[0].text));
        QVERIFY(!cursoreDuranteIlMessaggio);
        QVERIFY(!ui::BusyCursor::active());
        QCOMPARE(countRows(folder.archivio(), QStringLiteral("studsomm")), 1);
    }

    // A row is on disk when Update returns: the writer is killed at once and the row is there.
    void storedRowSurvivesAKill_data() { TestSupport::soloMotore(); }
    void storedRowSurvivesAKill()
    {
        ARCHIVIO_DI_PROVA(archivio);
        QProcess child;
        child.start(QStringLiteral(SCRIVIRISULTATI),
                    {archivio.indirizzo(), QStringLiteral("1"), QStringLiteral("Veloce Ugo"), QStringLiteral("uccidi")});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        QCOMPARE(pupilRows(*db, QStringLiteral("Veloce Ugo")).size(), 1);
    }

    // Copies of the program on one shared archive: every row of each arrives, none twice (a store that
    // finds the file busy too long is tried again, as the pupil does with "Riprova"). A classroom's
    // server takes thirty computers at once.
    void writersAtOnce_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<int>("copie");
        QTest::addColumn<int>("righe");
        for (const auto m : TestSupport::motori())
            QTest::newRow(TestSupport::riga(m, "two copies")) << m << 2 << 500;
        QTest::newRow("server: thirty computers") << TestSupport::Motore::Server << 30 << 20;
    }
    void writersAtOnce()
    {
        QFETCH(int, copie);
        QFETCH(int, righe);
        ARCHIVIO_DI_PROVA(archivio);
        std::vector<std::unique_ptr<QProcess>> processi;
        for (int i = 0; i < copie; ++i) {
            processi.push_back(std::make_unique<QProcess>());
            processi.back()->start(QStringLiteral(SCRIVIRISULTATI),
                                   {archivio.indirizzo(), QString::number(righe), QStringLiteral("Copia %1").arg(i + 1)});
        }
        qint64 piuLento = 0;
        for (auto& p : processi) {
            QVERIFY(p->waitForFinished(240000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
            piuLento = std::max(piuLento, p->readAllStandardOutput().trimmed().toLongLong());
        }
        qInfo("slowest store: %.1f ms", piuLento / 1000.0);
        QCOMPARE(countRows(archivio, QStringLiteral("studenti")), copie * righe);
        auto db = archivio.apri();
        for (int i = 0; i < copie; ++i)
            QCOMPARE(pupilRows(*db, QStringLiteral("Copia %1").arg(i + 1)).size(), righe);
    }

    // The build step creates the database only when it is missing: results already stored survive.
    void buildStepNeverTouchesAnExistingDatabase()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("immagini/altre/morvel6.mdb"));
        QProcess first;
        first.start(QStringLiteral(CREADB), {QStringLiteral(PLACCHE_SORGENTE_CORSO), path});
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitCode(), 0);
        {
            QString error;
            auto db = Database::open(path, &error);
            QVERIFY2(db, qPrintable(error));
            QVERIFY(addResult(*db, QStringLiteral("Rossi Mario"), 8));
        }
        const QDateTime modified = QFileInfo(path).lastModified();
        QProcess second;
        second.start(QStringLiteral(CREADB), {QStringLiteral(PLACCHE_SORGENTE_CORSO), path});
        QVERIFY(second.waitForFinished(60000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardOutput().contains("non viene toccato"));
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QCOMPARE(countRows(path, QStringLiteral("studenti")), 1);
    }

    void bankSourceFaults_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("errore");
        const QString nine = QStringLiteral("V a\nF b\nV c\nF d\nV e\nF f\nV g\nF h\nV i\n");
        QTest::newRow("nine statements") << QStringLiteral("== Pagina\n") + nine << "riga 1: la pagina \"Pagina\" ha 9";
        QTest::newRow("eleven statements") << QStringLiteral("== P\n") + nine + QStringLiteral("F j\nV k\n")
                                           << "riga 12: la pagina \"P\" ha più di 10";
        QTest::newRow("no mark") << QStringLiteral("== P\nvero a\n") << "riga 2: ogni affermazione";
        QTest::newRow("statement before a page") << QStringLiteral("# c\nV a\n") << "riga 2: un'affermazione prima";
        QTest::newRow("empty statement") << QStringLiteral("== P\nV   \n") << "riga 2: affermazione vuota";
        QTest::newRow("page without label") << QStringLiteral("==   \n") << "riga 1: una pagina senza argomento";
        QTest::newRow("no page") << QStringLiteral("# only a comment\n") << "nessuna pagina";
    }
    void bankSourceFaults()
    {
        QFETCH(QString, testo);
        QFETCH(QString, errore);
        QVector<data::QuestionPage> pages;
        QString error;
        QVERIFY(!data::CourseBuilder::parseBank(testo, &pages, &error));
        QVERIFY2(error.startsWith(errore), qPrintable(error));
    }

    // A source that cannot be built leaves no file where the program looks for the database.
    void failedBuildLeavesNoFile()
    {
        QTemporaryDir source;
        QFile::copy(QStringLiteral(PLACCHE_SORGENTE_CORSO "/schema.sql"), source.filePath(QStringLiteral("schema.sql")));
        for (const QString& table : Database::questionTables()) {
            QFile f(source.filePath(table + QStringLiteral(".txt")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("== Pagina\nV a\nF b\nV c\nF d\nV e\nF f\nV g\nF h\nV i\nF j\n");
        }
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("morvel6.mdb"));
        QString message;
        QCOMPARE(data::CourseBuilder::build(source.path(), path, &message), data::CourseBuilder::Outcome::Created);
        QFile::remove(path);
        QFile bad(source.filePath(QStringLiteral("domande4.txt")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("== Pagina\nV a\n");
        bad.close();
        QCOMPARE(data::CourseBuilder::build(source.path(), path, &message), data::CourseBuilder::Outcome::Failed);
        QVERIFY(message.contains(QStringLiteral("domande4.txt")));
        QVERIFY(QDir(out.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_MAIN(TestDatabase)
#include "TestDatabase.moc"
