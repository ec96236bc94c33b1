#pragma once

#include <QMetaType>

namespace Media {

// Where a player stands with its media. The numbers are part of the interface: callers compare
// against them (a player is played again when it has nothing, stalled, ended or failed).
enum MediaStatus {
    UnknownMediaStatus = 0,
    NoMedia = 1,        // nothing loaded: before the first play and after stop()
    LoadingMedia = 2,   // opening the stream
    LoadedMedia = 3,    // stream and decoder open
    StalledMedia = 4,   // a read was abandoned (time-out or lost connection)
    BufferingMedia = 5, // waiting for the first picture
    BufferedMedia = 6,  // pictures are coming
    EndOfMedia = 7,     // the stream ended and no repeat is left
    InvalidMedia = 8    // the stream cannot be opened or decoded
};

// How much the demuxer may read ahead of the decoder.
enum BufferMode {
    BufferTime = 0,
    BufferBytes = 1,
    BufferPackets = 2
};

} // namespace Media

Q_DECLARE_METATYPE(Media::MediaStatus)
