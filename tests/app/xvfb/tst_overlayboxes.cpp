// Message boxes over the busy overlay, on a real X server: a box must be the window the operator
// sees at its place and must take a real click there, whatever the overlay does meanwhile. Only
// an X server stacks windows and routes the pointer; offscreen tests cannot tell.
#include "AppTestSupport.h"
#include "ConsoleDriver.h"
#include "DeviceSimProcess.h"
#include "WidgetShots.h"

#include "app/CWaitMaskWidget.h"
#include "app/LinkNotices.h"
#include "core/CCHelper.h"
#include "core/GlobalState.h"
#include "pagekit/WaitMaskGuard.h"

#include <QProcess>
#include <QScreen>
#include <QtTest>

namespace {

// Answers every message box with a real pointer click on its OK button (xdotool), after the
// window under it has had a repaint (every event of the overlay's owner used to raise the
// overlay). Notes for each box whether it was the window at that place, and whether the
// overlay was up.
class BoxClicker : public QObject
{
public:
    struct Seen
    {
        QString text;
        bool onTop;
        bool overOverlay;
        bool closedByClick;
    };

    explicit BoxClicker(QWidget* underneath = nullptr)
        : owner(underneath)
    {
        timer.setInterval(50);
        connect(&timer, &QTimer::timeout, this, [this] { poll(); });
        timer.start();
    }
    void setOwner(QWidget* underneath) { owner = underneath; }
    QList<Seen> seen;

private:
    void poll()
    {
        timer.stop();   // the waits below run events: no second round inside this one
        for (QWidget* w : QApplication::topLevelWidgets()) {
            QPointer<CMeetingMessageBoxDialog> box = qobject_cast<CMeetingMessageBoxDialog*>(w);
            if (!box || !box->isVisible() || clicked.contains(box))
                continue;
            clicked << box;
            if (owner)
                owner->update();
            QTest::qWait(300);   // the open animation ends, the owner repaints
            if (!box)
                continue;
            QWidget* ok = box->getOkButton();
            const QPoint at = ok->mapToGlobal(ok->rect().center());
            QWidget* there = QApplication::widgetAt(at);
            if (!WidgetShots::shotDir().isEmpty() && QDir().mkpath(WidgetShots::shotDir())) {
                QGuiApplication::primaryScreen()->grabWindow(0).save(
                    QDir(WidgetShots::shotDir()).filePath(QStringLiteral("overlaybox%1.png").arg(seen.size())));
            }
            Seen s{box->getTextLabel()->text(), there && there->window() == box,
                   CWaitMaskWidget::exists() && CWaitMaskWidget::instance()->isShownWait(), false};
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("mousemove"), QString::number(at.x()),
                               QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
            s.closedByClick = QTest::qWaitFor([&box] { return !box || !box->isVisible(); }, 30000);
            if (!s.closedByClick && box)
                box->close();   // a click that missed would leave the test waiting for ever
            seen.append(s);
        }
        clicked.removeAll(nullptr);
        timer.start();
    }

    QTimer timer;
    QPointer<QWidget> owner;
    QList<QPointer<CMeetingMessageBoxDialog>> clicked;
};

QString describe(const QList<BoxClicker::Seen>& seen)
{
    QStringList parts;
    for (const BoxClicker::Seen& s : seen)
        parts << QStringLiteral("%1 (top %2, overlay %3, clicked away %4)")
                     .arg(s.text).arg(s.onTop).arg(s.overOverlay).arg(s.closedByClick);
    return parts.join(QStringLiteral("; "));
}

} // namespace

class TestOverlayBoxes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void boxAboveOverlay_data();
    void boxAboveOverlay();
    void linkDroppedDuringLoginFetch();
};

void TestOverlayBoxes::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("version")}), 0);
}

void TestOverlayBoxes::boxAboveOverlay_data()
{
    QTest::addColumn<bool>("overlayFirst");
    QTest::newRow("box opened under a shown overlay") << true;
    QTest::newRow("overlay shown while a box is open") << false;
}

void TestOverlayBoxes::boxAboveOverlay()
{
    QFETCH(bool, overlayFirst);
    TempWorkDir dir;
    QVERIFY(AppTest::stageRuntime(dir));
    QWidget owner;
    owner.setGeometry(100, 100, 900, 600);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    CWaitMaskWidget* overlay = CWaitMaskWidget::instance(&owner);
    overlay->resize(owner.size());
    overlay->move(owner.mapToGlobal(QPoint(0, 0)));
    if (overlayFirst)
        overlay->showWait();
    else
        QTimer::singleShot(200, overlay, &CWaitMaskWidget::showWait);

    BoxClicker clicker(&owner);
    CMeetingMessageBoxDialog::showError(QStringLiteral("over the overlay"));
    QCOMPARE(clicker.seen.size(), 1);
    QVERIFY2(clicker.seen.at(0).onTop && clicker.seen.at(0).closedByClick, qPrintable(describe(clicker.seen)));
    QVERIFY(clicker.seen.at(0).overOverlay);
    overlay->hideWait();
    QTRY_VERIFY(!CWaitMaskWidget::exists());
}

// The link drops during the login's fetch; after the card-type dialog the start-up's commands
// find it down and open "Not connected" boxes while the start-up's overlay is up. Each must be
// answerable where it shows, and the start-up must go on to its end.
void TestOverlayBoxes::linkDroppedDuringLoginFetch()
{
    WidgetShots::SkinnedWorkDir dir;
    QVERIFY(AppTest::stageRuntime(dir));
    DeviceSimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--model"), QStringLiteral("16"), QStringLiteral("--in-cards"),
                        QStringLiteral("aa"), QStringLiteral("--out-cards"), QStringLiteral("aa"),
                        QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}),
             qPrintable(sim.errorString()));
    QVERIFY(AppTest::pointAtMatrix(dir, sim.address(), sim.port()));
    LinkNotices::install();   // as the start-up does
    bool ok = false;
    sim.controlOk(QStringLiteral("dropnext"), &ok);
    QVERIFY(ok);

    BoxClicker clicker;
    QVERIFY(ConsoleDriver::login(QStringLiteral("740261")));
    MainWindow* window = MainWindow::instance();
    clicker.setOwner(window);
    QPointer<MainWindow> started = ConsoleDriver::openMainWindow();
    QVERIFY2(started, qPrintable(describe(clicker.seen)));

    int overOverlay = 0;
    for (const BoxClicker::Seen& s : qAsConst(clicker.seen)) {
        QVERIFY2(s.onTop && s.closedByClick, qPrintable(describe(clicker.seen)));
        overOverlay += s.overOverlay ? 1 : 0;
    }
    QVERIFY2(overOverlay > 0, qPrintable(describe(clicker.seen)));
    QCOMPARE(clicker.seen.last().text, QStringLiteral("未连接"));   // no translation loaded here

    window->setExitConfirmed(true);
    delete window;
    CCHelper::instance()->disConnectToDevice();
}

QTEST_MAIN(TestOverlayBoxes)
#include "tst_overlayboxes.moc"
