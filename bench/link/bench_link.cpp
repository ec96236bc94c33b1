// Latency of the matrix link on loopback against the simulated matrix:
//  - arrival: time from sendData() to the command's arrival at the device, for commands sent
//    without waiting (the ping that precedes every TCP command included);
//  - round trip: a waited command's whole sendData() minus the fixed 200 ms settle delay;
//  - ping: the system ping alone, the floor that every TCP command pays.
// Prints median and 95th percentile of each, in milliseconds.
#include "BenchFigures.h"
#include "core/CCHelper.h"
#include "DeviceSimProcess.h"
#include "core/GlobalState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kArrivals = 200;
constexpr int kRoundTrips = 30;
constexpr int kPings = 50;
constexpr double kSettleMs = 200.0;

using namespace BenchFigures;

void print(const char* what, int n, const Stats& s)
{
    BenchFigures::print(what, n, s, 34);
}

int fail(const QString& why)
{
    return BenchFigures::fail("bench_link", why);
}

} // namespace

int main(int argc, char* argv[])
{
    BenchFigures::prepareEnvironment(VEXILO_DEFAULT_BIN_DIR);
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    g_deviceModel = 16;

    DeviceSimProcess sim;
    if (!sim.start({QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}))
        return fail(sim.errorString());
    CCHelper* link = CCHelper::instance();
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    if (!link->isConnected())
        return fail(QStringLiteral("link did not connect"));

    // Ping alone.
    QVector<double> pings;
    if (!pingTimes(sim.address(), kPings, &pings))
        return fail(QStringLiteral("ping of %1 failed").arg(sim.address()));

    // Commands sent without waiting: arrival at the device.
    sim.controlOk(QStringLiteral("received clear"));
    QVector<qint64> sentAt;
    QString reply;
    QByteArray bytes;
    for (int i = 0; i < kArrivals; ++i) {
        const QString cmd = QStringLiteral("/Switch:%1:%2;").arg(i % 16 + 1).arg((i * 7) % 16 + 1);
        sentAt << DeviceSimProcess::monotonicMicros();
        if (!link->sendData(cmd, false, reply, bytes, false))
            return fail(QStringLiteral("command %1 refused").arg(i));
        QCoreApplication::processEvents(); // read the device's answer lines
    }
    // The device may still be reading on a busy machine: wait for every arrival, 10 s at most.
    QElapsedTimer settle;
    settle.start();
    while (sim.receivedCount() < kArrivals && settle.elapsed() < 10000)
        delayMs(20);
    const QList<QByteArray> times = sim.controlOk(QStringLiteral("received times")).split(' ');
    if (times.size() != kArrivals)
        return fail(QStringLiteral("device logged %1 arrivals for %2 commands").arg(times.size()).arg(kArrivals));
    const QVector<double> arrivals = arrivalMs(times, sentAt);

    // Waited commands: round trip beyond the settle delay.
    QVector<double> roundTrips;
    for (int i = 0; i < kRoundTrips; ++i) {
        QElapsedTimer t;
        t.start();
        if (!link->sendData(QStringLiteral("/FrontPanelVer;"), true, reply, bytes, false))
            return fail(QStringLiteral("waited command failed: %1").arg(reply));
        roundTrips << t.nsecsElapsed() / 1e6 - kSettleMs;
    }

    const Stats ping = statsOf(pings);
    const Stats arrival = statsOf(arrivals);
    const Stats roundTrip = statsOf(roundTrips);
    print("ping alone", kPings, ping);
    print("arrival, not waited (ping incl.)", kArrivals, arrival);
    print("round trip - 200 ms settle", kRoundTrips, roundTrip);
    std::printf("arrival / ping (median ratio): %.2f\n", arrival.median / qMax(0.001, ping.median));
    std::printf("goal: median arrival and round trip beyond the settle under 10 ms: %s\n",
                arrival.median < 10.0 && roundTrip.median < 10.0 ? "met" : "NOT met");
    delete link;
    return 0;
}
