// Native side of ThreadObject over std::thread, for portable code under test.
#include "core/ThreadObject.h"

#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

std::mutex joinLock;

std::thread* AsThread(void* handle) { return static_cast<std::thread*>(handle); }

// Joins and frees a finished run's thread record.
void Release(void*& handle)
{
    std::lock_guard<std::mutex> guard(joinLock);
    if (handle == nullptr || AsThread(handle)->get_id() == std::this_thread::get_id())
        return;
    AsThread(handle)->join();
    delete AsThread(handle);
    handle = nullptr;
}

}  // namespace

ThreadObject::~ThreadObject() { Release(handle); }

bool ThreadObject::Start()
{
    bool idle = false;
    if (!running.compare_exchange_strong(idle, true))
        return false;
    Release(handle);
    static std::atomic<uint32_t> nextId{1};
    threadId = nextId.fetch_add(1);
    try {
        handle = new std::thread(ThreadMain, this);
    } catch (const std::system_error&) {
        running.store(false);
        return false;
    }
    return true;
}

bool ThreadObject::Wait(uint32_t timeoutMs)
{
    if (handle != nullptr && AsThread(handle)->get_id() == std::this_thread::get_id())
        return !running.load();
    const auto start = std::chrono::steady_clock::now();
    while (running.load()) {
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (timeoutMs != kInfinite && waited.count() >= timeoutMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Release(handle);
    return true;
}
