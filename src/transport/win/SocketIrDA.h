// An IrDA device's service as a Socket: a Winsock IrDA stream socket.
#pragma once

#include <winsock2.h>
#include <af_irda.h>

#include "transport/Socket.h"

class SocketIrDA : public Socket {
public:
    static constexpr uint32_t kConnectWaitMs = 20000;
    static constexpr uint32_t kReadWaitMs = 5000;
    static constexpr uint32_t kWriteWaitMs = 3000;

    // Channel 0 reaches "IrDA:IrCOMM", channels 1 and 2 "OBEX" of the port's device.
    SocketIrDA(TComm* port, int32_t channel);
    ~SocketIrDA() override;

    bool Open() override;
    bool Close() override;
    bool IsOpen() override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* data, int32_t count) override;

    SOCKADDR_IRDA address{};

private:
    SOCKET socket = 0;
};
