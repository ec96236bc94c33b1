#include "ipcard/panel/DecoderConfigWidget.h"

#include "framework/MessageShortcuts.h"
#include "ipcard/panel/DecoderController.h"
#include "ipcard/panel/DecoderTree.h"
#include "ipcard/panel/DecoderViews.h"
#include "ipcard/panel/PanelTexts.h"
#include "ipcard/panel/ScreenIpWidget.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace com::kiv::protobuf;

namespace {
constexpr int PadSize = 100;
constexpr int TreeWidth = 240;
constexpr int StopRetryMs = 50;
} // namespace

DecoderConfigWidget::DecoderConfigWidget(QWidget* parent)
    : QWidget(parent)
    , controller(new DecoderController(this))
{
    setupUi();
    retranslateUi();
    connect(cloudButton, &fCloudButton::signalPress, this, &DecoderConfigWidget::onCloudPress);
    connect(cloudButton, &fCloudButton::signalRelease, this, &DecoderConfigWidget::onCloudRelease);
    connect(viewButtons, &QButtonGroup::idToggled, this, &DecoderConfigWidget::onChangedView);
    connect(useBtn, &QPushButton::clicked, this, &DecoderConfigWidget::onUseView);
    connect(controller, &DecoderController::busyChanged, this, &DecoderConfigWidget::onBusyChanged);
    QMetaObject::connectSlotsByName(this);
    updateButtons();
}

void DecoderConfigWidget::setupUi()
{
    setObjectName(QStringLiteral("DecoderConfigWidget"));
    setAttribute(Qt::WA_StyledBackground);
    resize(916, 575);

    tree = new DecoderTree(this);
    tree->setObjectName(QStringLiteral("DecoderTree"));
    tree->setFixedWidth(TreeWidth);

    ptzGroup = new QGroupBox(this);
    ptzGroup->setObjectName(QStringLiteral("groupBox_2"));
    ptzGroup->setFixedWidth(TreeWidth);
    cloudButton = new fCloudButton(ptzGroup);
    cloudButton->setObjectName(QStringLiteral("cloudButton"));
    cloudButton->setFixedSize(PadSize, PadSize);
    auto* padRow = new QHBoxLayout(ptzGroup);
    padRow->addStretch();
    padRow->addWidget(cloudButton);
    padRow->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(tree, 1);
    left->addWidget(ptzGroup);

    viewGroup = new QGroupBox(this);
    viewGroup->setObjectName(QStringLiteral("groupBox"));
    viewButtons = new QButtonGroup(this);
    auto* viewRow = new QHBoxLayout;
    const char* const radioNames[DecoderViews::Count] = {"radioButton", "radioButton_2", "radioButton_3",
                                                         "radioButton_4"};
    for (int id = 0; id < DecoderViews::Count; ++id) {
        auto* radio = new QRadioButton(viewGroup);
        radio->setObjectName(QLatin1String(radioNames[id]));
        viewButtons->addButton(radio, id);
        viewRadios << radio;
        viewRow->addWidget(radio);
    }
    viewRow->addStretch();
    useBtn = new QPushButton(viewGroup);
    useBtn->setObjectName(QStringLiteral("useBtn"));
    viewRow->addWidget(useBtn);

    widgetVideoWall = new QWidget(viewGroup);
    widgetVideoWall->setObjectName(QStringLiteral("widgetVideoWall"));
    widgetVideoWall->setAttribute(Qt::WA_StyledBackground);
    wallLayout = new QGridLayout(widgetVideoWall);
    wallLayout->setContentsMargins(6, 6, 6, 6);
    wallLayout->setSpacing(6);
    // The panes belong to the wall from the start but stand in its grid only once a view is
    // laid out; until then they stay hidden.
    for (int i = 0; i < DecoderViews::PaneCount; ++i) {
        auto* pane = new ScreenIpWidget(widgetVideoWall);
        pane->hide();
        connect(pane, &ScreenIpWidget::dropped, this, &DecoderConfigWidget::onScreenWidget_dropped);
        panes << pane;
    }

    pushButtonOk = new QPushButton(viewGroup);
    pushButtonOk->setObjectName(QStringLiteral("pushButtonOk"));
    auto* okRow = new QHBoxLayout;
    okRow->addStretch();
    okRow->addWidget(pushButtonOk);

    auto* right = new QVBoxLayout(viewGroup);
    right->addLayout(viewRow);
    right->addWidget(widgetVideoWall, 1);
    right->addLayout(okRow);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(viewGroup, 1);

    pushButtonRefrush = new QPushButton(this);
    pushButtonRefrush->setObjectName(QStringLiteral("pushButtonRefrush"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(pushButtonRefrush);
    bottom->addStretch();

    auto* page = new QVBoxLayout(this);
    page->addLayout(columns, 1);
    page->addLayout(bottom);
}

void DecoderConfigWidget::retranslateUi()
{
    setWindowTitle(tr("解码器控制"));
    tree->setHeaderLabels({tr("视频源列表")});
    ptzGroup->setTitle(tr("云台控制"));
    viewGroup->setTitle(tr("画面模式"));
    const QString viewTexts[DecoderViews::Count] = {tr("单画面"), tr("两画面"), tr("四画面"), tr("九画面")};
    for (int id = 0; id < DecoderViews::Count; ++id)
        viewRadios.at(id)->setText(viewTexts[id]);
    useBtn->setText(tr("确定"));
    pushButtonOk->setText(tr("应用"));
    pushButtonRefrush->setText(tr("更新配置"));
}

void DecoderConfigWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void DecoderConfigWidget::setDevice(DeviceToHisilicon* link)
{
    controller->setLink(link);
    updateButtons();
}

void DecoderConfigWidget::setCardIndex(int index)
{
    // The views on the wall belong to the output before: nothing of them may be saved or applied
    // on this one.
    if (controller->setCardIndex(index))
        forgetViews();
}

void DecoderConfigWidget::fillVideoSourceTree(const VideoSourceGroupManage& list)
{
    tree->fill(list);
}

void DecoderConfigWidget::updateButtons()
{
    // Nothing can be asked without a link, and nothing while a request waits for its reply; save
    // and apply also need a checked view and the views of the output addressed.
    const bool canAsk = controller->device() && !controller->isBusy();
    const bool viewReady = DecoderViews::isKnown(viewButtons->checkedId()) && controller->hasViews();
    pushButtonRefrush->setEnabled(canAsk);
    pushButtonOk->setEnabled(canAsk && viewReady);
    useBtn->setEnabled(canAsk && viewReady);
    for (QRadioButton* radio : qAsConst(viewRadios))
        radio->setEnabled(!controller->isBusy());
    // The pad is never disabled while a request waits: it would lose the release of a press.
    ptzGroup->setEnabled(controller->device() != nullptr);
}

void DecoderConfigWidget::onBusyChanged(bool)
{
    updateButtons();
}

void DecoderConfigWidget::showFailure(IpLinkResult result)
{
    if (result == DecoderController::Unreadable)
        showErrorMessage(PanelTexts::unreadableReply());
    else
        showErrorMessage(PanelTexts::failure(result));
}

void DecoderConfigWidget::on_pushButtonRefrush_clicked()
{
    refresh(true);
}

void DecoderConfigWidget::refresh(bool reportUnreadableSources)
{
    const DecoderController::Refresh outcome = controller->refresh();
    if (outcome.sources == DecoderController::Busy)
        return;
    if (outcome.sources != IpLinkCode::Success && outcome.sources != DecoderController::Unreadable) {
        showFailure(outcome.sources);
        return;
    }
    // A list that does not read stays out of the tree; the views were read all the same.
    fillVideoSourceTree(outcome.sourceList);
    if (outcome.viewsRead)
        showAppliedView(outcome.applied);
    if (outcome.sources == DecoderController::Unreadable && reportUnreadableSources)
        showFailure(outcome.sources);
}

void DecoderConfigWidget::showAppliedView(IpLinkResult readResult)
{
    if (readResult != IpLinkCode::Success) {
        showFailure(readResult);
        return;
    }
    const int viewId = controller->appliedView().viewid();
    if (!DecoderViews::isKnown(viewId)) {
        // No button names it: the checked view and the wall stay as they were.
        showErrorMessage(tr("解码器正在使用未知的画面模式%1").arg(viewId));
        return;
    }
    viewButtons->button(viewId)->setChecked(true);
    showView(viewId);
}

void DecoderConfigWidget::showView(int viewId)
{
    const QList<Decoder>& views = controller->views();
    if (viewId < 0 || viewId >= views.size())
        return;
    const DecoderViews::Shape shape{rows, cols};
    const QVector<QByteArray> contents = DecoderViews::paneContents(views.at(viewId), shape);
    clearWall();
    for (int r = 0; r < DecoderViews::MaxPanes / 3; ++r) {
        wallLayout->setRowStretch(r, r < rows ? 1 : 0);
        wallLayout->setColumnStretch(r, r < cols ? 1 : 0);
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int i = r * cols + c;
            ScreenIpWidget* pane = panes.at(i);
            pane->setVideoSource(contents.at(i));
            wallLayout->addWidget(pane, r, c);
            pane->show();
        }
    }
}

void DecoderConfigWidget::clearWall()
{
    for (ScreenIpWidget* pane : qAsConst(panes)) {
        pane->setVideoSource(QByteArray());
        pane->hide();
        wallLayout->removeWidget(pane);
    }
}

void DecoderConfigWidget::forgetCard()
{
    tree->clear();
    forgetViews();
}

void DecoderConfigWidget::forgetViews()
{
    controller->forget();
    // An exclusive group keeps its checked button: let go of it for the moment.
    viewButtons->setExclusive(false);
    if (QAbstractButton* checked = viewButtons->checkedButton())
        checked->setChecked(false);
    viewButtons->setExclusive(true);
    rows = 0;
    cols = 0;
    clearWall();
    updateButtons();
}

void DecoderConfigWidget::onChangedView(int id, bool)
{
    const DecoderViews::Shape shape = DecoderViews::shapeOf(id);
    rows = shape.rows;
    cols = shape.cols;
    showView(id);
    updateButtons();
}

void DecoderConfigWidget::onScreenWidget_dropped()
{
}

void DecoderConfigWidget::on_pushButtonOk_clicked()
{
    const int viewId = viewButtons->checkedId();
    if (!DecoderViews::isKnown(viewId))
        return;
    QVector<QByteArray> paneSources;
    for (int i = 0; i < rows * cols; ++i)
        paneSources << panes.at(i)->videoSource();
    const IpLinkResult result = controller->save(viewId, paneSources);
    if (result == DecoderController::Busy || result == DecoderController::NotRead)
        return;
    if (result == IpLinkCode::Success)
        showInfoMessage(tr("保存成功！"));
    else
        showFailure(result);
}

void DecoderConfigWidget::onUseView()
{
    const int viewId = viewButtons->checkedId();
    if (!DecoderViews::isKnown(viewId))
        return;
    const IpLinkResult result = controller->apply(viewId);
    if (result == DecoderController::Busy || result == DecoderController::NotRead)
        return;
    if (result == IpLinkCode::Success)
        showInfoMessage(tr("更新成功！"));
    else
        showFailure(result);
}

void DecoderConfigWidget::sendPtzCommand(int code)
{
    const QByteArray source = tree->currentSource();
    if (source.isEmpty())
        return;
    const IpLinkResult result = controller->sendPtz(code, source);
    if (result != IpLinkCode::Success && result != DecoderController::Busy)
        showFailure(result);
}

void DecoderConfigWidget::onCloudPress(fCloudButton::ButtonType type)
{
    if (ptzGesture != PtzGesture::Idle || controller->isBusy())
        return;
    ptzSource = tree->currentSource();
    if (ptzSource.isEmpty())
        return;
    ptzGesture = PtzGesture::Pressing;
    const IpLinkResult result = controller->sendPtz(DecoderPtz::commandFor(type), ptzSource);
    if (result == IpLinkCode::Success) {
        // A release during the wait left StopPending: its stop is on its way.
        if (ptzGesture == PtzGesture::Pressing)
            ptzGesture = PtzGesture::Pressed;
        return;
    }
    // The camera may have moved although no reply came, and the message box would take the
    // release: stop it now and report the press alone.
    ptzGesture = PtzGesture::Idle;
    sendPtzStop(false);
    showFailure(result);
}

void DecoderConfigWidget::onCloudRelease(fCloudButton::ButtonType)
{
    if (ptzGesture != PtzGesture::Pressing && ptzGesture != PtzGesture::Pressed)
        return;
    ptzGesture = PtzGesture::StopPending;
    sendPendingStop();
}

void DecoderConfigWidget::sendPendingStop()
{
    if (ptzGesture != PtzGesture::StopPending)
        return;
    // The press still waits for its reply, or another request holds the link: the stop must not
    // be lost, so it goes out as soon as the link is free.
    if (controller->isBusy() || !sendPtzStop(true))
        QTimer::singleShot(StopRetryMs, this, &DecoderConfigWidget::sendPendingStop);
}

bool DecoderConfigWidget::sendPtzStop(bool reportFailure)
{
    const IpLinkResult result = controller->sendPtz(DecoderPtz::Stop, ptzSource);
    if (result == DecoderController::Busy || result == IpLinkCode::Busy)
        return false;
    ptzGesture = PtzGesture::Idle;
    if (reportFailure && result != IpLinkCode::Success)
        showFailure(result);
    return true;
}
