#include "pagekit/WaitMaskGuard.h"

namespace {
BusyOverlay* s_overlay = nullptr;
}

void WaitMaskGuard::setOverlay(BusyOverlay* overlay)
{
    s_overlay = overlay;
}

WaitMaskGuard::WaitMaskGuard(bool show)
{
    if (!s_overlay)
        return;
    shown = show;
    if (shown)
        s_overlay->slotShowWait();
}

WaitMaskGuard::~WaitMaskGuard()
{
    if (shown && s_overlay)
        s_overlay->slotHideWait();
    shown = false;
}
