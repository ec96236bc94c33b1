#include "media/DecodeSession.h"

#include "media/FormatOptions.h"
#include "platform/LoopbackGuard.h"

#include <QtDebug>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
}

#include <chrono>
#include <ctime>
#include <mutex>

namespace Media {

namespace {

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The library asks the interrupt callback several times per packet: the read deadline uses the
// coarse clock, which costs next to nothing and is exact enough for timeouts of seconds.
qint64 coarseNowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// The host as the library itself will read it from the URL (user info, brackets and port
// handled its way), so that the guard judges exactly the address that gets dialled.
QString dialledHost(const char* url)
{
    char host[1024] = {0};
    av_url_split(nullptr, 0, nullptr, 0, host, sizeof(host), nullptr, nullptr, 0, url);
    return QString::fromUtf8(host);
}

void initNetworkOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { avformat_network_init(); });
}

} // namespace

DecodeSession::DecodeSession(const SessionSettings& s, std::shared_ptr<SessionListener> l)
    : settings(s), listener(std::move(l))
{
}

DecodeSession::~DecodeSession()
{
    closeAll();
}

void DecodeSession::abort()
{
    aborted.store(true);
    std::lock_guard<std::mutex> lock(waitMutex);
    waitCondition.notify_all();
}

bool DecodeSession::waitFinished(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(waitMutex);
    return waitCondition.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [this] { return finished.load(); });
}

void DecodeSession::setGeometry(const OutputGeometry& g)
{
    std::lock_guard<std::mutex> lock(geometryMutex);
    geometry = g;
}

bool DecodeSession::sleepUnlessAborted(qint64 ms)
{
    std::unique_lock<std::mutex> lock(waitMutex);
    if (ms > 0)
        waitCondition.wait_for(lock, std::chrono::milliseconds(ms), [this] { return aborted.load(); });
    return !aborted.load();
}

void DecodeSession::armDeadline()
{
    if (settings.interruptOnTimeout)
        deadlineMs.store(coarseNowMs() + settings.interruptTimeoutMs);
}

void DecodeSession::disarmDeadline()
{
    deadlineMs.store(0);
}

int DecodeSession::interruptCallback(void* opaque)
{
    auto* self = static_cast<DecodeSession*>(opaque);
    if (self->aborted.load())
        return 1;
    if (self->redirectRefused(self->format))
        return 1;
    const qint64 deadline = self->deadlineMs.load();
    const qint64 pictureDeadline = self->pictureDeadlineMs.load();
    if (deadline == 0 && pictureDeadline == 0)
        return 0;
    const qint64 now = coarseNowMs();
    if (pictureDeadline != 0 && now > pictureDeadline) {
        self->stalled.store(true);
        return 1;
    }
    if (deadline != 0 && now > deadline) {
        self->timedOut.store(true);
        return 1;
    }
    return 0;
}

void DecodeSession::run()
{
    initNetworkOnce();
    bool started = false;
    int repeatsLeft = settings.repeat;
    qint64 delay = settings.startDelayMs;
    MediaStatus endStatus = NoMedia;
    AVError error;
    for (;;) {
        if (!sleepUnlessAborted(delay)) {
            endStatus = NoMedia;
            break;
        }
        lastOpenMs = nowMs();
        const Outcome outcome = playOnce(&started, &error);
        closeAll();
        if (aborted.load()) {
            endStatus = NoMedia;
            error = AVError();
            break;
        }
        if (outcome == Outcome::EndOfStream && repeatsLeft != 0) {
            if (repeatsLeft > 0)
                --repeatsLeft;
            // A live stream that ends at once must not turn into a busy reconnect loop.
            delay = lastOpenMs + settings.reopenIntervalMs - nowMs();
            continue;
        }
        switch (outcome) {
        case Outcome::Aborted: endStatus = NoMedia; break;
        case Outcome::OpenFailed: endStatus = InvalidMedia; break;
        case Outcome::ReadFailed:
        case Outcome::ReadTimedOut:
        case Outcome::Stalled: endStatus = StalledMedia; break;
        case Outcome::EndOfStream: endStatus = EndOfMedia; break;
        }
        break;
    }
    listener->sessionFinished(endStatus, error, started);
    {
        std::lock_guard<std::mutex> lock(waitMutex);
        finished.store(true);
        waitCondition.notify_all();
    }
}

DecodeSession::Outcome DecodeSession::playOnce(bool* started, AVError* error)
{
    listener->sessionStatus(LoadingMedia);
    firstFrameSent = false;
    if (!openInput(error) || !openDecoder(error))
        return aborted.load() ? Outcome::Aborted : Outcome::OpenFailed;
    listener->sessionStatus(LoadedMedia);
    if (!*started) {
        *started = true;
        listener->sessionStarted();
    }
    if (!firstFrameSent)
        listener->sessionStatus(BufferingMedia);
    return readLoop(error);
}

bool DecodeSession::redirectRefused(const AVFormatContext* context)
{
    // A stream server may send the player elsewhere (an RTSP redirect): the library then
    // changes the context's URL and dials again, which must pass the guard like the first open.
    // The library asks this callback only once its connect is under way, so a refused redirect
    // still costs one connection attempt, but no request is written on it.
    if (refusedUrl.load())
        return true;
    if (!context || !context->url || approvedUrl == context->url)
        return false;
    if (!LoopbackGuard::mayDial(dialledHost(context->url), "media redirect")) {
        refusedUrl.store(true);
        return true;
    }
    approvedUrl = context->url;
    return false;
}

bool DecodeSession::openInput(AVError* error)
{
    const QByteArray url = settings.url.toUtf8();
    refusedUrl.store(false);
    approvedUrl = url.toStdString();
    if (!LoopbackGuard::mayDial(dialledHost(url.constData()), "media open")) {
        // Refused hosts fail as unreachable ones do; nothing was sent.
        *error = AVError(AVError::OpenError, AVERROR(ENETUNREACH), settings.url);
        return false;
    }
    format = avformat_alloc_context();
    if (!format) {
        *error = AVError(AVError::OpenError, AVERROR(ENOMEM));
        return false;
    }
    format->interrupt_callback.callback = &DecodeSession::interruptCallback;
    format->interrupt_callback.opaque = this;
    AVDictionary* options = toAVDictionary(settings.formatOptions);
    timedOut.store(false);
    armDeadline();
    int rc = avformat_open_input(&format, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (rc < 0) {
        format = nullptr; // freed by avformat_open_input on failure
        if (refusedUrl.load())
            rc = AVERROR(ENETUNREACH); // refused as an unreachable host is
        *error = AVError(timedOut.load() ? AVError::OpenTimedout : AVError::OpenError, rc, settings.url);
        disarmDeadline();
        return false;
    }
    armDeadline();
    rc = avformat_find_stream_info(format, nullptr);
    disarmDeadline();
    if (rc < 0) {
        *error = AVError(timedOut.load() ? AVError::OpenTimedout : AVError::ParseStreamError, rc);
        return false;
    }
    videoStream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (videoStream < 0) {
        *error = AVError(AVError::StreamNotFound, videoStream);
        return false;
    }
    // Sound and data are never decoded: let the demuxer drop them.
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (static_cast<int>(i) != videoStream)
            format->streams[i]->discard = AVDISCARD_ALL;
    }
    return true;
}

bool DecodeSession::openDecoder(AVError* error)
{
    const AVCodecParameters* par = format->streams[videoStream]->codecpar;
    const AVCodec* decoder = nullptr;
    for (const QString& name : qAsConst(settings.decoderPriority)) {
        if (name.compare(QLatin1String("FFmpeg"), Qt::CaseInsensitive) == 0) {
            decoder = avcodec_find_decoder(par->codec_id);
            if (decoder)
                break;
        }
        // Hardware decoders are not offered here; their names are skipped.
    }
    if (!decoder)
        decoder = avcodec_find_decoder(par->codec_id);
    if (!decoder) {
        *error = AVError(AVError::VideoCodecNotFound, AVERROR_DECODER_NOT_FOUND);
        return false;
    }
    codec = avcodec_alloc_context3(decoder);
    frame = av_frame_alloc();
    if (!codec || !frame) {
        *error = AVError(AVError::OpenCodecError, AVERROR(ENOMEM));
        return false;
    }
    int rc = avcodec_parameters_to_context(codec, par);
    if (rc < 0) {
        *error = AVError(AVError::OpenCodecError, rc);
        return false;
    }
    // One thread per player: previews are many small streams, and frame threads would add delay.
    codec->thread_count = 1;
    codec->flags |= AV_CODEC_FLAG_LOW_DELAY;
    pictureSize = QSize(par->width, par->height);
    applyShortcuts(true);
    {
        std::lock_guard<std::mutex> lock(geometryMutex);
        // Decoders that can decode at a fraction of the size do so when the picture is shown small.
        if (decoder->max_lowres > 0 && par->width > 0 && geometry.size.width() > 0) {
            int lowres = 0;
            while (lowres < decoder->max_lowres && (par->width >> (lowres + 1)) >= geometry.size.width())
                ++lowres;
            codec->lowres = lowres;
        }
    }
    rc = avcodec_open2(codec, decoder, nullptr);
    if (rc < 0) {
        *error = AVError(AVError::OpenCodecError, rc);
        return false;
    }
    return true;
}

void DecodeSession::watchForStall(bool firstPicture)
{
    if (settings.stallTimeoutMs <= 0)
        return;
    if (!firstPicture) {
        pictureDeadlineMs.store(coarseNowMs() + settings.stallTimeoutMs);
        return;
    }
    // The first picture waits for a key frame: give it the interrupt time-out, when one is set.
    pictureDeadlineMs.store(settings.interruptOnTimeout
                                ? coarseNowMs() + qMax(settings.stallTimeoutMs, settings.interruptTimeoutMs)
                                : 0);
}

DecodeSession::Outcome DecodeSession::readLoop(AVError* error)
{
    AVPacket* packet = av_packet_alloc();
    Outcome outcome = Outcome::EndOfStream;
    stalled.store(false);
    watchForStall(true);
    const auto stallError = [this] {
        return AVError(AVError::ReadTimedout, 0, QStringLiteral("no picture for %1 ms").arg(settings.stallTimeoutMs));
    };
    for (;;) {
        timedOut.store(false);
        armDeadline();
        const int rc = av_read_frame(format, packet);
        disarmDeadline();
        if (rc < 0) {
            if (aborted.load()) {
                outcome = Outcome::Aborted;
            } else if (stalled.load()) {
                *error = stallError();
                outcome = Outcome::Stalled;
            } else if (timedOut.load()) {
                *error = AVError(AVError::ReadTimedout, rc);
                outcome = Outcome::ReadTimedOut;
            } else if (rc == AVERROR_EOF) {
                outcome = Outcome::EndOfStream;
            } else {
                *error = AVError(AVError::ReadError, rc);
                outcome = Outcome::ReadFailed;
            }
            break;
        }
        if (packet->stream_index == videoStream) {
            // The tile may have been resized since the last picture.
            applyShortcuts(false);
            // Undecodable packets are skipped; the next key frame recovers the picture.
            avcodec_send_packet(codec, packet);
            decodeAvailable();
        }
        av_packet_unref(packet);
        if (aborted.load()) {
            outcome = Outcome::Aborted;
            break;
        }
        // Packets that bring no picture do not keep a play alive.
        const qint64 pictureDeadline = pictureDeadlineMs.load();
        if (stalled.load() || (pictureDeadline != 0 && coarseNowMs() > pictureDeadline)) {
            *error = stallError();
            outcome = Outcome::Stalled;
            break;
        }
    }
    pictureDeadlineMs.store(0);
    if (outcome == Outcome::EndOfStream) {
        avcodec_send_packet(codec, nullptr);
        decodeAvailable();
    }
    av_packet_free(&packet);
    return outcome;
}

bool DecodeSession::decodeAvailable()
{
    bool any = false;
    while (!aborted.load() && avcodec_receive_frame(codec, frame) == 0) {
        decoded.fetch_add(1);
        any = true;
        pictureSize = QSize(frame->width, frame->height);
        watchForStall(false);
        present(frame);
        av_frame_unref(frame);
    }
    return any;
}

void DecodeSession::present(AVFrame* f)
{
    if (settings.frameRate > 0.0) {
        const qint64 due = lastPresentMs + static_cast<qint64>(1000.0 / settings.frameRate);
        if (!sleepUnlessAborted(due - nowMs()))
            return;
        lastPresentMs = nowMs();
    }
    OutputGeometry g;
    {
        std::lock_guard<std::mutex> lock(geometryMutex);
        g = geometry;
    }
    VideoFrame out;
    out.sourceSize = QSize(f->width, f->height);
    out.number = ++presentedNumber;
    const QSize target = shownSize(g, out.sourceSize);
    if (!target.isEmpty() && f->width > 0 && f->height > 0) {
        const int scaler = DecodeShortcuts::forSizes(out.sourceSize, target, g.quality).scalerFlags;
        out.image = converter.convert(f, target, scaler);
    }
    if (!firstFrameSent) {
        firstFrameSent = true;
        listener->sessionStatus(BufferedMedia);
    }
    if (box.put(std::move(out)))
        listener->sessionPictureWaiting();
}

QSize DecodeSession::shownSize(const OutputGeometry& g, const QSize& picture) const
{
    if (g.size.isEmpty())
        return QSize();
    if (!g.keepAspect || picture.isEmpty())
        return g.size;
    return picture.scaled(g.size, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

void DecodeSession::applyShortcuts(bool force)
{
    OutputGeometry g;
    {
        std::lock_guard<std::mutex> lock(geometryMutex);
        g = geometry;
    }
    const DecodeShortcuts wanted = DecodeShortcuts::forSizes(pictureSize, shownSize(g, pictureSize), g.quality);
    if (!force && wanted == shortcuts)
        return;
    shortcuts = wanted;
    // Both are read by the decoder for each packet, so they can change while it runs.
    codec->skip_loop_filter = wanted.skipLoopFilter ? AVDISCARD_ALL : AVDISCARD_DEFAULT;
    if (wanted.fastDecoding)
        codec->flags2 |= AV_CODEC_FLAG2_FAST;
    else
        codec->flags2 &= ~AV_CODEC_FLAG2_FAST;
    skippingLoopFilter.store(wanted.skipLoopFilter);
    decodingFast.store(wanted.fastDecoding);
}

void DecodeSession::closeAll()
{
    converter.reset();
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    if (format)
        avformat_close_input(&format);
    videoStream = -1;
}

} // namespace Media
