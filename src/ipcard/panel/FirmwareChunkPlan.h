#pragma once

// How a firmware file travels to an IP card: a start request naming the file and its size, then
// the file in chunks of 10240 bytes numbered downwards to 0 (the first chunk carries the highest
// number, the last one 0), then an end request.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class FirmwareChunkPlan
{
public:
    static constexpr int ChunkSize = 10240;
    // Chunk numbers are 16 bits wide.
    static constexpr qint64 MaxChunks = 0x10000;
    static constexpr qint64 MaxFileSize = MaxChunks * ChunkSize;

    enum Problem { None, EmptyFile, FileTooLarge, NameNotLatin1 };

    FirmwareChunkPlan(const QString& fileName, qint64 fileSize);

    // What keeps the file from being sent; None when it can go.
    Problem problem() const;

    qint64 fileSize() const { return size; }
    int chunkCount() const { return int((size + ChunkSize - 1) / ChunkSize); }
    // Number carried by the chunk at position index (0 = the start of the file).
    quint16 chunkNumber(int index) const { return quint16(chunkCount() - 1 - index); }

    // Body of the start request: the name in Latin-1, then the size as 32-bit big-endian.
    QByteArray startBody() const;
    // Body of one chunk request: number and data length as 16-bit big-endian, then the data.
    static QByteArray chunkBody(quint16 number, const QByteArray& data);

private:
    QString name;
    qint64 size;
};
