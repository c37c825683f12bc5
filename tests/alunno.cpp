// A run of the program reduced to what touches the archive, for the tests that need a second process: one
// that runs as another user of the computer, under a file-size limit, or is killed half-way.
//   alunno avvio ARCHIVE COURSE_FOLDER ROWS
//       start-up as the program does it, then ROWS questionnaire results stored the way a pupil stores
//       them; every message box is printed on standard output ("BOX title|text", line breaks as \n),
//       every row as "SALVATO i" or "NON SALVATO i"
//   alunno aggiorna ARCHIVE COURSE_FOLDER K
//       the course update alone, killed (SIGKILL) right after it has replaced its K-th table; K = 0: never
#include "app/AvvioArchivio.h"
#include "app/Sessione.h"
#include "data/AggiornaCorso.h"
#include "data/Database.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    QTextStream out(stdout);
    QString errore;
    Sessione sessione;
    sessione.dbcorso = data::Database::open(args[2], &errore);
    if (!sessione.dbcorso) {
        out << "NON SI APRE " << errore << "\n";
        return 3;
    }
    const int numero = args[4].toInt();

    if (args[1] == QLatin1String("aggiorna")) {
        data::AggiornaCorso corso;
        if (!corso.leggi(args[3], &errore)) {
            out << "CORSO " << errore << "\n";
            return 4;
        }
        int sostituite = 0;
        corso.setDopoTabella([&](const QString& tabella) {
            out << "SOSTITUITA " << tabella << "\n";
            out.flush();
            if (++sostituite == numero)
                std::raise(SIGKILL);
        });
        const auto esito = corso.aggiorna(sessione.dbcorso->connection());
        out << "FINE " << esito.sostituite.join(QLatin1Char(',')) << " " << esito.errore << "\n";
        return esito.errore.isEmpty() ? 0 : 5;
    }

    ui::MessageBox::setScripted(true);
    ui::MessageBox::setOnShown([&](const ui::MessageBox::Shown& box) {
        out << "BOX " << box.title << "|" << QString(box.text).replace(QLatin1Char('\n'), QLatin1String("\\n")) << "\n";
        out.flush();
    });
    AvvioArchivio::prepara(sessione, args[3]);
    sessione.nomestudente = QStringLiteral("Bianchi Anna");
    for (int i = 0; i < numero; ++i) {
        auto rs = sessione.dbcorso->OpenRecordset(QStringLiteral("studenti"));
        rs->AddNew();
        rs->setField(QStringLiteral("punteggio"), i % 11);
        rs->setField(QStringLiteral("cognome e nome"), sessione.nomestudente);
        // Long labels, so that a few rows fill a page of the file.
        rs->setField(QStringLiteral("argomento"), QStringLiteral("pagina %1 ").arg(i) + QString(300, QLatin1Char('x')));
        rs->setField(QStringLiteral("maxpunti"), 10);
        // With no answer set in advance the box goes on without saving, as "Continua senza salvare".
        const bool salvato = sessione.registra(*rs, QStringLiteral("il risultato di questa pagina"));
        out << (salvato ? "SALVATO " : "NON SALVATO ") << i << "\n";
        out.flush();
    }
    return 0;
}
