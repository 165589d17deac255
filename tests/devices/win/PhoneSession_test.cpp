// Device models against simulated phones on mapped COM ports: a Siemens session over OBEX
// after the mode switch, and identification from "telecom/devinfo.txt" served by obexftpd.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "devices/Identification.h"
#include "devices/SIEMENS_Device.h"
#include "devices/TSerialPort.h"
#include "obex/FTP.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/PhoneSim.h"
#include "support/win/PhoneTree.h"
#include "transport/win/SocketSerial.h"

namespace {

class CountingWait : public WaitProgress {
public:
    void SetRange(uint32_t, uint32_t) override {}
    void Step() override { ++steps; }
    int steps = 0;
};

TEST(PhoneSession, SiemensListsItsRootOverObexAndReturnsToAtMode)
{
    PhoneTree tree("devices");
    tree.Folder("Pictures");
    tree.Folder("Sounds");
    tree.File("Pictures\\sun.jpg", std::string(1500, 'j'));
    tree.File("readme.txt", "hello");
    PhoneSim sim({"--profile", "siemens", "--root", tree.unixRoot, "--memory", "1000000"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;

    TSerialPort port;
    OnSim(port, sim);
    ASSERT_TRUE(port.Connect(nullptr));
    ASSERT_NE(dynamic_cast<SIEMENS_Device*>(port.device), nullptr);

    CountingWait wait;
    Socket* obex = port.GetSocket(Socket::kChannelObex, &wait);
    ASSERT_NE(obex, nullptr);
    EXPECT_EQ(obex->channel, Socket::kChannelObex);
    ASSERT_TRUE(port.device->OpenFileAccess(obex, &wait));
    FTP* files = port.device->fileAccess;
    ASSERT_TRUE(files->ReadFolder(&wait));
    std::set<std::string> names;
    for (ListIterator<FolderObject> it(files->entries); !it.IsDone(); it.Next())
        names.insert(std::string(it.CurrentItem()->name.CStr()) + (it.CurrentItem()->type == FolderObject::kFolder ? "/" : ""));
    EXPECT_EQ(names, (std::set<std::string>{"Pictures/", "Sounds/", "readme.txt"}));
    // The listing brought the memory figures along.
    EXPECT_EQ(files->memoryTotal, 1000000u);
    EXPECT_EQ(files->memoryFree, 1000000u - 1505u);

    port.Disconnect();
    EXPECT_EQ(port.device, nullptr);
    // Back in AT mode: a fresh line gets its "OK" to "ATZ\r" at once.
    TSerialPort again;
    OnSim(again, sim);
    SocketSerial line(&again, 0);
    ASSERT_TRUE(line.Open());
    EXPECT_TRUE(AtResetSequence(line, nullptr));
    line.Close();
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(PhoneSession, DeviceInformationFromObexftpd)
{
    PhoneTree tree("devices");
    tree.Folder("telecom");
    tree.File("telecom\\devinfo.txt",
              "MANU:Nokia\r\nMOD:Nokia 6310i\r\nSN:350000111122223\r\nSW-VERSION:V 5.22\r\n"
              "SW-DATE:20030611\r\nHW-VERSION:0520\r\nIRMC-VERSION:1.1\r\n");
    PhoneSim sim({"--profile", "generic", "--start-in-obex", "--obex", "obexftpd", "--root", tree.unixRoot});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;

    TSerialPort port;
    OnSim(port, sim);
    // The line is in OBEX mode already: its socket is the OBEX one.
    auto* line = new SocketSerial(&port, Socket::kChannelObex);
    port.AddSocket(line);
    ASSERT_TRUE(IdentifyByDeviceInfo(port));
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "Nokia");
    EXPECT_STREQ(port.info[TComm::kModel].CStr(), "Nokia 6310i");
    EXPECT_STREQ(port.info[TComm::kSerialNumber].CStr(), "350000111122223");
    EXPECT_STREQ(port.info[TComm::kSoftwareVersion].CStr(), "V 5.22");
    EXPECT_STREQ(port.info[TComm::kSoftwareDate].CStr(), "20030611");
    EXPECT_STREQ(port.info[TComm::kHardwareVersion].CStr(), "0520");
    EXPECT_STREQ(port.info[TComm::kFirmwareVersion].CStr(), "");
    EXPECT_FALSE(line->IsOpen());  // closed, kept for later users
    EXPECT_EQ(port.sockets.Count(), 1u);
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
