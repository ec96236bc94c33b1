#pragma once

// The RTSP streams of every simulated preview output card, for devicesim and for tests that
// start them in-process.

#include "RtspCardServer.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class ControlChannel;
class MatrixSimulator;

class PreviewStreamFarm : public QObject
{
    Q_OBJECT
public:
    explicit PreviewStreamFarm(QObject* parent = nullptr);
    ~PreviewStreamFarm() override;

    // What the cards encode from the next start() on (camera-like unless told).
    void setStreamKind(PreviewStreamKind k) { kind = k; }
    PreviewStreamKind streamKind() const { return kind; }
    // From the next start() on, replay recorded pictures instead of encoding for each client
    // (see RtspCardServer): for benchmarks of many players. Pictures then carry no labels.
    void setReplayed(bool on) { replayed = on; }

    // Serves rtsp://<card address>:port/live/channel=N_stream=M for every preview card of the
    // matrix; each picture names its channel and the input the matrix routes to that output.
    bool start(MatrixSimulator& matrix, quint16 port = 8554, QString* error = nullptr);
    // The same for cards at explicit addresses. firstOutputs[i] is the 0-based output port of
    // card i's channel 0 (when missing, the labels name the channel only). port 0 takes a free one.
    bool start(const QList<QHostAddress>& cards, quint16 port = 8554, QString* error = nullptr,
               const QList<int>& firstOutputs = {});
    void stop();

    // Adds "stream-stop", "stream-start", "stream-pause", "stream-resume" and "streams" to the
    // control port.
    void registerControls(ControlChannel& channel);

    quint16 port() const { return boundPort; }
    QList<QHostAddress> cardAddresses() const;
    QString streamUrl(int card, int channel, int stream) const;

    // Stopping a stream drops its clients and refuses new ones until it is started again.
    bool setStreamRunning(const QHostAddress& card, int channel, int stream, bool running);
    bool isStreamRunning(const QHostAddress& card, int channel, int stream) const;
    // A paused stream keeps its clients but sends them nothing until it is resumed.
    bool setStreamPaused(const QHostAddress& card, int channel, int stream, bool paused);

    // Relabels a channel's pictures: input is 0-based, -1 none, -2 output closed.
    void setChannelInput(int card, int channel, int input);
    QString channelLabel(int card, int channel) const;
    int clientCount() const;

    // True when this thread's Qt event loop runs GLib's main context, which the servers use.
    static bool eventLoopRunsGlib();

private:
    void onRouteChanged(int output, int input);
    RtspCardServer* cardAt(const QHostAddress& address) const;

    std::vector<std::unique_ptr<RtspCardServer>> cards;
    QList<int> cardFirstOutputs;
    quint16 boundPort = 0;
    PreviewStreamKind kind = PreviewStreamKind::CameraLike;
    bool replayed = false;
    QMetaObject::Connection addressWatch;
};
