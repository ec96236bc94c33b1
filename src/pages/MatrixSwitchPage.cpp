#include "MatrixSwitchPage.h"

MatrixSwitchPage::MatrixSwitchPage()
    : QWidget(nullptr)
{
    setObjectName(QStringLiteral("MatrixSwitchPage"));
}

MatrixSwitchPage* MatrixSwitchPage::instance()
{
    return ProcessSingleton<MatrixSwitchPage>::instance();
}

void MatrixSwitchPage::initConfig(bool update)
{
    Q_UNUSED(update)
}
