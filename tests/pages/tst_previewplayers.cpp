// The preview player pool: one player per preview channel keyed by its output port, the cards'
// addresses as the simulated matrix reports them, pictures in the strip's tiles, and players that
// play again after their stream stops or fails. The streams are devicesim's, served in-process on
// a loopback address of this test's own (port 8554 is fixed); the matrix is told the card's new
// address with the address-change command, so the players learn it through the address query.

#include "media/AVError.h"
#include "ControlChannel.h"
#include "PreviewStreamFarm.h"
#include "media/AVPlayer.h"
#include "pages/switching/AvPlayerControl.h"
#include "pages/switching/MPreviewListWidget.h"
#include "pages/switching/PreviewControlWidget.h"
#include "PreviewTestEnv.h"
#include "media/WidgetRenderer.h"

#include <QtTest>

#include <memory>

using Media::AVPlayer;
using OutCardFields = QMap<int, QJsonObject>; // port -> fields merged into its "out-card"

namespace {

bool hasBrightPixels(const QImage& picture)
{
    for (int y = 0; y < picture.height(); y += 2) {
        for (int x = 0; x < picture.width(); x += 2) {
            if (qGray(picture.pixel(x, y)) > 128)
                return true;
        }
    }
    return false;
}

} // namespace

class tst_PreviewPlayers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void playersPerPreviewChannel_data();
    void playersPerPreviewChannel();
    void picturesArriveInTheTiles();
    void playsAgainAfterTheStreamStopsAndReturns_data();
    void playsAgainAfterTheStreamStopsAndReturns();
    void playsAgainAfterEachError();
    void rendererBookkeeping();
    void quitStopsAndReleasesThePlayers();

private:
    MPreviewListWidget* startPool(const QString& out, const OutCardFields& outCards = {});
    // The card in the slot of 1-based port moves to the address of the in-process streams.
    bool moveCardToStreams(int port);

    std::unique_ptr<PreviewTestEnv> env;
    PreviewStreamFarm farm;
    ControlChannel control;
    QHostAddress streamCard;
};

void tst_PreviewPlayers::initTestCase()
{
    env = std::make_unique<PreviewTestEnv>();
    QVERIFY2(env->isValid(), "the staged runtime (command templates) is missing");

    QVERIFY2(PreviewStreamFarm::eventLoopRunsGlib(), "Qt's event loop must run GLib's main context");
    // Cheap streams: these tests need pictures, not a decoder's full work.
    farm.setStreamKind(PreviewStreamKind::Fast);
    QString error;
    for (int i = 0; i < 50 && streamCard.isNull(); ++i) {
        const QHostAddress candidate(QStringLiteral("127.0.0.%1").arg(200 + (QCoreApplication::applicationPid() + i) % 50));
        if (farm.start({candidate}, 8554, &error, {4}))
            streamCard = candidate;
    }
    QVERIFY2(!streamCard.isNull(), qPrintable(error));
    farm.registerControls(control);
}

void tst_PreviewPlayers::cleanupTestCase()
{
    PreviewTestEnv::dropPage();
    farm.stop();
}

bool tst_PreviewPlayers::moveCardToStreams(int port)
{
    const quint32 ip = streamCard.toIPv4Address();
    QString command = QStringLiteral("USER/O/%1:").arg(port);
    for (int shift = 24; shift >= 0; shift -= 8)
        command += QChar(ushort((ip >> shift) & 0xFF));
    command += QStringLiteral("%;");
    QString reply;
    QByteArray bytes;
    CCHelper::instance()->sendData(command, true, reply, bytes, true);
    return reply.contains(streamCard.toString());
}

void tst_PreviewPlayers::cleanup()
{
    PreviewTestEnv::dropPage();
}

// Devicesim with a 16-port matrix and the output cards, the start-up queries, then the pool as the
// start-up sequence starts it. outCards: fields merged into the "out-card" records of ports before
// the pool starts.
MPreviewListWidget* tst_PreviewPlayers::startPool(const QString& out, const OutCardFields& outCards)
{
    QString error;
    if (!env->start(16, QStringLiteral("aaab"), out, &error)) {
        qWarning("%s", qPrintable(error));
        return nullptr;
    }
    // The streams serve one card, as the one in slot 1.
    if (out.at(1) == QLatin1Char('e') && !moveCardToStreams(5)) {
        qWarning("the matrix did not take the preview card's new address");
        return nullptr;
    }
    MCenterMainWindow* page = env->queryAndBuildPage();
    for (auto it = outCards.cbegin(); it != outCards.cend(); ++it) {
        CardInfo record = env->model()->getCardInfo(it.key());
        QJsonObject card = record.value(CardKey::OutCard).toObject();
        for (auto field = it.value().begin(); field != it.value().end(); ++field) {
            if (field.value().isNull())
                card.remove(field.key());
            else
                card.insert(field.key(), field.value());
        }
        record.insert(CardKey::OutCard, card);
        env->model()->setCardInfo(it.key(), record);
    }
    page->resize(1400, 900);
    page->show();
    AvPlayerControl::instance()->startPreview();
    return page->previewListWidget();
}

void tst_PreviewPlayers::playersPerPreviewChannel_data()
{
    QTest::addColumn<QString>("outCards");
    QTest::addColumn<OutCardFields>("records");
    QTest::addColumn<QStringList>("urls"); // by ascending key
    QTest::addColumn<QList<int>>("keys");

    const QString url = QStringLiteral("rtsp://%1:8554/live/channel=%2_stream=%3");
    auto card = [&](const QString& ip, int stream) {
        QStringList list;
        for (int channel = 0; channel < 4; ++channel)
            list << url.arg(ip).arg(channel).arg(stream);
        return list;
    };
    QTest::newRow("a then e, card moved") << "aeaa" << OutCardFields{} << card(streamCard.toString(), 0) << QList<int>{4, 5, 6, 7};
    QTest::newRow("cards in slots 0 and 3, sub stream on the second")
        << "eaae" << OutCardFields{{12, QJsonObject{{"previewType", 1}}}}
        << card("127.0.0.101", 0) + card("127.0.0.102", 1) << QList<int>{0, 1, 2, 3, 12, 13, 14, 15};
    QTest::newRow("no preview card") << "aaaa" << OutCardFields{} << QStringList{} << QList<int>{};
}

void tst_PreviewPlayers::playersPerPreviewChannel()
{
    QFETCH(QString, outCards);
    QFETCH(OutCardFields, records);
    QFETCH(QStringList, urls);
    QFETCH(QList<int>, keys);

    MPreviewListWidget* strip = startPool(outCards, records);
    QVERIFY(strip);
    AvPlayerControl* pool = AvPlayerControl::instance();
    const QMap<int, AVPlayer*> byKey = pool->playersByKey();
    QCOMPARE(byKey.keys(), keys);
    QStringList files;
    for (AVPlayer* player : byKey)
        files << player->file();
    QCOMPARE(files, urls);
    QCOMPARE(pool->playerList(), byKey.values());

    // One tile per player in key order, showing the input the matrix routes to it (devicesim
    // starts with every input passed through to the output of the same number).
    const auto tiles = strip->previewTiles();
    QCOMPARE(tiles.size(), keys.size());
    for (int i = 0; i < tiles.size(); ++i) {
        const int key = keys.at(i);
        PreviewControlWidget* tile = tiles.at(i);
        QCOMPARE(tile->previewOutput(), key);
        QCOMPARE(tile->shownInput(), key);
        // Slot 3 holds a DVI input card.
        QCOMPARE(tile->labelText(), QStringLiteral("%1-%2").arg(key < 12 ? "HDMI" : "DVI").arg(key + 1));
        QVERIFY(tile->player());
        QCOMPARE(pool->keyOfRenderer(tile->player()), key);
        QCOMPARE(byKey.value(key)->videoOutputs(), QList<Media::VideoRenderer*>{tile->player()});
        // Attaching starts playing.
        QVERIFY(byKey.value(key)->mediaStatus() != Media::NoMedia);
    }
}

void tst_PreviewPlayers::picturesArriveInTheTiles()
{
    MPreviewListWidget* strip = startPool(QStringLiteral("aeaa"));
    QVERIFY(strip);
    const auto tiles = strip->previewTiles();
    QCOMPARE(tiles.size(), 4);
    for (PreviewControlWidget* tile : tiles)
        QTRY_VERIFY_WITH_TIMEOUT(tile->player()->framesReceived() > 0, 20000);
    for (PreviewControlWidget* tile : tiles) {
        const QImage picture = tile->player()->currentImage();
        QVERIFY(!picture.isNull());
        // The test pattern (a ball and the channel's caption on black) is not a blank frame.
        QVERIFY2(hasBrightPixels(picture), "the picture is blank");
        // The renderer fills the tile above the label.
        QVERIFY(tile->player()->height() > 40);
        QVERIFY(tile->player()->geometry().bottom() < tile->height() - 19);
    }
    QTest::qWait(300);
    WidgetShots::save(strip, QStringLiteral("preview_strip_playing"));
    WidgetShots::save(MCenterMainWindow::instance(), QStringLiteral("preview_switching_page"));
}

// A stream that goes away (the card drops its clients) or hangs (connected, sending nothing): the
// tile dims its last picture under "no signal" well within the 6 s read time-out, the pool plays
// again, and the live picture returns with the stream.
void tst_PreviewPlayers::playsAgainAfterTheStreamStopsAndReturns_data()
{
    QTest::addColumn<QString>("away");
    QTest::addColumn<QString>("back");
    QTest::newRow("stopped") << "stream-stop" << "stream-start";
    QTest::newRow("hanging") << "stream-pause" << "stream-resume";
}

void tst_PreviewPlayers::playsAgainAfterTheStreamStopsAndReturns()
{
    QFETCH(QString, away);
    QFETCH(QString, back);
    MPreviewListWidget* strip = startPool(QStringLiteral("aeaa"));
    QVERIFY(strip);
    AVPlayer* player = AvPlayerControl::instance()->playersByKey().value(5);
    QVERIFY(player);
    Media::WidgetRenderer* renderer = strip->previewTiles().at(1)->player();
    QTRY_VERIFY_WITH_TIMEOUT(renderer->framesReceived() > 0, 20000);
    QVERIFY(!renderer->isSignalLost());

    QSignalSpy stopped(player, &AVPlayer::stopped);
    QSignalSpy started(player, &AVPlayer::started);
    QElapsedTimer clock;
    clock.start();
    QByteArray answer = control.execute(QStringLiteral("%1 %2 1 0").arg(away, streamCard.toString()));
    QVERIFY2(answer.startsWith("OK"), answer.constData());
    QTRY_VERIFY_WITH_TIMEOUT(!stopped.isEmpty(), 15000);
    QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(renderer->isSignalLost());
    QVERIFY(!renderer->signalLostText().isEmpty());
    // While the stream is away the pool keeps trying, and the tile stays dimmed.
    QTest::qWait(1500);
    QVERIFY(player->mediaStatus() != Media::NoMedia);
    QVERIFY(renderer->isSignalLost());
    const QString shot = QStringLiteral("preview_strip_no_signal_%1").arg(QTest::currentDataTag());
    WidgetShots::save(strip, shot);
    const qint64 before = renderer->framesReceived();

    answer = control.execute(QStringLiteral("%1 %2 1 0").arg(back, streamCard.toString()));
    QVERIFY2(answer.startsWith("OK"), answer.constData());
    QTRY_VERIFY_WITH_TIMEOUT(renderer->framesReceived() > before, 20000);
    QVERIFY(!renderer->isSignalLost());
    QVERIFY(!started.isEmpty());
}

void tst_PreviewPlayers::playsAgainAfterEachError()
{
    // A card whose address is unknown: an address with an empty host, which fails every time.
    MPreviewListWidget* strip =
        startPool(QStringLiteral("aeaa"), {{4, QJsonObject{{"preview-Ip", QJsonValue()}}}});
    QVERIFY(strip);
    AVPlayer* player = AvPlayerControl::instance()->playersByKey().value(4);
    QVERIFY(player);
    QCOMPARE(player->file(), QStringLiteral("rtsp://:8554/live/channel=0_stream=0"));
    QSignalSpy errors(player, &AVPlayer::error);
    QTRY_VERIFY_WITH_TIMEOUT(errors.size() >= 3, 15000);
    // Each failure was followed by a new play.
    QVERIFY(player->mediaStatus() == Media::LoadingMedia || player->mediaStatus() == Media::InvalidMedia);
    QTRY_COMPARE_WITH_TIMEOUT(player->mediaStatus(), Media::LoadingMedia, 5000);
}

void tst_PreviewPlayers::rendererBookkeeping()
{
    MPreviewListWidget* strip = startPool(QStringLiteral("aeaa"));
    QVERIFY(strip);
    AvPlayerControl* pool = AvPlayerControl::instance();
    AVPlayer* player = pool->playersByKey().value(6);
    PreviewControlWidget* tile = strip->previewTiles().at(2);
    Media::WidgetRenderer* renderer = tile->player();

    // Attached twice under its key: added to its player once.
    pool->addVideoRenderer(renderer, 6);
    QCOMPARE(player->videoOutputs().size(), 1);
    // No player under a key: nothing.
    pool->addVideoRenderer(renderer, 9);
    QCOMPARE(pool->keyOfRenderer(renderer), 6);
    // A stopped player is played when a renderer is attached.
    player->stop();
    QCOMPARE(player->mediaStatus(), Media::NoMedia);
    pool->addVideoRenderer(renderer, 6);
    QVERIFY(player->mediaStatus() != Media::NoMedia);

    // A tile that goes detaches its renderer.
    const int renderersBefore = pool->rendererList().size();
    delete tile;
    QVERIFY(player->videoOutputs().isEmpty());
    QCOMPARE(pool->keyOfRenderer(renderer), -1);
    QCOMPARE(pool->rendererList().size(), renderersBefore - 1);
}

// As the application quits, the players stop for good: no restart after the stop, no decoding
// thread left running, and tiles that go afterwards find nothing to detach.
void tst_PreviewPlayers::quitStopsAndReleasesThePlayers()
{
    MPreviewListWidget* strip = startPool(QStringLiteral("aeaa"));
    QVERIFY(strip);
    AvPlayerControl* pool = AvPlayerControl::instance();
    QPointer<AVPlayer> player = pool->playersByKey().value(5);
    QVERIFY(player);
    Media::WidgetRenderer* renderer = strip->previewTiles().at(1)->player();
    QTRY_VERIFY_WITH_TIMEOUT(renderer->framesReceived() > 0, 20000);

    // What QCoreApplication emits when its event loop ends.
    QVERIFY(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    QVERIFY(player.isNull());
    QVERIFY(pool->playerList().isEmpty());
    QVERIFY(pool->playersByKey().isEmpty());
    QCOMPARE(pool->keyOfRenderer(renderer), -1);

    QTest::qWait(300);
    const qint64 frames = renderer->framesReceived();
    QTest::qWait(1500);
    QCOMPARE(renderer->framesReceived(), frames);

    const int renderersBefore = pool->rendererList().size();
    delete strip->previewTiles().at(1);
    QCOMPARE(pool->rendererList().size(), renderersBefore - 1);
}

QTEST_MAIN(tst_PreviewPlayers)
#include "tst_previewplayers.moc"
