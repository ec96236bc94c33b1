#include "media/FramePump.h"

#include "media/AVPlayer.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Media {

FramePump* FramePump::forCurrentThread()
{
    // One per thread, never deleted: players of a thread may be destroyed as late as its end.
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
    connect(&timer, &QTimer::timeout, this, &FramePump::tick);
}

void FramePump::add(AVPlayer* player)
{
    if (players.contains(player))
        return;
    players.append(player);
    if (!timer.isActive())
        timer.start();
}

void FramePump::remove(AVPlayer* player)
{
    players.removeAll(player);
    if (players.isEmpty())
        timer.stop();
}

void FramePump::tick()
{
    ++ticks;
    // A renderer may remove or destroy players while it takes its picture.
    const QList<AVPlayer*> now = players;
    for (AVPlayer* player : now) {
        if (players.contains(player))
            player->presentNewest();
    }
}

} // namespace Media
