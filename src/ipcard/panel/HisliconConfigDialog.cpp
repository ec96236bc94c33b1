#include "ipcard/panel/HisliconConfigDialog.h"

#include "core/DeviceQueries.h"
#include "core/MatrixCommands.h"
#include "core/MatrixModel.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/FInputDialog.h"
#include "framework/MessageShortcuts.h"
#include "framework/SaveFileDialog.h"
#include "ipcard/link/DeviceToHisilicon.h"
#include "ipcard/link/OpenIpCardLinks.h"
#include "ipcard/panel/FirmwareChunkPlan.h"
#include "platform/EventLoopDelay.h"
#include "ipcard/panel/DecoderConfigWidget.h"
#include "ipcard/panel/IpCardAddressing.h"
#include "ipcard/panel/IpCardCall.h"
#include "ipcard/panel/LogTableRows.h"
#include "ipcard/panel/NetworkSettingsCheck.h"
#include "ipcard/panel/PanelTexts.h"
#include "ipcard/panel/VideoSourceBackupFile.h"
#include "ipcard/panel/VideoSourceConfigDialog.h"
#include "ipcard/panel/VideoSourceNameRule.h"
#include "pagekit/PageModel.h"
#include "platform/TextHelpers.h"

#include "LogProto.pb.h"
#include "LoginRequestProto.pb.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDebug>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTreeWidget>

using namespace com::kiv::protobuf;

namespace {

const char* const kLoginUser = "admin";
const char* const kLoginPassword = "quelt";

QString backupFilter()
{
    return QCoreApplication::translate("HisliconConfigDialog", "备份文件(*.dat)");
}

} // namespace

HisliconConfigForm HisliconConfigDialog::buildForm(QWidget* panel, QWidget* decoderPage)
{
    HisliconConfigForm form;
    form.setupUi(panel, decoderPage);
    return form;
}

HisliconConfigDialog::HisliconConfigDialog(const QString& cardIp, QWidget* parent)
    : QWidget(parent)
    , ip(cardIp)
    , decoderWidget(new DecoderConfigWidget(this))
    , ui(buildForm(this, decoderWidget))
    , sources(ui.sourceTree)
{
    qRegisterMetaType<VideoSourceGroupManage>();
    setObjectName(QStringLiteral("HisliconConfigDialog"));
    ui.ipEdit->setText(ip);
    showState(false);
    clearTabs();
    connectButtons();
    setCurrentPage(0);
}

void HisliconConfigDialog::connectButtons()
{
    auto onClick = [this](QPushButton* button, auto slot) { connect(button, &QPushButton::clicked, this, slot); };
    onClick(ui.connectButton, [this] { onClickConnect(); });
    onClick(ui.updateIpButton, &HisliconConfigDialog::onClickUpdateIp);
    onClick(ui.changeIpButton, &HisliconConfigDialog::onChangeIp);
    onClick(ui.networkUpdateButton, &HisliconConfigDialog::onNetWorkUpdate);
    onClick(ui.networkSaveButton, &HisliconConfigDialog::onNetWorkSave);
    onClick(ui.addGroupButton, &HisliconConfigDialog::onAddGroup);
    onClick(ui.addSourceButton, &HisliconConfigDialog::onAddVideoSource);
    onClick(ui.deleteButton, &HisliconConfigDialog::onDelVideoSource);
    onClick(ui.importButton, &HisliconConfigDialog::onPushVideoSourceConfig);
    onClick(ui.exportButton, &HisliconConfigDialog::onPopVideoSourceConfig);
    onClick(ui.sourcesUpdateButton, &HisliconConfigDialog::onVideoManageUpdate);
    onClick(ui.sourcesSaveButton, &HisliconConfigDialog::onVideoManageSave);
    onClick(ui.browseButton, &HisliconConfigDialog::onSelectUpdateFile);
    onClick(ui.upgradeButton, &HisliconConfigDialog::onUpdate);
    onClick(ui.restartButton, &HisliconConfigDialog::onResDevice);
    onClick(ui.factoryButton, &HisliconConfigDialog::onFactoryDevice);
    onClick(ui.findLogButton, &HisliconConfigDialog::onFindLog);
    onClick(ui.pageUpButton, &HisliconConfigDialog::onSwicthUpPage);
    onClick(ui.pageDownButton, &HisliconConfigDialog::onSwicthDownPage);
    connect(ui.sourceTree, &QTreeWidget::itemDoubleClicked, this, &HisliconConfigDialog::openEdit);
}

void HisliconConfigDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui.retranslateUi();
        sources.retranslate();
        showState(connected);
        ui.logCountLabel->setText(tr("共%1条").arg(logPaging.count()));
    }
    QWidget::changeEvent(event);
}

// ---- Connection --------------------------------------------------------------------------

void HisliconConfigDialog::setCurrentPage(int page)
{
    ui.stack->setCurrentIndex(page);
}

void HisliconConfigDialog::setCardIndex(int index)
{
    cardIndex = index;
    decoderWidget->setCardIndex(index);
}

void HisliconConfigDialog::showState(bool isConnected)
{
    connected = isConnected;
    ui.stateLabel->setText(isConnected ? tr("已连接") : tr("未连接"));
    if (!isConnected)
        ui.connectButton->setEnabled(true);
}

void HisliconConfigDialog::bindLink(DeviceToHisilicon* newLink)
{
    if (newLink == link)
        return;
    link = newLink;
    // The decoder page never keeps a link the panel let go of (a closed one may be deleted).
    decoderWidget->setDevice(link);
    clearTabs();
    if (link)
        connect(link, &DeviceToHisilicon::disconnectSignal, this, &HisliconConfigDialog::onHisliconTcpDisconnect,
                Qt::UniqueConnection);
}

DeviceToHisilicon* HisliconConfigDialog::makeLink()
{
    // Links this panel made that have closed since serve nobody any more.
    for (const QPointer<DeviceToHisilicon>& old : qAsConst(ownLinks)) {
        if (old && old != link && !openIpCardLinks.contains(old))
            delete old.data();
    }
    ownLinks.removeAll(nullptr);
    auto* made = new DeviceToHisilicon(this);
    ownLinks.append(made);
    return made;
}

void HisliconConfigDialog::refreshConnectState(const QString& cardIp)
{
    ip = cardIp;
    ui.ipEdit->setText(ip);
    DeviceToHisilicon* found = nullptr;
    for (DeviceToHisilicon* open : qAsConst(openIpCardLinks)) {
        if (open->ip() == ip)
            found = open;
    }
    if (found) {
        bindLink(found);
        showState(true);
    } else {
        bindLink(nullptr);
        showState(false);
    }
}

bool HisliconConfigDialog::LoginDevice()
{
    LoginRequest request;
    request.set_username(kLoginUser);
    request.set_password(kLoginPassword);
    const IpLinkResult result = IpCardCall::request(link, 1, 0, IpCardCall::bytesOf(request));
    qDebug() << "登录返回结果:" << result;
    return result == IpLinkCode::Success;
}

bool HisliconConfigDialog::onClickConnect(bool)
{
    PanelOperation operation(gate);
    if (!operation.started())
        return false;
    if (!link)
        bindLink(makeLink());

    const QString address = ui.ipEdit->text().trimmed();
    if (!isIpAddress(address)) {
        showErrorMessage(tr("IP格式错误!"));
        return false;
    }
    if (!link->connectToDevice(address, CardPort)) {
        showErrorMessage(tr("连接失败!"));
        return false;
    }
    // Whatever the tabs show belongs to the connection before this one.
    clearTabs();
    if (!LoginDevice()) {
        // Not logged in, the connection serves nothing: it does not stay open beating.
        link->closeConnect();
        showErrorMessage(tr("登录失败!"));
        return false;
    }
    showState(true);
    if (!openIpCardLinks.contains(link))
        openIpCardLinks.append(link);
    ip = address;
    emit HisliconIsConnect(ip);
    decoderWidget->setDevice(link);
    setCurrentPage(1);

    WaitMaskGuard followUps(true);
    refreshFromCard();
    return true;
}

bool HisliconConfigDialog::onClickConfig(bool)
{
    PanelOperation operation(gate);
    if (!operation.started() || !link)
        return false;
    decoderWidget->setDevice(link);
    setCurrentPage(1);
    if (!queryNetworkConfig() || !queryVersionInfo())
        return false;
    refreshSourcesAndDecoder();
    return true;
}

void HisliconConfigDialog::refreshFromCard()
{
    if (queryNetworkConfig() && queryVersionInfo())
        refreshSourcesAndDecoder();
}

void HisliconConfigDialog::refreshSourcesAndDecoder()
{
    // One read of the card's list that does not parse is one message: the tab has shown it.
    decoderWidget->refresh(reloadVideoSources() != SourceList::Unreadable);
}

void HisliconConfigDialog::onHisliconTcpDisconnect(QString cardIp)
{
    if (cardIp != ip)
        return;
    showState(false);
    setCurrentPage(0);
}

void HisliconConfigDialog::dropLink()
{
    if (link)
        link->closeConnect();
    // The link reports its close only when its socket was still open; the card may have gone
    // first.
    onHisliconTcpDisconnect(ip);
}

// ---- Address through the matrix ------------------------------------------------------------

void HisliconConfigDialog::onChangeIp()
{
    PanelOperation operation(gate, false);
    if (!operation.started())
        return;
    QString address;
    for (;;) {
        FInputDialog input(this);
        input.setTitle(tr("IP 修改"));
        input.setText(ip);
        if (input.exec() != QDialog::Accepted)
            return;
        address = input.getText();
        if (isIpAddress(address))
            break;
        CMeetingMessageBoxDialog::showError(tr("IP地址无效"));
    }

    WaitMaskGuard overlay(true);
    // Sent without waiting: the matrix's answer cannot be told from other lines.
    MatrixCommands().sendText(IpCardAddressing::changeCommand(cardIndex, address), false, nullptr, true);
    ip = address;
    ui.ipEdit->setText(ip);
    IpCardAddressing::storeAddress(PageModel::model(), cardIndex, address);
    showState(false);
    if (link)
        link->closeConnect();
    setCurrentPage(0);
    CMeetingMessageBoxDialog::showInformation(tr("修改IP成功,请重新连接!"));
}

void HisliconConfigDialog::onClickUpdateIp()
{
    PanelOperation operation(gate);
    if (!operation.started())
        return;
    MatrixModel* model = PageModel::model();
    const DeviceQueries::IpCardProcessors card = model->queries()->readIpInputCard(cardIndex / 4);
    // Ports 0 and 1 of a card are served by its first processor, 2 and 3 by its second.
    const int pair = (cardIndex % 4) / 2;
    if (!card.answered[pair])
        return;
    IpCardAddressing::storeAddress(model, cardIndex, card.address[pair]);
    ui.ipEdit->setText(card.address[pair]);
}

// ---- Network tab ---------------------------------------------------------------------------

bool HisliconConfigDialog::queryNetworkConfig()
{
    QByteArray reply;
    if (IpCardCall::request(link, 3, 1, QByteArray(), &reply) != IpLinkCode::Success)
        return false;
    NetworkConfig config;
    if (!IpCardCall::parse(reply, &config)) {
        qWarning() << "network settings reply does not parse";
        return false;
    }
    queriedNetwork = config;
    ui.hostAddrEdit->setText(QString::fromStdString(config.hostaddr()));
    ui.submaskEdit->setText(QString::fromStdString(config.submask()));
    ui.gatewayEdit->setText(QString::fromStdString(config.gateway()));
    ui.macEdit->setText(QString::fromStdString(config.mac()));
    ui.dns1Edit->setText(QString::fromStdString(config.dns1()));
    ui.dns2Edit->setText(QString::fromStdString(config.dns2()));
    ui.tcpPortBox->setValue(config.tcpport());
    ui.httpPortBox->setValue(config.httpport());
    setNetworkQueried(true);
    return true;
}

void HisliconConfigDialog::onNetWorkUpdate()
{
    PanelOperation operation(gate);
    if (operation.started())
        queryNetworkConfig();
}

void HisliconConfigDialog::onNetWorkSave()
{
    PanelOperation operation(gate);
    if (!operation.started() || !link || !networkQueried)
        return;
    NetworkSettingsInput input;
    input.address = ui.hostAddrEdit->text().trimmed();
    input.mask = ui.submaskEdit->text().trimmed();
    input.gateway = ui.gatewayEdit->text().trimmed();
    input.dns1 = ui.dns1Edit->text().trimmed();
    input.dns2 = ui.dns2Edit->text().trimmed();
    switch (checkNetworkSettings(input)) {
    case NetworkSettingsProblem::InvalidAddress:
        showErrorMessage(tr("IP地址无效!"));
        return;
    case NetworkSettingsProblem::GatewayOutsideNetwork:
        showErrorMessage(tr("IP地址与网关不一致!"));
        return;
    case NetworkSettingsProblem::None:
        break;
    }

    NetworkConfig config = queriedNetwork;
    config.set_hostaddr(input.address.toLatin1().toStdString());
    config.set_submask(input.mask.toLatin1().toStdString());
    config.set_gateway(input.gateway.toLatin1().toStdString());
    config.set_dns1(input.dns1.toLatin1().toStdString());
    config.set_dns2(input.dns2.toLatin1().toStdString());
    const IpLinkResult result = IpCardCall::request(link, 4, 1, IpCardCall::bytesOf(config));
    if (result != IpLinkCode::Success) {
        showErrorMessage(PanelTexts::failure(result));
        return;
    }
    IpCardAddressing::storeAddress(PageModel::model(), cardIndex, input.address);
    ui.ipEdit->setText(input.address);
    qDebug() << "IP card moved to" << input.address;
    // The card answers on its new address from now on.
    dropLink();
    showInfoMessage(tr("保存成功！"));
}

// ---- Version and maintenance -----------------------------------------------------------------

bool HisliconConfigDialog::queryVersionInfo()
{
    if (!link)
        return false;
    WaitMaskGuard overlay(true);
    QByteArray reply;
    if (IpCardCall::request(link, 3, 7, QByteArray(), &reply) != IpLinkCode::Success)
        return false;
    VersionInfo version;
    if (!IpCardCall::parse(reply, &version)) {
        qWarning() << "version reply does not parse";
        return false;
    }
    ui.versionLabel->setText(QString::fromStdString(version.version()));
    ui.updateTimeLabel->setText(QString::fromStdString(version.updatetime()));
    return true;
}

void HisliconConfigDialog::onResDevice()
{
    PanelOperation operation(gate, false);
    if (!operation.started() || showQuestionMessage(tr("确定要重新启动设备吗？")) != 1)
        return;
    WaitMaskGuard overlay(true);
    const IpLinkResult result = IpCardCall::request(link, 2, 1);
    if (result != IpLinkCode::Success) {
        showErrorMessage(PanelTexts::failure(result));
        return;
    }
    emit signalHisliconDisconnect(ip);
    dropLink();
    showInfoMessage(tr("重启成功！"));
}

void HisliconConfigDialog::onFactoryDevice()
{
    PanelOperation operation(gate, false);
    if (!operation.started() || showQuestionMessage(tr("确定要恢复设备参数到出厂设置吗？")) != 1)
        return;
    WaitMaskGuard overlay(true);
    const IpLinkResult result = IpCardCall::request(link, 2, 2);
    if (result != IpLinkCode::Success) {
        showErrorMessage(PanelTexts::failure(result));
        return;
    }
    emit signalHisliconDisconnect(ip);
    dropLink();
}

void HisliconConfigDialog::onSelectUpdateFile()
{
    PanelOperation operation(gate, false);
    if (!operation.started())
        return;
    ui.upgradeFileEdit->setText(
        QFileDialog::getOpenFileName(this, tr("设备升级"), QString(), tr("升级文件(*.bin)")));
}

void HisliconConfigDialog::onUpdate()
{
    PanelOperation operation(gate, false);
    if (!operation.started())
        return;
    uploadFirmware();
}

void HisliconConfigDialog::uploadFirmware()
{
    const QString path = ui.upgradeFileEdit->text().trimmed();
    if (path.isEmpty()) {
        showErrorMessage(tr("请选择升级文件！"));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showErrorMessage(tr("固件文件打开失败！"));
        return;
    }
    const FirmwareChunkPlan plan(QFileInfo(path).fileName(), file.size());
    switch (plan.problem()) {
    case FirmwareChunkPlan::EmptyFile:
        showErrorMessage(tr("文件内容为空！"));
        return;
    case FirmwareChunkPlan::FileTooLarge:
        showErrorMessage(tr("升级文件过大，最多%1字节！").arg(FirmwareChunkPlan::MaxFileSize));
        return;
    case FirmwareChunkPlan::NameNotLatin1:
        showErrorMessage(tr("升级文件名只能包含西文字符！"));
        return;
    case FirmwareChunkPlan::None:
        break;
    }

    WaitMaskGuard overlay(true);
    QProgressBar* progress = ui.upgradeProgress;
    progress->show();
    progress->setRange(0, int(plan.fileSize()));
    progress->reset();
    progress->setValue(0);

    IpLinkResult result = IpCardCall::request(link, 2, 4, plan.startBody());
    if (result != IpLinkCode::Success) {
        showErrorMessage(PanelTexts::failure(result));
        return;
    }
    for (int index = 0; index < plan.chunkCount(); ++index) {
        const QByteArray data = file.read(FirmwareChunkPlan::ChunkSize);
        const QByteArray body = FirmwareChunkPlan::chunkBody(plan.chunkNumber(index), data);
        qDebug() << "fileIndex:" << plan.chunkNumber(index) << "," << "fileSize:" << data.size()
                 << ",byteSize:" << body.size();
        result = IpCardCall::request(link, 2, 3, body, nullptr, KivBodyFormatRaw);
        if (result != IpLinkCode::Success)
            break;
        progress->setValue(progress->value() + data.size());
        // A card that answers at once leaves no wait in which events run: let the bar and the
        // overlay move between chunks.
        PumpingWaits::processPendingEvents();
    }
    // The card hears the end also after a refused chunk, so that it can drop the upload.
    result = IpCardCall::request(link, 2, 5);
    if (result != IpLinkCode::Success) {
        showErrorMessage(tr("设备升级失败，错误码%1").arg(result));
        return;
    }
    progress->hide();
    emit signalHisliconDisconnect(ip);
    dropLink();
    showInfoMessage(tr("升级成功,设备稍后自动重启！"));
}

// ---- Log tab -------------------------------------------------------------------------------

void HisliconConfigDialog::presetLogRange()
{
    const QDate today = QDate::currentDate();
    ui.startEdit->setDateTime(QDateTime(today.addDays(-7), QTime(0, 0, 0)));
    ui.endEdit->setDateTime(QDateTime(today, QTime(23, 59, 59)));
}

void HisliconConfigDialog::clearLog()
{
    logPaging.clear();
    ui.logCountLabel->setText(tr("共%1条").arg(0));
    ui.logPageLabel->setText(QStringLiteral("0/0"));
    ui.logTable->setRowCount(0);
}

void HisliconConfigDialog::onFindLog()
{
    PanelOperation operation(gate);
    if (!operation.started())
        return;
    clearLog();
    LogSearchRequest request;
    request.set_type(ui.logTypeBox->currentIndex());
    request.set_starttime(quint64(ui.startEdit->dateTime().toMSecsSinceEpoch()));
    request.set_endtime(quint64(ui.endEdit->dateTime().toMSecsSinceEpoch()));
    QByteArray reply;
    const IpLinkResult result = IpCardCall::request(link, 3, 5, IpCardCall::bytesOf(request), &reply);
    if (result != IpLinkCode::Success) {
        CMeetingMessageBoxDialog::showError(PanelTexts::failure(result));
        return;
    }
    LogSearchResponse response;
    if (!IpCardCall::parse(reply, &response)) {
        CMeetingMessageBoxDialog::showError(PanelTexts::unreadableReply());
        return;
    }
    logPaging.setEntries(std::move(response));
    ui.logCountLabel->setText(tr("共%1条").arg(logPaging.count()));
    showLogPage();
}

void HisliconConfigDialog::showLogPage()
{
    showLogRows(ui.logTable, logPaging.rows());
    ui.logPageLabel->setText(logPaging.pageLabel());
}

void HisliconConfigDialog::onSwicthUpPage()
{
    logPaging.previousPage();
    showLogPage();
}

void HisliconConfigDialog::onSwicthDownPage()
{
    logPaging.nextPage();
    showLogPage();
}

// ---- Video-source tab ------------------------------------------------------------------------

VideoSourceGroupManage HisliconConfigDialog::buildVideoSourceGroupManage() const
{
    return sources.build();
}

void HisliconConfigDialog::fillVideoSourceTree(const VideoSourceGroupManage& list)
{
    sources.fill(list);
}

HisliconConfigDialog::SourceList HisliconConfigDialog::reloadVideoSources()
{
    if (!link)
        return SourceList::NotRead;
    WaitMaskGuard overlay(true);
    QByteArray reply;
    if (IpCardCall::request(link, 3, 3, QByteArray(), &reply) != IpLinkCode::Success)
        return SourceList::NotRead;
    VideoSourceGroupManage list;
    if (!IpCardCall::parse(reply, &list)) {
        // Showing what parsed and letting it be saved would cut the card's list short; the
        // operator may still replace the list as a whole, imported or built afresh.
        showErrorMessage(PanelTexts::unreadableReply());
        setSourceList(SourceList::Unreadable);
        return SourceList::Unreadable;
    }
    fillVideoSourceTree(list);
    decoderWidget->fillVideoSourceTree(list);
    setSourceList(SourceList::Read);
    emit refreshIpVideoSourceSignal(list, ip);
    return SourceList::Read;
}

void HisliconConfigDialog::onVideoManageUpdate()
{
    PanelOperation operation(gate);
    if (operation.started())
        reloadVideoSources();
}

void HisliconConfigDialog::onVideoManageSave()
{
    PanelOperation operation(gate, false);
    if (operation.started())
        saveVideoSources();
}

void HisliconConfigDialog::saveVideoSources()
{
    if (sourceList == SourceList::NotRead)
        return;
    const QByteArray body = IpCardCall::bytesOf(buildVideoSourceGroupManage());
    if (body.size() > IpCardCall::MaxBodySize) {
        showErrorMessage(tr("视频源配置过大（%1字节），一次最多保存%2字节，请减少视频源！")
                             .arg(body.size())
                             .arg(IpCardCall::MaxBodySize));
        return;
    }
    if (sourceList == SourceList::Unreadable
        && showQuestionMessage(tr("设备中的视频源列表无法读取，保存将用当前列表替换它。是否继续？")) != 1)
        return;
    WaitMaskGuard overlay(true);
    const IpLinkResult result = IpCardCall::request(link, 4, 3, body);
    if (result != IpLinkCode::Success) {
        showErrorMessage(PanelTexts::failure(result));
        return;
    }
    // The tree then shows what the card holds, its connection states included.
    reloadVideoSources();
}

void HisliconConfigDialog::onAddGroup()
{
    PanelOperation operation(gate, false);
    if (!operation.started())
        return;
    FInputDialog input(this);
    input.setTitle(tr("添加分组"));
    input.setLabelText(tr("请输入分组名："));
    input.setText(QStringLiteral("group"));
    if (input.exec() != QDialog::Accepted)
        return;
    const QString name = input.getText().trimmed();
    switch (VideoSourceNameRule::check(name)) {
    case VideoSourceNameRule::Verdict::Empty:
        QMessageBox::warning(this, QString(), tr("名称不能为空！"));
        return;
    case VideoSourceNameRule::Verdict::TooLong:
        QMessageBox::warning(this, QString(), tr("名称超出最大长度！"));
        return;
    case VideoSourceNameRule::Verdict::Ok:
        sources.addGroup(name);
        return;
    }
}

void HisliconConfigDialog::onAddVideoSource()
{
    PanelOperation operation(gate, false);
    if (!operation.started())
        return;
    VideoSourceConfigDialog dialog(this);
    dialog.setDevice(link);
    dialog.setChannel(sources.nextChannel(VideoSourceConfigDialog::MaxChannel));
    if (dialog.exec() != QDialog::Accepted)
        return;
    sources.addSource(dialog.videoSource());
}

void HisliconConfigDialog::openEdit(QTreeWidgetItem* item, int)
{
    PanelOperation operation(gate, false);
    if (!operation.started() || !item)
        return;
    if (VideoSourceTree::isSource(item)) {
        VideoSourceConfigDialog dialog(this);
        dialog.setTitle(tr("视频源修改"));
        dialog.setDevice(link);
        dialog.setVideoSource(VideoSourceTree::sourceOf(item));
        if (dialog.exec() == QDialog::Accepted)
            sources.replaceSource(item, dialog.videoSource());
        return;
    }
    FInputDialog input(this);
    input.setTitle(tr("分组命名"));
    input.setText(item->text(VideoSourceTree::Name));
    if (input.exec() != QDialog::Accepted)
        return;
    const QString name = input.getText().trimmed();
    switch (VideoSourceNameRule::check(name)) {
    case VideoSourceNameRule::Verdict::Empty:
        // Saved and read back, a group without a name would leave its sources at top level.
        showErrorMessage(tr("名称不能为空！"));
        return;
    case VideoSourceNameRule::Verdict::TooLong:
        showErrorMessage(tr("名称超出最大长度"));
        return;
    case VideoSourceNameRule::Verdict::Ok:
        item->setText(VideoSourceTree::Name, name);
        return;
    }
}

void HisliconConfigDialog::onDelVideoSource()
{
    PanelOperation operation(gate, false);
    if (!operation.started())
        return;
    if (!sources.removeCurrent())
        showErrorMessage(tr("请选择要删除的项！"));
}

void HisliconConfigDialog::onPopVideoSourceConfig()
{
    PanelOperation operation(gate, false);
    if (!operation.started())
        return;
    const QString path = saveFileName(this, tr("导出"), QString(), backupFilter(), QStringLiteral("dat"));
    if (path.isEmpty())
        return;
    if (!VideoSourceBackupFile::write(path, buildVideoSourceGroupManage()))
        showErrorMessage(tr("写入文件失败！"));
}

void HisliconConfigDialog::onPushVideoSourceConfig()
{
    PanelOperation operation(gate, false);
    if (!operation.started())
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("导入"), QString(), backupFilter());
    if (path.isEmpty())
        return;
    VideoSourceGroupManage list;
    switch (VideoSourceBackupFile::read(path, &list)) {
    case VideoSourceBackupFile::ReadResult::CannotOpen:
        showErrorMessage(tr("打开文件错误！"));
        return;
    case VideoSourceBackupFile::ReadResult::NotAList:
        showErrorMessage(tr("文件不是视频源备份文件！"));
        return;
    case VideoSourceBackupFile::ReadResult::Ok:
        fillVideoSourceTree(list);
        return;
    }
}

// ---- Tabs ----------------------------------------------------------------------------------

void HisliconConfigDialog::setNetworkQueried(bool queried)
{
    networkQueried = queried;
    ui.networkSaveButton->setEnabled(queried);
}

void HisliconConfigDialog::setSourceList(SourceList state)
{
    sourceList = state;
    ui.sourcesSaveButton->setEnabled(state != SourceList::NotRead);
}

void HisliconConfigDialog::clearTabs()
{
    queriedNetwork.Clear();
    for (QLineEdit* edit : {ui.hostAddrEdit, ui.submaskEdit, ui.gatewayEdit, ui.dns1Edit, ui.dns2Edit, ui.macEdit})
        edit->clear();
    ui.tcpPortBox->setValue(ui.tcpPortBox->minimum());
    ui.httpPortBox->setValue(ui.httpPortBox->minimum());
    setNetworkQueried(false);

    sources.clear();
    decoderWidget->forgetCard();
    setSourceList(SourceList::NotRead);

    clearLog();
    presetLogRange();

    ui.versionLabel->clear();
    ui.updateTimeLabel->clear();
    ui.upgradeProgress->hide();
}
