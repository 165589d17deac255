#include "transport/win/SocketBT.h"

#include <cstring>

#include "devices/TBthPort.h"
#include "transport/win/WinsockStream.h"

static_assert(sizeof(SOCKADDR_BTH) == 30, "the stack expects the packed 30-byte address");

uint32_t SocketBT::ServiceClass(int32_t channel)
{
    switch (channel) {
    case kChannelAt:
        return 0x1103;
    case kChannelObex:
        return 0x1106;
    case kChannelPush:
        return 0x1105;
    default:
        return 0x1108;
    }
}

SocketBT::SocketBT(TComm* port, int32_t channel) : Socket(port, channel)
{
    address.addressFamily = AF_BTH;
    if (port != nullptr && port->kind == TComm::kBluetooth)
        std::memcpy(&address.btAddr, static_cast<TBthPort*>(port)->btAddress, 8);
    // {0000xxxx-0000-1000-8000-00805F9B34FB}: the Bluetooth base UUID with the class.
    address.serviceClassId = GUID{ServiceClass(channel), 0x0000, 0x1000,
                                  {0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB}};
    address.port = 0;
}

SocketBT::~SocketBT() { Close(); }

bool SocketBT::IsOpen() { return socket != 0; }

bool SocketBT::Open()
{
    if (socket != 0)
        return true;
    SOCKET s = CreateStreamSocket(AF_BTH, BTHPROTO_RFCOMM);
    if (s == INVALID_SOCKET)
        return false;
    if (!ConnectWithin(s, reinterpret_cast<const sockaddr*>(&address), sizeof address,
                       kConnectWaitMs)) {
        closesocket(s);
        return false;
    }
    socket = s;
    SetPortOpen(true);
    return true;
}

bool SocketBT::Close()
{
    if (socket != 0) {
        CloseStreamSocket(socket);
        socket = 0;
        SetPortOpen(false);
    }
    return true;
}

int32_t SocketBT::Read(void* buffer, int32_t count)
{
    if (socket == 0)
        return 0;
    WinsockStream stream(socket);
    return StreamRead(stream, buffer, count, kReadWaitMs);
}

int32_t SocketBT::Write(const void* data, int32_t count)
{
    if (socket == 0)
        return 0;
    WinsockStream stream(socket);
    return StreamWrite(stream, data, WriteLength(data, count), kWriteWaitMs);
}
