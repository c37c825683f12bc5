#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace ui {

// The one door to message and input boxes. Screens never call Qt dialogs: tests set the answers in
// advance and read back what was asked.
class MessageBox {
public:
    // RetryContinue: "Riprova" (the default) and "Continua senza salvare".
    enum Buttons { Ok, OkCancel, YesNo, RetryContinue };
    enum Answer { AnswerOk, AnswerCancel, AnswerYes, AnswerNo, AnswerRetry, AnswerContinue };

    static QString applicationTitle();  // "La teoria delle placche": the title of a box without its own

    // A modal box; an empty title shows the program's title. Closing the box counts as Cancel (or No);
    // a RetryContinue box closed counts as Retry, so that nothing is given up by a stray key.
    static Answer message(const QString& text, Buttons buttons = Ok, const QString& title = {});
    // A modal input box with an empty default; Cancel gives the empty text.
    static QString input(const QString& prompt, const QString& title = {}, const QString& defaultText = {});

    // --- for tests ---
    struct Shown {
        bool isInput = false;
        QString text;
        QString title;  // as shown, the program's title when none was given
        Buttons buttons = Ok;
    };
    // From now on no real box opens: each box takes the next answer set in advance, or, with none left,
    // closes at once (Cancel, No, Continue, the empty text) and is counted as unanswered.
    static void setScripted(bool scripted);
    static void setNextAnswer(Answer answer);
    static void setNextInput(const QString& text, bool cancelled = false);
    static QList<Shown> shown();
    static int unanswered();
    static void clear();  // forget answers, what was shown and the hook
    // Called with each scripted box as it is shown, before its answer is taken (what happens meanwhile).
    static void setOnShown(std::function<void(const Shown&)> hook);
};

}  // namespace ui
