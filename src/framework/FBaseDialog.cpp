#include "framework/FBaseDialog.h"

#include "framework/ScreenMetrics.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPropertyAnimation>
#include <QScreen>

namespace {
QSize recordedScreenSize()
{
    if (screenWidth > 0 && screenHeight > 0)
        return QSize(screenWidth, screenHeight);
    // Shown before start-up recorded the screen: ask the primary screen directly.
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize();
}
}

FBaseDialog::FBaseDialog(QWidget *parent)
    : FFramelessDialog(QSize(800, 600), parent)
{
}

void FBaseDialog::animationClose()
{
    const QRect from = geometry();
    const QRect to(from.x(), from.top() + from.height() / 2, from.width(), 0);
    auto *animation = new QPropertyAnimation(this, "geometry", this);
    animation->setDuration(100);
    animation->setStartValue(from);
    animation->setEndValue(to);
    connect(animation, &QPropertyAnimation::finished, this, &QWidget::close);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void FBaseDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        animationClose();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FBaseDialog::showEvent(QShowEvent *event)
{
    const QSize screen = recordedScreenSize();
    move((screen.width() - presetSize.width()) / 2, (screen.height() - presetSize.height()) / 2);
    resize(presetSize);
    QDialog::showEvent(event);
}
