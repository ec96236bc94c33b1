#pragma once

#include "ProcessSingleton.h"

#include <QWidget>

// The port rights page. One process-wide instance; initConfig(false) builds its contents the first
// time, initConfig(true) refreshes them when its navigation button is pressed. Placeholder until
// the page itself is written.
class UserManagePage : public QWidget
{
    Q_OBJECT
public:
    static UserManagePage* instance();

    void initConfig(bool update);

private:
    friend class ProcessSingleton<UserManagePage>;
    UserManagePage();
};
