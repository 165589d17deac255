// The main window's port worker: the user's "Отключить" and the release of a vanished port
// whose device has become idle both disconnect a port, which may wait a long time for a silent
// phone (a Siemens phone leaving OBEX mode). They run here, one after the other, so the window
// keeps painting and answering meanwhile. Closing stops it: no request starts it again.
#pragma once

#include <mutex>
#include <vector>

#include "core/StoppableWork.h"
#include "core/ThreadObject.h"

class PortList;
class PortListObserver;
class TComm;

class Thread_Disconnect : public ThreadObject, public StoppableWork {
public:
    // Shown from a port's request until the last request has run. Open runs on the window
    // thread, Close on the worker; never both at once.
    class Progress {
    public:
        virtual ~Progress() = default;
        virtual void Open(TComm* port) = 0;
        virtual void Close() = 0;
    };

    ~Thread_Disconnect() override;

    void Attach(PortList* ports, PortListObserver* observer, Progress* progress);
    // Window thread. Disconnects a port taken with TakePortForDisconnect; false once closing
    // began (the port is then the caller's to give back).
    bool Disconnect(TComm* port);
    // Window thread. Disconnects and removes the ports marked changed that ProcessChangedPorts
    // may take now; false once closing began.
    bool ProcessChanged();
    // Lets the running requests end and waits; later requests are refused.
    void StopAndWait() override;

    void Prepare() override;
    void Run() override;

private:
    // Queues under the lock and starts the thread when it does not run.
    bool Request(TComm* port);

    PortList* ports = nullptr;
    PortListObserver* observer = nullptr;
    Progress* progress = nullptr;
    std::mutex lock;
    std::vector<TComm*> queued;
    bool processChanged = false;
    bool active = false;
    bool closing = false;
};
