// The one helper that fills and sends command templates, and the two start-up questions that
// use it: a missing template is a failure with nothing sent, never an empty command "sent".

#include "core/DeviceQueries.h"
#include "core/GlobalState.h"
#include "core/MatrixCommands.h"
#include "core/PortRecords.h"
#include "core/PublicClass.h"
#include "TempWorkDir.h"

#include <QSettings>
#include <QtTest>

namespace {

// Records what would reach the matrix and answers every waited command with reply.
struct RecordingSender
{
    QStringList sent;
    QByteArray replyBytes;

    CommandSender sender()
    {
        return [this](const QString& cmd, bool, QString& reply, QByteArray& bytes, bool) {
            sent << cmd;
            reply = QString::fromLatin1(replyBytes);
            bytes = replyBytes;
            return true;
        };
    }
};

void writeTemplate(int cardType, const QString& section, const QString& key, const QString& value)
{
    QSettings settings(commandFilePath(cardType), QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
}

} // namespace

class TestMatrixCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { dir.drop(); }
    void fill_data();
    void fill();
    void buildAndSend_data();
    void buildAndSend();
    void queriesWithoutTemplatesSendNothing();

private:
    PerTestWorkDir dir;
};

void TestMatrixCommands::init()
{
    QVERIFY(dir.renew());
    g_languageIndex = 2;
    QVERIFY(QDir().mkpath(QStringLiteral("data/command2")));
}

void TestMatrixCommands::fill_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("filled");

    QTest::newRow("two numbers") << "/Switch:%1:%2;" << QStringList{"3", "5"} << "/Switch:3:5;";
    QTest::newRow("lowest number takes the first argument") << "%3 then %2" << QStringList{"a", "b"} << "b then a";
    QTest::newRow("a number used twice") << "%1-%1" << QStringList{"7"} << "7-7";
    QTest::newRow("an argument holding a placeholder stays as typed") << "T:%1:%2;" << QStringList{"%2%1", "x"}
                                                                       << "T:%2%1:x;";
    QTest::newRow("too few arguments keep the placeholder") << "%1,%2" << QStringList{"9"} << "9,%2";
    QTest::newRow("two-digit placeholder") << "%10|%2" << QStringList{"two", "ten"} << "ten|two";
    QTest::newRow("percent without digit") << "100%;%1" << QStringList{"x"} << "100%;x";
    QTest::newRow("no placeholder") << "/*Type;" << QStringList{"1"} << "/*Type;";
}

void TestMatrixCommands::fill()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, args);
    QFETCH(QString, filled);
    CommandArgs list;
    for (const QString& a : args)
        list << a;
    QCOMPARE(MatrixCommands::fill(pattern, list), filled);
}

void TestMatrixCommands::buildAndSend_data()
{
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QString>("stored");   // value under CONFIG/Brightness, empty = key absent
    QTest::addColumn<bool>("sent");

    QTest::newRow("template present") << true << "/B:%1:%2;" << true;
    QTest::newRow("key missing") << true << "" << false;
    QTest::newRow("blank template") << true << "  " << false;
    QTest::newRow("file missing") << false << "" << false;
}

void TestMatrixCommands::buildAndSend()
{
    QFETCH(bool, fileThere);
    QFETCH(QString, stored);
    QFETCH(bool, sent);

    const int hdmiIn = PublicClass::eCARD_TYPE_HDMI_I;
    if (fileThere) {
        writeTemplate(hdmiIn, QStringLiteral("CONFIG"), QStringLiteral("Contrast"), QStringLiteral("/C;"));
        if (!stored.isEmpty())
            writeTemplate(hdmiIn, QStringLiteral("CONFIG"), QStringLiteral("Brightness"), stored);
    }
    RecordingSender matrix;
    if (!sent)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no command template CONFIG/Brightness")));
    const bool ok = MatrixCommands(matrix.sender())
                        .send(hdmiIn, QStringLiteral("CONFIG"), QStringLiteral("Brightness"), {4, 70}, false);
    QCOMPARE(ok, sent);
    QCOMPARE(matrix.sent, sent ? QStringList{QStringLiteral("/B:4:70;")} : QStringList{});
}

void TestMatrixCommands::queriesWithoutTemplatesSendNothing()
{
    // An empty data folder: the status and address questions have nothing to ask.
    g_inCardTypes = QStringLiteral("f");
    g_outCardTypes = QStringLiteral("e");
    g_deviceModel = 4;
    PortRecords records;
    DeviceQueries queries(&records);
    RecordingSender matrix;
    matrix.replyBytes = QByteArray("\x01\x7f\x00\x00\x05", 5);
    queries.setSender(matrix.sender());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no command template COMMAND/IOStatus")));
    queries.queryIOStatus();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no command template COMMAND/IpCardAddr")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no command template COMMAND/IpCardAddr")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no command template COMMAND/IpCardAddr")));
    queries.queryIpCardAddresses();
    // Only the literal card selections went out; no address was stored from a question not asked.
    QCOMPARE(matrix.sent, (QStringList{QStringLiteral("USER/I/1:0861%;"), QStringLiteral("USER/O/1:0861%;")}));
    QVERIFY(!records.hasCard(0));

    // With the template the same query stores what the matrix answered.
    writeTemplate(PublicClass::eCARD_TYPE_SYSTEM, QStringLiteral("COMMAND"), QStringLiteral("IpCardAddr"),
                  QStringLiteral("/V%1:%2;"));
    queries.queryIpCardAddresses();
    QVERIFY(matrix.sent.contains(QStringLiteral("/V1:1;")));
    QCOMPARE(records.getCardInfo(0).value(QStringLiteral("in-card")).toObject().value(QStringLiteral("ip")).toString(),
             QStringLiteral("127.0.0.5"));
}

QTEST_GUILESS_MAIN(TestMatrixCommands)
#include "tst_matrixcommands.moc"
