// Disconnects every port before the program closes, then asks the main window to close
// again (its second close phase saves the settings). A running scan is stopped and waited
// for first: it may be connecting the very ports this thread disconnects.
#pragma once

#include <windows.h>

#include <atomic>

#include "core/ThreadObject.h"

class PortList;
class PortListObserver;
class ScanProgress;
class Thread_EnumPorts;

class Thread_Close : public ThreadObject {
public:
    // What a run works on; set once by the main window. Without a port list the run only
    // posts the close.
    void Attach(Thread_EnumPorts* scan, PortList* ports, PortListObserver* observer, ScanProgress* dialog);
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
    std::atomic<bool> done{false};
};
