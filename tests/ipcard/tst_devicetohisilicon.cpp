#include "ipcard/link/DeviceToHisilicon.h"
#include "GuardTrap.h"
#include "IpCardRequests.h"
#include "platform/LoopbackGuard.h"
#include "NetworkConfigProto.pb.h"
#include "ipcard/link/OpenIpCardLinks.h"
#include "IpCardFarmThread.h"

#include "LoginRequestProto.pb.h"

#include <QDateTime>
#include <QTcpServer>
#include <QtTest>

using namespace IpCardRequests;

namespace {
const QHostAddress CardAddress(QStringLiteral("127.0.77.1"));
}

class TestDeviceToHisilicon : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void lengthIsCheckedBeforeConnection_data();
    void lengthIsCheckedBeforeConnection();
    void guardRefusesPrivateAddressWithoutDialling();
    void connectFailsWhenNobodyListens();
    void exchangeStampsAndMatchesTheRequest();
    void cardErrorCodeIsTheResult_data();
    void cardErrorCodeIsTheResult();
    void emptyReplyBodyLeavesReplyBodyUnchanged();
    void replyInPiecesIsAssembledWhileEventsRun();
    void peerGoingAwayEndsTheExchange_data();
    void peerGoingAwayEndsTheExchange();
    void writeToResetPeerFailsWithSixteen();
    void closeConnectReportsOnce();
    void closeConnectOnUnconnectedLinkEmitsNothing();
    void onDisconnectReportsAndUnregisters();
    void destroyedLinkLeavesTheList();
    void reconnectAfterClose();

private:
    std::unique_ptr<IpCardFarmThread> card;
};

void TestDeviceToHisilicon::initTestCase()
{
    card = std::make_unique<IpCardFarmThread>(CardAddress);
    QVERIFY2(card->isStarted(), qPrintable(card->errorText()));
}

void TestDeviceToHisilicon::init()
{
    card->control(QStringLiteral("clear all"));
    openIpCardLinks.clear();
}

void TestDeviceToHisilicon::lengthIsCheckedBeforeConnection_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("expected");

    QTest::newRow("unconnected, length differs") << false << 3 << QByteArray("ab") << 27;
    QTest::newRow("unconnected, length says body but none") << false << 1 << QByteArray() << 27;
    QTest::newRow("unconnected, length matches") << false << 2 << QByteArray("ab") << 14;
    QTest::newRow("unconnected, no body") << false << 0 << QByteArray() << 14;
    QTest::newRow("connected, length short of body") << true << 0 << QByteArray("x") << 27;
}

void TestDeviceToHisilicon::lengthIsCheckedBeforeConnection()
{
    QFETCH(bool, connected);
    QFETCH(int, length);
    QFETCH(QByteArray, body);
    QFETCH(int, expected);

    DeviceToHisilicon link;
    if (connected)
        QVERIFY(link.connectToDevice(card->host(), card->port()));
    const int before = card->stateNumber(QStringLiteral("requests"));
    _KIV_MSG_HEAD_T h = head(3, 7, body);
    h.length = quint16(length);
    QCOMPARE(link.sendData(h, body, nullptr, nullptr), expected);
    QTest::qWait(50);
    QCOMPARE(card->stateNumber(QStringLiteral("requests")), before);
}

void TestDeviceToHisilicon::guardRefusesPrivateAddressWithoutDialling()
{
    LoopbackGuard::setActiveForTesting(true);
    DeviceToHisilicon link;
    QSignalSpy closed(&link, &DeviceToHisilicon::disconnectSignal);
    {
        // The link must ask the guard: a refused loopback trap stays untouched first.
        GuardTrap trap;
        QVERIFY(trap.isListening());
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("refused IP card link")));
        QVERIFY(!link.connectToDevice(trap.host(), trap.port()));
        QVERIFY(!trap.wasDialled());
    }
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("refused IP card link to \"192\\.168\\.0\\.176\"")));
    QVERIFY(!link.connectToDevice(QStringLiteral("192.168.0.176"), 4002));
    QVERIFY(link.ip().isEmpty());
    QCOMPARE(login(link), IpLinkCode::NotConnected);
    QCOMPARE(closed.count(), 0);
}

void TestDeviceToHisilicon::connectFailsWhenNobodyListens()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress(QStringLiteral("127.0.77.2"))));
    const quint16 freePort = probe.serverPort();
    probe.close();
    DeviceToHisilicon link;
    QVERIFY(!link.connectToDevice(QStringLiteral("127.0.77.2"), freePort));
    QVERIFY(link.ip().isEmpty());
    QCOMPARE(send(link, 3, 7), IpLinkCode::NotConnected);
}

void TestDeviceToHisilicon::exchangeStampsAndMatchesTheRequest()
{
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(link.ip(), card->host());
    QCOMPARE(login(link), IpLinkCode::Success);

    // The caller's requestId is overwritten by the time of sending.
    _KIV_MSG_HEAD_T request = head(3, 1, QByteArray());
    request.requestId = 42;
    _KIV_MSG_HEAD_T reply;
    QByteArray body;
    const quint64 before = quint64(QDateTime::currentMSecsSinceEpoch());
    QCOMPARE(link.sendData(request, QByteArray(), &reply, &body), IpLinkCode::Success);
    const quint64 after = quint64(QDateTime::currentMSecsSinceEpoch());
    QVERIFY(reply.requestId >= before && reply.requestId <= after);
    QCOMPARE(int(reply.msgClass), 3);
    QCOMPARE(int(reply.msgCommand), 1);
    QCOMPARE(int(reply.length), body.size());
    com::kiv::protobuf::NetworkConfig network;
    QVERIFY(network.ParseFromArray(body.constData(), body.size()));
    QCOMPARE(QString::fromStdString(network.hostaddr()), card->host());
}

void TestDeviceToHisilicon::cardErrorCodeIsTheResult_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("code");
    QTest::newRow("0") << "result 0" << 0;
    QTest::newRow("2") << "result 2" << 2;
    QTest::newRow("200") << "result 200" << 200;
    QTest::newRow("255") << "result 255" << 255;
    // The refusal's 9-byte body comes 50 ms after its header, and the next request goes out at
    // once: the body must not be taken for the next reply's header.
    QTest::newRow("3, body after the header") << "latebody 50" << 3;
}

void TestDeviceToHisilicon::cardErrorCodeIsTheResult()
{
    QFETCH(QString, fault);
    QFETCH(int, code);
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QVERIFY(card->fault(fault + QStringLiteral(" on 3/1")));

    QByteArray body("untouched");
    _KIV_MSG_HEAD_T reply;
    QCOMPARE(send(link, 3, 1, QByteArray(), &body, 0, &reply), code);
    QCOMPARE(int(reply.result), code);
    QCOMPARE(body, QByteArray("untouched"));
    // A refusal leaves the link usable.
    QCOMPARE(send(link, 3, 1, QByteArray(), &body), IpLinkCode::Success);
    QVERIFY(body != QByteArray("untouched"));
}

void TestDeviceToHisilicon::emptyReplyBodyLeavesReplyBodyUnchanged()
{
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QByteArray body("kept");
    _KIV_MSG_HEAD_T reply;
    QCOMPARE(send(link, 2, 101, QByteArray(), &body, 0, &reply), IpLinkCode::Success);
    QCOMPARE(int(reply.length), 0);
    QCOMPARE(body, QByteArray("kept"));
}

void TestDeviceToHisilicon::replyInPiecesIsAssembledWhileEventsRun()
{
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QVERIFY(card->fault(QStringLiteral("split 600 on 3/7")));

    int ticks = 0;
    int nested = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        // A request and a heartbeat from inside the exchange are refused without sending:
        // either would discard or take the reply the exchange waits for.
        if (++ticks == 1) {
            nested = send(link, 3, 1);
            link.sendHeadBeat();
        }
    });
    ticker.start(20);
    QByteArray body;
    QCOMPARE(send(link, 3, 7, QByteArray(), &body), IpLinkCode::Success);
    ticker.stop();
    QCOMPARE(nested, IpLinkCode::Busy);
    int sentAfterLogin = 0;
    for (const auto& seen : card->requests())
        sentAfterLogin = seen.msgClass == 1 ? 0 : sentAfterLogin + 1;
    QCOMPARE(sentAfterLogin, 1);
    com::kiv::protobuf::VersionInfo version;
    QVERIFY(version.ParseFromArray(body.constData(), body.size()));
    QVERIFY(!version.version().empty());
    // The header's second half came 600 ms later: the waits ran the event loop meanwhile.
    QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
}

void TestDeviceToHisilicon::peerGoingAwayEndsTheExchange_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("expected");

    QTest::newRow("closes without reply") << "close on 3/7" << 18;
    QTest::newRow("resets without reply") << "reset on 3/7" << 18;
    QTest::newRow("closes inside the header") << "cut 8 on 3/7" << 17;
    QTest::newRow("closes inside the body") << "cut 20 on 3/7" << 17;
}

void TestDeviceToHisilicon::peerGoingAwayEndsTheExchange()
{
    QFETCH(QString, fault);
    QFETCH(int, expected);

    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QVERIFY(card->fault(fault));
    QByteArray body("untouched");
    QCOMPARE(send(link, 3, 7, QByteArray(), &body), expected);
    QCOMPARE(body, QByteArray("untouched"));
    // The socket has left the connected state; the link itself stays as it was.
    QCOMPARE(send(link, 3, 7, QByteArray(), &body), IpLinkCode::NotConnected);
    QCOMPARE(link.ip(), card->host());
}

void TestDeviceToHisilicon::writeToResetPeerFailsWithSixteen()
{
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    // The card resets the connection while the link runs no events: the link still believes
    // it is connected and learns otherwise only when it writes.
    QVERIFY(card->control(QStringLiteral("drop %1 reset").arg(card->host())).startsWith("OK"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^send data-head fail: ")));
    QCOMPARE(send(link, 3, 7), IpLinkCode::SendFailed);
    QCOMPARE(send(link, 3, 7), IpLinkCode::NotConnected);
}

void TestDeviceToHisilicon::closeConnectReportsOnce()
{
    DeviceToHisilicon link;
    QSignalSpy closed(&link, &DeviceToHisilicon::disconnectSignal);
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    openIpCardLinks.append(&link);

    link.closeConnect();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.at(0).at(0).toString(), card->host());
    QVERIFY(!openIpCardLinks.contains(&link));
    QTRY_COMPARE(card->stateNumber(QStringLiteral("connections")), 0);

    link.closeConnect();
    QTest::qWait(200);
    QCOMPARE(closed.count(), 1);
}

void TestDeviceToHisilicon::closeConnectOnUnconnectedLinkEmitsNothing()
{
    DeviceToHisilicon link;
    QSignalSpy closed(&link, &DeviceToHisilicon::disconnectSignal);
    link.closeConnect();
    QCOMPARE(closed.count(), 0);
}

void TestDeviceToHisilicon::onDisconnectReportsAndUnregisters()
{
    DeviceToHisilicon link;
    QSignalSpy closed(&link, &DeviceToHisilicon::disconnectSignal);
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    openIpCardLinks.append(&link);
    link.onDisconnect();
    QCOMPARE(closed.count(), 1);
    QVERIFY(openIpCardLinks.isEmpty());
    // The socket itself is left alone.
    QCOMPARE(login(link), IpLinkCode::Success);
}

void TestDeviceToHisilicon::destroyedLinkLeavesTheList()
{
    auto* link = new DeviceToHisilicon;
    QVERIFY(link->connectToDevice(card->host(), card->port()));
    openIpCardLinks.append(link);
    delete link;
    QVERIFY(openIpCardLinks.isEmpty());
}

void TestDeviceToHisilicon::reconnectAfterClose()
{
    DeviceToHisilicon link;
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    openIpCardLinks.append(&link);
    // A new connection is a new session: the link is no longer listed as logged in.
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QVERIFY(openIpCardLinks.isEmpty());
    QCOMPARE(send(link, 3, 7), 3);   // the card wants a login on every connection
    link.closeConnect();
    QVERIFY(link.connectToDevice(card->host(), card->port()));
    QCOMPARE(login(link), IpLinkCode::Success);
    QCOMPARE(send(link, 3, 7), IpLinkCode::Success);
}

QTEST_GUILESS_MAIN(TestDeviceToHisilicon)
#include "tst_devicetohisilicon.moc"
