// Confirming the serial line options: applied to an idle line, only stored while the phone or
// a scan uses it, and a refused choice leaves the port as it was.
#include <gtest/gtest.h>

#include "devices/Device.h"
#include "devices/TSerialPort.h"
#include "support/MemoryPhone.h"
#include "ui/SerialLineOptions.h"

namespace {

class RecordingLine : public SerialLineControl {
public:
    bool Configure(TSerialPort& port) override
    {
        seen.push_back(port.baudRate);
        return accept;
    }
    bool accept = true;
    std::vector<uint32_t> seen;
};

TEST(SerialLineOptions, CustomThenDefaultsOnAnIdleLine)
{
    EXPECT_EQ(LineSpeedIndex(12345), -1) << "a stored speed not in the list selects nothing";
    EXPECT_EQ(LineSpeedAt(-1), 0u) << "and no selection gives speed 0";
    TSerialPort port;
    RecordingLine line;
    EXPECT_EQ(ApplyLineChoice(port, SerialLineChoice{LineSpeedAt(5), false, true, false}, false, line),
              LineOutcome::Applied);
    EXPECT_EQ(port.baudRate, 57600u);
    EXPECT_FALSE(port.dtr);
    EXPECT_FALSE(port.useDefaults);
    EXPECT_EQ(LineChoiceOf(port).baudRate, 57600u);
    // The defaults ignore whatever else the choice holds.
    EXPECT_EQ(ApplyLineChoice(port, SerialLineChoice{0, false, false, true}, false, line), LineOutcome::Applied);
    EXPECT_EQ(port.baudRate, 115200u);
    EXPECT_TRUE(port.dtr && port.rts && port.useDefaults);
    EXPECT_EQ(line.seen, (std::vector<uint32_t>{57600, 115200}));
}

TEST(SerialLineOptions, ARefusedChoiceLeavesThePortAsItWas)
{
    TSerialPort port;
    port.baudRate = 19200;
    port.useDefaults = false;
    RecordingLine line;
    line.accept = false;
    EXPECT_EQ(ApplyLineChoice(port, SerialLineChoice{0, true, false, false}, false, line), LineOutcome::Refused);
    EXPECT_EQ(line.seen, (std::vector<uint32_t>{0}));
    EXPECT_EQ(port.baudRate, 19200u);
    EXPECT_TRUE(port.rts);
    EXPECT_FALSE(port.useDefaults);
}

// Reaching the AT channel of a phone whose file manager is open takes the line out of OBEX
// mode; a busy phone or a scan may be using the line. The choice waits for the next connection.
TEST(SerialLineOptions, ALineInUseIsNeverTouched)
{
    TSerialPort port;
    RecordingLine line;
    EXPECT_FALSE(LineInUse(port, false));
    EXPECT_TRUE(LineInUse(port, true));
    port.device = new Device(&port);
    EXPECT_FALSE(LineInUse(port, false));
    port.device->fileAccess = new MemoryPhone;
    EXPECT_TRUE(LineInUse(port, false));
    delete port.device->fileAccess;
    port.device->fileAccess = nullptr;
    port.device->SetBusy();
    EXPECT_TRUE(LineInUse(port, false));

    EXPECT_EQ(ApplyLineChoice(port, SerialLineChoice{9600, true, true, false}, LineInUse(port, false), line),
              LineOutcome::Stored);
    EXPECT_TRUE(line.seen.empty());
    EXPECT_EQ(port.baudRate, 9600u);
    EXPECT_FALSE(port.useDefaults);
}

}  // namespace
