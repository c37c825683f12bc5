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

#include <ctime>

using data::Database;
using data::Recordset;
using data::ResultList;

namespace {
// A new row of `table` with these columns set, not stored yet; nullptr when a column is refused.
std::unique_ptr<Recordset> nuovaRiga(Database& db, const char* table,
                                     std::initializer_list<std::pair<const char*, QVariant>> campi)
{
    auto rs = db.OpenRecordset(QString::fromLatin1(table));
    rs->AddNew();
    for (const auto& [nome, valore] : campi)
        if (!rs->setField(QString::fromUtf8(nome), valore))
            return nullptr;
    return rs;
}

std::unique_ptr<Recordset> rigaStudenti(Database& db, const QString& name, const QVariant& points,
                                        const QString& topic = QStringLiteral("prova"))
{
    return nuovaRiga(db, "studenti",
                     {{"punteggio", points}, {"cognome e nome", name}, {"argomento", topic}, {"maxpunti", 10}});
}

bool addResult(Database& db, const QString& name, const QVariant& points, const QString& topic = QStringLiteral("prova"))
{
    auto rs = rigaStudenti(db, name, points, topic);
    return rs && rs->Update();
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

// Another copy of the program holding the file in a transaction of its own, on connection `nome`.
bool tieni(const QString& path, const QString& nome, const QString& begin)
{
    QSqlDatabase altro = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
    altro.setDatabaseName(path);
    return altro.open() && QSqlQuery(altro).exec(begin);
}
}  // namespace

// A fresh archive on the row's engine, opened as the program opens it.
#define ARCHIVIO_APERTO(archivio, db)  \
    ARCHIVIO_DI_PROVA(archivio);        \
    QString error;                      \
    auto db = (archivio).apri(&error); \
    QVERIFY2(db, qPrintable(error))

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }

    void recordsetColumnsAndRows_data() { TestSupport::soloMotore(); }
    void recordsetColumnsAndRows()
    {
        ARCHIVIO_APERTO(archivio, db);
        for (const QString& table : Database::questionTables()) {
            auto rs = db->OpenRecordset(table);
            QVERIFY2(rs->RecordCount() >= 1, qPrintable(table));
            rs->MoveFirst();
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
        // Rows added: column names in any letter case, whole numbers read back whole, today's date, unknown
        // columns refused.
        QVERIFY(addResult(*db, QStringLiteral("Rossi Mario"), 48.0, QStringLiteral("La crosta terrestre")));
        auto rs = db->OpenRecordset(QStringLiteral("STUDENTI"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Fields(QStringLiteral("punteggio")).toString(), QStringLiteral("48"));
        QCOMPARE(rs->Fields(QStringLiteral("Cognome E Nome")).toString(), QStringLiteral("Rossi Mario"));
        QCOMPARE(rs->Fields(QStringLiteral("argomento")).toString(), QStringLiteral("La crosta terrestre"));
        QCOMPARE(rs->Fields(QStringLiteral("data")).toDate(), QDate::currentDate());
        auto somm = nuovaRiga(*db, "studsomm",
                              {{"cognome e nome", "Neri Ugo"}, {"punteggio totale", 66}, {"conscere", 80},
                               {"comprendere", 66}, {"applicare", 50}, {"valutazione", "SUFFICIENTE"}});
        QVERIFY(somm);
        QVERIFY2(somm->Update(), qPrintable(somm->errorText()));
        auto back = db->OpenRecordset(QStringLiteral("studsomm"));
        QCOMPARE(back->Fields(QStringLiteral("Punteggio Totale")).toString(), QStringLiteral("66"));
        QCOMPARE(back->Fields(QStringLiteral("valutazione")).toString(), QStringLiteral("SUFFICIENTE"));
        rs->AddNew();
        QVERIFY(!rs->setField(QStringLiteral("voto"), 3));
        QVERIFY(rs->errorText().contains(QStringLiteral("voto")));
    }

    // A row carries the pupil's own calendar day, not the one in UTC or in Italy.
    void storedDateIsTheLocalDay_data()
    {
        QTest::addColumn<QByteArray>("zona");
        QTest::addColumn<QDateTime>("istante");
        QTest::addColumn<QDate>("giorno");
        const QDateTime inverno(QDate(2026, 12, 6), QTime(23, 30), Qt::UTC);
        const QDateTime estate(QDate(2026, 7, 6), QTime(22, 30), Qt::UTC);
        QTest::newRow("Rome, winter, 00:30") << QByteArray("Europe/Rome") << inverno << QDate(2026, 12, 7);
        QTest::newRow("Rome, summer, 00:30") << QByteArray("Europe/Rome") << estate << QDate(2026, 7, 7);
        QTest::newRow("New York, 18:30") << QByteArray("America/New_York") << inverno << QDate(2026, 12, 6);
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

    // A pupil's name is a value, never part of the query, and its letter case does not count (accented capitals
    // included) while accents and blanks do: a name selects, and deletes, exactly its own rows.
    void selection_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<QStringList>("aggiunti");  // stored besides Rossi Mario and the like
        QTest::addColumn<QStringList>("trovati");
        const QStringList rossi{"Rossi Mario", "ROSSI MARIO", "rossi mario"};
        for (const auto m : TestSupport::motori()) {
            const auto ostile = [m](const char* riga, const QString& nome) {
                QTest::newRow(TestSupport::riga(m, riga))
                    << m << nome << QStringList{nome, nome.toUpper() + QStringLiteral("x"), nome}
                    << QStringList{nome, nome};
            };
            ostile("apostrophe", QStringLiteral("D'Amico Lucia"));
            ostile("two apostrophes", QStringLiteral("Dell'Orto Pier'Luigi"));
            ostile("statement pasted in", QStringLiteral("Rossi'; DELETE FROM studenti; --"));
            ostile("double quotes", QStringLiteral("\"Neri\" Ugo"));
            ostile("accents", QStringLiteral("Perché Niccolò Ça"));
            ostile("percent and underscore", QStringLiteral("R_ss% Mario"));
            ostile("backslash and dollar quotes", QStringLiteral("Ro\\ssi $$ Mario $1"));
            ostile("blanks", QStringLiteral("  Bianchi   Anna "));
            ostile("500 characters", QString(500, QLatin1Char('a')));
            ostile("Anonimo", QStringLiteral("Anonimo"));
            using TestSupport::riga;
            QTest::newRow(riga(m, "mixed case")) << m << "rOSSI mARIO" << QStringList{} << rossi;
            QTest::newRow(riga(m, "accented capital"))
                << m << "perè èlia" << QStringList{} << QStringList{"PERÈ ÈLIA", "Perè Èlia"};
            QTest::newRow(riga(m, "decomposed accent"))
                << m << QStringLiteral("Nicolo\u0300 Anna") << QStringList{} << QStringList{"Nicolò Anna"};
            QTest::newRow(riga(m, "accent counts")) << m << "Pere Elia" << QStringList{} << QStringList{};
            QTest::newRow(riga(m, "blank counts")) << m << "rossi  mario" << QStringList{} << QStringList{};
        }
    }
    void selection()
    {
        QFETCH(QString, scritto);
        QFETCH(QStringList, aggiunti);
        QFETCH(QStringList, trovati);
        ARCHIVIO_APERTO(archivio, db);
        for (const char* nome :
             {"Rossi Mario", "PERÈ ÈLIA", "ROSSI MARIO", "Nicolò Anna", "Perè Èlia", "rossi mario", "Rossi Mariox"})
            aggiunti << QString::fromUtf8(nome);
        for (const QString& nome : std::as_const(aggiunti))
            QVERIFY(addResult(*db, nome, 5));
        trovati.sort();
        QCOMPARE(pupilRows(*db, scritto), trovati);
        ResultList list(db->connection(), QStringLiteral("studenti"), {QStringLiteral("cognome e nome")}, scritto);
        QVERIFY(list.open());
        int deleted = 0;
        QVERIFY(list.deleteAll(&deleted));
        QCOMPARE(deleted, int(trovati.size()));
        const int rimaste = archivio.interroga(QStringLiteral(R"(SELECT COUNT(*) FROM "studenti")")).toInt();
        QCOMPARE(rimaste, int(aggiunti.size() - trovati.size()));
    }

    // A missing or foreign file stops the start with a message naming it; nothing is created or changed. A file
    // held by another copy for longer than a start-up waits is said to be in use, and opens once freed.
    void unusableFileIsRefused_data()
    {
        QTest::addColumn<QString>("come");  // "missing", statements run on the course file, or what the file holds
        QTest::addColumn<QString>("motivo");
        QTest::newRow("missing") << "missing" << "Non trovo l'archivio del corso";
        QTest::newRow("empty file") << "" << "manca la tabella";
        QTest::newRow("not a database") << QString(8192, QLatin1Char('x')) << "danneggiato";
        QTest::newRow("table missing") << R"(DROP TABLE "studsomm")" << "manca la tabella \"studsomm\"";
        QTest::newRow("column missing") << R"(DROP TABLE "studenti";CREATE TABLE "studenti" ("cognome e nome" TEXT, )"
                                           R"("argomento" TEXT, "punteggio" INTEGER, "data" DATE))"
                                        << "manca la colonna \"maxpunti\"";
        QTest::newRow("held by another copy") << "BEGIN EXCLUSIVE" << "riprova tra qualche secondo";
    }
    void unusableFileIsRefused()
    {
        QFETCH(QString, come);
        QFETCH(QString, motivo);
        const bool sql = come.startsWith(QLatin1String("DROP")), tenuto = come.startsWith(QLatin1String("BEGIN"));
        TestSupport::CartellaProgramma folder(sql || tenuto);
        const QString path = folder.archivio();
        if (sql) {
            QVERIFY(tieni(path, QStringLiteral("raw"), QStringLiteral("BEGIN")));
            for (const QString& statement : come.split(QLatin1Char(';')))
                QVERIFY(QSqlQuery(QSqlDatabase::database(QStringLiteral("raw"))).exec(statement));
            QVERIFY(QSqlDatabase::database(QStringLiteral("raw")).commit());
            QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        } else if (tenuto) {
            QVERIFY(tieni(path, QStringLiteral("tiene"), come));
        } else if (come != QLatin1String("missing")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(come.toLatin1());
        }
        const auto contenuto = [&] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("nessun file");
        };
        const QByteArray before = contenuto();
        QString error;
        Database::setBusyWait(200);
        QVERIFY(!Database::open(path, &error));
        Database::setBusyWait(0);
        QVERIFY2(error.contains(motivo), qPrintable(error));
        QVERIFY2(error.contains(QFileInfo(path).fileName()), qPrintable(error));
        QCOMPARE(contenuto(), before);
        if (tenuto) {
            QVERIFY(QSqlDatabase::database(QStringLiteral("tiene")).rollback());
            QSqlDatabase::removeDatabase(QStringLiteral("tiene"));
            QVERIFY2(Database::open(path, &error), qPrintable(error));
        }
    }

    // A row that cannot be stored says why and is not taken for stored.
    void refusedRowIsReported_data() { TestSupport::soloMotore(); }
    void refusedRowIsReported()
    {
        ARCHIVIO_APERTO(archivio, db);
        TestSupport::sessione().dbcorso = std::move(db);
        auto rs = nuovaRiga(*TestSupport::sessione().dbcorso, "studsomm",
                            {{"cognome e nome", "Neri Ugo"}, {"punteggio totale", 250}});
        QVERIFY(rs);
        QVERIFY(!TestSupport::sessione().registra(*rs, QStringLiteral("il risultato del test sommativo")));
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(QStringLiteral("il risultato del test sommativo NON è stato salvato")));
        QCOMPARE(archivio.interroga(QStringLiteral(R"(SELECT COUNT(*) FROM "studsomm")")).toInt(), 0);
        QCOMPARE(data::Coda().quanti(), 0);  // refused by the archive: nothing waits to be sent again
    }

    // "Riprova" stores the same row once the cause is gone; "Continua senza salvare" gives it up. Another copy
    // holding the file: the store gives up after a short wait, with the wait cursor off while the box is shown.
    void retryOrGoOn_data()
    {
        QTest::addColumn<bool>("inUso");     // held by another copy until the first box, else the disk is full
        QTest::addColumn<int>("riprova");    // how many times the pupil answers "Riprova"
        QTest::addColumn<int>("guarisce");   // after how many refusals the archive takes rows again (0: never)
        QTest::addColumn<bool>("salvato");
        QTest::addColumn<int>("riquadri");   // "Riprova / Continua" boxes shown
        QTest::newRow("go on at once") << false << 0 << 0 << false << 1;
        QTest::newRow("retry once, stored") << false << 1 << 1 << true << 1;
        QTest::newRow("retry twice, stored") << false << 2 << 2 << true << 2;
        QTest::newRow("retry, still refused, go on") << false << 1 << 0 << false << 2;
        QTest::newRow("in use, retry, stored") << true << 1 << 1 << true << 1;
    }
    void retryOrGoOn()
    {
        QFETCH(bool, inUso);
        QFETCH(int, riprova);
        QFETCH(int, guarisce);
        QFETCH(bool, salvato);
        QFETCH(int, riquadri);
        TestSupport::CartellaProgramma folder;
        QString error;
        Database::setBusyWait(300);
        TestSupport::sessione().dbcorso = Database::open(folder.archivio(), &error);
        Database::setBusyWait(0);
        QVERIFY2(TestSupport::sessione().dbcorso, qPrintable(error));
        bool cursoreDuranteIlMessaggio = false;
        if (inUso) {
            QVERIFY(tieni(folder.archivio(), QStringLiteral("altro"), QStringLiteral("BEGIN IMMEDIATE")));
            ui::MessageBox::setOnShown([&](const ui::MessageBox::Shown&) {
                cursoreDuranteIlMessaggio = ui::BusyCursor::active();
                QSqlDatabase::database(QStringLiteral("altro")).rollback();
            });
            ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerRetry);
        } else if (guarisce > 0) {
            TestSupport::rifiutaFinoARiprova(folder.archivio(), QStringLiteral("studenti"), guarisce);
        } else {
            QSqlQuery(QStringLiteral(R"(CREATE TRIGGER "sempre" BEFORE INSERT ON "studenti" )"
                                     R"(BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END)"),
                      TestSupport::sessione().dbcorso->connection());
            for (int i = 0; i < riprova; ++i)
                ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerRetry);
        }
        ui::MessageBox::setNextAnswer(ui::MessageBox::AnswerContinue);
        auto rs = rigaStudenti(*TestSupport::sessione().dbcorso, QStringLiteral("Neri Ugo"), 8);
        QVERIFY(rs);
        QCOMPARE(TestSupport::sessione().registra(*rs, QStringLiteral("il punteggio di questa pagina")), salvato);
        QSqlDatabase::removeDatabase(QStringLiteral("altro"));
        QCOMPARE(TestSupport::richiesteDiRiprovare(), riquadri);
        const auto shown = ui::MessageBox::shown();
        QCOMPARE(shown[0].buttons, ui::MessageBox::RetryContinue);
        QVERIFY(shown[0].text.contains(QStringLiteral("il punteggio di questa pagina NON è stato salvato")));
        const QString causa = inUso ? QStringLiteral("in uso da un altro computer")
                                    : QStringLiteral("il disco è pieno");
        QVERIFY2(shown[0].text.contains(causa), qPrintable(shown[0].text));
        QVERIFY(!cursoreDuranteIlMessaggio);
        QVERIFY(!ui::BusyCursor::active());
        QCOMPARE(int(TestSupport::righeStudenti(folder.archivio()).size()), salvato ? 1 : 0);
    }

    // Copies of the program on one archive (a classroom's server: thirty): every row of each arrives, none
    // twice (a store that finds the file busy too long is tried again, as the pupil does with "Riprova"). A
    // row is on disk when Update returns: a writer killed right after it leaves it there.
    void writersAtOnce_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<int>("copie");
        QTest::addColumn<int>("righe");
        QTest::addColumn<bool>("uccisa");  // killed as soon as its rows are stored
        for (const auto m : TestSupport::motori()) {
            QTest::newRow(TestSupport::riga(m, "two copies")) << m << 2 << 500 << false;
            QTest::newRow(TestSupport::riga(m, "killed after storing")) << m << 1 << 1 << true;
        }
        QTest::newRow("server: thirty computers") << TestSupport::Motore::Server << 30 << 20 << false;
    }
    void writersAtOnce()
    {
        QFETCH(int, copie);
        QFETCH(int, righe);
        QFETCH(bool, uccisa);
        ARCHIVIO_DI_PROVA(archivio);
        std::vector<std::unique_ptr<QProcess>> processi;
        for (int i = 0; i < copie; ++i) {
            processi.push_back(std::make_unique<QProcess>());
            QStringList argomenti{archivio.indirizzo(), QString::number(righe), QStringLiteral("Copia %1").arg(i + 1)};
            if (uccisa)
                argomenti << QStringLiteral("uccidi");
            processi.back()->start(QStringLiteral(SCRIVIRISULTATI), argomenti);
        }
        qint64 piuLento = 0;
        for (auto& p : processi) {
            QVERIFY(p->waitForFinished(240000));
            if (uccisa)
                QCOMPARE(p->exitStatus(), QProcess::CrashExit);
            else
                QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
            piuLento = std::max(piuLento, p->readAllStandardOutput().trimmed().toLongLong());
        }
        qInfo("slowest store: %.1f ms", piuLento / 1000.0);
        QCOMPARE(archivio.interroga(QStringLiteral(R"(SELECT COUNT(*) FROM "studenti")")).toInt(), copie * righe);
        auto db = archivio.apri();
        for (int i = 0; i < copie; ++i)
            QCOMPARE(pupilRows(*db, QStringLiteral("Copia %1").arg(i + 1)).size(), righe);
    }

    // The build step creates the database only when it is missing: results already stored survive.
    void buildStepNeverTouchesAnExistingDatabase()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("immagini/altre/morvel6.mdb"));
        const auto creaDb = [&] {
            QProcess p;
            p.start(QStringLiteral(CREADB), {QStringLiteral(PLACCHE_SORGENTE_CORSO), path});
            return p.waitForFinished(60000) && p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray("FALLITO");
        };
        QVERIFY(creaDb() != "FALLITO");
        {
            QString error;
            auto db = Database::open(path, &error);
            QVERIFY2(db, qPrintable(error));
            QVERIFY(addResult(*db, QStringLiteral("Rossi Mario"), 8));
        }
        const QDateTime modified = QFileInfo(path).lastModified();
        const QByteArray output = creaDb();
        QVERIFY2(output.contains("non viene toccato"), output.constData());
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QCOMPARE(int(TestSupport::righeStudenti(path).size()), 1);
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
            const bool rotta = table == QLatin1String("domande4");
            f.write(rotta ? "== Pagina\nV a\n" : "== Pagina\nV a\nF b\nV c\nF d\nV e\nF f\nV g\nF h\nV i\nF j\n");
        }
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("morvel6.mdb"));
        QString message;
        QCOMPARE(data::CourseBuilder::build(source.path(), path, &message), data::CourseBuilder::Outcome::Failed);
        QVERIFY(message.contains(QStringLiteral("domande4.txt")));
        QVERIFY(QDir(out.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_MAIN(TestDatabase)
#include "TestDatabase.moc"
