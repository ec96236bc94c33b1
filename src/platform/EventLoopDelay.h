#pragma once

#include <QEventLoop>
#include <QTimer>

// Runs the event loop in passes: until quit() is called on loop() (a signal wired to it), or a
// pass's time is up. One loop and one timer serve a whole wait, so a wait allocates nothing per
// pass, however many passes it makes.
class EventLoopPass
{
public:
    EventLoopPass();
    EventLoopPass(const EventLoopPass&) = delete;
    EventLoopPass& operator=(const EventLoopPass&) = delete;

    QEventLoop* loop() { return &eventLoop; }
    // Runs events for at most ms. False when the application is quitting (once exit() was
    // called every nested event loop returns at once, so a caller that went on would only spin)
    // and once the waits were ended (PumpingWaits::endAll). A pass during which exit() is
    // called ends then and returns true; the next returns false.
    bool run(int ms);

private:
    QEventLoop eventLoop;
    QTimer timer;
};

// Waits ms milliseconds while the event loop keeps running: slots may run re-entrantly.
// False when the wait ended early because the application is quitting or the waits were ended.
bool delayMs(int ms);

// The console's own code that runs events from inside a call: the waits above and the places
// that process pending events once. While any of it runs, a function beneath it on the stack
// has still to return, so nothing it uses may be deleted meanwhile.
namespace PumpingWaits {

// How many run now, nested ones counted.
int running();
// Ends every wait that runs and makes later ones return at once, as quitting does: for a
// confirmed exit, when nothing the console still waits for is worth the wait.
void endAll();
bool ended();
// Waits wait again (a new main window in the same process).
void resume();
// QCoreApplication::processEvents(), counted as a wait.
void processPendingEvents();

// Counts as a wait for as long as it lives: a modal box's exec(), for one.
class Scope
{
public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

} // namespace PumpingWaits
