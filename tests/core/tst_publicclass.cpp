// Card-type words, the valid-type rule and the command template lookup.
#include "core/GlobalState.h"
#include "core/PublicClass.h"
#include "TempWorkDir.h"

#include <QMetaEnum>
#include <QSettings>
#include <QtTest>

class TestPublicClass : public QObject
{
    Q_OBJECT

private slots:
    void init() { g_languageIndex = 0; }
    void cleanupTestCase() { g_languageIndex = 2; }

    void typeWord_data();
    void typeWord();
    void everyCardTypeNamesItsFile();
    void validEnumValue_data();
    void validEnumValue();
    void deviceTypes();
    void lookup_data();
    void lookup();
    void lookupFollowsLanguage();
    void lookupReadsFileAfresh();
};

void TestPublicClass::typeWord_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("word");

    QTest::newRow("HDMI I, mode 2") << 1 << 2 << "HDMI I";
    QTest::newRow("4K HDMI I, mode 2") << 23 << 2 << "4K HDMI I";
    QTest::newRow("system, mode 2") << 158 << 2 << "SYSTEM";
    QTest::newRow("mixed SDI half out, mode 2") << 14 << 2 << "SDI O";
    QTest::newRow("mixed HDMI half in, mode 2") << 11 << 2 << "HDMI I";
    QTest::newRow("mixed SDI half in, mode 2") << 12 << 2 << "SDI I";
    QTest::newRow("mixed HDMI half out, mode 2") << 13 << 2 << "HDMI O";
    QTest::newRow("mixed HDMI&VGA 15, mode 2") << 15 << 2 << "HDMI I";
    QTest::newRow("mixed VGA half in, mode 2") << 16 << 2 << "VGA I";
    QTest::newRow("mixed HDMI&VGA 17, mode 2") << 17 << 2 << "HDMI O";
    QTest::newRow("mixed VGA half out, mode 2") << 18 << 2 << "VGA O";
    QTest::newRow("preview, mode 2") << 156 << 2 << "Preview O";
    QTest::newRow("IP, mode 2") << 157 << 2 << "IP I";
    QTest::newRow("HDMI, mode 0") << 1 << 0 << "HDMI";
    QTest::newRow("HDMI&SDI 11, mode 0") << 11 << 0 << "HDMI&SDI";
    QTest::newRow("HDMI&SDI 14, mode 0") << 14 << 0 << "HDMI&SDI";
    QTest::newRow("HDMI&VGA 17, mode 0") << 17 << 0 << "HDMI&VGA";
    QTest::newRow("preview, mode 0") << 156 << 0 << "Preview";
    QTest::newRow("IP, mode 0") << 157 << 0 << "IP";
    QTest::newRow("fibre, mode 0") << 21 << 0 << "Fiber";
    QTest::newRow("4K HDBT out, mode 0") << 28 << 0 << "4K HDBT";
    QTest::newRow("none, mode 0") << 0 << 0 << "NO";
    QTest::newRow("system, mode 0") << 158 << 0 << "SYST";
    QTest::newRow("unassigned 100") << 100 << 2 << "";
    QTest::newRow("unassigned 29") << 29 << 0 << "";
    QTest::newRow("negative") << -1 << 2 << "";
}

void TestPublicClass::typeWord()
{
    QFETCH(int, type);
    QFETCH(int, mode);
    QFETCH(QString, word);
    QCOMPARE(cardTypeName(type, mode), word);
}

// Every key of the enumeration except NONE names one of the 23 template files.
void TestPublicClass::everyCardTypeNamesItsFile()
{
    const QMetaEnum meta = QMetaEnum::fromType<PublicClass::eCARD_TYPE>();
    QCOMPARE(meta.keyCount(), 32);
    QSet<QString> words;
    for (int i = 0; i < meta.keyCount(); ++i) {
        const QString word = cardTypeName(meta.value(i), 2);
        QVERIFY(!word.isEmpty());
        QVERIFY2(!word.contains(QLatin1Char('_')), qPrintable(word));
        if (meta.value(i) != PublicClass::eCARD_TYPE_NONE)
            words.insert(word);
    }
    QCOMPARE(words.size(), 23);
}

void TestPublicClass::validEnumValue_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("28") << 28 << true;
    QTest::newRow("100, unassigned") << 100 << true;
    QTest::newRow("157") << 157 << true;
    QTest::newRow("158") << 158 << false;
    QTest::newRow("-5") << -5 << false;
    QTest::newRow("400") << 400 << false;
}

void TestPublicClass::validEnumValue()
{
    QFETCH(int, value);
    QFETCH(bool, valid);
    QCOMPARE(isValidEnumValue(value), valid);
}

void TestPublicClass::deviceTypes()
{
    const QMetaEnum meta = QMetaEnum::fromType<PublicClass::eDEVICE_TYPE>();
    QCOMPARE(meta.keyCount(), 9);
    QCOMPARE(QString::fromLatin1(meta.valueToKey(16)), QStringLiteral("_16x16"));
    QCOMPARE(QString::fromLatin1(meta.valueToKey(160)), QStringLiteral("_160x160"));
    QCOMPARE(meta.valueToKey(12), nullptr);
}

void TestPublicClass::lookup_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("system command") << 158 << "COMMAND" << "SwitchIO" << "/Switch:%1:%2;";
    QTest::newRow("mixed card reads its half's file") << 12 << "CONFIG" << "Brightness" << "/sdi:%1:%2;";
    QTest::newRow("key with blank and Chinese text") << 1 << "AUDIO" << QString::fromUtf8("01.嵌入 音频")
                                                     << "/audio:%1:1;";
    QTest::newRow("missing key") << 158 << "COMMAND" << "NoSuchKey" << "";
    QTest::newRow("missing section") << 158 << "NOSECTION" << "SwitchIO" << "";
    QTest::newRow("missing file") << 3 << "CONFIG" << "Brightness" << "";
    QTest::newRow("value without a key name: unassigned type") << 100 << "COMMAND" << "SwitchIO" << "";
}

void TestPublicClass::lookup()
{
    QFETCH(int, type);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(QStringLiteral("data/command0"));
    {
        QSettings system(QStringLiteral("data/command0/SYSTEM.ini"), QSettings::IniFormat);
        system.setValue(QStringLiteral("COMMAND/SwitchIO"), QStringLiteral("/Switch:%1:%2;"));
        QSettings sdi(QStringLiteral("data/command0/SDI I.ini"), QSettings::IniFormat);
        sdi.setValue(QStringLiteral("CONFIG/Brightness"), QStringLiteral("/sdi:%1:%2;"));
        QSettings hdmi(QStringLiteral("data/command0/HDMI I.ini"), QSettings::IniFormat);
        hdmi.setValue(QStringLiteral("AUDIO/") + QString::fromUtf8("01.嵌入 音频"), QStringLiteral("/audio:%1:1;"));
    }
    // A stray file named only ".ini" must not answer for types without a word.
    QVERIFY(dir.write(QStringLiteral("data/command0/.ini"), "[COMMAND]\nSwitchIO=stray\n"));
    if (type != 100)
        QFile::remove(QStringLiteral("data/command0/.ini"));
    QCOMPARE(getCommand(type, section, key), type == 100 ? QStringLiteral("stray") : expected);
}

void TestPublicClass::lookupFollowsLanguage()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(QStringLiteral("data/command0"));
    QDir().mkpath(QStringLiteral("data/command1"));
    QVERIFY(dir.write(QStringLiteral("data/command0/SYSTEM.ini"), "[COMMAND]\nCloseAll=zero\n"));
    QVERIFY(dir.write(QStringLiteral("data/command1/SYSTEM.ini"), "[COMMAND]\nCloseAll=one\n"));
    QCOMPARE(commandFilePath(158), QStringLiteral("data/command0/SYSTEM.ini"));
    QCOMPARE(getCommand(158, QStringLiteral("COMMAND"), QStringLiteral("CloseAll")), QStringLiteral("zero"));
    g_languageIndex = 1;
    QCOMPARE(getCommand(158, QStringLiteral("COMMAND"), QStringLiteral("CloseAll")), QStringLiteral("one"));
    g_languageIndex = 2;
    QCOMPARE(getCommand(158, QStringLiteral("COMMAND"), QStringLiteral("CloseAll")), QString());
}

// Nothing is cached: a file changed between two lookups gives the new template.
void TestPublicClass::lookupReadsFileAfresh()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(QStringLiteral("data/command0"));
    QVERIFY(dir.write(QStringLiteral("data/command0/SYSTEM.ini"), "[COMMAND]\nCloseAll=first\n"));
    QCOMPARE(getCommand(158, QStringLiteral("COMMAND"), QStringLiteral("CloseAll")), QStringLiteral("first"));
    QVERIFY(dir.write(QStringLiteral("data/command0/SYSTEM.ini"), "[COMMAND]\nCloseAll=second\n"));
    QCOMPARE(getCommand(158, QStringLiteral("COMMAND"), QStringLiteral("CloseAll")), QStringLiteral("second"));
}

QTEST_GUILESS_MAIN(TestPublicClass)
#include "tst_publicclass.moc"
