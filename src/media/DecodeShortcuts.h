#pragma once

#include <QSize>

namespace Media {

// How much work a picture needs for the size it is shown at. A picture shown at most half its
// size in both directions cannot show what the deblocking filter smooths or what the decoder's
// bit-exact paths keep exact, so those are skipped there and the scaler is the fastest one that
// still filters. Pictures shown larger are decoded and scaled in full.
struct DecodeShortcuts
{
    bool skipLoopFilter = false; // the deblocking filter is not run
    bool fastDecoding = false;   // the decoder may take its fast, non-bit-exact paths
    int scalerFlags = 0;         // swscale's algorithm for the conversion to the shown size

    // picture: the decoded size (empty while unknown); shown: the size the renderers show it at
    // (empty when no renderer shows it); quality: VideoRenderer::Quality.
    static DecodeShortcuts forSizes(const QSize& picture, const QSize& shown, int quality);

    bool operator==(const DecodeShortcuts& o) const
    {
        return skipLoopFilter == o.skipLoopFilter && fastDecoding == o.fastDecoding && scalerFlags == o.scalerFlags;
    }
    bool operator!=(const DecodeShortcuts& o) const { return !(*this == o); }
};

} // namespace Media
