#pragma once

// Shows the busy overlay over the main window for the lifetime of the guard. Before the main
// window exists (during the login) it shows nothing. Guards are not counted: the first one to
// end hides the overlay.
class WaitMaskGuard
{
public:
    explicit WaitMaskGuard(bool show = true);
    ~WaitMaskGuard();

    WaitMaskGuard(const WaitMaskGuard&) = delete;
    WaitMaskGuard& operator=(const WaitMaskGuard&) = delete;

private:
    bool shown = false;
};
