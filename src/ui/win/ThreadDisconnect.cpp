#include "ui/win/ThreadDisconnect.h"

#include "discovery/DiscoveryCycle.h"

Thread_Disconnect::~Thread_Disconnect() { StopAndWait(); }

void Thread_Disconnect::Attach(PortList* list, PortListObserver* listObserver, Progress* shown)
{
    ports = list;
    observer = listObserver;
    progress = shown;
}

bool Thread_Disconnect::Disconnect(TComm* port) { return port != nullptr && Request(port); }

bool Thread_Disconnect::ProcessChanged() { return Request(nullptr); }

bool Thread_Disconnect::Request(TComm* port)
{
    {
        std::lock_guard<std::mutex> guard(lock);
        if (closing || ports == nullptr || observer == nullptr)
            return false;
        if (port != nullptr) {
            queued.push_back(port);
            if (progress != nullptr)
                progress->Open(port);
        } else {
            processChanged = true;
        }
        if (active)
            return true;
        active = true;
    }
    // A run that found nothing more to do is ending: it sends nothing any more.
    Wait(kInfinite);
    if (Start())
        return true;
    std::lock_guard<std::mutex> guard(lock);
    active = false;
    if (port != nullptr)
        queued.pop_back();
    return false;
}

void Thread_Disconnect::StopAndWait()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        closing = true;
    }
    Wait(kInfinite);
}

void Thread_Disconnect::Prepare() { ClearStopRequest(); }

void Thread_Disconnect::Run()
{
    for (;;) {
        std::vector<TComm*> taken;
        bool processing = false;
        {
            std::lock_guard<std::mutex> guard(lock);
            if (queued.empty() && !processChanged) {
                active = false;
                if (progress != nullptr)
                    progress->Close();
                return;
            }
            taken.swap(queued);
            processing = processChanged;
            processChanged = false;
        }
        for (TComm* port : taken)
            DisconnectTakenPort(*ports, port, *observer);
        if (processing)
            ProcessChangedPorts(*ports, *observer);
    }
}
