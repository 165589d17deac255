#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/ConnectProgress.h"
#include "devices/Device.h"
#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "obex/Progress.h"
#include "support/ScriptedSocketFactory.h"
#include "support/VirtualClock.h"

namespace {

constexpr uint32_t kSilentReadMs = 12000;

class FakeProgress : public ConnectProgress {
public:
    void SetPosition(uint32_t p) override { position = p; }
    void SetRange(uint32_t low, uint32_t high) override
    {
        rangeLow = low;
        rangeHigh = high;
    }
    void Step() override { ++steps; }
    bool IsCancelled() override
    {
        ++checks;
        return cancelAt != 0 && checks >= cancelAt;
    }
    uint32_t position = 99;
    uint32_t rangeLow = 99;
    uint32_t rangeHigh = 99;
    int steps = 0;
    int checks = 0;
    int cancelAt = 0;  // the n-th check answers cancelled (0: never)
};

class CountingWait : public WaitProgress {
public:
    void SetRange(uint32_t, uint32_t) override {}
    void Step() override { ++steps; }
    int steps = 0;
};

// Ports whose identification the test decides.
template <class Port>
class Probe : public Port {
public:
    bool Identify() override
    {
        ++identifyCalls;
        return identifyResult;
    }
    int identifyCalls = 0;
    bool identifyResult = true;
};

class PortTest : public testing::Test {
protected:
    VirtualClock clock;
    ClockOverride useClock{clock};
    ScriptedSocketFactory factory;
    SocketFactoryOverride useFactory{factory};
    FakeProgress progress;
};

// --- serial line ---

void HandshakeOk(ScriptedSocket& s)
{
    s.SetBytePerRead(true);
    s.SetSilenceCostMs(kSilentReadMs);
    s.Expect("ATZ\r", "\r\nOK\r\n").Expect("ATE0\r", "\r\nOK\r\n");
}

// A phone left in OBEX mode: silent to "ATZ\r" until "+++" brings it back.
void HandshakeAfterEscape(ScriptedSocket& s)
{
    s.SetBytePerRead(true);
    s.SetSilenceCostMs(kSilentReadMs);
    s.Expect("ATZ\r").Expect("+++").Expect("ATZ\r", "\r\nOK\r\n").Expect("ATE0\r", "OK\r\n");
}

TEST_F(PortTest, SerialHandshakeAndIdentification)
{
    Probe<TSerialPort> port;
    factory.Script(0, HandshakeOk);
    ASSERT_TRUE(port.Connect(&progress));
    EXPECT_EQ(progress.position, 0u);
    EXPECT_EQ(progress.rangeHigh, 10u);
    EXPECT_EQ(progress.steps, 1);
    EXPECT_EQ(port.identifyCalls, 1);
    EXPECT_TRUE(port.identified);
    EXPECT_TRUE(port.isOpen);
    ASSERT_NE(port.device, nullptr);
    EXPECT_EQ(clock.slept, 0u);
    ScriptedSocket* s = factory.Last(0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Writes(), (std::vector<std::string>{"ATZ\r", "ATE0\r"}));
    EXPECT_TRUE(s->Done());
}

TEST_F(PortTest, SerialPhoneInObexModeIsRecoveredByEscape)
{
    Probe<TSerialPort> port;
    factory.Script(0, HandshakeAfterEscape);
    ASSERT_TRUE(port.Connect(&progress));
    ScriptedSocket* s = factory.Last(0);
    EXPECT_EQ(s->Writes(), (std::vector<std::string>{"ATZ\r", "+++", "ATZ\r", "ATE0\r"}));
    EXPECT_EQ(clock.slept, kSilentReadMs + TSerialPort::kEscapeGuardMs);
    EXPECT_EQ(progress.steps, 2);
    EXPECT_TRUE(s->Unexpected().empty());
}

TEST_F(PortTest, SerialResetAnsweredWithErrorAlsoTriesEscape)
{
    Probe<TSerialPort> port;
    factory.Script(0, [](ScriptedSocket& s) {
        s.SetBytePerRead(true);
        s.Expect("ATZ\r", "\r\nERROR\r\n").Expect("+++").Expect("ATZ\r", "\r\nERROR\r\n");
    });
    EXPECT_FALSE(port.Connect(&progress));
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(port.identifyCalls, 0);
    EXPECT_EQ(factory.Last(0)->Writes().size(), 3u);  // no echo-off after a failed reset
    port.Disconnect();
    EXPECT_EQ(port.sockets.Count(), 0u);
    EXPECT_FALSE(port.isOpen);
}

TEST_F(PortTest, SerialLineThatDoesNotOpen)
{
    Probe<TSerialPort> port;
    factory.FailOpen(0);
    EXPECT_FALSE(port.Connect(nullptr));
    EXPECT_EQ(factory.Log(), (std::vector<std::string>{"open failed 0"}));
    EXPECT_TRUE(factory.Last(0)->Writes().empty());
    EXPECT_FALSE(port.isOpen);
}

struct SerialCancel {
    int cancelAt;
    std::vector<std::string> writes;
    uint32_t slept;
};

class SerialCancelPoints : public PortTest, public testing::WithParamInterface<SerialCancel> {};

TEST_P(SerialCancelPoints, CancelEndsTheConnectAtOnce)
{
    const SerialCancel& c = GetParam();
    Probe<TSerialPort> port;
    factory.Script(0, HandshakeAfterEscape);
    progress.cancelAt = c.cancelAt;
    EXPECT_FALSE(port.Connect(&progress));
    EXPECT_EQ(factory.Last(0)->Writes(), c.writes);
    EXPECT_EQ(clock.slept, c.slept);
    EXPECT_EQ(port.identifyCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, SerialCancelPoints,
    testing::Values(SerialCancel{1, {}, 0},                   // after opening
                    SerialCancel{2, {"+++"}, 0},              // before the reset
                    SerialCancel{3, {"ATZ\r", "+++"}, kSilentReadMs},  // after the escape
                    SerialCancel{4, {"ATZ\r", "+++"},
                                 kSilentReadMs + TSerialPort::kEscapeGuardMs}));  // second reset

TEST_F(PortTest, SerialUncancelledRunHasFourCheckPoints)
{
    Probe<TSerialPort> port;
    factory.Script(0, HandshakeAfterEscape);
    progress.cancelAt = 5;
    EXPECT_TRUE(port.Connect(&progress));
    EXPECT_EQ(progress.checks, 4);
}

TEST_F(PortTest, SerialConnectEndsWithIdentification)
{
    TSerialPort port;
    factory.Script(0, [](ScriptedSocket& s) {
        HandshakeOk(s);
        s.Expect("AT+CGMI\r", "\r\nMotorola\r\n\r\nOK\r\n")
            .Expect("AT+CGMM\r", "\r\nC380\r\n\r\nOK\r\n")
            .Expect("AT+CGSN\r", "\r\n351234567890123\r\n\r\nOK\r\n")
            .Expect("AT+CGMR\r", "\r\nR3.1\r\n\r\nOK\r\n");
    });
    ASSERT_TRUE(port.Connect(nullptr));
    EXPECT_TRUE(factory.Last(0)->Done());
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "Motorola");
    EXPECT_STREQ(port.info[TComm::kModel].CStr(), "C380");
    EXPECT_TRUE(port.identified);
    ASSERT_NE(port.device, nullptr);
    EXPECT_STREQ(port.device->name.CStr(), "Motorola C380");
}

// --- serial mode switch ---

class SwitchingDevice : public Device {
public:
    explicit SwitchingDevice(TComm* port) : Device(port) {}
    bool EnterObexMode(Socket* socket) override
    {
        ++enters;
        if (canSwitch)
            socket->channel = 1;
        return canSwitch;
    }
    bool LeaveObexMode(Socket* socket) override
    {
        ++leaves;
        if (canSwitch)
            socket->channel = 0;
        return canSwitch;
    }
    bool canSwitch = true;
    int enters = 0;
    int leaves = 0;
};

TEST_F(PortTest, SerialGetSocketCreatesTheLineUnopened)
{
    TSerialPort port;
    Socket* s = port.GetSocket(0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(port.sockets.Count(), 1u);
    EXPECT_FALSE(s->IsOpen());
    EXPECT_EQ(port.GetSocket(0), s);
    EXPECT_EQ(factory.Created().size(), 1u);
}

TEST_F(PortTest, SerialGetSocketSwitchesModes)
{
    TSerialPort port;
    Socket* line = port.GetSocket(0);
    auto* device = new SwitchingDevice(&port);
    port.device = device;
    CountingWait wait;

    EXPECT_EQ(port.GetSocket(1, &wait), line);
    EXPECT_EQ(line->channel, 1);
    EXPECT_EQ(port.GetSocket(1, &wait), line);  // already in OBEX mode: no second switch
    EXPECT_EQ(device->enters, 1);
    EXPECT_EQ(port.GetSocket(0, &wait), line);
    EXPECT_EQ(line->channel, 0);
    EXPECT_EQ(device->leaves, 1);
    EXPECT_EQ(wait.steps, 2);
    EXPECT_EQ(port.sockets.Count(), 1u);
}

TEST_F(PortTest, SerialGetSocketWhenTheDeviceCannotSwitch)
{
    TSerialPort port;
    Socket* line = port.GetSocket(0);
    auto* device = new SwitchingDevice(&port);
    device->canSwitch = false;
    port.device = device;
    EXPECT_EQ(port.GetSocket(1), nullptr);
    EXPECT_EQ(line->channel, 0);

    line->channel = 1;  // a line left in OBEX mode that will not come back
    EXPECT_EQ(port.GetSocket(0), nullptr);
    EXPECT_EQ(port.sockets.Count(), 1u);  // no second socket on the same line
}

TEST_F(PortTest, SerialGetSocketForObexNeedsALineAndADevice)
{
    TSerialPort port;
    EXPECT_EQ(port.GetSocket(1), nullptr);  // no line
    port.GetSocket(0);
    EXPECT_EQ(port.GetSocket(1), nullptr);  // no device
    port.device = new Device(&port);
    EXPECT_EQ(port.GetSocket(1), nullptr);  // the generic device stays in AT mode
    EXPECT_EQ(port.GetSocket(2), nullptr);
}

// --- IrDA ---

struct IrdaCase {
    const char* name;
    uint8_t hints;
    bool obexOpens;
    std::vector<int32_t> created;
    std::vector<int32_t> kept;
};

class IrdaConnect : public PortTest, public testing::WithParamInterface<IrdaCase> {};

TEST_P(IrdaConnect, HintBitsChooseTheServices)
{
    const IrdaCase& c = GetParam();
    Probe<TIrDAPort> port;
    port.irdaHints[1] = c.hints;
    if (!c.obexOpens)
        factory.FailOpen(1);
    bool ok = port.Connect(&progress);
    EXPECT_EQ(ok, !c.kept.empty());
    EXPECT_EQ(port.identifyCalls, c.kept.empty() ? 0 : 1);
    EXPECT_EQ(factory.Created(), c.created);
    std::vector<int32_t> kept;
    for (ListIterator<Socket> it(port.sockets); !it.IsDone(); it.Next())
        kept.push_back(it.CurrentItem()->channel);
    EXPECT_EQ(kept, c.kept);
    EXPECT_EQ(progress.checks, 0);  // the IrDA sequence has no cancel points
}

INSTANTIATE_TEST_SUITE_P(
    Devices, IrdaConnect,
    testing::Values(IrdaCase{"ObexAndIrComm", 0x24, true, {1}, {1}},
                    IrdaCase{"ObexRefusedFallsBackToIrComm", 0x24, false, {1, 0}, {0}},
                    IrdaCase{"ObexOnlyRefused", 0x20, false, {1}, {}},
                    IrdaCase{"IrCommOnly", 0x04 | 0x01, true, {0}, {0}},
                    IrdaCase{"OtherHintsOnly", 0x9B, true, {}, {}}),
    [](const testing::TestParamInfo<IrdaCase>& info) { return std::string(info.param.name); });

TEST_F(PortTest, IrdaSamsungWithoutObexUsesItsAtSocket)
{
    Probe<TIrDAPort> probe;
    probe.irdaHints[1] = TIrDAPort::kHintIrComm;
    ASSERT_TRUE(probe.Connect(nullptr));
    Socket* at = probe.GetSocket(0);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(probe.GetSocket(1), nullptr);
    probe.info[TComm::kManufacturer] = "Samsung";
    EXPECT_EQ(probe.GetSocket(1), nullptr);  // only the exact text counts
    probe.info[TComm::kManufacturer] = "SAMSUNG";
    EXPECT_EQ(probe.GetSocket(1), at);
    EXPECT_EQ(probe.GetSocket(2), nullptr);
}

TEST(IrdaPort, DeviceRecordGivesAddressAndHints)
{
    uint8_t record[TIrDAPort::kDeviceRecordSize] = {};
    record[0] = 0xDE;
    record[1] = 0xAD;
    record[2] = 0xBE;
    record[3] = 0xEF;
    record[26] = 0x82;
    record[27] = 0x24;
    record[28] = 0xFF;
    TIrDAPort port;
    port.SetFromDeviceRecord(record);
    EXPECT_EQ(port.irdaAddress[0], 0xDE);
    EXPECT_EQ(port.irdaAddress[3], 0xEF);
    EXPECT_EQ(port.irdaHints[0], 0x82);
    EXPECT_EQ(port.irdaHints[1], 0x24);
    EXPECT_EQ(port.kind, TComm::kIrDA);
    EXPECT_STREQ(port.portName.CStr(), "IrDA");
}

// --- Bluetooth ---

struct BthCase {
    const char* name;
    uint32_t major;
    bool obexOpens;
    std::vector<int32_t> created;
    std::vector<int32_t> kept;
};

class BthConnect : public PortTest, public testing::WithParamInterface<BthCase> {};

TEST_P(BthConnect, MajorClassChoosesTheServices)
{
    const BthCase& c = GetParam();
    Probe<TBthPort> port;
    port.SetClassOfDevice(c.major << 8);
    if (!c.obexOpens)
        factory.FailOpen(1);
    EXPECT_EQ(port.Connect(&progress), !c.kept.empty());
    EXPECT_EQ(factory.Created(), c.created);
    std::vector<int32_t> kept;
    for (ListIterator<Socket> it(port.sockets); !it.IsDone(); it.Next())
        kept.push_back(it.CurrentItem()->channel);
    EXPECT_EQ(kept, c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, BthConnect,
    testing::Values(BthCase{"Computer", 1, true, {1}, {1}},
                    BthCase{"Phone", 2, true, {1}, {1}},
                    BthCase{"PhoneObexRefused", 2, false, {1, 0}, {0}},
                    BthCase{"Headset", 4, true, {3}, {3}},
                    BthCase{"Class6ObexAndHeadset", 6, true, {1, 3}, {1, 3}},
                    BthCase{"Class6ObexRefused", 6, false, {1, 0, 3}, {0, 3}},
                    BthCase{"Peripheral", 5, true, {1, 3}, {1, 3}},
                    BthCase{"Miscellaneous", 0, true, {}, {}},
                    BthCase{"Wearable", 8, true, {}, {}}),
    [](const testing::TestParamInfo<BthCase>& info) { return std::string(info.param.name); });

struct BthCancel {
    int cancelAt;
    std::vector<int32_t> created;
};

class BthCancelPoints : public PortTest, public testing::WithParamInterface<BthCancel> {};

TEST_P(BthCancelPoints, CancelEndsTheConnect)
{
    Probe<TBthPort> port;
    port.SetClassOfDevice(6 << 8);
    progress.cancelAt = GetParam().cancelAt;
    EXPECT_FALSE(port.Connect(&progress));
    EXPECT_EQ(factory.Created(), GetParam().created);
    EXPECT_EQ(port.identifyCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, BthCancelPoints,
                         testing::Values(BthCancel{1, {}}, BthCancel{2, {1}},
                                         BthCancel{3, {1}}, BthCancel{4, {1, 3}}));

TEST(BthPort, ClassOfDeviceFields)
{
    TBthPort port;
    port.SetClassOfDevice(0x5A020C);
    EXPECT_EQ(port.majorClass, 2u);
    EXPECT_EQ(port.minorClass, 3u);
    EXPECT_STREQ(port.portName.CStr(), "Bluetooth");
}

TEST_F(PortTest, BthHeadsetIsIdentifiedByItsName)
{
    TBthPort port;
    port.SetClassOfDevice(0x200404);
    port.deviceName = "HS-3";
    ASSERT_TRUE(port.Connect(nullptr));
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "HS-3");
    EXPECT_TRUE(factory.Last(3)->Writes().empty());
    EXPECT_STREQ(port.device->name.CStr(), "HS-3");
}

}  // namespace
