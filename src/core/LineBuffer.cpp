#include "core/LineBuffer.h"

#include <QDebug>

LineBuffer::LineBuffer(qint64 maxLineBytes)
    : maxLineBytes(maxLineBytes)
{
}

bool LineBuffer::append(const QByteArray& bytes)
{
    bool kept = true;
    int from = 0;
    while (from < bytes.size()) {
        if (droppingLine) {
            const int end = bytes.indexOf('\n', from);
            if (end < 0)
                return kept;
            droppingLine = false;
            from = end + 1;
            continue;
        }
        // The lines of this piece, up to the first that reaches the limit. A line is measured
        // without its end and with what came of it before this piece.
        qint64 openLine = buffered.size() - wholeBytes;
        int lineStart = from;
        int keptEnd = -1;   // just past the last line end kept
        int end = -1;
        bool overlong = false;
        for (;;) {
            end = bytes.indexOf('\n', lineStart);
            const int contentEnd = end < 0 ? bytes.size() : end;
            if (openLine + (contentEnd - lineStart) >= maxLineBytes) {
                overlong = true;
                break;
            }
            if (end < 0)
                break;
            keptEnd = end + 1;
            openLine = 0;
            lineStart = keptEnd;
        }
        if (!overlong) {
            buffered.append(bytes.constData() + from, bytes.size() - from);
            if (keptEnd >= 0)
                wholeBytes = buffered.size() - (bytes.size() - keptEnd);
            return kept;
        }
        if (keptEnd >= 0) {
            buffered.append(bytes.constData() + from, keptEnd - from);
            wholeBytes = buffered.size();
        }
        buffered.truncate(int(wholeBytes));   // what came of the long line before this piece
        qWarning().noquote() << QStringLiteral("接收数据超过 %1 字节仍无行尾，已丢弃").arg(maxLineBytes);
        kept = false;
        if (end < 0) {
            droppingLine = true;
            return kept;
        }
        from = end + 1;
    }
    return kept;
}

QByteArray LineBuffer::takeWholeLines()
{
    const QByteArray lines = buffered.left(int(wholeBytes));
    buffered.remove(0, int(wholeBytes));
    wholeBytes = 0;
    return lines;
}

void LineBuffer::clear()
{
    buffered.clear();
    wholeBytes = 0;
}

void LineBuffer::reset()
{
    clear();
    droppingLine = false;
}
