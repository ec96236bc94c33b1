#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Sends one command to the matrix, with the arguments and result of CCHelper::sendData.
using CommandSender = std::function<bool(const QString& cmd, bool waitReply, QString& reply,
                                         QByteArray& replyBytes, bool latin1)>;

// CCHelper::instance()->sendData as a plain function, for classes that take a command sender.
bool linkSender(const QString& cmd, bool waitReply, QString& reply, QByteArray& replyBytes, bool latin1);
