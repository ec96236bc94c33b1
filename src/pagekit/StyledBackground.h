#pragma once

class QWidget;

// The style-sheet background of a plain QWidget subclass (a plain QWidget subclass does not
// draw one by itself): call from its paintEvent.
void paintStyledBackground(QWidget* widget);
