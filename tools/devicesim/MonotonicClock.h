#pragma once

#include <QtGlobal>
#include <time.h>

// System-wide monotonic time, comparable between processes on one machine.
namespace MonotonicClock {
inline qint64 micros()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}
} // namespace MonotonicClock
