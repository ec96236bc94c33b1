#include "media/FramePump.h"

#include "media/AVPlayer.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Media {

namespace {
constexpr qint64 kWindowMs = 1000;
}

FramePump* FramePump::forCurrentThread()
{
    // One per thread, never deleted: decoding threads may still report pictures to it while
    // their players go away.
    static thread_local FramePump* pump = nullptr;
    if (!pump)
        pump = new FramePump;
    return pump;
}

int FramePump::intervalForRefreshRate(double hz)
{
    if (!std::isfinite(hz) || hz <= 0)
        hz = 60;
    return int(std::lround(1000.0 / qBound(25.0, hz, 60.0)));
}

FramePump::FramePump()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen() : nullptr;
    timer.setInterval(intervalForRefreshRate(screen ? screen->refreshRate() : 60.0));
    connect(&timer, &QTimer::timeout, this, &FramePump::wake);
}

void FramePump::add(AVPlayer* player)
{
    if (players.contains(player))
        return;
    players.append(player);
    window.start();
    windowPictures = 0;
    // Several players: their pictures together come faster than the screen refreshes.
    if (players.size() > 1)
        setTicking(true);
}

void FramePump::remove(AVPlayer* player)
{
    players.removeAll(player);
    if (players.isEmpty())
        setTicking(false);
}

void FramePump::pictureWaiting()
{
    // A ticking pump finds the picture at its next refresh; otherwise one wake-up is posted
    // for however many pictures arrive before it runs.
    if (ticking.load() || wakePosted.exchange(true))
        return;
    QMetaObject::invokeMethod(this, &FramePump::wake, Qt::QueuedConnection);
}

void FramePump::setTicking(bool on)
{
    if (ticking.load() == on)
        return;
    ticking.store(on);
    if (on) {
        timer.start();
        return;
    }
    timer.stop();
    // A picture that came while the pump still ticked posted no wake-up: take it now.
    if (!players.isEmpty())
        windowPictures += presentAll();
}

int FramePump::presentAll()
{
    int presented = 0;
    // A renderer may remove or destroy players while it takes its picture.
    const QList<AVPlayer*> now = players;
    for (AVPlayer* player : now) {
        if (players.contains(player) && player->presentNewest())
            ++presented;
    }
    return presented;
}

void FramePump::wake()
{
    ++wakes;
    wakePosted.store(false);
    windowPictures += presentAll();
    if (window.elapsed() < kWindowMs)
        return;
    // Wake per refresh while the pictures of a second outnumber four fifths of the refreshes.
    const double refreshes = double(window.elapsed()) / timer.interval();
    setTicking(windowPictures >= 0.8 * refreshes);
    window.start();
    windowPictures = 0;
}

} // namespace Media
