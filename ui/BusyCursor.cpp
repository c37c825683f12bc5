#include "ui/BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace ui {

namespace {
int g_depth = 0;
}  // namespace

BusyCursor::BusyCursor()
{
    ++g_depth;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    --g_depth;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::restoreOverrideCursor();
}

bool BusyCursor::active()
{
    return g_depth > 0;
}

}  // namespace ui
