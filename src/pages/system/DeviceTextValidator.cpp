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
    for (const QChar c : input) {
        if (!DeviceTextCommands::isSendable(c, offset))
            return Invalid;
    }
    // Longer than the matrix takes: only a text stored by an earlier build, shown whole (the
    // field's length stops typing past the limit). It may be shortened but never finishes editing.
    return input.size() > DeviceTextCommands::MaxBytes ? Intermediate : Acceptable;
}
