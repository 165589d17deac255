// The controls the progress and wait dialogs share: Cancel (2), the text (10300) and the bar
// (10301), and how a tick of the dialog's timer is applied to them.
#pragma once

#include <windows.h>

#include "toolkit/ProgressHandOver.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/StaticControl.h"

class ProgressControls {
public:
    // Binds the three controls of the dialog and sets the bar to 0 in 0..rangeHigh, step 1.
    void Bind(HWND dialog, uint32_t rangeHigh);
    // A new run in the same window: no text, the bar at 0, Cancel enabled.
    void Reset(uint32_t rangeHigh);
    // The text, range and bar value of the tick (the rest is the dialog's).
    void Apply(const ProgressTick& tick);
    // Cancel pressed: the button greys until the dialog closes.
    void DisableCancel();
    HWND Bar() const { return bar; }

    Button cancel;
    StaticControl text;

private:
    HWND bar = nullptr;
};
