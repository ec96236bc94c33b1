#pragma once

#include <QByteArray>
#include <QString>

// Byte strings on the control port: "\r", "\n", "\t", "\\", "\s" (blank) and "\xHH" stand for
// the bytes themselves, so that one blank-separated word can carry any reply.
namespace Escapes {

QByteArray decode(const QString& text);
QString encode(const QByteArray& bytes);

} // namespace Escapes
