#include "pages/cardsettings/CardPortList.h"

#include "core/CardInfo.h"
#include "core/GlobalState.h"
#include "core/PortSettingStore.h"
#include "core/PublicClass.h"
#include "pagekit/MInputListWidget.h"
#include "pagekit/PageModel.h"

namespace CardPortList {

bool listed(Side side, int cardType, int port)
{
    if (side == Inputs)
        return !(cardType == PublicClass::eCARD_TYPE_4K_HDBT_I && port % 2 == 0);
    if (cardType == PublicClass::eCARD_TYPE_Preview_O)
        return port % 4 == 0;
    return !(cardType == PublicClass::eCARD_TYPE_4K_HDBT_O && port % 2 == 0);
}

void fill(MInputListWidget* list, Side side, bool update)
{
    MatrixModel* model = PageModel::model();
    const QString sub = side == Inputs ? CardKey::InCard : CardKey::OutCard;
    for (int port = 0; port < g_deviceModel; ++port) {
        const CardInfo record = PortSettingStore::ensureRecord(model, port);
        const int type = record.value(sub).toObject().value(CardKey::CardType).toInt(0);
        if (listed(side, type, port))
            list->setCardItem(port, record, side == Inputs ? 0 : 1, update);
    }
}

} // namespace CardPortList
