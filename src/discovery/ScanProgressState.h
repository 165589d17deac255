// A progress record without a window: keeps what the port threads report and the user's
// cancel request. The main window shows it (when it receives the port threads' progress
// message) and cancels it; tests read it.
#pragma once

#include <atomic>
#include <mutex>

#include "discovery/ScanProgress.h"

class ScanProgressState : public ScanProgress {
public:
    // Shown for a new run: the cancel request of an earlier run is forgotten.
    void Show();
    // The user's cancel.
    void Cancel() { cancelled.store(true); }

    void SetPosition(uint32_t value) override;
    void SetRange(uint32_t low, uint32_t high) override;
    void Step() override;
    bool IsCancelled() override { return cancelled.load(); }
    void SetText(const GString& text) override;
    bool IsShown() override { return shown.load(); }
    void Close() override { shown.store(false); }

    GString Text();
    uint32_t Position() const { return position.load(); }
    uint32_t RangeHigh() const { return rangeHigh.load(); }
    uint32_t Steps() const { return steps.load(); }
    uint32_t Shows() const { return shows.load(); }

private:
    std::mutex textMutex;
    GString text;
    std::atomic<uint32_t> position{0};
    std::atomic<uint32_t> rangeHigh{1};
    std::atomic<uint32_t> steps{0};
    std::atomic<uint32_t> shows{0};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> shown{false};
};
