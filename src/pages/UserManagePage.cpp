#include "UserManagePage.h"

UserManagePage::UserManagePage()
    : QWidget(nullptr)
{
    setObjectName(QStringLiteral("UserManagePage"));
}

UserManagePage* UserManagePage::instance()
{
    return ProcessSingleton<UserManagePage>::instance();
}

void UserManagePage::initConfig(bool update)
{
    Q_UNUSED(update)
}
