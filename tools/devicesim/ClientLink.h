#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>

class QTimer;

// One client of the simulated matrix (a TCP connection or the pseudo-terminal). Output is
// queued with due times so that delayed and split replies keep their order.
class ClientLink : public QObject
{
    Q_OBJECT
public:
    explicit ClientLink(int id, QObject* parent = nullptr);

    int id() const { return clientId; }

    // Queues bytes to be written delayMs after the end of what is already queued.
    void send(const QByteArray& bytes, int delayMs = 0);
    // What devicesim still holds for this client: the queue plus what the connection has not
    // handed to the kernel yet.
    qint64 unwrittenBytes() const { return queuedBytes + bufferedBytes(); }
    // Closes the connection now; gone() follows.
    virtual void drop() = 0;
    // Closes it from the event loop, as the matrix may be amid another client's command now;
    // nothing more is sent to it until then.
    void dropSoon();
    bool isDropping() const { return dropPending; }
    // Whether unsolicited lines should reach this client.
    virtual bool wantsNotifications() const { return true; }

signals:
    void received(const QByteArray& bytes);
    void gone();

protected:
    virtual void writeNow(const QByteArray& bytes) = 0;
    virtual qint64 bufferedBytes() const = 0;
    void discardQueue();
    void renewId(int id) { clientId = id; }

private:
    void flushDue();

    struct Chunk { qint64 dueMs; QByteArray bytes; };
    int clientId;
    QList<Chunk> queue;
    qint64 queuedBytes = 0;
    bool dropPending = false;
    QElapsedTimer clock;
    QTimer* timer;
};
