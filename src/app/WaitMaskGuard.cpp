#include "WaitMaskGuard.h"

#include "GlobalState.h"
#include "MainWindow.h"

WaitMaskGuard::WaitMaskGuard(bool show)
{
    if (!g_mainWindowReady || !MainWindow::exists())
        return;
    shown = show;
    if (shown)
        MainWindow::instance()->slotShowWait();
}

WaitMaskGuard::~WaitMaskGuard()
{
    if (shown && g_mainWindowReady && MainWindow::exists())
        MainWindow::instance()->slotHideWait();
    shown = false;
}
