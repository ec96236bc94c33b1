#include "pages/portswitch/MatrixSwitchLeftWidget.h"

#include "core/CUserManage.h"
#include "core/CardInfo.h"
#include "core/GlobalState.h"
#include "core/MatrixModel.h"
#include "pagekit/MInputListWidget.h"
#include "pagekit/NamedButton.h"
#include "pagekit/PageModel.h"
#include "pagekit/PasswordChangeReport.h"
#include "pagekit/PortListRules.h"
#include "pagekit/StyledBackground.h"

#include <QButtonGroup>
#include <QDebug>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* passwordEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    return edit;
}

QPushButton* listButton(const QString& text, const QString& name, QWidget* parent)
{
    QPushButton* button = namedButton(text, name, parent);
    button->setCheckable(true);
    return button;
}

int cardType(const CardInfo& record, const QString& side)
{
    return record.value(side).toObject().value(CardKey::CardType).toInt(0);
}

} // namespace

MatrixSwitchLeftWidget::MatrixSwitchLeftWidget(QWidget* parent)
    : QWidget(parent)
    , userName(new QLineEdit(this))
    , oldPassword(passwordEdit(QStringLiteral("lineEditPasswordOld"), this))
    , newPassword(passwordEdit(QStringLiteral("lineEditPasswordNew"), this))
    , stack(new QStackedWidget(this))
    , inputList(new MInputListWidget(stack))
    , outputList(new MInputListWidget(stack))
{
    setObjectName(QStringLiteral("MatrixSwitchLeftWidget"));
    resize(196, 511);
    userName->setObjectName(QStringLiteral("lineEditUserName"));
    userName->setReadOnly(true);
    userName->setEnabled(false);

    auto* form = new QFormLayout;
    form->addRow(tr("用户名："), userName);
    form->addRow(tr("原密码："), oldPassword);
    form->addRow(tr("新密码："), newPassword);

    auto* changeButton = namedButton(tr("修改密码"), QStringLiteral("pushButtonChangePassword"), this);
    auto* inputButton = listButton(tr("输入列表"), QStringLiteral("pushButtonInput"), this);
    auto* outputButton = listButton(tr("输出列表"), QStringLiteral("pushButtonOutput"), this);
    auto* buttonGroup = new QButtonGroup(this);
    buttonGroup->setObjectName(QStringLiteral("buttonGroup"));
    buttonGroup->addButton(inputButton);
    buttonGroup->addButton(outputButton);
    auto* listButtons = new QHBoxLayout;
    listButtons->setSpacing(0);
    listButtons->addWidget(inputButton);
    listButtons->addWidget(outputButton);

    stack->setObjectName(QStringLiteral("stackedWidget"));
    inputList->setTitle(tr("输入列表"), false);
    outputList->setTitle(tr("输出列表"), false);
    stack->addWidget(inputList);
    stack->addWidget(outputList);

    // The lists are as wide as the pane; the fields above them keep a margin.
    auto* account = new QVBoxLayout;
    account->setContentsMargins(6, 6, 6, 6);
    account->addLayout(form);
    account->addWidget(changeButton);
    account->addLayout(listButtons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(account);
    layout->addWidget(stack, 1);

    connect(changeButton, &QPushButton::clicked, this, &MatrixSwitchLeftWidget::on_pushButtonChangePassword_clicked);
    connect(inputButton, &QPushButton::clicked, this, &MatrixSwitchLeftWidget::on_pushButtonInput_clicked);
    connect(outputButton, &QPushButton::clicked, this, &MatrixSwitchLeftWidget::on_pushButtonOutput_clicked);
    inputButton->click();
}

void MatrixSwitchLeftWidget::initConfig(bool update)
{
    const User_Info user = CUserManage::instance()->getUserById(g_currentUserId);
    if (user.Id < 0)
        qWarning().noquote() << QStringLiteral("获取用户信息失败！");
    userName->setText(user.userName());

    const MatrixModel* model = PageModel::model();
    for (int port = 0; port < g_deviceModel; ++port) {
        const CardInfo record = model->hasCard(port) ? model->getCardInfo(port) : CardInfo{{CardKey::Id, port}};
        if (PortListRules::inputListed(cardType(record, CardKey::InCard), port))
            inputList->setCardItem(port, record, 0, update);
        if (PortListRules::outputListed(cardType(record, CardKey::OutCard), port))
            outputList->setCardItem(port, record, 1, update);
    }
}

void MatrixSwitchLeftWidget::on_pushButtonChangePassword_clicked()
{
    changeOwnPassword(newPassword->text(), oldPassword->text());
}

void MatrixSwitchLeftWidget::on_pushButtonInput_clicked()
{
    stack->setCurrentIndex(0);
}

void MatrixSwitchLeftWidget::on_pushButtonOutput_clicked()
{
    stack->setCurrentIndex(1);
}

void MatrixSwitchLeftWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
