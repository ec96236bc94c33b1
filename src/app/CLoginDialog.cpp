#include "app/CLoginDialog.h"

#include "core/CCHelper.h"
#include "app/CConSetDialog.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "app/CSelectCardTypeDialog.h"
#include "core/CUserManage.h"
#include "app/ClientConfig.h"
#include "app/DeviceInfoFetcher.h"
#include "app/DialogAnimations.h"
#include "app/DialogLayouts.h"
#include "framework/FBasePushButton.h"
#include "core/GlobalState.h"
#include "core/PasswordKey.h"
#include "core/PublicClass.h"
#include "framework/Utilities.h"
#include "platform/EventLoopDelay.h"
#include "platform/OwnerOnlyFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QScopedValueRollback>
#include <QSettings>
#include <QVBoxLayout>

CLoginDialog::CLoginDialog(QWidget* parent)
    : CMeetingBaseDialog(parent)
{
    setObjectName(QStringLiteral("Login"));
    initUI();
    connect(cancelButton, &QPushButton::clicked, this, &CLoginDialog::animationClose);
    connect(okButton, &QPushButton::clicked, this, &CLoginDialog::onOkButtonClicked);
    connect(conSetButton, &QPushButton::clicked, this, &CLoginDialog::onConSetButtonClicked);
    CCHelper* link = CCHelper::instance();
    connect(link, &CCHelper::clientConnectTimeout, this, &CLoginDialog::clientConnectTimeout);
    connect(link, &CCHelper::clientConnected, this, &CLoginDialog::clientConnected);
    initConfig();
}

CLoginDialog::~CLoginDialog()
{
    endBusy();
}

void CLoginDialog::initUI()
{
    presetSize = QSize(640, 480);
    setTitle(tr("登录"));

    titleLabel = new QLabel(tr("Corvanta"), this);
    titleLabel->setObjectName(QStringLiteral("LabelTitleName"));
    titleLabel->setAlignment(Qt::AlignCenter);
    versionLabel = new QLabel(QStringLiteral("2.0.3"), this);
    versionLabel->setObjectName(QStringLiteral("Version"));
    versionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    userEdit = new QLineEdit(this);
    passwordEdit = new QLineEdit(this);
    passwordEdit->setEchoMode(QLineEdit::Password);
    connect(passwordEdit, &QLineEdit::textEdited, this, [this] { rememberedPassword.clear(); });
    modelCombo = new QComboBox(this);

    rememberBox = new QCheckBox(tr("记住密码"), this);
    rememberBox->setFixedSize(140, 40);
    rememberBox->setStyleSheet(QStringLiteral(
        "QCheckBox{color:white;font-size:20px;}QCheckBox::indicator{width:30px;height:30px;}"));

    okButton = new FBasePushButton(tr("确定"), this);
    cancelButton = new FBasePushButton(tr("取消"), this);
    conSetButton = new FBasePushButton(tr("连接设置"), this);
    okButton->setDefault(true);

    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("LoginStatus"));
    statusLabel->setAlignment(Qt::AlignCenter);

    auto* heading = new QVBoxLayout;
    heading->setContentsMargins(20, 10, 20, 0);
    heading->addWidget(titleLabel);
    heading->addWidget(versionLabel);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(20, 10, 20, 10);
    grid->setSpacing(20);
    grid->addWidget(new QLabel(tr("账号："), this), 0, 0);
    grid->addWidget(userEdit, 0, 1);
    grid->addWidget(new QLabel(tr("密码："), this), 1, 0);
    grid->addWidget(passwordEdit, 1, 1);
    grid->addWidget(new QLabel(tr("型号："), this), 2, 0);
    grid->addWidget(modelCombo, 2, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(rememberBox);
    options->addStretch();
    options->addWidget(conSetButton);
    grid->addLayout(options, 3, 1);
    grid->setColumnStretch(1, 1);

    QHBoxLayout* buttons = DialogLayouts::centredButtons(okButton, cancelButton);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(40, 0, 40, 20);
    body->addLayout(heading);
    body->addLayout(grid);
    body->addWidget(statusLabel);
    body->addStretch();
    body->addLayout(buttons);
    contentLayout()->addLayout(body, 1);

    setTabOrder(userEdit, passwordEdit);
    setTabOrder(passwordEdit, modelCombo);
    setTabOrder(modelCombo, rememberBox);
    setTabOrder(rememberBox, conSetButton);
    setTabOrder(conSetButton, okButton);
    setTabOrder(okButton, cancelButton);
}

void CLoginDialog::initConfig()
{
    const QMetaEnum models = QMetaEnum::fromType<PublicClass::eDEVICE_TYPE>();
    for (int i = 0; i < models.keyCount(); ++i)
        modelCombo->addItem(QString::fromLatin1(models.key(i)).mid(1), models.value(i));
    readSettings();
}

void CLoginDialog::readSettings()
{
    QSettings settings(ClientConfig::path(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("CLIENT_INFO"));
    g_userName = settings.value(QStringLiteral("user_name"), ClientConfig::DefaultUser).toString();
    g_userPassword = settings.value(QStringLiteral("user_password"), ClientConfig::DefaultPassword).toString();
    const int model = settings.value(QStringLiteral("dev_type"), 0).toInt();
    const bool remember = settings.value(QStringLiteral("RememberPassWord"), false).toBool();
    settings.endGroup();

    settings.beginGroup(QStringLiteral("DEVICE_INFO"));
    g_connectionType = settings.value(QStringLiteral("dev_con_type"), 0).toInt();
    // The link ignores any other type without a signal, which would leave the login waiting.
    if (g_connectionType != 0 && g_connectionType != 1)
        g_connectionType = 0;
    g_deviceAddress = settings.value(QStringLiteral("dev_addr"), ClientConfig::DefaultAddress).toString();
    g_tcpPort = settings.value(QStringLiteral("dev_tcp_port"), ClientConfig::DefaultTcpPort).toInt();
    g_serialPortName = settings.value(QStringLiteral("dev_serial_port"), ClientConfig::DefaultSerialPort).toString();
    g_inCardTypes = settings.value(QStringLiteral("dev_incard_type")).toString();
    g_outCardTypes = settings.value(QStringLiteral("dev_outcard_type")).toString();
    settings.endGroup();

    userEdit->setText(g_userName);
    // A row out of range (a damaged file) falls back to the first model.
    modelCombo->setCurrentIndex(model >= 0 && model < modelCombo->count() ? model : 0);
    rememberBox->setChecked(remember);
    rememberedUser.clear();
    rememberedPassword.clear();
    if (remember) {
        passwordEdit->setText(g_userPassword);
        rememberedUser = g_userName;
        rememberedPassword = g_userPassword;
    }
}

void CLoginDialog::writeSettings()
{
    // It holds the password transform: private before the first byte of it is written.
    makeOwnerOnly(ClientConfig::path());
    QSettings settings(ClientConfig::path(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("CLIENT_INFO"));
    settings.setValue(QStringLiteral("user_name"), g_userName);
    // The stored transform opens the account on the remembered path: kept only when asked to.
    settings.setValue(QStringLiteral("user_password"), rememberBox->isChecked() ? g_userPassword : QString());
    settings.setValue(QStringLiteral("dev_type"), modelCombo->currentIndex());
    settings.setValue(QStringLiteral("RememberPassWord"), rememberBox->isChecked());
    settings.endGroup();
    settings.beginGroup(QStringLiteral("DEVICE_INFO"));
    settings.setValue(QStringLiteral("dev_incard_type"), g_inCardTypes);
    settings.setValue(QStringLiteral("dev_outcard_type"), g_outCardTypes);
    settings.endGroup();
    settings.sync();
}

int CLoginDialog::checkUser(QString name, QString password, bool storedForm)
{
    const User_Info user = CUserManage::instance()->findForLogin(name);
    if (user.Id < 0)
        return 0;
    // From here on the stored name, never the text typed: it keys the transform and is remembered.
    const QString storedName = user.userName();
    const QString stored = user.passWord();
    // Typed, the stored text is no password: whoever can read UserConfig.dat would know them all.
    if (stored != passwordTransform(storedName, password) && !(storedForm && stored == password))
        return 2;
    g_currentUserId = user.Id;
    g_isAdministrator = user.Group == 0 ? 1 : 0;
    g_userName = storedName;
    g_userPassword = stored;
    return 1;
}

void CLoginDialog::onOkButtonClicked()
{
    // The status texts pump events: a second click queued behind this one (a double click, Enter
    // twice) would otherwise connect and fetch a second time, even after the login was accepted.
    if (verifying || connecting || loggedIn)
        return;
    QScopedValueRollback<bool> busy(verifying, true);
    const QString name = userEdit->text().trimmed();
    if (name.isEmpty()) {
        CMeetingMessageBoxDialog::showError(tr("用户名不能为空！"));
        userEdit->setFocus();
        return;
    }
    if (passwordEdit->text().trimmed().isEmpty()) {
        CMeetingMessageBoxDialog::showError(tr("密码不能为空！"));
        passwordEdit->setFocus();
        return;
    }
    switch (checkUser(name, passwordEdit->text(), isRememberedLogin(name))) {
    case 0:
        displayMessage(tr("账号不存在..."));
        userEdit->setFocus();
        return;
    case 2:
        displayMessage(tr("密码不正确..."));
        passwordEdit->setFocus();
        return;
    default:
        displayMessage(tr("账号密码验证通过"));
        displayMessage(tr("正在登录..."));
        break;
    }

    g_deviceModel = modelCombo->currentData().toInt();
    if (!cursorOverridden) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorOverridden = true;
    }
    setEnabled(false);
    connecting = true;
    CCHelper::instance()->connectToDevice(g_connectionType, g_deviceAddress, g_tcpPort, g_serialPortName);
}

bool CLoginDialog::isRememberedLogin(const QString& name) const
{
    // The remembered user is a stored name; the one typed may only read as it.
    return !rememberedPassword.isEmpty() && passwordEdit->text() == rememberedPassword
           && CUserManage::instance()->findForLogin(name).userName() == rememberedUser;
}

void CLoginDialog::endBusy()
{
    setEnabled(true);
    if (cursorOverridden) {
        QApplication::restoreOverrideCursor();
        cursorOverridden = false;
    }
}

void CLoginDialog::clientConnected()
{
    if (!connecting)
        return;
    connecting = false;
    displayMessage(tr("连接设备成功"));
    delayMs(200);
    getDeviceInfo();
}

void CLoginDialog::clientConnectTimeout()
{
    if (!connecting)
        return;
    connecting = false;
    displayMessage(tr("连接设备失败..."));
    CCHelper::instance()->disConnectToDevice();
    endBusy();
}

void CLoginDialog::getDeviceInfo()
{
    DeviceInfoFetcher fetcher([this](const QString& text) { displayMessage(text); });
    fetcher.run();
    selectCardType();
}

void CLoginDialog::selectCardType()
{
    CSelectCardTypeDialog dialog(nullptr);
    endBusy();
    if (dialog.exec() == QDialog::Accepted) {
        loggedIn = true;
        animationClose();
    } else {
        CCHelper::instance()->disConnectToDevice();
    }
}

void CLoginDialog::onConSetButtonClicked()
{
    // Re-reading the settings in the middle of a login would put back the stored user name.
    if (verifying || connecting)
        return;
    CConSetDialog dialog(nullptr);
    if (dialog.exec() == QDialog::Accepted)
        readSettings();
}

void CLoginDialog::displayMessage(QString str)
{
    qDebug() << str;
    statusLabel->setText(str);
    PumpingWaits::processPendingEvents();
}

void CLoginDialog::animationClose()
{
    if (sender() == cancelButton)
        loggedIn = false;
    if (loggedIn)
        writeSettings();
    CMeetingBaseDialog::animationClose();
}

void CLoginDialog::closeEvent(QCloseEvent* event)
{
    if (loggedIn)
        done(QDialog::Accepted);
    else
        reject();
    event->accept();
}

void CLoginDialog::showEvent(QShowEvent* event)
{
    DialogAnimations::dropInCentred(this, presetSize);
    QDialog::showEvent(event);
    qDebug() << "login dialog shown";
}
