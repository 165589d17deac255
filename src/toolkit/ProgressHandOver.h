// What worker threads hand to a progress or wait dialog: the text, the bar's range and value,
// the cancel and close requests. Workers only store here, from any thread; the dialog's timer
// takes the changes on the window's own thread and applies them. The text is copied in and
// out under a lock, so a worker replacing it never frees a string the timer is still reading.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "core/GString.h"

// What one tick of the dialog's timer must apply, in this order.
struct ProgressTick {
    bool close = false;          // the dialog goes; nothing else is applied
    bool textChanged = false;
    GString text;
    bool rangeChanged = false;
    uint32_t rangeLow = 0;
    uint32_t rangeHigh = 100;
    bool valueChanged = false;   // the bar moves to value (steps included)
    uint32_t value = 0;
    bool appear = false;         // the appearance delay ran out on this tick
};

class ProgressHandOver {
public:
    static constexpr uint32_t kTickMs = 200;

    // A new showing with its appearance delay (0: visible at once): whatever an earlier run
    // stored is forgotten. Window thread only.
    void Reset(uint32_t delayMs, uint32_t rangeHigh);

    void SetText(const GString& text);
    // A maximum below 1 counts as 1.
    void SetRange(uint32_t low, uint32_t high);
    void SetPosition(uint32_t value);
    // One more step: the bar advances by the steps made since the last tick.
    void Step();
    void Cancel() { cancelled.store(true); }
    bool IsCancelled() const { return cancelled.load(); }
    void RequestClose() { closeRequested.store(true); }
    bool CloseRequested() const { return closeRequested.load(); }
    // Whether the dialog is still waiting for its delay. Window thread only.
    bool Waiting() const { return countdownMs > 0; }

    // One timer tick (every kTickMs): takes what changed since the last one. Window thread only.
    ProgressTick TakeTick();

private:
    std::mutex lock;
    GString text;
    bool textChanged = false;
    uint32_t rangeLow = 0;
    uint32_t rangeHigh = 100;
    bool rangeChanged = false;
    uint32_t value = 0;
    uint32_t shownValue = 0;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> closeRequested{false};
    uint32_t countdownMs = 0;
};
