#pragma once

// The settings the console's preview pool gives each of its players, for tests and benchmarks
// that play the simulated streams the way the console does.

#include "media/AVPlayer.h"

inline void configureAsPreviewPlayer(Media::AVPlayer& p)
{
    p.setFrameRate(0.0);
    p.audio()->setBackends({QStringLiteral("null")});
    p.setInterruptOnTimeout(true);
    p.setInterruptTimeout(6000);
    p.setBufferMode(Media::BufferPackets);
    p.setBufferValue(1);
    p.setRepeat(-1);
    p.setOptionsForAudioCodec({});
    p.setVideoDecoderPriority({"FFmpeg", "CUDA", "D3D11", "DXVA"});
    p.setOptionsForFormat({{"avioflags", "direct"}, {"rtsp_transport", "tcp"}, {"probesize", 2048},
                           {"analyzeduration", 40000}, {"packetsize", 3110400.0}, {"profile", "main"}});
    p.masterClock()->setClockAuto(false);
    p.masterClock()->setClockType(Media::AVClock::VideoClock);
}
