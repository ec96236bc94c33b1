#include "app/MainWindow.h"
#include "platform/ConfigFiles.h"

#include "core/CCHelper.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "app/CWaitMaskWidget.h"
#include "app/CenterWindow.h"
#include "framework/FNavgationBar.h"
#include "framework/FTitleBar.h"
#include "core/GlobalState.h"
#include "framework/ScreenMetrics.h"
#include "app/SettingMenu.h"

#include "platform/EventLoopDelay.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>

namespace {
const QString kMainConfig = ConfigFiles::mainConfig();
// How soon a confirmed close that had to wait looks again whether it may go ahead.
constexpr int kCloseRetryMs = 20;

QSize availableScreen()
{
    if (screenWidth > 0 && screenHeight > 0)
        return QSize(screenWidth, screenHeight);
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(1366, 768);
}
} // namespace

MainWindow* MainWindow::instance()
{
    return ProcessSingleton<MainWindow>::instance();
}

MainWindow::MainWindow()
    : FMainWindow(nullptr)
    , closeRetry(new QTimer(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    exitConfirmed = false;
    closeRetry->setSingleShot(true);
    closeRetry->setInterval(kCloseRetryMs);
    connect(closeRetry, &QTimer::timeout, this, &QWidget::close);
    CCHelper::instance()->setAutoReconnect(true);
    initUI();

    connect(this, &FMainWindow::Close, this, &MainWindow::animationClose);
    connect(this, &FMainWindow::Hidden, this, &QWidget::showMinimized);
    CCHelper* link = CCHelper::instance();
    connect(link, &CCHelper::clientDisConnected, this, &MainWindow::clientDisConnected);
    connect(link, &CCHelper::clientConnectTimeout, this, &MainWindow::clientConnectTimeout);
    connect(link, &CCHelper::clientConnected, this, &MainWindow::clientConnected);
    connect(link, &CCHelper::message, this, &MainWindow::displayMessage);

    loadGeometry();
    g_mainWindowReady = true;
    WaitMaskGuard::setOverlay(this);
}

MainWindow::~MainWindow()
{
    saveGeometry();
    // Nothing may lay the overlay over a window that is going away.
    g_mainWindowReady = false;
    WaitMaskGuard::setOverlay(nullptr);
    emit Closed();
    // Ended for this window's exit: a main window built after it in the same process waits again.
    PumpingWaits::resume();
}

void MainWindow::initUI()
{
    FTitleBar* bar = getTitleBar();
    bar->setTitleText(tr("Corvanta"));
    centralPage = CenterWindow::instance();
    setCentralWidget(centralPage);

    menu = new SettingMenu(this);
    if (QSystemTrayIcon* tray = getQSystemTrayIcon())
        tray->setContextMenu(menu);
    bar->getMenuButton()->setMenu(menu);
    bar->getMenuButton()->setPopupMode(QToolButton::InstantPopup);

    bar->setSkinButtonVisible(false);
    bar->setLockButtonVisible(false);
}

void MainWindow::loadGeometry()
{
    const QSize screen = availableScreen();
    QSettings settings(kMainConfig, QSettings::IniFormat);
    settings.beginGroup(ConfigFiles::mainWindowGroup());
    const int width = settings.value(QStringLiteral("LastWidth"), 1366).toInt();
    const int height = settings.value(QStringLiteral("LastHeight"), 768).toInt();
    const int left = settings.value(QStringLiteral("LastLeft"), (screen.width() - width) / 2).toInt();
    const int top = settings.value(QStringLiteral("LastTop"), (screen.height() - height) / 2).toInt();
    fullScreenAtStart = settings.value(QStringLiteral("FullScreen"), true).toBool();
    settings.endGroup();

    resize(width, height);
    setBaseSize(width, height);
    setMinimumSize(1280, 720);
    move(left, top);
    if (fullScreenAtStart)
        getTitleBar()->getMaxButton()->click();
}

void MainWindow::saveGeometry()
{
    QSettings settings(kMainConfig, QSettings::IniFormat);
    settings.beginGroup(ConfigFiles::mainWindowGroup());
    if (isFullScreen() || isMaximized()) {
        settings.setValue(QStringLiteral("FullScreen"), true);
    } else {
        settings.setValue(QStringLiteral("FullScreen"), false);
        settings.setValue(QStringLiteral("LastLeft"), x());
        settings.setValue(QStringLiteral("LastTop"), y());
        settings.setValue(QStringLiteral("LastWidth"), qMax(960, width()));
        settings.setValue(QStringLiteral("LastHeight"), qMax(720, height()));
    }
    settings.endGroup();
    settings.sync();
}

void MainWindow::animationClose()
{
    if (fadeOut)
        return;
    if (!exitConfirmed && !confirmLeaving(tr("您确定要退出吗？")))
        return;
    exitConfirmed = true;
    PumpingWaits::endAll();
    fadeOut = new QPropertyAnimation(this, "windowOpacity", this);
    fadeOut->setDuration(1000);
    fadeOut->setStartValue(1.0);
    fadeOut->setEndValue(0.0);
    connect(fadeOut.data(), &QPropertyAnimation::finished, this, &QWidget::close);
    fadeOut->start();
}

bool MainWindow::confirmLeaving(const QString& question)
{
    // Nothing the console still waits for is worth keeping the operator: every wait ends at the
    // click, and the commands and start-up steps behind them are not sent or run. A wait that
    // began while the question was open (a status query after an "Open.") runs beneath the box's
    // return: ended only after it, it would hold the answer back for its whole length.
    return CMeetingMessageBoxDialog::showQuestion(question, [this] {
               exitConfirmed = true;
               PumpingWaits::endAll();
           })
           == 1;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!exitConfirmed) {
        event->ignore();
        animationClose();
        return;
    }
    PumpingWaits::endAll();
    // Deleting the window under a function that has still to return would pull its objects
    // away: close once everything beneath has unwound.
    if (callersStillRunning()) {
        event->ignore();
        closeRetry->start();
        return;
    }
    FMainWindow::closeEvent(event);
}

bool MainWindow::callersStillRunning()
{
    // Our waits, message boxes and event processing are counted; any other dialog, a menu or a
    // drag runs an event loop of its own above the application's.
    return PumpingWaits::running() > 0 || QThread::currentThread()->loopLevel() > 1;
}

void MainWindow::slotShowWait()
{
    if (isHidden() || isMinimized())
        return;
    // Showing a splash-screen window runs pending events too, not only the processing after it.
    const PumpingWaits::Scope showing;
    CWaitMaskWidget* overlay = CWaitMaskWidget::instance(this);
    overlay->resize(size());
    overlay->move(mapToGlobal(QPoint(0, 0)));
    overlay->showWait();
    QCoreApplication::processEvents();
}

void MainWindow::slotHideWait()
{
    // Hidden or minimised too: an overlay left shown would come back with the restored window
    // and cover it for good. No overlay to hide: do not build one just to fade it out.
    if (CWaitMaskWidget::exists())
        CWaitMaskWidget::instance()->hideWait();
}

void MainWindow::clientDisConnected()
{
    displayMessage(tr("设备连接已断开"));
}

void MainWindow::clientConnected()
{
    displayMessage(tr("连接设备成功"));
}

void MainWindow::clientConnectTimeout()
{
    displayMessage(tr("连接设备超时"));
}

void MainWindow::displayMessage(QString strMsg)
{
    getStatusBar()->showMessage(strMsg, 6000);
    qDebug() << strMsg;
    PumpingWaits::processPendingEvents();
}

void MainWindow::timerEvent(QTimerEvent* event)
{
    Q_UNUSED(event)
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    FMainWindow::mouseDoubleClickEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    FMainWindow::mouseMoveEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    FNavgationBar* bar = centralPage ? centralPage->getNavgationBar() : nullptr;
    if (bar && bar->buttonCount() > 0) {
        const int i = bar->currentIndex();
        const int last = bar->buttonCount() - 1;
        if (event->key() == Qt::Key_Left) {
            if (i == 0)
                bar->clickButton(last);
            else if (i >= 1 && i <= last)
                bar->clickButton(i - 1);
        } else if (event->key() == Qt::Key_Right) {
            if (i == last)
                bar->clickButton(0);
            else if (i >= 0 && i < last)
                bar->clickButton(i + 1);
        }
    }
    FMainWindow::keyPressEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    event->accept();
}

void MainWindow::hideEvent(QHideEvent* event)
{
    event->accept();
}
