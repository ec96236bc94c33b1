// The port-switch, port-rights and system pages with the skin applied and a 160x160 model:
//  - construction: constructor plus initConfig(false), as the start-up sequence builds each page
//    once; and the first show with its paint (style polish and layout of the 320 port buttons).
//    The sum is what each page adds to login-to-ready. Goal: construction < 100 ms per page.
//  - a 160-output switch from the port-switch page over the link to the simulated matrix, with
//    the real 2000 ms pause after each of its five commands: the whole click minus 5 x 2000 ms is
//    the console's own time (goal < 50 ms), beside the system ping that each command pays first.
#include "AccountTestSupport.h"
#include "BenchFigures.h"
#include "SwitchingTestEnv.h"
#include "pagekit/PortGrid.h"
#include "pages/portswitch/MatrixSwitchPage.h"
#include "pages/portswitch/PortSwitcher.h"
#include "pages/switching/MCenterMainWindow.h"
#include "pages/system/CSysConfigWidget.h"
#include "pages/users/UserManagePage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLoggingCategory>
#include <QPushButton>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kPorts = 160;
constexpr int kRuns = 20;
constexpr int kPings = 20;

using namespace BenchFigures;

void print(const char* what, int n, const Stats& s)
{
    BenchFigures::print(what, n, s, 44);
}

int fail(const QString& why)
{
    return BenchFigures::fail("bench_pages", why);
}

struct PageTimes
{
    QVector<double> build;
    QVector<double> shown;
};

// Builds, initialises, shows and paints a fresh page kRuns times.
PageTimes measure(const std::function<QWidget*()>& build)
{
    PageTimes times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        std::unique_ptr<QWidget> page(build());
        times.build << t.nsecsElapsed() / 1e6;
        t.restart();
        page->resize(1366, 768);
        page->show();
        page->repaint();
        times.shown << t.nsecsElapsed() / 1e6;
    }
    return times;
}

void report(const char* name, const PageTimes& times, bool* met)
{
    const Stats build = statsOf(times.build);
    const Stats shown = statsOf(times.shown);
    std::printf("%s\n", name);
    print("  constructed + initConfig(false)", kRuns, build);
    print("  first show and paint", kRuns, shown);
    std::printf("  adds to login-to-ready (medians): %.1f ms; construction goal < 100 ms: %s\n",
                build.median + shown.median, build.median < 100 ? "met" : "NOT met");
    *met = *met && build.median < 100;
}

} // namespace

int main(int argc, char* argv[])
{
    BenchFigures::prepareEnvironment(VEXILO_DEFAULT_BIN_DIR);
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    SwitchingTestEnv env;
    const QString letters(kPorts / 4, QLatin1Char('a'));
    env.useModel(kPorts, letters, letters);
    QString error;
    if (!env.startMatrix(&error))
        return fail(error);
    const qint64 admin = AccountTest::addUser(QStringLiteral("bench-admin"), QStringLiteral("pw"), 0);
    for (int i = 0; i < 10; ++i)
        AccountTest::addUser(QStringLiteral("operator%1").arg(i), QStringLiteral("pw"), 1, {{3, false}}, {{5, false}});
    if (admin < 0)
        return fail(QStringLiteral("could not add the administrator"));
    AccountTest::becomeUser(admin);

    bool met = true;
    std::printf("pages with the skin, %dx%d model\n", kPorts, kPorts);
    report("port-switch page (320 port buttons)", measure([] {
               auto* page = new MatrixSwitchPage;
               page->initConfig(false);
               return page;
           }), &met);
    report("port-rights page (320 port buttons, 10 users)", measure([] {
               auto* page = new UserManagePage;
               page->initConfig(false);
               return page;
           }), &met);
    report("system page", measure([] {
               auto* page = new CSysConfigWidget;
               page->initConfig(false);
               return page;
           }), &met);

    // The administrator's console: the switching page repaints at every route the switch sets.
    MCenterMainWindow switching;
    switching.initConfig(false);
    switching.show();
    MatrixSwitchPage page;
    page.initConfig(false);
    page.resize(1366, 768);
    page.show();
    QCoreApplication::processEvents();
    PortSwitcher::setPauseMs(PortSwitcher::DefaultPauseMs);
    page.findChild<PortGrid*>(QStringLiteral("widgetInput"))->group()->button(0)->click();
    page.findChild<QPushButton*>(QStringLiteral("pushButtonCheckedAll"))->click();
    env.clearReceived();
    QElapsedTimer t;
    t.start();
    page.findChild<QPushButton*>(QStringLiteral("pushButtonOk"))->click();
    const double switchMs = t.nsecsElapsed() / 1e6;
    QTest::qWait(300);
    const QStringList received = env.received();
    if (received.size() != 5)
        return fail(QStringLiteral("expected 5 switch commands, devicesim got %1").arg(received.size()));
    QVector<double> pingMs;
    if (!pingTimes(env.sim.address(), kPings, &pingMs))
        return fail(QStringLiteral("ping of %1 failed").arg(env.sim.address()));
    // The routing map's part: 160 routes set, the switching page repainting at each.
    QVector<double> routeMs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer r;
        r.start();
        for (int output = 0; output < kPorts; ++output)
            env.model->setRoute(output, run % kPorts);
        routeMs << r.nsecsElapsed() / 1e6;
    }
    const Stats pings = statsOf(pingMs);
    const double own = switchMs - 5 * PortSwitcher::DefaultPauseMs;
    const double beyondPings = own - 5 * pings.median;
    std::printf("160-output switch from the port-switch page: %.1f ms for 5 commands and 5 x %d ms pauses\n",
                switchMs, PortSwitcher::DefaultPauseMs);
    print("ping alone (the link pings before each command)", kPings, pings);
    print("160 routes set, switching page listening", kRuns, statsOf(routeMs));
    std::printf("console's own time (whole - pauses): %.1f ms; beyond the five pings (medians): %.1f ms "
                "(goal < 50 ms: %s with the pings, %s beyond them)\n",
                own, beyondPings, own < 50 ? "met" : "NOT met", beyondPings < 50 ? "met" : "NOT met");
    std::printf("construction goals: %s\n", met ? "met" : "NOT met");
    return 0;
}
