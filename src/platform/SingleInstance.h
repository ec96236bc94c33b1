#pragma once

#include <QSharedMemory>
#include <QString>

#include <memory>

// Keeps a second copy of the program out through a named shared-memory segment. The segment is
// named by a file in the user's own runtime folder, so that copies of other users, and key files
// they leave in the shared temporary folder, never count. On Unix a copy that crashed leaves its
// segment behind; acquire() clears such a stale segment first, so a crash never locks out the
// next start.
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

    // The segment's native key: a file in the user's runtime folder named after key.
    static QString nativeKeyOf(const QString& key);

private:
    void clearOrphanedSegment() const;

    QString nativeKey;
    // Made afresh for every attempt: an object whose create() failed cannot create again.
    std::unique_ptr<QSharedMemory> memory;
};
