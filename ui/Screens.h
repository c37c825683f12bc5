#pragma once

#include "ui/Form.h"
#include "ui/Window.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace ui {

// The screens of the program by name: each is loaded when first needed (its Form_Load runs once),
// shown in front, hidden with its state kept, or unloaded so that the next load starts fresh. One screen
// is in front at a time, in the one top-level window. A screen that no factory makes yet is simply
// not there: showing it does nothing.
class Screens {
public:
    using Factory = std::function<Form*()>;

    static Screens& instance();

    void setWindow(Window* window);
    Window* window() const { return m_window; }

    void registerScreen(const QString& name, Factory factory);

    Form* load(const QString& name);  // nullptr for a screen no factory makes
    // The screen as its own type: nullptr when none is made, or when it is of another type.
    template <class T>
    T* load(const QString& name)
    {
        return qobject_cast<T*>(load(name));
    }
    Form* find(const QString& name) const;  // a loaded screen, or nullptr
    bool isLoaded(const QString& name) const { return find(name) != nullptr; }
    bool isVisible(const QString& name) const;

    Form* show(const QString& name);
    // Hiding the only visible screen is refused: the window always shows a screen.
    void hide(const QString& name);
    void unload(const QString& name);

    Form* front() const;
    QStringList visibleScreens() const;  // front last

    void reset();  // unload everything and forget the factories (tests)

private:
    Screens() = default;
    void bringToFront(Form* form);
    void refreshFront();

    QPointer<Window> m_window;
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<Form>> m_loaded;
    QList<QString> m_visible;  // in showing order, the front one last
};

}  // namespace ui
