#include "ipcard/panel/FirmwareChunkPlan.h"

#include <QtEndian>

FirmwareChunkPlan::FirmwareChunkPlan(const QString& fileName, qint64 fileSize)
    : name(fileName)
    , size(fileSize)
{
}

FirmwareChunkPlan::Problem FirmwareChunkPlan::problem() const
{
    if (size <= 0)
        return EmptyFile;
    if (size > MaxFileSize)
        return FileTooLarge;
    for (QChar c : name) {
        if (c.unicode() > 0xFF)
            return NameNotLatin1;
    }
    return None;
}

QByteArray FirmwareChunkPlan::startBody() const
{
    QByteArray body = name.toLatin1();
    char sizeBytes[4];
    qToBigEndian(quint32(size), sizeBytes);
    body.append(sizeBytes, 4);
    return body;
}

QByteArray FirmwareChunkPlan::chunkBody(quint16 number, const QByteArray& data)
{
    QByteArray body(4, '\0');
    qToBigEndian(number, body.data());
    qToBigEndian(quint16(data.size()), body.data() + 2);
    return body + data;
}
