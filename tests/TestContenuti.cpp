#include "TestSupport.h"

#include "data/Database.h"
#include "data/Recordset.h"

#include <QTest>

// The question banks as the program reads them from the built database.
class TestContenuti : public QObject {
    Q_OBJECT
private slots:
    void questionPagesAreComplete_data()
    {
        QTest::addColumn<QString>("tabella");
        for (const QString& table : data::Database::questionTables())
            QTest::newRow(qPrintable(table)) << table;
    }
    void questionPagesAreComplete()
    {
        QFETCH(QString, tabella);
        TestSupport::CartellaProgramma folder;
        QString error;
        auto db = data::Database::open(folder.archivio(), &error);
        QVERIFY2(db, qPrintable(error));
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
                const QVariant code = rs->Fields(i + 11);
                QVERIFY2(!statement.trimmed().isEmpty(), qPrintable(label));
                // One text row of the questionnaire holds about 150 characters.
                QVERIFY2(statement.size() <= 150, qPrintable(statement));
                QVERIFY2(!statements.contains(statement), qPrintable(tabella + QStringLiteral(": twice: ") + statement));
                statements.insert(statement);
                QVERIFY(code.toInt() == 0 || code.toInt() == 1);
                trueOnes += code.toInt();
            }
            QVERIFY2(trueOnes >= 4 && trueOnes <= 6,
                     qPrintable(QStringLiteral("%1 \"%2\": %3 true").arg(tabella, label).arg(trueOnes)));
        }
    }

    // The summative test checks what was learnt, not what was memorised from the topic questionnaires:
    // none of its statements is a topic statement copied word for word.
    void summativeRepeatsNoTopicStatement()
    {
        TestSupport::CartellaProgramma folder;
        QString error;
        auto db = data::Database::open(folder.archivio(), &error);
        QVERIFY2(db, qPrintable(error));
        const auto statementsOf = [&](const QString& table) {
            QSet<QString> statements;
            auto rs = db->OpenRecordset(table);
            for (rs->MoveFirst(); !rs->eof(); rs->MoveNext())
                for (int i = 1; i <= 10; ++i)
                    statements.insert(rs->Fields(i + 1).toString().trimmed());
            return statements;
        };
        QSet<QString> topics;
        for (const QString& table : data::Database::questionTables())
            if (table != QLatin1String("sommativo"))
                topics.unite(statementsOf(table));
        QVERIFY(topics.size() > 100);
        const QSet<QString> summative = statementsOf(QStringLiteral("sommativo"));
        QVERIFY(!summative.isEmpty());
        QStringList copied = (summative & topics).values();
        copied.sort();
        QVERIFY2(copied.isEmpty(), qPrintable(copied.join(QStringLiteral(" | "))));
    }
};

QTEST_MAIN(TestContenuti)
#include "TestContenuti.moc"
