#pragma once

#include "pagekit/ProcessSingleton.h"
#include "pages/cardsettings/CardSettingsPage.h"

class InputDataSettingWidget;

// The input card settings page: the input ports on the left, the selected port's settings on
// the right. One process-wide instance.
class MInputCardSetting : public CardSettingsPage
{
    Q_OBJECT
public:
    explicit MInputCardSetting(QWidget* parent = nullptr);

    static MInputCardSetting* instance();

private:
    InputDataSettingWidget* panel;
};
