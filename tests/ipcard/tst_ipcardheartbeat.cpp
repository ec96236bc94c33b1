#include "ipcard/link/DeviceToHisilicon.h"
#include "IpCardRequests.h"
#include "IpCardFarmThread.h"

#include <QDateTime>
#include <QtTest>

using namespace IpCardRequests;

namespace {
// Heartbeats come no earlier than their schedule; how much later depends on the machine, so the
// tests wait for them this long at most.
constexpr int kBeatWaitMs = 30000;
}

// The heartbeat schedule in real time: one every 3000 ms of idleness, none inside an exchange.
class TestIpCardHeartbeat : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void heartbeatFollowsIdleness();
    void missesCountOnlyInARow();

private:
    QList<qint64> heartbeatTimes();
    std::unique_ptr<IpCardFarmThread> card;
};

void TestIpCardHeartbeat::initTestCase()
{
    card = std::make_unique<IpCardFarmThread>(QHostAddress(QStringLiteral("127.0.77.31")));
    QVERIFY2(card->isStarted(), qPrintable(card->errorText()));
}

QList<qint64> TestIpCardHeartbeat::heartbeatTimes()
{
    QList<qint64> times;
    for (const IpCardFarmThread::Seen& seen : card->requests()) {
        if (seen.msgClass == 0xFD && seen.msgCommand == 0)
            times.append(seen.atMs);
    }
    return times;
}

void TestIpCardHeartbeat::heartbeatFollowsIdleness()
{
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    const qint64 idleFrom = QDateTime::currentMSecsSinceEpoch();
    const int before = heartbeatTimes().size();

    QTRY_VERIFY_WITH_TIMEOUT(heartbeatTimes().size() - before >= 2, kBeatWaitMs);
    QList<qint64> beats = heartbeatTimes().mid(before);
    QCOMPARE(beats.size(), 2);
    QVERIFY2(beats.at(0) - idleFrom >= 2900, qPrintable(QString::number(beats.at(0) - idleFrom)));
    QVERIFY(beats.at(1) - beats.at(0) >= 2900);

    // A 4 s exchange: no heartbeat inside it, and the next one 3 s after it ended.
    QVERIFY(card->fault(QStringLiteral("late 4000 on 3/7")));
    const qint64 exchangeFrom = QDateTime::currentMSecsSinceEpoch();
    QCOMPARE(send(link, 3, 7), IpLinkCode::Success);
    const qint64 exchangeTo = QDateTime::currentMSecsSinceEpoch();
    QTRY_VERIFY_WITH_TIMEOUT(heartbeatTimes().size() - before >= 3, kBeatWaitMs);
    beats = heartbeatTimes().mid(before + 2);
    QCOMPARE(beats.size(), 1);
    QVERIFY2(beats.at(0) - exchangeTo >= 2900, qPrintable(QString::number(beats.at(0) - exchangeTo)));
    QVERIFY(exchangeTo - exchangeFrom >= 3900);
}

void TestIpCardHeartbeat::missesCountOnlyInARow()
{
    DeviceToHisilicon link;
    QSignalSpy closed(&link, &DeviceToHisilicon::disconnectSignal);
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    const int before = heartbeatTimes().size();

    // miss, answer, miss, miss: never three misses in a row, so the link stays.
    QVERIFY(card->fault(QStringLiteral("result 5 on 253/0 times 1")));
    QTRY_COMPARE_WITH_TIMEOUT(heartbeatTimes().size() - before, 2, kBeatWaitMs);
    QVERIFY(card->fault(QStringLiteral("result 5 on 253/0 times 2")));
    QTRY_COMPARE_WITH_TIMEOUT(heartbeatTimes().size() - before, 4, kBeatWaitMs);
    QTest::qWait(300);
    QCOMPARE(closed.count(), 0);
    QCOMPARE(send(link, 3, 7), IpLinkCode::Success);
}

QTEST_GUILESS_MAIN(TestIpCardHeartbeat)
#include "tst_ipcardheartbeat.moc"
