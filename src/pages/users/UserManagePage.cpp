#include "pages/users/UserManagePage.h"

#include "pagekit/ProcessSingleton.h"
#include "pages/users/UserManageLeftWidget.h"
#include "pages/users/UserManageRightWidget.h"

UserManagePage* UserManagePage::instance()
{
    return ProcessSingleton<UserManagePage>::instance();
}

UserManagePage::UserManagePage(QWidget* parent)
    : TwoPanePage(QStringLiteral("UserManagePage"), parent)
    , left(new UserManageLeftWidget)
    , right(new UserManageRightWidget)
{
    setPanes(left, right);
    connect(left, &UserManageLeftWidget::UserItemSelected, right, &UserManageRightWidget::widgetLeft_UserItemSelected);
}

void UserManagePage::initConfig(bool)
{
}
