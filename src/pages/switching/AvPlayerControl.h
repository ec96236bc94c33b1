#pragma once

#include "pagekit/ProcessSingleton.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

namespace Media {
class AVError;
class AVPlayer;
class VideoRenderer;
}

// Pool of the preview players: one per channel of every preview output card, keyed by the
// channel's 0-based output port (4 x slot + channel). It builds the players, gives each a tile in
// the switching page's preview strip and keeps them playing: a player that stops or fails is
// played again, for ever. One process-wide instance; everything runs in the GUI thread.
class AvPlayerControl : public QObject
{
    Q_OBJECT
public:
    static constexpr int kChannelsPerCard = 4;

    static AvPlayerControl* instance();
    // Deletes the players; the renderers belong to the strip's tiles.
    ~AvPlayerControl() override;

    // Stops and deletes every player (and waits for their decoding threads), as the application
    // quits: no decoding thread may outlive the application object.
    void releasePlayers();

    // Builds the players for every preview card and attaches their renderers. Needs the port
    // records (with the cards' addresses) and the routing map filled.
    void startPreview();
    // A player with the preview settings and no parent.
    Media::AVPlayer* createPlayer();
    // One renderer and one strip tile per player, in key order.
    void attachRenderers();
    // Attaches the renderer to the key's player (once) and plays it when it has nothing playing.
    void addVideoRenderer(Media::VideoRenderer* renderer, int key);
    void removeVideoRenderer(Media::VideoRenderer* renderer);

    // "rtsp://<ip>:8554/live/channel=<channel>_stream=<type>"
    static QString previewUrl(const QString& ip, int channel, int type);

    QList<Media::AVPlayer*> playerList() const { return players; }
    QMap<int, Media::AVPlayer*> playersByKey() const { return playerMap; }
    QList<Media::VideoRenderer*> rendererList() const { return renderers; }
    // The key a renderer is attached under; -1 when it is not attached.
    int keyOfRenderer(Media::VideoRenderer* renderer) const { return rendererKeys.value(renderer, -1); }

public slots:
    void onStartPlay();
    void onStopPlay();
    void playerError(const Media::AVError& error);

private:
    friend class ProcessSingleton<AvPlayerControl>;
    AvPlayerControl();

    QList<Media::AVPlayer*> players;
    QMap<int, Media::AVPlayer*> playerMap;
    QMap<Media::VideoRenderer*, int> rendererKeys;
    QList<Media::VideoRenderer*> renderers;
};
