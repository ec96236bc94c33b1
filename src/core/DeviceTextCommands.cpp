#include "core/DeviceTextCommands.h"

namespace DeviceTextCommands {

namespace {

QChar shifted(QChar c, int offset)
{
    return QChar(ushort((c.unicode() + offset) % 256));
}

QString command(const QString& prefix, const QString& text, int offset)
{
    if (!isSendable(text, offset))
        return QString();
    QString out = prefix;
    for (const QChar c : text)
        out += shifted(c, offset);
    return out + QLatin1Char(';');
}

} // namespace

bool isSendable(QChar c, int offset)
{
    if (c.unicode() > 0xFF)
        return false;
    const QChar byte = shifted(c, offset);
    return byte.unicode() >= 0x20 && byte != QLatin1Char(';');
}

bool isSendable(const QString& text, int offset)
{
    if (text.isEmpty() || text.size() > MaxBytes)
        return false;
    for (const QChar c : text) {
        if (!isSendable(c, offset))
            return false;
    }
    return true;
}

QString nameCommand(const QString& name)
{
    return command(QStringLiteral("/#"), name, NameOffset);
}

QString modelCommand(const QString& model)
{
    return command(QStringLiteral("/?NewModel!"), model, ModelOffset);
}

} // namespace DeviceTextCommands
