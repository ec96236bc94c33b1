// The input, output and EDID pages with a 160x160 matrix of every card kind, skin applied:
//  - load a port: from the list's selection signal (input and output pages) or the tile's
//    clicked() (EDID page, the tile's 300 ms click delay left out) until the panel is filled,
//    the template file read included; IP input ports left out. Goal: median < 5 ms (a frame is
//    16.7 ms).
//  - slider to wire: from a brightness slider's release to the command's arrival at the simulated
//    matrix (CLOCK_MONOTONIC on both sides), beside the system ping every TCP command pays first.
//    Goal: median beyond the ping < 10 ms.
#include "BenchFigures.h"
#include "CardPagesEnv.h"
#include "core/PublicClass.h"
#include "pages/cardsettings/MInputCardSetting.h"
#include "pages/cardsettings/MOutputCardSetting.h"
#include "pages/edid/MEDIDSettingWidget.h"
#include "pages/switching/ScreenWidget.h"

#include <QApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <functional>

namespace {

constexpr int kPorts = 160;
constexpr int kRounds = 3;
constexpr int kReleases = 100;
constexpr int kPings = 50;

using namespace BenchFigures;

void print(const char* what, int n, const Stats& s)
{
    BenchFigures::print(what, n, s, 40);
}

int fail(const QString& why)
{
    return BenchFigures::fail("bench_cardsettings", why);
}

void quietHandler(QtMsgType, const QMessageLogContext&, const QString&) {}

// ms per call of load(port) for every port that passes the filter, kRounds times.
QVector<double> timeLoads(const std::function<bool(int)>& take, const std::function<void(int)>& load)
{
    QVector<double> ms;
    for (int round = 0; round < kRounds; ++round) {
        for (int port = 0; port < kPorts; ++port) {
            if (!take(port))
                continue;
            QElapsedTimer t;
            t.start();
            load(port);
            ms << t.nsecsElapsed() / 1e6;
        }
    }
    return ms;
}

int typeOf(const MatrixModel* model, int port, const QString& side)
{
    return model->getCardInfo(port).value(side).toObject().value(CardKey::CardType).toInt();
}

} // namespace

int main(int argc, char* argv[])
{
    BenchFigures::prepareEnvironment(VEXILO_DEFAULT_BIN_DIR);
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    CardPagesEnv env;
    // Every kind of card, IP input and preview output cards among them.
    const QString in = QStringLiteral("abcdijklmz13fv0abcdijklmz13fv0abcdijklmz");
    const QString out = QStringLiteral("abcdijklmz13ev0abcdijklmz13ev0abcdijklmz");
    QString error;
    if (!env.start(kPorts, in, out, &error))
        return fail(error);
    MatrixModel* model = env.model;
    const QtMessageHandler previous = qInstallMessageHandler(quietHandler);

    MInputCardSetting* inputs = CardPagesEnv::freshPage<MInputCardSetting>();
    auto* inputList = inputs->findChild<MInputListWidget*>();
    const QVector<double> inputMs = timeLoads(
        [&](int port) { return typeOf(model, port, CardKey::InCard) != PublicClass::eCARD_TYPE_IP_I; },
        [&](int port) { emit inputList->signalSelectCardIndexChanged(port); });

    // The panel shows the last port loaded: the loads did fill it.
    if (inputs->findChild<QLineEdit*>(QStringLiteral("lineEdit"))->text()
        != portLabel(model->getCardInfo(kPorts - 1).value(CardKey::InCard).toObject(), kPorts - 1))
        return fail(QStringLiteral("the input panel does not show the last port loaded"));

    MOutputCardSetting* outputs = CardPagesEnv::freshPage<MOutputCardSetting>();
    auto* outputList = outputs->findChild<MInputListWidget*>();
    const QVector<double> outputMs = timeLoads([](int) { return true; },
                                               [&](int port) { emit outputList->signalSelectCardIndexChanged(port); });

    MEDIDSettingWidget* edid = CardPagesEnv::freshPage<MEDIDSettingWidget>();
    const QList<ScreenWidget*> tiles = edid->findChildren<ScreenWidget*>();
    const QVector<double> edidMs = timeLoads(
        [&](int port) {
            if (port % 16 == 0)
                edid->refreshPage(port / 16);
            return tiles.at(port % 16)->isEnabled();
        },
        [&](int port) { tiles.at(port % 16)->mouseClick(); });

    // Nothing of that may have reached the matrix.
    if (env.sim.receivedCount() != 0)
        return fail(QStringLiteral("loading ports sent commands: %1").arg(env.received().join(QLatin1Char(' ')).left(200)));

    QVector<double> pingMs;
    if (!pingTimes(env.sim.address(), kPings, &pingMs))
        return fail(QStringLiteral("ping of %1 failed").arg(env.sim.address()));

    delete edid;
    delete outputs;
    emit inputList->signalSelectCardIndexChanged(0);
    auto* brightness = inputs->findChild<QSlider*>(QStringLiteral("horizontalSlider_2"));
    QVector<qint64> releasedAt;
    for (int i = 0; i < kReleases; ++i) {
        const int value = i % 2 == 0 ? 10 + i % 80 : 90 - i % 80;
        releasedAt << DeviceSimProcess::monotonicMicros();
        CardPagesEnv::release(brightness, value);
        const QString expected = QStringLiteral("/InBright:1:%1;").arg(value, 2, 10, QLatin1Char('0'));
        if (!env.waitForCommand(expected))
            return fail(QStringLiteral("%1 did not arrive").arg(expected));
    }
    const QList<QByteArray> times = env.sim.controlOk(QStringLiteral("received times")).split(' ');
    qInstallMessageHandler(previous);
    if (times.size() != kReleases)
        return fail(QStringLiteral("devicesim counted %1 commands for %2 releases").arg(times.size()).arg(kReleases));
    const QVector<double> wireMs = arrivalMs(times, releasedAt);

    const Stats input = statsOf(inputMs);
    const Stats output = statsOf(outputMs);
    const Stats tile = statsOf(edidMs);
    const Stats pings = statsOf(pingMs);
    const Stats wire = statsOf(wireMs);
    std::printf("card settings and EDID pages, %dx%d matrix of every card kind, skin applied\n", kPorts, kPorts);
    print("input page: load a port", inputMs.size(), input);
    print("output page: load a port", outputMs.size(), output);
    print("EDID page: select an input tile", edidMs.size(), tile);
    const double worst = qMax(input.median, qMax(output.median, tile.median));
    std::printf("slowest median load: %.3f ms, %.1f %% of a 60 Hz frame (goal < 5 ms: %s)\n", worst,
                100 * worst / (1000.0 / 60), worst < 5.0 ? "met" : "NOT met");
    print("ping alone", kPings, pings);
    print("slider release to wire (ping incl.)", kReleases, wire);
    const double beyond = wire.median - pings.median;
    std::printf("slider to wire beyond the ping (medians): %.3f ms (goal < 10 ms: %s)\n", beyond,
                beyond < 10.0 ? "met" : "NOT met");
    delete inputs;
    return 0;
}
