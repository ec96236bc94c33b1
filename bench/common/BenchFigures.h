#pragma once

// Figures shared by the benchmarks: median and 95th percentile of a series, one printed row per
// series, the system ping as the floor of every TCP command, and arrival times from
// CLOCK_MONOTONIC stamps taken on both sides.

#include "platform/EventLoopDelay.h"
#include "platform/Reachability.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QVector>

#include <algorithm>
#include <cstdio>

namespace BenchFigures {

// Before the application object exists: headless unless a display is asked for, the staged
// program folder, and the loopback guard on for this process and every child it starts.
inline void prepareEnvironment(const char* defaultBinDir)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qgetenv("VEXILO_BIN_DIR").isEmpty())
        qputenv("VEXILO_BIN_DIR", defaultBinDir);
    qputenv("VEXILO_LOOPBACK_ONLY", "1");
}

struct Stats
{
    double median;
    double p95;
};

inline Stats statsOf(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) { return values.at(qMin(values.size() - 1, int(q * (values.size() - 1) + 0.5))); };
    return {at(0.5), at(0.95)};
}

// One row: the label padded to labelWidth, the count, median and p95 in ms.
inline void print(const char* what, int n, const Stats& s, int labelWidth)
{
    std::printf("%-*s n=%-4d median %9.3f ms   p95 %9.3f ms\n", labelWidth, what, n, s.median, s.p95);
}

// Prints why the benchmark stopped and gives the exit code.
inline int fail(const char* benchmark, const QString& why)
{
    std::fprintf(stderr, "%s: %s\n", benchmark, qPrintable(why));
    return 1;
}

// count pings of address in ms; false at the first unanswered one.
inline bool pingTimes(const QString& address, int count, QVector<double>* ms)
{
    for (int i = 0; i < count; ++i) {
        QElapsedTimer t;
        t.start();
        if (!ping(address, 3000))
            return false;
        *ms << t.nsecsElapsed() / 1e6;
    }
    return true;
}

// ms from each local stamp (microseconds) to the device's stamp of the same command.
inline QVector<double> arrivalMs(const QList<QByteArray>& deviceMicros, const QVector<qint64>& sentMicros)
{
    QVector<double> ms;
    for (int i = 0; i < sentMicros.size() && i < deviceMicros.size(); ++i)
        ms << (deviceMicros.at(i).toLongLong() - sentMicros.at(i)) / 1000.0;
    return ms;
}

} // namespace BenchFigures
