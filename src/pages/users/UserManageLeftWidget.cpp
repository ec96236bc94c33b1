#include "pages/users/UserManageLeftWidget.h"

#include "core/AccountRules.h"
#include "core/CUserManage.h"
#include "core/PasswordChange.h"
#include "core/PasswordKey.h"
#include "core/UserBackup.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/SaveFileDialog.h"
#include "pagekit/NamedButton.h"
#include "pagekit/PasswordChangeReport.h"
#include "pagekit/StyledBackground.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

UserManageLeftWidget::UserManageLeftWidget(QWidget* parent)
    : QWidget(parent)
    , userName(new QLineEdit(this))
    , password(new QLineEdit(this))
    , table(new QTableWidget(0, 1, this))
{
    setObjectName(QStringLiteral("UserManageLeftWidget"));
    userName->setObjectName(QStringLiteral("lineEditUserName"));
    password->setObjectName(QStringLiteral("lineEditUserPassword"));
    password->setEchoMode(QLineEdit::PasswordEchoOnEdit);

    auto* form = new QFormLayout;
    form->addRow(tr("用户名："), userName);
    form->addRow(tr("密码："), password);

    auto* addButton = namedButton(tr("新增用户"), QStringLiteral("pushButtonAddUser"), this);
    auto* changeButton = namedButton(tr("修改密码"), QStringLiteral("pushButtonChangePassword"), this);
    auto* deleteButton = namedButton(tr("删除用户"), QStringLiteral("pushButtonDeleteUser"), this);
    auto* importButton = namedButton(tr("导入"), QStringLiteral("pushButtonImport"), this);
    auto* exportButton = namedButton(tr("导出"), QStringLiteral("pushButtonExport"), this);

    table->setObjectName(QStringLiteral("tableWidgetUser"));
    table->setHorizontalHeaderLabels({tr("用户列表")});
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    table->setFocusPolicy(Qt::NoFocus);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto* backup = new QHBoxLayout;
    backup->addWidget(importButton);
    backup->addWidget(exportButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(form);
    layout->addWidget(addButton);
    layout->addWidget(changeButton);
    layout->addWidget(deleteButton);
    layout->addWidget(table, 1);
    layout->addLayout(backup);

    connect(addButton, &QPushButton::clicked, this, &UserManageLeftWidget::on_pushButtonAddUser_clicked);
    connect(changeButton, &QPushButton::clicked, this, &UserManageLeftWidget::on_pushButtonChangePassword_clicked);
    connect(deleteButton, &QPushButton::clicked, this, &UserManageLeftWidget::on_pushButtonDeleteUser_clicked);
    connect(table, &QTableWidget::cellClicked, this, &UserManageLeftWidget::on_tableWidgetUser_cellClicked);
    connect(importButton, &QPushButton::clicked, this, &UserManageLeftWidget::on_pushButtonImport_clicked);
    connect(exportButton, &QPushButton::clicked, this, &UserManageLeftWidget::on_pushButtonExport_clicked);

    initUserTable();
}

void UserManageLeftWidget::initUserTable()
{
    table->clearContents();
    table->setRowCount(0);
    for (const User_Info& user : CUserManage::instance()->getUserList()) {
        if (user.Group != 0)
            appendRow(user.Id, user.userName());
    }
}

void UserManageLeftWidget::appendRow(qint64 id, const QString& name)
{
    auto* item = new QTableWidgetItem(name);
    item->setTextAlignment(Qt::AlignCenter);
    item->setData(Qt::UserRole, id);
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, item);
}

qint64 UserManageLeftWidget::currentId() const
{
    const QTableWidgetItem* item = table->item(table->currentRow(), 0);
    return item ? item->data(Qt::UserRole).toLongLong() : -1;
}

void UserManageLeftWidget::on_pushButtonAddUser_clicked()
{
    const QString name = userName->text().trimmed();
    const QString secret = password->text().trimmed();
    if (name.isEmpty()) {
        CMeetingMessageBoxDialog::showError(AccountRules::nameRefusal(AccountRules::Verdict::Empty));
        return;
    }
    if (secret.isEmpty()) {
        CMeetingMessageBoxDialog::showError(AccountRules::passwordRefusal(AccountRules::Verdict::Empty));
        return;
    }
    CUserManage* store = CUserManage::instance();
    // Taken also by a name that only looks the same (another kind of space, an invisible character).
    if (store->isNameTaken(name)) {
        CMeetingMessageBoxDialog::showError(tr("用户名已存在!"));
        return;
    }
    if (const auto verdict = AccountRules::checkNewName(name); verdict != AccountRules::Verdict::Ok) {
        CMeetingMessageBoxDialog::showError(AccountRules::nameRefusal(verdict));
        return;
    }
    if (const auto verdict = AccountRules::checkNewPassword(secret); verdict != AccountRules::Verdict::Ok) {
        CMeetingMessageBoxDialog::showError(AccountRules::passwordRefusal(verdict));
        return;
    }
    User_Info user;
    user.Id = store->newId(QDateTime::currentMSecsSinceEpoch());
    user.Group = 1;
    user.setUserName(name);
    user.setPassWord(passwordTransform(name, secret));
    if (!store->add(user)) {
        CMeetingMessageBoxDialog::showError(tr("新增用户失败！"));
        return;
    }
    appendRow(user.Id, name);
    const int row = table->rowCount() - 1;
    table->selectRow(row);
    on_tableWidgetUser_cellClicked(row, 0);
    CMeetingMessageBoxDialog::showInformation(tr("新增用户成功！"));
}

void UserManageLeftWidget::on_pushButtonChangePassword_clicked()
{
    const qint64 id = currentId();
    if (id < 0) {
        CMeetingMessageBoxDialog::showError(tr("请从列表中选择一个用户！"));
        return;
    }
    reportPasswordChange(PasswordChange().change(id, password->text()));
}

void UserManageLeftWidget::on_pushButtonDeleteUser_clicked()
{
    const qint64 id = currentId();
    if (id < 0) {
        CMeetingMessageBoxDialog::showError(tr("请从列表中选择一个用户！"));
        return;
    }
    if (!CUserManage::instance()->del(id)) {
        CMeetingMessageBoxDialog::showError(tr("删除用户失败！"));
        return;
    }
    table->removeRow(table->currentRow());
    CMeetingMessageBoxDialog::showInformation(tr("删除用户成功！"));
    if (table->rowCount() > 0) {
        table->selectRow(0);
        on_tableWidgetUser_cellClicked(0, 0);
    } else {
        showNoUser();
    }
}

void UserManageLeftWidget::on_tableWidgetUser_cellClicked(int row, int)
{
    const QTableWidgetItem* item = table->item(row, 0);
    if (!item) {
        CMeetingMessageBoxDialog::showError(tr("请从列表中选择一个用户！"));
        return;
    }
    const qint64 id = item->data(Qt::UserRole).toLongLong();
    userName->setText(CUserManage::instance()->getUserById(id).userName());
    password->clear();
    emit UserItemSelected(id);
}

void UserManageLeftWidget::showNoUser()
{
    table->clearSelection();
    table->setCurrentCell(-1, -1);
    userName->clear();
    password->clear();
    emit UserItemSelected(-1);
}

void UserManageLeftWidget::on_pushButtonExport_clicked()
{
    const QString target = saveFileName(this, tr("导出配置"), QStringLiteral("."), tr("备份文件(*.bak)"), QStringLiteral("bak"));
    if (target.isEmpty())
        return;
    QString reason;
    if (UserBackup::exportDatabase(target, &reason))
        CMeetingMessageBoxDialog::showInformation(tr("导出配置成功！"));
    else
        CMeetingMessageBoxDialog::showError(reason.isEmpty() ? tr("导出配置失败！")
                                                             : tr("导出配置失败！") + QLatin1Char('\n') + reason);
}

void UserManageLeftWidget::on_pushButtonImport_clicked()
{
    const QString source = QFileDialog::getOpenFileName(this, tr("导入配置"), QStringLiteral("."), tr("备份文件(*.bak)"));
    if (source.isEmpty())
        return;
    QString reason;
    if (!UserBackup::importDatabase(source, CUserManage::instance(), &reason)) {
        CMeetingMessageBoxDialog::showError(tr("导入配置失败！") + QLatin1Char('\n') + reason);
        return;
    }
    initUserTable();
    // The right pane would save its boxes, from before the import, over the imported rights.
    showNoUser();
    CMeetingMessageBoxDialog::showInformation(tr("导入配置成功！"));
}

void UserManageLeftWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
