#include "media/AVPlayer.h"

#include "media/FramePump.h"
#include "media/VideoRenderer.h"

#include <QMutex>
#include <QMutexLocker>

#include <chrono>
#include <thread>

namespace Media {

namespace {
constexpr qint64 kMinOpenIntervalMs = 1000;
constexpr int kDestroyWaitMs = 3000;

qint64 monotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}

// Carries one session's news from its decoding thread to the player's thread. Detached when
// the player stops the session or is destroyed; news of a detached session is dropped.
class SessionBridge : public SessionListener
{
public:
    SessionBridge(AVPlayer* player, quint64 generation, FramePump* pump)
        : owner(player), generation(generation), pump(pump)
    {
    }

    void detach()
    {
        QMutexLocker lock(&mutex);
        owner = nullptr;
    }

    void sessionStatus(MediaStatus s) override
    {
        post([s](AVPlayer* p) { p->sessionStatus(s); });
    }
    void sessionStarted() override
    {
        post([](AVPlayer* p) { p->sessionStarted(); });
    }
    void sessionPictureWaiting() override
    {
        // The pump outlives every player and takes calls from any thread.
        pump->pictureWaiting();
    }
    void sessionFinished(MediaStatus s, const AVError& e, bool hadStarted) override
    {
        post([s, e, hadStarted](AVPlayer* p) { p->sessionFinished(s, e, hadStarted); });
    }

private:
    template <typename F>
    void post(F f)
    {
        // Holding the lock while posting: the player cannot be destroyed in between, and events
        // posted before its destruction die with it.
        QMutexLocker lock(&mutex);
        if (!owner)
            return;
        AVPlayer* p = owner;
        // Runs in the player's thread; news of a play that was replaced meanwhile is dropped.
        const quint64 gen = generation;
        QMetaObject::invokeMethod(
            p, [p, f, gen] {
                if (p->generation == gen)
                    f(p);
            },
            Qt::QueuedConnection);
    }

    QMutex mutex;
    AVPlayer* owner;
    const quint64 generation;
    FramePump* const pump;
};

AVPlayer::AVPlayer(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<Media::AVError>("Media::AVError");
    qRegisterMetaType<Media::MediaStatus>("Media::MediaStatus");
}

AVPlayer::~AVPlayer()
{
    for (VideoRenderer* r : qAsConst(renderers))
        r->players.removeAll(this);
    renderers.clear();
    retireSession();
    if (pump)
        pump->remove(this);
    for (const auto& s : qAsConst(retired)) {
        // Aborted reads return within ~0.1 s; a name lookup cannot be interrupted, so do not
        // wait for ever: the thread holds its own reference and cleans up when it returns.
        if (!s->waitFinished(kDestroyWaitMs))
            qWarning("media: a decoding thread is still busy after %d ms; leaving it to finish", kDestroyWaitMs);
    }
}

void AVPlayer::setFile(const QString& u)
{
    url = u;
}

bool AVPlayer::isPlaying() const
{
    return session != nullptr;
}

void AVPlayer::setStatus(MediaStatus s)
{
    if (status == s)
        return;
    status = s;
    emit mediaStatusChanged(s);
}

OutputGeometry AVPlayer::outputGeometry() const
{
    OutputGeometry g;
    int area = -1;
    bool allFastest = !renderers.isEmpty();
    for (VideoRenderer* r : renderers) {
        QSize s = r->rendererSize();
        if (s.width() * s.height() > area) {
            area = s.width() * s.height();
            g.size = s;
        }
        g.keepAspect = g.keepAspect || r->outAspectRatioMode() == VideoRenderer::VideoAspectRatio;
        if (r->quality() == VideoRenderer::QualityBest)
            g.quality = VideoRenderer::QualityBest;
        allFastest = allFastest && r->quality() == VideoRenderer::QualityFastest;
    }
    if (allFastest)
        g.quality = VideoRenderer::QualityFastest;
    return g;
}

void AVPlayer::updateOutputGeometry()
{
    sentGeometry = outputGeometry();
    if (session)
        session->setGeometry(sentGeometry);
}

void AVPlayer::addVideoRenderer(VideoRenderer* renderer)
{
    if (!renderer || renderers.contains(renderer))
        return;
    renderers.append(renderer);
    renderer->players.append(this);
    updateOutputGeometry();
}

void AVPlayer::removeVideoRenderer(VideoRenderer* renderer)
{
    if (!renderer || !renderers.removeAll(renderer))
        return;
    renderer->players.removeAll(this);
    updateOutputGeometry();
}

void AVPlayer::retireSession()
{
    ++generation;
    if (pump) {
        pump->remove(this);
        pump = nullptr;
    }
    if (bridge)
        bridge->detach();
    bridge.reset();
    if (session) {
        session->abort();
        retired.append(session);
        session.reset();
    }
    // Forget plays whose threads have ended.
    for (int i = retired.size() - 1; i >= 0; --i) {
        if (retired.at(i)->isFinished())
            retired.removeAt(i);
    }
}

void AVPlayer::play()
{
    // Starting over is silent: no stopped() for the play being replaced.
    retireSession();
    sessionHasStarted = false;
    presented = 0;

    SessionSettings settings;
    settings.url = url;
    settings.formatOptions = formatOptions;
    settings.decoderPriority = decoderPriority;
    settings.interruptOnTimeout = interruptOnTimeout;
    settings.interruptTimeoutMs = interruptTimeoutMs;
    settings.frameRate = frameRate;
    settings.repeat = repeatCount;
    settings.reopenIntervalMs = kMinOpenIntervalMs;
    settings.stallTimeoutMs = stallTimeoutMs;
    const qint64 now = monotonicMs();
    if (lastOpenAtMs >= 0)
        settings.startDelayMs = qMax<qint64>(0, lastOpenAtMs + kMinOpenIntervalMs - now);
    lastOpenAtMs = now + settings.startDelayMs;

    pump = FramePump::forCurrentThread();
    bridge = std::make_shared<SessionBridge>(this, ++generation, pump);
    session = std::make_shared<DecodeSession>(settings, bridge);
    updateOutputGeometry();
    lastSession = session;
    // Set now, so that a caller checking the status right after play() does not play again.
    setStatus(LoadingMedia);
    pump->add(this);
    std::thread([s = session] { s->run(); }).detach();
}

void AVPlayer::stop()
{
    if (!session)
        return;
    const bool hadStarted = sessionHasStarted;
    retireSession();
    sessionHasStarted = false;
    setStatus(NoMedia);
    signalLost();
    if (hadStarted)
        emit stopped();
}

AVPlayer::Statistics AVPlayer::statistics() const
{
    Statistics st;
    if (lastSession) {
        st.decodedFrames = lastSession->decodedFrames();
        st.droppedFrames = lastSession->mailbox().replaced();
        st.skippingLoopFilter = lastSession->isSkippingLoopFilter();
        st.fastDecoding = lastSession->isDecodingFast();
    }
    st.presentedFrames = presented;
    return st;
}

void AVPlayer::sessionStatus(MediaStatus s)
{
    setStatus(s);
}

void AVPlayer::sessionStarted()
{
    sessionHasStarted = true;
    emit started();
}

bool AVPlayer::presentNewest()
{
    if (!session)
        return false;
    VideoFrame frame;
    if (!session->mailbox().take(&frame))
        return false;
    ++presented;
    // Hidden widgets get no resize events: check the renderers' size with every picture.
    const OutputGeometry now = outputGeometry();
    if (now.size != sentGeometry.size || now.keepAspect != sentGeometry.keepAspect
        || now.quality != sentGeometry.quality)
        updateOutputGeometry();
    // A renderer's receive() may detach renderers; iterate over a copy.
    const QList<VideoRenderer*> targets = renderers;
    for (VideoRenderer* r : targets) {
        if (renderers.contains(r))
            r->receive(frame);
    }
    return true;
}

void AVPlayer::signalLost()
{
    const QList<VideoRenderer*> targets = renderers;
    for (VideoRenderer* r : targets) {
        if (renderers.contains(r))
            r->signalLost();
    }
}

void AVPlayer::sessionFinished(MediaStatus s, const AVError& e, bool hadStarted)
{
    if (bridge)
        bridge->detach();
    bridge.reset();
    if (pump) {
        pump->remove(this);
        pump = nullptr;
    }
    if (session) {
        retired.append(session);
        session.reset();
    }
    sessionHasStarted = false;
    setStatus(s);
    signalLost();
    if (hadStarted)
        emit stopped();
    else if (e.error() != AVError::NoError)
        emit error(e);
}

} // namespace Media
