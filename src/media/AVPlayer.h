#pragma once

#include "media/AVClock.h"
#include "media/AVError.h"
#include "media/AudioOutput.h"
#include "media/DecodeSession.h"
#include "media/MediaStatus.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantHash>

#include <memory>

namespace Media {

class FramePump;
class SessionBridge;
class VideoRenderer;

// Plays one stream into its renderers. Each play runs in a decoding thread of its own; news
// reaches this object (and its signals) in the thread it lives in, normally the GUI thread, and
// the newest picture is handed to the renderers at each screen refresh (FramePump). Settings take
// effect at the next play().
class AVPlayer : public QObject
{
    Q_OBJECT
public:
    struct Statistics
    {
        qint64 decodedFrames = 0;   // pictures decoded in the current (or last) play
        qint64 presentedFrames = 0; // pictures handed to the renderers
        qint64 droppedFrames = 0;   // pictures replaced by a newer one before the renderers took them
        bool skippingLoopFilter = false; // the decoder's shortcuts for the size shown (DecodeShortcuts)
        bool fastDecoding = false;
    };

    explicit AVPlayer(QObject* parent = nullptr);
    ~AVPlayer() override;

    void setFile(const QString& url);
    QString file() const { return url; }

    MediaStatus mediaStatus() const { return status; }
    bool isPlaying() const;

    // 0: pictures are presented as soon as they are decoded; otherwise at most this many a second.
    void setFrameRate(double fps) { frameRate = fps; }
    double forcedFrameRate() const { return frameRate; }

    AudioOutput* audio() { return &audioOutput; }
    AVClock* masterClock() { return &clock; }

    // A blocking read (open, probe, packet) that takes longer than the time-out is abandoned.
    void setInterruptOnTimeout(bool on) { interruptOnTimeout = on; }
    bool isInterruptOnTimeout() const { return interruptOnTimeout; }
    void setInterruptTimeout(qint64 ms) { interruptTimeoutMs = ms; }
    qint64 interruptTimeout() const { return interruptTimeoutMs; }

    // A play whose pictures stop for this long ends as stalled: stopped() is emitted and the
    // renderers show that the signal is lost. The first picture of a play may take as long as the
    // interrupt time-out. 0 turns the watch off.
    void setStallTimeout(qint64 ms) { stallTimeoutMs = ms; }
    qint64 stallTimeout() const { return stallTimeoutMs; }

    // Packets are decoded as they are read; at most one packet is ever held, whatever is set.
    void setBufferMode(BufferMode mode) { bufferModeValue = mode; }
    BufferMode bufferMode() const { return bufferModeValue; }
    void setBufferValue(qint64 value) { bufferValueValue = value; }
    qint64 bufferValue() const { return bufferValueValue; }

    // Times the stream is played again after it ends; -1 for ever.
    void setRepeat(int times) { repeatCount = times; }
    int repeat() const { return repeatCount; }

    // Options passed to the demuxer when the stream is opened (names and values as the library's).
    void setOptionsForFormat(const QVariantHash& options) { formatOptions = options; }
    QVariantHash optionsForFormat() const { return formatOptions; }
    // Kept for callers that set them; audio is never decoded.
    void setOptionsForAudioCodec(const QVariantHash& options) { audioCodecOptions = options; }
    QVariantHash optionsForAudioCodec() const { return audioCodecOptions; }

    // Decoder names in order of preference. "FFmpeg" is software decoding; names of decoders not
    // offered here are skipped, and software decoding is the last resort.
    void setVideoDecoderPriority(const QStringList& names) { decoderPriority = names; }
    QStringList videoDecoderPriority() const { return decoderPriority; }

    // A renderer added twice is attached once. Renderers are not owned.
    void addVideoRenderer(VideoRenderer* renderer);
    void removeVideoRenderer(VideoRenderer* renderer);
    QList<VideoRenderer*> videoOutputs() const { return renderers; }

    Statistics statistics() const;

    // Renderers call this when their size or scaling wish changes.
    void updateOutputGeometry();

public slots:
    // Starts playing the file (a play in progress starts over). Plays after a failure are spaced
    // at least a second apart, so a dead stream is not redialled in a busy loop.
    void play();
    // Stops at once; the decoding thread winds down on its own.
    void stop();

signals:
    void started();
    // A play that had started has ended (stop(), stall, lost connection or end of the stream).
    void stopped();
    // A play failed before it started.
    void error(const Media::AVError& e);
    void mediaStatusChanged(Media::MediaStatus status);

private:
    friend class SessionBridge;
    friend class FramePump;
    void setStatus(MediaStatus s);
    void sessionStatus(MediaStatus s);
    void sessionStarted();
    void sessionFinished(MediaStatus s, const AVError& e, bool hadStarted);
    // Called by the pump: the newest picture, if any, to the renderers; false when there was none.
    bool presentNewest();
    void retireSession();
    void signalLost();
    OutputGeometry outputGeometry() const;

    QString url;
    double frameRate = 0.0;
    bool interruptOnTimeout = false;
    qint64 interruptTimeoutMs = 30000;
    qint64 stallTimeoutMs = 3000;
    BufferMode bufferModeValue = BufferTime;
    qint64 bufferValueValue = -1;
    int repeatCount = 0;
    QVariantHash formatOptions;
    QVariantHash audioCodecOptions;
    QStringList decoderPriority{QStringLiteral("FFmpeg")};
    AudioOutput audioOutput;
    AVClock clock;
    QList<VideoRenderer*> renderers;
    OutputGeometry sentGeometry;                 // what the decoding thread was last told

    MediaStatus status = NoMedia;
    std::shared_ptr<DecodeSession> session;      // the play in progress, or null
    std::shared_ptr<SessionBridge> bridge;       // its path back to this object
    bool sessionHasStarted = false;
    std::shared_ptr<DecodeSession> lastSession;  // for statistics after a play ended
    QList<std::shared_ptr<DecodeSession>> retired; // stopped plays whose threads may still run
    quint64 generation = 0;                      // of the current play; news of older ones is dropped
    qint64 presented = 0;
    qint64 lastOpenAtMs = -1;
    FramePump* pump = nullptr;                   // of this player's thread, while a play runs
};

} // namespace Media
