#include "media/FrameMailbox.h"

#include <QMutexLocker>

namespace Media {

bool FrameMailbox::put(VideoFrame next)
{
    QMutexLocker lock(&mutex);
    const bool wasEmpty = !full;
    if (full)
        ++replacedCount;
    frame = std::move(next);
    full = true;
    return wasEmpty;
}

bool FrameMailbox::take(VideoFrame* out)
{
    QMutexLocker lock(&mutex);
    if (!full)
        return false;
    *out = std::move(frame);
    frame = VideoFrame();
    full = false;
    return true;
}

qint64 FrameMailbox::replaced() const
{
    QMutexLocker lock(&mutex);
    return replacedCount;
}

} // namespace Media
