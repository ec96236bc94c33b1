#include "platform/EventLoopDelay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>

namespace {

int s_running = 0;
bool s_ended = false;
// The loops of the passes that run now, innermost last.
QList<QEventLoop*> s_runningLoops;
// The counted waits that end in a way of their own.
QList<PumpingWaits::Scope*> s_endableScopes;

// A pass's loop, counted while it runs and, when endAll() is to quit it, listed.
class RunningLoop
{
public:
    RunningLoop(QEventLoop* loop, bool listed)
        : loop(listed ? loop : nullptr)
    {
        if (this->loop)
            s_runningLoops.append(loop);
    }
    ~RunningLoop()
    {
        if (loop)
            s_runningLoops.removeOne(loop);
    }
    RunningLoop(const RunningLoop&) = delete;
    RunningLoop& operator=(const RunningLoop&) = delete;

private:
    PumpingWaits::Scope counted;
    QEventLoop* loop;
};

} // namespace

EventLoopPass::EventLoopPass(EndedWithTheWaits ended)
    : endedWithTheWaits(ended == EndedWithTheWaits::Yes)
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &eventLoop, &QEventLoop::quit);
}

bool EventLoopPass::run(int ms)
{
    if (endedWithTheWaits && s_ended)
        return false;
    const RunningLoop running(&eventLoop, endedWithTheWaits);
    timer.start(qMax(0, ms));
    // A loop started after QCoreApplication::exit() returns -1 at once, without running
    // anything; quit() and the timer end it with 0.
    const bool quitting = eventLoop.exec(QEventLoop::AllEvents) == -1;
    timer.stop();
    return !quitting && !(endedWithTheWaits && s_ended);
}

namespace {

bool runEventsFor(int ms, EventLoopPass::EndedWithTheWaits ended)
{
    if (ms <= 0)
        return true;
    // A monotonic clock: the time of day jumps at midnight and when the clock is set.
    QElapsedTimer elapsed;
    elapsed.start();
    EventLoopPass pass(ended);
    for (qint64 remaining = ms; remaining > 0; remaining = ms - elapsed.elapsed()) {
        if (!pass.run(int(qMin<qint64>(remaining, 100))))
            return false;
    }
    return true;
}

} // namespace

bool delayMs(int ms)
{
    return runEventsFor(ms, EventLoopPass::EndedWithTheWaits::Yes);
}

bool settleMs(int ms)
{
    return runEventsFor(ms, EventLoopPass::EndedWithTheWaits::No);
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
    // An ending may run events; what it ends leaves the list meanwhile.
    const QList<Scope*> endable = s_endableScopes;
    for (Scope* scope : endable) {
        if (s_endableScopes.contains(scope))
            scope->end();
    }
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

Scope::Scope(std::function<void()> end)
    : end(std::move(end))
{
    ++s_running;
    if (this->end)
        s_endableScopes.append(this);
}

Scope::~Scope()
{
    s_endableScopes.removeOne(this);
    --s_running;
}

} // namespace PumpingWaits
