// The real message and input boxes, not the scripted stand-ins: answered from the keyboard alone, Return
// takes the default button and Escape the cancelling one, where the box has one.
#include "TestSupport.h"

#include "ui/MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
// Once the box is up and has the keyboard, types `testo` and presses `tasto`; `visto` names the box found,
// `ignorato` says whether the box was still up half a second later.
void rispondi(int tasto, const QString& testo, QString* visto, bool* ignorato)
{
    QTimer::singleShot(0, [tasto, testo, visto, ignorato] {
        QWidget* box = nullptr;
        for (int i = 0; i < 200 && !(box = QApplication::activeModalWidget()); ++i)
            QTest::qWait(10);
        if (!box || !QTest::qWaitForWindowActive(box))
            return;
        *visto = QString::fromLatin1(box->metaObject()->className());
        QWidget* fuoco = box->focusWidget() ? box->focusWidget() : box;
        if (!testo.isEmpty())
            QTest::keyClicks(fuoco, testo);
        QTest::keyClick(fuoco, Qt::Key(tasto));
        // A box that ignored the key is ended another way, so that the test ends and fails: closing would not
        // do, as a message box without a cancelling button refuses to close.
        QTimer::singleShot(500, box, [box, ignorato] {
            *ignorato = true;
            if (auto* dialogo = qobject_cast<QDialog*>(box))
                dialogo->done(-1);
        });
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

    // The input box asks the pupil's name: Escape gives nothing (the caller then writes "Anonimo").
    void boxByKeyboard_data()
    {
        QTest::addColumn<int>("bottoni");  // -1: the input box
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<int>("tasto");
        QTest::addColumn<QString>("atteso");  // the answer's number, or the text given back
        using M = ui::MessageBox;
        const auto box = [](const char* nome, M::Buttons b, Qt::Key tasto, M::Answer risposta) {
            QTest::newRow(nome) << int(b) << QString() << int(tasto) << QString::number(risposta);
        };
        box("OK, Return", M::Ok, Qt::Key_Return, M::AnswerOk);
        box("OK, Escape", M::Ok, Qt::Key_Escape, M::AnswerOk);
        box("OK/Cancel, Return", M::OkCancel, Qt::Key_Return, M::AnswerOk);
        box("OK/Cancel, Escape", M::OkCancel, Qt::Key_Escape, M::AnswerCancel);
        box("Yes/No, Return", M::YesNo, Qt::Key_Return, M::AnswerYes);
        box("Yes/No, Escape", M::YesNo, Qt::Key_Escape, M::AnswerNo);
        // Nothing is given up by a stray key: Escape on the box that offers to save again tries again.
        box("Retry/Continue, Return", M::RetryContinue, Qt::Key_Return, M::AnswerRetry);
        box("Retry/Continue, Escape", M::RetryContinue, Qt::Key_Escape, M::AnswerRetry);
        QTest::newRow("name, Return") << -1 << "Rossi Mario" << int(Qt::Key_Return) << "Rossi Mario";
        QTest::newRow("name, Enter, blanks kept") << -1 << " Rossi  Mario " << int(Qt::Key_Enter) << " Rossi  Mario ";
        QTest::newRow("name, Escape") << -1 << "Rossi Mario" << int(Qt::Key_Escape) << "";
        QTest::newRow("name, Return on nothing") << -1 << "" << int(Qt::Key_Return) << "";
    }
    void boxByKeyboard()
    {
        QFETCH(int, bottoni);
        QFETCH(QString, scritto);
        QFETCH(int, tasto);
        QFETCH(QString, atteso);
        using M = ui::MessageBox;
        QString visto;
        bool ignorato = false;
        rispondi(tasto, scritto, &visto, &ignorato);
        const QString data = bottoni < 0 ? M::input(QStringLiteral("Scrivi qui prima il cognome, poi il tuo nome"))
                                         : QString::number(M::message(QStringLiteral("sei sicuro di voler uscire?"),
                                                                      M::Buttons(bottoni)));
        QCOMPARE(visto, bottoni < 0 ? QStringLiteral("QInputDialog") : QStringLiteral("QMessageBox"));
        QVERIFY2(!ignorato, "the box did not answer the key");
        QCOMPARE(data, atteso);
        // The keyboard is back on the program's window.
        QTRY_COMPARE(QApplication::activeWindow(), m_finestra.get());
    }

private:
    std::unique_ptr<QWidget> m_finestra;
};

QTEST_MAIN(TestMessaggi)
#include "TestMessaggi.moc"
