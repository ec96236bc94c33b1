#pragma once

#include "ProcessSingleton.h"

#include <QWidget>

// The output card settings page. One process-wide instance; initConfig(false) builds its contents
// the first time, initConfig(true) refreshes them when its navigation button is pressed.
// Placeholder until the page itself is written.
class MOutputCardSetting : public QWidget
{
    Q_OBJECT
public:
    static MOutputCardSetting* instance();

    void initConfig(bool update);

private:
    friend class ProcessSingleton<MOutputCardSetting>;
    MOutputCardSetting();
};
