#include "media/FrameConverter.h"

#include <QtTest>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <memory>

using namespace Media;

namespace {

struct FrameFree
{
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;

enum Colour { Red, Green, Blue, White };

// Y, U, V of each colour in the limited range the streams use.
const int kYuv[4][3] = {{81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {235, 128, 128}};

// A 4:2:0 picture in four horizontal bands, top to bottom, of the given colours.
FramePtr bandedFrame(const QSize& size, const QVector<Colour>& bands)
{
    FramePtr f(av_frame_alloc());
    f->format = AV_PIX_FMT_YUV420P;
    f->width = size.width();
    f->height = size.height();
    if (av_frame_get_buffer(f.get(), 0) < 0)
        return nullptr;
    for (int y = 0; y < f->height; ++y) {
        const Colour c = bands.at(y * bands.size() / f->height);
        memset(f->data[0] + y * f->linesize[0], kYuv[c][0], size_t(f->width));
    }
    const int chromaHeight = (f->height + 1) / 2;
    for (int y = 0; y < chromaHeight; ++y) {
        const Colour c = bands.at(qMin(2 * y, f->height - 1) * bands.size() / f->height);
        memset(f->data[1] + y * f->linesize[1], kYuv[c][1], size_t((f->width + 1) / 2));
        memset(f->data[2] + y * f->linesize[2], kYuv[c][2], size_t((f->width + 1) / 2));
    }
    return f;
}

bool looksLike(QRgb p, Colour c)
{
    const int r = qRed(p), g = qGreen(p), b = qBlue(p);
    switch (c) {
    case Red: return r > 180 && g < 90 && b < 90;
    case Green: return g > 180 && r < 90 && b < 90;
    case Blue: return b > 180 && r < 90 && g < 90;
    case White: return r > 200 && g > 200 && b > 200;
    }
    return false;
}

QString describe(QRgb p)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(p)).arg(qGreen(p)).arg(qBlue(p));
}

} // namespace

class tst_FrameConverter : public QObject
{
    Q_OBJECT
private slots:
    void bandsStayInPlace_data();
    void bandsStayInPlace();
    void heldPicturesAreNeverOverwritten();
    void releasedBuffersAreReused();
    void emptySizeGivesNoPicture();
};

void tst_FrameConverter::bandsStayInPlace_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("scaler");
    const int fastest = SWS_FAST_BILINEAR;
    QTest::newRow("720p to tile, fastest") << QSize(1280, 720) << QSize(200, 113) << fastest;
    QTest::newRow("720p to tile, bilinear") << QSize(1280, 720) << QSize(200, 113) << int(SWS_BILINEAR);
    QTest::newRow("720p to tile, bicubic") << QSize(1280, 720) << QSize(200, 113) << int(SWS_BICUBIC);
    QTest::newRow("720p, full size") << QSize(1280, 720) << QSize(1280, 720) << int(SWS_BILINEAR);
    QTest::newRow("odd height, fastest") << QSize(1280, 719) << QSize(200, 113) << fastest;
    QTest::newRow("odd sizes, fastest") << QSize(641, 359) << QSize(199, 57) << fastest;
    QTest::newRow("360p to tile, fastest") << QSize(640, 360) << QSize(200, 113) << fastest;
    QTest::newRow("2160p to tile, fastest") << QSize(3840, 2160) << QSize(200, 113) << fastest;
    QTest::newRow("to a sliver, fastest") << QSize(1280, 720) << QSize(200, 8) << fastest;
    QTest::newRow("enlarged, fastest") << QSize(320, 180) << QSize(640, 360) << fastest;
}

// Every band (luma and chroma) stays where it belongs, whatever the sizes and scalers.
void tst_FrameConverter::bandsStayInPlace()
{
    QFETCH(QSize, source);
    QFETCH(QSize, target);
    QFETCH(int, scaler);
    const QVector<Colour> bands{Red, Green, Blue, White};
    FramePtr frame = bandedFrame(source, bands);
    QVERIFY(frame);
    FrameConverter converter;
    const QImage image = converter.convert(frame.get(), target, scaler);
    QCOMPARE(image.size(), target);
    QCOMPARE(image.format(), QImage::Format_RGB32);
    for (int band = 0; band < bands.size(); ++band) {
        const int y = (2 * band + 1) * target.height() / (2 * bands.size());
        for (int x : {1, target.width() / 2, target.width() - 2}) {
            const QRgb p = image.pixel(x, y);
            QVERIFY2(looksLike(p, bands.at(band)),
                     qPrintable(QStringLiteral("band %1 at (%2, %3): %4").arg(band).arg(x).arg(y).arg(describe(p))));
        }
    }
}

// A picture handed to the GUI thread stays as it was while newer ones are converted.
void tst_FrameConverter::heldPicturesAreNeverOverwritten()
{
    const QSize source(640, 360), target(200, 113);
    FrameConverter converter;
    QList<QImage> held;
    QList<Colour> colours;
    for (int i = 0; i < 8; ++i) {
        const Colour c = Colour(i % 4);
        FramePtr frame = bandedFrame(source, {c});
        held << converter.convert(frame.get(), target, SWS_FAST_BILINEAR);
        colours << c;
        // Half of them are let go again, so that buffers are reused in between.
        if (i % 2 == 1) {
            held.removeFirst();
            colours.removeFirst();
        }
    }
    QCOMPARE(held.size(), 4);
    for (int i = 0; i < held.size(); ++i)
        QVERIFY2(looksLike(held.at(i).pixel(100, 56), colours.at(i)), qPrintable(describe(held.at(i).pixel(100, 56))));
}

// Steady playing writes into the same few buffers instead of allocating a picture each time.
void tst_FrameConverter::releasedBuffersAreReused()
{
    const QSize target(200, 113);
    FramePtr red = bandedFrame(QSize(640, 360), {Red});
    FramePtr blue = bandedFrame(QSize(640, 360), {Blue});
    FrameConverter converter;
    // The upper half of a cache key names the picture data; it changes only with new data.
    QSet<qint64> buffers;
    QImage shown;
    for (int i = 0; i < 20; ++i) {
        QImage next = converter.convert((i % 2 ? blue : red).get(), target, SWS_FAST_BILINEAR);
        QVERIFY(looksLike(next.pixel(10, 10), i % 2 ? Blue : Red));
        buffers << (next.cacheKey() >> 32);
        shown = next; // the renderer keeps the newest, letting the one before go
    }
    QVERIFY2(buffers.size() <= 3, qPrintable(QString::number(buffers.size())));
    // A new size gets buffers of that size.
    const QImage smaller = converter.convert(red.get(), QSize(120, 80), SWS_FAST_BILINEAR);
    QCOMPARE(smaller.size(), QSize(120, 80));
    QVERIFY(looksLike(smaller.pixel(60, 40), Red));
}

void tst_FrameConverter::emptySizeGivesNoPicture()
{
    FramePtr frame = bandedFrame(QSize(640, 360), {Red});
    FrameConverter converter;
    QVERIFY(converter.convert(frame.get(), QSize(), SWS_FAST_BILINEAR).isNull());
    QVERIFY(converter.convert(frame.get(), QSize(0, 10), SWS_BILINEAR).isNull());
}

QTEST_MAIN(tst_FrameConverter)
#include "tst_frameconverter.moc"
