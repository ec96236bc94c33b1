#include "framework/FWindowDrag.h"

#include <QMouseEvent>
#include <QWidget>

void FWindowDrag::press(const QWidget *window, QMouseEvent *event, int zoneHeight)
{
    if (event->button() == Qt::LeftButton && event->pos().y() < zoneHeight) {
        leftButtonPressed = true;
        dragPosition = event->globalPos() - window->pos();
    }
    event->accept();
}

void FWindowDrag::move(QWidget *window, QMouseEvent *event, bool frozen)
{
    if (!frozen && leftButtonPressed && event->buttons() != Qt::NoButton) {
        window->move(event->globalPos() - dragPosition);
        event->accept();
    } else {
        event->ignore();
    }
}

void FWindowDrag::release(QMouseEvent *event)
{
    leftButtonPressed = false;
    event->accept();
}
