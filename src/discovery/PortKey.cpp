#include "discovery/PortKey.h"

#include <cstring>

#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"

bool IsSamePort(const TComm& a, const TComm& b)
{
    if (a.kind != b.kind)
        return false;
    // Two empty names are the same name here (ports of the older enumerations have none).
    if (std::strcmp(a.portName.CStr(), b.portName.CStr()) != 0)
        return false;
    switch (a.kind) {
    case TComm::kSerial:
        return true;
    case TComm::kIrDA:
        return std::memcmp(static_cast<const TIrDAPort&>(a).irdaAddress,
                           static_cast<const TIrDAPort&>(b).irdaAddress, 4) == 0;
    case TComm::kBluetooth:
        return std::memcmp(static_cast<const TBthPort&>(a).btAddress,
                           static_cast<const TBthPort&>(b).btAddress, 8) == 0;
    default:
        return false;
    }
}
