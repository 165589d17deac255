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
#include "transport/win/SocketSerial.h"

namespace {

class CountingWait : public WaitProgress {
public:
    void SetRange(uint32_t, uint32_t) override {}
    void Step() override { ++steps; }
    int steps = 0;
};

// A folder tree under the build tree (the simulator takes Unix paths), removed at the end.
class PhoneTree {
public:
    PhoneTree()
    {
        const char* build = std::getenv("QV_BUILD");
        unixRoot = std::string(build != nullptr ? build : "/tmp") + "/test-trees/devices-" +
                   std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
        CreateDirectoryA(PhoneSim::WinePath(unixRoot.substr(0, unixRoot.rfind('/'))).c_str(), nullptr);
        CreateDirectoryA(Win().c_str(), nullptr);
    }
    ~PhoneTree() { Remove(Win()); }
    std::string Win(const std::string& relative = "") const
    {
        return PhoneSim::WinePath(unixRoot) + (relative.empty() ? "" : "\\" + relative);
    }
    void Folder(const std::string& relative) { CreateDirectoryA(Win(relative).c_str(), nullptr); }
    void File(const std::string& relative, const std::string& content)
    {
        HANDLE h = CreateFileA(Win(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(h);
    }

    std::string unixRoot;

private:
    static void Remove(const std::string& dir)
    {
        WIN32_FIND_DATAA fd;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = fd.cFileName;
                if (name == "." || name == "..")
                    continue;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(dir + "\\" + name);
                else
                    DeleteFileA((dir + "\\" + name).c_str());
            } while (FindNextFileA(find, &fd));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }
    static inline int counter = 0;
};

void OnSim(TSerialPort& port, const PhoneSim& sim)
{
    port.portName = sim.ComName().c_str();
    port.displayName = sim.ComName().c_str();
    port.devicePath = sim.DevicePath().c_str();
}

TEST(PhoneSession, SiemensListsItsRootOverObexAndReturnsToAtMode)
{
    PhoneTree tree;
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
    PhoneTree tree;
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
