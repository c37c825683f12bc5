#include "ui/Screens.h"

#include "ui/Window.h"

#include <QCoreApplication>

namespace ui {

Screens& Screens::instance()
{
    static Screens screens;
    return screens;
}

void Screens::setWindow(Window* window)
{
    m_window = window;
}

void Screens::registerScreen(const QString& name, Factory factory)
{
    m_factories.insert(name, std::move(factory));
}

Form* Screens::find(const QString& name) const
{
    return m_loaded.value(name).data();
}

bool Screens::isVisible(const QString& name) const
{
    return m_visible.contains(name);
}

Form* Screens::load(const QString& name)
{
    if (Form* form = find(name))
        return form;
    const auto factory = m_factories.constFind(name);
    if (factory == m_factories.cend())
        return nullptr;
    Form* form = (*factory)();
    form->setObjectName(name);
    form->setParent(m_window);
    form->hide();
    m_loaded.insert(name, form);
    if (m_window)
        form->setGeometry(m_window->rect());
    form->Form_Load();
    return find(name);  // Form_Load may have unloaded its own screen
}

Form* Screens::show(const QString& name)
{
    Form* form = load(name);
    if (!form)
        return nullptr;
    m_visible.removeAll(name);
    m_visible.append(name);
    refreshFront();
    return form;
}

void Screens::hide(const QString& name)
{
    if (!m_visible.contains(name) || m_visible.size() == 1)
        return;
    m_visible.removeAll(name);
    if (Form* form = find(name))
        form->hide();
    refreshFront();
}

void Screens::unload(const QString& name)
{
    QPointer<Form> form = m_loaded.take(name);
    m_visible.removeAll(name);
    if (form) {
        form->hide();
        // The screen may be unloading itself from one of its own handlers: delete it once that is over.
        form->setParent(nullptr);
        form->deleteLater();
    }
    refreshFront();
}

Form* Screens::front() const
{
    return m_visible.isEmpty() ? nullptr : find(m_visible.last());
}

QStringList Screens::visibleScreens() const
{
    return m_visible;
}

void Screens::refreshFront()
{
    Form* front = this->front();
    for (const QString& name : std::as_const(m_visible))
        if (Form* f = find(name); f && f != front)
            f->hide();
    if (m_window)
        m_window->setFront(front);
    else if (front)
        front->show();
}

void Screens::reset()
{
    const QStringList names = m_loaded.keys();
    for (const QString& name : names)
        unload(name);
    m_factories.clear();
    m_visible.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace ui
