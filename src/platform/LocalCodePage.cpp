#include "platform/LocalCodePage.h"

namespace LocalCodePage {

QByteArray encode(const QString& text)
{
    return text.toLocal8Bit();
}

QString decode(const QByteArray& bytes)
{
    return QString::fromLocal8Bit(bytes);
}

} // namespace LocalCodePage
