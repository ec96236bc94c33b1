#include "pagekit/PortDrag.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace PortDrag {

QString mimeType()
{
    return QStringLiteral("application/x-qabstractitemmodeldatalist");
}

QMimeData* mimeFor(int portIndex)
{
    auto* data = new QMimeData;
    data->setData(mimeType(), QByteArray::number(portIndex));
    return data;
}

bool carriesPort(const QMimeData* data)
{
    return data && data->hasFormat(mimeType());
}

int portFrom(const QMimeData* data)
{
    if (!carriesPort(data))
        return -1;
    bool ok = false;
    const int value = data->data(mimeType()).toInt(&ok);
    return ok && uint(value) <= 255u ? value : -1;
}

void acceptEnter(QDragEnterEvent* event)
{
    if (carriesPort(event->mimeData())) {
        event->setDropAction(Qt::LinkAction);
        event->accept();
    }
}

int takeDrop(QDropEvent* event)
{
    const int port = portFrom(event->mimeData());
    if (port < 0) {
        event->ignore();
        return -1;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    return port;
}

void startDrag(QObject* source, int portIndex)
{
    auto* drag = new QDrag(source);
    drag->setMimeData(mimeFor(portIndex));
    drag->exec(Qt::LinkAction);
}

} // namespace PortDrag
