#include "ipcard/link/DeviceToHisilicon.h"
#include "IpCardRequests.h"
#include "NetworkConfigProto.pb.h"
#include "IpCardFarmThread.h"
#include "QuitDuring.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace IpCardRequests;

// How long the link waits for a reply, and what becomes of a reply that comes too late.
// These cases take real seconds: the waits are the behaviour under test.
class TestIpCardLinkWaits : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void waitDependsOnTheRequest_data();
    void waitDependsOnTheRequest();
    void lateReplyIsMetByTheNextExchange_data();
    void lateReplyIsMetByTheNextExchange();
    void quittingEndsTheWait();

private:
    std::unique_ptr<IpCardFarmThread> card;
};

void TestIpCardLinkWaits::initTestCase()
{
    card = std::make_unique<IpCardFarmThread>(QHostAddress(QStringLiteral("127.0.77.11")));
    QVERIFY2(card->isStarted(), qPrintable(card->errorText()));
}

void TestIpCardLinkWaits::waitDependsOnTheRequest_data()
{
    QTest::addColumn<int>("msgClass");
    QTest::addColumn<int>("msgCommand");
    QTest::addColumn<int>("lateMs");
    QTest::addColumn<int>("expected");

    QTest::newRow("heartbeat gives up after 3 s") << 0xFD << 0 << 3500 << 18;
    QTest::newRow("log search waits beyond 6 s") << 3 << 5 << 7000 << 1;
    // No upload was started: the card's refusal still arrives in time.
    QTest::newRow("firmware end waits beyond 6 s") << 2 << 5 << 7000 << 6;
}

void TestIpCardLinkWaits::waitDependsOnTheRequest()
{
    QFETCH(int, msgClass);
    QFETCH(int, msgCommand);
    QFETCH(int, lateMs);
    QFETCH(int, expected);

    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QVERIFY(card->fault(QStringLiteral("late %1 on %2/%3").arg(lateMs).arg(msgClass).arg(msgCommand)));
    if (expected == IpLinkCode::Timeout)
        QTest::ignoreMessage(QtDebugMsg, "recv data-return timeout");
    QCOMPARE(send(link, msgClass, msgCommand), expected);
}

void TestIpCardLinkWaits::lateReplyIsMetByTheNextExchange_data()
{
    QTest::addColumn<bool>("eventsRunMeanwhile");
    QTest::newRow("late reply already read by the socket") << true;
    QTest::newRow("late reply still with the system") << false;
}

void TestIpCardLinkWaits::lateReplyIsMetByTheNextExchange()
{
    QFETCH(bool, eventsRunMeanwhile);

    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QVERIFY(card->fault(QStringLiteral("late 6800 on 3/7")));

    QByteArray body("untouched");
    QElapsedTimer clock;
    clock.start();
    QTest::ignoreMessage(QtDebugMsg, "recv data-return timeout");
    QCOMPARE(send(link, 3, 7, QByteArray(), &body), IpLinkCode::Timeout);
    QVERIFY2(clock.elapsed() >= 5900, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(body, QByteArray("untouched"));

    // Let the version reply arrive, then ask for something else: the stale version reply must
    // not be taken for the network reply.
    if (eventsRunMeanwhile)
        QTest::qWait(1500);
    else
        QThread::msleep(1500);
    QCOMPARE(send(link, 3, 1, QByteArray(), &body), IpLinkCode::Success);
    com::kiv::protobuf::NetworkConfig network;
    QVERIFY(network.ParseFromArray(body.constData(), body.size()));
    QCOMPARE(QString::fromStdString(network.hostaddr()), card->host());
    QCOMPARE(network.tcpport(), 4002);
}

// A reply cut inside its header keeps the link waiting, events running, until the wait is over;
// once the application quits it must end at once instead of spinning.
void TestIpCardLinkWaits::quittingEndsTheWait()
{
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QVERIFY(card->fault(QStringLiteral("truncate 9 on 3/7")));
    int result = -1;
    const qint64 after = msRunAfterExit(300, [&] { result = send(link, 3, 7); });
    QVERIFY2(after >= 0 && after < 200, qPrintable(QString::number(after)));
    QCOMPARE(result, int(IpLinkCode::ReceiveFailed));
}

QTEST_GUILESS_MAIN(TestIpCardLinkWaits)
#include "tst_ipcardlinkwaits.moc"
