#include "TcpClientLink.h"

#include <QTcpSocket>

TcpClientLink::TcpClientLink(int id, QTcpSocket* s, QObject* parent) : ClientLink(id, parent), socket(s)
{
    socket->setParent(this);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, [this] { emit received(socket->readAll()); });
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        discardQueue();
        emit gone();
    });
}

void TcpClientLink::drop()
{
    discardQueue();
    socket->abort(); // emits disconnected() when it was connected
}

void TcpClientLink::writeNow(const QByteArray& bytes)
{
    if (socket->state() == QAbstractSocket::ConnectedState) {
        socket->write(bytes);
        socket->flush();
    }
}

qint64 TcpClientLink::bufferedBytes() const
{
    return socket->bytesToWrite();
}
