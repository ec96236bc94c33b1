#include "ipcard/panel/NetworkSettingsCheck.h"

#include "platform/TextHelpers.h"

#include <QStringList>

namespace {

// A text that isIpAddress() accepted, as a 32-bit number.
quint32 ipv4Value(const QString& text)
{
    quint32 value = 0;
    for (const QString& part : text.split(QLatin1Char('.')))
        value = (value << 8) | (part.toUInt() & 0xFF);
    return value;
}

} // namespace

NetworkSettingsProblem checkNetworkSettings(const NetworkSettingsInput& input)
{
    for (const QString* text : {&input.address, &input.mask, &input.gateway, &input.dns1, &input.dns2}) {
        if (!isIpAddress(*text))
            return NetworkSettingsProblem::InvalidAddress;
    }
    const quint32 mask = ipv4Value(input.mask);
    if ((ipv4Value(input.address) & mask) != (ipv4Value(input.gateway) & mask))
        return NetworkSettingsProblem::GatewayOutsideNetwork;
    return NetworkSettingsProblem::None;
}
