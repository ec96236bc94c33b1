#pragma once

#include "pagekit/ProcessSingleton.h"
#include "pages/cardsettings/CardSettingsPage.h"

class OutDataSettingWidget;

// The output card settings page: the output ports on the left, the selected port's settings on
// the right. One process-wide instance.
class MOutputCardSetting : public CardSettingsPage
{
    Q_OBJECT
public:
    explicit MOutputCardSetting(QWidget* parent = nullptr);

    static MOutputCardSetting* instance();

private:
    OutDataSettingWidget* panel;
};
