#pragma once

#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <ctime>

// What the benchmarks and the look tools share.
namespace Misure {

// Headless unless QT_QPA_PLATFORM says otherwise; before the application object is made.
inline void offscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The number given as argument `i`, or `predefinito` where it is missing or not above zero.
inline int numero(int i, int predefinito)
{
    const int n = QCoreApplication::arguments().value(i).toInt();
    return n > 0 ? n : predefinito;
}

// Milliseconds `f` takes on the wall clock.
template <typename F>
double ms(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

// Processor time in milliseconds: the whole program's (Qt scales large pictures on threads of its own)
// or, with CLOCK_THREAD_CPUTIME_ID, the calling thread's.
inline double cpuMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// The value at rank q (0 the least, 1 the most) of `v`; 0 for none.
inline double quantile(QList<double> v, double q)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min<qsizetype>(v.size() - 1, qsizetype(q * (v.size() - 1) + 0.5))];
}

// Median milliseconds of `volte` runs of a program, its output sent to `uscita`; -1 where a run fails.
inline double msProcesso(const QString& programma, const QStringList& args, int volte, const QString& uscita = {})
{
    QList<double> tempi;
    for (int i = 0; i < volte; ++i) {
        QProcess p;
        p.setStandardOutputFile(uscita.isEmpty() ? QProcess::nullDevice() : uscita);
        bool finito = false;
        tempi << ms([&] {
            p.start(programma, args);
            finito = p.waitForFinished(120000);
        });
        if (!finito || p.exitCode() != 0)
            return -1;
    }
    return TestSupport::median(tempi);
}

using TestSupport::menu;

}  // namespace Misure
