// Flows at a phone's own pace: the simulator runs its line at a cable's 115200 baud or a slow
// link's 9600, and the program talks to it through its serial transport. Each byte takes its
// real time here, so these tests cost seconds; they are kept to one journey per rate.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "devices/SIEMENS_Device.h"
#include "devices/TSerialPort.h"
#include "obex/FTP.h"
#include "obex/FileSink.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/ObexWinKit.h"
#include "support/win/PhoneTree.h"

namespace {

TEST(LineRate, SiemensOnACableAt115200Baud)
{
    PhoneRoot root;
    root.Folder("Pictures");
    const std::string photo = Pattern(64 * 1024, 21);
    root.Write("Pictures\\photo.jpg", photo);
    PhoneSim sim({"--profile", "siemens", "--root", root.Unix(), "--baud", "115200"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;
    TSerialPort port;
    ASSERT_EQ(port.baudRate, 115200u);
    OnSim(port, sim);

    ASSERT_TRUE(port.Connect(nullptr)) << sim.Log();
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "SIEMENS");
    EXPECT_STREQ(port.info[TComm::kModel].CStr(), "S65");
    ASSERT_NE(dynamic_cast<SIEMENS_Device*>(port.device), nullptr);

    Socket* obex = port.GetSocket(Socket::kChannelObex, nullptr);
    ASSERT_NE(obex, nullptr);
    EXPECT_EQ(sim.Control("MODE?"), "obex");
    ASSERT_TRUE(port.device->OpenFileAccess(obex, nullptr)) << sim.Log();
    FTP* files = port.device->fileAccess;

    ASSERT_TRUE(files->ChangeFolder("Pictures"));
    ASSERT_TRUE(files->ReadFolder(nullptr));
    ASSERT_EQ(files->entries.Count(), 1u);
    FolderObject* entry = files->entries.Get(0);
    EXPECT_STREQ(entry->name.CStr(), "photo.jpg");
    ASSERT_EQ(entry->size, photo.size());

    MemoryFileSink got;
    EXPECT_TRUE(files->GetFile(entry, got, nullptr));
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(got.Data()), got.Size()) == photo)
        << "the fetched file differs";

    PhoneRoot local;
    const std::string upload = Pattern(64 * 1024, 22);
    local.Write("upload.bin", upload);
    FileInformation info = LocalFile(local.Path("upload.bin"));
    EXPECT_TRUE(files->PutFile(&info, nullptr));
    EXPECT_TRUE(root.Read("Pictures\\upload.bin") == upload) << "the stored file differs";

    port.Disconnect();
    EXPECT_EQ(sim.Control("MODE?"), "at");
    EXPECT_TRUE(boxes.Boxes().empty());
}

// At 9600 baud a packet of 1 KiB takes more than a second on the line: no wait of the
// program may end before the phone could have sent it.
TEST(LineRate, SlowLineAt9600BaudListsAndFetches)
{
    PhoneRoot root;
    for (int i = 1; i < 100; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%02d.txt", i);
        root.Write(name, "x");
    }
    const std::string file = Pattern(16 * 1024, 23);
    root.Write("big.bin", file);
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--baud", "9600"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    line.port.baudRate = 9600;
    ASSERT_TRUE(line.Connect()) << sim.Log();

    ASSERT_TRUE(line.obex->ReadFolder(nullptr)) << sim.Log();
    EXPECT_EQ(line.obex->entries.Count(), 100u);
    EXPECT_TRUE(line.Get("big.bin", static_cast<uint32_t>(file.size())) == file) << "the fetched file differs";
    EXPECT_TRUE(line.obex->Disconnect());
}

}  // namespace
