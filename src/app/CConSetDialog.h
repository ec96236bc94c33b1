#pragma once

#include "app/CConfirmDialog.h"

#include <QDateTime>

class FIpAddrEdit;
class QComboBox;
class QSpinBox;
class QWidget;

// Edits how the console reaches the matrix: TCP (address and port, tried before they are
// accepted) or a serial port present on the machine (the stored one is offered even when the
// machine does not list it). Stores the choice in the DEVICE_INFO group of data/ClientConfig.dat
// when OK passes its checks.
class CConSetDialog : public CConfirmDialog
{
    Q_OBJECT
public:
    explicit CConSetDialog(QWidget* parent = nullptr);

    QComboBox* getTypeCombo() const { return typeCombo; }
    FIpAddrEdit* getAddressEdit() const { return addressEdit; }
    QSpinBox* getPortSpin() const { return portSpin; }
    QComboBox* getSerialCombo() const { return serialCombo; }
    QWidget* getTcpGroup() const { return tcpGroup; }
    QWidget* getSerialGroup() const { return serialGroup; }

public slots:
    void onOkButtonClicked();
    void changeConnectType(int index);

private:
    void initUI();
    void initLayout();
    void initConfig();
    void readSettings();
    void writeSettings();

    QComboBox* typeCombo = nullptr;
    FIpAddrEdit* addressEdit = nullptr;
    QSpinBox* portSpin = nullptr;
    bool portEmptied = false;
    QComboBox* serialCombo = nullptr;
    QWidget* tcpGroup = nullptr;
    QWidget* serialGroup = nullptr;
    QDateTime createdAt;
};
