#pragma once

class QWidget;

// Makes the window that holds widget redo its layout at once, as after a change of page or of a
// panel's visibility: a normal window is resized by one pixel and back; a maximised or
// full-screen one is only repainted, since a resize would take it out of that state.
void nudgeWindowLayout(QWidget* widget);
