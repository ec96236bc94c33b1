#pragma once

// A card's video-source list walked straight into the builder, as a source tree filled from the
// list and read back would turn it.

#include "ipcard/panel/VideoSourceListWalk.h"

inline com::kiv::protobuf::VideoSourceGroupManage rebuiltVideoSourceList(
    const com::kiv::protobuf::VideoSourceGroupManage& list)
{
    VideoSourceListBuilder builder;
    VideoSourceListWalk walk;
    walk.onGroup = [&builder](const QString& name) { builder.startGroup(name); };
    walk.onSource = [&builder](const com::kiv::protobuf::VideoSource&, const QByteArray& bytes, bool inGroup) {
        if (inGroup)
            builder.addSource(bytes);
        else
            builder.startLooseSource(bytes);
    };
    walk.run(list);
    return builder.list();
}
