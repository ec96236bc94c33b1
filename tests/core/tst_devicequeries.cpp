// The two start-up questions to the matrix: the routing status and the IP card addresses, first
// with a recording sender (commands, slot arithmetic, reply bytes), then against the simulated matrix.
#include "DeviceSimProcess.h"
#include "LinkTestSupport.h"
#include "TempWorkDir.h"

#include "core/CardInfo.h"
#include "core/DeviceQueries.h"
#include "core/GlobalState.h"
#include "core/MatrixModel.h"
#include "core/PortRecords.h"

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

    CommandSender sender()
    {
        return [this](const QString& cmd, bool waitReply, QString&, QByteArray& bytes, bool latin1) {
            sent.append({cmd, waitReply});
            if (latin1)
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

    void statusQueryFillsRoutesFromMatrix();
    void addressesFromMatrix();
    void sceneRecallReportedByMatrixRefreshesRoutes();
    void openBurstAsksForTheStatusOnce();
    void unansweredStatusQueryIsAskedAgain_data();
    void unansweredStatusQueryIsAskedAgain();

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
    writeSystemTemplates(true);
    g_deviceModel = 4;
    PortRecords records;
    DeviceQueries queries(&records);
    RecordingSender recorder;
    queries.setSender(recorder.sender());
    queries.queryIOStatus();
    QCOMPARE(recorder.sent.size(), 1);
    QCOMPARE(recorder.sent.at(0).command, QStringLiteral("/IOStatus;"));
    QVERIFY(!recorder.sent.at(0).waited);
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
        QCOMPARE(model.getRoute(0), 0);
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
    const int asked = statusQueries();
    QCOMPARE(asked, 2 + int(afterReconnect));
    // Answered: no more repeats.
    QTest::qWait(DeviceQueries::StatusRetryMs + 1000);
    QCOMPARE(statusQueries(), asked);
}

QTEST_GUILESS_MAIN(TestDeviceQueries)
#include "tst_devicequeries.moc"
