#include "core/DeviceQueries.h"

#include "core/CardInfo.h"
#include "core/CardTypeLetter.h"
#include "core/GlobalState.h"
#include "core/PortRecords.h"
#include "core/PublicClass.h"
#include "platform/EventLoopDelay.h"

#include <QDebug>
#include <QStringList>
#include <QTimer>

namespace {

void storeAddress(PortRecords* records, int port, const QString& subKey, const QString& field,
                  const QString& address)
{
    CardInfo record = records->getCardInfo(port);
    QJsonObject sub = record.value(subKey).toObject();
    sub.insert(field, address);
    record.insert(subKey, sub);
    records->setCardInfo(port, record);
}

} // namespace

DeviceQueries::DeviceQueries(PortRecords* records, QObject* parent)
    : QObject(parent)
    , records(records)
    , statusRetry(new QTimer(this))
{
    statusRetry->setObjectName(QStringLiteral("statusRetry"));
    statusRetry->setSingleShot(true);
    statusRetry->setTimerType(Qt::PreciseTimer);
    statusRetry->setInterval(StatusRetryMs);
    // A retry keeps the count of unanswered queries; every other way of asking starts it again.
    connect(statusRetry, &QTimer::timeout, this, &DeviceQueries::runStatusQuery);
}

void DeviceQueries::setSender(CommandSender commandSender)
{
    commands = MatrixCommands(std::move(commandSender));
}

QString DeviceQueries::addressFromReply(const QByteArray& replyBytes)
{
    QStringList parts;
    for (int i = 1; i <= 4; ++i)
        parts << QString::number(i < replyBytes.size() ? quint8(replyBytes.at(i)) : 0);
    return parts.join(QLatin1Char('.'));
}

void DeviceQueries::queryIOStatus()
{
    unansweredInARow = 0;
    runStatusQuery();
}

void DeviceQueries::requestIOStatus()
{
    unansweredInARow = 0;
    postStatusQuery();
}

void DeviceQueries::queryAfterLines()
{
    unansweredInARow = 0;
    statusWantedAfterLines = true;
}

void DeviceQueries::linesDelivered(bool asReply)
{
    if (!statusWantedAfterLines)
        return;
    statusWantedAfterLines = false;
    if (asReply)
        runStatusQuery();
    else
        postStatusQuery();
}

void DeviceQueries::routesReported()
{
    if (statusQueryRunning)
        routesSeen = true;
}

void DeviceQueries::failureReported()
{
    if (statusQueryRunning)
        failureSeen = true;
}

void DeviceQueries::setLinkUp(bool up)
{
    const bool back = up && !linkUp;
    linkUp = up;
    if (!up)
        statusRetry->stop();
    // The matrix may have switched while the link was down.
    if (back)
        requestIOStatus();
}

void DeviceQueries::postStatusQuery()
{
    if (statusQueryRunning) {
        statusQueryAgain = true;
        return;
    }
    if (statusQueryPending)
        return;
    statusQueryPending = true;
    QTimer::singleShot(0, this, [this] {
        statusQueryPending = false;
        runStatusQuery();
    });
}

void DeviceQueries::linkBusy()
{
    linkWasBusy = true;
}

void DeviceQueries::linkFree()
{
    if (statusQueryRefused)
        runStatusQuery();
}

void DeviceQueries::runStatusQuery()
{
    // Asked again while one runs (an "Open." or "Recall" among the lines it waits for): one more
    // round once this one ends covers every such request, however many came.
    if (statusQueryRunning) {
        statusQueryAgain = true;
        return;
    }
    statusRetry->stop();
    statusQueryRunning = true;
    // The last round decides: one that was not answered is asked again, whatever came before it.
    bool answered = false;
    bool quitting = false;
    do {
        statusQueryAgain = false;
        routesSeen = false;
        failureSeen = false;
        // Not sent: nothing is waited for (a wait would hold up the command that runs). Refused
        // because another command holds the link, nothing was written: it is asked once the link
        // is free and counts for nothing. A write that failed (a matrix that stopped reading) or
        // a missing template counts as unanswered: asked again after a pause, never at once. A
        // link found down asks again when it is back.
        linkWasBusy = false;
        const bool sent = commands.sendSystem(QStringLiteral("IOStatus"), {}, false);
        statusQueryRefused = !sent && linkWasBusy;
        if (sent) {
            // The status lines come back unsolicited and pass through the reply parser meanwhile.
            quitting = !delayMs(g_deviceModel * 40);
            answered = !quitting && routesSeen && !failureSeen;
        } else {
            answered = false;
            quitting = PumpingWaits::ended();
        }
        // A request made during a send that failed is kept as well: the link's "not connected"
        // box runs events, and the link may come back under it and ask for the routes.
    } while (statusQueryAgain && !quitting);
    statusQueryRunning = false;
    if (answered)
        unansweredInARow = 0;
    else if (!quitting && !statusQueryRefused && linkUp)
        statusQueryUnanswered();
}

void DeviceQueries::statusQueryUnanswered()
{
    // An error line or a silent matrix: the routes shown may be stale until a query is answered.
    // A matrix that never answers is not asked for ever: the next reconnect or report of a
    // change asks again.
    if (++unansweredInARow < UnansweredLimit) {
        statusRetry->start();
        return;
    }
    qWarning().noquote() << QStringLiteral("IO status query unanswered %1 times in a row: not asked again until "
                                           "the link reconnects or the matrix reports \"Open.\" or \"Recall\"")
                                .arg(unansweredInARow);
}

bool DeviceQueries::queryAddress(int cardKind, int slot, QString* address)
{
    // Without a template nothing is asked, so there is no address to store.
    CommandReply reply;
    if (!commands.sendSystem(QStringLiteral("IpCardAddr"), {cardKind, slot + 1}, true, &reply))
        return false;
    *address = addressFromReply(reply.bytes);
    return true;
}

DeviceQueries::IpCardProcessors DeviceQueries::readIpInputCard(int slot)
{
    // The selection makes the card's first processor answer the next query, the second the one
    // after it.
    commands.sendText(QStringLiteral("USER/I/%1:086%2%;").arg(4 * slot + 1).arg(slot + 1), true);
    IpCardProcessors card;
    for (int pair = 0; pair < 2; ++pair)
        card.answered[pair] = queryAddress(1, slot, &card.address[pair]);
    return card;
}

void DeviceQueries::queryIpCardAddresses()
{
    const QString inCards = CardTypeLetter::withinModel(g_inCardTypes, "input card letters");
    for (int slot = 0; slot < inCards.size(); ++slot) {
        if (inCards.at(slot) != CardTypeLetter::IpInputLetter)
            continue;
        const IpCardProcessors card = readIpInputCard(slot);
        for (int pair = 0; pair < 2; ++pair) {
            if (!card.answered[pair])
                continue;
            for (int port = 4 * slot + 2 * pair; port < 4 * slot + 2 * pair + 2; ++port)
                storeAddress(records, port, CardKey::InCard, CardKey::Ip, card.address[pair]);
        }
    }

    const QString outCards = CardTypeLetter::withinModel(g_outCardTypes, "output card letters");
    for (int slot = 0; slot < outCards.size(); ++slot) {
        if (outCards.at(slot) != CardTypeLetter::PreviewOutputLetter)
            continue;
        commands.sendText(QStringLiteral("USER/O/%1:086%2%;").arg(4 * slot + 1).arg(slot + 1), true);
        QString address;
        if (queryAddress(2, slot, &address))
            storeAddress(records, 4 * slot, CardKey::OutCard, CardKey::PreviewIp, address);
    }
}
