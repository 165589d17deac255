// The Bluetooth poll against a system that plays the radio's answers: ports and services of
// the known devices, every handle released, and the rules for telling the user of failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/TBthPort.h"
#include "discovery/BluetoothApi.h"
#include "discovery/BluetoothDiscovery.h"
#include "discovery/FakeBluetoothSystem.h"
#include "discovery/PortList.h"
#include "support/MessageBoxRecorder.h"

namespace {

// SDP element headers.
constexpr uint8_t kUint16 = 0x09;
constexpr uint8_t kUint32 = 0x0A;
constexpr uint8_t kUuid16 = 0x19;
constexpr uint8_t kText16 = 0x26;  // text, 2-byte length
constexpr uint8_t kSequence16 = 0x36;  // sequence, 2-byte length

using Bytes = std::vector<uint8_t>;

Bytes Sequence(const Bytes& items)
{
    Bytes out{kSequence16, static_cast<uint8_t>(items.size() >> 8), static_cast<uint8_t>(items.size())};
    out.insert(out.end(), items.begin(), items.end());
    return out;
}

Bytes Attribute(uint16_t id, const Bytes& value)
{
    Bytes out{kUint16, static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)};
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A record of handle, service class and, when given, that much of a long description.
Bytes ServiceRecord(uint16_t serviceClass, size_t description = 0)
{
    const Bytes classes = Sequence({kUuid16, uint8_t(serviceClass >> 8), uint8_t(serviceClass)});
    Bytes record = Cat({Attribute(0x0000, {kUint32, 0x00, 0x01, 0x00, 0x03}), Attribute(kSdpServiceClassIdList, classes)});
    if (description > 0) {
        Bytes text{kText16, uint8_t(description >> 8), uint8_t(description)};
        text.resize(text.size() + description, 'x');
        record = Cat({record, Attribute(0x0101, text)});
    }
    return Sequence(record);
}

const WindowHandle kMainWindow = reinterpret_cast<WindowHandle>(0x4711);

class BluetoothPollTest : public testing::Test {
protected:
    BluetoothPollTest() { Reporter().SetDefaultOwner(kMainWindow); }
    ~BluetoothPollTest() override
    {
        found.DeleteAll();
        Reporter().SetDefaultOwner(nullptr);
    }
    bool PollOnce()
    {
        found.DeleteAll();
        return discovery.Poll(list, found);
    }
    TBthPort* Found(uint32_t i) { return static_cast<TBthPort*>(found.Get(i)); }

    MessageBoxRecorder boxes{MessageReporter::kOk};
    SettingsStore store;
    PortList list{store};
    List<TComm> found;
    FakeBluetoothSystem system;
    BluetoothDiscovery discovery{system};
};

TEST_F(BluetoothPollTest, DevicesAndServicesOfTwoPollsWithEveryHandleReleased)
{
    FakeDevice phone{DeviceRecord(0x0012EE334455ull, 0x5A020C, u"Телефон")};
    phone.services = {{"OBEX File Transfer", ServiceRecord(0x1106, 1200)},  // needs a second buffer
                      {"", ServiceRecord(0x1101)},                          // no name: not listed
                      {"OBEX Object Push", ServiceRecord(0x1105)},
                      {"Features", Sequence(Attribute(0x0311, {kUint16, 0x00, 0x1B}))}};
    FakeDevice headset{DeviceRecord(0x0011223344ull, 0x240404, u"Headset"), BluetoothSystem::kErrorServiceNotFound};
    system.devices = {phone, headset};
    system.radios = 2;
    auto* excluded = new EXCLUDEPORTS;
    excluded->kind = TComm::kBluetooth;
    excluded->name = "Bluetooth порт - Headset";
    store.ExcludedPorts.Append(excluded);
    discovery.SetWindow(kMainWindow);

    for (int poll = 1; poll <= 2; ++poll) {
        SCOPED_TRACE(poll);
        ASSERT_TRUE(PollOnce());
        ASSERT_EQ(found.Count(), 2u);
        TBthPort* first = Found(0);
        EXPECT_STREQ(first->displayName.CStr(), "Bluetooth порт - Телефон");
        EXPECT_STREQ(first->deviceName.CStr(), "Телефон");
        EXPECT_STREQ(first->portName.CStr(), "Bluetooth");
        EXPECT_EQ(first->btAddress[0], 0x55);
        EXPECT_EQ(first->btAddress[5], 0x00);
        EXPECT_EQ(first->majorClass, 2u);
        EXPECT_TRUE(first->included && first->autoConnect && first->usable);
        std::vector<std::pair<std::string, uint16_t>> services;
        for (ListIterator<BT_SERVICE_STRUCT> it(first->services); !it.IsDone(); it.Next())
            services.emplace_back(it.CurrentItem()->name.CStr(), it.CurrentItem()->serviceId);
        EXPECT_EQ(services, (std::vector<std::pair<std::string, uint16_t>>{
                                {"OBEX File Transfer", 0x1106}, {"OBEX Object Push", 0x1105}, {"Features", 0x001B}}));
        EXPECT_FALSE(Found(1)->included);
        EXPECT_EQ(Found(1)->services.Count(), 0u);
        // One radio and its registration held between polls; nothing else.
        EXPECT_EQ(system.radiosOpened, 2 * poll);
        EXPECT_EQ(system.liveRadios.size(), 1u);
        EXPECT_EQ(system.liveNotifications.size(), 1u);
        EXPECT_TRUE(system.liveSearches.empty() && system.liveLookups.empty() && system.liveBuffers.empty());
        EXPECT_EQ(system.misuses, 0);
    }
    EXPECT_EQ(system.notifiedWindows, std::vector<WindowHandle>(4, kMainWindow));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// The pollers exist before the main window; the radio's handle and registration of the last
// poll live until the program ends.
TEST_F(BluetoothPollTest, RegistrationWaitsForTheWindowAndTheLastRadioGoesWithTheDiscovery)
{
    system.radios = 3;
    {
        BluetoothDiscovery ownDiscovery(system);
        ASSERT_TRUE(ownDiscovery.Poll(list, found));
        EXPECT_TRUE(system.notifiedWindows.empty());
        ownDiscovery.SetWindow(kMainWindow);
        found.DeleteAll();
        ASSERT_TRUE(ownDiscovery.Poll(list, found));
        EXPECT_EQ(system.notifiedWindows, std::vector<WindowHandle>(3, kMainWindow));
        EXPECT_EQ(system.liveRadios.size(), 1u);
        EXPECT_EQ(system.liveNotifications.size(), 1u);
    }
    EXPECT_TRUE(system.AllReleased());
}

TEST_F(BluetoothPollTest, NoApiOrNoRadioIsUnavailableQuietlyAndARadioWithoutDevicesGivesThePlaceholder)
{
    system.apiLoaded = false;
    EXPECT_FALSE(PollOnce());
    EXPECT_EQ(found.Count(), 0u);
    system.apiLoaded = true;
    system.radios = 0;
    EXPECT_FALSE(PollOnce());
    EXPECT_EQ(found.Count(), 0u);
    system.radios = 1;
    EXPECT_TRUE(PollOnce());
    ASSERT_EQ(found.Count(), 1u);
    EXPECT_STREQ(Found(0)->displayName.CStr(), "Bluetooth порт - нет устройств");
    EXPECT_STREQ(Found(0)->portName.CStr(), "Bluetooth");
    EXPECT_TRUE(Found(0)->deviceName.IsEmpty());
    EXPECT_FALSE(Found(0)->included || Found(0)->autoConnect || Found(0)->usable);
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Devices out of range fail their lookups on every scan: the user hears of a real failure
// once, in a box owned by the main window, and never of a device that is merely away.
TEST_F(BluetoothPollTest, LookupFailuresAreReportedOnceToTheMainWindow)
{
    system.devices = {{DeviceRecord(1, 0x5A020C, u"Away"), BluetoothSystem::kErrorNoData},
                      {DeviceRecord(2, 0x5A020C, u"Broken"), 10060},
                      {DeviceRecord(3, 0x5A020C, u"Odd"), 10022}};
    PollOnce();
    PollOnce();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].owner, kMainWindow);
    EXPECT_EQ(boxes.Boxes()[0].text, "Неизвестная ошибка.");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Q-V - Ошибка");
    // A lookup that did not begin is not ended.
    EXPECT_EQ(system.lookupsBegun, 0);
    EXPECT_EQ(system.misuses, 0);
    EXPECT_TRUE(system.liveBuffers.empty());
}

TEST_F(BluetoothPollTest, AFailedReallocationFreesTheBufferOnceAndEndsTheLookup)
{
    FakeDevice phone{DeviceRecord(1, 0x5A020C, u"Phone")};
    phone.services = {{"Big", ServiceRecord(0x1106, 4000)}};
    system.devices = {phone};
    system.failAllocation = 1;
    ASSERT_TRUE(PollOnce());
    EXPECT_EQ(Found(0)->services.Count(), 0u);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].owner, kMainWindow);
    EXPECT_EQ(boxes.Boxes()[0].text, "Поиск Bluetooth устройств...\nОшибка выделения памяти для WSAQERYSET.");
    EXPECT_EQ(system.lookupsBegun, 1);
    EXPECT_TRUE(system.liveLookups.empty() && system.liveBuffers.empty());
    EXPECT_EQ(system.misuses, 0);
}

TEST_F(BluetoothPollTest, ARegistrationFailureIsReportedOnce)
{
    system.radios = 2;
    system.registrationError = 5;
    discovery.SetWindow(kMainWindow);
    EXPECT_TRUE(PollOnce());
    EXPECT_TRUE(PollOnce());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].owner, kMainWindow);
    EXPECT_EQ(system.liveRadios.size(), 1u);
}

class FakeLoader : public ModuleLoader {
public:
    explicit FakeLoader(std::vector<std::string> present) : present(std::move(present)) {}
    uintptr_t Load(const char* name) override
    {
        tried.push_back(name);
        for (size_t i = 0; i < present.size(); ++i) {
            if (present[i] == name)
                return i + 1;
        }
        return 0;
    }
    void* Entry(uintptr_t module, const char* name) override { return &entries; }
    void Free(uintptr_t module) override { freed.push_back(module); }
    std::vector<std::string> present, tried;
    std::vector<uintptr_t> freed;
    int entries = 0;
};

TEST(BluetoothApi, TheCurrentLibraryIsTriedFirstAndTheOlderOneAfterIt)
{
    using Names = std::vector<std::string>;
    struct Case {
        Names present;
        const char* loaded;
        Names tried;
    } cases[] = {
        {{"irprops.cpl", "bthprops.cpl"}, "bthprops.cpl", {"bthprops.cpl"}},
        {{"irprops.cpl"}, "irprops.cpl", {"bthprops.cpl", "irprops.cpl"}},
        {{}, nullptr, {"bthprops.cpl", "irprops.cpl"}},
    };
    for (const Case& c : cases) {
        FakeLoader loader(c.present);
        {
            BluetoothApi api(loader);
            EXPECT_EQ(api.IsLoaded(), c.loaded != nullptr);
            EXPECT_STREQ(api.LibraryName(), c.loaded);
            EXPECT_EQ(api.Entry("BluetoothFindFirstRadio") != nullptr, c.loaded != nullptr);
        }
        EXPECT_EQ(loader.tried, c.tried);
        EXPECT_EQ(loader.freed.size(), c.loaded != nullptr ? 1u : 0u);
    }
}

}  // namespace
