// The discovery thread: one scan at a time, guarded by a semaphore of count 1 that a new
// request tries without waiting and the run releases at its end.
#pragma once

#include <windows.h>

#include <atomic>

#include "core/ThreadObject.h"

class PortList;
class PortListObserver;
class PortPollers;
class ScanProgress;

class Thread_EnumPorts : public ThreadObject {
public:
    Thread_EnumPorts();
    ~Thread_EnumPorts() override;

    // What a run works on; set once by the main window.
    void Attach(PortList* ports, PortPollers* pollers, PortListObserver* observer, ScanProgress* dialog);
    // Starts a scan unless one runs (or scans were stopped for closing); the progress goes to
    // progressOwner, or to owner when there is none. False when nothing was started.
    bool StartScan(HWND owner, HWND progressOwner);
    // Asks a running scan to stop at its next check, waits until no scan runs, and keeps any
    // later request from starting one. For the closing thread; never on the main thread (a
    // scan waits for the main window's answers to its messages).
    void StopForClosing();

    void Prepare() override;
    void Run() override;

private:
    HANDLE scanSemaphore;
    HWND owner = nullptr;
    HWND progressOwner = nullptr;
    PortList* ports = nullptr;
    PortPollers* pollers = nullptr;
    PortListObserver* observer = nullptr;
    ScanProgress* progress = nullptr;
    // The closing thread's request; stays set once closing began.
    std::atomic<bool> cancel{false};
    bool heldForClosing = false;
};
