// The preview player against RTSP streams of simulated preview cards, served in this process.
#include "media/AVPlayer.h"
#include "media/FramePump.h"
#include "ControlChannel.h"
#include "GuardTrap.h"
#include "platform/LoopbackGuard.h"
#include "PreviewPlayerSettings.h"
#include "PreviewStreamFarm.h"
#include "media/WidgetRenderer.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <functional>
#include <future>

using namespace Media;

namespace {

class CountingRenderer : public VideoRenderer
{
public:
    QSize rendererSize() const override { return QSize(160, 90); }
    void receive(const VideoFrame& f) override
    {
        ++count;
        if (onReceive)
            onReceive();
        lastNumber = f.number;
        lastSize = f.image.size();
        lost = false;
    }
    void signalLost() override { lost = true; }
    int count = 0;
    bool lost = false;
    qint64 lastNumber = 0;
    QSize lastSize;
    std::function<void()> onReceive;
};

// How long a test waits for what must come (a picture, an error, a connection): on a loaded
// machine that may take seconds, and a passing run returns as soon as it comes.
constexpr int kMustComeMs = 30000;

// Collects log lines from every thread (the decoding threads log too).
QMutex g_logMutex;
QStringList g_log;
void collectLog(QtMsgType, const QMessageLogContext&, const QString& text)
{
    QMutexLocker lock(&g_logMutex);
    g_log << text;
}

} // namespace

class tst_AVPlayer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstFrameAndStarted_data();
    void firstFrameAndStarted();
    void stoppedStreamStopsAndRecovers();
    void stalledStreamEndsThePlay();
    void oneWakeUpServesSeveralPlayers_data();
    void oneWakeUpServesSeveralPlayers();
    void badAddressesFailQuickly_data();
    void badAddressesFailQuickly();
    void guardRefusesWithoutConnecting();
    void guardJudgesRedirects_data();
    void guardJudgesRedirects();
    void silentServer_data();
    void silentServer();
    void destroyWhileDecoding();
    void rendererDestroyedWhileAttached();
    void rendererAttachedTwice();
    void slowGuiKeepsNewestFrameOnly();
    void controlCommands_data();
    void controlCommands();
    void streamKindsAreWhatTheySay_data();
    void streamKindsAreWhatTheySay();

private:
    QString url(int channel, int stream) const { return farm.streamUrl(0, channel, stream); }

    PreviewStreamFarm farm;
    ControlChannel control;
    const QHostAddress card{QStringLiteral("127.0.0.61")};
};

void tst_AVPlayer::initTestCase()
{
    LoopbackGuard::setActiveForTesting(true);
    QVERIFY2(PreviewStreamFarm::eventLoopRunsGlib(), "Qt's event loop must run GLib's main context");
    QString error;
    // Cheap streams: these tests need pictures, not a decoder's full work.
    farm.setStreamKind(PreviewStreamKind::Fast);
    // Port 0: tests running side by side never collide on 8554.
    QVERIFY2(farm.start({card}, 0, &error, {4}), qPrintable(error));
    QVERIFY(farm.port() != 0);
    farm.registerControls(control);
    farm.setChannelInput(0, 1, 2);
    QCOMPARE(farm.channelLabel(0, 1), QStringLiteral("CH1  IN 3"));
}

void tst_AVPlayer::cleanupTestCase()
{
    farm.stop();
}

void tst_AVPlayer::firstFrameAndStarted_data()
{
    QTest::addColumn<int>("stream");
    QTest::addColumn<QSize>("source");
    QTest::newRow("main") << 0 << QSize(1280, 720);
    QTest::newRow("sub") << 1 << QSize(640, 360);
}

void tst_AVPlayer::firstFrameAndStarted()
{
    QFETCH(int, stream);
    QFETCH(QSize, source);
    AVPlayer player;
    configureAsPreviewPlayer(player);
    WidgetRenderer renderer;
    renderer.setOutAspectRatioMode(VideoRenderer::RendererAspectRatio);
    renderer.setQuality(VideoRenderer::QualityFastest);
    renderer.resize(200, 130);
    player.addVideoRenderer(&renderer);
    player.setFile(url(0, stream));
    QSignalSpy started(&player, &AVPlayer::started);
    QSignalSpy errors(&player, &AVPlayer::error);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(renderer.framesReceived() > 0, 10000);
    QCOMPARE(started.count(), 1);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(player.mediaStatus(), BufferedMedia);
    // Scaled straight to the tile, stretched to fill it.
    QCOMPARE(renderer.currentImage().size(), QSize(200, 130));
    QTRY_VERIFY_WITH_TIMEOUT(renderer.framesReceived() > 10, 10000);
    QVERIFY(player.statistics().decodedFrames >= renderer.framesReceived());
    // A tile of at most half the picture's size leaves out what it cannot show.
    QVERIFY(player.statistics().skippingLoopFilter);
    QVERIFY(player.statistics().fastDecoding);

    // The renderer follows the tile's size, and the decoder decides again: in full at full size.
    for (const QSize& size : {source, QSize(120, 80)}) {
        renderer.resize(size);
        const qint64 seen = renderer.framesReceived();
        QTRY_VERIFY_WITH_TIMEOUT(renderer.framesReceived() > seen + 2, kMustComeMs);
        QCOMPARE(renderer.currentImage().size(), size);
        const bool small = size != source;
        QCOMPARE(player.statistics().skippingLoopFilter, small);
        QCOMPARE(player.statistics().fastDecoding, small);
    }

    QSignalSpy stopped(&player, &AVPlayer::stopped);
    player.stop();
    QCOMPARE(stopped.count(), 1);
    QCOMPARE(player.mediaStatus(), NoMedia);
}

void tst_AVPlayer::stoppedStreamStopsAndRecovers()
{
    AVPlayer player;
    configureAsPreviewPlayer(player);
    CountingRenderer renderer;
    player.addVideoRenderer(&renderer);
    player.setFile(url(2, 1));
    QSignalSpy stopped(&player, &AVPlayer::stopped);
    QSignalSpy errors(&player, &AVPlayer::error);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(renderer.count > 0, 10000);

    QCOMPARE(control.execute(QStringLiteral("stream-stop 127.0.0.61 2 1")), QByteArray("OK"));
    // The server drops the connection: the play ends well before the 6 s read time-out.
    QTRY_VERIFY_WITH_TIMEOUT(stopped.count() + errors.count() > 0, 5000);
    QVERIFY(!player.isPlaying());
    QVERIFY(renderer.lost);
    const MediaStatus ended = player.mediaStatus();
    QVERIFY2(ended == StalledMedia || ended == EndOfMedia || ended == InvalidMedia,
             qPrintable(QString::number(ended)));

    // While the stream is away, a play fails.
    errors.clear();
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(errors.count() == 1, 5000);
    QCOMPARE(player.mediaStatus(), InvalidMedia);

    QCOMPARE(control.execute(QStringLiteral("stream-start 127.0.0.61 2 1")), QByteArray("OK"));
    const int before = renderer.count;
    QSignalSpy started(&player, &AVPlayer::started);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(renderer.count > before + 5, 10000);
    QCOMPARE(started.count(), 1);
    QVERIFY(!renderer.lost);
}

// A stream that keeps its connection but sends nothing (a card that hangs): the play ends as
// stalled once pictures stop for the stall time-out, long before the read time-out would.
void tst_AVPlayer::stalledStreamEndsThePlay()
{
    AVPlayer player;
    configureAsPreviewPlayer(player);
    player.setStallTimeout(700);
    CountingRenderer renderer;
    player.addVideoRenderer(&renderer);
    player.setFile(url(1, 0));
    QSignalSpy stopped(&player, &AVPlayer::stopped);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(renderer.count > 3, 10000);

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(control.execute(QStringLiteral("stream-pause 127.0.0.61 1 0")), QByteArray("OK"));
    QVERIFY(stopped.wait(kMustComeMs));
    QVERIFY2(clock.elapsed() < player.interruptTimeout(), qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(player.mediaStatus(), StalledMedia);
    QVERIFY(renderer.lost);

    // Played again (as the pool does), pictures come as soon as the stream sends again.
    player.play();
    QTest::qWait(300);
    QVERIFY(renderer.lost);
    QCOMPARE(control.execute(QStringLiteral("stream-resume 127.0.0.61 1 0")), QByteArray("OK"));
    const int before = renderer.count;
    QTRY_VERIFY_WITH_TIMEOUT(renderer.count > before + 3, kMustComeMs);
    QVERIFY(!renderer.lost);
    QCOMPARE(stopped.count(), 1);
}

// Pictures reach the renderers at the screen's refresh, one wake-up for all players, not one
// per player and picture; a single player's pictures wake the GUI once each. How many pictures
// come depends on the machine; what a wake-up does with them does not.
void tst_AVPlayer::oneWakeUpServesSeveralPlayers_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("8 players: one wake-up per refresh") << 8;
    QTest::newRow("1 player: one wake-up per picture") << 1;
}

void tst_AVPlayer::oneWakeUpServesSeveralPlayers()
{
    QFETCH(int, count);
    FramePump* pump = FramePump::forCurrentThread();
    QHash<qint64, int> picturesPerWake;
    std::vector<std::unique_ptr<AVPlayer>> players;
    std::vector<std::unique_ptr<CountingRenderer>> renderers;
    for (int i = 0; i < count; ++i) {
        players.push_back(std::make_unique<AVPlayer>());
        renderers.push_back(std::make_unique<CountingRenderer>());
        renderers.back()->onReceive = [&] { ++picturesPerWake[pump->wakeUps()]; };
        configureAsPreviewPlayer(*players.back());
        players.back()->addVideoRenderer(renderers.back().get());
        players.back()->setFile(url(i % 4, i / 4));
        players.back()->play();
    }
    const auto presented = [&] {
        int n = 0;
        for (const auto& r : renderers)
            n += r->count;
        return n;
    };
    for (const auto& r : renderers)
        QTRY_VERIFY_WITH_TIMEOUT(r->count > 0, kMustComeMs);
    QTest::qWait(1200); // the pump settles on its way of waking
    // A lone player never brings more pictures than the screen refreshes, at any speed.
    if (count == 1)
        QVERIFY(!pump->isTicking());
    QElapsedTimer clock;
    clock.start();
    picturesPerWake.clear();
    const qint64 wakeUps0 = pump->wakeUps();
    const int presented0 = presented();
    QTest::qWait(2000);
    const double wakeUps = double(pump->wakeUps() - wakeUps0);
    const double pictures = double(presented() - presented0);
    const double refreshes = double(clock.elapsed()) / pump->intervalMs();
    int mostInOneWake = 0;
    for (int n : qAsConst(picturesPerWake))
        mostInOneWake = qMax(mostInOneWake, n);
    const QString figures = QStringLiteral("%1 pictures in %2 wake-ups, %3 refreshes, at most %4 in one wake-up")
                                .arg(pictures).arg(wakeUps).arg(refreshes, 0, 'f', 1).arg(mostInOneWake);
    QVERIFY2(pictures > 0, qPrintable(figures));
    // At most one wake-up per refresh (coarse timers may fire a little early).
    QVERIFY2(wakeUps <= refreshes * 1.1 + 2, qPrintable(figures));
    if (count == 1) // and never more than one per picture
        QVERIFY2(wakeUps <= pictures + 2, qPrintable(figures));
    else // one wake-up hands pictures to several players
        QVERIFY2(mostInOneWake > 1, qPrintable(figures));
    players.clear();
    QVERIFY(!pump->isTicking());
}

void tst_AVPlayer::badAddressesFailQuickly_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("code");
    QTest::newRow("empty host") << "rtsp://:8554/live/channel=0_stream=0" << int(AVError::OpenError);
    QTest::newRow("no listener") << "rtsp://127.0.0.1:1/live/channel=0_stream=0" << int(AVError::OpenError);
    QTest::newRow("unknown path") << "rtsp://127.0.0.61:%1/live/channel=9_stream=0" << int(AVError::OpenError);
    QTest::newRow("not a url") << "not a url" << int(AVError::OpenError);
    QTest::newRow("empty") << "" << int(AVError::OpenError);
}

void tst_AVPlayer::badAddressesFailQuickly()
{
    QFETCH(QString, address);
    QFETCH(int, code);
    if (address.contains(QLatin1String("%1")))
        address = address.arg(farm.port());
    AVPlayer player;
    configureAsPreviewPlayer(player);
    player.setFile(address);
    QSignalSpy errors(&player, &AVPlayer::error);
    QSignalSpy started(&player, &AVPlayer::started);
    QSignalSpy stopped(&player, &AVPlayer::stopped);
    QtMessageHandler previous = qInstallMessageHandler(collectLog);
    player.play();
    // These fail on their own, not by the 6 s interrupt time-out (which gives OpenTimedout).
    const bool failed = errors.wait(kMustComeMs);
    qInstallMessageHandler(previous);
    QVERIFY(failed);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(int(errors.at(0).at(0).value<AVError>().error()), code);
    QCOMPARE(started.count() + stopped.count(), 0);
    QCOMPARE(player.mediaStatus(), InvalidMedia);
}

void tst_AVPlayer::guardRefusesWithoutConnecting()
{
    {
        // The player must ask the guard: a refused loopback trap stays untouched before any
        // private address is tried.
        GuardTrap guardTrap;
        QVERIFY(guardTrap.isListening());
        AVPlayer trapped;
        configureAsPreviewPlayer(trapped);
        trapped.setFile(QStringLiteral("rtsp://%1:%2/live/channel=0_stream=0").arg(guardTrap.host()).arg(guardTrap.port()));
        QSignalSpy trapErrors(&trapped, &AVPlayer::error);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("refused media open")));
        trapped.play();
        QVERIFY(trapErrors.wait(kMustComeMs));
        QVERIFY(!guardTrap.wasDialled());
    }
    // A listener on the port the refused URL names: had the player dialled at all (even through
    // some mapping to loopback), it would show up here.
    QTcpServer trap;
    const bool trapListening = trap.listen(QHostAddress::LocalHost, 8554);
    {
        QMutexLocker lock(&g_logMutex);
        g_log.clear();
    }
    AVPlayer player;
    configureAsPreviewPlayer(player);
    player.setFile(QStringLiteral("rtsp://192.168.0.178:8554/live/channel=0_stream=0"));
    QSignalSpy errors(&player, &AVPlayer::error);
    QtMessageHandler previous = qInstallMessageHandler(collectLog);
    player.play();
    const bool failed = errors.wait(kMustComeMs);
    qInstallMessageHandler(previous);
    QVERIFY(failed);
    const AVError e = errors.at(0).at(0).value<AVError>();
    QCOMPARE(e.error(), AVError::OpenError);
    QCOMPARE(e.ffmpegErrorCode(), -ENETUNREACH);
    QMutexLocker lock(&g_logMutex);
    QVERIFY2(g_log.join('\n').contains(QLatin1String("refused media open to \"192.168.0.178\"")),
             qPrintable(g_log.join('\n')));
    if (trapListening)
        QVERIFY(!trap.hasPendingConnections());
}

// A stream server that sends the player to another address: the new host must pass the guard as
// the first one did. Both hosts are loopback; the guard is told to refuse the second one.
void tst_AVPlayer::guardJudgesRedirects_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("allowed: the redirect is followed") << false;
    QTest::newRow("refused: nothing dials the new host") << true;
}

void tst_AVPlayer::guardJudgesRedirects()
{
    QFETCH(bool, refused);
    const QString elsewhereHost = QStringLiteral("127.0.0.62");
    QTcpServer elsewhere;
    QVERIFY(elsewhere.listen(QHostAddress(elsewhereHost), 0));
    QTcpServer mover;
    QVERIFY(mover.listen(QHostAddress::LocalHost, 0));
    const QByteArray location = QStringLiteral("rtsp://%1:%2/live/channel=0_stream=0")
                                    .arg(elsewhereHost).arg(elsewhere.serverPort()).toLatin1();
    QList<QPointer<QTcpSocket>> clients;
    connect(&mover, &QTcpServer::newConnection, this, [&] {
        QTcpSocket* client = mover.nextPendingConnection();
        clients << client;
        connect(client, &QTcpSocket::readyRead, client, [client, location] {
            const QByteArray request = client->readAll();
            const int at = request.indexOf("CSeq:");
            const QByteArray cseq = request.mid(at, request.indexOf('\r', at) - at);
            client->write("RTSP/1.0 301 Moved Permanently\r\n" + cseq + "\r\nLocation: " + location + "\r\n\r\n");
        });
    });

    LoopbackGuard::refuseAlsoForTesting(refused ? elsewhereHost : QString());
    AVPlayer player;
    configureAsPreviewPlayer(player);
    player.setFile(QStringLiteral("rtsp://127.0.0.1:%1/live/channel=0_stream=0").arg(mover.serverPort()));
    QSignalSpy errors(&player, &AVPlayer::error);
    QtMessageHandler previous = qInstallMessageHandler(collectLog);
    player.play();
    if (refused) {
        const bool failed = errors.wait(kMustComeMs);
        qInstallMessageHandler(previous);
        LoopbackGuard::refuseAlsoForTesting(QString());
        QVERIFY(failed);
        QCOMPARE(errors.at(0).at(0).value<AVError>().ffmpegErrorCode(), -ENETUNREACH);
        // The library gives no hook before its own connect: the redirect is refused the moment
        // the connection is made, so that not one byte of a request reaches the new host.
        QTest::qWait(300);
        if (QTcpSocket* dialled = elsewhere.nextPendingConnection()) {
            dialled->waitForReadyRead(300);
            QCOMPARE(dialled->bytesAvailable(), qint64(0));
        }
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(elsewhere.hasPendingConnections(), kMustComeMs);
        qInstallMessageHandler(previous);
        player.stop();
    }
    QCOMPARE(clients.size(), 1);
}

// A server that accepts and never answers: an open that hangs.
void tst_AVPlayer::silentServer_data()
{
    QTest::addColumn<bool>("stopEarly");
    QTest::newRow("stop while connecting") << true;
    QTest::newRow("interrupt time-out") << false;
}

void tst_AVPlayer::silentServer()
{
    QFETCH(bool, stopEarly);
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress(QStringLiteral("127.0.0.62")), 0));
    QPointer<QTcpSocket> peer;
    connect(&silent, &QTcpServer::newConnection, this, [&] { peer = silent.nextPendingConnection(); });

    AVPlayer player;
    configureAsPreviewPlayer(player);
    player.setInterruptTimeout(stopEarly ? 60000 : 800);
    player.setFile(QStringLiteral("rtsp://127.0.0.62:%1/live/channel=0_stream=0").arg(silent.serverPort()));
    QSignalSpy errors(&player, &AVPlayer::error);
    QSignalSpy stopped(&player, &AVPlayer::stopped);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(peer, kMustComeMs);
    QSignalSpy gone(peer.data(), &QTcpSocket::disconnected);
    if (stopEarly) {
        player.stop();
        QVERIFY(!player.isPlaying());
        QCOMPARE(player.mediaStatus(), NoMedia);
        // The decoding thread gives the connection up long before the 60 s time-out.
        QVERIFY(gone.count() > 0 || gone.wait(kMustComeMs));
        QTest::qWait(100);
        QCOMPARE(errors.count() + stopped.count(), 0);
    } else {
        QVERIFY(errors.wait(kMustComeMs));
        QCOMPARE(errors.at(0).at(0).value<AVError>().error(), AVError::OpenTimedout);
        QVERIFY(gone.count() > 0 || gone.wait(kMustComeMs));
    }
}

void tst_AVPlayer::destroyWhileDecoding()
{
    WidgetRenderer renderer;
    renderer.resize(200, 113);
    for (int round = 0; round < 3; ++round) {
        auto* player = new AVPlayer;
        configureAsPreviewPlayer(*player);
        player->addVideoRenderer(&renderer);
        player->setFile(url(round, 0));
        const qint64 before = renderer.framesReceived();
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(renderer.framesReceived() > before + 3, 10000);
        delete player; // frames may be in flight
    }
    // Nothing arrives for a player that is gone, and the renderer can be repainted.
    const qint64 after = renderer.framesReceived();
    QTest::qWait(300);
    QCOMPARE(renderer.framesReceived(), after);
    QVERIFY(!renderer.grab().isNull());
}

void tst_AVPlayer::rendererDestroyedWhileAttached()
{
    AVPlayer player;
    configureAsPreviewPlayer(player);
    auto* renderer = new WidgetRenderer;
    renderer->resize(100, 60);
    CountingRenderer survivor;
    player.addVideoRenderer(renderer);
    player.addVideoRenderer(&survivor);
    player.setFile(url(3, 1));
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(renderer->framesReceived() > 2, 10000);
    delete renderer;
    QCOMPARE(player.videoOutputs().size(), 1);
    const int before = survivor.count;
    QTRY_VERIFY_WITH_TIMEOUT(survivor.count > before + 3, kMustComeMs);
    // The survivor now sets the picture size.
    QTRY_COMPARE_WITH_TIMEOUT(survivor.lastSize, QSize(160, 90), kMustComeMs);
}

void tst_AVPlayer::rendererAttachedTwice()
{
    AVPlayer player;
    configureAsPreviewPlayer(player);
    CountingRenderer twice;
    CountingRenderer once;
    player.addVideoRenderer(&twice);
    player.addVideoRenderer(&twice);
    player.addVideoRenderer(&once);
    QCOMPARE(player.videoOutputs().size(), 2);
    player.setFile(url(1, 1));
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(once.count >= 10, 10000);
    QCOMPARE(twice.count, once.count);
    QCOMPARE(twice.lastNumber, once.lastNumber);
    // Attached once, so one removal detaches it.
    player.removeVideoRenderer(&twice);
    const int frozen = twice.count;
    const int base = once.count;
    QTRY_VERIFY_WITH_TIMEOUT(once.count > base + 3, kMustComeMs);
    QCOMPARE(twice.count, frozen);
}

void tst_AVPlayer::slowGuiKeepsNewestFrameOnly()
{
    AVPlayer player;
    configureAsPreviewPlayer(player);
    CountingRenderer renderer;
    player.addVideoRenderer(&renderer);
    player.setFile(url(0, 1));
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(renderer.count > 0, 10000);
    // The GUI thread stalls while decoding goes on in its own thread, twice: each time until 15
    // pictures were decoded meanwhile, however long the machine takes for them.
    const qint64 decodedBefore = player.statistics().decodedFrames;
    const int presentedBefore = renderer.count;
    for (int stall = 0; stall < 2; ++stall) {
        const qint64 from = player.statistics().decodedFrames;
        const QDeadlineTimer enough(kMustComeMs);
        while (player.statistics().decodedFrames - from < 15 && !enough.hasExpired())
            QThread::msleep(20);
        QTest::qWait(200);
    }
    const AVPlayer::Statistics st = player.statistics();
    QVERIFY2(st.decodedFrames - decodedBefore >= 20, qPrintable(QString::number(st.decodedFrames - decodedBefore)));
    // Each stall left one picture waiting, not a queue: pictures were replaced, and far fewer
    // reached the renderer than were decoded.
    QVERIFY2(st.droppedFrames >= 10, qPrintable(QString::number(st.droppedFrames)));
    QVERIFY(renderer.count - presentedBefore < st.decodedFrames - decodedBefore - 10);
    // What the renderer shows is the newest picture (give or take the one being decoded).
    QVERIFY2(player.statistics().decodedFrames - renderer.lastNumber <= 2,
             qPrintable(QStringLiteral("%1 vs %2").arg(player.statistics().decodedFrames).arg(renderer.lastNumber)));
}

void tst_AVPlayer::controlCommands_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("answerStart");
    QTest::newRow("missing args") << "stream-stop 127.0.0.61 1" << QByteArray("ERR usage");
    QTest::newRow("bad address") << "stream-stop nowhere 1 0" << QByteArray("ERR usage");
    QTest::newRow("other card") << "stream-stop 127.0.0.99 1 0" << QByteArray("ERR no such stream");
    QTest::newRow("channel 4") << "stream-start 127.0.0.61 4 0" << QByteArray("ERR no such stream");
    QTest::newRow("stream 2") << "stream-start 127.0.0.61 0 2" << QByteArray("ERR no such stream");
    QTest::newRow("start a running one") << "stream-start 127.0.0.61 3 0" << QByteArray("OK");
    QTest::newRow("pause, no stream") << "stream-pause 127.0.0.61 3" << QByteArray("ERR usage");
    QTest::newRow("resume another card") << "stream-resume 127.0.0.99 3 1" << QByteArray("ERR no such stream");
    QTest::newRow("list") << "streams" << QByteArray("OK running:rtsp://127.0.0.61:");
}

void tst_AVPlayer::controlCommands()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, answerStart);
    const QByteArray answer = control.execute(line);
    QVERIFY2(answer.startsWith(answerStart), answer.constData());
    QVERIFY(farm.isStreamRunning(card, 3, 0));
}

// What each kind of simulated stream sends, as a decoder sees it.
void tst_AVPlayer::streamKindsAreWhatTheySay_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("stream");
    QTest::addColumn<int>("profile");
    QTest::addColumn<QSize>("size");
    const int cameraLike = int(PreviewStreamKind::CameraLike);
    QTest::newRow("camera-like main") << cameraLike << 0 << int(FF_PROFILE_H264_HIGH) << QSize(1280, 720);
    QTest::newRow("camera-like sub") << cameraLike << 1 << int(FF_PROFILE_H264_HIGH) << QSize(640, 360);
    QTest::newRow("fast") << int(PreviewStreamKind::Fast) << 0 << int(FF_PROFILE_H264_CONSTRAINED_BASELINE)
                          << QSize(1280, 720);
}

void tst_AVPlayer::streamKindsAreWhatTheySay()
{
    QFETCH(int, kind);
    QFETCH(int, stream);
    QFETCH(int, profile);
    QFETCH(QSize, size);
    PreviewStreamFarm other;
    other.setStreamKind(PreviewStreamKind(kind));
    QString error;
    QVERIFY2(other.start({QHostAddress(QStringLiteral("127.0.0.63"))}, 0, &error), qPrintable(error));
    const QByteArray address = other.streamUrl(0, 0, stream).toUtf8();
    // The server answers in this thread's event loop: probe from another thread.
    auto probe = std::async(std::launch::async, [address] {
        struct Found { int profile = -1; QSize size; int reordered = -1; } found;
        AVFormatContext* format = nullptr;
        AVDictionary* options = nullptr;
        av_dict_set(&options, "rtsp_transport", "tcp", 0);
        if (avformat_open_input(&format, address.constData(), nullptr, &options) == 0) {
            if (avformat_find_stream_info(format, nullptr) >= 0 && format->nb_streams > 0) {
                const AVCodecParameters* par = format->streams[0]->codecpar;
                found = {par->profile, QSize(par->width, par->height), par->video_delay};
            }
            avformat_close_input(&format);
        }
        av_dict_free(&options);
        return found;
    });
    QTRY_VERIFY_WITH_TIMEOUT(probe.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 15000);
    const auto found = probe.get();
    QCOMPARE(found.profile, profile);
    QCOMPARE(found.size, size);
    QCOMPARE(found.reordered, 0); // no B-frames
}

QTEST_MAIN(tst_AVPlayer)
#include "tst_avplayer.moc"
