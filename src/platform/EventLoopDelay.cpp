#include "platform/EventLoopDelay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>

namespace {

int s_running = 0;
bool s_ended = false;
// The loops of the passes that run now, innermost last.
QList<QEventLoop*> s_runningLoops;

// A pass's loop, counted and listed while it runs, so that endAll() can quit it.
class RunningLoop
{
public:
    explicit RunningLoop(QEventLoop* loop)
        : loop(loop)
    {
        s_runningLoops.append(loop);
    }
    ~RunningLoop() { s_runningLoops.removeOne(loop); }
    RunningLoop(const RunningLoop&) = delete;
    RunningLoop& operator=(const RunningLoop&) = delete;

private:
    PumpingWaits::Scope counted;
    QEventLoop* loop;
};

} // namespace

EventLoopPass::EventLoopPass()
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &eventLoop, &QEventLoop::quit);
}

bool EventLoopPass::run(int ms)
{
    if (s_ended)
        return false;
    const RunningLoop running(&eventLoop);
    timer.start(qMax(0, ms));
    // A loop started after QCoreApplication::exit() returns -1 at once, without running
    // anything; quit() and the timer end it with 0.
    const bool quitting = eventLoop.exec(QEventLoop::AllEvents) == -1;
    timer.stop();
    return !quitting && !s_ended;
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

namespace PumpingWaits {

int running()
{
    return s_running;
}

void endAll()
{
    s_ended = true;
    for (QEventLoop* loop : qAsConst(s_runningLoops))
        loop->quit();
}

bool ended()
{
    return s_ended;
}

void resume()
{
    s_ended = false;
}

void processPendingEvents()
{
    const Scope counted;
    QCoreApplication::processEvents();
}

Scope::Scope()
{
    ++s_running;
}

Scope::~Scope()
{
    --s_running;
}

} // namespace PumpingWaits
