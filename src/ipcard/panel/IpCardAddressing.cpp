#include "ipcard/panel/IpCardAddressing.h"

#include "core/CardInfo.h"
#include "core/MatrixModel.h"
#include "platform/TextHelpers.h"

#include <QStringList>

namespace IpCardAddressing {

QString changeCommand(int cardIndex, const QString& address)
{
    if (!isIpAddress(address))
        return QString();
    QString octets;
    for (const QString& part : address.split(QLatin1Char('.')))
        octets += QChar(ushort(part.toUInt() & 0xFF));
    return QStringLiteral("USER/I/%1:").arg(cardIndex + 1) + octets + QStringLiteral("%;");
}

void storeAddress(MatrixModel* model, int cardIndex, const QString& address)
{
    for (int port : {cardIndex, partnerIndex(cardIndex)}) {
        CardInfo record = model->getCardInfo(port);
        InCardInfo in = record.value(CardKey::InCard).toObject();
        in.insert(CardKey::Ip, address);
        record.insert(CardKey::InCard, in);
        model->setCardInfo(port, record);
    }
}

} // namespace IpCardAddressing
