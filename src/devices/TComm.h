// One port through which a phone may be reached: a COM port, an IrDA device in range or a
// Bluetooth device. Discovery fills the addressing; Connect opens the sockets the phone
// needs and ends with identification, which creates the port's Device.
#pragma once

#include <cstdint>

#include "core/GString.h"
#include "core/List.h"

class ConnectProgress;
class Device;
class Socket;
class WaitProgress;

class TComm {
public:
    static constexpr int32_t kSerial = 0;
    static constexpr int32_t kIrDA = 1;
    static constexpr int32_t kBluetooth = 2;

    // Indexes into info.
    enum InfoIndex : uint32_t {
        kManufacturer = 0,
        kModel = 1,
        kInfoUnused1 = 2,
        kFirmwareVersion = 3,
        kFirmwareDate = 4,
        kSoftwareVersion = 5,
        kSoftwareDate = 6,
        kInfoUnused2 = 7,
        kHardwareVersion = 8,
        kHardwareDate = 9,
        kSerialNumber = 10,
        kDeviceType = 11,
        kInfoCount = 12
    };

    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    // Disconnects (the subclasses do it first, while the port is whole).
    virtual ~TComm();
    // Opens the sockets of the phone and identifies it; false when nothing could be opened,
    // the phone did not answer or the user cancelled (sockets opened so far stay until
    // Disconnect). progress may be null.
    virtual bool Connect(ConnectProgress* progress) = 0;
    // Fills info from the phone; true when a manufacturer was learnt.
    virtual bool Identify() = 0;
    // The socket of a channel, null when there is none.
    virtual Socket* GetSocket(int32_t channel, WaitProgress* waitDialog = nullptr);

    void AddSocket(Socket* socket);
    // Ends the file access, closes and destroys every socket and the device; the port is
    // clean afterwards whatever state it was in.
    void Disconnect();
    void MarkChanged(bool gone);
    // The last step of every Connect: Identify, then create the Device of the manufacturer
    // (or the generic one) and name it; sets identified.
    bool FinishIdentification();

    GString info[kInfoCount];
    Device* device = nullptr;  // owned
    List<Socket> sockets;      // owned, at most one per channel
    bool useDefaults = true;
    int32_t kind;
    GString displayName;
    GString devicePath;
    GString portName;
    GString deviceName;
    bool included = true;
    bool autoConnect = false;
    bool usable = true;
    bool identified = false;
    bool isOpen = false;
    bool gone = false;
    bool changed = false;

protected:
    explicit TComm(int32_t kind);

    // Scan dialog at 0 of 10 and one step; every Connect begins with it.
    static void BeginProgress(ConnectProgress* progress);
    static bool Cancelled(ConnectProgress* progress);
    // The socket of a channel, found or created through the socket factory and opened; kept
    // on success, destroyed on failure. Null when it could not be opened.
    Socket* OpenChannel(int32_t channel);
};
