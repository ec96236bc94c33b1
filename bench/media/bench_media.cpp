// Preview players on the simulated 720p streams, side by side with FFmpeg's command-line decoder
// in the same run: CPU time per decoded picture, time to the first picture, resident memory per
// player, and whether 16 players keep up (no backlog) over a longer run.
//
//   bench_media [--seconds N] [--players 1,4,16] [--no-peer]
//
// The streams are served by a child process (this program with --serve), so that encoding does
// not count against either decoder.
#include "media/AVPlayer.h"
#include "platform/LoopbackGuard.h"
#include "PreviewPlayerSettings.h"
#include "PreviewStreamFarm.h"
#include "media/WidgetRenderer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGridLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace {

const QStringList kCards{"127.0.0.71", "127.0.0.72", "127.0.0.73", "127.0.0.74"};

double processCpuSeconds()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

double pidCpuSeconds(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = f.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // Fields after the name: state is index 0, utime 11, stime 12.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

double rssMiB(qint64 pid)
{
    QFile f(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression re(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
    const auto m = re.match(QString::fromLatin1(f.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024.0 : 0;
}

// Bytes waiting in the receive queues of TCP connections to the stream port: a decoder that
// falls behind leaves data here.
qint64 receiveBacklog(quint16 port)
{
    QFile f(QStringLiteral("/proc/net/tcp"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    qint64 total = 0;
    const QString portHex = QStringLiteral("%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    f.readLine();
    while (!f.atEnd()) {
        const QStringList cols = QString::fromLatin1(f.readLine()).simplified().split(' ');
        if (cols.size() < 5 || !cols.at(2).endsWith(QLatin1Char(':') + portHex))
            continue;
        total += cols.at(4).section(':', 1, 1).toLongLong(nullptr, 16);
    }
    return total;
}

// Runs the event loop for a while without spinning (the process's CPU time is measured).
void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Result
{
    double cpuPerFrameMs = 0;
    double firstFrameMs = 0;   // slowest player's
    double rssPerPlayerMiB = 0;
    double fpsPerPlayer = 0;
    qint64 dropped = 0;
    qint64 backlogBytes = 0;
    int failed = 0;
};

Result runOurs(const QStringList& urls, int seconds, quint16 port)
{
    Result r;
    const double rssBefore = rssMiB(0);
    QWidget strip;
    auto* grid = new QGridLayout(&strip);
    std::vector<std::unique_ptr<Media::AVPlayer>> players;
    QList<Media::WidgetRenderer*> renderers;
    QVector<qint64> firstMs(urls.size(), -1);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < urls.size(); ++i) {
        auto* renderer = new Media::WidgetRenderer;
        renderer->setOutAspectRatioMode(0);
        renderer->setQuality(2);
        renderer->setFixedSize(200, 113);
        grid->addWidget(renderer, i / 8, i % 8);
        renderers << renderer;
        auto player = std::make_unique<Media::AVPlayer>();
        configureAsPreviewPlayer(*player);
        player->setFile(urls.at(i));
        player->addVideoRenderer(renderer);
        players.push_back(std::move(player));
    }
    strip.show();
    for (int i = 0; i < urls.size(); ++i)
        players[size_t(i)]->play();
    while (clock.elapsed() < 15000) {
        wait(2);
        bool all = true;
        for (int i = 0; i < urls.size(); ++i) {
            if (firstMs[i] < 0 && renderers.at(i)->framesReceived() > 0)
                firstMs[i] = clock.elapsed();
            all = all && firstMs[i] >= 0;
        }
        if (all)
            break;
    }
    for (qint64 ms : firstMs) {
        if (ms < 0)
            ++r.failed;
        r.firstFrameMs = qMax(r.firstFrameMs, double(ms));
    }
    wait(1000); // settle
    auto decodedNow = [&] {
        qint64 n = 0;
        for (const auto& p : players)
            n += p->statistics().decodedFrames;
        return n;
    };
    const double cpu0 = processCpuSeconds();
    const qint64 frames0 = decodedNow();
    qint64 dropped0 = 0;
    for (const auto& p : players)
        dropped0 += p->statistics().droppedFrames;
    wait(seconds * 1000);
    const double cpu1 = processCpuSeconds();
    const qint64 frames1 = decodedNow();
    qint64 dropped1 = 0;
    for (const auto& p : players)
        dropped1 += p->statistics().droppedFrames;
    r.backlogBytes = receiveBacklog(port);
    r.rssPerPlayerMiB = (rssMiB(0) - rssBefore) / urls.size();
    r.cpuPerFrameMs = frames1 > frames0 ? (cpu1 - cpu0) * 1000.0 / double(frames1 - frames0) : 0;
    r.fpsPerPlayer = double(frames1 - frames0) / seconds / urls.size();
    r.dropped = dropped1 - dropped0;
    players.clear();
    return r;
}

Result runPeer(const QStringList& urls, int seconds, quint16 port)
{
    Result r;
    std::vector<std::unique_ptr<QProcess>> procs;
    QVector<qint64> lastFrame(urls.size(), 0);
    QVector<qint64> firstMs(urls.size(), -1);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < urls.size(); ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::SeparateChannels);
        QObject::connect(p.get(), &QProcess::readyReadStandardOutput, [&, i, proc = p.get()] {
            while (proc->canReadLine()) {
                const QByteArray line = proc->readLine().trimmed();
                if (line.startsWith("frame=")) {
                    lastFrame[i] = line.mid(6).toLongLong();
                    if (lastFrame[i] > 0 && firstMs[i] < 0)
                        firstMs[i] = clock.elapsed();
                }
            }
        });
        p->start(QStringLiteral("ffmpeg"), {"-hide_banner", "-nostdin", "-loglevel", "error", "-rtsp_transport", "tcp",
                                           "-i", urls.at(i), "-f", "null", "-progress", "pipe:1",
                                           "-stats_period", "0.1", "-"});
        procs.push_back(std::move(p));
    }
    while (clock.elapsed() < 15000) {
        wait(2);
        if (std::all_of(firstMs.begin(), firstMs.end(), [](qint64 v) { return v >= 0; }))
            break;
    }
    for (qint64 ms : firstMs) {
        if (ms < 0)
            ++r.failed;
        r.firstFrameMs = qMax(r.firstFrameMs, double(ms));
    }
    wait(1000);
    auto cpuNow = [&] {
        double s = 0;
        for (const auto& p : procs)
            s += pidCpuSeconds(p->processId());
        return s;
    };
    auto framesNow = [&] {
        qint64 n = 0;
        for (qint64 f : lastFrame)
            n += f;
        return n;
    };
    const double cpu0 = cpuNow();
    const qint64 frames0 = framesNow();
    wait(seconds * 1000);
    const double cpu1 = cpuNow();
    const qint64 frames1 = framesNow();
    r.backlogBytes = receiveBacklog(port);
    double rss = 0;
    for (const auto& p : procs)
        rss += rssMiB(p->processId());
    r.rssPerPlayerMiB = rss / urls.size();
    r.cpuPerFrameMs = frames1 > frames0 ? (cpu1 - cpu0) * 1000.0 / double(frames1 - frames0) : 0;
    r.fpsPerPlayer = double(frames1 - frames0) / seconds / urls.size();
    for (auto& p : procs) {
        p->terminate();
        p->waitForFinished(3000);
    }
    return r;
}

int serve(const QStringList& addresses)
{
    PreviewStreamFarm farm;
    QList<QHostAddress> cards;
    for (const QString& a : addresses)
        cards << QHostAddress(a);
    QString error;
    if (!farm.start(cards, 0, &error)) {
        std::fprintf(stderr, "serve: %s\n", qPrintable(error));
        return 2;
    }
    std::printf("ready %u\n", farm.port());
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VEXILO_LOOPBACK_ONLY", "1");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"serve", "Serve the streams (child mode)."});
    parser.addOption({"seconds", "Measuring time per row (default 10; 60 for the backlog goal).", "N", "10"});
    parser.addOption({"players", "Player counts (default 1,4,16).", "LIST", "1,4,16"});
    parser.addOption({"no-peer", "Skip FFmpeg's command-line decoder."});
    parser.process(app);
    if (parser.isSet("serve"))
        return serve(kCards);

    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QCoreApplication::applicationFilePath(), {"--serve"});
    if (!server.waitForReadyRead(10000)) {
        std::fprintf(stderr, "stream server did not start\n");
        return 2;
    }
    const quint16 port = quint16(QString::fromLatin1(server.readLine()).section(' ', 1).toUInt());
    const int seconds = qMax(1, parser.value("seconds").toInt());

    std::printf("preview players vs ffmpeg -rtsp_transport tcp -f null, 1280x720 H.264 25 fps, %d s per row\n", seconds);
    std::printf("%-8s %-6s %12s %10s %12s %10s %10s %10s %6s\n", "players", "who", "cpu/frame ms", "ratio",
                "1st frame ms", "MiB/player", "fps/player", "dropped", "rxq B");
    for (const QString& n : parser.value("players").split(',')) {
        const int count = qBound(1, n.toInt(), 16);
        QStringList urls;
        for (int i = 0; i < count; ++i)
            urls << QStringLiteral("rtsp://%1:%2/live/channel=%3_stream=0").arg(kCards.at(i / 4)).arg(port).arg(i % 4);
        const Result ours = runOurs(urls, seconds, port);
        wait(1500); // let the server wind down the previous clients
        Result peer;
        const bool withPeer = !parser.isSet("no-peer");
        if (withPeer) {
            peer = runPeer(urls, seconds, port);
            wait(1500);
        }
        const double ratio = withPeer && peer.cpuPerFrameMs > 0 ? ours.cpuPerFrameMs / peer.cpuPerFrameMs : 0;
        std::printf("%-8d %-6s %12.3f %10.2f %12.0f %10.1f %10.1f %10lld %6lld%s\n", count, "ours", ours.cpuPerFrameMs,
                    ratio, ours.firstFrameMs, ours.rssPerPlayerMiB, ours.fpsPerPlayer, (long long)ours.dropped,
                    (long long)ours.backlogBytes, ours.failed ? "  FAILED PLAYERS" : "");
        if (withPeer)
            std::printf("%-8d %-6s %12.3f %10s %12.0f %10.1f %10.1f %10s %6lld%s\n", count, "ffmpeg", peer.cpuPerFrameMs,
                        "1.00", peer.firstFrameMs, peer.rssPerPlayerMiB, peer.fpsPerPlayer, "-",
                        (long long)peer.backlogBytes, peer.failed ? "  FAILED PEERS" : "");
        std::fflush(stdout);
    }
    server.terminate();
    server.waitForFinished(5000);
    return 0;
}
