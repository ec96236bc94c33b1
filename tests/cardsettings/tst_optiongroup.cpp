// The option-group rule on its own: a group read from a template file into its display texts,
// the key rebuilt from a position and a text, and the command that choice sends. A group whose
// numbering has a gap or a repeat is logged when read, and its misnumbered entries send nothing.
#include "core/GlobalState.h"
#include "core/OptionGroup.h"
#include "core/PublicClass.h"
#include "TempWorkDir.h"

#include <QSettings>
#include <QtTest>

namespace {

QStringList g_warnings;

void keepWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg)
        g_warnings << text;
}

} // namespace

class tst_OptionGroup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readAndChoose_data();
    void readAndChoose();

private:
    PerTestWorkDir dir;
};

void tst_OptionGroup::init()
{
    QVERIFY(dir.renew());
    g_languageIndex = 0;
    g_warnings.clear();
}

void tst_OptionGroup::readAndChoose_data()
{
    QTest::addColumn<QStringList>("keys");        // value of key i: "/Opt:%1:<i>;"
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("sent");        // what choosing entry i sends for port 5; "" nothing
    QTest::addColumn<int>("numberingWarnings");

    QTest::newRow("01, 02, 03") << QStringList{"01.Embedded", "02.External", "03.Mute"}
                                << QStringList{"Embedded", "External", "Mute"}
                                << QStringList{"/Opt:5:0;", "/Opt:5:1;", "/Opt:5:2;"} << 0;
    QTest::newRow("past nine, string order") << QStringList{"01.a", "02.b", "03.c", "04.d", "05.e", "06.f", "07.g",
                                                            "08.h", "09.i", "10.j", "11.k"}
                                             << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}
                                             << QStringList{"/Opt:5:0;", "/Opt:5:1;", "/Opt:5:2;", "/Opt:5:3;",
                                                            "/Opt:5:4;", "/Opt:5:5;", "/Opt:5:6;", "/Opt:5:7;",
                                                            "/Opt:5:8;", "/Opt:5:9;", "/Opt:5:10;"}
                                             << 0;
    QTest::newRow("Chinese text, dots in it") << QStringList{"01.嵌入音频", "02.1.5 声道"}
                                              << QStringList{"嵌入音频", "1.5 声道"}
                                              << QStringList{"/Opt:5:0;", "/Opt:5:1;"} << 0;
    QTest::newRow("gap") << QStringList{"01.A", "03.C", "04.D"} << QStringList{"A", "C", "D"}
                         << QStringList{"/Opt:5:0;", "", ""} << 2;
    QTest::newRow("repeat") << QStringList{"01.A", "01.B", "02.C"} << QStringList{"A", "B", "C"}
                            << QStringList{"/Opt:5:0;", "", ""} << 2;
    QTest::newRow("no position") << QStringList{"Auto"} << QStringList{"Auto"} << QStringList{""} << 1;
    QTest::newRow("empty group") << QStringList{} << QStringList{} << QStringList{} << 0;
}

void tst_OptionGroup::readAndChoose()
{
    QFETCH(QStringList, keys);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, sent);
    QFETCH(int, numberingWarnings);

    const int type = PublicClass::eCARD_TYPE_HDMI_I;
    {
        QSettings ini(commandFilePath(type), QSettings::IniFormat);
        ini.setValue(QStringLiteral("OTHER/01.x"), QStringLiteral("/Other:%1;"));
        for (int i = 0; i < keys.size(); ++i)
            ini.setValue(QStringLiteral("AUDIO/") + keys.at(i), QStringLiteral("/Opt:%1:") + QString::number(i) + QLatin1Char(';'));
    }

    const QtMessageHandler previous = qInstallMessageHandler(keepWarnings);
    const OptionGroup group = OptionGroup::read(type, QStringLiteral("AUDIO"));
    qInstallMessageHandler(previous);
    QCOMPARE(group.texts(), texts);
    QCOMPARE(group.isNumberedInOrder(), numberingWarnings == 0);
    QCOMPARE(g_warnings.filter(QStringLiteral("option group AUDIO")).size(), numberingWarnings);

    QStringList commands;
    const MatrixCommands recorder([&commands](const QString& cmd, bool waitReply, QString&, QByteArray&, bool) {
        if (waitReply)
            commands << cmd;
        return true;
    });
    for (int i = 0; i < texts.size(); ++i) {
        commands.clear();
        const bool ok = OptionGroup::sendChoice(recorder, type, QStringLiteral("AUDIO"), i, texts.at(i), 5);
        QCOMPARE(ok, !sent.at(i).isEmpty());
        QCOMPARE(commands, sent.at(i).isEmpty() ? QStringList() : QStringList{sent.at(i)});
    }
}

QTEST_GUILESS_MAIN(tst_OptionGroup)
#include "tst_optiongroup.moc"
