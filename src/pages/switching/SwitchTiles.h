#pragma once

// Paging of the output tiles on the switching page and which ports they offer.
namespace SwitchTiles {

constexpr int kPerPage = 16;
constexpr int kColumns = 4;

// Tiles made for a matrix of that many ports: min(model, 16).
int tileCount(int model);
// Index of the last page: (model - 1) / 16.
int lastPage(int model);
// The neighbouring page, wrapping around at both ends.
int nextPage(int page, int model);
int previousPage(int page, int model);

// Whether an output port can be switched from its tile: a card is fitted, it is not a preview
// output, and the port lists would show it (PortListRules).
bool outputOffered(int outCardType, int port);

} // namespace SwitchTiles
