// A Bluetooth device's service as a Socket: a Winsock RFCOMM stream socket addressed by
// service class (the stack finds the RFCOMM channel through SDP).
#pragma once

#include <winsock2.h>
#include <ws2bth.h>

#include "transport/Socket.h"

class SocketBT : public Socket {
public:
    static constexpr uint32_t kConnectWaitMs = 5000;
    static constexpr uint32_t kReadWaitMs = 10000;
    static constexpr uint32_t kWriteWaitMs = 3000;

    // Service class per channel: 0x1103 dial-up networking, 0x1106 OBEX file transfer,
    // 0x1105 OBEX object push, 0x1108 headset.
    static uint32_t ServiceClass(int32_t channel);

    SocketBT(TComm* port, int32_t channel);
    ~SocketBT() override;

    bool Open() override;
    bool Close() override;
    bool IsOpen() override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* data, int32_t count) override;

    SOCKADDR_BTH address{};

private:
    SOCKET socket = 0;
};
