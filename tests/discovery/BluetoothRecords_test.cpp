// What the Bluetooth poll reads from the bytes the system hands it: device records, lookup
// results and the elements of service records, short and hostile ones too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/TBthPort.h"
#include "discovery/BluetoothRecords.h"
#include "discovery/FakeBluetoothSystem.h"
#include "discovery/SdpElement.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(BluetoothDeviceRecord, RecordsGivePortsAndNamesEndWithTheirField)
{
    Bytes record = DeviceRecord(0x1122334455ull, 0x5A020C, std::u16string(300, u'Ж'));
    auto port = ReadBluetoothDevice(record.data(), record.size());
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->deviceName.Length(), BluetoothDeviceRecord::kNameUnits);
    EXPECT_EQ(port->classOfDevice, 0x5A020Cu);
    EXPECT_EQ(port->minorClass, 3u);
    EXPECT_EQ(port->btAddress[4], 0x11);
    // Cut inside the name: the name ends there; cut before the class: no port.
    port = ReadBluetoothDevice(record.data(), BluetoothDeviceRecord::kNameOffset + 5);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->deviceName.Length(), 2u);
    EXPECT_EQ(ReadBluetoothDevice(record.data(), BluetoothDeviceRecord::kClassOffset + 3), nullptr);
}

TEST(LookupAnswer, NameAndRecordAreTakenOnlyFromInsideTheBuffer)
{
    LookupAnswer answer;
    answer.buffer = {'x', 'O', 'P', 'P', 0, 0x35, 0x00, 'N', 'a', 'm'};
    answer.nameAt = 1;
    answer.recordAt = 5;
    answer.recordSize = 2;
    ServiceLookupResult result = ReadLookupAnswer(answer);
    EXPECT_STREQ(result.name.CStr(), "OPP");
    EXPECT_EQ(result.record, (Bytes{0x35, 0x00}));

    answer.nameAt = 7;  // no terminator before the end
    answer.recordSize = 6;
    result = ReadLookupAnswer(answer);
    EXPECT_STREQ(result.name.CStr(), "Nam");
    EXPECT_FALSE(result.hasRecord);

    for (int64_t at : {int64_t{-1}, int64_t{10}, int64_t{1} << 40}) {
        answer.nameAt = at;
        answer.recordAt = at;
        answer.recordSize = 0;
        result = ReadLookupAnswer(answer);
        EXPECT_TRUE(result.name.IsEmpty());
        EXPECT_EQ(result.hasRecord, at == 10);  // an empty record at the very end is inside
    }
    answer.recordAt = 4;
    answer.recordSize = ~uint64_t{0} - 2;
    EXPECT_FALSE(ReadLookupAnswer(answer).hasRecord);
}

uint16_t ServiceIdOf(const Bytes& record)
{
    FakeBluetoothSystem system;
    std::vector<SdpAttribute> attributes;
    system.EnumAttributes(record, attributes);
    ServiceIdReader reader;
    for (const SdpAttribute& attribute : attributes) {
        SdpElementData data;
        if (system.GetElementData(attribute.element, data))
            reader.Take(attribute, data);
    }
    return reader.ServiceId();
}

TEST(ServiceId, TheClassListNamesTheProfileElseA16BitValueElse255)
{
    // SDP element headers: 0x35 sequence (1-byte length), 0x09 16-bit and 0x0A 32-bit unsigned,
    // 0x19 16-bit, 0x1A 32-bit and 0x1C 128-bit UUID, 0x25 text (1-byte length).
    struct Case {
        const char* what;
        Bytes record;
        uint16_t serviceId;
    } cases[] = {
        {"handle and class list", {0x35, 0x10, 0x09, 0x00, 0x00, 0x0A, 0x00, 0x01, 0x00, 0x03,
                                   0x09, 0x00, 0x01, 0x35, 0x03, 0x19, 0x11, 0x05}, 0x1105},
        {"a 16-bit value, then the class list", {0x35, 0x0E, 0x09, 0x03, 0x11, 0x09, 0x00, 0x1B,
                                         0x09, 0x00, 0x01, 0x35, 0x03, 0x19, 0x11, 0x06}, 0x1106},
        {"128-bit base UUID", {0x35, 0x16, 0x09, 0x00, 0x01, 0x35, 0x11, 0x1C, 0x00, 0x00, 0x11, 0x2F, 0x00, 0x00,
                               0x10, 0x00, 0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB}, 0x112F},
        {"vendor UUID, then a 32-bit one", {0x35, 0x1B, 0x09, 0x00, 0x01, 0x35, 0x16, 0x1C, 0xDE, 0xAD, 0xBE, 0xEF,
                                            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x1A, 0x00, 0x00, 0x11, 0x01}, 0x1101},
        {"only a 16-bit value", {0x35, 0x06, 0x09, 0x03, 0x11, 0x09, 0x00, 0x1B}, 0x001B},
        {"a 32-bit value is no 16-bit one", {0x35, 0x08, 0x09, 0x00, 0x00, 0x0A, 0x00, 0x01, 0x00, 0x03}, 255},
        {"UUID longer than its list", {0x35, 0x08, 0x09, 0x00, 0x01, 0x35, 0x03, 0x1C, 0x11, 0x05}, 255},
        {"UUID cut short", {0x35, 0x07, 0x09, 0x00, 0x01, 0x35, 0x02, 0x19, 0x11}, 255},
        {"text where the list should be", {0x35, 0x08, 0x09, 0x00, 0x01, 0x25, 0x03, 'a', 'b', 'c'}, 255},
        {"empty", {}, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ServiceIdOf(c.record), c.serviceId) << c.what;
}

TEST(SdpElement, LengthsBeyondTheBytesAreRefused)
{
    SdpElement element;
    const Bytes fits{0x37, 0x00, 0x00, 0x00, 0x01, 0x09};
    ASSERT_TRUE(ReadSdpElement(fits.data(), fits.size(), element));
    EXPECT_EQ(element.headerSize, 5u);
    EXPECT_EQ(element.dataSize, 1u);
    for (const Bytes& bad : {Bytes{0x37, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}, Bytes{0x36, 0x00}, Bytes{0x1C, 0, 0},
                             Bytes{0x0B, 1, 2, 3}, Bytes{}})
        EXPECT_FALSE(ReadSdpElement(bad.data(), bad.size(), element));
}

}  // namespace
