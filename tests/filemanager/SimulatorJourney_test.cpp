// The file manager's engines over the real OBEX code and the phone simulator's OBEX server:
// a tree uploaded, described for the desktop, read back file by file as the desktop would,
// and deleted again, checked on the phone's disk.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "devices/ObexTargets.h"
#include "filemanager/CopyEngine.h"
#include "filemanager/DeleteWalk.h"
#include "filemanager/PhoneFileFetch.h"
#include "filemanager/PhoneTreeWalk.h"
#include "obex/OBEX_FTP.h"
#include "support/ScriptedQuestions.h"
#include "support/native/SimulatedPhoneLink.h"

namespace fs = std::filesystem;

namespace {

class QuietCopy : public CopyProgress {
public:
    bool IsCancelled() override { return false; }
    void SetFileSize(uint32_t) override {}
    void AddTransferred(uint32_t bytes) override { transferred += bytes; }
    void PumpMessages() override {}
    void SetSourceText(const GString&) override {}
    void SetTargetText(const GString&) override {}
    void SetFileCounter(uint32_t, uint32_t) override {}
    uint64_t transferred = 0;
};

class QuietDelete : public DeleteProgress {
public:
    void ShowObject(const GString&) override {}
    bool StopRequested() override { return false; }
};

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Write(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<FolderObject> Listed(OBEX_FTP& ftp, const std::vector<std::string>& names)
{
    std::vector<FolderObject> out;
    EXPECT_TRUE(ftp.ReadFolder(nullptr));
    ListIterator<FolderObject> it(ftp.entries);
    for (it.First(); !it.IsDone(); it.Next()) {
        for (const std::string& name : names) {
            if (name == it.CurrentItem()->name.CStr())
                out.push_back(*it.CurrentItem());
        }
    }
    EXPECT_EQ(out.size(), names.size());
    return out;
}

}  // namespace

TEST(FileManagerOverObex, UploadDescribeAndDeleteATree)
{
    const fs::path scratch =
        fs::temp_directory_path() / ("qv-journey-" + std::to_string(getpid()));
    const fs::path phoneRoot = scratch / "phone";
    const fs::path desktop = scratch / "desktop";
    fs::remove_all(scratch);
    // Phone names as the phone stores them (UTF-8); the program sees them in code page 1251.
    Write(phoneRoot / fs::path(u8"Музыка") / "keep.mp3", "keep");
    Write(phoneRoot / "Sounds" / "old.txt", "old");
    std::string big(5000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    Write(desktop / "Album" / "big.bin", big);  // several PUT packets
    Write(desktop / "Album" / "Disc 2" / "t.txt", "track");
    Write(desktop / "old.txt", "new");

    SimulatedPhoneLink sim(phoneRoot.string());
    ASSERT_NE(sim.socket(), nullptr) << sim.Error();
    OBEX_FTP ftp;
    ASSERT_TRUE(ftp.Connect(sim.socket(), FolderBrowsingTarget, sizeof FolderBrowsingTarget));
    ASSERT_TRUE(ftp.ChangeFolder("Sounds"));
    ScriptedQuestions questions;

    // Upload: a tree and a file that replaces one on the phone.
    UploadList upload;
    upload.Collect({GString((desktop / "Album").c_str()), GString((desktop / "old.txt").c_str())},
                   SystemFileSystem());
    QuietCopy copy;
    EXPECT_EQ(CopyEngine(ftp, questions, copy, "SIM:").Run(upload),
              CopyEngine::Outcome::Finished);
    EXPECT_EQ(questions.asked, (std::vector<std::string>{"replace old.txt 5"}));
    EXPECT_EQ(ReadAll(phoneRoot / "Sounds" / "Album" / "big.bin"), big);
    EXPECT_EQ(ReadAll(phoneRoot / "Sounds" / "Album" / "Disc 2" / "t.txt"), "track");
    EXPECT_EQ(ReadAll(phoneRoot / "Sounds" / "old.txt"), "new");
    EXPECT_EQ(std::string(ftp.CurrentPath().CStr()), "Sounds");

    // Described for the desktop, as a copy out of the phone would offer it.
    PhoneTreeWalk tree(ftp, questions);
    const PhoneItemSet set = tree.Collect(Listed(ftp, {"Album"}));
    std::vector<std::string> described;
    for (const PhoneItem& item : set.items)
        described.push_back(std::string(item.descriptorName.CStr()) + " " +
                            std::to_string(item.size));
    // The folder's objects come in the order the phone lists them.
    std::sort(described.begin() + 1, described.end());
    EXPECT_EQ(described, (std::vector<std::string>{"Album 0", "Album\\Disc 2 0",
                                                   "Album\\Disc 2\\t.txt 5",
                                                   "Album\\big.bin 5000"}));
    EXPECT_TRUE(set.items[0].complete);
    EXPECT_EQ(std::string(ftp.CurrentPath().CStr()), "Sounds");

    // Read back as the desktop reads the copy: the phone knows names of its current folder
    // only, so each file is fetched from its own folder.
    FolderObject byPath;
    byPath.name = "Album\\big.bin";
    MemoryFileSink refused;
    EXPECT_FALSE(ftp.GetFile(&byPath, refused, nullptr));
    for (const PhoneItem& item : set.items) {
        if (item.isFolder)
            continue;
        MemoryFileSink sink;
        EXPECT_TRUE(FetchPhoneFile(ftp, "Sounds", item, sink, nullptr).whole) << item.PhonePath().CStr();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(sink.Data()), sink.Size()),
                  item.phoneName.Equals("big.bin") ? big : "track");
        EXPECT_EQ(std::string(ftp.CurrentPath().CStr()), "Sounds");
    }

    // Deleted again, from the top folder: the tree goes, the neighbours stay.
    ASSERT_TRUE(ftp.ChangeFolder("\\"));
    QuietDelete quiet;
    EXPECT_EQ(DeleteWalk(ftp, questions, quiet).Run(Listed(ftp, {"Sounds"})),
              DeleteWalk::Outcome::Finished);
    EXPECT_EQ(questions.asked.size(), 1u);
    EXPECT_FALSE(fs::exists(phoneRoot / "Sounds"));
    EXPECT_EQ(ReadAll(phoneRoot / fs::path(u8"Музыка") / "keep.mp3"), "keep");

    ftp.Disconnect();
    fs::remove_all(scratch);
}
