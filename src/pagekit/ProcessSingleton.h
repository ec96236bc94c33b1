#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QPointer>

// The one instance of a page or window, built on first use with no parent. The pointer is
// guarded so that a page deleted with its owner (the main window's page stack) is built afresh
// on the next call instead of being handed out dangling.
template <typename T>
class ProcessSingleton
{
public:
    static T* instance()
    {
        if (!pointer) {
            static QMutex mutex;
            QMutexLocker locker(&mutex);
            if (!pointer)
                pointer = new T();
        }
        return pointer.data();
    }

    static bool exists() { return !pointer.isNull(); }

private:
    static inline QPointer<T> pointer;
};
