#pragma once

#include "media/AVError.h"
#include "media/DecodeShortcuts.h"
#include "media/FrameConverter.h"
#include "media/FrameMailbox.h"
#include "media/MediaStatus.h"

#include <QSize>
#include <QStringList>
#include <QVariantHash>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;

namespace Media {

// What one play of a player needs, copied when the play starts.
struct SessionSettings
{
    QString url;
    QVariantHash formatOptions;
    QStringList decoderPriority;
    bool interruptOnTimeout = false;
    qint64 interruptTimeoutMs = 30000;
    double frameRate = 0.0;   // 0: present pictures as fast as they are decoded
    int repeat = 0;           // plays after the first; -1 for ever
    qint64 startDelayMs = 0;  // wait before the first open
    qint64 reopenIntervalMs = 1000; // least time between two opens of a repeat
    // A play whose pictures stop for this long ends as stalled (0: never). The first picture of
    // a play may take as long as the interrupt time-out.
    qint64 stallTimeoutMs = 0;
};

// Size and scaling the renderers want; changed from the GUI thread while decoding runs.
struct OutputGeometry
{
    QSize size;               // empty: no renderer, pictures are decoded but not converted
    bool keepAspect = false;
    int quality = 0;          // VideoRenderer::Quality
};

// Receives a session's news in the decoding thread; implementations pass it on to the GUI thread.
// Pictures wait in the session's mailbox until the GUI thread takes them.
class SessionListener
{
public:
    virtual ~SessionListener() = default;
    virtual void sessionStatus(MediaStatus status) = 0;
    virtual void sessionStarted() = 0;
    // A picture waits in the mailbox, which was empty.
    virtual void sessionPictureWaiting() = 0;
    // Last news of a session. started tells whether sessionStarted() was sent.
    virtual void sessionFinished(MediaStatus status, const AVError& error, bool started) = 0;
};

// One play of one stream: opens it, reads, decodes video only, converts the pictures to the
// renderers' size and leaves the newest in the mailbox. run() is the body of a worker thread;
// abort() may be called from any thread and makes every blocking call give up within ~0.1 s.
class DecodeSession
{
public:
    DecodeSession(const SessionSettings& settings, std::shared_ptr<SessionListener> listener);
    ~DecodeSession();
    DecodeSession(const DecodeSession&) = delete;
    DecodeSession& operator=(const DecodeSession&) = delete;

    void run();
    void abort();
    bool isFinished() const { return finished.load(); }
    // Waits at most timeoutMs for run() to return.
    bool waitFinished(int timeoutMs);

    void setGeometry(const OutputGeometry& geometry);
    FrameMailbox& mailbox() { return box; }
    qint64 decodedFrames() const { return decoded.load(); }
    // The shortcuts the decoder works with now (see DecodeShortcuts).
    bool isSkippingLoopFilter() const { return skippingLoopFilter.load(); }
    bool isDecodingFast() const { return decodingFast.load(); }

private:
    enum class Outcome { Aborted, OpenFailed, ReadFailed, ReadTimedOut, Stalled, EndOfStream };

    Outcome playOnce(bool* started, AVError* error);
    bool openInput(AVError* error);
    bool openDecoder(AVError* error);
    Outcome readLoop(AVError* error);
    bool decodeAvailable();
    void present(AVFrame* frame);
    void closeAll();

    void applyShortcuts(bool force);
    void watchForStall(bool firstPicture);
    QSize shownSize(const OutputGeometry& g, const QSize& picture) const;
    bool sleepUnlessAborted(qint64 ms);
    void armDeadline();
    void disarmDeadline();
    static int interruptCallback(void* opaque);
    bool redirectRefused(const AVFormatContext* context);

    SessionSettings settings;
    std::shared_ptr<SessionListener> listener;
    FrameMailbox box;

    std::atomic<bool> aborted{false};
    std::atomic<bool> timedOut{false};
    std::atomic<qint64> deadlineMs{0};
    std::atomic<qint64> pictureDeadlineMs{0}; // 0: not watching for a stall
    std::atomic<bool> stalled{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> refusedUrl{false};
    std::string approvedUrl;  // decoding thread only
    std::mutex waitMutex;
    std::condition_variable waitCondition;

    std::mutex geometryMutex;
    OutputGeometry geometry;

    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    FrameConverter converter;
    int videoStream = -1;
    bool firstFrameSent = false;
    std::atomic<qint64> decoded{0};
    std::atomic<bool> skippingLoopFilter{false};
    std::atomic<bool> decodingFast{false};
    QSize pictureSize;          // of the last decoded picture
    DecodeShortcuts shortcuts;  // applied to the decoder
    qint64 presentedNumber = 0;
    qint64 lastOpenMs = 0;
    qint64 lastPresentMs = 0;
};

} // namespace Media
