// Adds result rows to a course database, as a second copy of the program would.
//   scrivirisultati DATABASE COUNT NAME [uccidi]
// DATABASE is a file, or a server as a configuration names it ("host=… database=… utente=…").
// With "uccidi" the process kills itself right after the last row is stored, with no chance to close.
// Prints how long the slowest store took, in microseconds.
#include "data/Database.h"
#include "data/Recordset.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <csignal>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    QString error;
    std::unique_ptr<data::Database> db;
    data::Server server;
    if (args[1].contains(QLatin1Char('=')) || args[1].startsWith(QLatin1String("postgres"))) {
        if (data::Server::leggi(args[1], &server, &error))
            db = data::Database::openServer(server, &error);
    } else {
        db = data::Database::open(args[1], &error);
    }
    if (!db) {
        QTextStream(stderr) << error << "\n";
        return 3;
    }
    const int count = args[2].toInt();
    qint64 slowest = 0;
    for (int i = 0; i < count; ++i) {
        auto rs = db->OpenRecordset(QStringLiteral("studenti"));
        rs->AddNew();
        rs->setField(QStringLiteral("punteggio"), i % 11);
        rs->setField(QStringLiteral("cognome e nome"), args[3]);
        rs->setField(QStringLiteral("argomento"), QStringLiteral("riga %1").arg(i));
        rs->setField(QStringLiteral("maxpunti"), 10);
        // As a pupil would press "Riprova" while another copy keeps the file busy: the engine only polls
        // for the lock, so a copy writing hundreds of rows back to back can keep this one out for a while.
        QElapsedTimer attesa;
        attesa.start();
        while (!rs->Update()) {
            if (attesa.elapsed() > 200000) {
                QTextStream(stderr) << "riga " << i << ": " << rs->errorText() << "\n";
                return 4;
            }
        }
        slowest = std::max(slowest, attesa.nsecsElapsed() / 1000);
    }
    QTextStream(stdout) << slowest << "\n";
    if (args.size() > 4 && args[4] == QLatin1String("uccidi"))
        std::raise(SIGKILL);
    return 0;
}
