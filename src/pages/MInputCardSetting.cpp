#include "MInputCardSetting.h"

MInputCardSetting::MInputCardSetting()
    : QWidget(nullptr)
{
    setObjectName(QStringLiteral("MInputCardSetting"));
}

MInputCardSetting* MInputCardSetting::instance()
{
    return ProcessSingleton<MInputCardSetting>::instance();
}

void MInputCardSetting::initConfig(bool update)
{
    Q_UNUSED(update)
}
