#pragma once

#include "pagekit/PortListRules.h"

class MInputListWidget;

// The port lists of the card settings pages, by the page kit's listing rules.
namespace CardPortList {

using Side = PortListRules::Side;
constexpr Side Inputs = PortListRules::Inputs;
constexpr Side Outputs = PortListRules::Outputs;

// One row per listed port of the matrix model (update false appends, true relabels); a port
// without a record gets one holding its "id".
void fill(MInputListWidget* list, Side side, bool update);

} // namespace CardPortList
