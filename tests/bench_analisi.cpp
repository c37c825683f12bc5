// Figures for the analysis of the answers and for the export to a spreadsheet file, over 100,000 stored
// answers and 100,000 result rows (or the number given), each against the sqlite3 program reading the
// same rows:
//   - showing the analysis screen ("ANALISI" on the archive: statements and class grid, this school year);
//   - exporting the whole questionnaire archive to a CSV file ("ESPORTO" after "VEDO tutti i dati");
//   - the process's peak memory.
// Run it by hand from the build folder: tests/bench_analisi [ROWS]
#include "TestSupport.h"

#include "app/Sessione.h"
#include "archive/Analisi.h"
#include "archive/Archivio.h"
#include "data/Clock.h"
#include "data/Risposte.h"
#include "ui/FileDialog.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

using TestSupport::median;
using TestSupport::piccoMemoria;

namespace {
// `rows` answers: 25 pupils, the six topics (ten statements a page, six pages each) and the summative
// test, spread over the school year; and as many result rows.
void riempi(int rows)
{
    QSqlDatabase db = TestSupport::sessione().dbcorso->connection();
    data::Risposte::prepara(db, nullptr);
    const QDate inizio(2026, 9, 14);
    db.transaction();
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral(R"(INSERT INTO "risposte" ("chiave", "nome", "prova", "banco", "pagina", "riga", )"
                                 R"("testo", "risposta", "giusta", "data") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?))"));
        for (int i = 0; i < rows; ++i) {
            const int chiave = i / 10;
            const int argomento = chiave % 7 + 1;
            const int pagina = chiave / 7 % 6 + 1;
            const int riga = i % 10 + 1;
            q.addBindValue(QStringLiteral("k%1").arg(chiave));
            q.addBindValue(QStringLiteral("Alunno %1").arg(chiave % 25));
            q.addBindValue(argomento == 7 ? QStringLiteral("sommativa") : data::Risposte::provaArgomento(argomento));
            q.addBindValue(QStringLiteral("domande%1").arg(argomento));
            q.addBindValue(pagina);
            q.addBindValue(riga);
            q.addBindValue(QStringLiteral("Affermazione %1 della pagina %2 dell'argomento %3, come era scritta")
                               .arg(riga)
                               .arg(pagina)
                               .arg(argomento));
            q.addBindValue((i * 7) % 3 ? QStringLiteral("V") : QStringLiteral("F"));
            q.addBindValue((i * 13) % 4 ? 1 : 0);
            q.addBindValue(inizio.addDays(chiave % 85));
            q.exec();
        }
        q.prepare(QStringLiteral(R"(INSERT INTO "studenti" ("cognome e nome", "argomento", "punteggio", "maxpunti", "data") )"
                                 R"(VALUES (?, ?, ?, ?, ?))"));
        for (int i = 0; i < rows; ++i) {
            q.addBindValue(QStringLiteral("Alunno %1").arg(i % 25));
            q.addBindValue(QStringLiteral("LA STRUTTURA DELLA TERRA"));
            q.addBindValue(i % 11);
            q.addBindValue(10);
            q.addBindValue(inizio.addDays(i % 85));
            q.exec();
        }
    }
    db.commit();
}

// Seconds sqlite3 takes to read `sql` from the file into a CSV file of its own, median of `volte` runs.
double sqlite3(const QString& archivio, const QString& sql, const QString& uscita, int volte)
{
    QList<double> tempi;
    for (int i = 0; i < volte; ++i) {
        QProcess p;
        p.setStandardOutputFile(uscita);
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral("sqlite3"), {QStringLiteral("-csv"), QStringLiteral("-separator"), QStringLiteral(";"),
                                            archivio, sql});
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            return -1;
        tempi << t.nsecsElapsed() / 1e9;
    }
    return median(tempi);
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    QTextStream out(stdout);
    TestSupport::prepara();
    data::Clock::fix(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    TestSupport::CartellaProgramma folder;
    if (!TestSupport::apriMenu())
        return 1;
    QElapsedTimer t;
    t.start();
    riempi(rows);
    out << "Archivio con " << rows << " risposte e " << rows << " risultati preparato in " << t.elapsed() << " ms ("
        << QFileInfo(folder.archivio()).size() / (1024 * 1024) << " MiB)\n";
    out.flush();
    constexpr int kVolte = 5;
    auto& screens = ui::Screens::instance();
    auto* archivio = qobject_cast<Archivio*>(screens.show(QStringLiteral("frmRISUL")));

    QList<double> analisi;
    for (int i = 0; i < kVolte; ++i) {
        t.restart();
        archivio->cmdanalisi->click();
        QApplication::processEvents();
        analisi << t.nsecsElapsed() / 1e9;
        auto* s = qobject_cast<Analisi*>(screens.front());
        if (i == 0)
            out << "  (l'analisi ha letto " << s->analisi().risposteLette() << " risposte, " << s->tblAffermazioni->rowCount()
                << " affermazioni nel primo test, " << s->tblClasse->rowCount() << " alunni)\n";
        s->cmdtorna->click();
    }
    QTemporaryDir dir;
    const double sqlAnalisi =
        sqlite3(folder.archivio(),
                QStringLiteral(R"(SELECT "chiave", "nome", "prova", "pagina", "testo", "giusta", "data" FROM "risposte" )"
                               R"(WHERE "data" >= '2026-09-01' AND "data" <= '2026-12-10' ORDER BY rowid)"),
                dir.filePath(QStringLiteral("sqlite-risposte.csv")), kVolte);
    out << "Mostrare l'analisi (" << rows << " risposte): " << QString::number(median(analisi) * 1000, 'f', 0)
        << " ms (mediana di " << kVolte << "); sqlite3 che legge le stesse righe: "
        << QString::number(sqlAnalisi * 1000, 'f', 0) << " ms\n";
    out.flush();

    archivio->cmdtutto->click();
    QList<double> esporto;
    const QString file = dir.filePath(QStringLiteral("esporto.csv"));
    for (int i = 0; i < kVolte; ++i) {
        ui::FileDialog::setNextFile(file);
        t.restart();
        archivio->cmdesporto->click();
        esporto << t.nsecsElapsed() / 1e9;
    }
    const double sqlEsporto = sqlite3(
        folder.archivio(),
        QStringLiteral(R"(SELECT "cognome e nome", "argomento", "punteggio", "maxpunti", "data" FROM "studenti" ORDER BY rowid)"),
        dir.filePath(QStringLiteral("sqlite-studenti.csv")), kVolte);
    out << "Esportare " << rows << " righe in CSV: " << QString::number(median(esporto) * 1000, 'f', 0)
        << " ms (mediana di " << kVolte << ", " << QFileInfo(file).size() / 1024 << " KiB); sqlite3 -csv sulle stesse righe: "
        << QString::number(sqlEsporto * 1000, 'f', 0) << " ms\n";
    out << "Memoria massima del processo: " << QString::number(piccoMemoria(), 'f', 1) << " MiB\n";
    return 0;
}
