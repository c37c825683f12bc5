#include "app/Sessione.h"

#include "data/Coda.h"

#include "ui/Application.h"
#include "ui/BusyCursor.h"
#include "ui/MessageBox.h"
#include "ui/Screens.h"

void Sessione::apriargomento()
{
    ui::Screens::instance().show(QStringLiteral("forarg%1").arg(numargomento));
}

bool Sessione::apridomande()
{
    rsdomande.reset();
    if (!dbcorso)
        return false;
    rsdomande = dbcorso->OpenRecordset(QStringLiteral("domande%1").arg(numargomento));
    rsdomande->MoveFirst();
    return rsdomande->isValid();
}

void Sessione::caricadomande()
{
    if (!rsdomande)
        return;
    for (int i = 1; i <= 10; ++i) {
        domande[i] = rsdomande->Fields(i + 1).toString();
        soluzioni[i] = qint16(rsdomande->Fields(i + 11).toInt());
    }
    titolo = rsdomande->Fields(QStringLiteral("argomento")).toString();
}

void Sessione::correggi()
{
    for (int i = 1; i <= 10; ++i) {
        if (risposte[i] == soluzioni[i])
            ++punteggio;
        else
            errori[i] = 1;
    }
}

QString Sessione::valutazionePer(double p)
{
    // Six tests in this order, the last that holds wins: so 34.5 is "NON SUFFICIENTE".
    QString word;
    if (p < 35)
        word = QStringLiteral("MOLTO INSUFF.");
    if (p > 34 && p < 56)
        word = QStringLiteral("NON SUFFICIENTE");
    if (p > 55 && p < 76)
        word = QStringLiteral("SUFFICIENTE");
    if (p > 75 && p < 86)
        word = QStringLiteral("BUONO");
    if (p > 85 && p < 95)
        word = QStringLiteral("DISTINTO");
    if (p > 94)
        word = QStringLiteral("OTTIMO");
    return word;
}

void Sessione::valuta()
{
    const qint16 n = numpagine;
    totale = totale * (100.0 / qint16(n * 10));
    conoscere = conoscere * (100.0 / qint16(n * 5));
    comprendere = comprendere * (100.0 / qint16(n * 3));
    applicare = applicare * (100.0 / qint16(n * 2));
    valutazione = valutazionePer(totale);
}

void Sessione::chiedinome()
{
    if (!nomestudente.isEmpty())
        return;
    nomestudente = ui::MessageBox::input(QStringLiteral("Scrivi qui prima il cognome, poi il tuo nome"));
    if (nomestudente.isEmpty())
        nomestudente = QStringLiteral("Anonimo");
}

void Sessione::uscita()
{
    const auto answer = ui::MessageBox::message(QStringLiteral("sei sicuro di voler uscire dal programma?"),
                                                ui::MessageBox::OkCancel, QStringLiteral("USCITA MsgBox"));
    if (answer == ui::MessageBox::AnswerOk)
        ui::Application::end(0);
}

void Sessione::inviaCoda()
{
    if (!dbcorso || !dbcorso->isServer())
        return;
    data::Coda coda;
    if (coda.quanti() == 0)
        return;
    QString errore;
    const int inviati = coda.invia(dbcorso->connection(), &errore);
    if (inviati > 0)
        qInfo("placche: %d risultati salvati su questo computer sono stati inviati al server.", inviati);
    if (!errore.isEmpty())
        qWarning("placche: %d risultati restano su questo computer, da inviare: %s", coda.quanti(), qPrintable(errore));
}

bool Sessione::registra(data::Recordset& rs, const QString& cosa)
{
    // The pupil's work is kept until it is stored or the pupil chooses to go on without it.
    for (;;) {
        {
            ui::BusyCursor attesa;
            if (dbcorso && dbcorso->isServer()) {
                // Older results first, so the archive keeps the order they were made in.
                if (dbcorso->reconnect())
                    inviaCoda();
            }
            if (rs.Update())
                return true;
        }
        if (dbcorso && dbcorso->isServer() &&
            data::Database::classify(rs.lastError()) == data::Database::Failure::Connection) {
            // The server went away: once more on a new connection, then the result waits on this computer.
            bool salvato = false;
            {
                ui::BusyCursor attesa;
                salvato = dbcorso->reconnect() && rs.Update();
            }
            if (salvato)
                return true;
            data::Coda coda;
            QString errore;
            if (data::Database::classify(rs.lastError()) == data::Database::Failure::Connection &&
                coda.aggiungi(rs.table(), rs.chiave(), rs.newRow(), &errore, rs.storedWith())) {
                ui::MessageBox::message(
                    QStringLiteral("In questo momento il server dei risultati non risponde: %1 è stato salvato su "
                                   "questo computer e sarà inviato al server appena possibile, da solo.\n\n"
                                   "Puoi continuare.")
                        .arg(cosa),
                    ui::MessageBox::Ok, QStringLiteral("Risultato salvato su questo computer"));
                return true;
            }
        }
        const auto scelta = ui::MessageBox::message(
            QStringLiteral("Attenzione: %1 NON è stato salvato nell'archivio dei risultati.\n\n"
                           "Motivo: %2.\n\n"
                           "Premi \"Riprova\" per salvarlo di nuovo, oppure \"Continua senza salvare\". "
                           "Se il problema resta, avvisa l'insegnante.")
                .arg(cosa, rs.errorText()),
            ui::MessageBox::RetryContinue, QStringLiteral("Risultato non salvato"));
        if (scelta != ui::MessageBox::AnswerRetry)
            return false;
    }
}
