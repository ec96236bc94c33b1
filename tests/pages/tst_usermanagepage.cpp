// The user page: the table of operators, adding, deleting and setting passwords, the rights
// grids and their saving, and export and import of the database through the file dialogs.

#include "AccountTestSupport.h"
#include "FileSizeLimit.h"
#include "WidgetShots.h"
#include "core/AccountRules.h"
#include "core/PasswordChange.h"
#include "core/UserBackup.h"
#include "pagekit/PortGrid.h"
#include "pages/users/UserManagePage.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDateTime>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {

const QString userFile = QStringLiteral("data/UserConfig.dat");
using Verdict = AccountRules::Verdict;

QJsonObject userObject(qint64 id, const QString& name, int group, const QJsonArray& inputRights = {})
{
    return QJsonObject{{"Id", double(id)}, {"Group", group}, {"UserName", name},
                       {"PassWord", passwordTransform(name, QStringLiteral("pw"))}, {"Description", ""},
                       {"input-rights", inputRights}, {"output-rights", QJsonArray{}}};
}

QJsonArray storedUsers()
{
    QFile file(userFile);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object().value("user-list").toArray();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the next file dialog with path (an empty path cancels it).
void answerFileDialog(const QString& path)
{
    QTimer::singleShot(0, [path] {
        QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

} // namespace

class tst_UserManagePage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tableListsOperatorsOnly();
    void addUser_data();
    void addUser();
    void newIdsFollowTheLargest();
    void newIdsStayExact_data();
    void newIdsStayExact();
    void deleteDownToNoUser();
    void rightsShownAndSaved();
    void changePassword();
    void exportAndImport();

private:
    QWidget* pane(const QString& name) const { return page->findChild<QWidget*>(name); }
    QLineEdit* edit(const QString& paneName, const QString& name) const { return pane(paneName)->findChild<QLineEdit*>(name); }
    QTableWidget* table() const { return page->findChild<QTableWidget*>("tableWidgetUser"); }
    QStringList click(const QString& paneName, const QString& button)
    {
        auto* b = pane(paneName)->findChild<QPushButton*>(button);
        return AccountTest::boxesOf([b] { QTest::mouseClick(b, Qt::LeftButton); });
    }
    QStringList clickRow(int row)
    {
        return AccountTest::boxesOf([this, row] {
            QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, table()->visualItemRect(table()->item(row, 0)).center());
        });
    }
    QList<int> checked(const QString& gridName) const;
    QStringList rowNames() const;

    WidgetShots::SkinnedWorkDir* dir = nullptr;
    std::unique_ptr<UserManagePage> page;
};

void tst_UserManagePage::init()
{
    dir = new WidgetShots::SkinnedWorkDir;
    QVERIFY(dir->isValid());
    const QJsonArray users{userObject(1, "Admin", 0), userObject(3, "dave", 1), userObject(4, "Shift Lead", 0),
                           userObject(5, "carol", 1, QJsonArray{false, true})};
    QVERIFY(dir->write(userFile, QJsonDocument(QJsonObject{{"user-list", users}}).toJson()));
    CUserManage::instance()->readConfig();
    g_deviceModel = 16;   // the rights grids still offer all 160 ports
    page = std::make_unique<UserManagePage>();
    page->initConfig(false);
    page->resize(1280, 800);
    page->show();
}

void tst_UserManagePage::cleanup()
{
    page.reset();
    delete dir;
}

QList<int> tst_UserManagePage::checked(const QString& gridName) const
{
    QList<int> ports;
    for (QAbstractButton* b : pane("UserManageRightWidget")->findChild<PortGrid*>(gridName)->group()->buttons()) {
        // Every box of the rights page is usable; a disabled one would not count.
        if (b->isChecked() && b->isEnabled())
            ports << b->text().toInt() - 1;
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}

QStringList tst_UserManagePage::rowNames() const
{
    QStringList names;
    for (int row = 0; row < table()->rowCount(); ++row)
        names << table()->item(row, 0)->text();
    return names;
}

void tst_UserManagePage::tableListsOperatorsOnly()
{
    QCOMPARE(rowNames(), (QStringList{"dave", "carol"}));
    QCOMPARE(table()->item(0, 0)->data(Qt::UserRole).toLongLong(), qint64(3));
    QCOMPARE(table()->item(1, 0)->data(Qt::UserRole).toLongLong(), qint64(5));
    QCOMPARE(click("UserManageLeftWidget", "pushButtonDeleteUser"), QStringList{"请从列表中选择一个用户！"});
    QCOMPARE(click("UserManageRightWidget", "pushButtonOk"), QStringList{"获取用户信息失败！"});
}

void tst_UserManagePage::addUser_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("box");
    QTest::newRow("new") << "erin" << "pw1" << "新增用户成功！";
    QTest::newRow("name in other case") << "CAROL" << "pw1" << "新增用户成功！";
    QTest::newRow("blanks trimmed") << "  erin  " << " pw1 " << "新增用户成功！";
    QTest::newRow("name exists") << "carol" << "pw1" << "用户名已存在!";
    QTest::newRow("empty name") << "  " << "pw1" << "用户名不能为空！";
    QTest::newRow("empty password") << "erin" << "" << "密码不能为空！";
    QTest::newRow("Chinese name") << "操作员1" << "pw1" << "新增用户成功！";
    QTest::newRow("control character") << QString("op") + QChar(0x7F) + "1" << "pw1" << AccountRules::nameRefusal(Verdict::NotPrintable);
    QTest::newRow("zero-width space") << QString("erin") + QChar(0x200B) << "pw1" << AccountRules::nameRefusal(Verdict::NotPrintable);
    // It would look the same as the administrator's name.
    QTest::newRow("no-break space beside a space") << QStringLiteral(u"Shift\u00A0Lead") << "pw1" << "用户名已存在!";
    QTest::newRow("name over 99 bytes") << QString(100, 'n') << "pw1" << AccountRules::nameRefusal(Verdict::TooLong);
    QTest::newRow("password over 48") << "erin" << QString(49, 'p') << AccountRules::passwordRefusal(Verdict::TooLong);
    QTest::newRow("Chinese password") << "erin" << "你好" << AccountRules::passwordRefusal(Verdict::NotLatin1);
}

void tst_UserManagePage::addUser()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, box);
    const QByteArray before = fileBytes(userFile);
    const qint64 clock = QDateTime::currentMSecsSinceEpoch();
    edit("UserManageLeftWidget", "lineEditUserName")->setText(name);
    edit("UserManageLeftWidget", "lineEditUserPassword")->setText(password);
    QCOMPARE(click("UserManageLeftWidget", "pushButtonAddUser"), QStringList{box});
    if (box != QStringLiteral("新增用户成功！")) {
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(fileBytes(userFile), before);
        return;
    }
    const QString trimmed = name.trimmed();
    QCOMPARE(rowNames().last(), trimmed);
    QCOMPARE(table()->currentRow(), 2);
    const qint64 id = table()->item(2, 0)->data(Qt::UserRole).toLongLong();
    QVERIFY(id >= clock);
    const User_Info added = CUserManage().getUserById(id);   // from the file
    QCOMPARE(added.userName(), trimmed);
    QCOMPARE(added.Group, 1);
    QCOMPARE(added.passWord(), passwordTransform(trimmed, password.trimmed()));
    QVERIFY(added.inputRights.isEmpty() && added.outputRights.isEmpty());
    // Shown on the right: with no entries the user may use every port, so every box is checked.
    QCOMPARE(edit("UserManageRightWidget", "lineEditUserName")->text(), trimmed);
    QCOMPARE(checked("widgetInput").size(), 160);
    QCOMPARE(checked("widgetOutput").size(), 160);
    QVERIFY(edit("UserManageLeftWidget", "lineEditUserPassword")->text().isEmpty());
}

void tst_UserManagePage::newIdsFollowTheLargest()
{
    const qint64 future = QDateTime::currentMSecsSinceEpoch() + 100000000;
    QVERIFY(AccountTest::addUser(QStringLiteral("placeholder"), QStringLiteral("pw"), 0) > 0);
    User_Info ahead = CUserManage::instance()->getUserByName(QStringLiteral("placeholder"));
    QVERIFY(CUserManage::instance()->del(ahead.Id));
    ahead.Id = future;
    QVERIFY(CUserManage::instance()->add(ahead));
    for (const QString& name : {QStringLiteral("u1"), QStringLiteral("u2")}) {
        edit("UserManageLeftWidget", "lineEditUserName")->setText(name);
        edit("UserManageLeftWidget", "lineEditUserPassword")->setText(QStringLiteral("pw"));
        QCOMPARE(click("UserManageLeftWidget", "pushButtonAddUser"), QStringList{"新增用户成功！"});
    }
    QCOMPARE(CUserManage::instance()->getUserByName("u1").Id, future + 1);
    QCOMPARE(CUserManage::instance()->getUserByName("u2").Id, future + 2);
}

// A store whose largest Id is at the limit of what the file holds exactly (2^53 - 1), or beyond
// it (2^53, imported by an earlier build): the new user gets a free Id the file keeps, and the
// administrator survives a re-read.
void tst_UserManagePage::newIdsStayExact_data()
{
    QTest::addColumn<qint64>("largest");
    QTest::newRow("2^53 - 1") << qint64(9007199254740991);
    QTest::newRow("2^53, stored earlier") << qint64(9007199254740992);
}

void tst_UserManagePage::newIdsStayExact()
{
    QFETCH(qint64, largest);
    QVERIFY(dir->write(userFile, QJsonDocument(QJsonObject{{"user-list", QJsonArray{userObject(largest, "Admin", 0)}}}).toJson()));
    CUserManage::instance()->readConfig();
    edit("UserManageLeftWidget", "lineEditUserName")->setText(QStringLiteral("u1"));
    edit("UserManageLeftWidget", "lineEditUserPassword")->setText(QStringLiteral("pw"));
    QCOMPARE(click("UserManageLeftWidget", "pushButtonAddUser"), QStringList{"新增用户成功！"});
    const CUserManage reread;
    QCOMPARE(reread.getUserNames(), (QStringList{"u1", "Admin"}));
    QCOMPARE(reread.getUserById(largest).Group, 0);
    QVERIFY(reread.getUserByName(QStringLiteral("u1")).Id < largest);
}

void tst_UserManagePage::deleteDownToNoUser()
{
    QVERIFY(clickRow(1).isEmpty());
    QCOMPARE(edit("UserManageLeftWidget", "lineEditUserName")->text(), QStringLiteral("carol"));
    QCOMPARE(click("UserManageLeftWidget", "pushButtonDeleteUser"), QStringList{"删除用户成功！"});
    QCOMPARE(rowNames(), QStringList{"dave"});
    QCOMPARE(table()->currentRow(), 0);
    QCOMPARE(edit("UserManageRightWidget", "lineEditUserName")->text(), QStringLiteral("dave"));

    QCOMPARE(click("UserManageLeftWidget", "pushButtonDeleteUser"), QStringList{"删除用户成功！"});
    QCOMPARE(table()->rowCount(), 0);
    QVERIFY(edit("UserManageLeftWidget", "lineEditUserName")->text().isEmpty());
    QVERIFY(edit("UserManageRightWidget", "lineEditUserName")->text().isEmpty());
    QCOMPARE(checked("widgetInput"), QList<int>());
    QCOMPARE(click("UserManageRightWidget", "pushButtonOk"), QStringList{"获取用户信息失败！"});
    QCOMPARE(CUserManage().getUserNames(), (QStringList{"Admin", "Shift Lead"}));
}

void tst_UserManagePage::rightsShownAndSaved()
{
    QVERIFY(clickRow(1).isEmpty());   // carol: input 1 refused, input 2 allowed, no other entries
    QList<int> allButFirst;
    for (int p = 1; p < 160; ++p)
        allButFirst << p;
    QCOMPARE(checked("widgetInput"), allButFirst);
    QCOMPARE(checked("widgetOutput").size(), 160);

    auto* right = pane("UserManageRightWidget");
    right->findChild<QSpinBox*>("spinBoxStart")->setValue(5);
    right->findChild<QSpinBox*>("spinBoxEnd")->setValue(8);
    click("UserManageRightWidget", "pushButtonChecked");
    QCOMPARE(checked("widgetOutput"), (QList<int>{4, 5, 6, 7}));
    click("UserManageRightWidget", "pushButtonUnchecked_2");
    right->findChild<QSpinBox*>("spinBoxStart_2")->setValue(160);
    right->findChild<QSpinBox*>("spinBoxEnd_2")->setValue(160);
    click("UserManageRightWidget", "pushButtonChecked_2");
    QCOMPARE(checked("widgetInput"), QList<int>{159});

    {
        FileSizeLimit limit(fileBytes(userFile).size() / 2);
        QCOMPARE(click("UserManageRightWidget", "pushButtonOk"), QStringList{"保存设置失败！"});
    }
    QCOMPARE(click("UserManageRightWidget", "pushButtonOk"), QStringList{"保存设置成功！"});
    const QJsonObject carol = storedUsers().at(3).toObject();
    QCOMPARE(carol.value("UserName").toString(), QStringLiteral("carol"));
    const QJsonArray inputs = carol.value("input-rights").toArray();
    const QJsonArray outputs = carol.value("output-rights").toArray();
    QCOMPARE(inputs.size(), 160);
    QCOMPARE(outputs.size(), 160);
    for (int p = 0; p < 160; ++p) {
        QCOMPARE(inputs.at(p).toBool(), p == 159);
        QCOMPARE(outputs.at(p).toBool(), p >= 4 && p <= 7);
    }
}

void tst_UserManagePage::changePassword()
{
    QLineEdit* password = edit("UserManageLeftWidget", "lineEditUserPassword");
    QCOMPARE(click("UserManageLeftWidget", "pushButtonChangePassword"), QStringList{"请从列表中选择一个用户！"});
    QVERIFY(clickRow(0).isEmpty());
    QCOMPARE(click("UserManageLeftWidget", "pushButtonChangePassword"), QStringList{"密码不能为空！"});
    password->setText(QStringLiteral("新密码"));
    QCOMPARE(click("UserManageLeftWidget", "pushButtonChangePassword"),
             QStringList{AccountRules::passwordRefusal(Verdict::NotLatin1)});
    password->setText(QStringLiteral("n3w"));
    QCOMPARE(click("UserManageLeftWidget", "pushButtonChangePassword"), QStringList{"修改密码成功！"});
    QCOMPARE(CUserManage().getUserById(3).passWord(), passwordTransform(QStringLiteral("dave"), QStringLiteral("n3w")));
}

void tst_UserManagePage::exportAndImport()
{
    const QByteArray original = fileBytes(userFile);
    const QString backup = dir->filePath("users.bak");
    answerFileDialog(dir->filePath("users"));   // the suffix is added
    QCOMPARE(click("UserManageLeftWidget", "pushButtonExport"), QStringList{"导出配置成功！"});
    const QByteArray packed = fileBytes(backup);
    QCOMPARE(qFromBigEndian<quint32>(packed.constData()), quint32(original.size()));
    QCOMPARE(qUncompress(packed), original);

    // Changes after the export, with carol shown on the right.
    QVERIFY(clickRow(1).isEmpty());
    QVERIFY(clickRow(0).isEmpty());
    QCOMPARE(click("UserManageLeftWidget", "pushButtonDeleteUser"), QStringList{"删除用户成功！"});
    QVERIFY(fileBytes(userFile) != original);

    // A refused import says why.
    QVERIFY(dir->write("broken.bak", packed.left(packed.size() - 10)));
    answerFileDialog(dir->filePath("broken.bak"));
    QCOMPARE(click("UserManageLeftWidget", "pushButtonImport"), QStringList{"导入配置失败！\n备份文件无法读取或已损坏"});
    const QJsonArray lookalike{userObject(1, QStringLiteral(u"Admin\u2800"), 0)};
    QVERIFY(dir->write("lookalike.bak", qCompress(QJsonDocument(QJsonObject{{"user-list", lookalike}}).toJson())));
    answerFileDialog(dir->filePath("lookalike.bak"));
    QCOMPARE(click("UserManageLeftWidget", "pushButtonImport"),
             QStringList{"导入配置失败！\n备份中没有名称可见、能够登录的管理员\n管理员“Admin<U+2800>”（Id 1）："
                         + AccountRules::nameRefusal(Verdict::NotPrintable)});
    QCOMPARE(rowNames(), QStringList{"carol"});

    answerFileDialog(backup);
    QCOMPARE(click("UserManageLeftWidget", "pushButtonImport"), QStringList{"导入配置成功！"});
    QCOMPARE(fileBytes(userFile), original);
    QCOMPARE(rowNames(), (QStringList{"dave", "carol"}));
    // Nothing shown on the right: a save now could not put old boxes over the imported rights.
    QVERIFY(edit("UserManageRightWidget", "lineEditUserName")->text().isEmpty());
    QCOMPARE(click("UserManageRightWidget", "pushButtonOk"), QStringList{"获取用户信息失败！"});

    answerFileDialog(QString());
    QCOMPARE(click("UserManageLeftWidget", "pushButtonImport"), QStringList());
    WidgetShots::save(page.get(), QStringLiteral("usermanage_page"));

    // A database beyond what a backup holds is not exported, and the box says why.
    QVERIFY(QFile::resize(userFile, UserBackup::MaxDatabaseBytes + 1));
    answerFileDialog(dir->filePath("large"));
    QCOMPARE(click("UserManageLeftWidget", "pushButtonExport"),
             QStringList{"导出配置失败！\n用户数据超过备份能容纳的 32 MiB"});
    QVERIFY(!QFile::exists(dir->filePath("large.bak")));
    QVERIFY(CUserManage::instance()->writeConfig());
}

QTEST_MAIN(tst_UserManagePage)
#include "tst_usermanagepage.moc"
