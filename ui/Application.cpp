#include "ui/Application.h"

#include <QApplication>
#include <QWidget>

namespace ui::Application {

namespace {
std::function<void(int)>& handler()
{
    static std::function<void(int)> h;
    return h;
}
}  // namespace

void end(int exitCode)
{
    if (handler()) {
        handler()(exitCode);
        return;
    }
    // Every stored result is already committed, so nothing needs closing: hide everything now and leave
    // the event loop without running another handler.
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(exitCode);
}

void setEndHandler(std::function<void(int)> h)
{
    handler() = std::move(h);
}

}  // namespace ui::Application
