#pragma once

#include <QList>

class QGridLayout;
class QWidget;

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

// Lays the tiles out on view in rows of kColumns, every row and column stretching alike.
QGridLayout* layOutTiles(QWidget* view, const QList<QWidget*>& tiles);

// Calls show(tile, port) for every tile of the page, with the port it stands for, as far as the
// model has records (portCount) and the matrix has ports (model).
template <typename Tile, typename Show>
void forEachTileOfPage(const QList<Tile*>& tiles, int page, int model, int portCount, Show show)
{
    const int first = page * kPerPage;
    const int end = first + tileCount(model);
    for (int port = first; port < end && port < portCount; ++port) {
        if (Tile* tile = tiles.value(port % kPerPage))
            show(tile, port);
    }
}

} // namespace SwitchTiles
