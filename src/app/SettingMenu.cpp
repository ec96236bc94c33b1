#include "app/SettingMenu.h"

#include "app/SettingMenuController.h"

#include <QAction>

SettingMenu::SettingMenu(QWidget* parent)
    : QMenu(parent)
{
    setObjectName(QStringLiteral("SettingMenu"));
    const QString logout = tr("注销");
    const QString exit = tr("退出");
    names << logout << exit;
    for (const QString& name : qAsConst(names)) {
        auto* act = new QAction(name, this);
        addAction(act);
        actions.insert(name, act);
    }
    menuController = new SettingMenuController(this);
    connect(actions.value(exit), &QAction::triggered, menuController,
            &SettingMenuController::closeMainWindow);
    connect(actions.value(logout), &QAction::triggered, menuController,
            &SettingMenuController::Logout);
}
