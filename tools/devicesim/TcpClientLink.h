#pragma once

#include "ClientLink.h"

class QTcpSocket;

class TcpClientLink : public ClientLink
{
    Q_OBJECT
public:
    TcpClientLink(int id, QTcpSocket* socket, QObject* parent = nullptr);

    void drop() override;

protected:
    void writeNow(const QByteArray& bytes) override;
    qint64 bufferedBytes() const override;

private:
    QTcpSocket* socket;
};
