#include "pages/switching/ScreenWidget.h"

#include "core/MatrixModel.h"
#include "pagekit/PageModel.h"
#include "pagekit/PortDrag.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

ScreenWidget::ScreenWidget(QWidget* parent)
    : QWidget(parent)
    , clickTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("ScreenWidget"));
    setAcceptDrops(true);
    clickTimer->setSingleShot(true);
    connect(clickTimer, &QTimer::timeout, this, &ScreenWidget::mouseClick);
}

void ScreenWidget::setCardText(int port, int kind)
{
    if (port < 0) {
        inText = tr("无");
    } else {
        const CardInfo record = PageModel::model()->getCardInfo(port);
        const QString sub = kind == 0 ? CardKey::InCard : CardKey::OutCard;
        inText = portLabel(record.value(sub).toObject(), port);
    }
    update();
}

void ScreenWidget::setOutputText(const QString& text)
{
    outText = text;
    update();
}

void ScreenWidget::setSelected(bool on)
{
    if (selected == on)
        return;
    selected = on;
    update();
}

void ScreenWidget::mouseClick()
{
    emit clicked();
}

void ScreenWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        clickTimer->start(kClickDelayMs);
}

void ScreenWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    clickTimer->stop();
    emit signalCloseSwicth(portIndex);
    update();
}

void ScreenWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setWeight(QFont::Bold);
    painter.setFont(font);

    QColor fill = selected ? QColor(31, 151, 213) : QColor(0, 73, 192);
    if (!isEnabled())
        fill = Qt::darkGray;
    painter.setBrush(fill);
    painter.setPen(Qt::white);
    // On pixel centres: a crisp 1 px outline inside the tile despite antialiasing.
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));

    const int h = (height() - 20) / 2;
    painter.drawText(QRect(0, 0, width(), h), Qt::AlignHCenter | Qt::AlignBottom, inText);
    painter.drawText(QRect(0, h + 10, width(), h), Qt::AlignHCenter | Qt::AlignTop, outText);
}

void ScreenWidget::dragEnterEvent(QDragEnterEvent* event)
{
    PortDrag::acceptEnter(event);
}

void ScreenWidget::dropEvent(QDropEvent* event)
{
    if (outText.isEmpty())
        return;
    const int input = PortDrag::takeDrop(event);
    if (input >= 0)
        emit dropped(input);
}
