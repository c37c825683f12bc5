#pragma once

#include <QObject>
#include <QTimer>

namespace ui {

// A timer of a screen: an interval in milliseconds, enabled or not, and a tick. Under test the real
// clock is never started and the test fires the ticks by hand.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr);
    ~Timer() override;

    int interval() const { return m_interval; }
    void setInterval(int ms);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Runs one tick now, as the clock would (only while enabled, as the clock would).
    void fire();

    static void setManual(bool manual);  // for tests: no timer runs by itself
    static bool isManual();

signals:
    void tick();

private:
    void restart();
    void setShort(bool isShort);

    QTimer m_clock;
    int m_interval = 0;
    bool m_enabled = false;
    bool m_short = false;
};

}  // namespace ui
