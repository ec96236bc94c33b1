#include "dialogs/CMeetingBaseDialog.h"

#include "framework/FTitleBar.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPropertyAnimation>
#include <QScreen>
#include <QVBoxLayout>

CMeetingBaseDialog::CMeetingBaseDialog(QWidget *parent)
    : QDialog(parent),
      titleBar(new FTitleBar(this)),
      presetSize(0, 0),
      mainLayout(new QVBoxLayout(this))
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setProperty("Type", QStringLiteral("MeetingBaseDialog"));

    titleBar->setTitleBarHeight(48);
    titleBar->setLogoButtonVisible(false);
    titleBar->setMenuButtonVisible(false);
    titleBar->setSkinButtonVisible(false);
    titleBar->setLockButtonVisible(false);
    titleBar->setMinButtonVisible(false);
    titleBar->setMaxButtonVisible(false);
    // No icon of its own: the skin draws the close glyph for the object name.
    titleBar->setCloseButtonIcon("", "close");

    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->addWidget(titleBar);

    connect(titleBar, &FTitleBar::closed, this, &CMeetingBaseDialog::animationClose);
    connect(titleBar, &FTitleBar::MaxNormal, this, &CMeetingBaseDialog::swithMaxNormal);
    connect(titleBar, &FTitleBar::minimuned, this, &CMeetingBaseDialog::Hidden);
}

void CMeetingBaseDialog::setTitle(const QString &title)
{
    titleBar->setTitleText(title);
}

void CMeetingBaseDialog::animationClose()
{
    auto *fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(200);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, this, [this] {
        close();
        // A dialog that is shown again must not come back invisible.
        setWindowOpacity(1.0);
    });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void CMeetingBaseDialog::swithMaxNormal()
{
    if (titleBar->isMaximised())
        showFullScreen();
    else
        showNormal();
}

void CMeetingBaseDialog::mousePressEvent(QMouseEvent *event)
{
    drag.press(this, event, titleBar->height());
}

void CMeetingBaseDialog::mouseReleaseEvent(QMouseEvent *event)
{
    drag.release(event);
}

void CMeetingBaseDialog::mouseMoveEvent(QMouseEvent *event)
{
    drag.move(this, event, titleBar->isMaximised());
}

void CMeetingBaseDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMeetingBaseDialog::closeEvent(QCloseEvent *event)
{
    // Plain widget close: the result set before (0 unless OK set it) is what exec() returns.
    QWidget::closeEvent(event);
}

void CMeetingBaseDialog::showEvent(QShowEvent *event)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize area = screen ? screen->availableGeometry().size() : QSize();
    const QRect target(area.width() / 2 - presetSize.width() / 2, area.height() / 2 - presetSize.height() / 2,
                       presetSize.width(), presetSize.height());
    setGeometry(target);
    auto *settle = new QPropertyAnimation(this, "geometry", this);
    settle->setDuration(100);
    settle->setStartValue(target);
    settle->setEndValue(target);
    settle->start(QAbstractAnimation::DeleteWhenStopped);
    QDialog::showEvent(event);
}
