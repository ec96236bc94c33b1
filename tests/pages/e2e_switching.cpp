// The whole console against a simulated matrix: log in, let the main window run its start-up,
// then drag an input from the list onto an output tile and see the route at the matrix and in
// the console; a route made by another client of the matrix shows on its tile.

#include "app/CLoginDialog.h"
#include "app/CSelectCardTypeDialog.h"
#include "app/CenterWindow.h"
#include "framework/FBasePushButton.h"
#include "pages/switching/MCenterMainWindow.h"
#include "pagekit/MInputListWidget.h"
#include "pagekit/MInputTreeList.h"
#include "app/MainWindow.h"
#include "pages/switching/ScreenWidget.h"
#include "SwitchingTestEnv.h"
#include "../app/AppTestSupport.h"

#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QTcpSocket>
#include <QtTest>

class e2e_Switching : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loginDragAndRemoteRoute();
    void cleanupTestCase();

private:
    std::unique_ptr<SwitchingTestEnv> env;
    QPointer<MainWindow> window;
};

void e2e_Switching::initTestCase()
{
    env = std::make_unique<SwitchingTestEnv>();
    QVERIFY(env->isValid());
    QVERIFY2(env->sim.start({QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--in-cards"),
                             QStringLiteral("aaaa"), QStringLiteral("--out-cards"), QStringLiteral("aaaa"),
                             QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}),
             qPrintable(env->sim.errorString()));
    QSettings client(QStringLiteral("data/ClientConfig.dat"), QSettings::IniFormat);
    client.setValue(QStringLiteral("DEVICE_INFO/dev_addr"), env->sim.address());
    client.setValue(QStringLiteral("DEVICE_INFO/dev_tcp_port"), env->sim.port());
    client.setValue(QStringLiteral("CLIENT_INFO/dev_type"), 2);   // 16 ports
}

void e2e_Switching::loginDragAndRemoteRoute()
{
    // Log in as the built-in administrator and accept the card types the matrix reports.
    CLoginDialog login;
    login.getPasswordEdit()->setText(QStringLiteral("740261"));
    AppTest::whenShown<CSelectCardTypeDialog>([](CSelectCardTypeDialog* types) { types->getOkButton()->click(); });
    QSignalSpy finished(&login, &QDialog::finished);
    login.show();
    login.getOkButton()->click();
    QVERIFY(finished.count() == 1 || finished.wait(10000));
    QCOMPARE(login.result(), int(QDialog::Accepted));
    QCOMPARE(g_inCardTypes, QStringLiteral("aaaa"));

    window = MainWindow::instance();
    window->show();
    QVERIFY(QTest::qWaitFor([this] { return window->centerWindow()->isStartupFinished(); }, 20000));
    MCenterMainWindow* page = MCenterMainWindow::instance();
    QVERIFY(page->isVisible());
    // The start-up's status query filled the routing map: devicesim passes every input through.
    QCOMPARE(CenterWindow::instance()->getRoute(5), 5);
    QCOMPARE(page->screenTiles().at(5)->inputText(), QStringLiteral("HDMI-6"));
    env->clearReceived();

    // Drag input port 2 from the list and drop it on the tile of output port 5.
    MInputTreeList* tree = page->inputListWidget()->treeList();
    QTreeWidgetItem* row = tree->topLevelItem(3);
    QCOMPARE(row->data(0, Qt::UserRole).toInt(), 2);
    tree->scrollToItem(row);
    const QPoint start = tree->visualItemRect(row).center();
    ScreenWidget* tile = page->screenTiles().at(5);
    const QPoint target = tile->rect().center();
    QTest::mousePress(tree->viewport(), Qt::LeftButton, Qt::NoModifier, start);
    QCOMPARE(page->inputListWidget()->currentCardIndex(), 2);
    QMouseEvent move(QEvent::MouseMove, start + QPoint(QApplication::startDragDistance() + 2, 0),
                     tree->viewport()->mapToGlobal(start), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    // The offscreen platform ends a drag at once; the drag object (deleted later) still holds
    // what the tree put on it, which is delivered to the tile as the window system would.
    QDrag* drag = tree->findChild<QDrag*>();
    QVERIFY(drag);
    QMimeData* data = drag->mimeData();
    QCOMPARE(drag->supportedActions(), Qt::LinkAction);
    QDragEnterEvent enter(target, Qt::LinkAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tile, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::LinkAction);
    QDropEvent drop(target, Qt::LinkAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tile, &drop);
    QVERIFY(drop.isAccepted());
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, start);

    QVERIFY2(env->waitForCommand(QStringLiteral("/Switch:3:6;")), qPrintable(env->received().join(QLatin1Char(' '))));
    QCOMPARE(CenterWindow::instance()->getRoute(5), 2);
    QCOMPARE(tile->inputText(), QStringLiteral("HDMI-3"));
    QTRY_COMPARE(env->matrixRoutes().value(6), 3);
    WidgetShots::save(window, QStringLiteral("switching_e2e_after_drop"));

    // Another controller routes input 4 to output 7: the console hears it and repaints.
    QTcpSocket other;
    other.connectToHost(env->sim.address(), env->sim.port());
    QVERIFY(other.waitForConnected(3000));
    other.write("/Switch:4:7;");
    QVERIFY(other.waitForBytesWritten(3000));
    QTRY_COMPARE(page->screenTiles().at(6)->inputText(), QStringLiteral("HDMI-4"));
    QCOMPARE(CenterWindow::instance()->getRoute(6), 3);
}

void e2e_Switching::cleanupTestCase()
{
    if (window) {
        window->setExitConfirmed(true);
        delete window.data();
    }
    env.reset();
}

QTEST_MAIN(e2e_Switching)
#include "e2e_switching.moc"
