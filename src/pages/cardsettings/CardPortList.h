#pragma once

class MInputListWidget;

// Which ports the card settings pages list, and the filling of their port lists.
namespace CardPortList {

enum Side { Inputs, Outputs };

// Inputs: every port except the even ones of a 4K HDBT input card. Outputs: a preview card once,
// at the first port of its slot; of a 4K HDBT output card only the odd ports.
bool listed(Side side, int cardType, int port);

// One row per listed port of the matrix model (update false appends, true relabels); a port
// without a record gets one holding its "id".
void fill(MInputListWidget* list, Side side, bool update);

} // namespace CardPortList
