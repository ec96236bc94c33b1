#pragma once

// The floor of the firmware-upload benchmarks: the same frames as the console sends (start 2/4,
// chunks 2/3 of 10240 bytes numbered down to 0, end 2/5), over a bare socket with one write and
// one blocking read per frame. What card and loopback cost alone.

#include "ipcard/link/KivMsgHead.h"
#include "platform/LoopbackGuard.h"

#include "LoginRequestProto.pb.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTcpSocket>

namespace RawCardUpload {

constexpr int ChunkSize = 10240;

inline QByteArray bigEndian(quint32 value, int width)
{
    QByteArray bytes;
    for (int i = width - 1; i >= 0; --i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

inline _KIV_MSG_HEAD_T headFor(int msgClass, int msgCommand, const QByteArray& body, int bodyFormat = 0)
{
    _KIV_MSG_HEAD_T head;
    head.msgClass = quint8(msgClass);
    head.msgCommand = quint8(msgCommand);
    head.bodyFormat = quint8(bodyFormat);
    head.length = quint16(body.size());
    return head;
}

inline QByteArray loginBody()
{
    com::kiv::protobuf::LoginRequest login;
    login.set_username("admin");
    login.set_password("quelt");
    return QByteArray::fromStdString(login.SerializeAsString());
}

inline QByteArray startBody(const char* name, int fileSize)
{
    return QByteArray(name) + bigEndian(quint32(fileSize), 4);
}

inline QByteArray chunkBody(const QByteArray& file, int index, int count)
{
    const QByteArray data = file.mid(index * ChunkSize, ChunkSize);
    return bigEndian(quint32(count - 1 - index), 2) + bigEndian(quint32(data.size()), 2) + data;
}

// One frame out, one reply in; false when the reply does not come.
inline bool exchange(QTcpSocket& socket, int msgClass, int msgCommand, const QByteArray& body, int bodyFormat,
                     int* result)
{
    socket.write(headFor(msgClass, msgCommand, body, bodyFormat).toBytes() + body);
    while (socket.bytesAvailable() < _KIV_MSG_HEAD_T::Size) {
        if (!socket.waitForReadyRead(6000))
            return false;
    }
    _KIV_MSG_HEAD_T reply;
    _KIV_MSG_HEAD_T::fromBytes(socket.read(_KIV_MSG_HEAD_T::Size), &reply);
    while (socket.bytesAvailable() < reply.length) {
        if (!socket.waitForReadyRead(6000))
            return false;
    }
    socket.read(reply.length);
    *result = reply.result;
    return true;
}

struct Result
{
    qint64 ms = -1;
    int endResult = 0;
};

// Logs in and uploads file as "raw.bin" to the card at host:port.
inline Result upload(const QString& host, quint16 port, const QByteArray& file)
{
    Result run;
    QTcpSocket socket;
    if (!LoopbackGuard::mayDial(host, "benchmark"))
        return run;
    socket.connectToHost(host, port);
    if (!socket.waitForConnected(6000))
        return run;
    int result = 0;
    if (!exchange(socket, 1, 0, loginBody(), 0, &result) || result != 1)
        return run;
    const int count = (file.size() + ChunkSize - 1) / ChunkSize;
    QElapsedTimer clock;
    clock.start();
    if (!exchange(socket, 2, 4, startBody("raw.bin", file.size()), 0, &result) || result != 1)
        return run;
    for (int i = 0; i < count; ++i) {
        if (!exchange(socket, 2, 3, chunkBody(file, i, count), 2, &result) || result != 1)
            break;
    }
    if (exchange(socket, 2, 5, QByteArray(), 0, &result))
        run.endResult = result;
    run.ms = clock.elapsed();
    return run;
}

} // namespace RawCardUpload
