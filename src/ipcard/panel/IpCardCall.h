#pragma once

// One request of the panel's pages to an IP card: header filled from class, command and body,
// protobuf bodies serialised and parsed. A missing link reads as a link that is not connected.

#include "ipcard/link/DeviceToHisilicon.h"

#include <QByteArray>

#include <google/protobuf/message_lite.h>

namespace IpCardCall {

// The header's length field is 16 bits wide: no body may be longer.
constexpr int MaxBodySize = 0xFFFF;

IpLinkResult request(DeviceToHisilicon* link, quint8 msgClass, quint8 msgCommand,
                     const QByteArray& body = QByteArray(), QByteArray* replyBody = nullptr,
                     quint8 bodyFormat = 0);

QByteArray bytesOf(const google::protobuf::MessageLite& message);
// False when the bytes do not parse; the message then holds what parsed before the fault.
bool parse(const QByteArray& bytes, google::protobuf::MessageLite* message);

} // namespace IpCardCall
