// Disconnects every port before the program closes, then asks the main window to close
// again (its second close phase saves the settings). A running scan is stopped and waited
// for first: it may be connecting the very ports this thread disconnects. So is the work that
// runs on identified phones: the window's own workers are stopped here, each phone's
// registered work by CloseAllPorts.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "core/ThreadObject.h"

class PortList;
class PortListObserver;
class ScanProgress;
class StoppableWork;
class Thread_EnumPorts;

class Thread_Close : public ThreadObject {
public:
    // What a run works on; set once by the main window. Without a port list the run only
    // posts the close.
    void Attach(Thread_EnumPorts* scan, PortList* ports, PortListObserver* observer, ScanProgress* dialog);
    // Work of the window that a run stops and waits for before any port goes; added before
    // the first run.
    void AddWork(StoppableWork* work) { works.push_back(work); }
    void SetOwner(HWND window) { owner = window; }
    bool Done() const { return done.load(); }

    void Prepare() override;
    void Run() override;

private:
    HWND owner = nullptr;
    Thread_EnumPorts* scan = nullptr;
    PortList* ports = nullptr;
    PortListObserver* observer = nullptr;
    ScanProgress* progress = nullptr;
    std::vector<StoppableWork*> works;
    std::atomic<bool> done{false};
};
