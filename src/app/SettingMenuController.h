#pragma once

#include <QObject>

// Actions of the main window's settings menu: log out (restart into the login) and exit.
class SettingMenuController : public QObject
{
    Q_OBJECT
public:
    // The exit code that asks the start-up to run the program again.
    static constexpr int LogoutExitCode = 773;

    explicit SettingMenuController(QObject* parent = nullptr);

public slots:
    void Logout();
    void closeMainWindow();
    void AppExit();
};
