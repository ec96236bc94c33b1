#include "AppTestSupport.h"
#include "app/CWaitMaskWidget.h"
#include "app/CenterWindow.h"
#include "framework/FCheckabelButton.h"
#include "framework/FNavgationBar.h"
#include "framework/FTitleBar.h"
#include "framework/fpolygonButton.h"
#include "core/GlobalState.h"
#include "pages/switching/MCenterMainWindow.h"
#include "app/MainWindow.h"
#include "app/SettingMenu.h"
#include "app/SettingMenuController.h"
#include "pagekit/WaitMaskGuard.h"

#include <QAction>
#include <QEventLoop>
#include <QSettings>
#include <QStackedWidget>
#include <QVariantAnimation>
#include <QtTest>

#include <memory>

namespace {
QSettings mainConfig()
{
    return QSettings(QStringLiteral("data/MainConfig.dat"), QSettings::IniFormat);
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void defaultGeometryIsMaximised_data();
    void defaultGeometryIsMaximised();
    void normalGeometryRoundTrip();
    void navigation_data();
    void navigation();
    void keysWrapAround_data();
    void keysWrapAround();
    void keysFromTheWindowSystem();
    void pageChangeSlides();
    void exitQuestion();
    void closeDuringStartup();
    void overlayFramesAndDots();
    void overlayFollowsWindowState();
    void guardBeforeMainWindow();
    void logout_data();
    void logout();

private:
    MainWindow* makeWindow(int administrator);
    void destroyWindow();

    std::unique_ptr<TempWorkDir> dir;
    std::unique_ptr<AppTest::MessageBoxWatcher> watcher;
    QPointer<MainWindow> window;
};

void TestMainWindow::initTestCase()
{
    dir = std::make_unique<TempWorkDir>();
    QVERIFY(AppTest::stageRuntime(*dir));
    g_deviceModel = 16;
}

void TestMainWindow::init()
{
    // Without a matrix every command of the start-up answers "not connected".
    watcher = std::make_unique<AppTest::MessageBoxWatcher>(true);
    QFile::remove(QStringLiteral("data/MainConfig.dat"));
    QFile::remove(QStringLiteral("data/ClientConfig.dat"));
}

void TestMainWindow::cleanup()
{
    destroyWindow();
    watcher.reset();
}

MainWindow* TestMainWindow::makeWindow(int administrator)
{
    g_isAdministrator = administrator;
    window = MainWindow::instance();
    window->show();
    if (!QTest::qWaitFor([this]() { return window->centerWindow()->isStartupFinished(); }, 20000))
        return nullptr;
    return window;
}

void TestMainWindow::destroyWindow()
{
    if (window) {
        window->setExitConfirmed(true);
        delete window.data();
    }
    QVERIFY(!MainWindow::exists());
    QVERIFY(!CenterWindow::exists());
}

void TestMainWindow::defaultGeometryIsMaximised_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\xff\xfe[MainWindow\nLastWidth=abc\n\x00", 30);
}

void TestMainWindow::defaultGeometryIsMaximised()
{
    QFETCH(QByteArray, content);
    if (!content.isEmpty())
        QVERIFY(dir->write(QStringLiteral("data/MainConfig.dat"), content));
    QVERIFY(makeWindow(1));
    // Folding the switching page's panels and changing pages keep the window full screen.
    MCenterMainWindow* switching = MCenterMainWindow::instance();
    for (fpolygonButton* fold : {switching->inputFoldButton(), switching->previewFoldButton(),
                                 switching->senceFoldButton()}) {
        fold->click();
        QVERIFY(window->isFullScreen());
    }
    window->centerWindow()->getNavgationBar()->clickButton(1);
    QVERIFY(window->isFullScreen());
    QCOMPARE(window->baseSize(), QSize(1366, 768));
    QCOMPARE(window->minimumSize(), QSize(1280, 720));
    QVERIFY(window->getTitleBar()->isMaximised());
    QVERIFY(g_mainWindowReady);
    destroyWindow();
    QVERIFY(!g_mainWindowReady);
    QSettings settings = mainConfig();
    QCOMPARE(settings.value(QStringLiteral("MainWindow/FullScreen")).toBool(), true);
    if (content.isEmpty())
        QVERIFY(!settings.contains(QStringLiteral("MainWindow/LastWidth")));
}

void TestMainWindow::normalGeometryRoundTrip()
{
    QVERIFY(dir->write(QStringLiteral("data/MainConfig.dat"),
                       "[MainWindow]\nFullScreen=false\nLastWidth=1400\nLastHeight=800\nLastLeft=10\nLastTop=20\n"));
    QVERIFY(makeWindow(1));
    QVERIFY(!window->getTitleBar()->isMaximised());
    QVERIFY(!window->isFullScreen());
    QCOMPARE(window->baseSize(), QSize(1400, 800));
    QCOMPARE(window->pos(), QPoint(10, 20));
    window->move(30, 40);
    destroyWindow();
    QSettings settings = mainConfig();
    QCOMPARE(settings.value(QStringLiteral("MainWindow/FullScreen")).toBool(), false);
    QCOMPARE(settings.value(QStringLiteral("MainWindow/LastLeft")).toInt(), 30);
    QCOMPARE(settings.value(QStringLiteral("MainWindow/LastTop")).toInt(), 40);
    QVERIFY(settings.value(QStringLiteral("MainWindow/LastWidth")).toInt() >= 960);
    QVERIFY(settings.value(QStringLiteral("MainWindow/LastHeight")).toInt() >= 720);
}

void TestMainWindow::navigation_data()
{
    QTest::addColumn<int>("administrator");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("administrator") << 1
        << QStringList{"Switch", "InSetting", "OutSetting", "EdidConfig", "SysConfig", "MatrixSwitch", "UserManage"};
    QTest::newRow("user") << 0 << QStringList{"MatrixSwitch"};
}

void TestMainWindow::navigation()
{
    QFETCH(int, administrator);
    QFETCH(QStringList, names);
    QVERIFY(makeWindow(administrator));
    FNavgationBar* bar = window->centerWindow()->getNavgationBar();
    QCOMPARE(bar->buttonCount(), names.size());
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(bar->button(i)->objectName(), names.at(i));
    QCOMPARE(bar->texts().last(), administrator ? QStringLiteral("端口权限") : QStringLiteral("端口切换"));
    // The start-up ends on the first page.
    QCOMPARE(bar->currentIndex(), 0);
    QVERIFY(bar->button(0)->isChecked());
    QCOMPARE(bar->objectName(), QStringLiteral("FNavgationBar_bottom"));
}

void TestMainWindow::keysWrapAround_data()
{
    QTest::addColumn<int>("administrator");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("left from first wraps") << 1 << int(Qt::Key_Left) << 0 << 6;
    QTest::newRow("right from last wraps") << 1 << int(Qt::Key_Right) << 6 << 0;
    QTest::newRow("left") << 1 << int(Qt::Key_Left) << 3 << 2;
    QTest::newRow("right") << 1 << int(Qt::Key_Right) << 3 << 4;
    QTest::newRow("user left") << 0 << int(Qt::Key_Left) << 0 << 0;
    QTest::newRow("user right") << 0 << int(Qt::Key_Right) << 0 << 0;
}

void TestMainWindow::keysWrapAround()
{
    QFETCH(int, administrator);
    QFETCH(int, key);
    QFETCH(int, from);
    QFETCH(int, to);
    QVERIFY(makeWindow(administrator));
    FNavgationBar* bar = window->centerWindow()->getNavgationBar();
    bar->clickButton(from);
    QSignalSpy pressed(bar, &FNavgationBar::navgationChanged);
    const QSize before = window->size();
    QTest::keyClick(window, Qt::Key(key));
    QCOMPARE(bar->currentIndex(), to);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.first().first().toString(), bar->button(to)->objectName());
    QCOMPARE(window->size(), before); // nudged by one pixel and back
}

// Keys as the window system delivers them, to the focused widget of the active window: after
// the start-up (whose busy overlay took the activation) Left and Right page through.
void TestMainWindow::keysFromTheWindowSystem()
{
    QVERIFY(makeWindow(1));
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window.data()));
    FNavgationBar* bar = window->centerWindow()->getNavgationBar();
    for (const auto& [key, to] : {std::pair{Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Left, 1},
                                  {Qt::Key_Left, 0}, {Qt::Key_Left, 6}}) {
        QTest::keyClick(window->windowHandle(), key);
        QCOMPARE(bar->currentIndex(), to);
    }
}

// The new page slides in from the side of its button and comes to rest in place.
void TestMainWindow::pageChangeSlides()
{
    QVERIFY(makeWindow(1));
    CenterWindow* center = window->centerWindow();
    auto* slide = center->findChild<QVariantAnimation*>(QStringLiteral("PageSlide"));
    QVERIFY(slide);
    for (const auto& [to, fromRight] : {std::pair{4, true}, {1, false}}) {
        QSignalSpy frames(slide, &QVariantAnimation::valueChanged);
        QSignalSpy finished(slide, &QAbstractAnimation::finished);
        center->getNavgationBar()->clickButton(to);
        // The page's refresh may pump events for a while: look at what ran, not at the moment.
        QCOMPARE(slide->startValue().toInt() > 0, fromRight);
        QWidget* page = center->getStackWidget()->currentWidget();
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(frames.count() > 1);
        QCOMPARE(page->pos(), QPoint(0, 0));
    }
}

void TestMainWindow::exitQuestion()
{
    QVERIFY(makeWindow(0));
    watcher->setAnswer(false);
    watcher->clear();
    window->close();
    QCOMPARE(watcher->texts(), QStringList{QStringLiteral("您确定要退出吗？")});
    QTest::qWait(50);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isExitConfirmed());

    watcher->setAnswer(true);
    emit window->Close(); // the title bar's close button
    QCOMPARE(watcher->texts().size(), 2);
    QVERIFY(window->isExitConfirmed());
    QVERIFY(QTest::qWaitFor([this]() { return window.isNull(); }, 30000));
    QVERIFY(mainConfig().contains(QStringLiteral("MainWindow/FullScreen")));
}

void TestMainWindow::closeDuringStartup()
{
    // Closed while the start-up sequence is inside a step (its 1000 ms pause pumps events): the
    // window stays until the sequence has ended, so no page is pulled away or built afresh
    // without a window.
    g_isAdministrator = 1;
    window = MainWindow::instance();
    QPointer<CenterWindow> centre = window->centerWindow();
    bool closedInside = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&]() {
        if (!window || !centre || !centre->isStartupRunning())
            return;
        poll.stop();
        window->setExitConfirmed(true);
        window->close();
        closedInside = centre && centre->isStartupRunning();
    });
    poll.start(10);
    window->show();
    QVERIFY(QTest::qWaitFor([this]() { return window.isNull(); }, 30000));
    QVERIFY(closedInside);
    QVERIFY(centre.isNull());
    QTest::qWait(50);
    QVERIFY(!ProcessSingleton<MCenterMainWindow>::exists());
}

void TestMainWindow::logout_data()
{
    QTest::addColumn<bool>("confirm");
    // Confirmed last: leaving with 773 ends every later event loop of this process at once.
    QTest::newRow("cancelled") << false;
    QTest::newRow("confirmed") << true;
}

void TestMainWindow::logout()
{
    QFETCH(bool, confirm);
    QVERIFY(dir->write(QStringLiteral("data/ClientConfig.dat"), "[CLIENT_INFO]\nauto_login=true\n"));
    QVERIFY(makeWindow(1));
    SettingMenu* menu = window->settingMenu();
    QCOMPARE(menu->actionNames(), (QStringList{QStringLiteral("注销"), QStringLiteral("退出")}));
    watcher->setAnswer(confirm);
    watcher->clear();

    QEventLoop loop;
    int code = -1;
    QTimer::singleShot(0, menu->action(QStringLiteral("注销")), &QAction::trigger);
    QTimer::singleShot(confirm ? 8000 : 800, &loop, [&loop]() { loop.exit(-2); });
    code = loop.exec();

    QCOMPARE(watcher->texts(), QStringList{QStringLiteral("您确定要注销吗？")});
    const QVariant autoLogin = QSettings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat)
                                   .value(QStringLiteral("CLIENT_INFO/auto_login"));
    if (confirm) {
        QCOMPARE(code, SettingMenuController::LogoutExitCode);
        QCOMPARE(watcher->texts().size(), 1); // no exit question after the log-out question
        QVERIFY(window.isNull());
        QCOMPARE(autoLogin.toBool(), false);
    } else {
        QCOMPARE(code, -2);
        QVERIFY(window);
        QCOMPARE(autoLogin.toBool(), true);
    }
}

void TestMainWindow::overlayFramesAndDots()
{
    QWidget host;
    host.resize(400, 300);
    CWaitMaskWidget* overlay = CWaitMaskWidget::instance(&host);
    QCOMPARE(CWaitMaskWidget::instance(), overlay);
    overlay->resize(host.size());
    overlay->showWait();
    const QString base = QStringLiteral("请等待");
    // After showWait: image 2. Then one entry per 100 ms tick: image, text.
    QCOMPARE(overlay->currentFrame(), 2);
    QCOMPARE(overlay->currentText(), base);
    const QList<QPair<int, int>> ticks = {{3, 0}, {4, 1}, {5, 1}, {8, 2}, {12, 3}, {16, 0}, {17, 0}, {1, 0}, {4, 1}};
    int frame = 2;
    for (const auto& [expectedFrame, dots] : ticks) {
        do {
            overlay->changepic();
            frame = overlay->currentFrame();
        } while (frame != expectedFrame);
        QCOMPARE(overlay->currentText(), base + QString(dots, QLatin1Char('.')));
    }
    QPointer<CWaitMaskWidget> guard(overlay);
    overlay->hideWait();
    QVERIFY(QTest::qWaitFor([&guard]() { return guard.isNull(); }, 10000));
    QVERIFY(!CWaitMaskWidget::exists());
}

void TestMainWindow::overlayFollowsWindowState()
{
    QVERIFY(dir->write(QStringLiteral("data/MainConfig.dat"),
                       "[MainWindow]\nFullScreen=false\nLastWidth=1300\nLastHeight=760\nLastLeft=5\nLastTop=6\n"));
    QVERIFY(makeWindow(0));
    {
        WaitMaskGuard guard(true);
        QVERIFY(CWaitMaskWidget::exists());
        CWaitMaskWidget* overlay = CWaitMaskWidget::instance();
        QVERIFY(overlay->isVisible());
        QCOMPARE(overlay->size(), window->size());
        // Guards nest: an inner one ending leaves the overlay over the outer operation.
        { WaitMaskGuard inner(true); }
        QVERIFY(overlay->isShownWait());
        QTest::qWait(400);
        QVERIFY(CWaitMaskWidget::exists());
        QVERIFY(CWaitMaskWidget::instance()->isVisible());
        { WaitMaskGuard hidden(false); }   // a guard that shows nothing hides nothing either
        QVERIFY(CWaitMaskWidget::instance()->isShownWait());
    }
    QCOMPARE(WaitMaskGuard::depth(), 0);
    QVERIFY(QTest::qWaitFor([]() { return !CWaitMaskWidget::exists(); }, 10000));
    { WaitMaskGuard first(true); }  // the overlay starts fading
    {
        WaitMaskGuard again(true);  // a new wait during the fade keeps the overlay alive
        QTest::qWait(400);
        QVERIFY(CWaitMaskWidget::exists());
        QVERIFY(CWaitMaskWidget::instance()->isVisible());
    }
    QVERIFY(QTest::qWaitFor([]() { return !CWaitMaskWidget::exists(); }, 10000));

    window->showMinimized();
    window->slotShowWait();
    QVERIFY(!CWaitMaskWidget::exists());
    window->showNormal();

    // A wait that ends while the window is minimised must not leave the overlay over the
    // restored window (it takes every click).
    {
        WaitMaskGuard guard(true);
        QVERIFY(CWaitMaskWidget::exists());
        window->showMinimized();
    }
    window->showNormal();
    QVERIFY(QTest::qWaitFor([]() { return !CWaitMaskWidget::exists(); }, 10000));
}

void TestMainWindow::guardBeforeMainWindow()
{
    QVERIFY(!MainWindow::exists());
    g_mainWindowReady = false;
    { WaitMaskGuard guard(true); }
    QVERIFY(!MainWindow::exists());
    QVERIFY(!CWaitMaskWidget::exists());
}

QTEST_MAIN(TestMainWindow)
#include "tst_appmainwindow.moc"
