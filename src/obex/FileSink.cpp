#include "obex/FileSink.h"

#include <cstdlib>
#include <cstring>

namespace {
constexpr uint32_t kFirstCapacity = 64 * 1024;
}  // namespace

MemoryFileSink::~MemoryFileSink()
{
    std::free(data);
}

bool MemoryFileSink::Grow(uint32_t needed)
{
    if (needed <= capacity)
        return true;
    if (needed > limit)
        return false;
    uint64_t next = capacity < kFirstCapacity ? kFirstCapacity : static_cast<uint64_t>(capacity) * 2;
    if (next < needed)
        next = needed;
    if (next > limit)
        next = limit;
    void* grown = std::realloc(data, next);
    if (grown == nullptr)
        return false;
    data = static_cast<uint8_t*>(grown);
    capacity = static_cast<uint32_t>(next);
    return true;
}

bool MemoryFileSink::Reserve(uint32_t expected)
{
    if (expected <= capacity)
        return true;
    if (expected > limit)
        return false;
    // Exactly the announced size: a large file is not doubled past what it needs.
    void* grown = std::realloc(data, expected);
    if (grown == nullptr)
        return false;
    data = static_cast<uint8_t*>(grown);
    capacity = expected;
    return true;
}

bool MemoryFileSink::Write(const uint8_t* bytes, uint32_t count)
{
    if (count == 0)
        return true;
    if (count > limit - size || !Grow(size + count))
        return false;
    std::memcpy(data + size, bytes, count);
    size += count;
    return true;
}
