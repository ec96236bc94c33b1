#include "pagekit/PortListRules.h"

#include "core/PublicClass.h"

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

} // namespace PortListRules
