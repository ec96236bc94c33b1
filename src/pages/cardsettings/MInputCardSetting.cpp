#include "pages/cardsettings/MInputCardSetting.h"

#include "pagekit/MInputListWidget.h"
#include "pages/cardsettings/InputDataSettingWidget.h"

MInputCardSetting::MInputCardSetting(QWidget* parent)
    : CardSettingsPage(CardPortList::Inputs, parent)
    , panel(new InputDataSettingWidget(this))
{
    setObjectName(QStringLiteral("MInputCardSetting"));
    arrange(tr("输入列表"), panel, 300);
    connect(portList(), &MInputListWidget::signalSelectCardIndexChanged, panel,
            &InputDataSettingWidget::onSelectCardIndexChanged);
}

MInputCardSetting* MInputCardSetting::instance()
{
    return ProcessSingleton<MInputCardSetting>::instance();
}
