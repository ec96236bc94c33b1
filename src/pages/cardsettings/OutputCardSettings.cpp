#include "pages/cardsettings/OutputCardSettings.h"

#include "core/CardInfo.h"
#include "core/PublicClass.h"
#include "platform/TextHelpers.h"

namespace {
const QString kPreviewType = QStringLiteral("previewType");
}

OutputCardSettings::OutputCardSettings(CommandSender sender)
    : CardPortSettings(CardKey::OutCard, std::move(sender))
{
}

bool OutputCardSettings::step(const QString& configKey)
{
    if (!hasValidType())
        return false;
    return commands().send(cardType(), QStringLiteral("CONFIG"), configKey, {port() + 1}, true);
}

bool OutputCardSettings::isPreviewCard() const
{
    return hasValidType() && cardType() == PublicClass::eCARD_TYPE_Preview_O;
}

bool OutputCardSettings::setPreviewStream(int stream)
{
    if (!isPreviewCard() || storedInt(kPreviewType, 0) == stream)
        return false;
    store(port(), kPreviewType, stream);
    return true;
}

QString OutputCardSettings::previewAddressCommand(int portNumber, const QString& address)
{
    if (!isIpAddress(address))
        return QString();
    QString command = QStringLiteral("USER/O/%1:").arg(portNumber);
    for (const QString& part : address.split(QLatin1Char('.')))
        command += QChar(ushort(part.toUInt()));
    return command + QStringLiteral("%;");
}

OutputCardSettings::AddressChange OutputCardSettings::changePreviewAddress(const QString& address)
{
    if (!isPreviewCard())
        return AddressChange::NotPreviewCard;
    const QString command = previewAddressCommand(port() + 1, address);
    if (command.isEmpty())
        return AddressChange::Invalid;
    const int target = port();
    if (!commands().sendText(command, true, nullptr, true))
        return AddressChange::Refused;
    store(target, CardKey::PreviewIp, address);
    return AddressChange::Changed;
}
