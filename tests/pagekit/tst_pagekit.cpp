// The page registry the main window is built from, and the busy-overlay guard the pages use.

#include "pagekit/PageRegistry.h"
#include "pagekit/WaitMaskGuard.h"

#include <QtTest>

namespace {

// A page as the registry expects one: a singleton with initConfig(bool).
template <int N>
class FakePage : public QWidget
{
public:
    static FakePage* instance()
    {
        static FakePage page;
        return &page;
    }
    void initConfig(bool update) { calls << update; }
    QList<bool> calls;
};

class FakeOverlay : public BusyOverlay
{
public:
    void slotShowWait() override { events << QStringLiteral("show"); }
    void slotHideWait() override { events << QStringLiteral("hide"); }
    QStringList events;
};

QStringList keys(const QList<PageEntry>& pages)
{
    QStringList list;
    for (const PageEntry& page : pages)
        list << page.key;
    return list;
}

} // namespace

class TestPageKit : public QObject
{
    Q_OBJECT
private slots:
    void registryOrders_data();
    void registryOrders();
    void registryCallsThePage();
    void startupStepsByGroup();
    void guardShowsOverlayForItsScope();
};

void TestPageKit::registryOrders_data()
{
    QTest::addColumn<bool>("administrator");
    QTest::addColumn<QStringList>("navigation");
    QTest::addColumn<QStringList>("startup");
    QTest::newRow("administrator") << true << QStringList{"A", "B", "C", "D"} << QStringList{"A", "C", "D", "B"};
    QTest::newRow("other users") << false << QStringList{"D"} << QStringList{"D"};
}

void TestPageKit::registryOrders()
{
    QFETCH(bool, administrator);
    QFETCH(QStringList, navigation);
    QFETCH(QStringList, startup);
    PageRegistry registry;
    registry.add<FakePage<1>>(QStringLiteral("A"), "a", true, 1);
    registry.add<FakePage<4>>(QStringLiteral("B"), "b", true, 9);
    registry.add<FakePage<5>>(QStringLiteral("C"), "c", true, 2);
    registry.add<FakePage<2>>(QStringLiteral("D"), "d", false, 2);   // same rank: navigation order
    QCOMPARE(keys(registry.pagesFor(administrator)), navigation);
    QCOMPARE(keys(registry.startupOrder(administrator)), startup);
    QVERIFY(registry.find(QStringLiteral("B")));
    QVERIFY(!registry.find(QStringLiteral("SysConfig")));
}

void TestPageKit::registryCallsThePage()
{
    PageRegistry registry;
    registry.add<FakePage<3>>(QStringLiteral("Switch"), "信号切换", true, 1);
    const PageEntry* entry = registry.find(QStringLiteral("Switch"));
    QVERIFY(entry);
    QCOMPARE(entry->instance(), static_cast<QWidget*>(FakePage<3>::instance()));
    entry->initConfig(false);
    entry->initConfig(true);
    QCOMPARE(FakePage<3>::instance()->calls, (QList<bool>{false, true}));
    // No catalogue loaded: the source text is the title.
    QCOMPARE(entry->translatedTitle(), QStringLiteral("信号切换"));
}

void TestPageKit::startupStepsByGroup()
{
    PageRegistry registry;
    QStringList ran;
    registry.addStartupStep([&ran] { ran << QStringLiteral("previews"); }, true);
    registry.addStartupStep([&ran] { ran << QStringLiteral("everyone"); }, false);
    registry.runStartupSteps(false);
    QCOMPARE(ran, QStringList{QStringLiteral("everyone")});
    ran.clear();
    registry.runStartupSteps(true);
    QCOMPARE(ran, (QStringList{QStringLiteral("previews"), QStringLiteral("everyone")}));
}

void TestPageKit::guardShowsOverlayForItsScope()
{
    { WaitMaskGuard nothingPlugged(true); }   // no overlay yet: nothing to call

    FakeOverlay overlay;
    WaitMaskGuard::setOverlay(&overlay);
    {
        WaitMaskGuard outer(true);
        { WaitMaskGuard hidden(false); }
        QCOMPARE(overlay.events, QStringList{QStringLiteral("show")});
    }
    QCOMPARE(overlay.events, (QStringList{QStringLiteral("show"), QStringLiteral("hide")}));

    // Guards nest: an inner one ending leaves the overlay over the outer operation.
    overlay.events.clear();
    {
        WaitMaskGuard outer(true);
        { WaitMaskGuard inner(true); }
        QCOMPARE(overlay.events, QStringList{QStringLiteral("show")});
    }
    QCOMPARE(overlay.events, (QStringList{QStringLiteral("show"), QStringLiteral("hide")}));

    // Unplugged while a guard is alive (the main window went away): its end calls nothing.
    overlay.events.clear();
    {
        WaitMaskGuard guard(true);
        WaitMaskGuard::setOverlay(nullptr);
    }
    QCOMPARE(overlay.events, QStringList{QStringLiteral("show")});
}

QTEST_MAIN(TestPageKit)
#include "tst_pagekit.moc"
