#pragma once

// The widgets of the IP card panel: the connection page and the tab pages, built in setupUi()
// and worded in retranslateUi(). No behaviour here.

#include <QCoreApplication>

class FBasePushButton;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QTreeWidget;
class QWidget;

struct HisliconConfigForm
{
    Q_DECLARE_TR_FUNCTIONS(HisliconConfigDialog)

public:
    // decoderPage becomes the third tab.
    void setupUi(QWidget* panel, QWidget* decoderPage);
    void retranslateUi();

    QStackedWidget* stack;

    // Page 0: connection.
    QWidget* connectionPage;
    QLabel* stateTitleLabel;
    QLabel* stateLabel;
    QLabel* ipTitleLabel;
    QLineEdit* ipEdit;
    QLabel* portTitleLabel;
    QSpinBox* portBox;
    QPushButton* connectButton;
    QPushButton* updateIpButton;
    QPushButton* changeIpButton;

    // Page 1: the tabs.
    QTabWidget* tabs;

    QWidget* networkTab;
    QLabel* networkLabels[8];
    QLineEdit* hostAddrEdit;
    QLineEdit* submaskEdit;
    QLineEdit* gatewayEdit;
    QLineEdit* dns1Edit;
    QLineEdit* dns2Edit;
    QLineEdit* macEdit;
    QSpinBox* tcpPortBox;
    QSpinBox* httpPortBox;
    QPushButton* networkUpdateButton;
    QPushButton* networkSaveButton;

    QWidget* sourcesTab;
    QTreeWidget* sourceTree;
    QPushButton* addGroupButton;
    QPushButton* addSourceButton;
    QPushButton* deleteButton;
    QPushButton* importButton;
    QPushButton* exportButton;
    QPushButton* sourcesUpdateButton;
    QPushButton* sourcesSaveButton;

    QWidget* decoderTab;

    QWidget* logTab;
    QComboBox* logTypeBox;
    QLabel* startLabel;
    QDateTimeEdit* startEdit;
    QLabel* endLabel;
    QDateTimeEdit* endEdit;
    QPushButton* findLogButton;
    QTableWidget* logTable;
    QLabel* logCountLabel;
    QLabel* logPageLabel;
    QPushButton* pageUpButton;
    QPushButton* pageDownButton;

    QWidget* maintenanceTab;
    QGroupBox* restartGroup;
    QLabel* restartLabel;
    QPushButton* restartButton;
    QGroupBox* factoryGroup;
    QLabel* factoryLabel;
    QPushButton* factoryButton;
    QGroupBox* upgradeGroup;
    QLabel* upgradeLabel;
    QLineEdit* upgradeFileEdit;
    QPushButton* browseButton;
    QPushButton* upgradeButton;
    QProgressBar* upgradeProgress;
    QGroupBox* versionGroup;
    QLabel* versionTitleLabel;
    QLabel* versionLabel;
    QLabel* updateTimeTitleLabel;
    QLabel* updateTimeLabel;

private:
    void setupConnectionPage(QWidget* panel);
    void setupNetworkTab();
    void setupSourcesTab();
    void setupLogTab();
    void setupMaintenanceTab();
};
