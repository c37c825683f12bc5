#include "ui/FocusRing.h"

#include <QEvent>
#include <QPainter>

namespace ui {

FocusRing::FocusRing(QWidget* window) : QWidget(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QString());
    hide();
}

void FocusRing::segui(QWidget* control)
{
    if (m_control)
        m_control->removeEventFilter(this);
    m_control = (control && control != this && parentWidget()->isAncestorOf(control)) ? control : nullptr;
    if (m_control)
        m_control->installEventFilter(this);
    aggiorna();
}

void FocusRing::aggiorna()
{
    if (!m_control || !m_control->isVisible()) {
        hide();
        return;
    }
    const QRect r(m_control->mapTo(parentWidget(), QPoint(0, 0)), m_control->size());
    setGeometry(r.adjusted(-kSpessore, -kSpessore, kSpessore, kSpessore));
    show();
    raise();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_control) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            aggiorna();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF fuori = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 20, 20), 3));
    p.drawRoundedRect(fuori, 4, 4);
    p.setPen(QPen(QColor(255, 200, 0), 2));
    p.drawRoundedRect(fuori.adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
}

}  // namespace ui
