#include "media/VideoRenderer.h"

#include "media/AVPlayer.h"

namespace Media {

VideoRenderer::~VideoRenderer()
{
    // removeVideoRenderer edits the list; work on a copy.
    const QList<AVPlayer*> attached = players;
    for (AVPlayer* player : attached)
        player->removeVideoRenderer(this);
}

void VideoRenderer::setOutAspectRatioMode(int mode)
{
    aspectMode = mode;
    sizeChanged();
}

void VideoRenderer::setQuality(int q)
{
    qualityValue = q;
    sizeChanged();
}

void VideoRenderer::sizeChanged()
{
    for (AVPlayer* player : qAsConst(players))
        player->updateOutputGeometry();
}

} // namespace Media
