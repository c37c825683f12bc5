#include "ServerDiProva.h"
#include "TestSupport.h"

#include "data/Database.h"
#include "data/Recordset.h"
#include "data/ResultList.h"

#include <QSqlQuery>
#include <QTest>

using data::Database;
using data::ResultList;

namespace {
const QStringList kColonne{QStringLiteral("cognome e nome"), QStringLiteral("punteggio")};

bool aggiungi(Database& db, const QString& nome, int punti)
{
    auto rs = db.OpenRecordset(QStringLiteral("studenti"));
    rs->AddNew();
    rs->setField(QStringLiteral("cognome e nome"), nome);
    rs->setField(QStringLiteral("argomento"), QStringLiteral("prova"));
    rs->setField(QStringLiteral("punteggio"), punti);
    rs->setField(QStringLiteral("maxpunti"), 10);
    return rs->Update();
}

// Every row of the list, read `passo` rows at a time: "name:points" each.
QStringList leggiTutto(ResultList& list, int passo)
{
    QStringList out;
    ResultList::Position at;
    QVector<QVariantList> rows;
    for (;;) {
        if (!list.read(at, passo, &rows))
            return {QStringLiteral("errore")};
        if (rows.isEmpty())
            return out;
        for (const QVariantList& r : std::as_const(rows))
            out << r[0].toString() + QLatin1Char(':') + r[1].toString();
    }
}
}  // namespace

class TestResultList : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::prepara(); }

    // Rows in stored order, a page at a time, only those there when the list was opened.
    void readsTheRowsOfItsMoment_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<QString>("alunno");  // empty: the whole table
        QTest::addColumn<int>("passo");
        for (const auto m : TestSupport::motori()) {
            using TestSupport::riga;
            QTest::newRow(riga(m, "whole table, one at a time")) << m << "" << 1;
            QTest::newRow(riga(m, "whole table, all at once")) << m << "" << 1000;
            QTest::newRow(riga(m, "pupil, pages of 7")) << m << "D'Amico Lucia" << 7;
            QTest::newRow(riga(m, "pupil with no rows")) << m << "Nessuno" << 20;
        }
    }
    void readsTheRowsOfItsMoment()
    {
        QFETCH(QString, alunno);
        QFETCH(int, passo);
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        QStringList attese;
        for (int i = 0; i < 45; ++i) {
            const QString nome = i % 3 ? QStringLiteral("D'Amico Lucia") : QStringLiteral("Rossi Mario");
            QVERIFY(aggiungi(*db, nome, i));
            if (alunno.isEmpty() || nome == alunno)
                attese << nome + QLatin1Char(':') + QString::number(i);
        }
        ResultList list(db->connection(), QStringLiteral("studenti"), kColonne,
                        alunno.isEmpty() ? std::nullopt : std::optional<QString>(alunno));
        QVERIFY(list.open());
        QCOMPARE(list.count(), attese.size());
        // Stored after the opening: neither read nor deleted with the list.
        QVERIFY(aggiungi(*db, QStringLiteral("D'Amico Lucia"), 99));
        QVERIFY(aggiungi(*db, QStringLiteral("Rossi Mario"), 99));
        QCOMPARE(leggiTutto(list, passo), attese);
        QCOMPARE(leggiTutto(list, passo), attese);  // a new reading starts again from the first row

        int deleted = -1;
        QVERIFY(list.deleteAll(&deleted));
        QCOMPARE(deleted, attese.size());
        auto rest = db->OpenRecordset(QStringLiteral("studenti"));
        QCOMPARE(rest->RecordCount(), 47 - attese.size());
        int nuove = 0;
        for (rest->MoveFirst(); !rest->eof(); rest->MoveNext())
            nuove += rest->Fields(QStringLiteral("punteggio")).toInt() == 99;
        QCOMPARE(nuove, 2);
    }

    void transactionCommitsOrUndoes_data()
    {
        TestSupport::colonnaMotore();
        QTest::addColumn<bool>("conferma");
        for (const auto m : TestSupport::motori()) {
            QTest::newRow(TestSupport::riga(m, "committed")) << m << true;
            QTest::newRow(TestSupport::riga(m, "left without commit")) << m << false;
        }
    }
    void transactionCommitsOrUndoes()
    {
        QFETCH(bool, conferma);
        ARCHIVIO_DI_PROVA(archivio);
        QString error;
        auto db = archivio.apri(&error);
        QVERIFY2(db, qPrintable(error));
        {
            data::Transaction t(db->connection());
            QSqlQuery q(db->connection());
            q.prepare(QStringLiteral(R"(INSERT INTO "studenti" ("cognome e nome", "argomento", "punteggio", "maxpunti") VALUES (?, 'prova', 1, 10))"));
            for (const char* nome : {"Uno", "Due"}) {
                q.addBindValue(QString::fromLatin1(nome));
                QVERIFY(q.exec());
            }
            q.finish();
            if (conferma)
                QVERIFY(t.commit());
        }
        // Read through a second connection: only what was committed is in the file.
        auto other = archivio.apri(&error);
        QCOMPARE(other->OpenRecordset(QStringLiteral("studenti"))->RecordCount(), conferma ? 2 : 0);
    }
};

QTEST_MAIN(TestResultList)
#include "TestResultList.moc"
