#pragma once

#include "ipcard/link/IpLinkResult.h"
#include "ipcard/link/KivMsgHead.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QDeadlineTimer;
class QTcpSocket;
class QTimer;

// One TCP link to the network processor of an IP input card. Every request is one blocking
// call of sendData: header, optional body, then a wait for the one reply that matches it.
// An idle link sends a heartbeat every 3000 ms; three missed heartbeats close it.
class DeviceToHisilicon : public QObject
{
    Q_OBJECT
public:
    static constexpr int HeartbeatIntervalMs = 3000;
    static constexpr int HeartbeatReplyWaitMs = 3000;
    static constexpr int LongReplyWaitMs = 120000;    // command 5: firmware end, log search
    static constexpr int ReplyWaitMs = 6000;
    static constexpr int ConnectWaitMs = 6000;
    static constexpr int ReadPassesWaitMs = 6000;     // event-handling passes for header or body
    static constexpr int EventPassMs = 100;
    static constexpr int MaxMissedHeartbeats = 3;

    explicit DeviceToHisilicon(QObject* parent = nullptr);
    ~DeviceToHisilicon() override;

    // Address of the last successful connectToDevice; empty before.
    QString ip() const { return deviceIp; }

    bool connectToDevice(const QString& ip, quint16 port);

    // One exchange. replyHead and replyBody may be null. Runs pending events while it waits
    // for the reply's bytes, so slots may run re-entrantly; a request made from such a slot on
    // the same link is refused with IpLinkCode::Busy and nothing is sent.
    IpLinkResult sendData(const _KIV_MSG_HEAD_T& head, const QByteArray& body,
                          _KIV_MSG_HEAD_T* replyHead, QByteArray* replyBody);

    // Milliseconds sendData waits for the first reply bytes of this request.
    static int replyWaitFor(const _KIV_MSG_HEAD_T& head);

signals:
    void disconnectSignal(QString ip);

public slots:
    void onReadReady();
    void onDisconnect();
    void deviceIsConnected();
    void sendHeadBeat();
    void closeConnect();

private:
    IpLinkResult exchange(const _KIV_MSG_HEAD_T& head, const QByteArray& body,
                          _KIV_MSG_HEAD_T* replyHead, QByteArray* replyBody);
    bool writeAll(const QByteArray& bytes, const char* failureText);
    bool waitForBytes(qint64 count, const QDeadlineTimer& deadline);
    void dropSocket();
    void restartHeartbeat();
    void stopHeartbeat();
    void unregister();
    void reportClosed();

    QTcpSocket* socket;
    QString deviceIp;
    QTimer* heartbeatTimer;
    int missedHeartbeats = 0;
    // True while an exchange waits for its reply: a second one would discard or take its bytes.
    bool exchanging = false;
    // Replies of the current exchange that did not answer it.
    int skippedReplies = 0;
    // True from a connection until its end has been reported; keeps the heartbeat from
    // running on, and disconnectSignal from being emitted twice, after a close.
    bool heartbeatArmed = false;
};
