#include "platform/SystemPing.h"

#include "platform/LoopbackGuard.h"

#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace {

bool isDottedIpv4(const QString& ip)
{
    // Anchored at the very end: "$" alone would also accept a trailing newline.
    static const QRegularExpression dotted(QRegularExpression::anchoredPattern(QStringLiteral(
        "((2[0-4][0-9]|25[0-5]|[01]?[0-9][0-9]?)\\.){3}(2[0-4][0-9]|25[0-5]|[01]?[0-9][0-9]?)")));
    return dotted.match(ip).hasMatch();
}

} // namespace

namespace SystemPing {

QStringList pingArguments(const QString& ip, int timeoutMs)
{
    // -W takes whole seconds; round up so that the command never gives up before our wait.
    const int seconds = qMax(1, (timeoutMs + 999) / 1000);
    return {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
            QStringLiteral("-W"), QString::number(seconds), ip};
}

bool ping(const QString& ip, int timeoutMs)
{
    if (!isDottedIpv4(ip))
        return false;
    if (!LoopbackGuard::mayDial(ip, "ping"))
        return false;

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("ping"), pingArguments(ip, timeoutMs), QIODevice::ReadWrite);
    QByteArray output;
    bool answered = false;
    for (;;) {
        if (!process.waitForReadyRead(timeoutMs))
            break;
        output += process.readAll();
        if (output.toLower().contains("ttl=")) {
            answered = true;
            break;
        }
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
    return answered;
}

} // namespace SystemPing
