#pragma once

#include <QByteArray>

// Bytes read from the matrix and not yet delivered, handed out as whole lines ("\n" ends one).
// A line still arriving stays here until its end comes, whatever took the lines before it. A line
// that reaches the limit without its end is dropped, and with it every byte up to that end,
// however the bytes arrive (one read or many) and whoever reads meanwhile.
class LineBuffer
{
public:
    explicit LineBuffer(qint64 maxLineBytes);

    // False when a line reached the limit during this call: what it held is gone, and the rest of
    // it is dropped as it comes.
    bool append(const QByteArray& bytes);
    bool hasWholeLine() const { return wholeBytes > 0; }
    bool isEmpty() const { return buffered.isEmpty(); }
    // Everything buffered: the whole lines and the start of the line still arriving.
    const QByteArray& bytes() const { return buffered; }
    // The whole lines, with their ends; the start of the next line stays.
    QByteArray takeWholeLines();
    // Forgets what is buffered; a line being dropped is still dropped up to its end.
    void clear();
    // Forgets everything, the dropping too: for a new connection.
    void reset();

private:
    qint64 maxLineBytes;
    QByteArray buffered;
    // The leading bytes of buffered that end with a line end.
    qint64 wholeBytes = 0;
    bool droppingLine = false;
};
