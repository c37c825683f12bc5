#include "data/AggiornaCorso.h"

#include "data/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <atomic>

namespace data {

namespace {
const auto kCreaVersioni = QStringLiteral(R"(CREATE TABLE IF NOT EXISTS "versioni_corso" (
  "tabella" VARCHAR(100) PRIMARY KEY,
  "versione" INTEGER NOT NULL,
  "impronta" VARCHAR(100) NOT NULL,
  "avvisato" INTEGER NOT NULL DEFAULT 0
))");
const auto kLeggiVersioni = QStringLiteral(R"(SELECT "tabella", "versione", "impronta", "avvisato" FROM "versioni_corso")");
const auto kTogliVersione = QStringLiteral(R"(DELETE FROM "versioni_corso" WHERE "tabella" = ?)");
const auto kScriviVersione =
    QStringLiteral(R"(INSERT INTO "versioni_corso" ("tabella", "versione", "impronta", "avvisato") VALUES (?, ?, ?, ?))");
const auto kRigheInOrdine = QStringLiteral(R"(SELECT * FROM "%1" ORDER BY rowid)");
const auto kTogliTabella = QStringLiteral(R"(DROP TABLE "%1")");

bool leggiTesto(const QString& path, QString* testo, QString* errore)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *errore = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    *testo = QString::fromUtf8(file.readAll());
    return true;
}

// A value with its kind, its length in front, so that no text can pass for two values or for another kind.
void aggiungi(QCryptographicHash& hash, const QVariant& value)
{
    QByteArray kind;
    QByteArray bytes;
    if (value.isNull()) {
        kind = "N";
    } else {
        switch (value.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            kind = "I";
            bytes = QByteArray::number(value.toLongLong());
            break;
        case QMetaType::Double:
            kind = "R";
            bytes = QByteArray::number(value.toDouble(), 'g', 17);
            break;
        case QMetaType::QByteArray:
            kind = "B";
            bytes = value.toByteArray();
            break;
        default:
            kind = "T";
            bytes = value.toString().toUtf8();
        }
    }
    hash.addData(kind + QByteArray::number(bytes.size()) + ':');
    hash.addData(bytes);
}

// The schema's statements that make `tabella`: the table itself and its indexes.
QStringList istruzioniPer(const QString& schema, const QString& tabella)
{
    const QString nome = QRegularExpression::escape(QLatin1Char('"') + tabella + QLatin1Char('"'));
    const QRegularExpression tabellaRe(QStringLiteral(R"(^CREATE\s+TABLE\s+%1\s*\()").arg(nome),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression indiceRe(QStringLiteral(R"(^CREATE\s+(UNIQUE\s+)?INDEX\s+\S+\s+ON\s+%1\s*\()").arg(nome),
                                      QRegularExpression::CaseInsensitiveOption);
    QStringList istruzioni;
    for (const QString& s : CourseBuilder::schemaStatements(schema))
        if (tabellaRe.match(s).hasMatch() || indiceRe.match(s).hasMatch())
            istruzioni << s;
    return istruzioni;
}
}  // namespace

QString AggiornaCorso::improntaTabella(const QSqlDatabase& db, const QString& tabella, QString* errore)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(kRigheInOrdine.arg(tabella))) {
        if (errore)
            *errore = QStringLiteral("la tabella \"%1\" non si legge (%2)").arg(tabella, Database::describe(query.lastError()));
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QSqlRecord colonne = query.record();
    for (int i = 0; i < colonne.count(); ++i)
        aggiungi(hash, colonne.fieldName(i));
    while (query.next()) {
        hash.addData(QByteArrayView("\n"));
        for (int i = 0; i < colonne.count(); ++i)
            aggiungi(hash, query.value(i));
    }
    if (query.lastError().isValid()) {
        if (errore)
            *errore = QStringLiteral("la tabella \"%1\" non si legge (%2)").arg(tabella, Database::describe(query.lastError()));
        return {};
    }
    return QString::fromLatin1(hash.result().toHex());
}

bool AggiornaCorso::leggi(const QString& cartella, QString* messaggio)
{
    m_impronte.clear();
    m_storia.clear();
    m_incoerenza.clear();
    if (!CourseBuilder::readSource(cartella, &m_schema, &m_banks, messaggio))
        return false;
    const QDir dir(cartella);

    QString testo;
    if (!leggiTesto(dir.filePath(QStringLiteral("VERSIONE")), &testo, messaggio))
        return false;
    bool ok = false;
    m_versione = testo.trimmed().toInt(&ok);
    if (!ok || m_versione < 1) {
        *messaggio = QStringLiteral("%1: ci va il numero della versione del corso (1, 2, ...), non \"%2\"")
                         .arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("VERSIONE"))), testo.trimmed());
        return false;
    }

    // Every shipped version's fingerprints: how an archive made by an older program is recognised.
    const QString fileImpronte = dir.filePath(QStringLiteral("impronte.txt"));
    if (!leggiTesto(fileImpronte, &testo, messaggio))
        return false;
    QHash<QString, QString> dichiarate;  // this version's, as impronte.txt gives them
    const QStringList righe = testo.split(QLatin1Char('\n'));
    for (int i = 0; i < righe.size(); ++i) {
        const QString riga = righe.at(i).trimmed();
        if (riga.isEmpty() || riga.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parti = riga.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const int versione = parti.value(0).toInt(&ok);
        static const QRegularExpression esadecimale(QStringLiteral("^[0-9a-f]{64}$"));
        if (parti.size() != 3 || !ok || versione < 1 || !Database::questionTables().contains(parti.at(1)) ||
            !esadecimale.match(parti.at(2)).hasMatch()) {
            *messaggio = QStringLiteral("%1, riga %2: ci vanno la versione, il nome di una tabella di domande e la "
                                        "sua impronta (64 cifre esadecimali)")
                             .arg(QDir::toNativeSeparators(fileImpronte))
                             .arg(i + 1);
            return false;
        }
        int& piuAlta = m_storia[parti.at(1)][parti.at(2)];
        piuAlta = std::max(piuAlta, versione);
        if (versione == m_versione)
            dichiarate.insert(parti.at(1), parti.at(2));
        if (versione > m_versione && m_incoerenza.isEmpty())
            m_incoerenza = QStringLiteral("impronte.txt ha la versione %1, più alta di VERSIONE (%2)").arg(versione).arg(m_versione);
    }

    // This version's fingerprints are those of the banks as the builder stores them.
    static std::atomic<int> contatore{0};
    const QString connessione = QStringLiteral("placche-corso-%1").arg(++contatore);
    bool riuscito = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connessione);
        db.setDatabaseName(QStringLiteral(":memory:"));
        riuscito = db.open();
        if (!riuscito)
            *messaggio = Database::describe(db.lastError());
        QSqlQuery query(db);
        for (const CourseBuilder::Bank& bank : std::as_const(m_banks)) {
            if (!riuscito)
                break;
            const QStringList istruzioni = istruzioniPer(m_schema, bank.table);
            if (istruzioni.isEmpty()) {
                *messaggio = QStringLiteral("schema.sql non crea la tabella \"%1\"").arg(bank.table);
                riuscito = false;
                break;
            }
            for (const QString& istruzione : istruzioni) {
                if (riuscito && !query.exec(istruzione)) {
                    *messaggio = QStringLiteral("schema.sql: %1\n%2").arg(query.lastError().text(), istruzione);
                    riuscito = false;
                }
            }
            riuscito = riuscito && CourseBuilder::fillBank(query, bank, messaggio);
            if (riuscito) {
                const QString impronta = improntaTabella(db, bank.table, messaggio);
                riuscito = !impronta.isEmpty();
                m_impronte.insert(bank.table, impronta);
            }
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connessione);
    if (!riuscito)
        return false;

    for (const CourseBuilder::Bank& bank : std::as_const(m_banks)) {
        if (!m_incoerenza.isEmpty())
            break;
        const QString dichiarata = dichiarate.value(bank.table);
        if (dichiarata.isEmpty())
            m_incoerenza = QStringLiteral("impronte.txt non ha l'impronta della tabella \"%1\" per la versione %2")
                               .arg(bank.table)
                               .arg(m_versione);
        else if (dichiarata != m_impronte.value(bank.table))
            m_incoerenza = QStringLiteral("le domande di \"%1\" non sono quelle della versione %2 scritta in "
                                          "impronte.txt: chi cambia le domande alza il numero in VERSIONE e aggiunge "
                                          "le impronte nuove")
                               .arg(bank.table)
                               .arg(m_versione);
    }
    return true;
}

QStringList AggiornaCorso::righeImpronte() const
{
    QStringList righe;
    for (const CourseBuilder::Bank& bank : m_banks)
        righe << QStringLiteral("%1 %2 %3").arg(m_versione).arg(bank.table, m_impronte.value(bank.table));
    return righe;
}

QString AggiornaCorso::incoerenza() const
{
    return m_incoerenza;
}

AggiornaCorso::Decisione AggiornaCorso::decidi(const QString& tabella, const QString& attuale,
                                               const Registro& registrato) const
{
    Decisione d;
    const QString nostra = m_impronte.value(tabella);
    if (attuale == nostra) {
        d.trovata = m_versione;
        d.registro = {true, m_versione, attuale, 0};
        d.azione = registrato == d.registro ? Azione::Nessuna : Azione::Registra;
        return d;
    }
    // The fingerprints of the shipped versions first; then what a program of another version recorded.
    d.trovata = m_storia.value(tabella).value(attuale, 0);
    if (d.trovata == 0 && registrato.presente && registrato.versione > 0 && registrato.impronta == attuale)
        d.trovata = registrato.versione;
    if (d.trovata > 0 && d.trovata < m_versione) {
        d.azione = Azione::Sostituisci;
        d.registro = {true, m_versione, nostra, 0};
    } else if (d.trovata > m_versione) {
        // A newer program has been here: its course stays.
        d.registro = {true, d.trovata, attuale, 0};
        d.azione = registrato == d.registro ? Azione::Nessuna : Azione::Registra;
    } else if (d.trovata == m_versione) {
        d.azione = Azione::Diversa;
        d.registro = registrato;
    } else {
        // Said once for each content of its own and each course version that did not reach it.
        const bool detto = registrato.presente && registrato.versione == 0 && registrato.impronta == attuale &&
                           registrato.avvisato >= m_versione;
        d.azione = detto ? Azione::Nessuna : Azione::Tieni;
        d.registro = {true, 0, attuale, detto ? registrato.avvisato : m_versione};
    }
    return d;
}

bool AggiornaCorso::esamina(const QSqlDatabase& db, QHash<QString, Stato>* stati, QString* errore) const
{
    QHash<QString, Registro> registri;
    if (!db.record(QLatin1String(kTabellaVersioni)).isEmpty()) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(kLeggiVersioni)) {
            *errore = Database::describe(query.lastError());
            return false;
        }
        while (query.next())
            registri.insert(query.value(0).toString(),
                            {true, query.value(1).toInt(), query.value(2).toString(), query.value(3).toInt()});
    }
    stati->clear();
    for (const CourseBuilder::Bank& bank : m_banks) {
        Stato stato;
        stato.attuale = improntaTabella(db, bank.table, errore);
        if (stato.attuale.isEmpty())
            return false;
        stato.registrato = registri.value(bank.table);
        stato.decisione = decidi(bank.table, stato.attuale, stato.registrato);
        stati->insert(bank.table, stato);
    }
    return true;
}

bool AggiornaCorso::sostituisci(QSqlDatabase& db, const CourseBuilder::Bank& bank, QString* errore) const
{
    // Dropped and made again from this version's schema, so that a changed layout arrives too.
    QSqlQuery query(db);
    if (!query.exec(kTogliTabella.arg(bank.table))) {
        *errore = Database::describe(query.lastError());
        return false;
    }
    for (const QString& istruzione : istruzioniPer(m_schema, bank.table)) {
        if (!query.exec(istruzione)) {
            *errore = Database::describe(query.lastError());
            return false;
        }
    }
    if (!CourseBuilder::fillBank(query, bank, errore))
        return false;
    QString nuova = improntaTabella(db, bank.table, errore);
    if (nuova != m_impronte.value(bank.table)) {
        if (errore->isEmpty())
            *errore = QStringLiteral("la tabella \"%1\" non ha preso le domande della versione %2").arg(bank.table).arg(m_versione);
        return false;
    }
    return true;
}

QString AggiornaCorso::avviso(const QString& tabella, const Decisione& d, const QString& archivio) const
{
    if (d.azione == Azione::Tieni)
        return QStringLiteral("la tabella \"%1\" dell'archivio %2 resta com'è e non passa alla versione %3 del corso: "
                              "le sue domande non sono quelle di nessuna versione distribuita del programma, "
                              "quindi sono state cambiate a mano (per esempio dall'insegnante).")
            .arg(tabella, archivio)
            .arg(m_versione);
    if (d.azione == Azione::Diversa)
        return QStringLiteral("la tabella \"%1\" dell'archivio %2 resta com'è: vi è registrata la versione %3 del "
                              "corso, ma le sue domande sono diverse da quelle della versione %3 di questo programma.")
            .arg(tabella, archivio)
            .arg(m_versione);
    return {};
}

AggiornaCorso::Esito AggiornaCorso::aggiorna(QSqlDatabase db) const
{
    Esito esito;
    if (db.driverName() != QLatin1String("QSQLITE"))
        return esito;
    // The file is opened by a URL that carries the open mode.
    const QUrl url(db.databaseName());
    const QString archivio = QDir::toNativeSeparators(url.isLocalFile() ? url.toLocalFile() : db.databaseName());
    auto avvisi = [&](const QHash<QString, Stato>& stati) {
        QStringList righe;
        for (const CourseBuilder::Bank& bank : m_banks)
            if (const QString a = avviso(bank.table, stati.value(bank.table).decisione, archivio); !a.isEmpty())
                righe << a;
        return righe;
    };

    QHash<QString, Stato> stati;
    if (!esamina(db, &stati, &esito.errore))
        return esito;
    bool daScrivere = false;
    for (const Stato& s : std::as_const(stati))
        daScrivere = daScrivere || (s.decisione.azione != Azione::Nessuna && s.decisione.azione != Azione::Diversa);
    if (!daScrivere) {
        esito.avvisi = avvisi(stati);
        return esito;
    }

    Transaction transazione(db);
    QSqlQuery query(db);
    // Another computer may have got there first: everything is looked at again once the file is ours.
    if (!transazione.isActive() || !query.exec(kCreaVersioni) || !esamina(db, &stati, &esito.errore)) {
        if (esito.errore.isEmpty())
            esito.errore = transazione.isActive() ? Database::describe(query.lastError()) : transazione.errorText();
        esito.avvisi = avvisi(stati);
        return esito;
    }
    for (const CourseBuilder::Bank& bank : m_banks) {
        const Decisione& d = stati.value(bank.table).decisione;
        if (d.azione == Azione::Nessuna || d.azione == Azione::Diversa)
            continue;
        if (d.azione == Azione::Sostituisci) {
            if (!sostituisci(db, bank, &esito.errore)) {
                esito.errore = QStringLiteral("%1: %2").arg(bank.table, esito.errore);
                esito.sostituite.clear();
                return esito;
            }
            esito.sostituite << bank.table;
            if (m_dopoTabella)
                m_dopoTabella(bank.table);
        }
        query.prepare(kTogliVersione);
        query.addBindValue(bank.table);
        bool scritto = query.exec();
        if (scritto) {
            query.prepare(kScriviVersione);
            query.addBindValue(bank.table);
            query.addBindValue(d.registro.versione);
            query.addBindValue(d.registro.impronta);
            query.addBindValue(d.registro.avvisato);
            scritto = query.exec();
        }
        if (!scritto) {
            esito.errore = Database::describe(query.lastError());
            esito.sostituite.clear();
            esito.avvisi = avvisi(stati);
            return esito;
        }
    }
    query.finish();
    if (!transazione.commit()) {
        esito.errore = transazione.errorText();
        esito.sostituite.clear();
    }
    esito.avvisi = avvisi(stati);
    return esito;
}

}  // namespace data
