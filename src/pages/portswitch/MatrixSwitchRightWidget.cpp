#include "pages/portswitch/MatrixSwitchRightWidget.h"

#include "core/CUserManage.h"
#include "core/GlobalState.h"
#include "core/MatrixModel.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "pagekit/NamedButton.h"
#include "pagekit/PageModel.h"
#include "pagekit/PortGrid.h"
#include "pagekit/PortRangeBar.h"
#include "pagekit/StyledBackground.h"
#include "pagekit/WaitMaskGuard.h"
#include "pages/portswitch/PortSwitcher.h"

#include <QButtonGroup>
#include <QDebug>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

MatrixSwitchRightWidget::MatrixSwitchRightWidget(QWidget* parent)
    : QWidget(parent)
    , inputs(new PortGrid(PortGrid::Kind::RadioButtons, QStringLiteral("widgetInput"),
                          QStringLiteral("gridLayoutInput"), this))
    , outputs(new PortGrid(PortGrid::Kind::CheckBoxes, QStringLiteral("widgetOutput"),
                           QStringLiteral("gridLayoutOutput"), this))
{
    setObjectName(QStringLiteral("MatrixSwitchRightWidget"));
    resize(895, 743);

    auto* inputBox = new QGroupBox(tr("输入"), this);
    auto* inputLayout = new QVBoxLayout(inputBox);
    inputLayout->addWidget(inputs);

    auto* outputBox = new QGroupBox(tr("输出"), this);
    auto* outputLayout = new QVBoxLayout(outputBox);
    outputLayout->addWidget(new PortRangeBar(outputs, QString(), outputBox));
    outputLayout->addWidget(outputs);

    auto* okButton = namedButton(tr("确认切换"), QStringLiteral("pushButtonOk"), this);
    auto* closeButton = namedButton(tr("关闭所选"), QStringLiteral("pushButtonClose"), this);
    closeAllButton = namedButton(tr("关闭所有"), QStringLiteral("pushButtonCloseAll"), this);
    auto* actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(okButton);
    actions->addWidget(closeButton);
    actions->addWidget(closeAllButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(inputBox);
    layout->addWidget(outputBox);
    layout->addLayout(actions);
    layout->addStretch();

    // Close all exists for administrators only: hidden, and refused should it be reached anyway.
    closeAllButton->setVisible(g_isAdministrator == 1);
    // All 160 buttons stay; those beyond the matrix's ports are never usable.
    inputs->setPortCount(g_deviceModel);
    outputs->setPortCount(g_deviceModel);

    initConfig();
    connect(inputs->group(), qOverload<QAbstractButton*>(&QButtonGroup::buttonClicked), this,
            &MatrixSwitchRightWidget::buttonGroupInput_buttonClicked);
    connect(okButton, &QPushButton::clicked, this, &MatrixSwitchRightWidget::on_pushButtonOk_clicked);
    connect(closeButton, &QPushButton::clicked, this, &MatrixSwitchRightWidget::on_pushButtonClose_clicked);
    connect(closeAllButton, &QPushButton::clicked, this, &MatrixSwitchRightWidget::on_pushButtonCloseAll_clicked);
}

void MatrixSwitchRightWidget::initConfig()
{
    user = CUserManage::instance()->getUserById(g_currentUserId);
    if (user.Id < 0) {
        qWarning().noquote() << QStringLiteral("获取用户信息失败！");
        return;
    }
    inputs->applyRights(user.inputRights);
    outputs->applyRights(user.outputRights);
}

void MatrixSwitchRightWidget::buttonGroupInput_buttonClicked(QAbstractButton* button)
{
    showOutputsOf(inputs->group()->id(button));
}

void MatrixSwitchRightWidget::showOutputsOf(int input)
{
    outputs->clearAll();
    if (input < 0) {
        qWarning().noquote() << QStringLiteral("请选择输入！");
        return;
    }
    for (int output : PageModel::model()->outputsOfInput(input))
        outputs->setPortChecked(output, true);
}

void MatrixSwitchRightWidget::on_pushButtonOk_clicked()
{
    if (switching)
        return;
    const int input = inputs->checkedPort();
    if (input < 0) {
        CMeetingMessageBoxDialog::showError(tr("请选择输入！"));
        return;
    }
    const QList<int> selected = outputs->selectedPorts();
    if (selected.isEmpty()) {
        CMeetingMessageBoxDialog::showError(tr("请选择输出！"));
        return;
    }
    runUnderOverlay([&](PortSwitcher& switcher) { switcher.switchOutputs(input, selected); });
}

void MatrixSwitchRightWidget::on_pushButtonClose_clicked()
{
    if (switching)
        return;
    const QList<int> selected = outputs->selectedPorts();
    if (selected.isEmpty()) {
        CMeetingMessageBoxDialog::showError(tr("请选择输出！"));
        return;
    }
    runUnderOverlay([&](PortSwitcher& switcher) { switcher.closeOutputs(selected); });
    showOutputsOf(inputs->checkedPort());
}

void MatrixSwitchRightWidget::runUnderOverlay(const std::function<void(PortSwitcher&)>& operation)
{
    QScopedValueRollback<bool> busy(switching, true);
    WaitMaskGuard guard;
    PortSwitcher switcher(PageModel::model());
    switcher.setRights(user.inputRights, user.outputRights);
    operation(switcher);
}

void MatrixSwitchRightWidget::on_pushButtonCloseAll_clicked()
{
    if (switching || g_isAdministrator != 1)
        return;
    if (PortSwitcher(PageModel::model()).closeAll())
        outputs->clearAll();
}

void MatrixSwitchRightWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
