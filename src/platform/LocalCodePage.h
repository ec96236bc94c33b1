#pragma once

#include <QByteArray>
#include <QString>

// The code page of the matrix's text protocol: the device reads and writes GB2312, whatever the
// locale of the machine the console runs on. Template commands and the reply lines go through it.
// The process-wide locale codec is left alone: on this platform it also names files, and file
// names with Chinese characters must stay in the file system's own encoding.
namespace LocalCodePage {

QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

} // namespace LocalCodePage
