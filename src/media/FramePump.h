#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <atomic>

namespace Media {

class AVPlayer;

// Hands the newest picture of every playing player to its renderers, waking the players' thread
// at most once per screen refresh for all of them: 16 players at 25 fps cost the GUI 60 wake-ups
// a second, not 400. While fewer pictures come than the screen refreshes (one player), each
// picture wakes the thread once instead, so that no refresh passes idle.
class FramePump : public QObject
{
    Q_OBJECT
public:
    // The pump of the calling thread (created on first use; it lives as long as the thread).
    static FramePump* forCurrentThread();

    void add(AVPlayer* player);
    void remove(AVPlayer* player);
    // Any thread: a player's mailbox got a picture while it was empty.
    void pictureWaiting();

    // True while the pump wakes at every refresh (false: at every picture, or not at all).
    bool isTicking() const { return ticking.load(); }
    int intervalMs() const { return timer.interval(); }
    // Wake-ups that looked for pictures so far.
    qint64 wakeUps() const { return wakes; }

    // Refresh rate in Hz -> interval in ms, kept between 25 and 60 pictures a second: a faster
    // screen gains nothing on 25 fps streams, and a slower rate than the streams would drop pictures.
    static int intervalForRefreshRate(double hz);

private:
    FramePump();
    void wake();
    void setTicking(bool on);
    int presentAll();

    QTimer timer;
    QList<AVPlayer*> players;
    std::atomic<bool> ticking{false};
    std::atomic<bool> wakePosted{false};
    qint64 wakes = 0;
    // Pictures in the current second, to choose between waking per refresh and per picture.
    QElapsedTimer window;
    int windowPictures = 0;
};

} // namespace Media
