// The IrDA poll's questions asked of the system's IrDA stack through Winsock.
#pragma once

#include <winsock2.h>

#include "discovery/IrdaDiscovery.h"

class WinIrdaSystem : public IrdaSystem {
public:
    ~WinIrdaSystem() override { Close(); }

    bool Open() override;
    bool EnumerateDevices(std::vector<uint8_t>& list) override;
    void Close() override;

private:
    SOCKET socket = INVALID_SOCKET;
};
