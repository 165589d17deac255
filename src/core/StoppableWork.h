// Work that a worker thread does on a phone's port. Closing stops it and waits for it before
// the ports go, so that nothing is left using a socket or a device that is being destroyed.
#pragma once

class StoppableWork {
public:
    virtual ~StoppableWork() = default;
    // Asks the work to stop and returns once it has ended (at once when none runs). Never
    // called from the work's own thread.
    virtual void StopAndWait() = 0;
};
