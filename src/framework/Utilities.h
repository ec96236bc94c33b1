#pragma once

// The helpers every window and link shares. The widget-free ones live in the platform layer and
// are gathered here under their usual names; the two below need widgets.
#include "framework/LanguageSwitch.h"
#include "platform/DesCipher.h"
#include "platform/EventLoopDelay.h"
#include "platform/Reachability.h"
#include "platform/TextHelpers.h"

#include <QString>

class QWidget;

// Moves w to the centre of a width x height area, or, when both are 0, of its parent widget
// (or the desktop when it has none). A position never becomes negative.
void moveCenter(QWidget* w, int width = 0, int height = 0);

// Applies a style-sheet file to widget, or to the whole application when widget is null, and
// records its name in data/MainConfig.dat. An empty name means "skin/qss/default.qss".
void setSkin(const QString& qssFile = QString(), QWidget* widget = nullptr);
