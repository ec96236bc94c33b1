#pragma once

#include "media/VideoFrame.h"

#include <QMutex>

namespace Media {

// Hands the newest picture from a decoding thread to the GUI thread. It holds one picture: a
// picture not yet taken when the next arrives is replaced, so a slow GUI never builds a queue.
class FrameMailbox
{
public:
    // Returns true when the box was empty, i.e. the taker must be told.
    bool put(VideoFrame frame);
    // The newest picture, or false when there is none.
    bool take(VideoFrame* frame);
    qint64 replaced() const;

private:
    mutable QMutex mutex;
    VideoFrame frame;
    bool full = false;
    qint64 replacedCount = 0;
};

} // namespace Media
