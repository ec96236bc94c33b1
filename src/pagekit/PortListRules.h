#pragma once

// Which ports the port lists show, by the card type of their slot. A 4K HDBT card carries each
// signal on a pair of ports, so only the odd 0-based indexes are listed; a preview output card
// is one stream source, listed once by the first port of its four.
namespace PortListRules {

bool inputListed(int inCardType, int port);
bool outputListed(int outCardType, int port);

} // namespace PortListRules
