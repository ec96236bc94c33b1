#pragma once

#include "core/LineBuffer.h"
#include "platform/DeviceLogText.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QSerialPort>
#include <QString>

class QIODevice;
class QTcpSocket;
class QTimer;

// The console's one link to the matrix switcher, over TCP or a serial line. One command at a
// time: a second sendData() while one is running (its waits pump events) is refused, never
// queued. Every reply line and every line the matrix sends on its own is emitted through
// clientReceived().
class CCHelper : public QObject
{
    Q_OBJECT
public:
    static CCHelper* instance();
    ~CCHelper() override;

    // A line that reaches this length without its end is dropped, up to its end, across later
    // commands: a device that streams without a line end fails the command waiting for its answer
    // (once the answer's line has come, a line dropped after it does not fail the command).
    static constexpr qint64 kMaxReplyBytes = 1024 * 1024;

    // type 0: TCP to ip:port; type 1: the serial port portName at 9600 8N1. Results arrive as
    // signals; the parameters are kept for reConnect().
    void connectToDevice(int type, QString ip, int port, QString portName);
    // Whether a command can be sent now; for TCP the peer must also answer a ping.
    bool isConnected();
    // Sends cmd unchanged (Latin-1 or the local code page). With waitReply, waits for a whole
    // line, lets the rest of the answer arrive for 200 ms and returns it in reply (and, for a
    // command containing "/V", its raw bytes in replyBytes). Only whole lines are emitted: a last
    // line still incomplete after the 200 ms stays buffered and comes later as an unsolicited
    // line. True unless nothing was sent or answered, or the answer holds "error" or "fail".
    // Once its answer has begun to arrive, a command is read to its end and judged even when the
    // waits are ended meanwhile (a confirmed exit); only quitting cuts it short.
    bool sendData(const QString& cmd, bool waitReply, QString& reply, QByteArray& replyBytes, bool latin1);
    void setAutoReconnect(bool on);
    // Up or down as the link's own signals last told: connected, or disconnected, connect
    // time-out, not connected. Set before any listener runs, so that a listener called after
    // one that opened a modal box (events run, the link may have come back meanwhile) reads
    // the state of now, not of the signal it is handling.
    bool isUp() const { return m_up; }

signals:
    void message(QString text);
    void clientConnectTimeout();
    void clientConnected();
    void clientDisConnected();
    void clientReceived(QString line);
    // The lines of one read have all been emitted through clientReceived(): a waited command's
    // reply (asReply: its sender still waits), or lines the matrix sent on its own. Those may be
    // emitted from inside the device's readyRead, which is not emitted again until that returns:
    // what they cause waits for the event loop.
    void linesDelivered(bool asReply);
    // A command found the link down. Emitted before sendData() returns false, so that a
    // connected notice (the application's "not connected" box) shows at that moment.
    void notConnected();
    // A command that held the link has ended (whatever its result): the next one can be sent.
    // Emitted before sendData() returns; a listener that sends should be queued.
    void sendFinished();
    // A command was refused because another one held the link: nothing of it was written, so it
    // may be sent again once sendFinished() comes. Emitted before sendData() returns false. (A
    // write that failed is not a refusal: sendData() returns false without this signal.)
    void sendRefused();

public slots:
    void on_client_connected();
    void on_client_timeout();
    void on_client_disconnected();
    void new_data_received();
    void on_client_trasferred(qlonglong bytes);
    void displayError(QAbstractSocket::SocketError error);
    void displayError(QSerialPort::SerialPortError error);
    void disConnectToDevice();
    void reConnect();

private:
    CCHelper();
    int replyWaitMs() const;
    void scheduleReconnect();
    // Moves what the device holds into m_lines. False when a line reached kMaxReplyBytes: it is
    // dropped, up to its end when it comes.
    bool takeBytes(QIODevice* device);
    void detachDisconnected();
    void logReceivedLine(const QString& line);
    // Reads and emits the whole lines buffered, unless a send holds the lock: then the read is
    // made up once the lock is released. False when the lock was taken.
    bool deliverBufferedLines(QIODevice* device);
    void makeUpSkippedRead();
    void closeLostSerialLine();

    QMutex m_sendLock;
    int m_connectionType = 0;
    QString m_ipAddress;
    int m_tcpPort = 0;
    QString m_serialPortName;
    QTcpSocket* m_tcpSocket = nullptr;
    QSerialPort* m_serialPort = nullptr;
    QIODevice* m_currentDevice = nullptr;
    bool m_autoReconnect = false;
    bool m_up = false;
    // One pending reconnect at most, however many failures asked for one.
    QTimer* m_reconnectTimer = nullptr;
    // Bytes read from the device and not yet delivered: at most the start of a line. The
    // device's own buffer is emptied by every read: a socket whose buffer once filled up
    // stops watching for new bytes until it has been emptied, and a line's start left in it
    // would keep the link from reading for good.
    LineBuffer m_lines{kMaxReplyBytes};
    // A readyRead came while a send held the lock. The device does not signal again for bytes it
    // already holds (nor at all once its buffer is full), so the read is made up afterwards.
    bool m_readSkipped = false;
    // Set while a serial error is reported (the report reaches handlers that pump events), while
    // a lost serial line is closed, and from then until the report has told of it.
    bool m_reportingSerialError = false;
    bool m_closingSerialLine = false;
    bool m_serialLineLost = false;
    // Unsolicited lines reach the log cut short and, in a flood, counted: a status answer of the
    // largest model passes whole, a matrix that never stops adds a few lines a second.
    LogBudget m_receivedLineLog{200, 10};
};
