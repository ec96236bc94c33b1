#pragma once

#include <QSize>

class QWidget;

// The login dialogs' show and close animations.
namespace DialogAnimations {

// Drops the window in from the top of the screen to the centre of the available desktop at
// size, 400 ms with an elastic landing.
void dropInCentred(QWidget* window, const QSize& size);

// Fades the window out over ms milliseconds and then closes it.
void fadeOutAndClose(QWidget* window, int ms);

} // namespace DialogAnimations
