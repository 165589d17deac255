// Samsung phones: their own AT file commands on the AT channel, the file system when the
// phone offers it, else the media store.
#pragma once

#include "devices/Device.h"

class SAMSUNG_Device : public Device {
public:
    // Sets the name and the port's manufacturer text to "SAMSUNG".
    explicit SAMSUNG_Device(TComm* port);

    // Ends the file access, then closes the socket.
    void ReleaseSocket(Socket* socket) override;
    // The AT channel needs no switching.
    bool EnterObexMode(Socket* socket) override;
    bool LeaveObexMode(Socket* socket) override;
    // Uses the port's AT socket whatever socket is given.
    bool OpenFileAccess(Socket* socket, WaitProgress* wait) override;
};
