// Figures for what start-up does with the archive, printed as medians:
//   - the write check, reading the course carried by the program, and the comparison with an archive that
//     is already up to date (what every start costs);
//   - replacing every question table of an archive that holds RESULTS results (what the first start
//     after an update costs).
// Run it by hand from the build folder: tests/bench_aggiorna [RESULTS]
#include "TestSupport.h"

#include "data/AggiornaCorso.h"
#include "data/CourseBuilder.h"
#include "data/Database.h"
#include "data/ProvaScrittura.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

using TestSupport::median;

namespace {
template <typename F>
double ms(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

// The shipped course with every bank changed and the version raised: the archive then holds an older one.
QString corsoNuovo(const QString& cartella)
{
    const QDir sorgente(QStringLiteral(PLACCHE_SORGENTE_CORSO));
    QDir().mkpath(cartella);
    for (const QString& f : sorgente.entryList(QDir::Files)) {
        QFile in(sorgente.filePath(f));
        in.open(QIODevice::ReadOnly);
        QString testo = QString::fromUtf8(in.readAll());
        if (f.startsWith(QLatin1String("domande")) || f.startsWith(QLatin1String("sommativo")))
            testo.replace(QStringLiteral("\nV "), QStringLiteral("\nV Di nuovo: "));
        QFile out(QDir(cartella).filePath(f));
        out.open(QIODevice::WriteOnly);
        out.write(testo.toUtf8());
    }
    data::AggiornaCorso vecchio;
    QString errore;
    vecchio.leggi(QStringLiteral(PLACCHE_SORGENTE_CORSO), &errore);
    QFile versione(QDir(cartella).filePath(QStringLiteral("VERSIONE")));
    versione.open(QIODevice::WriteOnly);
    versione.write(QByteArray::number(vecchio.versione() + 1));
    versione.close();
    data::AggiornaCorso nuovo;
    nuovo.leggi(cartella, &errore);
    QFile impronte(QDir(cartella).filePath(QStringLiteral("impronte.txt")));
    impronte.open(QIODevice::Append);
    impronte.write((nuovo.righeImpronte().join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return cartella;
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int risultati = app.arguments().value(1).toInt() > 0 ? app.arguments().value(1).toInt() : 100000;
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString archivio = dir.filePath(QStringLiteral("morvel6.mdb"));
    QString errore;
    data::CourseBuilder::build(QStringLiteral(PLACCHE_SORGENTE_CORSO), archivio, &errore);
    {
        auto db = data::Database::open(archivio, &errore);
        QSqlQuery q(db->connection());
        q.exec(QStringLiteral("BEGIN"));
        q.prepare(QStringLiteral(R"(INSERT INTO "studenti" ("cognome e nome", "argomento", "punteggio", "maxpunti")
                                   VALUES (?, 'LA STRUTTURA DELLA TERRA', ?, 10))"));
        for (int i = 0; i < risultati; ++i) {
            q.addBindValue(QStringLiteral("Alunno %1").arg(i % 500));
            q.addBindValue(i % 11);
            q.exec();
        }
        q.exec(QStringLiteral("COMMIT"));
    }
    out << "archive: " << risultati << " results, " << QFileInfo(archivio).size() / 1024 << " KiB\n";

    const QString nuovo = corsoNuovo(dir.filePath(QStringLiteral("corso-nuovo")));
    QList<double> sostituzione;
    QList<double> prova;
    QList<double> lettura;
    QList<double> confronto;
    for (int giro = 0; giro < 7; ++giro) {
        // A fresh old archive each round: the copy made before the first update.
        const QString copia = dir.filePath(QStringLiteral("giro.mdb"));
        QFile::remove(copia);
        QFile::copy(archivio, copia);
        auto db = data::Database::open(copia, &errore);
        data::AggiornaCorso corso;
        corso.leggi(nuovo, &errore);
        data::AggiornaCorso::Esito esito;
        sostituzione << ms([&] { esito = corso.aggiorna(db->connection()); });
        if (esito.sostituite.size() != data::Database::questionTables().size())
            out << "not every table was replaced: " << esito.errore << "\n";

        prova << ms([&] { data::ProvaScrittura::prova(db->connection(), &errore); });
        data::AggiornaCorso delProgramma;
        lettura << ms([&] { delProgramma.leggi(QStringLiteral(":/corso"), &errore); });
        confronto << ms([&] { corso.aggiorna(db->connection()); });
    }
    out << "every start: write check " << median(prova) << " ms, course read " << median(lettura)
        << " ms, archive compared (nothing to do) " << median(confronto) << " ms\n";
    out << "first start after an update: 7 question tables replaced in " << median(sostituzione) << " ms\n";
    return 0;
}
