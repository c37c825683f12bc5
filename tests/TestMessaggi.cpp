// The real message and input boxes, not the scripted stand-ins: answered from the keyboard alone, Return
// takes the default button and Escape the cancelling one, where the box has one.
#include "TestSupport.h"

#include "ui/MessageBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
// Once the box is up and has the keyboard, types `testo` (if any) and presses `tasto`; `visto` says what
// box it found. A box that never comes leaves `visto` empty and the test fails on it.
void rispondi(int tasto, const QString& testo, QString* visto)
{
    QTimer::singleShot(0, [tasto, testo, visto] {
        QWidget* box = nullptr;
        for (int i = 0; i < 200 && !box; ++i) {
            box = QApplication::activeModalWidget();
            if (!box)
                QTest::qWait(10);
        }
        if (!box)
            return;
        if (!QTest::qWaitForWindowActive(box))
            return;
        *visto = QString::fromLatin1(box->metaObject()->className());
        QWidget* fuoco = box->focusWidget() ? box->focusWidget() : box;
        if (!testo.isEmpty())
            QTest::keyClicks(fuoco, testo);
        QTest::keyClick(fuoco, Qt::Key(tasto));
        // A box that ignored the key is closed another way, so that the test ends and says so.
        QTimer::singleShot(500, box, [box] { box->close(); });
    });
}
}  // namespace

class TestMessaggi : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        TestSupport::prepara();
        ui::MessageBox::setScripted(false);
        // A window of the program behind the box, as when a screen asks.
        m_finestra = std::make_unique<QWidget>();
        m_finestra->resize(400, 300);
        m_finestra->show();
        m_finestra->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_finestra.get()));
    }
    void cleanup()
    {
        m_finestra.reset();
        ui::MessageBox::setScripted(true);
    }

    void messageBoxByKeyboard_data()
    {
        QTest::addColumn<int>("bottoni");
        QTest::addColumn<int>("tasto");
        QTest::addColumn<int>("risposta");
        using M = ui::MessageBox;
        QTest::newRow("OK, Return") << int(M::Ok) << int(Qt::Key_Return) << int(M::AnswerOk);
        QTest::newRow("OK, Escape") << int(M::Ok) << int(Qt::Key_Escape) << int(M::AnswerOk);
        QTest::newRow("OK/Cancel, Return") << int(M::OkCancel) << int(Qt::Key_Return) << int(M::AnswerOk);
        QTest::newRow("OK/Cancel, Enter") << int(M::OkCancel) << int(Qt::Key_Enter) << int(M::AnswerOk);
        QTest::newRow("OK/Cancel, Escape") << int(M::OkCancel) << int(Qt::Key_Escape) << int(M::AnswerCancel);
        QTest::newRow("Yes/No, Return") << int(M::YesNo) << int(Qt::Key_Return) << int(M::AnswerYes);
        QTest::newRow("Yes/No, Escape") << int(M::YesNo) << int(Qt::Key_Escape) << int(M::AnswerNo);
        // Nothing is given up by a stray key: Escape on the box that offers to save again tries again.
        QTest::newRow("Retry/Continue, Return") << int(M::RetryContinue) << int(Qt::Key_Return) << int(M::AnswerRetry);
        QTest::newRow("Retry/Continue, Escape") << int(M::RetryContinue) << int(Qt::Key_Escape) << int(M::AnswerRetry);
    }
    void messageBoxByKeyboard()
    {
        QFETCH(int, bottoni);
        QFETCH(int, tasto);
        QFETCH(int, risposta);
        QString visto;
        rispondi(tasto, {}, &visto);
        const auto data = ui::MessageBox::message(QStringLiteral("sei sicuro di voler uscire dal programma?"),
                                                  ui::MessageBox::Buttons(bottoni));
        QCOMPARE(visto, QStringLiteral("QMessageBox"));
        QCOMPARE(int(data), risposta);
        // The keyboard is back on the program's window.
        QTRY_COMPARE(QApplication::activeWindow(), m_finestra.get());
    }

    // The pupil's name: typed and Return gives it as typed, Escape gives nothing (the caller then
    // writes "Anonimo").
    void inputBoxByKeyboard_data()
    {
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<int>("tasto");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("Return") << "Rossi Mario" << int(Qt::Key_Return) << "Rossi Mario";
        QTest::newRow("Enter, blanks kept") << " Rossi  Mario " << int(Qt::Key_Enter) << " Rossi  Mario ";
        QTest::newRow("Escape") << "Rossi Mario" << int(Qt::Key_Escape) << "";
        QTest::newRow("Return on nothing") << "" << int(Qt::Key_Return) << "";
    }
    void inputBoxByKeyboard()
    {
        QFETCH(QString, scritto);
        QFETCH(int, tasto);
        QFETCH(QString, atteso);
        QString visto;
        rispondi(tasto, scritto, &visto);
        const QString data = ui::MessageBox::input(QStringLiteral("Scrivi qui prima il cognome, poi il tuo nome"));
        QCOMPARE(visto, QStringLiteral("QInputDialog"));
        QCOMPARE(data, atteso);
        QTRY_COMPARE(QApplication::activeWindow(), m_finestra.get());
    }

private:
    std::unique_ptr<QWidget> m_finestra;
};

QTEST_MAIN(TestMessaggi)
#include "TestMessaggi.moc"
