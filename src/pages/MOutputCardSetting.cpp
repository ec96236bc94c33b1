#include "MOutputCardSetting.h"

MOutputCardSetting::MOutputCardSetting()
    : QWidget(nullptr)
{
    setObjectName(QStringLiteral("MOutputCardSetting"));
}

MOutputCardSetting* MOutputCardSetting::instance()
{
    return ProcessSingleton<MOutputCardSetting>::instance();
}

void MOutputCardSetting::initConfig(bool update)
{
    Q_UNUSED(update)
}
