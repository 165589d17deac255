#include "discovery/IrdaDiscovery.h"

#include <cstring>

#include "devices/TIrDAPort.h"
#include "discovery/FoundPorts.h"

static_assert(IrdaDeviceList::kRecordSize == TIrDAPort::kDeviceRecordSize);

std::vector<std::unique_ptr<TIrDAPort>> ReadIrdaDevices(const uint8_t* bytes, size_t length)
{
    using namespace IrdaDeviceList;
    std::vector<std::unique_ptr<TIrDAPort>> ports;
    if (bytes == nullptr || length < kCountSize)
        return ports;
    const uint32_t count = uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
                           uint32_t{bytes[3]} << 24;
    const size_t whole = (length - kCountSize) / kRecordSize;
    const size_t devices = count < whole ? count : whole;
    for (size_t i = 0; i < devices; ++i) {
        const uint8_t* record = bytes + kCountSize + i * kRecordSize;
        const char* name = reinterpret_cast<const char*>(record + kNameOffset);
        const void* end = std::memchr(name, '\0', kNameSize);
        const size_t nameLength = end != nullptr ? static_cast<const char*>(end) - name : kNameSize;
        auto port = std::make_unique<TIrDAPort>();
        port->SetFromDeviceRecord(record);
        port->deviceName.Assign(name, static_cast<uint32_t>(nameLength));
        port->displayName = "Инфракрасный порт - ";
        port->displayName.Append(port->deviceName);
        port->autoConnect = true;
        port->usable = true;
        ports.push_back(std::move(port));
    }
    return ports;
}

bool PollIrDA(IrdaSystem& system, PortList& list, List<TComm>& found)
{
    if (!system.Open())
        return false;
    std::vector<uint8_t> devices;
    if (system.EnumerateDevices(devices)) {
        for (auto& port : ReadIrdaDevices(devices.data(), devices.size()))
            AddFoundPort(list, found, port.release());
    }
    system.Close();
    return true;
}
