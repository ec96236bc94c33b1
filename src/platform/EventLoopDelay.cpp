#include "platform/EventLoopDelay.h"

#include <QElapsedTimer>

EventLoopPass::EventLoopPass()
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &eventLoop, &QEventLoop::quit);
}

bool EventLoopPass::run(int ms)
{
    timer.start(qMax(0, ms));
    // A loop started after QCoreApplication::exit() returns -1 at once, without running
    // anything; quit() and the timer end it with 0.
    const bool quitting = eventLoop.exec(QEventLoop::AllEvents) == -1;
    timer.stop();
    return !quitting;
}

bool delayMs(int ms)
{
    if (ms <= 0)
        return true;
    // A monotonic clock: the time of day jumps at midnight and when the clock is set.
    QElapsedTimer elapsed;
    elapsed.start();
    EventLoopPass pass;
    for (qint64 remaining = ms; remaining > 0; remaining = ms - elapsed.elapsed()) {
        if (!pass.run(int(qMin<qint64>(remaining, 100))))
            return false;
    }
    return true;
}
