#include "core/LinkSender.h"

#include "core/CCHelper.h"

bool linkSender(const QString& cmd, bool waitReply, QString& reply, QByteArray& replyBytes, bool latin1)
{
    return CCHelper::instance()->sendData(cmd, waitReply, reply, replyBytes, latin1);
}
