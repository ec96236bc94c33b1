#pragma once

#include "media/AVError.h"
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
};

// Size and scaling the renderers want; changed from the GUI thread while decoding runs.
struct OutputGeometry
{
    QSize size;               // empty: no renderer, pictures are decoded but not converted
    bool keepAspect = false;
    int quality = 0;          // VideoRenderer::Quality
};

// Receives a session's news in the decoding thread; implementations pass it on to the GUI thread.
class SessionListener
{
public:
    virtual ~SessionListener() = default;
    virtual void sessionStatus(MediaStatus status) = 0;
    virtual void sessionStarted() = 0;
    virtual void sessionFrameReady() = 0;
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

private:
    enum class Outcome { Aborted, OpenFailed, ReadFailed, ReadTimedOut, EndOfStream };

    Outcome playOnce(bool* started, AVError* error);
    bool openInput(AVError* error);
    bool openDecoder(AVError* error);
    Outcome readLoop(AVError* error);
    bool decodeAvailable();
    void present(AVFrame* frame);
    void closeAll();

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
    qint64 presentedNumber = 0;
    qint64 lastOpenMs = 0;
    qint64 lastPresentMs = 0;
};

} // namespace Media
