#include "ui/Window.h"

#include "ui/Accessibile.h"
#include "ui/FocusRing.h"
#include "ui/Form.h"
#include "ui/MessageBox.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>

namespace ui {

Window::Window(QWidget* parent) : QWidget(parent)
{
    installaAccessibilita();
    setWindowTitle(MessageBox::applicationTitle());
    setMinimumSize(400, 300);
    const QString icon = Pictures::resolve(QStringLiteral("immagini\\altre\\icona.png"));
    if (!icon.isEmpty())
        setWindowIcon(QIcon(icon));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    m_anello = new FocusRing(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (m_front && now && m_front->isAncestorOf(now))
            m_front->ricordaFuoco(now);
        m_anello->segui(now);
    });
}

void Window::setFront(Form* form)
{
    m_front = form;
    if (!form) {
        setWindowTitle(MessageBox::applicationTitle());
        return;
    }
    form->setGeometry(rect());
    form->show();
    form->raise();
    setWindowTitle(form->caption().isEmpty() ? MessageBox::applicationTitle() : form->caption());
    // The keyboard starts on the screen's first control in reading order, or on the one the pupil used
    // last on this screen, never on one left behind on a hidden screen.
    if (!form->isAncestorOf(QApplication::focusWidget()))
        if (QWidget* primo = form->primoFuoco())
            primo->setFocus(Qt::TabFocusReason);
    m_anello->segui(QApplication::focusWidget());
}

void Window::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (QObject* child : children())
        if (auto* form = qobject_cast<Form*>(child))
            form->setGeometry(rect());
}

void Window::closeEvent(QCloseEvent* event)
{
    // Closing the window is leaving the program: it asks first, like every exit button.
    event->ignore();
    emit closeRequested();
}

}  // namespace ui
