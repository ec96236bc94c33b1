#pragma once

class QWidget;

// ~QWidget hides a widget, and so moves the focus out of it, only after the destructors of the
// classes built on it have run. An edit field inside that still had the focus then reports
// editingFinished to slots of objects already taken apart (the dialog itself, the page that
// hosts the field). Destructors of windows, dialogs and pages call this first: an edit still
// open when its window goes away is dropped, as closing a dialog drops it.
void disconnectFinishedEdits(QWidget* root);
