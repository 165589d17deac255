// Siemens phones: their own OBEX file service. On a cable the one line is switched from AT
// commands to OBEX with "AT^SQWE=3\r" and back with "+++"; the phone also reports its memory
// figures after each folder listing.
#pragma once

#include <cstdint>

#include "devices/Device.h"

class SIEMENS_Device : public Device {
public:
    // Pause after each mode command and after "+++" before the phone listens again.
    static constexpr uint32_t kModeSwitchWaitMs = 1000;

    // Sets the port's manufacturer text to "SIEMENS" when identification left it empty.
    explicit SIEMENS_Device(TComm* port);

    // Returns the line to AT mode when the file access is open, then closes the socket.
    void ReleaseSocket(Socket* socket) override;
    // Total and free memory of the phone into the file access.
    void AfterListing(FTP* listed) override;
    // "AT^SQWE=0\r", then up to two "AT^SQWE=3\r" answered "OK".
    bool EnterObexMode(Socket* socket) override;
    // Ends the file access and brings the phone back to AT commands; always true.
    bool LeaveObexMode(Socket* socket) override;
    // CONNECT with the Siemens target; on a cable a failed attempt switches the line back
    // and forth once before the second.
    bool OpenFileAccess(Socket* socket, WaitProgress* wait) override;
};
