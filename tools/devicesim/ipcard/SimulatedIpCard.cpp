#include "SimulatedIpCard.h"

#include <QDateTime>
#include <QPointer>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace {

constexpr int SeenLimit = 4096;
constexpr int SplitAt = 10;   // inside the header
constexpr int BabbleStepMs = 10;
constexpr int LateRefusalResult = 3;
constexpr char LateRefusalBody[] = "REFUSED\r\n";   // 9 bytes

// Drops the connection with a TCP reset rather than an orderly close.
void resetConnection(QTcpSocket* socket)
{
    struct linger hard = {1, 0};
    ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    socket->abort();
}

QByteArray noise(int count)
{
    QByteArray bytes(count, '\0');
    quint32 state = 0x2545F491u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = char(state & 0xFF);
    }
    return bytes;
}

} // namespace

SimulatedIpCard::SimulatedIpCard(const QHostAddress& address, QObject* parent)
    : QObject(parent)
    , cardAddress(address)
    , home(address)
    , protocol(address)
{
    connect(&server, &QTcpServer::newConnection, this, &SimulatedIpCard::onNewConnection);
    protocol.setAddressCheck([this](const QHostAddress& target) { return canListenOn(target); });
}

SimulatedIpCard::~SimulatedIpCard()
{
    // The server deletes the open connections after the sessions are gone: they must not
    // report their end to this card any more.
    for (QTcpSocket* socket : sessions.keys())
        socket->disconnect(this);
}

bool SimulatedIpCard::listen(quint16 port, QString* error)
{
    if (!cardAddress.isLoopback()) {
        if (error)
            *error = QStringLiteral("IP card %1: only loopback addresses").arg(cardAddress.toString());
        return false;
    }
    if (!server.listen(cardAddress, port)) {
        if (error)
            *error = QStringLiteral("IP card %1:%2: %3").arg(cardAddress.toString()).arg(port).arg(server.errorString());
        return false;
    }
    listenPort = server.serverPort();
    return true;
}

bool SimulatedIpCard::canListenOn(const QHostAddress& target) const
{
    if (!target.isLoopback())
        return false;
    QTcpServer probe;
    return probe.listen(target, listenPort);
}

bool SimulatedIpCard::moveTo(const QHostAddress& target)
{
    if (target.isEqual(cardAddress))
        return true;
    if (!canListenOn(target))
        return false;
    dropConnections(false);
    server.close();
    const QHostAddress from = cardAddress;
    cardAddress = target;
    protocol.setAddress(target);
    if (!down)
        server.listen(cardAddress, listenPort);
    emit moved(from, target);
    return true;
}

void SimulatedIpCard::reboot()
{
    dropConnections(false);
    server.close();
    down = true;
    const int boot = ++boots;
    QTimer::singleShot(downtimeMs, this, [this, boot] {
        if (boot != boots || !down)
            return;
        down = false;
        server.listen(cardAddress, listenPort);
    });
}

void SimulatedIpCard::factoryReset()
{
    protocol.factoryReset(true);
    if (down) {
        down = false;
        server.listen(cardAddress, listenPort);
    }
    moveTo(home);
    protocol.setAddress(home);
}

void SimulatedIpCard::onNewConnection()
{
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        sessions.insert(socket, Session());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            sessions.remove(socket);
            socket->deleteLater();
        });
    }
}

void SimulatedIpCard::onReadable(QTcpSocket* socket)
{
    if (!sessions.contains(socket))
        return;
    sessions[socket].pending.append(socket->readAll());
    for (;;) {
        // Look the session up afresh: a request may have dropped the connection.
        auto it = sessions.find(socket);
        if (it == sessions.end() || it->holding || it->pending.size() < CardFrameHead::Size)
            return;
        const CardFrameHead head = CardFrameHead::decode(it->pending.constData());
        if (it->pending.size() < CardFrameHead::Size + head.length)
            return;
        const QByteArray body = it->pending.mid(CardFrameHead::Size, head.length);
        it->pending.remove(0, CardFrameHead::Size + head.length);
        process(socket, head, body);
    }
}

bool SimulatedIpCard::takeFault(const CardFrameHead& head, CardFault* fault)
{
    for (int i = 0; i < faults.size(); ++i) {
        if (!faults.at(i).matches(head.msgClass, head.msgCommand))
            continue;
        *fault = faults.at(i);
        if (faults[i].remaining > 0 && --faults[i].remaining == 0)
            faults.removeAt(i);
        return true;
    }
    return false;
}

void SimulatedIpCard::process(QTcpSocket* socket, const CardFrameHead& head, const QByteArray& body)
{
    ++requests;
    if (head.msgClass == 0xFD)
        ++heartbeats;
    seen.append({head.msgClass, head.msgCommand, QDateTime::currentMSecsSinceEpoch()});
    if (seen.size() > SeenLimit)
        seen.removeFirst();

    CardFault fault;
    const bool faulty = takeFault(head, &fault);
    if (faulty && fault.replacesRequest()) {
        switch (fault.kind) {
        case CardFault::Silence:
            return;
        case CardFault::Close:
            socket->disconnectFromHost();
            return;
        case CardFault::Reset:
            resetConnection(socket);
            return;
        case CardFault::Garbage:
            deliver(socket, noise(fault.value), 0, false);
            return;
        case CardFault::Babble:
            babble(socket, head, fault.value);
            return;
        case CardFault::LateBody:
            refuseWithLateBody(socket, head, fault.value);
            return;
        default: {
            CardFrameHead reply = head;
            reply.result = quint8(fault.value);
            reply.bodyFormat = 0;
            reply.length = 0;
            reply.reserved = 0;
            deliver(socket, reply.encode(), 0, false);
            return;
        }
        }
    }

    CardRequest request;
    request.msgClass = head.msgClass;
    request.msgCommand = head.msgCommand;
    request.bodyFormat = head.bodyFormat;
    request.body = body;
    const CardReply answer = protocol.handle(request, &sessions[socket].loggedIn);

    CardFrameHead reply = head;
    reply.result = answer.result;
    reply.bodyFormat = 0;
    reply.reserved = 0;
    reply.length = quint16(answer.body.size());
    int delayMs = 0;
    bool closeAfter = false;
    if (faulty) {
        switch (fault.kind) {
        case CardFault::Late:
            delayMs = fault.value;
            break;
        case CardFault::WrongId:
            reply.requestId += 1;
            break;
        case CardFault::BodyLength:
            reply.length = quint16(fault.value);
            break;
        default:
            break;
        }
    }
    QByteArray bytes = reply.encode() + answer.body;
    if (faulty && (fault.kind == CardFault::Truncate || fault.kind == CardFault::Cut)) {
        bytes.truncate(fault.value);
        closeAfter = fault.kind == CardFault::Cut;
    }
    if (faulty && fault.kind == CardFault::Split) {
        deliver(socket, bytes.left(SplitAt), 0, false);
        deliver(socket, bytes.mid(SplitAt), fault.value, false);
    } else {
        deliver(socket, bytes, delayMs, closeAfter);
    }
    if (answer.rebootAfterMs >= 0) {
        // The restart ends every connection and leaves the card unreachable for a while.
        QTimer::singleShot(answer.rebootAfterMs + delayMs, this, &SimulatedIpCard::reboot);
    }
    if (!answer.moveTo.isNull()) {
        // The reply still goes out on the old connection; then the card moves.
        const QHostAddress target = answer.moveTo;
        QTimer::singleShot(delayMs, this, [this, target] { moveTo(target); });
    }
}

void SimulatedIpCard::deliver(QTcpSocket* socket, const QByteArray& bytes, int delayMs, bool closeAfter)
{
    QPointer<QTcpSocket> target(socket);
    auto send = [target, bytes, closeAfter] {
        if (!target || target->state() != QAbstractSocket::ConnectedState)
            return;
        target->write(bytes);
        if (closeAfter)
            target->disconnectFromHost();   // writes what is queued, then closes
    };
    if (delayMs > 0)
        QTimer::singleShot(delayMs, Qt::PreciseTimer, this, send);
    else
        send();
}

void SimulatedIpCard::babble(QTcpSocket* socket, const CardFrameHead& head, int ms)
{
    CardFrameHead stray = head;
    stray.result = 1;
    stray.bodyFormat = 0;
    stray.length = 0;
    stray.reserved = 0;
    auto* timer = new QTimer(socket);   // ends with the connection at the latest
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, socket,
            [socket, timer, stray, rounds = ms / BabbleStepMs, lead = QByteArray(1, '\0')]() mutable {
        if (rounds-- <= 0 || socket->state() != QAbstractSocket::ConnectedState) {
            timer->deleteLater();
            return;
        }
        // The lone first byte shifts every later frame by one: whole frames never line up with
        // what the reader takes as headers.
        stray.requestId += 1;
        socket->write(lead + stray.encode());
        lead.clear();
    });
    timer->start(BabbleStepMs);
}

void SimulatedIpCard::refuseWithLateBody(QTcpSocket* socket, const CardFrameHead& head, int ms)
{
    const QByteArray body(LateRefusalBody);
    CardFrameHead reply = head;
    reply.result = LateRefusalResult;
    reply.bodyFormat = 0;
    reply.length = quint16(body.size());
    reply.reserved = 0;
    deliver(socket, reply.encode(), 0, false);
    // As a card that is slow to write its body: nothing it answers later can overtake it.
    sessions[socket].holding = true;
    QPointer<QTcpSocket> target(socket);
    QTimer::singleShot(ms, Qt::PreciseTimer, this, [this, target, body] {
        if (!target || !sessions.contains(target))
            return;
        if (target->state() == QAbstractSocket::ConnectedState)
            target->write(body);
        sessions[target].holding = false;
        onReadable(target);
    });
}

void SimulatedIpCard::dropConnections(bool withReset)
{
    const QList<QTcpSocket*> open = sessions.keys();
    for (QTcpSocket* socket : open) {
        if (withReset)
            resetConnection(socket);
        else
            socket->disconnectFromHost();
    }
}

QByteArray SimulatedIpCard::describe() const
{
    QByteArray text = protocol.describe();
    int loggedIn = 0;
    for (const Session& session : sessions)
        loggedIn += session.loggedIn ? 1 : 0;
    text += QStringLiteral(" address=%1 port=%2 connections=%3 loggedin=%4 requests=%5 heartbeats=%6 faults=%7 down=%8")
                .arg(cardAddress.toString())
                .arg(listenPort)
                .arg(sessions.size())
                .arg(loggedIn)
                .arg(requests)
                .arg(heartbeats)
                .arg(faults.size())
                .arg(down ? 1 : 0)
                .toUtf8();
    return text;
}

QByteArray SimulatedIpCard::recentRequests(int count) const
{
    QStringList items;
    for (int i = qMax(0, seen.size() - count); i < seen.size(); ++i)
        items << QStringLiteral("%1/%2@%3").arg(seen.at(i).msgClass).arg(seen.at(i).msgCommand).arg(seen.at(i).atMs);
    return items.join(QLatin1Char(' ')).toLatin1();
}
