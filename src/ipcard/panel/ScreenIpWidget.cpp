#include "ipcard/panel/ScreenIpWidget.h"

#include "ipcard/panel/DecoderTree.h"
#include "ipcard/panel/VideoSourceListWalk.h"

#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>

ScreenIpWidget::ScreenIpWidget(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ScreenWidget"));
    setAcceptDrops(true);
    setVideoSource(QByteArray());
}

QByteArray ScreenIpWidget::videoSource() const
{
    return property(SourceProperty).toByteArray();
}

void ScreenIpWidget::setVideoSource(const QByteArray& source)
{
    setProperty(SourceProperty, source);
    update();
}

QString ScreenIpWidget::sourceName() const
{
    return videoSourceText(videoSourceFromBytes(videoSource()).name());
}

void ScreenIpWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (DecoderTree::sourceOfDrag(event).isEmpty())
        return;
    event->setDropAction(Qt::LinkAction);
    event->accept();
}

void ScreenIpWidget::dropEvent(QDropEvent* event)
{
    const QByteArray source = DecoderTree::sourceOfDrag(event);
    if (source.isEmpty())
        return;
    setVideoSource(source);
    event->setDropAction(Qt::LinkAction);
    event->accept();
    emit dropped();
}

void ScreenIpWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setVideoSource(QByteArray());
    event->accept();
}

void ScreenIpWidget::enterEvent(QEvent*)
{
    hovered = true;
    update();
}

void ScreenIpWidget::leaveEvent(QEvent*)
{
    hovered = false;
    update();
}

void ScreenIpWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hovered ? QColor(26, 125, 202) : QColor(0, 73, 192));
    painter.drawRoundedRect(rect(), 5, 5);
    const QString name = sourceName();
    if (name.isEmpty())
        return;
    painter.setPen(Qt::white);
    // A name wider than the pane (nine panes on a small wall) ends in an ellipsis.
    const QRect room = rect().adjusted(4, 0, -4, 0);
    painter.drawText(room, Qt::AlignCenter, painter.fontMetrics().elidedText(name, Qt::ElideRight, room.width()));
}
