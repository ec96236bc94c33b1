#include "SimCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const char* const kDescription =
    "Simulated matrix switcher, IP cards and preview streams for tests, benchmarks and demos.\n"
    "Binds to 127.0.0.0/8 only and refuses any other address.\n"
    "\n"
    "The matrix answers its text commands on TCP (several clients at once; lines that one client's\n"
    "command causes are sent unsolicited to the others) and, with --pty, on the slave side of a\n"
    "pseudo-terminal pair, which a serial port opens as it would open a real line.\n"
    "When everything listens, one line is printed on stdout:\n"
    "  devicesim ready matrix=ADDR:PORT [control=ADDR:PORT] [pty=PATH]\n"
    "and whenever the pseudo-terminal is replaced (control command \"drop\"):\n"
    "  devicesim pty=PATH\n"
    "\n"
    "Control port (--control): one request per line, one answer line each, starting with OK or ERR.\n"
    "The same requests can be given with --exec at start.";

bool parsePort(const QString& text, int min, int& out)
{
    bool ok = false;
    out = text.toInt(&ok);
    return ok && out >= min && out <= 65535;
}

} // namespace

bool SimCommandLine::isLoopbackV4(const QHostAddress& address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol && (address.toIPv4Address() >> 24) == 127;
}

bool SimCommandLine::parse(const QCoreApplication& app, QString* error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption helpOpt = parser.addHelpOption();
    const QCommandLineOption listenOpt(QStringLiteral("listen"),
                                       QStringLiteral("Loopback address of every listener (default 127.0.0.1)."),
                                       QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("Matrix TCP port (default 4001; 0: any free port)."),
                                     QStringLiteral("port"), QStringLiteral("4001"));
    const QCommandLineOption controlOpt(QStringLiteral("control"),
                                        QStringLiteral("Open the control port (0: any free port)."), QStringLiteral("port"));
    const QCommandLineOption execOpt(QStringLiteral("exec"),
                                     QStringLiteral("Run one control request before listening (repeatable)."),
                                     QStringLiteral("line"));
    const QCommandLineOption ptyOpt(QStringLiteral("pty"), QStringLiteral("Also serve the matrix on a pseudo-terminal pair."));
    const QCommandLineOption ptyLinkOpt(QStringLiteral("pty-link"),
                                        QStringLiteral("Create a symlink to the pseudo-terminal's slave (implies --pty)."),
                                        QStringLiteral("path"));
    const QCommandLineOption modelOpt(QStringLiteral("model"),
                                      QStringLiteral("Ports per side: 4, 8, 16, 32, 64, 96, 128, 144 or 160 (default 16)."),
                                      QStringLiteral("ports"), QStringLiteral("16"));
    const QCommandLineOption inOpt(QStringLiteral("in-cards"),
                                   QStringLiteral("Input card-type letters, one per four-port slot."), QStringLiteral("letters"));
    const QCommandLineOption outOpt(QStringLiteral("out-cards"),
                                    QStringLiteral("Output card-type letters, one per four-port slot."), QStringLiteral("letters"));
    const QCommandLineOption nameOpt(QStringLiteral("name"), QStringLiteral("Device name."), QStringLiteral("text"));
    const QCommandLineOption ipBaseOpt(QStringLiteral("ipcard-base"),
                                       QStringLiteral("Address of the first IP card processor (default 127.0.0.11); "
                                                      "the others follow it."),
                                       QStringLiteral("address"));
    const QCommandLineOption noIpOpt(QStringLiteral("no-ipcards"), QStringLiteral("Do not start the simulated IP cards."));
    const QCommandLineOption ipPortOpt(QStringLiteral("ipcard-port"), QStringLiteral("IP card port (default 4002)."),
                                       QStringLiteral("port"), QStringLiteral("4002"));
    const QCommandLineOption noStreamsOpt(QStringLiteral("no-streams"),
                                          QStringLiteral("Do not start the RTSP preview streams."));
    const QCommandLineOption fastStreamsOpt(
        QStringLiteral("fast-streams"),
        QStringLiteral("Preview streams that cost next to nothing to encode and decode (baseline H.264 without CABAC "
                       "or deblocking, a ball on black, a key frame every second), for tests that only need pictures "
                       "quickly. Without it the streams are camera-like: H.264 High profile with CABAC and "
                       "deblocking, no B-frames, a key frame every 2 s, 1280x720 at about 2 Mbit/s (stream 0) and "
                       "640x360 at about 0.5 Mbit/s (stream 1), 25 fps."));
    const QCommandLineOption rtspPortOpt(QStringLiteral("rtsp-port"), QStringLiteral("RTSP port (default 8554)."),
                                         QStringLiteral("port"), QStringLiteral("8554"));
    parser.addOptions({listenOpt, portOpt, controlOpt, execOpt, ptyOpt, ptyLinkOpt, modelOpt, inOpt, outOpt, nameOpt,
                       ipBaseOpt, noIpOpt, ipPortOpt, noStreamsOpt, fastStreamsOpt, rtspPortOpt});
    if (!parser.parse(app.arguments())) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet(helpOpt)) {
        helpRequested = true;
        helpText = parser.helpText();
        return true;
    }

    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first());
        return false;
    }
    if (!listen.setAddress(parser.value(listenOpt)) || !isLoopbackV4(listen)) {
        *error = QStringLiteral("refusing to listen on %1: only 127.0.0.0/8").arg(parser.value(listenOpt));
        return false;
    }
    int n = 0;
    if (!parsePort(parser.value(portOpt), 0, n)) {
        *error = QStringLiteral("bad --port");
        return false;
    }
    port = quint16(n);
    if (parser.isSet(controlOpt)) {
        if (!parsePort(parser.value(controlOpt), 0, controlPort)) {
            *error = QStringLiteral("bad --control");
            return false;
        }
    }
    if (!parsePort(parser.value(ipPortOpt), 1, n)) {
        *error = QStringLiteral("bad --ipcard-port");
        return false;
    }
    ipCardPort = quint16(n);
    if (!parsePort(parser.value(rtspPortOpt), 1, n)) {
        *error = QStringLiteral("bad --rtsp-port");
        return false;
    }
    rtspPort = quint16(n);

    bool ok = false;
    matrix.model = parser.value(modelOpt).toInt(&ok);
    static const QList<int> models{4, 8, 16, 32, 64, 96, 128, 144, 160};
    if (!ok || !models.contains(matrix.model)) {
        *error = QStringLiteral("bad --model %1").arg(parser.value(modelOpt));
        return false;
    }
    if (parser.isSet(inOpt))
        matrix.inCards = parser.value(inOpt);
    if (parser.isSet(outOpt))
        matrix.outCards = parser.value(outOpt);
    if (parser.isSet(nameOpt))
        matrix.name = parser.value(nameOpt);
    if (parser.isSet(ipBaseOpt)) {
        const QHostAddress first(parser.value(ipBaseOpt));
        if (!isLoopbackV4(first)) {
            *error = QStringLiteral("refusing --ipcard-base %1: only 127.0.0.0/8").arg(parser.value(ipBaseOpt));
            return false;
        }
        matrix.firstIpCardAddress = first;
    }

    execLines = parser.values(execOpt);
    ptyLink = parser.value(ptyLinkOpt);
    pty = parser.isSet(ptyOpt) || !ptyLink.isEmpty();
    ipCards = !parser.isSet(noIpOpt);
    streams = !parser.isSet(noStreamsOpt);
    fastStreams = parser.isSet(fastStreamsOpt);
    return true;
}
