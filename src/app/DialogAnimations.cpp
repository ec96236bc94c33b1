#include "app/DialogAnimations.h"

#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace DialogAnimations {

void dropInCentred(QWidget* window, const QSize& size)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
    const int x = area.width() / 2 - size.width() / 2;
    const int y = area.height() / 2 - size.height() / 2;
    const QRect start(x, 0, size.width(), size.height());
    const QRect end(x, y, size.width(), size.height());
    window->setGeometry(start);
    auto* drop = new QPropertyAnimation(window, "geometry", window);
    drop->setDuration(400);
    drop->setStartValue(start);
    drop->setEndValue(end);
    drop->setEasingCurve(QEasingCurve::OutElastic);
    drop->start(QAbstractAnimation::DeleteWhenStopped);
}

void fadeOutAndClose(QWidget* window, int ms)
{
    auto* fade = new QPropertyAnimation(window, "windowOpacity", window);
    fade->setDuration(ms);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    QObject::connect(fade, &QPropertyAnimation::finished, window, [window]() {
        window->close();
        // A dialog shown again must not come back invisible.
        window->setWindowOpacity(1.0);
    });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace DialogAnimations
