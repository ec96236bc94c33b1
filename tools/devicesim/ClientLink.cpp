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
    const qint64 now = clock.elapsed();
    const qint64 after = queue.isEmpty() ? now : qMax(now, queue.last().dueMs);
    queue.append({after + qMax(0, delayMs), bytes});
    flushDue();
}

void ClientLink::discardQueue()
{
    queue.clear();
    timer->stop();
}

void ClientLink::flushDue()
{
    const qint64 now = clock.elapsed();
    while (!queue.isEmpty() && queue.first().dueMs <= now)
        writeNow(queue.takeFirst().bytes);
    if (!queue.isEmpty())
        timer->start(int(queue.first().dueMs - now));
}
