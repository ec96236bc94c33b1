#pragma once

// What the guard lays over the main window while a device operation runs. The application's
// main window plugs its overlay in once it exists; the pages only ever see the guard.
class BusyOverlay
{
public:
    virtual ~BusyOverlay() = default;
    virtual void slotShowWait() = 0;
    virtual void slotHideWait() = 0;
};

// Shows the busy overlay for the lifetime of the guard. With no overlay plugged in (during the
// login, or a page used on its own) it shows nothing. Guards nest: the overlay shows with the
// first and hides only when the outermost one ends, so an operation that runs a shorter one
// inside stays covered until it is done.
class WaitMaskGuard
{
public:
    explicit WaitMaskGuard(bool show = true);
    ~WaitMaskGuard();

    WaitMaskGuard(const WaitMaskGuard&) = delete;
    WaitMaskGuard& operator=(const WaitMaskGuard&) = delete;

    // The overlay to show from now on; null unplugs it (the main window does so as it goes).
    static void setOverlay(BusyOverlay* overlay);
    // Guards that hold the overlay shown now.
    static int depth();

private:
    bool shown = false;
};
