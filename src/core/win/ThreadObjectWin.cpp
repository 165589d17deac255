#include "core/ThreadObject.h"

#include <windows.h>

#include <process.h>

namespace {

unsigned __stdcall Entry(void* object) { return ThreadObject::ThreadMain(object); }

}  // namespace

// The handle stays open after the body returns so that Wait can still wait on it; it is
// closed here or when the object is started again.
ThreadObject::~ThreadObject()
{
    if (handle != nullptr)
        CloseHandle(handle);
}

bool ThreadObject::Start()
{
    bool idle = false;
    if (!running.compare_exchange_strong(idle, true))
        return false;
    if (handle != nullptr) {
        // The previous run has cleared running; let its system thread finish leaving.
        WaitForSingleObject(handle, INFINITE);
        CloseHandle(handle);
        handle = nullptr;
    }
    unsigned id = 0;
    const uintptr_t h = _beginthreadex(nullptr, 0, Entry, this, 0, &id);
    if (h == 0) {
        running.store(false);
        return false;
    }
    handle = reinterpret_cast<void*>(h);
    threadId = id;
    return true;
}

bool ThreadObject::Wait(uint32_t timeoutMs)
{
    if (handle == nullptr || GetCurrentThreadId() == threadId)
        return !running.load();
    return WaitForSingleObject(handle, timeoutMs) == WAIT_OBJECT_0;
}
