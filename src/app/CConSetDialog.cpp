#include "app/CConSetDialog.h"

#include "dialogs/CMeetingMessageBoxDialog.h"
#include "app/ClientConfig.h"
#include "app/DialogLayouts.h"
#include "framework/FBasePushButton.h"
#include "framework/FIpAddrEdit.h"
#include "framework/Utilities.h"
#include "platform/TextHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSerialPortInfo>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

CConSetDialog::CConSetDialog(QWidget* parent)
    : CConfirmDialog(parent)
{
    setObjectName(QStringLiteral("ConSet"));
    initUI();
    initLayout();
    connect(typeCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &CConSetDialog::changeConnectType);
    connect(okButton, &QPushButton::clicked, this, &CConSetDialog::onOkButtonClicked);
    initConfig();
}

void CConSetDialog::initUI()
{
    typeCombo = new QComboBox(this);
    addressEdit = new FIpAddrEdit(this);
    portSpin = new QSpinBox(this);
    portSpin->setRange(1, 65535);
    // A spin box puts its last value back when an emptied field loses the focus (as it does to
    // OK), and the dialog would store a port the operator removed. Keep the field empty, so that
    // OK can say so.
    if (auto* portText = portSpin->findChild<QLineEdit*>()) {
        connect(portText, &QLineEdit::textEdited, this,
                [this](const QString& text) { portEmptied = text.trimmed().isEmpty(); });
    }
    connect(portSpin, &QSpinBox::editingFinished, this, [this]() {
        if (portEmptied)
            portSpin->clear();
    });
    serialCombo = new QComboBox(this);
    tcpGroup = new QWidget(this);
    serialGroup = new QWidget(this);
}

void CConSetDialog::initLayout()
{
    presetSize = QSize(640, 480);
    setTitle(tr("连接设置"));

    using DialogLayouts::labelledRows;
    QGridLayout* typeGrid = labelledRows({{tr("通讯方式："), typeCombo}});
    labelledRows({{tr("I  P  地址："), addressEdit}, {tr("端  口  号："), portSpin}}, tcpGroup);
    labelledRows({{tr("串  口  号："), serialCombo}}, serialGroup);
    QHBoxLayout* buttons = DialogLayouts::centredButtons(okButton, cancelButton);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(60, 30, 60, 20);
    body->setSpacing(20);
    body->addLayout(typeGrid);
    body->addWidget(tcpGroup);
    body->addWidget(serialGroup);
    body->addStretch();
    body->addLayout(buttons);
    contentLayout()->addLayout(body, 1);
}

void CConSetDialog::initConfig()
{
    typeCombo->addItem(tr("TCP/IP"));
    typeCombo->addItem(tr("COM口"));
    changeConnectType(typeCombo->currentIndex());
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports)
        serialCombo->addItem(QStringLiteral("%1 %2").arg(port.portName(), port.description()),
                             port.portName());
    readSettings();
}

void CConSetDialog::readSettings()
{
    QSettings settings(ClientConfig::path(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("DEVICE_INFO"));
    // A type out of range would select no entry, and OK would store it as -1.
    const int type = settings.value(QStringLiteral("dev_con_type"), 0).toInt();
    typeCombo->setCurrentIndex(type == 1 ? 1 : 0);
    addressEdit->setText(settings.value(QStringLiteral("dev_addr"), ClientConfig::DefaultAddress).toString());
    portSpin->setValue(settings.value(QStringLiteral("dev_tcp_port"), QStringLiteral("4001")).toInt());
    const QString serialKey = QStringLiteral("dev_serial_port");
    const QString serial = settings.value(serialKey, ClientConfig::DefaultSerialPort).toString();
    int serialIndex = serialCombo->findData(serial);
    // The system does not list every port that opens (pseudo-terminals, symlinks, an adapter
    // unplugged just now). A stored one stays chosen, so that OK keeps it instead of storing the
    // first listed port in its place.
    if (serialIndex < 0 && !serial.isEmpty() && settings.contains(serialKey)) {
        serialCombo->addItem(tr("%1（未找到）").arg(serial), serial);
        serialIndex = serialCombo->count() - 1;
    }
    if (serialIndex >= 0)
        serialCombo->setCurrentIndex(serialIndex);
    settings.endGroup();
}

void CConSetDialog::writeSettings()
{
    QSettings settings(ClientConfig::path(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("DEVICE_INFO"));
    settings.setValue(QStringLiteral("dev_con_type"), typeCombo->currentIndex());
    settings.setValue(QStringLiteral("dev_addr"), addressEdit->text());
    settings.setValue(QStringLiteral("dev_tcp_port"), portSpin->value());
    settings.setValue(QStringLiteral("dev_serial_port"),
                      serialCombo->count() > 0 ? serialCombo->currentData().toString() : QString());
    settings.endGroup();
    settings.sync();
}

void CConSetDialog::changeConnectType(int index)
{
    if (index == 0) {
        tcpGroup->show();
        serialGroup->hide();
    } else if (index == 1) {
        tcpGroup->hide();
        serialGroup->show();
    }
}

void CConSetDialog::onOkButtonClicked()
{
    if (typeCombo->currentIndex() == 0) {
        // An incomplete address ("127..0.1") would go to the name resolver: not an address.
        if (!isIpAddress(addressEdit->text())) {
            CMeetingMessageBoxDialog::showError(tr("无法连接到设备，请检查连接信息！"));
            addressEdit->setFocus();
            return;
        }
        if (portSpin->text().trimmed().isEmpty()) {
            CMeetingMessageBoxDialog::showError(tr("端口号不能为空！"));
            portSpin->setFocus();
            return;
        }
        if (!checkTcpConnect(addressEdit->text(), quint16(portSpin->value()), 3000)) {
            CMeetingMessageBoxDialog::showError(tr("无法连接到设备，请检查连接信息！"));
            portSpin->setFocus();
            return;
        }
    }
    writeSettings();
    accepted = true;
    animationClose();
}
