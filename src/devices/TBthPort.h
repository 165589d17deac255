// A Bluetooth device known to the system. Its class of device says which services to use.
#pragma once

#include "devices/TComm.h"

// One service record found on a Bluetooth device.
struct BT_SERVICE_STRUCT {
    GString name;
    uint16_t serviceId = 255;  // 255 until the record gave a value
};

class TBthPort : public TComm {
public:
    TBthPort();
    // Disconnects, then deletes the service records.
    ~TBthPort() override;

    bool Connect(ConnectProgress* progress) override;
    bool Identify() override;

    void SetAddress(const uint8_t address[8]);
    // Also sets majorClass (bits 8..12) and minorClass (bits 2..7).
    void SetClassOfDevice(uint32_t cod);

    uint32_t classOfDevice = 0;
    uint32_t majorClass = 0;
    uint32_t minorClass = 0;
    List<BT_SERVICE_STRUCT> services;  // owned
    uint8_t btAddress[8] = {};
};
