#pragma once

#include "pagekit/TwoPanePage.h"

class UserManageLeftWidget;
class UserManageRightWidget;

// The administrator's page for the operator accounts and their port rights.
class UserManagePage : public TwoPanePage
{
    Q_OBJECT
public:
    explicit UserManagePage(QWidget* parent = nullptr);

    static UserManagePage* instance();

    // Nothing to build or refresh: the table is built with the page and kept row by row.
    void initConfig(bool update);

private:
    UserManageLeftWidget* left;
    UserManageRightWidget* right;
};
