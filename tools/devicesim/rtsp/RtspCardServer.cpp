// GLib's headers use "signals" as a name: they come before any Qt header.
#include <gst/gst.h>
#include <gst/rtsp-server/rtsp-server.h>

#include "RtspCardServer.h"

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

QString launchLine(int stream)
{
    const bool main = stream == 0;
    // A moving ball and a running clock, so that every picture differs; the corner label is set
    // when a client's pipeline is built. key-int-max 25: a new client sees a picture within 1 s.
    // No sliced threads: with parameter sets repeated before every key frame they corrupt slices.
    return QStringLiteral(
               "( videotestsrc is-live=true pattern=ball ! video/x-raw,width=%1,height=%2,framerate=25/1 "
               "! textoverlay name=label valignment=top halignment=left font-desc=\"Sans %3\" "
               "! timeoverlay valignment=bottom halignment=right font-desc=\"Sans %3\" "
               "! videoconvert ! x264enc tune=zerolatency speed-preset=ultrafast key-int-max=25 sliced-threads=false threads=1 bitrate=%4 "
               "! rtph264pay name=pay0 pt=96 config-interval=-1 )")
        .arg(main ? 1280 : 640)
        .arg(main ? 720 : 360)
        .arg(main ? 28 : 14)
        .arg(main ? 2048 : 512);
}

} // namespace

// One mount point. The medias list holds the pipelines built for clients (one per client) with
// their label element, so that a route change relabels running pictures.
struct RtspCardServer::Stream
{
    RtspCardServer* owner = nullptr;
    int channel = 0;
    int index = 0;
    bool enabled = true;
    GstRTSPMediaFactory* factory = nullptr;
    mutable QMutex mutex;
    QHash<GstRTSPMedia*, GstElement*> medias; // media -> its textoverlay (a reference held)
};

RtspCardServer::RtspCardServer(const QHostAddress& address) : host(address)
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
            gst_object_unref(it.value());
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
            s->factory = gst_rtsp_media_factory_new();
            gst_rtsp_media_factory_set_launch(s->factory, launchLine(m).toUtf8().constData());
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
    GstElement* overlay = bin ? gst_bin_get_by_name(GST_BIN(bin), "label") : nullptr;
    if (bin)
        gst_object_unref(bin);
    if (!overlay)
        return;
    g_object_set(overlay, "text", s->owner->labels[s->channel].toUtf8().constData(), nullptr);
    QMutexLocker lock(&s->mutex);
    s->medias.insert(media, overlay);
    g_object_weak_ref(G_OBJECT(media), reinterpret_cast<GWeakNotify>(&RtspCardServer::onMediaGone), s);
}

void RtspCardServer::onMediaGone(void* data, void* media)
{
    auto* s = static_cast<Stream*>(data);
    QMutexLocker lock(&s->mutex);
    GstElement* overlay = s->medias.take(static_cast<GstRTSPMedia*>(media));
    if (overlay)
        gst_object_unref(overlay);
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
        for (GstElement* overlay : qAsConst(s->medias))
            g_object_set(overlay, "text", utf8.constData(), nullptr);
    }
}

QString RtspCardServer::label(int channel) const
{
    return channel >= 0 && channel < kChannels ? labels[channel] : QString();
}

bool RtspCardServer::isStreamEnabled(int channel, int stream) const
{
    if (channel < 0 || channel >= kChannels || stream < 0 || stream >= kStreams)
        return false;
    const Stream* s = streams[channel * kStreams + stream].get();
    return s && s->enabled;
}

bool RtspCardServer::setStreamEnabled(int channel, int stream, bool enabled)
{
    if (!server || channel < 0 || channel >= kChannels || stream < 0 || stream >= kStreams)
        return false;
    Stream* s = streams[channel * kStreams + stream].get();
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
