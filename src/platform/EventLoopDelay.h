#pragma once

#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs the event loop in passes: until quit() is called on loop() (a signal wired to it), or a
// pass's time is up. One loop and one timer serve a whole wait, so a wait allocates nothing per
// pass, however many passes it makes.
class EventLoopPass
{
public:
    // Whether PumpingWaits::endAll() ends the passes: Yes for a wait whose end nobody needs once
    // the console leaves, No for what has begun and must finish (the rest of an answer).
    enum class EndedWithTheWaits { Yes, No };

    explicit EventLoopPass(EndedWithTheWaits ended = EndedWithTheWaits::Yes);
    EventLoopPass(const EventLoopPass&) = delete;
    EventLoopPass& operator=(const EventLoopPass&) = delete;

    QEventLoop* loop() { return &eventLoop; }
    // Runs events for at most ms. False when the application is quitting (once exit() was
    // called every nested event loop returns at once, so a caller that went on would only spin)
    // and, unless built with EndedWithTheWaits::No, once the waits were ended
    // (PumpingWaits::endAll). A pass during which exit() is called ends then and returns true;
    // the next returns false.
    bool run(int ms);

private:
    bool endedWithTheWaits;
    QEventLoop eventLoop;
    QTimer timer;
};

// Waits ms milliseconds while the event loop keeps running: slots may run re-entrantly.
// False when the wait ended early because the application is quitting or the waits were ended.
bool delayMs(int ms);
// The same for what has begun and must finish, such as the rest of an answer: ending the waits
// does not cut it short (it is still counted as one), only quitting does.
bool settleMs(int ms);

// The console's own code that runs events from inside a call: the waits above and the places
// that process pending events once. While any of it runs, a function beneath it on the stack
// has still to return, so nothing it uses may be deleted meanwhile.
namespace PumpingWaits {

// How many run now, nested ones counted.
int running();
// Ends every wait that runs and makes later ones return at once, as quitting does: for a
// confirmed exit, when nothing the console still waits for is worth the wait. A counted wait
// with an ending of its own (an open box) is ended by it.
void endAll();
bool ended();
// Waits wait again (a new main window in the same process).
void resume();
// QCoreApplication::processEvents(), counted as a wait.
void processPendingEvents();

// Counts as a wait for as long as it lives: a modal box's exec(), for one. end, when given, is
// how endAll() ends it.
class Scope
{
public:
    explicit Scope(std::function<void()> end = {});
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    std::function<void()> end;
    friend void endAll();
};

} // namespace PumpingWaits
