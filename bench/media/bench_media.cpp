// Preview players on the simulated preview streams, side by side with FFmpeg's command-line
// decoder in the same run: CPU time per decoded picture, time to the first picture, resident
// memory per player, pictures per second, GUI wake-ups, and whether the players keep up (no
// backlog in the sockets).
//
//   bench_media [--seconds N] [--players 1,4,16] [--tiles 200x113,1280x720] [--rounds R]
//               [--fast-streams] [--live-streams] [--no-peer]
//
// The streams are served by a child process (this program with --serve), so that serving them
// does not count against either decoder. By default they are the camera-like streams, encoded
// once and replayed to every client, so that 16 live encoders do not compete with the decoders
// for the machine; --live-streams encodes for each client as devicesim does.
#include "media/AVPlayer.h"
#include "media/FramePump.h"
#include "media/WidgetRenderer.h"
#include "PreviewPlayerSettings.h"
#include "PreviewStreamFarm.h"

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

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const QStringList kCards{"127.0.0.71", "127.0.0.72", "127.0.0.73", "127.0.0.74"};
const QSize kStreamSize(1280, 720);
constexpr int kFirstPictureWaitMs = 15000;

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
    double wakeUpsPerSecond = -1; // ours only
    double serverCores = 0;       // the stream server's CPU while measuring
    qint64 dropped = -1;          // ours only
    qint64 backlogBytes = 0;
    int failed = 0;
};

// CPU of the stream server over a measurement, in cores.
class ServerLoad
{
public:
    explicit ServerLoad(qint64 pid) : pid(pid), cpu0(pidCpuSeconds(pid)) { clock.start(); }
    double cores() const { return (pidCpuSeconds(pid) - cpu0) / (clock.elapsed() / 1000.0); }

private:
    qint64 pid;
    double cpu0;
    QElapsedTimer clock;
};

void noteFirstPictures(Result& r, const QVector<qint64>& firstMs)
{
    for (qint64 ms : firstMs) {
        if (ms < 0)
            ++r.failed;
        r.firstFrameMs = qMax(r.firstFrameMs, double(ms));
    }
}

Result runOurs(const QStringList& urls, int seconds, quint16 port, const QSize& tile, qint64 serverPid)
{
    Result r;
    const double rssBefore = rssMiB(0);
    QWidget strip;
    auto* grid = new QGridLayout(&strip);
    const int columns = tile.width() <= 400 ? 8 : 4;
    std::vector<std::unique_ptr<Media::AVPlayer>> players;
    QList<Media::WidgetRenderer*> renderers;
    QVector<qint64> firstMs(urls.size(), -1);
    for (int i = 0; i < urls.size(); ++i) {
        auto* renderer = new Media::WidgetRenderer;
        renderer->setOutAspectRatioMode(Media::VideoRenderer::RendererAspectRatio);
        renderer->setQuality(Media::VideoRenderer::QualityFastest);
        renderer->setFixedSize(tile);
        grid->addWidget(renderer, i / columns, i % columns);
        renderers << renderer;
        auto player = std::make_unique<Media::AVPlayer>();
        configureAsPreviewPlayer(*player);
        player->setFile(urls.at(i));
        player->addVideoRenderer(renderer);
        players.push_back(std::move(player));
    }
    strip.show();
    QElapsedTimer clock;
    clock.start();
    for (const auto& p : players)
        p->play();
    while (clock.elapsed() < kFirstPictureWaitMs) {
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
    noteFirstPictures(r, firstMs);
    wait(1000); // settle
    const auto sum = [&](auto of) {
        qint64 n = 0;
        for (const auto& p : players)
            n += of(p->statistics());
        return n;
    };
    const auto decoded = [](const Media::AVPlayer::Statistics& s) { return s.decodedFrames; };
    const auto dropped = [](const Media::AVPlayer::Statistics& s) { return s.droppedFrames; };
    Media::FramePump* pump = Media::FramePump::forCurrentThread();
    const ServerLoad server(serverPid);
    const double cpu0 = processCpuSeconds();
    const qint64 frames0 = sum(decoded), dropped0 = sum(dropped), wakeUps0 = pump->wakeUps();
    wait(seconds * 1000);
    const double cpu1 = processCpuSeconds();
    const qint64 frames1 = sum(decoded);
    r.serverCores = server.cores();
    r.backlogBytes = receiveBacklog(port);
    r.rssPerPlayerMiB = (rssMiB(0) - rssBefore) / urls.size();
    r.cpuPerFrameMs = frames1 > frames0 ? (cpu1 - cpu0) * 1000.0 / double(frames1 - frames0) : 0;
    r.fpsPerPlayer = double(frames1 - frames0) / seconds / urls.size();
    r.dropped = sum(dropped) - dropped0;
    r.wakeUpsPerSecond = double(pump->wakeUps() - wakeUps0) / seconds;
    players.clear();
    return r;
}

Result runPeer(const QStringList& urls, int seconds, quint16 port, qint64 serverPid)
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
    while (clock.elapsed() < kFirstPictureWaitMs) {
        wait(2);
        if (std::all_of(firstMs.begin(), firstMs.end(), [](qint64 v) { return v >= 0; }))
            break;
    }
    noteFirstPictures(r, firstMs);
    wait(1000);
    const auto cpuNow = [&] {
        double s = 0;
        for (const auto& p : procs)
            s += pidCpuSeconds(p->processId());
        return s;
    };
    const auto framesNow = [&] {
        qint64 n = 0;
        for (qint64 f : lastFrame)
            n += f;
        return n;
    };
    const ServerLoad server(serverPid);
    const double cpu0 = cpuNow();
    const qint64 frames0 = framesNow();
    wait(seconds * 1000);
    const double cpu1 = cpuNow();
    const qint64 frames1 = framesNow();
    r.serverCores = server.cores();
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

int serve(bool fast, bool live)
{
    PreviewStreamFarm farm;
    farm.setStreamKind(fast ? PreviewStreamKind::Fast : PreviewStreamKind::CameraLike);
    farm.setReplayed(!live);
    QList<QHostAddress> cards;
    for (const QString& a : kCards)
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

QString tileText(const QSize& s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

// A tile of at most half the picture in both directions may leave out what it cannot show.
bool isStripTile(const QSize& tile)
{
    return tile.width() * 2 <= kStreamSize.width() && tile.height() * 2 <= kStreamSize.height();
}

void printRow(int players, const QString& tile, const char* who, const Result& r, double ratio)
{
    const QString wake = r.wakeUpsPerSecond < 0 ? QStringLiteral("-") : QString::number(r.wakeUpsPerSecond, 'f', 0);
    const QString dropped = r.dropped < 0 ? QStringLiteral("-") : QString::number(r.dropped);
    std::printf("%-7d %-9s %-6s %9.3f %6.2f %8.0f %8.1f %7.1f %7s %7s %8lld %6.2f%s\n", players, qPrintable(tile), who,
                r.cpuPerFrameMs, ratio, r.firstFrameMs, r.rssPerPlayerMiB, r.fpsPerPlayer, qPrintable(wake),
                qPrintable(dropped), (long long)r.backlogBytes, r.serverCores,
                r.failed ? "  FAILED PLAYERS" : "");
}

struct Measured
{
    int players;
    QSize tile;
    Result ours;
    double ratio; // 0 without a peer
};

void printGoals(const QList<Measured>& rows, int seconds, bool withPeer)
{
    std::printf("\ngoals (each row of the table):\n");
    const auto verdict = [](bool ok) { return ok ? "met" : "NOT MET"; };
    for (const Measured& m : rows) {
        const bool strip = isStripTile(m.tile);
        const double goal = strip ? 0.80 : 1.05;
        if (withPeer)
            std::printf("  %2d players, %-9s CPU/picture %.2f x FFmpeg's (goal <= %.2f): %s\n", m.players,
                        qPrintable(tileText(m.tile)), m.ratio, goal, verdict(m.ratio > 0 && m.ratio <= goal));
        std::printf("  %2d players, %-9s %.1f MiB per player (goal <= 40): %s\n", m.players,
                    qPrintable(tileText(m.tile)), m.ours.rssPerPlayerMiB, verdict(m.ours.rssPerPlayerMiB <= 40));
        if (m.players >= 16) {
            std::printf("  %2d players, %-9s first picture of every player %.0f ms (goal <= 500): %s\n", m.players,
                        qPrintable(tileText(m.tile)), m.ours.firstFrameMs,
                        verdict(!m.ours.failed && m.ours.firstFrameMs <= 500));
            const bool keptUp = m.ours.fpsPerPlayer >= 24.5 && m.ours.backlogBytes < 64 * 1024;
            if (seconds >= 60)
                std::printf("  %2d players, %-9s %.1f fps each, %lld bytes unread over %d s (goal 25 fps, no backlog): %s\n",
                            m.players, qPrintable(tileText(m.tile)), m.ours.fpsPerPlayer,
                            (long long)m.ours.backlogBytes, seconds, verdict(keptUp));
            else
                std::printf("  %2d players, %-9s 25 fps for 60 s: run with --seconds 60 to judge\n", m.players,
                            qPrintable(tileText(m.tile)));
        }
    }
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
    parser.addOption({"tiles", "Tile sizes (default 200x113,1280x720).", "LIST", "200x113,1280x720"});
    parser.addOption({"rounds", "Rounds of FFmpeg and our tiles per player count (default 1).", "N", "1"});
    parser.addOption({"fast-streams", "The cheap test streams instead of the camera-like ones."});
    parser.addOption({"live-streams", "Encode for each client instead of replaying a recording."});
    parser.addOption({"no-peer", "Skip FFmpeg's command-line decoder."});
    parser.process(app);
    const bool fast = parser.isSet("fast-streams");
    const bool live = parser.isSet("live-streams");
    if (parser.isSet("serve"))
        return serve(fast, live);

    QList<QSize> tiles;
    for (const QString& t : parser.value("tiles").split(',')) {
        const QSize s(t.section('x', 0, 0).toInt(), t.section('x', 1, 1).toInt());
        if (s.isEmpty()) {
            std::fprintf(stderr, "bad tile size %s\n", qPrintable(t));
            return 2;
        }
        tiles << s;
    }
    QStringList serverArgs{"--serve"};
    if (fast)
        serverArgs << "--fast-streams";
    if (live)
        serverArgs << "--live-streams";
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QCoreApplication::applicationFilePath(), serverArgs);
    if (!server.waitForReadyRead(60000)) {
        std::fprintf(stderr, "stream server did not start\n");
        return 2;
    }
    const quint16 port = quint16(QString::fromLatin1(server.readLine()).section(' ', 1).toUInt());
    const int seconds = qMax(1, parser.value("seconds").toInt());
    const int rounds = qMax(1, parser.value("rounds").toInt());
    const bool withPeer = !parser.isSet("no-peer");

    std::printf("preview players vs ffmpeg -rtsp_transport tcp -i URL -f null -, %s 1280x720 H.264 25 fps (%s), "
                "%d s per row\n",
                fast ? "fast" : "camera-like", live ? "encoded per client" : "recorded once, replayed", seconds);
    std::printf("%-7s %-9s %-6s %9s %6s %8s %8s %7s %7s %7s %8s %6s\n", "players", "tile", "who", "cpu/pic", "ratio",
                "1st ms", "MiB/pl", "fps/pl", "wake/s", "dropped", "rxq B", "server");
    QList<Measured> measured;
    for (const QString& n : parser.value("players").split(',')) {
        const int count = qBound(1, n.toInt(), 16);
        QStringList urls;
        for (int i = 0; i < count; ++i)
            urls << QStringLiteral("rtsp://%1:%2/live/channel=%3_stream=0").arg(kCards.at(i / 4)).arg(port).arg(i % 4);
        for (int round = 0; round < rounds; ++round) {
            Result peer;
            if (withPeer) {
                peer = runPeer(urls, seconds, port, server.processId());
                printRow(count, QStringLiteral("-"), "ffmpeg", peer, 1.0);
                wait(1500); // let the server wind down the previous clients
            }
            for (const QSize& tile : qAsConst(tiles)) {
                const Result ours = runOurs(urls, seconds, port, tile, server.processId());
                const double ratio = peer.cpuPerFrameMs > 0 ? ours.cpuPerFrameMs / peer.cpuPerFrameMs : 0;
                printRow(count, tileText(tile), "ours", ours, ratio);
                measured << Measured{count, tile, ours, ratio};
                wait(1500);
            }
            std::fflush(stdout);
        }
    }
    printGoals(measured, seconds, withPeer);
    server.terminate();
    server.waitForFinished(5000);
    return 0;
}
