#pragma once

// One simulated IP card: a TCP server on a loopback address that frames requests, lets the
// protocol answer them and applies the faults set through the control port.

#include "CardFault.h"
#include "CardFrame.h"
#include "IpCardProtocol.h"

#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

class SimulatedIpCard : public QObject
{
    Q_OBJECT
public:
    explicit SimulatedIpCard(const QHostAddress& address, QObject* parent = nullptr);

    bool listen(quint16 port, QString* error);
    QHostAddress address() const { return cardAddress; }
    quint16 port() const { return server.serverPort(); }

    void addFault(const CardFault& fault) { faults.append(fault); }
    void clearFaults() { faults.clear(); }
    // The state of a new card, firmware included.
    void factoryReset() { protocol.factoryReset(true); }
    // Drops every connection now, in order or with a TCP reset.
    void dropConnections(bool withReset);

    // Protocol state plus connections and request counts, as "key=value" pairs.
    QByteArray describe() const;
    // Decoder views and pan-tilt requests, see IpCardProtocol.
    QByteArray describeViews() const { return protocol.describeViews(); }
    QByteArray describePtz() const { return protocol.describePtz(); }
    void forgetPtz() { protocol.forgetPtz(); }
    bool forceAppliedView(int output, int view) { return protocol.forceAppliedView(output, view); }
    // The last count requests received, oldest first: "<class>/<command>@<ms since epoch>".
    QByteArray recentRequests(int count) const;

private:
    struct Session
    {
        QByteArray pending;
        bool loggedIn = false;
    };
    struct Seen
    {
        int msgClass;
        int msgCommand;
        qint64 atMs;
    };

    void onNewConnection();
    void onReadable(QTcpSocket* socket);
    void process(QTcpSocket* socket, const CardFrameHead& head, const QByteArray& body);
    // Runs the first matching fault; true when it took the place of the request.
    bool takeFault(const CardFrameHead& head, CardFault* fault);
    void deliver(QTcpSocket* socket, const QByteArray& bytes, int delayMs, bool closeAfter);

    QHostAddress cardAddress;
    QTcpServer server;
    IpCardProtocol protocol;
    QHash<QTcpSocket*, Session> sessions;
    QList<CardFault> faults;
    QList<Seen> seen;
    int heartbeats = 0;
    int requests = 0;
};
