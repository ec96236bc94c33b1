// The panel's connection page and network tab against a simulated card: connect and log in,
// refusals, tabs that never show or save another connection's data, network save and reconnect
// on the new address, restart and reset with the card's downtime, and no second request while
// one waits.

#include "PanelFixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>

class TestPanelConnection : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void connectShowsTheCard();
    void connectRefusals_data();
    void connectRefusals();
    void tabsOfAnotherConnectionAreCleared();
    void networkSaveMovesTheCard();
    void networkSaveRefusesAGatewayOutside();
    void restartAndResetDropTheLink_data();
    void restartAndResetDropTheLink();
    void refusalsAreShown_data();
    void refusalsAreShown();
    void secondRequestWhileOneWaitsIsRefused();

private:
    std::unique_ptr<PanelFixture> f;
    int n = 0;
};

void TestPanelConnection::init()
{
    f = std::make_unique<PanelFixture>(1, ++n);
    QVERIFY2(f->isReady(), qPrintable(f->card.errorText()));
}

void TestPanelConnection::cleanup()
{
    f.reset();
}

void TestPanelConnection::connectShowsTheCard()
{
    QSignalSpy connected(f->panel.get(), &HisliconConfigDialog::HisliconIsConnect);
    QVERIFY(f->panel->onClickConnect());
    QCOMPARE(f->page(), 1);
    QCOMPARE(f->child<QLabel>("labelConnectState")->text(), QStringLiteral("已连接"));
    QCOMPARE(connected.value(0).value(0).toString(), f->card.host());
    QVERIFY(openIpCardLinks.contains(f->panel->boundLink()));
    QCOMPARE(f->child<QLineEdit>("lineEditHostAddr")->text(), f->card.host());
    QCOMPARE(f->child<QSpinBox>("spinBoxTcpPort")->value(), 4002);
    QVERIFY(!f->child<QLineEdit>("lineEditMac")->text().isEmpty());
    QCOMPARE(f->child<QLabel>("labelVersion")->text(), QStringLiteral("V2.1.0"));
    // The card's list: group "hall" with two sources, and one source of an unnamed group.
    auto* tree = f->child<QTreeWidget>("VideoSourceTree");
    QCOMPARE(tree->topLevelItemCount(), 2);
    QCOMPARE(tree->topLevelItem(0)->childCount(), 2);
    QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("yard"));
    QCOMPARE(tree->topLevelItem(1)->text(6), QStringLiteral("已连接"));
    QVERIFY(f->child<QPushButton>("pushButtonNetworkSave")->isEnabled());
    QVERIFY(f->child<QPushButton>("pushButtonSourcesSave")->isEnabled());
    QVERIFY(f->boxes.texts.isEmpty());
}

void TestPanelConnection::connectRefusals_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("not IPv4") << "127.14.1" << QString() << "IP格式错误!";
    QTest::newRow("nobody listens") << "127.14.1.250" << QString() << "连接失败!";
    QTest::newRow("login refused") << QString() << "result 4 on 1/0" << "登录失败!";
}

void TestPanelConnection::connectRefusals()
{
    QFETCH(QString, address);
    QFETCH(QString, fault);
    if (!address.isEmpty())
        f->child<QLineEdit>("lineEditIp")->setText(address);
    if (!fault.isEmpty())
        QVERIFY(f->card.fault(fault));
    QVERIFY(!f->panel->onClickConnect());
    QTEST(f->boxes.take().value(0), "message");
    QCOMPARE(f->page(), 0);
    QVERIFY(openIpCardLinks.isEmpty());
    QCOMPARE(f->child<QLabel>("labelConnectState")->text(), QStringLiteral("未连接"));
    // A refused login does not leave the connection open.
    QVERIFY(QTest::qWaitFor([this] { return f->card.stateNumber(QStringLiteral("connections")) == 0; }, 10000));
}

void TestPanelConnection::tabsOfAnotherConnectionAreCleared()
{
    QVERIFY(f->panel->onClickConnect());
    QVERIFY(!f->child<QLineEdit>("lineEditHostAddr")->text().isEmpty());

    // The next connection's follow-up queries fail: page 1 shows, but nothing of the first.
    QVERIFY(f->card.fault(QStringLiteral("result 9 on 3/1")));
    QVERIFY(f->panel->onClickConnect());
    QCOMPARE(f->page(), 1);
    QCOMPARE(f->child<QLineEdit>("lineEditHostAddr")->text(), QString());
    QCOMPARE(f->child<QTreeWidget>("VideoSourceTree")->topLevelItemCount(), 0);
    QCOMPARE(f->child<QLabel>("labelVersion")->text(), QString());
    QVERIFY(!f->child<QPushButton>("pushButtonNetworkSave")->isEnabled());
    QVERIFY(!f->child<QPushButton>("pushButtonSourcesSave")->isEnabled());
    f->mark();
    f->panel->onNetWorkSave();
    f->panel->onVideoManageSave();
    QCOMPARE(f->requests(4), 0);

    // Only the tab whose query succeeded may save again.
    f->panel->onVideoManageUpdate();
    QVERIFY(f->child<QPushButton>("pushButtonSourcesSave")->isEnabled());
    QVERIFY(!f->child<QPushButton>("pushButtonNetworkSave")->isEnabled());

    // Another card chosen with no open link: the tabs forget this one.
    f->panel->refreshConnectState(QStringLiteral("127.14.1.251"));
    QCOMPARE(f->panel->boundLink(), nullptr);
    QCOMPARE(f->child<QTreeWidget>("VideoSourceTree")->topLevelItemCount(), 0);
    QVERIFY(!f->child<QPushButton>("pushButtonSourcesSave")->isEnabled());
    QVERIFY(f->boxes.texts.isEmpty());
}

void TestPanelConnection::networkSaveMovesTheCard()
{
    QVERIFY(f->panel->onClickConnect());
    const QString mac = f->card.state(QStringLiteral("mac"));
    const QString moved = QStringLiteral("127.14.1.%1").arg(100 + n);
    f->child<QLineEdit>("lineEditHostAddr")->setText(moved);
    QElapsedTimer clock;
    clock.start();
    f->click("pushButtonNetworkSave");
    QVERIFY(f->boxes.waitFor(QStringLiteral("保存成功！"), 30000));
    QVERIFY(QTest::qWaitFor([this] { return f->page() == 0; }, 30000));
    // Never the reply wait, however slow the machine.
    QVERIFY2(clock.elapsed() < DeviceToHisilicon::ReplyWaitMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(f->child<QLineEdit>("lineEditIp")->text(), moved);
    QVERIFY(!openIpCardLinks.contains(f->panel->boundLink()));
    // The card took the new address and kept its own MAC and ports.
    QCOMPARE(f->card.state(QStringLiteral("hostaddr")), moved);
    QCOMPARE(f->card.state(QStringLiteral("mac")), mac);
    QCOMPARE(f->card.stateNumber(QStringLiteral("tcpport")), 4002);
    QCOMPARE(f->card.stateNumber(QStringLiteral("httpport")), 80);

    QVERIFY(f->panel->onClickConnect());
    QCOMPARE(f->panel->cardAddress(), moved);
    QCOMPARE(f->child<QLineEdit>("lineEditHostAddr")->text(), moved);
}

void TestPanelConnection::networkSaveRefusesAGatewayOutside()
{
    QVERIFY(f->panel->onClickConnect());
    f->child<QLineEdit>("lineEditGateway")->setText(QStringLiteral("127.15.0.1"));
    f->mark();
    f->click("pushButtonNetworkSave");
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("IP地址与网关不一致!")});
    f->child<QLineEdit>("lineEditGateway")->setText(QStringLiteral("127.14.1.1"));
    f->child<QLineEdit>("lineEditDns2")->setText(QStringLiteral("127.0.0"));
    f->click("pushButtonNetworkSave");
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("IP地址无效!")});
    QCOMPARE(f->requests(4, 1), 0);
    QCOMPARE(f->page(), 1);
}

void TestPanelConnection::restartAndResetDropTheLink_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("restart") << "pushButtonRestart"
                             << QStringList{QStringLiteral("确定要重新启动设备吗？"), QStringLiteral("重启成功！")};
    QTest::newRow("factory reset") << "pushButtonFactory"
                                   << QStringList{QStringLiteral("确定要恢复设备参数到出厂设置吗？")};
}

void TestPanelConnection::restartAndResetDropTheLink()
{
    QFETCH(QString, button);
    QFETCH(QStringList, messages);
    QVERIFY(f->card.control(QStringLiteral("downtime %1 1200").arg(f->card.host())).startsWith("OK"));
    QVERIFY(f->panel->onClickConnect());
    QSignalSpy gone(f->panel.get(), &HisliconConfigDialog::signalHisliconDisconnect);
    QElapsedTimer clock;
    clock.start();
    f->click(button.toLatin1().constData());
    // At once, not after the heartbeat found the card gone (three misses, some 9 s).
    QVERIFY(QTest::qWaitFor([this] { return f->page() == 0; }, 30000));
    const int heartbeatNotice = DeviceToHisilicon::HeartbeatIntervalMs * DeviceToHisilicon::MaxMissedHeartbeats;
    QVERIFY2(clock.elapsed() < heartbeatNotice - 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(gone.count(), 1);
    QCOMPARE(f->child<QLabel>("labelConnectState")->text(), QStringLiteral("未连接"));
    QCOMPARE(f->boxes.take(), messages);
    // Down for a while: a connect fails, a later one succeeds.
    QTRY_VERIFY(f->card.stateNumber(QStringLiteral("down")) == 1);
    QVERIFY(!f->panel->onClickConnect());
    QCOMPARE(f->boxes.take(), QStringList{QStringLiteral("连接失败!")});
    QTRY_VERIFY_WITH_TIMEOUT(f->card.stateNumber(QStringLiteral("down")) == 0, 30000);
    QVERIFY(f->panel->onClickConnect());
    QCOMPARE(f->page(), 1);
}

void TestPanelConnection::refusalsAreShown_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("fault");   // the decoder page's refresh holds the link when empty
    QTest::addColumn<QString>("message");
    const QString busy = QStringLiteral("失败，错误码19：连接正忙，另一个请求正在等待设备回复，请稍后再试！");
    QTest::newRow("network save refused") << "pushButtonNetworkSave" << "result 9 on 4/1" << "失败，错误码9";
    QTest::newRow("restart refused") << "pushButtonRestart" << "result 9 on 2/1" << "失败，错误码9";
    QTest::newRow("reset refused") << "pushButtonFactory" << "result 9 on 2/2" << "失败，错误码9";
    QTest::newRow("network save, link busy") << "pushButtonNetworkSave" << "" << busy;
    QTest::newRow("reset, link busy") << "pushButtonFactory" << "" << busy;
}

void TestPanelConnection::refusalsAreShown()
{
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QVERIFY(f->panel->onClickConnect());
    QSignalSpy gone(f->panel.get(), &HisliconConfigDialog::signalHisliconDisconnect);
    const QByteArray name = button.toLatin1();
    if (fault.isEmpty()) {
        // The decoder page's refresh waits for the rest of a reply when the button is pressed.
        QVERIFY(f->card.fault(QStringLiteral("split 500 on 3/3")));
        QTimer::singleShot(100, f->panel.get(), [&] { f->click(name.constData()); });
        f->click("pushButtonRefrush");
    } else {
        QVERIFY(f->card.fault(fault));
        f->click(name.constData());
    }
    // After the question, when there is one.
    const QStringList shown = f->boxes.take();
    QTEST(shown.value(shown.size() - 1), "message");
    QCOMPARE(f->page(), 1);
    QCOMPARE(gone.count(), 0);
    QVERIFY(openIpCardLinks.contains(f->panel->boundLink()));
    QCOMPARE(f->card.state(QStringLiteral("hostaddr")), f->card.host());
}

void TestPanelConnection::secondRequestWhileOneWaitsIsRefused()
{
    QVERIFY(f->panel->onClickConnect());
    QVERIFY(f->card.fault(QStringLiteral("split 700 on 3/1")));
    f->child<QLineEdit>("lineEditHostAddr")->clear();
    f->mark();
    int clicks = 0;
    QTimer second;
    connect(&second, &QTimer::timeout, this, [&] {
        ++clicks;
        // Every button that would talk to the card while the query waits for its reply's rest.
        for (const char* button : {"pushButtonNetworkUpdate", "pushButtonNetworkSave", "pushButtonSourcesUpdate",
                                   "pushButtonSourcesSave", "pushButtonFindLog", "pushButtonRestart"})
            f->click(button);
    });
    second.start(150);
    f->click("pushButtonNetworkUpdate");
    second.stop();
    QVERIFY(clicks >= 2);
    QCOMPARE(f->requests(3, 1), 1);
    QCOMPARE(f->requests(3) + f->requests(4) + f->requests(2) + f->requests(0xFD), 1);
    // The one query got its whole reply.
    QCOMPARE(f->child<QLineEdit>("lineEditHostAddr")->text(), f->card.host());
    QVERIFY(f->boxes.texts.isEmpty());
}

PANEL_TEST_MAIN(TestPanelConnection)
#include "tst_panelconnection.moc"
