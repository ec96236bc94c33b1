#include "CardFrame.h"

#include <QDataStream>
#include <QIODevice>

QByteArray CardFrameHead::encode() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << requestId << msgClass << msgCommand << result << bodyFormat << length << reserved;
    return bytes;
}

CardFrameHead CardFrameHead::decode(const char* bytes)
{
    QDataStream in(QByteArray::fromRawData(bytes, Size));
    in.setByteOrder(QDataStream::LittleEndian);
    CardFrameHead head;
    in >> head.requestId >> head.msgClass >> head.msgCommand >> head.result >> head.bodyFormat
        >> head.length >> head.reserved;
    return head;
}

namespace CardBytes {

quint16 bigEndian16(const char* in)
{
    return quint16((quint8(in[0]) << 8) | quint8(in[1]));
}

quint32 bigEndian32(const char* in)
{
    return (quint32(quint8(in[0])) << 24) | (quint32(quint8(in[1])) << 16)
           | (quint32(quint8(in[2])) << 8) | quint32(quint8(in[3]));
}

void appendBigEndian16(QByteArray& out, quint16 value)
{
    out.append(char(value >> 8));
    out.append(char(value & 0xFF));
}

void appendBigEndian32(QByteArray& out, quint32 value)
{
    appendBigEndian16(out, quint16(value >> 16));
    appendBigEndian16(out, quint16(value & 0xFFFF));
}

} // namespace CardBytes
