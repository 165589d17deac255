#include "discovery/win/ThreadEnumPorts.h"

#include "discovery/DiscoveryCycle.h"
#include "discovery/ScanProgress.h"
#include "resources/resource.h"

Thread_EnumPorts::Thread_EnumPorts() : scanSemaphore(CreateSemaphoreA(nullptr, 1, 1, nullptr)) {}

Thread_EnumPorts::~Thread_EnumPorts()
{
    Wait(kInfinite);
    if (scanSemaphore != nullptr)
        CloseHandle(scanSemaphore);
}

void Thread_EnumPorts::Attach(PortList* list, PortPollers* polls, PortListObserver* listObserver, ScanProgress* dialog)
{
    ports = list;
    pollers = polls;
    observer = listObserver;
    progress = dialog;
}

bool Thread_EnumPorts::StartScan(HWND window, HWND progressWindow)
{
    if (scanSemaphore == nullptr || ports == nullptr)
        return false;
    if (WaitForSingleObject(scanSemaphore, 0) != WAIT_OBJECT_0)
        return false;
    // The previous run released the semaphore as its last step; its thread is ending.
    Wait(kInfinite);
    owner = window;
    progressOwner = progressWindow;
    if (Start())
        return true;
    ReleaseSemaphore(scanSemaphore, 1, nullptr);
    return false;
}

void Thread_EnumPorts::StopForClosing()
{
    cancel.store(true);
    if (!heldForClosing && scanSemaphore != nullptr) {
        WaitForSingleObject(scanSemaphore, INFINITE);
        heldForClosing = true;
    }
    Wait(kInfinite);
}

void Thread_EnumPorts::Prepare() { ClearStopRequest(); }

void Thread_EnumPorts::Run()
{
    HWND target = progressOwner != nullptr ? progressOwner : owner;
    SendMessageA(target, QVM_SHOW_PROGRESS, reinterpret_cast<WPARAM>(progress), 0);
    if (progress->IsShown())
        RunDiscoveryCycle(*ports, *pollers, *observer, *progress, cancel);
    ReleaseSemaphore(scanSemaphore, 1, nullptr);
}
