#pragma once

// The video-source backup file: exactly one VideoSourceGroupManage in protobuf's binary form,
// nothing before or after it; the same bytes as the body of the card's save request.

#include "VideoSourceProto.pb.h"

#include <QString>

namespace VideoSourceBackupFile {

enum class ReadResult {
    Ok,
    CannotOpen,
    NotAList,   // unparsable, or holding unknown fields outside its sources
};

// An empty file is the empty list. On anything but Ok *list is left as it was.
ReadResult read(const QString& path, com::kiv::protobuf::VideoSourceGroupManage* list);
// Replaces the file as a whole or leaves it as it was, readable by its owner only; false when
// it could not be written.
bool write(const QString& path, const com::kiv::protobuf::VideoSourceGroupManage& list);

} // namespace VideoSourceBackupFile
