#pragma once

#include "core/UserInfo.h"

#include <QWidget>

#include <functional>

class PortGrid;
class PortSwitcher;
class QAbstractButton;
class QPushButton;

// The port-switch page's right pane: 160 input radio buttons and 160 output check boxes limited
// by the logged-in user's rights, a range selector for the outputs, and switch, close selected
// and close all (administrators only). Commands go out in chunks under the busy overlay.
class MatrixSwitchRightWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MatrixSwitchRightWidget(QWidget* parent = nullptr);

    // Applies the logged-in user's rights; run once, by the constructor.
    void initConfig();

public slots:
    void buttonGroupInput_buttonClicked(QAbstractButton* button);
    void on_pushButtonOk_clicked();
    void on_pushButtonClose_clicked();
    void on_pushButtonCloseAll_clicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Checks, among the enabled outputs, those the input feeds now; unchecks the others.
    void showOutputsOf(int input);
    // Runs a chunked command sequence with the user's rights, the busy overlay up and further
    // clicks held off.
    void runUnderOverlay(const std::function<void(PortSwitcher&)>& operation);

    PortGrid* inputs;
    PortGrid* outputs;
    QPushButton* closeAllButton;
    User_Info user;
    // A command sequence is running (its pauses pump events): further clicks wait for it.
    bool switching = false;
};
