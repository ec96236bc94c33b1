// Uploads a 32 MiB firmware file in 10240-byte chunks (requests 2/4, 2/3 ..., 2/5) through the
// console's link to a simulated card on loopback and prints the rate. Three runs in one go:
//   raw      the same frames over a plain socket, one write and one blocking read per chunk:
//            the floor set by the card and loopback alone
//   link     DeviceToHisilicon::sendData per chunk
//   pumped   as link, with the event loop run after every chunk and a 10 ms timer ticking,
//            as in the console, where the progress bar and other timers keep running
// Goal: pumped >= 30 MB/s (1 MB = 10^6 bytes).

#include "ipcard/link/DeviceToHisilicon.h"
#include "IpCardFarmThread.h"
#include "RawCardUpload.h"
#include "LoginRequestProto.pb.h"
#include "platform/LoopbackGuard.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>

using namespace RawCardUpload;

namespace {

constexpr int FileSize = 32 * 1024 * 1024;

struct Run
{
    qint64 ms = -1;
    int endResult = 0;
    int ticks = 0;
};

Run uploadThroughLink(IpCardFarmThread& card, const QByteArray& file, bool pumpEvents)
{
    Run run;
    DeviceToHisilicon link;
    if (!link.connectToDevice(card.host(), card.port()))
        return run;
    const QByteArray login = loginBody();
    if (link.sendData(headFor(1, 0, login), login, nullptr, nullptr) != 1)
        return run;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&run] { ++run.ticks; });
    if (pumpEvents)
        ticker.start(10);

    const int count = (file.size() + ChunkSize - 1) / ChunkSize;
    QElapsedTimer clock;
    clock.start();
    const QByteArray start = startBody(pumpEvents ? "pumped.bin" : "link.bin", file.size());
    if (link.sendData(headFor(2, 4, start), start, nullptr, nullptr) != 1)
        return run;
    for (int i = 0; i < count; ++i) {
        const QByteArray body = chunkBody(file, i, count);
        if (link.sendData(headFor(2, 3, body, 2), body, nullptr, nullptr) != 1)
            break;
        if (pumpEvents)
            QCoreApplication::processEvents();
    }
    run.endResult = link.sendData(headFor(2, 5, QByteArray()), QByteArray(), nullptr, nullptr);
    run.ms = clock.elapsed();
    link.closeConnect();
    return run;
}

double megabytesPerSecond(const Run& run)
{
    return run.ms > 0 ? double(FileSize) / 1e6 / (double(run.ms) / 1000.0) : 0.0;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("VEXILO_LOOPBACK_ONLY", "1");
    QCoreApplication app(argc, argv);
    qSetMessagePattern(QStringLiteral("%{if-critical}%{message}%{endif}"));   // the link's debug lines stay quiet

    IpCardFarmThread card(QHostAddress(QStringLiteral("127.0.78.1")));
    if (!card.isStarted()) {
        std::fprintf(stderr, "simulated card: %s\n", qPrintable(card.errorText()));
        return 2;
    }
    QByteArray file(FileSize, '\0');
    quint32 state = 12345;
    for (char& byte : file) {
        state = state * 1103515245u + 12345u;
        byte = char(state >> 24);
    }
    const QString sha1 = QString::fromLatin1(QCryptographicHash::hash(file, QCryptographicHash::Sha1).toHex());

    const RawCardUpload::Result rawUpload = RawCardUpload::upload(card.host(), card.port(), file);
    Run raw;
    raw.ms = rawUpload.ms;
    raw.endResult = rawUpload.endResult;
    const bool rawOk = raw.endResult == 1;
    const Run link = uploadThroughLink(card, file, false);
    const bool linkOk = link.endResult == 1 && card.state(QStringLiteral("firmware")) == QStringLiteral("link.bin,%1,%2").arg(FileSize).arg(sha1);
    const Run pumped = uploadThroughLink(card, file, true);
    const bool pumpedOk = pumped.endResult == 1 && card.state(QStringLiteral("firmware")) == QStringLiteral("pumped.bin,%1,%2").arg(FileSize).arg(sha1);

    const int chunks = (FileSize + ChunkSize - 1) / ChunkSize;
    std::printf("ipcard firmware upload, %d MiB in %d chunks of %d bytes, loopback\n", FileSize >> 20, chunks, ChunkSize);
    std::printf("  raw socket   : %6lld ms  %7.1f MB/s  %7.0f round trips/s  end=%d\n", raw.ms,
                megabytesPerSecond(raw), raw.ms > 0 ? chunks * 1000.0 / raw.ms : 0.0, raw.endResult);
    std::printf("  link         : %6lld ms  %7.1f MB/s  %7.0f round trips/s  end=%d  data %s\n", link.ms,
                megabytesPerSecond(link), link.ms > 0 ? chunks * 1000.0 / link.ms : 0.0, link.endResult,
                linkOk ? "verified" : "NOT VERIFIED");
    std::printf("  link, pumped : %6lld ms  %7.1f MB/s  %7.0f round trips/s  end=%d  data %s  timer ticks %d (of %lld)\n",
                pumped.ms, megabytesPerSecond(pumped), pumped.ms > 0 ? chunks * 1000.0 / pumped.ms : 0.0,
                pumped.endResult, pumpedOk ? "verified" : "NOT VERIFIED", pumped.ticks, pumped.ms / 10);
    std::printf("  link / raw   : %.2f\n", raw.ms > 0 && link.ms > 0 ? double(raw.ms) / double(link.ms) : 0.0);
    const bool goal = pumpedOk && megabytesPerSecond(pumped) >= 30.0;
    std::printf("  goal >= 30 MB/s with events pumped: %s\n", goal ? "met" : "NOT MET");
    return rawOk && linkOk && pumpedOk ? 0 : 1;
}
