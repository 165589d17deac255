// The device models: how each opens its file access, the Siemens mode switch, releasing the
// line, the memory figures, the settings record and the busy state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "devices/Device.h"
#include "devices/DeviceSettingsStore.h"
#include "devices/DeviceViews.h"
#include "devices/NOKIA_Device.h"
#include "devices/ObexTargets.h"
#include "devices/SAMSUNG_Device.h"
#include "devices/SIEMENS_Device.h"
#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "obex/OBEX_FTP.h"
#include "samsung/SAMSUNG_AT_FS.h"
#include "samsung/SAMSUNG_AT_FTP.h"
#include "support/FakePhone.h"
#include "support/ScriptedSocketFactory.h"
#include "support/VirtualClock.h"

namespace {

using Log = std::vector<std::string>;

class CountingWait : public WaitProgress {
public:
    void SetRange(uint32_t, uint32_t) override {}
    void Step() override { ++steps; }
    int steps = 0;
};

class ModelTest : public testing::Test {
protected:
    VirtualClock clock;
    ClockOverride useClock{clock};
    ScriptedSocketFactory factory;
    SocketFactoryOverride useFactory{factory};
    FakePhone phone;
    CountingWait wait;

    void PhoneOn(int32_t channel)
    {
        factory.Script(channel, [this](ScriptedSocket& s) {
            s.SetBytePerRead(true);
            phone.Attach(s);
        });
    }
    // A serial port with its line open and the given model attached.
    template <class Model>
    Socket* SerialLine(TSerialPort& port)
    {
        PhoneOn(0);
        Socket* line = port.GetSocket(0);
        EXPECT_TRUE(line->Open());
        port.device = new Model(&port);
        return line;
    }
    // An IrDA or Bluetooth port with an open OBEX socket and the given model.
    template <class Model>
    Socket* ObexLink(TComm& port)
    {
        phone.obexMode = true;
        PhoneOn(1);
        Socket* link = factory.CreateSocket(port, 1);
        EXPECT_TRUE(link->Open());
        port.AddSocket(link);
        port.device = new Model(&port);
        return link;
    }
};

// --- generic and Nokia ---

TEST_F(ModelTest, GenericOpensWithTheFolderBrowsingTarget)
{
    TIrDAPort port;
    Socket* link = ObexLink<Device>(port);
    phone.targets = {FakePhone::Target(FolderBrowsingTarget)};
    phone.refuseConnects = 2;  // the first attempt fails (the OBEX layer sends CONNECT twice)
    EXPECT_TRUE(port.device->OpenFileAccess(link, &wait));
    EXPECT_NE(dynamic_cast<OBEX_FTP*>(port.device->fileAccess), nullptr);
    EXPECT_EQ(phone.log, (Log{"CONNECT 16", "CONNECT 16", "CONNECT 16"}));
    EXPECT_EQ(wait.steps, 2);
}

TEST_F(ModelTest, GenericGivesUpAfterTwoAttempts)
{
    TBthPort port;
    Socket* link = ObexLink<Device>(port);
    EXPECT_FALSE(port.device->OpenFileAccess(link, &wait));
    EXPECT_EQ(port.device->fileAccess, nullptr);
    EXPECT_EQ(phone.log, (Log{"CONNECT 16", "CONNECT 16", "CONNECT 16", "CONNECT 16"}));
    EXPECT_EQ(wait.steps, 2);
    EXPECT_FALSE(port.device->OpenFileAccess(nullptr, &wait));
}

TEST_F(ModelTest, GenericOnACableNeverReachesObex)
{
    TSerialPort port;
    SerialLine<Device>(port);
    EXPECT_EQ(port.GetSocket(1), nullptr);
    EXPECT_TRUE(phone.log.empty());
}

TEST_F(ModelTest, NokiaOnACableHasNoObexSocket)
{
    TSerialPort port;
    SerialLine<NOKIA_Device>(port);
    Socket* obex = port.GetSocket(1, &wait);
    EXPECT_EQ(obex, nullptr);
    EXPECT_FALSE(port.device->OpenFileAccess(obex, &wait));
    EXPECT_EQ(port.device->fileAccess, nullptr);
    EXPECT_TRUE(phone.log.empty());
}

TEST_F(ModelTest, NokiaLeavesACableInAtModeAfterAFailedSession)
{
    phone.at["ATZ\r"] = "";
    phone.at["ATE0\r"] = "";
    TSerialPort port;
    Socket* line = SerialLine<NOKIA_Device>(port);
    EXPECT_FALSE(port.device->OpenFileAccess(line, &wait));
    // The OBEX requests got no answer from an AT line; then the handshake.
    EXPECT_EQ(phone.log, (Log{"ATZ", "ATE0"}));
    EXPECT_EQ(port.device->fileAccess, nullptr);
}

TEST_F(ModelTest, NokiaOverIrdaSkipsTheHandshake)
{
    TIrDAPort port;
    Socket* link = ObexLink<NOKIA_Device>(port);
    EXPECT_FALSE(port.device->OpenFileAccess(link, nullptr));
    EXPECT_EQ(phone.log, (Log{"CONNECT 16", "CONNECT 16", "CONNECT 16", "CONNECT 16"}));
}

// --- Samsung ---

struct SamsungCase {
    const char* name;
    const char* fsifAnswer;
    bool fileSystem;  // else the media store
};

class SamsungOpen : public ModelTest, public testing::WithParamInterface<SamsungCase> {};

TEST_P(SamsungOpen, FileSystemElseMediaStore)
{
    const SamsungCase& c = GetParam();
    phone.at["AT+FSIF=0\r"] = c.fsifAnswer;
    TSerialPort port;
    SerialLine<SAMSUNG_Device>(port);
    Socket* given = port.GetSocket(1, &wait);  // the AT line itself: no switch needed
    ASSERT_EQ(given, port.GetSocket(0));
    ASSERT_TRUE(port.device->OpenFileAccess(nullptr, &wait));
    EXPECT_EQ(dynamic_cast<SAMSUNG_AT_FS*>(port.device->fileAccess) != nullptr, c.fileSystem);
    EXPECT_EQ(dynamic_cast<SAMSUNG_AT_FTP*>(port.device->fileAccess) != nullptr, !c.fileSystem);
    EXPECT_EQ(phone.log, (Log{"AT+FSIF=0"}));
    EXPECT_EQ(wait.steps, 1 + (c.fileSystem ? 1 : 2));
}

INSTANTIATE_TEST_SUITE_P(Devices, SamsungOpen,
                         testing::Values(SamsungCase{"Ok", "", true},
                                         SamsungCase{"Error", FakePhone::kError, false},
                                         SamsungCase{"Silent", FakePhone::kSilent, true}),
                         [](const testing::TestParamInfo<SamsungCase>& info) { return std::string(info.param.name); });

TEST_F(ModelTest, SamsungWithoutAnAtSocketFails)
{
    TIrDAPort port;
    Socket* link = ObexLink<SAMSUNG_Device>(port);
    EXPECT_FALSE(port.device->OpenFileAccess(link, &wait));
    EXPECT_EQ(port.device->fileAccess, nullptr);
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "SAMSUNG");
}

TEST_F(ModelTest, SamsungReleaseEndsTheFileAccessAndClosesTheLine)
{
    TSerialPort port;
    Socket* line = SerialLine<SAMSUNG_Device>(port);
    phone.at["AT+FSIF=0\r"] = "";
    ASSERT_TRUE(port.device->OpenFileAccess(nullptr, nullptr));
    port.device->ReleaseSocket(line);
    EXPECT_EQ(port.device->fileAccess, nullptr);
    EXPECT_FALSE(line->IsOpen());
}

// --- Siemens ---

void SiemensAt(FakePhone& phone)
{
    phone.at["ATZ\r"] = "";
    phone.at["ATE0\r"] = "";
    phone.at["AT^SQWE=0\r"] = "";
    phone.at["AT^SQWE=3\r"] = FakePhone::kSwitchToObex;
    phone.targets = {FakePhone::Target(SiemensTarget)};
}

TEST_F(ModelTest, SiemensAnsweringErrorToTheSwitchTwiceGetsNoObexSocket)
{
    phone.at["AT^SQWE=0\r"] = "";
    phone.at["AT^SQWE=3\r"] = FakePhone::kError;
    TSerialPort port;
    Socket* line = SerialLine<SIEMENS_Device>(port);
    EXPECT_EQ(port.GetSocket(1, &wait), nullptr);
    EXPECT_EQ(phone.log, (Log{"AT^SQWE=0", "AT^SQWE=3", "AT^SQWE=3"}));
    EXPECT_EQ(line->channel, 0);
    EXPECT_EQ(clock.slept, 2 * SIEMENS_Device::kModeSwitchWaitMs);
    EXPECT_EQ(wait.steps, 1);
    EXPECT_FALSE(port.device->OpenFileAccess(nullptr, &wait));
}

TEST_F(ModelTest, SiemensSessionOnACableFromSwitchToRelease)
{
    SiemensAt(phone);
    TSerialPort port;
    Socket* line = SerialLine<SIEMENS_Device>(port);
    Socket* obex = port.GetSocket(1, &wait);
    ASSERT_EQ(obex, line);
    EXPECT_EQ(line->channel, 1);
    EXPECT_EQ(port.GetSocket(1), line);  // found as it is now
    ASSERT_TRUE(port.device->OpenFileAccess(obex, &wait));
    EXPECT_EQ(phone.log, (Log{"AT^SQWE=0", "AT^SQWE=3", "CONNECT 16"}));

    phone.log.clear();
    clock.slept = 0;
    port.Disconnect();
    // The device ends the session on its way back to AT mode (once: a phone that does not
    // answer costs one wait), escapes and resets the line.
    EXPECT_EQ(phone.log, (Log{"DISCONNECT", "+++", "ATZ", "ATE0"}));
    EXPECT_FALSE(phone.obexMode);
    EXPECT_EQ(clock.slept, 2 * SIEMENS_Device::kModeSwitchWaitMs);
    EXPECT_EQ(port.device, nullptr);
    EXPECT_EQ(port.sockets.Count(), 0u);
}

TEST_F(ModelTest, SiemensGetSocketForAtModeLeavesObex)
{
    SiemensAt(phone);
    TSerialPort port;
    Socket* line = SerialLine<SIEMENS_Device>(port);
    ASSERT_EQ(port.GetSocket(1), line);
    ASSERT_TRUE(port.device->OpenFileAccess(line, nullptr));
    phone.log.clear();
    EXPECT_EQ(port.GetSocket(0, &wait), line);
    EXPECT_EQ(line->channel, 0);
    EXPECT_EQ(port.device->fileAccess, nullptr);
    EXPECT_EQ(phone.log, (Log{"DISCONNECT", "+++", "ATZ", "ATE0"}));
}

TEST_F(ModelTest, SiemensSecondAttemptAfterSwitchingTheLineAgain)
{
    SiemensAt(phone);
    phone.refuseConnects = 2;
    TSerialPort port;
    Socket* line = SerialLine<SIEMENS_Device>(port);
    ASSERT_EQ(port.GetSocket(1), line);
    phone.log.clear();
    auto* scripted = static_cast<ScriptedSocket*>(line);
    int purgesBefore = scripted->purgeCalls;
    ASSERT_TRUE(port.device->OpenFileAccess(line, &wait));
    EXPECT_EQ(phone.log, (Log{"CONNECT 16", "CONNECT 16", "DISCONNECT", "+++", "ATZ", "ATE0", "AT^SQWE=0",
                              "AT^SQWE=3", "CONNECT 16"}));
    EXPECT_EQ(scripted->purgeCalls, purgesBefore + 1);
    EXPECT_EQ(wait.steps, 3);
    EXPECT_NE(port.device->fileAccess, nullptr);
}

TEST_F(ModelTest, SiemensRefusingTheTargetEndsInAtMode)
{
    SiemensAt(phone);
    phone.targets.clear();
    TSerialPort port;
    Socket* line = SerialLine<SIEMENS_Device>(port);
    ASSERT_EQ(port.GetSocket(1), line);
    EXPECT_FALSE(port.device->OpenFileAccess(line, &wait));
    EXPECT_EQ(port.device->fileAccess, nullptr);
    EXPECT_FALSE(phone.obexMode);
    ASSERT_GE(phone.log.size(), 2u);
    EXPECT_EQ(phone.log[phone.log.size() - 2], "ATZ");
    EXPECT_EQ(phone.log.back(), "ATE0");
}

TEST_F(ModelTest, SiemensOverBluetoothTriesTwiceWithoutSwitching)
{
    TBthPort port;
    Socket* link = ObexLink<SIEMENS_Device>(port);
    EXPECT_FALSE(port.device->OpenFileAccess(link, &wait));
    EXPECT_EQ(phone.log, (Log{"CONNECT 16", "CONNECT 16", "CONNECT 16", "CONNECT 16"}));
    EXPECT_EQ(wait.steps, 2);
    EXPECT_EQ(clock.slept, 0u);
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "SIEMENS");
}

TEST_F(ModelTest, SiemensReadsTheMemoryFiguresAfterAListing)
{
    TIrDAPort port;
    Socket* link = ObexLink<SIEMENS_Device>(port);
    phone.targets = {FakePhone::Target(SiemensTarget)};
    phone.memoryTotal = 16777216;
    phone.memoryFree = 1234567;
    ASSERT_TRUE(port.device->OpenFileAccess(link, nullptr));
    port.device->AfterListing(port.device->fileAccess);
    EXPECT_EQ(port.device->fileAccess->memoryTotal, 16777216u);
    EXPECT_EQ(port.device->fileAccess->memoryFree, 1234567u);
    EXPECT_EQ(phone.log, (Log{"CONNECT 16", "MEMORY 1", "MEMORY 2"}));
    // The generic device asks nothing.
    Device plain(&port);
    plain.AfterListing(port.device->fileAccess);
    EXPECT_EQ(phone.log.size(), 3u);
}

TEST_F(ModelTest, GenericReleaseLeavesTheSocketToThePort)
{
    TSerialPort port;
    Socket* line = SerialLine<Device>(port);
    port.device->ReleaseSocket(line);
    EXPECT_TRUE(line->IsOpen());
}

// --- settings record and busy state ---

class StoreInUse {
public:
    explicit StoreInUse(SettingsStore& store) { SetDeviceSettingsStore(&store); }
    ~StoreInUse() { SetDeviceSettingsStore(nullptr); }
};

TEST(DeviceSettings, LookedUpAtCreationAndStoredAtDestruction)
{
    SettingsStore store;
    StoreInUse use(store);
    auto* known = new LAST_SET_DEVICE;
    known->manufacturer = "Nokia";
    known->model = "6230i";
    known->serialNumber = "351";
    known->lastFolder = "Images";
    store.DeviceSettings.Append(known);

    TSerialPort port;
    port.info[TComm::kManufacturer] = "Nokia";
    port.info[TComm::kModel] = "6230i";
    port.info[TComm::kSerialNumber] = "351";
    auto* device = new NOKIA_Device(&port);
    EXPECT_STREQ(device->settings.lastFolder.CStr(), "Images");
    // The record keeps the phone's own text; the port shows the model's.
    EXPECT_STREQ(device->settings.manufacturer.CStr(), "Nokia");
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "NOKIA");
    device->settings.fileManagerShown = 1;
    delete device;
    ASSERT_EQ(store.DeviceSettings.Count(), 1u);
    EXPECT_EQ(known->fileManagerShown, 1u);
}

TEST(DeviceSettings, BluetoothPhoneIsKnownByItsAddress)
{
    SettingsStore store;
    StoreInUse use(store);
    const uint8_t address[8] = {1, 2, 3, 4, 5, 6, 0, 0};
    uint64_t value = 0;
    std::memcpy(&value, address, 8);
    auto* known = new LAST_SET_DEVICE;
    known->btAddress = value;
    known->lastFolder = "Sounds";
    store.DeviceSettings.Append(known);

    TBthPort port;
    port.SetAddress(address);
    port.info[TComm::kModel] = "renamed";  // other strings, same radio
    {
        Device device(&port);
        EXPECT_STREQ(device.settings.lastFolder.CStr(), "Sounds");
    }
    EXPECT_EQ(store.DeviceSettings.Count(), 1u);
    TBthPort other;
    const uint8_t otherAddress[8] = {9, 9, 9, 9, 9, 9, 0, 0};
    other.SetAddress(otherAddress);
    other.info[TComm::kModel] = "another";
    {
        Device device(&other);
        EXPECT_STREQ(device.settings.lastFolder.CStr(), "");
    }
    EXPECT_EQ(store.DeviceSettings.Count(), 2u);
}

class RecordingViews : public DeviceViews {
public:
    explicit RecordingViews(std::vector<std::string>& log) : log(log) {}
    ~RecordingViews() override { log.push_back("destroyed"); }
    void SetEnabled(bool enabled) override { log.push_back(enabled ? "enabled" : "disabled"); }

private:
    std::vector<std::string>& log;
};

TEST(DeviceBusy, ViewsFollowTheBusyState)
{
    std::vector<std::string> log;
    TSerialPort port;
    auto* device = new Device(&port);
    device->SetBusy();
    EXPECT_TRUE(device->IsBusy());
    device->AttachViews(new RecordingViews(log));  // attached while busy: disabled at once
    device->ClearBusy();
    EXPECT_FALSE(device->IsBusy());
    device->SetBusy();
    delete device;
    EXPECT_EQ(log, (std::vector<std::string>{"disabled", "enabled", "disabled", "destroyed"}));
}

}  // namespace
