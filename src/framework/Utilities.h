#pragma once

#include "LanguageSwitch.h"

#include <QList>
#include <QString>

class QWidget;

// Stateless helpers shared by every window and by the matrix and IP card links.

// True when a TCP connection to host:port is established within timeoutMs. Asks the loopback
// guard first; a refused host gives false without any connection attempt.
bool checkTcpConnect(const QString& host, quint16 port, int timeoutMs);

// True when the directory exists (a relative path is taken against the working directory).
bool isDirExist(const QString& path);

// Moves w to the centre of a width x height area, or, when both are 0, of its parent widget
// (or the desktop when it has none). A position never becomes negative.
void moveCenter(QWidget* w, int width = 0, int height = 0);

// True when the whole text is a dotted IPv4 address (leading zeros allowed: 010.1.1.1).
bool isIpAddress(const QString& text);

// True when the system ping command sees an answered echo from ip within timeoutMs.
bool ping(const QString& ip, int timeoutMs);

// Applies a style-sheet file to widget, or to the whole application when widget is null, and
// records its name in data/MainConfig.dat. An empty name means "skin/qss/default.qss".
void setSkin(const QString& qssFile = QString(), QWidget* widget = nullptr);

// Waits ms milliseconds while the event loop keeps running: slots may run re-entrantly.
void delayMs(int ms);

// Upper-case hexadecimal DES-ECB cipher text of text under key (see DesCipher).
QString desEncrypt(const QString& text, const QString& key);

// Every run of ASCII digits, left to right; a run too long for an int gives 0.
QList<int> extractNumbers(const QString& text);

// The file's text (UTF-8, up to its first NUL byte), or an empty text when it cannot be read.
QString readFile(const QString& fileName);

// Copies src as UTF-8 with a terminating NUL into dst of dstSize bytes. A text that does not
// fit is cut at the last whole character that does; nothing is written past dstSize, and
// nothing at all when dst is null or dstSize is not positive.
void copyToCharArray(char* dst, const QString& src, int dstSize);
