#include "framework/FFramelessDialog.h"

#include "framework/EditTeardown.h"
#include "framework/FTitleBar.h"

#include <QVBoxLayout>

FFramelessDialog::FFramelessDialog(const QSize &size, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      titleBar(new FTitleBar(this)),
      presetSize(size),
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

    connect(titleBar, &FTitleBar::closed, this, &FFramelessDialog::animationClose);
    connect(titleBar, &FTitleBar::MaxNormal, this, &FFramelessDialog::swithMaxNormal);
    connect(titleBar, &FTitleBar::minimuned, this, &FFramelessDialog::Hidden);
}

FFramelessDialog::~FFramelessDialog()
{
    disconnectFinishedEdits(this);
}

void FFramelessDialog::setTitle(const QString &title)
{
    titleBar->setTitleText(title);
}

void FFramelessDialog::swithMaxNormal()
{
    if (titleBar->isMaximised())
        showFullScreen();
    else
        showNormal();
}

void FFramelessDialog::mousePressEvent(QMouseEvent *event)
{
    drag.press(this, event, titleBar->height());
}

void FFramelessDialog::mouseReleaseEvent(QMouseEvent *event)
{
    drag.release(event);
}

void FFramelessDialog::mouseMoveEvent(QMouseEvent *event)
{
    drag.move(this, event, titleBar->isMaximised());
}
