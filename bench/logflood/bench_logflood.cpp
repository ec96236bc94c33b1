// How much a device that floods the console adds to its log files, which are never deleted.
// Each scenario runs for N seconds (--seconds N, default 60: the first burst of a flood is logged
// whole, so shorter runs overstate the rate of a minute) with the console's own message
// handler and log writer, writing into a temporary folder:
//  - matrix, 900 KB lines: devicesim sends lines of 900 000 bytes, one after the other;
//  - matrix, short lines: devicesim sends bursts of 2000 six-byte lines, one after the other;
//  - matrix, arrow lines: valid switch reports ("AV: 3->5"), 1000 a second, through the reply parser;
//  - matrix, route lists: 16-output route lists ("1V1,...,16."), as fast as they are read;
//  - matrix, out-of-model: arrow lines naming port 999, as fast as they are read;
//  - IP card, babbling: the card answers every heartbeat with replies to other requests, 100 a
//    second, and the link sends the next heartbeat as soon as one has ended.
// Printed per scenario: what the device sent and what the log files grew by, in MB (10^6 bytes)
// a minute, the log's share of the traffic, and whether the log stays under 1 MB a minute.
#include "BenchFigures.h"
#include "DeviceSimProcess.h"
#include "IpCardFarmThread.h"

#include "app/AppStartup.h"
#include "core/CCHelper.h"
#include "core/GlobalState.h"
#include "core/PortRecords.h"
#include "core/ReplyParser.h"
#include "framework/StMsgLogger.h"
#include "ipcard/link/DeviceToHisilicon.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr double kGoalMbPerMinute = 1.0;

class FolderLogger : public STMsgLogger::st_logger
{
public:
    explicit FolderLogger(const QString& folder)
        : folder(folder)
    {
        setLogLevel(3);   // as the start-up sets it: everything is written
    }

protected:
    QString applicationDirectory() const override { return folder; }

private:
    QString folder;
};

FolderLogger* s_logger = nullptr;

void toLogFiles(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    s_logger->writeLog(type, context, AppStartup::formatLogLine(type, context, text, QDateTime::currentDateTime()));
}

qint64 folderBytes(const QString& folder)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

struct Row
{
    const char* what;
    double seconds;
    qint64 sent;     // -1: not known
    qint64 logged;
};

void print(const Row& row)
{
    const double perMinute = 60.0 / row.seconds / 1e6;
    const double logRate = row.logged * perMinute;
    if (row.sent >= 0)
        std::printf("%-26s %5.1f s   device %9.2f MB/min   log %7.3f MB/min   log/device %.5f   goal < %.0f MB/min: %s\n",
                    row.what, row.seconds, row.sent * perMinute, logRate, double(row.logged) / row.sent,
                    kGoalMbPerMinute, logRate < kGoalMbPerMinute ? "met" : "NOT met");
    else
        std::printf("%-26s %5.1f s   device %9s MB/min   log %7.3f MB/min   %-18s goal < %.0f MB/min: %s\n", row.what,
                    row.seconds, "?", logRate, "", kGoalMbPerMinute, logRate < kGoalMbPerMinute ? "met" : "NOT met");
}

// Waits, running events, until the link has delivered count more lines; false after 10 s.
bool awaitLines(int* received, int count)
{
    QElapsedTimer wait;
    wait.start();
    const int target = *received + count;
    while (*received < target && wait.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return *received >= target;
}

// Repeats one flood of the matrix for the given time; each round must arrive whole. With roundMs,
// a round starts only every roundMs ms; otherwise as soon as the last one arrived.
bool floodMatrix(DeviceSimProcess& sim, const QStringList& requests, qint64 bytesPerRound, int linesPerRound,
                 int seconds, const QString& folder, const char* what, Row* row, int roundMs = 0)
{
    int received = 0;
    const QMetaObject::Connection counting =
        QObject::connect(CCHelper::instance(), &CCHelper::clientReceived, [&received] { ++received; });
    const qint64 before = folderBytes(folder);
    QElapsedTimer clock;
    clock.start();
    qint64 sent = 0;
    bool ok = true;
    while (ok && clock.elapsed() < seconds * 1000) {
        for (const QString& request : requests)
            ok = ok && sim.controlOk(request).isEmpty() && sim.lastAnswer() == "OK";
        ok = ok && awaitLines(&received, linesPerRound);
        sent += bytesPerRound;
        while (roundMs > 0 && clock.elapsed() < sent / bytesPerRound * roundMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    QObject::disconnect(counting);
    *row = {what, clock.elapsed() / 1000.0, sent, folderBytes(folder) - before};
    return ok;
}

int fail(const QString& why)
{
    return BenchFigures::fail("bench_logflood", why);
}

} // namespace

int main(int argc, char* argv[])
{
    BenchFigures::prepareEnvironment(VEXILO_DEFAULT_BIN_DIR);
    QCoreApplication app(argc, argv);
    int seconds = 60;
    const QStringList args = app.arguments();
    const int at = args.indexOf(QStringLiteral("--seconds"));
    if (at > 0 && at + 1 < args.size())
        seconds = qMax(1, args.at(at + 1).toInt());
    g_deviceModel = 16;

    QTemporaryDir folder;
    if (!folder.isValid())
        return fail(QStringLiteral("no temporary folder"));
    FolderLogger logger(folder.path());
    s_logger = &logger;

    DeviceSimProcess sim;
    if (!sim.start({QStringLiteral("--no-ipcards"), QStringLiteral("--no-streams")}))
        return fail(sim.errorString());
    IpCardFarmThread card(QHostAddress(QStringLiteral("127.0.78.3")));
    if (!card.isStarted())
        return fail(card.errorText());
    CCHelper* link = CCHelper::instance();
    link->connectToDevice(0, sim.address(), sim.port(), QString());
    if (!link->isConnected())
        return fail(QStringLiteral("link did not connect"));

    const QtMessageHandler previous = qInstallMessageHandler(toLogFiles);
    QList<Row> rows;
    Row row{};
    if (!floodMatrix(sim, {QStringLiteral("flood 900000"), QStringLiteral("send \\r\\n")}, 900002, 1, seconds,
                     folder.path(), "matrix, 900 KB lines", &row))
        return fail(QStringLiteral("the matrix's long lines did not arrive"));
    rows << row;
    if (!floodMatrix(sim, {QStringLiteral("send ") + QStringLiteral("noise\\r\\n").repeated(2000)}, 2000 * 7, 2000,
                     seconds, folder.path(), "matrix, short lines", &row))
        return fail(QStringLiteral("the matrix's short lines did not arrive"));
    rows << row;

    // The console's parser reads every line from here on, as the main window's model does.
    PortRecords records;
    ReplyParser parser(&records);
    QObject::connect(link, &CCHelper::clientReceived, &parser, &ReplyParser::clientReceived);
    struct LineFlood
    {
        const char* what;
        QString line;
        int perRound;
        int roundMs;
    };
    QStringList outputs;
    for (int output = 1; output <= 16; ++output)
        outputs << QString::number(output);
    const LineFlood lineFloods[] = {
        {"matrix, arrow lines", QStringLiteral("AV: 3->5"), 100, 100},
        {"matrix, route lists", QStringLiteral("1V%1.").arg(outputs.join(QLatin1Char(','))), 1000, 0},
        {"matrix, out-of-model", QStringLiteral("AV: 999->999"), 2000, 0},
    };
    for (const LineFlood& flood : lineFloods) {
        const QString line = flood.line + QStringLiteral("\\r\\n");
        if (!floodMatrix(sim, {QStringLiteral("send ") + line.repeated(flood.perRound)},
                         qint64(flood.line.size() + 2) * flood.perRound, flood.perRound, seconds, folder.path(),
                         flood.what, &row, flood.roundMs))
            return fail(QStringLiteral("%1 did not arrive").arg(QLatin1String(flood.what)));
        rows << row;
    }

    DeviceToHisilicon cardLink;
    if (!cardLink.connectToDevice(card.host(), card.port()))
        return fail(QStringLiteral("no connection to the IP card"));
    // Each heartbeat starts a babble that outlasts the exchange's wait.
    if (!card.fault(QStringLiteral("babble %1 on 253/0 times always").arg(DeviceToHisilicon::HeartbeatReplyWaitMs + DeviceToHisilicon::ReadPassesWaitMs)))
        return fail(QStringLiteral("the card refused the babble fault"));
    const qint64 before = folderBytes(folder.path());
    QElapsedTimer clock;
    clock.start();
    int exchanges = 0;
    while (clock.elapsed() < seconds * 1000) {
        _KIV_MSG_HEAD_T heartbeat;
        heartbeat.msgClass = KivMsgClass::Heartbeat;
        cardLink.sendData(heartbeat, QByteArray(), nullptr, nullptr);
        ++exchanges;
    }
    rows << Row{"IP card, babbling", clock.elapsed() / 1000.0, -1, folderBytes(folder.path()) - before};
    qInstallMessageHandler(previous);

    for (const Row& r : qAsConst(rows))
        print(r);
    std::printf("(IP card: %d heartbeats, each answered only by replies to other requests)\n", exchanges);
    return 0;
}
