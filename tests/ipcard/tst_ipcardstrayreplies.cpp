#include "ipcard/link/DeviceToHisilicon.h"
#include "IpCardRequests.h"
#include "IpCardFarmThread.h"
#include "LogVolume.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace IpCardRequests;

// Replies that are not what the request asked for: a foreign request id, a body announced but
// never sent, noise. Each waits out the link's full reply or read wait.
class TestIpCardStrayReplies : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void strayReplyFailsAndLeavesTheLinkUsable_data();
    void strayReplyFailsAndLeavesTheLinkUsable();
    void babblingCardIsBoundedByTheWait();

private:
    std::unique_ptr<IpCardFarmThread> card;
};

void TestIpCardStrayReplies::initTestCase()
{
    card = std::make_unique<IpCardFarmThread>(QHostAddress(QStringLiteral("127.0.77.21")));
    QVERIFY2(card->isStarted(), qPrintable(card->errorText()));
}

void TestIpCardStrayReplies::strayReplyFailsAndLeavesTheLinkUsable_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QList<int>>("allowed");

    // A reply to another request is no answer, even when it says success.
    QTest::newRow("wrong request id") << "wrongid on 3/7" << QList<int>{18};
    QTest::newRow("body announced, never sent") << "bodylen 65535 on 3/7" << QList<int>{17};
    QTest::newRow("header cut, connection kept") << "truncate 9 on 3/7" << QList<int>{17};
    // What noise reads as depends on the bytes; it must never pass for a reply.
    QTest::newRow("noise instead of a reply") << "garbage 64 on 3/7" << QList<int>{17, 18};
}

void TestIpCardStrayReplies::strayReplyFailsAndLeavesTheLinkUsable()
{
    QFETCH(QString, fault);
    QFETCH(QList<int>, allowed);

    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QVERIFY(card->fault(fault));
    QByteArray body("untouched");
    const int result = send(link, 3, 7, QByteArray(), &body);
    QVERIFY2(allowed.contains(result), qPrintable(QString::number(result)));
    QCOMPARE(body, QByteArray("untouched"));

    QTest::qWait(100);
    QCOMPARE(send(link, 3, 7, QByteArray(), &body), IpLinkCode::Success);
    QVERIFY(body != QByteArray("untouched"));
}

// A card that sends a byte every 10 ms and never a reply to the request: the heartbeat ends
// within its reply wait plus the header allowance, however long the card goes on, so that three
// of them declare the card dead. The replies it skips meanwhile are logged once, then counted.
void TestIpCardStrayReplies::babblingCardIsBoundedByTheWait()
{
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QVERIFY(card->fault(QStringLiteral("babble 40000 on 253/0")));
    QElapsedTimer clock;
    clock.start();
    LogVolume log;
    const int result = send(link, 0xFD, 0);
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(log.beyond(QStringLiteral("mismatch"), 2, 999), QString());
    QVERIFY2(result == IpLinkCode::ReceiveFailed || result == IpLinkCode::Timeout, qPrintable(QString::number(result)));
    const int bound = DeviceToHisilicon::HeartbeatReplyWaitMs + DeviceToHisilicon::ReadPassesWaitMs;
    // Room for a loaded (or sanitised) run; the card babbles for 40 s.
    QVERIFY2(elapsed < bound + 5000, qPrintable(QString::number(elapsed)));
    link.closeConnect();
}

QTEST_GUILESS_MAIN(TestIpCardStrayReplies)
#include "tst_ipcardstrayreplies.moc"
