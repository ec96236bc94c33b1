#include "media/WidgetRenderer.h"

#include <QPainter>

namespace Media {

WidgetRenderer::WidgetRenderer(QWidget* parent) : QWidget(parent)
{
    // Every pixel is painted each time: skip Qt's background fill.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WidgetRenderer::receive(const VideoFrame& frame)
{
    current = frame;
    ++received;
    lost = false;
    update();
}

void WidgetRenderer::signalLost()
{
    if (lost)
        return;
    lost = true;
    update();
}

void WidgetRenderer::setSignalLostText(const QString& text)
{
    lostText = text;
    if (lost)
        update();
}

QRect WidgetRenderer::targetRect() const
{
    if (outAspectRatioMode() != VideoAspectRatio || current.sourceSize.isEmpty())
        return rect();
    const QSize fitted = current.sourceSize.scaled(size(), Qt::KeepAspectRatio);
    QRect r(QPoint(0, 0), fitted);
    r.moveCenter(rect().center());
    return r;
}

void WidgetRenderer::paintSignalLost(QPainter& painter)
{
    // A frozen picture must not pass for a live one: dim it well below any live picture.
    painter.fillRect(rect(), QColor(0, 0, 0, 170));
    if (lostText.isEmpty())
        return;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, lostText);
}

void WidgetRenderer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (current.image.isNull()) {
        painter.fillRect(rect(), Qt::black);
        if (lost)
            paintSignalLost(painter);
        return;
    }
    const QRect target = targetRect();
    if (target != rect()) {
        const QRegion border = QRegion(rect()).subtracted(QRegion(target));
        for (const QRect& r : border)
            painter.fillRect(r, Qt::black);
    }
    // Players deliver at this widget's size; only a resize in between needs scaling here.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, quality() != QualityFastest);
    if (current.image.size() == target.size())
        painter.drawImage(target.topLeft(), current.image);
    else
        painter.drawImage(target, current.image);
    if (lost)
        paintSignalLost(painter);
}

void WidgetRenderer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    sizeChanged();
}

} // namespace Media
