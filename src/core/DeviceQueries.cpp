#include "DeviceQueries.h"

#include "CardInfo.h"
#include "CardTypeLetter.h"
#include "GlobalState.h"
#include "LinkSender.h"
#include "PortRecords.h"
#include "PublicClass.h"
#include "Utilities.h"

#include <QStringList>

namespace {

const QString commandSection = QStringLiteral("COMMAND");

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
    , sender(linkSender)
{
}

void DeviceQueries::setSender(CommandSender commandSender)
{
    sender = std::move(commandSender);
}

bool DeviceQueries::send(const QString& cmd, bool waitReply, QByteArray* replyBytes)
{
    QString reply;
    QByteArray bytes;
    // Template commands go out in the local code page.
    const bool ok = sender && sender(cmd, waitReply, reply, bytes, false);
    if (replyBytes)
        *replyBytes = bytes;
    return ok;
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
    send(getCommand(PublicClass::eCARD_TYPE_SYSTEM, commandSection, QStringLiteral("IOStatus")), false);
    // The status lines come back unsolicited and pass through the reply parser meanwhile.
    delayMs(g_deviceModel * 40);
}

bool DeviceQueries::queryAddress(int cardKind, int slot, QString* address)
{
    const QString command = getCommand(PublicClass::eCARD_TYPE_SYSTEM, commandSection, QStringLiteral("IpCardAddr"));
    // Without a template nothing is asked, so there is no address to store.
    if (command.trimmed().isEmpty())
        return false;
    QByteArray replyBytes;
    if (!send(command.arg(cardKind).arg(slot + 1), true, &replyBytes))
        return false;
    *address = addressFromReply(replyBytes);
    return true;
}

void DeviceQueries::queryIpCardAddresses()
{
    const QString inCards = g_inCardTypes;
    for (int slot = 0; slot < inCards.size(); ++slot) {
        if (inCards.at(slot) != CardTypeLetter::IpInputLetter)
            continue;
        send(QStringLiteral("USER/I/%1:086%2%;").arg(4 * slot + 1).arg(slot + 1), true);
        // Two network processors per card: the first answers for ports 0-1, the second for 2-3.
        for (int pair = 0; pair < 2; ++pair) {
            QString address;
            if (!queryAddress(1, slot, &address))
                continue;
            for (int port = 4 * slot + 2 * pair; port < 4 * slot + 2 * pair + 2; ++port)
                storeAddress(records, port, CardKey::InCard, CardKey::Ip, address);
        }
    }

    const QString outCards = g_outCardTypes;
    for (int slot = 0; slot < outCards.size(); ++slot) {
        if (outCards.at(slot) != CardTypeLetter::PreviewOutputLetter)
            continue;
        send(QStringLiteral("USER/O/%1:086%2%;").arg(4 * slot + 1).arg(slot + 1), true);
        QString address;
        if (queryAddress(2, slot, &address))
            storeAddress(records, 4 * slot, CardKey::OutCard, CardKey::PreviewIp, address);
    }
}
