#include "ipcard/link/DeviceToHisilicon.h"

#include "platform/EventLoopDelay.h"
#include "platform/LoopbackGuard.h"
#include "ipcard/link/OpenIpCardLinks.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDebug>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {

// Reply bytes the socket may hold unread: a reply of the largest length plus slack, so that a
// flooding peer cannot grow our memory while we wait.
constexpr qint64 ReadBufferLimit = 256 * 1024;

} // namespace

DeviceToHisilicon::DeviceToHisilicon(QObject* parent)
    : QObject(parent)
    , socket(new QTcpSocket)
    , heartbeatTimer(new QTimer(this))
{
    socket->setReadBufferSize(ReadBufferLimit);
    heartbeatTimer->setTimerType(Qt::PreciseTimer);
    heartbeatTimer->setInterval(HeartbeatIntervalMs);
    connect(heartbeatTimer, &QTimer::timeout, this, &DeviceToHisilicon::sendHeadBeat);
    connect(socket, &QTcpSocket::readyRead, this, &DeviceToHisilicon::onReadReady);
    connect(socket, &QTcpSocket::connected, this, &DeviceToHisilicon::deviceIsConnected);
}

DeviceToHisilicon::~DeviceToHisilicon()
{
    unregister();
    socket->disconnect(this);
    socket->abort();
    delete socket;
}

bool DeviceToHisilicon::connectToDevice(const QString& ip, quint16 port)
{
    // A new connection is a new session: not logged in, no misses carried over.
    stopHeartbeat();
    unregister();
    heartbeatArmed = false;
    missedHeartbeats = 0;
    dropSocket();
    if (!LoopbackGuard::mayDial(ip, "IP card link"))
        return false;
    socket->connectToHost(ip, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    if (!socket->waitForConnected(ConnectWaitMs)) {
        dropSocket();
        return false;
    }
    // Header and body go out as written: a request/reply protocol gains nothing from Nagle's
    // delay, which would hold each body back until the header's acknowledgement.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    deviceIp = ip;
    return true;
}

int DeviceToHisilicon::replyWaitFor(const _KIV_MSG_HEAD_T& head)
{
    if (head.msgClass == KivMsgClass::Heartbeat)
        return HeartbeatReplyWaitMs;
    if (head.msgCommand == 5)
        return LongReplyWaitMs;
    return ReplyWaitMs;
}

IpLinkResult DeviceToHisilicon::sendData(const _KIV_MSG_HEAD_T& head, const QByteArray& body,
                                         _KIV_MSG_HEAD_T* replyHead, QByteArray* replyBody)
{
    if (head.length != body.size())
        return IpLinkCode::LengthMismatch;
    if (socket->state() != QAbstractSocket::ConnectedState)
        return IpLinkCode::NotConnected;
    if (exchanging)
        return IpLinkCode::Busy;
    // Leaving: no request whose reply would be waited for.
    if (PumpingWaits::ended())
        return IpLinkCode::NotConnected;

    heartbeatTimer->stop();
    QPointer<DeviceToHisilicon> self(this);
    exchanging = true;
    skippedReplies = 0;
    const IpLinkResult result = exchange(head, body, replyHead, replyBody);
    if (self) {
        exchanging = false;
        if (skippedReplies > 1)
            qDebug() << "recv data-return mismatch, skipped in all:" << skippedReplies;
        restartHeartbeat();
    }
    return result;
}

IpLinkResult DeviceToHisilicon::exchange(const _KIV_MSG_HEAD_T& head, const QByteArray& body,
                                         _KIV_MSG_HEAD_T* replyHead, QByteArray* replyBody)
{
    QPointer<DeviceToHisilicon> self(this);

    // Bytes already here cannot answer a request not yet sent: leftovers of an earlier
    // exchange would otherwise be read as this reply's header.
    socket->readAll();

    _KIV_MSG_HEAD_T request = head;
    request.requestId = quint64(QDateTime::currentMSecsSinceEpoch());
    if (!writeAll(request.toBytes(), "send data-head fail:"))
        return IpLinkCode::SendFailed;
    if (request.length > 0 && !writeAll(body, "send data-body fail:"))
        return IpLinkCode::SendFailed;

    // One deadline for the reply's header, whatever the card sends meanwhile: the first bytes
    // within the reply wait, a header that answers this request within the read allowance after
    // it. Noise and replies to other requests are skipped, but never extend the wait.
    const int waitMs = replyWaitFor(request);
    const QDeadlineTimer firstBytesDeadline(waitMs, Qt::PreciseTimer);
    const QDeadlineTimer headerDeadline(waitMs + ReadPassesWaitMs, Qt::PreciseTimer);
    for (;;) {
        if (socket->bytesAvailable() == 0) {
            const qint64 left = firstBytesDeadline.remainingTime();
            // Blocks without running events: nothing else of the program runs here.
            if (left <= 0 || !socket->waitForReadyRead(int(left))) {
                qDebug() << "recv data-return timeout";
                return IpLinkCode::Timeout;
            }
        }
        if (!waitForBytes(_KIV_MSG_HEAD_T::Size, headerDeadline) || !self) {
            qDebug() << "recv data-return-head fail";
            return IpLinkCode::ReceiveFailed;
        }
        _KIV_MSG_HEAD_T reply;
        _KIV_MSG_HEAD_T::fromBytes(socket->read(_KIV_MSG_HEAD_T::Size), &reply);

        const bool matches = reply.msgClass == request.msgClass
                             && reply.requestId == request.requestId;
        if (!matches) {
            // A late reply to an earlier exchange (or a stray one): drop it with its body and
            // keep waiting for ours within the same reply wait. A card may send such headers
            // without pause: the first is logged, the rest counted (sendData logs the count).
            if (skippedReplies++ == 0)
                qDebug() << "recv data-return mismatch, skipped: class" << reply.msgClass
                         << "command" << reply.msgCommand << "result" << reply.result;
            if (reply.length > 0) {
                if (!waitForBytes(reply.length, headerDeadline) || !self) {
                    qDebug() << "recv data-return-body fail";
                    return IpLinkCode::ReceiveFailed;
                }
                socket->read(reply.length);
            }
            continue;
        }

        if (replyHead)
            *replyHead = reply;
        // The body the header announces is read whatever the result: a refusal's body is not
        // used, but bytes of it left behind would be taken for the next reply's header.
        const bool bodyComplete = reply.length == 0
                                  || waitForBytes(reply.length, QDeadlineTimer(ReadPassesWaitMs, Qt::PreciseTimer));
        if (!self)
            return reply.result == IpLinkCode::Success ? IpLinkCode::ReceiveFailed : reply.result;
        const QByteArray replyBytes = socket->isOpen() ? socket->read(reply.length) : QByteArray();
        if (reply.result != IpLinkCode::Success)
            return reply.result;
        if (!bodyComplete) {
            qDebug() << "recv data-return-body fail";
            return IpLinkCode::ReceiveFailed;
        }
        if (reply.length > 0 && replyBody)
            *replyBody = replyBytes;
        return IpLinkCode::Success;
    }
}

bool DeviceToHisilicon::writeAll(const QByteArray& bytes, const char* failureText)
{
    // Written means handed to the system, not merely queued in the socket's buffer: a peer
    // that has reset the connection shows here and not as a silent reply timeout.
    bool written = socket->write(bytes) == bytes.size();
    while (written && socket->bytesToWrite() > 0)
        written = socket->waitForBytesWritten(ReplyWaitMs);
    if (!written)
        qDebug().noquote() << failureText << socket->errorString();
    return written;
}

bool DeviceToHisilicon::waitForBytes(qint64 count, const QDeadlineTimer& deadline)
{
    QPointer<DeviceToHisilicon> self(this);
    // Each pass runs events until new bytes arrive, the socket drops, or its time is up.
    EventLoopPass pass;
    QObject::connect(socket, &QTcpSocket::readyRead, pass.loop(), &QEventLoop::quit);
    QObject::connect(socket, &QTcpSocket::disconnected, pass.loop(), &QEventLoop::quit);
    while (socket->bytesAvailable() < count) {
        // Once the socket has dropped, everything the peer sent is already in the buffer.
        if (socket->state() != QAbstractSocket::ConnectedState)
            return false;
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return false;
        // Quitting: what has not come yet will not be waited for.
        if (!pass.run(int(qMin<qint64>(left, EventPassMs))) || !self)
            return false;
    }
    return true;
}

void DeviceToHisilicon::dropSocket()
{
    // abort() alone leaves a socket that the peer closed open for reading its last bytes.
    socket->abort();
    socket->close();
}

void DeviceToHisilicon::restartHeartbeat()
{
    if (heartbeatArmed)
        heartbeatTimer->start(HeartbeatIntervalMs);
}

void DeviceToHisilicon::stopHeartbeat()
{
    heartbeatTimer->stop();
}

void DeviceToHisilicon::unregister()
{
    openIpCardLinks.removeAll(this);
}

void DeviceToHisilicon::reportClosed()
{
    stopHeartbeat();
    heartbeatArmed = false;
    unregister();
    emit disconnectSignal(deviceIp);
}

void DeviceToHisilicon::onReadReady()
{
    // Reply bytes are read only inside sendData.
}

void DeviceToHisilicon::onDisconnect()
{
    reportClosed();
}

void DeviceToHisilicon::deviceIsConnected()
{
    heartbeatArmed = true;
    heartbeatTimer->start(HeartbeatIntervalMs);
}

void DeviceToHisilicon::sendHeadBeat()
{
    stopHeartbeat();
    if (exchanging)
        return;   // the exchange under way restarts the timer when it ends
    _KIV_MSG_HEAD_T head;
    head.msgClass = KivMsgClass::Heartbeat;
    head.msgCommand = 0;
    QPointer<DeviceToHisilicon> self(this);
    const IpLinkResult result = sendData(head, QByteArray(), nullptr, nullptr);
    if (!self)
        return;
    if (result == IpLinkCode::Success) {
        // Misses count in a row: a link that answers again starts afresh.
        missedHeartbeats = 0;
        restartHeartbeat();
        return;
    }
    if (++missedHeartbeats < MaxMissedHeartbeats) {
        restartHeartbeat();
        return;
    }
    missedHeartbeats = 0;
    stopHeartbeat();
    if (!heartbeatArmed)
        return;   // already reported by a close inside the exchange
    // Also when the socket has dropped by itself: the link is dead either way and its owner
    // must hear of it once.
    dropSocket();
    reportClosed();
}

void DeviceToHisilicon::closeConnect()
{
    if (!socket->isOpen()) {
        // Nothing to report, but a dead link must neither stay listed nor keep beating.
        stopHeartbeat();
        heartbeatArmed = false;
        unregister();
        return;
    }
    socket->close();
    reportClosed();
}
