#include "ipcard/link/KivMsgHead.h"

namespace {

void putLittleEndian(char* out, quint64 value, int width)
{
    for (int i = 0; i < width; ++i)
        out[i] = char((value >> (8 * i)) & 0xFF);
}

quint64 takeLittleEndian(const char* in, int width)
{
    quint64 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | quint8(in[i]);
    return value;
}

} // namespace

QByteArray _KIV_MSG_HEAD_T::toBytes() const
{
    QByteArray bytes(Size, '\0');
    char* out = bytes.data();
    putLittleEndian(out, requestId, 8);
    out[8] = char(msgClass);
    out[9] = char(msgCommand);
    out[10] = char(result);
    out[11] = char(bodyFormat);
    putLittleEndian(out + 12, length, 2);
    putLittleEndian(out + 14, reserved, 2);
    return bytes;
}

bool _KIV_MSG_HEAD_T::fromBytes(const QByteArray& bytes, _KIV_MSG_HEAD_T* head)
{
    if (!head || bytes.size() < Size)
        return false;
    const char* in = bytes.constData();
    head->requestId = takeLittleEndian(in, 8);
    head->msgClass = quint8(in[8]);
    head->msgCommand = quint8(in[9]);
    head->result = quint8(in[10]);
    head->bodyFormat = quint8(in[11]);
    head->length = quint16(takeLittleEndian(in + 12, 2));
    head->reserved = quint16(takeLittleEndian(in + 14, 2));
    return true;
}
