#pragma once

#include <QByteArray>
#include <QtGlobal>

// Fixed header in front of every IP card request and reply: 16 bytes, little-endian.
// The wire form is written field by field, never by copying the struct, so host layout
// and byte order do not matter.
struct _KIV_MSG_HEAD_T
{
    quint64 requestId = 0;   // ms since the epoch when sent; echoed by the card
    quint8 msgClass = 0;     // KivMsgClass
    quint8 msgCommand = 0;
    quint8 result = 0;       // 0 in requests; 1 = success in replies, else the card's error code
    quint8 bodyFormat = 0;   // KivBodyFormatRaw for the few raw-byte bodies
    quint16 length = 0;      // body bytes that follow the header
    quint16 reserved = 0;

    static constexpr int Size = 16;

    QByteArray toBytes() const;
    // Reads the first Size bytes of bytes; false (head untouched) when there are fewer.
    static bool fromBytes(const QByteArray& bytes, _KIV_MSG_HEAD_T* head);
};

namespace KivMsgClass {
constexpr quint8 Login = 1;
constexpr quint8 Action = 2;
constexpr quint8 Query = 3;
constexpr quint8 Set = 4;
constexpr quint8 Heartbeat = 0xFD;
} // namespace KivMsgClass

// bodyFormat of the requests 2/3, 3/4 and 3/8, whose bodies are raw bytes.
constexpr quint8 KivBodyFormatRaw = 2;
