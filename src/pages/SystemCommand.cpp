#include "SystemCommand.h"

#include "CCHelper.h"
#include "PublicClass.h"

namespace SystemCommand {

QString build(const QString& key, const QList<int>& numbers)
{
    QString text = getCommand(PublicClass::eCARD_TYPE_SYSTEM, QStringLiteral("COMMAND"), key);
    for (int n : numbers)
        text = text.arg(n);
    return text;
}

bool send(const QString& key, const QList<int>& numbers, bool waitReply)
{
    QString reply;
    QByteArray replyBytes;
    return CCHelper::instance()->sendData(build(key, numbers), waitReply, reply, replyBytes, false);
}

} // namespace SystemCommand
