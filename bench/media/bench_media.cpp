// Preview players on the simulated preview streams, side by side with FFmpeg's command-line
// decoder (both decoding the same streams at the same time): CPU time per decoded picture, time to the first picture, resident
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
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGridLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <numeric>
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

// CPU seconds of a process (or of one of its threads: /proc/PID/task/TID/stat).
double statCpuSeconds(const QString& statFile)
{
    QFile f(statFile);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = f.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // Fields after the name: state is index 0, utime 11, stime 12.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

double pidCpuSeconds(qint64 pid)
{
    return statCpuSeconds(QStringLiteral("/proc/%1/stat").arg(pid));
}

// The GUI thread is the process's first thread.
double guiThreadCpuSeconds()
{
    return statCpuSeconds(QStringLiteral("/proc/self/task/%1/stat").arg(getpid()));
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

// Runs the event loop for a while without spinning (the process's CPU time is measured).
void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Socket inodes of a process: tells its TCP connections from the others'.
QSet<QString> socketInodes(qint64 pid)
{
    QSet<QString> inodes;
    QDir fds(pid ? QStringLiteral("/proc/%1/fd").arg(pid) : QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget().section('/', -1);
        if (target.startsWith(QLatin1String("socket:[")))
            inodes << target.mid(8).chopped(1);
    }
    return inodes;
}

// Bytes waiting in the receive queues of a process's TCP connections to the stream port: a
// decoder that falls behind leaves data here.
qint64 receiveBacklog(quint16 port, const QSet<QString>& inodes)
{
    QFile f(QStringLiteral("/proc/net/tcp"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    qint64 total = 0;
    const QString portHex = QStringLiteral("%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    f.readLine();
    while (!f.atEnd()) {
        const QStringList cols = QString::fromLatin1(f.readLine()).simplified().split(' ');
        if (cols.size() < 10 || !cols.at(2).endsWith(QLatin1Char(':') + portHex) || !inodes.contains(cols.at(9)))
            continue;
        total += cols.at(4).section(':', 1, 1).toLongLong(nullptr, 16);
    }
    return total;
}

struct Result
{
    double cpuPerFrameMs = 0;
    double guiPerFrameMs = -1;    // ours only: the GUI thread's share
    double firstFrameMs = 0;      // slowest player's
    double rssPerPlayerMiB = 0;
    double fpsPerPlayer = 0;
    double wakeUpsPerSecond = -1; // ours only
    qint64 dropped = -1;          // ours only
    qint64 backlogBytes = 0;
    int failed = 0;
    QStringList endings; // ours: why plays failed or ended
};

// One side of the comparison: some decoders of the same streams.
class Decoders
{
public:
    virtual ~Decoders() = default;
    virtual void start() = 0;
    virtual bool hasPicture(int i) const = 0;
    virtual double cpuSeconds() const = 0;
    virtual qint64 frames() const = 0;
    virtual double rssMiB() const = 0;
    virtual QSet<QString> sockets() const = 0;
    // Waits for every decoder's first picture; the slowest one's time, or -1 for each that failed.
    void waitFirstPictures(Result& r, int count)
    {
        QVector<qint64> firstMs(count, -1);
        QElapsedTimer clock;
        clock.start();
        start();
        while (clock.elapsed() < kFirstPictureWaitMs) {
            wait(2);
            bool all = true;
            for (int i = 0; i < count; ++i) {
                if (firstMs[i] < 0 && hasPicture(i))
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
    }
};

// Our players in tiles of one size, with the console's settings.
class OurPlayers : public Decoders
{
public:
    // baselineMiB: the process's resident memory before any player was made.
    OurPlayers(const QStringList& urls, const QSize& tile, double baselineMiB) : rssBefore(baselineMiB)
    {
        auto* grid = new QGridLayout(&strip);
        const int columns = tile.width() <= 400 ? 8 : 4;
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
            // As the console's pool does: a play that fails or ends is played again.
            QObject::connect(player.get(), &Media::AVPlayer::error, player.get(), [this, p = player.get()](const Media::AVError& e) {
                endings << QStringLiteral("error: %1").arg(e.string());
                p->play();
            });
            QObject::connect(player.get(), &Media::AVPlayer::stopped, player.get(), [this, p = player.get()] {
                endings << QStringLiteral("stopped (%1)").arg(int(p->mediaStatus()));
                p->play();
            });
            players.push_back(std::move(player));
        }
        strip.show();
    }
    void start() override
    {
        for (const auto& p : players)
            p->play();
    }
    bool hasPicture(int i) const override { return renderers.at(i)->framesReceived() > 0; }
    double cpuSeconds() const override { return processCpuSeconds(); }
    qint64 frames() const override { return sum([](const Media::AVPlayer::Statistics& s) { return s.decodedFrames; }); }
    qint64 dropped() const { return sum([](const Media::AVPlayer::Statistics& s) { return s.droppedFrames; }); }
    double rssMiB() const override { return ::rssMiB(0) - rssBefore; }
    QSet<QString> sockets() const override { return socketInodes(0); }
    QStringList endings;

private:
    template <typename F>
    qint64 sum(F of) const
    {
        qint64 n = 0;
        for (const auto& p : players)
            n += of(p->statistics());
        return n;
    }

    double rssBefore;
    QWidget strip;
    QList<Media::WidgetRenderer*> renderers;
    std::vector<std::unique_ptr<Media::AVPlayer>> players;
};

// One "ffmpeg -rtsp_transport tcp -i URL -f null -" per stream. Their progress goes to files,
// read only when a figure is wanted, so that following them costs our process nothing while
// it is measured.
class FfmpegPeers : public Decoders
{
public:
    explicit FfmpegPeers(const QStringList& urls) : urls(urls) {}
    ~FfmpegPeers() override
    {
        for (auto& p : procs) {
            p->terminate();
            p->waitForFinished(3000);
        }
    }
    void start() override
    {
        for (int i = 0; i < urls.size(); ++i) {
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->setStandardOutputFile(QProcess::nullDevice());
            p->start(QStringLiteral("ffmpeg"), {"-hide_banner", "-nostdin", "-loglevel", "error", "-rtsp_transport",
                                               "tcp", "-i", urls.at(i), "-f", "null", "-progress", progressFile(i),
                                               "-stats_period", "0.1", "-"});
            procs.push_back(std::move(p));
        }
    }
    bool hasPicture(int i) const override { return framesOf(i) > 0; }
    double cpuSeconds() const override
    {
        double s = 0;
        for (const auto& p : procs)
            s += pidCpuSeconds(p->processId());
        return s;
    }
    qint64 frames() const override
    {
        qint64 n = 0;
        for (int i = 0; i < urls.size(); ++i)
            n += framesOf(i);
        return n;
    }
    double rssMiB() const override
    {
        double rss = 0;
        for (const auto& p : procs)
            rss += ::rssMiB(p->processId());
        return rss;
    }
    QSet<QString> sockets() const override
    {
        QSet<QString> all;
        for (const auto& p : procs)
            all += socketInodes(p->processId());
        return all;
    }

private:
    QString progressFile(int i) const { return folder.filePath(QStringLiteral("progress%1.txt").arg(i)); }
    // The last "frame=" of a peer's progress file.
    qint64 framesOf(int i) const
    {
        QFile f(progressFile(i));
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        f.seek(qMax<qint64>(0, f.size() - 2048));
        const QByteArray tail = f.readAll();
        const int at = tail.lastIndexOf("\nframe=");
        return at < 0 ? 0 : tail.mid(at + 7, tail.indexOf('\n', at + 1) - at - 7).toLongLong();
    }

    QStringList urls;
    QTemporaryDir folder;
    std::vector<std::unique_ptr<QProcess>> procs;
};

// FFmpeg's decoders and ours play the same streams at the same time, so that both meet the same
// load on a shared machine; FFmpeg's start first, so that their process starts do not delay
// our first pictures. Returns {ours, peer, server cores}.
struct Round
{
    Result ours;
    Result peer;
    double serverCores = 0;
};

Round measure(const QStringList& urls, const QSize& tile, int seconds, quint16 port, qint64 serverPid, bool withPeer)
{
    // What the process held before its first players: memory a previous round's players left to
    // the allocator counts against this round's, not for it.
    static const double baselineMiB = rssMiB(0);
    Round round;
    std::unique_ptr<FfmpegPeers> peers;
    if (withPeer) {
        peers = std::make_unique<FfmpegPeers>(urls);
        peers->waitFirstPictures(round.peer, urls.size());
    }
    OurPlayers ours(urls, tile, baselineMiB);
    ours.waitFirstPictures(round.ours, urls.size());
    wait(1000); // settle
    Media::FramePump* pump = Media::FramePump::forCurrentThread();
    const double server0 = pidCpuSeconds(serverPid);
    const double ourCpu0 = ours.cpuSeconds(), peerCpu0 = peers ? peers->cpuSeconds() : 0;
    const qint64 ourFrames0 = ours.frames(), peerFrames0 = peers ? peers->frames() : 0;
    const qint64 dropped0 = ours.dropped(), wakeUps0 = pump->wakeUps();
    const double gui0 = guiThreadCpuSeconds();
    wait(seconds * 1000);
    const auto finish = [&](Result& r, const Decoders& side, double cpu0, qint64 frames0) {
        const double cpu = side.cpuSeconds() - cpu0;
        const qint64 frames = side.frames() - frames0;
        r.cpuPerFrameMs = frames > 0 ? cpu * 1000.0 / double(frames) : 0;
        r.fpsPerPlayer = double(frames) / seconds / urls.size();
        r.rssPerPlayerMiB = side.rssMiB() / urls.size();
        r.backlogBytes = receiveBacklog(port, side.sockets());
    };
    finish(round.ours, ours, ourCpu0, ourFrames0);
    round.ours.dropped = ours.dropped() - dropped0;
    const qint64 ourFrames = ours.frames() - ourFrames0;
    round.ours.guiPerFrameMs = ourFrames > 0 ? (guiThreadCpuSeconds() - gui0) * 1000.0 / double(ourFrames) : 0;
    round.ours.endings = ours.endings;
    round.ours.wakeUpsPerSecond = double(pump->wakeUps() - wakeUps0) / seconds;
    if (peers)
        finish(round.peer, *peers, peerCpu0, peerFrames0);
    round.serverCores = (pidCpuSeconds(serverPid) - server0) / seconds;
    return round;
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

void printRow(int players, const QString& tile, const char* who, const Result& r, double ratio, double serverCores)
{
    const QString wake = r.wakeUpsPerSecond < 0 ? QStringLiteral("-") : QString::number(r.wakeUpsPerSecond, 'f', 0);
    const QString dropped = r.dropped < 0 ? QStringLiteral("-") : QString::number(r.dropped);
    const QString gui = r.guiPerFrameMs < 0 ? QStringLiteral("-") : QString::number(r.guiPerFrameMs, 'f', 3);
    std::printf("%-7d %-9s %-6s %9.3f %7s %6.2f %8.0f %8.1f %7.1f %7s %7s %8lld %6.2f%s\n", players, qPrintable(tile),
                who, r.cpuPerFrameMs, qPrintable(gui), ratio, r.firstFrameMs, r.rssPerPlayerMiB, r.fpsPerPlayer, qPrintable(wake),
                qPrintable(dropped), (long long)r.backlogBytes, serverCores, r.failed ? "  FAILED PLAYERS" : "");
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : (v.at((v.size() - 1) / 2) + v.at(v.size() / 2)) / 2;
}

// The rounds of one player count and tile size.
struct Rows
{
    int players = 0;
    QSize tile;
    QVector<Round> rounds;

    double medianOf(double (*figure)(const Round&)) const
    {
        QVector<double> v;
        for (const Round& r : rounds)
            v << figure(r);
        return median(v);
    }
};

void printGoals(const QList<Rows>& all, int seconds, bool withPeer)
{
    std::printf("\ngoals (median over the rounds of each player count and tile):\n");
    const auto verdict = [](bool ok) { return ok ? "met" : "NOT MET"; };
    for (const Rows& m : all) {
        const QString what = QStringLiteral("%1 players, %2").arg(m.players, 2).arg(tileText(m.tile), -9);
        const double goal = isStripTile(m.tile) ? 0.80 : 1.05;
        const double ratio = m.medianOf([](const Round& r) {
            return r.peer.cpuPerFrameMs > 0 ? r.ours.cpuPerFrameMs / r.peer.cpuPerFrameMs : 0;
        });
        if (withPeer)
            std::printf("  %s CPU per picture %.2f x FFmpeg's (goal <= %.2f): %s\n", qPrintable(what), ratio, goal,
                        verdict(ratio > 0 && ratio <= goal));
        const double rss = m.medianOf([](const Round& r) { return r.ours.rssPerPlayerMiB; });
        std::printf("  %s %.1f MiB per player (goal <= 40): %s\n", qPrintable(what), rss, verdict(rss <= 40));
        if (m.players < 16)
            continue;
        const double first = m.medianOf([](const Round& r) { return r.ours.failed ? 1e9 : r.ours.firstFrameMs; });
        std::printf("  %s first picture of every player %.0f ms (goal <= 500): %s\n", qPrintable(what), first,
                    verdict(first <= 500));
        if (seconds < 60) {
            std::printf("  %s 25 fps for 60 s: run with --seconds 60 to judge\n", qPrintable(what));
            continue;
        }
        const double fps = m.medianOf([](const Round& r) { return r.ours.fpsPerPlayer; });
        const double backlog = m.medianOf([](const Round& r) { return double(r.ours.backlogBytes); });
        std::printf("  %s %.1f fps each over %d s, %.0f bytes left unread (goal 25 fps, no backlog): %s\n",
                    qPrintable(what), fps, seconds, backlog, verdict(fps >= 24.5 && backlog < 64 * 1024));
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
    parser.addOption({"rounds", "Rounds per player count and tile size (default 1).", "N", "1"});
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

    std::printf("preview players vs ffmpeg -rtsp_transport tcp -i URL -f null -, both decoding the same %s 1280x720 "
                "H.264 25 fps streams (%s) at the same time, %d s per row\n",
                fast ? "fast" : "camera-like", live ? "encoded per client" : "recorded once, replayed", seconds);
    std::printf("%-7s %-9s %-6s %9s %7s %6s %8s %8s %7s %7s %7s %8s %6s\n", "players", "tile", "who", "cpu/pic", "gui/pic", "ratio",
                "1st ms", "MiB/pl", "fps/pl", "wake/s", "dropped", "rxq B", "server");
    QList<Rows> all;
    for (const QString& n : parser.value("players").split(',')) {
        const int count = qBound(1, n.toInt(), 16);
        QStringList urls;
        for (int i = 0; i < count; ++i)
            urls << QStringLiteral("rtsp://%1:%2/live/channel=%3_stream=0").arg(kCards.at(i / 4)).arg(port).arg(i % 4);
        for (const QSize& tile : qAsConst(tiles)) {
            Rows rows{count, tile, {}};
            for (int round = 0; round < rounds; ++round) {
                const Round r = measure(urls, tile, seconds, port, server.processId(), withPeer);
                const double ratio = r.peer.cpuPerFrameMs > 0 ? r.ours.cpuPerFrameMs / r.peer.cpuPerFrameMs : 0;
                if (withPeer)
                    printRow(count, tileText(tile), "ffmpeg", r.peer, 1.0, r.serverCores);
                printRow(count, tileText(tile), "ours", r.ours, ratio, r.serverCores);
                for (const QString& ending : r.ours.endings)
                    std::printf("        a play of ours ended: %s\n", qPrintable(ending));
                std::fflush(stdout);
                rows.rounds << r;
                wait(1500); // let the server wind down the clients
            }
            all << rows;
        }
    }
    printGoals(all, seconds, withPeer);
    server.terminate();
    server.waitForFinished(5000);
    return 0;
}
