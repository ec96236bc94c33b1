#include "framework/FMainWindow.h"
#include "platform/ConfigFiles.h"

#include "framework/EditTeardown.h"
#include "framework/FTitleBar.h"
#include "framework/FrameworkResources.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolButton>

namespace {
// QPointer: when the centre frame that holds the bar goes first, the bar dies with it and the
// next window must get a fresh one rather than a dangling pointer.
QPointer<FTitleBar> g_sharedTitleBar;
QMutex g_sharedTitleBarMutex;

// Height of the strip below the title bar that still drags the window (the navigation bar).
const int kDragStripBelowTitle = 48;
// Right-hand part of the title bar where a double click is left to the buttons.
const int kButtonArea = 120;

QSize availableSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize();
}
}

FTitleBar *FMainWindow::sharedTitleBar()
{
    if (!g_sharedTitleBar) {
        QMutexLocker lock(&g_sharedTitleBarMutex);
        if (!g_sharedTitleBar)
            g_sharedTitleBar = new FTitleBar;
    }
    return g_sharedTitleBar;
}

FMainWindow::FMainWindow(QWidget *parent)
    : QMainWindow(parent),
      titleBar(sharedTitleBar())
{
    ensureFrameworkResources();
    titleBar->setObjectName(QStringLiteral("MainWindowFTitle"));
    setObjectName(QStringLiteral("FMainWindow"));
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setMaximumSize(availableSize());
    readSettings();

    statusLine = new QStatusBar(this);
    statusLine->setFixedHeight(35);
    setStatusBar(statusLine);

    trayIcon = new QSystemTrayIcon(QIcon(QStringLiteral(":/trayIcon")), this);
    trayIcon->setObjectName(QStringLiteral("trayicon"));
    trayIcon->setToolTip(QCoreApplication::applicationName());
    trayIcon->show();

    connect(titleBar, &FTitleBar::minimuned, this, &FMainWindow::Hidden);
    connect(titleBar, &FTitleBar::MaxNormal, this, &FMainWindow::swithMaxNormal);
    connect(titleBar, &FTitleBar::closed, this, &FMainWindow::Close);
    connect(trayIcon, &QSystemTrayIcon::activated, this, &FMainWindow::onSystemTrayIconClicked);
}

FMainWindow::~FMainWindow()
{
    disconnectFinishedEdits(this);
    QMutexLocker lock(&g_sharedTitleBarMutex);
    if (g_sharedTitleBar && g_sharedTitleBar == titleBar)
        delete g_sharedTitleBar.data();
}

void FMainWindow::readSettings()
{
    const QSize area = availableSize();
    QSettings settings(ConfigFiles::mainConfig(), QSettings::IniFormat);
    settings.beginGroup(ConfigFiles::mainWindowGroup());
    resize(settings.value(QStringLiteral("size"),
                          QSize(int(0.6 * area.width()), int(0.6 * area.height()))).toSize());
    move(settings.value(QStringLiteral("pos"),
                        QPoint(int(0.2 * area.width()), int(0.1 * area.height()))).toPoint());
    settings.endGroup();
}

void FMainWindow::swithMaxNormal()
{
    if (titleBar->isMaximised())
        showFullScreen();
    else
        showNormal();
}

void FMainWindow::onSystemTrayIconClicked(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick)
        return;
    if (isVisible())
        return;
    if (titleBar->isMaximised())
        showFullScreen();
    else
        showNormal();
    activateWindow();
}

void FMainWindow::setLockMoved(bool flag)
{
    lockMoved = flag;
}

void FMainWindow::setLocked(bool flag)
{
    locked = flag;
}

void FMainWindow::mousePressEvent(QMouseEvent *event)
{
    drag.press(this, event, titleBar->height() + kDragStripBelowTitle);
}

void FMainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    drag.release(event);
    titleBar->clearChecked();
}

void FMainWindow::mouseMoveEvent(QMouseEvent *event)
{
    drag.move(this, event, titleBar->isMaximised() || titleBar->isLocked());
}

void FMainWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->pos().y() < titleBar->height() && event->pos().x() < titleBar->width() - kButtonArea) {
        titleBar->getMaxButton()->click();
        event->accept();
    } else {
        event->ignore();
    }
}

void FMainWindow::keyPressEvent(QKeyEvent *event)
{
    // Only Escape and F11 mean something here; other keys are deliberately not passed on.
    if (event->key() == Qt::Key_Escape)
        close();
    else if (event->key() == Qt::Key_F11)
        titleBar->getMaxButton()->click();
}

void FMainWindow::showEvent(QShowEvent *event)
{
    auto *fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(600);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
    event->accept();
}
