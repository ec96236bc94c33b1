// An operator account with a Chinese name from end to end: made on the rights page with some
// ports refused, logged in (only the port-switch page), switching what it may, never a refused
// port on the wire, and its own password change honoured by the real login afterwards.
#include "AppTestSupport.h"
#include "ConsoleDriver.h"
#include "DeviceSimProcess.h"
#include "core/CCHelper.h"
#include "core/GlobalState.h"
#include "framework/FCheckabelButton.h"
#include "framework/FNavgationBar.h"
#include "pagekit/PortGrid.h"
#include "pages/portswitch/MatrixSwitchPage.h"
#include "pages/portswitch/PortSwitcher.h"
#include "pages/users/UserManagePage.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QtTest>

namespace {

QAbstractButton* port(QWidget* pane, const QString& grid, int index)
{
    return pane->findChild<PortGrid*>(grid)->group()->button(index);
}

void click(QWidget* within, const QString& name)
{
    QTest::mouseClick(within->findChild<QPushButton*>(name), Qt::LeftButton);
}

// The 1-based ports a matrix command names: the input and outputs of a switch, the outputs of
// a close.
QList<int> portsOf(const QString& command, int* input)
{
    QList<int> outputs;
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^/(Switch:(\\d+)|Close):([\\d,]+);$")).match(command);
    *input = m.captured(2).toInt();
    for (const QString& number : m.captured(3).split(QLatin1Char(','), Qt::SkipEmptyParts))
        outputs << number.toInt();
    return outputs;
}

} // namespace

class TestEndToEndUserRights : public QObject
{
    Q_OBJECT
private slots:
    void operatorSwitchesOnlyWhatItMay();
};

void TestEndToEndUserRights::operatorSwitchesOnlyWhatItMay()
{
    TempWorkDir dir;
    QVERIFY(AppTest::stageRuntime(dir));
    DeviceSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--in-cards"), QStringLiteral("aaaa"),
                        QStringLiteral("--out-cards"), QStringLiteral("aaaa"), QStringLiteral("--no-ipcards"),
                        QStringLiteral("--no-streams")}),
             qPrintable(sim.errorString()));
    const QString name = QStringLiteral("操作员1");   // names may be of any script
    {
        QSettings client(dir.filePath(QStringLiteral("data/ClientConfig.dat")), QSettings::IniFormat);
        client.setValue(QStringLiteral("DEVICE_INFO/dev_addr"), sim.address());
        client.setValue(QStringLiteral("DEVICE_INFO/dev_tcp_port"), sim.port());
        client.setValue(QStringLiteral("CLIENT_INFO/dev_type"), 2);
        client.setValue(QStringLiteral("CLIENT_INFO/user_name"), name);
    }
    PortSwitcher::setPauseMs(0);
    AppTest::MessageBoxWatcher watcher;

    // The administrator's rights page: a new operator without input 3 and outputs 2 and 4.
    {
        UserManagePage rights;
        rights.show();
        rights.findChild<QLineEdit*>(QStringLiteral("lineEditUserPassword"))->setText(QStringLiteral("pw1"));
        rights.findChild<QWidget*>(QStringLiteral("UserManageLeftWidget"))
            ->findChild<QLineEdit*>(QStringLiteral("lineEditUserName"))->setText(name);
        click(&rights, QStringLiteral("pushButtonAddUser"));
        QTRY_COMPARE(watcher.texts(), QStringList{"新增用户成功！"});
        auto* right = rights.findChild<QWidget*>(QStringLiteral("UserManageRightWidget"));
        QTest::mouseClick(port(right, QStringLiteral("widgetInput"), 2), Qt::LeftButton);
        QTest::mouseClick(port(right, QStringLiteral("widgetOutput"), 1), Qt::LeftButton);
        QTest::mouseClick(port(right, QStringLiteral("widgetOutput"), 3), Qt::LeftButton);
        click(right, QStringLiteral("pushButtonOk"));
        QTRY_COMPARE(watcher.texts().last(), QStringLiteral("保存设置成功！"));
    }

    QVERIFY(ConsoleDriver::login(QStringLiteral("pw1")));
    QCOMPARE(g_userName, name);
    QCOMPARE(g_isAdministrator, 0);
    QPointer<MainWindow> window = ConsoleDriver::openMainWindow();
    QVERIFY(window);
    FNavgationBar* bar = window->centerWindow()->getNavgationBar();
    QCOMPARE(bar->buttonCount(), 1);
    QCOMPARE(bar->button(0)->objectName(), QStringLiteral("MatrixSwitch"));
    MatrixSwitchPage* page = MatrixSwitchPage::instance();
    QVERIFY(page->isVisible());
    QVERIFY(!page->findChild<QPushButton*>(QStringLiteral("pushButtonCloseAll"))->isVisible());
    QVERIFY(!port(page, QStringLiteral("widgetInput"), 2)->isEnabled());
    sim.controlOk(QStringLiteral("received clear"));

    // Outputs 1 to 16 from input 3 (refused: the click does nothing), then from input 1, with a
    // refused box checked behind the rights' back; then close all of them.
    QTest::mouseClick(port(page, QStringLiteral("widgetInput"), 2), Qt::LeftButton);
    QTest::mouseClick(port(page, QStringLiteral("widgetInput"), 0), Qt::LeftButton);
    page->findChild<QSpinBox*>(QStringLiteral("spinBoxEnd"))->setValue(16);
    click(page, QStringLiteral("pushButtonChecked"));
    port(page, QStringLiteral("widgetOutput"), 1)->setChecked(true);
    click(page, QStringLiteral("pushButtonOk"));
    click(page, QStringLiteral("pushButtonCheckedAll"));
    click(page, QStringLiteral("pushButtonClose"));
    const auto received = [&sim] {
        return QString::fromUtf8(sim.controlOk(QStringLiteral("received all"))).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    QTRY_VERIFY_WITH_TIMEOUT(received().size() >= 2, 30000);
    QTest::qWait(300);   // nothing more comes
    const QStringList sent = received();
    // One switch, then the 14 permitted of the matrix's 16 outputs closed in one command.
    QCOMPARE(sent.size(), 2);
    QList<int> switched;
    QList<int> closed;
    for (const QString& command : sent) {
        int input = 0;
        const QList<int> outputs = portsOf(command, &input);
        QVERIFY2(!outputs.isEmpty() && outputs.size() <= 32, qPrintable(command));
        QVERIFY2(input != 3 && !outputs.contains(2) && !outputs.contains(4), qPrintable(command));
        (input ? switched : closed) += outputs;
    }
    const QList<int> permitted{1, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    QCOMPARE(switched, permitted);
    QCOMPARE(closed, permitted);

    // The operator's own password; the real login honours the new one only.
    page->findChild<QLineEdit*>(QStringLiteral("lineEditPasswordOld"))->setText(QStringLiteral("pw1"));
    page->findChild<QLineEdit*>(QStringLiteral("lineEditPasswordNew"))->setText(QStringLiteral("pw2"));
    click(page, QStringLiteral("pushButtonChangePassword"));
    QTRY_COMPARE(watcher.texts().last(), QStringLiteral("修改密码成功！"));
    window->setExitConfirmed(true);
    delete window.data();
    CCHelper::instance()->disConnectToDevice();
    {
        CLoginDialog dialog;
        dialog.getPasswordEdit()->setText(QStringLiteral("pw1"));
        dialog.getOkButton()->click();
        QCOMPARE(dialog.getStatusLabel()->text(), QStringLiteral("密码不正确..."));
    }
    QVERIFY(ConsoleDriver::login(QStringLiteral("pw2")));
    QCOMPARE(g_userName, name);
    CCHelper::instance()->disConnectToDevice();
}

QTEST_MAIN(TestEndToEndUserRights)
#include "tst_e2e_userrights.moc"
