#include "ClientLink.h"

#include <QTimer>

ClientLink::ClientLink(int id, QObject* parent) : QObject(parent), clientId(id), timer(new QTimer(this))
{
    clock.start();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, &ClientLink::flushDue);
}

void ClientLink::send(const QByteArray& bytes, int delayMs)
{
    if (dropPending)
        return;
    const qint64 now = clock.elapsed();
    const qint64 after = queue.isEmpty() ? now : qMax(now, queue.last().dueMs);
    queue.append({after + qMax(0, delayMs), bytes});
    queuedBytes += bytes.size();
    flushDue();
}

void ClientLink::dropSoon()
{
    if (dropPending)
        return;
    dropPending = true;
    discardQueue();
    QMetaObject::invokeMethod(
        this,
        [this] {
            dropPending = false;
            drop();
        },
        Qt::QueuedConnection);
}

void ClientLink::discardQueue()
{
    queue.clear();
    queuedBytes = 0;
    timer->stop();
}

void ClientLink::flushDue()
{
    const qint64 now = clock.elapsed();
    while (!queue.isEmpty() && queue.first().dueMs <= now) {
        const QByteArray bytes = queue.takeFirst().bytes;
        queuedBytes -= bytes.size();
        writeNow(bytes);
    }
    if (!queue.isEmpty())
        timer->start(int(queue.first().dueMs - now));
}
