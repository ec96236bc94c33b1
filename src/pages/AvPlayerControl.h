#pragma once

#include "ProcessSingleton.h"

#include <QObject>

// Pool of the preview players, one per preview channel of the preview output cards. Placeholder
// until the preview strip is written.
class AvPlayerControl : public QObject
{
    Q_OBJECT
public:
    static AvPlayerControl* instance();

    // Builds the players for every preview card and attaches their renderers.
    void startPreview();

private:
    friend class ProcessSingleton<AvPlayerControl>;
    AvPlayerControl() = default;
};
