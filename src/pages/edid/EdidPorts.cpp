#include "pages/edid/EdidPorts.h"

#include "core/PublicClass.h"

namespace EdidPorts {

bool edidCapable(int cardType)
{
    switch (cardType) {
    case PublicClass::eCARD_TYPE_HDMI_I:
    case PublicClass::eCARD_TYPE_HDMI_O:
    case PublicClass::eCARD_TYPE_DVI_I:
    case PublicClass::eCARD_TYPE_DVI_O:
    case PublicClass::eCARD_TYPE_HDMI_SDI_2HDMI_I:
    case PublicClass::eCARD_TYPE_HDMI_SDI_2HDMI_O:
    case PublicClass::eCARD_TYPE_HDMI_VGA_2HDMI_I:
    case PublicClass::eCARD_TYPE_HDMI_VGA_2HDMI_O:
    case PublicClass::eCARD_TYPE_HDBT_I:
    case PublicClass::eCARD_TYPE_HDBT_O:
    case PublicClass::eCARD_TYPE_4K_HDMI_I:
    case PublicClass::eCARD_TYPE_4K_HDMI_O:
    case PublicClass::eCARD_TYPE_4K_HDBT_I:
    case PublicClass::eCARD_TYPE_4K_HDBT_O:
        return true;
    default:
        return false;
    }
}

bool takesPart(int cardType, int port)
{
    if (!edidCapable(cardType))
        return false;
    const bool fourKHdbt = cardType == PublicClass::eCARD_TYPE_4K_HDBT_I || cardType == PublicClass::eCARD_TYPE_4K_HDBT_O;
    return !(fourKHdbt && port % 2 == 0);
}

} // namespace EdidPorts
