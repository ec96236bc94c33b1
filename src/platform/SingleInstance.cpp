#include "platform/SingleInstance.h"

SingleInstance::SingleInstance(const QString& key)
    : memory(key)
{
}

SingleInstance::Result SingleInstance::acquire()
{
    if (memory.isAttached())
        return Acquired;
    {
        // Attaching to and detaching from an orphaned segment destroys it; a segment of a
        // running copy survives because that copy stays attached.
        QSharedMemory probe(memory.key());
        if (probe.attach())
            probe.detach();
    }
    if (memory.create(1))
        return Acquired;
    return memory.error() == QSharedMemory::AlreadyExists ? AlreadyRunning : Failed;
}

void SingleInstance::release()
{
    if (memory.isAttached())
        memory.detach();
}
