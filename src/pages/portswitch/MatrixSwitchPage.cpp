#include "pages/portswitch/MatrixSwitchPage.h"

#include "pagekit/ProcessSingleton.h"
#include "pages/portswitch/MatrixSwitchLeftWidget.h"
#include "pages/portswitch/MatrixSwitchRightWidget.h"

MatrixSwitchPage* MatrixSwitchPage::instance()
{
    return ProcessSingleton<MatrixSwitchPage>::instance();
}

MatrixSwitchPage::MatrixSwitchPage(QWidget* parent)
    : TwoPanePage(QStringLiteral("MatrixSwitchPage"), parent)
    , left(new MatrixSwitchLeftWidget)
    , right(new MatrixSwitchRightWidget)
{
    setPanes(left, right);
}

void MatrixSwitchPage::initConfig(bool update)
{
    left->initConfig(update);
}
