#include "core/CardInfo.h"
#include "core/PortRecords.h"
#include "RouteText.h"
#include "core/ReplyParser.h"
#include "TempWorkDir.h"

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
    const RouteMap start = parseRoutes(before);
    for (auto it = start.cbegin(); it != start.cend(); ++it)
        records.setRoute(it.key(), it.value());
    ReplyParser parser(&records);
    QSignalSpy refresh(&records, &PortRecords::routesChanged);
    QSignalSpy status(&parser, &ReplyParser::ioStatusQueryNeeded);

    parser.clientReceived(line);

    QCOMPARE(records.routes(), parseRoutes(after));
    QCOMPARE(refresh.count(), refreshes);
    QCOMPARE(status.count(), statusQueries);
    if (scene)
        QCOMPARE(storedScene().toInt(), scene);
    else
        QVERIFY(!storedScene().isValid());
}

QTEST_GUILESS_MAIN(TestReplyParser)
#include "tst_replyparser.moc"
