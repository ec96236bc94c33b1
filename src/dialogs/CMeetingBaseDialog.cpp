#include "dialogs/CMeetingBaseDialog.h"

#include "framework/FTitleBar.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPropertyAnimation>
#include <QScreen>

CMeetingBaseDialog::CMeetingBaseDialog(QWidget *parent)
    : FFramelessDialog(QSize(0, 0), parent)
{
    setProperty("Type", QStringLiteral("MeetingBaseDialog"));
    titleBar->setTitleBarHeight(48);
    titleBar->setLogoButtonVisible(false);
    // No icon of its own: the skin draws the close glyph for the object name.
    titleBar->setCloseButtonIcon("", "close");
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
