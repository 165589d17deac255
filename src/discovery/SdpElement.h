// Service records of Bluetooth devices: the SDP data elements their attributes are made of,
// and what a scan takes from a record's attributes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Element types, numbered as the SDP header and the Bluetooth API number them.
enum SdpType : uint32_t {
    kSdpNil = 0,
    kSdpUint = 1,
    kSdpInt = 2,
    kSdpUuid = 3,
    kSdpString = 4,
    kSdpBoolean = 5,
    kSdpSequence = 6,
    kSdpAlternative = 7,
    kSdpUrl = 8,
};

// The Bluetooth API's specific type of a 16-bit unsigned integer.
constexpr uint32_t kSdpSpecificUint16 = 0x0110;

// Attribute ids.
constexpr uint16_t kSdpServiceClassIdList = 0x0001;

// One attribute of a record, as the system's record walk hands it: its id and the bytes of
// its value (one data element, header included).
struct SdpAttribute {
    uint16_t id = 0;
    std::vector<uint8_t> element;
};

// What the system's element reader reports of an attribute value.
struct SdpElementData {
    uint32_t type = kSdpNil;
    uint32_t specificType = 0;
    uint16_t uint16Value = 0;  // when specificType is kSdpSpecificUint16
};

// The header of one data element at the start of bytes: its type and where its data lies.
struct SdpElement {
    uint32_t type = kSdpNil;
    size_t headerSize = 0;
    size_t dataSize = 0;
};

// False when bytes do not start with a whole element (header and data within size).
bool ReadSdpElement(const uint8_t* bytes, size_t size, SdpElement& element);

// The first service class of a class-id list (a sequence of UUIDs) that has a 16-bit number:
// a 16-bit UUID, or a 32-bit or 128-bit one that is the Bluetooth base UUID with such a
// number. False when there is none.
bool FirstServiceClass(const uint8_t* bytes, size_t size, uint16_t& serviceClass);

// Collects a record's serviceId from its attributes: the record's service class, which
// names the profile; a record that names no class falls back to the value of a 16-bit
// unsigned attribute. 255 when neither is there.
class ServiceIdReader {
public:
    static constexpr uint16_t kUnknown = 255;

    void Take(const SdpAttribute& attribute, const SdpElementData& data);
    uint16_t ServiceId() const;

private:
    bool hasClass = false;
    uint16_t serviceClass = 0;
    bool hasValue = false;
    uint16_t value = 0;
};
