// The OBEX engine through a mapped COM port under Wine, against the phone simulator: its
// relay to obexftpd (an independent OBEX server) and its own server with line faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/MessageBoxRecorder.h"
#include "support/win/ObexWinKit.h"

namespace {

std::vector<std::string> Names(const OBEX_FTP& obex, uint8_t type)
{
    std::vector<std::string> out;
    for (ListIterator<FolderObject> it(obex.entries); !it.IsDone(); it.Next()) {
        if (it.CurrentItem()->type == type)
            out.push_back(it.CurrentItem()->name.CStr());
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(ObexOverObexftpd, BrowseGetPutDeleteDisconnect)
{
    PhoneRoot root;
    const std::string notes = "notes from the phone\n";
    const std::string cyrillic = Pattern(3000, 11);
    const std::string picture = Pattern(5000, 12);
    root.Write("notes.txt", notes);
    root.Write("Привет мир.txt", cyrillic);
    root.Write("Tom & Jerry.txt", "cartoon");  // listed unescaped by this server
    root.Folder("Images");
    root.Write("Images\\pic.jpg", picture);
    PhoneSim sim({"--start-in-obex", "--obex", "obexftpd", "--root", root.Unix()});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);

    ASSERT_TRUE(line.Connect());
    EXPECT_TRUE(line.obex->connected);
    EXPECT_EQ(line.obex->peerMaxPacket, 1024u);

    ASSERT_TRUE(line.obex->ReadFolder(nullptr));
    EXPECT_EQ(Names(*line.obex, FolderObject::kFile),
              (std::vector<std::string>{"Tom & Jerry.txt", "notes.txt", "Привет мир.txt"}));
    EXPECT_EQ(line.Get("Tom & Jerry.txt", 7), "cartoon");
    EXPECT_EQ(Names(*line.obex, FolderObject::kFolder), std::vector<std::string>{"Images"});

    EXPECT_EQ(line.Get("notes.txt", static_cast<uint32_t>(notes.size())), notes);
    EXPECT_EQ(line.Get("Привет мир.txt", 3000), cyrillic);
    EXPECT_EQ(line.Get("Images/pic.jpg", 5000), picture);

    EXPECT_EQ(line.Get("missing.txt", 10), "");
    EXPECT_EQ(line.obex->LastError(), 0xC4);

    // Under obexftpd's packet size: one PUT packet.
    PhoneRoot local;
    const std::string upload = Pattern(700, 13);
    local.Write("Загрузка.bin", upload);
    FileInformation info = LocalFile(local.Path("Загрузка.bin"));
    EXPECT_TRUE(line.obex->PutFile(&info, nullptr));
    EXPECT_EQ(root.Read("Загрузка.bin"), upload);

    EXPECT_TRUE(line.obex->DeleteObject("notes.txt"));
    EXPECT_FALSE(root.Exists("notes.txt"));

    EXPECT_TRUE(line.obex->Disconnect());
    EXPECT_FALSE(line.obex->connected);
}

class RecordingProgress : public OperationProgress {
public:
    bool IsCancelled() override { return false; }
    void SetFileSize(uint32_t size) override { fileSize = size; }
    void AddTransferred(uint32_t bytes) override { transferred += bytes; }
    void PumpMessages() override { ++pumps; }
    uint32_t fileSize = 0;
    uint64_t transferred = 0;
    int pumps = 0;
};

// PUT then GET of one file through the simulator's own server at a given packet size.
void RoundTrip(const char* maxPacket, uint32_t expectedPeer, size_t size)
{
    PhoneRoot root;
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--max-packet", maxPacket});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    ASSERT_TRUE(line.Connect());
    EXPECT_EQ(line.obex->peerMaxPacket, expectedPeer);

    PhoneRoot local;
    const std::string content = Pattern(size, static_cast<uint32_t>(size));
    local.Write("big.bin", content);
    FileInformation info = LocalFile(local.Path("big.bin"));
    RecordingProgress progress;
    ASSERT_TRUE(line.obex->PutFile(&info, &progress));
    EXPECT_EQ(progress.fileSize, size);
    EXPECT_EQ(progress.transferred, size);
    EXPECT_TRUE(root.Read("big.bin") == content) << "stored file differs";

    FolderObject entry;
    entry.name = "big.bin";
    entry.size = static_cast<uint32_t>(size);
    MemoryFileSink sink;
    RecordingProgress getProgress;
    EXPECT_TRUE(line.obex->GetFile(&entry, sink, &getProgress));
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(sink.Data()), sink.Size()) == content)
        << "fetched file differs";
    EXPECT_EQ(getProgress.transferred, size);
    EXPECT_TRUE(line.obex->Disconnect());
}

TEST(ObexOwnServer, OneMebibyteRoundTripAtTheDefaultPacket)
{
    RoundTrip("1024", 1024, 1024 * 1024);
}

TEST(ObexOwnServer, RoundTripAt32KiBPackets)
{
    RoundTrip("32768", 32768, 1024 * 1024);
}

TEST(ObexOwnServer, RoundTripAt255BytePackets)
{
    RoundTrip("255", 255, 48 * 1024);
}

TEST(ObexOwnServer, FolderNavigationKeepsThePathInStep)
{
    PhoneRoot root;
    root.Folder("a");
    root.Folder("a\\b");
    root.Folder("a\\b\\Фото");
    root.Write("a\\b\\Фото\\deep.txt", "deep");
    root.Write("a\\top.txt", "top");
    PhoneSim sim({"--start-in-obex", "--root", root.Unix()});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    ASSERT_TRUE(line.Connect());
    EXPECT_EQ(line.Path(), "");

    ASSERT_TRUE(line.obex->ChangeFolder("a"));
    EXPECT_EQ(line.Path(), "a");
    ASSERT_TRUE(line.obex->ReadFolder(nullptr));
    EXPECT_EQ(Names(*line.obex, FolderObject::kFile), std::vector<std::string>{"top.txt"});

    ASSERT_TRUE(line.obex->ChangeFolder("b/Фото"));
    EXPECT_EQ(line.Path(), "a\\b\\Фото");
    ASSERT_TRUE(line.obex->ReadFolder(nullptr));
    EXPECT_EQ(Names(*line.obex, FolderObject::kFile), std::vector<std::string>{"deep.txt"});
    EXPECT_EQ(line.Get("deep.txt", 4), "deep");

    EXPECT_FALSE(line.obex->ChangeFolder("nosuch"));
    EXPECT_EQ(line.Path(), "a\\b\\Фото");

    ASSERT_TRUE(line.obex->ChangeFolder(".."));
    EXPECT_EQ(line.Path(), "a\\b");
    ASSERT_TRUE(line.obex->ReadFolder(nullptr));
    EXPECT_EQ(Names(*line.obex, FolderObject::kFolder), std::vector<std::string>{"Фото"});

    ASSERT_TRUE(line.obex->ChangeFolder(".."));
    EXPECT_EQ(line.Path(), "a");
    ASSERT_TRUE(line.obex->ChangeFolder("\\"));
    EXPECT_EQ(line.Path(), "");
    ASSERT_TRUE(line.obex->ReadFolder(nullptr));
    EXPECT_EQ(Names(*line.obex, FolderObject::kFolder), std::vector<std::string>{"a"});

    // From three levels down the root request reaches the top, not the level above.
    ASSERT_TRUE(line.obex->ChangeFolder("a\\b\\Фото"));
    ASSERT_TRUE(line.obex->ChangeFolder("\\"));
    EXPECT_EQ(line.Path(), "");
    ASSERT_TRUE(line.obex->ReadFolder(nullptr));
    EXPECT_EQ(Names(*line.obex, FolderObject::kFolder), std::vector<std::string>{"a"});
    EXPECT_EQ(Names(*line.obex, FolderObject::kFile), std::vector<std::string>{});
}

TEST(ObexOwnServer, CreateRenameDelete)
{
    PhoneRoot root;
    root.Folder("a");
    root.Write("a\\old.txt", "text");
    PhoneSim sim({"--start-in-obex", "--root", root.Unix()});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    ASSERT_TRUE(line.Connect());
    ASSERT_TRUE(line.obex->ChangeFolder("a"));

    ASSERT_TRUE(line.obex->CreateFolder("Новая папка"));
    EXPECT_EQ(line.Path(), "a");  // still where the user is
    EXPECT_TRUE(root.Exists("a\\Новая папка"));

    // A serial line: the vendor PUT with the move parameters.
    ASSERT_TRUE(line.obex->RenameObject("old.txt", "Новое имя.txt"));
    EXPECT_FALSE(root.Exists("a\\old.txt"));
    EXPECT_EQ(root.Read("a\\Новое имя.txt"), "text");

    EXPECT_TRUE(line.obex->DeleteObject("Новая папка"));
    EXPECT_FALSE(root.Exists("a\\Новая папка"));
    EXPECT_TRUE(line.obex->DeleteObject("Новое имя.txt"));
    EXPECT_FALSE(root.Exists("a\\Новое имя.txt"));
    EXPECT_FALSE(line.obex->DeleteObject("Новое имя.txt"));
    EXPECT_EQ(line.obex->LastError(), 0xC4);
}

FolderObject* Listed(const OBEX_FTP& obex, const char* name)
{
    for (ListIterator<FolderObject> it(obex.entries); !it.IsDone(); it.Next()) {
        if (it.CurrentItem()->name.Equals(name))
            return it.CurrentItem();
    }
    return nullptr;
}

TEST(ObexOwnServer, EscapedNamesAreListedFetchedAndDeleted)
{
    PhoneRoot root;
    const std::string content = Pattern(3000, 21);
    root.Write("Tom & Jerry's.txt", content);
    PhoneSim sim({"--start-in-obex", "--root", root.Unix()});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    ASSERT_TRUE(line.Connect());
    ASSERT_TRUE(line.obex->ReadFolder(nullptr));
    FolderObject* entry = Listed(*line.obex, "Tom & Jerry's.txt");
    ASSERT_NE(entry, nullptr) << sim.Log();
    EXPECT_EQ(entry->size, 3000u);
    MemoryFileSink sink;
    ASSERT_TRUE(line.obex->GetFile(entry, sink, nullptr));
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(sink.Data()), sink.Size()) == content);
    EXPECT_TRUE(line.obex->DeleteObject("Tom & Jerry's.txt"));
    EXPECT_FALSE(root.Exists("Tom & Jerry's.txt"));
}

// A phone that gave a Connection Id refuses every request without it: a whole session, with
// multi-packet GET and PUT, goes through.
TEST(ObexOwnServer, StrictPhoneGetsItsConnectionIdInEveryRequest)
{
    PhoneRoot root;
    root.Folder("a");
    const std::string big = Pattern(5000, 22);
    root.Write("a\\big.bin", big);
    PhoneSim sim({"--profile", "siemens", "--start-in-obex", "--root", root.Unix(),
                  "--max-packet", "255", "--memory", "1048576", "--strict-connection-id"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    ASSERT_TRUE(line.Connect(kSiemensTarget, 16));
    EXPECT_TRUE(line.obex->hasConnectionId);
    ASSERT_TRUE(line.obex->ChangeFolder("a"));
    ASSERT_TRUE(line.obex->ReadFolder(nullptr));
    EXPECT_EQ(Names(*line.obex, FolderObject::kFile), std::vector<std::string>{"big.bin"});
    EXPECT_TRUE(line.Get("big.bin", 5000) == big);

    PhoneRoot local;
    const std::string upload = Pattern(2000, 23);
    local.Write("up.bin", upload);
    FileInformation info = LocalFile(local.Path("up.bin"));
    EXPECT_TRUE(line.obex->PutFile(&info, nullptr));
    EXPECT_TRUE(root.Read("a\\up.bin") == upload);
    EXPECT_TRUE(line.obex->DeleteObject("big.bin"));
    EXPECT_FALSE(root.Exists("a\\big.bin"));
    EXPECT_EQ(line.obex->QueryMemory(1), 1048576u);
    EXPECT_TRUE(line.obex->ChangeFolder(".."));
    EXPECT_TRUE(line.obex->Disconnect());
    EXPECT_EQ(sim.Log().find("without the Connection Id"), std::string::npos) << sim.Log();
}

TEST(ObexOwnServer, SiemensMemoryQuery)
{
    PhoneRoot root;
    root.Folder("Data");
    root.Write("Data\\x.bin", std::string(1000, 'x'));
    PhoneSim sim({"--profile", "siemens", "--start-in-obex", "--root", root.Unix(), "--memory",
                  "1048576"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    ASSERT_TRUE(line.Connect(kSiemensTarget, 16));
    EXPECT_EQ(line.obex->QueryMemory(1), 1048576u);
    EXPECT_EQ(line.obex->QueryMemory(2), 1048576u - 1000u);
    ASSERT_TRUE(line.obex->ChangeFolder("Data"));
    EXPECT_EQ(line.obex->QueryMemory(1), 1048576u);
}

TEST(ObexOwnServer, LinkCutMidGetAndMidPut)
{
    {
        PhoneRoot root;
        root.Write("big.bin", Pattern(200000));
        // The CONNECT answer and a few GET packets get through, then the line is gone.
        PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--cut-at", "20000"});
        ASSERT_TRUE(sim.Ready()) << sim.Error();
        ObexLine line(sim);
        ASSERT_TRUE(line.Connect());
        EXPECT_EQ(line.Get("big.bin", 200000), "");
        EXPECT_GT(line.lastArrived, 0u);
        EXPECT_LT(line.lastArrived, 200000u);
    }
    {
        PhoneRoot root;
        PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--cut-at", "200"});
        ASSERT_TRUE(sim.Ready()) << sim.Error();
        ObexLine line(sim);
        ASSERT_TRUE(line.Connect());
        PhoneRoot local;
        local.Write("up.bin", Pattern(100000));
        FileInformation info = LocalFile(local.Path("up.bin"));
        EXPECT_FALSE(line.obex->PutFile(&info, nullptr));
    }
}

TEST(ObexOwnServer, StalledPhoneFailsAfterTheWaits)
{
    PhoneRoot root;
    root.Write("f.bin", Pattern(5000));
    // CONNECT and one GET answer pass, then the phone falls silent.
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--obex-stall-after", "2"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    ASSERT_TRUE(line.Connect());
    const DWORD start = GetTickCount();
    const std::string got = line.Get("f.bin", 5000);
    const DWORD ms = GetTickCount() - start;
    EXPECT_EQ(got, "");
    EXPECT_GE(ms, 3000u);  // it waited for the phone before giving up
}

}  // namespace
