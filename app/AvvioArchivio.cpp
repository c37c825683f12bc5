#include "app/AvvioArchivio.h"

#include "app/Sessione.h"
#include "data/AggiornaCorso.h"
#include "data/ProvaScrittura.h"
#include "ui/MessageBox.h"

#include <QDir>

namespace AvvioArchivio {

QString messaggioSoloLettura(const QString& archivio, const QString& motivo)
{
    return QStringLiteral("Su questo computer i risultati dei questionari e dei test NON verranno salvati: "
                          "l'archivio dei risultati\n%1\nnon si può scrivere (%2).\n\n"
                          "Le lezioni, le animazioni e gli esercizi funzionano come sempre.\n\n"
                          "Avvisa l'insegnante: il tecnico della scuola deve permettere a questo utente del computer "
                          "di scrivere quel file e la sua cartella.")
        .arg(QDir::toNativeSeparators(archivio), motivo);
}

void prepara(Sessione& sessione, const QString& cartellaCorso)
{
    if (!sessione.dbcorso)
        return;
    QSqlDatabase db = sessione.dbcorso->connection();
    QString motivo;
    if (data::ProvaScrittura::prova(db, &motivo) == data::ProvaScrittura::Esito::NonScrivibile) {
        // Said once here; every store still says it was not saved.
        ui::MessageBox::message(messaggioSoloLettura(sessione.dbcorso->path(), motivo), ui::MessageBox::Ok,
                                QStringLiteral("I risultati non saranno salvati"));
        return;
    }

    data::AggiornaCorso corso;
    QString errore;
    if (!corso.leggi(cartellaCorso, &errore)) {
        qWarning("placche: il corso del programma non si legge, le domande dell'archivio restano come sono: %s",
                 qPrintable(errore));
        return;
    }
    const data::AggiornaCorso::Esito esito = corso.aggiorna(db);
    if (!esito.sostituite.isEmpty())
        qInfo("placche: nell'archivio %s le domande di %s sono passate alla versione %d del corso.",
              qPrintable(QDir::toNativeSeparators(sessione.dbcorso->path())),
              qPrintable(esito.sostituite.join(QStringLiteral(", "))), corso.versione());
    for (const QString& avviso : esito.avvisi)
        qWarning("placche: %s", qPrintable(avviso));
    if (!esito.errore.isEmpty())
        qWarning("placche: le domande dell'archivio non sono state aggiornate, restano come erano (%s); "
                 "si riprova al prossimo avvio.",
                 qPrintable(esito.errore));
}

}  // namespace AvvioArchivio
