// An IrDA device in range. Its hint bits say which services it offers.
#pragma once

#include "devices/TComm.h"

class TIrDAPort : public TComm {
public:
    // Bits of the second hint byte.
    static constexpr uint8_t kHintObex = 0x20;
    static constexpr uint8_t kHintIrComm = 0x04;
    // Size of the device record discovery reads (IRDA_DEVICE_INFO) and where it keeps the
    // address and hint bytes.
    static constexpr uint32_t kDeviceRecordSize = 29;

    TIrDAPort();
    // Disconnects while the port is still whole (the device may look at it as it goes).
    ~TIrDAPort() override;

    bool Connect(ConnectProgress* progress) override;
    bool Identify() override;
    // As the base; a Samsung phone without an OBEX socket gets its IrCOMM socket for channel
    // 1 (its file access runs over AT commands).
    Socket* GetSocket(int32_t channel, WaitProgress* waitDialog = nullptr) override;

    // Address from bytes 0..3, hints from bytes 26 and 27 of a device record of
    // kDeviceRecordSize bytes.
    void SetFromDeviceRecord(const uint8_t* record);

    uint8_t irdaAddress[4] = {};
    uint8_t irdaHints[2] = {};
};
