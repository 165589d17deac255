// Where a file read from a phone goes, and the sink that keeps it whole in memory.
#pragma once

#include <cstdint>

// Receives the bytes of one file in order, as they arrive.
class FileSink {
public:
    virtual ~FileSink() = default;
    // The size the file will have, when the phone or the listing tells it before the data.
    // False when the sink cannot take that many bytes: the read then stops at once.
    virtual bool Reserve(uint32_t size) = 0;
    // The next count bytes of the file; false when they cannot be kept (the read stops).
    virtual bool Write(const uint8_t* data, uint32_t count) = 0;
};

// Keeps the file in one buffer that grows as bytes arrive, up to a limit.
class MemoryFileSink : public FileSink {
public:
    // Files are held whole in memory: a larger file is refused rather than let the process
    // run out of memory.
    static constexpr uint32_t kMaxBytes = 256u * 1024 * 1024;

    explicit MemoryFileSink(uint32_t limit = kMaxBytes) : limit(limit) {}
    MemoryFileSink(const MemoryFileSink&) = delete;
    MemoryFileSink& operator=(const MemoryFileSink&) = delete;
    ~MemoryFileSink() override;

    bool Reserve(uint32_t size) override;
    bool Write(const uint8_t* data, uint32_t count) override;

    const uint8_t* Data() const { return data; }
    uint32_t Size() const { return size; }

private:
    bool Grow(uint32_t needed);

    uint32_t limit;
    uint8_t* data = nullptr;
    uint32_t size = 0;
    uint32_t capacity = 0;
};
