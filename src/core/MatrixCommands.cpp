#include "core/MatrixCommands.h"

#include "core/PublicClass.h"

#include <QDebug>
#include <QMap>

MatrixCommands::MatrixCommands(CommandSender commandSender)
    : sender(commandSender ? std::move(commandSender) : CommandSender(linkSender))
{
}

QString MatrixCommands::fill(const QString& pattern, const CommandArgs& args)
{
    // Placeholders %1..%99 as QString::arg() knows them, each number taking the argument of its
    // rank among the numbers present.
    struct Placeholder { int at; int length; int number; };
    QList<Placeholder> found;
    QMap<int, int> rankOf;
    for (int i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern.at(i) != QLatin1Char('%') || !pattern.at(i + 1).isDigit()
            || pattern.at(i + 1).unicode() > '9')
            continue;
        int number = pattern.at(i + 1).unicode() - '0';
        int length = 2;
        if (i + 2 < pattern.size() && pattern.at(i + 2).unicode() >= '0' && pattern.at(i + 2).unicode() <= '9') {
            number = number * 10 + (pattern.at(i + 2).unicode() - '0');
            length = 3;
        }
        if (number == 0)
            continue;
        found.append({i, length, number});
        rankOf.insert(number, 0);
        i += length - 1;
    }
    int rank = 0;
    for (auto it = rankOf.begin(); it != rankOf.end(); ++it)
        it.value() = rank++;

    QString text;
    int from = 0;
    for (const Placeholder& p : found) {
        text += pattern.midRef(from, p.at - from);
        const int index = rankOf.value(p.number);
        text += index < args.size() ? args.at(index).text : pattern.mid(p.at, p.length);
        from = p.at + p.length;
    }
    text += pattern.midRef(from);
    return text;
}

QString MatrixCommands::build(int cardType, const QString& section, const QString& key,
                              const CommandArgs& args)
{
    const QString pattern = getCommand(cardType, section, key);
    if (pattern.trimmed().isEmpty()) {
        qWarning().noquote() << QStringLiteral("no command template %1/%2 in %3")
                                    .arg(section, key, commandFilePath(cardType));
        return QString();
    }
    return fill(pattern, args);
}

QString MatrixCommands::buildSystem(const QString& key, const CommandArgs& args)
{
    return build(PublicClass::eCARD_TYPE_SYSTEM, QStringLiteral("COMMAND"), key, args);
}

bool MatrixCommands::send(int cardType, const QString& section, const QString& key,
                          const CommandArgs& args, bool waitReply, CommandReply* reply) const
{
    const QString command = build(cardType, section, key, args);
    if (command.isEmpty())
        return false;
    return sendText(command, waitReply, reply, false);
}

bool MatrixCommands::sendSystem(const QString& key, const CommandArgs& args, bool waitReply,
                                CommandReply* reply) const
{
    return send(PublicClass::eCARD_TYPE_SYSTEM, QStringLiteral("COMMAND"), key, args, waitReply, reply);
}

bool MatrixCommands::sendText(const QString& command, bool waitReply, CommandReply* reply,
                              bool latin1) const
{
    CommandReply answer;
    const bool ok = sender(command, waitReply, answer.text, answer.bytes, latin1);
    if (reply)
        *reply = answer;
    return ok;
}
