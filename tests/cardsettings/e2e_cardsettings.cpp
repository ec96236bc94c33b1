// The whole console against a simulated matrix: log in, let the main window start up, open the
// input settings page from the navigation, change a setting and find it held by the matrix; the
// EDID page copies an EDID onto the same input without losing that setting; the IP input card
// (its address from the start-up query) opens its configuration panel logged in.
#include "app/CLoginDialog.h"
#include "app/CSelectCardTypeDialog.h"
#include "app/CenterWindow.h"
#include "app/MainWindow.h"
#include "framework/FBasePushButton.h"
#include "framework/FCheckabelButton.h"
#include "framework/FNavgationBar.h"
#include "ipcard/panel/HisliconConfigDialog.h"
#include "pages/cardsettings/MInputCardSetting.h"
#include "pages/edid/MEDIDSettingWidget.h"
#include "pages/switching/ScreenWidget.h"

#include <QStackedWidget>
#include "CardPagesEnv.h"
#include "../app/AppTestSupport.h"

class e2e_CardSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void settingsReachTheMatrix();
    void cleanupTestCase();

private:
    void open(const QString& key);

    std::unique_ptr<CardPagesEnv> env;
    QPointer<MainWindow> window;
};

void e2e_CardSettings::initTestCase()
{
    env = std::make_unique<CardPagesEnv>();
    QVERIFY(env->isValid());
    QVERIFY2(env->sim.start({QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--in-cards"),
                             QStringLiteral("afca"), QStringLiteral("--out-cards"), QStringLiteral("aaaa"),
                             QStringLiteral("--no-streams")}),
             qPrintable(env->sim.errorString()));
    QSettings client(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat);
    client.setValue(QStringLiteral("DEVICE_INFO/dev_addr"), env->sim.address());
    client.setValue(QStringLiteral("DEVICE_INFO/dev_tcp_port"), env->sim.port());
    client.setValue(QStringLiteral("CLIENT_INFO/dev_type"), 2);   // 16 ports
}

void e2e_CardSettings::open(const QString& key)
{
    FNavgationBar* bar = window->centerWindow()->getNavgationBar();
    for (int i = 0; i < bar->buttonCount(); ++i) {
        if (bar->button(i)->objectName() == key)
            bar->clickButton(i);
    }
}

void e2e_CardSettings::settingsReachTheMatrix()
{
    CLoginDialog login;
    login.getPasswordEdit()->setText(QStringLiteral("740261"));
    AppTest::whenShown<CSelectCardTypeDialog>([](CSelectCardTypeDialog* types) { types->getOkButton()->click(); });
    QSignalSpy finished(&login, &QDialog::finished);
    login.show();
    login.getOkButton()->click();
    QVERIFY(finished.count() == 1 || finished.wait(10000));
    QCOMPARE(login.result(), int(QDialog::Accepted));

    window = MainWindow::instance();
    window->show();
    QVERIFY(QTest::qWaitFor([this] { return window->centerWindow()->isStartupFinished(); }, 20000));

    open(QStringLiteral("InSetting"));
    MInputCardSetting* inputs = MInputCardSetting::instance();
    QTRY_VERIFY(inputs->isVisible());
    env->clearReceived();
    QVERIFY(CardPagesEnv::selectPort(inputs, 12));
    auto* colour = inputs->findChild<QComboBox*>(QStringLiteral("comboBox_4"));
    colour->setCurrentIndex(2);
    QCOMPARE(env->matrixSettings('I', 12).value(QStringLiteral("InSubColor")), QByteArray("GREEN"));
    WidgetShots::save(window, QStringLiteral("e2e_input_settings"));

    open(QStringLiteral("EdidConfig"));
    MEDIDSettingWidget* edid = MEDIDSettingWidget::instance();
    QTRY_VERIFY(edid->isVisible());
    ScreenWidget* tile = edid->findChildren<ScreenWidget*>().at(12);
    QCOMPARE(tile->getPortIndex(), 12);
    CardPagesEnv::dropPort(tile, 1);
    QTRY_COMPARE(env->matrixSettings('I', 12).value(QStringLiteral("EDIDCopy")), QByteArray("2"));
    const QJsonObject in = CenterWindow::instance()->getCardInfo(12).value(CardKey::InCard).toObject();
    QCOMPARE(in.value(QStringLiteral("subtitle-color")).toInt(), 2);
    QCOMPARE(in.value(QStringLiteral("EDID-OUT")).toInt(), 1);
    // The longest built-in EDID name, chosen for the clicked input.
    tile->mouseClick();
    auto* box = edid->findChild<QComboBox*>(QStringLiteral("EDIDBox"));
    box->setCurrentIndex(box->findText(QStringLiteral("1920x1200-2D-2.0")));
    QCOMPARE(env->matrixSettings('I', 12).value(QStringLiteral("EDID")), QByteArray("7"));
    QTest::qWait(500);   // the page slides in: the picture below shows it in place
    WidgetShots::save(window, QStringLiteral("e2e_edid"));

    open(QStringLiteral("InSetting"));
    QTRY_VERIFY(inputs->isVisible());
    QTest::qWait(500);   // the page slides in: the picture below shows it in place
    const QString ip = CenterWindow::instance()->getCardInfo(4).value(CardKey::InCard).toObject().value(CardKey::Ip).toString();
    QVERIFY2(ip.startsWith(QStringLiteral("127.")), qPrintable(ip));
    QVERIFY(CardPagesEnv::selectPort(inputs, 4));
    auto* panel = inputs->findChild<HisliconConfigDialog*>();
    QTRY_COMPARE(panel->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->currentIndex(), 1);
    QCOMPARE(panel->cardAddress(), ip);
    WidgetShots::save(window, QStringLiteral("e2e_ip_card"));
}

void e2e_CardSettings::cleanupTestCase()
{
    if (window) {
        window->setExitConfirmed(true);
        delete window.data();
    }
    env.reset();
}

QTEST_MAIN(e2e_CardSettings)
#include "e2e_cardsettings.moc"
