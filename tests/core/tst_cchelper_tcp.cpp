// The matrix link over TCP against the simulated matrix: one command at a time, reply lines and
// results, raw bytes, unsolicited lines, the reply cap and the loopback guard.
#include "DeviceSimProcess.h"
#include "GuardTrap.h"
#include "LinkTestSupport.h"
#include "LogVolume.h"

#include "core/GlobalState.h"

#include <QTcpSocket>

class TestCCHelperTcp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyCommandSendsNothing();
    void notConnectedSignalsAndFails();
    void secondCommandWhileWaitingIsRefused();
    void replyLinesAndResult_data();
    void replyLinesAndResult();
    void lineCutBySettleWaitsForItsEnd_data();
    void lineCutBySettleWaitsForItsEnd();
    void rawBytesOnlyForCapitalV_data();
    void rawBytesOnlyForCapitalV();
    void bytesArrivingDuringSendBelongToIt();
    void unsolicitedLinesKeepTerminator();
    void silentDeviceFailsWaitedCommand();
    void overlongReplyIsDroppedToItsEnd();
    void overlongUnsolicitedLineIsDropped_data();
    void overlongUnsolicitedLineIsDropped();
    void floodedLinesAreLoggedBounded_data();
    void floodedLinesAreLoggedBounded();
    void floodWithSendsKeepsReading();
    void linesBufferedBeforeAWaitedCommandAreNotItsReply();
    void linesBeyondTheBufferAfterAReplyAreRead();
    void peerCloseReportsDisconnect();
    void matrixCommands_data();
    void matrixCommands();
    void reportsOfOtherControllersArrive();
    void guardRefusesWithoutSocket_data();
    void guardRefusesWithoutSocket();

private:
    bool connectLink();
    bool waited(const QString& cmd, QString* reply = nullptr, QByteArray* bytes = nullptr);

    DeviceSimProcess sim;
    CCHelper* link = nullptr;
};

void TestCCHelperTcp::init()
{
    g_deviceModel = 16;
    link = freshLink();
    QVERIFY2(sim.start({QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}), qPrintable(sim.errorString()));
}

void TestCCHelperTcp::cleanup()
{
    delete link;
    link = nullptr;
    sim.stop();
}

bool TestCCHelperTcp::connectLink()
{
    QSignalSpy connected(link, &CCHelper::clientConnected);
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    return connected.count() == 1 && link->isConnected();
}

bool TestCCHelperTcp::waited(const QString& cmd, QString* reply, QByteArray* bytes)
{
    QString r;
    QByteArray b = bytes ? *bytes : QByteArray();
    const bool ok = link->sendData(cmd, true, r, b, false);
    if (reply)
        *reply = r;
    if (bytes)
        *bytes = b;
    return ok;
}

void TestCCHelperTcp::emptyCommandSendsNothing()
{
    // An empty command (a missing template) is a failure, not a command sent.
    QVERIFY(connectLink());
    QString reply;
    QByteArray bytes;
    QVERIFY(!link->sendData(QStringLiteral("  \r\n"), true, reply, bytes, false));
    QVERIFY(reply.isEmpty());
    QTest::qWait(100);
    QCOMPARE(sim.receivedCount(), 0);
}

void TestCCHelperTcp::notConnectedSignalsAndFails()
{
    LinkRecorder recorder(link);
    QString reply;
    QByteArray bytes;
    QVERIFY(!link->sendData(QStringLiteral("/*Type;"), false, reply, bytes, false));
    QCOMPARE(recorder.count(QStringLiteral("notconnected")), 1);
}

void TestCCHelperTcp::secondCommandWhileWaitingIsRefused()
{
    QVERIFY(connectLink());
    QCOMPARE(sim.control(QStringLiteral("delay 400")), QByteArray("OK"));
    QCOMPARE(sim.control(QStringLiteral("reply first\\sOK\\r\\n")), QByteArray("OK"));

    // The reply arrives first as a partial line, so the first command is inside its settle delay,
    // pumping events, when the timer tries a second one.
    QCOMPARE(sim.control(QStringLiteral("split 2 300")), QByteArray("OK"));
    int secondResult = -1;
    QTimer::singleShot(500, link, [this, &secondResult] {
        QString r;
        QByteArray b;
        secondResult = link->sendData(QStringLiteral("SECOND;"), true, r, b, false) ? 1 : 0;
    });
    QString reply;
    QVERIFY(waited(QStringLiteral("FIRST;"), &reply));
    QCOMPARE(reply, QStringLiteral("first OK\r\n"));
    QCOMPARE(secondResult, 0);
    QTest::qWait(200);
    QCOMPARE(sim.control(QStringLiteral("received all")), QByteArray("OK FIRST;"));
}

void TestCCHelperTcp::replyLinesAndResult_data()
{
    QTest::addColumn<QString>("deviceReply"); // control-port escapes
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("ok") << "OK\\r\\n" << true << QStringList{"OK"};
    QTest::newRow("two lines, empty between") << "\\sIn\\s1\\sTo\\sAll.\\r\\n\\r\\nAV:\\s3->5\\s\\r\\n" << true
                                              << QStringList{"In 1 To All.", "AV: 3->5"};
    QTest::newRow("error") << "ERROR\\r\\n" << false << QStringList{"ERROR"};
    QTest::newRow("Error mixed case") << "Command\\sErRoR!\\r\\n" << false << QStringList{"Command ErRoR!"};
    QTest::newRow("fail lower") << "switch\\sfail\\r\\n" << false << QStringList{"switch fail"};
    QTest::newRow("FAIL capitals, second line") << "A:1->2\\r\\nFAILED.\\r\\n" << false
                                                << QStringList{"A:1->2", "FAILED."};
    QTest::newRow("blank reply") << "\\s\\s\\r\\n" << false << QStringList{};
    QTest::newRow("line without CR") << "Closed.\\n" << true << QStringList{"Closed."};
}

void TestCCHelperTcp::replyLinesAndResult()
{
    QFETCH(QString, deviceReply);
    QFETCH(bool, result);
    QFETCH(QStringList, lines);
    QVERIFY(connectLink());
    // The second line comes 100 ms after the first: inside the settle time.
    QCOMPARE(sim.control(QStringLiteral("split 2 100")), QByteArray("OK"));
    QCOMPARE(sim.control(QStringLiteral("reply ") + deviceReply), QByteArray("OK"));
    LinkRecorder recorder(link);
    QString reply;
    QCOMPARE(waited(QStringLiteral("/1V2.;"), &reply), result);
    QCOMPARE(recorder.lines, lines);
    QVERIFY(!reply.isEmpty());
}

// Three pieces 400 ms apart: the settle time ends inside the second line, which stays buffered
// until its end comes. A raw reply (the card address) gives all its bytes as they are, but its
// lines too end at its last line end.
void TestCCHelperTcp::lineCutBySettleWaitsForItsEnd_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("answer");   // escaped for the simulator
    QTest::addColumn<QByteArray>("replied");
    QTest::addColumn<QString>("lineAfter");
    QTest::newRow("text") << "/Close:1,2;" << "Output\\s1\\sClosed.\\r\\nOutput\\s2\\sClosed.\\r\\n"
                          << QByteArray("Output 1 Closed.\r\nOutput") << "Output 2 Closed.\r\n";
    QTest::newRow("raw") << "USER/V/1%;" << "\\x2a\\x7f\\x00\\x00\\x0b\\r\\nAV:12->16\\r\\n"
                         << QByteArray("\x2a\x7f\x00\x00\x0b\r\nAV:12", 12) << "AV:12->16\r\n";
}

void TestCCHelperTcp::lineCutBySettleWaitsForItsEnd()
{
    QFETCH(QString, command);
    QFETCH(QString, answer);
    QFETCH(QByteArray, replied);
    QFETCH(QString, lineAfter);
    QVERIFY(connectLink());
    QVERIFY(sim.accepts(QStringLiteral("split 3 400")));
    QVERIFY(sim.accepts(QStringLiteral("reply ") + answer));
    LinkRecorder recorder(link);
    QString reply;
    QByteArray bytes;
    QVERIFY(waited(command, &reply, &bytes));
    QCOMPARE(command.contains(QLatin1String("/V")) ? bytes : reply.toLatin1(), replied);
    QCOMPARE(recorder.lines.size(), 1);
    QTRY_COMPARE(recorder.lines.size(), 2);
    QCOMPARE(recorder.lines.last(), lineAfter);
}

void TestCCHelperTcp::rawBytesOnlyForCapitalV_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("rawFilled");
    QTest::newRow("/V") << "USER/V/1%;" << true;
    QTest::newRow("/v") << "USER/v/1%;" << false;
}

void TestCCHelperTcp::rawBytesOnlyForCapitalV()
{
    QFETCH(QString, command);
    QFETCH(bool, rawFilled);
    QVERIFY(connectLink());
    QCOMPARE(sim.control(QStringLiteral("reply \\x2a\\xc0\\xa8\\x01\\x14\\r\\n")), QByteArray("OK"));
    QByteArray bytes("untouched");
    QString reply;
    QVERIFY(waited(command, &reply, &bytes));
    QCOMPARE(bytes, rawFilled ? QByteArray("\x2a\xc0\xa8\x01\x14\r\n") : QByteArray("untouched"));
    QVERIFY(reply.startsWith(QLatin1Char('*')));
}

void TestCCHelperTcp::bytesArrivingDuringSendBelongToIt()
{
    QVERIFY(connectLink());
    QCOMPARE(sim.control(QStringLiteral("reply Recall\\s2.\\r\\n")), QByteArray("OK"));
    LinkRecorder recorder(link);
    // Fires inside the settle delay: the line it provokes lands in this send's buffer.
    QTimer::singleShot(20, this, [this] { sim.control(QStringLiteral("send Open.\\r\\n")); });
    QString reply;
    QVERIFY(waited(QStringLiteral("/Recall2.;"), &reply));
    QCOMPARE(reply, QStringLiteral("Recall 2.\r\nOpen.\r\n"));
    QCOMPARE(recorder.lines, (QStringList{"Recall 2.", "Open."}));
}

void TestCCHelperTcp::unsolicitedLinesKeepTerminator()
{
    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    QCOMPARE(sim.control(QStringLiteral("send Closed.\\r\\nA:1->2\\r\\npart")), QByteArray("OK"));
    QTRY_COMPARE(recorder.lines, (QStringList{"Closed.\r\n", "A:1->2\r\n"}));
    QCOMPARE(sim.control(QStringLiteral("send ial\\s3V4.\\r\\n")), QByteArray("OK"));
    QTRY_COMPARE(recorder.lines.size(), 3);
    QCOMPARE(recorder.lines.last(), QStringLiteral("partial 3V4.\r\n"));
}

void TestCCHelperTcp::silentDeviceFailsWaitedCommand()
{
    QVERIFY(connectLink());
    QCOMPARE(sim.control(QStringLiteral("silent")), QByteArray("OK"));
    QCOMPARE(sim.control(QStringLiteral("flood 10")), QByteArray("OK")); // a partial line, then nothing
    QTest::qWait(100);
    LinkRecorder recorder(link);
    QVERIFY(!waited(QStringLiteral("/*Type;")));
    QVERIFY(recorder.lines.isEmpty());
    // The partial bytes were dropped: the next answer stands alone.
    QCOMPARE(sim.control(QStringLiteral("reply OK\\r\\n")), QByteArray("OK"));
    QString reply;
    QVERIFY(waited(QStringLiteral("/*Type;"), &reply));
    QCOMPARE(reply, QStringLiteral("OK\r\n"));
}

// A reply line that never ends fails its command at the limit. Everything up to that line's end
// is part of it, whatever command is sent meanwhile: its tail answers nothing (not even the report
// at its end), the command waits for an answer of its own, and the one after the line's end gets
// its answer.
void TestCCHelperTcp::overlongReplyIsDroppedToItsEnd()
{
    QVERIFY(connectLink());
    QVERIFY(sim.accepts(QStringLiteral("stream 3000000")));
    LinkRecorder recorder(link);
    QVERIFY(!waited(QStringLiteral("/*Type;")));
    QVERIFY(sim.accepts(QStringLiteral("reply %1AV:3->5\\r\\n").arg(QString(100000, QLatin1Char('x')))));
    QString reply;
    QVERIFY(!waited(QStringLiteral("/*Type;"), &reply));
    QVERIFY(recorder.lines.isEmpty());

    QVERIFY(sim.accepts(QStringLiteral("reply OK\\r\\n")));
    QVERIFY(waited(QStringLiteral("/*Type;"), &reply));
    QCOMPARE(reply, QStringLiteral("OK\r\n"));
    QCOMPARE(recorder.lines, QStringList{"OK"});
}

// A line over the limit is dropped however its bytes arrive: in one write, or in two that each
// stay below the limit, the second bringing its end. The first write of a row "after an answer"
// comes inside the settle of a command whose answer has come: the command keeps its answer.
void TestCCHelperTcp::overlongUnsolicitedLineIsDropped_data()
{
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<bool>("afterAnAnswer");
    QTest::newRow("one write, then its end") << QStringList{"flood 2500000", "send tail.\\r\\n"} << false;
    QTest::newRow("1 040 000 bytes, then 20 000 with its end")
        << QStringList{"flood 1040000", "send " + QString(20000, QLatin1Char('x')) + "\\r\\n"} << false;
    QTest::newRow("5 MB after an answer") << QStringList{"flood 5000000", "send tail.\\r\\n"} << true;
}

void TestCCHelperTcp::overlongUnsolicitedLineIsDropped()
{
    QFETCH(QStringList, writes);
    QFETCH(bool, afterAnAnswer);
    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    QStringList expected{"Open.\r\n"};
    if (afterAnAnswer) {
        QVERIFY(sim.accepts(QStringLiteral("reply OK\\r\\n")));
        // The reply wait runs no events: the first to run are those of the settle.
        QObject settle;
        const QString first = writes.takeFirst();
        QTimer::singleShot(0, &settle, [&] { QVERIFY(sim.accepts(first)); });
        QString reply;
        QVERIFY(waited(QStringLiteral("/*Type;"), &reply));
        // The reply's bytes end with what came of the long line by then.
        QVERIFY2(reply.startsWith(QStringLiteral("OK\r\n")), qPrintable(reply.left(20)));
        expected.prepend(QStringLiteral("OK"));
    }
    for (const QString& write : writes) {
        QVERIFY(sim.accepts(write));
        QTest::qWait(300);
    }
    QVERIFY(sim.accepts(QStringLiteral("send Open.\\r\\n")));
    QTRY_COMPARE(recorder.lines.size(), expected.size());
    QTest::qWait(200);
    QCOMPARE(recorder.lines, expected);
}

// The log files are never deleted: a matrix that floods the link must add only a bounded amount.
void TestCCHelperTcp::floodedLinesAreLoggedBounded_data()
{
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("maxEntries");
    QTest::addColumn<int>("maxChars");

    QStringList longLines;
    for (int i = 0; i < 20; ++i)
        longLines << QStringLiteral("flood 900000") << QStringLiteral("send \\r\\n");
    QTest::newRow("twenty lines of 900 KB, each cut") << longLines << 20 << 20 << 20 * 400;
    QTest::newRow("2000 short lines, the rest counted")
        << QStringList{QStringLiteral("send ") + QStringLiteral("noise\\r\\n").repeated(2000)} << 2000 << 300 << 300 * 100;
}

void TestCCHelperTcp::floodedLinesAreLoggedBounded()
{
    QFETCH(QStringList, requests);
    QFETCH(int, lines);
    QFETCH(int, maxEntries);
    QFETCH(int, maxChars);

    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    LogVolume log;
    for (const QString& request : requests)
        QCOMPARE(sim.control(request), QByteArray("OK"));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.lines.size(), lines, 10000);
    QCOMPARE(log.beyond(QStringLiteral("RecvData2:"), maxEntries, maxChars), QString());
}

// Sends that hold the lock while the read buffer fills up (its 1 MiB bound) skip the read; it is
// made up afterwards, or the buffer would never signal again and the link would stop reading.
void TestCCHelperTcp::floodWithSendsKeepsReading()
{
    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    const QString lines = QStringLiteral("send ") + QStringLiteral("Open.\\r\\n").repeated(9000);
    for (int i = 0; i < 40; ++i)   // 2.5 MB, more than the buffer holds
        QVERIFY(sim.accepts(lines));
    QString reply;
    QByteArray bytes;
    for (int i = 0; i < 20; ++i)
        QVERIFY(link->sendData(QStringLiteral("/Nop;"), false, reply, bytes, false));
    QVERIFY(sim.accepts(QStringLiteral("send Marker.\\r\\n")));
    QTRY_VERIFY_WITH_TIMEOUT(recorder.lines.contains(QStringLiteral("Marker.\r\n")), 10000);
    QCOMPARE(recorder.lines.count(QStringLiteral("Open.\r\n")), 40 * 9000);
}

// Whole lines waiting in the buffer came before the command: they pass as unsolicited lines
// and are no part of its reply or result.
void TestCCHelperTcp::linesBufferedBeforeAWaitedCommandAreNotItsReply()
{
    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    auto* socket = link->findChild<QTcpSocket*>();
    socket->blockSignals(true);   // as when the read was skipped
    QVERIFY(sim.accepts(QStringLiteral("send Stale\\sOK.\\r\\nStale\\sOK.\\r\\n")));
    while (socket->bytesAvailable() < 20 && socket->waitForReadyRead(3000)) {
    }
    socket->blockSignals(false);
    QVERIFY(sim.accepts(QStringLiteral("error")));

    QString reply;
    QVERIFY(!waited(QStringLiteral("/FrontPanelVer;"), &reply));
    QCOMPARE(reply, QStringLiteral("ERROR\r\n"));
    QCOMPARE(recorder.lines, (QStringList{"Stale OK.\r\n", "Stale OK.\r\n", "ERROR"}));
}

// More lines than the read buffer holds (1 MiB) follow a waited command's answer: the buffer
// fills during the settle time, and once full the socket watches for new bytes again only after
// it was emptied. Every line is read, and what the matrix sends later too.
void TestCCHelperTcp::linesBeyondTheBufferAfterAReplyAreRead()
{
    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    // 11 bytes: the buffer's bound does not fall on a line end.
    const QString line = QStringLiteral("Out5Open.");
    const int linesPerRequest = 4000;
    const int requests = 40;   // 1.76 MB
    int sent = 0;
    // Runs in the first events after the answer's first line: the settle time.
    QTimer::singleShot(0, this, [&] {
        const QString request = QStringLiteral("send ") + (line + QStringLiteral("\\r\\n")).repeated(linesPerRequest);
        while (sent < requests && sim.accepts(request))
            ++sent;
    });
    QCOMPARE(sim.control(QStringLiteral("reply OK\\r\\n")), QByteArray("OK"));
    QVERIFY(waited(QStringLiteral("/*Type;")));
    QCOMPARE(sent, requests);
    for (const QString& marker : {QStringLiteral("Marker1."), QStringLiteral("Marker2.")}) {
        QTest::qWait(500);
        QVERIFY(sim.accepts(QStringLiteral("send %1\\r\\n").arg(marker)));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.lines.contains(marker + QStringLiteral("\r\n")), 10000);
    }
    // The reply's own lines come trimmed, those read afterwards with their line end.
    QCOMPARE(recorder.lines.count(line) + recorder.lines.count(line + QStringLiteral("\r\n")), requests * linesPerRequest);
}

void TestCCHelperTcp::peerCloseReportsDisconnect()
{
    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    QCOMPARE(sim.control(QStringLiteral("drop")), QByteArray("OK"));
    QTRY_COMPARE(recorder.count(QStringLiteral("disconnected")), 1);
    QTest::qWait(300);
    QCOMPARE(recorder.count(QStringLiteral("disconnected")), 1); // auto-reconnect is off
    QVERIFY(!recorder.has(QStringLiteral("message:正在重连")));
}

void TestCCHelperTcp::matrixCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("output");      // 1-based output to check afterwards, 0 none
    QTest::addColumn<QByteArray>("route");

    QTest::newRow("version") << "/FrontPanelVer;" << true << QStringList{"Front Panel Ver 2.15"} << 0 << QByteArray();
    QTest::newRow("switch") << "/Switch:1:2,3;" << true << QStringList{"1V2,3."} << 3 << QByteArray("OK 1");
    QTest::newRow("unknown") << "/Bogus;" << false << QStringList{"Error: unknown command."} << 0 << QByteArray();
    QTest::newRow("bad port") << "/Switch:99:1;" << false << QStringList{"Error: bad port."} << 1 << QByteArray("OK 1");
}

void TestCCHelperTcp::matrixCommands()
{
    QFETCH(QString, command);
    QFETCH(bool, result);
    QFETCH(QStringList, lines);
    QFETCH(int, output);
    QFETCH(QByteArray, route);
    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    QCOMPARE(waited(command), result);
    QCOMPARE(recorder.lines, lines);
    if (output > 0)
        QCOMPARE(sim.control(QStringLiteral("route %1").arg(output)), route);
}

void TestCCHelperTcp::reportsOfOtherControllersArrive()
{
    QVERIFY(connectLink());
    LinkRecorder recorder(link);
    QTcpSocket other;
    other.connectToHost(sim.address(), sim.port());
    QVERIFY(other.waitForConnected(3000));
    other.write("/Switch:3:5;");
    QTRY_COMPARE(recorder.lines, QStringList{"3V5.\r\n"});
    QCOMPARE(sim.control(QStringLiteral("panel switch 2 4")), QByteArray("OK"));
    QTRY_COMPARE(recorder.lines.size(), 2);
    QCOMPARE(recorder.lines.last(), QStringLiteral("AV: 2->4\r\n"));
}

void TestCCHelperTcp::guardRefusesWithoutSocket_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("private") << "192.168.0.178";
    QTest::newRow("ten") << "10.0.0.1";
    QTest::newRow("name not in hosts") << "matrix.vexilo.invalid";
}

void TestCCHelperTcp::guardRefusesWithoutSocket()
{
    QFETCH(QString, host);
    QTcpSocket* socket = link->findChild<QTcpSocket*>();
    QVERIFY(socket);
    LinkRecorder recorder(link);

    // The link must ask the guard: a refused loopback trap stays untouched before any private
    // address is tried.
    {
        GuardTrap trap;
        QVERIFY(trap.isListening());
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("refused matrix link")));
        link->connectToDevice(0, trap.host(), trap.port(), QString());
        QVERIFY(!trap.wasDialled());
        QCOMPARE(recorder.events, QStringList{"timeout"});
        recorder.events.clear();
    }

    QSignalSpy states(socket, &QAbstractSocket::stateChanged);
    link->connectToDevice(0, host, 4001, QString());
    QCOMPARE(recorder.events, QStringList{"timeout"});
    QCOMPARE(states.count(), 0);
    QCOMPARE(socket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(!link->isConnected());

    // A loopback address is still dialled by the same link.
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    QCOMPARE(recorder.events.last(), QStringLiteral("connected"));
    QVERIFY(link->isConnected());
}

QTEST_GUILESS_MAIN(TestCCHelperTcp)
#include "tst_cchelper_tcp.moc"
