#include "platform/DeviceLogText.h"

#include <QtGlobal>

namespace DeviceLogText {

QString excerpt(const QString& text)
{
    if (text.size() <= ExcerptLength)
        return text;
    return text.left(ExcerptLength) + QStringLiteral("...[%1 chars]").arg(text.size());
}

QByteArray excerpt(const QByteArray& bytes)
{
    if (bytes.size() <= ExcerptLength)
        return bytes;
    return bytes.left(ExcerptLength) + "...[" + QByteArray::number(bytes.size()) + " bytes]";
}

} // namespace DeviceLogText

LogBudget::LogBudget(int burst, int perSecond)
    : burst(burst)
    , perSecond(perSecond)
    , tokens(burst)
{
    clock.start();
}

bool LogBudget::admit(int* heldBack)
{
    const qint64 now = clock.nsecsElapsed();
    tokens = qMin<double>(burst, tokens + double(now - lastRefill) * perSecond / 1e9);
    lastRefill = now;
    if (tokens < 1.0) {
        ++skipped;
        return false;
    }
    tokens -= 1.0;
    *heldBack = skipped;
    skipped = 0;
    return true;
}
