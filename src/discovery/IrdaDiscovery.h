// The IrDA poll of a scan: one port for every device the IrDA stack reports in range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/List.h"

class PortList;
class TComm;
class TIrDAPort;

// What the poll asks of the system. Windows asks its IrDA stack; tests play its answers.
class IrdaSystem {
public:
    virtual ~IrdaSystem() = default;
    // Opens the socket the device list is asked through; false where there is no IrDA stack.
    virtual bool Open() = 0;
    // The device list as the stack filled it, cut to the length the stack reported; false
    // when the stack refused the question.
    virtual bool EnumerateDevices(std::vector<uint8_t>& list) = 0;
    virtual void Close() = 0;
};

// The device list: a 32-bit device count (little-endian), then one record per device.
namespace IrdaDeviceList {
constexpr size_t kCountSize = 4;
constexpr size_t kRecordSize = 29;  // device ID 4, name 22, two hint bytes, character set
constexpr size_t kNameOffset = 4;
constexpr size_t kNameSize = 22;
constexpr size_t kHintsOffset = 26;
constexpr size_t kMaxDevices = 10;  // the room the poll offers the stack
}  // namespace IrdaDeviceList

// The ports of the devices in a list. The count is believed only as far as the list's length
// holds whole records, and a name that fills its field is ended there.
std::vector<std::unique_ptr<TIrDAPort>> ReadIrdaDevices(const uint8_t* bytes, size_t length);

// Appends a port per device in range to found; answers whether the system has an IrDA stack.
bool PollIrDA(IrdaSystem& system, PortList& list, List<TComm>& found);
