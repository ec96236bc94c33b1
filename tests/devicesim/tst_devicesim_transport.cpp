// The transport of the simulated matrix: loopback-only listening, the control port's faults,
// unsolicited lines to every client and the pseudo-terminal.
#include "DeviceSimProcess.h"
#include "ProcessMemory.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Reads from the socket until at least `bytes` bytes came (however slowly: a minute at most),
// then until quietMs pass without more; counts reads.
QByteArray readAnswer(QTcpSocket& socket, qint64 bytes, int quietMs = 300, int* reads = nullptr)
{
    QByteArray all = socket.readAll();
    int n = 0;
    const auto readMore = [&](qint64 waitMs) {
        if (!socket.waitForReadyRead(int(qMax<qint64>(1, waitMs))))
            return false;
        all += socket.readAll();
        ++n;
        return true;
    };
    const QDeadlineTimer deadline(60000);
    while (all.size() < bytes && !deadline.hasExpired() && readMore(deadline.remainingTime())) {
    }
    while (readMore(quietMs)) {
    }
    if (reads)
        *reads = n;
    return all;
}

// Opens a pseudo-terminal's slave as a serial port would: raw, no echo.
int openRawTerminal(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

} // namespace

class TestDeviceSimTransport : public QObject
{
    Q_OBJECT

private slots:
    void refusesNonLoopbackAddresses_data();
    void refusesNonLoopbackAddresses();
    void listensOnOtherLoopbackAddress();
    void faultShapesTheReply_data();
    void faultShapesTheReply();
    void refusedCommandsChangeNothing();
    void dropNextClosesTheConnection();
    void unsolicitedLinesReachEveryClient();
    void pseudoTerminalCarriesCommandsAndSurvivesDrop();
    void statusFormFollowsControl_data();
    void statusFormFollowsControl();
    void unreadBytesAreBounded_data();
    void unreadBytesAreBounded();
    void controlRejectsBadRequests_data();
    void controlRejectsBadRequests();

private:
    DeviceSimProcess shared;
    bool startSim(DeviceSimProcess& sim, const QStringList& extra = {})
    {
        return sim.start(QStringList{QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")} + extra);
    }
};

void TestDeviceSimTransport::refusesNonLoopbackAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("private") << "192.168.0.178";
    QTest::newRow("ten") << "10.0.0.1";
    QTest::newRow("any") << "0.0.0.0";
    QTest::newRow("ipv6 loopback") << "::1";
    QTest::newRow("name") << "localhost";
}

void TestDeviceSimTransport::refusesNonLoopbackAddresses()
{
    QFETCH(QString, address);
    QProcess process;
    process.start(QString::fromLocal8Bit(qgetenv("VEXILO_BIN_DIR")) + QStringLiteral("/devicesim"),
                  {QStringLiteral("--listen"), address, QStringLiteral("--port"), QStringLiteral("0"),
                   QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")});
    QVERIFY(process.waitForFinished(10000));
    QVERIFY(process.exitCode() != 0);
    QVERIFY(!process.readAllStandardOutput().contains("ready"));
    QVERIFY(process.readAllStandardError().contains("127.0.0.0/8"));
}

void TestDeviceSimTransport::listensOnOtherLoopbackAddress()
{
    DeviceSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}, QStringLiteral("127.0.0.7")),
             qPrintable(sim.errorString()));
    QTcpSocket client;
    client.connectToHost(QStringLiteral("127.0.0.7"), sim.port());
    QVERIFY(client.waitForConnected(3000));
    QCOMPARE(sim.control(QStringLiteral("reply hi\\r\\n")), QByteArray("OK"));
    client.write("x;");
    QCOMPARE(readAnswer(client, 4), QByteArray("hi\r\n"));
}

void TestDeviceSimTransport::faultShapesTheReply_data()
{
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("minReads");
    QTest::addColumn<int>("quietBeforeMs"); // nothing may arrive this long after the command

    QTest::newRow("reply") << QStringList{"reply OK\\r\\n"} << QByteArray("OK\r\n") << 1 << 0;
    QTest::newRow("reply with blanks") << QStringList{"reply In\\s1 To All.\\r\\n"} << QByteArray("In 1 To All.\r\n") << 1
                                       << 0;
    QTest::newRow("error default") << QStringList{"error"} << QByteArray("ERROR\r\n") << 1 << 0;
    QTest::newRow("error text") << QStringList{"error Fail!\\r\\n"} << QByteArray("Fail!\r\n") << 1 << 0;
    QTest::newRow("silent") << QStringList{"reply x\\r\\n count=0", "silent"} << QByteArray() << 0 << 0;
    QTest::newRow("split") << QStringList{"split 3 150", "reply line1\\r\\nline2\\r\\n"}
                           << QByteArray("line1\r\nline2\r\n") << 3 << 0;
    QTest::newRow("delay") << QStringList{"delay 400", "reply late\\r\\n"} << QByteArray("late\r\n") << 1 << 250;
    QTest::newRow("stream") << QStringList{"stream 200000"} << QByteArray(200000, 'x') << 1 << 0;
}

void TestDeviceSimTransport::faultShapesTheReply()
{
    QFETCH(QStringList, controls);
    QFETCH(QByteArray, expected);
    QFETCH(int, minReads);
    QFETCH(int, quietBeforeMs);

    DeviceSimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    for (const QString& line : controls)
        QCOMPARE(sim.control(line), QByteArray("OK"));
    QTcpSocket client;
    client.connectToHost(sim.address(), sim.port());
    QVERIFY(client.waitForConnected(3000));
    client.write("cmd;");
    QVERIFY(client.waitForBytesWritten(3000));
    if (quietBeforeMs > 0)
        QVERIFY(!client.waitForReadyRead(quietBeforeMs));
    int reads = 0;
    const QByteArray got = readAnswer(client, expected.size(), 400, &reads);
    QCOMPARE(got.size(), expected.size());
    QCOMPARE(got, expected);
    QVERIFY2(reads >= minReads, qPrintable(QString::number(reads)));
    QCOMPARE(sim.control(QStringLiteral("received last")), QByteArray("OK cmd;"));
}

void TestDeviceSimTransport::refusedCommandsChangeNothing()
{
    DeviceSimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    QTcpSocket client;
    client.connectToHost(sim.address(), sim.port());
    QVERIFY(client.waitForConnected(3000));
    // Of one write, the first command is refused and changes nothing; the second runs.
    QCOMPARE(sim.control(QStringLiteral("refuse Busy\\r\\n")), QByteArray("OK"));
    client.write("/Switch:3:1;/InAudio:1:MUTE;");
    const QByteArray answer("Busy\r\nInput 1 Audio MUTE OK.\r\n");
    QCOMPARE(readAnswer(client, answer.size()), answer);
    QCOMPARE(sim.control(QStringLiteral("route 1")), QByteArray("OK 1"));
    QCOMPARE(sim.control(QStringLiteral("settings in 1")), QByteArray("OK InAudio=MUTE"));
}

void TestDeviceSimTransport::dropNextClosesTheConnection()
{
    DeviceSimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    QCOMPARE(sim.control(QStringLiteral("dropnext")), QByteArray("OK"));
    QTcpSocket client;
    client.connectToHost(sim.address(), sim.port());
    QVERIFY(client.waitForConnected(3000));
    client.write("cmd;");
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, 5000);
    QCOMPARE(client.readAll(), QByteArray());
    QTRY_COMPARE(sim.control(QStringLiteral("clients")), QByteArray("OK 0"));
}

void TestDeviceSimTransport::unsolicitedLinesReachEveryClient()
{
    DeviceSimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    QTcpSocket a;
    QTcpSocket b;
    for (QTcpSocket* s : {&a, &b}) {
        s->connectToHost(sim.address(), sim.port());
        QVERIFY(s->waitForConnected(3000));
    }
    QTRY_COMPARE(sim.control(QStringLiteral("clients")), QByteArray("OK 2"));
    QCOMPARE(sim.control(QStringLiteral("send Closed.\\r\\n")), QByteArray("OK"));
    QCOMPARE(readAnswer(a, 9), QByteArray("Closed.\r\n"));
    QCOMPARE(readAnswer(b, 9), QByteArray("Closed.\r\n"));
}

void TestDeviceSimTransport::pseudoTerminalCarriesCommandsAndSurvivesDrop()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("matrix-tty"));
    DeviceSimProcess sim;
    QVERIFY2(startSim(sim, {QStringLiteral("--pty-link"), link}), qPrintable(sim.errorString()));
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.ptyPath());

    const int fd = openRawTerminal(link);
    QVERIFY(fd >= 0);
    QTRY_COMPARE(sim.control(QStringLiteral("clients")), QByteArray("OK 1"));

    QCOMPARE(sim.control(QStringLiteral("reply OK\\r\\n")), QByteArray("OK"));
    QCOMPARE(::write(fd, "cmd;", 4), ssize_t(4));
    pollfd p{fd, POLLIN, 0};
    QVERIFY(::poll(&p, 1, 30000) == 1);
    char buffer[64] = {};
    QTest::qWait(100);
    QCOMPARE(QByteArray(buffer, int(::read(fd, buffer, sizeof buffer))), QByteArray("OK\r\n"));
    QCOMPARE(sim.control(QStringLiteral("received last")), QByteArray("OK cmd;"));

    // The line is pulled: the open slave reads end-of-file or an error, and a new pair appears.
    const QString oldPath = sim.ptyPath();
    QCOMPARE(sim.control(QStringLiteral("drop")), QByteArray("OK"));
    QVERIFY(::poll(&p, 1, 30000) == 1);
    QVERIFY(::read(fd, buffer, sizeof buffer) <= 0);
    ::close(fd);
    QTRY_VERIFY(sim.ptyPath() != oldPath);
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.ptyPath());
}

void TestDeviceSimTransport::statusFormFollowsControl_data()
{
    QTest::addColumn<QStringList>("startArgs");
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<bool>("arrows");   // the form "statusform" names and the status query answers in

    QTest::newRow("route lists by default") << QStringList() << QStringList() << false;
    QTest::newRow("arrow") << QStringList() << QStringList{"statusform arrow"} << true;
    QTest::newRow("arrow from the start") << QStringList{"--exec", "statusform arrow"} << QStringList() << true;
    QTest::newRow("back to lists") << QStringList() << QStringList{"statusform arrow", "statusform list"} << false;
    QTest::newRow("clear restores lists") << QStringList() << QStringList{"statusform arrow", "clear"} << false;
}

void TestDeviceSimTransport::statusFormFollowsControl()
{
    QFETCH(QStringList, startArgs);
    QFETCH(QStringList, controls);
    QFETCH(bool, arrows);

    DeviceSimProcess sim;
    QVERIFY2(startSim(sim, QStringList{QStringLiteral("--model"), QStringLiteral("4")} + startArgs),
             qPrintable(sim.errorString()));
    for (const QString& line : controls)
        QCOMPARE(sim.control(line), QByteArray("OK"));
    QCOMPARE(sim.control(QStringLiteral("statusform")), QByteArray(arrows ? "OK arrow" : "OK list"));
    QTcpSocket client;
    client.connectToHost(sim.address(), sim.port());
    QVERIFY(client.waitForConnected(3000));
    client.write("/CloseAll;/Switch:2:3;");
    const QByteArray switched("All Closed.\r\n2V3.\r\n");
    QCOMPARE(readAnswer(client, switched.size()), switched);
    client.write("/IOStatus;");
    const QByteArray status(arrows ? "AV:0->1\r\nAV:0->2\r\nAV:2->3\r\nAV:0->4\r\n" : "2V3.\r\n0V1,2,4.\r\n");
    QCOMPARE(readAnswer(client, status.size()), status);
}

void TestDeviceSimTransport::unreadBytesAreBounded_data()
{
    QTest::addColumn<bool>("pty");
    QTest::addColumn<bool>("reads"); // reads everything once the floods are in
    QTest::addColumn<int>("floods"); // at most, 1 000 000 bytes each, with nothing read between them

    QTest::newRow("tcp, reads after a burst") << false << true << 20;
    QTest::newRow("tcp, never reads") << false << false << 100;
    QTest::newRow("pty, never reads") << true << false << 100;
}

// A client that reads nothing is dropped before devicesim holds more than a bounded amount for
// it; one that reads after a burst gets every byte.
void TestDeviceSimTransport::unreadBytesAreBounded()
{
    QFETCH(bool, pty);
    QFETCH(bool, reads);
    QFETCH(int, floods);

    DeviceSimProcess sim;
    QVERIFY2(startSim(sim, pty ? QStringList{QStringLiteral("--pty")} : QStringList()), qPrintable(sim.errorString()));
    QTcpSocket client;
    int fd = -1;
    if (pty) {
        fd = openRawTerminal(sim.ptyPath());
        QVERIFY(fd >= 0);
    } else {
        if (!reads)
            client.setReadBufferSize(4096); // Qt then leaves the rest in the kernel
        client.connectToHost(sim.address(), sim.port());
        QVERIFY(client.waitForConnected(3000));
    }
    QTRY_COMPARE(sim.control(QStringLiteral("clients")), QByteArray("OK 1"));

    int sent = 0;
    while (sent < floods && sim.control(QStringLiteral("clients")) == "OK 1") {
        QCOMPARE(sim.control(QStringLiteral("flood 1000000")), QByteArray("OK"));
        ++sent;
    }
    if (reads) {
        QCOMPARE(readAnswer(client, floods * 1000000, 1000).size(), floods * 1000000);
        QCOMPARE(sim.control(QStringLiteral("clients")), QByteArray("OK 1"));
    } else {
        QVERIFY2(sent < floods, "the client that never reads was never dropped");
    }
    QTest::qWait(200); // devicesim's log reaches us
    QByteArray log = sim.rawProcess().readAllStandardError();
    const auto dropped = [&log] { return log.contains("reads too slowly") && log.contains("connection dropped"); };
    if (reads) {
        QVERIFY(!dropped());
    } else { // what it must say may come late on a busy machine
        QVERIFY(QTest::qWaitFor([&] {
            log += sim.rawProcess().readAllStandardError();
            return dropped();
        }, 30000));
    }

    // Under AddressSanitizer (scripts/sanitize.sh sets its options) freed memory sits in
    // quarantine beside shadow memory: the bound says nothing there.
    if (qEnvironmentVariableIsEmpty("ASAN_OPTIONS")) {
        const qint64 peak = processMemoryKib(sim.rawProcess().processId(), "VmHWM");
        QVERIFY2(peak > 0 && peak < 100 * 1024, qPrintable(QStringLiteral("peak resident %1 KiB").arg(peak)));
    }
    QCOMPARE(sim.control(QStringLiteral("route 1")), QByteArray("OK 1")); // still serving
    if (fd >= 0)
        ::close(fd);
}

void TestDeviceSimTransport::controlRejectsBadRequests_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("unknown") << "frobnicate";
    QTest::newRow("delay without time") << "delay";
    QTest::newRow("delay negative") << "delay -5";
    QTest::newRow("split zero parts") << "split 0 10";
    QTest::newRow("bad count") << "silent count=x";
    QTest::newRow("reply without text") << "reply";
    QTest::newRow("refuse bad count") << "refuse count=x";
    QTest::newRow("received what") << "received everything";
    QTest::newRow("pty without --pty") << "pty";
    QTest::newRow("status form unknown") << "statusform sideways";
    QTest::newRow("status form twice") << "statusform arrow list";
}

void TestDeviceSimTransport::controlRejectsBadRequests()
{
    DeviceSimProcess& sim = shared; // one process for every row
    if (!sim.isRunning())
        QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    QFETCH(QString, line);
    QVERIFY(sim.control(line).startsWith("ERR"));
    QCOMPARE(sim.control(QStringLiteral("clients")), QByteArray("OK 0")); // still serving
}

QTEST_GUILESS_MAIN(TestDeviceSimTransport)
#include "tst_devicesim_transport.moc"
