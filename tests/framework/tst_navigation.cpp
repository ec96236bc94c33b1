#include "framework/FCenterWindow.h"
#include "framework/FCheckabelButton.h"
#include "framework/FMainWindow.h"
#include "framework/FNavgationBar.h"
#include "WidgetShots.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

namespace {

class RecordingCentre : public FCenterWindow
{
public:
    QList<int> directions;
    void cloudAntimation(animation_Direction direction) override { directions << int(direction); }
};

const char *const kPages[][2] = {
    {"信号切换", "Switch"}, {"输入设置", "InSetting"}, {"输出设置", "OutSetting"},
    {"EDID设置", "EdidConfig"}, {"系统设置", "SysConfig"}, {"端口切换", "MatrixSwitch"},
    {"端口权限", "UserManage"},
};

void addPages(FCenterWindow &centre, int count)
{
    for (int i = 0; i < count; ++i) {
        auto *page = new QLabel(QStringLiteral("page %1").arg(i));
        page->setAlignment(Qt::AlignCenter);
        centre.addWidget(QString::fromUtf8(kPages[i][0]), QString::fromLatin1(kPages[i][1]), page);
    }
}

void addButtons(FNavgationBar &bar, int count)
{
    for (int i = 0; i < count; ++i)
        bar.addButton(QStringLiteral("b%1").arg(i), QStringLiteral("b%1").arg(i), QString(), false);
}

} // namespace

class NavigationTest : public QObject
{
    Q_OBJECT

    WidgetShots::SkinnedWorkDir work;

private slots:
    void initTestCase() { QVERIFY(work.isSkinned()); }

    void clickingChecksOneButtonAndShowsItsPage()
    {
        RecordingCentre centre;
        addPages(centre, 3);
        centre.setNavgationBarLayout(0);
        FNavgationBar *bar = centre.getNavgationBar();
        QSignalSpy changed(bar, &FNavgationBar::navgationChanged);
        bar->clickButton(2);
        bar->clickButton(1);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().first().toString(), QStringLiteral("InSetting"));
        QCOMPARE(bar->currentIndex(), 1);
        for (int i = 0; i < bar->buttonCount(); ++i)
            QCOMPARE(bar->button(i)->isChecked(), i == 1);
        QCOMPARE(centre.getStackWidget()->currentWidget()->objectName(), QStringLiteral("InSetting"));
        QCOMPARE(centre.getStackWidget()->currentWidget()->property("Type").toString(), QStringLiteral("MainPage"));
        QCOMPARE(bar->button(0)->property("Type").toString(), QStringLiteral("TopPushBtn"));
    }

    void duplicateNameShowsExistingPage()
    {
        RecordingCentre centre;
        addPages(centre, 3);
        auto *extra = new QLabel;
        QVERIFY(!centre.addWidget(QStringLiteral("again"), QStringLiteral("InSetting"), extra));
        QCOMPARE(centre.getStackWidget()->count(), 3);
        QCOMPARE(centre.getNavgationBar()->buttonCount(), 3);
        QCOMPARE(centre.getStackWidget()->currentWidget()->objectName(), QStringLiteral("InSetting"));
        QVERIFY(centre.getNavgationBar()->button(1)->isChecked());
        delete extra;
    }

    void disabledAndImageButtons()
    {
        FNavgationBar bar;
        QVERIFY(bar.addButton(QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("switch"), true));
        QVERIFY(!bar.button(0)->isEnabled());
        const QString sheet = bar.button(0)->styleSheet();
        QVERIFY(sheet.contains(QStringLiteral("skin/images/Navgation/switch_NavgationBar4.png")));
        QVERIFY(!sheet.contains(QStringLiteral("%1")));
        QVERIFY(bar.addButton(QStringLiteral("b"), QStringLiteral("b"), QString(), false));
        QVERIFY(bar.button(1)->styleSheet().isEmpty());
        QSignalSpy changed(&bar, &FNavgationBar::navgationChanged);
        bar.clickButton(0);
        QCOMPARE(changed.count(), 0);
    }

    void switchScreenDirections()
    {
        RecordingCentre centre;
        addPages(centre, 4);
        centre.switchScreen(QStringLiteral("nothing"));
        centre.switchScreen(QStringLiteral("Switch"));   // already current
        QVERIFY(centre.directions.isEmpty());
        centre.switchScreen(QStringLiteral("EdidConfig"));
        QCOMPARE(centre.directions, QList<int>{animationLeft});
        QCOMPARE(centre.getPreIndex(), 0);
        centre.switchScreen(QStringLiteral("InSetting"));
        QCOMPARE(centre.directions, (QList<int>{animationLeft, animationRight}));
        QCOMPARE(centre.getPreIndex(), 3);
    }

    void visibleWidthFollowsBarWidth_data()
    {
        QTest::addColumn<int>("barWidth");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("stripWidth");
        QTest::addColumn<bool>("rightArrow");
        QTest::newRow("3 in 450") << 450 << 3 << 300 << 300 << false;
        QTest::newRow("6 in 450") << 450 << 6 << 300 << 600 << true;
        QTest::newRow("4 in 499") << 499 << 4 << 300 << 400 << true;
        QTest::newRow("4 in 500") << 500 << 4 << 400 << 400 << false;
    }
    void visibleWidthFollowsBarWidth()
    {
        QFETCH(int, barWidth);
        QFETCH(int, buttons);
        QFETCH(int, visible);
        QFETCH(int, stripWidth);
        QFETCH(bool, rightArrow);
        QWidget host;
        auto *bar = new FNavgationBar(&host);
        addButtons(*bar, buttons);
        bar->applyVariant(0);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        bar->resize(barWidth, 48);
        QCOMPARE(bar->getVisibleWidth(), visible);
        QCOMPARE(bar->getScrollWidget()->width(), stripWidth);
        QCOMPARE(bar->getScrollArea()->horizontalScrollBar()->value(), 0);
        QVERIFY(bar->getScrollLeft()->isHidden());
        QCOMPARE(!bar->getScrollRight()->isHidden(), rightArrow);
    }

    void narrowBarKeepsDefaultStrip()
    {
        QWidget host;
        host.resize(150, 48);
        FNavgationBar bar(&host);
        QVERIFY(bar.width() < 200);
        QCOMPARE(bar.getVisibleWidth(), 200);
    }

    void scrollingMovesByOneSlot()
    {
        QWidget host;
        host.resize(450, 48);
        auto *bar = new FNavgationBar(&host);
        addButtons(*bar, 6);
        bar->applyVariant(0);
        bar->resize(450, 48);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QScrollBar *sb = bar->getScrollArea()->horizontalScrollBar();

        bar->ScrollLeft();
        QCOMPARE(sb->value(), 0);
        QVERIFY(bar->getScrollLeft()->isHidden());

        bar->getScrollRight()->click();
        QCOMPARE(sb->value(), 100);
        QVERIFY(bar->getScrollLeft()->isVisible());
        QVERIFY(bar->getScrollRight()->isVisible());
        WidgetShots::save(bar, QStringLiteral("navigation_scrolled"));

        bar->ScrollRight();
        bar->ScrollRight();
        QCOMPARE(sb->value(), 300);
        QVERIFY(bar->getScrollRight()->isHidden());

        bar->getScrollLeft()->click();
        QCOMPARE(sb->value(), 200);
        QVERIFY(bar->getScrollRight()->isVisible());
    }

    void placements_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("align");   // where the buttons gather along the bar
        QTest::newRow("0") << 0 << "FNavgationBar_bottom" << int(QBoxLayout::TopToBottom) << "scroll";
        QTest::newRow("1") << 1 << "FNavgationBar_bottom" << int(QBoxLayout::TopToBottom) << "centre";
        QTest::newRow("2") << 2 << "FNavgationBar_bottom" << int(QBoxLayout::TopToBottom) << "end";
        QTest::newRow("3") << 3 << "FNavgationBar_left" << int(QBoxLayout::RightToLeft) << "start";
        QTest::newRow("4") << 4 << "FNavgationBar_left" << int(QBoxLayout::RightToLeft) << "centre";
        QTest::newRow("5") << 5 << "FNavgationBar_left" << int(QBoxLayout::RightToLeft) << "end";
        QTest::newRow("6") << 6 << "FNavgationBar_top" << int(QBoxLayout::BottomToTop) << "end";
        QTest::newRow("7") << 7 << "FNavgationBar_top" << int(QBoxLayout::BottomToTop) << "centre";
        QTest::newRow("8") << 8 << "FNavgationBar_top" << int(QBoxLayout::BottomToTop) << "after263";
        QTest::newRow("9") << 9 << "FNavgationBar_right" << int(QBoxLayout::LeftToRight) << "end";
        QTest::newRow("10") << 10 << "FNavgationBar_right" << int(QBoxLayout::LeftToRight) << "centre";
        QTest::newRow("11") << 11 << "FNavgationBar_right" << int(QBoxLayout::LeftToRight) << "start";
    }
    void placements()
    {
        QFETCH(int, variant);
        QFETCH(QString, name);
        QFETCH(int, direction);
        QFETCH(QString, align);
        RecordingCentre centre;
        addPages(centre, 3);
        centre.resize(1000, 600);
        centre.setNavgationBarLayout(variant);
        centre.show();
        QVERIFY(QTest::qWaitForWindowExposed(&centre));
        FNavgationBar *bar = centre.getNavgationBar();
        QCOMPARE(bar->objectName(), name);
        QCOMPARE(int(centre.getInnerLayout()->direction()), direction);
        // The bar is resized later too: the buttons must stay on it in every placement.
        centre.resize(900, 600);
        QCoreApplication::processEvents();
        bar->layout()->activate();

        const bool vertical = variant >= 3 && variant <= 5 ? true : (variant >= 9);
        auto along = [&](QWidget *w) {
            const QRect r(w->mapTo(bar, QPoint(0, 0)), w->size());
            return vertical ? qMakePair(r.top(), r.bottom()) : qMakePair(r.left(), r.right());
        };
        const int length = vertical ? bar->height() : bar->width();
        const int first = along(bar->button(0)).first;
        const int last = along(bar->button(2)).second;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(bar->button(i)->isVisibleTo(&centre));
            QVERIFY(bar->isAncestorOf(bar->button(i)));
        }
        if (align == QLatin1String("scroll"))
            QCOMPARE(first, 40);
        else if (align == QLatin1String("start"))
            QCOMPARE(first, 0);
        else if (align == QLatin1String("end"))
            QCOMPARE(last, length - 1);
        else if (align == QLatin1String("after263"))
            QCOMPARE(first, 263);
        else
            QVERIFY(qAbs(first - (length - 1 - last)) <= 1);
        if (variant == 0 || variant == 8)
            WidgetShots::save(&centre, QStringLiteral("centre_variant%1").arg(variant));
    }

    void unknownPlacementChangesNothing()
    {
        RecordingCentre centre;
        addPages(centre, 2);
        centre.setNavgationBarLayout(0);
        centre.setNavgationBarLayout(12);
        centre.setNavgationBarLayout(-1);
        QCOMPARE(centre.getNavgationBar()->objectName(), QStringLiteral("FNavgationBar_bottom"));
        QCOMPARE(centre.getNavgationBar()->variant(), 0);
    }

    void applicationLook()
    {
        FMainWindow main;
        auto *centre = new RecordingCentre;
        main.setCentralWidget(centre);
        addPages(*centre, 7);
        centre->setNavgationBarLayout(0);
        main.resize(800, 500);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        centre->getNavgationBar()->clickButton(3);
        WidgetShots::save(&main, QStringLiteral("mainwindow_seven_pages"));
        QCOMPARE(centre->getStackWidget()->currentIndex(), 3);
    }
};

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
