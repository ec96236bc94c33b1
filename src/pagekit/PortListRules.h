#pragma once

#include "core/CardInfo.h"

#include <functional>

// Which ports the port lists show, by the card type of their slot. A 4K HDBT card carries each
// signal on a pair of ports, so only the odd 0-based indexes are listed; a preview output card
// is one stream source, listed once by the first port of its four.
namespace PortListRules {

bool inputListed(int inCardType, int port);
bool outputListed(int outCardType, int port);

enum Side { Inputs, Outputs };

// Calls add(port, record) for every port of the matrix model whose card on that side passes
// listed(cardType, port), in port order. A port without a record gets one holding its "id" first.
void forEachListedPort(Side side, const std::function<bool(int cardType, int port)>& listed,
                       const std::function<void(int port, const CardInfo& record)>& add);
// The same with the rule of that side above.
void forEachListedPort(Side side, const std::function<void(int port, const CardInfo& record)>& add);

} // namespace PortListRules
