#include "app/SettingMenuController.h"
#include "platform/ConfigFiles.h"

#include "app/MainWindow.h"

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
    if (!mainWindow->confirmLeaving(tr("您确定要注销吗？")))
        return;

    QSettings settings(ConfigFiles::clientConfig(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("CLIENT_INFO/auto_login"), false);
    settings.sync();

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
