#include "support/win/PushRig.h"

#include <algorithm>

#include "devices/Device.h"
#include "transport/win/SocketSerial.h"

LinePushSockets::LinePushSockets(const std::string& comName)
{
    line.portName = comName.c_str();
    line.displayName = comName.c_str();
    previous = SetSocketFactoryForTesting(this);
}

Socket* LinePushSockets::CreateSocket(TComm&, int32_t channel)
{
    return channel == Socket::kChannelPush ? new SocketSerial(&line, channel) : nullptr;
}

TBthPort* NewPushPhone()
{
    auto* port = new TBthPort;
    port->portName = "Bluetooth";
    port->displayName = "Phone";
    port->device = new Device(port);
    port->device->name = "Phone";
    port->identified = true;
    return port;
}

namespace {
HANDLE NewEvent() { return CreateEventA(nullptr, FALSE, FALSE, nullptr); }
}  // namespace

PushRecorder::PushRecorder() : moving(NewEvent()), idle(NewEvent()), held(NewEvent()), released(NewEvent()) {}

PushRecorder::~PushRecorder()
{
    for (HANDLE h : {moving, idle, held, released})
        CloseHandle(h);
}

void PushRecorder::Note(const std::string& line)
{
    std::lock_guard<std::mutex> guard(lock);
    log.push_back(line);
}

std::vector<std::string> PushRecorder::Log() const
{
    std::lock_guard<std::mutex> guard(lock);
    return log;
}

void PushRecorder::SetFileCounter(uint32_t number, uint32_t count)
{
    Note("counter " + std::to_string(number) + "/" + std::to_string(count));
    if (number == holdFile) {
        holdFile = 0;
        SetEvent(held);
        WaitForSingleObject(released, INFINITE);
    }
}

void PushRecorder::AddTransferred(uint32_t bytes)
{
    transferred += bytes;
    SetEvent(moving);
}

void PushRecorder::DeviceBusy(Device* device, bool busy)
{
    Note(device == nullptr ? "no device" : busy ? "busy" : "idle");
    if (!busy)
        SetEvent(idle);
}

void PushRecorder::WaitEnd(const OBEX_Push& push) const
{
    WaitForSingleObject(idle, INFINITE);
    // Idle is the push's last call; the thread only has to return.
    while (push.IsPushing())
        SwitchToThread();
}

int IndexOf(const std::vector<std::string>& log, const std::string& line)
{
    auto it = std::find(log.begin(), log.end(), line);
    return it == log.end() ? -1 : static_cast<int>(it - log.begin());
}
