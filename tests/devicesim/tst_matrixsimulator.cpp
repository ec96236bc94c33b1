// The simulated matrix's logic, in-process: framing, routes and their reports, scenes, card
// lists, addresses, card settings and reports to other clients.
#include "MatrixReplyForms.h"
#include "MatrixSimulator.h"

#include <QSignalSpy>
#include <QtTest>

using namespace MatrixReplyForms;

namespace {

MatrixConfig config(int model, const QString& in = QString(), const QString& out = QString())
{
    MatrixConfig c;
    c.model = model;
    c.inCards = in;
    c.outCards = out;
    return c;
}

// Routes as the console's parser would hold them after reading every line of a reply.
void applyAll(QMap<int, int>& routes, const QByteArray& reply)
{
    for (const QString& line : replyLines(reply))
        apply(routes, line);
}

QMap<int, int> statusMap(MatrixSimulator& matrix, int client = 1)
{
    QMap<int, int> routes;
    applyAll(routes, matrix.receive(client, "/IOStatus;"));
    return routes;
}

QByteArray addressCommand(const char* head, quint8 a, quint8 b, quint8 c, quint8 d)
{
    QByteArray command(head);
    command.append(char(a)).append(char(b)).append(char(c)).append(char(d));
    return command + "%;";
}

QByteArray addressBytes(quint8 a, quint8 b, quint8 c, quint8 d)
{
    QByteArray bytes(1, '*');
    return bytes.append(char(a)).append(char(b)).append(char(c)).append(char(d)) + "\r\n";
}

} // namespace

class TestMatrixSimulator : public QObject
{
    Q_OBJECT

private slots:
    void framingSurvivesAnySplit_data();
    void framingSurvivesAnySplit();
    void garbageIsRefusedAndStreamResynchronises();
    void overlongInputIsDropped();
    void partialCommandsArePerClient();
    void cardSelectionOrAddress_data();
    void cardSelectionOrAddress();

    void routeReports_data();
    void routeReports();
    void statusReportsEveryOutput_data();
    void statusReportsEveryOutput();
    void badRoutingArgumentsChangeNothing_data();
    void badRoutingArgumentsChangeNothing();

    void scenes();
    void sceneNumbering_data();
    void sceneNumbering();

    void cardLists_data();
    void cardLists();
    void keyboardLock();
    void ipCardAddressesAnswerInTurn();
    void addressChangesTakeRawBytes();
    void addressChangeRefusesNonLoopback();

    void cardSettings_data();
    void cardSettings();
    void settingsRefusedByCardType_data();
    void settingsRefusedByCardType();
    void outputStepsMoveLevel();
    void subtitleTextIsNeverEchoed();
    void nameAndModelAreDecoded();

    void otherClientsHearRouteChanges();
    void frontPanelActions();
    void successRepliesAreNotReports();
};

void TestMatrixSimulator::framingSurvivesAnySplit_data()
{
    QTest::addColumn<QByteArray>("stream");
    // Raw address bytes holding the terminator, "%", a line end and NUL, between text commands.
    QTest::newRow("address with ; % CR LF NUL")
        << (QByteArray("/Switch:2:3;") + addressCommand("USER/O/13:", 127, ';', '%', 0)
            + addressCommand("USER/I/5:", 127, '\r', '\n', 9) + "/VAddr:2:4;/IOStatus;");
    QTest::newRow("selection then queries") << QByteArray("USER/I/5:0862%;/VAddr:1:2;/VAddr:1:2;\r\n/Close:1,2;");
    QTest::newRow("blanks between commands") << QByteArray("  /SwitchAll:4;\r\n\r\n /CloseAll; \n/KeyBoardLock;");
}

// Bytes delivered in two pieces cut at every position give the answers of one delivery.
void TestMatrixSimulator::framingSurvivesAnySplit()
{
    QFETCH(QByteArray, stream);
    MatrixSimulator whole(config(16));
    const QByteArray expected = whole.receive(1, stream);
    QVERIFY(!expected.contains("Error"));
    for (int cut = 1; cut < stream.size(); ++cut) {
        MatrixSimulator split(config(16));
        QByteArray answer = split.receive(1, stream.left(cut));
        answer += split.receive(1, stream.mid(cut));
        QCOMPARE(answer, expected);
    }
}

void TestMatrixSimulator::garbageIsRefusedAndStreamResynchronises()
{
    MatrixSimulator matrix(config(8));
    const QByteArray answer = matrix.receive(1, "hello;/NoSuchThing;USER/X/1:0861%;/Switch:1:2;");
    const QStringList lines = replyLines(answer);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(0).startsWith(QLatin1String("Error")));
    QVERIFY(lines.at(1).startsWith(QLatin1String("Error")));
    QVERIFY(lines.at(2).startsWith(QLatin1String("Error")));
    QCOMPARE(lines.at(3), QStringLiteral("1V2."));
    QCOMPARE(matrix.routeOf(1), 0);
}

void TestMatrixSimulator::overlongInputIsDropped()
{
    MatrixSimulator matrix(config(8));
    QByteArray flood(2000, 'x');
    flood.prepend('/');
    const QByteArray answer = matrix.receive(1, flood);
    QVERIFY(answer.startsWith("Error"));
    // Nothing of the flood is held: the next command is read on its own.
    QCOMPARE(matrix.receive(1, "/Switch:3:1;"), QByteArray("3V1.\r\n"));
}

void TestMatrixSimulator::partialCommandsArePerClient()
{
    MatrixSimulator matrix(config(8));
    QCOMPARE(matrix.receive(1, "/Swi"), QByteArray());
    QCOMPARE(matrix.receive(2, "/KeyBoardLock;"), QByteArray("KeyBoard Free.\r\n"));
    QCOMPARE(matrix.receive(1, "tch:2:5;"), QByteArray("2V5.\r\n"));
    // A client that leaves takes its partial command with it.
    matrix.receive(3, "/Switch:4");
    matrix.clientGone(3);
    QCOMPARE(matrix.receive(3, ":6;").left(5), QByteArray("Error"));
    QCOMPARE(matrix.routeOf(5), 5);
}

void TestMatrixSimulator::cardSelectionOrAddress_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("inCards");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("reply");

    QTest::newRow("slot 2 selection") << 16 << "afff" << QByteArray("USER/I/5:0862%;") << "IP Card 2 Selected.";
    QTest::newRow("slot 10 selection") << 64 << "aaaaaaaaafff" << QByteArray("USER/I/37:08610%;")
                                       << "IP Card 10 Selected.";
    // "0862" after port 1 cannot be slot 2's selection: it reads as the address 48.56.54.50.
    QTest::newRow("digits that are an address") << 16 << "ffff" << QByteArray("USER/I/1:0862%;")
                                                << "Error: loopback addresses only.";
    QTest::newRow("no IP card in that slot") << 16 << "afff" << QByteArray("USER/I/1:0861%;")
                                             << "Error: no such card.";
}

void TestMatrixSimulator::cardSelectionOrAddress()
{
    QFETCH(int, model);
    QFETCH(QString, inCards);
    QFETCH(QByteArray, command);
    QFETCH(QString, reply);
    MatrixSimulator matrix(config(model, inCards));
    QCOMPARE(QString::fromLatin1(matrix.receive(1, command)), reply + QStringLiteral("\r\n"));
}

void TestMatrixSimulator::routeReports_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QList<int>>("expected");   // routes of outputs 0..7 afterwards

    QTest::newRow("switch one") << QByteArray("/Switch:3:5;") << QList<int>{0, 1, 2, 3, 2, 5, 6, 7};
    QTest::newRow("switch list") << QByteArray("/Switch:8:1,2,5;") << QList<int>{7, 7, 2, 3, 7, 5, 6, 7};
    QTest::newRow("close one") << QByteArray("/Close:4;") << QList<int>{0, 1, 2, -2, 4, 5, 6, 7};
    QTest::newRow("close list") << QByteArray("/Close:1,8;") << QList<int>{-2, 1, 2, 3, 4, 5, 6, -2};
    QTest::newRow("switch all") << QByteArray("/SwitchAll:6;") << QList<int>{5, 5, 5, 5, 5, 5, 5, 5};
}

// The reply alone brings a console map (filled by a status query) to the matrix's routes.
void TestMatrixSimulator::routeReports()
{
    QFETCH(QByteArray, command);
    QFETCH(QList<int>, expected);
    MatrixSimulator matrix(config(8));
    QMap<int, int> routes = statusMap(matrix);
    applyAll(routes, matrix.receive(1, command));
    for (int output = 0; output < 8; ++output) {
        QCOMPARE(matrix.routeOf(output), expected.at(output));
        // A closed output reads as closed (-2) or as no input (-1) in the console; both mean none.
        QCOMPARE(qMax(routes.value(output, -1), -1), qMax(expected.at(output), -1));
    }
}

void TestMatrixSimulator::statusReportsEveryOutput_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<bool>("arrows"); // answered in arrow lines, one per output

    QTest::newRow("4 ports, fresh") << 4 << QByteArray() << false;
    QTest::newRow("16 ports, mixed") << 16 << QByteArray("/Switch:2:1,3,16;/Close:4,5;/Switch:16:2;") << false;
    QTest::newRow("160 ports, all closed") << 160 << QByteArray("/CloseAll;") << false;
    QTest::newRow("160 ports, one input") << 160 << QByteArray("/SwitchAll:160;/Close:80;") << false;
    QTest::newRow("arrows, 4 ports, fresh") << 4 << QByteArray() << true;
    QTest::newRow("arrows, 16 ports, mixed") << 16 << QByteArray("/Switch:2:1,3,16;/Close:4,5;/Switch:16:2;") << true;
    QTest::newRow("arrows, 160 ports, all closed") << 160 << QByteArray("/CloseAll;") << true;
}

void TestMatrixSimulator::statusReportsEveryOutput()
{
    QFETCH(int, model);
    QFETCH(QByteArray, setup);
    QFETCH(bool, arrows);
    MatrixSimulator matrix(config(model));
    if (arrows)
        matrix.setStatusForm(MatrixSimulator::StatusForm::Arrows);
    matrix.receive(1, setup);
    const QStringList lines = replyLines(matrix.receive(1, "/IOStatus;"));
    QMap<int, int> routes;
    for (const QString& line : lines)
        QCOMPARE(apply(routes, line), arrows ? Arrow : RouteList);
    QCOMPARE(routes.size(), model);
    for (int output = 0; output < model; ++output)
        QCOMPARE(routes.value(output), qMax(matrix.routeOf(output), -1));
    if (!arrows)
        return;
    // Output by output, in order; input 0 where there is none (a closed output too).
    QCOMPARE(lines.size(), model);
    for (int output = 0; output < model; ++output)
        QCOMPARE(lines.at(output), QStringLiteral("AV:%1->%2").arg(routes.value(output) + 1).arg(output + 1));
}

void TestMatrixSimulator::badRoutingArgumentsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("input 0") << QByteArray("/Switch:0:1;");
    QTest::newRow("output beyond model") << QByteArray("/Switch:1:9;");
    QTest::newRow("one bad output in a list") << QByteArray("/Switch:1:2,3,99;");
    QTest::newRow("empty list item") << QByteArray("/Close:2,,3;");
    QTest::newRow("missing output") << QByteArray("/Switch:1;");
    QTest::newRow("letters") << QByteArray("/SwitchAll:x;");
    QTest::newRow("close all with argument") << QByteArray("/CloseAll:3;");
}

void TestMatrixSimulator::badRoutingArgumentsChangeNothing()
{
    QFETCH(QByteArray, command);
    MatrixSimulator matrix(config(8));
    QSignalSpy changes(&matrix, &MatrixSimulator::routeChanged);
    QSignalSpy reports(&matrix, &MatrixSimulator::notify);
    const QByteArray reply = matrix.receive(1, command);
    QVERIFY(!isSuccess(reply));
    QVERIFY(reply.endsWith("\r\n"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(reports.count(), 0);
}

void TestMatrixSimulator::scenes()
{
    MatrixSimulator matrix(config(8));
    QVERIFY(!isSuccess(matrix.receive(1, "/SceneCall:3;")));   // never saved

    matrix.receive(1, "/Switch:5:1,2;/Close:3;");
    QCOMPARE(matrix.receive(1, "/SceneSave:3;"), QByteArray("Scene 3 Saved.\r\n"));
    matrix.receive(1, "/SwitchAll:8;");

    const QByteArray reply = matrix.receive(1, "/SceneCall:3;");
    QVERIFY(isSuccess(reply));
    const QStringList lines = replyLines(reply);
    QCOMPARE(formOf(lines.first()), Recall);
    QCOMPARE(numbersIn(lines.first()), QList<int>{3});
    // Then one arrow report per output, so that preview tiles can be relabelled.
    QMap<int, int> routes;
    for (int i = 1; i < lines.size(); ++i)
        QCOMPARE(apply(routes, lines.at(i)), Arrow);
    QCOMPARE(routes.size(), 8);
    const QList<int> expected{4, 4, -2, 3, 4, 5, 6, 7};
    for (int output = 0; output < 8; ++output) {
        QCOMPARE(matrix.routeOf(output), expected.at(output));
        QCOMPARE(routes.value(output), qMax(expected.at(output), -1));
    }

    QCOMPARE(matrix.receive(1, "/SceneClear:3;"), QByteArray("Scene 3 Cleared.\r\n"));
    QVERIFY(!matrix.hasScene(3));
    QVERIFY(!isSuccess(matrix.receive(1, "/SceneCall:3;")));
}

void TestMatrixSimulator::sceneNumbering_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("scene");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("8 ports, 0") << 8 << 0 << true;
    QTest::newRow("8 ports, 9") << 8 << 9 << true;
    QTest::newRow("8 ports, 10") << 8 << 10 << false;
    QTest::newRow("160 ports, 0") << 160 << 0 << false;
    QTest::newRow("160 ports, 1") << 160 << 1 << true;
    QTest::newRow("160 ports, 10") << 160 << 10 << true;
    QTest::newRow("160 ports, 11") << 160 << 11 << false;
}

void TestMatrixSimulator::sceneNumbering()
{
    QFETCH(int, model);
    QFETCH(int, scene);
    QFETCH(bool, accepted);
    MatrixSimulator matrix(config(model));
    QCOMPARE(isSuccess(matrix.receive(1, QStringLiteral("/SceneSave:%1;").arg(scene).toLatin1())), accepted);
    QCOMPARE(matrix.hasScene(scene), accepted);
}

void TestMatrixSimulator::cardLists_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("inCards");
    QTest::addColumn<QString>("outCards");
    QTest::addColumn<QString>("inLetters");
    QTest::addColumn<QString>("outLetters");

    QTest::newRow("as configured") << 16 << "afiz" << "aeke" << "afiz" << "aeke";
    QTest::newRow("short is filled, long is cut") << 16 << "af" << "aaaaaa" << "af**" << "aaaa";
    QTest::newRow("4 ports default") << 4 << "" << "" << "a" << "a";
    QTest::newRow("8 ports default") << 8 << "" << "" << "af" << "ae";
}

// The console takes the letters from index 3 of the trimmed answer and drops its last character.
void TestMatrixSimulator::cardLists()
{
    QFETCH(int, model);
    QFETCH(QString, inCards);
    QFETCH(QString, outCards);
    QFETCH(QString, inLetters);
    QFETCH(QString, outLetters);
    MatrixSimulator matrix(config(model, inCards, outCards));
    for (const char* command : {"/InCardList;", "/OutCardList;"}) {
        const QByteArray reply = matrix.receive(1, command);
        QVERIFY(reply.endsWith("\r\n"));
        QVERIFY(isSuccess(reply));
        QCOMPARE(formOf(QString::fromLatin1(reply)), None);
        const QString trimmed = QString::fromLatin1(reply).trimmed();
        const QString letters = trimmed.mid(3, trimmed.size() - 4);
        QCOMPARE(letters, QByteArray(command) == "/InCardList;" ? inLetters : outLetters);
    }
}

void TestMatrixSimulator::keyboardLock()
{
    MatrixConfig c = config(8);
    c.keyboardLocked = true;
    MatrixSimulator matrix(c);
    QVERIFY(matrix.receive(1, "/KeyBoardLock;").contains("Locked"));
    matrix.setKeyboardLocked(false);
    const QByteArray reply = matrix.receive(1, "/KeyBoardLock;");
    QVERIFY(isSuccess(reply));
    QVERIFY(!reply.contains("Locked"));
}

void TestMatrixSimulator::ipCardAddressesAnswerInTurn()
{
    MatrixSimulator matrix(config(16, "afaf", "aeea"));
    QCOMPARE(matrix.ipCardAddresses(),
             (QList<QHostAddress>{QHostAddress("127.0.0.11"), QHostAddress("127.0.0.12"), QHostAddress("127.0.0.13"),
                                  QHostAddress("127.0.0.14")}));
    QCOMPARE(matrix.previewCardAddresses(), (QList<QHostAddress>{QHostAddress("127.0.0.101"), QHostAddress("127.0.0.102")}));

    QCOMPARE(matrix.receive(1, "USER/I/13:0864%;"), QByteArray("IP Card 4 Selected.\r\n"));
    QCOMPARE(matrix.receive(1, "/VAddr:1:4;"), addressBytes(127, 0, 0, 13));
    QCOMPARE(matrix.receive(1, "/VAddr:1:4;"), addressBytes(127, 0, 0, 14));
    // Another client keeps its own turn; a new selection starts again at the first processor.
    QCOMPARE(matrix.receive(2, "/VAddr:1:4;"), addressBytes(127, 0, 0, 13));
    const QByteArray again = matrix.receive(1, "USER/I/13:0864%;/VAddr:1:4;");
    QCOMPARE(again.right(7), addressBytes(127, 0, 0, 13));

    QCOMPARE(matrix.receive(1, "/VAddr:2:3;"), addressBytes(127, 0, 0, 102));
    QVERIFY(!isSuccess(matrix.receive(1, "/VAddr:1:1;")));   // HDMI card
    QVERIFY(!isSuccess(matrix.receive(1, "/VAddr:2:4;")));
    QVERIFY(!isSuccess(matrix.receive(1, "/VAddr:3:2;")));
}

void TestMatrixSimulator::addressChangesTakeRawBytes()
{
    MatrixSimulator matrix(config(16, "afaa", "aaea"));
    QSignalSpy moved(&matrix, &MatrixSimulator::cardAddressesChanged);
    // Port 7 belongs to the second processor of the card in slot 2.
    QVERIFY(isSuccess(matrix.receive(1, addressCommand("USER/I/7:", 127, 0, 59, 10))));
    QCOMPARE(matrix.ipCardAddresses(), (QList<QHostAddress>{QHostAddress("127.0.0.11"), QHostAddress("127.0.59.10")}));
    QVERIFY(isSuccess(matrix.receive(1, addressCommand("USER/O/9:", 127, 37, 0, 13))));
    QCOMPARE(matrix.previewCardAddresses(), QList<QHostAddress>{QHostAddress("127.37.0.13")});
    QCOMPARE(moved.count(), 2);
    QCOMPARE(matrix.receive(1, "/VAddr:2:3;"), addressBytes(127, 37, 0, 13));
    // No preview card in slot 1.
    QVERIFY(!isSuccess(matrix.receive(1, addressCommand("USER/O/1:", 127, 0, 0, 50))));
}

void TestMatrixSimulator::addressChangeRefusesNonLoopback()
{
    MatrixSimulator matrix(config(8, "af", "ae"));
    QVERIFY(!isSuccess(matrix.receive(1, addressCommand("USER/O/5:", 192, 168, 1, 20))));
    QCOMPARE(matrix.previewCardAddresses(), QList<QHostAddress>{QHostAddress("127.0.0.101")});
}

void TestMatrixSimulator::cardSettings_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<char>("side");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QByteArray>("stored");   // empty: refused

    QTest::newRow("brightness") << QByteArray("/InBright:3:07;") << 'I' << 3 << "InBright" << QByteArray("7");
    QTest::newRow("level above range") << QByteArray("/InChroma:3:101;") << 'I' << 3 << "InChroma" << QByteArray();
    QTest::newRow("audio token, any case") << QByteArray("/InAudio:2:mute;") << 'I' << 2 << "InAudio" << QByteArray("MUTE");
    QTest::newRow("unknown token") << QByteArray("/InAudio:2:LOUD;") << 'I' << 2 << "InAudio" << QByteArray();
    QTest::newRow("resolution") << QByteArray("/OutRes:1:1080P60;") << 'O' << 1 << "OutRes" << QByteArray("1080P60");
    QTest::newRow("built-in EDID") << QByteArray("/EDID:4:1;") << 'I' << 4 << "EDID" << QByteArray("1");
    QTest::newRow("EDID out of range") << QByteArray("/EDID:4:12;") << 'I' << 4 << "EDID" << QByteArray();
    QTest::newRow("empty input slot") << QByteArray("/InAudio:13:EMB;") << 'I' << 13 << "InAudio" << QByteArray();
    QTest::newRow("preview stream on preview card") << QByteArray("/PrvMain:9:1080P30;") << 'O' << 9 << "PrvMain"
                                                    << QByteArray("1080P30");
    QTest::newRow("preview stream on HDMI card") << QByteArray("/PrvSub:1:720P30;") << 'O' << 1 << "PrvSub"
                                                 << QByteArray();
    QTest::newRow("output word on output without card") << QByteArray("/OutAudio:13:EMB;") << 'O' << 13
                                                        << "OutAudio" << QByteArray();
}

void TestMatrixSimulator::cardSettings()
{
    QFETCH(QByteArray, command);
    QFETCH(char, side);
    QFETCH(int, port);
    QFETCH(QString, word);
    QFETCH(QByteArray, stored);
    MatrixSimulator matrix(config(16, "afa*", "aae*"));
    const QByteArray reply = matrix.receive(1, command);
    QVERIFY(reply.endsWith("\r\n"));
    QCOMPARE(isSuccess(reply), !stored.isEmpty());
    QCOMPARE(matrix.portSetting(side, port, word), stored);
}

void TestMatrixSimulator::settingsRefusedByCardType_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<char>("side");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("taken");

    // Inputs: SDI, 4K fibre, HDMI&SDI, 4K HDBT, HDMI&VGA. Outputs: SDI, HDMI&SDI, 4K HDMI, 4K HDBT,
    // 4K fibre, HDMI&VGA.
    QTest::newRow("audio, 4K fibre in") << QByteArray("/InAudio:5:EMB;") << 'I' << 5 << "InAudio" << false;
    QTest::newRow("audio, SDI in") << QByteArray("/InAudio:1:EMB;") << 'I' << 1 << "InAudio" << true;
    QTest::newRow("level, SDI in") << QByteArray("/InBright:1:10;") << 'I' << 1 << "InBright" << false;
    QTest::newRow("level, HDMI half") << QByteArray("/InSharp:9:10;") << 'I' << 9 << "InSharp" << true;
    QTest::newRow("level, SDI half") << QByteArray("/InChroma:11:10;") << 'I' << 11 << "InChroma" << false;
    QTest::newRow("EDID, SDI in") << QByteArray("/EDID:1:1;") << 'I' << 1 << "EDID" << false;
    QTest::newRow("EDID, HDMI half") << QByteArray("/EDID:10:1;") << 'I' << 10 << "EDID" << true;
    QTest::newRow("EDID, 4K HDBT port 13") << QByteArray("/EDID:13:1;") << 'I' << 13 << "EDID" << false;
    QTest::newRow("EDID, 4K HDBT port 14") << QByteArray("/EDID:14:1;") << 'I' << 14 << "EDID" << true;
    QTest::newRow("EDID, VGA half") << QByteArray("/EDID:19:1;") << 'I' << 19 << "EDID" << false;
    QTest::newRow("step, SDI out") << QByteArray("/OutBright:1:+;") << 'O' << 1 << "OutBright" << false;
    QTest::newRow("step, HDMI half") << QByteArray("/OutBright:5:+;") << 'O' << 5 << "OutBright" << true;
    QTest::newRow("step, SDI half") << QByteArray("/OutSat:7:-;") << 'O' << 7 << "OutSat" << false;
    QTest::newRow("step, 4K HDMI") << QByteArray("/OutContrast:9:+;") << 'O' << 9 << "OutContrast" << false;
    QTest::newRow("step, 4K HDBT") << QByteArray("/OutBright:14:+;") << 'O' << 14 << "OutBright" << false;
    QTest::newRow("step, 4K fibre") << QByteArray("/OutBright:17:+;") << 'O' << 17 << "OutBright" << false;
    QTest::newRow("step, HDMI&VGA") << QByteArray("/OutBright:23:+;") << 'O' << 23 << "OutBright" << true;
    QTest::newRow("copy, HDMI half to HDMI half") << QByteArray("/EDIDCopy:4:9;") << 'I' << 9 << "EDIDCopy" << true;
    QTest::newRow("copy from SDI out") << QByteArray("/EDIDCopy:0:9;") << 'I' << 9 << "EDIDCopy" << false;
    QTest::newRow("copy to SDI in") << QByteArray("/EDIDCopy:4:1;") << 'I' << 1 << "EDIDCopy" << false;
}

void TestMatrixSimulator::settingsRefusedByCardType()
{
    QFETCH(QByteArray, command);
    QFETCH(char, side);
    QFETCH(int, port);
    QFETCH(QString, word);
    QFETCH(bool, taken);
    MatrixSimulator matrix(config(32, "c1i3k***", "cizv1k**"));
    const QByteArray reply = matrix.receive(1, command);
    QCOMPARE(isSuccess(reply), taken);
    if (!taken)
        QCOMPARE(reply, QByteArray("Error: not supported.\r\n"));
    QCOMPARE(matrix.portSettings(side, port).contains(word), taken);
}

void TestMatrixSimulator::outputStepsMoveLevel()
{
    MatrixSimulator matrix(config(8));
    QCOMPARE(matrix.receive(1, "/OutBright:2:+;"), QByteArray("Output 2 Brightness 51 OK.\r\n"));
    matrix.receive(1, "/OutBright:2:+;/OutBright:2:+;/OutBright:2:-;");
    QCOMPARE(matrix.portSetting('O', 2, "OutBright"), QByteArray("52"));
    for (int i = 0; i < 60; ++i)
        matrix.receive(1, "/OutSat:2:-;");
    QCOMPARE(matrix.portSetting('O', 2, "OutSat"), QByteArray("0"));
    QVERIFY(!isSuccess(matrix.receive(1, "/OutContrast:2:*;")));
}

void TestMatrixSimulator::subtitleTextIsNeverEchoed()
{
    MatrixSimulator matrix(config(8));
    const QByteArray text = QString::fromUtf8("Closed. 3V1 to: 字幕").toUtf8();
    const QByteArray reply = matrix.receive(1, "/InSubText:2:" + text + ";");
    QVERIFY(isSuccess(reply));
    QCOMPARE(formOf(QString::fromLatin1(reply)), None);
    QCOMPARE(matrix.portSetting('I', 2, "InSubText"), text);
    QVERIFY(!isSuccess(matrix.receive(1, "/InSubText:2:" + QByteArray(65, 'x') + ";")));
}

void TestMatrixSimulator::nameAndModelAreDecoded()
{
    MatrixSimulator matrix(config(16));
    QCOMPARE(matrix.deviceModelText(), QStringLiteral("16x16"));
    // "12" raised by 37 and by 44 per byte.
    QVERIFY(isSuccess(matrix.receive(1, "/#VW;")));
    QCOMPARE(matrix.deviceName(), QStringLiteral("12"));
    QVERIFY(isSuccess(matrix.receive(1, "/?NewModel!]^;")));
    QCOMPARE(matrix.deviceModelText(), QStringLiteral("12"));
    // Wrap-around: a byte below the offset stands for a character near 255.
    QVERIFY(isSuccess(matrix.receive(1, QByteArray("/#") + char(36) + ";")));
    QCOMPARE(matrix.deviceName(), QString(QChar(255)));
    QVERIFY(!isSuccess(matrix.receive(1, "/#;")));
}

void TestMatrixSimulator::otherClientsHearRouteChanges()
{
    MatrixSimulator matrix(config(8));
    QSignalSpy reports(&matrix, &MatrixSimulator::notify);
    QSignalSpy changes(&matrix, &MatrixSimulator::routeChanged);

    const QByteArray reply = matrix.receive(7, "/Switch:2:3,4;");
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.at(0).at(0).toInt(), 7);
    QCOMPARE(reports.at(0).at(1).toByteArray(), reply);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(0), (QList<QVariant>{2, 1}));

    // Queries and settings are answered to the asker only.
    matrix.receive(7, "/IOStatus;/InCardList;/InAudio:1:EMB;/SceneSave:1;");
    QCOMPARE(reports.count(), 1);
    matrix.receive(8, "/SceneCall:1;");
    QCOMPARE(reports.count(), 2);
    QCOMPARE(reports.at(1).at(0).toInt(), 8);
}

void TestMatrixSimulator::frontPanelActions()
{
    MatrixSimulator matrix(config(8));
    QSignalSpy reports(&matrix, &MatrixSimulator::notify);
    QMap<int, int> routes = statusMap(matrix);

    matrix.receive(1, "/Close:2,3;/Switch:5:1;");
    matrix.panelOpenAll();
    QCOMPARE(formOf(QString::fromLatin1(reports.last().at(1).toByteArray())), Open);
    QCOMPARE(matrix.routeOf(1), 1);
    QCOMPARE(matrix.routeOf(0), 4);

    QVERIFY(matrix.panelSwitch(3, 8));
    QCOMPARE(reports.last().at(0).toInt(), -1);
    applyAll(routes, reports.last().at(1).toByteArray());
    QCOMPARE(routes.value(7), 2);

    matrix.panelAllThrough();
    QCOMPARE(apply(routes, QString::fromLatin1(reports.last().at(1).toByteArray())), AllThrough);
    matrix.receive(1, "/SceneSave:2;");
    matrix.setKeyboardLocked(true);
    matrix.receive(1, "/SwitchAll:1;");
    matrix.panelFactoryDefault();
    QCOMPARE(formOf(QString::fromLatin1(reports.last().at(1).toByteArray())), FactoryDefault);
    for (int output = 0; output < 8; ++output)
        QCOMPARE(matrix.routeOf(output), output);
    QVERIFY(!matrix.hasScene(2));
    QVERIFY(!matrix.isKeyboardLocked());
}

// Answers that report no route must not read as a report to the console.
void TestMatrixSimulator::successRepliesAreNotReports()
{
    MatrixSimulator matrix(config(16, "afiz", "aeke"));
    const QList<QByteArray> commands = {
        "/InitCardList;", "/ReleaseCardList;", "/FrontPanelVer;", "/BackPanelVer;", "/KeyBoardLock;",
        "/SceneSave:1;", "/SceneClear:1;", "/EDIDCopy:0:2;", "/EDID:2:3;", "/InFormat:1:3G;", "/OutRes:2:720P50;",
        "/OutFormat:2:3G;", "USER/I/5:0862%;", "USER/O/5:0862%;", "/PrvSub:5:360P30;", "/#VW;", "/?NewModel!]^;",
        "/Bogus;"};
    for (const QByteArray& command : commands) {
        const QByteArray reply = matrix.receive(1, command);
        QVERIFY2(reply.endsWith("\r\n"), command.constData());
        for (const QString& line : replyLines(reply))
            QVERIFY2(formOf(line) == None, qPrintable(QString::fromLatin1(command) + QStringLiteral(" -> ") + line));
    }
}

QTEST_GUILESS_MAIN(TestMatrixSimulator)
#include "tst_matrixsimulator.moc"
