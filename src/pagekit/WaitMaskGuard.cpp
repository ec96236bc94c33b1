#include "pagekit/WaitMaskGuard.h"

namespace {
BusyOverlay* s_overlay = nullptr;
int s_depth = 0;
}

void WaitMaskGuard::setOverlay(BusyOverlay* overlay)
{
    s_overlay = overlay;
}

int WaitMaskGuard::depth()
{
    return s_depth;
}

WaitMaskGuard::WaitMaskGuard(bool show)
{
    if (!s_overlay || !show)
        return;
    shown = true;
    if (s_depth++ == 0)
        s_overlay->slotShowWait();
}

WaitMaskGuard::~WaitMaskGuard()
{
    if (!shown)
        return;
    shown = false;
    if (--s_depth == 0 && s_overlay)
        s_overlay->slotHideWait();
}
