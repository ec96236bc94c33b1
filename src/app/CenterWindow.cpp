#include "app/CenterWindow.h"

#include "app/ConsolePages.h"
#include "core/GlobalState.h"
#include "core/MatrixModel.h"
#include "framework/FNavgationBar.h"
#include "framework/WindowNudge.h"
#include "pagekit/PageModel.h"
#include "pagekit/PageRegistry.h"
#include "pagekit/WaitMaskGuard.h"
#include "platform/EventLoopDelay.h"

#include <QDebug>
#include <QStackedWidget>
#include <QTimerEvent>
#include <QVariantAnimation>

namespace {
bool isAdministrator() { return g_isAdministrator == 1; }
}

CenterWindow* CenterWindow::instance()
{
    return ProcessSingleton<CenterWindow>::instance();
}

CenterWindow::CenterWindow()
    : FCenterWindow(nullptr)
    , matrixModel(new MatrixModel(this)) // loads the port records and listens to the link
    , pageSlide(new QVariantAnimation(this))
{
    pageSlide->setObjectName(QStringLiteral("PageSlide"));
    pageSlide->setDuration(kSlideMs);
    pageSlide->setEasingCurve(QEasingCurve::OutCubic);
    pageSlide->setEndValue(0);
    connect(pageSlide, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        if (QWidget* page = stackWidget->currentWidget())
            page->move(value.toInt(), page->y());
        onAnimationValueChanged(value);
    });
    connect(pageSlide, &QVariantAnimation::finished, this, &CenterWindow::updateUi);
    PageModel::setModel(matrixModel); // before the pages are built
    initNavigation();
    connect(navgationBar, &FNavgationBar::navgationChanged, this,
            &CenterWindow::slotNavgationClicked);
    startupTimerId = startTimer(100, Qt::CoarseTimer);
}

CenterWindow::~CenterWindow()
{
    saveCardConfig();
}

void CenterWindow::initNavigation()
{
    // Creating a page here creates its singleton.
    for (const PageEntry& page : consolePages().pagesFor(isAdministrator()))
        addWidget(page.translatedTitle(), page.key, page.instance(), QString(), false);
    setNavgationBarLayout(0);
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
// The model hears the link itself; this is the same parser for callers that hand a line in.
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
        // Quitting meanwhile: the rest would only keep the exit waiting on the matrix.
        if (delayMs(1000))
            runStartupSteps();
    }
    startupRunning = false;
    startupFinished = true;
    emit startupFinishedChanged();
}

void CenterWindow::runStartupSteps()
{
    // An exit confirmed during a step ends its waits; the steps after it are skipped.
    const auto leaving = [] { return PumpingWaits::ended(); };
    if (isAdministrator())
        queryIpCardAddresses();
    for (const PageEntry& page : consolePages().startupOrder(isAdministrator())) {
        if (leaving())
            return;
        page.initConfig(false);
    }
    if (leaving())
        return;
    consolePages().runStartupSteps(isAdministrator());
    if (!leaving() && navgationBar->buttonCount() > 0)
        navgationBar->clickButton(0);
}

void CenterWindow::cloudAntimation(animation_Direction direction)
{
    // A slide still running is cut short: its page is hidden by now, put it back in place.
    pageSlide->stop();
    for (int i = 0; i < stackWidget->count(); ++i)
        stackWidget->widget(i)->move(0, stackWidget->widget(i)->y());
    const int width = stackWidget->width();
    pageSlide->setStartValue(direction == animationRight ? -width : width);
    pageSlide->start();
}

void CenterWindow::slotNavgationClicked(QString ObjectName)
{
    qDebug() << "DBG CenterWindow NavgationClicked ObjectName = " << ObjectName;
    if (const PageEntry* page = consolePages().find(ObjectName))
        page->initConfig(true);
    // The keyboard focus goes to the frame, not to a control of the page (a focused button or
    // list would take Left/Right): the next arrow key pages on through the main window.
    setFocus(Qt::OtherFocusReason);

    nudgeWindowLayout(this);
}
