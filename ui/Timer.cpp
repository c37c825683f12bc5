#include "ui/Timer.h"

#if defined(Q_OS_LINUX)
#include <sys/prctl.h>
#endif

namespace ui {

namespace {
bool g_manual = false;

// Linux wakes a sleeping thread up to 50 microseconds late, to gather wake-ups and save power. At an
// interval of 1 ms that lateness comes back at every tick and takes away a tenth of them: while a clock
// of a few milliseconds runs, the interface thread asks to be woken within a microsecond instead.
constexpr int kShortInterval = 20;
int g_shortClocks = 0;  // interface thread only

void askForWakeUps()
{
#if defined(Q_OS_LINUX)
    // Zero puts back the thread's default.
    prctl(PR_SET_TIMERSLACK, g_shortClocks > 0 ? 1000UL : 0UL, 0UL, 0UL, 0UL);
#endif
}
}  // namespace

Timer::Timer(QObject* parent) : QObject(parent)
{
    m_clock.setTimerType(Qt::PreciseTimer);
    connect(&m_clock, &QTimer::timeout, this, &Timer::fire);
}

Timer::~Timer()
{
    setShort(false);
}

void Timer::setShort(bool isShort)
{
    if (isShort == m_short)
        return;
    m_short = isShort;
    g_shortClocks += isShort ? 1 : -1;
    askForWakeUps();
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
    const bool runs = m_enabled && m_interval > 0 && !g_manual;
    if (runs)
        m_clock.start(m_interval);
    else
        m_clock.stop();
    setShort(runs && m_interval < kShortInterval);
}

}  // namespace ui
