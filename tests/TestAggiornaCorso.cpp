// Course updates that reach an existing archive: question tables still holding an older shipped version
// are replaced, all in one transaction; tables changed by hand are kept and reported once; the result
// tables come out row for row as they went in, also when the update is killed or refused half-way.
#include "TestSupport.h"

#include "data/AggiornaCorso.h"
#include "data/Database.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using data::AggiornaCorso;
using data::Database;

Q_DECLARE_METATYPE(AggiornaCorso::Registro)
Q_DECLARE_METATYPE(AggiornaCorso::Azione)

namespace {
const QStringList kCambiateInV1{QStringLiteral("domande1"), QStringLiteral("domande3"), QStringLiteral("sommativo")};

QString leggiFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

bool scriviFile(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

AggiornaCorso corsoDa(const QString& cartella)
{
    AggiornaCorso corso;
    QString errore;
    if (!corso.leggi(cartella, &errore))
        qFatal("course not read: %s", qPrintable(errore));
    return corso;
}

// A course source folder of version `versione`: the shipped banks, those in `cambiate` with the first
// true statement marked as that version had it, and the fingerprints of `storia` (older versions' lines)
// plus its own.
bool scriviCorso(const QString& cartella, int versione, const QStringList& cambiate, const QStringList& storia)
{
    const QDir sorgente(QStringLiteral(PLACCHE_SORGENTE_CORSO));
    QDir().mkpath(cartella);
    const QDir dir(cartella);
    if (!QFile::copy(sorgente.filePath(QStringLiteral("schema.sql")), dir.filePath(QStringLiteral("schema.sql"))))
        return false;
    for (const QString& tabella : Database::questionTables()) {
        QString testo = leggiFile(sorgente.filePath(tabella + QStringLiteral(".txt")));
        if (cambiate.contains(tabella))
            testo.replace(testo.indexOf(QLatin1String("\nV ")), 3, QStringLiteral("\nV (versione %1) ").arg(versione));
        if (!scriviFile(dir.filePath(tabella + QStringLiteral(".txt")), testo))
            return false;
    }
    scriviFile(dir.filePath(QStringLiteral("VERSIONE")), QString::number(versione) + QLatin1Char('\n'));
    scriviFile(dir.filePath(QStringLiteral("impronte.txt")), QString());
    return scriviFile(dir.filePath(QStringLiteral("impronte.txt")),
                      (storia + corsoDa(cartella).righeImpronte()).join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

// A connection of its own to an archive, as another copy of the program has.
struct AltraCopia {
    explicit AltraCopia(const QString& path) : m_db(Database::open(path, nullptr)) {}
    QSqlDatabase db() const { return m_db ? m_db->connection() : QSqlDatabase(); }
    bool esegui(const QString& sql) const
    {
        QSqlQuery q(db());
        return q.exec(sql);
    }
    std::unique_ptr<Database> m_db;
};

// Results of every kind a pupil can leave, names with apostrophes and accents, a summative grade.
bool aggiungiRisultati(const QString& path)
{
    AltraCopia c(path);
    bool ok = c.esegui(QStringLiteral("BEGIN"));
    for (int i = 0; i < 40; ++i) {
        QSqlQuery q(c.db());
        q.prepare(QStringLiteral(R"(INSERT INTO "studenti" ("cognome e nome", "argomento", "punteggio", "maxpunti", "data")
                                   VALUES (?, ?, ?, 10, ?))"));
        q.addBindValue(i % 3 ? QStringLiteral("D'Angelo Niccolò %1").arg(i) : QStringLiteral("Rossi Mario"));
        q.addBindValue(i % 2 ? QStringLiteral("LA STRUTTURA DELLA TERRA") : QStringLiteral("Animazione finale"));
        q.addBindValue(i % 11);
        q.addBindValue(QStringLiteral("2026-11-%1").arg(1 + i % 28, 2, 10, QLatin1Char('0')));
        ok = ok && q.exec();
        q.prepare(QStringLiteral(R"(INSERT INTO "studsomm" ("cognome e nome", "punteggio totale", "conscere",
                                   "comprendere", "applicare", "valutazione") VALUES (?, ?, ?, ?, ?, ?))"));
        q.addBindValue(QStringLiteral("Verdi Lucia %1").arg(i));
        q.addBindValue(i * 2);
        q.addBindValue(i);
        q.addBindValue(100 - i);
        q.addBindValue(50);
        q.addBindValue(QStringLiteral("SUFFICIENTE"));
        ok = ok && q.exec();
    }
    // A deleted row leaves a hole in the row numbers, which must stay as it is.
    return ok && c.esegui(QStringLiteral(R"(DELETE FROM "studenti" WHERE rowid = 7)")) && c.esegui(QStringLiteral("COMMIT"));
}

// The result tables as stored: their definitions, and every row with its row number and each value's kind;
// last, what SQLite's own check of the whole file says.
QStringList risultati(const QString& path)
{
    AltraCopia c(path);
    QStringList righe;
    QSqlQuery schema(c.db());
    schema.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE tbl_name IN ('studenti', 'studsomm') "
                               "ORDER BY name"));
    while (schema.next())
        righe << schema.value(0).toString() + QLatin1Char(' ') + schema.value(1).toString() + QLatin1Char(' ') +
                     schema.value(2).toString();
    for (const QString& tabella : {QStringLiteral("studenti"), QStringLiteral("studsomm")}) {
        QSqlQuery q(c.db());
        q.exec(QStringLiteral(R"(SELECT rowid, * FROM "%1" ORDER BY rowid)").arg(tabella));
        while (q.next()) {
            QStringList valori{tabella};
            for (int i = 0; i < q.record().count(); ++i)
                valori << QString::fromLatin1(q.value(i).metaType().name()) + QLatin1Char(':') + q.value(i).toString();
            righe << valori.join(QLatin1Char('|'));
        }
    }
    QSqlQuery q(c.db());
    righe << (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next() ? q.value(0).toString() : q.lastError().text());
    return righe;
}

// Each question table's fingerprint as stored in the file.
QHash<QString, QString> impronteArchivio(const QString& path)
{
    AltraCopia c(path);
    QHash<QString, QString> impronte;
    for (const QString& tabella : Database::questionTables())
        impronte.insert(tabella, AggiornaCorso::improntaTabella(c.db(), tabella, nullptr));
    return impronte;
}

QHash<QString, QString> impronteCorso(const AggiornaCorso& corso)
{
    QHash<QString, QString> impronte;
    for (const QString& tabella : Database::questionTables())
        impronte.insert(tabella, corso.impronta(tabella));
    return impronte;
}

// Teachers' changes to an archive's question tables, by name.
bool ritocca(const QString& path, const QString& ritocco)
{
    AltraCopia c(path);
    const QString tabella = ritocco.section(QLatin1Char(':'), 0, 0);
    const QString come = ritocco.section(QLatin1Char(':'), 1);
    if (come == QLatin1String("parola"))
        return c.esegui(QStringLiteral(R"(UPDATE "%1" SET "dom4" = "dom4" || ' (rivista)' WHERE "id" = 2)").arg(tabella));
    if (come == QLatin1String("risposta"))
        return c.esegui(QStringLiteral(R"(UPDATE "%1" SET "ris7" = 1 - "ris7" WHERE "id" = 1)").arg(tabella));
    if (come == QLatin1String("pagina"))
        return c.esegui(QStringLiteral(R"(INSERT INTO "%1" SELECT "id" + 1000, 'Pagina della classe', "dom1", "dom2",
            "dom3", "dom4", "dom5", "dom6", "dom7", "dom8", "dom9", "dom10", "ris1", "ris2", "ris3", "ris4", "ris5",
            "ris6", "ris7", "ris8", "ris9", "ris10" FROM "%1" WHERE "id" = 1)")
                               .arg(tabella));
    if (come == QLatin1String("tolta"))
        return c.esegui(QStringLiteral(R"(DELETE FROM "%1" WHERE "id" = 2)").arg(tabella));
    return false;
}

bool nominaSolo(const QStringList& avvisi, const QStringList& tabelle)
{
    if (avvisi.size() != tabelle.size())
        return false;
    for (int i = 0; i < tabelle.size(); ++i)
        if (!avvisi.at(i).contains(QLatin1Char('"') + tabelle.at(i) + QLatin1Char('"')))
            return false;
    return true;
}
}  // namespace

class TestAggiornaCorso : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_v1;  // an older course: three banks differ
    QString m_v2;  // the course this program carries, with the history of version 1

    // An archive of the older course, with the results of aggiungiRisultati() when asked.
    QString archivioV1(const QString& nome, bool conRisultati = false)
    {
        const QString path = m_dir.filePath(nome);
        QString messaggio;
        if (data::CourseBuilder::build(m_v1, path, &messaggio) != data::CourseBuilder::Outcome::Created)
            qFatal("%s", qPrintable(messaggio));
        if (conRisultati && !aggiungiRisultati(path))
            qFatal("results not stored in %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase()
    {
        TestSupport::prepara();
        m_v1 = m_dir.filePath(QStringLiteral("corso-v1"));
        m_v2 = m_dir.filePath(QStringLiteral("corso-v2"));
        QVERIFY(scriviCorso(m_v1, 1, kCambiateInV1, {}));
        QVERIFY(scriviCorso(m_v2, 2, {}, corsoDa(m_v1).righeImpronte()));
        QVERIFY(corsoDa(m_v2).incoerenza().isEmpty());
    }

    // The course shipped with the program is consistent with its own history: a bank changed without
    // raising VERSIONE and recording its fingerprints would be taken for a teacher's edit in every archive.
    void corsoDelProgrammaCoerente()
    {
        AggiornaCorso corso;
        QString errore;
        QVERIFY2(corso.leggi(QStringLiteral(":/corso"), &errore), qPrintable(errore));
        QVERIFY2(corso.incoerenza().isEmpty(), qPrintable(corso.incoerenza()));
        AggiornaCorso sorgente;
        QVERIFY2(sorgente.leggi(QStringLiteral(PLACCHE_SORGENTE_CORSO), &errore), qPrintable(errore));
        QCOMPARE(sorgente.righeImpronte(), corso.righeImpronte());
    }

    void incoerenzeDelCorso_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<bool>("bancaCambiata");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("bank changed, same version") << "2" << true << "VERSIONE";
        QTest::newRow("version raised, no fingerprints") << "3" << false << "non ha l'impronta";
        QTest::newRow("history ahead of the version") << "1" << false << "più alta";
    }
    void incoerenzeDelCorso()
    {
        QFETCH(QString, versione);
        QFETCH(bool, bancaCambiata);
        QFETCH(QString, atteso);
        static int caso = 0;
        const QString cartella = m_dir.filePath(QStringLiteral("incoerente-%1").arg(++caso));
        QDir().mkpath(cartella);
        for (const QString& f : QDir(m_v2).entryList(QDir::Files))
            QFile::copy(QDir(m_v2).filePath(f), QDir(cartella).filePath(f));
        scriviFile(QDir(cartella).filePath(QStringLiteral("VERSIONE")), versione);
        if (bancaCambiata) {
            const QString banca = QDir(cartella).filePath(QStringLiteral("domande4.txt"));
            scriviFile(banca, leggiFile(banca).replace(QLatin1String("\nF "), QStringLiteral("\nF Non è vero che ")));
        }
        const AggiornaCorso corso = corsoDa(cartella);
        QVERIFY2(corso.incoerenza().contains(atteso), qPrintable(corso.incoerenza()));
        QDir(cartella).removeRecursively();
    }

    // Equal contents give equal fingerprints; any change a teacher can make gives another one.
    void improntaDistingue_data()
    {
        QTest::addColumn<QString>("modifica");
        QTest::addColumn<bool>("uguale");
        QTest::newRow("same rows, rewritten") << R"(UPDATE "domande2" SET "dom1" = "dom1" || '')" << true;
        QTest::newRow("one word") << R"(UPDATE "domande2" SET "dom3" = "dom3" || '.' WHERE "id" = 3)" << false;
        QTest::newRow("one answer") << R"(UPDATE "domande2" SET "ris1" = 1 - "ris1" WHERE "id" = 1)" << false;
        QTest::newRow("number as text") << R"(UPDATE "domande2" SET "argomento" = '12' WHERE "id" = 1)" << false;
        QTest::newRow("two statements swapped")
            << R"(UPDATE "domande2" SET "dom1" = "dom2", "dom2" = "dom1", "ris1" = "ris2", "ris2" = "ris1" WHERE "id" = 1)"
            << false;
        QTest::newRow("pages in another order") << R"(UPDATE "domande2" SET "id" = -"id")" << false;
        QTest::newRow("a column added") << R"(ALTER TABLE "domande2" ADD COLUMN "nota" VARCHAR(10))" << false;
        QTest::newRow("text moved between two statements")
            << R"(UPDATE "domande2" SET "dom1" = "dom1" || substr("dom2", 1, 1), "dom2" = substr("dom2", 2) WHERE "id" = 1)"
            << false;
    }
    void improntaDistingue()
    {
        QFETCH(QString, modifica);
        QFETCH(bool, uguale);
        TestSupport::CartellaProgramma cartella;
        QVERIFY(AltraCopia(cartella.archivio()).esegui(modifica));
        const QString impronta = impronteArchivio(cartella.archivio()).value(QStringLiteral("domande2"));
        QCOMPARE(impronta == corsoDa(QStringLiteral(PLACCHE_SORGENTE_CORSO)).impronta(QStringLiteral("domande2")), uguale);
    }

    // What is done with one table, from what it holds and what the archive recorded about it.
    void decisioni_data()
    {
        using Azione = AggiornaCorso::Azione;
        using Registro = AggiornaCorso::Registro;
        QTest::addColumn<QString>("contenuto");  // "v1", "v2" or another fingerprint
        QTest::addColumn<Registro>("registrato");
        QTest::addColumn<Azione>("azione");
        QTest::addColumn<int>("trovata");
        QTest::addColumn<Registro>("registro");
        const QString propria(64, QLatin1Char('e'));
        const QString altra(64, QLatin1Char('a'));
        const Registro v2{true, 2, "v2", 0}, suo{true, 0, propria, 2};
        auto caso = [](const char* nome, const QString& contenuto, Registro registrato, Azione azione, int trovata,
                       Registro registro) {
            QTest::newRow(nome) << contenuto << registrato << azione << trovata << registro;
        };
        caso("this version, not recorded", "v2", {}, Azione::Registra, 2, v2);
        caso("this version, recorded", "v2", v2, Azione::Nessuna, 2, v2);
        caso("older version, file without records", "v1", {}, Azione::Sostituisci, 1, v2);
        caso("older version known only from the file's record", altra, {true, 1, altra, 0}, Azione::Sostituisci, 1, v2);
        caso("newer version, newer program", altra, {true, 3, altra, 0}, Azione::Nessuna, 3, {true, 3, altra, 0});
        caso("teacher's, never said", propria, {}, Azione::Tieni, 0, suo);
        caso("teacher's, older version recorded before the edit", propria, {true, 1, "v1", 0}, Azione::Tieni, 0, suo);
        caso("teacher's, already said by this version", propria, suo, Azione::Nessuna, 0, suo);
        caso("teacher's, said by an older version", propria, {true, 0, propria, 1}, Azione::Tieni, 0, suo);
        caso("teacher's, changed again since", propria, {true, 0, altra, 2}, Azione::Tieni, 0, suo);
        caso("this version, other questions", altra, {true, 2, altra, 0}, Azione::Diversa, 2, {true, 2, altra, 0});
    }
    void decisioni()
    {
        using Registro = AggiornaCorso::Registro;
        QFETCH(QString, contenuto);
        QFETCH(Registro, registrato);
        QFETCH(AggiornaCorso::Azione, azione);
        QFETCH(int, trovata);
        QFETCH(Registro, registro);
        const AggiornaCorso v1 = corsoDa(m_v1);
        const AggiornaCorso v2 = corsoDa(m_v2);
        const QString tabella = QStringLiteral("domande3");
        auto vera = [&](const QString& s) {
            return s == QLatin1String("v1") ? v1.impronta(tabella) : s == QLatin1String("v2") ? v2.impronta(tabella) : s;
        };
        registrato.impronta = vera(registrato.impronta);
        registro.impronta = vera(registro.impronta);
        const auto d = v2.decidi(tabella, vera(contenuto), registrato);
        QCOMPARE(d.azione, azione);
        QCOMPARE(d.trovata, trovata);
        QVERIFY(d.registro == registro);
    }

    // An archive made by the older program, with results, opened by this one.
    void archivioVecchio_data()
    {
        QTest::addColumn<QStringList>("ritocchi");
        QTest::addColumn<bool>("giaRegistrato");  // opened by the older program after the records came in
        QTest::addColumn<QStringList>("sostituite");
        QTest::addColumn<QStringList>("tenute");
        QTest::newRow("untouched, no records") << QStringList{} << false << kCambiateInV1 << QStringList{};
        QTest::newRow("untouched, recorded") << QStringList{} << true << kCambiateInV1 << QStringList{};
        QTest::newRow("a changed bank reworded")
            << QStringList{"domande3:parola"} << false << QStringList{"domande1", "sommativo"} << QStringList{"domande3"};
        QTest::newRow("an unchanged bank reworded, recorded")
            << QStringList{"domande5:parola"} << true << kCambiateInV1 << QStringList{"domande5"};
        QTest::newRow("an answer turned")
            << QStringList{"sommativo:risposta"} << false << QStringList{"domande1", "domande3"} << QStringList{"sommativo"};
        QTest::newRow("a page added and one deleted")
            << QStringList{"domande1:pagina", "domande6:tolta"} << false << QStringList{"domande3", "sommativo"}
            << QStringList{"domande1", "domande6"};
    }
    void archivioVecchio()
    {
        QFETCH(QStringList, ritocchi);
        QFETCH(bool, giaRegistrato);
        QFETCH(QStringList, sostituite);
        QFETCH(QStringList, tenute);
        const QString archivio = archivioV1(QStringLiteral("vecchio-%1.mdb").arg(QTest::currentDataTag()), true);
        if (giaRegistrato) {
            const auto esito = corsoDa(m_v1).aggiorna(AltraCopia(archivio).db());
            QVERIFY(esito.sostituite.isEmpty() && esito.errore.isEmpty() && esito.avvisi.isEmpty());
        }
        for (const QString& r : ritocchi)
            QVERIFY(ritocca(archivio, r));
        const QStringList risultatiPrima = risultati(archivio);
        const QHash<QString, QString> prima = impronteArchivio(archivio);

        const AggiornaCorso corso = corsoDa(m_v2);
        {
            const auto esito = corso.aggiorna(AltraCopia(archivio).db());
            QCOMPARE(esito.errore, QString());
            QCOMPARE(esito.sostituite, sostituite);
            QVERIFY2(nominaSolo(esito.avvisi, tenute), qPrintable(esito.avvisi.join(QLatin1Char('\n'))));
            // The technician is told which file, by its path.
            for (const QString& avviso : esito.avvisi)
                QVERIFY2(avviso.contains(QStringLiteral(" %1 ").arg(QDir::toNativeSeparators(archivio))), qPrintable(avviso));
        }
        const QHash<QString, QString> dopo = impronteArchivio(archivio);
        for (const QString& tabella : Database::questionTables())
            QCOMPARE(dopo.value(tabella), tenute.contains(tabella) ? prima.value(tabella) : corso.impronta(tabella));
        QCOMPARE(risultati(archivio), risultatiPrima);

        // The next start finds nothing to do and has nothing more to say.
        const auto ancora = corso.aggiorna(AltraCopia(archivio).db());
        QVERIFY(ancora.sostituite.isEmpty() && ancora.avvisi.isEmpty() && ancora.errore.isEmpty());
    }

    // The program's start says on standard error which table it kept and why, the first time only.
    void dettoUnaVoltaSoltanto()
    {
        const QString archivio = archivioV1(QStringLiteral("detto.mdb"));
        QVERIFY(ritocca(archivio, QStringLiteral("domande3:parola")));
        QStringList errori;
        for (int volta = 0; volta < 2; ++volta) {
            QProcess figlio;
            figlio.start(QStringLiteral(ALUNNO), {QStringLiteral("avvio"), archivio, m_v2, QStringLiteral("0")});
            QVERIFY(figlio.waitForFinished(60000) && figlio.exitCode() == 0);
            errori << QString::fromUtf8(figlio.readAllStandardError());
        }
        QCOMPARE(errori[0].count(QStringLiteral("resta com'è")), 1);
        QVERIFY2(errori[0].contains(QLatin1String("\"domande3\"")) && errori[0].contains(QLatin1String("a mano")),
                 qPrintable(errori[0]));
        QVERIFY2(errori[0].contains(QLatin1String("domande1, sommativo")), qPrintable(errori[0]));
        QVERIFY2(!errori[1].contains(QLatin1String("domande")), qPrintable(errori[1]));
    }

    // A killed update leaves the old questions or the new ones, in every table alike.
    void uccisoDuranteAggiornamento_data()
    {
        QTest::addColumn<int>("dopo");  // replaced tables before the kill; 0: never killed
        QTest::addColumn<bool>("nuove");
        QTest::newRow("after the first table") << 1 << false;
        QTest::newRow("after the last, before storing") << 3 << false;
        QTest::newRow("not killed") << 0 << true;
    }
    void uccisoDuranteAggiornamento()
    {
        QFETCH(int, dopo);
        QFETCH(bool, nuove);
        const QString archivio = archivioV1(QStringLiteral("ucciso-%1.mdb").arg(dopo), true);
        const QStringList risultatiPrima = risultati(archivio);
        QProcess figlio;
        figlio.start(QStringLiteral(ALUNNO), {QStringLiteral("aggiorna"), archivio, m_v2, QString::number(dopo)});
        QVERIFY(figlio.waitForFinished(60000));
        const QString uscita = QString::fromUtf8(figlio.readAllStandardOutput());
        QCOMPARE(uscita.count(QLatin1String("SOSTITUITA")), dopo ? dopo : 3);
        QCOMPARE(figlio.exitStatus(), dopo ? QProcess::CrashExit : QProcess::NormalExit);
        QCOMPARE(impronteArchivio(archivio), impronteCorso(corsoDa(nuove ? m_v2 : m_v1)));
        QCOMPARE(risultati(archivio), risultatiPrima);

        // The next start finishes the work.
        const auto esito = corsoDa(m_v2).aggiorna(AltraCopia(archivio).db());
        QCOMPARE(esito.sostituite.size(), nuove ? 0 : 3);
        QCOMPARE(impronteArchivio(archivio), impronteCorso(corsoDa(m_v2)));
        QCOMPARE(risultati(archivio), risultatiPrima);
    }

    // Refused at the moment of storing (another computer reading the file all the while): nothing changed.
    void rifiutatoAllaFine()
    {
        const QString archivio = archivioV1(QStringLiteral("occupato.mdb"), true);
        const QStringList risultatiPrima = risultati(archivio);
        const QHash<QString, QString> prima = impronteArchivio(archivio);
        Database::setBusyWait(300);
        QString errore;
        auto db = Database::open(archivio, &errore);
        Database::setBusyWait(0);
        QVERIFY(db);
        {
            AltraCopia lettore(archivio);
            QSqlQuery lettura(lettore.db());
            QVERIFY(lettore.esegui(QStringLiteral("BEGIN")));
            QVERIFY(lettura.exec(QStringLiteral(R"(SELECT COUNT(*) FROM "studenti")")) && lettura.next());
            const auto esito = corsoDa(m_v2).aggiorna(db->connection());
            QVERIFY(!esito.errore.isEmpty() && esito.sostituite.isEmpty());
            lettura.finish();
            QVERIFY(lettore.esegui(QStringLiteral("COMMIT")));
        }
        db.reset();
        QCOMPARE(impronteArchivio(archivio), prima);
        QCOMPARE(risultati(archivio), risultatiPrima);
    }
};

QTEST_MAIN(TestAggiornaCorso)
#include "TestAggiornaCorso.moc"
