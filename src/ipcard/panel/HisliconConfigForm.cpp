#include "ipcard/panel/HisliconConfigForm.h"

#include "framework/FBasePushButton.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name)
{
    return named<QPushButton>(new FBasePushButton(parent), name);
}

QSpinBox* portSpinBox(QWidget* parent, const char* name)
{
    auto* box = named(new QSpinBox(parent), name);
    box->setRange(1, 65535);
    return box;
}

} // namespace

void HisliconConfigForm::setupUi(QWidget* panel, QWidget* decoderPage)
{
    stack = named(new QStackedWidget(panel), "stackedWidget");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stack);

    setupConnectionPage(panel);
    tabs = named(new QTabWidget(stack), "tabWidget");
    stack->addWidget(connectionPage);
    stack->addWidget(tabs);

    setupNetworkTab();
    setupSourcesTab();
    decoderTab = decoderPage;
    setupLogTab();
    setupMaintenanceTab();
    tabs->addTab(networkTab, QString());
    tabs->addTab(sourcesTab, QString());
    tabs->addTab(decoderTab, QString());
    tabs->addTab(logTab, QString());
    tabs->addTab(maintenanceTab, QString());
    stack->setCurrentIndex(0);
    retranslateUi();
}

void HisliconConfigForm::setupConnectionPage(QWidget* panel)
{
    connectionPage = named(new QWidget(panel), "pageConnection");
    stateTitleLabel = new QLabel(connectionPage);
    stateLabel = named(new QLabel(connectionPage), "labelConnectState");
    ipTitleLabel = new QLabel(connectionPage);
    ipEdit = named(new QLineEdit(connectionPage), "lineEditIp");
    portTitleLabel = new QLabel(connectionPage);
    portBox = portSpinBox(connectionPage, "spinBoxPort");
    portBox->setValue(4002);
    portBox->setEnabled(false);   // the card always listens on 4002
    connectButton = button(connectionPage, "pushButtonConnect");
    updateIpButton = button(connectionPage, "pushButtonUpdateIp");
    changeIpButton = button(connectionPage, "pushButtonChangeIp");

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);
    grid->addWidget(stateTitleLabel, 0, 0, Qt::AlignRight);
    grid->addWidget(stateLabel, 0, 1);
    grid->addWidget(ipTitleLabel, 1, 0, Qt::AlignRight);
    grid->addWidget(ipEdit, 1, 1);
    grid->addWidget(updateIpButton, 1, 2);
    grid->addWidget(changeIpButton, 1, 3);
    grid->addWidget(portTitleLabel, 2, 0, Qt::AlignRight);
    grid->addWidget(portBox, 2, 1);
    grid->addWidget(connectButton, 3, 1);
    grid->setColumnMinimumWidth(1, 220);

    auto* centre = new QHBoxLayout;
    centre->addStretch();
    centre->addLayout(grid);
    centre->addStretch();
    auto* page = new QVBoxLayout(connectionPage);
    page->addStretch(1);
    page->addLayout(centre);
    page->addStretch(2);
}

void HisliconConfigForm::setupNetworkTab()
{
    networkTab = named(new QWidget(tabs), "tabNetwork");
    hostAddrEdit = named(new QLineEdit(networkTab), "lineEditHostAddr");
    submaskEdit = named(new QLineEdit(networkTab), "lineEditSubmask");
    gatewayEdit = named(new QLineEdit(networkTab), "lineEditGateway");
    dns1Edit = named(new QLineEdit(networkTab), "lineEditDns1");
    dns2Edit = named(new QLineEdit(networkTab), "lineEditDns2");
    macEdit = named(new QLineEdit(networkTab), "lineEditMac");
    macEdit->setEnabled(false);
    tcpPortBox = portSpinBox(networkTab, "spinBoxTcpPort");
    httpPortBox = portSpinBox(networkTab, "spinBoxHttpPort");
    tcpPortBox->setEnabled(false);
    httpPortBox->setEnabled(false);
    networkUpdateButton = button(networkTab, "pushButtonNetworkUpdate");
    networkSaveButton = button(networkTab, "pushButtonNetworkSave");

    QWidget* fields[8] = {hostAddrEdit, submaskEdit, gatewayEdit, dns1Edit, dns2Edit, macEdit, tcpPortBox, httpPortBox};
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    for (int row = 0; row < 8; ++row) {
        networkLabels[row] = new QLabel(networkTab);
        grid->addWidget(networkLabels[row], row, 0, Qt::AlignRight);
        grid->addWidget(fields[row], row, 1);
    }
    grid->setColumnMinimumWidth(1, 260);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch();
    buttons->addWidget(networkUpdateButton);
    buttons->addWidget(networkSaveButton);
    buttons->addStretch();
    grid->addLayout(buttons, 8, 0, 1, 2);

    auto* centre = new QHBoxLayout;
    centre->addStretch();
    centre->addLayout(grid);
    centre->addStretch();
    auto* page = new QVBoxLayout(networkTab);
    page->addSpacing(20);
    page->addLayout(centre);
    page->addStretch();
}

void HisliconConfigForm::setupSourcesTab()
{
    sourcesTab = named(new QWidget(tabs), "tabVideoSource");
    sourceTree = named(new QTreeWidget(sourcesTab), "VideoSourceTree");
    addGroupButton = button(sourcesTab, "pushButtonAddGroup");
    addSourceButton = button(sourcesTab, "pushButtonAddSource");
    deleteButton = button(sourcesTab, "pushButtonDelete");
    importButton = button(sourcesTab, "pushButtonImport");
    exportButton = button(sourcesTab, "pushButtonExport");
    sourcesUpdateButton = button(sourcesTab, "pushButtonSourcesUpdate");
    sourcesSaveButton = button(sourcesTab, "pushButtonSourcesSave");

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {addGroupButton, addSourceButton, deleteButton, importButton, exportButton})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(sourcesUpdateButton);
    buttons->addWidget(sourcesSaveButton);
    auto* page = new QVBoxLayout(sourcesTab);
    page->addWidget(sourceTree, 1);
    page->addLayout(buttons);
}

void HisliconConfigForm::setupLogTab()
{
    logTab = named(new QWidget(tabs), "tabLog");
    logTypeBox = named(new QComboBox(logTab), "LogBox");
    logTypeBox->addItems({QString(), QString(), QString(), QString()});
    startLabel = new QLabel(logTab);
    endLabel = new QLabel(logTab);
    startEdit = named(new QDateTimeEdit(logTab), "dateTimeEditStart");
    endEdit = named(new QDateTimeEdit(logTab), "dateTimeEditEnd");
    for (QDateTimeEdit* edit : {startEdit, endEdit}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    findLogButton = button(logTab, "pushButtonFindLog");
    logTable = named(new QTableWidget(0, 4, logTab), "tableWidgetLog");
    logTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    logTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    logTable->verticalHeader()->setVisible(false);
    logTable->setAlternatingRowColors(true);
    logTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    logTable->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    logCountLabel = named(new QLabel(logTab), "labelLogCount");
    logPageLabel = named(new QLabel(logTab), "labelLogPage");
    pageUpButton = button(logTab, "pushButtonPageUp");
    pageDownButton = button(logTab, "pushButtonPageDown");
    pageUpButton->setText(QStringLiteral("<"));
    pageDownButton->setText(QStringLiteral(">"));

    auto* search = new QHBoxLayout;
    search->addWidget(logTypeBox);
    search->addSpacing(10);
    search->addWidget(startLabel);
    search->addWidget(startEdit);
    search->addWidget(endLabel);
    search->addWidget(endEdit);
    search->addWidget(findLogButton);
    search->addStretch();
    auto* paging = new QHBoxLayout;
    paging->addStretch();
    paging->addWidget(logCountLabel);
    paging->addSpacing(10);
    paging->addWidget(pageUpButton);
    paging->addWidget(logPageLabel);
    paging->addWidget(pageDownButton);
    auto* page = new QVBoxLayout(logTab);
    page->addLayout(search);
    page->addWidget(logTable, 1);
    page->addLayout(paging);
}

void HisliconConfigForm::setupMaintenanceTab()
{
    maintenanceTab = named(new QWidget(tabs), "tabMaintenance");
    restartGroup = named(new QGroupBox(maintenanceTab), "groupBoxRestart");
    restartLabel = new QLabel(restartGroup);
    restartButton = button(restartGroup, "pushButtonRestart");
    factoryGroup = named(new QGroupBox(maintenanceTab), "groupBoxFactory");
    factoryLabel = new QLabel(factoryGroup);
    factoryButton = button(factoryGroup, "pushButtonFactory");
    upgradeGroup = named(new QGroupBox(maintenanceTab), "groupBoxUpgrade");
    upgradeLabel = new QLabel(upgradeGroup);
    upgradeFileEdit = named(new QLineEdit(upgradeGroup), "lineEditUpgradeFile");
    upgradeFileEdit->setFixedWidth(300);
    browseButton = button(upgradeGroup, "pushButtonBrowse");
    upgradeButton = button(upgradeGroup, "pushButtonUpgrade");
    upgradeProgress = named(new QProgressBar(upgradeGroup), "progressBarUpgrade");
    upgradeProgress->hide();
    versionGroup = named(new QGroupBox(maintenanceTab), "groupBoxVersion");
    versionTitleLabel = new QLabel(versionGroup);
    versionLabel = named(new QLabel(versionGroup), "labelVersion");
    updateTimeTitleLabel = new QLabel(versionGroup);
    updateTimeLabel = named(new QLabel(versionGroup), "labelUpdateTime");

    auto rowOf = [](QGroupBox* group, QLabel* label, QPushButton* action) {
        auto* row = new QHBoxLayout(group);
        row->addWidget(label);
        row->addStretch();
        row->addWidget(action);
    };
    rowOf(restartGroup, restartLabel, restartButton);
    rowOf(factoryGroup, factoryLabel, factoryButton);

    auto* upgrade = new QVBoxLayout(upgradeGroup);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(upgradeLabel);
    fileRow->addWidget(upgradeFileEdit);
    fileRow->addWidget(browseButton);
    fileRow->addStretch();
    fileRow->addWidget(upgradeButton);
    upgrade->addLayout(fileRow);
    upgrade->addWidget(upgradeProgress);

    auto* version = new QGridLayout(versionGroup);
    version->addWidget(versionTitleLabel, 0, 0);
    version->addWidget(versionLabel, 0, 1);
    version->addWidget(updateTimeTitleLabel, 1, 0);
    version->addWidget(updateTimeLabel, 1, 1);
    version->setColumnStretch(1, 1);

    auto* page = new QVBoxLayout(maintenanceTab);
    for (QGroupBox* group : {restartGroup, factoryGroup, upgradeGroup, versionGroup})
        page->addWidget(group);
    page->addStretch();
}

void HisliconConfigForm::retranslateUi()
{
    stateTitleLabel->setText(tr("连接状态:"));
    ipTitleLabel->setText(tr("IP地址:"));
    portTitleLabel->setText(tr("端口:"));
    connectButton->setText(tr("连接"));
    updateIpButton->setText(tr("更新"));
    changeIpButton->setText(tr("修改"));

    tabs->setTabText(0, tr("网络设置"));
    tabs->setTabText(1, tr("视频源管理"));
    tabs->setTabText(2, tr("解码器控制"));
    tabs->setTabText(3, tr("日志信息"));
    tabs->setTabText(4, tr("升级维护"));

    const QString networkTexts[8] = {tr("IP地址:"), tr("子网掩码:"), tr("默认网关:"), tr("DNS1:"),
                                     tr("DNS2:"),   tr("MAC:"),      tr("TCP端口:"),  tr("HTTP端口:")};
    for (int row = 0; row < 8; ++row)
        networkLabels[row]->setText(networkTexts[row]);
    networkUpdateButton->setText(tr("更新配置"));
    networkSaveButton->setText(tr("保存配置"));

    addGroupButton->setText(tr("添加分组"));
    addSourceButton->setText(tr("添加视频源"));
    deleteButton->setText(tr("删除"));
    importButton->setText(tr("导入"));
    exportButton->setText(tr("导出"));
    sourcesUpdateButton->setText(tr("更新配置"));
    sourcesSaveButton->setText(tr("保存配置"));

    const QString logTypes[4] = {tr("全部类型"), tr("异常"), tr("操作"), tr("信息")};
    for (int i = 0; i < 4; ++i)
        logTypeBox->setItemText(i, logTypes[i]);
    startLabel->setText(tr("开始时间:"));
    endLabel->setText(tr("结束时间:"));
    findLogButton->setText(tr("查询"));
    logTable->setHorizontalHeaderLabels({tr("序号"), tr("类型"), tr("时间"), tr("内容")});

    restartGroup->setTitle(tr("重启设备"));
    restartLabel->setText(tr("重新启动设备"));
    restartButton->setText(tr("重启"));
    factoryGroup->setTitle(tr("恢复出厂设置"));
    factoryLabel->setText(tr("设备恢复默认参数"));
    factoryButton->setText(tr("恢复默认"));
    upgradeGroup->setTitle(tr("设备升级"));
    upgradeLabel->setText(tr("升级文件"));
    browseButton->setText(tr("浏览"));
    upgradeButton->setText(tr("升级"));
    versionGroup->setTitle(tr("版本信息"));
    versionTitleLabel->setText(tr("版本号:"));
    updateTimeTitleLabel->setText(tr("更新时间:"));
}
