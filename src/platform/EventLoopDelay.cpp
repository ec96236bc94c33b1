#include "platform/EventLoopDelay.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void delayMs(int ms)
{
    if (ms <= 0)
        return;
    // A monotonic clock: the time of day jumps at midnight and when the clock is set.
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 remaining = ms;
    while (remaining > 0) {
        QEventLoop loop;
        QTimer::singleShot(int(qMin<qint64>(remaining, 100)), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec(QEventLoop::AllEvents);
        remaining = ms - elapsed.elapsed();
    }
}
