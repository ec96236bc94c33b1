#include "PortDrag.h"

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

} // namespace PortDrag
