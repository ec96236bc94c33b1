#include "framework/FCenterWindow.h"
#include "framework/FMainWindow.h"
#include "framework/FNavgationBar.h"
#include "framework/FTitleBar.h"
#include "WidgetShots.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace {

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &local, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    QMouseEvent event(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Press at from, move the pointer by delta with the button held, release.
void dragBy(QWidget *w, const QPoint &from, const QPoint &delta, Qt::MouseButton button)
{
    const QPoint globalFrom = w->mapToGlobal(from);
    QMouseEvent press(QEvent::MouseButtonPress, from, globalFrom, button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent move(QEvent::MouseMove, from + delta, globalFrom + delta, Qt::NoButton, button, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, from + delta, globalFrom + delta, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// The main window as the application builds it: centre frame (with the shared title bar) inside.
struct Window
{
    FMainWindow *main = new FMainWindow;
    FCenterWindow *centre = new FCenterWindow;
    Window()
    {
        main->setCentralWidget(centre);
        main->resize(900, 560);
        main->move(40, 20);
    }
    ~Window() { delete main; }
    FTitleBar *bar() const { return main->getTitleBar(); }
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

    WidgetShots::SkinnedWorkDir work;

private slots:
    void initTestCase() { QVERIFY(work.isSkinned()); }
    void init() { QFile::remove(work.filePath(QStringLiteral("data/MainConfig.dat"))); }

    void defaultGeometryFromAvailableArea()
    {
        const QSize area = QGuiApplication::primaryScreen()->availableGeometry().size();
        FMainWindow w;
        QCOMPARE(w.size(), QSize(int(0.6 * area.width()), int(0.6 * area.height())));
        QCOMPARE(w.pos(), QPoint(int(0.2 * area.width()), int(0.1 * area.height())));
        QCOMPARE(w.maximumSize(), area);
    }

    void storedGeometryIsRestored()
    {
        {
            QSettings s(QStringLiteral("data/MainConfig.dat"), QSettings::IniFormat);
            s.setValue(QStringLiteral("MainWindow/size"), QSize(500, 300));
            s.setValue(QStringLiteral("MainWindow/pos"), QPoint(33, 44));
        }
        FMainWindow w;
        QCOMPARE(w.size(), QSize(500, 300));
        QCOMPARE(w.pos(), QPoint(33, 44));
    }

    void namesFlagsAndParts()
    {
        FMainWindow w;
        QCOMPARE(w.objectName(), QStringLiteral("FMainWindow"));
        QCOMPARE(w.getTitleBar()->objectName(), QStringLiteral("MainWindowFTitle"));
        QCOMPARE(int(w.windowFlags() & (Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint)), 0x4800);
        QCOMPARE(w.getStatusBar()->height(), 35);
        QCOMPARE(w.statusBar(), w.getStatusBar());
        QCOMPARE(w.getQSystemTrayIcon()->objectName(), QStringLiteral("trayicon"));
        QCOMPARE(w.getQSystemTrayIcon()->toolTip(), QCoreApplication::applicationName());
        QVERIFY(!w.getQSystemTrayIcon()->icon().isNull());
    }

    void titleBarIsSharedAndFreedWithWindow()
    {
        QPointer<FTitleBar> first;
        {
            FMainWindow a;
            first = a.getTitleBar();
            QCOMPARE(FMainWindow::sharedTitleBar(), first.data());
        }
        QVERIFY(first.isNull());
        // A centre frame destroyed on its own takes the bar with it; the next window gets a new one.
        auto *centre = new FCenterWindow;
        QPointer<FTitleBar> placed = FMainWindow::sharedTitleBar();
        delete centre;
        QVERIFY(placed.isNull());
        FMainWindow b;
        QVERIFY(b.getTitleBar());
        QCOMPARE(b.getTitleBar()->objectName(), QStringLiteral("MainWindowFTitle"));
    }

    void titleSignalsAreOnlyForwarded()
    {
        Window w;
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main));
        QSignalSpy hidden(w.main, &FMainWindow::Hidden);
        QSignalSpy closing(w.main, &FMainWindow::Close);
        w.bar()->getMinButton()->click();
        w.bar()->getCloseButton()->click();
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(closing.count(), 1);
        QVERIFY(w.main->isVisible());
    }

    void drag_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("moves");
        // The title bar is 24 px high: a press above y = 72 drags.
        QTest::newRow("title bar") << QPoint(200, 10) << int(Qt::LeftButton) << false << true;
        QTest::newRow("strip below title") << QPoint(200, 71) << int(Qt::LeftButton) << false << true;
        QTest::newRow("below strip") << QPoint(200, 72) << int(Qt::LeftButton) << false << false;
        QTest::newRow("right button") << QPoint(200, 10) << int(Qt::RightButton) << false << false;
        QTest::newRow("locked") << QPoint(200, 10) << int(Qt::LeftButton) << true << false;
    }
    void drag()
    {
        QFETCH(QPoint, press);
        QFETCH(int, button);
        QFETCH(bool, locked);
        QFETCH(bool, moves);
        Window w;
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main));
        if (locked)
            w.bar()->getLockButton()->click();
        const QPoint before = w.main->pos();
        dragBy(w.main, press, QPoint(30, 25), Qt::MouseButton(button));
        QCOMPARE(w.main->pos(), moves ? before + QPoint(30, 25) : before);
    }

    void noDragWhileMaximised()
    {
        Window w;
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main));
        w.bar()->getMaxButton()->click();
        QVERIFY(w.main->isFullScreen());
        const QPoint before = w.main->pos();
        dragBy(w.main, QPoint(200, 10), QPoint(30, 25), Qt::LeftButton);
        QCOMPARE(w.main->pos(), before);
    }

    void doubleClickOnTitle_data()
    {
        QTest::addColumn<int>("fromRight");
        QTest::addColumn<int>("y");
        QTest::addColumn<bool>("toggles");
        QTest::newRow("left of buttons") << 121 << 10 << true;
        QTest::newRow("button area") << 120 << 10 << false;
        QTest::newRow("below title") << 400 << 30 << false;
    }
    void doubleClickOnTitle()
    {
        QFETCH(int, fromRight);
        QFETCH(int, y);
        QFETCH(bool, toggles);
        Window w;
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main));
        QCOMPARE(w.bar()->width(), w.main->width());
        sendMouse(w.main, QEvent::MouseButtonDblClick, QPoint(w.bar()->width() - fromRight, y),
                  Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(w.bar()->isMaximised(), toggles);
        QCOMPARE(w.main->isFullScreen(), toggles);
    }

    void keys()
    {
        Window w;
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main));
        QTest::keyClick(w.main, Qt::Key_F11);
        QVERIFY(w.bar()->isMaximised());
        QVERIFY(w.main->isFullScreen());
        QTest::keyClick(w.main, Qt::Key_F11);
        QVERIFY(!w.main->isFullScreen());
        QTest::keyClick(w.main, Qt::Key_A);
        QVERIFY(w.main->isVisible());
        QTest::keyClick(w.main, Qt::Key_Escape);
        QVERIFY(!w.main->isVisible());
    }

    void trayRestoresOnlyHiddenWindow_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<bool>("shown");
        QTest::newRow("click") << int(QSystemTrayIcon::Trigger) << false << true;
        QTest::newRow("double click, full screen") << int(QSystemTrayIcon::DoubleClick) << true << true;
        QTest::newRow("context menu") << int(QSystemTrayIcon::Context) << false << false;
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false << false;
    }
    void trayRestoresOnlyHiddenWindow()
    {
        QFETCH(int, reason);
        QFETCH(bool, maximised);
        QFETCH(bool, shown);
        Window w;
        if (maximised)
            w.bar()->swithMaxNormal();
        w.main->hide();
        w.main->onSystemTrayIconClicked(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(w.main->isVisible(), shown);
        QCOMPARE(w.main->isFullScreen(), shown && maximised);
    }

    void trayLeavesVisibleWindowAlone()
    {
        Window w;
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main));
        // Set the flag only: the window itself stays normal.
        QObject::disconnect(w.bar(), &FTitleBar::MaxNormal, w.main, nullptr);
        w.bar()->swithMaxNormal();
        w.main->onSystemTrayIconClicked(QSystemTrayIcon::Trigger);
        QVERIFY(!w.main->isFullScreen());
    }

    void fadesInWhenShown()
    {
        Window w;
        w.centre->addWidget(QStringLiteral("信号切换"), QStringLiteral("Switch"), new QLabel);
        w.centre->addWidget(QStringLiteral("输入设置"), QStringLiteral("InSetting"), new QLabel);
        w.centre->setNavgationBarLayout(0);
        w.bar()->setTitleText(QStringLiteral("矩阵控制台"));
        w.main->getStatusBar()->showMessage(QStringLiteral("已连接 127.0.0.1:5000"));
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main));
        QVERIFY(w.main->windowOpacity() < 1.0);
        QTRY_COMPARE_WITH_TIMEOUT(w.main->windowOpacity(), 1.0, 10000);
        w.centre->getNavgationBar()->clickButton(0);
        WidgetShots::save(w.main, QStringLiteral("mainwindow"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
