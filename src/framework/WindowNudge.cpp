#include "framework/WindowNudge.h"

#include <QWidget>

void nudgeWindowLayout(QWidget* widget)
{
    QWidget* top = widget ? widget->window() : nullptr;
    if (!top)
        return;
    if (top->isMaximized() || top->isFullScreen()) {
        top->repaint();
        return;
    }
    top->resize(top->width() + 1, top->height() + 1);
    top->repaint();
    top->resize(top->width() - 1, top->height() - 1);
}
