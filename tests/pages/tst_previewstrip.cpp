// The preview strip against a simulated matrix: tile labels, drops that route an input to a
// preview output, the drag payload of a tile, paging, and the relabelling that route reports and
// "Switch All" cause.

#include "pages/switching/AvPlayerControl.h"
#include "pages/switching/MPreviewListWidget.h"
#include "pagekit/PortDrag.h"
#include "pages/switching/PreviewControlWidget.h"
#include "PreviewTestEnv.h"
#include "media/WidgetRenderer.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

class tst_PreviewStrip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void tileLabels_data();
    void tileLabels();
    void dropOnTile_data();
    void dropOnTile();
    void dragFromTileCarriesShownInput();
    void paging_data();
    void paging();
    void tilesFollowTheRoutingMap_data();
    void tilesFollowTheRoutingMap();
    void previewUrl_data();
    void previewUrl();

private:
    // A strip of tiles for the preview outputs from firstOutput on, each showing no input.
    std::unique_ptr<MPreviewListWidget> makeStrip(int tileCount, int firstOutput = 4);
    bool drop(PreviewControlWidget* tile, const QByteArray& payload);
    QList<int> visibleTiles(const MPreviewListWidget& strip) const;

    std::unique_ptr<PreviewTestEnv> env;
};

void tst_PreviewStrip::initTestCase()
{
    env = std::make_unique<PreviewTestEnv>();
    QVERIFY2(env->isValid(), "the staged runtime (command templates) is missing");
    QString error;
    QVERIFY2(env->start(16, QStringLiteral("aaab"), QStringLiteral("aeae"), &error), qPrintable(error));
}

void tst_PreviewStrip::cleanup()
{
    // Let the matrix's answers land before the next case.
    QTest::qWait(100);
    PreviewTestEnv::dropPage();
}

std::unique_ptr<MPreviewListWidget> tst_PreviewStrip::makeStrip(int tileCount, int firstOutput)
{
    auto strip = std::make_unique<MPreviewListWidget>();
    for (int i = 0; i < tileCount; ++i)
        strip->addPreviewTile(new Media::WidgetRenderer, -1, firstOutput + i);
    strip->resize(1200, 150);
    return strip;
}

bool tst_PreviewStrip::drop(PreviewControlWidget* tile, const QByteArray& payload)
{
    QMimeData data;
    data.setData(PortDrag::mimeType(), payload);
    const QPoint at = tile->rect().center();
    QDragEnterEvent enter(at, Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tile, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropEvent(at, Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tile, &dropEvent);
    return dropEvent.isAccepted();
}

QList<int> tst_PreviewStrip::visibleTiles(const MPreviewListWidget& strip) const
{
    QList<int> shown;
    const auto tiles = strip.previewTiles();
    for (int i = 0; i < tiles.size(); ++i) {
        if (tiles.at(i)->isVisibleTo(&strip))
            shown << i;
    }
    return shown;
}

void tst_PreviewStrip::tileLabels_data()
{
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");

    // Slot 3 holds an input card of letter b; the others letter a.
    QTest::newRow("named input") << 2 << QStringLiteral("Camera 3") << QStringLiteral("Camera 3");
    QTest::newRow("unnamed HDMI input") << 2 << QString() << QStringLiteral("HDMI-3");
    QTest::newRow("unnamed input of slot 3") << 13 << QString() << QStringLiteral("DVI-14");
    QTest::newRow("no input") << -1 << QString() << QStringLiteral("无");
}

void tst_PreviewStrip::tileLabels()
{
    QFETCH(int, input);
    QFETCH(QString, name);
    QFETCH(QString, label);

    if (input >= 0) {
        CardInfo record = env->model()->getCardInfo(input);
        QJsonObject in = record.value(CardKey::InCard).toObject();
        in.insert(CardKey::Name, name);
        record.insert(CardKey::InCard, in);
        env->model()->setCardInfo(input, record);
    }
    MPreviewListWidget strip;
    strip.addPreviewTile(new Media::WidgetRenderer, input, 5);
    QCOMPARE(strip.previewTiles().size(), 1);
    PreviewControlWidget* tile = strip.previewTiles().first();
    QCOMPARE(tile->labelText(), label);
    QCOMPARE(tile->shownInput(), input);
    QCOMPARE(tile->previewOutput(), 5);
    QVERIFY(tile->player());
    QCOMPARE(tile->player()->parentWidget(), tile);
    QCOMPARE(tile->maximumWidth(), 200);
}

void tst_PreviewStrip::dropOnTile_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("command");

    QTest::newRow("input index 2") << QByteArray("2") << QStringLiteral("/Switch:3:6;");
    QTest::newRow("input index 0") << QByteArray("0") << QStringLiteral("/Switch:1:6;");
    QTest::newRow("input index 255") << QByteArray("255") << QStringLiteral("/Switch:256:6;");
    QTest::newRow("300 is out of range") << QByteArray("300") << QString();
    QTest::newRow("negative") << QByteArray("-1") << QString();
    QTest::newRow("not a number") << QByteArray("abc") << QString();
}

void tst_PreviewStrip::dropOnTile()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, command);

    // Tiles of the preview outputs 4 to 7 (the card in slot 1); drop on the one of output 5.
    auto strip = makeStrip(4);
    PreviewControlWidget* tile = strip->previewTiles().at(1);
    QCOMPARE(tile->previewOutput(), 5);
    const QString before = tile->labelText();
    env->clearReceived();

    QSignalSpy dropped(tile, &PreviewControlWidget::dropped);
    const bool accepted = drop(tile, payload);
    QCOMPARE(accepted, !command.isEmpty());
    QTest::qWait(300);
    const QStringList sent = env->received();
    if (command.isEmpty()) {
        QVERIFY(dropped.isEmpty());
        QVERIFY2(sent.isEmpty(), qPrintable(sent.join(QLatin1Char(' '))));
        QCOMPARE(tile->labelText(), before);
        QCOMPARE(tile->shownInput(), -1);
        return;
    }
    QCOMPARE(sent, QStringList{command});
    const int input = payload.toInt();
    QCOMPARE(tile->shownInput(), input);
    QCOMPARE(tile->labelText(), MPreviewListWidget::inputLabel(input));
    // The other tiles are untouched.
    for (PreviewControlWidget* other : strip->previewTiles()) {
        if (other != tile)
            QCOMPARE(other->shownInput(), -1);
    }
    // Shown at once through the routing map; the next drag carries the dropped input.
    QCOMPARE(env->model()->getRoute(5), input);
    std::unique_ptr<QMimeData> next(tile->dragData());
    QCOMPARE(next->data(PortDrag::mimeType()), QByteArray::number(input));
}

void tst_PreviewStrip::dragFromTileCarriesShownInput()
{
    auto strip = makeStrip(4);
    strip->show();
    QVERIFY(QTest::qWaitForWindowExposed(strip.get()));
    PreviewControlWidget* tile = strip->previewTiles().at(2);
    tile->setShownInput(9);

    // Where the drag runs a loop of its own, look at it from inside and cancel it; where it
    // returns at once (offscreen), the finished drag is still there until the event loop runs.
    QByteArray payload;
    QStringList formats;
    Qt::DropActions actions;
    bool seen = false;
    auto inspect = [&] {
        auto* drag = tile->findChild<QDrag*>();
        if (!drag || seen)
            return;
        seen = true;
        formats = drag->mimeData()->formats();
        payload = drag->mimeData()->data(PortDrag::mimeType());
        actions = drag->supportedActions();
    };
    QTimer::singleShot(100, tile, [&] {
        inspect();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(tile, &escape);
    });

    const QPoint start = tile->rect().center();
    QTest::mousePress(tile, Qt::LeftButton, Qt::NoModifier, start);
    // Below the drag distance nothing starts.
    QMouseEvent small(QEvent::MouseMove, start + QPoint(1, 0), tile->mapToGlobal(start + QPoint(1, 0)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tile, &small);
    QVERIFY(!tile->findChild<QDrag*>());

    const QPoint far = start + QPoint(QApplication::startDragDistance() + 5, 0);
    QMouseEvent move(QEvent::MouseMove, far, tile->mapToGlobal(far), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tile, &move);
    inspect();
    QTRY_VERIFY(seen);
    QCOMPARE(formats, QStringList{PortDrag::mimeType()});
    QCOMPARE(payload, QByteArray("9"));
    QCOMPARE(actions, Qt::DropActions(Qt::LinkAction));
}

void tst_PreviewStrip::paging_data()
{
    QTest::addColumn<int>("tileCount");
    QTest::addColumn<QString>("clicks"); // d = page down, u = page up
    QTest::addColumn<int>("page");
    QTest::addColumn<QList<int>>("visible");

    QTest::newRow("8 tiles start on page 0") << 8 << "" << 0 << QList<int>{0, 1, 2, 3};
    QTest::newRow("8 tiles, down") << 8 << "d" << 1 << QList<int>{4, 5, 6, 7};
    QTest::newRow("8 tiles, down twice wraps") << 8 << "dd" << 0 << QList<int>{0, 1, 2, 3};
    QTest::newRow("8 tiles, up wraps to the last") << 8 << "u" << 1 << QList<int>{4, 5, 6, 7};
    QTest::newRow("12 tiles, up, up") << 12 << "uu" << 1 << QList<int>{4, 5, 6, 7};
    QTest::newRow("12 tiles, down, down, up") << 12 << "ddu" << 1 << QList<int>{4, 5, 6, 7};
    QTest::newRow("4 tiles do not page") << 4 << "dud" << 0 << QList<int>{0, 1, 2, 3};
}

void tst_PreviewStrip::paging()
{
    QFETCH(int, tileCount);
    QFETCH(QString, clicks);
    QFETCH(int, page);
    QFETCH(QList<int>, visible);

    auto strip = makeStrip(tileCount, 0);
    const bool pages = tileCount > MPreviewListWidget::kTilesPerPage;
    QCOMPARE(strip->pageDownButton()->isVisibleTo(strip.get()), pages);
    QCOMPARE(strip->pageUpButton()->isVisibleTo(strip.get()), pages);
    for (const QChar c : clicks) {
        if (c == QLatin1Char('d'))
            strip->onPageDownClick();
        else
            strip->onPageUpClick();
    }
    QCOMPARE(strip->currentPage(), page);
    QCOMPARE(visibleTiles(*strip), visible);
    // The buttons sit at the two ends with the tiles in between, in key order.
    if (pages) {
        strip->show();
        QVERIFY(QTest::qWaitForWindowExposed(strip.get()));
        const auto tiles = strip->previewTiles();
        QVERIFY(strip->pageUpButton()->geometry().right() < tiles.at(visible.first())->geometry().left());
        QVERIFY(tiles.at(visible.last())->geometry().right() < strip->pageDownButton()->geometry().left());
        for (int i = 0; i < tiles.size(); ++i)
            tiles.at(i)->setLabelText(QStringLiteral("HDMI-%1").arg(i + 1));
        WidgetShots::save(strip.get(), QStringLiteral("preview_strip_%1_tiles_page_%2").arg(tileCount).arg(page));
        QTest::mouseClick(strip->pageDownButton(), Qt::LeftButton);
        QCOMPARE(strip->currentPage(), (page + 1) % (tileCount / 4));
    }
}

void tst_PreviewStrip::tilesFollowTheRoutingMap_data()
{
    QTest::addColumn<QString>("report");      // a line of the matrix, as devicesim's send writes it
    QTest::addColumn<QList<int>>("inputs");   // then shown by the tiles of outputs 4 to 7

    QTest::newRow("route made elsewhere") << "AV:\\s3->6" << QList<int>{0, 2, 0, 0};
    QTest::newRow("switch all") << "10\\sTo\\sAll." << QList<int>{9, 9, 9, 9};
    QTest::newRow("route list, as after a scene recall") << "4V5,6,8." << QList<int>{3, 3, 0, 3};
    QTest::newRow("output closed") << "Output\\s7\\sClosed." << QList<int>{0, 0, -2, 0};
}

// Whoever changes a route (the matrix's front panel, another console, "Switch All", a scene),
// each tile names and drags the input that the routing map gives its preview output.
void tst_PreviewStrip::tilesFollowTheRoutingMap()
{
    QFETCH(QString, report);
    QFETCH(QList<int>, inputs);

    MPreviewListWidget* strip = env->wiredPage()->previewListWidget();
    for (int key : {4, 5, 6, 7}) {
        env->model()->setRoute(key, 0);
        strip->addPreviewTile(new Media::WidgetRenderer, 0, key);
    }
    QCOMPARE(env->sim().control(QStringLiteral("send %1\\r\\n").arg(report)), QByteArray("OK"));
    const auto tiles = strip->previewTiles();
    QTRY_COMPARE(tiles.at(0)->shownInput() == inputs.at(0) && tiles.at(1)->shownInput() == inputs.at(1)
                     && tiles.at(2)->shownInput() == inputs.at(2) && tiles.at(3)->shownInput() == inputs.at(3),
                 true);
    for (int i = 0; i < tiles.size(); ++i) {
        QCOMPARE(tiles.at(i)->labelText(), MPreviewListWidget::inputLabel(inputs.at(i)));
        std::unique_ptr<QMimeData> drag(tiles.at(i)->dragData());
        QCOMPARE(drag->data(PortDrag::mimeType()), QByteArray::number(inputs.at(i)));
    }
}

void tst_PreviewStrip::previewUrl_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("url");

    QTest::newRow("card") << QStringLiteral("127.0.0.9") << 3 << 1
                          << QStringLiteral("rtsp://127.0.0.9:8554/live/channel=3_stream=1");
    QTest::newRow("no address") << QString() << 0 << 0 << QStringLiteral("rtsp://:8554/live/channel=0_stream=0");
    QTest::newRow("placeholder in the address") << QStringLiteral("%2%3") << 2 << 0
                                                << QStringLiteral("rtsp://%2%3:8554/live/channel=2_stream=0");
}

void tst_PreviewStrip::previewUrl()
{
    QFETCH(QString, ip);
    QFETCH(int, channel);
    QFETCH(int, type);
    QFETCH(QString, url);
    QCOMPARE(AvPlayerControl::previewUrl(ip, channel, type), url);
}

QTEST_MAIN(tst_PreviewStrip)
#include "tst_previewstrip.moc"
