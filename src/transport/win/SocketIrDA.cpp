#include "transport/win/SocketIrDA.h"

#include <cstring>

#include "devices/TIrDAPort.h"
#include "transport/win/WinsockStream.h"

SocketIrDA::SocketIrDA(TComm* port, int32_t channel) : Socket(port, channel)
{
    address.irdaAddressFamily = AF_IRDA;
    if (port != nullptr && port->kind == TComm::kIrDA)
        std::memcpy(address.irdaDeviceID, static_cast<TIrDAPort*>(port)->irdaAddress, 4);
    const char* service = channel == kChannelAt ? "IrDA:IrCOMM" : "OBEX";
    std::strncpy(address.irdaServiceName, service, sizeof address.irdaServiceName - 1);
}

SocketIrDA::~SocketIrDA() { Close(); }

bool SocketIrDA::IsOpen() { return socket != 0; }

bool SocketIrDA::Open()
{
    if (socket != 0)
        return true;
    SOCKET s = CreateStreamSocket(AF_IRDA, 0);
    if (s == INVALID_SOCKET)
        return false;
    if (channel == kChannelAt) {
        // IrCOMM in 9-wire mode carries the modem lines a phone's AT side expects.
        int nineWire = 1;
        if (setsockopt(s, SOL_IRLMP, IRLMP_9WIRE_MODE, reinterpret_cast<const char*>(&nineWire),
                       sizeof nineWire) != 0) {
            closesocket(s);
            return false;
        }
    }
    if (!ConnectWithin(s, reinterpret_cast<const sockaddr*>(&address), 32, kConnectWaitMs)) {
        closesocket(s);
        return false;
    }
    socket = s;
    SetPortOpen(true);
    return true;
}

bool SocketIrDA::Close()
{
    if (socket != 0) {
        CloseStreamSocket(socket);
        socket = 0;
        SetPortOpen(false);
    }
    return true;
}

int32_t SocketIrDA::Read(void* buffer, int32_t count)
{
    if (socket == 0)
        return 0;
    WinsockStream stream(socket);
    return StreamRead(stream, buffer, count, kReadWaitMs);
}

int32_t SocketIrDA::Write(const void* data, int32_t count)
{
    if (socket == 0)
        return 0;
    WinsockStream stream(socket);
    return StreamWrite(stream, data, WriteLength(data, count), kWriteWaitMs);
}
