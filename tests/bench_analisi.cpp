// Figures over 100,000 stored answers and as many result rows (or the number given), each against the
// sqlite3 program reading the same rows: showing the analysis screen ("ANALISI" on the archive), exporting
// the whole questionnaire archive to CSV ("ESPORTO" after "VEDO tutti i dati"); and the peak memory.
// Run it by hand from the build folder: tests/bench_analisi [ROWS]
#include "Misure.h"

#include "app/Sessione.h"
#include "archive/Analisi.h"
#include "archive/Archivio.h"
#include "data/Clock.h"
#include "data/Risposte.h"
#include "ui/FileDialog.h"
#include "ui/Screens.h"

#include <QApplication>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

using Misure::ms;
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
}  // namespace

int main(int argc, char** argv)
{
    Misure::offscreen();
    QApplication app(argc, argv);
    const int rows = Misure::numero(1, 100000);
    QTextStream out(stdout);
    TestSupport::prepara();
    data::Clock::fix(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    TestSupport::CartellaProgramma folder;
    if (!TestSupport::apriMenu())
        return 1;
    const qint64 preparato = qint64(ms([&] { riempi(rows); }));
    out << "Archivio con " << rows << " risposte e " << rows << " risultati preparato in " << preparato << " ms ("
        << QFileInfo(folder.archivio()).size() / (1024 * 1024) << " MiB)\n";
    out.flush();
    constexpr int kVolte = 5;
    auto& screens = ui::Screens::instance();
    auto* archivio = qobject_cast<Archivio*>(screens.show(QStringLiteral("frmRISUL")));

    QList<double> analisi;
    for (int i = 0; i < kVolte; ++i) {
        analisi << ms([&] {
            archivio->cmdanalisi->click();
            QApplication::processEvents();
        });
        auto* s = qobject_cast<Analisi*>(screens.front());
        if (i == 0)
            out << "  (l'analisi ha letto " << s->analisi().risposteLette() << " risposte, " << s->tblAffermazioni->rowCount()
                << " affermazioni nel primo test, " << s->tblClasse->rowCount() << " alunni)\n";
        s->cmdtorna->click();
    }
    QTemporaryDir dir;
    // Milliseconds sqlite3 takes to read `sql` from the file into a CSV file of its own, median of kVolte runs.
    auto sqlite3 = [&](const char* sql, const char* csv) {
        return Misure::msProcesso(QStringLiteral("sqlite3"),
                                  {QStringLiteral("-csv"), QStringLiteral("-separator"), QStringLiteral(";"),
                                   folder.archivio(), QString::fromUtf8(sql)},
                                  kVolte, dir.filePath(QString::fromUtf8(csv)));
    };
    const double sqlAnalisi =
        sqlite3(R"(SELECT "chiave", "nome", "prova", "pagina", "testo", "giusta", "data" FROM "risposte" )"
                R"(WHERE "data" >= '2026-09-01' AND "data" <= '2026-12-10' ORDER BY rowid)",
                "sqlite-risposte.csv");
    out << "Mostrare l'analisi (" << rows << " risposte): " << QString::number(median(analisi), 'f', 0)
        << " ms (mediana di " << kVolte << "); sqlite3 che legge le stesse righe: "
        << QString::number(sqlAnalisi, 'f', 0) << " ms\n";
    out.flush();

    archivio->cmdtutto->click();
    QList<double> esporto;
    const QString file = dir.filePath(QStringLiteral("esporto.csv"));
    for (int i = 0; i < kVolte; ++i) {
        ui::FileDialog::setNextFile(file);
        esporto << ms([&] { archivio->cmdesporto->click(); });
    }
    const double sqlEsporto = sqlite3(
        R"(SELECT "cognome e nome", "argomento", "punteggio", "maxpunti", "data" FROM "studenti" ORDER BY rowid)",
        "sqlite-studenti.csv");
    out << "Esportare " << rows << " righe in CSV: " << QString::number(median(esporto), 'f', 0)
        << " ms (mediana di " << kVolte << ", " << QFileInfo(file).size() / 1024 << " KiB); sqlite3 -csv sulle stesse righe: "
        << QString::number(sqlEsporto, 'f', 0) << " ms\n";
    out << "Memoria massima del processo: " << QString::number(piccoMemoria(), 'f', 1) << " MiB\n";
    return 0;
}
