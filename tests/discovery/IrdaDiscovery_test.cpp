// The IrDA poll and the device lists the IrDA stack hands it, short and hostile ones too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/TIrDAPort.h"
#include "discovery/IrdaDiscovery.h"
#include "discovery/PortList.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;

struct IrdaDevice {
    uint8_t id[4];
    std::string name;  // up to 22 bytes, written without terminator when it fills the field
    uint8_t hints[2];
};

Bytes DeviceList(uint32_t count, const std::vector<IrdaDevice>& devices)
{
    Bytes list{uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24)};
    for (const IrdaDevice& device : devices) {
        Bytes record(IrdaDeviceList::kRecordSize, 0);
        std::copy(device.id, device.id + 4, record.begin());
        std::copy(device.name.begin(), device.name.end(), record.begin() + IrdaDeviceList::kNameOffset);
        record[IrdaDeviceList::kHintsOffset] = device.hints[0];
        record[IrdaDeviceList::kHintsOffset + 1] = device.hints[1];
        list.insert(list.end(), record.begin(), record.end());
    }
    return list;
}

Names Read(const Bytes& list)
{
    Names names;
    for (auto& port : ReadIrdaDevices(list.data(), list.size()))
        names.push_back(port->displayName.CStr());
    return names;
}

TEST(IrdaDeviceList, DevicesAreReadNoFurtherThanTheListsLength)
{
    const std::vector<IrdaDevice> three = {{{1, 2, 3, 4}, "Nokia 6230i", {0x91, 0x25}},
                                           {{1, 2, 3, 5}, "SIEMENS S65", {0x91, 0x04}},
                                           {{9, 9, 9, 9}, "SGH-E250", {0x00, 0x20}}};
    const Bytes list = DeviceList(3, three);
    auto ports = ReadIrdaDevices(list.data(), list.size());
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_STREQ(ports[1]->displayName.CStr(), "Инфракрасный порт - SIEMENS S65");
    EXPECT_STREQ(ports[1]->deviceName.CStr(), "SIEMENS S65");
    EXPECT_STREQ(ports[1]->portName.CStr(), "IrDA");
    EXPECT_EQ(ports[1]->irdaAddress[3], 5);
    EXPECT_EQ(ports[1]->irdaHints[1], 0x04);
    EXPECT_TRUE(ports[2]->autoConnect && ports[2]->usable);

    EXPECT_TRUE(Read(DeviceList(0, {})).empty());
    EXPECT_TRUE(Read(Bytes{3, 0, 0}).empty());
    EXPECT_TRUE(Read(DeviceList(0, three)).empty());
    // A count beyond the records given, and a record cut short, are not believed.
    Bytes cut = DeviceList(200, three);
    cut.resize(cut.size() - 1);
    EXPECT_EQ(Read(cut).size(), 2u);
    // A name filling its field has no terminator: it ends with the field.
    const std::string full(IrdaDeviceList::kNameSize, 'N');
    EXPECT_EQ(Read(DeviceList(1, {{{1, 1, 1, 1}, full, {0, 0}}})),
              Names{"Инфракрасный порт - " + full});
}

class FakeIrda : public IrdaSystem {
public:
    bool Open() override { return stack; }
    bool EnumerateDevices(Bytes& out) override
    {
        out = list;
        return true;
    }
    void Close() override { ++closes; }
    bool stack = true;
    Bytes list;
    int closes = 0;
};

TEST(IrdaPoll, WithoutAStackNothingIsFoundAndWithOneExcludedDevicesStayOff)
{
    SettingsStore store;
    PortList ports{store};
    List<TComm> found;
    FakeIrda irda;
    irda.stack = false;
    EXPECT_FALSE(PollIrDA(irda, ports, found));
    EXPECT_EQ(found.Count(), 0u);
    EXPECT_EQ(irda.closes, 0);

    auto* excluded = new EXCLUDEPORTS;
    excluded->kind = TComm::kIrDA;
    excluded->name = "Инфракрасный порт - B";
    store.ExcludedPorts.Append(excluded);
    irda.stack = true;
    irda.list = DeviceList(2, {{{1, 0, 0, 0}, "A", {0, 0x20}}, {{2, 0, 0, 0}, "B", {0, 0x20}}});
    EXPECT_TRUE(PollIrDA(irda, ports, found));
    ASSERT_EQ(found.Count(), 2u);
    EXPECT_TRUE(found.Get(0)->included);
    EXPECT_FALSE(found.Get(1)->included);
    EXPECT_EQ(irda.closes, 1);
    found.DeleteAll();
}

}  // namespace
