// Figures for the local file and a PostgreSQL server over its Unix socket (a throwaway cluster started
// here) side by side: storing one result as a test page does (median, slowest); thirty computers storing
// at once (total time, slowest store); the first page of a 100,000-row archive ("VEDO tutti i dati")
// against the engine's own client (sqlite3, psql) reading the whole table.
// Run it by hand from the build folder: tests/bench_server [ROWS]
#include "Misure.h"
#include "ServerDiProva.h"

#include "data/Database.h"
#include "data/Recordset.h"
#include "data/ResultList.h"

#include <cstdio>

using Misure::ms;
using TestSupport::ArchivioDiProva;
using TestSupport::Motore;

namespace {
struct Misura {
    double mediana = 0, massimo = 0;
};

Misura misura(const QList<double>& valori)
{
    return {TestSupport::median(valori), Misure::quantile(valori, 1.0)};
}

Misura unRisultato(data::Database& db, int volte)
{
    QList<double> tempi;
    for (int i = 0; i < volte; ++i) {
        tempi << ms([&] {
            auto rs = db.OpenRecordset(QStringLiteral("studenti"));
            rs->AddNew();
            rs->setField(QStringLiteral("cognome e nome"), QStringLiteral("Rossi Mario"));
            rs->setField(QStringLiteral("argomento"), QStringLiteral("La crosta oceanica"));
            rs->setField(QStringLiteral("punteggio"), i % 11);
            rs->setField(QStringLiteral("maxpunti"), 10);
            if (!rs->Update())
                std::fprintf(stderr, "%s\n", qPrintable(rs->errorText()));
        });
    }
    return misura(tempi);
}

// Thirty copies of the program storing `righe` results each, all at once: total time, slowest store.
Misura trentaComputer(const ArchivioDiProva& archivio, int righe)
{
    double piuLento = 0;
    const double totale = ms([&] {
        std::vector<std::unique_ptr<QProcess>> processi;
        for (int i = 0; i < 30; ++i) {
            processi.push_back(std::make_unique<QProcess>());
            processi.back()->start(QStringLiteral(SCRIVIRISULTATI),
                                   {archivio.indirizzo(), QString::number(righe), QStringLiteral("PC %1").arg(i)});
        }
        for (auto& p : processi) {
            p->waitForFinished(600000);
            if (p->exitCode() != 0)
                std::fprintf(stderr, "%s\n", p->readAllStandardError().constData());
            piuLento = std::max(piuLento, p->readAllStandardOutput().trimmed().toDouble() / 1000.0);
        }
    });
    return {totale, piuLento};
}

Misura primaPagina(data::Database& db)
{
    QList<double> tempi;
    for (int i = 0; i < 15; ++i) {
        tempi << ms([&] {
            data::ResultList list(db.connection(), QStringLiteral("studenti"),
                                  {QStringLiteral("cognome e nome"), QStringLiteral("argomento"), QStringLiteral("punteggio"),
                                   QStringLiteral("maxpunti"), QStringLiteral("data")},
                                  std::nullopt);
            list.open();
            data::ResultList::Position at;
            QVector<QVariantList> rows;
            list.read(at, 20, &rows);
        });
    }
    return misura(tempi);
}

// The engine's own client reading the whole table, median of five runs.
double clientTutto(const ArchivioDiProva& archivio)
{
    const QString sql = QStringLiteral(R"(SELECT * FROM "studenti")");
    if (archivio.motore() == Motore::File)
        return Misure::msProcesso(QStringLiteral("sqlite3"), {archivio.nome(), sql}, 5);
    const data::Server s = TestSupport::ServerDiProva::istanza()->server(archivio.nome());
    return Misure::msProcesso(QStringLiteral("psql"),
                              {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"), s.host,
                               QStringLiteral("-p"), QString::number(s.porta), QStringLiteral("-U"),
                               QStringLiteral("docente"), QStringLiteral("-d"), archivio.nome(), QStringLiteral("-c"), sql},
                              5);
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rows = Misure::numero(1, 100000);
    TestSupport::prepara();
    std::unique_ptr<ArchivioDiProva> archivi[2] = {std::make_unique<ArchivioDiProva>(Motore::File),
                                                   std::make_unique<ArchivioDiProva>(Motore::Server)};
    if (!archivi[1]->pronto()) {
        std::fprintf(stderr, "%s\n", qPrintable(archivi[1]->errore()));
        return 1;
    }
    std::printf("%-38s %14s %14s\n", "", "file (SQLite)", "server (PG)");

    Misura uno[2], trenta[2], pagina[2];
    double client[2];
    for (int e = 0; e < 2; ++e)
        uno[e] = unRisultato(*archivi[e]->apri(), 200);
    for (int e = 0; e < 2; ++e)
        trenta[e] = trentaComputer(*archivi[e], 10);
    for (int e = 0; e < 2; ++e) {
        auto db = archivi[e]->apri();
        TestSupport::riempiStudenti(db->connection(), rows);
        pagina[e] = primaPagina(*db);
        client[e] = clientTutto(*archivi[e]);
    }
    std::printf("one result stored, median (ms)       %14.2f %14.2f\n", uno[0].mediana, uno[1].mediana);
    std::printf("one result stored, slowest (ms)      %14.2f %14.2f\n", uno[0].massimo, uno[1].massimo);
    std::printf("30 computers x 10 results, total (ms)%14.1f %14.1f\n", trenta[0].mediana, trenta[1].mediana);
    std::printf("30 computers, slowest store (ms)     %14.1f %14.1f\n", trenta[0].massimo, trenta[1].massimo);
    std::printf("first page of %d rows (ms)       %14.2f %14.2f\n", rows, pagina[0].mediana, pagina[1].mediana);
    std::printf("own client reads all rows (ms)       %14.1f %14.1f   (sqlite3, psql)\n", client[0], client[1]);
    return 0;
}
