// The Samsung AT file system against the simulated phone on a mapped COM port: through the
// device model as the program opens it, and with the phone misbehaving.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "devices/SAMSUNG_Device.h"
#include "devices/TSerialPort.h"
#include "samsung/RecordingProgress.h"
#include "samsung/SAMSUNG_AT_FS.h"
#include "samsung/win/SamsungPhoneTree.h"
#include "support/CountingSocket.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/PhoneSim.h"
#include "transport/win/SocketSerial.h"

namespace {

using samsung_test::AwkwardContent;
using samsung_test::Entry;
using samsung_test::Listed;
using samsung_test::OnSim;
using samsung_test::PhoneTree;
using samsung_test::RecordingProgress;
using samsung_test::RecordingWait;
using samsung_test::SimSetting;
using Names = std::vector<std::string>;

void SetModified(const std::string& path, WORD year, WORD month, WORD day)
{
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = 12;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

TEST(SamsungFileSystem, BrowsesReadsAndDeletesThroughTheDeviceModel)
{
    PhoneTree tree;
    tree.Folder("Картинки");
    tree.Folder("Музыка");
    tree.Folder("Музыка\\Рок");
    const std::string sunset = AwkwardContent(5000);
    tree.File("Картинки\\закат.jpg", sunset);
    tree.File("Картинки\\a.txt", "abc");
    tree.File("Картинки\\b.txt", "bb");
    tree.File("Картинки\\c.txt", "");
    tree.File("Музыка\\Рок\\песня.mid", "MThd");
    tree.File("readme.txt", "hello");
    SetModified(tree.Win("readme.txt"), 2007, 3, 15);
    PhoneSim sim({"--profile", "samsung", "--root", tree.unixRoot});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;

    TSerialPort port;
    OnSim(port, sim);
    ASSERT_TRUE(port.Connect(nullptr));
    ASSERT_NE(dynamic_cast<SAMSUNG_Device*>(port.device), nullptr);
    RecordingWait wait;
    ASSERT_TRUE(port.device->OpenFileAccess(port.GetSocket(Socket::kChannelAt), &wait));
    auto* files = dynamic_cast<SAMSUNG_AT_FS*>(port.device->fileAccess);
    ASSERT_NE(files, nullptr);
    EXPECT_FALSE(files->CanCopyToDevice());
    ASSERT_TRUE(SimSetting(*files->socket, "page,2"));
    ASSERT_TRUE(SimSetting(*files->socket, "block,700"));

    ASSERT_TRUE(files->ReadFolder(&wait));
    EXPECT_EQ(Listed(*files), (Names{"Картинки/", "Музыка/", "readme.txt"}));
    const FolderObject* readme = Entry(*files, "readme.txt");
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(readme->size, 5u);
    EXPECT_EQ(readme->time.year, 2007);
    EXPECT_EQ(readme->time.month, 3);
    EXPECT_EQ(readme->time.day, 15);

    ASSERT_TRUE(files->ChangeFolder("Картинки"));
    ASSERT_TRUE(files->ReadFolder(&wait));  // two pages of two
    EXPECT_EQ(Listed(*files), (Names{"a.txt", "b.txt", "c.txt", "закат.jpg"}));
    FolderObject* picture = Entry(*files, "закат.jpg");
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->size, 5000u);
    EXPECT_GT(picture->sizeText.Length(), 4u);  // grouped
    MemoryFileSink sink;
    RecordingProgress progress;
    EXPECT_TRUE(files->GetFile(picture, sink, &progress));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sink.Data()), sink.Size()), sunset);
    EXPECT_EQ(progress.transferred, 5000u);
    EXPECT_EQ(progress.additions, 8);  // blocks of 700

    ASSERT_TRUE(files->ChangeFolder(".."));
    ASSERT_TRUE(files->ChangeFolder("Музыка/Рок"));
    EXPECT_STREQ(files->CurrentPath().CStr(), "Музыка\\Рок");
    ASSERT_TRUE(files->ReadFolder(nullptr));
    EXPECT_EQ(Listed(*files), Names{"песня.mid"});
    EXPECT_FALSE(files->ChangeFolder("Нет такой"));
    EXPECT_STREQ(files->CurrentPath().CStr(), "Музыка\\Рок");
    ASSERT_TRUE(files->ChangeFolder("\\"));
    EXPECT_STREQ(files->CurrentPath().CStr(), "");
    ASSERT_TRUE(files->ReadFolder(nullptr));
    EXPECT_EQ(Listed(*files), (Names{"Картинки/", "Музыка/", "readme.txt"}));

    // A folder's contents are read by relative names from where the user stands.
    FolderObject nested;
    nested.name = "Картинки\\a.txt";
    nested.size = 3;
    MemoryFileSink abc;
    EXPECT_TRUE(files->GetFile(&nested, abc, nullptr));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(abc.Data()), abc.Size()), "abc");

    EXPECT_TRUE(files->DeleteObject("Картинки\\b.txt"));
    EXPECT_FALSE(tree.Exists("Картинки\\b.txt"));
    ASSERT_TRUE(files->ChangeFolder("Картинки"));
    EXPECT_TRUE(files->DeleteObject("закат.jpg"));
    EXPECT_FALSE(tree.Exists("Картинки\\закат.jpg"));
    EXPECT_FALSE(files->DeleteObject("закат.jpg"));
    ASSERT_TRUE(files->ReadFolder(nullptr));
    EXPECT_EQ(Listed(*files), (Names{"a.txt", "c.txt"}));

    port.Disconnect();
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A phone on a bare line, in the state the connection sequence leaves it.
struct Line {
    explicit Line(const PhoneSim& sim) : socket(&port, Socket::kChannelAt)
    {
        OnSim(port, sim);
        opened = socket.Open();
        socket.Write("ATE0\r", 0);
        opened = opened && socket.ReadReply(0) > 0 && socket.result.Equals("OK");
    }
    TSerialPort port;
    SocketSerial socket;
    bool opened = false;
};

TEST(SamsungFileSystem, FaultsOfThePhoneFailPromptly)
{
    struct Case {
        const char* what;
        std::vector<std::string> options;
        std::vector<std::string> settings;
        bool listing;         // list the top folder, else read big.bin
    };
    const Case cases[] = {
        {"silence mid-page", {}, {"page,2", "fault,page-silence"}, true},
        {"block shorter than announced", {}, {"fault,short-block"}, false},
        {"line cut mid-file", {"--cut-at", "3000"}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PhoneTree tree;
        for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
            tree.File(name, name);
        const std::string big = AwkwardContent(20000);
        tree.File("big.bin", big);
        std::vector<std::string> options = {"--profile", "samsung", "--root", tree.unixRoot};
        options.insert(options.end(), c.options.begin(), c.options.end());
        PhoneSim sim(options);
        ASSERT_TRUE(sim.Ready()) << sim.Error();
        MessageBoxRecorder boxes;
        Line line(sim);
        ASSERT_TRUE(line.opened);
        for (const std::string& s : c.settings)
            ASSERT_TRUE(SimSetting(line.socket, s)) << s;
        CountingSocket counted(line.socket);
        SAMSUNG_AT_FS files;
        ASSERT_TRUE(files.Connect(&counted, nullptr, 0));

        counted.shortReads = 0;
        if (c.listing) {
            EXPECT_FALSE(files.ReadFolder(nullptr));
            EXPECT_EQ(Listed(files), Names{});
        } else {
            FolderObject entry;
            entry.name = "big.bin";
            entry.size = static_cast<uint32_t>(big.size());
            MemoryFileSink sink;
            RecordingProgress progress;
            EXPECT_FALSE(files.GetFile(&entry, sink, &progress));
            EXPECT_LT(progress.transferred, big.size());
        }
        // A silent phone costs one read time-out of the line, a few at most.
        EXPECT_LT(counted.shortReads, 4);
        line.socket.Close();
    }
}

TEST(SamsungFileSystem, PhoneWithoutTheFileSystemGetsTheMediaStore)
{
    PhoneTree tree;
    PhoneSim sim({"--profile", "samsung", "--root", tree.unixRoot});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;
    TSerialPort port;
    OnSim(port, sim);
    ASSERT_TRUE(port.Connect(nullptr));
    Socket* at = port.GetSocket(Socket::kChannelAt);
    ASSERT_NE(at, nullptr);
    ASSERT_TRUE(SimSetting(*at, "fs,0"));
    ASSERT_TRUE(port.device->OpenFileAccess(at, nullptr));
    EXPECT_EQ(dynamic_cast<SAMSUNG_AT_FS*>(port.device->fileAccess), nullptr);
    EXPECT_NE(port.device->fileAccess, nullptr);
    port.Disconnect();
}

}  // namespace
