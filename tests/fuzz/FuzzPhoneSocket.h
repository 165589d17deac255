// A socket whose far end answers with the fuzz input, handed out in chunks of varying size
// (a phone's answer rarely arrives in one piece). Each fuzz target checks its own writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "transport/Socket.h"

class FuzzPhoneSocket : public Socket {
public:
    FuzzPhoneSocket(const uint8_t* data, size_t size, int32_t channel, size_t chunkCycle)
        : Socket(nullptr, channel), data(data), size(size), chunkCycle(chunkCycle)
    {
    }
    ~FuzzPhoneSocket() override { Close(); }
    bool Open() override { return true; }
    bool Close() override { return true; }
    bool IsOpen() override { return true; }
    int32_t Read(void* buffer, int32_t count) override
    {
        size_t n = size - at;
        if (n > static_cast<size_t>(count))
            n = static_cast<size_t>(count);
        if (n > 1 + (at % chunkCycle))
            n = 1 + (at % chunkCycle);
        std::memcpy(buffer, data + at, n);
        at += n;
        return static_cast<int32_t>(n);
    }

private:
    const uint8_t* data;
    size_t size;
    size_t chunkCycle;
    size_t at = 0;
};
