#include "platform/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QRegExp>

#include <cstring>

bool isDirExist(const QString& path)
{
    return QDir(path).exists();
}

bool isIpAddress(const QString& text)
{
    // [0-9] rather than \d: QRegExp's \d also takes non-ASCII digits, which no device accepts.
    const QRegExp address(QStringLiteral(
        "((2[0-4][0-9]|25[0-5]|[01]?[0-9][0-9]?)\\.){3}(2[0-4][0-9]|25[0-5]|[01]?[0-9][0-9]?)"));
    return address.exactMatch(text);
}

QList<int> extractNumbers(const QString& text)
{
    QList<int> numbers;
    const QRegExp digits(QStringLiteral("([0-9]+)"));
    int from = 0;
    while ((from = digits.indexIn(text, from)) != -1) {
        numbers.append(digits.cap(0).toInt(nullptr, 10));
        from += digits.matchedLength();
    }
    return numbers;
}

QString readFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = file.readAll();
    file.close();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return QString::fromUtf8(bytes);
}

void copyToCharArray(char* dst, const QString& src, int dstSize)
{
    if (!dst || dstSize <= 0)
        return;
    const QByteArray utf8 = src.toUtf8();
    int length = qMin(utf8.size(), dstSize - 1);
    // Back off to the start of a character: continuation bytes are 10xxxxxx.
    if (length < utf8.size()) {
        while (length > 0 && (static_cast<unsigned char>(utf8.at(length)) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(dst, utf8.constData(), size_t(length));
    dst[length] = '\0';
}
