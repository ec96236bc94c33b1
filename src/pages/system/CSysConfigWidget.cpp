#include "pages/system/CSysConfigWidget.h"

#include "core/CCHelper.h"
#include "core/DeviceTextCommands.h"
#include "core/GlobalState.h"
#include "core/MatrixCommands.h"
#include "core/PublicClass.h"
#include "framework/EditTeardown.h"
#include "framework/FIpAddrEdit.h"
#include "pagekit/NamedButton.h"
#include "pagekit/PasswordChangeReport.h"
#include "pagekit/ProcessSingleton.h"
#include "pagekit/StyledBackground.h"
#include "pages/system/DeviceTextValidator.h"
#include "platform/ConfigFiles.h"
#include "platform/LanguageSetting.h"
#include "platform/LocalCodePage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTextCursor>
#include <QTextEdit>
#include <QTime>
#include <QVBoxLayout>

namespace {

const QString languageKey = QStringLiteral("CLIENT_INFO/Language");
const QString nameKey = QStringLiteral("DEVICE_INFO/dev_Name");
const QString modelKey = QStringLiteral("DEVICE_INFO/dev_Type");

QLineEdit* lineEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

// The model's name as the front panel shows it: "16x16" for the 16-port matrix.
QString defaultDeviceText()
{
    const char* key = QMetaEnum::fromType<PublicClass::eDEVICE_TYPE>().valueToKey(g_deviceModel);
    return key ? QString::fromLatin1(key).mid(1) : QString();
}

// The locale name the start-up reads back: 0 Simplified Chinese, 2 English, else Traditional.
QString localeNameOf(int languageIndex)
{
    switch (languageIndex) {
    case 0: return QStringLiteral("zh_CN");
    case 2: return QStringLiteral("en_US");
    default: return QStringLiteral("zh_TW");
    }
}

} // namespace

CSysConfigWidget* CSysConfigWidget::instance()
{
    return ProcessSingleton<CSysConfigWidget>::instance();
}

CSysConfigWidget::CSysConfigWidget(QWidget* parent)
    : QWidget(parent)
    , modelEdit(lineEdit(QStringLiteral("lineEditDeviceType"), this))
    , nameEdit(lineEdit(QStringLiteral("lineEditDeviceName"), this))
    , accountEdit(lineEdit(QStringLiteral("lineEditAccount"), this))
    , passwordEdit(lineEdit(QStringLiteral("lineEditPassword"), this))
    , changePasswordButton(namedButton(tr("修改密码"), QStringLiteral("pushButtonChangePassword"), this))
    , addressEdit(new FIpAddrEdit(this))
    , languageBox(new QComboBox(this))
    , portEdit(lineEdit(QStringLiteral("lineEditPort"), this))
    , codeEdit(lineEdit(QStringLiteral("lineEditSendCode"), this))
    , sendButton(namedButton(tr("发送"), QStringLiteral("pushButtonSendCode"), this))
    , logView(new QTextEdit(this))
    , clearButton(namedButton(tr("清除窗口"), QStringLiteral("pushButtonClearLog"), this))
{
    setObjectName(QStringLiteral("SysConfigWidget"));
    // The offsets of the two commands refuse different characters: one validator each.
    modelEdit->setValidator(new DeviceTextValidator(DeviceTextCommands::ModelOffset, modelEdit));
    nameEdit->setValidator(new DeviceTextValidator(DeviceTextCommands::NameOffset, nameEdit));
    modelEdit->setMaxLength(DeviceTextCommands::MaxBytes);
    nameEdit->setMaxLength(DeviceTextCommands::MaxBytes);
    accountEdit->setReadOnly(true);
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setMaxLength(12);
    addressEdit->setObjectName(QStringLiteral("ipAddrEdit"));
    addressEdit->setEnabled(false);
    portEdit->setEnabled(false);
    languageBox->setObjectName(QStringLiteral("comboBoxLanguage"));
    languageBox->addItems({tr("中文简体"), tr("中文繁體"), tr("English")});
    logView->setObjectName(QStringLiteral("textEditLog"));
    logView->setReadOnly(true);
}

CSysConfigWidget::~CSysConfigWidget()
{
    disconnectFinishedEdits(this);
    if (initialised && isVisible())
        writeSettings();
}

void CSysConfigWidget::initConfig(bool update)
{
    if (update || initialised)
        return;
    layOut();
    CCHelper* link = CCHelper::instance();
    connect(link, &CCHelper::clientDisConnected, this, &CSysConfigWidget::clientDisConnected);
    connect(link, &CCHelper::clientConnectTimeout, this, &CSysConfigWidget::clientConnectTimeout);
    connect(link, &CCHelper::clientConnected, this, &CSysConfigWidget::clientConnected);
    connect(link, &CCHelper::message, this, &CSysConfigWidget::displayMessage);
    connect(changePasswordButton, &QPushButton::clicked, this, &CSysConfigWidget::on_pushButtonChangePassword_clicked);
    connect(sendButton, &QPushButton::clicked, this, &CSysConfigWidget::on_pushButtonSendCode_clicked);
    connect(clearButton, &QPushButton::clicked, this, &CSysConfigWidget::on_pushButtonClearLog_clicked);
    connect(nameEdit, &QLineEdit::editingFinished, this, &CSysConfigWidget::onDeviceNameChanged);
    connect(modelEdit, &QLineEdit::editingFinished, this, &CSysConfigWidget::onDeviceTypeChanged);
    initialised = true;
    if (isVisible())
        readSettings();
}

void CSysConfigWidget::layOut()
{
    auto* grid = new QGridLayout;
    grid->setSpacing(10);
    grid->setContentsMargins(10, 0, 10, 0);
    const auto caption = [this, grid](const QString& text, int row) {
        grid->addWidget(new QLabel(text, this), row, 0, Qt::AlignRight | Qt::AlignVCenter);
    };
    caption(tr("型号："), 0);
    grid->addWidget(modelEdit, 0, 1, 1, 3);
    caption(tr("名称："), 1);
    grid->addWidget(nameEdit, 1, 1, 1, 3);
    caption(tr("管理账号："), 2);
    grid->addWidget(accountEdit, 2, 1, 1, 3);
    caption(tr("管理员密码："), 3);
    grid->addWidget(passwordEdit, 3, 1, 1, 3);
    grid->addWidget(changePasswordButton, 3, 4);
    caption(tr("IP地址："), 6);
    grid->addWidget(addressEdit, 6, 1, 1, 3);
    caption(tr("端口号："), 7);
    grid->addWidget(portEdit, 7, 1, 1, 3);
    caption(tr("语言："), 8);
    grid->addWidget(languageBox, 8, 1, 1, 3);
    caption(tr("发送代码："), 9);
    grid->addWidget(codeEdit, 9, 1, 1, 7);
    grid->addWidget(sendButton, 9, 9);
    caption(tr("反馈信息："), 10);
    grid->addWidget(logView, 10, 1, 1, 7);
    grid->addWidget(clearButton, 10, 9, Qt::AlignTop);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addLayout(grid);
    row->addStretch(5);
    auto* page = new QVBoxLayout(this);
    page->addSpacing(10);
    page->addLayout(row);
    page->addStretch();
}

void CSysConfigWidget::readSettings()
{
    accountEdit->setText(g_userName);
    addressEdit->setText(g_deviceAddress);
    portEdit->setText(QString::number(g_tcpPort));
    const QSettings settings(ConfigFiles::clientConfig(), QSettings::IniFormat);
    const int language = settings.value(languageKey, 0).toInt();
    languageBox->setCurrentIndex(language >= 0 && language < languageBox->count() ? language : 0);
    showDeviceText(nameEdit, &filledName, settings.value(nameKey, defaultDeviceText()).toString());
    showDeviceText(modelEdit, &filledModel, settings.value(modelKey, defaultDeviceText()).toString());
}

void CSysConfigWidget::showDeviceText(QLineEdit* field, QString* filledWith, const QString& text)
{
    // Earlier builds stored texts longer than the matrix takes. Cut to the field's length, such a
    // text would differ from the stored one and go out as soon as the focus passed through the
    // field. Shown whole, it goes out only once the operator has brought it within the limit (the
    // validator holds it back until then); once sent, the field takes no more than the matrix.
    field->setMaxLength(qMax(int(DeviceTextCommands::MaxBytes), text.size()));
    field->setText(text);
    *filledWith = text;
}

void CSysConfigWidget::writeSettings()
{
    const int language = languageBox->currentIndex();
    QSettings settings(ConfigFiles::clientConfig(), QSettings::IniFormat);
    settings.setValue(languageKey, language);
    settings.sync();
    LanguageSetting::write(localeNameOf(language));
}

void CSysConfigWidget::on_pushButtonChangePassword_clicked()
{
    changeOwnPassword(passwordEdit->text());
}

void CSysConfigWidget::on_pushButtonSendCode_clicked()
{
    const QString code = codeEdit->text().trimmed();
    if (code.isEmpty())
        return;
    append(Sent, code);
    const QStringList lost = LocalCodePage::unencodable(code);
    if (!lost.isEmpty())
        append(Warning, tr("设备的编码（GB2312）中没有这些字符，设备收到的将与输入不同：%1").arg(lost.join(QLatin1Char(' '))));
    // The wait pumps events: a second click meanwhile would only be refused by the link.
    sendButton->setEnabled(false);
    CommandReply reply;
    MatrixCommands().sendText(code, true, &reply, false);
    sendButton->setEnabled(true);
    append(Received, reply.text);
}

void CSysConfigWidget::on_pushButtonClearLog_clicked()
{
    append(Information, tr("清除窗口"), true);
}

void CSysConfigWidget::clientDisConnected()
{
    append(Warning, tr("设备连接已断开"));
}

void CSysConfigWidget::clientConnected()
{
    append(Information, tr("连接设备成功"));
}

void CSysConfigWidget::clientConnectTimeout()
{
    append(Warning, tr("连接设备超时"));
}

void CSysConfigWidget::clientReceived(QString text)
{
    append(Received, text);
}

void CSysConfigWidget::displayMessage(QString text)
{
    append(Information, text);
}

void CSysConfigWidget::onDeviceNameChanged()
{
    sendDeviceText(nameEdit, &filledName, nameKey, true);
}

void CSysConfigWidget::onDeviceTypeChanged()
{
    sendDeviceText(modelEdit, &filledModel, modelKey, false);
}

void CSysConfigWidget::sendDeviceText(QLineEdit* field, QString* filledWith, const QString& key, bool isName)
{
    const QString text = field->text();
    if (text == *filledWith)
        return;
    const QString command = isName ? DeviceTextCommands::nameCommand(text) : DeviceTextCommands::modelCommand(text);
    if (command.isEmpty() || !MatrixCommands().sendText(command, false, nullptr, true))
        return;
    QSettings settings(ConfigFiles::clientConfig(), QSettings::IniFormat);
    settings.setValue(key, text);
    settings.sync();
    *filledWith = text;
    // The matrix now holds a text that fits: the room an over-long stored text needed would let
    // the operator type one that never goes out. (Setting the length puts the cursor at the end.)
    if (field->maxLength() != DeviceTextCommands::MaxBytes) {
        const int cursor = field->cursorPosition();
        field->setMaxLength(DeviceTextCommands::MaxBytes);
        field->setCursorPosition(cursor);
    }
}

void CSysConfigWidget::append(int type, QString data, bool clear)
{
    if (clear || logLines >= MaxLogLines) {
        logView->clear();
        logLines = 0;
    }
    // Every character that ends a line or a paragraph in the view (the document's frame marks
    // included): an entry keeps to one line, run together like the line ends of a reply.
    static const QRegularExpression lineBreaks(QStringLiteral("[\\r\\n\\x0B\\f\\x{85}\\x{2028}\\x{2029}\\x{FDD0}\\x{FDD1}]"));
    data.remove(lineBreaks);
    QString label;
    switch (type) {
    case Sent:
        label = QStringLiteral("发送");
        logColour = QColor(QStringLiteral("darkgreen"));
        break;
    case Received:
        label = QStringLiteral("接收");
        logColour = QColor(QStringLiteral("red"));
        break;
    case Information:
        logColour = QColor(QStringLiteral("darkgreen"));
        break;
    case Warning:
        logColour = QColor(QStringLiteral("red"));
        break;
    default:
        break;
    }
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss zzz"));
    const QString line = QStringLiteral("时间[%1] %2: %3").arg(time, label, data);
    // As plain text: what was sent or received may hold markup or entities, shown as they are.
    QScrollBar* scroll = logView->verticalScrollBar();
    const bool atBottom = scroll->value() >= scroll->maximum();
    QTextCursor cursor(logView->document());
    cursor.movePosition(QTextCursor::End);
    if (!logView->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextCharFormat format;
    if (logColour.isValid())
        format.setForeground(logColour);
    cursor.insertText(line, format);
    if (atBottom)
        scroll->setValue(scroll->maximum());
    ++logLines;
}

void CSysConfigWidget::showEvent(QShowEvent* event)
{
    if (initialised)
        readSettings();
    QWidget::showEvent(event);
}

void CSysConfigWidget::hideEvent(QHideEvent* event)
{
    if (initialised)
        writeSettings();
    QWidget::hideEvent(event);
}

void CSysConfigWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
