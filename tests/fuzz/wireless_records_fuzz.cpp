// What the IrDA and Bluetooth polls read from the system: the input is taken in turn as an IrDA
// device list, a Bluetooth device record, a lookup result (its first bytes placing the name
// and the record) and a service record element. Nothing read may lie outside the input.
#include <cstdlib>
#include <cstring>

#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "discovery/BluetoothRecords.h"
#include "discovery/IrdaDiscovery.h"
#include "discovery/SdpElement.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

uint32_t Number(const uint8_t* data, size_t size, size_t at)
{
    return at + 1 < size ? uint32_t{data[at]} << 8 | data[at + 1] : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t records = size < 4 ? 0 : (size - 4) / IrdaDeviceList::kRecordSize;
    auto irda = ReadIrdaDevices(data, size);
    Check(irda.size() <= records);
    for (auto& port : irda)
        Check(port->deviceName.Length() <= IrdaDeviceList::kNameSize);

    if (auto port = ReadBluetoothDevice(data, size)) {
        // UTF-8 here (the fuzz build's code page) spends up to 3 bytes on a unit.
        Check(port->deviceName.Length() <= 3 * BluetoothDeviceRecord::kNameUnits);
        Check(size >= BluetoothDeviceRecord::kClassOffset + 4);
    }

    LookupAnswer answer;
    answer.nameAt = static_cast<int16_t>(Number(data, size, 0));
    answer.recordAt = static_cast<int16_t>(Number(data, size, 2));
    answer.recordSize = Number(data, size, 4);
    answer.buffer.assign(data, data + size);
    ServiceLookupResult result = ReadLookupAnswer(answer);
    Check(result.name.Length() == 0 || static_cast<uint64_t>(answer.nameAt) + result.name.Length() <= size);
    if (result.hasRecord && !result.record.empty())
        Check(std::memcmp(result.record.data(), data + answer.recordAt, result.record.size()) == 0);

    SdpElement element;
    if (ReadSdpElement(data, size, element))
        Check(element.headerSize + element.dataSize <= size);
    uint16_t serviceClass = 0;
    const bool hasClass = FirstServiceClass(data, size, serviceClass);
    if (hasClass)
        Check(size >= 5);  // a sequence header and the shortest UUID
    SdpAttribute attribute;
    attribute.id = size > 0 && (data[0] & 1) ? kSdpServiceClassIdList : 0x0311;
    attribute.element.assign(data, data + size);
    SdpElementData elementData;
    elementData.type = element.type;
    elementData.specificType = kSdpSpecificUint16;
    elementData.uint16Value = static_cast<uint16_t>(Number(data, size, 1));
    ServiceIdReader reader;
    reader.Take(attribute, elementData);
    const uint16_t unknown = ServiceIdReader::kUnknown;
    if (attribute.id == kSdpServiceClassIdList)
        Check(reader.ServiceId() == (hasClass ? serviceClass : unknown));
    else
        Check(reader.ServiceId() == (elementData.type == kSdpUint ? elementData.uint16Value : unknown));
    return 0;
}
