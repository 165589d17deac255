// The state of a running transfer as its progress dialog shows it. Producers on any thread
// only store values and changed marks here; the dialog's timer calls Tick on the window's
// thread, which computes the percents, samples the speed and the time left, and hands back
// what changed. Texts are copied under a lock; numbers are atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "core/GString.h"

struct TextChange {
    bool changed = false;
    GString text;
};

// What one tick must show, in this order: the file bar, the time left, the total bar, the
// source, target, speed and counter texts, the total text.
struct TransferUpdate {
    bool close = false;  // the dialog goes; nothing else is applied
    bool filePercentChanged = false;
    uint32_t filePercent = 0;
    TextChange timeLeft;
    bool totalPercentChanged = false;
    uint32_t totalPercent = 0;
    TextChange source;
    TextChange target;
    TextChange speed;
    TextChange counter;
    TextChange total;
};

class TransferMeter {
public:
    static constexpr uint32_t kSampleMs = 1000;  // the speed is sampled at most this often

    // A new operation: everything is zero, nothing marked; the speed clock starts at now.
    // Window thread only.
    void Reset(uint32_t nowMs);

    void SetSourceText(const GString& text);
    void SetTargetText(const GString& text);
    void SetFileCounter(uint32_t number, uint32_t count);
    void SetTotalSize(uint64_t size);  // also starts the operation's count again
    void SetFileSize(uint64_t size);   // also starts the file's count again
    void AddTransferred(uint64_t bytes);
    void Cancel() { cancelled.store(true); }
    bool IsCancelled() const { return cancelled.load(); }
    void RequestClose() { closeRequested.store(true); }
    bool CloseRequested() const { return closeRequested.load(); }

    // One timer tick at the millisecond clock nowMs. Window thread only.
    TransferUpdate Tick(uint32_t nowMs);

private:
    void SampleSpeed(uint32_t nowMs, TransferUpdate& update);
    static void Take(std::mutex& lock, GString& from, bool& mark, TextChange& to);

    std::mutex textLock;
    GString source, target, counter;
    bool sourceChanged = false, targetChanged = false, counterChanged = false;

    std::atomic<uint64_t> fileSize{0};
    std::atomic<uint64_t> fileDone{0};
    std::atomic<uint64_t> totalSize{0};
    std::atomic<uint64_t> totalDone{0};
    std::atomic<bool> totalChanged{false};
    std::atomic<uint64_t> bytesSinceMark{0};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> closeRequested{false};

    // The timer's own.
    uint32_t markTime = 0;
    uint32_t speed = 0;
    bool speedShown = false;
    uint32_t filePercent = 0;
    uint32_t totalPercent = 0;
    GString timeLeftShown;
};
