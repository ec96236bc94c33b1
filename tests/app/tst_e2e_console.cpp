#include "AppTestSupport.h"
#include "core/CCHelper.h"
#include "core/CardInfo.h"
#include "ConsoleDriver.h"
#include "DeviceSimProcess.h"
#include "framework/FNavgationBar.h"
#include "core/GlobalState.h"
#include "platform/LoopbackGuard.h"

#include <QHostAddress>
#include <QSettings>
#include <QtTest>

// The whole way from the login dialog's OK to a started main window, against the simulator.
class TestEndToEndConsole : public QObject
{
    Q_OBJECT
private slots:
    void loginToStartedMainWindow();
};

void TestEndToEndConsole::loginToStartedMainWindow()
{
    TempWorkDir dir;
    QVERIFY(AppTest::stageRuntime(dir));
    DeviceSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--in-cards"),
                        QStringLiteral("afbi"), QStringLiteral("--out-cards"), QStringLiteral("aezk"),
                        QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}),
             qPrintable(sim.errorString()));
    bool ok = false;
    sim.controlOk(QStringLiteral("panel switch 3 5"), &ok);
    QVERIFY2(ok, sim.lastAnswer().constData());
    sim.controlOk(QStringLiteral("panel switch 1 2"), &ok);
    QVERIFY2(ok, sim.lastAnswer().constData());
    QVERIFY(AppTest::pointAtMatrix(dir, sim.address(), sim.port()));

    AppTest::MessageBoxWatcher watcher;
    QVERIFY(ConsoleDriver::login(QStringLiteral("740261")));
    QCOMPARE(g_deviceModel, 16);
    QCOMPARE(g_isAdministrator, 1);
    QCOMPARE(g_inCardTypes, QStringLiteral("afbi"));

    QPointer<MainWindow> window = ConsoleDriver::openMainWindow();
    QVERIFY(window);
    CenterWindow* center = window->centerWindow();
    // Filled by the IO status the start-up asked for.
    QCOMPARE(center->getRoute(4), 2);
    QCOMPARE(center->getRoute(1), 0);
    // Card types follow the letters; the IP card of slot 1 got its addresses.
    QCOMPARE(center->getCardInfo(4)[CardKey::InCard].toObject()[CardKey::CardType].toInt(), 157);
    QCOMPARE(center->getCardInfo(4)[CardKey::OutCard].toObject()[CardKey::CardType].toInt(), 156);
    const QString ip = center->getCardInfo(4)[CardKey::InCard].toObject()[CardKey::Ip].toString();
    QVERIFY2(LoopbackGuard::isLoopbackHost(ip), qPrintable(ip));
    QCOMPARE(center->getNavgationBar()->currentIndex(), 0);
    QVERIFY2(watcher.texts().isEmpty(), qPrintable(watcher.texts().join(QLatin1Char('|'))));

    // A route the matrix reports later reaches the map as well.
    sim.controlOk(QStringLiteral("panel switch 2 7"), &ok);
    QVERIFY(ok);
    QTRY_COMPARE(center->getRoute(6), 1);

    window->setExitConfirmed(true);
    delete window.data();
    QVERIFY(QFile::exists(QStringLiteral("data/CardConfig.dat")));
    CCHelper::instance()->disConnectToDevice();
}

QTEST_MAIN(TestEndToEndConsole)
#include "tst_e2e_console.moc"
