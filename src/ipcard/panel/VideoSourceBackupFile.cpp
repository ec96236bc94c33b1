#include "ipcard/panel/VideoSourceBackupFile.h"

#include "core/AtomicFile.h"

#include <QFile>

using namespace com::kiv::protobuf;

namespace VideoSourceBackupFile {

ReadResult read(const QString& path, VideoSourceGroupManage* list)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::CannotOpen;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return ReadResult::NotAList;
    VideoSourceGroupManage parsed;
    if (!parsed.ParseFromArray(bytes.constData(), bytes.size()))
        return ReadResult::NotAList;
    // Random bytes often parse as fields of numbers the schema does not know: a real list has
    // none of them.
    const size_t parsedSize = parsed.ByteSizeLong();
    parsed.DiscardUnknownFields();
    if (parsed.ByteSizeLong() != parsedSize)
        return ReadResult::NotAList;
    list->Swap(&parsed);
    return ReadResult::Ok;
}

bool write(const QString& path, const VideoSourceGroupManage& list)
{
    return writeFileAtomically(path, QByteArray::fromStdString(list.SerializeAsString()));
}

} // namespace VideoSourceBackupFile
