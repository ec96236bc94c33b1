#pragma once

// While in scope, keeps what would have gone to the log instead of passing it on: for checks that
// a device's traffic adds only a bounded amount to the log files.

#include <QMutex>
#include <QStringList>

class LogVolume
{
public:
    LogVolume()
    {
        QMutexLocker locker(&mutex);
        all.clear();
        previous = qInstallMessageHandler(&LogVolume::keep);
    }
    ~LogVolume() { qInstallMessageHandler(previous); }

    // Empty while at most maxEntries entries hold marker in their first 80 characters and all of
    // them together hold at most maxChars characters; else what was counted.
    QString beyond(const QString& marker, int maxEntries, qint64 maxChars) const
    {
        QMutexLocker locker(&mutex);
        int marked = 0;
        qint64 characters = 0;
        for (const QString& entry : all) {
            marked += entry.leftRef(80).contains(marker);
            characters += entry.size();
        }
        if (marked <= maxEntries && characters <= maxChars)
            return QString();
        return QStringLiteral("%1 entries of \"%2\", %3 characters").arg(marked).arg(marker).arg(characters);
    }

    QStringList entries() const
    {
        QMutexLocker locker(&mutex);
        return all;
    }

private:
    static void keep(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        QMutexLocker locker(&mutex);
        all << text;
    }

    static inline QMutex mutex;
    static inline QStringList all;
    QtMessageHandler previous;
};
