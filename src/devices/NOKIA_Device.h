// Nokia phones: folder browsing over OBEX. On a cable the line cannot be switched to OBEX,
// and after a failed session the line is brought back to AT commands.
#pragma once

#include "devices/Device.h"

class NOKIA_Device : public Device {
public:
    // Sets the port's manufacturer text and the name to "NOKIA".
    explicit NOKIA_Device(TComm* port);

    // Ends the file access, then closes the socket.
    void ReleaseSocket(Socket* socket) override;
    // As the generic device; on a serial port a failure ends with the AT handshake.
    bool OpenFileAccess(Socket* socket, WaitProgress* wait) override;
};
