#pragma once

// One operation of the IP card panel, from a click to its end: shows the busy overlay and
// refuses a second operation that a click would start while this one waits for the card (the
// waits run events, so clicks arrive). Operations the first one runs itself are plain calls.

#include "pagekit/WaitMaskGuard.h"

#include <optional>

class PanelOperation
{
public:
    // Whether an operation runs; one per panel.
    class Gate
    {
    public:
        bool isBusy() const { return busy; }

    private:
        friend class PanelOperation;
        bool busy = false;
    };

    explicit PanelOperation(Gate& gate, bool showOverlay = true)
        : gate(gate)
        , entered(!gate.busy)
    {
        if (!entered)
            return;
        gate.busy = true;
        if (showOverlay)
            overlay.emplace(true);
    }
    ~PanelOperation()
    {
        overlay.reset();
        if (entered)
            gate.busy = false;
    }
    PanelOperation(const PanelOperation&) = delete;
    PanelOperation& operator=(const PanelOperation&) = delete;

    // False when another operation was running: do nothing and send nothing.
    bool started() const { return entered; }

private:
    Gate& gate;
    bool entered;
    std::optional<WaitMaskGuard> overlay;
};
