#include "pages/users/UserManageRightWidget.h"

#include "core/CUserManage.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "pagekit/NamedButton.h"
#include "pagekit/PortGrid.h"
#include "pagekit/PortRangeBar.h"
#include "pagekit/StyledBackground.h"

#include <QDebug>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QGroupBox* gridBox(const QString& title, PortGrid* grid, const QString& suffix, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(new PortRangeBar(grid, suffix, box));
    layout->addWidget(grid);
    return box;
}

} // namespace

UserManageRightWidget::UserManageRightWidget(QWidget* parent)
    : QWidget(parent)
    , userName(new QLineEdit(this))
    , inputs(new PortGrid(PortGrid::Kind::CheckBoxes, QStringLiteral("widgetInput"),
                          QStringLiteral("gridLayoutInput"), this))
    , outputs(new PortGrid(PortGrid::Kind::CheckBoxes, QStringLiteral("widgetOutput"),
                           QStringLiteral("gridLayoutOutput"), this))
{
    setObjectName(QStringLiteral("UserManageRightWidget"));
    resize(895, 743);
    userName->setObjectName(QStringLiteral("lineEditUserName"));
    userName->setReadOnly(true);

    auto* current = new QHBoxLayout;
    current->addWidget(new QLabel(tr("当前用户："), this));
    current->addWidget(userName);
    current->addStretch();

    auto* saveButton = namedButton(tr("保存设置"), QStringLiteral("pushButtonOk"), this);
    auto* actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(saveButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(current);
    layout->addWidget(gridBox(tr("输入"), inputs, QStringLiteral("_2"), this));
    layout->addWidget(gridBox(tr("输出"), outputs, QString(), this));
    layout->addLayout(actions);
    layout->addStretch();

    connect(saveButton, &QPushButton::clicked, this, &UserManageRightWidget::on_pushButtonOk_clicked);
}

void UserManageRightWidget::widgetLeft_UserItemSelected(qlonglong id)
{
    inputs->clearAll();
    outputs->clearAll();
    selectedId = -1;
    userName->clear();
    const User_Info user = CUserManage::instance()->getUserById(id);
    if (user.Id < 0) {
        qWarning().noquote() << QStringLiteral("获取用户信息失败！");
        return;
    }
    selectedId = user.Id;
    userName->setText(user.userName());
    // A port without an entry is one the port-switch page lets the user use: shown checked.
    inputs->showRights(user.inputRights);
    outputs->showRights(user.outputRights);
}

void UserManageRightWidget::on_pushButtonOk_clicked()
{
    User_Info user = CUserManage::instance()->getUserById(selectedId);
    if (user.Id < 0) {
        CMeetingMessageBoxDialog::showError(tr("获取用户信息失败！"));
        return;
    }
    user.inputRights = inputs->checkedMap();
    user.outputRights = outputs->checkedMap();
    if (CUserManage::instance()->edit(user, true))
        CMeetingMessageBoxDialog::showInformation(tr("保存设置成功！"));
    else
        CMeetingMessageBoxDialog::showError(tr("保存设置失败！"));
}

void UserManageRightWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
