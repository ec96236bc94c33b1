// GLib's headers use "signals" as a name: they come before any Qt header.
#include <gst/gst.h>
#include <gst/rtsp-server/rtsp-server.h>

#include "RtspCardServer.h"

#include "RecordedPictures.h"

#include <QHash>
#include <QMutexLocker>

namespace {

void initGstreamerOnce()
{
    static bool done = false;
    if (!done) {
        gst_init(nullptr, nullptr);
        done = true;
    }
}

constexpr int kFps = 25;
// Pictures a replayed stream records: 10 s, five key frames of the camera-like streams.
constexpr int kRecordedPictures = 250;

// The encoded test picture: live for clients, or a fixed number of pictures as fast as they
// encode for a recording. The corner label is named "label" (set when a client's pipeline is built).
// moreCaps: further fields of the encoder's output caps.
QString picturesLine(PreviewStreamKind kind, int stream, bool live, const QString& moreCaps = QString())
{
    const bool main = stream == 0;
    const QString timing = live ? QStringLiteral("is-live=true") : QStringLiteral("num-buffers=%1").arg(kRecordedPictures);
    const QString source =
        kind == PreviewStreamKind::CameraLike
            // Bars sliding sideways: the whole picture moves, so the encoder spends its bit rate
            // as on a camera's picture and the decoder's every stage has work.
            ? QStringLiteral("videotestsrc %1 pattern=smpte horizontal-speed=%2").arg(timing).arg(main ? 3 : 2)
            // A ball on black: next to nothing to encode or decode.
            : QStringLiteral("videotestsrc %1 pattern=ball").arg(timing);
    // Camera-like: High profile with CABAC and the deblocking filter, no B-frames, a key frame
    // every 2 s. Fast: ultrafast (baseline, no CABAC, no deblocking), a key frame every second.
    // No sliced threads: with parameter sets repeated before every key frame they corrupt slices.
    const QString encoder =
        kind == PreviewStreamKind::CameraLike
            ? QStringLiteral("x264enc tune=zerolatency speed-preset=superfast key-int-max=50 sliced-threads=false "
                             "threads=1 bitrate=%1 ! video/x-h264,profile=high%2")
            : QStringLiteral("x264enc tune=zerolatency speed-preset=ultrafast key-int-max=25 sliced-threads=false "
                             "threads=1 bitrate=%1 ! video/x-h264%2");
    return QStringLiteral("%1 ! video/x-raw,format=I420,width=%2,height=%3,framerate=%4/1 "
                          "! textoverlay name=label valignment=top halignment=left font-desc=\"Sans %5\" "
                          "! timeoverlay valignment=bottom halignment=right font-desc=\"Sans %5\" ! %6")
        .arg(source)
        .arg(main ? 1280 : 640)
        .arg(main ? 720 : 360)
        .arg(kFps)
        .arg(main ? 28 : 14)
        .arg(encoder.arg(main ? 2048 : 512).arg(moreCaps));
}

// A client's pipeline. The valve holds the pictures back while the stream is paused.
QString launchLine(PreviewStreamKind kind, int stream, bool replayed)
{
    const QString pictures =
        replayed ? QStringLiteral("appsrc name=replay is-live=true format=time "
                                  "caps=video/x-h264,stream-format=byte-stream,alignment=au ! h264parse")
                 : picturesLine(kind, stream, true);
    return QStringLiteral("( %1 ! valve name=gate ! rtph264pay name=pay0 pt=96 config-interval=-1 )").arg(pictures);
}

// The recording of a kind of stream, made once per process and shared by every card.
std::shared_ptr<const RecordedPictures> recordingOf(PreviewStreamKind kind, int stream, QString* error)
{
    static QMutex mutex;
    static QHash<int, std::shared_ptr<const RecordedPictures>> made;
    QMutexLocker lock(&mutex);
    const int key = int(kind) * RtspCardServer::kStreams + stream;
    if (!made.contains(key)) {
        auto recording = RecordedPictures::record(
            picturesLine(kind, stream, false, QStringLiteral(",stream-format=byte-stream,alignment=au"))
                + QStringLiteral(" ! appsink name=sink sync=false"),
            error);
        if (!recording)
            return nullptr;
        made.insert(key, recording);
    }
    return made.value(key);
}

} // namespace

// One mount point. The medias list holds the pipelines built for clients (one per client) with
// their label and valve, so that a route change relabels running pictures and a pause holds them.
struct RtspCardServer::Stream
{
    struct Elements
    {
        GstElement* label = nullptr; // references held; no label in a replay
        GstElement* gate = nullptr;
        GSource* replay = nullptr;   // what feeds a replay
    };

    RtspCardServer* owner = nullptr;
    int channel = 0;
    int index = 0;
    bool enabled = true;
    bool paused = false;
    GstRTSPMediaFactory* factory = nullptr;
    std::shared_ptr<const RecordedPictures> recording; // replayed to every client, when set
    mutable QMutex mutex;
    QHash<GstRTSPMedia*, Elements> medias;
};

namespace {

void releaseElements(const RtspCardServer::Stream::Elements& e)
{
    if (e.replay) {
        g_source_destroy(e.replay);
        g_source_unref(e.replay);
    }
    if (e.label)
        gst_object_unref(e.label);
    if (e.gate)
        gst_object_unref(e.gate);
}

// Asks the encoder (upstream of the valve) for a key frame, so that clients see pictures at once
// after a pause instead of at the next regular key frame.
void requestKeyFrame(GstElement* gate)
{
    GstPad* pad = gst_element_get_static_pad(gate, "sink");
    if (!pad)
        return;
    GstStructure* s = gst_structure_new("GstForceKeyUnit", "all-headers", G_TYPE_BOOLEAN, TRUE, nullptr);
    gst_pad_push_event(pad, gst_event_new_custom(GST_EVENT_CUSTOM_UPSTREAM, s));
    gst_object_unref(pad);
}

} // namespace

RtspCardServer::RtspCardServer(const QHostAddress& address, PreviewStreamKind kind, bool replayed)
    : host(address), kind(kind), replayed(replayed)
{
    for (auto& l : labels)
        l = QString();
}

RtspCardServer::~RtspCardServer()
{
    stop();
    for (auto& s : streams) {
        if (!s)
            continue;
        QMutexLocker lock(&s->mutex);
        for (auto it = s->medias.begin(); it != s->medias.end(); ++it) {
            g_object_weak_unref(G_OBJECT(it.key()), reinterpret_cast<GWeakNotify>(&RtspCardServer::onMediaGone), s.get());
            releaseElements(it.value());
        }
        s->medias.clear();
        if (s->factory)
            g_object_unref(s->factory);
    }
}

QString RtspCardServer::mountPath(int channel, int stream)
{
    return QStringLiteral("/live/channel=%1_stream=%2").arg(channel).arg(stream);
}

bool RtspCardServer::start(quint16 wantedPort, QString* error)
{
    initGstreamerOnce();
    if (server)
        return true;
    if (!host.isLoopback() || host.protocol() != QAbstractSocket::IPv4Protocol) {
        if (error)
            *error = QStringLiteral("preview streams serve on 127.0.0.0/8 only, not %1").arg(host.toString());
        return false;
    }
    server = gst_rtsp_server_new();
    gst_rtsp_server_set_address(server, host.toString().toUtf8().constData());
    gst_rtsp_server_set_service(server, QByteArray::number(wantedPort).constData());
    mounts = gst_rtsp_server_get_mount_points(server);
    for (int c = 0; c < kChannels; ++c) {
        for (int m = 0; m < kStreams; ++m) {
            auto s = std::make_unique<Stream>();
            s->owner = this;
            s->channel = c;
            s->index = m;
            if (replayed) {
                s->recording = recordingOf(kind, m, error);
                if (!s->recording) {
                    stop();
                    return false;
                }
            }
            s->factory = gst_rtsp_media_factory_new();
            gst_rtsp_media_factory_set_launch(s->factory, launchLine(kind, m, replayed).toUtf8().constData());
            // One pipeline per client: every client starts with a key frame.
            gst_rtsp_media_factory_set_shared(s->factory, FALSE);
            g_signal_connect(s->factory, "media-configure", G_CALLBACK(&RtspCardServer::onMediaConfigure), s.get());
            g_object_ref(s->factory); // the mount points take one reference
            gst_rtsp_mount_points_add_factory(mounts, mountPath(c, m).toUtf8().constData(), s->factory);
            streams[c * kStreams + m] = std::move(s);
        }
    }
    GError* gerror = nullptr;
    source = gst_rtsp_server_create_source(server, nullptr, &gerror);
    if (!source) {
        if (error)
            *error = QStringLiteral("cannot listen on %1:%2: %3")
                         .arg(host.toString()).arg(wantedPort)
                         .arg(QString::fromUtf8(gerror ? gerror->message : "unknown error"));
        if (gerror)
            g_error_free(gerror);
        stop();
        return false;
    }
    // Qt's GLib event dispatcher iterates this thread's default context.
    GMainContext* context = g_main_context_ref_thread_default();
    g_source_attach(source, context);
    g_main_context_unref(context);
    port = quint16(gst_rtsp_server_get_bound_port(server));
    return true;
}

void RtspCardServer::stop()
{
    if (server) {
        gst_rtsp_server_client_filter(
            server, [](GstRTSPServer*, GstRTSPClient*, gpointer) { return GST_RTSP_FILTER_REMOVE; }, nullptr);
    }
    if (source) {
        g_source_destroy(source);
        g_source_unref(source);
        source = nullptr;
    }
    if (mounts) {
        g_object_unref(mounts);
        mounts = nullptr;
    }
    if (server) {
        g_object_unref(server);
        server = nullptr;
    }
    port = 0;
}

void RtspCardServer::onMediaConfigure(GstRTSPMediaFactory*, GstRTSPMedia* media, void* data)
{
    auto* s = static_cast<Stream*>(data);
    GstElement* bin = gst_rtsp_media_get_element(media);
    if (!bin)
        return;
    Stream::Elements e;
    e.label = gst_bin_get_by_name(GST_BIN(bin), "label");
    e.gate = gst_bin_get_by_name(GST_BIN(bin), "gate");
    if (GstElement* source = s->recording ? gst_bin_get_by_name(GST_BIN(bin), "replay") : nullptr) {
        e.replay = s->recording->feed(source, kFps);
        gst_object_unref(source);
    }
    gst_object_unref(bin);
    if (!e.gate || (!e.label && !e.replay)) {
        releaseElements(e);
        return;
    }
    if (e.label)
        g_object_set(e.label, "text", s->owner->labels[s->channel].toUtf8().constData(), nullptr);
    QMutexLocker lock(&s->mutex);
    g_object_set(e.gate, "drop", gboolean(s->paused), nullptr);
    s->medias.insert(media, e);
    g_object_weak_ref(G_OBJECT(media), reinterpret_cast<GWeakNotify>(&RtspCardServer::onMediaGone), s);
}

void RtspCardServer::onMediaGone(void* data, void* media)
{
    auto* s = static_cast<Stream*>(data);
    QMutexLocker lock(&s->mutex);
    releaseElements(s->medias.take(static_cast<GstRTSPMedia*>(media)));
}

void RtspCardServer::setLabel(int channel, const QString& text)
{
    if (channel < 0 || channel >= kChannels)
        return;
    labels[channel] = text;
    const QByteArray utf8 = text.toUtf8();
    for (int m = 0; m < kStreams; ++m) {
        Stream* s = streams[channel * kStreams + m].get();
        if (!s)
            continue;
        QMutexLocker lock(&s->mutex);
        for (const Stream::Elements& e : qAsConst(s->medias)) {
            if (e.label)
                g_object_set(e.label, "text", utf8.constData(), nullptr);
        }
    }
}

QString RtspCardServer::label(int channel) const
{
    return channel >= 0 && channel < kChannels ? labels[channel] : QString();
}

bool RtspCardServer::isStreamEnabled(int channel, int stream) const
{
    const Stream* s = streamAt(channel, stream);
    return s && s->enabled;
}

bool RtspCardServer::setStreamEnabled(int channel, int stream, bool enabled)
{
    Stream* s = server ? streamAt(channel, stream) : nullptr;
    if (!s)
        return false;
    if (s->enabled == enabled)
        return true;
    s->enabled = enabled;
    const QByteArray path = mountPath(channel, stream).toUtf8();
    if (enabled) {
        g_object_ref(s->factory);
        gst_rtsp_mount_points_add_factory(mounts, path.constData(), s->factory);
    } else {
        gst_rtsp_mount_points_remove_factory(mounts, path.constData());
        disconnectClientsOf(s);
    }
    return true;
}

RtspCardServer::Stream* RtspCardServer::streamAt(int channel, int stream) const
{
    if (channel < 0 || channel >= kChannels || stream < 0 || stream >= kStreams)
        return nullptr;
    return streams[channel * kStreams + stream].get();
}

bool RtspCardServer::setStreamPaused(int channel, int stream, bool paused)
{
    Stream* s = server ? streamAt(channel, stream) : nullptr;
    if (!s)
        return false;
    QMutexLocker lock(&s->mutex);
    s->paused = paused;
    for (const Stream::Elements& e : qAsConst(s->medias)) {
        g_object_set(e.gate, "drop", gboolean(paused), nullptr);
        if (!paused)
            requestKeyFrame(e.gate);
    }
    return true;
}

bool RtspCardServer::isStreamPaused(int channel, int stream) const
{
    const Stream* s = streamAt(channel, stream);
    return s && s->paused;
}

void RtspCardServer::disconnectClientsOf(Stream* stream)
{
    struct Match
    {
        Stream* stream;
        bool found;
    } match{stream, false};

    auto clientFilter = [](GstRTSPServer*, GstRTSPClient* client, gpointer data) -> GstRTSPFilterResult {
        auto* m = static_cast<Match*>(data);
        m->found = false;
        auto sessionFilter = [](GstRTSPClient*, GstRTSPSession* session, gpointer data) -> GstRTSPFilterResult {
            auto mediaFilter = [](GstRTSPSession*, GstRTSPSessionMedia* sm, gpointer data) -> GstRTSPFilterResult {
                auto* m = static_cast<Match*>(data);
                GstRTSPMedia* media = gst_rtsp_session_media_get_media(sm);
                QMutexLocker lock(&m->stream->mutex);
                if (m->stream->medias.contains(media))
                    m->found = true;
                return GST_RTSP_FILTER_KEEP;
            };
            gst_rtsp_session_filter(session, mediaFilter, data);
            return GST_RTSP_FILTER_KEEP;
        };
        gst_rtsp_client_session_filter(client, sessionFilter, data);
        return m->found ? GST_RTSP_FILTER_REMOVE : GST_RTSP_FILTER_KEEP;
    };
    gst_rtsp_server_client_filter(server, clientFilter, &match);
}

int RtspCardServer::clientCount() const
{
    if (!server)
        return 0;
    GList* clients = gst_rtsp_server_client_filter(server, nullptr, nullptr);
    const int n = int(g_list_length(clients));
    g_list_free_full(clients, g_object_unref);
    return n;
}
