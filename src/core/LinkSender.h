#pragma once

#include <QByteArray>
#include <QString>

// CCHelper::instance()->sendData as a plain function, for classes that take a command sender.
bool linkSender(const QString& cmd, bool waitReply, QString& reply, QByteArray& replyBytes, bool latin1);
