// One phone file on its way to the desktop: the fetching thread writes the bytes as the phone
// sends them, the desktop's reader takes them on the window's thread. The reader never gets
// the file's last byte before the phone's whole answer has been judged complete, so a file
// that turns out short or refused can never have looked whole to the reader.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

#include "obex/FileSink.h"

class FetchBuffer : public FileSink {
public:
    enum class State {
        Fetching,
        Whole,   // every byte arrived and the phone ended the file as complete
        Failed,  // refused, cut short, cancelled, or more than memory holds
    };

    explicit FetchBuffer(uint32_t limit = MemoryFileSink::kMaxBytes) : bytes(limit) {}

    // Fetching thread.
    bool Reserve(uint32_t size) override;
    bool Write(const uint8_t* data, uint32_t count) override;
    void Finish(bool whole);

    // Reader's thread. The bytes from `at` on that the reader may have now (see above).
    uint32_t Readable(uint32_t at) const;
    // Copies at most count of them into out; answers how many.
    uint32_t Take(uint32_t at, uint8_t* out, uint32_t count) const;
    State CurrentState() const;
    // The bytes arrived so far (the file's size once it is whole).
    uint32_t Size() const;
    // The reader is gone: the next write is refused, so the phone's transfer stops.
    void Abandon();
    bool Abandoned() const;
    // Called on the fetching thread after every write and at the finish (the reader waits).
    void SetListener(std::function<void()> wake);

private:
    uint32_t ReadableLocked(uint32_t at) const;

    mutable std::mutex lock;
    MemoryFileSink bytes;
    State state = State::Fetching;
    bool abandoned = false;
    std::function<void()> listener;
};
