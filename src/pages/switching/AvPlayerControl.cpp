#include "pages/switching/AvPlayerControl.h"

#include "media/AVError.h"
#include "media/AVPlayer.h"
#include "core/CardInfo.h"
#include "core/GlobalState.h"
#include "pages/switching/MCenterMainWindow.h"
#include "pages/switching/MPreviewListWidget.h"
#include "core/MatrixModel.h"
#include "pagekit/PageModel.h"
#include "media/WidgetRenderer.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QDebug>

namespace {

const QChar kPreviewCardLetter = QLatin1Char('e');

} // namespace

AvPlayerControl* AvPlayerControl::instance()
{
    return ProcessSingleton<AvPlayerControl>::instance();
}

AvPlayerControl::AvPlayerControl()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &AvPlayerControl::releasePlayers);
}

AvPlayerControl::~AvPlayerControl()
{
    releasePlayers();
}

void AvPlayerControl::releasePlayers()
{
    // No restart from a player that is going away; every play is told to stop before any is
    // waited for, so that the waits overlap.
    for (Media::AVPlayer* player : qAsConst(players))
        disconnect(player, nullptr, this, nullptr);
    for (Media::AVPlayer* player : qAsConst(players))
        player->stop();
    qDeleteAll(players);
    players.clear();
    playerMap.clear();
    rendererKeys.clear();
}

QString AvPlayerControl::previewUrl(const QString& ip, int channel, int type)
{
    // One pass: a "%2" in a hand-edited address must not take the channel's place.
    return QStringLiteral("rtsp://%1:8554/live/channel=%2_stream=%3")
        .arg(ip, QString::number(channel), QString::number(type));
}

void AvPlayerControl::startPreview()
{
    // The pool is built once; cards added later are picked up at the next start.
    if (!players.isEmpty())
        return;
    const MatrixModel* model = PageModel::model();
    for (int slot = 0; slot < g_outCardTypes.size(); ++slot) {
        if (g_outCardTypes.at(slot) != kPreviewCardLetter)
            continue;
        const int firstPort = slot * kChannelsPerCard;
        const QJsonObject out = model->getCardInfo(firstPort).value(CardKey::OutCard).toObject();
        const QString ip = out.value(CardKey::PreviewIp).toString();
        const int type = out.value(QStringLiteral("previewType")).toInt(0);
        for (int channel = 0; channel < kChannelsPerCard; ++channel) {
            Media::AVPlayer* player = createPlayer();
            player->setFile(previewUrl(ip, channel, type));
            players.append(player);
            playerMap.insert(firstPort + channel, player);
        }
    }
    for (Media::AVPlayer* player : qAsConst(players)) {
        connect(player, &Media::AVPlayer::error, this, &AvPlayerControl::playerError);
        connect(player, &Media::AVPlayer::started, this, &AvPlayerControl::onStartPlay);
        connect(player, &Media::AVPlayer::stopped, this, &AvPlayerControl::onStopPlay);
    }
    attachRenderers();
}

Media::AVPlayer* AvPlayerControl::createPlayer()
{
    auto* player = new Media::AVPlayer;
    player->setFrameRate(0.0);
    player->audio()->setBackends({QStringLiteral("null")});
    player->setInterruptOnTimeout(true);
    player->setInterruptTimeout(6000);
    player->setBufferMode(Media::BufferPackets);
    player->setBufferValue(1);
    player->setRepeat(-1);
    player->setOptionsForAudioCodec({});
    player->setVideoDecoderPriority(
        {QStringLiteral("FFmpeg"), QStringLiteral("CUDA"), QStringLiteral("D3D11"), QStringLiteral("DXVA")});
    // Low-latency reading of the cards' streams over TCP.
    player->setOptionsForFormat({{QStringLiteral("avioflags"), QStringLiteral("direct")},
                                 {QStringLiteral("rtsp_transport"), QStringLiteral("tcp")},
                                 {QStringLiteral("probesize"), 2048},
                                 {QStringLiteral("analyzeduration"), 40000},
                                 {QStringLiteral("packetsize"), 3110400.0},
                                 {QStringLiteral("profile"), QStringLiteral("main")}});
    player->masterClock()->setClockAuto(false);
    player->masterClock()->setClockType(Media::AVClock::VideoClock);
    return player;
}

void AvPlayerControl::attachRenderers()
{
    MPreviewListWidget* strip = MCenterMainWindow::instance()->previewListWidget();
    const MatrixModel* model = PageModel::model();
    for (auto it = playerMap.cbegin(); it != playerMap.cend(); ++it) {
        const int key = it.key();
        const int input = model->getRoute(key);
        auto* renderer = new Media::WidgetRenderer;
        renderer->setOutAspectRatioMode(Media::VideoRenderer::RendererAspectRatio);
        renderer->setQuality(Media::VideoRenderer::QualityFastest);
        renderers.append(renderer);
        strip->addPreviewTile(renderer, input, key);
        addVideoRenderer(renderer, key);
    }
}

void AvPlayerControl::addVideoRenderer(Media::VideoRenderer* renderer, int key)
{
    Media::AVPlayer* player = playerMap.value(key);
    if (!player || !renderer)
        return;
    if (!rendererKeys.contains(renderer)) {
        player->addVideoRenderer(renderer);
        rendererKeys.insert(renderer, key);
    }
    switch (player->mediaStatus()) {
    case Media::NoMedia:
    case Media::StalledMedia:
    case Media::EndOfMedia:
    case Media::InvalidMedia:
        player->play();
        break;
    default:
        break;
    }
}

void AvPlayerControl::removeVideoRenderer(Media::VideoRenderer* renderer)
{
    // The renderer goes with its tile: forget it here too.
    renderers.removeAll(renderer);
    const auto it = rendererKeys.find(renderer);
    if (it == rendererKeys.end())
        return;
    if (Media::AVPlayer* player = playerMap.value(it.value()))
        player->removeVideoRenderer(renderer);
    rendererKeys.erase(it);
}

void AvPlayerControl::onStartPlay()
{
    if (auto* player = qobject_cast<Media::AVPlayer*>(sender()))
        qDebug().noquote() << player->file() << QStringLiteral("开始播放");
}

void AvPlayerControl::onStopPlay()
{
    auto* player = qobject_cast<Media::AVPlayer*>(sender());
    if (!player)
        return;
    qWarning().noquote() << player->file() << QStringLiteral("播放已停止，自动重新播放");
    player->play();
}

void AvPlayerControl::playerError(const Media::AVError& error)
{
    auto* player = qobject_cast<Media::AVPlayer*>(sender());
    if (player && error.error() != Media::AVError::NoError)
        player->play();
}
