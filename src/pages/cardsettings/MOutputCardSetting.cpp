#include "pages/cardsettings/MOutputCardSetting.h"

#include "pagekit/MInputListWidget.h"
#include "pages/cardsettings/OutDataSettingWidget.h"

MOutputCardSetting::MOutputCardSetting(QWidget* parent)
    : CardSettingsPage(CardPortList::Outputs, parent)
    , panel(new OutDataSettingWidget(this))
{
    setObjectName(QStringLiteral("MOutputCardSetting"));
    arrange(tr("输出列表"), panel, 350);
    connect(portList(), &MInputListWidget::signalSelectCardIndexChanged, panel,
            &OutDataSettingWidget::onSelectCardIndexChanged);
}

MOutputCardSetting* MOutputCardSetting::instance()
{
    return ProcessSingleton<MOutputCardSetting>::instance();
}
