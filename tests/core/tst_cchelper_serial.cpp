// The matrix link over a serial line: the simulated matrix's pseudo-terminal stands in for it.
#include "DeviceSimProcess.h"
#include "LinkTestSupport.h"

#include "core/GlobalState.h"

class TestCCHelperSerial : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openReportsInOrderAndSets9600_8N1();
    void openFailureReportsTimeoutThenMessage();
    void waitedCommandAndUnsolicitedLines();
    void lostLineClosesAndReports();
    void serialErrorKinds_data();
    void serialErrorKinds();

private:
    DeviceSimProcess sim;
    CCHelper* link = nullptr;
};

void TestCCHelperSerial::init()
{
    g_deviceModel = 16;
    link = freshLink();
    QVERIFY2(sim.start({QStringLiteral("--pty"), QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}),
             qPrintable(sim.errorString()));
    QVERIFY(!sim.ptyPath().isEmpty());
}

void TestCCHelperSerial::cleanup()
{
    delete link;
    link = nullptr;
    sim.stop();
}

void TestCCHelperSerial::openReportsInOrderAndSets9600_8N1()
{
    LinkRecorder recorder(link);
    link->connectToDevice(1, QString(), 0, sim.ptyPath());
    QCOMPARE(recorder.events, (QStringList{"message:打开串口成功！", "connected"}));
    QVERIFY(link->isConnected());
    auto* port = link->findChild<QSerialPort*>();
    QVERIFY(port && port->isOpen());
    QCOMPARE(port->baudRate(), 9600);
    QCOMPARE(port->dataBits(), QSerialPort::Data8);
    QCOMPARE(port->parity(), QSerialPort::NoParity);
    QCOMPARE(port->stopBits(), QSerialPort::OneStop);
    QCOMPARE(port->flowControl(), QSerialPort::NoFlowControl);
}

void TestCCHelperSerial::openFailureReportsTimeoutThenMessage()
{
    LinkRecorder recorder(link);
    link->connectToDevice(1, QString(), 0, QStringLiteral("/nonexistent/ttyVEXILO"));
    // The port's own error report may come first; the link's two signals follow in this order.
    const int timeout = recorder.events.indexOf(QStringLiteral("timeout"));
    QVERIFY2(timeout >= 0, qPrintable(recorder.events.join('|')));
    QCOMPARE(recorder.events.mid(timeout), (QStringList{"timeout", "message:打开串口失败！"}));
    QCOMPARE(recorder.count(QStringLiteral("connected")), 0);
    QVERIFY(!link->isConnected());
}

void TestCCHelperSerial::waitedCommandAndUnsolicitedLines()
{
    link->connectToDevice(1, QString(), 0, sim.ptyPath());
    QTRY_COMPARE(sim.control(QStringLiteral("clients")), QByteArray("OK 1"));
    LinkRecorder recorder(link);

    QCOMPARE(sim.control(QStringLiteral("split 2 100")), QByteArray("OK"));
    QCOMPARE(sim.control(QStringLiteral("reply 3V5,6.\\r\\nFail\\r\\n")), QByteArray("OK"));
    QString reply;
    QByteArray bytes;
    QVERIFY(!link->sendData(QStringLiteral("3V5,6.;"), true, reply, bytes, false));
    QCOMPARE(recorder.lines, (QStringList{"3V5,6.", "Fail"}));
    QCOMPARE(sim.control(QStringLiteral("received last")), QByteArray("OK 3V5,6.;"));

    recorder.lines.clear();
    QCOMPARE(sim.control(QStringLiteral("send Closed.\\r\\n")), QByteArray("OK"));
    QTRY_COMPARE(recorder.lines, QStringList{"Closed.\r\n"});
}

void TestCCHelperSerial::lostLineClosesAndReports()
{
    link->connectToDevice(1, QString(), 0, sim.ptyPath());
    QTRY_COMPARE(sim.control(QStringLiteral("clients")), QByteArray("OK 1"));
    LinkRecorder recorder(link);
    QCOMPARE(sim.control(QStringLiteral("drop")), QByteArray("OK"));
    QTRY_COMPARE(recorder.count(QStringLiteral("disconnected")), 1);
    QVERIFY(recorder.has(QStringLiteral("message:通讯错误: ")));
    QVERIFY(!link->findChild<QSerialPort*>()->isOpen());
    QVERIFY(!link->isConnected());
}

void TestCCHelperSerial::serialErrorKinds_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("duringItsReport");   // raised from inside the first report's message
    QTest::addColumn<bool>("closes");
    const int none = int(QSerialPort::NoError);
    QTest::newRow("parity") << int(QSerialPort::ParityError) << none << false;
    QTest::newRow("framing") << int(QSerialPort::FramingError) << none << false;
    QTest::newRow("read") << int(QSerialPort::ReadError) << none << true;
    QTest::newRow("write") << int(QSerialPort::WriteError) << none << true;
    QTest::newRow("resource") << int(QSerialPort::ResourceError) << none << true;
    // The report pumps events, where the line may drop: that is not lost behind the report.
    QTest::newRow("read error during a parity report") << int(QSerialPort::ParityError)
                                                       << int(QSerialPort::ReadError) << true;
    QTest::newRow("read error during a read report") << int(QSerialPort::ReadError)
                                                     << int(QSerialPort::ReadError) << true;
}

void TestCCHelperSerial::serialErrorKinds()
{
    QFETCH(int, error);
    QFETCH(int, duringItsReport);
    QFETCH(bool, closes);
    link->connectToDevice(1, QString(), 0, sim.ptyPath());
    QVERIFY(link->isConnected());
    LinkRecorder recorder(link);
    connect(link, &CCHelper::message, this, [this, &duringItsReport] {
        const int raise = std::exchange(duringItsReport, int(QSerialPort::NoError));
        link->displayError(QSerialPort::SerialPortError(raise));
    });
    link->displayError(QSerialPort::SerialPortError(error));
    QCOMPARE(recorder.count(QStringLiteral("disconnected")), closes ? 1 : 0);
    QCOMPARE(recorder.events.filter(QStringLiteral("message:通讯错误: ")).size(), 1);
    QCOMPARE(link->isConnected(), !closes);

    recorder.events.clear();
    link->displayError(QSerialPort::NoError);
    QVERIFY(recorder.events.isEmpty());
}

QTEST_GUILESS_MAIN(TestCCHelperSerial)
#include "tst_cchelper_serial.moc"
