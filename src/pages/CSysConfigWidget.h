#pragma once

#include "ProcessSingleton.h"

#include <QWidget>

// The system settings page. One process-wide instance; initConfig(false) builds its contents the
// first time, initConfig(true) refreshes them when its navigation button is pressed. Placeholder
// until the page itself is written.
class CSysConfigWidget : public QWidget
{
    Q_OBJECT
public:
    static CSysConfigWidget* instance();

    void initConfig(bool update = false);

private:
    friend class ProcessSingleton<CSysConfigWidget>;
    CSysConfigWidget();
};
