// Figures for what start-up does with the archive, medians: what every start costs (the write check,
// reading the course carried by the program, comparing it with an up-to-date archive) and what the first
// start after an update costs (every question table replaced in an archive of RESULTS results).
// Run it by hand from the build folder: tests/bench_aggiorna [RESULTS]
#include "Misure.h"

#include "data/AggiornaCorso.h"
#include "data/CourseBuilder.h"
#include "data/Database.h"
#include "data/ProvaScrittura.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

using Misure::ms;
using TestSupport::median;

namespace {
// The shipped course with every bank changed and the version raised: the archive then holds an older one.
QString corsoNuovo(const QString& cartella)
{
    const QDir sorgente(QStringLiteral(PLACCHE_SORGENTE_CORSO));
    QDir().mkpath(cartella);
    auto scrivi = [&](const QString& nome, const QByteArray& testo, QIODevice::OpenMode modo = QIODevice::WriteOnly) {
        QFile file(QDir(cartella).filePath(nome));
        file.open(modo);
        file.write(testo);
    };
    for (const QString& f : sorgente.entryList(QDir::Files)) {
        QFile in(sorgente.filePath(f));
        in.open(QIODevice::ReadOnly);
        QString testo = QString::fromUtf8(in.readAll());
        if (f.startsWith(QLatin1String("domande")) || f.startsWith(QLatin1String("sommativo")))
            testo.replace(QStringLiteral("\nV "), QStringLiteral("\nV Di nuovo: "));
        scrivi(f, testo.toUtf8());
    }
    data::AggiornaCorso vecchio, nuovo;
    QString errore;
    vecchio.leggi(QStringLiteral(PLACCHE_SORGENTE_CORSO), &errore);
    scrivi(QStringLiteral("VERSIONE"), QByteArray::number(vecchio.versione() + 1));
    nuovo.leggi(cartella, &errore);
    scrivi(QStringLiteral("impronte.txt"), (nuovo.righeImpronte().join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
           QIODevice::Append);
    return cartella;
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int risultati = Misure::numero(1, 100000);
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
    QList<double> sostituzione, prova, lettura, confronto;
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
