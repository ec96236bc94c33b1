#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The code page of the matrix's text protocol: the device reads and writes GB2312, whatever the
// locale of the machine the console runs on. Template commands and the reply lines go through it.
// The process-wide locale codec is left alone: on this platform it also names files, and file
// names with Chinese characters must stay in the file system's own encoding.
namespace LocalCodePage {

QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

// The converter also writes GBK's extensions (more hanzi, "€" as 0x80, private-use cells), and it
// puts "?" where it has nothing; a GB2312 device shows neither as typed. A character is carried
// only when it is ASCII or encodes to a cell that GB2312 itself fills (lead A1-F7, trail A1-FE,
// without the rows and row ends GB2312 leaves empty) and decodes back to itself.
// The characters (whole code points) of text that are not carried, each once, in order.
QStringList unencodable(const QString& text);
bool isEncodable(const QString& text);

} // namespace LocalCodePage
