#pragma once

// Proves that a dialling path asks the loopback guard before a test lets it near a private
// address: a listener on a loopback address that the guard is told to refuse. A path that
// bypassed the guard would land here, on this machine, instead of leaving it. Tests dial the trap
// first and try the private address only once the trap stayed untouched.

#include "platform/LoopbackGuard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>

class GuardTrap
{
public:
    explicit GuardTrap(const QString& host = QStringLiteral("127.0.0.9"))
        : trapHost(host)
    {
        listening = server.listen(QHostAddress(host), 0);
        LoopbackGuard::refuseAlsoForTesting(host);
    }
    ~GuardTrap() { LoopbackGuard::refuseAlsoForTesting(QString()); }

    bool isListening() const { return listening; }
    QString host() const { return trapHost; }
    quint16 port() const { return server.serverPort(); }

    // Whether anything connected within waitMs (events keep running meanwhile).
    bool wasDialled(int waitMs = 300)
    {
        QElapsedTimer timer;
        timer.start();
        while (!server.hasPendingConnections() && timer.elapsed() < waitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return server.hasPendingConnections();
    }

private:
    QString trapHost;
    QTcpServer server;
    bool listening = false;
};
