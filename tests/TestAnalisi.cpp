#include "ServerDiProva.h"
#include "TestSupport.h"

#include "animation/Fsintesi.h"
#include "app/Fscelt.h"
#include "app/Sessione.h"
#include "archive/Analisi.h"
#include "archive/AnalisiRisposte.h"
#include "archive/Archivio.h"
#include "assessment/Etichette.h"
#include "assessment/FQimage.h"
#include "assessment/FQuest.h"
#include "assessment/FSommati.h"
#include "data/Clock.h"
#include "data/Coda.h"
#include "data/Csv.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "data/Risposte.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/Printer.h"
#include "ui/Screens.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {
const auto kGrezzo = QStringLiteral("grezzo");

// A connection of its own to the course file, outside the program.
struct Grezzo {
    explicit Grezzo(const QString& path) : db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kGrezzo))
    {
        db.setDatabaseName(path);
        db.open();
    }
    ~Grezzo()
    {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(kGrezzo);
    }
    QSqlDatabase db;
};

// One stored answer, read back from the file in stored order.
struct Letta {
    QString chiave, nome, prova, banco;
    int pagina = 0, riga = 0;
    QString testo, risposta;
    int giusta = 0;
    QDate data;
};
QList<Letta> risposteSalvate(const QString& path)
{
    QList<Letta> out;
    Grezzo g(path);
    QSqlQuery q(g.db);
    if (q.exec(QStringLiteral(R"(SELECT "chiave", "nome", "prova", "banco", "pagina", "riga", "testo", "risposta", )"
                              R"("giusta", "data" FROM "risposte" ORDER BY rowid)")))
        while (q.next())
            out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                        q.value(4).toInt(), q.value(5).toInt(), q.value(6).toString(), q.value(7).toString(),
                        q.value(8).toInt(), QDate::fromString(q.value(9).toString(), Qt::ISODate)});
    return out;
}

// The rows of `table`; none when there is no such table.
int conta(const QString& path, const QString& table)
{
    Grezzo g(path);
    QSqlQuery q(g.db);
    return q.exec(QStringLiteral(R"(SELECT COUNT(*) FROM "%1")").arg(table)) && q.next() ? q.value(0).toInt() : 0;
}

// The answers grouped by the result they were stored with, in stored order.
QList<QList<Letta>> perChiave(const QList<Letta>& righe)
{
    QList<QList<Letta>> out;
    for (const Letta& r : righe) {
        if (out.isEmpty() || out.last().first().chiave != r.chiave)
            out.append(QList<Letta>());
        out.last().append(r);
    }
    return out;
}

int giuste(const QList<Letta>& righe)
{
    return int(std::count_if(righe.begin(), righe.end(), [](const Letta& r) { return r.giusta == 1; }));
}

// The truth of each statement of each page of a question table, on either engine.
QList<QHash<QString, int>> verita(const QSqlDatabase& db, const QString& table)
{
    QList<QHash<QString, int>> out;
    QSqlQuery q(QStringLiteral(R"(SELECT * FROM "%1" ORDER BY %2)").arg(table, data::Database::rowIdentity(db)), db);
    while (q.next()) {
        QHash<QString, int> p;
        for (int i = 0; i < 10; ++i)
            p.insert(q.value(2 + i).toString(), q.value(12 + i).toInt());
        out.append(p);
    }
    return out;
}

// Keeps the first `n` pages of a question table in the course file; the truth of their statements.
QList<QHash<QString, int>> soloPagine(const QString& path, const QString& table, int n)
{
    Grezzo g(path);
    QSqlQuery q(g.db);
    const auto tieni = QStringLiteral(R"(DELETE FROM "%1" WHERE rowid NOT IN (SELECT rowid FROM "%1" ORDER BY rowid )"
                                      R"(LIMIT %2))");
    if (!q.exec(tieni.arg(table).arg(n)))
        return {};
    return verita(g.db, table);
}

// Each stored result joined with its answers by key, on either engine: "answers/right/score".
QStringList perRisultato(const QSqlDatabase& db)
{
    QSqlQuery q(QStringLiteral(R"(SELECT COUNT(*), SUM(r."giusta"), MIN(s."punteggio") FROM "studenti" s )"
                               R"(JOIN "risposte" r ON r."chiave" = s."chiave" GROUP BY s."chiave")"),
                db);
    QStringList out;
    while (q.next())
        out << QStringLiteral("%1/%2/%3").arg(q.value(0).toInt()).arg(q.value(1).toInt()).arg(q.value(2).toInt());
    return out;
}

using TestSupport::menu;

// A whole questionnaire on topic `argomento`, in test mode (practice for an empty name): rows in `sbagliate`
// answered against their truth.
FQuest* questionario(int argomento, const QString& nome, const QSet<int>& sbagliate, const QList<QHash<QString, int>>& pagine)
{
    menu()->Command1_Click(argomento - 1);
    auto* q = qobject_cast<FQuest*>(ui::Screens::instance().show(QStringLiteral("FQuest")));
    ui::MessageBox::setNextInput(nome);
    (nome.isEmpty() ? q->cmdesercitazione : q->cmdquestionario)->click();
    for (int p = 0; p < pagine.size(); ++p) {
        for (int r = 0; r < 10; ++r) {
            const bool vero = (pagine[p].value(q->Text1[r]->text()) == 1) != sbagliate.contains(r);
            (vero ? q->Check1 : q->Check2)[r]->click();
        }
        q->cmdRISULT->click();
        if (p + 1 < pagine.size())
            q->cmdmostradomande->click();
    }
    return q;
}

// Reads a CSV file with Python's own csv module, as a spreadsheet's import would: the cells of every record.
QList<QStringList> leggiConPython(const QString& file, QString* errore)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "raw = open(sys.argv[1], 'rb').read()\n"
                                 "assert raw.startswith(b'\\xef\\xbb\\xbf'), 'no byte-order mark'\n"
                                 "assert raw.endswith(b'\\r\\n'), 'last line without CRLF'\n"
                                 "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, delimiter=';', strict=True))))\n"),
                  file});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        *errore = QString::fromUtf8(python.readAllStandardError());
        return {};
    }
    QList<QStringList> out;
    for (const auto& riga : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList celle;
        for (const auto& c : riga.toArray())
            celle << c.toString();
        out.append(celle);
    }
    return out;
}

// Stores answers straight into the archive's table, as results stored earlier left them.
void salva(data::Database& db, const QString& chiave, const QString& nome, const QString& prova, int pagina,
           const QDate& giorno, const QList<std::pair<QString, bool>>& risposte)
{
    QSqlDatabase c = db.connection();
    QVERIFY(data::Risposte::prepara(c, nullptr));
    int riga = 0;
    for (const auto& [testo, giusta] : risposte) {
        const auto r = data::Risposte::riga(chiave, nome, giorno,
                                            {prova, QStringLiteral("banco"), pagina, ++riga, testo, QStringLiteral("V"), giusta});
        QStringList nomi;
        for (const auto& col : r)
            nomi << QLatin1Char('"') + col.first + QLatin1Char('"');
        QSqlQuery q(c);
        q.prepare(QStringLiteral(R"(INSERT INTO "risposte" (%1) VALUES (?%2))")
                      .arg(nomi.join(u','), QStringLiteral(",?").repeated(nomi.size() - 1)));
        for (const auto& col : r)
            q.addBindValue(col.second);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }
}

// What an analysis says, in a few words: the statements of topic 1 as "text alunni/giuste", most missed
// first; the grid as "name: cells", a cell "giuste/totale" or "-".
QString affermazioni(const AnalisiRisposte& a)
{
    QStringList out;
    for (const auto& af : a.affermazioni(data::Risposte::provaArgomento(1)))
        out << QStringLiteral("%1 %2/%3").arg(af.testo).arg(af.alunni).arg(af.giuste);
    return out.join(QStringLiteral(", "));
}
QString griglia(const AnalisiRisposte& a)
{
    QStringList out;
    for (const auto& al : a.griglia()) {
        QStringList celle;
        for (const auto& c : al.celle)
            celle << (c.vuota() ? QStringLiteral("-") : QStringLiteral("%1/%2").arg(c.giuste).arg(c.totale));
        out << al.nome + QStringLiteral(": ") + celle.join(u' ');
    }
    return out.join(QStringLiteral("; "));
}

// A result row stored through the program's own recordset: in "studenti" a score out of 10 on topic
// `testo`, in "studsomm" the same percentage in every part with the grade `testo`.
void risultato(data::Database& db, const QString& tabella, const QString& nome, int punti, const QString& testo)
{
    auto rs = db.OpenRecordset(tabella);
    rs->AddNew();
    rs->setField("cognome e nome", nome);
    if (tabella == QLatin1String("studsomm")) {
        for (const char* c : {"punteggio totale", "conscere", "comprendere", "applicare"})
            rs->setField(c, punti);
        rs->setField("valutazione", testo);
    } else {
        rs->setField("argomento", testo);
        rs->setField("punteggio", punti);
        rs->setField("maxpunti", 10);
    }
    QVERIFY(rs->Update());
}

const QDate kOggi(2026, 12, 10);  // a Thursday
}  // namespace

// The answers behind every stored result, what the analysis makes of them, and the files a spreadsheet opens.
class TestAnalisi : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }
    void cleanup()
    {
        TestSupport::chiudiTutto();
        data::Clock::fix(std::nullopt);
    }

    // A questionnaire in test mode stores ten answers per page, under the key of the page's score row. A store
    // that fails keeps neither the result nor its answers; one that succeeds on "Riprova" keeps both; practice
    // stores nothing.
    void questionnaireStoresEveryAnswer_data()
    {
        QTest::addColumn<int>("argomento");
        QTest::addColumn<int>("numeroPagine");
        QTest::addColumn<QList<int>>("sbagliate");
        QTest::addColumn<QString>("rifiutata");  // a table refused until "Riprova", or "esercizio" for practice
        QTest::addColumn<int>("riprova");
        QTest::addColumn<int>("salvate");
        QTest::newRow("topic 1, two pages all right") << 1 << 2 << QList<int>{} << "" << 0 << 2;
        QTest::newRow("topic 3, three pages, three wrong") << 3 << 3 << QList<int>{0, 4, 9} << "" << 0 << 3;
        QTest::newRow("topic 6, all wrong") << 6 << 1 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << "" << 0 << 1;
        QTest::newRow("result row refused, given up") << 2 << 1 << QList<int>{3} << "studenti" << 0 << 0;
        QTest::newRow("answers refused, given up") << 2 << 1 << QList<int>{3} << "risposte" << 0 << 0;
        QTest::newRow("answers refused, then Riprova") << 2 << 1 << QList<int>{3} << "risposte" << 1 << 1;
        QTest::newRow("practice") << 2 << 2 << QList<int>{3} << "esercizio" << 0 << 0;
    }
    void questionnaireStoresEveryAnswer()
    {
        QFETCH(int, argomento);
        QFETCH(int, numeroPagine);
        QFETCH(QList<int>, sbagliate);
        QFETCH(QString, rifiutata);
        QFETCH(int, riprova);
        QFETCH(int, salvate);
        TestSupport::CartellaProgramma folder;
        const QString banco = QStringLiteral("domande%1").arg(argomento);
        const auto pagine = soloPagine(folder.archivio(), banco, numeroPagine);
        QCOMPARE(pagine.size(), numeroPagine);
        const bool esercizio = rifiutata == QLatin1String("esercizio");
        if (!rifiutata.isEmpty() && !esercizio) {
            auto db = data::Database::open(folder.archivio(), nullptr);
            QVERIFY(db && data::Risposte::prepara(db->connection(), nullptr));
            db.reset();
            TestSupport::rifiutaFinoARiprova(folder.archivio(), rifiutata, riprova);
        }
        QVERIFY(TestSupport::apriMenu());
        const QSet<int> errate(sbagliate.begin(), sbagliate.end());
        questionario(argomento, esercizio ? QString() : QStringLiteral("D'Amico Lucia"), errate, pagine);
        QCOMPARE(TestSupport::richiesteDiRiprovare(), rifiutata.isEmpty() || esercizio ? 0 : 1);

        const auto risultati = TestSupport::righeStudenti(folder.archivio());
        const auto gruppi = perChiave(risposteSalvate(folder.archivio()));
        QCOMPARE(risultati.size(), salvate);
        QCOMPARE(gruppi.size(), salvate);
        for (int p = 0; p < salvate; ++p) {
            QCOMPARE(gruppi[p].size(), 10);
            QCOMPARE(giuste(gruppi[p]), risultati[p].punteggio);
            for (int r = 0; r < 10; ++r) {
                const Letta& l = gruppi[p][r];
                QVERIFY2(pagine[p].contains(l.testo) && l.data == data::Clock::today(), qPrintable(l.testo));
                // The answer recorded is the one ticked, and it is right exactly when it matches the bank.
                const bool giusta = !errate.contains(r);
                const QString segno = (pagine[p].value(l.testo) == 1) == giusta ? "V" : "F";
                QCOMPARE(QStringList({l.nome, l.prova, l.banco, QString::number(l.pagina), QString::number(l.riga),
                                      l.risposta, QString::number(l.giusta)}),
                         QStringList({"D'Amico Lucia", QStringLiteral("argomento %1").arg(argomento), banco,
                                      QString::number(p + 1), QString::number(r + 1), segno, QString::number(giusta)}));
            }
        }
    }

    // On either engine a stored page carries its ten answers under the key of its result row, which on the
    // server is the row's own "chiave" column; a pupils' computer on the server may store them.
    void pageAndAnswersShareTheKey_data() { TestSupport::soloMotore(); }
    void pageAndAnswersShareTheKey()
    {
        ARCHIVIO_DI_PROVA(archivio, false, QStringLiteral("aula"));
        QVERIFY(TestSupport::apriMenu());
        auto& db = *TestSupport::sessione().dbcorso;
        QCOMPARE(db.isServer(), motore == TestSupport::Motore::Server);
        const QList<QHash<QString, int>> pagine = verita(db.connection(), QStringLiteral("domande4"));
        QVERIFY(!pagine.isEmpty());
        questionario(4, QStringLiteral("Rossi'; DROP TABLE \"risposte\"; --"), {1, 2}, pagine);
        QSqlQuery q(QStringLiteral(R"(SELECT COUNT(*), SUM("giusta"), COUNT(DISTINCT "chiave") FROM "risposte")"),
                    db.connection());
        QVERIFY(q.next());
        const int n = int(pagine.size());
        QCOMPARE(QList<int>({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()}),
                 QList<int>({10 * n, 8 * n, n}));
        // Every result row's key has exactly its page's ten answers, and their sum is its score.
        if (db.isServer())
            QCOMPARE(perRisultato(db.connection()), QStringList(pagine.size(), QStringLiteral("10/8/8")));
    }

    // A page stored while the server is away waits on this computer with its answers, and reaches the
    // server with them, once, also when it is sent again.
    void waitingResultKeepsItsAnswers()
    {
        TestSupport::ArchivioDiProva archivio(TestSupport::Motore::Server, false, QStringLiteral("aula"));
        PRONTO(archivio);
        auto* s = TestSupport::ServerDiProva::istanza();
        QVERIFY(s->esegui(archivio.nome(), {QStringLiteral(R"(DELETE FROM "domande5" WHERE "id" > (SELECT MIN("id") FROM "domande5"))")}));
        QVERIFY(TestSupport::apriMenu());
        auto& db = *TestSupport::sessione().dbcorso;
        const QList<QHash<QString, int>> pagine = verita(db.connection(), QStringLiteral("domande5"));
        QCOMPARE(pagine.size(), 1);
        QVERIFY(s->ferma());
        questionario(5, QStringLiteral("Ferma Ada"), {0, 9}, pagine);
        QVERIFY(s->avvia());
        QCOMPARE(data::Coda().quanti(), 1);
        QVERIFY(db.reconnect());
        TestSupport::sessione().inviaCoda();
        QCOMPARE(data::Coda().quanti(), 0);
        QCOMPARE(perRisultato(db.connection()), QStringList{"10/8/8"});
        // Sent again (its first sending cut off before the answer came back): stored once, answers too.
        QSqlQuery q(QStringLiteral(R"(SELECT "chiave" FROM "studenti")"), db.connection());
        QVERIFY(q.next());
        const QString chiave = q.value(0).toString();
        data::Coda coda;
        QString errore;
        QVERIFY(coda.aggiungi(QStringLiteral("studenti"), chiave,
                              {{QStringLiteral("cognome e nome"), QStringLiteral("Ferma Ada")}, {QStringLiteral("argomento"), QStringLiteral("x")},
                               {QStringLiteral("punteggio"), 8}, {QStringLiteral("maxpunti"), 10}, {QStringLiteral("chiave"), chiave}},
                              &errore,
                              {{data::Risposte::kTabella, data::Risposte::riga(chiave, QStringLiteral("Ferma Ada"), kOggi,
                                                                              {data::Risposte::provaArgomento(5), "domande5", 1, 1, "x", "V", true})}}));
        TestSupport::sessione().inviaCoda();
        QCOMPARE(data::Coda().quanti(), 0);
        QCOMPARE(perRisultato(db.connection()), QStringList{"10/8/8"});
    }

    // The labelling test stores its ten boxes: the part each box stands for, the number placed, right or not.
    void labellingStoresEveryBox_data()
    {
        QTest::addColumn<int>("argomento");
        QTest::addColumn<int>("giusteAttese");
        QTest::newRow("topic 1, all placed right") << 1 << 10;
        QTest::newRow("topic 3, seven right, one box empty") << 3 << 7;
        QTest::newRow("topic 5, nothing placed") << 5 << 0;
    }
    void labellingStoresEveryBox()
    {
        QFETCH(int, argomento);
        QFETCH(int, giusteAttese);
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        TestSupport::sessione().nomestudente = QStringLiteral("=Neri Ugo");
        menu()->Command1_Click(argomento - 1);
        auto& screens = ui::Screens::instance();
        auto* quest = qobject_cast<FQuest*>(screens.show(QStringLiteral("FQuest")));
        TestSupport::sessione().modotest = ModoTest::Test;
        quest->cmdimage->show();
        quest->cmdimage->setEnabled(true);
        quest->cmdimage->click();
        auto* f = qobject_cast<FQimage*>(screens.front());
        QVERIFY(f);
        QList<int> numeri;  // the right number of each box, from the program's own data
        for (const QString& n : Etichette::argomento(argomento)->numeriesatti)
            numeri.append(n.toInt());
        for (int i = 0; i < giusteAttese; ++i)
            f->Label4_DragDrop(i, numeri[i] - 1);
        const int sbagliata = giusteAttese > 0 && giusteAttese < 9 ? giusteAttese : -1;  // given the next box's number
        if (sbagliata >= 0)
            f->Label4_DragDrop(sbagliata, numeri[sbagliata + 1] - 1);
        f->cmdRISULT_Click();

        const auto risultati = TestSupport::righeStudenti(folder.archivio());
        const auto righe = risposteSalvate(folder.archivio());
        QCOMPARE(risultati.size(), 1);
        QCOMPARE(risultati[0].punteggio, giusteAttese);
        QCOMPARE(righe.size(), 10);
        for (int i = 0; i < 10; ++i) {
            QVERIFY(!righe[i].testo.isEmpty());
            const int posto = i < giusteAttese ? numeri[i] : i == sbagliata ? numeri[i + 1] : 0;
            QCOMPARE(QStringList({righe[i].prova, righe[i].nome, QString::number(righe[i].riga), righe[i].risposta,
                                  QString::number(righe[i].giusta)}),
                     QStringList({QStringLiteral("etichette %1").arg(argomento), "=Neri Ugo", QString::number(i + 1),
                                  posto ? QString::number(posto) : QString(), QString::number(i < giusteAttese)}));
        }
    }

    // The summative test stores every page's answers with its one result row.
    void summativeStoresEveryPage_data()
    {
        QTest::addColumn<int>("numeroPagine");
        QTest::addColumn<QStringList>("punti");  // per page, right rows as "knowledge+understanding+application"
        QTest::newRow("one page, all right") << 1 << QStringList{"5+3+2"};
        QTest::newRow("three pages") << 3 << QStringList{"4+3+1", "5+2+2", "3+1+0"};
        QTest::newRow("two pages, nothing right") << 2 << QStringList{"0+0+0", "0+0+0"};
    }
    void summativeStoresEveryPage()
    {
        QFETCH(int, numeroPagine);
        QFETCH(QStringList, punti);
        TestSupport::CartellaProgramma folder;
        QCOMPARE(soloPagine(folder.archivio(), QStringLiteral("sommativo"), numeroPagine).size(), numeroPagine);
        QVERIFY(TestSupport::apriMenu());
        ui::MessageBox::setNextInput(QStringLiteral("Rossi Mario"));
        menu()->sommativo->click();
        auto* f = qobject_cast<FSommati*>(ui::Screens::instance().find(QStringLiteral("FSommati")));
        QVERIFY(f);
        int totale = 0;
        for (const QString& p : punti) {
            const QStringList quante = p.split(u'+');
            for (int r = 0; r < 10; ++r) {  // rows 0-4 knowledge, 5-7 understanding, 8-9 application
                const int c = r < 5 ? 0 : r < 8 ? 1 : 2;
                const bool giusta = r - QList<int>{0, 5, 8}[c] < quante[c].toInt();
                ((TestSupport::sessione().soluzioni[r + 1] == 1) == giusta ? f->Check1 : f->Check2)[r]->click();
                totale += giusta;
            }
            f->cmdAVANTI->click();
        }
        QCOMPARE(conta(folder.archivio(), QStringLiteral("studsomm")), 1);
        const auto gruppi = perChiave(risposteSalvate(folder.archivio()));
        QCOMPARE(gruppi.size(), 1);
        QCOMPARE(gruppi[0].size(), 10 * numeroPagine);
        QCOMPARE(giuste(gruppi[0]), totale);
        // The stored percentage is the one the answers give.
        QCOMPARE(int(TestSupport::sessione().totale), totale * 100 / (10 * numeroPagine));
        for (int i = 0; i < gruppi[0].size(); ++i) {
            const Letta& l = gruppi[0][i];
            QCOMPARE(QStringLiteral("%1 %2 %3.%4").arg(l.prova, l.banco).arg(l.pagina).arg(l.riga),
                     QStringLiteral("sommativa sommativo %1.%2").arg(i / 10 + 1).arg(i % 10 + 1));
        }
    }

    // Each stored synthesis row carries the answers of every correction its totals count.
    void synthesisStoresEveryCorrection()
    {
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        TestSupport::sessione().nomestudente = QStringLiteral("Bianchi Anna");
        menu()->cmdsinteanim->click();
        auto* f = qobject_cast<Fsintesi*>(ui::Screens::instance().find(QStringLiteral("Fsintesi")));
        QVERIFY(f);
        auto finoAllaProva = [f](int n) {
            for (int guard = 0; guard < 300; ++guard) {
                if (f->Frame1.isVisible() && !f->Timer1->isEnabled() && !f->Timer2->isEnabled()) {
                    if (f->prova().prova() == n)
                        return true;
                    f->CmdContinuo->click();
                }
                const bool t1 = f->Timer1->isEnabled();  // a second goes by: each timer armed at its start fires
                if (f->Timer2->isEnabled())
                    f->Timer2->fire();
                if (t1)
                    f->Timer1->fire();
            }
            return false;
        };
        QVERIFY(finoAllaProva(1));
        for (int i = 0; i < 12; ++i)
            if (f->prova().esattaMostrata(i))
                f->Label11_Click(i);
        f->CmdCorreggi_Click();  // 12 right
        QVERIFY(finoAllaProva(2));
        for (int i = 0; i < 12; ++i)
            if (!f->prova().esattaMostrata(i)) {
                f->Label11_Click(i);  // one false statement marked: 4 right
                break;
            }
        f->CmdCorreggi_Click();
        f->Cmdmenu_Click();
        auto gruppi = perChiave(risposteSalvate(folder.archivio()));
        auto risultati = TestSupport::righeStudenti(folder.archivio());
        QCOMPARE(risultati.size(), 1);
        QCOMPARE(gruppi.size(), 1);
        QCOMPARE(gruppi[0].size(), risultati[0].maxpunti);
        QCOMPARE(giuste(gruppi[0]), risultati[0].punteggio);
        QCOMPARE(risultati[0].punteggio, 16);
        // Leaving again stores the same totals once more, with the same answers.
        ui::Screens::instance().show(QStringLiteral("Fsintesi"));
        f->Cmdmenu_Click();
        gruppi = perChiave(risposteSalvate(folder.archivio()));
        risultati = TestSupport::righeStudenti(folder.archivio());
        QCOMPARE(gruppi.size(), 2);
        QCOMPARE(giuste(gruppi[1]), risultati[1].punteggio);
        QCOMPARE(gruppi[1].size(), 24);
        // Marked means judged true; right when that is the truth of the statement. The one false statement
        // marked in test 2 is the one wrong "V" there.
        int falseSegnate = 0;
        for (const Letta& l : gruppi[1]) {
            QVERIFY2(l.prova == "sintesi" && l.pagina >= 1 && l.pagina <= 2 && (l.risposta == "V" || l.risposta == "F"),
                     qPrintable(QStringLiteral("%1 %2 %3").arg(l.prova).arg(l.pagina).arg(l.risposta)));
            falseSegnate += l.pagina == 2 && l.risposta == QLatin1String("V") && !l.giusta;
        }
        QCOMPARE(falseSegnate, 1);
    }

    // The figures of the analysis from a fixed set of answers: statements most missed first, counting
    // each pupil once by the latest answer; the grid with each pupil's latest score.
    void analysisFigures_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<int>("periodo");
        QTest::addColumn<QDate>("dal");
        QTest::addColumn<QDate>("al");
        QTest::addColumn<QString>("alunno");
        QTest::addColumn<QString>("prove");
        QTest::addColumn<QString>("affermazioni");
        QTest::addColumn<QString>("griglia");
        using T = AnalisiRisposte::Periodo::Tipo;
        for (TestSupport::Motore m : TestSupport::motori()) {
            auto caso = [m](const char* nome, T periodo, const char* prove, const char* affermazioni, const char* griglia,
                            const QString& alunno = {}, QDate dal = {}, QDate al = {}) {
                QTest::newRow(TestSupport::riga(m, nome))
                    << m << int(periodo) << dal << al << alunno << QString(prove) << QString(affermazioni) << QString(griglia);
            };
            const char* rossi = "Rossi Mario: 0/2 - - - - - - -";
            const char* verdi = "Verdi Luca: 0/1 - - - - - - -";
            caso("today", T::Oggi, "argomento 1", "S1 1/0, S2 1/0", rossi);
            caso("this week", T::Settimana, "argomento 1", "S1 1/0, S2 1/0, S3 1/1, S4 1/1", rossi);
            caso("school year", T::AnnoScolastico, "argomento 1,etichette 1,sommativa,sintesi", "S1 2/1, S2 2/1, S3 1/1, S4 1/1",
                 "Bianchi Anna: 2/2 - - - - - 7/10 1/2; ROSSI MARIO: 0/2 - - - - - - -");
            caso("one pupil, another spelling", T::AnnoScolastico, "argomento 1", "S1 1/0, S2 1/0, S3 1/1, S4 1/1",
                 "ROSSI MARIO: 0/2 - - - - - - -", "rossi mario");
            caso("a pupil with no answers", T::AnnoScolastico, "", "", "", "Neri Ugo");
            caso("last year, from-to", T::Intervallo, "argomento 1", "S1 1/0", verdi, {}, {2025, 1, 1}, {2025, 12, 31});
            caso("from-to given backwards", T::Intervallo, "argomento 1", "S1 1/0", verdi, {}, {2025, 12, 31}, {2025, 1, 1});
            caso("an empty period", T::Intervallo, "", "", "", {}, {2024, 1, 1}, {2024, 12, 31});
        }
    }
    void analysisFigures()
    {
        QFETCH(int, periodo);
        QFETCH(QDate, dal);
        QFETCH(QDate, al);
        QFETCH(QString, alunno);
        QFETCH(QString, prove);
        QFETCH(QString, affermazioni);
        QFETCH(QString, griglia);
        ARCHIVIO_DI_PROVA(archivio);
        QString errore;
        auto db = archivio.apri(&errore);
        QVERIFY2(db, qPrintable(errore));
        const QString a1 = data::Risposte::provaArgomento(1);
        salva(*db, "v", "Verdi Luca", a1, 1, {2025, 6, 1}, {{"S1", false}});
        salva(*db, "d", "ROSSI MARIO", a1, 1, {2026, 10, 1}, {{"S1", true}});
        salva(*db, "e", "Bianchi Anna", a1, 1, {2026, 12, 3}, {{"S1", true}, {"S2", true}});
        QList<std::pair<QString, bool>> somm;
        for (int i = 0; i < 10; ++i)
            somm.append({QStringLiteral("T%1").arg(i), i < 7});
        salva(*db, "f", "Bianchi Anna", data::Risposte::kProvaSommativa, 1, {2026, 12, 3}, somm);
        salva(*db, "h", "Bianchi Anna", data::Risposte::kProvaSintesi, 1, {2026, 12, 3}, {{"X1", true}, {"X2", false}});
        salva(*db, "i", "Bianchi Anna", data::Risposte::provaEtichette(1), 1, {2026, 12, 3}, {{"Nucleo", true}});
        salva(*db, "a", "Rossi Mario", a1, 1, {2026, 12, 8}, {{"S1", true}, {"S2", false}});
        salva(*db, "b", "Rossi Mario", a1, 2, {2026, 12, 8}, {{"S3", true}, {"S4", true}});
        salva(*db, "c", "Rossi Mario", a1, 1, kOggi, {{"S1", false}, {"S2", false}});

        AnalisiRisposte::Filtro filtro;
        filtro.periodo = AnalisiRisposte::Periodo::di(AnalisiRisposte::Periodo::Tipo(periodo), kOggi, dal, al);
        if (!alunno.isEmpty())
            filtro.alunno = alunno;
        AnalisiRisposte analisi;
        QVERIFY(analisi.carica(db->connection(), filtro, &errore));
        QCOMPARE(analisi.prove().join(u','), prove);
        QCOMPARE(::affermazioni(analisi), affermazioni);
        QCOMPARE(::griglia(analisi), griglia);
        // The names offered by the pupil filter: one per pupil, letter case aside.
        QCOMPARE(AnalisiRisposte::alunni(db->connection(), &errore).size(), 3);
    }

    // The days each period covers.
    void periods_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QDate>("oggi");
        QTest::addColumn<QString>("giorni");  // from, to
        using T = AnalisiRisposte::Periodo::Tipo;
        const int settimana = int(T::Settimana), anno = int(T::AnnoScolastico);
        QTest::newRow("today") << int(T::Oggi) << kOggi << "2026-12-10 2026-12-10";
        QTest::newRow("week on a Monday") << settimana << QDate(2026, 12, 7) << "2026-12-07 2026-12-07";
        QTest::newRow("week on a Sunday") << settimana << QDate(2026, 12, 13) << "2026-12-07 2026-12-13";
        QTest::newRow("school year on 1 September") << anno << QDate(2026, 9, 1) << "2026-09-01 2026-09-01";
        QTest::newRow("school year in August") << anno << QDate(2027, 8, 31) << "2026-09-01 2027-08-31";
    }
    void periods()
    {
        QFETCH(int, tipo);
        QFETCH(QDate, oggi);
        QFETCH(QString, giorni);
        const auto p = AnalisiRisposte::Periodo::di(AnalisiRisposte::Periodo::Tipo(tipo), oggi);
        QCOMPARE(p.dal.toString(Qt::ISODate) + QLatin1Char(' ') + p.al.toString(Qt::ISODate), giorni);
    }

    // Every cell as an independent reader (Python's csv module) reads it back: hostile names survive exactly,
    // and a text a spreadsheet would run as a formula comes back with an apostrophe in front.
    void csvReadBackByPython_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("neutralizzato");
        QTest::newRow("apostrophe") << "D'Amico Lucia" << false;
        QTest::newRow("double quotes") << "\"Neri\" Ugo" << false;
        QTest::newRow("semicolon and statement") << "Rossi'; DELETE FROM studenti; --" << false;
        QTest::newRow("accents") << "Perché Niccolò Ça" << false;
        QTest::newRow("blanks") << "  Bianchi   Anna " << false;
        QTest::newRow("line break inside") << "Riga\r\nseconda" << false;
        QTest::newRow("equals") << "=HYPERLINK(\"http://x\";\"clic\")" << true;
        QTest::newRow("plus") << "+1+1" << true;
        QTest::newRow("minus") << "-2+3" << true;
        QTest::newRow("at") << "@SUM(A1:A9)" << true;
        QTest::newRow("tab") << "\t=1" << true;
        QTest::newRow("carriage return") << "\r=1" << true;
        QTest::newRow("equals after a blank") << " =1" << false;
    }
    void csvReadBackByPython()
    {
        QFETCH(QString, nome);
        QFETCH(bool, neutralizzato);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("prova.csv"));
        QString errore;
        const QVector<QVariantList> righeScritte{{nome, 7, 66.7, QDate(2026, 12, 7), QVariant(), -3},
                                                 {"Rossi Mario", 10, 100.0, QDate(2027, 1, 2), "x", 0.25}};
        const bool scritto = data::Csv::scrivi(file, {"Nome", "Punti", "Quota", "Data", "Vuota", "Meno"}, righeScritte, &errore);
        QVERIFY2(scritto, qPrintable(errore));
        const auto righe = leggiConPython(file, &errore);
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
        QCOMPARE(righe.size(), 3);
        QCOMPARE(righe[0], (QStringList{"Nome", "Punti", "Quota", "Data", "Vuota", "Meno"}));
        QCOMPARE(righe[1], (QStringList{neutralizzato ? QLatin1Char('\'') + nome : nome, "7", "66,7", "07/12/2026", "", "-3"}));
        QCOMPARE(righe[2], (QStringList{"Rossi Mario", "10", "100", "02/01/2027", "x", "0,25"}));
        // Numbers and dates stand unquoted, so a spreadsheet takes them as numbers; texts are quoted.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray tutto = f.readAll();
        QVERIFY(tutto.contains(";7;66,7;07/12/2026;;-3\r\n"));
        QVERIFY(tutto.endsWith("\"Rossi Mario\";10;100;02/01/2027;\"x\";0,25\r\n"));
    }

    // ESPORTO on an archive writes every row of the list shown, not only its page, under the default name.
    void archiveExportsTheWholeList_data()
    {
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<QString>("elenco");  // "tutto", "selezione" or "nessuno"
        QTest::addColumn<int>("righeAttese");
        QTest::newRow("questionnaires, all, three pages") << "frmRISUL" << "tutto" << 45;
        QTest::newRow("questionnaires, one pupil") << "frmRISUL" << "selezione" << 23;
        QTest::newRow("questionnaires, before any list") << "frmRISUL" << "nessuno" << 45;
        QTest::newRow("summative, all") << "FLIsomm" << "tutto" << 45;
    }
    void archiveExportsTheWholeList()
    {
        QFETCH(QString, archivio);
        QFETCH(QString, elenco);
        QFETCH(int, righeAttese);
        data::Clock::fix(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        const bool somm = archivio == QLatin1String("FLIsomm");
        for (int i = 0; i < 45; ++i)
            risultato(*TestSupport::sessione().dbcorso, somm ? "studsomm" : "studenti",
                      i % 2 == 0 ? "=Rossi Mario" : "Bianchi Anna", somm ? i : i % 11, somm ? "BUONO" : "Le PLACCHE. (immagine)");
        auto* a = qobject_cast<Archivio*>(ui::Screens::instance().show(archivio));
        QVERIFY(a);
        if (elenco == QLatin1String("tutto"))
            a->cmdtutto->click();
        else if (elenco == QLatin1String("selezione")) {
            ui::MessageBox::setNextInput(QStringLiteral("=ROSSI MARIO"));
            a->cmdselezione->click();
        }
        QTemporaryDir dir;
        const QString file = dir.filePath("esporto.csv");
        ui::FileDialog::setNextFile(file);
        a->cmdesporto->click();
        QCOMPARE(ui::FileDialog::shown().size(), 1);
        QCOMPARE(ui::FileDialog::shown()[0].proposto,
                 QStringLiteral("risultati-%1-2026-12-07.csv").arg(somm ? "sommativi" : "questionari"));
        QString errore;
        const auto righe = leggiConPython(file, &errore);
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
        QCOMPARE(righe.size(), 1 + righeAttese);
        QCOMPARE(righe[0].first(), QStringLiteral("cognome e nome"));
        QCOMPARE(righe[1].first(), QStringLiteral("'=Rossi Mario"));
        QCOMPARE(righe[1].last(), QStringLiteral("07/12/2026"));
        if (!somm && elenco != QLatin1String("selezione"))
            QCOMPARE(righe[2], (QStringList{"Bianchi Anna", "Le PLACCHE. (immagine)", "1", "10", "07/12/2026"}));
        // A cancelled dialog writes nothing and says nothing.
        const auto detti = ui::MessageBox::shown().size();
        QVERIFY(QFile::remove(file));
        a->cmdesporto->click();
        QCOMPARE(ui::MessageBox::shown().size(), detti);
        QVERIFY(!QFile::exists(file));
    }

    // The analysis screen from an archive: both views print within an A4 page across under a heading that
    // says what was filtered, and export what they show.
    void analysisScreenPrintsAndExports_data()
    {
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<bool>("classe");
        QTest::newRow("statements, from the questionnaire archive") << "frmRISUL" << false;
        QTest::newRow("class grid, from the summative archive") << "FLIsomm" << true;
    }
    void analysisScreenPrintsAndExports()
    {
        QFETCH(QString, archivio);
        QFETCH(bool, classe);
        data::Clock::fix(QDateTime(kOggi, QTime(9, 0)));
        TestSupport::CartellaProgramma folder;
        QVERIFY(TestSupport::apriMenu());
        auto& db = *TestSupport::sessione().dbcorso;
        const QString lunga = QStringLiteral("La crosta oceanica è più sottile e più densa di quella continentale, "
                                             "e per questo, nello scontro tra due placche, scende sotto l'altra");
        salva(db, "a", "Rossi Mario Alessandro Giuseppe de' Medici", data::Risposte::provaArgomento(1), 1, kOggi,
              {{lunga, false}, {"Il nucleo è solido", true}});
        QList<std::pair<QString, bool>> somm;
        for (int i = 0; i < 10; ++i)
            somm.append({QStringLiteral("T%1").arg(i), i < 4});
        salva(db, "b", "Bianchi Anna", data::Risposte::kProvaSommativa, 1, kOggi, somm);
        // Her results, for the archives to select.
        risultato(db, "studenti", "Bianchi Anna", 4, "x");
        risultato(db, "studsomm", "Bianchi Anna", 40, "NON SUFFICIENTE");
        auto& screens = ui::Screens::instance();
        auto* a = qobject_cast<Archivio*>(screens.show(archivio));
        a->cmdanalisi->click();
        auto* s = qobject_cast<Analisi*>(screens.front());
        QVERIFY(s);
        QCOMPARE(s->caption(), QStringLiteral("ANALISI DELLE RISPOSTE"));
        QCOMPARE(s->cboAlunno->count(), 3);  // tutti and the two pupils
        QCOMPARE(s->filtro().periodo.dal, QDate(2026, 9, 1));
        if (classe)
            s->cmdclasse->click();
        QCOMPARE(s->tblClasse->isVisible(), classe);
        QCOMPARE(s->tblAffermazioni->rowCount(), 2);
        QCOMPARE(s->tblAffermazioni->item(0, 2)->text(), QStringLiteral("0%"));  // the missed one first
        QCOMPARE(s->tblClasse->rowCount(), 2);
        QVERIFY(s->tblClasse->item(0, 7)->toolTip().contains(QStringLiteral("10/12/2026")));
        QCOMPARE(s->tblClasse->item(0, 7)->text(), QStringLiteral("40% NON SUFFICIENTE"));
        TestSupport::fotografa(s->window(), classe ? QStringLiteral("analisi-classe") : QStringLiteral("analisi-affermazioni"));

        s->cmdstampa->click();
        QCOMPARE(ui::Printer::jobs().size(), 1);
        const auto job = ui::Printer::jobs().first();
        QVERIFY(job.ended);
        QCOMPARE(job.layout.pages, 1);
        const auto attese = classe ? s->righeStampaClasse() : s->righeStampaAffermazioni();
        // Every item where it was meant to go: nothing pushed to a line of its own, nothing cut short.
        auto scritta = [](const ui::PrintLine& l) {
            QStringList out;
            for (const auto& item : l)
                if (!item.text.isEmpty())  // prints nothing
                    out << QStringLiteral("%1:%2").arg(item.column).arg(item.text);
            return out.join(QStringLiteral(" | "));
        };
        QCOMPARE(job.layout.lines.size(), attese.size());
        for (qsizetype i = 0; i < attese.size(); ++i)
            QCOMPARE(scritta(job.layout.lines[i]), scritta(attese[i]));
        const QString filtro = job.layout.lines[1].first().text;
        QVERIFY2(filtro.contains("quest'anno scolastico") && filtro.contains("Alunni: tutti"), qPrintable(filtro));

        QTemporaryDir dir;
        ui::FileDialog::setNextFile(dir.filePath("analisi.csv"));
        s->cmdesporto->click();
        QVERIFY(ui::FileDialog::shown().last().proposto.endsWith(QStringLiteral("-2026-12-10.csv")));
        QString errore;
        const auto righe = leggiConPython(dir.filePath("analisi.csv"), &errore);
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
        if (classe) {
            QCOMPARE(righe.size(), 3);
            QCOMPARE(righe[1].mid(0, 2), (QStringList{"Bianchi Anna", ""}));
            QCOMPARE(righe[1].mid(13, 3), (QStringList{"40", "NON SUFFICIENTE", "10/12/2026"}));
        } else {
            QCOMPARE(righe.size(), 1 + 2 + 10);
            QCOMPARE(righe[1], (QStringList{"Argomento 1 (questionario)", righe[1][1], "1", "0", "0"}));
        }

        // One pupil: the heading says so, and the grid keeps only that pupil.
        s->cboAlunno->setCurrentIndex(s->cboAlunno->findText(QStringLiteral("Bianchi Anna")));
        QCOMPARE(s->tblClasse->rowCount(), 1);
        QVERIFY(s->righeStampaClasse()[1].first().text.contains(QStringLiteral("Alunni: Bianchi Anna")));
        s->cmdtorna->click();
        QCOMPARE(screens.front()->name(), archivio);

        // From an archive showing one pupil's rows, the analysis starts on that pupil, letter case aside.
        ui::MessageBox::setNextInput(QStringLiteral("BIANCHI ANNA"));
        a->cmdselezione->click();
        a->cmdanalisi->click();
        s = qobject_cast<Analisi*>(screens.front());
        QVERIFY(s);
        QCOMPARE(s->cboAlunno->currentText(), QStringLiteral("Bianchi Anna"));
        QCOMPARE(s->tblClasse->rowCount(), 1);
    }
};

QTEST_MAIN(TestAnalisi)
#include "TestAnalisi.moc"
