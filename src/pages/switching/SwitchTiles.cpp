#include "pages/switching/SwitchTiles.h"

#include "core/PublicClass.h"

#include <QtGlobal>

namespace SwitchTiles {

int tileCount(int model)
{
    return qBound(0, model, kPerPage);
}

int lastPage(int model)
{
    return model > 0 ? (model - 1) / kPerPage : 0;
}

int nextPage(int page, int model)
{
    ++page;
    return page > lastPage(model) ? 0 : page;
}

int previousPage(int page, int model)
{
    --page;
    return page < 0 ? lastPage(model) : page;
}

bool outputOffered(int outCardType, int port)
{
    if (outCardType == PublicClass::eCARD_TYPE_NONE || outCardType == PublicClass::eCARD_TYPE_Preview_O)
        return false;
    return !(outCardType == PublicClass::eCARD_TYPE_4K_HDBT_O && port % 2 == 0);
}

bool inputListed(int inCardType, int port)
{
    return !(inCardType == PublicClass::eCARD_TYPE_4K_HDBT_I && port % 2 == 0);
}

} // namespace SwitchTiles
