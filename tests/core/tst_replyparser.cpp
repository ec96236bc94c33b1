#include "core/CardInfo.h"
#include "core/PortRecords.h"
#include "RouteText.h"
#include "core/ReplyParser.h"
#include "LogVolume.h"
#include "TempWorkDir.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

namespace {

QVariant storedScene()
{
    return QSettings(ReplyParser::clientConfigPath(), QSettings::IniFormat).value(QStringLiteral("CLIENT_INFO/CurrentSencce"));
}

} // namespace

class TestReplyParser : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(work.renew()); }
    void cleanup() { work.drop(); }

    void lineForms_data();
    void lineForms();
    void numbersBeyondTheModel_data();
    void numbersBeyondTheModel();
    void statusAnswerForms_data();
    void statusAnswerForms();
    void floodedEntriesAreLoggedBounded_data();
    void floodedEntriesAreLoggedBounded();
    void recallBurstStoresTheLastSceneOnce();

private:
    PerTestWorkDir work;
};

void TestReplyParser::lineForms_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("refreshes");   // routesChanged() announcements
    QTest::addColumn<int>("statusQueries");
    QTest::addColumn<int>("scene");   // stored scene number, 0 = nothing stored

    // Closed form
    QTest::newRow("closed, no number: all routed outputs -1") << "0:2,4:-2" << "All Closed." << "0:-1,4:-1" << 1 << 0 << 0;
    QTest::newRow("closed, no number, empty map") << "" << "Closed." << "" << 1 << 0 << 0;
    QTest::newRow("closed 3") << "2:1" << "3 Closed." << "2:-2" << 1 << 0 << 0;
    QTest::newRow("closed 3 and 4: only the first") << "2:1,3:1" << "Closed. 3 4" << "2:-2,3:1" << 1 << 0 << 0;
    QTest::newRow("closed 0: no change, nothing announced") << "0:1" << "0 Closed." << "0:1" << 0 << 0 << 0;
    QTest::newRow("closed wins over arrow") << "" << "AV: 3->5 Closed." << "2:-2" << 1 << 0 << 0;
    QTest::newRow("untrimmed unsolicited line") << "" << "  7 Closed.\r\n" << "6:-2" << 1 << 0 << 0;

    // Arrow form
    QTest::newRow("AV arrow") << "" << "AV: 3->5" << "4:2" << 1 << 0 << 0;
    QTest::newRow("arrow repeating the route: nothing announced") << "4:2" << "AV: 3->5" << "4:2" << 0 << 0 << 0;
    QTest::newRow("A arrow") << "" << "A:12->1" << "0:11" << 1 << 0 << 0;
    QTest::newRow("V arrow with blanks") << "" << "V:  +7 ->  9 " << "8:6" << 1 << 0 << 0;
    QTest::newRow("input 0 means no input") << "4:2" << "AV: 0->5" << "4:-1" << 1 << 0 << 0;
    QTest::newRow("arrow chain: first input, last output") << "" << "AV: 2->3->4" << "3:1" << 1 << 0 << 0;
    QTest::newRow("output with full stop converts to 0") << "" << "AV: 3->5." << "" << 0 << 0 << 0;
    QTest::newRow("no arrow: whole text both sides") << "" << "AV: 6" << "5:5" << 1 << 0 << 0;
    QTest::newRow("arrow with route-list look never reaches the list") << "" << "V: 3V5,6" << "" << 0 << 0 << 0;

    // Recall
    QTest::newRow("recall 3") << "" << "Recall 3." << "" << 0 << 1 << 3;
    QTest::newRow("recall 10") << "" << "Recall 10" << "" << 0 << 1 << 10;
    QTest::newRow("recall 11: not stored, still queried") << "" << "Recall 11." << "" << 0 << 1 << 0;
    QTest::newRow("recall 0: not stored, still queried") << "" << "Recall 0" << "" << 0 << 1 << 0;
    QTest::newRow("recall without number") << "" << "Recall." << "" << 0 << 0 << 0;
    QTest::newRow("lower-case recall ignored") << "" << "recall 3" << "" << 0 << 0 << 0;

    // Bulk forms
    QTest::newRow("to all") << "0:1,6:-2" << "4 To All." << "0:3,6:3" << 1 << 0 << 0;
    QTest::newRow("to all without number") << "0:1" << "To All." << "0:1" << 0 << 0 << 0;
    QTest::newRow("all through") << "0:1,6:-2" << "All Through." << "0:0,6:6" << 1 << 0 << 0;
    QTest::newRow("open asks for the status") << "0:1" << "Open." << "0:1" << 0 << 1 << 0;
    QTest::newRow("factory default") << "1:5" << "Factory Default" << "1:1" << 1 << 0 << 0;
    QTest::newRow("lower-case closed ignored") << "0:1" << "closed." << "0:1" << 0 << 0 << 0;

    // Route list
    QTest::newRow("route list") << "" << "3V5,6,7." << "4:2,5:2,6:2" << 3 << 0 << 0;
    QTest::newRow("route list with A") << "" << "1A2" << "1:0" << 1 << 0 << 0;
    QTest::newRow("route list, output 0 skipped") << "" << "2V0,3" << "2:1" << 1 << 0 << 0;
    QTest::newRow("route list of one number") << "0:1" << "5A" << "0:1" << 0 << 0 << 0;
    QTest::newRow("lower-case marker is no list") << "" << "3v5,6" << "" << 0 << 0 << 0;

    QTest::newRow("unknown line") << "0:1" << "Welcome 12" << "0:1" << 0 << 0 << 0;
    QTest::newRow("empty line") << "0:1" << "" << "0:1" << 0 << 0 << 0;
    QTest::newRow("arrow to output 160") << "" << "AV: 160->160" << "159:159" << 1 << 0 << 0;
}

void TestReplyParser::numbersBeyondTheModel_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("refreshes");

    // Numbers outside 0..160 (the largest model) change nothing; one warning per line.
    QTest::newRow("arrow from the lowest int") << "4:2" << "A: -2147483648->5" << "4:2" << 0;
    QTest::newRow("arrow to the lowest int") << "" << "A: 3->-2147483648" << "" << 0;
    QTest::newRow("arrow from a negative input") << "4:2" << "AV: -3->5" << "4:2" << 0;
    QTest::newRow("arrow to output 161") << "" << "AV: 3->161" << "" << 0;
    QTest::newRow("closed 161") << "0:1" << "161 Closed." << "0:1" << 0;
    QTest::newRow("input 161 to all") << "0:1" << "161 To All." << "0:1" << 0;
    QTest::newRow("route list from input 161") << "" << "161V5,6" << "" << 0;
    QTest::newRow("route list, outputs beyond skipped") << "" << "3V5,129998,6" << "4:2,5:2" << 2;
    QStringList outputs;
    QString routed;
    for (int output = 1; output <= 2 * 160; ++output) {
        outputs << QString::number(output);
        if (output <= 160)
            routed += QStringLiteral("%1%2:0").arg(routed.isEmpty() ? "" : ",").arg(output - 1);
    }
    QTest::newRow("route list longer than the model") << "" << "1V" + outputs.join(QLatin1Char(',')) << routed << 160;
}

void TestReplyParser::numbersBeyondTheModel()
{
    QFETCH(QString, before);
    QFETCH(QString, line);
    QFETCH(QString, after);
    QFETCH(int, refreshes);

    PortRecords records;
    seedRoutes(records, before);
    ReplyParser parser(&records);
    QSignalSpy refresh(&records, &PortRecords::routesChanged);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("beyond the largest model")));

    parser.clientReceived(line);
    QCOMPARE(records.routes(), parseRoutes(after));
    QCOMPARE(refresh.count(), refreshes);
}

void TestReplyParser::lineForms()
{
    QFETCH(QString, before);
    QFETCH(QString, line);
    QFETCH(QString, after);
    QFETCH(int, refreshes);
    QFETCH(int, statusQueries);
    QFETCH(int, scene);

    PortRecords records;
    seedRoutes(records, before);
    ReplyParser parser(&records);
    QSignalSpy refresh(&records, &PortRecords::routesChanged);
    QSignalSpy status(&parser, &ReplyParser::ioStatusQueryNeeded);
    QSignalSpy laterStatus(&parser, &ReplyParser::ioStatusRefreshWanted);

    parser.clientReceived(line);
    parser.linesDelivered();   // the end of the read stores the scene

    QCOMPARE(records.routes(), parseRoutes(after));
    QCOMPARE(refresh.count(), refreshes);
    QCOMPARE(status.count() + laterStatus.count(), statusQueries);
    if (scene)
        QCOMPARE(storedScene().toInt(), scene);
    else
        QVERIFY(!storedScene().isValid());
}

// What tells a waiting status query that it was answered: any line that sets routes, in any
// of the forms a matrix may answer with, and no line that reports a failure.
void TestReplyParser::statusAnswerForms_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("routes");
    QTest::addColumn<int>("failures");
    QTest::newRow("route list") << "3V5,6." << 1 << 0;
    QTest::newRow("arrow, output without input") << "AV:0->5" << 1 << 0;
    QTest::newRow("all closed") << "Closed." << 1 << 0;
    QTest::newRow("one closed") << "5 Closed." << 1 << 0;
    QTest::newRow("to all") << "4 To All." << 1 << 0;
    QTest::newRow("all through") << "All Through." << 1 << 0;
    QTest::newRow("open") << "Open." << 0 << 0;
    QTest::newRow("recall") << "Recall 3." << 0 << 0;
    QTest::newRow("error") << "ERROR" << 0 << 1;
    QTest::newRow("failure in any case") << "Switch FAILED" << 0 << 1;
}

void TestReplyParser::statusAnswerForms()
{
    QFETCH(QString, line);
    QFETCH(int, routes);
    QFETCH(int, failures);
    PortRecords records;
    ReplyParser parser(&records);
    QSignalSpy routesSpy(&parser, &ReplyParser::routesReported);
    QSignalSpy failuresSpy(&parser, &ReplyParser::failureReported);
    parser.clientReceived(line);
    QCOMPARE(routesSpy.count(), routes);
    QCOMPARE(failuresSpy.count(), failures);
}

// Entries written per line or per output pass a budget: a whole answer of the largest model,
// then a few a second, and the next entry says how many were left out. However long the flood
// takes, nothing is lost from the count: entries logged plus those counted as left out are the
// entries offered.
void TestReplyParser::floodedEntriesAreLoggedBounded_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<int>("perLine");   // entries offered per line
    QTest::addColumn<int>("burst");
    QTest::addColumn<int>("perSecond");
    QTest::newRow("arrow lines") << "AV: 3->5" << "切换到输出端口" << 1 << 200 << 10;
    QTest::newRow("no input") << "AV: 0->5" << "无输入" << 1 << 200 << 10;
    QTest::newRow("route lists") << "1V1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16." << "切换到输出端口" << 16 << 200 << 10;
    QTest::newRow("closed") << "5 Closed." << "已关闭" << 1 << 200 << 10;
    QTest::newRow("beyond the model") << "AV: 999->999" << "beyond the largest model" << 1 << 20 << 2;
}

void TestReplyParser::floodedEntriesAreLoggedBounded()
{
    QFETCH(QString, line);
    QFETCH(QString, marker);
    QFETCH(int, perLine);
    QFETCH(int, burst);
    QFETCH(int, perSecond);
    const int lines = 5000;
    QElapsedTimer clock;
    clock.start();
    PortRecords records;
    ReplyParser parser(&records);
    LogVolume log;
    for (int i = 0; i < lines; ++i)
        parser.clientReceived(line);
    // The budget refills while the flood lasts, the longer the slower the machine.
    const int allowed = burst + int(perSecond * (clock.elapsed() + 1000) / 1000) + 1;
    QCOMPARE(log.beyond(marker, allowed, allowed * 200), QString());
    const int flooded = log.entries().size();
    QVERIFY(flooded >= qMin(burst, lines * perLine));
    // One more line once the budget has room for all of it: its first entry hands over the count
    // still held.
    QTest::qWait(perLine * 1000 / perSecond + 100);
    parser.clientReceived(line);
    const QStringList entries = log.entries();
    QCOMPARE(entries.size(), flooded + perLine);
    static const QRegularExpression heldBack(QStringLiteral("entries not logged before it: (\\d+)$"));
    int leftOut = 0;
    for (const QString& entry : entries) {
        QVERIFY2(entry.leftRef(80).contains(marker), qPrintable(entry));
        leftOut += heldBack.match(entry).captured(1).toInt();
    }
    QCOMPARE(entries.size() + leftOut, (lines + 1) * perLine);
}

// Each store rewrites the client settings file: a read of thousands of "Recall" lines stores
// once, when it is parsed, the last scene recalled in it.
void TestReplyParser::recallBurstStoresTheLastSceneOnce()
{
    PortRecords records;
    ReplyParser parser(&records);
    for (int i = 0; i < 3000; ++i)
        parser.clientReceived(QStringLiteral("Recall %1.").arg(i % 10 + 1));
    parser.clientReceived(QStringLiteral("Recall 11."));   // no scene of the console's
    QVERIFY(!storedScene().isValid());
    parser.linesDelivered();
    QCOMPARE(storedScene().toInt(), 10);
    QVERIFY(QFile::remove(ReplyParser::clientConfigPath()));
    parser.linesDelivered();   // a read without recalls writes nothing
    QVERIFY(!QFile::exists(ReplyParser::clientConfigPath()));
}

QTEST_GUILESS_MAIN(TestReplyParser)
#include "tst_replyparser.moc"
