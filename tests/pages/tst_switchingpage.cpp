// The switching page against a simulated 16-port matrix: drops, clicks, double clicks, the bulk
// buttons, tile labels and states, paging and the painted tile.

#include "pages/switching/MCenterMainWindow.h"
#include "pagekit/MInputListWidget.h"
#include "pagekit/MInputTreeList.h"
#include "pages/switching/MPreviewListWidget.h"
#include "pages/switching/MSenceListWidget.h"
#include "pagekit/PortDrag.h"
#include "pages/switching/ScreenWidget.h"
#include "SwitchingTestEnv.h"

#include "framework/fpolygonButton.h"

#include <QGridLayout>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

#include <memory>

class tst_SwitchingPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dropRoutesInput_data();
    void dropRoutesInput();
    void doubleClickClosesWithoutSwitching();
    void singleClickSwitchesSelectedInputAfterDelay();
    void closeAllWaitsForTheMatrixReport();
    void switchAllSendsSelectedInput();
    void routeReportsRepaintTheTiles();
    void failedSwitchLeavesTheTile_data();
    void failedSwitchLeavesTheTile();
    void reconnectAsksForTheRoutes();
    void tileLabels_data();
    void tileLabels();
    void tilesOfportsWithoutSwitchableOutput();
    void paging_data();
    void paging();
    void foldingKeepsWindowSize();
    void tileColours_data();
    void tileColours();

private:
    std::unique_ptr<MCenterMainWindow> makePage(int ports, const QString& in, const QString& out);
    void dropOn(ScreenWidget* tile, const QByteArray& payload, bool* accepted = nullptr);

    std::unique_ptr<SwitchingTestEnv> env;
    std::unique_ptr<MCenterMainWindow> page;
};

void tst_SwitchingPage::initTestCase()
{
    env = std::make_unique<SwitchingTestEnv>();
    QVERIFY(env->isValid());
    env->useModel(16, QStringLiteral("aaaa"), QStringLiteral("aaaa"));
    QString error;
    QVERIFY2(env->startMatrix(&error), qPrintable(error));
}

void tst_SwitchingPage::init()
{
    page = makePage(16, QStringLiteral("aaaa"), QStringLiteral("aaaa"));
    // devicesim starts with every input passed through; the console knows nothing until told.
    env->clearReceived();
}

void tst_SwitchingPage::cleanup()
{
    // Let the matrix's answers to this case land before the next case's model exists.
    QTest::qWait(200);
    page.reset();
}

std::unique_ptr<MCenterMainWindow> tst_SwitchingPage::makePage(int ports, const QString& in, const QString& out)
{
    env->useModel(ports, in, out);
    auto made = std::make_unique<MCenterMainWindow>();
    made->resize(1280, 800);
    made->initConfig(false);
    made->show();
    return made;
}

void tst_SwitchingPage::dropOn(ScreenWidget* tile, const QByteArray& payload, bool* accepted)
{
    QMimeData data;
    data.setData(PortDrag::mimeType(), payload);
    const QPoint at = tile->rect().center();
    QDragEnterEvent enter(at, Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tile, &enter);
    QDropEvent drop(at, Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    QApplication::sendEvent(tile, &drop);
    if (accepted)
        *accepted = drop.isAccepted();
}

void tst_SwitchingPage::dropRoutesInput_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("route");

    QTest::newRow("input 2 on output 4") << QByteArray("2") << QStringLiteral("/Switch:3:5;") << 2;
    QTest::newRow("input 0 on output 4") << QByteArray("0") << QStringLiteral("/Switch:1:5;") << 0;
    QTest::newRow("above 255") << QByteArray("300") << QString() << -1;
    QTest::newRow("negative") << QByteArray("-1") << QString() << -1;
    QTest::newRow("not a number") << QByteArray("x7") << QString() << -1;
    QTest::newRow("item-model stream") << QByteArray("\x00\x00\x00\x01\x00\x00\x00\x00", 8) << QString() << -1;
}

void tst_SwitchingPage::dropRoutesInput()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, command);
    QFETCH(int, route);

    ScreenWidget* tile = page->screenTiles().at(4);
    QCOMPARE(tile->getPortIndex(), 4);
    bool accepted = false;
    dropOn(tile, payload, &accepted);

    QCOMPARE(accepted, !command.isEmpty());
    QCOMPARE(env->model->getRoute(4), route);
    if (command.isEmpty()) {
        QTest::qWait(200);
        QCOMPARE(env->received(), QStringList());
        QCOMPARE(tile->inputText(), QStringLiteral("无"));
        return;
    }
    QVERIFY2(env->waitForCommand(command), qPrintable(env->received().join(QLatin1Char(' '))));
    QCOMPARE(tile->inputText(), QStringLiteral("HDMI-%1").arg(route + 1));
    QTRY_COMPARE(env->matrixRoutes().value(5), route + 1);
}

void tst_SwitchingPage::doubleClickClosesWithoutSwitching()
{
    ScreenWidget* tile = page->screenTiles().at(6);
    env->model->setRoute(6, 3);
    page->refreshPage(-1);
    QCOMPARE(tile->inputText(), QStringLiteral("HDMI-4"));

    QTest::mousePress(tile, Qt::LeftButton);
    QTest::mouseRelease(tile, Qt::LeftButton);
    QTest::mouseDClick(tile, Qt::LeftButton);
    QCOMPARE(tile->inputText(), QStringLiteral("无"));
    QCOMPARE(env->model->getRoute(6), -1);

    QVERIFY(env->waitForCommand(QStringLiteral("/Close:7;")));
    QTest::qWait(ScreenWidget::kClickDelayMs + 200);
    QCOMPARE(env->received(), QStringList{QStringLiteral("/Close:7;")});
}

void tst_SwitchingPage::singleClickSwitchesSelectedInputAfterDelay()
{
    MInputTreeList* tree = page->inputListWidget()->treeList();
    tree->setCurrentItem(tree->topLevelItem(3));   // port index 2
    QCOMPARE(page->inputListWidget()->currentCardIndex(), 2);

    ScreenWidget* tile = page->screenTiles().at(9);
    QTest::mouseClick(tile, Qt::LeftButton);
    QCOMPARE(env->model->getRoute(9), -1);   // nothing yet: a double click may follow
    QTRY_COMPARE(env->model->getRoute(9), 2);
    QCOMPARE(tile->inputText(), QStringLiteral("HDMI-3"));
    QVERIFY(env->waitForCommand(QStringLiteral("/Switch:3:10;")));

    // Other buttons do nothing.
    QTest::mouseClick(page->screenTiles().at(10), Qt::RightButton);
    QTest::qWait(ScreenWidget::kClickDelayMs + 100);
    QCOMPARE(env->model->getRoute(10), -1);
}

void tst_SwitchingPage::closeAllWaitsForTheMatrixReport()
{
    for (int output = 0; output < 16; ++output)
        env->model->setRoute(output, 1);
    page->refreshPage(-1);
    ScreenWidget* tile = page->screenTiles().at(0);

    page->closeAllButton()->click();
    QCOMPARE(env->model->getRoute(0), 1);
    QCOMPARE(tile->inputText(), QStringLiteral("HDMI-2"));
    QVERIFY(env->waitForCommand(QStringLiteral("/CloseAll;")));
    // devicesim answers "All Closed.", which the reply parser turns into "no input" everywhere.
    QTRY_COMPARE(tile->inputText(), QStringLiteral("无"));
    QCOMPARE(env->model->getRoute(15), -1);
    QCOMPARE(env->matrixRoutes().value(1), 0);
}

void tst_SwitchingPage::switchAllSendsSelectedInput()
{
    env->model->setRoute(0, 0);
    env->model->setRoute(7, 0);
    MInputTreeList* tree = page->inputListWidget()->treeList();
    tree->setCurrentItem(tree->topLevelItem(6));   // port index 5
    page->switchAllButton()->click();
    QVERIFY(env->waitForCommand(QStringLiteral("/SwitchAll:6;")));
    // The matrix's "6 To All." report routes every output the console knows of.
    QTRY_COMPARE(env->model->getRoute(7), 5);
    QCOMPARE(env->model->getRoute(0), 5);
    QCOMPARE(page->screenTiles().at(7)->inputText(), QStringLiteral("HDMI-6"));
    QCOMPARE(env->matrixRoutes().value(16), 6);
}

void tst_SwitchingPage::routeReportsRepaintTheTiles()
{
    // A route made elsewhere reaches the page through the reply parser.
    QCOMPARE(env->sim.control(QStringLiteral("send AV:\\s12->3\\r\\n")), QByteArray("OK"));
    QTRY_COMPARE(page->screenTiles().at(2)->inputText(), QStringLiteral("HDMI-12"));
    QCOMPARE(env->sim.control(QStringLiteral("send Output\\s3\\sClosed.\\r\\n")), QByteArray("OK"));
    QTRY_COMPARE(page->screenTiles().at(2)->inputText(), QStringLiteral("无"));
    QCOMPARE(env->model->getRoute(2), -2);
}

void tst_SwitchingPage::failedSwitchLeavesTheTile_data()
{
    QTest::addColumn<bool>("close"); // double click instead of a drop
    QTest::newRow("drop") << false;
    QTest::newRow("double click") << true;
}

// A command that could not be written (link down) does not show a route that was never made.
void tst_SwitchingPage::failedSwitchLeavesTheTile()
{
    QFETCH(bool, close);
    ScreenWidget* tile = page->screenTiles().at(4);
    env->model->setRoute(4, 1);
    CCHelper::instance()->disConnectToDevice();
    QSignalSpy routes(env->model, &MatrixModel::routesChanged);
    if (close)
        QTest::mouseDClick(tile, Qt::LeftButton);
    else
        dropOn(tile, "2");
    QCOMPARE(routes.count(), 2); // shown at once, put back when the send failed
    QCOMPARE(env->model->getRoute(4), 1);
    QCOMPARE(tile->inputText(), QStringLiteral("HDMI-2"));

    QSignalSpy connected(CCHelper::instance(), &CCHelper::clientConnected);
    CCHelper::instance()->connectToDevice(0, env->sim.address(), env->sim.port(), QString());
    QVERIFY(connected.count() == 1 || connected.wait(5000));
    QCOMPARE(env->received(), QStringList());
}

// The matrix may switch while the link is down: a reconnect asks for the routes again, the first
// connection does not (the start-up does).
void tst_SwitchingPage::reconnectAsksForTheRoutes()
{
    CCHelper* link = CCHelper::instance();
    QSignalSpy connected(link, &CCHelper::clientConnected);
    link->disConnectToDevice(); // quietly, as before a first connection
    link->connectToDevice(0, env->sim.address(), env->sim.port(), QString());
    QVERIFY(connected.count() == 1 || connected.wait(5000));
    QTest::qWait(300);
    QVERIFY(!env->received().contains(QStringLiteral("/IOStatus;")));

    QSignalSpy lost(link, &CCHelper::clientDisConnected);
    QCOMPARE(env->sim.control(QStringLiteral("drop")), QByteArray("OK"));
    QVERIFY(lost.count() == 1 || lost.wait(5000));
    bool ok = false;
    env->sim.controlOk(QStringLiteral("panel switch 3 5"), &ok);
    QVERIFY(ok);
    connected.clear();
    link->connectToDevice(0, env->sim.address(), env->sim.port(), QString());
    QVERIFY(connected.count() == 1 || connected.wait(5000));
    QVERIFY(env->waitForCommand(QStringLiteral("/IOStatus;")));
    QTRY_COMPARE(page->screenTiles().at(4)->inputText(), QStringLiteral("HDMI-3"));
}

void tst_SwitchingPage::tileLabels_data()
{
    QTest::addColumn<QString>("outName");
    QTest::addColumn<int>("route");
    QTest::addColumn<QString>("inName");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");

    QTest::newRow("unnamed, no input") << QString() << -1 << QString() << QStringLiteral("无") << QStringLiteral("HDMI-5");
    QTest::newRow("closed by report") << QString() << -2 << QString() << QStringLiteral("无") << QStringLiteral("HDMI-5");
    QTest::newRow("named output") << QStringLiteral("投影") << 2 << QString() << QStringLiteral("HDMI-3")
                                  << QStringLiteral("投影");
    QTest::newRow("named input") << QString() << 2 << QStringLiteral("Camera 1") << QStringLiteral("Camera 1")
                                 << QStringLiteral("HDMI-5");
}

void tst_SwitchingPage::tileLabels()
{
    QFETCH(QString, outName);
    QFETCH(int, route);
    QFETCH(QString, inName);
    QFETCH(QString, upper);
    QFETCH(QString, lower);

    CardInfo output = env->model->getCardInfo(4);
    QJsonObject outCard = output.value(CardKey::OutCard).toObject();
    outCard.insert(CardKey::Name, outName);
    output.insert(CardKey::OutCard, outCard);
    env->model->setCardInfo(4, output);
    CardInfo input = env->model->getCardInfo(2);
    QJsonObject inCard = input.value(CardKey::InCard).toObject();
    inCard.insert(CardKey::Name, inName);
    input.insert(CardKey::InCard, inCard);
    env->model->setCardInfo(2, input);
    env->model->setRoute(4, route);

    page->refreshPage(-1);
    ScreenWidget* tile = page->screenTiles().at(4);
    QCOMPARE(tile->inputText(), upper);
    QCOMPARE(tile->outputText(), lower);
}

void tst_SwitchingPage::tilesOfportsWithoutSwitchableOutput()
{
    // Slot 0 a 4K HDBT card, slot 1 a preview card, slot 2 empty, slot 3 HDMI; inputs likewise.
    page = makePage(16, QStringLiteral("3f*a"), QStringLiteral("3e*a"));
    QList<int> enabled;
    for (ScreenWidget* tile : page->screenTiles()) {
        if (tile->isEnabled())
            enabled << tile->getPortIndex();
    }
    QCOMPARE(enabled, (QList<int>{1, 3, 12, 13, 14, 15}));

    // The input list leaves out the even ports of the 4K HDBT input card.
    MInputTreeList* tree = page->inputListWidget()->treeList();
    QList<int> listed;
    for (int i = 1; i < tree->topLevelItemCount(); ++i)
        listed << tree->topLevelItem(i)->data(0, Qt::UserRole).toInt();
    QCOMPARE(listed, (QList<int>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    // First enabled row that is not an IP input card.
    QCOMPARE(page->inputListWidget()->currentCardIndex(), 1);

    // A disabled tile gets no mouse events, so nothing is sent for it.
    QTest::mouseDClick(page->screenTiles().at(0), Qt::LeftButton);
    QTest::qWait(100);
    QCOMPARE(env->received(), QStringList());
}

void tst_SwitchingPage::paging_data()
{
    QTest::addColumn<int>("ports");
    QTest::addColumn<int>("tiles");
    QTest::addColumn<int>("gridRows");
    QTest::addColumn<int>("afterPageUp");
    QTest::addColumn<int>("afterTwoPageDowns");

    QTest::newRow("8 ports") << 8 << 8 << 2 << 0 << 0;
    QTest::newRow("16 ports") << 16 << 16 << 4 << 0 << 0;
    QTest::newRow("96 ports") << 96 << 16 << 4 << 5 << 2;
    QTest::newRow("160 ports") << 160 << 16 << 4 << 9 << 2;
}

void tst_SwitchingPage::paging()
{
    QFETCH(int, ports);
    QFETCH(int, tiles);
    QFETCH(int, gridRows);
    QFETCH(int, afterPageUp);
    QFETCH(int, afterTwoPageDowns);

    page = makePage(ports, QString(ports / 4, QLatin1Char('a')), QString(ports / 4, QLatin1Char('a')));
    QCOMPARE(page->screenTiles().size(), tiles);
    auto* grid = qobject_cast<QGridLayout*>(page->findChild<QWidget*>(QStringLiteral("ScreenViewWidget"))->layout());
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), gridRows);

    page->pageUpButton()->click();
    QCOMPARE(page->currentPage(), afterPageUp);
    page->pageDownButton()->click();
    QCOMPARE(page->currentPage(), 0);
    page->pageDownButton()->click();
    page->pageDownButton()->click();
    QCOMPARE(page->currentPage(), afterTwoPageDowns);

    // Every tile of the current page shows the port of its page.
    for (int i = 0; i < tiles; ++i) {
        const int port = page->currentPage() * 16 + i;
        QCOMPARE(page->screenTiles().at(i)->getPortIndex(), port);
        QCOMPARE(page->screenTiles().at(i)->outputText(), QStringLiteral("HDMI-%1").arg(port + 1));
    }
}

void tst_SwitchingPage::foldingKeepsWindowSize()
{
    const QSize before = page->size();
    struct Fold { fpolygonButton* button; QWidget* panel; };
    const QList<Fold> folds{{page->inputFoldButton(), page->inputListWidget()},
                            {page->previewFoldButton(), page->previewListWidget()},
                            {page->senceFoldButton(), page->senceListWidget()}};
    for (const Fold& fold : folds) {
        QVERIFY(fold.panel->isVisible());
        fold.button->click();
        QVERIFY(!fold.panel->isVisible());
        QVERIFY(fold.button->isVisible());
        QCOMPARE(page->size(), before);
    }
    // Folding the input list gives its width to the tiles.
    const int tileWidth = page->screenTiles().at(0)->width();
    for (const Fold& fold : folds)
        fold.button->click();
    QCOMPARE(page->size(), before);
    QVERIFY(page->inputListWidget()->isVisible());
    QVERIFY(page->screenTiles().at(0)->width() < tileWidth);
    WidgetShots::save(page.get(), QStringLiteral("switching_page_16"));
}

void tst_SwitchingPage::tileColours_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("fill");

    QTest::newRow("normal") << false << true << QColor(0, 73, 192);
    QTest::newRow("selected") << true << true << QColor(31, 151, 213);
    QTest::newRow("disabled") << false << false << QColor(Qt::darkGray);
    QTest::newRow("disabled and selected") << true << false << QColor(Qt::darkGray);
}

void tst_SwitchingPage::tileColours()
{
    QFETCH(bool, selected);
    QFETCH(bool, enabled);
    QFETCH(QColor, fill);

    ScreenWidget tile;
    tile.resize(200, 120);
    tile.setSelected(selected);
    tile.setEnabled(enabled);
    tile.setOutputText(QStringLiteral("HDMI-1"));
    const QImage image = tile.grab().toImage();
    QCOMPARE(image.pixelColor(5, 5), fill);
    QCOMPARE(image.pixelColor(0, 60), QColor(Qt::white));          // outline
    QCOMPARE(image.pixelColor(199, 60), QColor(Qt::white));
    // The output name stands in the lower box, starting 10 px below the middle gap.
    bool whiteBelow = false;
    for (int y = 61; y < 90 && !whiteBelow; ++y)
        for (int x = 60; x < 140 && !whiteBelow; ++x)
            whiteBelow = image.pixelColor(x, y) == QColor(Qt::white);
    QVERIFY(whiteBelow);
}

QTEST_MAIN(tst_SwitchingPage)
#include "tst_switchingpage.moc"
