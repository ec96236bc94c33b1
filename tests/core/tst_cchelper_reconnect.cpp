// Reconnection of the matrix link: every 6000 ms while it is switched on, never while it is off.
#include "DeviceSimProcess.h"
#include "LinkTestSupport.h"

#include "core/GlobalState.h"

#include <QElapsedTimer>

namespace {
const QString kReconnecting = QStringLiteral("message:正在重连...");
// The reply wait of the 16-port model these tests use.
const int kReplyWaitMs = 6000;
// Attempts come no earlier than every 6 s; how much later depends on the machine, so the tests
// wait for them this long at most.
const int kAttemptWaitMs = 30000;
}

class TestCCHelperReconnect : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lostPeerIsReconnectedAfter6s();
    void failedAttemptsRepeatEvery6s();
    void noRetryWhenSwitchedOff();
    void droppedCommandFailsAtOnceAndReconnects();

private:
    DeviceSimProcess sim;
    CCHelper* link = nullptr;
};

void TestCCHelperReconnect::init()
{
    g_deviceModel = 16;
    link = freshLink();
    QVERIFY2(sim.start({QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}), qPrintable(sim.errorString()));
}

void TestCCHelperReconnect::cleanup()
{
    delete link;
    link = nullptr;
    sim.stop();
}

void TestCCHelperReconnect::lostPeerIsReconnectedAfter6s()
{
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    QVERIFY(link->isConnected());
    link->setAutoReconnect(true);
    LinkRecorder recorder(link);
    QElapsedTimer clock;
    QCOMPARE(sim.control(QStringLiteral("drop")), QByteArray("OK"));
    QTRY_COMPARE(recorder.count(QStringLiteral("disconnected")), 1);
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.count(QStringLiteral("connected")), 1, kAttemptWaitMs);
    QVERIFY2(clock.elapsed() >= 5800, qPrintable(QString::number(clock.elapsed())));
    const int reconnecting = recorder.events.indexOf(kReconnecting);
    QVERIFY(reconnecting >= 0 && reconnecting < recorder.events.indexOf(QStringLiteral("connected")));
    QVERIFY(link->isConnected());
}

void TestCCHelperReconnect::failedAttemptsRepeatEvery6s()
{
    const QString address = sim.address();
    const quint16 port = sim.port();
    sim.stop(); // nothing listens there any more: every attempt is refused
    link->setAutoReconnect(true);
    LinkRecorder recorder(link);
    QList<qint64> attempts;
    QElapsedTimer clock;
    clock.start();
    connect(link, &CCHelper::message, this, [&](const QString& text) {
        if (QStringLiteral("message:") + text == kReconnecting)
            attempts << clock.elapsed();
    });
    link->connectToDevice(0, address, port, QString());
    QCOMPARE(recorder.count(QStringLiteral("timeout")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(attempts.size(), 2, kAttemptWaitMs);
    QVERIFY2(attempts.at(0) >= 5800 && attempts.at(1) - attempts.at(0) >= 5800,
             qPrintable(QStringLiteral("%1 %2").arg(attempts.at(0)).arg(attempts.at(1))));
    QCOMPARE(recorder.count(QStringLiteral("timeout")), 3);
    QCOMPARE(recorder.count(QStringLiteral("connected")), 0);
}

void TestCCHelperReconnect::noRetryWhenSwitchedOff()
{
    const QString address = sim.address();
    const quint16 port = sim.port();
    sim.stop();
    LinkRecorder recorder(link);
    link->connectToDevice(0, address, port, QString());
    QCOMPARE(recorder.count(QStringLiteral("timeout")), 1);
    QTest::qWait(6800);
    QCOMPARE(recorder.count(QStringLiteral("timeout")), 1);
    QVERIFY(!recorder.events.contains(kReconnecting));
}

// The matrix closes the connection instead of answering a waited command: the command fails
// as soon as the connection is gone, not after the reply wait, and the link comes back.
void TestCCHelperReconnect::droppedCommandFailsAtOnceAndReconnects()
{
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    QVERIFY(link->isConnected());
    link->setAutoReconnect(true);
    LinkRecorder recorder(link);
    QCOMPARE(sim.control(QStringLiteral("dropnext")), QByteArray("OK"));

    QElapsedTimer clock;
    clock.start();
    QString reply;
    QByteArray bytes;
    QVERIFY(!link->sendData(QStringLiteral("/Switch:1:2;"), true, reply, bytes, false));
    QVERIFY2(clock.elapsed() < kReplyWaitMs, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE(recorder.count(QStringLiteral("disconnected")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(recorder.count(QStringLiteral("connected")), 1, kAttemptWaitMs);
    QVERIFY(link->sendData(QStringLiteral("/Switch:1:2;"), true, reply, bytes, false));
    QVERIFY(!reply.isEmpty());
}

QTEST_GUILESS_MAIN(TestCCHelperReconnect)
#include "tst_cchelper_reconnect.moc"
