#include "framework/FBasePushButton.h"

#include <QGraphicsDropShadowEffect>

FBasePushButton::FBasePushButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    addShadow();
}

FBasePushButton::FBasePushButton(QWidget *parent)
    : QPushButton(parent)
{
    addShadow();
}

void FBasePushButton::addShadow()
{
    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setOffset(-1, 1);
    shadow->setColor(Qt::gray);
    shadow->setBlurRadius(6);
    setGraphicsEffect(shadow);
}
