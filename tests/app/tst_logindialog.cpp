#include "AppTestSupport.h"
#include "core/CCHelper.h"
#include "app/CConSetDialog.h"
#include "app/CLoginDialog.h"
#include "app/CSelectCardTypeDialog.h"
#include "core/CUserManage.h"
#include "app/DeviceInfoFetcher.h"
#include "DeviceSimProcess.h"
#include "EarlierAccountNames.h"
#include "core/GlobalState.h"
#include "core/PasswordKey.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTcpServer>
#include <QtTest>

#include <memory>

namespace {
// Answers the fetch's commands from a table: key -> (result, reply); missing keys fail.
struct ScriptedMatrix
{
    QMap<QString, QPair<bool, QString>> answers;
    QStringList sent;

    CommandSender sender()
    {
        return [this](const QString& cmd, bool, QString& reply, QByteArray&, bool) {
            sent << cmd.trimmed();
            for (auto it = answers.cbegin(); it != answers.cend(); ++it) {
                if (cmd.contains(it.key(), Qt::CaseInsensitive)) {
                    reply = it.value().second;
                    return it.value().first;
                }
            }
            reply.clear();
            return false;
        };
    }
};

QVariant clientValue(const QString& key)
{
    return QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat).value(key);
}
} // namespace

class TestLoginDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void checkUser_data();
    void checkUser();
    void defaultsWithoutSettingsFile_data();
    void defaultsWithoutSettingsFile();
    void rememberedLogin_data();
    void rememberedLogin();
    void emptyFieldsAndUnknownUser_data();
    void emptyFieldsAndUnknownUser();
    void lettersOfReply_data();
    void lettersOfReply();
    void fetchAgainstSimulator();
    void fetchInputListFails();
    void fetchOutputListFailsKeepsStoredLetters();
    void fetchModel96();
    void fetchTakesTheAnswersOwnLine_data();
    void fetchTakesTheAnswersOwnLine();
    void fetchListsBeyondTheModel();
    void fetchWithoutTemplatesFails();
    void loginThroughCardTypes_data();
    void loginThroughCardTypes();
    void connectionRefused();
    void secondOkDuringVerificationIgnored();

private:
    std::unique_ptr<TempWorkDir> dir;
    DeviceSimProcess sim;
};

void TestLoginDialog::initTestCase()
{
    dir = std::make_unique<TempWorkDir>();
    QVERIFY(dir->isValid());
    QVERIFY(AppTest::stageRuntime(*dir));
    User_Info operatorUser;
    operatorUser.Id = 7;
    operatorUser.Group = 1;
    operatorUser.setUserName(QStringLiteral("Operator"));
    operatorUser.setPassWord(passwordTransform(QStringLiteral("Operator"), QStringLiteral("op-pass")));
    QVERIFY(CUserManage::instance()->add(operatorUser));
    // The only administrators of stores that earlier releases wrote and logged in (password
    // 740261), and two names alike that the store would not make itself.
    const QString userFile = QStringLiteral("data/UserConfig.dat");
    QJsonArray users = QJsonDocument::fromJson(dir->read(userFile)).object().value("user-list").toArray();
    QStringList names{QStringLiteral(u"Shift\u00A0Lead"), QStringLiteral(u"Shift\u2003Lead")};
    for (const EarlierAccountName& earlier : earlierAccountNames)
        names << earlier.stored;
    for (const QString& name : names)
        users.append(QJsonObject{{"Id", 20 + users.size()}, {"Group", 0}, {"UserName", name},
                                 {"PassWord", passwordTransform(name, QStringLiteral("740261"))}});
    QVERIFY(dir->write(userFile, QJsonDocument(QJsonObject{{"user-list", users}}).toJson()));
    CUserManage::instance()->readConfig();
    QVERIFY2(sim.start({QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--in-cards"),
                        QStringLiteral("afbi"), QStringLiteral("--out-cards"), QStringLiteral("aezk"),
                        QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}),
             qPrintable(sim.errorString()));
}

void TestLoginDialog::init()
{
    CCHelper::instance()->disConnectToDevice();
    QFile::remove(QStringLiteral("data/ClientConfig.dat"));
    g_inCardTypes.clear();
    g_outCardTypes.clear();
    g_deviceModel = 16;
}

void TestLoginDialog::checkUser_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("admin");
    QTest::addColumn<bool>("storedForm");
    QTest::addColumn<QString>("stored");   // the name logged in, when not the one typed
    QTest::newRow("default account") << "Admin" << "740261" << 1 << 1 << false << QString();
    QTest::newRow("remembered stored text") << "Admin" << "987FF27701324BD2" << 1 << 1 << true << QString();
    // Whoever can read UserConfig.dat knows the stored texts: typed, they are no password.
    QTest::newRow("stored text typed") << "Admin" << "987FF27701324BD2" << 2 << -1 << false << QString();
    QTest::newRow("password on the remembered path") << "Admin" << "740261" << 1 << 1 << true << QString();
    QTest::newRow("wrong password") << "Admin" << "740262" << 2 << -1 << false << QString();
    QTest::newRow("name in other case") << "admin" << "740261" << 0 << -1 << false << QString();
    QTest::newRow("unknown") << "Nobody" << "x" << 0 << -1 << false << QString();
    QTest::newRow("ordinary user") << "Operator" << "op-pass" << 1 << 0 << false << QString();
    QTest::newRow("other user's password") << "Operator" << "740261" << 2 << -1 << false << QString();
    // Typed as it reads; the stored name keys the transform.
    for (const EarlierAccountName& earlier : earlierAccountNames)
        QTest::addRow("earlier release, %s", earlier.what) << earlier.asRead << "740261" << 1 << 1 << false
                                                           << earlier.stored;
    QTest::newRow("as it reads, wrong password") << "Wachdienst" << "740262" << 2 << -1 << false << QString();
    // Neither of two alike is guessed; one typed exactly is found.
    QTest::newRow("two alike, neither typed") << "Shift Lead" << "740261" << 0 << -1 << false << QString();
    QTest::newRow("one of two alike typed") << QStringLiteral(u"Shift\u00A0Lead") << "740261" << 1 << 1 << false
                                            << QString();
}

void TestLoginDialog::checkUser()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(int, result);
    QFETCH(int, admin);
    QFETCH(bool, storedForm);
    QFETCH(QString, stored);
    CLoginDialog dialog;
    g_isAdministrator = -1;
    g_userPassword.clear();
    QCOMPARE(dialog.checkUser(name, password, storedForm), result);
    QCOMPARE(g_isAdministrator, admin);
    if (result == 1) {
        QCOMPARE(g_userName, stored.isEmpty() ? name : stored);
        QCOMPARE(g_userPassword, CUserManage::instance()->getUserByName(g_userName).passWord());
    }
}

void TestLoginDialog::defaultsWithoutSettingsFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\x01[[[=\n\xfe=\x00", 12);
    QTest::newRow("bad model row") << QByteArray("[CLIENT_INFO]\ndev_type=99\n");
    // The link does nothing at all for another type: the login would wait for ever.
    QTest::newRow("bad connection type") << QByteArray("[DEVICE_INFO]\ndev_con_type=2\n");
    QTest::newRow("negative connection type") << QByteArray("[DEVICE_INFO]\ndev_con_type=-1\n");
}

void TestLoginDialog::defaultsWithoutSettingsFile()
{
    QFETCH(QByteArray, content);
    if (!content.isEmpty())
        QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"), content));
    CLoginDialog dialog;
    QCOMPARE(dialog.getUserEdit()->text(), QStringLiteral("Admin"));
    QCOMPARE(g_deviceAddress, QStringLiteral("192.168.0.178"));
    QCOMPARE(g_tcpPort, 4001);
    QCOMPARE(g_serialPortName, QStringLiteral("COM1"));
    QCOMPARE(g_connectionType, 0);
    QCOMPARE(dialog.getModelCombo()->currentIndex(), 0);
    QCOMPARE(dialog.getModelCombo()->currentText(), QStringLiteral("4x4"));
    QCOMPARE(dialog.getModelCombo()->count(), 9);
    QCOMPARE(dialog.getModelCombo()->itemData(8).toInt(), 160);
    QVERIFY(!dialog.getRememberBox()->isChecked());
    QVERIFY(dialog.getPasswordEdit()->text().isEmpty());
}

// The stored text in the password field passes only as the console filled it in for the
// remembered user; typed (even the same text) or for another name it is a wrong password.
void TestLoginDialog::rememberedLogin_data()
{
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("typedPassword");
    QTest::addColumn<QString>("status");
    QTest::newRow("untouched") << "" << "" << "连接设备失败...";
    QTest::newRow("stored text typed") << "" << "987FF27701324BD2" << "密码不正确...";
    QTest::newRow("other user") << "Operator" << "" << "密码不正确...";
    QTest::newRow("password typed") << "" << "740261" << "连接设备失败...";
    QTest::newRow("name as it reads") << QStringLiteral(u"Admin\u00AD") << "" << "连接设备失败...";
}

void TestLoginDialog::rememberedLogin()
{
    QFETCH(QString, typedName);
    QFETCH(QString, typedPassword);
    QFETCH(QString, status);
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"),
                       QStringLiteral("[CLIENT_INFO]\nuser_name=Admin\nuser_password=987FF27701324BD2\n"
                                      "RememberPassWord=true\ndev_type=2\n[DEVICE_INFO]\ndev_addr=127.0.0.1\n"
                                      "dev_tcp_port=%1\n").arg(port).toUtf8()));
    CLoginDialog dialog;
    QCOMPARE(dialog.getPasswordEdit()->text(), QStringLiteral("987FF27701324BD2"));
    QVERIFY(dialog.getRememberBox()->isChecked());
    QCOMPARE(dialog.getModelCombo()->currentData().toInt(), 16);
    if (!typedName.isEmpty())
        dialog.getUserEdit()->setText(typedName);
    if (!typedPassword.isEmpty()) {
        dialog.getPasswordEdit()->clear();
        QTest::keyClicks(dialog.getPasswordEdit(), typedPassword);
    }
    dialog.getOkButton()->click();
    QCOMPARE(dialog.getStatusLabel()->text(), status);
    QVERIFY(!dialog.isLoggedIn());
}

void TestLoginDialog::emptyFieldsAndUnknownUser_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("status");
    QTest::newRow("empty name") << "   " << "1" << "用户名不能为空！" << "";
    QTest::newRow("empty password") << "Admin" << "  " << "密码不能为空！" << "";
    QTest::newRow("unknown") << "Ghost" << "1" << "" << "账号不存在...";
    QTest::newRow("wrong password") << "Admin" << "1" << "" << "密码不正确...";
}

void TestLoginDialog::emptyFieldsAndUnknownUser()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, box);
    QFETCH(QString, status);
    AppTest::MessageBoxWatcher watcher;
    CLoginDialog dialog;
    dialog.getUserEdit()->setText(name);
    dialog.getPasswordEdit()->setText(password);
    const int before = sim.receivedCount();
    dialog.getOkButton()->click();
    QCOMPARE(watcher.texts(), box.isEmpty() ? QStringList() : QStringList{box});
    QCOMPARE(dialog.getStatusLabel()->text(), status);
    QVERIFY(dialog.isEnabled());
    QVERIFY(!dialog.isLoggedIn());
    QCOMPARE(sim.receivedCount(), before); // nothing was sent to the matrix
}

void TestLoginDialog::lettersOfReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("letters");
    QTest::newRow("framed") << "IC[abcd]\r\n" << "abcd";
    QTest::newRow("blanks around") << "  OC[ae]  " << "ae";
    QTest::newRow("four characters") << "IC[]" << "";
    QTest::newRow("short") << "IC" << "";
    QTest::newRow("empty") << "" << "";
}

void TestLoginDialog::lettersOfReply()
{
    QFETCH(QString, reply);
    QFETCH(QString, letters);
    QCOMPARE(DeviceInfoFetcher::lettersOfReply(reply), letters);
}

void TestLoginDialog::fetchAgainstSimulator()
{
    CCHelper* link = CCHelper::instance();
    QSignalSpy connected(link, &CCHelper::clientConnected);
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    QCOMPARE(connected.count(), 1);
    bool locked = false;
    sim.controlOk(QStringLiteral("keylock on"), &locked);
    QVERIFY2(locked, sim.lastAnswer().constData());

    QStringList statuses;
    DeviceInfoFetcher fetcher([&statuses](const QString& s) { statuses << s; });
    QVERIFY(fetcher.run());
    QCOMPARE(g_inCardTypes, QStringLiteral("afbi"));
    QCOMPARE(g_outCardTypes, QStringLiteral("aezk"));
    QCOMPARE(statuses.last(), QStringLiteral("获取数据完成！"));
    QVERIFY(clientValue(QStringLiteral("DEVICE_INFO/FrontPanelVer")).toString().startsWith("Front Panel Ver"));
    QVERIFY(clientValue(QStringLiteral("DEVICE_INFO/BackPanelVer")).toString().startsWith("Back Panel Ver"));
    QCOMPARE(clientValue(QStringLiteral("DEVICE_INFO/KeyBoardLock")).toInt(), 0);

    sim.controlOk(QStringLiteral("keylock off"));
    QVERIFY(fetcher.run());
    QCOMPARE(clientValue(QStringLiteral("DEVICE_INFO/KeyBoardLock")).toInt(), 1);
    link->disConnectToDevice();
}

void TestLoginDialog::fetchInputListFails()
{
    CCHelper* link = CCHelper::instance();
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    g_inCardTypes = QStringLiteral("ll");
    g_outCardTypes = QStringLiteral("mm");
    QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"), "[DEVICE_INFO]\nFrontPanelVer=old\nKeyBoardLock=1\n"));
    sim.controlOk(QStringLiteral("error count=2")); // InitCardList and InCardList
    QStringList statuses;
    DeviceInfoFetcher fetcher([&statuses](const QString& s) { statuses << s; });
    QVERIFY(!fetcher.run());
    sim.controlOk(QStringLiteral("clear"));
    QCOMPARE(statuses.last(), QStringLiteral("获取输入板卡信息失败！"));
    QCOMPARE(g_inCardTypes, QStringLiteral("ll"));
    QCOMPARE(g_outCardTypes, QStringLiteral("mm"));
    // The versions were emptied before the lists were asked for; the lock keeps its value.
    QCOMPARE(clientValue(QStringLiteral("DEVICE_INFO/FrontPanelVer")).toString(), QString());
    QCOMPARE(clientValue(QStringLiteral("DEVICE_INFO/KeyBoardLock")).toInt(), 1);
    link->disConnectToDevice();
}

void TestLoginDialog::fetchOutputListFailsKeepsStoredLetters()
{
    ScriptedMatrix matrix;
    matrix.answers.insert(QStringLiteral("InCardList"), {true, QStringLiteral("IC[abcd]")});
    matrix.answers.insert(QStringLiteral("OutCardList"), {false, QStringLiteral("ERROR")});
    g_outCardTypes = QStringLiteral("zz");
    QStringList statuses;
    DeviceInfoFetcher fetcher([&statuses](const QString& s) { statuses << s; }, matrix.sender());
    QVERIFY(!fetcher.run());
    QCOMPARE(g_inCardTypes, QStringLiteral("abcd"));
    QCOMPARE(g_outCardTypes, QStringLiteral("zz"));
    QCOMPARE(statuses.last(), QStringLiteral("获取输出板卡信息失败！"));
    QVERIFY(!matrix.sent.join(QLatin1Char(' ')).contains(QLatin1String("PanelVer")));
}

void TestLoginDialog::fetchModel96()
{
    ScriptedMatrix matrix;
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwx"); // 24 slots
    matrix.answers.insert(QStringLiteral("InCardList"), {true, QStringLiteral("IC[%1]").arg(letters)});
    matrix.answers.insert(QStringLiteral("OutCardList"), {true, QStringLiteral("OC[%1]").arg(letters)});
    g_deviceModel = 96;
    g_outCardTypes = QStringLiteral("ZY");
    DeviceInfoFetcher fetcher(nullptr, matrix.sender());
    QVERIFY(fetcher.run());
    QCOMPARE(g_inCardTypes, letters);
    QCOMPARE(g_outCardTypes, QStringLiteral("ZY") + letters.mid(2));
    QCOMPARE(g_outCardTypes.size(), 24);

    g_outCardTypes.clear();
    QVERIFY(fetcher.run());
    QCOMPARE(g_outCardTypes, QStringLiteral("**") + letters.mid(2));
}

// Reports that the matrix sent during a query's wait (a front-panel switch, another console's
// switch, a scene call) are part of its reply: the letters and versions come from the answer's
// own line. A reply of reports only did not bring the answer.
void TestLoginDialog::fetchTakesTheAnswersOwnLine_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("replies");   // InCardList, OutCardList, FrontPanelVer, BackPanelVer
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QStringList>("stored");    // input letters, output letters, front, back version
    const QStringList stored{"ll", "ZYmm", "", ""};
    QTest::newRow("one line each") << 16 << QStringList{"IC[abzi]\r\n", "OC[aezk]\r\n", "Front 2.15\r\n", "Back 3.08"}
                                   << true << QStringList{"abzi", "aezk", "Front 2.15", "Back 3.08"};
    QTest::newRow("a report before and after each")
        << 16
        << QStringList{"AV: 3->1\r\nIC[abzi]\r\nRecall 2.\r\n", "Open.\r\nOC[aezk]\r\n1V2,3\r\n",
                       "Closed.\r\nFront 2.15\r\nA:1->2\r\n", "All Through.\r\nBack 3.08\r\nFactory Default.\r\n"}
        << true << QStringList{"abzi", "aezk", "Front 2.15", "Back 3.08"};
    QTest::newRow("model 96, reports around")
        << 96 << QStringList{"AV: 3->1\r\nIC[abzi]\r\n", "Recall 4.\r\nOC[aezkl]\r\nAV: 5->6\r\n", "", ""}
        << true << QStringList{"abzi", "ZYzkl", "", ""};
    QTest::newRow("input list: reports only") << 16 << QStringList{"AV: 3->1\r\nRecall 2.\r\n", "OC[aezk]", "", ""}
                                              << false << stored;
    QTest::newRow("output list: reports only") << 16 << QStringList{"IC[abzi]", "V:2->3\r\n", "", ""}
                                               << false << QStringList{"abzi", "ZYmm", "", ""};
    // A version alone is the answer, whatever it reads as; beside a plain line, a report is not.
    const QStringList lists{"IC[abzi]", "OC[aezk]"};
    const QStringList letters{"abzi", "aezk"};
    const QList<QPair<QString, QString>> versions{{"Front Panel Ver 2.0A\r\n", "Back Panel Ver 1.5V"},
                                                  {"Ver 2.0A", "V:1.2\r\n"},
                                                  {"FPGA:1.0 MCU:2.1", "Front Panel Ver 2.15 (16V16)"}};
    for (const auto& pair : versions)
        QTest::addRow("versions %s, %s", qPrintable(pair.first.trimmed()), qPrintable(pair.second.trimmed()))
            << 16 << lists + QStringList{pair.first, pair.second} << true
            << letters + QStringList{pair.first.trimmed(), pair.second.trimmed()};
    QTest::newRow("a report before a plain version")
        << 16 << lists + QStringList{"Ver 2.0A", "AV: 3->1\r\nBack Panel Ver 3.08"} << true
        << letters + QStringList{"Ver 2.0A", "Back Panel Ver 3.08"};
}

void TestLoginDialog::fetchTakesTheAnswersOwnLine()
{
    QFETCH(int, model);
    QFETCH(QStringList, replies);
    QFETCH(bool, complete);
    QFETCH(QStringList, stored);
    ScriptedMatrix matrix;
    const QStringList keys{"InCardList", "OutCardList", "FrontPanelVer", "BackPanelVer"};
    for (int i = 0; i < keys.size(); ++i) {
        if (!replies.at(i).isEmpty())
            matrix.answers.insert(keys.at(i), {true, replies.at(i)});
    }
    g_deviceModel = model;
    g_inCardTypes = QStringLiteral("ll");
    g_outCardTypes = QStringLiteral("ZYmm");
    DeviceInfoFetcher fetcher(nullptr, matrix.sender());
    QCOMPARE(fetcher.run(), complete);
    QCOMPARE(g_inCardTypes, stored.at(0));
    QCOMPARE(g_outCardTypes, stored.at(1));
    QCOMPARE(clientValue(QStringLiteral("DEVICE_INFO/FrontPanelVer")).toString(), stored.at(2));
    QCOMPARE(clientValue(QStringLiteral("DEVICE_INFO/BackPanelVer")).toString(), stored.at(3));
}

// A card list of a million letters (a matrix gone astray) keeps the 40 slots of the largest model.
void TestLoginDialog::fetchListsBeyondTheModel()
{
    ScriptedMatrix matrix;
    matrix.answers.insert(QStringLiteral("InCardList"), {true, QStringLiteral("IC[%1]").arg(QString(1000000, QLatin1Char('a')))});
    matrix.answers.insert(QStringLiteral("OutCardList"), {true, QStringLiteral("OC[%1]").arg(QString(1000000, QLatin1Char('e')))});
    g_deviceModel = 160;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("input card list: 1000000 slots, beyond")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("output card list: 1000000 slots, beyond")));
    DeviceInfoFetcher fetcher(nullptr, matrix.sender());
    QVERIFY(fetcher.run());
    QCOMPARE(g_inCardTypes, QString(40, QLatin1Char('a')));
    QCOMPARE(g_outCardTypes, QString(40, QLatin1Char('e')));
}

void TestLoginDialog::fetchWithoutTemplatesFails()
{
    // No command files: nothing can be asked, so nothing is learnt and nothing is wiped.
    const int language = g_languageIndex;
    g_languageIndex = 9;   // a folder that does not exist
    ScriptedMatrix matrix;
    matrix.answers.insert(QStringLiteral(""), {true, QStringLiteral("IC[abcd]")});
    g_inCardTypes = QStringLiteral("ll");
    g_outCardTypes = QStringLiteral("mm");
    QStringList statuses;
    DeviceInfoFetcher fetcher([&statuses](const QString& s) { statuses << s; }, matrix.sender());
    QVERIFY(!fetcher.run());
    g_languageIndex = language;
    QVERIFY(matrix.sent.isEmpty());
    QCOMPARE(g_inCardTypes, QStringLiteral("ll"));
    QCOMPARE(g_outCardTypes, QStringLiteral("mm"));
    QCOMPARE(statuses.last(), QStringLiteral("获取输入板卡信息失败！"));
}

void TestLoginDialog::loginThroughCardTypes_data()
{
    QTest::addColumn<bool>("acceptCardTypes");
    QTest::addColumn<bool>("remember");
    QTest::newRow("card types accepted") << true << true;
    // The stored transform is kept only for a remembered login.
    QTest::newRow("accepted, password not remembered") << true << false;
    QTest::newRow("card types cancelled") << false << true;
}

void TestLoginDialog::loginThroughCardTypes()
{
    QFETCH(bool, acceptCardTypes);
    QFETCH(bool, remember);
    QVERIFY(AppTest::pointAtMatrix(*dir, sim.address(), sim.port()));
    CLoginDialog dialog;
    dialog.getPasswordEdit()->setText(QStringLiteral("740261"));
    dialog.getRememberBox()->setChecked(remember);
    int rows = -1;
    AppTest::whenShown<CSelectCardTypeDialog>([&rows, acceptCardTypes](CSelectCardTypeDialog* types) {
        rows = types->inputCombos().size();
        (acceptCardTypes ? types->getOkButton() : types->getCancelButton())->click();
    });
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    dialog.getOkButton()->click();
    QCOMPARE(rows, 4);
    QCOMPARE(g_deviceModel, 16);
    if (acceptCardTypes) {
        QVERIFY(finished.wait(30000));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.isLoggedIn());
        QCOMPARE(clientValue(QStringLiteral("CLIENT_INFO/user_password")).toString(),
                 remember ? QStringLiteral("987FF27701324BD2") : QString());
        QCOMPARE(clientValue(QStringLiteral("CLIENT_INFO/RememberPassWord")).toBool(), remember);
        QCOMPARE(clientValue(QStringLiteral("CLIENT_INFO/dev_type")).toInt(), 2);
        QCOMPARE(clientValue(QStringLiteral("DEVICE_INFO/dev_incard_type")).toString(), QStringLiteral("afbi"));
        QCOMPARE(clientValue(QStringLiteral("DEVICE_INFO/dev_outcard_type")).toString(), QStringLiteral("aezk"));
        // It holds the password transform now.
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::ReadOther
                                                | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        QCOMPARE(QFile::permissions(QStringLiteral("data/ClientConfig.dat")) & others, QFileDevice::Permissions());
    } else {
        QTest::qWait(600);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.isEnabled());
        QVERIFY(!dialog.isLoggedIn());
        QVERIFY(!clientValue(QStringLiteral("CLIENT_INFO/user_password")).isValid());
        QVERIFY(!clientValue(QStringLiteral("DEVICE_INFO/dev_incard_type")).isValid());
        QString reply;
        QByteArray bytes;
        AppTest::MessageBoxWatcher watcher; // the link reports "not connected"
        QVERIFY(!CCHelper::instance()->sendData(QStringLiteral("/*Type;"), true, reply, bytes, false));
        dialog.close();
    }
}

void TestLoginDialog::connectionRefused()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"),
                       QStringLiteral("[DEVICE_INFO]\ndev_addr=127.0.0.1\ndev_tcp_port=%1\n").arg(port).toUtf8()));
    CLoginDialog dialog;
    dialog.getPasswordEdit()->setText(QStringLiteral("740261"));
    dialog.getOkButton()->click();
    QCOMPARE(dialog.getStatusLabel()->text(), QStringLiteral("连接设备失败..."));
    QVERIFY(dialog.isEnabled());
    QVERIFY(!dialog.isLoggedIn());
    QVERIFY(!QApplication::overrideCursor());
}

// The status texts of the check process pending events: a second click queued behind the first
// (a double click, Enter pressed twice) must not start a second connection and fetch.
void TestLoginDialog::secondOkDuringVerificationIgnored()
{
    QVERIFY(AppTest::pointAtMatrix(*dir, sim.address(), sim.port()));
    CLoginDialog dialog;
    dialog.getPasswordEdit()->setText(QStringLiteral("740261"));
    QList<QPointer<CSelectCardTypeDialog>> seen;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, [&seen]() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* types = qobject_cast<CSelectCardTypeDialog*>(w);
            if (types && types->isVisible() && !seen.contains(types)) {
                seen << types;
                types->getOkButton()->click();
            }
        }
    });
    answerer.start(20);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QMetaObject::invokeMethod(dialog.getOkButton(), "click", Qt::QueuedConnection);
    QMetaObject::invokeMethod(dialog.getOkButton(), "click", Qt::QueuedConnection);
    // A click on the connection settings queued behind OK opens nothing during the login.
    QMetaObject::invokeMethod(dialog.getConSetButton(), "click", Qt::QueuedConnection);
    bool settingsOpened = false;
    AppTest::whenShown<CConSetDialog>([&settingsOpened](CConSetDialog* settings) {
        settingsOpened = true;
        settings->getCancelButton()->click();
    }, 3000);
    QVERIFY(finished.wait(15000));
    QTest::qWait(1500);
    QVERIFY(!settingsOpened);
    QCOMPARE(g_userName, QStringLiteral("Admin"));
    QCOMPARE(seen.size(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestLoginDialog)
#include "tst_logindialog.moc"
