#pragma once

#include <QList>
#include <QString>

// Text and file helpers shared by the links and the windows.

// True when the directory exists (a relative path is taken against the working directory).
bool isDirExist(const QString& path);

// True when the whole text is a dotted IPv4 address (leading zeros allowed: 010.1.1.1).
bool isIpAddress(const QString& text);

// Every run of ASCII digits, left to right; a run too long for an int gives 0.
QList<int> extractNumbers(const QString& text);

// The file's text (UTF-8, up to its first NUL byte), or an empty text when it cannot be read.
QString readFile(const QString& fileName);

// Copies src as UTF-8 with a terminating NUL into dst of dstSize bytes. A text that does not
// fit is cut at the last whole character that does; nothing is written past dstSize, and
// nothing at all when dst is null or dstSize is not positive.
void copyToCharArray(char* dst, const QString& src, int dstSize);
