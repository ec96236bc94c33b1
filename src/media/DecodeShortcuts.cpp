#include "media/DecodeShortcuts.h"

#include "media/VideoRenderer.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace Media {

namespace {

int scalerFor(int quality)
{
    switch (quality) {
    case VideoRenderer::QualityBest: return SWS_BICUBIC;
    case VideoRenderer::QualityFastest: return SWS_FAST_BILINEAR;
    default: return SWS_BILINEAR;
    }
}

} // namespace

DecodeShortcuts DecodeShortcuts::forSizes(const QSize& picture, const QSize& shown, int quality)
{
    DecodeShortcuts d;
    // Until the picture's size is known nothing is left out.
    const bool known = picture.width() > 0 && picture.height() > 0;
    const bool unseen = shown.isEmpty();
    const bool reduced = known && !unseen && shown.width() * 2 <= picture.width()
                         && shown.height() * 2 <= picture.height();
    d.skipLoopFilter = d.fastDecoding = known && (unseen || reduced);
    // Shrinking to a tile: bilinear and bicubic read every source line and cost 5 to 8 times as
    // much as the two-tap fast bilinear, for a difference a tile cannot show. A tile that asks for
    // the best picture still gets it.
    d.scalerFlags = reduced && quality != VideoRenderer::QualityBest ? SWS_FAST_BILINEAR : scalerFor(quality);
    return d;
}

} // namespace Media
