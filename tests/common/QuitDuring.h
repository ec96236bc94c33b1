#pragma once

// Runs a piece of work inside the application's event loop and asks the application to exit
// while it runs, as the settings menu's exit does from inside a wait: for checks that a wait
// ends once the application is quitting.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

// Milliseconds that work went on after the exit was asked for, exitAfterMs into it; -1 when it
// ended before.
inline qint64 msRunAfterExit(int exitAfterMs, const std::function<void()>& work)
{
    QElapsedTimer sinceExit;
    qint64 after = -1;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(exitAfterMs, [&sinceExit] {
            sinceExit.start();
            QCoreApplication::exit(0);
        });
        work();
        after = sinceExit.isValid() ? sinceExit.elapsed() : -1;
    });
    QCoreApplication::exec();
    return after;
}
