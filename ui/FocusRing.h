#pragma once

#include <QPointer>
#include <QWidget>

namespace ui {

// The ring round the control that has the keyboard: a dark line with a bright one inside it, clear on
// every screen's background and on the pictures, at every size. It stands over the screen, lets the
// mouse through, and follows its control when that moves, grows, hides or goes.
class FocusRing : public QWidget {
    Q_OBJECT
public:
    explicit FocusRing(QWidget* window);

    // Rings `control` when it is inside this window and shown; otherwise the ring hides.
    void segui(QWidget* control);
    QWidget* seguito() const { return m_control; }

    static constexpr int kSpessore = 4;  // pixels outside the control

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void aggiorna();

    QPointer<QWidget> m_control;
};

}  // namespace ui
