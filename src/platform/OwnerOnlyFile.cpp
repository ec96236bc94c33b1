#include "platform/OwnerOnlyFile.h"

#include <QFile>

bool makeOwnerOnly(const QString& path)
{
    QFile file(path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly))
        return false;
    file.close();
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool restrictToOwner(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return false;
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions now = file.permissions();
    return !(now & others) || file.setPermissions(now & ~others);
}
