// Exit and log-out confirmed while the console waits on the matrix: every wait ends at once, the
// window goes only once they have returned (nothing is freed under a function still running),
// the start-up's remaining steps are skipped, and the port records are written. An answer that
// has begun to arrive is read to its end and kept, and no box opens once the exit is confirmed.
#include "AppTestSupport.h"
#include "ConsoleDriver.h"
#include "DeviceSimProcess.h"
#include "LogVolume.h"

#include "app/SettingMenu.h"
#include "app/SettingMenuController.h"
#include "core/CCHelper.h"
#include "core/GlobalState.h"
#include "framework/FCheckabelButton.h"
#include "platform/EventLoopDelay.h"

#include <QAction>
#include <QSettings>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {
const QString kExit = QStringLiteral("退出");
const QString kLogout = QStringLiteral("注销");

int exitCodeOf(const QString& action)
{
    return action == kLogout ? int(SettingMenuController::LogoutExitCode) : 0;
}
} // namespace

class TestExitDuringWaits : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void leavesOnceTheWaitsHaveEnded_data();
    void leavesOnceTheWaitsHaveEnded();
    void answeredCommandIsKeptWithoutABox_data() { leavingActions_data(); }
    void answeredCommandIsKeptWithoutABox();
    void confirmationEndsAQueryStartedUnderTheQuestion_data() { leavingActions_data(); }
    void confirmationEndsAQueryStartedUnderTheQuestion();

private:
    static void leavingActions_data();
    // Logs in against a fresh simulated matrix; the window is shown, and with waitForStartup its
    // start-up sequence has finished.
    QPointer<MainWindow> startConsole(int model, const QStringList& simArgs, bool waitForStartup);
    // Runs the main loop until the window is gone (or 60 s passed) and checks that it went with
    // the action's exit code, from this loop (not from a wait inside it), after `since` was started
    // and well before the 6 s of a reply wait or the 6.4 s of a status query at 160 ports (the
    // fade-out takes 1 s).
    void leaveAndCheck(QPointer<MainWindow> window, const QString& action, const QElapsedTimer& since);
    int statusQueries() { return sim.control(QStringLiteral("received all")).count("/IOStatus;"); }
    bool matrixReceived(const char* text) { return sim.control(QStringLiteral("received all")).contains(text); }

    std::unique_ptr<TempWorkDir> dir;
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
    dir.reset();
}

QPointer<MainWindow> TestExitDuringWaits::startConsole(int model, const QStringList& simArgs, bool waitForStartup)
{
    const QList<int> modelRows{4, 8, 16, 32, 64, 96, 128, 144, 160};   // the login's model list
    dir = std::make_unique<TempWorkDir>();
    if (!AppTest::stageRuntime(*dir))
        return nullptr;
    if (!sim.start(QStringList{QStringLiteral("--model"), QString::number(model), QStringLiteral("--no-ipcards"),
                               QStringLiteral("--no-streams")}
                   + simArgs)) {
        qWarning() << sim.errorString();
        return nullptr;
    }
    if (!AppTest::pointAtMatrix(*dir, sim.address(), sim.port(), modelRows.indexOf(model))
        || !ConsoleDriver::login(QStringLiteral("740261")) || g_deviceModel != model)
        return nullptr;
    if (waitForStartup)
        return ConsoleDriver::openMainWindow();
    MainWindow* window = MainWindow::instance();
    window->show();
    return window;
}

void TestExitDuringWaits::leaveAndCheck(QPointer<MainWindow> window, const QString& action, const QElapsedTimer& since)
{
    qint64 closedAfterMs = -1;
    int loopLevel = -1;
    // The handlers write into this frame: they go with it, also when the watchdog ended the loop
    // and the window lives on.
    QObject handlersOfThisCall;
    connect(window, &MainWindow::Closed, &handlersOfThisCall, [&] {
        closedAfterMs = since.isValid() ? since.elapsed() : -1;
        loopLevel = QThread::currentThread()->loopLevel();
    });
    if (exitCodeOf(action) == 0)
        connect(window, &QObject::destroyed, &handlersOfThisCall, [] { QCoreApplication::exit(0); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [] { QCoreApplication::exit(-2); });
    watchdog.start(60000);
    QCOMPARE(QCoreApplication::exec(), exitCodeOf(action));
    QVERIFY(window.isNull());
    qInfo() << "window gone" << closedAfterMs << "ms after" << action << "was confirmed";
    QVERIFY2(closedAfterMs >= 0 && closedAfterMs < 6000, qPrintable(QString::number(closedAfterMs)));
    QCOMPARE(loopLevel, 1);
}

void TestExitDuringWaits::leavesOnceTheWaitsHaveEnded_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("inCards");
    QTest::addColumn<QString>("outCards");
    QTest::addColumn<QString>("action");   // of the settings menu
    QTest::addColumn<bool>("duringStartup");
    // 300 ms into the status query that an "Open." starts: a 6.4 s wait at 160 ports.
    QTest::newRow("exit during a status query") << 160 << "" << "" << kExit << false;
    QTest::newRow("log-out during a status query") << 160 << "" << "" << kLogout << false;
    // Confirmed while the first IP card is selected; from then on the matrix answers nothing,
    // so each further address question would wait 6 s.
    QTest::newRow("exit during the start-up, matrix silent") << 16 << "ffff" << "eeee" << kExit << true;
}

void TestExitDuringWaits::leavesOnceTheWaitsHaveEnded()
{
    QFETCH(int, model);
    QFETCH(QString, inCards);
    QFETCH(QString, outCards);
    QFETCH(QString, action);
    QFETCH(bool, duringStartup);

    QStringList simArgs;
    if (!inCards.isEmpty())
        simArgs << QStringLiteral("--in-cards") << inCards << QStringLiteral("--out-cards") << outCards;
    AppTest::MessageBoxWatcher watcher;   // answers the question with OK
    QPointer<MainWindow> window = startConsole(model, simArgs, !duringStartup);
    QVERIFY(window);
    if (!duringStartup)
        QTimer::singleShot(0, this, [this] { QVERIFY(sim.accepts(QStringLiteral("send Open.\\r\\n"))); });
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
        QTimer::singleShot(duringStartup ? 0 : 300, &watch, [&] {
            if (duringStartup)
                QVERIFY(sim.accepts(QStringLiteral("silent count=0")));
            sinceConfirmation.start();
            window->settingMenu()->action(action)->trigger();
        });
    });
    watch.start(20);

    leaveAndCheck(window, action, sinceConfirmation);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(QFile::exists(QStringLiteral("data/CardConfig.dat")));
    if (duringStartup)
        QVERIFY(!matrixReceived("USER/I/5:"));   // the next card is not asked for
}

// A scene call whose answer comes after 3 s; the exit or log-out is confirmed in the events that
// run while the rest of the answer may still arrive. The matrix did call the scene: the console
// keeps it as called, says nothing (no box would have anyone to answer it) and leaves in time.
void TestExitDuringWaits::leavingActions_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("exit") << kExit;
    QTest::newRow("log-out") << kLogout;
}

void TestExitDuringWaits::answeredCommandIsKeptWithoutABox()
{
    QFETCH(QString, action);
    AppTest::MessageBoxWatcher watcher;   // answers every box with OK, and records it
    QPointer<MainWindow> window = startConsole(16, {}, true);
    QVERIFY(window);
    auto* scenes = window->findChild<QWidget*>(QStringLiteral("MSenceListWidget"));
    QVERIFY(scenes);
    const QList<FCheckabelButton*> sceneButtons = scenes->findChildren<FCheckabelButton*>();
    QVERIFY(sceneButtons.size() > 2);
    sceneButtons.at(2)->click();   // scene number 2 at 16 ports
    auto* call = scenes->findChild<QPushButton*>(QStringLiteral("SceneCallBtn"));
    QVERIFY(call);
    scenes->findChild<QPushButton*>(QStringLiteral("SceneSaveBtn"))->click();
    QVERIFY(matrixReceived("/SceneSave:2;"));
    QVERIFY(sim.accepts(QStringLiteral("delay 3000 count=1")));
    watcher.clear();

    QElapsedTimer sinceConfirmation;
    // The call blocks until the answer's first line: the first events after the command arrived
    // are those of its settle.
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (!matrixReceived("/SceneCall:2;"))
            return;
        watch.stop();
        sinceConfirmation.start();
        window->settingMenu()->action(action)->trigger();
    });
    QTimer::singleShot(0, this, [&] {
        watch.start(20);
        call->click();
    });
    std::unique_ptr<LogVolume> log = std::make_unique<LogVolume>();
    leaveAndCheck(window, action, sinceConfirmation);
    const QStringList entries = log->entries();
    log.reset();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(matrixReceived("/SceneCall:2;"));
    QCOMPARE(QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat)
                 .value(QStringLiteral("CLIENT_INFO/CurrentSencce"), -1).toInt(), 2);
    QCOMPARE(watcher.texts().size(), 1);   // the question only: no "failed", no "success"
    // The call was judged by its answer: the box it did not show is the one of success.
    const QString leavingBox = QStringLiteral("leaving, box not shown:");
    QCOMPARE(entries.filter(leavingBox),
             QStringList{leavingBox + " " + QCoreApplication::translate("MSenceListWidget", "调用场景成功！")});
}

// The question is open when the matrix reports "Open.": the status query it starts (6.4 s at 160
// ports) runs inside the question's own loop. OK clicked 300 ms later ends it at the click.
void TestExitDuringWaits::confirmationEndsAQueryStartedUnderTheQuestion()
{
    QFETCH(QString, action);
    QPointer<MainWindow> window = startConsole(160, {}, true);
    QVERIFY(window);
    const int queriesBefore = statusQueries();
    QElapsedTimer sinceOk;
    bool endedAtTheClick = false;
    AppTest::whenShown<CMeetingMessageBoxDialog>([&](CMeetingMessageBoxDialog* question) {
        QVERIFY(sim.accepts(QStringLiteral("send Open.\\r\\n")));
        auto* watch = new QTimer(question);
        connect(watch, &QTimer::timeout, this, [&, question, watch] {
            if (statusQueries() == queriesBefore)
                return;
            watch->stop();
            QTimer::singleShot(300, question, [&, question] {
                sinceOk.start();
                question->getOkButton()->click();
                endedAtTheClick = PumpingWaits::ended();
            });
        });
        watch->start(20);
    });
    QTimer::singleShot(0, this, [&] { window->settingMenu()->action(action)->trigger(); });
    leaveAndCheck(window, action, sinceOk);
    if (QTest::currentTestFailed())
        return;
    // Not once the box has returned, which the query beneath it would hold back for its 6.4 s.
    QVERIFY(endedAtTheClick);
}

QTEST_MAIN(TestExitDuringWaits)
#include "tst_exitduringwaits.moc"
