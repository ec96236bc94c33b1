#pragma once

#include "media/VideoFrame.h"

#include <QList>
#include <QSize>

class QWidget;

namespace Media {

class AVPlayer;

// Something that shows a player's pictures. A renderer may be attached to several players; it
// detaches itself from all of them when destroyed. Used in the GUI thread only.
class VideoRenderer
{
public:
    enum OutAspectRatioMode { RendererAspectRatio = 0, VideoAspectRatio = 1 };
    enum Quality { QualityDefault = 0, QualityBest = 1, QualityFastest = 2 };

    VideoRenderer() = default;
    VideoRenderer(const VideoRenderer&) = delete;
    VideoRenderer& operator=(const VideoRenderer&) = delete;
    virtual ~VideoRenderer();

    // RendererAspectRatio fills the whole area; VideoAspectRatio keeps the picture's shape.
    void setOutAspectRatioMode(int mode);
    int outAspectRatioMode() const { return aspectMode; }
    void setQuality(int q);
    int quality() const { return qualityValue; }

    virtual QWidget* widget() { return nullptr; }
    // The size pictures should be delivered at; an empty size takes the stream's own.
    virtual QSize rendererSize() const = 0;
    // Called in the GUI thread with each picture of every player the renderer is attached to.
    virtual void receive(const VideoFrame& frame) = 0;
    // Called when a player's pictures stop (its play ended, failed or was stopped): what is on
    // show is no longer live until the next receive().
    virtual void signalLost() {}

protected:
    // Renderers call this when their size changes, so that players scale to the new size.
    void sizeChanged();

private:
    friend class AVPlayer;
    QList<AVPlayer*> players;
    int aspectMode = RendererAspectRatio;
    int qualityValue = QualityDefault;
};

} // namespace Media
