#pragma once

// Takes over the message handler while in scope and counts what would have gone to the log:
// entries and characters, without passing them on. For checks that a device's traffic adds only
// a bounded amount to the log files.

#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class LogVolume
{
public:
    LogVolume()
    {
        instance() = this;
        previous = qInstallMessageHandler(&LogVolume::handler);
    }
    ~LogVolume()
    {
        qInstallMessageHandler(previous);
        instance() = nullptr;
    }
    LogVolume(const LogVolume&) = delete;
    LogVolume& operator=(const LogVolume&) = delete;

    qint64 characters() const
    {
        QMutexLocker locker(&mutex);
        return chars;
    }
    // Entries whose start (the first 80 characters) holds marker.
    int entries(const QString& marker) const
    {
        QMutexLocker locker(&mutex);
        return heads.filter(marker).size();
    }

private:
    static LogVolume*& instance()
    {
        static LogVolume* current = nullptr;
        return current;
    }
    static void handler(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        LogVolume* self = instance();
        if (!self)
            return;
        QMutexLocker locker(&self->mutex);
        self->chars += text.size();
        self->heads << text.left(80);
    }

    mutable QMutex mutex;
    qint64 chars = 0;
    QStringList heads;
    QtMessageHandler previous = nullptr;
};
