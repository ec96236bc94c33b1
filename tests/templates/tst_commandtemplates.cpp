// The generated command template files, read back as the console reads them: every key of the
// source through getCommand, the sections and keys the pages ask for, and the option-group rule.
#include "core/GlobalState.h"
#include "core/PublicClass.h"
#include "StagedTemplates.h"
#include "TemplateTable.h"
#include "TempWorkDir.h"

#include <QSettings>
#include <QtTest>

#include <memory>

namespace {

const QStringList kInputConfig = {"Brightness", "Chroma", "Contrast", "Sharpness", "SubTitleContent"};
const QStringList kInputGroups = {"AUDIO", "FORMAT", "SUBTITLE", "SUBTITLE_POS", "SUBTITLE_COLOR"};
const QStringList kOutputConfig = {"AddBrightness", "ReduceBrightness", "AddContrast",
                                   "ReduceContrast", "AddSaturation", "ReduceSaturation"};
const QStringList kOutputGroups = {"RESOLUTION", "AUDIO", "FORMAT"};
const QStringList kPreviewGroups = {"MainRESOLUTION", "SubRESOLUTION"};
const QStringList kSystemCommands = {"IOStatus", "SwitchIO", "SwitchAll", "CloseOut", "CloseAll", "SceneCall",
                                     "SceneSave", "SceneClear", "CopyEDID", "IpCardAddr", "InitCardList",
                                     "InCardList", "OutCardList", "ReleaseCardList", "FrontPanelVer",
                                     "BackPanelVer", "KeyBoardLock"};

QString fileWord(int type)
{
    return cardTypeName(type, 2);
}

QList<int> fileTypes()
{
    QList<int> types;
    QSet<QString> seen;
    for (int type = 1; type <= PublicClass::eCARD_TYPE_SYSTEM; ++type) {
        const QString word = fileWord(type);
        if (!word.isEmpty() && !seen.contains(word)) {
            seen.insert(word);
            types << type;
        }
    }
    return types;
}

// Items of one option group as the settings pages list them: keys in reader order, text after
// the first ".".
QStringList groupItems(const QString& path, const QString& group, QStringList* keys = nullptr)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(group);
    QStringList items;
    for (const QString& key : settings.childKeys()) {
        const int dot = key.indexOf(QLatin1Char('.'));
        items << (dot < 0 ? key : key.mid(dot + 1));
        if (keys)
            keys->append(key);
    }
    return items;
}

} // namespace

class TestCommandTemplates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void everySourceEntryReadsBack_data();
    void everySourceEntryReadsBack();
    void requiredSectionsAndKeys_data();
    void requiredSectionsAndKeys();
    void optionGroupsFollowTheRule_data();
    void optionGroupsFollowTheRule();
    void defaultChoicesExist_data();
    void defaultChoicesExist();
    void commandsAreTheSameInEveryLanguage();
    void displayTextsAreInTheFoldersLanguage_data();
    void displayTextsAreInTheFoldersLanguage();

private:
    std::unique_ptr<TempWorkDir> dir;
    TemplateTable table;
};

void TestCommandTemplates::initTestCase()
{
    dir.reset(new TempWorkDir);
    QVERIFY(dir->isValid());
    QVERIFY2(StagedTemplates::stage(*dir), "the build has not generated data/command*/");
    QString error;
    QVERIFY2(table.load(StagedTemplates::sourcePath(), &error), qPrintable(error));
}

void TestCommandTemplates::cleanupTestCase()
{
    dir.reset();
    g_languageIndex = 2;
}

void TestCommandTemplates::init()
{
    g_languageIndex = 0;
}

void TestCommandTemplates::everySourceEntryReadsBack_data()
{
    QTest::addColumn<int>("language");
    for (int language = 0; language < TemplateTable::LanguageCount; ++language)
        QTest::addRow("command%d", language) << language;
}

// Every key of the source, with its value, and nothing else is in the files.
void TestCommandTemplates::everySourceEntryReadsBack()
{
    QFETCH(int, language);
    g_languageIndex = language;
    QString error;
    const QList<TemplateEntry> entries = table.entries(language, &error);
    QVERIFY2(!entries.isEmpty(), qPrintable(error));

    QHash<QString, int> perFile;
    for (const TemplateEntry& entry : entries) {
        const int type = StagedTemplates::cardTypeOfWord(entry.fileWord);
        QVERIFY2(type > 0, qPrintable(entry.fileWord));
        QCOMPARE(getCommand(type, entry.section, entry.key), entry.value);
        ++perFile[entry.fileWord];
    }
    QCOMPARE(perFile.size(), 23);
    for (auto it = perFile.cbegin(); it != perFile.cend(); ++it) {
        QSettings settings(commandFilePath(StagedTemplates::cardTypeOfWord(it.key())), QSettings::IniFormat);
        QCOMPARE(settings.allKeys().size(), it.value());
    }
}

void TestCommandTemplates::requiredSectionsAndKeys_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("type");
    for (int language = 0; language < TemplateTable::LanguageCount; ++language) {
        for (int type : fileTypes())
            QTest::addRow("%d/%s", language, qPrintable(fileWord(type))) << language << type;
    }
}

void TestCommandTemplates::requiredSectionsAndKeys()
{
    QFETCH(int, language);
    QFETCH(int, type);
    g_languageIndex = language;
    const QString word = fileWord(type);
    const QString path = commandFilePath(type);
    QVERIFY2(QFile::exists(path), qPrintable(path));

    QStringList config;
    QStringList groups;
    if (type == PublicClass::eCARD_TYPE_SYSTEM) {
        for (const QString& key : kSystemCommands)
            QVERIFY2(getCommand(type, QStringLiteral("COMMAND"), key).endsWith(QLatin1Char(';')), qPrintable(key));
        QVERIFY(getCommand(type, QStringLiteral("COMMAND"), QStringLiteral("IpCardAddr")).contains(QLatin1String("/V")));
        const QStringList edid = groupItems(path, QStringLiteral("INTERNAL_EDID"));
        QVERIFY(edid.size() >= 2);
        return;
    }
    if (type == PublicClass::eCARD_TYPE_Preview_O) {
        groups = kPreviewGroups;
    } else if (word.endsWith(QLatin1String(" I"))) {
        config = kInputConfig;
        groups = kInputGroups;
    } else {
        config = kOutputConfig;
        groups = kOutputGroups;
    }
    for (const QString& key : config) {
        const QString command = getCommand(type, QStringLiteral("CONFIG"), key);
        QVERIFY2(command.contains(QLatin1String("%1")) && command.endsWith(QLatin1Char(';')), qPrintable(key));
        // The input settings carry a value in %2; the output steps only the port.
        QCOMPARE(command.contains(QLatin1String("%2")), config == kInputConfig);
    }
    for (const QString& group : groups)
        QVERIFY2(!groupItems(path, group).isEmpty(), qPrintable(group));
}

void TestCommandTemplates::optionGroupsFollowTheRule_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("group");
    for (int language = 0; language < TemplateTable::LanguageCount; ++language) {
        for (int type : fileTypes()) {
            for (const QString& group : table.optionGroups(fileWord(type))) {
                QTest::addRow("%d/%s/%s", language, qPrintable(fileWord(type)), qPrintable(group))
                    << language << type << group;
            }
        }
    }
}

// Keys run 01, 02, ... in reader order, and the key rebuilt from a position and its text finds
// a template with the port placeholder.
void TestCommandTemplates::optionGroupsFollowTheRule()
{
    QFETCH(int, language);
    QFETCH(int, type);
    QFETCH(QString, group);
    g_languageIndex = language;
    QStringList keys;
    const QStringList items = groupItems(commandFilePath(type), group, &keys);
    QVERIFY(!items.isEmpty());
    QVERIFY(items.size() < 100);
    for (int i = 0; i < items.size(); ++i) {
        const QString rebuilt = QStringLiteral("%1.%2").arg(i + 1, 2, 10, QLatin1Char('0')).arg(items.at(i));
        QCOMPARE(rebuilt, keys.at(i));
        const QString command = getCommand(type, group, rebuilt);
        QVERIFY2(command.contains(QLatin1String("%1")) && command.endsWith(QLatin1Char(';')), qPrintable(rebuilt));
        QVERIFY(!command.contains(QLatin1String("%2")));
    }
}

void TestCommandTemplates::defaultChoicesExist_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("text");
    for (int type : fileTypes()) {
        const QString word = fileWord(type);
        if (word.endsWith(QLatin1String(" O")) && type != PublicClass::eCARD_TYPE_Preview_O)
            QTest::addRow("%s", qPrintable(word)) << type << "RESOLUTION" << "1920x1080P 60";
    }
    QTest::newRow("preview main") << int(PublicClass::eCARD_TYPE_Preview_O) << "MainRESOLUTION" << "1920x1080P 30";
    QTest::newRow("preview sub") << int(PublicClass::eCARD_TYPE_Preview_O) << "SubRESOLUTION" << "1280x720 P 30";
    QTest::newRow("built-in EDID") << int(PublicClass::eCARD_TYPE_SYSTEM) << "INTERNAL_EDID" << "1080P-2D-2.0";
}

// The pages preselect the first entry containing these texts when nothing is stored.
void TestCommandTemplates::defaultChoicesExist()
{
    QFETCH(int, type);
    QFETCH(QString, group);
    QFETCH(QString, text);
    for (int language = 0; language < TemplateTable::LanguageCount; ++language) {
        g_languageIndex = language;
        QStringList keys;
        const QStringList items = groupItems(commandFilePath(type), group, &keys);
        const QStringList shown = group == QLatin1String("INTERNAL_EDID") ? keys : items;
        const QStringList matching = shown.filter(text);
        QVERIFY2(!matching.isEmpty(), qPrintable(QStringLiteral("%1 in command%2").arg(text).arg(language)));
        const QString key = group == QLatin1String("INTERNAL_EDID") ? matching.first()
                                                                   : keys.at(items.indexOf(matching.first()));
        QVERIFY(getCommand(type, group, key).contains(QLatin1String("%1")));
    }
}

// Only display texts differ between the language folders; the commands are the same.
void TestCommandTemplates::commandsAreTheSameInEveryLanguage()
{
    for (int type : fileTypes()) {
        QStringList reference;
        for (int language = 0; language < TemplateTable::LanguageCount; ++language) {
            g_languageIndex = language;
            QSettings settings(commandFilePath(type), QSettings::IniFormat);
            QStringList values;
            for (const QString& group : settings.childGroups()) {
                settings.beginGroup(group);
                for (const QString& key : settings.childKeys()) {
                    // Option keys hold display texts: compare them by position.
                    const QString shownKey = table.optionGroups(fileWord(type)).contains(group) ? key.left(2) : key;
                    values << group + QLatin1Char('/') + shownKey + QLatin1Char('=') + settings.value(key).toString();
                }
                settings.endGroup();
            }
            if (language == 0)
                reference = values;
            else
                QCOMPARE(values, reference);
        }
    }
}

void TestCommandTemplates::displayTextsAreInTheFoldersLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("zh_CN subtitle") << 0 << "SUBTITLE" << QStringList{QStringLiteral("关"), QStringLiteral("开")};
    QTest::newRow("zh_TW subtitle") << 1 << "SUBTITLE" << QStringList{QStringLiteral("關"), QStringLiteral("開")};
    QTest::newRow("en subtitle") << 2 << "SUBTITLE" << QStringList{"Off", "On"};
    QTest::newRow("zh_CN colour") << 0 << "SUBTITLE_COLOR"
                                  << QStringList{QStringLiteral("白色"), QStringLiteral("红色"), QStringLiteral("绿色"),
                                                 QStringLiteral("蓝色"), QStringLiteral("黑色")};
    QTest::newRow("zh_TW colour") << 1 << "SUBTITLE_COLOR"
                                  << QStringList{QStringLiteral("白色"), QStringLiteral("紅色"), QStringLiteral("綠色"),
                                                 QStringLiteral("藍色"), QStringLiteral("黑色")};
    QTest::newRow("en position") << 2 << "SUBTITLE_POS"
                                 << QStringList{"Top left", "Top right", "Bottom left", "Bottom right"};
    QTest::newRow("zh_CN position") << 0 << "SUBTITLE_POS"
                                    << QStringList{QStringLiteral("左上角"), QStringLiteral("右上角"),
                                                   QStringLiteral("左下角"), QStringLiteral("右下角")};
    QTest::newRow("zh_TW audio") << 1 << "AUDIO"
                                 << QStringList{QStringLiteral("嵌入音訊"), QStringLiteral("外部音訊"), QStringLiteral("靜音")};
}

void TestCommandTemplates::displayTextsAreInTheFoldersLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, group);
    QFETCH(QStringList, items);
    g_languageIndex = language;
    QCOMPARE(groupItems(commandFilePath(PublicClass::eCARD_TYPE_HDMI_I), group), items);
    // The English folder holds no Chinese text anywhere.
    if (language == 2) {
        for (int type : fileTypes()) {
            QFile file(commandFilePath(type));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(!file.readAll().contains("%U"), qPrintable(file.fileName()));
        }
    }
}

QTEST_GUILESS_MAIN(TestCommandTemplates)
#include "tst_commandtemplates.moc"
