#include "framework/FBaseDialog.h"

#include "framework/FTitleBar.h"
#include "framework/ScreenMetrics.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPropertyAnimation>
#include <QScreen>
#include <QVBoxLayout>

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
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      titleBar(new FTitleBar(this)),
      presetSize(800, 600),
      mainLayout(new QVBoxLayout(this))
{
    titleBar->setMenuButtonVisible(false);
    titleBar->setSkinButtonVisible(false);
    titleBar->setLockButtonVisible(false);
    titleBar->setMinButtonVisible(false);
    titleBar->setMaxButtonVisible(false);

    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->addWidget(titleBar);

    connect(titleBar, &FTitleBar::closed, this, &FBaseDialog::animationClose);
    connect(titleBar, &FTitleBar::MaxNormal, this, &FBaseDialog::swithMaxNormal);
    connect(titleBar, &FTitleBar::minimuned, this, &FBaseDialog::Hidden);
}

void FBaseDialog::setTitle(const QString &title)
{
    titleBar->setTitleText(title);
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

void FBaseDialog::swithMaxNormal()
{
    if (titleBar->isMaximised())
        showFullScreen();
    else
        showNormal();
}

void FBaseDialog::mousePressEvent(QMouseEvent *event)
{
    drag.press(this, event, titleBar->height());
}

void FBaseDialog::mouseReleaseEvent(QMouseEvent *event)
{
    drag.release(event);
}

void FBaseDialog::mouseMoveEvent(QMouseEvent *event)
{
    drag.move(this, event, titleBar->isMaximised());
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
