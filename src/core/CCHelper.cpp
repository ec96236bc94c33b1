#include "core/CCHelper.h"

#include "core/GlobalState.h"
#include "core/MatrixReply.h"
#include "platform/DeviceLogText.h"
#include "platform/LocalCodePage.h"
#include "platform/LoopbackGuard.h"
#include "platform/EventLoopDelay.h"
#include "platform/Reachability.h"

#include <QAtomicPointer>
#include <QDeadlineTimer>
#include <QDebug>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTcpSocket>
#include <QTimer>

#include <mutex>

namespace {
QAtomicPointer<CCHelper> s_instance;
constexpr int kReconnectMs = 6000;
constexpr int kConnectWaitMs = 6000;
constexpr int kWriteWaitMs = 6000;
constexpr int kSettleMs = 200;
constexpr int kPingWaitMs = 3000;
} // namespace

CCHelper* CCHelper::instance()
{
    if (!s_instance.loadAcquire()) {
        static QMutex creation;
        QMutexLocker locker(&creation);
        if (!s_instance.loadAcquire())
            s_instance.storeRelease(new CCHelper());
    }
    return s_instance.loadAcquire();
}

CCHelper::CCHelper()
    : m_tcpSocket(new QTcpSocket(this)), m_serialPort(new QSerialPort(this)), m_reconnectTimer(new QTimer(this))
{
    m_tcpSocket->abort();
    // Both devices stop reading from the system once this much waits unread, so a device that
    // never ends its line cannot make the console grow without bound.
    m_tcpSocket->setReadBufferSize(kMaxReplyBytes);
    m_serialPort->setReadBufferSize(kMaxReplyBytes);
    m_reconnectTimer->setSingleShot(true);
    // A coarse timer may fire up to 5 % (300 ms) early; the retry interval is a promise to the peer.
    m_reconnectTimer->setTimerType(Qt::PreciseTimer);
    m_reconnectTimer->setInterval(kReconnectMs);
    connect(m_reconnectTimer, SIGNAL(timeout()), this, SLOT(reConnect()));
    // Connected first, so these run before any listener.
    connect(this, &CCHelper::clientConnected, this, [this] { m_up = true; });
    for (auto down : {&CCHelper::clientDisConnected, &CCHelper::clientConnectTimeout, &CCHelper::notConnected})
        connect(this, down, this, [this] { m_up = false; });

    connect(m_tcpSocket, SIGNAL(connected()), this, SLOT(on_client_connected()));
    connect(m_tcpSocket, SIGNAL(readyRead()), this, SLOT(new_data_received()));
    connect(m_tcpSocket, SIGNAL(bytesWritten(qint64)), this, SLOT(on_client_trasferred(qint64)));
    connect(m_tcpSocket, SIGNAL(errorOccurred(QAbstractSocket::SocketError)), this,
            SLOT(displayError(QAbstractSocket::SocketError)));
    connect(m_serialPort, SIGNAL(readyRead()), this, SLOT(new_data_received()));
    connect(m_serialPort, SIGNAL(bytesWritten(qint64)), this, SLOT(on_client_trasferred(qint64)));
    connect(m_serialPort, SIGNAL(errorOccurred(QSerialPort::SerialPortError)), this,
            SLOT(displayError(QSerialPort::SerialPortError)));
}

CCHelper::~CCHelper()
{
    detachDisconnected();
    if (m_currentDevice && m_currentDevice->isOpen())
        m_currentDevice->close();
    m_tcpSocket->deleteLater();
    m_serialPort->deleteLater();
    m_currentDevice = nullptr;
    s_instance.testAndSetOrdered(this, nullptr);
}

void CCHelper::detachDisconnected()
{
    disconnect(m_tcpSocket, SIGNAL(disconnected()), this, SLOT(on_client_disconnected()));
}

void CCHelper::connectToDevice(int type, QString ip, int port, QString portName)
{
    detachDisconnected();
    if (isConnected()) {
        detachDisconnected();
        if (m_currentDevice && m_currentDevice->isOpen())
            m_currentDevice->close();
    }
    m_connectionType = type;
    m_ipAddress = ip;
    m_tcpPort = port;
    m_serialPortName = portName;
    m_lines.reset();

    if (type == 0) {
        m_tcpSocket->abort();
        m_currentDevice = m_tcpSocket;
        connect(m_tcpSocket, SIGNAL(disconnected()), this, SLOT(on_client_disconnected()));
        // A refused address fails exactly like a peer that never answers.
        bool connected = false;
        if (LoopbackGuard::mayDial(ip, "matrix link")) {
            m_tcpSocket->connectToHost(ip, quint16(port), QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
            connected = m_tcpSocket->waitForConnected(kConnectWaitMs);
        }
        if (!connected) {
            emit clientConnectTimeout();
            if (m_autoReconnect)
                scheduleReconnect();
        }
    } else if (type == 1) {
        m_currentDevice = m_serialPort;
        m_serialPort->setPortName(portName);
        if (!m_serialPort->open(QIODevice::ReadWrite)) {
            emit clientConnectTimeout();
            if (m_autoReconnect)
                scheduleReconnect();
            emit message(tr("打开串口失败！"));
            return;
        }
        emit message(tr("打开串口成功！"));
        m_serialPort->flush();
        m_serialPort->setBaudRate(QSerialPort::Baud9600, QSerialPort::AllDirections);
        m_serialPort->setDataBits(QSerialPort::Data8);
        m_serialPort->setParity(QSerialPort::NoParity);
        m_serialPort->setStopBits(QSerialPort::OneStop);
        m_serialPort->setFlowControl(QSerialPort::NoFlowControl);
        emit clientConnected();
    }
}

bool CCHelper::isConnected()
{
    if (!m_currentDevice || !m_currentDevice->isOpen())
        return false;
    qDebug() << "连接类型:" << m_connectionType;
    if (m_connectionType != 0)
        return m_connectionType == 1;
    if (m_tcpSocket->state() != QAbstractSocket::ConnectedState)
        return false;
    qDebug() << "连接IP：" << m_ipAddress;
    if (ping(m_ipAddress, kPingWaitMs))
        return true;
    disConnectToDevice();
    on_client_disconnected();
    return false;
}

int CCHelper::replyWaitMs() const
{
    if (g_deviceModel == 144 || g_deviceModel == 160) {
        qDebug() << "等待数据延时: " << 15000;
        return 15000;
    }
    return 6000;
}

bool CCHelper::sendData(const QString& cmd, bool waitReply, QString& reply, QByteArray& replyBytes, bool latin1)
{
    // Nothing to send is a failure: counting it as sent would report a missing command template
    // as done.
    if (cmd.trimmed().isEmpty()) {
        qWarning() << "empty command not sent";
        return false;
    }
    // Leaving: nothing more goes to the matrix, and nothing waits for its answer.
    if (PumpingWaits::ended())
        return false;
    if (!isConnected()) {
        emit notConnected();
        return false;
    }
    // Lines buffered before the command was written cannot be its answer: they pass as
    // unsolicited lines first.
    if (waitReply && !deliverBufferedLines(m_currentDevice)) {
        emit sendRefused();
        return false;
    }
    if (!m_currentDevice || !m_currentDevice->isOpen()) {
        emit notConnected();
        return false;
    }
    std::unique_lock<QMutex> lock(m_sendLock, std::try_to_lock);
    if (!lock.owns_lock()) {
        emit sendRefused();
        return false;
    }
    const auto afterLock = qScopeGuard([this] {
        makeUpSkippedRead();
        emit sendFinished();
    });

    // A line being dropped goes on being dropped up to its end: its tail is no answer.
    QIODevice* device = m_currentDevice;
    device->write(latin1 ? cmd.toLatin1() : LocalCodePage::encode(cmd));
    const int wait = replyWaitMs();
    if (!device->waitForBytesWritten(kWriteWaitMs)) {
        emit message(tr("发送数据失败: %1").arg(device->errorString()));
        return false;
    }
    qDebug() << "SendData:" << cmd;
    if (!waitReply)
        return true;

    // The wait covers the whole reply line, however the bytes trickle in.
    const QDeadlineTimer deadline(wait);
    bool waitLogged = false;
    for (;;) {
        // A read brings at most kMaxReplyBytes and the loop ends at the first whole line: a line
        // dropped here came before the answer's.
        if (!takeBytes(device))
            return false;
        if (m_lines.hasWholeLine())
            break;
        // Once per command: a device that trickles its reply would add an entry per piece.
        if (!waitLogged) {
            qDebug() << "等待数据延时----waitTime: " << wait;
            waitLogged = true;
        }
        if (deadline.hasExpired() || !device->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            qWarning().noquote() << QStringLiteral("接收一行数据失败,原因: %1").arg(device->errorString());
            takeBytes(device);
            if (!m_lines.isEmpty())
                qDebug() << "RecvData3:" << DeviceLogText::excerpt(m_lines.bytes());
            m_lines.clear();
            return false;
        }
    }

    // The answer has begun: it is read to its end, also when the waits are ended meanwhile (an
    // exit confirmed now must not turn what the matrix did into a failure). Cut short by quitting,
    // it may be incomplete: nothing is taken as answered. A line dropped for its length after the
    // answer's line is no part of the answer.
    if (!settleMs(kSettleMs) || !device->isOpen())
        return false;
    takeBytes(device);
    const bool raw = cmd.contains(QLatin1String("/V"));
    const QByteArray bytes = m_lines.bytes();
    // A line still arriving when the settle time ends stays buffered until its end comes, and is
    // then read as one unsolicited line: cut here, its start would be parsed as a whole line. A
    // raw reply gives all its bytes as they are, but its lines too end at its last line end.
    const QByteArray lines = m_lines.takeWholeLines();
    reply = LocalCodePage::decode(bytes);
    if (raw)
        replyBytes = bytes;
    qDebug() << "RecvData1:" << DeviceLogText::excerpt(reply);
    lock.unlock();

    const QStringList parts = LocalCodePage::decode(lines).split(QStringLiteral("\r\n"));
    for (const QString& part : parts) {
        const QString line = part.trimmed();
        if (!line.isEmpty())
            emit clientReceived(line);
    }
    emit linesDelivered(true);
    return !reply.trimmed().isEmpty() && !MatrixReply::reportsFailure(reply);
}

bool CCHelper::takeBytes(QIODevice* device)
{
    return m_lines.append(device->readAll());
}

void CCHelper::new_data_received()
{
    QIODevice* device = qobject_cast<QIODevice*>(sender());
    deliverBufferedLines(device ? device : m_currentDevice);
}

bool CCHelper::deliverBufferedLines(QIODevice* device)
{
    std::unique_lock<QMutex> lock(m_sendLock, std::try_to_lock);
    if (!lock.owns_lock()) {
        m_readSkipped = true;   // the running send reads these bytes, or they are read after it
        return false;
    }
    if (!device || !device->isOpen())
        return true;

    takeBytes(device);
    QStringList lines;
    const QByteArray whole = m_lines.takeWholeLines();
    for (int start = 0; start < whole.size();) {
        const int end = whole.indexOf('\n', start) + 1;
        const QString line = LocalCodePage::decode(whole.mid(start, end - start));
        logReceivedLine(line);
        lines << line;
        start = end;
    }
    lock.unlock();
    if (lines.isEmpty())
        return true;
    for (const QString& line : qAsConst(lines))
        emit clientReceived(line);
    emit linesDelivered(false);
    return true;
}

void CCHelper::makeUpSkippedRead()
{
    if (!m_readSkipped)
        return;
    m_readSkipped = false;
    QMetaObject::invokeMethod(this, &CCHelper::new_data_received, Qt::QueuedConnection);
}

void CCHelper::logReceivedLine(const QString& line)
{
    int heldBack = 0;
    if (!m_receivedLineLog.admit(&heldBack))
        return;
    QDebug entry = qDebug();
    entry << "RecvData2:" << DeviceLogText::excerpt(line);
    if (heldBack > 0)
        entry << "- lines not logged before it:" << heldBack;
}

void CCHelper::setAutoReconnect(bool on)
{
    m_autoReconnect = on;
    if (on && !isConnected())
        scheduleReconnect();
}

void CCHelper::scheduleReconnect()
{
    m_reconnectTimer->start();
}

void CCHelper::on_client_connected()
{
    emit clientConnected();
}

void CCHelper::on_client_timeout()
{
    emit clientConnectTimeout();
    if (m_autoReconnect)
        scheduleReconnect();
}

void CCHelper::on_client_disconnected()
{
    emit clientDisConnected();
    if (m_autoReconnect)
        scheduleReconnect();
}

void CCHelper::on_client_trasferred(qlonglong bytes)
{
    qDebug().noquote() << QStringLiteral("客户端已发送: %1 字节.").arg(bytes);
}

void CCHelper::displayError(QAbstractSocket::SocketError)
{
    const QString reason = m_currentDevice ? m_currentDevice->errorString() : m_tcpSocket->errorString();
    emit message(tr("通讯错误: ") + reason);
}

void CCHelper::displayError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError)
        return;
    const QString reason = m_serialPort->errorString();
    const bool lost = error == QSerialPort::WriteError || error == QSerialPort::ReadError
                      || error == QSerialPort::ResourceError;
    // The report reaches handlers that pump events, and a port left open raises the same error
    // again from inside them: the port is closed first. An error raised during a report (by its
    // events, or by the closing itself) only closes the port; the report in progress tells of it.
    if (lost)
        closeLostSerialLine();
    if (m_reportingSerialError)
        return;
    const QScopedValueRollback<bool> reporting(m_reportingSerialError, true);
    emit message(tr("通讯错误: ") + reason);
    if (m_serialLineLost) {
        m_serialLineLost = false;
        emit clientDisConnected();
        if (m_autoReconnect)
            scheduleReconnect();
    }
}

void CCHelper::closeLostSerialLine()
{
    if (!m_currentDevice || !m_currentDevice->isOpen() || m_closingSerialLine)
        return;
    const QScopedValueRollback<bool> closing(m_closingSerialLine, true);
    detachDisconnected();
    m_currentDevice->close();
    m_serialLineLost = true;
}

void CCHelper::disConnectToDevice()
{
    detachDisconnected();
    if (m_currentDevice && m_currentDevice->isOpen())
        m_currentDevice->close();
}

void CCHelper::reConnect()
{
    emit message(tr("正在重连..."));
    connectToDevice(m_connectionType, m_ipAddress, m_tcpPort, m_serialPortName);
}
