#include "pagekit/PortListRules.h"

#include "core/GlobalState.h"
#include "core/PortSettingStore.h"
#include "core/PublicClass.h"
#include "pagekit/PageModel.h"

namespace PortListRules {

bool inputListed(int inCardType, int port)
{
    return !(inCardType == PublicClass::eCARD_TYPE_4K_HDBT_I && port % 2 == 0);
}

bool outputListed(int outCardType, int port)
{
    if (outCardType == PublicClass::eCARD_TYPE_Preview_O)
        return port % 4 == 0;
    return !(outCardType == PublicClass::eCARD_TYPE_4K_HDBT_O && port % 2 == 0);
}

void forEachListedPort(Side side, const std::function<bool(int cardType, int port)>& listed,
                       const std::function<void(int port, const CardInfo& record)>& add)
{
    MatrixModel* model = PageModel::model();
    const QString sub = side == Inputs ? CardKey::InCard : CardKey::OutCard;
    for (int port = 0; port < g_deviceModel; ++port) {
        const CardInfo record = PortSettingStore::ensureRecord(model, port);
        if (listed(record.value(sub).toObject().value(CardKey::CardType).toInt(0), port))
            add(port, record);
    }
}

void forEachListedPort(Side side, const std::function<void(int port, const CardInfo& record)>& add)
{
    forEachListedPort(side, side == Inputs ? inputListed : outputListed, add);
}

} // namespace PortListRules
