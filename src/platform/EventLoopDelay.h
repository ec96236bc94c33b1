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
    // Runs events for at most ms. False when the application is quitting: once exit() was
    // called every nested event loop returns at once, so a caller that went on would only spin.
    // A pass during which exit() is called ends then and returns true; the next returns false.
    bool run(int ms);

private:
    QEventLoop eventLoop;
    QTimer timer;
};

// Waits ms milliseconds while the event loop keeps running: slots may run re-entrantly.
// False when the wait ended early because the application is quitting.
bool delayMs(int ms);
