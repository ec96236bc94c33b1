#pragma once

#include <QImage>
#include <QSize>

#include <array>

struct AVFrame;
struct SwsContext;

namespace Media {

// Converts decoded pictures to RGB32 at the renderers' size. The pictures are written into a
// few reused buffers: a buffer is written again only when no one else holds a QImage of it
// any more, so a picture handed out is never changed under its holder. Decoding thread only.
class FrameConverter
{
public:
    FrameConverter() = default;
    ~FrameConverter();
    FrameConverter(const FrameConverter&) = delete;
    FrameConverter& operator=(const FrameConverter&) = delete;

    // The picture scaled to size with swscale's scalerFlags (SWS_*); a null image when the
    // size is empty or the picture cannot be converted.
    QImage convert(const AVFrame* frame, const QSize& size, int scalerFlags);
    // Frees the scaler (a new stream may bring another picture format); buffers are kept.
    void reset();

private:
    QImage* freeBuffer(const QSize& size);

    SwsContext* scaler = nullptr;
    // One on show, one waiting in the mailbox, one being written.
    std::array<QImage, 3> buffers;
    size_t nextVictim = 0;
};

} // namespace Media
