#include "app/CWaitMaskWidget.h"

#include "framework/Utilities.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>

namespace {
CWaitMaskWidget* s_overlay = nullptr;

// Modal windows (message boxes above all) stay above the overlay, so that the operator sees
// and can answer them while a device operation waits: every visible one, the active one last.
void raiseModalWindows()
{
    QWidget* active = QApplication::activeModalWidget();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != active && window->isVisible() && window->isModal())
            window->raise();
    }
    if (active && active->isVisible())
        active->raise();
}
} // namespace

CWaitMaskWidget* CWaitMaskWidget::instance(QWidget* parent)
{
    if (!s_overlay)
        s_overlay = new CWaitMaskWidget(parent);
    return s_overlay;
}

bool CWaitMaskWidget::exists()
{
    return s_overlay != nullptr;
}

CWaitMaskWidget::CWaitMaskWidget(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen)
{
    setObjectName(QStringLiteral("CWaitMaskWidget"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);

    imageLabel = new QLabel(this);
    imageLabel->setFixedSize(imageSize);
    loadFrame();

    baseText = tr("请等待");
    shownText = baseText;

    timer = new QTimer(this);
    timer->setInterval(100);
    connect(timer, &QTimer::timeout, this, &CWaitMaskWidget::changepic);

    setWindowOpacity(opacity);
    qApp->installEventFilter(this);
}

CWaitMaskWidget::~CWaitMaskWidget()
{
    if (s_overlay == this)
        s_overlay = nullptr;
}

void CWaitMaskWidget::loadFrame()
{
    // An unreadable image gives an empty pixmap; the cycle goes on with the next one.
    QPixmap image(QStringLiteral("skin/images/loading/loading%1.png").arg(frame));
    pixmap = image.isNull() ? QPixmap()
                            : image.scaled(imageSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    imageLabel->setPixmap(pixmap);
}

void CWaitMaskWidget::centreImage()
{
    moveCenter(imageLabel, width(), height());
}

void CWaitMaskWidget::changepic()
{
    frame = frame + 1 > LastFrame ? 1 : frame + 1;
    loadFrame();
    if (frame % 4 == 0) {
        if (shownText.size() >= baseText.size() + 3)
            shownText = baseText;
        else
            shownText += QLatin1Char('.');
    }
    repaint();
}

void CWaitMaskWidget::setBackgroundColor(QColor colorBackGround)
{
    QPalette pal = palette();
    pal.setColor(QPalette::All, QPalette::Window, colorBackGround);
    setPalette(pal);
}

void CWaitMaskWidget::showWait()
{
    // A fade still running from an earlier hide would close the overlay under the new wait.
    if (fade) {
        fade->stop();
        fade->deleteLater();
        fade.clear();
        setWindowOpacity(opacity);
    }
    shown = true;
    centreImage();
    changepic();
    timer->start();
    show();
    raiseModalWindows();
}

void CWaitMaskWidget::hideWait()
{
    if (fade && fade->state() == QAbstractAnimation::Running)
        return;
    shown = false;
    fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(200);
    fade->setStartValue(opacity);
    fade->setEndValue(0.0);
    connect(fade.data(), &QPropertyAnimation::finished, this, [this]() {
        fade->deleteLater();
        timer->stop();
        // Showing took the activation from the covered window; give it back, or key presses
        // reach no window until the operator clicks one.
        QWidget* owner = parentWidget();
        if (owner && owner->isVisible() && isActiveWindow())
            owner->activateWindow();
        // Closing deletes it later: the next wait must build a new one, not show this one (it
        // would be deleted under the show, whose events run the pending deletion).
        if (s_overlay == this)
            s_overlay = nullptr;
        close();
    });
    fade->start();
}

bool CWaitMaskWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (!shown)
        return QWidget::eventFilter(watched, event);

    const QEvent::Type type = event->type();
    if (watched->objectName() == QLatin1String("FMainWindow")
        && (type == QEvent::Move || type == QEvent::Resize)) {
        if (auto* mainWindow = qobject_cast<QWidget*>(watched))
            move(mainWindow->mapToGlobal(QPoint(0, 0)));
        centreImage();
    }
    if (watched == parent()) {
        auto* owner = static_cast<QWidget*>(watched);
        raise();
        raiseModalWindows();
        if (type == QEvent::Show)
            show();
        else if (type == QEvent::Hide)
            hide();
        else if (type == QEvent::Resize) {
            resize(owner->size());
            centreImage();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CWaitMaskWidget::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setBackgroundMode(Qt::TransparentMode);
    // The skin decides the text colour, so that it reads on the veil it paints.
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(font());
    const int x = width() / 2 - metrics.horizontalAdvance(shownText) / 2;
    const int y = height() / 2 + metrics.height() / 2;
    painter.drawText(x, y, shownText);
}
