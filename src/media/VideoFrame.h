#pragma once

#include <QImage>
#include <QMetaType>
#include <QSize>

namespace Media {

// One decoded picture, already converted (and scaled) for the renderers.
struct VideoFrame
{
    QImage image;       // RGB32, at the size the renderers asked for
    QSize sourceSize;   // the picture's size in the stream
    qint64 number = 0;  // 1 for the first picture of a play, counting up
};

} // namespace Media

Q_DECLARE_METATYPE(Media::VideoFrame)
