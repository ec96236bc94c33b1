#include "media/AudioOutput.h"
#include "media/AVPlayer.h"
#include "media/DecodeShortcuts.h"
#include "media/FormatOptions.h"
#include "media/FrameMailbox.h"
#include "media/FramePump.h"
#include "media/WidgetRenderer.h"
#include "platform/LoopbackGuard.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

extern "C" {
#include <libavutil/dict.h>
#include <libswscale/swscale.h>
}

using namespace Media;

class tst_MediaUnits : public QObject
{
    Q_OBJECT
private slots:
    void formatOptionText_data();
    void formatOptionText();
    void formatOptionsOfPreview();
    void mailboxKeepsNewestOnly();
    void audioBackendsKeepNullOnly();
    void playSetsLoadingAtOnce();
    void failedPlaysAreSpaced();
    void shortcutsFollowTheShownSize_data();
    void shortcutsFollowTheShownSize();
    void pumpIntervalFollowsTheScreen_data();
    void pumpIntervalFollowsTheScreen();
    void lostSignalDimsThePicture();
};

void tst_MediaUnits::formatOptionText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("int") << QVariant(2048) << "2048";
    QTest::newRow("integral double") << QVariant(3110400.0) << "3110400";
    QTest::newRow("fractional double") << QVariant(0.5) << "0.5";
    QTest::newRow("negative double") << QVariant(-2.0) << "-2";
    QTest::newRow("bool") << QVariant(true) << "1";
    QTest::newRow("string") << QVariant(QStringLiteral("tcp")) << "tcp";
    QTest::newRow("long long") << QVariant(qlonglong(5000000000LL)) << "5000000000";
}

void tst_MediaUnits::formatOptionText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    AVDictionary* dict = toAVDictionary({{QStringLiteral("k"), value}});
    const AVDictionaryEntry* e = av_dict_get(dict, "k", nullptr, 0);
    QVERIFY(e);
    QCOMPARE(QString::fromUtf8(e->value), text);
    av_dict_free(&dict);
}

void tst_MediaUnits::formatOptionsOfPreview()
{
    const QVariantHash options{{"avioflags", "direct"}, {"rtsp_transport", "tcp"}, {"probesize", 2048},
                               {"analyzeduration", 40000}, {"packetsize", 3110400.0}, {"profile", "main"},
                               {"", "dropped"}};
    AVDictionary* dict = toAVDictionary(options);
    QCOMPARE(av_dict_count(dict), 6);
    QCOMPARE(QString::fromUtf8(av_dict_get(dict, "packetsize", nullptr, 0)->value), QStringLiteral("3110400"));
    QCOMPARE(QString::fromUtf8(av_dict_get(dict, "analyzeduration", nullptr, 0)->value), QStringLiteral("40000"));
    av_dict_free(&dict);
}

void tst_MediaUnits::mailboxKeepsNewestOnly()
{
    FrameMailbox box;
    VideoFrame f;
    QVERIFY(!box.take(&f));
    VideoFrame a;
    a.number = 1;
    VideoFrame b;
    b.number = 2;
    VideoFrame c;
    c.number = 3;
    QVERIFY(box.put(a));   // empty: the taker must be told
    QVERIFY(!box.put(b));  // still full: no second notice
    QVERIFY(!box.put(c));
    QVERIFY(box.take(&f));
    QCOMPARE(f.number, qint64(3));
    QCOMPARE(box.replaced(), qint64(2));
    QVERIFY(!box.take(&f));
    QVERIFY(box.put(a));
}

void tst_MediaUnits::audioBackendsKeepNullOnly()
{
    AudioOutput out;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("audio backend not available.*OpenAL"));
    out.setBackends({QStringLiteral("OpenAL"), QStringLiteral("null")});
    QCOMPARE(out.backends(), QStringList{QStringLiteral("null")});
}

// Callers check the status right after play() to decide whether to play again.
void tst_MediaUnits::playSetsLoadingAtOnce()
{
    LoopbackGuard::setActiveForTesting(true);
    AVPlayer player;
    QCOMPARE(player.mediaStatus(), NoMedia);
    player.setFile(QStringLiteral("rtsp://192.168.0.178:8554/live/channel=0_stream=0"));
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("Loopback guard: refused media open"));
    QSignalSpy errors(&player, &AVPlayer::error);
    WidgetRenderer renderer;
    player.addVideoRenderer(&renderer);
    player.play();
    QCOMPARE(player.mediaStatus(), LoadingMedia);
    QVERIFY(!renderer.isSignalLost());
    QVERIFY(errors.wait(5000));
    QCOMPARE(player.mediaStatus(), InvalidMedia);
    // A play that failed shows as such, not as a black picture still loading.
    QVERIFY(renderer.isSignalLost());
}

// A player replayed on every error (as the preview pool does) must not redial in a busy loop.
void tst_MediaUnits::failedPlaysAreSpaced()
{
    LoopbackGuard::setActiveForTesting(true);
    AVPlayer player;
    player.setFile(QStringLiteral("rtsp://:8554/live/channel=0_stream=0"));
    int errors = 0;
    connect(&player, &AVPlayer::error, &player, [&] {
        ++errors;
        player.play();
    });
    QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QElapsedTimer clock;
    clock.start();
    player.play();
    QTest::qWait(2500);
    // However slowly the opens fail, they go on failing, at least a second apart.
    QTRY_VERIFY2_WITH_TIMEOUT(errors >= 2, "the empty host must keep failing", 30000);
    const int failed = errors;
    const qint64 elapsed = clock.elapsed();
    qInstallMessageHandler(previous);
    QVERIFY2(failed <= 2 + elapsed / 1000, qPrintable(QStringLiteral("%1 opens in %2 ms").arg(failed).arg(elapsed)));
}

void tst_MediaUnits::shortcutsFollowTheShownSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("shortcuts"); // loop filter skipped and fast decoding
    QTest::addColumn<int>("scaler");
    const QSize hd(1280, 720), sub(640, 360);
    const int fastest = VideoRenderer::QualityFastest;
    QTest::newRow("strip tile") << hd << QSize(200, 113) << fastest << true << int(SWS_FAST_BILINEAR);
    QTest::newRow("sub stream in a tile") << sub << QSize(200, 113) << fastest << true << int(SWS_FAST_BILINEAR);
    QTest::newRow("exactly half") << hd << QSize(640, 360) << fastest << true << int(SWS_FAST_BILINEAR);
    QTest::newRow("half wide, taller") << hd << QSize(640, 361) << fastest << false << int(SWS_FAST_BILINEAR);
    QTest::newRow("narrow, full height") << hd << QSize(200, 720) << fastest << false << int(SWS_FAST_BILINEAR);
    QTest::newRow("full size") << hd << hd << int(VideoRenderer::QualityDefault) << false << int(SWS_BILINEAR);
    QTest::newRow("tile asks for the best") << hd << QSize(200, 113) << int(VideoRenderer::QualityBest) << true
                                            << int(SWS_BICUBIC);
    QTest::newRow("tile, default quality") << hd << QSize(200, 113) << int(VideoRenderer::QualityDefault) << true
                                           << int(SWS_FAST_BILINEAR);
    QTest::newRow("size not known yet") << QSize() << QSize(200, 113) << fastest << false << int(SWS_FAST_BILINEAR);
    QTest::newRow("nobody shows it") << hd << QSize() << fastest << true << int(SWS_FAST_BILINEAR);
}

void tst_MediaUnits::shortcutsFollowTheShownSize()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, shown);
    QFETCH(int, quality);
    QFETCH(bool, shortcuts);
    QFETCH(int, scaler);
    const DecodeShortcuts d = DecodeShortcuts::forSizes(picture, shown, quality);
    QCOMPARE(d.skipLoopFilter, shortcuts);
    QCOMPARE(d.fastDecoding, shortcuts);
    QCOMPARE(d.scalerFlags, scaler);
}

void tst_MediaUnits::pumpIntervalFollowsTheScreen_data()
{
    QTest::addColumn<double>("hz");
    QTest::addColumn<int>("ms");
    QTest::newRow("60 Hz") << 60.0 << 17;
    QTest::newRow("50 Hz") << 50.0 << 20;
    QTest::newRow("144 Hz: no faster than 60") << 144.0 << 17;
    QTest::newRow("24 Hz: no slower than the streams") << 24.0 << 40;
    QTest::newRow("unknown") << 0.0 << 17;
}

void tst_MediaUnits::pumpIntervalFollowsTheScreen()
{
    QFETCH(double, hz);
    QFETCH(int, ms);
    QCOMPARE(FramePump::intervalForRefreshRate(hz), ms);
}

// A lost signal dims the picture on show under the caption; the next picture is shown plain.
void tst_MediaUnits::lostSignalDimsThePicture()
{
    WidgetRenderer renderer;
    renderer.resize(200, 113);
    renderer.setSignalLostText(QStringLiteral("NO SIGNAL"));
    QPalette palette = renderer.palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    renderer.setPalette(palette);
    VideoFrame grey;
    grey.image = QImage(renderer.size(), QImage::Format_RGB32);
    grey.image.fill(QColor(200, 200, 200));
    grey.sourceSize = QSize(1280, 720);
    renderer.receive(grey);
    const auto corner = [&] { return qGray(renderer.grab().toImage().pixel(3, 3)); };
    const auto brightInMiddleRow = [&] {
        const QImage shot = renderer.grab().toImage();
        int n = 0;
        for (int x = 0; x < shot.width(); ++x)
            n += qGray(shot.pixel(x, shot.height() / 2)) > 230;
        return n;
    };
    QCOMPARE(corner(), 200);
    QCOMPARE(brightInMiddleRow(), 0);

    renderer.signalLost();
    QVERIFY(renderer.isSignalLost());
    QVERIFY2(corner() < 100, qPrintable(QString::number(corner())));
    QVERIFY2(brightInMiddleRow() > 3, "no caption");

    renderer.receive(grey);
    QVERIFY(!renderer.isSignalLost());
    QCOMPARE(corner(), 200);
    QCOMPARE(brightInMiddleRow(), 0);
}

QTEST_MAIN(tst_MediaUnits)
#include "tst_mediaunits.moc"
