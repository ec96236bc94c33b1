#pragma once

#include "ProcessSingleton.h"

#include <QWidget>

// The EDID settings page. One process-wide instance; initConfig(false) builds its contents the
// first time, initConfig(true) refreshes them when its navigation button is pressed. Placeholder
// until the page itself is written.
class MEDIDSettingWidget : public QWidget
{
    Q_OBJECT
public:
    static MEDIDSettingWidget* instance();

    void initConfig(bool update);

private:
    friend class ProcessSingleton<MEDIDSettingWidget>;
    MEDIDSettingWidget();
};
