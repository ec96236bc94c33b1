#pragma once

// The simulated card's own reading and writing of the 16-byte little-endian frame header,
// kept apart from the console's code so that each side checks the other.

#include <QByteArray>
#include <QtGlobal>

struct CardFrameHead
{
    quint64 requestId = 0;
    quint8 msgClass = 0;
    quint8 msgCommand = 0;
    quint8 result = 0;
    quint8 bodyFormat = 0;
    quint16 length = 0;
    quint16 reserved = 0;

    static constexpr int Size = 16;

    QByteArray encode() const;
    static CardFrameHead decode(const char* bytes);   // reads Size bytes
};

namespace CardBytes {
quint16 bigEndian16(const char* in);
quint32 bigEndian32(const char* in);
void appendBigEndian16(QByteArray& out, quint16 value);
void appendBigEndian32(QByteArray& out, quint32 value);
} // namespace CardBytes
