// Base of every worker thread. A subclass clears its stop flag and its own state in Prepare
// and does its work in Run; the object can be started again once the previous run ended.
#pragma once

#include <atomic>
#include <cstdint>

class ThreadObject {
public:
    ThreadObject() = default;
    ThreadObject(const ThreadObject&) = delete;
    ThreadObject& operator=(const ThreadObject&) = delete;
    // Releases the system handle only; the thread must have ended (see Wait).
    virtual ~ThreadObject();
    virtual void Prepare() = 0;
    virtual void Run() = 0;
    virtual void RequestStop();

    // Starts the thread; false while a previous run is still going or when no thread could be
    // created.
    bool Start();
    // Waits up to timeoutMs (0xFFFFFFFF: no limit) for the current run to end. True when no run
    // is going any more. Call it from the owner, never from the thread itself.
    bool Wait(uint32_t timeoutMs);
    bool IsRunning() const { return running.load(); }
    bool StopRequested() const { return stopRequested.load(); }
    uint32_t ThreadId() const { return threadId; }

    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

    // The body of the system thread: Prepare, Run, then the object is idle again.
    static unsigned ThreadMain(void* object);

protected:
    // Every subclass calls this from Prepare.
    void ClearStopRequest() { stopRequested.store(false); }

    std::atomic<bool> stopRequested{false};

private:
    void* handle = nullptr;  // HANDLE on Windows; the platform's thread record natively
    uint32_t threadId = 0;
    std::atomic<bool> running{false};
};
