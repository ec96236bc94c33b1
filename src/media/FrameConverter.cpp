#include "media/FrameConverter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <atomic>

namespace Media {

FrameConverter::~FrameConverter()
{
    reset();
}

void FrameConverter::reset()
{
    if (scaler) {
        sws_freeContext(scaler);
        scaler = nullptr;
    }
}

QImage* FrameConverter::freeBuffer(const QSize& size)
{
    for (QImage& b : buffers) {
        if (b.size() == size && b.isDetached()) {
            // The last holder let go in another thread: see its reads before writing.
            std::atomic_thread_fence(std::memory_order_acquire);
            return &b;
        }
    }
    QImage* slot = nullptr;
    for (QImage& b : buffers) {
        if (b.isNull() || b.isDetached()) {
            slot = &b;
            break;
        }
    }
    if (!slot) {
        // Every buffer is held (someone keeps pictures): leave that one to its holders.
        slot = &buffers[nextVictim];
        nextVictim = (nextVictim + 1) % buffers.size();
    }
    *slot = QImage(size, QImage::Format_RGB32);
    return slot->isNull() ? nullptr : slot;
}

QImage FrameConverter::convert(const AVFrame* f, const QSize& size, int scalerFlags)
{
    if (size.isEmpty() || f->width <= 0 || f->height <= 0)
        return QImage();
    const auto format = static_cast<AVPixelFormat>(f->format);
    scaler = sws_getCachedContext(scaler, f->width, f->height, format, size.width(), size.height(),
                                  AV_PIX_FMT_RGB32, scalerFlags, nullptr, nullptr, nullptr);
    if (!scaler)
        return QImage();
    QImage* out = freeBuffer(size);
    if (!out)
        return QImage();
    uint8_t* dst[4] = {out->bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {static_cast<int>(out->bytesPerLine()), 0, 0, 0};
    sws_scale(scaler, f->data, f->linesize, 0, f->height, dst, dstStride);
    return *out;
}

} // namespace Media
