#include "FaultInjector.h"

#include "ControlChannel.h"
#include "Escapes.h"

namespace {

// Splits "count=N" off the arguments; the rest stays in args. Returns false on a bad count.
bool takeCount(QStringList& args, int& count)
{
    count = 1;
    for (int i = args.size() - 1; i >= 1; --i) {
        if (!args.at(i).startsWith(QLatin1String("count=")))
            continue;
        bool ok = false;
        const int n = args.at(i).mid(6).toInt(&ok);
        if (!ok || n < 0)
            return false;
        count = n == 0 ? -1 : n;
        args.removeAt(i);
    }
    return true;
}

bool toNumber(const QString& text, int min, int max, int& out)
{
    bool ok = false;
    out = text.toInt(&ok);
    return ok && out >= min && out <= max;
}

// The handler of "error" and "refuse": arms an answer line, the escaped words after the request
// or else fallback, for the next command(s).
ControlChannel::Handler armAnswerLine(const char* usage, const QByteArray& fallback, QByteArray* text, int* armedCount)
{
    return [=](QStringList args) -> QByteArray {
        int count = 1;
        if (!takeCount(args, count))
            return usage;
        *text = args.size() > 1 ? Escapes::decode(args.mid(1).join(QLatin1Char(' '))) : fallback;
        *armedCount = count;
        return "OK";
    };
}

} // namespace

bool FaultInjector::consume(Armed& a)
{
    if (a.count == 0)
        return false;
    if (a.count > 0)
        --a.count;
    return true;
}

FaultInjector::Plan FaultInjector::take(bool answerIsEmpty)
{
    Plan plan;
    if (consume(dropArmed)) {
        plan.drop = true;
        return plan;
    }
    if (consume(replaceArmed)) {
        plan.replaceBy = replacement;
        answerIsEmpty = replacement.isEmpty();
    }
    if (answerIsEmpty)
        return plan;
    if (consume(delayArmed))
        plan.delayMs = delayMs;
    if (consume(splitArmed)) {
        plan.parts = parts;
        plan.pauseMs = pauseMs;
    }
    return plan;
}

std::optional<QByteArray> FaultInjector::takeRefusal()
{
    if (!consume(refuseArmed))
        return std::nullopt;
    return refusal;
}

void FaultInjector::clear()
{
    *this = FaultInjector();
}

void FaultInjector::registerControls(ControlChannel& channel)
{
    channel.registerCommand(
        QStringLiteral("delay"),
        QStringLiteral("delay MS [count=N]: hold the next reply MS ms before writing it (count=0: every reply until clear)"),
        [this](QStringList args) -> QByteArray {
            int count = 1;
            int ms = 0;
            if (!takeCount(args, count) || args.size() != 2 || !toNumber(args.at(1), 0, 600000, ms))
                return "ERR usage: delay MS [count=N]";
            delayMs = ms;
            delayArmed.count = count;
            return "OK";
        });
    channel.registerCommand(
        QStringLiteral("split"),
        QStringLiteral("split PARTS PAUSE_MS [count=N]: write the next reply in PARTS pieces with PAUSE_MS ms between them"),
        [this](QStringList args) -> QByteArray {
            int count = 1;
            int p = 0;
            int pause = 0;
            if (!takeCount(args, count) || args.size() != 3 || !toNumber(args.at(1), 1, 1 << 20, p)
                || !toNumber(args.at(2), 0, 600000, pause))
                return "ERR usage: split PARTS PAUSE_MS [count=N]";
            parts = p;
            pauseMs = pause;
            splitArmed.count = count;
            return "OK";
        });
    channel.registerCommand(
        QStringLiteral("reply"),
        QStringLiteral("reply TEXT [count=N]: answer the next command with TEXT (escapes \\r \\n \\s \\xHH) instead of the matrix's answer"),
        [this](QStringList args) -> QByteArray {
            int count = 1;
            if (!takeCount(args, count) || args.size() < 2)
                return "ERR usage: reply TEXT [count=N]";
            replacement = Escapes::decode(args.mid(1).join(QLatin1Char(' ')));
            replaceArmed.count = count;
            return "OK";
        });
    channel.registerCommand(
        QStringLiteral("error"),
        QStringLiteral("error [TEXT] [count=N]: answer the next command with an error line (default ERROR\\r\\n)"),
        armAnswerLine("ERR usage: error [TEXT] [count=N]", "ERROR\r\n", &replacement, &replaceArmed.count));
    channel.registerCommand(
        QStringLiteral("refuse"),
        QStringLiteral("refuse [TEXT] [count=N]: refuse the next command: answer an error line (default "
                       "Error: refused.\\r\\n) and leave the matrix as it was"),
        armAnswerLine("ERR usage: refuse [TEXT] [count=N]", "Error: refused.\r\n", &refusal, &refuseArmed.count));
    channel.registerCommand(
        QStringLiteral("silent"),
        QStringLiteral("silent [count=N]: do not answer the next command"),
        [this](QStringList args) -> QByteArray {
            int count = 1;
            if (!takeCount(args, count) || args.size() != 1)
                return "ERR usage: silent [count=N]";
            replacement.clear();
            replaceArmed.count = count;
            return "OK";
        });
    channel.registerCommand(
        QStringLiteral("stream"),
        QStringLiteral("stream BYTES [count=N]: answer the next command with BYTES bytes and no line end (see also \"send\")"),
        [this](QStringList args) -> QByteArray {
            int count = 1;
            int n = 0;
            if (!takeCount(args, count) || args.size() != 2 || !toNumber(args.at(1), 1, 256 << 20, n))
                return "ERR usage: stream BYTES [count=N]";
            replacement = QByteArray(n, 'x');
            replaceArmed.count = count;
            return "OK";
        });
    channel.registerCommand(
        QStringLiteral("dropnext"),
        QStringLiteral("dropnext [count=N]: close the connection of the client that sends the next command, without answering"),
        [this](QStringList args) -> QByteArray {
            int count = 1;
            if (!takeCount(args, count) || args.size() != 1)
                return "ERR usage: dropnext [count=N]";
            dropArmed.count = count;
            return "OK";
        });
}
