#include "devices/TBthPort.h"

#include "transport/Socket.h"

namespace {
// Bits of the major device class.
constexpr uint32_t kMajorTalks = 0x3;   // computer, phone, network access point, ...
constexpr uint32_t kMajorAudio = 0x4;   // audio/video, ...
}  // namespace

TBthPort::TBthPort() : TComm(kBluetooth) { portName = "Bluetooth"; }

// Disconnecting here, while the port is still whole, lets the file access end over open
// sockets and the device read the Bluetooth address as it goes.
TBthPort::~TBthPort()
{
    Disconnect();
    services.DeleteAll();
}

bool TBthPort::Connect(ConnectProgress* progress)
{
    BeginProgress(progress);
    if (majorClass & kMajorTalks) {
        if (Cancelled(progress))
            return false;
        if (OpenChannel(Socket::kChannelObex) == nullptr)
            OpenChannel(Socket::kChannelAt);
        if (Cancelled(progress))
            return false;
    }
    if (majorClass & kMajorAudio) {
        if (Cancelled(progress))
            return false;
        OpenChannel(Socket::kChannelHeadset);
        if (Cancelled(progress))
            return false;
    }
    if (sockets.Count() == 0)
        return false;
    return FinishIdentification();
}

void TBthPort::SetAddress(const uint8_t address[8])
{
    for (int i = 0; i < 8; ++i)
        btAddress[i] = address[i];
}

void TBthPort::SetClassOfDevice(uint32_t cod)
{
    classOfDevice = cod;
    majorClass = (cod >> 8) & 0x1F;
    minorClass = (cod >> 2) & 0x3F;
}
