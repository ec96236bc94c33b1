#include "platform/SingleInstance.h"

#include <QStandardPaths>

namespace {
std::unique_ptr<QSharedMemory> segmentFor(const QString& nativeKey)
{
    auto memory = std::make_unique<QSharedMemory>();
    memory->setNativeKey(nativeKey);
    return memory;
}
} // namespace

SingleInstance::SingleInstance(const QString& key)
    : nativeKey(nativeKeyOf(key))
{
}

QString SingleInstance::nativeKeyOf(const QString& key)
{
    // $XDG_RUNTIME_DIR, or a private folder that Qt makes for the user when it is not set.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QLatin1Char('/') + key
           + QStringLiteral(".instance");
}

SingleInstance::Result SingleInstance::acquire()
{
    if (memory && memory->isAttached())
        return Acquired;
    // The segment is named after the key file's inode, and the key file exists only once a
    // create() has made it: a segment that a crashed copy left under a removed key file answers
    // a new key file that reuses its inode. So a segment found by create() is cleared and
    // created once more; a running copy's survives the clearing.
    for (int attempt = 0; attempt < 2; ++attempt) {
        clearOrphanedSegment();
        memory = segmentFor(nativeKey);
        if (memory->create(1))
            return Acquired;
        if (memory->error() != QSharedMemory::AlreadyExists)
            return Failed;
    }
    return AlreadyRunning;
}

void SingleInstance::clearOrphanedSegment() const
{
    // Attaching to and detaching from an orphaned segment destroys it; a segment of a running
    // copy survives because that copy stays attached.
    const auto probe = segmentFor(nativeKey);
    if (probe->attach())
        probe->detach();
}

void SingleInstance::release()
{
    if (memory && memory->isAttached())
        memory->detach();
}
