#include "MEDIDSettingWidget.h"

MEDIDSettingWidget::MEDIDSettingWidget()
    : QWidget(nullptr)
{
    setObjectName(QStringLiteral("MEDIDSettingWidget"));
}

MEDIDSettingWidget* MEDIDSettingWidget::instance()
{
    return ProcessSingleton<MEDIDSettingWidget>::instance();
}

void MEDIDSettingWidget::initConfig(bool update)
{
    Q_UNUSED(update)
}
