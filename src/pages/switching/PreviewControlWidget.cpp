#include "pages/switching/PreviewControlWidget.h"

#include "pages/switching/AvPlayerControl.h"
#include "pagekit/PortDrag.h"
#include "pagekit/StyledBackground.h"
#include "media/WidgetRenderer.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

PreviewControlWidget::PreviewControlWidget(QWidget* parent)
    : QWidget(parent)
    , layout(new QVBoxLayout(this))
    , label(new QLabel(this))
{
    setObjectName(QStringLiteral("PreviewControlWidget"));
    setAcceptDrops(true);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    label->setObjectName(QStringLiteral("PreviewLabel"));
    label->setFixedHeight(20);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
}

PreviewControlWidget::~PreviewControlWidget()
{
    if (renderer)
        AvPlayerControl::instance()->removeVideoRenderer(renderer);
}

void PreviewControlWidget::setPlayer(Media::WidgetRenderer* videoRenderer)
{
    if (videoRenderer == renderer)
        return;
    renderer = videoRenderer;
    if (!renderer)
        return;
    renderer->setParent(this);
    renderer->setObjectName(QStringLiteral("PreviewRenderer"));
    // Shown over the dimmed last picture while the channel sends none.
    renderer->setSignalLostText(tr("无信号"));
    // Video above, label below.
    layout->insertWidget(0, renderer, 1);
}

void PreviewControlWidget::setLabelText(const QString& text)
{
    label->setText(text);
}

QString PreviewControlWidget::labelText() const
{
    return label->text();
}

QMimeData* PreviewControlWidget::dragData() const
{
    return PortDrag::mimeFor(shownInputIndex);
}

void PreviewControlWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressPos = event->pos();
    QWidget::mousePressEvent(event);
}

void PreviewControlWidget::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!(event->buttons() & Qt::LeftButton))
        return;
    if ((event->pos() - pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    PortDrag::startDrag(this, shownInputIndex);
}

void PreviewControlWidget::dragEnterEvent(QDragEnterEvent* event)
{
    PortDrag::acceptEnter(event);
}

void PreviewControlWidget::dropEvent(QDropEvent* event)
{
    const int input = PortDrag::takeDrop(event);
    if (input >= 0)
        emit dropped(input);
}

void PreviewControlWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
