// Every command of every generated template file, filled as the console fills it, is understood
// by the simulated matrix: the answer ends with a line end and counts as success, and answers of
// commands that change no route never read as route reports.
#include "core/CardTypeLetter.h"
#include "core/GlobalState.h"
#include "MatrixReplyForms.h"
#include "MatrixSimulator.h"
#include "core/PublicClass.h"
#include "StagedTemplates.h"

#include <QSettings>
#include <QtTest>

#include <memory>

using namespace MatrixReplyForms;

namespace {

// Every input letter and every output letter of the card-type table, on a 160-port matrix.
const QString kInLetters = QStringLiteral("abcdijklmz013vf");
const QString kOutLetters = QStringLiteral("abcdijklmz013ve");

// COMMAND keys filled as their senders fill them; a comma list where a page sends one.
QString fillSystemCommand(const QString& key, const QString& command, int ipSlot, int previewSlot)
{
    if (key == QLatin1String("SwitchIO"))
        return command.arg(3).arg(QStringLiteral("1,2,5"));
    if (key == QLatin1String("SwitchAll"))
        return command.arg(7);
    if (key == QLatin1String("CloseOut"))
        return command.arg(QStringLiteral("4,6,160"));
    if (key.startsWith(QLatin1String("Scene")))
        return command.arg(10);   // the 160-port model counts scenes from 1
    if (key == QLatin1String("CopyEDID"))
        return command.arg(0).arg(2);   // source output counted from 0, input from 1
    if (key == QLatin1String("IpCardAddr"))
        return command.arg(1).arg(ipSlot);
    if (key == QLatin1String("IpCardAddr/preview"))
        return command.arg(2).arg(previewSlot);
    return command;
}

} // namespace

class TestTemplateProtocol : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyTemplateIsAnswered_data();
    void everyTemplateIsAnswered();
    void literalCommandsAreAnswered();

private:
    // 1-based port of a card whose port kind names this file.
    int portOfWord(const QString& word) const;

    std::unique_ptr<TempWorkDir> dir;
};

void TestTemplateProtocol::initTestCase()
{
    dir.reset(new TempWorkDir);
    QVERIFY(dir->isValid());
    QVERIFY2(StagedTemplates::stage(*dir), "the build has not generated data/command*/");
}

void TestTemplateProtocol::cleanupTestCase()
{
    dir.reset();
    g_languageIndex = 2;
}

// Settings the card of a file lacks: the pages disable them and the matrix refuses them.
static bool cardLacks(int type, const QString& section, const QString& key)
{
    if (section == QLatin1String("AUDIO"))
        return type == PublicClass::eCARD_TYPE_4K_Fiber_I;
    if (section != QLatin1String("CONFIG"))
        return false;
    if (QStringList{"Brightness", "Chroma", "Contrast", "Sharpness"}.contains(key))
        return type == PublicClass::eCARD_TYPE_SDI_I || type == PublicClass::eCARD_TYPE_HDMI_SDI_2SDI_I;
    if (key.startsWith(QLatin1String("Add")) || key.startsWith(QLatin1String("Reduce")))
        return QList<int>{PublicClass::eCARD_TYPE_SDI_O, PublicClass::eCARD_TYPE_HDMI_SDI_2SDI_O, PublicClass::eCARD_TYPE_4K_HDMI_O,
                          PublicClass::eCARD_TYPE_4K_Fiber_O, PublicClass::eCARD_TYPE_4K_HDBT_O}
            .contains(type);
    return false;
}

int TestTemplateProtocol::portOfWord(const QString& word) const
{
    const bool input = word.endsWith(QLatin1String(" I"));
    const QString& letters = input ? kInLetters : kOutLetters;
    for (int port = 0; port < 4 * letters.size(); ++port) {
        const QChar letter = letters.at(port / 4);
        const int type = input ? CardTypeLetter::inputType(letter, port % 4) : CardTypeLetter::outputType(letter, port % 4);
        if (cardTypeName(type, 2) == word)
            return port + 1;
    }
    return -1;
}

void TestTemplateProtocol::everyTemplateIsAnswered_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("file");
    for (int language = 0; language < 3; ++language) {
        const QDir folder(dir->filePath(QStringLiteral("data/command%1").arg(language)));
        for (const QString& file : folder.entryList({QStringLiteral("*.ini")}, QDir::Files))
            QTest::addRow("%d/%s", language, qPrintable(file)) << language << file;
    }
}

void TestTemplateProtocol::everyTemplateIsAnswered()
{
    QFETCH(int, language);
    QFETCH(QString, file);
    g_languageIndex = language;
    const QString word = file.chopped(4);
    const int type = StagedTemplates::cardTypeOfWord(word);
    QVERIFY(type > 0);

    MatrixConfig config;
    config.model = 160;
    config.inCards = kInLetters;
    config.outCards = kOutLetters;
    MatrixSimulator matrix(config);
    const int ipSlot = kInLetters.indexOf(QLatin1Char('f')) + 1;
    const int previewSlot = kOutLetters.indexOf(QLatin1Char('e')) + 1;
    const int port = type == PublicClass::eCARD_TYPE_SYSTEM ? 2 : portOfWord(word);
    QVERIFY2(port > 0, qPrintable(word));

    QSettings settings(commandFilePath(type), QSettings::IniFormat);
    int sent = 0;
    for (const QString& section : settings.childGroups()) {
        settings.beginGroup(section);
        QStringList keys = settings.childKeys();
        // A scene must be saved before it can be recalled; the preview card's address is asked too.
        if (section == QLatin1String("COMMAND")) {
            keys.removeOne(QStringLiteral("SceneCall"));
            keys.insert(keys.indexOf(QStringLiteral("SceneSave")) + 1, QStringLiteral("SceneCall"));
            keys << QStringLiteral("IpCardAddr/preview");
        }
        for (const QString& key : keys) {
            // Filled by the same lookup the console uses.
            const QString lookupKey = key.section(QLatin1Char('/'), 0, 0);
            const QString command = getCommand(type, section, lookupKey);
            QVERIFY2(!command.isEmpty(), qPrintable(section + QLatin1Char('/') + key));
            QString filled;
            if (section == QLatin1String("COMMAND"))
                filled = fillSystemCommand(key, command, ipSlot, previewSlot);
            else if (command.contains(QLatin1String("%2")))
                filled = command.arg(port).arg(lookupKey == QLatin1String("SubTitleContent") ? QStringLiteral("Lobby 2F")
                                                                                           : QStringLiteral("07"));
            else
                filled = command.arg(port);
            QVERIFY2(!filled.contains(QLatin1Char('%')), qPrintable(filled));

            const QByteArray reply = matrix.receive(1, LocalCodePage::encode(filled));
            const QString what = QStringLiteral("%1 -> %2").arg(filled, QString::fromLatin1(reply.toPercentEncoding(" :;.,")));
            if (cardLacks(type, section, lookupKey)) {
                QVERIFY2(reply == "Error: not supported.\r\n", qPrintable(what));
                ++sent;
                continue;
            }
            QVERIFY2(isSuccess(reply), qPrintable(what));
            QVERIFY2(reply.endsWith("\r\n"), qPrintable(what));
            const bool routing = QStringList{"IOStatus", "SwitchIO", "SwitchAll", "CloseOut", "CloseAll", "SceneCall"}
                                     .contains(key);
            if (!routing && !key.startsWith(QLatin1String("IpCardAddr"))) {
                for (const QString& line : replyLines(reply))
                    QVERIFY2(formOf(line) == None, qPrintable(what));
            }
            if (key.startsWith(QLatin1String("IpCardAddr"))) {
                QCOMPARE(reply.size(), 7);
                QCOMPARE(quint8(reply.at(1)), quint8(127));
            }
            ++sent;
        }
        settings.endGroup();
    }
    QVERIFY(sent >= 2);
}

// The commands the console writes without a template.
void TestTemplateProtocol::literalCommandsAreAnswered()
{
    MatrixConfig config;
    config.model = 16;
    config.inCards = QStringLiteral("afaf");
    config.outCards = QStringLiteral("aeae");
    MatrixSimulator matrix(config);
    const int slot = 2;
    const QList<QByteArray> commands = {
        QStringLiteral("USER/I/%1:086%2%;").arg(4 * (slot - 1) + 1).arg(slot).toLatin1(),
        QStringLiteral("USER/O/%1:086%2%;").arg(4 * (slot - 1) + 1).arg(slot).toLatin1(),
        QByteArray("USER/I/5:") + QByteArray::fromHex("7f003b0a") + "%;",
        QByteArray("USER/O/5:") + QByteArray::fromHex("7f25000d") + "%;",
        "/#VW;",
        "/?NewModel!]^;",
    };
    for (const QByteArray& command : commands) {
        const QByteArray reply = matrix.receive(1, command);
        QVERIFY2(isSuccess(reply) && reply.endsWith("\r\n"), command.toHex().constData());
    }
    QCOMPARE(matrix.ipCardAddresses().at(0), QHostAddress(QStringLiteral("127.0.59.10")));
    QCOMPARE(matrix.previewCardAddresses().at(0), QHostAddress(QStringLiteral("127.37.0.13")));
}

QTEST_GUILESS_MAIN(TestTemplateProtocol)
#include "tst_templateprotocol.moc"
