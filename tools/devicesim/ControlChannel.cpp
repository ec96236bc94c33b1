#include "ControlChannel.h"

#include <QPointer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
constexpr int kMaxControlLine = 64 * 1024;
}

ControlChannel::ControlChannel(QObject* parent) : QObject(parent)
{
    registerCommand(QStringLiteral("help"),
                    QStringLiteral("help [WORD]: the command words, or the help of one"),
                    [this](const QStringList& args) -> QByteArray {
                        if (args.size() < 2) {
                            QStringList words;
                            for (const auto& c : qAsConst(commands))
                                words << c.first;
                            return "OK " + words.join(QLatin1Char(' ')).toUtf8();
                        }
                        for (const auto& c : qAsConst(commands)) {
                            if (c.first == args.at(1))
                                return "OK " + c.second.help.toUtf8();
                        }
                        return "ERR unknown command " + args.at(1).toUtf8();
                    });
}

bool ControlChannel::listen(const QHostAddress& address, quint16 port, QString* error)
{
    if (!address.isLoopback() || address.protocol() != QAbstractSocket::IPv4Protocol) {
        if (error)
            *error = QStringLiteral("control port must listen on 127.0.0.0/8, not %1").arg(address.toString());
        return false;
    }
    delete server;
    server = new QTcpServer(this);
    if (!server->listen(address, port)) {
        if (error)
            *error = server->errorString();
        return false;
    }
    connect(server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                QPointer<QTcpSocket> guard(socket);
                while (guard && socket->canReadLine()) {
                    const QString line = QString::fromUtf8(socket->readLine()).trimmed();
                    if (line.isEmpty())
                        continue;
                    const QByteArray answer = execute(line);
                    if (guard)
                        socket->write(answer + '\n');
                }
                // A line that never ends is not a control request.
                if (guard && socket->bytesAvailable() > kMaxControlLine)
                    socket->abort();
            });
        }
    });
    return true;
}

quint16 ControlChannel::port() const
{
    return server ? server->serverPort() : 0;
}

void ControlChannel::registerCommand(const QString& word, const QString& help, Handler handler)
{
    for (auto& c : commands) {
        if (c.first == word) {
            c.second = Entry{help, std::move(handler)};
            return;
        }
    }
    commands.append({word, Entry{help, std::move(handler)}});
}

QString ControlChannel::helpText() const
{
    QStringList lines;
    for (const auto& c : commands)
        lines << QStringLiteral("  ") + c.second.help;
    return lines.join(QLatin1Char('\n'));
}

QByteArray ControlChannel::execute(const QString& line)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList args = line.split(blanks, Qt::SkipEmptyParts);
    if (args.isEmpty())
        return "ERR empty request";
    for (const auto& c : qAsConst(commands)) {
        if (c.first == args.first())
            return c.second.handler(args);
    }
    return "ERR unknown command " + args.first().toUtf8();
}
