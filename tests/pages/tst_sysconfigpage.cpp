// The system page: device name and model commands and what the matrix stores of them, the
// raw console and its log, the language for the next start and the administrator's password.

#include "AccountTestSupport.h"
#include "SwitchingTestEnv.h"
#include "core/AccountRules.h"
#include "core/DeviceTextCommands.h"
#include "pages/system/CSysConfigWidget.h"
#include "platform/LanguageSetting.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include <memory>

class tst_SysConfigPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void deviceTexts_data();
    void deviceTexts();
    void nameAndModelReachTheMatrix();
    void failedSendIsNotStored();
    void overlongStoredText_data();
    void overlongStoredText();
    void consoleShowsSentAndReceived();
    void consoleLogIsPlainText_data();
    void consoleLogIsPlainText();
    void logLimitAndClear();
    void languageForNextStart_data();
    void languageForNextStart();
    void administratorPassword();

private:
    template <typename T>
    T* child(const QString& name) const { return page->findChild<T*>(name); }
    void finishEditing(const QString& field, const QString& text);
    QStringList logLines() const;
    // The log's lines after their time, each led by its colour ("#rrggbb ").
    QStringList logEntries() const;
    QVariant setting(const QString& key) const
    {
        return QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat).value(key);
    }

    std::unique_ptr<SwitchingTestEnv> env;
    std::unique_ptr<CSysConfigWidget> page;
    qint64 admin = -1;
};

void tst_SysConfigPage::initTestCase()
{
    env = std::make_unique<SwitchingTestEnv>();
    QVERIFY(env->isValid());
    env->useModel(16, QStringLiteral("aaaa"), QStringLiteral("aaaa"));
    QString error;
    QVERIFY2(env->startMatrix(&error), qPrintable(error));
    admin = AccountTest::addUser(QStringLiteral("chief"), QStringLiteral("old"), 0);
    QVERIFY(admin > 0);
}

void tst_SysConfigPage::init()
{
    AccountTest::becomeUser(admin);
    QFile::remove(QStringLiteral("data/ClientConfig.dat"));
    g_deviceAddress = env->sim.address();
    g_tcpPort = env->sim.port();
    page = std::make_unique<CSysConfigWidget>();
    page->initConfig(false);
    page->resize(1280, 800);
    page->show();
    env->clearReceived();
}

void tst_SysConfigPage::cleanup()
{
    QTest::qWait(100);   // answers to commands sent without waiting land before the next case
    page.reset();
}

void tst_SysConfigPage::finishEditing(const QString& field, const QString& text)
{
    auto* edit = child<QLineEdit>(field);
    edit->setFocus();
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QStringList tst_SysConfigPage::logLines() const
{
    QStringList lines;
    const QTextDocument* document = child<QTextEdit>("textEditLog")->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

QStringList tst_SysConfigPage::logEntries() const
{
    QStringList entries;
    for (QTextBlock block = child<QTextEdit>("textEditLog")->document()->begin(); block.isValid(); block = block.next())
        entries << block.begin().fragment().charFormat().foreground().color().name() + QLatin1Char(' ')
                       + block.text().mid(block.text().indexOf(QLatin1String("] ")) + 2);
    return entries;
}

void tst_SysConfigPage::deviceTexts_data()
{
    QTest::addColumn<bool>("isName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("command");   // empty: refused
    QTest::newRow("name 12") << true << "12" << "/#VW;";
    QTest::newRow("model 12") << false << "12" << "/?NewModel!]^;";
    QTest::newRow("name AB") << true << "AB" << "/#fg;";
    QTest::newRow("model AB") << false << "AB" << "/?NewModel!mn;";
    QTest::newRow("name 0xFF wraps") << true << "ÿ" << "/#$;";
    QTest::newRow("name Ú") << true << "Ú" << QString("/#") + QChar(0xFF) + ";";
    QTest::newRow("name û") << true << "û" << "/# ;";
    QTest::newRow("name Û: NUL") << true << "Û" << "";
    QTest::newRow("name ú: 0x1F") << true << "ú" << "";
    QTest::newRow("name turning into ;") << true << QString(QChar(22)) << "";
    QTest::newRow("model Ó") << false << "Ó" << QString("/?NewModel!") + QChar(0xFF) + ";";
    QTest::newRow("model Ô: NUL") << false << "Ô" << "";
    QTest::newRow("model ó: 0x1F") << false << "ó" << "";
    QTest::newRow("model ô") << false << "ô" << "/?NewModel! ;";
    QTest::newRow("Chinese") << true << "矩阵" << "";
    QTest::newRow("Cyrillic") << false << "Ж" << "";
    QTest::newRow("32 bytes") << true << QString(32, 'm') << "/#" + QString(32, QChar('m' + 37)) + ";";
    QTest::newRow("33 bytes") << true << QString(33, 'm') << "";
    QTest::newRow("empty") << false << "" << "";
}

void tst_SysConfigPage::deviceTexts()
{
    QFETCH(bool, isName);
    QFETCH(QString, text);
    QFETCH(QString, command);
    QCOMPARE(isName ? DeviceTextCommands::nameCommand(text) : DeviceTextCommands::modelCommand(text), command);
    // The field refuses what cannot be sent; an empty text never finishes editing.
    const QValidator* validator = child<QLineEdit>(isName ? "lineEditDeviceName" : "lineEditDeviceType")->validator();
    int pos = 0;
    QString input = text;
    // Too long (only a stored text can be) is held back, but may be shortened.
    const QValidator::State expected = text.isEmpty() || text.size() > 32 ? QValidator::Intermediate
                                       : command.isEmpty() ? QValidator::Invalid : QValidator::Acceptable;
    QCOMPARE(validator->validate(input, pos), expected);
}

void tst_SysConfigPage::nameAndModelReachTheMatrix()
{
    // No stored name: the fields show the model's default, and leaving them sends nothing.
    QCOMPARE(child<QLineEdit>("lineEditDeviceName")->text(), QStringLiteral("16x16"));
    finishEditing("lineEditDeviceName", QStringLiteral("16x16"));
    finishEditing("lineEditDeviceName", QStringLiteral("12"));
    finishEditing("lineEditDeviceType", QStringLiteral("AB"));
    QVERIFY(env->waitForCommand(QStringLiteral("/?NewModel!mn;")));
    QCOMPARE(env->received(), (QStringList{"/#VW;", "/?NewModel!mn;"}));
    QCOMPARE(env->sim.controlOk(QStringLiteral("device")), QByteArray("12 AB"));
    QCOMPARE(setting("DEVICE_INFO/dev_Name").toString(), QStringLiteral("12"));
    QCOMPARE(setting("DEVICE_INFO/dev_Type").toString(), QStringLiteral("AB"));

    // The same text again sends nothing, also after the page was shown afresh.
    page->hide();
    page->show();
    QCOMPARE(child<QLineEdit>("lineEditDeviceName")->text(), QStringLiteral("12"));
    finishEditing("lineEditDeviceName", QStringLiteral("12"));
    QTest::qWait(100);
    QCOMPARE(env->received().size(), 2);
}

void tst_SysConfigPage::failedSendIsNotStored()
{
    CCHelper::instance()->disConnectToDevice();
    finishEditing("lineEditDeviceName", QStringLiteral("Hall B"));
    QVERIFY(!setting("DEVICE_INFO/dev_Name").isValid());
    QString error;
    QVERIFY2(env->startMatrix(&error), qPrintable(error));
    // Typed again once the link is back, the name goes out.
    finishEditing("lineEditDeviceName", QStringLiteral("Hall B"));
    QVERIFY(env->waitForCommand(QStringLiteral("/#m\\x86\\x91\\x91Eg;")));
    QCOMPARE(env->sim.controlOk(QStringLiteral("device")), QByteArray("Hall\\x20B 16x16"));
    QCOMPARE(setting("DEVICE_INFO/dev_Name").toString(), QStringLiteral("Hall B"));
}

void tst_SysConfigPage::overlongStoredText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("deviceWord");   // in devicesim's "device" answer: name, then model
    QTest::newRow("name") << "lineEditDeviceName" << "DEVICE_INFO/dev_Name" << 0;
    QTest::newRow("model") << "lineEditDeviceType" << "DEVICE_INFO/dev_Type" << 1;
}

void tst_SysConfigPage::overlongStoredText()
{
    QFETCH(QString, field);
    QFETCH(QString, key);
    QFETCH(int, deviceWord);
    // 38 bytes, as an earlier build stored it: shown whole, and passing through sends nothing.
    const QString stored = QStringLiteral("NorthWingConferenceHallSecondFloorEast");
    QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat).setValue(key, stored);
    page->hide();
    page->show();
    auto* edit = child<QLineEdit>(field);
    QCOMPARE(edit->text(), stored);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &leave);
    QTest::qWait(100);
    QCOMPARE(env->received(), QStringList());
    QCOMPARE(setting(key).toString(), stored);

    // Shortened by the operator to what the matrix takes, it goes out.
    QTest::keyClick(edit, Qt::Key_End);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
    const QString sent = stored.left(32);
    QTRY_COMPARE(env->sim.controlOk(QStringLiteral("device")).split(' ').value(deviceWord), sent.toLatin1());
    QCOMPARE(setting(key).toString(), sent);

    // Sent, it is held to the matrix's length again: the field cannot show a name the matrix
    // does not have.
    QTest::keyClicks(edit, QStringLiteral("XYZ"));
    QCOMPARE(edit->text(), sent);
}

void tst_SysConfigPage::consoleShowsSentAndReceived()
{
    child<QLineEdit>("lineEditSendCode")->setText(QStringLiteral("  /IOStatus;  "));
    QTest::mouseClick(child<QPushButton>("pushButtonSendCode"), Qt::LeftButton);
    QVERIFY(env->waitForCommand(QStringLiteral("/IOStatus;")));
    const QStringList lines = logLines();
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).endsWith(QStringLiteral(" 发送: /IOStatus;")), qPrintable(lines.at(0)));
    // Every line of the answer in one received line: 16 inputs through, then the closed list.
    QVERIFY2(lines.at(1).contains(QStringLiteral(" 接收: 1V1.2V2.")), qPrintable(lines.at(1)));
    QVERIFY(QRegularExpression(QStringLiteral("^时间\\[\\d\\d:\\d\\d:\\d\\d \\d{3}\\] ")).match(lines.at(1)).hasMatch());

    // Typed Chinese goes out in the matrix's code page, GB2312.
    child<QLineEdit>("lineEditSendCode")->setText(QStringLiteral("/Name:场景;"));
    QTest::mouseClick(child<QPushButton>("pushButtonSendCode"), Qt::LeftButton);
    QVERIFY(env->waitForCommand(QStringLiteral("/Name:\\xb3\\xa1\\xbe\\xb0;")));

    CCHelper::instance()->disConnectToDevice();
    QTest::mouseClick(child<QPushButton>("pushButtonSendCode"), Qt::LeftButton);
    QVERIFY2(logLines().last().endsWith(QStringLiteral(" 接收: ")), qPrintable(logLines().last()));
    QString error;
    QVERIFY2(env->startMatrix(&error), qPrintable(error));
    QVERIFY(logLines().last().endsWith(QStringLiteral("连接设备成功")));
}

void tst_SysConfigPage::consoleLogIsPlainText_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("reply");      // devicesim's escapes
    QTest::addColumn<QString>("received");   // as the log shows it
    QTest::addColumn<QString>("notCarried"); // the characters the warning line lists
    QTest::newRow("markup sent") << "/Name:<b>bold</b>;" << "OK\\r\\n" << "OK" << "";
    QTest::newRow("entity") << "/Name:&lt;;" << "&lt;&amp;\\r\\n" << "&lt;&amp;" << "";
    QTest::newRow("markup in the reply") << "/IOStatus;" << "A<br>B<p>C\\r\\nD<hr>\\r\\n" << "A<br>B<p>CD<hr>" << "";
    QTest::newRow("GB2312 text") << "/Name:场景①；" << "OK\\r\\n" << "OK" << "";
    QTest::newRow("GBK-only hanzi") << "/Name:会場;" << "OK\\r\\n" << "OK" << "場";
    // é is GB2312's own (pinyin row); ñ is not.
    QTest::newRow("euro, emoji, accents") << "/Name:€5 😀é€ñ;" << "OK\\r\\n" << "OK" << "€ 😀 ñ";
}

void tst_SysConfigPage::consoleLogIsPlainText()
{
    QFETCH(QString, code);
    QFETCH(QString, reply);
    QFETCH(QString, received);
    QFETCH(QString, notCarried);
    QTest::mouseClick(child<QPushButton>("pushButtonClearLog"), Qt::LeftButton);
    QCOMPARE(env->sim.control(QStringLiteral("reply ") + reply), QByteArray("OK"));
    child<QLineEdit>("lineEditSendCode")->setText(code);
    QTest::mouseClick(child<QPushButton>("pushButtonSendCode"), Qt::LeftButton);
    // One line each: the clearing, the sent code, the warning when there is one, the reply.
    QStringList expected{QStringLiteral("#006400 : 清除窗口"), QStringLiteral("#006400 发送: ") + code};
    if (!notCarried.isEmpty())
        expected << QStringLiteral("#ff0000 : 设备的编码（GB2312）中没有这些字符，设备收到的将与输入不同：") + notCarried;
    QCOMPARE(logEntries(), expected << QStringLiteral("#ff0000 接收: ") + received);
}

void tst_SysConfigPage::logLimitAndClear()
{
    QTest::mouseClick(child<QPushButton>("pushButtonClearLog"), Qt::LeftButton);
    QCOMPARE(logLines().size(), 1);
    QVERIFY2(logLines().first().endsWith(QStringLiteral("] : 清除窗口")), qPrintable(logLines().first()));
    for (int i = 2; i <= CSysConfigWidget::MaxLogLines; ++i)
        page->append(CSysConfigWidget::Information, QString::number(i));
    QCOMPARE(logLines().size(), 1000);
    QVERIFY(logLines().last().endsWith(QStringLiteral(": 1000")));
    // Every kind of line or paragraph break runs together: the entry stays one line.
    page->append(CSysConfigWidget::Received, QStringLiteral("line\r\n<br>1\u20280\u20290\v1"));
    QCOMPARE(logLines().size(), 1);
    QVERIFY2(logLines().first().endsWith(QStringLiteral(" 接收: line<br>1001")), qPrintable(logLines().first()));
}

void tst_SysConfigPage::languageForNextStart_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("locale");
    QTest::newRow("Simplified Chinese") << 0 << "zh_CN";
    QTest::newRow("Traditional Chinese") << 1 << "zh_TW";
    QTest::newRow("English") << 2 << "en_US";
}

void tst_SysConfigPage::languageForNextStart()
{
    QFETCH(int, index);
    QFETCH(QString, locale);
    const QString before = child<QComboBox>("comboBoxLanguage")->itemText(0);
    child<QComboBox>("comboBoxLanguage")->setCurrentIndex(index);
    page->hide();
    QCOMPARE(setting("CLIENT_INFO/Language").toInt(), index);
    QCOMPARE(LanguageSetting::read(), locale);
    // Nothing is translated anew before the next start.
    QCOMPARE(child<QComboBox>("comboBoxLanguage")->itemText(0), before);
    page->show();
    QCOMPARE(child<QComboBox>("comboBoxLanguage")->currentIndex(), index);
}

void tst_SysConfigPage::administratorPassword()
{
    auto* password = child<QLineEdit>("lineEditPassword");
    QCOMPARE(child<QLineEdit>("lineEditAccount")->text(), QStringLiteral("chief"));
    QCOMPARE(child<QLineEdit>("lineEditPort")->text(), QString::number(env->sim.port()));
    QCOMPARE(password->maxLength(), 12);
    const auto change = [this, password](const QString& text) {
        password->setText(text);
        return AccountTest::boxesOf([this] {
            QTest::mouseClick(child<QPushButton>("pushButtonChangePassword"), Qt::LeftButton);
        });
    };
    QCOMPARE(change(QStringLiteral("  ")), QStringList{"密码不能为空！"});
    QCOMPARE(change(QStringLiteral("管理员")),
             QStringList{AccountRules::passwordRefusal(AccountRules::Verdict::NotLatin1)});
    QCOMPARE(change(QStringLiteral("n3w-chief")), QStringList{"修改密码成功！"});
    const QString stored = passwordTransform(QStringLiteral("chief"), QStringLiteral("n3w-chief"));
    QCOMPARE(CUserManage().getUserById(admin).passWord(), stored);
    QCOMPARE(g_userPassword, stored);
    WidgetShots::save(page.get(), QStringLiteral("sysconfig_page"));
}

QTEST_MAIN(tst_SysConfigPage)
#include "tst_sysconfigpage.moc"
