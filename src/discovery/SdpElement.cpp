#include "discovery/SdpElement.h"

namespace {

// Data sizes of the size indexes 0 to 4; 5, 6 and 7 give the size in the next 1, 2 or 4 bytes.
constexpr size_t kFixedSizes[5] = {1, 2, 4, 8, 16};

// The Bluetooth base UUID after its first 4 bytes: xxxxxxxx-0000-1000-8000-00805F9B34FB.
constexpr uint8_t kBaseUuidTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB};

uint32_t BigEndian(const uint8_t* bytes, size_t count)
{
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

bool ServiceClassOfUuid(const uint8_t* data, size_t size, uint16_t& serviceClass)
{
    uint32_t number = 0;
    if (size == 2 || size == 4) {
        number = BigEndian(data, size);
    } else if (size == 16) {
        for (size_t i = 0; i < sizeof kBaseUuidTail; ++i) {
            if (data[4 + i] != kBaseUuidTail[i])
                return false;
        }
        number = BigEndian(data, 4);
    } else {
        return false;
    }
    if (number > 0xFFFF)
        return false;
    serviceClass = static_cast<uint16_t>(number);
    return true;
}

}  // namespace

bool ReadSdpElement(const uint8_t* bytes, size_t size, SdpElement& element)
{
    if (bytes == nullptr || size == 0)
        return false;
    const uint32_t type = bytes[0] >> 3;
    const uint32_t sizeIndex = bytes[0] & 0x07;
    size_t header = 1;
    size_t data = 0;
    if (type == kSdpNil) {
        data = 0;
    } else if (sizeIndex < 5) {
        data = kFixedSizes[sizeIndex];
    } else {
        const size_t lengthBytes = size_t{1} << (sizeIndex - 5);  // 1, 2 or 4
        if (size - header < lengthBytes)
            return false;
        data = BigEndian(bytes + header, lengthBytes);
        header += lengthBytes;
    }
    if (data > size - header)
        return false;
    element.type = type;
    element.headerSize = header;
    element.dataSize = data;
    return true;
}

bool FirstServiceClass(const uint8_t* bytes, size_t size, uint16_t& serviceClass)
{
    SdpElement list;
    if (!ReadSdpElement(bytes, size, list) || list.type != kSdpSequence)
        return false;
    const uint8_t* at = bytes + list.headerSize;
    size_t left = list.dataSize;
    SdpElement item;
    while (ReadSdpElement(at, left, item)) {
        if (item.type == kSdpUuid && ServiceClassOfUuid(at + item.headerSize, item.dataSize, serviceClass))
            return true;
        at += item.headerSize + item.dataSize;
        left -= item.headerSize + item.dataSize;
    }
    return false;
}

void ServiceIdReader::Take(const SdpAttribute& attribute, const SdpElementData& data)
{
    if (attribute.id == kSdpServiceClassIdList) {
        if (!hasClass)
            hasClass = FirstServiceClass(attribute.element.data(), attribute.element.size(), serviceClass);
    } else if (data.type == kSdpUint && data.specificType == kSdpSpecificUint16) {
        hasValue = true;
        value = data.uint16Value;
    }
}

uint16_t ServiceIdReader::ServiceId() const
{
    if (hasClass)
        return serviceClass;
    return hasValue ? value : kUnknown;
}
