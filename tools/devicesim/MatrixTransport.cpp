#include "MatrixTransport.h"

#include "ControlChannel.h"
#include "Escapes.h"
#include "MatrixSimulator.h"
#include "MonotonicClock.h"
#include "PtyClientLink.h"
#include "TcpClientLink.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {
constexpr int kMaxReceipts = 100000;
constexpr int kStreamChunk = 64 * 1024;
// What devicesim holds unwritten for one client before it drops the client. Checked before each
// answer, report or flood is queued, never within one, so one request of any size still goes out
// whole. Tests send bursts of ~18 MB to a client that reads only afterwards: leave them room.
constexpr qint64 kMaxUnwritten = 32 << 20;
}

MatrixTransport::MatrixTransport(MatrixSimulator& m, QObject* parent) : QObject(parent), matrix(m)
{
    connect(&matrix, &MatrixSimulator::notify, this, &MatrixTransport::relay);
}

MatrixTransport::~MatrixTransport() = default;

bool MatrixTransport::listen(const QHostAddress& address, quint16 port, QString* error)
{
    server = new QTcpServer(this);
    if (!server->listen(address, port)) {
        if (error)
            *error = QStringLiteral("matrix port %1:%2: %3").arg(address.toString()).arg(port).arg(server->errorString());
        return false;
    }
    connect(server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server->nextPendingConnection())
            attach(new TcpClientLink(nextClientId++, socket, this));
    });
    return true;
}

quint16 MatrixTransport::port() const
{
    return server ? server->serverPort() : 0;
}

bool MatrixTransport::openPty(const QString& symlinkPath, QString* error)
{
    pty = new PtyClientLink(nextClientId++, symlinkPath, this);
    if (!pty->open(error)) {
        delete pty;
        pty = nullptr;
        return false;
    }
    connect(pty, &PtyClientLink::sessionEnded, this, [this] {
        matrix.clientGone(pty->id());
        pty->setId(nextClientId++);
    });
    connect(pty, &PtyClientLink::pathChanged, this, &MatrixTransport::ptyPathChanged);
    attach(pty);
    return true;
}

QString MatrixTransport::ptyPath() const
{
    return pty ? pty->slavePath() : QString();
}

void MatrixTransport::attach(ClientLink* link)
{
    links.append(link);
    connect(link, &ClientLink::received, this, [this, link](const QByteArray& bytes) { onReceived(link, bytes); });
    connect(link, &ClientLink::gone, this, [this, link] {
        matrix.clientGone(link->id());
        links.removeAll(link);
        link->deleteLater();
    });
}

void MatrixTransport::onReceived(ClientLink* link, const QByteArray& bytes)
{
    if (receipts.size() >= kMaxReceipts)
        receipts.removeFirst();
    receipts.append({MonotonicClock::micros(), link->id(), bytes});

    const QByteArray answer = matrix.receive(link->id(), bytes, [this] { return faults.takeRefusal(); });
    deliver(link, answer, faults.take(answer.isEmpty()));
}

void MatrixTransport::deliver(ClientLink* link, const QByteArray& matrixAnswer, const FaultInjector::Plan& plan)
{
    if (plan.drop) {
        link->drop();
        return;
    }
    const QByteArray answer = plan.replaceBy ? *plan.replaceBy : matrixAnswer;
    if (answer.isEmpty() || !keepsUp(link))
        return;
    // A long answer goes out in pieces so that a reader sees it grow.
    const int parts = qBound(1, plan.parts, answer.size());
    const int pieceSize = plan.parts > 1 ? (answer.size() + parts - 1) / parts : kStreamChunk;
    int delay = plan.delayMs;
    for (int at = 0; at < answer.size(); at += pieceSize) {
        link->send(answer.mid(at, pieceSize), delay);
        delay = plan.parts > 1 ? plan.pauseMs : 0;
    }
}

bool MatrixTransport::keepsUp(ClientLink* link)
{
    if (link->isDropping())
        return false;
    const qint64 unwritten = link->unwrittenBytes();
    if (unwritten <= kMaxUnwritten)
        return true;
    qWarning("devicesim: matrix client %d reads too slowly: %lld bytes unwritten (limit %lld), connection dropped",
             link->id(), qlonglong(unwritten), qlonglong(kMaxUnwritten));
    // Not at once: a relay runs inside the matrix's handling of another client's command, and a
    // client that leaves makes the matrix forget its state.
    link->dropSoon();
    return false;
}

void MatrixTransport::relay(int originClientId, const QByteArray& lines)
{
    for (const auto& link : qAsConst(links)) {
        if (link && link->id() != originClientId && link->wantsNotifications() && keepsUp(link))
            link->send(lines);
    }
}

void MatrixTransport::broadcast(const QByteArray& bytes)
{
    for (const auto& link : qAsConst(links)) {
        if (!link || !link->wantsNotifications() || !keepsUp(link))
            continue;
        for (int at = 0; at < bytes.size(); at += kStreamChunk)
            link->send(bytes.mid(at, kStreamChunk));
    }
}

QByteArray MatrixTransport::receivedControl(const QStringList& args)
{
    const QString what = args.value(1);
    if (what.isEmpty())
        return "OK " + QByteArray::number(receipts.size());
    if (what == QLatin1String("clear")) {
        receipts.clear();
        return "OK";
    }
    if (what == QLatin1String("last")) {
        if (receipts.isEmpty())
            return "ERR nothing received";
        return "OK " + Escapes::encode(receipts.last().bytes).toUtf8();
    }
    if (what == QLatin1String("all") || what == QLatin1String("times")) {
        QByteArray out = "OK";
        for (const Receipt& r : qAsConst(receipts)) {
            out += ' ';
            out += what == QLatin1String("all") ? Escapes::encode(r.bytes).toUtf8() : QByteArray::number(r.micros);
        }
        return out;
    }
    return "ERR usage: received [last|all|times|clear]";
}

QByteArray MatrixTransport::statusFormControl(const QStringList& args)
{
    using Form = MatrixSimulator::StatusForm;
    const QString form = args.value(1);
    if (args.size() == 1)
        return matrix.statusForm() == Form::Arrows ? "OK arrow" : "OK list";
    if (args.size() != 2 || (form != QLatin1String("arrow") && form != QLatin1String("list")))
        return "ERR usage: statusform [arrow|list]";
    matrix.setStatusForm(form == QLatin1String("arrow") ? Form::Arrows : Form::RouteLists);
    return "OK";
}

void MatrixTransport::registerControls(ControlChannel& channel)
{
    faults.registerControls(channel);
    channel.registerCommand(
        QStringLiteral("statusform"),
        QStringLiteral("statusform [arrow|list]: how the matrix answers the status query (IOStatus): arrow, one line "
                       "AV:<in>-><out> per output, <in> 0 for an output without input (closed ones too); list, one "
                       "route list <in>V<out>,<out>,... per input, then 0V<out>,... (the default, restored by "
                       "clear); without a word: the form in use"),
        [this](const QStringList& args) { return statusFormControl(args); });
    channel.registerCommand(QStringLiteral("clear"),
                            QStringLiteral("clear: disarm every fault and answer the status query in route lists again"),
                            [this](const QStringList&) -> QByteArray {
                                faults.clear();
                                matrix.setStatusForm(MatrixSimulator::StatusForm::RouteLists);
                                return "OK";
                            });
    channel.registerCommand(
        QStringLiteral("send"),
        QStringLiteral("send TEXT: write TEXT (escapes \\r \\n \\s \\xHH) to every matrix client now, unsolicited; "
                       "a client that has more than %1 MiB unwritten is dropped instead (logged on stderr)")
            .arg(kMaxUnwritten >> 20),
        [this](const QStringList& args) -> QByteArray {
            if (args.size() < 2)
                return "ERR usage: send TEXT";
            broadcast(Escapes::decode(args.mid(1).join(QLatin1Char(' '))));
            return "OK";
        });
    channel.registerCommand(
        QStringLiteral("flood"),
        QStringLiteral("flood BYTES: write BYTES bytes without a line end to every matrix client now; a client "
                       "that has more than %1 MiB unwritten (it does not read) is dropped instead, logged on stderr "
                       "(checked before each flood, so one flood of any size reaches a reading client whole)")
            .arg(kMaxUnwritten >> 20),
        [this](const QStringList& args) -> QByteArray {
            bool ok = false;
            const int n = args.value(1).toInt(&ok);
            if (args.size() != 2 || !ok || n < 1 || n > (256 << 20))
                return "ERR usage: flood BYTES";
            broadcast(QByteArray(n, 'x'));
            return "OK";
        });
    channel.registerCommand(
        QStringLiteral("drop"),
        QStringLiteral("drop: close every matrix connection now (the pseudo-terminal is replaced by a new one)"),
        [this](const QStringList&) -> QByteArray {
            const auto current = links;
            for (const auto& link : current) {
                if (link)
                    link->drop();
            }
            return "OK";
        });
    channel.registerCommand(
        QStringLiteral("received"),
        QStringLiteral("received [last|all|times|clear]: count of pieces the matrix received, the last or all of them "
                       "(escaped), their arrival times (CLOCK_MONOTONIC, microseconds), or forget them"),
        [this](const QStringList& args) { return receivedControl(args); });
    channel.registerCommand(
        QStringLiteral("clients"),
        QStringLiteral("clients: number of matrix clients connected (the pseudo-terminal counts while it is open)"),
        [this](const QStringList&) -> QByteArray {
            int n = 0;
            for (const auto& link : qAsConst(links))
                n += link && link->wantsNotifications() ? 1 : 0;
            return "OK " + QByteArray::number(n);
        });
    channel.registerCommand(QStringLiteral("pty"), QStringLiteral("pty: path of the pseudo-terminal's slave"),
                            [this](const QStringList&) -> QByteArray {
                                if (!pty)
                                    return "ERR no pseudo-terminal (start with --pty)";
                                return "OK " + pty->slavePath().toLocal8Bit();
                            });
}
