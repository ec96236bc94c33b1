#pragma once

// One simulated IP card in a thread of its own, for tests and benchmarks: the console's link
// blocks its thread while it waits, so the card must not share it.

#include "IpCardFarm.h"

#include <QHostAddress>
#include <QMetaObject>
#include <QStringList>
#include <QThread>

class IpCardFarmThread
{
public:
    // port 0: any free port (see port()); the console's panel always dials 4002.
    explicit IpCardFarmThread(const QHostAddress& cardAddress, quint16 listenPort = 0)
        : address(cardAddress)
    {
        thread.start();
        farm = new IpCardFarm;
        farm->moveToThread(&thread);
        QMetaObject::invokeMethod(farm, [this, listenPort] {
            started = farm->start({address}, listenPort, &error);
            cardPort = farm->portOf(address);
        }, Qt::BlockingQueuedConnection);
    }

    ~IpCardFarmThread()
    {
        QMetaObject::invokeMethod(farm, [this] { delete farm; }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }

    bool isStarted() const { return started; }
    QString errorText() const { return error; }
    // The address the card started on; control requests find it there also after it moved.
    QString host() const { return address.toString(); }
    quint16 port() const { return cardPort; }

    // One control command without the word "ipcard", e.g. "fault 127.0.0.1 silence".
    QByteArray control(const QString& line) { return farm->control(line); }
    // Sets a fault on this card: "<kind> [value] [on c/m] [times n]".
    bool fault(const QString& rule) { return control(QStringLiteral("fault %1 %2").arg(host(), rule)).startsWith("OK"); }

    // One value of "ipcard state", or an empty text.
    QString state(const QString& key)
    {
        const QString reply = QString::fromUtf8(control(QStringLiteral("state %1").arg(host())));
        for (const QString& pair : reply.split(QLatin1Char(' '))) {
            if (pair.startsWith(key + QLatin1Char('=')))
                return pair.mid(key.size() + 1);
        }
        return QString();
    }
    int stateNumber(const QString& key) { return state(key).toInt(); }

    // The requests the card received, oldest first, as (class, command, ms since epoch).
    struct Seen { int msgClass; int msgCommand; qint64 atMs; };
    QList<Seen> requests()
    {
        QList<Seen> list;
        const QString reply = QString::fromLatin1(control(QStringLiteral("requests %1 1000").arg(host())));
        for (const QString& item : reply.mid(3).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int slash = item.indexOf(QLatin1Char('/'));
            const int at = item.indexOf(QLatin1Char('@'));
            list.append({item.left(slash).toInt(), item.mid(slash + 1, at - slash - 1).toInt(),
                         item.mid(at + 1).toLongLong()});
        }
        return list;
    }

private:
    QHostAddress address;
    QThread thread;
    IpCardFarm* farm = nullptr;
    bool started = false;
    QString error;
    quint16 cardPort = 0;
};
