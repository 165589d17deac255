// What the file-access implementations report to while they work. The file manager's progress
// and wait dialogs implement these on Windows; tests implement them to observe and to cancel.
#pragma once

#include <cstdint>

// Progress of one file transfer (GetFile, PutFile): the dialog only stores the values, its
// own timer shows them, so the calls are cheap enough for every packet.
class OperationProgress {
public:
    virtual ~OperationProgress() = default;
    virtual bool IsCancelled() = 0;
    virtual void SetFileSize(uint32_t size) = 0;
    virtual void AddTransferred(uint32_t bytes) = 0;
    // Lets the calling thread's pending window messages run between packets.
    virtual void PumpMessages() = 0;
};

// The wait panel shown while a folder is listed.
class WaitProgress {
public:
    virtual ~WaitProgress() = default;
    virtual void SetRange(uint32_t low, uint32_t high) = 0;
    virtual void Step() = 0;
    // Whether the user asked to stop the listing; asked between the requests of a listing.
    // A panel without a way to cancel never is.
    virtual bool IsCancelled() { return false; }
};
