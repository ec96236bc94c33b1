#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// Moving a frameless window by a strip along its top. The main window and both dialog
// families share it; each passes its own strip height and its own reason to stay put.
class FWindowDrag
{
public:
    // A left-button press inside the top zoneHeight pixels starts a drag. Every press is accepted.
    void press(const QWidget *window, QMouseEvent *event, int zoneHeight);
    // Moves the window while a drag runs and a button is held, unless frozen. Ignores the event otherwise.
    void move(QWidget *window, QMouseEvent *event, bool frozen);
    void release(QMouseEvent *event);

    bool isDragging() const { return leftButtonPressed; }

private:
    QPoint dragPosition;
    bool leftButtonPressed = false;
};
