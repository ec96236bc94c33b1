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
#include "LoginRequestProto.pb.h"
#include "platform/LoopbackGuard.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int ChunkSize = 10240;
constexpr int FileSize = 32 * 1024 * 1024;

QByteArray bigEndian(quint32 value, int width)
{
    QByteArray bytes;
    for (int i = width - 1; i >= 0; --i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

_KIV_MSG_HEAD_T headFor(int msgClass, int msgCommand, const QByteArray& body, int bodyFormat = 0)
{
    _KIV_MSG_HEAD_T head;
    head.msgClass = quint8(msgClass);
    head.msgCommand = quint8(msgCommand);
    head.bodyFormat = quint8(bodyFormat);
    head.length = quint16(body.size());
    return head;
}

QByteArray loginBody()
{
    com::kiv::protobuf::LoginRequest login;
    login.set_username("admin");
    login.set_password("quelt");
    return QByteArray::fromStdString(login.SerializeAsString());
}

QByteArray startBody(const char* name)
{
    return QByteArray(name) + bigEndian(FileSize, 4);
}

QByteArray chunkBody(const QByteArray& file, int index, int count)
{
    const QByteArray data = file.mid(index * ChunkSize, ChunkSize);
    return bigEndian(quint32(count - 1 - index), 2) + bigEndian(quint32(data.size()), 2) + data;
}

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
    const QByteArray start = startBody(pumpEvents ? "pumped.bin" : "link.bin");
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

// One frame out, one reply in, over a bare socket: what the link's own work is measured against.
bool rawExchange(QTcpSocket& socket, int msgClass, int msgCommand, const QByteArray& body, int bodyFormat, int* result)
{
    socket.write(headFor(msgClass, msgCommand, body, bodyFormat).toBytes() + body);
    while (socket.bytesAvailable() < _KIV_MSG_HEAD_T::Size) {
        if (!socket.waitForReadyRead(6000))
            return false;
    }
    _KIV_MSG_HEAD_T reply;
    _KIV_MSG_HEAD_T::fromBytes(socket.read(_KIV_MSG_HEAD_T::Size), &reply);
    while (socket.bytesAvailable() < reply.length) {
        if (!socket.waitForReadyRead(6000))
            return false;
    }
    socket.read(reply.length);
    *result = reply.result;
    return true;
}

Run uploadRaw(IpCardFarmThread& card, const QByteArray& file)
{
    Run run;
    QTcpSocket socket;
    if (!LoopbackGuard::mayDial(card.host(), "benchmark"))
        return run;
    socket.connectToHost(card.host(), card.port());
    if (!socket.waitForConnected(6000))
        return run;
    int result = 0;
    if (!rawExchange(socket, 1, 0, loginBody(), 0, &result) || result != 1)
        return run;
    const int count = (file.size() + ChunkSize - 1) / ChunkSize;
    QElapsedTimer clock;
    clock.start();
    if (!rawExchange(socket, 2, 4, startBody("raw.bin"), 0, &result) || result != 1)
        return run;
    for (int i = 0; i < count; ++i) {
        if (!rawExchange(socket, 2, 3, chunkBody(file, i, count), 2, &result) || result != 1)
            break;
    }
    if (rawExchange(socket, 2, 5, QByteArray(), 0, &result))
        run.endResult = result;
    run.ms = clock.elapsed();
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

    const Run raw = uploadRaw(card, file);
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
