#pragma once

// Memory figures of a process from /proc, for checks that it stays bounded.

#include <QFile>
#include <QString>

// A field of /proc/PID/status in KiB ("VmRSS" resident now, "VmHWM" the most so far); -1 when
// unknown. pid 0: this process.
inline qint64 processMemoryKib(qint64 pid, const QByteArray& field)
{
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).simplified().split(' ').value(0).toLongLong();
    }
    return -1;
}
