// Chinese text on the matrix link, both ways, as the device speaks it: GB2312.
#include "DeviceSimProcess.h"
#include "LinkTestSupport.h"
#include "core/GlobalState.h"

#include <QtTest>

class TestCCHelperCodePage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    // Replies first: the device's answers to the unwaited commands below are left unread.
    void replyLines_data();
    void replyLines();
    void commandBytes_data();
    void commandBytes();

private:
    DeviceSimProcess sim;
    CCHelper* link = nullptr;
};

void TestCCHelperCodePage::initTestCase()
{
    g_deviceModel = 16;
    link = freshLink();
    QVERIFY2(sim.start({QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}), qPrintable(sim.errorString()));
    QSignalSpy connected(link, &CCHelper::clientConnected);
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    QCOMPARE(connected.count(), 1);
}

void TestCCHelperCodePage::cleanupTestCase()
{
    delete link;
    sim.stop();
}

void TestCCHelperCodePage::commandBytes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("latin1");
    QTest::addColumn<QString>("atDevice"); // as devicesim reports what it received
    QTest::newRow("template text") << QStringLiteral("/Name:场景;") << false
                                   << QStringLiteral("/Name:\\xb3\\xa1\\xbe\\xb0;");
    QTest::newRow("ASCII unchanged") << QStringLiteral("/Switch:3:5;") << false << QStringLiteral("/Switch:3:5;");
    QTest::newRow("raw octets stay Latin-1") << QStringLiteral("/Addr:\u00c0\u00a8;") << true
                                             << QStringLiteral("/Addr:\\xc0\\xa8;");
}

void TestCCHelperCodePage::commandBytes()
{
    QFETCH(QString, command);
    QFETCH(bool, latin1);
    QFETCH(QString, atDevice);
    QString reply;
    QByteArray bytes;
    QVERIFY(link->sendData(command, false, reply, bytes, latin1));
    QTRY_COMPARE(QString::fromUtf8(sim.control(QStringLiteral("received last"))),
                 QStringLiteral("OK ") + atDevice);
}

void TestCCHelperCodePage::replyLines_data()
{
    QTest::addColumn<bool>("waited"); // the answer of a waited command, else an unsolicited line
    QTest::newRow("answer") << true;
    QTest::newRow("unsolicited") << false;
}

void TestCCHelperCodePage::replyLines()
{
    QFETCH(bool, waited);
    LinkRecorder recorder(link);
    const QString line = QStringLiteral("\\xb3\\xa1\\xbe\\xb0\\s1\\sOK\\r\\n"); // "场景 1 OK"
    QString reply;
    QByteArray bytes;
    if (waited) {
        QCOMPARE(sim.control(QStringLiteral("reply ") + line), QByteArray("OK"));
        QVERIFY2(link->sendData(QStringLiteral("/SceneName:1;"), true, reply, bytes, false), qPrintable(reply));
        QCOMPARE(reply.trimmed(), QStringLiteral("场景 1 OK"));
    } else {
        QCOMPARE(sim.control(QStringLiteral("send ") + line), QByteArray("OK"));
    }
    QTRY_COMPARE(recorder.lines.size(), 1);
    QCOMPARE(recorder.lines.first().trimmed(), QStringLiteral("场景 1 OK"));
}

QTEST_GUILESS_MAIN(TestCCHelperCodePage)
#include "tst_cchelper_codepage.moc"
