#pragma once

#include <QHostAddress>
#include <QMutex>
#include <QSet>
#include <QString>

#include <array>
#include <memory>

typedef struct _GstRTSPServer GstRTSPServer;
typedef struct _GstRTSPMountPoints GstRTSPMountPoints;
typedef struct _GSource GSource;
typedef struct _GstRTSPMedia GstRTSPMedia;
typedef struct _GstRTSPMediaFactory GstRTSPMediaFactory;
typedef struct _GstElement GstElement;

// What the simulated cards encode.
// CameraLike, as preview cards and cameras send: H.264 High profile with CABAC and the deblocking
// filter, no B-frames, a key frame every 2 s, about 2 Mbit/s (main) and 0.5 Mbit/s (sub).
// Fast: next to nothing to encode or decode (baseline profile without CABAC or deblocking, a ball
// on black, a key frame every second), for tests that only need pictures quickly.
enum class PreviewStreamKind { CameraLike, Fast };

// The RTSP server of one simulated preview card: eight streams (four channels, main 1280x720 and
// sub 640x360, H.264 at 25 fps) of a moving test picture labelled with the channel and its input.
// Runs in the GLib main context of the thread that calls start(), which must keep an event loop.
class RtspCardServer
{
public:
    static constexpr int kChannels = 4;
    static constexpr int kStreams = 2;
    struct Stream;

    // replayed: each stream's pictures are encoded once (10 s, no corner label) when the server
    // starts and replayed to every client, so that serving many clients costs next to nothing.
    explicit RtspCardServer(const QHostAddress& address, PreviewStreamKind kind = PreviewStreamKind::CameraLike,
                            bool replayed = false);
    ~RtspCardServer();
    RtspCardServer(const RtspCardServer&) = delete;
    RtspCardServer& operator=(const RtspCardServer&) = delete;

    // port 0 takes a free port; boundPort() tells which.
    bool start(quint16 port, QString* error);
    void stop();
    quint16 boundPort() const { return port; }
    QHostAddress address() const { return host; }

    // A stopped stream disconnects its clients and refuses new ones until it is started again.
    bool setStreamEnabled(int channel, int stream, bool enabled);
    bool isStreamEnabled(int channel, int stream) const;
    // A paused stream keeps its clients connected and accepts new ones, but sends them no
    // pictures (a card that hangs); resuming starts with a key frame.
    bool setStreamPaused(int channel, int stream, bool paused);
    bool isStreamPaused(int channel, int stream) const;

    // The text in the picture's corner, for both streams of a channel; running pictures change at once.
    void setLabel(int channel, const QString& text);
    QString label(int channel) const;

    // Clients connected now, for whatever stream.
    int clientCount() const;

    static QString mountPath(int channel, int stream);

private:
    Stream* streamAt(int channel, int stream) const;
    static void onMediaConfigure(GstRTSPMediaFactory* factory, GstRTSPMedia* media, void* data);
    static void onMediaGone(void* data, void* media);
    void disconnectClientsOf(Stream* stream);

    QHostAddress host;
    PreviewStreamKind kind;
    bool replayed;
    quint16 port = 0;
    GstRTSPServer* server = nullptr;
    GstRTSPMountPoints* mounts = nullptr;
    GSource* source = nullptr;
    std::array<std::unique_ptr<Stream>, kChannels * kStreams> streams;
    std::array<QString, kChannels> labels;
};
