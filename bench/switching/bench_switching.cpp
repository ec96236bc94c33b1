// The switching page with a 160x160 matrix whose every output is routed:
//  - burst: the full IO-status answer (one route line per output) parsed by the reply parser,
//    each line refreshing the page, then the page painted; in process, and over the link from
//    sending "IOStatus" to the last route in the map. Compared with the model x 40 ms that the
//    console waits for the answer.
//  - drop to wire: from a drop on a tile to the "SwitchIO" command's arrival at the simulated
//    matrix (CLOCK_MONOTONIC on both sides), against the system ping that every TCP command pays
//    first.
#include "BenchFigures.h"
#include "pages/switching/MCenterMainWindow.h"
#include "pagekit/PortDrag.h"
#include "pages/switching/ScreenWidget.h"
#include "SwitchingTestEnv.h"
#include "core/MatrixCommands.h"
#include "framework/Utilities.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMimeData>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kPorts = 160;
constexpr int kBurstRuns = 30;
constexpr int kWireBursts = 5;
constexpr int kDrops = 100;
constexpr int kPings = 50;

using namespace BenchFigures;

void print(const char* what, int n, const Stats& s)
{
    BenchFigures::print(what, n, s, 40);
}

int fail(const QString& why)
{
    return BenchFigures::fail("bench_switching", why);
}

void quietHandler(QtMsgType, const QMessageLogContext&, const QString&) {}

// The matrix's answer to "IOStatus", asked by a client of its own.
QStringList statusBurst(SwitchingTestEnv& env)
{
    QTcpSocket client;
    client.connectToHost(env.sim.address(), env.sim.port());
    if (!client.waitForConnected(3000))
        return {};
    client.write("/IOStatus;");
    QByteArray text;
    while (client.waitForReadyRead(300))
        text += client.readAll();
    QStringList lines;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.trimmed().isEmpty())
            lines << QString::fromLatin1(line);
    }
    return lines;
}

void forgetRoutes(MatrixModel* model)
{
    for (int output = 0; output < kPorts; ++output)
        model->setRoute(output, -1);
}

bool everyOutputRouted(const MatrixModel* model)
{
    for (int output = 0; output < kPorts; ++output) {
        if (model->getRoute(output) != output)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    BenchFigures::prepareEnvironment(VEXILO_DEFAULT_BIN_DIR);
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    SwitchingTestEnv env;
    const QString letters(kPorts / 4, QLatin1Char('a'));
    MatrixModel* model = env.useModel(kPorts, letters, letters);
    QString error;
    if (!env.startMatrix(&error))
        return fail(error);

    MCenterMainWindow page;
    page.resize(1366, 768);
    page.initConfig(false);
    page.show();
    QCoreApplication::processEvents();

    // devicesim passes every input through: one "iVi." line per output.
    const QStringList burst = statusBurst(env);
    if (burst.size() != kPorts)
        return fail(QStringLiteral("expected %1 status lines, got %2").arg(kPorts).arg(burst.size()));

    // The parser logs every route; the log is not what is measured.
    const QtMessageHandler previous = qInstallMessageHandler(quietHandler);
    QVector<double> parseMs;
    for (int run = 0; run < kBurstRuns; ++run) {
        forgetRoutes(model);
        QElapsedTimer t;
        t.start();
        for (const QString& line : burst)
            model->clientReceived(line);
        page.repaint();
        parseMs << t.nsecsElapsed() / 1e6;
        if (!everyOutputRouted(model))
            return fail(QStringLiteral("the burst did not route every output"));
    }

    QVector<double> wireMs;
    for (int run = 0; run < kWireBursts; ++run) {
        forgetRoutes(model);
        QElapsedTimer t;
        t.start();
        MatrixCommands().sendSystem(QStringLiteral("IOStatus"), {}, false);
        while (!everyOutputRouted(model) && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        page.repaint();
        wireMs << t.nsecsElapsed() / 1e6;
    }

    QVector<double> pingMs;
    if (!pingTimes(env.sim.address(), kPings, &pingMs))
        return fail(QStringLiteral("ping of %1 failed").arg(env.sim.address()));

    env.clearReceived();
    QVector<qint64> droppedAt;
    const QList<ScreenWidget*> tiles = page.screenTiles();
    for (int i = 0; i < kDrops; ++i) {
        ScreenWidget* tile = tiles.at(i % tiles.size());
        const int input = (i * 7) % kPorts;
        QScopedPointer<QMimeData> data(PortDrag::mimeFor(input));
        QDropEvent drop(tile->rect().center(), Qt::LinkAction, data.data(), Qt::LeftButton, Qt::NoModifier);
        // The toolkit hands a drop only to the widget that accepted the drag's entry.
        QDragEnterEvent enter(tile->rect().center(), Qt::LinkAction, data.data(), Qt::LeftButton, Qt::NoModifier);
        droppedAt << DeviceSimProcess::monotonicMicros();
        QApplication::sendEvent(tile, &enter);
        QApplication::sendEvent(tile, &drop);
        const QString expected = QStringLiteral("/Switch:%1:%2;").arg(input + 1).arg(tile->getPortIndex() + 1);
        if (!env.waitForCommand(expected))
            return fail(QStringLiteral("%1 did not arrive; received: %2").arg(expected, env.received().join(QLatin1Char(' ')).left(300)));
        QCoreApplication::processEvents();
    }
    const QList<QByteArray> times = env.sim.controlOk(QStringLiteral("received times")).split(' ');
    qInstallMessageHandler(previous);
    if (times.size() != kDrops)
        return fail(QStringLiteral("devicesim counted %1 commands for %2 drops").arg(times.size()).arg(kDrops));
    const QVector<double> dropMs = arrivalMs(times, droppedAt);

    const double windowMs = kPorts * 40.0;
    const Stats parse = statsOf(parseMs);
    const Stats wire = statsOf(wireMs);
    const Stats pings = statsOf(pingMs);
    const Stats drops = statsOf(dropMs);
    std::printf("switching page, %dx%d matrix, every output routed (%d status lines)\n", kPorts, kPorts, kPorts);
    print("burst parsed + page painted (in process)", kBurstRuns, parse);
    print("IOStatus sent to last route (link)", kWireBursts, wire);
    std::printf("status window (model x 40 ms): %.0f ms; burst / window: %.2f %% in process, %.2f %% over the link "
                "(goal < 10 %%: %s)\n",
                windowMs, 100 * parse.median / windowMs, 100 * wire.median / windowMs,
                wire.median < 0.1 * windowMs && parse.median < 0.1 * windowMs ? "met" : "NOT met");
    print("ping alone", kPings, pings);
    print("drop to wire (ping incl.)", kDrops, drops);
    const double beyond = drops.median - pings.median;
    std::printf("drop to wire beyond the ping (medians): %.3f ms (goal < 10 ms: %s)\n", beyond,
                beyond < 10.0 ? "met" : "NOT met");
    return 0;
}
