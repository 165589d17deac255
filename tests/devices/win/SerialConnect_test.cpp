// The serial connect sequence against the phone simulator on a mapped COM port, through the
// program's own transports.
#include <gtest/gtest.h>

#include "devices/Device.h"
#include "devices/TSerialPort.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/PhoneSim.h"
#include "support/win/SimLog.h"
#include "transport/Socket.h"

namespace {

TEST(SerialConnect, HandshakeAndIdentification)
{
    PhoneSim sim({"--manufacturer", "ACME", "--model", "R-2"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;
    TSerialPort port;
    port.portName = sim.ComName().c_str();
    ASSERT_TRUE(port.Connect(nullptr)) << sim.Log();
    // The first reset answered: no escape, no second try.
    const std::string log = sim.Log();
    EXPECT_EQ(LinesFromPc(log, "ATZ"), 1) << log;
    EXPECT_EQ(LinesFromPc(log, "+++"), 0) << log;
    EXPECT_TRUE(port.identified);
    EXPECT_TRUE(port.isOpen);
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "ACME");
    EXPECT_STREQ(port.info[TComm::kModel].CStr(), "R-2");
    ASSERT_NE(port.device, nullptr);
    EXPECT_STREQ(port.device->name.CStr(), "ACME R-2");
    port.Disconnect();
    EXPECT_FALSE(port.isOpen);
    EXPECT_EQ(port.sockets.Count(), 0u);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SerialConnect, PhoneLeftInObexModeIsRecoveredByEscapeSlow)
{
    PhoneSim sim({"--start-in-obex"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TSerialPort port;
    port.portName = sim.ComName().c_str();
    DWORD start = GetTickCount();
    ASSERT_TRUE(port.Connect(nullptr)) << sim.Log();
    DWORD ms = GetTickCount() - start;
    // One silent "ATZ\r" (four 3 s waits), "+++" and the 2 s pause, then the handshake.
    EXPECT_GE(ms, 13500u);
    const std::string log = sim.Log();
    EXPECT_EQ(LinesFromPc(log, "ATZ"), 2) << log;
    EXPECT_EQ(LinesFromPc(log, "+++"), 1) << log;
    EXPECT_TRUE(port.identified);
}

TEST(SerialConnect, PortThatDoesNotOpenFailsAndStaysClean)
{
    MessageBoxRecorder boxes(MessageReporter::kOk);
    TSerialPort port;
    port.portName = "QVNOSUCHPORT";
    port.displayName = "Нет такого";
    EXPECT_FALSE(port.Connect(nullptr));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    port.Disconnect();
    EXPECT_EQ(port.sockets.Count(), 0u);
    EXPECT_FALSE(port.isOpen);
}

}  // namespace
