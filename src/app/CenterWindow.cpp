#include "CenterWindow.h"

#include "AvPlayerControl.h"
#include "CCHelper.h"
#include "CSysConfigWidget.h"
#include "FNavgationBar.h"
#include "GlobalState.h"
#include "MCenterMainWindow.h"
#include "MEDIDSettingWidget.h"
#include "MInputCardSetting.h"
#include "MOutputCardSetting.h"
#include "MatrixModel.h"
#include "MSenceListWidget.h"
#include "MatrixSwitchPage.h"
#include "PageModel.h"
#include "UserManagePage.h"
#include "Utilities.h"
#include "WaitMaskGuard.h"

#include <QDebug>
#include <QTimerEvent>

CenterWindow* CenterWindow::instance()
{
    return ProcessSingleton<CenterWindow>::instance();
}

CenterWindow::CenterWindow()
    : FCenterWindow(nullptr)
    , matrixModel(new MatrixModel(this)) // loads the port records first
{
    PageModel::setModel(matrixModel); // before the pages are built
    initNavigation();
    connect(navgationBar, &FNavgationBar::navgationChanged, this,
            &CenterWindow::slotNavgationClicked);
    connect(CCHelper::instance(), &CCHelper::clientReceived, this, &CenterWindow::clientReceived);
    connectPageHooks();
    startupTimerId = startTimer(100, Qt::CoarseTimer);
}

CenterWindow::~CenterWindow()
{
    saveCardConfig();
}

void CenterWindow::initNavigation()
{
    if (g_isAdministrator == 1) {
        addWidget(tr("信号切换"), QStringLiteral("Switch"), MCenterMainWindow::instance(), QString(), false);
        addWidget(tr("输入设置"), QStringLiteral("InSetting"), MInputCardSetting::instance(), QString(), false);
        addWidget(tr("输出设置"), QStringLiteral("OutSetting"), MOutputCardSetting::instance(), QString(), false);
        addWidget(tr("EDID设置"), QStringLiteral("EdidConfig"), MEDIDSettingWidget::instance(), QString(), false);
        addWidget(tr("系统设置"), QStringLiteral("SysConfig"), CSysConfigWidget::instance(), QString(), false);
        addWidget(tr("端口切换"), QStringLiteral("MatrixSwitch"), MatrixSwitchPage::instance(), QString(), false);
        addWidget(tr("端口权限"), QStringLiteral("UserManage"), UserManagePage::instance(), QString(), false);
    } else {
        addWidget(tr("端口切换"), QStringLiteral("MatrixSwitch"), MatrixSwitchPage::instance(), QString(), false);
    }
    setNavgationBarLayout(0);
}

void CenterWindow::connectPageHooks()
{
    // Only a switching page that exists is refreshed: users without it never build one.
    connect(matrixModel, &MatrixModel::switchPageRefreshNeeded, this, []() {
        if (ProcessSingleton<MCenterMainWindow>::exists())
            MCenterMainWindow::instance()->refreshPage(-1);
    });
    connect(matrixModel, &MatrixModel::previewNamesRefreshNeeded, this, [](int input, int output) {
        if (ProcessSingleton<MCenterMainWindow>::exists())
            MCenterMainWindow::instance()->refreshPreviewNames(input, output);
    });
    matrixModel->setSceneCallProbe([]() {
        return ProcessSingleton<MCenterMainWindow>::exists()
            && MCenterMainWindow::instance()->senceListWidget()->isSceneCalling();
    });
}

CardInfo CenterWindow::getCardInfo(int port) const { return matrixModel->getCardInfo(port); }
void CenterWindow::setCardInfo(int port, const CardInfo& record) { matrixModel->setCardInfo(port, record); }
bool CenterWindow::hasCard(int port) const { return matrixModel->hasCard(port); }
int CenterWindow::cardCount() const { return matrixModel->cardCount(); }
int CenterWindow::getRoute(int output) const { return matrixModel->getRoute(output); }
void CenterWindow::setRoute(int output, int input) { matrixModel->setRoute(output, input); }
void CenterWindow::setRoutes(int mode, int input, int output) { matrixModel->setRoutes(mode, input, output); }
QList<int> CenterWindow::outputsOfInput(int input) const { return matrixModel->outputsOfInput(input); }
int CenterWindow::countChar() const { return matrixModel->countChar(); }
void CenterWindow::loadCardConfig() { matrixModel->loadCardConfig(); }
void CenterWindow::saveCardConfig() { matrixModel->saveCardConfig(); }
void CenterWindow::queryIOStatus() { matrixModel->queryIOStatus(); }
void CenterWindow::queryIpCardAddresses() { matrixModel->queryIpCardAddresses(); }
void CenterWindow::clientReceived(QString recvStr) { matrixModel->clientReceived(recvStr); }

void CenterWindow::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != startupTimerId)
        return;
    killTimer(startupTimerId);
    startupTimerId = 0;
    initSubSystem();
}

void CenterWindow::initSubSystem()
{
    startupRunning = true;
    {
        WaitMaskGuard guard(true);
        queryIOStatus();
        delayMs(1000);
        if (g_isAdministrator != 1) {
            MatrixSwitchPage::instance()->initConfig(false);
        } else {
            queryIpCardAddresses();
            MCenterMainWindow::instance()->initConfig(false);
            MEDIDSettingWidget::instance()->initConfig(false);
            MInputCardSetting::instance()->initConfig(false);
            MOutputCardSetting::instance()->initConfig(false);
            CSysConfigWidget::instance()->initConfig();
            MatrixSwitchPage::instance()->initConfig(false);
            UserManagePage::instance()->initConfig(false);
            AvPlayerControl::instance()->startPreview();
        }
        if (navgationBar->buttonCount() > 0)
            navgationBar->clickButton(0);
    }
    startupRunning = false;
    startupFinished = true;
    emit startupFinishedChanged();
}

void CenterWindow::slotNavgationClicked(QString ObjectName)
{
    qDebug() << "DBG CenterWindow NavgationClicked ObjectName = " << ObjectName;
    if (ObjectName == QLatin1String("InSetting"))
        MInputCardSetting::instance()->initConfig(true);
    else if (ObjectName == QLatin1String("OutSetting"))
        MOutputCardSetting::instance()->initConfig(true);
    else if (ObjectName == QLatin1String("Switch"))
        MCenterMainWindow::instance()->initConfig(true);
    else if (ObjectName == QLatin1String("EdidConfig"))
        MEDIDSettingWidget::instance()->initConfig(true);
    else if (ObjectName == QLatin1String("MatrixSwitch"))
        MatrixSwitchPage::instance()->initConfig(true);
    else if (ObjectName == QLatin1String("UserManage"))
        UserManagePage::instance()->initConfig(true);

    // Nudge the window by one pixel and back so that the new page is laid out at once. A resize
    // would take a maximised or full-screen window out of that state: repaint it only.
    QWidget* top = window();
    if (top == this)
        return;
    if (top->isMaximized() || top->isFullScreen()) {
        top->repaint();
        return;
    }
    top->resize(top->width() + 1, top->height() + 1);
    top->repaint();
    top->resize(top->width() - 1, top->height() - 1);
}
