// Figures for the two engines side by side, the local file and a PostgreSQL server over its Unix socket
// (a throwaway cluster started here, as the tests start theirs):
//   - storing one result, as a test page stores it (median and slowest of repeated stores);
//   - thirty computers storing at the same moment: the total time and the slowest single store;
//   - the first page of a 100,000-row archive ("VEDO tutti i dati"), against the engine's own client
//     (sqlite3, psql) reading the whole table.
// Run it by hand from the build folder: tests/bench_server [ROWS]
#include "ServerDiProva.h"
#include "TestSupport.h"

#include "data/Database.h"
#include "data/Recordset.h"
#include "data/ResultList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>

using TestSupport::ArchivioDiProva;
using TestSupport::Motore;

namespace {
struct Misura {
    double mediana = 0;
    double massimo = 0;
};

Misura misura(QList<double> valori)
{
    std::sort(valori.begin(), valori.end());
    const qsizetype n = valori.size();
    return {n % 2 ? valori[n / 2] : (valori[n / 2 - 1] + valori[n / 2]) / 2, valori.last()};
}

double ms(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

Misura unRisultato(data::Database& db, int volte)
{
    QList<double> tempi;
    for (int i = 0; i < volte; ++i) {
        QElapsedTimer t;
        t.start();
        auto rs = db.OpenRecordset(QStringLiteral("studenti"));
        rs->AddNew();
        rs->setField(QStringLiteral("cognome e nome"), QStringLiteral("Rossi Mario"));
        rs->setField(QStringLiteral("argomento"), QStringLiteral("La crosta oceanica"));
        rs->setField(QStringLiteral("punteggio"), i % 11);
        rs->setField(QStringLiteral("maxpunti"), 10);
        if (!rs->Update())
            std::fprintf(stderr, "%s\n", qPrintable(rs->errorText()));
        tempi << ms(t);
    }
    return misura(tempi);
}

// Thirty copies of the program storing `righe` results each, all at once: total time, slowest store.
Misura trentaComputer(const ArchivioDiProva& archivio, int righe)
{
    QElapsedTimer t;
    t.start();
    std::vector<std::unique_ptr<QProcess>> processi;
    for (int i = 0; i < 30; ++i) {
        processi.push_back(std::make_unique<QProcess>());
        processi.back()->start(QStringLiteral(SCRIVIRISULTATI),
                               {archivio.indirizzo(), QString::number(righe), QStringLiteral("PC %1").arg(i)});
    }
    double piuLento = 0;
    for (auto& p : processi) {
        p->waitForFinished(600000);
        if (p->exitCode() != 0)
            std::fprintf(stderr, "%s\n", p->readAllStandardError().constData());
        piuLento = std::max(piuLento, p->readAllStandardOutput().trimmed().toDouble() / 1000.0);
    }
    return {ms(t), piuLento};
}


Misura primaPagina(data::Database& db)
{
    QList<double> tempi;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        data::ResultList list(db.connection(), QStringLiteral("studenti"),
                              {QStringLiteral("cognome e nome"), QStringLiteral("argomento"), QStringLiteral("punteggio"),
                               QStringLiteral("maxpunti"), QStringLiteral("data")},
                              std::nullopt);
        list.open();
        data::ResultList::Position at;
        QVector<QVariantList> rows;
        list.read(at, 20, &rows);
        tempi << ms(t);
    }
    return misura(tempi);
}

Misura clientTutto(const ArchivioDiProva& archivio)
{
    QList<double> tempi;
    for (int i = 0; i < 5; ++i) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        if (archivio.motore() == Motore::File) {
            p.start(QStringLiteral("sqlite3"), {archivio.nome(), QStringLiteral(R"(SELECT * FROM "studenti")")});
        } else {
            const auto* s = TestSupport::ServerDiProva::istanza();
            p.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"), s->cartellaSocket(),
                                             QStringLiteral("-p"), QString::number(s->porta()), QStringLiteral("-U"),
                                             QStringLiteral("docente"), QStringLiteral("-d"), archivio.nome(), QStringLiteral("-c"),
                                             QStringLiteral(R"(SELECT * FROM "studenti")")});
        }
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            return {-1, -1};
        tempi << ms(t);
    }
    return misura(tempi);
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rows = app.arguments().value(1).toInt() > 0 ? app.arguments().value(1).toInt() : 100000;
    TestSupport::prepara();
    std::unique_ptr<ArchivioDiProva> archivi[2] = {std::make_unique<ArchivioDiProva>(Motore::File),
                                                   std::make_unique<ArchivioDiProva>(Motore::Server)};
    if (!archivi[1]->pronto()) {
        std::fprintf(stderr, "%s\n", qPrintable(archivi[1]->errore()));
        return 1;
    }
    std::printf("%-38s %14s %14s\n", "", "file (SQLite)", "server (PG)");

    Misura uno[2], trenta[2], pagina[2], client[2];
    for (int e = 0; e < 2; ++e) {
        auto db = archivi[e]->apri();
        uno[e] = unRisultato(*db, 200);
    }
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
    std::printf("own client reads all rows (ms)       %14.1f %14.1f   (sqlite3, psql)\n", client[0].mediana,
                client[1].mediana);
    return 0;
}
