// A connected Winsock stream socket as a StreamEndpoint, and the non-blocking connect shared
// by the IrDA and Bluetooth transports.
#pragma once

#include <winsock2.h>

#include "transport/StreamLoops.h"

class WinsockStream : public StreamEndpoint {
public:
    explicit WinsockStream(SOCKET s) : s(s) {}
    int32_t Send(const uint8_t* data, int32_t length) override;
    int32_t Recv(uint8_t* buffer, int32_t length) override;
    bool WaitReadable(uint32_t ms) override;
    bool WaitWritable(uint32_t ms) override;

private:
    SOCKET s;
};

// A socket of the family and protocol made non-blocking; INVALID_SOCKET when the stack
// refuses (no IrDA or Bluetooth stack, Winsock not started).
SOCKET CreateStreamSocket(int family, int protocol);
// Connects a non-blocking socket, waiting up to waitMs for the connection; on a time-out
// asks connect once more. False when it did not connect.
bool ConnectWithin(SOCKET s, const sockaddr* address, int length, uint32_t waitMs);
// shutdown(SD_RECEIVE) and closesocket.
void CloseStreamSocket(SOCKET s);
