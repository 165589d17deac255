// What the Bluetooth API and the Winsock Bluetooth name space hand a scan, read into ports and
// service records. Every size and position in these bytes is checked before use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/GString.h"

class TBthPort;

// The device record the API fills for each known device (the 64-bit layout; the Windows side
// checks these figures against the system's own structure).
namespace BluetoothDeviceRecord {
constexpr size_t kAddressOffset = 8;   // 64-bit address, little-endian
constexpr size_t kClassOffset = 16;    // 32-bit class of device
constexpr size_t kNameOffset = 64;     // UTF-16LE name
constexpr size_t kNameUnits = 248;
constexpr size_t kSize = kNameOffset + 2 * kNameUnits;
}  // namespace BluetoothDeviceRecord

// The port of one known device; null when the record is too short to hold the address and
// class. A name that fills its field (or is cut by the record's end) is ended there.
std::unique_ptr<TBthPort> ReadBluetoothDevice(const uint8_t* record, size_t size);
// The entry that stands for "a radio, but no device known to it".
std::unique_ptr<TBthPort> NewBluetoothPlaceholder();

// One result of a service lookup: the buffer the system filled, and where the service's
// instance name and its record lie inside it (negative: not given, or not inside).
struct LookupAnswer {
    std::vector<uint8_t> buffer;
    int64_t nameAt = -1;
    int64_t recordAt = -1;
    uint64_t recordSize = 0;
};

struct ServiceLookupResult {
    GString name;
    bool hasRecord = false;
    std::vector<uint8_t> record;
};

// The name runs to its terminator or the buffer's end; a record that does not lie wholly
// inside the buffer is not taken.
ServiceLookupResult ReadLookupAnswer(const LookupAnswer& answer);
