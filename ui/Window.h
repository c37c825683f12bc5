#pragma once

#include <QIcon>
#include <QWidget>

namespace ui {

class Form;

// The program's one top-level window. The screen in front fills it; its caption is the window's title.
class Window : public QWidget {
    Q_OBJECT
public:
    explicit Window(QWidget* parent = nullptr);

    void setFront(Form* form);
    Form* front() const { return m_front; }

signals:
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Form* m_front = nullptr;
    class FocusRing* m_anello = nullptr;
};

}  // namespace ui
