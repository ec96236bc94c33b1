#include "pages/system/DeviceTextValidator.h"

#include "core/DeviceTextCommands.h"

DeviceTextValidator::DeviceTextValidator(int byteOffset, QObject* parent)
    : QValidator(parent)
    , offset(byteOffset)
{
}

QValidator::State DeviceTextValidator::validate(QString& input, int&) const
{
    if (input.isEmpty())
        return Intermediate;
    return DeviceTextCommands::isSendable(input, offset) ? Acceptable : Invalid;
}
