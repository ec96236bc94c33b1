#pragma once

#include <QSharedMemory>
#include <QString>

// Keeps a second copy of the program out through a named shared-memory segment. On Unix a
// copy that crashed leaves its segment behind; acquire() clears such a stale segment first,
// so a crash never locks out the next start.
class SingleInstance
{
public:
    explicit SingleInstance(const QString& key);

    enum Result { Acquired, AlreadyRunning, Failed };

    // Creates the segment. AlreadyRunning when another live copy holds it; Failed when the
    // segment cannot be created for another reason.
    Result acquire();

    // Gives the segment up (also done on destruction).
    void release();

private:
    QSharedMemory memory;
};
