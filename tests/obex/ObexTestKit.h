// What the OBEX engine tests share: an OBEX_FTP that exposes its internals and recorders of
// the progress calls.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "obex/OBEX_FTP.h"
#include "obex/Progress.h"

class TestObex : public OBEX_FTP {
public:
    using OBEX_FTP::Abort;
    using OBEX_FTP::FindBody;
    using OBEX_FTP::ReadResponse;
};

class RecordingProgress : public OperationProgress {
public:
    bool IsCancelled() override
    {
        ++cancelChecks;
        return cancelAfterChecks >= 0 && cancelChecks > cancelAfterChecks;
    }
    void SetFileSize(uint32_t size) override { fileSize = size; }
    void AddTransferred(uint32_t bytes) override
    {
        transferred += bytes;
        chunks.push_back(bytes);
    }
    void PumpMessages() override { ++pumps; }

    int cancelAfterChecks = -1;  // IsCancelled answers true from check n + 1 on; -1: never
    int cancelChecks = 0;
    uint32_t fileSize = 0xFFFFFFFFu;
    uint64_t transferred = 0;
    std::vector<uint32_t> chunks;
    int pumps = 0;
};

class CountingWait : public WaitProgress {
public:
    void SetRange(uint32_t, uint32_t high) override { range = high; }
    void Step() override { ++steps; }
    bool IsCancelled() override { return cancelAfterSteps >= 0 && steps >= cancelAfterSteps; }
    uint32_t range = 0;
    int steps = 0;
    int cancelAfterSteps = -1;  // cancelled once so many steps were made; -1: never
};
