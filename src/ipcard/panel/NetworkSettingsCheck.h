#pragma once

// Whether the network settings typed for an IP card may be sent to it.

#include <QString>

struct NetworkSettingsInput
{
    QString address;
    QString mask;
    QString gateway;
    QString dns1;
    QString dns2;
};

enum class NetworkSettingsProblem {
    None,
    InvalidAddress,          // one of the five is not a dotted IPv4 address
    GatewayOutsideNetwork,   // the gateway is not in the card's own network
};

// The gateway must lie in the network that the address and the mask give (a /24 mask asks for
// the first three numbers to be equal, a /16 mask for the first two).
NetworkSettingsProblem checkNetworkSettings(const NetworkSettingsInput& input);
