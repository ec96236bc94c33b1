// Exit and log-out confirmed while the console waits on the matrix: every wait ends at once, the
// window goes only once they have returned (nothing is freed under a function still running),
// the start-up's remaining steps are skipped, and the port records are written.
#include "AppTestSupport.h"
#include "ConsoleDriver.h"
#include "DeviceSimProcess.h"

#include "app/SettingMenu.h"
#include "app/SettingMenuController.h"
#include "core/CCHelper.h"
#include "core/GlobalState.h"

#include <QAction>
#include <QThread>
#include <QtTest>

class TestExitDuringWaits : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void leavesOnceTheWaitsHaveEnded_data();
    void leavesOnceTheWaitsHaveEnded();

private:
    int statusQueries() { return sim.control(QStringLiteral("received all")).count("/IOStatus;"); }
    bool matrixReceived(const char* text) { return sim.control(QStringLiteral("received all")).contains(text); }

    DeviceSimProcess sim;
};

void TestExitDuringWaits::initTestCase()
{
    // Quitting when the window closes would end the waits whatever the window does; the console
    // may have other windows open (a box, the tray), so the window's own handling is what counts.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestExitDuringWaits::cleanup()
{
    CCHelper::instance()->setAutoReconnect(false);
    CCHelper::instance()->disConnectToDevice();
    sim.stop();
}

void TestExitDuringWaits::leavesOnceTheWaitsHaveEnded_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("inCards");
    QTest::addColumn<QString>("outCards");
    QTest::addColumn<QString>("action");   // of the settings menu
    QTest::addColumn<bool>("duringStartup");
    QTest::addColumn<int>("exitCode");
    // 300 ms into the status query that an "Open." starts: a 6.4 s wait at 160 ports.
    QTest::newRow("exit during a status query") << 160 << "" << "" << "退出" << false << 0;
    QTest::newRow("log-out during a status query")
        << 160 << "" << "" << "注销" << false << int(SettingMenuController::LogoutExitCode);
    // Confirmed while the first IP card is selected; from then on the matrix answers nothing,
    // so each further address question would wait 6 s.
    QTest::newRow("exit during the start-up, matrix silent") << 16 << "ffff" << "eeee" << "退出" << true << 0;
}

void TestExitDuringWaits::leavesOnceTheWaitsHaveEnded()
{
    QFETCH(int, model);
    QFETCH(QString, inCards);
    QFETCH(QString, outCards);
    QFETCH(QString, action);
    QFETCH(bool, duringStartup);
    QFETCH(int, exitCode);

    const QList<int> modelRows{4, 8, 16, 32, 64, 96, 128, 144, 160};   // the login's model list
    TempWorkDir dir;
    QVERIFY(AppTest::stageRuntime(dir));
    QStringList args{QStringLiteral("--model"), QString::number(model), QStringLiteral("--no-ipcards"),
                     QStringLiteral("--no-streams")};
    if (!inCards.isEmpty())
        args << QStringLiteral("--in-cards") << inCards << QStringLiteral("--out-cards") << outCards;
    QVERIFY2(sim.start(args), qPrintable(sim.errorString()));
    QVERIFY(dir.write(QStringLiteral("data/ClientConfig.dat"),
                      QStringLiteral("[DEVICE_INFO]\ndev_addr=%1\ndev_tcp_port=%2\n[CLIENT_INFO]\ndev_type=%3\n")
                          .arg(sim.address()).arg(sim.port()).arg(modelRows.indexOf(model))
                          .toUtf8()));
    AppTest::MessageBoxWatcher watcher;   // answers the question with OK
    QVERIFY(ConsoleDriver::login(QStringLiteral("740261")));
    QCOMPARE(g_deviceModel, model);

    QPointer<MainWindow> window;
    if (duringStartup) {
        window = MainWindow::instance();
        window->show();
    } else {
        window = ConsoleDriver::openMainWindow();
        QVERIFY(window);
        QTimer::singleShot(0, this, [this] { QVERIFY(sim.accepts(QStringLiteral("send Open.\\r\\n"))); });
    }
    QFile::remove(QStringLiteral("data/CardConfig.dat"));   // written again at exit

    // Looked at from inside the waits: their timers run there.
    const int queriesBefore = statusQueries();
    QElapsedTimer sinceConfirmation;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        const bool waiting = duringStartup ? matrixReceived("USER/I/1:") : statusQueries() > queriesBefore;
        if (!waiting)
            return;
        watch.stop();
        QTimer::singleShot(duringStartup ? 0 : 300, this, [&] {
            if (duringStartup)
                QVERIFY(sim.accepts(QStringLiteral("silent count=0")));
            sinceConfirmation.start();
            window->settingMenu()->action(action)->trigger();
        });
    });
    watch.start(20);
    qint64 closedAfterMs = -1;
    int loopLevelAtClose = -1;
    connect(window, &MainWindow::Closed, this, [&] {
        closedAfterMs = sinceConfirmation.elapsed();
        loopLevelAtClose = QThread::currentThread()->loopLevel();
    });
    if (exitCode == 0)
        connect(window, &QObject::destroyed, this, [] { QCoreApplication::exit(0); });
    QTimer::singleShot(60000, this, [] { QCoreApplication::exit(-2); });

    QCOMPARE(QCoreApplication::exec(), exitCode);
    QVERIFY(window.isNull());
    QVERIFY2(closedAfterMs >= 0, "closed before the confirmation");
    QCOMPARE(loopLevelAtClose, 1);   // from this event loop, not from one of a wait inside it
    qInfo() << "window gone" << closedAfterMs << "ms after the confirmation";
    // Well before the status query's 6.4 s or a single 6 s reply wait; the fade-out takes 1 s.
    QVERIFY2(closedAfterMs < 6000, qPrintable(QString::number(closedAfterMs)));
    QVERIFY(QFile::exists(QStringLiteral("data/CardConfig.dat")));
    if (duringStartup)
        QVERIFY(!matrixReceived("USER/I/5:"));   // the next card is not asked for
}

QTEST_MAIN(TestExitDuringWaits)
#include "tst_exitduringwaits.moc"
