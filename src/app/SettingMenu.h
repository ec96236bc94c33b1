#pragma once

#include <QMap>
#include <QMenu>
#include <QStringList>

class QAction;
class SettingMenuController;

// Drop-down menu of the main window's title bar and tray icon: log out, exit.
class SettingMenu : public QMenu
{
    Q_OBJECT
public:
    explicit SettingMenu(QWidget* parent = nullptr);

    QAction* action(const QString& name) const { return actions.value(name); }
    QStringList actionNames() const { return names; }
    SettingMenuController* controller() const { return menuController; }

private:
    QStringList names;
    QMap<QString, QAction*> actions;
    SettingMenuController* menuController;
};
