#include "framework/fCloudButton.h"

#include <QConicalGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace {
const QPoint kHitCentre(50, 50);
const int kCentreRadius = 20;
}

fCloudButton::fCloudButton(QWidget *parent)
    : QWidget(parent),
      centreRegion(30, 30, 40, 40, QRegion::Ellipse)
{
    setMouseTracking(true);
}

fCloudButton::ButtonType fCloudButton::areaAt(const QPoint &pos) const
{
    if (centreRegion.contains(pos))
        return Centre;
    const double a = qAbs(pos.x() - kHitCentre.x());
    const double b = qAbs(pos.y() - kHitCentre.y());
    const bool left = pos.x() <= kHitCentre.x();
    const bool up = pos.y() <= kHitCentre.y();
    if (b <= 0.4 * a)
        return left ? Left : Right;
    if (b <= 2.35 * a) {
        if (left)
            return up ? UpLeft : DownLeft;
        return up ? UpRight : DownRight;
    }
    return up ? Up : Down;
}

void fCloudButton::mousePressEvent(QMouseEvent *event)
{
    pressed = true;
    current = areaAt(event->pos());
    emit signalPress(current);
    update();
}

void fCloudButton::mouseReleaseEvent(QMouseEvent *)
{
    pressed = false;
    emit signalRelease(current);
    current = None;
    update();
}

void fCloudButton::mouseMoveEvent(QMouseEvent *event)
{
    current = centreRegion.contains(event->pos()) ? Centre : None;
    update();
}

void fCloudButton::leaveEvent(QEvent *)
{
    current = None;
    update();
}

void fCloudButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QRectF area = rect();
    const QPointF centre = area.center();

    QConicalGradient ring(centre, 60);
    ring.setColorAt(0, QColor(128, 128, 128));
    ring.setColorAt(0.8, QColor(54, 54, 54));
    ring.setColorAt(1, QColor(128, 128, 128));
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(area);

    if (current >= Up && current <= UpRight) {
        // Start angles centre a 40 degree wedge on each direction, counter-clockwise from up.
        static const int startAngles[] = {-250, -205, -160, -115, -70, -25, -340, -295};
        p.setBrush(QColor(150, 150, 150));
        p.drawPie(area, startAngles[current - Up] * 16, -40 * 16);
    }

    if (current == Centre) {
        p.setBrush(QColor(33, 133, 242));
    } else {
        QConicalGradient centreFill(centre, 60);
        centreFill.setColorAt(0, QColor(47, 144, 251));
        centreFill.setColorAt(0.8, QColor(9, 171, 252));
        centreFill.setColorAt(1, QColor(47, 144, 251));
        p.setBrush(centreFill);
    }
    p.drawEllipse(centre, kCentreRadius, kCentreRadius);
    p.setPen(Qt::white);
    p.drawText(QRectF(centre.x() - kCentreRadius, centre.y() - kCentreRadius, 2 * kCentreRadius,
                      2 * kCentreRadius),
               Qt::AlignCenter, QStringLiteral("Ok"));

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.translate(centre);
    const int base = int(arrowDistance - 0.6 * arrowWidth);
    const QPointF arrow[] = {QPointF(0, arrowDistance), QPointF(-arrowWidth / 2, base),
                             QPointF(arrowWidth / 2, base)};
    for (int i = 0; i < arrowCount; ++i) {
        p.drawPolygon(arrow, 3);
        p.rotate(360.0 / arrowCount);
    }
}
