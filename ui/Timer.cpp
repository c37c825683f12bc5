#include "ui/Timer.h"

namespace ui {

namespace {
bool g_manual = false;
}

Timer::Timer(QObject* parent) : QObject(parent)
{
    m_clock.setTimerType(Qt::PreciseTimer);
    connect(&m_clock, &QTimer::timeout, this, &Timer::fire);
}

void Timer::setManual(bool manual)
{
    g_manual = manual;
}

bool Timer::isManual()
{
    return g_manual;
}

void Timer::setInterval(int ms)
{
    m_interval = std::max(0, ms);
    restart();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

void Timer::fire()
{
    if (m_enabled)
        emit tick();
}

void Timer::restart()
{
    // An interval of 0 means the timer does not run, whatever its enabled state.
    if (m_enabled && m_interval > 0 && !g_manual)
        m_clock.start(m_interval);
    else
        m_clock.stop();
}

}  // namespace ui
