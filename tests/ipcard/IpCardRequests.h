#pragma once

// Small helpers of the IP card tests: building requests and logging in.

#include "ipcard/link/DeviceToHisilicon.h"
#include "LoginRequestProto.pb.h"

#include <QByteArray>

namespace IpCardRequests {

inline _KIV_MSG_HEAD_T head(int msgClass, int msgCommand, const QByteArray& body, int bodyFormat = 0)
{
    _KIV_MSG_HEAD_T h;
    h.msgClass = quint8(msgClass);
    h.msgCommand = quint8(msgCommand);
    h.bodyFormat = quint8(bodyFormat);
    h.length = quint16(body.size());
    return h;
}

template <typename Message>
QByteArray bytesOf(const Message& message)
{
    return QByteArray::fromStdString(message.SerializeAsString());
}

inline int send(DeviceToHisilicon& link, int msgClass, int msgCommand, const QByteArray& body = QByteArray(),
                QByteArray* replyBody = nullptr, int bodyFormat = 0, _KIV_MSG_HEAD_T* replyHead = nullptr)
{
    return link.sendData(head(msgClass, msgCommand, body, bodyFormat), body, replyHead, replyBody);
}

inline int login(DeviceToHisilicon& link, const char* user = "admin", const char* password = "quelt")
{
    com::kiv::protobuf::LoginRequest request;
    request.set_username(user);
    request.set_password(password);
    return send(link, 1, 0, bytesOf(request));
}

} // namespace IpCardRequests
