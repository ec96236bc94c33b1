#pragma once

// While in scope, counts what would have gone to the log instead of passing it on: for checks that
// a device's traffic adds only a bounded amount to the log files.

#include <QMutex>
#include <QStringList>

class LogVolume
{
public:
    LogVolume()
    {
        QMutexLocker locker(&mutex);
        heads.clear();
        all.clear();
        characters = 0;
        previous = qInstallMessageHandler(&LogVolume::count);
    }
    ~LogVolume() { qInstallMessageHandler(previous); }

    // Empty while at most maxEntries entries hold marker in their first 80 characters and all of
    // them together hold at most maxChars characters; else what was counted.
    QString beyond(const QString& marker, int maxEntries, qint64 maxChars) const
    {
        QMutexLocker locker(&mutex);
        const int marked = heads.filter(marker).size();
        if (marked <= maxEntries && characters <= maxChars)
            return QString();
        return QStringLiteral("%1 entries of \"%2\", %3 characters").arg(marked).arg(marker).arg(characters);
    }

    // Every entry counted so far, whole.
    QStringList entries() const
    {
        QMutexLocker locker(&mutex);
        return all;
    }

private:
    static void count(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        QMutexLocker locker(&mutex);
        characters += text.size();
        heads << text.left(80);
        all << text;
    }

    static inline QMutex mutex;
    static inline qint64 characters = 0;
    static inline QStringList heads;
    static inline QStringList all;
    QtMessageHandler previous;
};
