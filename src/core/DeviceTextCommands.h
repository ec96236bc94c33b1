#pragma once

#include <QChar>
#include <QString>

// The two literal commands that rename the matrix and set its model text: "/#<name>;" and
// "/?NewModel!<model>;", each text sent one byte per character with every Latin-1 value raised
// by a fixed offset (modulo 256). After the shift a byte must not end or break the command, so
// a character is sendable only when it has a Latin-1 value and its shifted byte is neither a
// control byte (0x00-0x1F) nor ";". The matrix keeps at most MaxBytes of a text.
namespace DeviceTextCommands {

constexpr int NameOffset = 37;
constexpr int ModelOffset = 44;
constexpr int MaxBytes = 32;

bool isSendable(QChar c, int offset);
// True when the text is not empty, fits MaxBytes and every character is sendable.
bool isSendable(const QString& text, int offset);

// The command text, one character per byte (send it as Latin-1); empty when the text is not
// sendable.
QString nameCommand(const QString& name);
QString modelCommand(const QString& model);

} // namespace DeviceTextCommands
