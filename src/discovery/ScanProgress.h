// The progress window of the port threads (discovery and closing). The threads only store
// values into it; the window shows them from its own timer.
#pragma once

#include "core/GString.h"
#include "devices/ConnectProgress.h"

class ScanProgress : public ConnectProgress {
public:
    virtual void SetText(const GString& text) = 0;
    // Whether the window was shown for the running thread (a thread ends at once when not).
    virtual bool IsShown() = 0;
    // The thread is done with the window; safe from any thread.
    virtual void Close() = 0;
};
