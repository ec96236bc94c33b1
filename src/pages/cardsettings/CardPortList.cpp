#include "pages/cardsettings/CardPortList.h"

#include "pagekit/MInputListWidget.h"

namespace CardPortList {

void fill(MInputListWidget* list, PortListRules::Side side, bool update)
{
    PortListRules::forEachListedPort(side, [list, side, update](int port, const CardInfo& record) {
        list->setCardItem(port, record, side == PortListRules::Inputs ? 0 : 1, update);
    });
}

} // namespace CardPortList
