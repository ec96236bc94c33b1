#include "ipcard/panel/IpCardCall.h"

namespace IpCardCall {

IpLinkResult request(DeviceToHisilicon* link, quint8 msgClass, quint8 msgCommand, const QByteArray& body,
                     QByteArray* replyBody, quint8 bodyFormat)
{
    if (!link)
        return IpLinkCode::NotConnected;
    _KIV_MSG_HEAD_T head;
    head.msgClass = msgClass;
    head.msgCommand = msgCommand;
    head.bodyFormat = bodyFormat;
    // A body too long for the field goes out with a length that disagrees with it, which the
    // link refuses without sending.
    head.length = quint16(qMin(body.size(), MaxBodySize + 1));
    return link->sendData(head, body, nullptr, replyBody);
}

QByteArray bytesOf(const google::protobuf::MessageLite& message)
{
    return QByteArray::fromStdString(message.SerializeAsString());
}

bool parse(const QByteArray& bytes, google::protobuf::MessageLite* message)
{
    return message->ParseFromArray(bytes.constData(), bytes.size());
}

} // namespace IpCardCall
