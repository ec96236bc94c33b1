#include "core/CardInfo.h"
#include "core/CardTypeLetter.h"
#include "FileSizeLimit.h"
#include "core/GlobalState.h"
#include "core/MatrixModel.h"
#include "core/PortRecords.h"
#include "RouteText.h"
#include "TempWorkDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

namespace {

int inType(const PortRecords& records, int port)
{
    return records.getCardInfo(port).value(CardKey::InCard).toObject().value(CardKey::CardType).toInt(-1);
}

int outType(const PortRecords& records, int port)
{
    return records.getCardInfo(port).value(CardKey::OutCard).toObject().value(CardKey::CardType).toInt(-1);
}

QByteArray cardList(const QJsonArray& list)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("card-list"), list}}).toJson();
}

} // namespace

class TestPortRecords : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(work.renew());
        g_inCardTypes.clear();
        g_outCardTypes.clear();
    }
    void cleanup() { work.drop(); }

    void letterTable_data();
    void letterTable();
    void lettersCreateRecords();
    void fileTypesNeverKept_data();
    void fileTypesNeverKept();
    void unreadableFileFallsBack_data();
    void unreadableFileFallsBack();
    void oddElementsOfTheList();
    void saveWritesEveryRecordWithItsId();
    void failedSaveKeepsOldFile();
    void recordAccess();
    void recordsWithinTheLargestModel();
    void changesAreSavedShortlyAfter();
    void renameSurvivesKill();
    void bulkRouting_data();
    void bulkRouting();
    void singleRouteAndOutputsOfInput();
    void countChar_data();
    void countChar();
    void portLabel_data();
    void portLabel();

private:
    PerTestWorkDir work;
};

void TestPortRecords::letterTable_data()
{
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<QList<int>>("inTypes");   // positions 0..3
    QTest::addColumn<QList<int>>("outTypes");

    QTest::newRow("a HDMI") << QChar('a') << QList<int>{1, 1, 1, 1} << QList<int>{2, 2, 2, 2};
    QTest::newRow("b DVI") << QChar('b') << QList<int>{3, 3, 3, 3} << QList<int>{4, 4, 4, 4};
    QTest::newRow("c SDI") << QChar('c') << QList<int>{5, 5, 5, 5} << QList<int>{6, 6, 6, 6};
    QTest::newRow("d AV") << QChar('d') << QList<int>{9, 9, 9, 9} << QList<int>{10, 10, 10, 10};
    QTest::newRow("i mixed") << QChar('i') << QList<int>{11, 11, 12, 12} << QList<int>{13, 13, 14, 14};
    QTest::newRow("j VGA") << QChar('j') << QList<int>{7, 7, 7, 7} << QList<int>{8, 8, 8, 8};
    QTest::newRow("k mixed") << QChar('k') << QList<int>{15, 15, 16, 16} << QList<int>{17, 17, 18, 18};
    QTest::newRow("l HDBT") << QChar('l') << QList<int>{19, 19, 19, 19} << QList<int>{20, 20, 20, 20};
    QTest::newRow("m Fiber") << QChar('m') << QList<int>{21, 21, 21, 21} << QList<int>{22, 22, 22, 22};
    QTest::newRow("z 4K HDMI") << QChar('z') << QList<int>{23, 23, 23, 23} << QList<int>{24, 24, 24, 24};
    QTest::newRow("0 4K HDMI") << QChar('0') << QList<int>{23, 23, 23, 23} << QList<int>{24, 24, 24, 24};
    QTest::newRow("1 4K Fiber") << QChar('1') << QList<int>{25, 25, 25, 25} << QList<int>{26, 26, 26, 26};
    QTest::newRow("3 4K HDBT") << QChar('3') << QList<int>{27, 27, 27, 27} << QList<int>{28, 28, 28, 28};
    QTest::newRow("v 4K HDBT") << QChar('v') << QList<int>{27, 27, 27, 27} << QList<int>{28, 28, 28, 28};
    QTest::newRow("f IP input") << QChar('f') << QList<int>{157, 157, 157, 157} << QList<int>{0, 0, 0, 0};
    QTest::newRow("e preview") << QChar('e') << QList<int>{0, 0, 0, 0} << QList<int>{156, 156, 156, 156};
    QTest::newRow("2 unknown") << QChar('2') << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0};
    QTest::newRow("* empty slot") << QChar('*') << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0};
    QTest::newRow("A upper case") << QChar('A') << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0};
    QTest::newRow("I upper case") << QChar('I') << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0};
}

void TestPortRecords::letterTable()
{
    QFETCH(QChar, letter);
    QFETCH(QList<int>, inTypes);
    QFETCH(QList<int>, outTypes);
    for (int position = 0; position < 4; ++position) {
        QCOMPARE(CardTypeLetter::inputType(letter, position), inTypes.at(position));
        QCOMPARE(CardTypeLetter::outputType(letter, position), outTypes.at(position));
    }

    // The same through loading: slot 1 of both strings carries the letter.
    g_inCardTypes = QStringLiteral("a") + letter;
    g_outCardTypes = QStringLiteral("a") + letter;
    PortRecords records;
    records.loadCardConfig();
    for (int position = 0; position < 4; ++position) {
        QCOMPARE(inType(records, 4 + position), inTypes.at(position));
        QCOMPARE(outType(records, 4 + position), outTypes.at(position));
    }
}

void TestPortRecords::lettersCreateRecords()
{
    g_inCardTypes = QStringLiteral("aff");
    g_outCardTypes = QStringLiteral("e");
    PortRecords records;
    records.loadCardConfig();

    QCOMPARE(records.cardCount(), 12);
    QVERIFY(!records.hasCard(12));
    QCOMPARE(inType(records, 4), 157);
    QVERIFY(!records.getCardInfo(4).contains(CardKey::OutCard));
    for (int port = 0; port < 4; ++port) {
        QCOMPARE(inType(records, port), 1);
        QCOMPARE(outType(records, port), 156);
    }
    // Records made from letters have no "id" until saved; the routing map starts empty.
    QVERIFY(!records.getCardInfo(0).contains(CardKey::Id));
    QVERIFY(records.routes().isEmpty());
}

void TestPortRecords::fileTypesNeverKept_data()
{
    QTest::addColumn<QString>("inLetters");
    QTest::addColumn<int>("expectedInType");
    QTest::addColumn<bool>("portHasOutCard");

    QTest::newRow("no letters") << QString() << 0 << true;
    QTest::newRow("letter a") << QStringLiteral("a") << 1 << true;
    QTest::newRow("mixed letter i") << QStringLiteral("i") << 12 << true;
}

void TestPortRecords::fileTypesNeverKept()
{
    QFETCH(QString, inLetters);
    QFETCH(int, expectedInType);
    QFETCH(bool, portHasOutCard);

    const QJsonObject inCard{{CardKey::CardType, 5}, {CardKey::Name, QStringLiteral("Camera")},
                             {QStringLiteral("brightness"), 40}};
    const QJsonObject element{{CardKey::Id, 3}, {CardKey::InCard, inCard},
                              {CardKey::OutCard, QJsonObject{{CardKey::CardType, 6}}}};
    QVERIFY(work->write(QStringLiteral("data/CardConfig.dat"), cardList({element})));
    g_inCardTypes = inLetters;

    PortRecords records;
    records.loadCardConfig();
    QCOMPARE(inType(records, 3), expectedInType);
    QCOMPARE(outType(records, 3), 0);
    QCOMPARE(records.getCardInfo(3).contains(CardKey::OutCard), portHasOutCard);
    // Everything but the card type survives.
    const QJsonObject loaded = records.getCardInfo(3).value(CardKey::InCard).toObject();
    QCOMPARE(loaded.value(CardKey::Name).toString(), QStringLiteral("Camera"));
    QCOMPARE(loaded.value(QStringLiteral("brightness")).toInt(), 40);
}

void TestPortRecords::unreadableFileFallsBack_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("present");

    const QByteArray good = cardList({QJsonObject{{CardKey::Id, 9}}});
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("truncated") << good.left(good.size() / 2) << true;
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe garbage", 12) << true;
    QTest::newRow("root is an array") << QByteArray("[{\"id\": 9}]") << true;
    QTest::newRow("list is no array") << QByteArray("{\"card-list\": {\"id\": 9}}") << true;
}

void TestPortRecords::unreadableFileFallsBack()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, present);
    if (present)
        QVERIFY(work->write(QStringLiteral("data/CardConfig.dat"), content));
    g_inCardTypes = QStringLiteral("c");

    PortRecords records;
    records.setCardInfo(20, QJsonObject{{CardKey::Id, 20}});
    records.loadCardConfig();
    // Earlier records are gone; only the letters' ports remain.
    QCOMPARE(records.cardCount(), 4);
    QVERIFY(!records.hasCard(9));
    QCOMPARE(inType(records, 2), 5);
}

void TestPortRecords::oddElementsOfTheList()
{
    const QJsonArray list{
        QJsonObject{{CardKey::Id, 2}, {CardKey::InCard, QJsonObject{{CardKey::Name, QStringLiteral("first")}}}},
        QJsonObject{{CardKey::Id, 2}, {CardKey::InCard, QJsonObject{{CardKey::Name, QStringLiteral("second")}}}},
        QJsonObject{{CardKey::InCard, QJsonObject{{CardKey::Name, QStringLiteral("no id")}}}},
        QJsonValue(42),
        QJsonObject{{CardKey::Id, -4}, {CardKey::InCard, QJsonObject{{CardKey::Name, QStringLiteral("negative")}}}},
        QJsonObject{{CardKey::Id, 7}, {CardKey::InCard, QStringLiteral("not an object")}},
    };
    QVERIFY(work->write(QStringLiteral("data/CardConfig.dat"), cardList(list)));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("records outside the largest model ignored: 1")));
    PortRecords records;
    records.loadCardConfig();
    QCOMPARE(records.getCardInfo(2).value(CardKey::InCard).toObject().value(CardKey::Name).toString(),
             QStringLiteral("second"));
    // A later element for port 0 (the number 42 is no object) replaces the one without "id".
    QVERIFY(records.hasCard(0));
    QVERIFY(!records.getCardInfo(0).value(CardKey::InCard).toObject().contains(CardKey::Name));
    QCOMPARE(inType(records, 0), 0);
    QVERIFY(!records.hasCard(-4));
    // A sub-record of the wrong kind becomes an object with type 0.
    QCOMPARE(inType(records, 7), 0);
    QCOMPARE(records.cardCount(), 3);
}

void TestPortRecords::saveWritesEveryRecordWithItsId()
{
    QVERIFY(work->write(QStringLiteral("data/CardConfig.dat"),
                        cardList({QJsonObject{{CardKey::Id, 6}, {CardKey::OutCard, QJsonObject{{CardKey::Name, QStringLiteral("Wall")}}}}})));
    g_inCardTypes = QStringLiteral("a");
    PortRecords records;
    records.loadCardConfig();
    records.setCardInfo(9, QJsonObject{{CardKey::InCard, QJsonObject{{CardKey::Ip, QStringLiteral("127.0.0.9")}}}});
    records.setCardInfo(10, QJsonObject{{CardKey::Id, 77}});   // a wrong id is corrected
    QVERIFY(records.saveCardConfig());

    const QJsonArray list = QJsonDocument::fromJson(work->read(QStringLiteral("data/CardConfig.dat")))
                                .object().value(QStringLiteral("card-list")).toArray();
    QList<int> ids;
    for (const QJsonValue& value : list)
        ids << value.toObject().value(CardKey::Id).toInt(-1);
    QCOMPARE(ids, (QList<int>{0, 1, 2, 3, 6, 9, 10}));

    // Reloading gives the same records back (types again from the letters).
    PortRecords reloaded;
    reloaded.loadCardConfig();
    QCOMPARE(reloaded.cardCount(), 7);
    QCOMPARE(reloaded.getCardInfo(6).value(CardKey::OutCard).toObject().value(CardKey::Name).toString(),
             QStringLiteral("Wall"));
    QCOMPARE(reloaded.getCardInfo(9).value(CardKey::InCard).toObject().value(CardKey::Ip).toString(),
             QStringLiteral("127.0.0.9"));
    QCOMPARE(inType(reloaded, 1), 1);
}

void TestPortRecords::failedSaveKeepsOldFile()
{
    g_inCardTypes = QStringLiteral("aaaa");
    PortRecords records;
    records.loadCardConfig();
    QVERIFY(records.saveCardConfig());
    const QByteArray before = work->read(QStringLiteral("data/CardConfig.dat"));
    QVERIFY(before.size() > 200);

    records.setCardInfo(40, QJsonObject{{CardKey::InCard, QJsonObject{{CardKey::Name, QStringLiteral("new")}}}});
    {
        FileSizeLimit limit(64);
        QVERIFY(limit.isActive());
        QVERIFY(!records.saveCardConfig());
    }
    QCOMPARE(work->read(QStringLiteral("data/CardConfig.dat")), before);
    QCOMPARE(QDir(work->filePath(QStringLiteral("data"))).entryList(QDir::Files),
             QStringList{QStringLiteral("CardConfig.dat")});

    // No data folder at all: nothing written, no crash.
    QVERIFY(QDir(work->filePath(QStringLiteral("data"))).removeRecursively());
    QVERIFY(!records.saveCardConfig());
}

void TestPortRecords::recordAccess()
{
    PortRecords records;
    QVERIFY(records.getCardInfo(3).isEmpty());
    QVERIFY(!records.hasCard(3));   // reading does not create
    records.setCardInfo(-1, QJsonObject{{CardKey::Id, -1}});
    QCOMPARE(records.cardCount(), 0);
    records.setCardInfo(3, QJsonObject{{CardKey::Id, 3}});
    records.setCardInfo(3, QJsonObject{{CardKey::Id, 3}, {CardKey::InCard, QJsonObject()}});
    QCOMPARE(records.cardCount(), 1);
    QVERIFY(records.getCardInfo(3).contains(CardKey::InCard));
}

void TestPortRecords::recordsWithinTheLargestModel()
{
    // A card list of a million letters, and a file naming ports far beyond 160.
    g_inCardTypes = QString(1000000, QLatin1Char('a'));
    QVERIFY(work->write(QStringLiteral("data/CardConfig.dat"),
                        cardList({QJsonObject{{CardKey::Id, 159}}, QJsonObject{{CardKey::Id, 160}},
                                  QJsonObject{{CardKey::Id, 129998}}})));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("records outside the largest model ignored: 2")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("1000000 slots, beyond the largest model")));
    PortRecords records;
    records.loadCardConfig();
    QCOMPARE(records.cardCount(), 160);
    QCOMPARE(inType(records, 159), 1);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("beyond the largest model ignored: 160")));
    records.setCardInfo(160, QJsonObject{{CardKey::Id, 160}});
    records.setRoute(160, 1);
    records.setRoutes(0, 1, 161);
    QCOMPARE(records.cardCount(), 160);
    QVERIFY(records.routes().isEmpty());
}

void TestPortRecords::changesAreSavedShortlyAfter()
{
    PortRecords records;
    records.setSaveDelay(50);
    QVERIFY(!records.isSavePending());
    for (int port = 0; port < 100; ++port)
        records.setCardInfo(port % 8, QJsonObject{{CardKey::InCard, QJsonObject{{CardKey::Name, QString::number(port)}}}});
    QVERIFY(records.isSavePending());
    QVERIFY(!QFile::exists(QStringLiteral("data/CardConfig.dat")));

    QTRY_VERIFY(!records.isSavePending());
    PortRecords reloaded;
    reloaded.loadCardConfig();
    QCOMPARE(reloaded.cardCount(), 8);
    QCOMPARE(reloaded.getCardInfo(3).value(CardKey::InCard).toObject().value(CardKey::Name).toString(),
             QStringLiteral("99"));
}

// The console killed without a chance to save (kill -9, power loss) keeps a rename made
// shortly before: the child renames a port through the model the main window owns.
void TestPortRecords::renameSurvivesKill()
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PORTRECORDS_RENAME_IN"), work->path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForStarted());
    QVERIFY(child.waitForReadyRead(10000));
    QCOMPARE(child.readLine().trimmed(), QByteArray("renamed"));
    g_inCardTypes = QStringLiteral("a");
    const auto storedName = [] {
        PortRecords records;
        records.loadCardConfig();
        return records.getCardInfo(2).value(CardKey::InCard).toObject().value(CardKey::Name).toString();
    };
    // Saved by the running child after its save delay (a busy machine may take longer), with
    // no exit to do it.
    QTRY_COMPARE_WITH_TIMEOUT(storedName(), QStringLiteral("讲台"), 30000);
    child.kill();   // SIGKILL
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(storedName(), QStringLiteral("讲台"));
}

// The child side of renameSurvivesKill: renames port 2, says so, and runs until killed.
static int renameAndWait(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDir::setCurrent(qEnvironmentVariable("PORTRECORDS_RENAME_IN"));
    g_inCardTypes = QStringLiteral("a");
    MatrixModel model;
    CardInfo record = model.getCardInfo(2);
    QJsonObject in = record.value(CardKey::InCard).toObject();
    in.insert(CardKey::Name, QStringLiteral("讲台"));
    record.insert(CardKey::InCard, in);
    model.setCardInfo(2, record);
    printf("renamed\n");
    fflush(stdout);
    return app.exec();
}

void TestPortRecords::bulkRouting_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    QTest::addColumn<QString>("after");

    QTest::newRow("one route") << "" << 0 << 3 << 5 << "4:2";
    QTest::newRow("one route, input 0 closes") << "4:2" << 0 << 0 << 5 << "4:-1";
    QTest::newRow("one route, output 0 ignored") << "1:1" << 0 << 3 << 0 << "1:1";
    QTest::newRow("close all") << "0:2,3:-2,7:7" << 1 << 0 << 0 << "0:-1,3:-1,7:-1";
    QTest::newRow("one to all") << "0:2,3:-2,7:7" << 2 << 5 << 0 << "0:4,3:4,7:4";
    QTest::newRow("all through") << "0:2,3:-2,7:1" << 3 << 0 << 0 << "0:0,3:3,7:7";
    QTest::newRow("all through, empty map") << "" << 3 << 0 << 0 << "";
    QTest::newRow("unknown mode") << "0:2" << 9 << 1 << 1 << "0:2";
}

void TestPortRecords::bulkRouting()
{
    QFETCH(QString, before);
    QFETCH(int, mode);
    QFETCH(int, input);
    QFETCH(int, output);
    QFETCH(QString, after);

    PortRecords records;
    seedRoutes(records, before);
    QSignalSpy refresh(&records, &PortRecords::routesChanged);
    records.setRoutes(mode, input, output);
    QCOMPARE(records.routes(), parseRoutes(after));
    QCOMPARE(refresh.count(), 1);
    QCOMPARE(records.getRoute(0), parseRoutes(after).value(0, -1));
}

void TestPortRecords::singleRouteAndOutputsOfInput()
{
    PortRecords records;
    QSignalSpy refresh(&records, &PortRecords::routesChanged);
    QCOMPARE(records.getRoute(5), -1);
    records.setRoute(-1, 3);
    QVERIFY(records.routes().isEmpty());
    seedRoutes(records, "0:2,1:-1,5:2,6:-2");
    QCOMPARE(refresh.count(), 4);   // every new value is announced
    records.setRoute(5, 2);
    QCOMPARE(refresh.count(), 4);   // the same value again is not
    QCOMPARE(records.outputsOfInput(2), (QList<int>{0, 5}));
    QCOMPARE(records.outputsOfInput(-1), (QList<int>{1}));
    QCOMPARE(records.outputsOfInput(-2), (QList<int>{6}));
    QVERIFY(records.outputsOfInput(3).isEmpty());
}

void TestPortRecords::countChar_data()
{
    QTest::addColumn<QString>("outLetters");
    QTest::addColumn<int>("count");
    QTest::newRow("two previews") << "aeze" << 2;
    QTest::newRow("none") << "aaaa" << 0;
    QTest::newRow("upper case is no preview") << "EeE" << 1;
    QTest::newRow("empty") << "" << 0;
}

void TestPortRecords::countChar()
{
    QFETCH(QString, outLetters);
    QFETCH(int, count);
    g_outCardTypes = outLetters;
    QCOMPARE(PortRecords().countChar(), count);
}

void TestPortRecords::portLabel_data()
{
    QTest::addColumn<QJsonObject>("sub");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("label");
    QTest::newRow("named") << QJsonObject{{CardKey::Name, QStringLiteral("讲台")}, {CardKey::CardType, 1}} << 0
                           << QStringLiteral("讲台");
    QTest::newRow("type word") << QJsonObject{{CardKey::CardType, 1}} << 4 << QStringLiteral("HDMI-5");
    QTest::newRow("mixed") << QJsonObject{{CardKey::CardType, 12}, {CardKey::Name, QString()}} << 2
                           << QStringLiteral("HDMI&SDI-3");
    QTest::newRow("preview") << QJsonObject{{CardKey::CardType, 156}} << 15 << QStringLiteral("Preview-16");
}

void TestPortRecords::portLabel()
{
    QFETCH(QJsonObject, sub);
    QFETCH(int, port);
    QFETCH(QString, label);
    QCOMPARE(::portLabel(sub, port), label);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("PORTRECORDS_RENAME_IN"))
        return renameAndWait(argc, argv);
    QCoreApplication app(argc, argv);
    TestPortRecords test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_portrecords.moc"
