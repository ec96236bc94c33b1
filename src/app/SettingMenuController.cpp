#include "SettingMenuController.h"

#include "CMeetingMessageBoxDialog.h"
#include "MainWindow.h"

#include <QCoreApplication>
#include <QSettings>

SettingMenuController::SettingMenuController(QObject* parent)
    : QObject(parent)
{
}

void SettingMenuController::Logout()
{
    MainWindow* mainWindow = MainWindow::instance();
    mainWindow->show();
    if (CMeetingMessageBoxDialog::showQuestion(tr("您确定要注销吗？")) != 1)
        return;

    QSettings settings(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("CLIENT_INFO/auto_login"), false);
    settings.sync();

    mainWindow->setExitConfirmed(true);
    connect(mainWindow, &MainWindow::Closed, this, &SettingMenuController::AppExit,
            Qt::UniqueConnection);
    mainWindow->animationClose();
}

void SettingMenuController::closeMainWindow()
{
    emit MainWindow::instance()->Close();
}

void SettingMenuController::AppExit()
{
    QCoreApplication::exit(LogoutExitCode);
}
