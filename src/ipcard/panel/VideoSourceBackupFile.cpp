#include "ipcard/panel/VideoSourceBackupFile.h"

#include "core/AtomicFile.h"

#include <QFile>

using namespace com::kiv::protobuf;

namespace {

// A list holds groups, and a group a name and sources: fields of other numbers there mark bytes
// that merely happen to parse (random bytes often do). Inside a source they are fields of a newer
// card's firmware, which the tree keeps and saves back.
bool hasUnknownFieldsAroundSources(const VideoSourceGroupManage& list)
{
    if (list.GetReflection()->GetUnknownFields(list).field_count() > 0)
        return true;
    for (const VideoSourceGroup& group : list.videosourcegroups()) {
        if (group.GetReflection()->GetUnknownFields(group).field_count() > 0)
            return true;
    }
    return false;
}

} // namespace

namespace VideoSourceBackupFile {

ReadResult read(const QString& path, VideoSourceGroupManage* list)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::CannotOpen;
    const QByteArray bytes = file.readAll();
    // Zero bytes are the empty list, as an empty tree exports it.
    VideoSourceGroupManage parsed;
    if (!parsed.ParseFromArray(bytes.constData(), bytes.size()) || hasUnknownFieldsAroundSources(parsed))
        return ReadResult::NotAList;
    list->Swap(&parsed);
    return ReadResult::Ok;
}

bool write(const QString& path, const VideoSourceGroupManage& list)
{
    // The file holds every camera's login: owner-only from its first byte on.
    return writeFileAtomically(path, QByteArray::fromStdString(list.SerializeAsString()),
                               QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace VideoSourceBackupFile
