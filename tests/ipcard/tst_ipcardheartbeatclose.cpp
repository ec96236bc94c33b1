#include "ipcard/link/DeviceToHisilicon.h"
#include "IpCardRequests.h"
#include "ipcard/link/OpenIpCardLinks.h"
#include "IpCardFarmThread.h"

#include <QtTest>

using namespace IpCardRequests;

// The third missed heartbeat in a row ends the link, once. Real time: about 10 s a case.
class TestIpCardHeartbeatClose : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void thirdMissClosesTheLinkOnce_data();
    void thirdMissClosesTheLinkOnce();

private:
    int heartbeats() { return card->stateNumber(QStringLiteral("heartbeats")); }
    std::unique_ptr<IpCardFarmThread> card;
};

void TestIpCardHeartbeatClose::initTestCase()
{
    card = std::make_unique<IpCardFarmThread>(QHostAddress(QStringLiteral("127.0.77.41")));
    QVERIFY2(card->isStarted(), qPrintable(card->errorText()));
}

void TestIpCardHeartbeatClose::thirdMissClosesTheLinkOnce_data()
{
    QTest::addColumn<bool>("cardDropsConnection");
    QTest::addColumn<int>("heartbeatsReceived");
    QTest::newRow("card refuses every heartbeat") << false << 3;
    // The socket is gone before the misses: they never reach the card, and the link must
    // still be reported.
    QTest::newRow("card dropped the connection") << true << 0;
}

void TestIpCardHeartbeatClose::thirdMissClosesTheLinkOnce()
{
    QFETCH(bool, cardDropsConnection);
    QFETCH(int, heartbeatsReceived);

    card->control(QStringLiteral("clear all"));
    DeviceToHisilicon link;
    QSignalSpy closed(&link, &DeviceToHisilicon::disconnectSignal);
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    openIpCardLinks.append(&link);
    const int before = heartbeats();

    if (cardDropsConnection)
        QVERIFY(card->control(QStringLiteral("drop %1").arg(card->host())).startsWith("OK"));
    else
        QVERIFY(card->fault(QStringLiteral("result 5 on 253/0 times always")));

    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);
    QCOMPARE(closed.at(0).at(0).toString(), card->host());
    QVERIFY(!openIpCardLinks.contains(&link));
    QTRY_COMPARE(card->stateNumber(QStringLiteral("connections")), 0);
    QCOMPARE(heartbeats() - before, heartbeatsReceived);

    // The heartbeat stays stopped and nothing is reported again, not even by closeConnect.
    QTest::qWait(3500);
    link.closeConnect();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(heartbeats() - before, heartbeatsReceived);
    QCOMPARE(send(link, 3, 7), IpLinkCode::NotConnected);
}

QTEST_GUILESS_MAIN(TestIpCardHeartbeatClose)
#include "tst_ipcardheartbeatclose.moc"
