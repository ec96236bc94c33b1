#pragma once

namespace Media {

// The clock that times presentation. Players here decode no audio, so pictures are always
// presented on the video clock; the settings are kept for callers that state them.
class AVClock
{
public:
    enum ClockType { AudioClock = 0, ExternalClock = 1, VideoClock = 2 };

    void setClockAuto(bool on) { automatic = on; }
    bool isClockAuto() const { return automatic; }
    void setClockType(ClockType t) { type = t; }
    ClockType clockType() const { return type; }

private:
    bool automatic = true;
    ClockType type = AudioClock;
};

} // namespace Media
