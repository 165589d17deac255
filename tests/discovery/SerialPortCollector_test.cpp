// What the serial poll does with each COM port it lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/TSerialPort.h"
#include "discovery/PortList.h"
#include "discovery/SerialPortCollector.h"

namespace {

TSerialPort* NewPort(const char* display, const char* com, const char* path)
{
    auto* port = new TSerialPort;
    port->displayName = display;
    port->portName = com;
    port->devicePath = path;
    return port;
}

std::vector<std::string> Names(const List<TComm>& list)
{
    std::vector<std::string> names;
    for (ListIterator<TComm> it(list); !it.IsDone(); it.Next())
        names.push_back(it.CurrentItem()->displayName.CStr());
    return names;
}

class CollectorTest : public testing::Test {
protected:
    ~CollectorTest() override { found.DeleteAll(); }

    SettingsStore store;
    PortList list{store};
    List<TComm> found;
};

TEST_F(CollectorTest, ExclusionsAndSavedLineSettingsAreApplied)
{
    auto* excluded = new EXCLUDEPORTS;
    excluded->kind = 0;
    excluded->name = "USB Serial Port (COM5)";
    store.ExcludedPorts.Append(excluded);
    auto* saved = new EXT_LIST_SERIALPORTS;
    saved->name = "Communications Port (COM1)";
    saved->baudRate = 9600;
    saved->dtr = 0;
    saved->rts = 1;
    store.SerialPortSettings.Append(saved);

    SerialPortCollector collector(list, found);
    collector.Add(NewPort("Communications Port (COM1)", "COM1", "\\\\?\\acpi#pnp0501#1"));
    collector.Add(NewPort("USB Serial Port (COM5)", "COM5", "\\\\?\\ftdibus#vid_0403#5"));
    ASSERT_EQ(Names(found), (std::vector<std::string>{"Communications Port (COM1)", "USB Serial Port (COM5)"}));
    auto* com1 = static_cast<TSerialPort*>(found.Get(0));
    auto* com5 = static_cast<TSerialPort*>(found.Get(1));
    EXPECT_TRUE(com1->included);
    EXPECT_EQ(com1->baudRate, 9600u);
    EXPECT_FALSE(com1->dtr);
    EXPECT_TRUE(com1->rts);
    EXPECT_FALSE(com1->useDefaults);
    EXPECT_FALSE(com5->included);
    EXPECT_EQ(com5->baudRate, 115200u);
    EXPECT_TRUE(com5->useDefaults);
    EXPECT_EQ(collector.Added(), 2u);
}

TEST_F(CollectorTest, TheSameComPortFromTheSecondInterfaceClassIsDiscarded)
{
    SerialPortCollector collector(list, found);
    collector.Add(NewPort("Communications Port (COM1)", "COM1", "\\\\?\\acpi#pnp0501#1#{86e0d1e0}"));
    collector.Add(NewPort("Communications Port (COM1)", "COM1", "\\\\?\\acpi#pnp0501#1#{4d36e978}"));
    EXPECT_EQ(found.Count(), 1u);
    EXPECT_EQ(collector.Added(), 1u);
}

TEST_F(CollectorTest, PortsOfTheIrdaAndBluetoothStacksAreKeptApart)
{
    {
        auto lock = list.Lock();
        list.virtualSerialPorts.Append(NewPort("left over", "COM40", "\\\\?\\bthenum#old"));
    }
    SerialPortCollector collector(list, found);
    EXPECT_EQ(list.virtualSerialPorts.Count(), 0u);  // each poll starts afresh
    collector.Add(NewPort("Standard Serial over Bluetooth link (COM8)", "COM8", "\\\\?\\bthenum#{00001101}#8"));
    collector.Add(NewPort("Standard Serial over Bluetooth link (COM8)", "COM8", "\\\\?\\bthenum#{00001101}#8"));
    collector.Add(NewPort("Infrared Serial (COM4) Port", "COM4", "\\\\?\\irenum#port#4"));
    collector.Add(NewPort("USB (COM6)", "COM6", "\\\\?\\BTHENUM-like#usb#6"));  // the test is case-sensitive
    EXPECT_EQ(Names(found), (std::vector<std::string>{"USB (COM6)"}));
    std::vector<std::string> virtuals;
    for (ListIterator<TSerialPort> it(list.virtualSerialPorts); !it.IsDone(); it.Next())
        virtuals.push_back(it.CurrentItem()->portName.CStr());
    EXPECT_EQ(virtuals, (std::vector<std::string>{"COM8", "COM4"}));
}

TEST_F(CollectorTest, PlaceholderStandsForAClassWithoutPortsOnce)
{
    SerialPortCollector collector(list, found);
    collector.AddPlaceholder();
    collector.AddPlaceholder();
    ASSERT_EQ(found.Count(), 1u);
    TComm* placeholder = found.Get(0);
    EXPECT_STREQ(placeholder->portName.CStr(), "Последовательный порт");
    EXPECT_STREQ(placeholder->displayName.CStr(), "Последовательный порт - не поддерживается");
    EXPECT_FALSE(placeholder->included);
    EXPECT_FALSE(placeholder->autoConnect);
    EXPECT_FALSE(placeholder->usable);
    EXPECT_EQ(collector.Added(), 0u);
}

}  // namespace
