#pragma once

#include <QByteArray>
#include <QString>

// Texts exchanged in the system's local 8-bit code page (the matrix commands that are not
// Latin-1). On Linux this is the locale's codec, normally UTF-8.
namespace LocalCodePage {

QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

} // namespace LocalCodePage
