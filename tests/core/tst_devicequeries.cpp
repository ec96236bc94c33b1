// The two start-up questions to the matrix: the routing status and the IP card addresses, first
// with a recording sender (commands, slot arithmetic, reply bytes), then against the simulated matrix.
#include "DeviceSimProcess.h"
#include "LinkTestSupport.h"
#include "ProcessMemory.h"
#include "QuitDuring.h"
#include "TempWorkDir.h"

#include "core/CardInfo.h"
#include "core/DeviceQueries.h"
#include "core/GlobalState.h"
#include "core/MatrixModel.h"
#include "core/PortRecords.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QSettings>

namespace {

struct Sent
{
    QString command;
    bool waited;
};

// Answers each waited command with the next scripted reply; an empty reply counts as a failure.
class RecordingSender
{
public:
    QList<Sent> sent;
    QList<QByteArray> replies;
    bool busy = false;          // refuses every command, as a link whose lock another command holds
    bool writeFails = false;    // every write fails, as to a matrix that stopped reading
    std::function<void()> refused;   // told of a refusal, as the link's sendRefused()

    CommandSender sender()
    {
        return [this](const QString& cmd, bool waitReply, QString&, QByteArray& bytes, bool latin1) {
            sent.append({cmd, waitReply});
            if (busy && refused)
                refused();
            if (latin1 || busy || writeFails)
                return false;   // template commands go out in the local code page
            if (!waitReply || !cmd.contains(QLatin1String("/V")))
                return true;
            const QByteArray reply = replies.isEmpty() ? QByteArray() : replies.takeFirst();
            bytes = reply;
            return !reply.isEmpty();
        };
    }
    QStringList commands() const
    {
        QStringList list;
        for (const Sent& s : sent)
            list << s.command;
        return list;
    }
};

QByteArray addressReply(int a, int b, int c, int d)
{
    QByteArray reply(1, '*');
    reply.append(char(a)).append(char(b)).append(char(c)).append(char(d)).append("\r\n");
    return reply;
}

QString inIp(const PortRecords& records, int port)
{
    return records.getCardInfo(port).value(CardKey::InCard).toObject().value(CardKey::Ip).toString();
}

QString previewIp(const PortRecords& records, int port)
{
    return records.getCardInfo(port).value(CardKey::OutCard).toObject().value(CardKey::PreviewIp).toString();
}

void writeSystemTemplates(bool withAddressQuery)
{
    QSettings ini(QStringLiteral("data/command2/SYSTEM.ini"), QSettings::IniFormat);
    ini.setValue(QStringLiteral("COMMAND/IOStatus"), QStringLiteral("/IOStatus;"));
    if (withAddressQuery)
        ini.setValue(QStringLiteral("COMMAND/IpCardAddr"), QStringLiteral("/VAddr:%1:%2;"));
}

// A status query without a matrix: the recorder takes the commands, nothing answers.
struct RecordedStatusQueries
{
    explicit RecordedStatusQueries(int model)
    {
        writeSystemTemplates(false);
        g_deviceModel = model;
        queries.setSender(recorder.sender());
        recorder.refused = [this] { queries.linkBusy(); };
    }
    QTimer* retryTimer() { return queries.findChild<QTimer*>(QStringLiteral("statusRetry")); }

    PortRecords records;
    DeviceQueries queries{&records};
    RecordingSender recorder;
};

} // namespace

class TestDeviceQueries : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addressFromReply_data();
    void addressFromReply();
    void addressQueriesPerSlot();
    void failedQueryLeavesPairUnchanged();
    void missingTemplateStoresNothing();
    void statusQuerySendsWithoutWaiting();
    void unansweredQueriesStopAfterALimit();
    void refusedQueryIsAskedWhenTheLinkIsFree();
    void failedWriteCountsAsUnanswered();
    void lastRoundDecidesWhetherAnswered();
    void matrixThatStopsReadingIsAskedUpToTheLimit();
    void quittingEndsTheQueryAtOnce();

    void statusQueryFillsRoutesFromMatrix();
    void addressesFromMatrix();
    void sceneRecallReportedByMatrixRefreshesRoutes();
    void openBurstAsksForTheStatusOnce();
    void unansweredStatusQueryIsAskedAgain_data();
    void unansweredStatusQueryIsAskedAgain();
    void statusAnswerIsJudgedByItsLines_data();
    void statusAnswerIsJudgedByItsLines();
    void recallBurstAsksOnce();
    void retriesRefusedWhileAddressesAreReadAreAskedAfter();
    void reconnectDuringANoticeKeepsTheLinkUp();
    void reconnectUnderTheQuerysOwnNoticeAsksAgain();
    void serialLineLostAndBack_data();
    void serialLineLostAndBack();

private:
    bool startMatrix(const QStringList& args);
    int statusQueries() { return sim.control(QStringLiteral("received all")).count("/IOStatus;"); }

    PerTestWorkDir work;
    DeviceSimProcess sim;
    CCHelper* link = nullptr;
};

void TestDeviceQueries::init()
{
    QVERIFY(work.renew());
    g_languageIndex = 2;
    g_deviceModel = 16;
    g_inCardTypes.clear();
    g_outCardTypes.clear();
}

void TestDeviceQueries::cleanup()
{
    delete link;
    link = nullptr;
    sim.stop();
    work.drop();
}

void TestDeviceQueries::addressFromReply_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("address");
    QTest::newRow("marker then four bytes") << QByteArray("\x2a\xc0\xa8\x01\x14", 5) << "192.168.1.20";
    QTest::newRow("line end ignored") << addressReply(127, 0, 0, 11) << "127.0.0.11";
    QTest::newRow("high bytes unsigned") << QByteArray("*\xff\xfe\x80\x00", 5) << "255.254.128.0";
    QTest::newRow("short reply pads with 0") << QByteArray("*\x0a\x01", 3) << "10.1.0.0";
    QTest::newRow("only the marker") << QByteArray("*") << "0.0.0.0";
    QTest::newRow("empty") << QByteArray() << "0.0.0.0";
}

void TestDeviceQueries::addressFromReply()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, address);
    QCOMPARE(DeviceQueries::addressFromReply(bytes), address);
}

void TestDeviceQueries::addressQueriesPerSlot()
{
    writeSystemTemplates(true);
    g_inCardTypes = QStringLiteral("aafF");   // only the lower-case f is an IP card
    g_outCardTypes = QStringLiteral("aeEe");
    PortRecords records;
    records.loadCardConfig();
    DeviceQueries queries(&records);
    RecordingSender recorder;
    recorder.replies = {addressReply(127, 0, 0, 11), addressReply(127, 0, 0, 12), addressReply(127, 0, 0, 101),
                        addressReply(127, 0, 0, 102)};
    queries.setSender(recorder.sender());

    queries.queryIpCardAddresses();

    QCOMPARE(recorder.commands(), (QStringList{"USER/I/9:0863%;", "/VAddr:1:3;", "/VAddr:1:3;", "USER/O/5:0862%;",
                                               "/VAddr:2:2;", "USER/O/13:0864%;", "/VAddr:2:4;"}));
    for (const Sent& s : recorder.sent)
        QVERIFY(s.waited);
    QCOMPARE(inIp(records, 8), QStringLiteral("127.0.0.11"));
    QCOMPARE(inIp(records, 9), QStringLiteral("127.0.0.11"));
    QCOMPARE(inIp(records, 10), QStringLiteral("127.0.0.12"));
    QCOMPARE(inIp(records, 11), QStringLiteral("127.0.0.12"));
    QVERIFY(inIp(records, 12).isEmpty());
    QCOMPARE(previewIp(records, 4), QStringLiteral("127.0.0.101"));
    QCOMPARE(previewIp(records, 12), QStringLiteral("127.0.0.102"));
    for (int port : {5, 6, 7, 13})
        QVERIFY(previewIp(records, port).isEmpty());
    // Records beyond the letters are created for the ports that got an address; nothing else.
    QCOMPARE(records.cardCount(), 16);
}

void TestDeviceQueries::failedQueryLeavesPairUnchanged()
{
    writeSystemTemplates(true);
    g_inCardTypes = QStringLiteral("f");
    PortRecords records;
    records.loadCardConfig();
    for (int port = 0; port < 4; ++port) {
        CardInfo record = records.getCardInfo(port);
        QJsonObject in = record.value(CardKey::InCard).toObject();
        in.insert(CardKey::Ip, QStringLiteral("127.0.0.50"));
        record.insert(CardKey::InCard, in);
        records.setCardInfo(port, record);
    }
    DeviceQueries queries(&records);
    RecordingSender recorder;
    recorder.replies = {QByteArray(), QByteArray("*\x7f\x01", 3)};   // first fails, second is short
    queries.setSender(recorder.sender());

    queries.queryIpCardAddresses();
    QCOMPARE(inIp(records, 0), QStringLiteral("127.0.0.50"));
    QCOMPARE(inIp(records, 1), QStringLiteral("127.0.0.50"));
    QCOMPARE(inIp(records, 2), QStringLiteral("127.1.0.0"));
    QCOMPARE(inIp(records, 3), QStringLiteral("127.1.0.0"));
}

void TestDeviceQueries::missingTemplateStoresNothing()
{
    writeSystemTemplates(false);
    g_inCardTypes = QStringLiteral("f");
    g_outCardTypes = QStringLiteral("e");
    PortRecords records;
    records.loadCardConfig();
    DeviceQueries queries(&records);
    RecordingSender recorder;
    queries.setSender(recorder.sender());

    queries.queryIpCardAddresses();
    // The card selections still go out, but no address is made up without a question.
    QCOMPARE(recorder.commands(), (QStringList{"USER/I/1:0861%;", "USER/O/1:0861%;"}));
    QVERIFY(inIp(records, 0).isEmpty());
    QVERIFY(previewIp(records, 0).isEmpty());
}

void TestDeviceQueries::statusQuerySendsWithoutWaiting()
{
    RecordedStatusQueries status(4);
    status.queries.queryIOStatus();
    QCOMPARE(status.recorder.commands(), QStringList{QStringLiteral("/IOStatus;")});
    QVERIFY(!status.recorder.sent.at(0).waited);
}

// A matrix that never answers the status query is asked UnansweredLimit times in a row, then
// no more until something asks again.
void TestDeviceQueries::unansweredQueriesStopAfterALimit()
{
    RecordedStatusQueries status(4);
    status.retryTimer()->setInterval(20);
    const int limit = DeviceQueries::UnansweredLimit;
    for (int round = 1; round <= 2; ++round) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unanswered %1 times").arg(limit)));
        status.queries.requestIOStatus();   // as an "Open." report asks
        QTRY_COMPARE(status.recorder.sent.size(), round * limit);
        QTest::qWait(500);
        QCOMPARE(status.recorder.sent.size(), round * limit);
    }
}

// A query the link refuses (another command holds it; a retry may come due inside that
// command's own wait) was never written: it holds nothing up (waiting would hold that command up
// 6.4 s), counts for nothing, and is asked again each time the link is free.
void TestDeviceQueries::refusedQueryIsAskedWhenTheLinkIsFree()
{
    RecordedStatusQueries status(160);
    status.recorder.busy = true;
    bool eventsRan = false;
    QTimer::singleShot(0, [&eventsRan] { eventsRan = true; });
    status.queries.queryIOStatus();
    QVERIFY(!eventsRan);
    QTRY_VERIFY(eventsRan);
    const int refusals = 2 * DeviceQueries::UnansweredLimit;
    for (int i = 1; i < refusals; ++i)
        status.queries.linkFree();
    QCOMPARE(status.recorder.sent.size(), refusals);
    QVERIFY(!status.retryTimer()->isActive());

    g_deviceModel = 4;
    status.recorder.busy = false;
    status.queries.linkFree();   // written, and unanswered: that one is retried
    QCOMPARE(status.recorder.sent.size(), refusals + 1);
    QVERIFY(status.retryTimer()->isActive());
    status.queries.linkFree();   // nothing refused is left to ask
    QCOMPARE(status.recorder.sent.size(), refusals + 1);
}

// A query whose write failed (the matrix stopped reading) is not a refusal: the link's end of
// that write does not ask it again at once, it counts as unanswered and is retried after a pause.
void TestDeviceQueries::failedWriteCountsAsUnanswered()
{
    RecordedStatusQueries status(4);
    status.recorder.writeFails = true;
    status.queries.queryIOStatus();
    status.queries.linkFree();   // as the failed write ends, from the event loop
    QCOMPARE(status.recorder.sent.size(), 1);
    QVERIFY(status.retryTimer()->isActive());
}

// A round answered, then one more asked for meanwhile whose write fails: the routes may have
// changed since the answer, so the query is asked again after the pause.
void TestDeviceQueries::lastRoundDecidesWhetherAnswered()
{
    RecordedStatusQueries status(4);
    QTimer::singleShot(0, &status.queries, [&status] {   // inside the first round's wait
        status.queries.routesReported();
        status.queries.requestIOStatus();
        status.recorder.writeFails = true;
    });
    status.queries.queryIOStatus();
    QCOMPARE(status.recorder.sent.size(), 2);
    QVERIFY(status.retryTimer()->isActive());
}

// A matrix that takes the connection and stops reading, its buffers full: every status query's
// write times out. Each counts as unanswered, with the pause between, and the queries stop at the
// limit instead of being written again and again with the console frozen in each write.
void TestDeviceQueries::matrixThatStopsReadingIsAskedUpToTheLimit()
{
    writeSystemTemplates(false);
    QTcpServer matrix;
    QVERIFY(matrix.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
    QPointer<QTcpSocket> peer;
    connect(&matrix, &QTcpServer::newConnection, this, [&] {
        peer = matrix.nextPendingConnection();
        peer->setReadBufferSize(4096);   // and never read
        peer->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    });
    link = freshLink();
    QSignalSpy connected(link, &CCHelper::clientConnected);
    link->connectToDevice(0, QStringLiteral("127.0.0.1"), matrix.serverPort(), QString());
    QVERIFY(connected.count() == 1 || connected.wait(6000));
    QTRY_VERIFY(peer);
    QString reply;
    QByteArray bytes;
    QVERIFY(link->sendData(QString(32 << 20, QLatin1Char('x')), false, reply, bytes, true));   // fills the buffers

    MatrixModel model;
    model.queries()->findChild<QTimer*>(QStringLiteral("statusRetry"))->setInterval(100);
    QSignalSpy messages(link, &CCHelper::message);
    const auto failedWrites = [&messages] {
        return int(std::count_if(messages.cbegin(), messages.cend(), [](const QList<QVariant>& m) {
            return m.value(0).toString().startsWith(QStringLiteral("发送数据失败"));
        }));
    };
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unanswered %1 times").arg(DeviceQueries::UnansweredLimit)));
    model.queryIOStatus();
    QTRY_COMPARE_WITH_TIMEOUT(failedWrites(), DeviceQueries::UnansweredLimit, 90000);
    QTest::qWait(7000);   // longer than one more write would take to fail
    QCOMPARE(failedWrites(), DeviceQueries::UnansweredLimit);
}

// Once the application quits, the event loop's waits return at once: the query must end then
// instead of spinning through the rest of its model x 40 ms (6.4 s at 160 ports).
void TestDeviceQueries::quittingEndsTheQueryAtOnce()
{
    RecordedStatusQueries status(160);
    qint64 grownKb = -1;
    const qint64 endedAfter = msRunAfterExit(300, [&] {
        const qint64 before = processMemoryKib(0, "VmRSS");
        status.queries.queryIOStatus();
        grownKb = processMemoryKib(0, "VmRSS") - before;
    });
    QVERIFY2(endedAfter >= 0 && endedAfter < 200, qPrintable(QString::number(endedAfter)));
    QVERIFY2(grownKb < 10 * 1024, qPrintable(QString::number(grownKb)));
    // Cut short is not answered, and nothing is asked again on the way out.
    QTest::qWait(100);
    QCOMPARE(status.recorder.sent.size(), 1);
    QVERIFY(!status.retryTimer()->isActive());
}

bool TestDeviceQueries::startMatrix(const QStringList& args)
{
    // The real command templates, as the build stages them.
    const QString staged = QString::fromLocal8Bit(qgetenv("VEXILO_BIN_DIR")) + QStringLiteral("/data/command2/SYSTEM.ini");
    QDir().mkpath(QStringLiteral("data/command2"));
    if (!QFile::copy(staged, QStringLiteral("data/command2/SYSTEM.ini"))) {
        qWarning() << "no staged templates at" << staged;
        return false;
    }
    if (!sim.start(args + QStringList{QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")})) {
        qWarning() << sim.errorString();
        return false;
    }
    link = freshLink();
    QSignalSpy connected(link, &CCHelper::clientConnected);
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    return connected.count() == 1 || connected.wait(6000);
}

void TestDeviceQueries::statusQueryFillsRoutesFromMatrix()
{
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("16")}));
    QCOMPARE(sim.controlOk(QStringLiteral("panel switch 3 5")), QByteArray());
    QCOMPARE(sim.lastAnswer(), QByteArray("OK"));
    QCOMPARE(sim.controlOk(QStringLiteral("panel switch 3 16")), QByteArray());
    QTest::qWait(300);   // the panel's own reports pass by before the model exists

    MatrixModel model;   // listens to the link itself
    QSignalSpy refresh(&model, &MatrixModel::routesChanged);
    model.queryIOStatus();

    // The model now mirrors the matrix, output by output ("route" answers 1-based, 0 = none).
    for (int output = 0; output < 16; ++output) {
        const QByteArray answer = sim.controlOk(QStringLiteral("route %1").arg(output + 1));
        QCOMPARE(model.getRoute(output), answer.toInt() - 1);
    }
    QVERIFY(model.outputsOfInput(2).contains(4));
    QVERIFY(model.outputsOfInput(2).contains(15));
    QCOMPARE(model.records()->routes().size(), 16);
    QVERIFY(refresh.count() >= 16);
}

void TestDeviceQueries::addressesFromMatrix()
{
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--in-cards"),
                         QStringLiteral("aaff"), QStringLiteral("--out-cards"), QStringLiteral("aeae")}));
    g_inCardTypes = QStringLiteral("aaff");
    g_outCardTypes = QStringLiteral("aeae");
    MatrixModel model;
    model.queryIpCardAddresses();

    const PortRecords& records = *model.records();
    // Two processors per IP card, handed out in slot order from 127.0.0.11.
    const QStringList expectedIn{"127.0.0.11", "127.0.0.11", "127.0.0.12", "127.0.0.12",
                                 "127.0.0.13", "127.0.0.13", "127.0.0.14", "127.0.0.14"};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(inIp(records, 8 + i), expectedIn.at(i));
    QVERIFY(inIp(records, 0).isEmpty());
    QCOMPARE(previewIp(records, 4), QStringLiteral("127.0.0.101"));
    QCOMPARE(previewIp(records, 12), QStringLiteral("127.0.0.102"));
    QVERIFY(previewIp(records, 5).isEmpty());
    QVERIFY(previewIp(records, 13).isEmpty());
}

void TestDeviceQueries::sceneRecallReportedByMatrixRefreshesRoutes()
{
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("8")}));
    g_deviceModel = 8;
    MatrixModel model;

    // Scene 2 holds input 4 on output 1; the recall's report makes the model ask for the status.
    QString reply;
    QByteArray bytes;
    QVERIFY(link->sendData(QStringLiteral("/Switch:4:1;"), true, reply, bytes, false));
    QVERIFY(link->sendData(QStringLiteral("/SceneSave:2;"), true, reply, bytes, false));
    QVERIFY(link->sendData(QStringLiteral("/Switch:1:1;"), true, reply, bytes, false));
    QCOMPARE(model.getRoute(0), 0);
    QVERIFY(link->sendData(QStringLiteral("/SceneCall:2;"), true, reply, bytes, false));

    QCOMPARE(model.getRoute(0), 3);
    QCOMPARE(QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat)
                 .value(QStringLiteral("CLIENT_INFO/CurrentSencce")).toInt(), 2);
}

// A burst of "Open." reports (another controller opening outputs one by one) asks for the
// status once, not once per report with its model x 40 ms pause each.
void TestDeviceQueries::openBurstAsksForTheStatusOnce()
{
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("16")}));
    MatrixModel model;
    QVERIFY(sim.accepts(QStringLiteral("received clear")));
    QVERIFY(sim.accepts(QStringLiteral("send %1").arg(QStringLiteral("Out5 Open.\\r\\n").repeated(100))));

    QTRY_COMPARE(statusQueries(), 1);
    // Without merging, a round of 640 ms would follow every report for a minute.
    QTest::qWait(3 * 16 * 40);
    QCOMPARE(statusQueries(), 1);
}

// A status query that the matrix answered with an error, or not at all, leaves the routes shown
// stale: it is asked again at the reconnect interval until an answer comes, and then no more.
void TestDeviceQueries::unansweredStatusQueryIsAskedAgain_data()
{
    QTest::addColumn<bool>("afterReconnect");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("expectedRoute");   // of output 1, 0-based input
    // The matrix switches input 9 to output 1 while the link is down; the reconnect's query
    // gets an error line.
    QTest::newRow("error after a reconnect") << true << "error count=1" << 8;
    // The start-up's query meets a silent matrix, which answers again later (new matrix: 1->1).
    QTest::newRow("silent at start-up") << false << "silent count=0" << 0;
}

void TestDeviceQueries::unansweredStatusQueryIsAskedAgain()
{
    QFETCH(bool, afterReconnect);
    QFETCH(QString, fault);
    QFETCH(int, expectedRoute);
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("16")}));
    MatrixModel model;
    if (afterReconnect) {
        model.queryIOStatus();
        QSignalSpy lost(link, &CCHelper::clientDisConnected);
        QSignalSpy connected(link, &CCHelper::clientConnected);
        QVERIFY(sim.accepts(QStringLiteral("drop")));
        QVERIFY(lost.count() == 1 || lost.wait(10000));
        QVERIFY(sim.accepts(QStringLiteral("panel switch 9 1")) && sim.accepts(fault));
        link->connectToDevice(0, sim.address(), sim.port(), QString());
        QVERIFY(connected.count() == 1 || connected.wait(10000));
    } else {
        QVERIFY(sim.accepts(fault));
        model.queryIOStatus();
        QVERIFY(sim.accepts(QStringLiteral("clear")));
    }
    QTRY_VERIFY_WITH_TIMEOUT(statusQueries() >= 1 + int(afterReconnect), 10000);
    QCOMPARE(model.getRoute(0), afterReconnect ? 0 : -1);   // nothing answered yet

    QTRY_COMPARE_WITH_TIMEOUT(model.getRoute(0), expectedRoute, DeviceQueries::StatusRetryMs + 10000);
    QCOMPARE(statusQueries(), 2 + int(afterReconnect));
    // Answered: no more repeats.
    QTest::qWait(DeviceQueries::StatusRetryMs + 1000);
    QCOMPARE(statusQueries(), 2 + int(afterReconnect));
}

// Answered is any line that sets routes, in any form, with no failure line among them.
void TestDeviceQueries::statusAnswerIsJudgedByItsLines_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("otherConsoleSwitches");
    QTest::addColumn<int>("queries");
    // Every output closed and reported in arrow lines ("AV:0->N"): answered, never asked again.
    QTest::newRow("all closed, arrow lines") << "statusform arrow" << false << 1;
    // The status query refused while another console's switch (copied to every client) comes in.
    QTest::newRow("error while another console switches") << "error count=1" << true << 2;
}

void TestDeviceQueries::statusAnswerIsJudgedByItsLines()
{
    QFETCH(QString, control);
    QFETCH(bool, otherConsoleSwitches);
    QFETCH(int, queries);
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("16")}));
    QString reply;
    QByteArray bytes;
    QVERIFY(link->sendData(QStringLiteral("/CloseAll;"), true, reply, bytes, false));
    MatrixModel model;
    QVERIFY(sim.accepts(control));
    QVERIFY(sim.accepts(QStringLiteral("received clear")));
    QTcpSocket other;
    if (otherConsoleSwitches) {
        other.connectToHost(sim.address(), sim.port());
        QVERIFY(other.waitForConnected(3000));
        QTimer::singleShot(200, &other, [&other] { other.write("/Switch:9:1;"); });
    }
    model.queryIOStatus();
    QTest::qWait(DeviceQueries::StatusRetryMs + 2000);
    QCOMPARE(statusQueries(), queries);
    for (int output = 0; output < 16; ++output)
        QCOMPARE(model.getRoute(output), sim.controlOk(QStringLiteral("route %1").arg(output + 1)).toInt() - 1);
}

// Lines read together are parsed first; the recalls among them ask for the status once.
void TestDeviceQueries::recallBurstAsksOnce()
{
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("16")}));
    MatrixModel model;
    QVERIFY(sim.accepts(QStringLiteral("panel switch 7 2")));
    QTRY_COMPARE(model.getRoute(1), 6);
    QVERIFY(sim.accepts(QStringLiteral("received clear")));
    QString burst;
    for (int i = 0; i < 20; ++i)
        burst += QStringLiteral("Recall %1.\\r\\n").arg(i % 10 + 1);
    burst += QStringLiteral("Recall 4.\\r\\n");
    QVERIFY(sim.accepts(QStringLiteral("send ") + burst));

    QTRY_COMPARE(statusQueries(), 1);
    QTest::qWait(3 * 16 * 40);
    QVERIFY(statusQueries() <= 2);
    for (int output = 0; output < 16; ++output)
        QCOMPARE(model.getRoute(output), sim.controlOk(QStringLiteral("route %1").arg(output + 1)).toInt() - 1);
    QCOMPARE(QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat)
                 .value(QStringLiteral("CLIENT_INFO/CurrentSencce")).toInt(), 4);
}

// The start-up's query goes unanswered and its retries come due while the card addresses are
// read, inside one waited command after another, where the link refuses them. Refused, they are
// asked again once the link is free: after the reading the routes shown are the matrix's.
void TestDeviceQueries::retriesRefusedWhileAddressesAreReadAreAskedAfter()
{
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--in-cards"),
                         QStringLiteral("ffff"), QStringLiteral("--out-cards"), QStringLiteral("eeee")}));
    g_inCardTypes = QStringLiteral("ffff");
    g_outCardTypes = QStringLiteral("eeee");
    QVERIFY(sim.accepts(QStringLiteral("panel switch 3 5")) && sim.accepts(QStringLiteral("panel switch 7 1")));
    QTest::qWait(300);   // the panel's own reports pass by before the model exists
    MatrixModel model;
    model.queries()->findChild<QTimer*>(QStringLiteral("statusRetry"))->setInterval(100);
    QVERIFY(sim.accepts(QStringLiteral("silent count=1")));
    model.queryIOStatus();
    model.queryIpCardAddresses();   // 20 waited commands, each with its settle time
    QTRY_VERIFY_WITH_TIMEOUT(statusQueries() >= 2, 10000);
    QTRY_COMPARE(model.getRoute(4), 2);
    for (int output = 0; output < 16; ++output)
        QCOMPARE(model.getRoute(output), sim.controlOk(QStringLiteral("route %1").arg(output + 1)).toInt() - 1);
}

// The application's "not connected" box is connected before the model and runs events while it
// is open; the link may come back meanwhile. The model then still takes the link as up: the
// reconnect's unanswered query is asked again.
void TestDeviceQueries::reconnectDuringANoticeKeepsTheLinkUp()
{
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("16")}));
    connect(link, &CCHelper::notConnected, this, [this] {
        link->reConnect();   // as the reconnect timer does while the box is open
        QTest::qWait(1000);  // the reconnect's query (640 ms) goes unanswered meanwhile
    });
    MatrixModel model;
    // Its retry comes due after the box has closed.
    model.queries()->findChild<QTimer*>(QStringLiteral("statusRetry"))->setInterval(2000);
    QSignalSpy lost(link, &CCHelper::clientDisConnected);
    QVERIFY(sim.accepts(QStringLiteral("drop")));
    QVERIFY(lost.count() == 1 || lost.wait(10000));
    QVERIFY(sim.accepts(QStringLiteral("panel switch 9 1")) && sim.accepts(QStringLiteral("silent count=1")));
    QVERIFY(sim.accepts(QStringLiteral("received clear")));

    QString reply;
    QByteArray bytes;
    QVERIFY(!link->sendData(QStringLiteral("/Nop;"), false, reply, bytes, false));
    QVERIFY(link->isUp());
    QTRY_COMPARE_WITH_TIMEOUT(statusQueries(), 2, 10000);
    QTRY_COMPARE(model.getRoute(0), 8);
}

// A second "Open." asks for one more round while a query runs; the link drops before that round,
// whose send then finds it down. Its "not connected" box stands until the link is back, and the
// reconnect asks for the routes under it: that request is kept, and the tile follows what the
// matrix switched while the link was down.
void TestDeviceQueries::reconnectUnderTheQuerysOwnNoticeAsksAgain()
{
    // A round of 2.56 s: the second "Open." and the drop come inside the first, however slow the
    // machine (they follow its query within a few control round trips).
    QVERIFY(startMatrix({QStringLiteral("--model"), QStringLiteral("64")}));
    g_deviceModel = 64;
    int notices = 0;
    connect(link, &CCHelper::notConnected, this, [this, &notices] {
        if (notices++ > 0)
            return;
        QVERIFY(sim.accepts(QStringLiteral("panel switch 3 1")));
        link->reConnect();   // as the reconnect timer does while the box is open
        QTest::qWait(200);
    });
    MatrixModel model;
    // Only the kept request can mend the tile in time, not a retry.
    model.queries()->findChild<QTimer*>(QStringLiteral("statusRetry"))->setInterval(60000);
    QVERIFY(sim.accepts(QStringLiteral("received clear")));
    // The first round's wait holds this function up: what the matrix does meanwhile is done from it.
    QTimer duringTheFirstRound;
    connect(&duringTheFirstRound, &QTimer::timeout, this, [&] {
        if (statusQueries() < 1)
            return;
        duringTheFirstRound.stop();
        QVERIFY(sim.accepts(QStringLiteral("send Open.\\r\\n")));
        QVERIFY(sim.accepts(QStringLiteral("drop")));
    });
    duringTheFirstRound.start(20);
    QVERIFY(sim.accepts(QStringLiteral("send Open.\\r\\n")));

    QTRY_COMPARE_WITH_TIMEOUT(notices, 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(model.getRoute(0), 2, 10000);
    QCOMPARE(statusQueries(), 2);
    for (int output = 0; output < 64; ++output)
        QCOMPARE(model.getRoute(output), sim.controlOk(QStringLiteral("route %1").arg(output + 1)).toInt() - 1);
}

// A serial line that drops while the reports pump events (as the main window's status line does):
// the link closes once, reports it, reconnects to the line when it is back and asks for the routes.
void TestDeviceQueries::serialLineLostAndBack_data()
{
    QTest::addColumn<bool>("killed");
    QTest::newRow("line dropped") << false;
    QTest::newRow("simulator killed and started again") << true;
}

void TestDeviceQueries::serialLineLostAndBack()
{
    QFETCH(bool, killed);
    const QString line = QDir::current().filePath(QStringLiteral("matrix-line"));
    const QStringList args{QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--pty"),
                           QStringLiteral("--pty-link"), line};
    QVERIFY(startMatrix(args));
    link->connectToDevice(1, QString(), 0, line);
    QVERIFY(link->isConnected());
    MatrixModel model;
    link->setAutoReconnect(true);
    int errors = 0;
    connect(link, &CCHelper::message, this, [&errors](const QString& text) {
        errors += text.startsWith(QStringLiteral("通讯错误"));
        QCoreApplication::processEvents();
    });
    QSignalSpy lost(link, &CCHelper::clientDisConnected);
    QSignalSpy connected(link, &CCHelper::clientConnected);

    if (killed) {
        sim.rawProcess().kill();
        QVERIFY(sim.rawProcess().waitForFinished(3000));
    } else {
        QVERIFY(sim.accepts(QStringLiteral("drop")));
    }
    QTRY_COMPARE(lost.count(), 1);
    QTest::qWait(300);
    QCOMPARE(lost.count(), 1);
    QVERIFY2(errors >= 1 && errors <= 3, qPrintable(QString::number(errors)));
    if (killed)
        QVERIFY(sim.start(args + QStringList{QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}));
    QVERIFY(sim.accepts(QStringLiteral("received clear")));

    QTRY_VERIFY_WITH_TIMEOUT(connected.count() >= 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(statusQueries(), 1, 5000);
}

QTEST_GUILESS_MAIN(TestDeviceQueries)
#include "tst_devicequeries.moc"
