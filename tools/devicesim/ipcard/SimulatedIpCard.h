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
    static constexpr int DefaultDowntimeMs = 3000;

    explicit SimulatedIpCard(const QHostAddress& address, QObject* parent = nullptr);
    ~SimulatedIpCard() override;

    bool listen(quint16 port, QString* error);
    // Drops every connection and answers on another address (same port) from now on. False,
    // with the card staying where it was, when that address cannot be taken.
    bool moveTo(const QHostAddress& address);
    // How long a restart (restart, factory reset, finished upgrade) leaves the card unreachable.
    void setDowntime(int ms) { downtimeMs = ms; }
    void setKeepSavedFields(bool keep) { protocol.setKeepSavedFields(keep); }
    void setLogEntries(int count) { protocol.setLogEntries(count); }
    void fillLogToReplyLimit() { protocol.fillLogToReplyLimit(); }
    void breakFirstSourceName() { protocol.breakFirstSourceName(); }
    QHostAddress address() const { return cardAddress; }
    // The address the card started on; it may have moved since.
    QHostAddress homeAddress() const { return home; }
    quint16 port() const { return server.serverPort(); }

    void addFault(const CardFault& fault) { faults.append(fault); }
    void clearFaults() { faults.clear(); }
    // The state of a new card, firmware included, up and on its first address.
    void factoryReset();
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

signals:
    // The card moved itself to another address (its network settings were saved).
    void moved(const QHostAddress& from, const QHostAddress& to);

private:
    struct Session
    {
        QByteArray pending;
        bool loggedIn = false;
        bool holding = false;   // a late body is still to come: later requests wait for it
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
    void refuseWithLateBody(QTcpSocket* socket, const CardFrameHead& head, int ms);
    void babble(QTcpSocket* socket, const CardFrameHead& head, int ms);
    // Drops every connection, stops listening for the downtime, then listens again.
    void reboot();
    bool canListenOn(const QHostAddress& address) const;

    QHostAddress cardAddress;
    QHostAddress home;
    QTcpServer server;
    IpCardProtocol protocol;
    QHash<QTcpSocket*, Session> sessions;
    QList<CardFault> faults;
    QList<Seen> seen;
    int heartbeats = 0;
    int requests = 0;
    int downtimeMs = DefaultDowntimeMs;
    bool down = false;
    int boots = 0;   // tells a pending end of a downtime whether it is still the current one
    quint16 listenPort = 0;
};
