#include "discovery/BluetoothRecords.h"

#include <cstring>
#include <string>

#include "devices/TBthPort.h"

std::unique_ptr<TBthPort> ReadBluetoothDevice(const uint8_t* record, size_t size)
{
    using namespace BluetoothDeviceRecord;
    if (record == nullptr || size < kClassOffset + 4)
        return nullptr;
    std::u16string name;
    for (size_t at = kNameOffset; at + 1 < size && name.size() < kNameUnits; at += 2) {
        const char16_t unit = static_cast<char16_t>(record[at] | record[at + 1] << 8);
        if (unit == 0)
            break;
        name.push_back(unit);
    }
    auto port = std::make_unique<TBthPort>();
    port->SetAddress(record + kAddressOffset);
    const uint8_t* cod = record + kClassOffset;
    port->SetClassOfDevice(uint32_t{cod[0]} | uint32_t{cod[1]} << 8 | uint32_t{cod[2]} << 16 | uint32_t{cod[3]} << 24);
    port->deviceName.Assign(name.data(), static_cast<uint32_t>(name.size()));
    port->displayName = "Bluetooth порт - ";
    port->displayName.Append(port->deviceName);
    port->autoConnect = true;
    port->usable = true;
    return port;
}

std::unique_ptr<TBthPort> NewBluetoothPlaceholder()
{
    auto port = std::make_unique<TBthPort>();
    port->displayName = "Bluetooth порт - нет устройств";
    port->included = false;
    port->autoConnect = false;
    port->usable = false;
    return port;
}

ServiceLookupResult ReadLookupAnswer(const LookupAnswer& answer)
{
    ServiceLookupResult result;
    const uint64_t size = answer.buffer.size();
    const uint8_t* bytes = answer.buffer.data();
    if (answer.nameAt >= 0 && static_cast<uint64_t>(answer.nameAt) < size) {
        const char* name = reinterpret_cast<const char*>(bytes + answer.nameAt);
        const size_t room = size - answer.nameAt;
        const void* end = std::memchr(name, '\0', room);
        result.name.Assign(name, static_cast<uint32_t>(end != nullptr ? static_cast<const char*>(end) - name : room));
    }
    if (answer.recordAt >= 0 && static_cast<uint64_t>(answer.recordAt) <= size &&
        answer.recordSize <= size - answer.recordAt) {
        result.hasRecord = true;
        result.record.assign(bytes + answer.recordAt, bytes + answer.recordAt + answer.recordSize);
    }
    return result;
}
