#include "platform/Reachability.h"

#include "platform/LoopbackGuard.h"
#include "platform/SystemPing.h"

#include <QTcpSocket>

bool ping(const QString& ip, int timeoutMs)
{
    return SystemPing::ping(ip, timeoutMs);
}

bool checkTcpConnect(const QString& host, quint16 port, int timeoutMs)
{
    if (!LoopbackGuard::mayDial(host, "reachability test"))
        return false;
    QTcpSocket socket;
    socket.abort();
    socket.connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    return socket.waitForConnected(timeoutMs);
}
