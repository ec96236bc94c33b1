#pragma once

#include "pagekit/TwoPanePage.h"

class MatrixSwitchLeftWidget;
class MatrixSwitchRightWidget;

// The port-switch page: switching by port number within the logged-in user's rights and the
// change of the user's own password. The only page a user who is not an administrator gets.
class MatrixSwitchPage : public TwoPanePage
{
    Q_OBJECT
public:
    explicit MatrixSwitchPage(QWidget* parent = nullptr);

    static MatrixSwitchPage* instance();

    // Fills (false, at start-up) or relabels (true, from the navigation) the port lists.
    void initConfig(bool update);

private:
    MatrixSwitchLeftWidget* left;
    MatrixSwitchRightWidget* right;
};
