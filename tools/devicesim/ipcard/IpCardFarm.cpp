#include "IpCardFarm.h"

#include "SimulatedIpCard.h"

#include <QMetaObject>
#include <QThread>

IpCardFarm::IpCardFarm(QObject* parent)
    : QObject(parent)
{
}

bool IpCardFarm::start(const QList<QHostAddress>& addresses, quint16 port, QString* error)
{
    for (const QHostAddress& address : addresses) {
        auto* card = new SimulatedIpCard(address, this);
        if (!card->listen(port, error)) {
            delete card;
            return false;
        }
        cards.append(card);
        connect(card, &SimulatedIpCard::moved, this, [this, card](const QHostAddress&, const QHostAddress& to) {
            emit cardMoved(int(cards.indexOf(card)), to);
        });
    }
    return true;
}

void IpCardFarm::followAddresses(const QList<QHostAddress>& addresses)
{
    for (int i = 0; i < cards.size() && i < addresses.size(); ++i) {
        if (!cards.at(i)->address().isEqual(addresses.at(i)))
            cards.at(i)->moveTo(addresses.at(i));
    }
}

QString IpCardFarm::helpText()
{
    return QStringLiteral(
        "ipcard list | ipcard state <addr> | ipcard requests <addr> [count] | ipcard views <addr> | "
        "ipcard ptz <addr> [clear] | ipcard applied <addr|all> <output> <view> (any view id) | "
        "ipcard fault <addr|all> <result N|silence|close|reset|late MS|wrongid|truncate N|cut N|bodylen N|garbage N|split MS|babble MS|latebody MS> "
        "[on CLASS/COMMAND] [times N|always] | ipcard clear <addr|all> | ipcard factory <addr|all> | "
        "ipcard drop <addr|all> [reset] | ipcard downtime <addr|all> <ms> (restart downtime, default 3000) | "
        "ipcard log <addr|all> <count|full> | ipcard keepsaved <addr|all> <on|off> | "
        "ipcard badname <addr|all> (first source's name not UTF-8)");
}

quint16 IpCardFarm::portOf(const QHostAddress& address) const
{
    for (const SimulatedIpCard* card : cards) {
        if (card->address() == address)
            return card->port();
    }
    return 0;
}

QByteArray IpCardFarm::control(const QString& line)
{
    return control(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

QByteArray IpCardFarm::control(const QStringList& args)
{
    if (QThread::currentThread() == thread())
        return runControl(args);
    QByteArray answer;
    QMetaObject::invokeMethod(this, [this, &args, &answer] { answer = runControl(args); },
                              Qt::BlockingQueuedConnection);
    return answer;
}

QList<SimulatedIpCard*> IpCardFarm::select(const QString& which) const
{
    if (which == QLatin1String("all"))
        return cards;
    // A card that moved is also found by the address it started on.
    const QHostAddress address(which);
    QList<SimulatedIpCard*> chosen;
    for (SimulatedIpCard* card : cards) {
        if (card->address() == address || card->homeAddress() == address)
            chosen.append(card);
    }
    return chosen;
}

QByteArray IpCardFarm::runControl(const QStringList& args)
{
    const QString verb = args.value(0);
    if (verb == QLatin1String("list")) {
        QStringList items;
        for (const SimulatedIpCard* card : cards)
            items << QStringLiteral("%1:%2").arg(card->address().toString()).arg(card->port());
        return "OK " + items.join(QLatin1Char(' ')).toLatin1();
    }
    if (args.size() < 2)
        return "ERR usage: " + helpText().toLatin1();
    const QList<SimulatedIpCard*> chosen = select(args.at(1));
    if (chosen.isEmpty())
        return "ERR no IP card at " + args.at(1).toLatin1();

    if (verb == QLatin1String("state") && chosen.size() == 1)
        return "OK " + chosen.first()->describe();
    if (verb == QLatin1String("views") && chosen.size() == 1)
        return "OK " + chosen.first()->describeViews();
    if (verb == QLatin1String("ptz") && chosen.size() == 1) {
        if (args.value(2) == QLatin1String("clear")) {
            chosen.first()->forgetPtz();
            return "OK";
        }
        return "OK " + chosen.first()->describePtz();
    }
    if (verb == QLatin1String("applied")) {
        bool outputOk = false;
        bool viewOk = false;
        const int output = args.value(2).toInt(&outputOk);
        const int view = args.value(3).toInt(&viewOk);
        for (SimulatedIpCard* card : chosen) {
            if (!outputOk || !viewOk || !card->forceAppliedView(output, view))
                return "ERR applied needs an output 0-1 and a view id";
        }
        return "OK";
    }
    if (verb == QLatin1String("requests") && chosen.size() == 1) {
        bool ok = true;
        const int count = args.size() > 2 ? args.at(2).toInt(&ok) : 100;
        if (!ok || count < 0)
            return "ERR count";
        return "OK " + chosen.first()->recentRequests(count);
    }
    if (verb == QLatin1String("fault")) {
        CardFault fault;
        QString error;
        if (!CardFault::parse(args.mid(2), &fault, &error))
            return "ERR " + error.toLatin1();
        for (SimulatedIpCard* card : chosen)
            card->addFault(fault);
        return "OK";
    }
    if (verb == QLatin1String("clear")) {
        for (SimulatedIpCard* card : chosen)
            card->clearFaults();
        return "OK";
    }
    if (verb == QLatin1String("drop")) {
        const bool withReset = args.value(2) == QLatin1String("reset");
        for (SimulatedIpCard* card : chosen)
            card->dropConnections(withReset);
        return "OK";
    }
    if (verb == QLatin1String("downtime")) {
        bool ok = false;
        const int ms = args.value(2).toInt(&ok);
        if (!ok || ms < 0)
            return "ERR downtime needs milliseconds";
        for (SimulatedIpCard* card : chosen)
            card->setDowntime(ms);
        return "OK";
    }
    if (verb == QLatin1String("log")) {
        bool ok = false;
        const int count = args.value(2).toInt(&ok);
        if (args.value(2) != QLatin1String("full") && (!ok || count < 0 || count > 1000000))
            return "ERR log needs a count or full";
        for (SimulatedIpCard* card : chosen) {
            if (ok)
                card->setLogEntries(count);
            else
                card->fillLogToReplyLimit();
        }
        return "OK";
    }
    if (verb == QLatin1String("keepsaved")) {
        const QString value = args.value(2);
        if (value != QLatin1String("on") && value != QLatin1String("off"))
            return "ERR keepsaved needs on or off";
        for (SimulatedIpCard* card : chosen)
            card->setKeepSavedFields(value == QLatin1String("on"));
        return "OK";
    }
    if (verb == QLatin1String("badname")) {
        for (SimulatedIpCard* card : chosen)
            card->breakFirstSourceName();
        return "OK";
    }
    if (verb == QLatin1String("factory")) {
        for (SimulatedIpCard* card : chosen)
            card->factoryReset();
        return "OK";
    }
    return "ERR usage: " + helpText().toLatin1();
}
