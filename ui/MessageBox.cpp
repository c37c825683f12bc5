#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <deque>

namespace ui {

namespace {
struct Script {
    bool scripted = false;
    std::deque<MessageBox::Answer> answers;
    std::deque<std::pair<QString, bool>> inputs;
    QList<MessageBox::Shown> shown;
    int unanswered = 0;
    std::function<void(const MessageBox::Shown&)> onShown;
};

Script& script()
{
    static Script s;
    return s;
}

QString titleOr(const QString& title)
{
    return title.isEmpty() ? MessageBox::applicationTitle() : title;
}

MessageBox::Answer closedAnswer(MessageBox::Buttons buttons)
{
    switch (buttons) {
    case MessageBox::Ok:
        return MessageBox::AnswerOk;
    case MessageBox::OkCancel:
        return MessageBox::AnswerCancel;
    case MessageBox::YesNo:
        return MessageBox::AnswerNo;
    case MessageBox::RetryContinue:
        return MessageBox::AnswerRetry;
    }
    return MessageBox::AnswerCancel;
}
// Hands the keyboard back to the window the box stood over once it closes. A window manager does it
// too; a display without one (a kiosk session) would leave the program without the keyboard's focus,
// and so without its ring, until the pupil clicked.
class RidaiFuoco {
public:
    RidaiFuoco() : m_finestra(QApplication::activeWindow()) {}
    ~RidaiFuoco()
    {
        if (m_finestra && m_finestra->isVisible())
            m_finestra->activateWindow();
    }

private:
    QPointer<QWidget> m_finestra;
};
}  // namespace

QString MessageBox::applicationTitle()
{
    return QStringLiteral("La teoria delle placche");
}

MessageBox::Answer MessageBox::message(const QString& text, Buttons buttons, const QString& title)
{
    Script& s = script();
    if (s.scripted) {
        s.shown.append({false, text, titleOr(title), buttons});
        if (s.onShown)
            s.onShown(s.shown.last());
        if (s.answers.empty()) {
            ++s.unanswered;
            // A test that gave no answer must not be caught in a loop of retries.
            return buttons == RetryContinue ? AnswerContinue : closedAnswer(buttons);
        }
        const Answer a = s.answers.front();
        s.answers.pop_front();
        return a;
    }

    const RidaiFuoco ridai;
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(titleOr(title));
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    switch (buttons) {
    case Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case RetryContinue:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Ignore);
        box.setDefaultButton(QMessageBox::Retry);
        box.setEscapeButton(QMessageBox::Retry);
        break;
    }
    if (auto* b = box.button(QMessageBox::Retry))
        b->setText(QStringLiteral("Riprova"));
    if (auto* b = box.button(QMessageBox::Ignore))
        b->setText(QStringLiteral("Continua senza salvare"));
    if (auto* b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Annulla"));
    if (auto* b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("Sì"));
    switch (box.exec()) {
    case QMessageBox::Ok:
        return AnswerOk;
    case QMessageBox::Yes:
        return AnswerYes;
    case QMessageBox::No:
        return AnswerNo;
    case QMessageBox::Retry:
        return AnswerRetry;
    case QMessageBox::Ignore:
        return AnswerContinue;
    default:
        return closedAnswer(buttons);
    }
}

QString MessageBox::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    Script& s = script();
    if (s.scripted) {
        s.shown.append({true, prompt, titleOr(title), OkCancel});
        if (s.onShown)
            s.onShown(s.shown.last());
        if (s.inputs.empty()) {
            ++s.unanswered;
            return {};
        }
        const auto [text, cancelled] = s.inputs.front();
        s.inputs.pop_front();
        return cancelled ? QString() : text;
    }

    const RidaiFuoco ridai;
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOr(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    dialog.resize(std::max(dialog.sizeHint().width(), 420), dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void MessageBox::setScripted(bool scripted)
{
    script().scripted = scripted;
}

void MessageBox::setNextAnswer(Answer answer)
{
    script().answers.push_back(answer);
}

void MessageBox::setNextInput(const QString& text, bool cancelled)
{
    script().inputs.emplace_back(text, cancelled);
}

QList<MessageBox::Shown> MessageBox::shown()
{
    return script().shown;
}

int MessageBox::unanswered()
{
    return script().unanswered;
}

void MessageBox::clear()
{
    Script& s = script();
    s.answers.clear();
    s.inputs.clear();
    s.shown.clear();
    s.unanswered = 0;
    s.onShown = nullptr;
}

void MessageBox::setOnShown(std::function<void(const Shown&)> hook)
{
    script().onShown = std::move(hook);
}

}  // namespace ui
