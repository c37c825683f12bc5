#pragma once

#include "data/CourseBuilder.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace data {

// Brings the question tables of an existing archive to the course this program carries, without
// touching a result.
//
// The course source is versioned: VERSIONE holds the number of the shipped course, impronte.txt the
// fingerprint of every question table of every version ever shipped. The archive keeps, in a table of
// its own ("versioni_corso"), which shipped version each question table holds. A table that still holds
// exactly an older shipped version is replaced by this one, all tables in one transaction; a table that
// holds anything else was changed by hand (a teacher's own questions) and is kept.
class AggiornaCorso {
public:
    static constexpr const char* kTabellaVersioni = "versioni_corso";

    // Reads the course from its source folder (schema, banks, VERSIONE, impronte.txt) and works out the
    // fingerprint of each of its tables; false with a message naming the file at fault.
    bool leggi(const QString& cartella, QString* messaggio);

    int versione() const { return m_versione; }
    QString impronta(const QString& tabella) const { return m_impronte.value(tabella); }
    // The lines impronte.txt must hold for this version: "VERSION TABLE FINGERPRINT".
    QStringList righeImpronte() const;
    // Where the course read by leggi() and its own impronte.txt disagree; empty when they agree.
    QString incoerenza() const;

    // A hash of a table's columns and rows, in stored order, values with their kinds: equal contents
    // give equal fingerprints in any file. Empty, with `errore`, when the table cannot be read.
    static QString improntaTabella(const QSqlDatabase& db, const QString& tabella, QString* errore);

    // What the archive recorded about one question table.
    struct Registro {
        bool presente = false;
        int versione = 0;  // 0: content of its own, no shipped version
        QString impronta;
        int avvisato = 0;  // for content of its own: the course version whose program already said so
        bool operator==(const Registro&) const = default;
    };
    enum class Azione {
        Nessuna,      // already this version, and recorded so
        Registra,     // holds this version (or is known to hold a newer one): only the record is written
        Sostituisci,  // holds an older shipped version: replaced
        Tieni,        // holds content of its own: kept, and said once
        Diversa,      // recorded as this version number but holding other questions (another build): kept
    };
    struct Decisione {
        Azione azione = Azione::Nessuna;
        int trovata = 0;  // the shipped version the table was found to hold; 0 when none
        Registro registro;  // what the archive should record afterwards
    };
    // What to do with `tabella`, which holds rows of fingerprint `attuale`.
    Decisione decidi(const QString& tabella, const QString& attuale, const Registro& registrato) const;

    struct Esito {
        QStringList sostituite;  // tables replaced by this version
        QStringList avvisi;      // one line each for standard error
        QString errore;          // when set, the archive was left exactly as it was
    };
    // Runs at start-up on an open archive file. A classroom's server is left alone: it is prepared by
    // its own tool, with rights a pupil's computer does not have.
    Esito aggiorna(QSqlDatabase db) const;

    // Called inside the transaction after each table is replaced (tests stop the program there).
    void setDopoTabella(std::function<void(const QString&)> hook) { m_dopoTabella = std::move(hook); }

private:
    struct Stato {
        QString attuale;
        Registro registrato;
        Decisione decisione;
    };
    bool esamina(const QSqlDatabase& db, QHash<QString, Stato>* stati, QString* errore) const;
    bool sostituisci(QSqlDatabase& db, const CourseBuilder::Bank& bank, QString* errore) const;
    QString avviso(const QString& tabella, const Decisione& d, const QString& archivio) const;

    int m_versione = 0;
    QString m_schema;
    QVector<CourseBuilder::Bank> m_banks;
    QHash<QString, QString> m_impronte;  // table -> fingerprint of this version
    // table -> (fingerprint -> the highest version that shipped it), from impronte.txt
    QHash<QString, QHash<QString, int>> m_storia;
    QString m_incoerenza;
    std::function<void(const QString&)> m_dopoTabella;
};

}  // namespace data
