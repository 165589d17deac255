#include "filemanager/FetchBuffer.h"

#include <cstring>

bool FetchBuffer::Reserve(uint32_t size)
{
    std::lock_guard<std::mutex> guard(lock);
    return !abandoned && bytes.Reserve(size);
}

bool FetchBuffer::Write(const uint8_t* data, uint32_t count)
{
    std::lock_guard<std::mutex> guard(lock);
    if (abandoned || !bytes.Write(data, count))
        return false;
    if (listener)
        listener();
    return true;
}

void FetchBuffer::Finish(bool whole)
{
    std::lock_guard<std::mutex> guard(lock);
    state = whole && !abandoned ? State::Whole : State::Failed;
    if (listener)
        listener();
}

uint32_t FetchBuffer::ReadableLocked(uint32_t at) const
{
    uint32_t end = bytes.Size();
    // The last byte waits for the verdict.
    if (state == State::Fetching && end > 0)
        --end;
    else if (state == State::Failed)
        end = 0;
    return end > at ? end - at : 0;
}

uint32_t FetchBuffer::Readable(uint32_t at) const
{
    std::lock_guard<std::mutex> guard(lock);
    return ReadableLocked(at);
}

uint32_t FetchBuffer::Take(uint32_t at, uint8_t* out, uint32_t count) const
{
    std::lock_guard<std::mutex> guard(lock);
    const uint32_t available = ReadableLocked(at);
    const uint32_t n = count < available ? count : available;
    if (n > 0)
        std::memcpy(out, bytes.Data() + at, n);
    return n;
}

FetchBuffer::State FetchBuffer::CurrentState() const
{
    std::lock_guard<std::mutex> guard(lock);
    return state;
}

uint32_t FetchBuffer::Size() const
{
    std::lock_guard<std::mutex> guard(lock);
    return bytes.Size();
}

void FetchBuffer::Abandon()
{
    std::lock_guard<std::mutex> guard(lock);
    abandoned = true;
    listener = nullptr;
}

bool FetchBuffer::Abandoned() const
{
    std::lock_guard<std::mutex> guard(lock);
    return abandoned;
}

void FetchBuffer::SetListener(std::function<void()> wake)
{
    std::lock_guard<std::mutex> guard(lock);
    listener = std::move(wake);
}
