#include "framework/FCheckabelButton.h"

#include <QMouseEvent>

FCheckabelButton::FCheckabelButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setUp();
}

FCheckabelButton::FCheckabelButton(QWidget *parent)
    : QPushButton(parent)
{
    setUp();
}

void FCheckabelButton::setUp()
{
    setFlat(true);
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

void FCheckabelButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit doubleClick();
    event->accept();
}
