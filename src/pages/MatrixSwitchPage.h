#pragma once

#include "ProcessSingleton.h"

#include <QWidget>

// The port-switch page for users with port rights. One process-wide instance; initConfig(false)
// builds its contents the first time, initConfig(true) refreshes them when its navigation button
// is pressed. Placeholder until the page itself is written.
class MatrixSwitchPage : public QWidget
{
    Q_OBJECT
public:
    static MatrixSwitchPage* instance();

    void initConfig(bool update);

private:
    friend class ProcessSingleton<MatrixSwitchPage>;
    MatrixSwitchPage();
};
