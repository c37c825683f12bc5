#include "TestSupport.h"

#include "animation/ProvaSintesi.h"
#include "assessment/Etichette.h"
#include "data/Database.h"
#include "data/Recordset.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {
const QString kEtichette = QStringLiteral("etichette.json");
const QString kProve = QStringLiteral("prove.json");

QString sorgente(const QString& file)
{
    const QString cartella = file == kEtichette ? QStringLiteral("assessment/etichette") : QStringLiteral("animation/sintesi");
    return QStringLiteral(PLACCHE_SORGENTE "/%1/%2").arg(cartella, file);
}

// `v` with the value at `percorso` ("argomenti/2/titolo") set to `nuovo`, or taken away when `nuovo` is
// undefined.
QJsonValue cambiato(const QJsonValue& v, QStringList percorso, const QJsonValue& nuovo)
{
    if (percorso.isEmpty())
        return nuovo;
    const QString passo = percorso.takeFirst();
    if (v.isArray()) {
        QJsonArray a = v.toArray();
        const int i = passo.toInt();
        if (nuovo.isUndefined() && percorso.isEmpty())
            a.removeAt(i);
        else
            a[i] = cambiato(a.at(i), percorso, nuovo);
        return a;
    }
    QJsonObject o = v.toObject();
    if (nuovo.isUndefined() && percorso.isEmpty())
        o.remove(passo);
    else
        o[passo] = cambiato(o.value(passo), percorso, nuovo);
    return o;
}

// Reads `testo` as the data file `file`, as the program would, and gives the fault it finds.
QString errore(const QString& file, const QByteArray& testo, bool scritto = true)
{
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(file);
    if (scritto) {
        QFile f(percorso);
        if (!f.open(QIODevice::WriteOnly) || f.write(testo) != testo.size())
            return QStringLiteral("cannot write %1").arg(percorso);
    }
    QString errore;
    if (file == kEtichette) {
        Etichette::Dati dati;
        Etichette::leggi(percorso, &dati, &errore);
    } else {
        ProvaSintesi::Tabelle tabelle;
        ProvaSintesi::leggi(percorso, &tabelle, &errore);
    }
    return errore;
}
}  // namespace

// The course content as the program reads it: the question banks from the built database, the labelling
// tests and the tests of the synthesis from their data files.
class TestContenuti : public QObject {
    Q_OBJECT
private slots:
    // What the program is built with passes every rule of its reader.
    void programDataIsRead()
    {
        QVERIFY2(Etichette::errore().isEmpty(), qPrintable(Etichette::errore()));
        QVERIFY2(ProvaSintesi::errore().isEmpty(), qPrintable(ProvaSintesi::errore()));
    }

    // The committed files as they are, broken, or with one value changed: each rule the screens rely on,
    // and the message that says where the fault is (a message ending in "..." is checked up to there).
    void fileIsRead_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("testo");  // null: no file at all
        QTest::addColumn<QString>("atteso");
        for (const QString& file : {kEtichette, kProve}) {
            const char* f = file == kEtichette ? "labelling" : "synthesis";
            QFile committed(sorgente(file));
            QVERIFY2(committed.open(QIODevice::ReadOnly), qPrintable(committed.fileName()));
            QTest::addRow("%s: as committed", f) << file << committed.readAll() << QString();
            QTest::addRow("%s: missing", f) << file << QByteArray() << file + ": il file manca o non si può leggere...";
            QTest::addRow("%s: not JSON", f) << file << QByteArray("{ \"caselle\": [") << file + ": carattere ...";
            QTest::addRow("%s: a list", f) << file << QByteArray("[1, 2]") << file + ": serve un oggetto JSON { ... }...";
        }
        QTest::newRow("labelling: empty object") << kEtichette << QByteArray("{}")
                                                 << "etichette.json: caselle: serve un elenco [ ... ] di 10 voci...";
        QTest::newRow("synthesis: empty object") << kProve << QByteArray("{}") << "prove.json: prove: serve un elenco [ ... ] di 4 voci...";
        const QJsonValue via(QJsonValue::Undefined);
        auto riga = [](const char* nome, const QString& file, const char* percorso, const QJsonValue& valore,
                       const QString& atteso) {
            QFile f(sorgente(file));
            f.open(QIODevice::ReadOnly);
            const QJsonValue dati = cambiato(QJsonDocument::fromJson(f.readAll()).object(),
                                             QString::fromUtf8(percorso).split(QLatin1Char('/')), valore);
            QTest::newRow(nome) << file << QJsonDocument(dati.toObject()).toJson() << file + ": " + atteso;
        };
        riga("misspelt key", kEtichette, "argomenti/0/nomiparte", QJsonArray(),
             "argomento 1: voce sconosciuta \"nomiparte\" (sono ammesse: argomento, titolo, immagine, descrizione, nomiparti, numeriesatti)");
        riga("nine boxes", kEtichette, "caselle/9", via, "caselle: servono 10 voci, ce ne sono 9");
        riga("two boxes overlap", kEtichette, "caselle/1", QJsonArray{6000, 3600, 495, 495},
             "caselle: le caselle 0 e 1 si sovrappongono");
        riga("a box without width", kEtichette, "caselle/3/2", 0, "caselle, casella 3: serve un numero intero da 1 a 20000");
        riga("five topics", kEtichette, "argomenti/5", via, "argomenti: servono 6 voci, ce ne sono 5");
        riga("topics out of order", kEtichette, "argomenti/2/argomento", 4,
             "argomento 3: serve \"argomento\": 3 (gli argomenti vanno in ordine da 1 a 6)");
        riga("blank title", kEtichette, "argomenti/1/titolo", QStringLiteral("   "), "argomento 2, titolo: il testo è vuoto");
        riga("no picture", kEtichette, "argomenti/3/immagine", via, "argomento 4, immagine: serve un testo");
        riga("undescribed picture", kEtichette, "argomenti/2/descrizione", via, "argomento 3, descrizione: serve un testo");
        riga("nine names", kEtichette, "argomenti/0/nomiparti/9", via, "argomento 1, nomiparti: servono 10 voci, ce ne sono 9");
        riga("a name that is a number", kEtichette, "argomenti/4/nomiparti/2", 3, "argomento 5, nomiparti, nome 3: serve un testo");
        riga("two names alike but for blanks", kEtichette, "argomenti/0/nomiparti/4", QStringLiteral("Atmosfera  "),
             "argomento 1, nomiparti: i nomi 5 e 6 sono uguali (\"Atmosfera\")");
        riga("one number right in two boxes", kEtichette, "argomenti/5/numeriesatti/0", 3,
             "argomento 6, numeriesatti: il numero 3 è giusto in due caselle (0 e 1)");
        riga("number 11", kEtichette, "argomenti/2/numeriesatti/9", 11,
             "argomento 3, numeriesatti, casella 9: serve un numero intero da 1 a 10");
        riga("number written as text", kEtichette, "argomenti/2/numeriesatti/0", QStringLiteral("6"),
             "argomento 3, numeriesatti, casella 0: serve un numero intero da 1 a 10");

        riga("three tests", kProve, "prove/3", via, "prove: servono 4 voci, ce ne sono 3");
        riga("tests out of order", kProve, "prove/1/prova", 1, "prova 2: serve \"prova\": 2 (le prove vanno in ordine da 1 a 4)");
        riga("empty lead-in", kProve, "prove/0/introduzione", QString(), "prova 1, introduzione: il testo è vuoto");
        riga("eleven statements", kProve, "prove/2/affermazioni/11", via, "prova 3, affermazioni: servono 12 voci, ce ne sono 11");
        riga("truth as a word", kProve, "prove/3/affermazioni/4/vera", QStringLiteral("sì"),
             "prova 4, affermazione 5, vera: serve true o false");
        riga("truth misspelt", kProve, "prove/3/affermazioni/4/vero", true,
             "prova 4, affermazione 5: voce sconosciuta \"vero\" (sono ammesse: testo, vera, nota)");
        riga("a truth flipped", kProve, "prove/1/affermazioni/0/vera", true, "prova 2: numesatte dice 7, ma le affermazioni vere sono 8");
        riga("all twelve true", kProve, "prove/0/numesatte", 12, "prova 1, numesatte: serve un numero intero da 1 a 11");
        riga("a statement twice but for blanks", kProve, "prove/0/affermazioni/0/testo", QStringLiteral("vengono rappresentate 4 placche "),
             "prova 1: le affermazioni 1 e 10 sono uguali");
        riga("a note that is not text", kProve, "prove/1/affermazioni/8/nota", 5, "prova 2, affermazione 9, nota: serve un testo");
    }
    void fileIsRead()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, testo);
        QFETCH(QString, atteso);
        const QString e = errore(file, testo, !testo.isNull());
        if (atteso.endsWith(QLatin1String("...")))
            QVERIFY2(e.startsWith(atteso.chopped(3)), qPrintable(e));
        else
            QCOMPARE(e, atteso);
    }

    // Every question page has a short label of its own and ten short statements never repeated, 4 to 6 of them
    // true. The summative test checks what was learnt, so none of its statements is copied from a topic.
    void questionPagesAreComplete()
    {
        TestSupport::CartellaProgramma folder;
        QString error;
        auto db = data::Database::open(folder.archivio(), &error);
        QVERIFY2(db, qPrintable(error));
        QSet<QString> topics;
        QSet<QString> summative;
        for (const QString& tabella : data::Database::questionTables()) {
            auto rs = db->OpenRecordset(tabella);
            QVERIFY(rs->RecordCount() >= 1);
            QSet<QString> labels;
            QSet<QString> statements;
            for (rs->MoveFirst(); !rs->eof(); rs->MoveNext()) {
                const QString label = rs->Fields(QStringLiteral("argomento")).toString();
                QVERIFY2(!label.trimmed().isEmpty() && label.size() <= 60, qPrintable(label));
                QVERIFY2(!labels.contains(label), qPrintable(tabella + QStringLiteral(": label twice: ") + label));
                labels.insert(label);
                int trueOnes = 0;
                for (int i = 1; i <= 10; ++i) {
                    const QString statement = rs->Fields(i + 1).toString();
                    const int code = rs->Fields(i + 11).toInt();
                    // One text row of the questionnaire holds about 150 characters.
                    QVERIFY2(!statement.trimmed().isEmpty() && statement.size() <= 150, qPrintable(label + statement));
                    QVERIFY2(!statements.contains(statement.trimmed()), qPrintable(tabella + ": twice: " + statement));
                    statements.insert(statement.trimmed());
                    QVERIFY(code == 0 || code == 1);
                    trueOnes += code;
                }
                QVERIFY2(trueOnes >= 4 && trueOnes <= 6,
                         qPrintable(QStringLiteral("%1 \"%2\": %3 true").arg(tabella, label).arg(trueOnes)));
            }
            (tabella == QLatin1String("sommativo") ? summative : topics).unite(statements);
        }
        QVERIFY(topics.size() > 100 && !summative.isEmpty());
        QStringList copied = (summative & topics).values();
        copied.sort();
        QVERIFY2(copied.isEmpty(), qPrintable(copied.join(QStringLiteral(" | "))));
    }
};

QTEST_MAIN(TestContenuti)
#include "TestContenuti.moc"
