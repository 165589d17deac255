// Progress sinks for the Samsung tests: they count what the file access reports and can
// cancel a transfer at a chosen point.
#pragma once

#include <cstdint>
#include <functional>

#include "obex/Progress.h"

// Other subsystems' tests have sinks of their own in the same test program.
namespace samsung_test {

class RecordingProgress : public OperationProgress {
public:
    bool IsCancelled() override
    {
        ++cancelChecks;
        return cancelWhen && cancelWhen(*this);
    }
    void SetFileSize(uint32_t size) override { fileSize = size; }
    void AddTransferred(uint32_t bytes) override
    {
        transferred += bytes;
        ++additions;
    }
    void PumpMessages() override { ++pumps; }

    std::function<bool(const RecordingProgress&)> cancelWhen;
    int cancelChecks = 0;
    uint32_t fileSize = 0;
    uint64_t transferred = 0;
    int additions = 0;
    int pumps = 0;
};

class RecordingWait : public WaitProgress {
public:
    void SetRange(uint32_t low, uint32_t high) override
    {
        rangeLow = low;
        rangeHigh = high;
    }
    void Step() override { ++steps; }

    uint32_t rangeLow = 0;
    uint32_t rangeHigh = 0;
    int steps = 0;
};

}  // namespace samsung_test
