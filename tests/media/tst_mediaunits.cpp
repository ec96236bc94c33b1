#include "media/AudioOutput.h"
#include "media/AVPlayer.h"
#include "media/FormatOptions.h"
#include "media/FrameMailbox.h"
#include "platform/LoopbackGuard.h"

#include <QSignalSpy>
#include <QtTest>

extern "C" {
#include <libavutil/dict.h>
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
    player.play();
    QCOMPARE(player.mediaStatus(), LoadingMedia);
    QVERIFY(errors.wait(5000));
    QCOMPARE(player.mediaStatus(), InvalidMedia);
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
    player.play();
    QTest::qWait(2500);
    qInstallMessageHandler(previous);
    QVERIFY2(errors >= 2, "the empty host must keep failing");
    QVERIFY2(errors <= 4, qPrintable(QStringLiteral("%1 opens in 2.5 s").arg(errors)));
}

QTEST_MAIN(tst_MediaUnits)
#include "tst_mediaunits.moc"
