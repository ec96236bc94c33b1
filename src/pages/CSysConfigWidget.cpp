#include "CSysConfigWidget.h"

CSysConfigWidget::CSysConfigWidget()
    : QWidget(nullptr)
{
    setObjectName(QStringLiteral("CSysConfigWidget"));
}

CSysConfigWidget* CSysConfigWidget::instance()
{
    return ProcessSingleton<CSysConfigWidget>::instance();
}

void CSysConfigWidget::initConfig(bool update)
{
    Q_UNUSED(update)
}
