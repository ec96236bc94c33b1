#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

namespace Media {

class AVPlayer;

// Hands the newest picture of every playing player to its renderers once per screen refresh.
// Decoding threads only leave pictures in their mailboxes; one timer of the players' thread takes
// them all, so the GUI wakes 25 to 60 times a second however many players there are, instead of
// once per player and picture. The timer runs only while some player plays.
class FramePump : public QObject
{
    Q_OBJECT
public:
    // The pump of the calling thread (created on first use; it lives as long as the thread).
    static FramePump* forCurrentThread();

    void add(AVPlayer* player);
    void remove(AVPlayer* player);
    bool isRunning() const { return timer.isActive(); }
    int intervalMs() const { return timer.interval(); }
    // Timer wake-ups so far.
    qint64 wakeUps() const { return ticks; }

    // Refresh rate in Hz -> interval in ms, kept between 25 and 60 pictures a second: a faster
    // screen gains nothing on 25 fps streams, and a slower rate than the streams would drop pictures.
    static int intervalForRefreshRate(double hz);

private:
    FramePump();
    void tick();

    QTimer timer;
    QList<AVPlayer*> players;
    qint64 ticks = 0;
};

} // namespace Media
