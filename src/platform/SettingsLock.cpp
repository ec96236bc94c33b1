#include "platform/SettingsLock.h"

#include <QDebug>
#include <QFile>
#include <QLockFile>

bool removeOwnerlessSettingsLock(const QString& settingsPath)
{
    const QString lockPath = settingsPath + QStringLiteral(".lock");
    if (!QFile::exists(lockPath))
        return false;
    QLockFile lock(lockPath);
    qint64 pid = 0;
    QString hostName;
    QString appName;
    if (lock.getLockInfo(&pid, &hostName, &appName))
        return false;
    if (!QFile::remove(lockPath))
        return false;
    qWarning().noquote() << QStringLiteral("已删除不属于任何进程的锁文件:") << lockPath;
    return true;
}
