// What a connecting port reports to: the progress dialog of the running port scan. The
// dialog only stores the values (its own timer shows them), so the calls are cheap; the
// cancel flag is the one the user sets with the dialog's button.
#pragma once

#include <cstdint>

class ConnectProgress {
public:
    virtual ~ConnectProgress() = default;
    virtual void SetPosition(uint32_t position) = 0;
    virtual void SetRange(uint32_t low, uint32_t high) = 0;
    virtual void Step() = 0;
    virtual bool IsCancelled() = 0;
};
