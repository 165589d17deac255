#include "samsung/SAMSUNG_AT_FTP.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "samsung/Crc32.h"
#include "samsung/RecordingProgress.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScriptedSocket.h"

namespace {

using samsung_test::RecordingProgress;
using samsung_test::RecordingWait;

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";
const std::string kPhotoUtf8 = "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE";
const char* const kPhotoAnsi = "\xD4\xEE\xF2\xEE";

std::string Info(const std::string& line)
{
    return "\r\n" + line + "\r\n" + kOk;
}

std::string Pattern(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 13 + 5) & 0xFF);
    return s;
}

std::string CrcText(const std::string& data)
{
    return std::to_string(Crc32(reinterpret_cast<const uint8_t*>(data.data()),
                                static_cast<uint32_t>(data.size())));
}

// A local file for uploads, removed at the end.
class LocalFile {
public:
    LocalFile(const std::string& name, const std::string& content)
    {
        dir = std::filesystem::temp_directory_path() /
              ("qv_samsung_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(dir);
        path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << content;
        info.path = path.c_str();
        info.findData.sizeLow = static_cast<uint32_t>(content.size());
        snprintf(info.findData.fileName, sizeof info.findData.fileName, "%s", name.c_str());
    }
    ~LocalFile() { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
    std::string path;
    FileInformation info;
};

struct SamsungMedia : ::testing::Test {
    SamsungMedia()
    {
        socket.SetBytePerRead(true);
        EXPECT_TRUE(media.Connect(&socket, nullptr, 0));
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (uint32_t i = 0; i < media.entries.Count(); ++i)
            names.emplace_back(media.entries.Get(i)->name.CStr());
        return names;
    }
    FolderObject* AddEntry(const char* name, uint32_t index)
    {
        auto* entry = new FolderObject;
        entry->type = FolderObject::kFile;
        entry->name = name;
        entry->mediaIndex = index;
        media.entries.Append(entry);
        return entry;
    }
    void ExpectScriptMet()
    {
        EXPECT_TRUE(socket.Done());
        EXPECT_TRUE(socket.Unexpected().empty()) << socket.Unexpected().front();
    }

    ScriptedSocket socket;
    SAMSUNG_AT_FTP media;
};

TEST_F(SamsungMedia, ConnectSendsNothingAndCapabilities)
{
    EXPECT_TRUE(media.connected);
    EXPECT_TRUE(socket.Writes().empty());
    EXPECT_EQ(media.BlockSize(), 1024);
    EXPECT_EQ(media.maxFileSize, 200000u);
    EXPECT_FALSE(media.CanCopyFromDevice());
    EXPECT_TRUE(media.CanDelete());
    EXPECT_FALSE(media.CanCreateFolder());
    EXPECT_FALSE(media.CanRename());
    EXPECT_TRUE(media.CanCopyToDevice());
    FolderObject entry;
    entry.size = 1;
    MemoryFileSink sink;
    EXPECT_FALSE(media.GetFile(&entry, sink, nullptr));
    EXPECT_FALSE(media.RenameObject("a", "b"));
    EXPECT_FALSE(media.CreateFolder("a"));
    EXPECT_TRUE(socket.Writes().empty());
}

TEST_F(SamsungMedia, TopShowsPhotosOnlyWhenThePhoneHasThem)
{
    const struct {
        std::string answer;
        std::vector<std::string> names;
    } cases[] = {
        {Info("+UPLL: 50,2"), {"Изображения", "Звуки", "Фотографии"}},
        {kError, {"Изображения", "Звуки"}},
        {"", {"Изображения", "Звуки"}},
        // After an upload or deletion ("ATZ") the phone echoes: the echo is no answer.
        {"AT+UPLL?\r" + Info("+UPLL: 50,2"), {"Изображения", "Звуки", "Фотографии"}},
        {"AT+UPLL?\r" + kError, {"Изображения", "Звуки"}},
        {"AT+UPLL?\r\r\n+UPLL: 50,2\r\n", {"Изображения", "Звуки"}},  // no final OK
    };
    for (const auto& c : cases) {
        socket.Expect("AT+UPLL?\r", c.answer);
        EXPECT_TRUE(media.ReadFolder(nullptr));
        EXPECT_EQ(Names(), c.names);
        for (uint32_t i = 0; i < media.entries.Count(); ++i) {
            EXPECT_EQ(media.entries.Get(i)->type, FolderObject::kFolder);
            EXPECT_EQ(media.entries.Get(i)->time.year, 0);
        }
        ExpectScriptMet();
    }
}

TEST_F(SamsungMedia, ListsSoundsWithTheirLimitsAndMemory)
{
    ASSERT_TRUE(media.ChangeFolder("Звуки"));
    socket.Expect("AT+MELR?\r", Info("+MELR: 3,100,5000,20000"))
        .Expect("AT+MELW?\r", Info("+MELW: 1,0,x,y,0"))
        .Expect("AT+MELR=1\r", Info("+MELR: 7,\"Ring\",2500"))
        .Expect("AT+MELR=2\r", kError)
        .Expect("AT+MELR=3\r", Info("+MELR: 9,\"" + kPhotoUtf8 + ".wav\",12345"));
    RecordingWait wait;
    EXPECT_TRUE(media.ReadFolder(&wait));
    ExpectScriptMet();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ring.mmf", std::string(kPhotoAnsi) + ".wav"}));
    const FolderObject* ring = media.entries.Get(0);
    EXPECT_EQ(ring->mediaIndex, 7u);
    EXPECT_EQ(ring->size, 2500u);
    EXPECT_STREQ(ring->sizeText.CStr(), "2500");  // as sent
    EXPECT_STREQ(ring->extension.CStr(), ".mmf");
    EXPECT_NE(ring->time.year, 0);                // the PC's clock
    EXPECT_EQ(media.entries.Get(1)->size, 12345u);
    EXPECT_EQ(media.memoryFree, 15000u);
    EXPECT_EQ(media.memoryTotal, 20000u);
    EXPECT_EQ(media.maxFileSize, 200000u);
    EXPECT_EQ(media.BlockSize(), 1024);
    EXPECT_EQ(wait.rangeHigh, 3u);
    EXPECT_EQ(wait.steps, 3);
}

TEST_F(SamsungMedia, CapacityDecidesRecordsAndMemory)
{
    const struct {
        const char* capacity;
        int records;
        uint32_t memoryFree;
        uint32_t memoryTotal;
    } cases[] = {
        {"3,100,5000,20000", 3, 15000, 20000},
        {"3,1,20000,5000", 1, 5000, 20000},  // used and total the wrong way round
        {"0,100,10,20", 0, 10, 20},
        {"2,100,0,30000", 2, 0, 30000},      // a zero keeps both as read
        {"2,100,700,0", 2, 700, 0},
        {"x,y", 0, 0, 0},
    };
    for (const auto& c : cases) {
        ScriptedSocket s;
        s.SetBytePerRead(true);
        SAMSUNG_AT_FTP m;
        m.Connect(&s, nullptr, 0);
        m.ChangeFolder("Звуки");
        s.Expect("AT+MELR?\r", Info(std::string("+MELR: ") + c.capacity))
            .Expect("AT+MELW?\r", Info("+MELW: 1,5000,0,0,512"));
        for (int i = 1; i <= c.records; ++i)
            s.Expect("AT+MELR=" + std::to_string(i) + "\r", Info("+MELR: " + std::to_string(i) + ",\"s\",1"));
        m.ReadFolder(nullptr);
        EXPECT_TRUE(s.Done()) << c.capacity;
        EXPECT_TRUE(s.Unexpected().empty()) << c.capacity;
        EXPECT_EQ(m.entries.Count(), static_cast<uint32_t>(c.records)) << c.capacity;
        EXPECT_EQ(m.memoryFree, c.memoryFree) << c.capacity;
        EXPECT_EQ(m.memoryTotal, c.memoryTotal) << c.capacity;
        EXPECT_EQ(m.maxFileSize, 5000u);
        EXPECT_EQ(m.BlockSize(), 512);
        m.ChangeFolder("..");
        EXPECT_EQ(m.memoryFree, 0u);
        EXPECT_EQ(m.memoryTotal, 0u);
    }
}

TEST_F(SamsungMedia, PicturesWaitForTheirCapacityLine)
{
    ASSERT_TRUE(media.ChangeFolder("\\Изображения"));
    socket.Expect("AT+IMGR?\r", kOk + Info("+IMGR: 1,10,100,1000"))
        .Expect("AT+IMGW?\r", kOk + Info("+IMGW: 1,3000,0,0,256"))
        .Expect("AT+IMGR=1\r", Info("+IMGR: 4,\"logo\",300"));
    EXPECT_TRUE(media.ReadFolder(nullptr));
    ExpectScriptMet();
    EXPECT_EQ(Names(), std::vector<std::string>{"logo.jpg"});
    EXPECT_EQ(media.maxFileSize, 3000u);
    EXPECT_EQ(media.BlockSize(), 256);

    // A phone that never sends the capacity line gets no further question.
    socket.Expect("AT+IMGR?\r", kOk);
    EXPECT_TRUE(media.ReadFolder(nullptr));
    EXPECT_EQ(media.entries.Count(), 0u);
    EXPECT_EQ(socket.Writes().back(), "AT+IMGR?\r");
    ExpectScriptMet();
}

TEST_F(SamsungMedia, ListsPhotosWithTheirDates)
{
    ASSERT_TRUE(media.ChangeFolder("Фотографии"));
    socket.Expect("AT+UPLL?\r", Info("+UPLL: 50,2"))
        .Expect("AT+UPLL\r", "\r\n+UPLL: 1,\"05/03/2007 10:20\",\"pic\",1234\r\n"
                             "+UPLL: 2,\"2007-03-05 10:20\",\"x.png\",5\r\nnoise\r\n" + kOk);
    RecordingWait wait;
    EXPECT_TRUE(media.ReadFolder(&wait));
    ExpectScriptMet();
    EXPECT_EQ(Names(), (std::vector<std::string>{"pic.jpg", "x.png"}));
    const SystemTime& t = media.entries.Get(0)->time;
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute, t.second}),
              std::vector<int>({2007, 3, 5, 10, 20, 0}));
    EXPECT_EQ(media.entries.Get(0)->mediaIndex, 1u);
    EXPECT_EQ(media.entries.Get(0)->size, 1234u);
    EXPECT_EQ(media.entries.Get(1)->time.year, 0);
    EXPECT_EQ(wait.rangeHigh, 2u);
    EXPECT_EQ(wait.steps, 2);
}

TEST_F(SamsungMedia, PhotoListingEndsWhenThePhoneFallsSilent)
{
    ASSERT_TRUE(media.ChangeFolder("Фотографии"));
    socket.Expect("AT+UPLL?\r", Info("+UPLL: 50,9"))
        .Expect("AT+UPLL\r", "\r\n+UPLL: 1,\"05/03/2007 10:20\",\"pic\",1234\r\n+UPLL: 2,");
    EXPECT_TRUE(media.ReadFolder(nullptr));
    EXPECT_EQ(Names(), std::vector<std::string>{"pic.jpg"});
}

TEST_F(SamsungMedia, ChangeFolderKeepsOneLevel)
{
    const struct {
        const char* path;
        bool result;
        const char* after;  // null: the top
    } cases[] = {
        {"Звуки", true, "Звуки"},        {"\\Изображения", true, "Изображения"},
        {"..", true, nullptr},            {"Фотографии", true, "Фотографии"},
        {"\\", true, nullptr},            {"Звуки", true, "Звуки"},
        {"Изображения", true, "Изображения"},  // a sibling replaces, never nests
        {"", true, nullptr},              {"Музыка", false, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(media.ChangeFolder(c.path), c.result) << c.path;
        EXPECT_STREQ(media.CurrentPath().CStr(), c.after != nullptr ? c.after : "") << c.path;
    }
    EXPECT_TRUE(socket.Writes().empty());
}

TEST_F(SamsungMedia, UploadsASoundInBlocksWithItsCrc)
{
    const std::string data = Pattern(2500);
    LocalFile file("Ring.MID", data);
    ASSERT_TRUE(media.ChangeFolder("Звуки"));
    socket.Expect("ATZ\r", kOk)
        .Expect("AT+MELW=0,\"Ring\",4,2500," + CrcText(data) + "\r", ">")
        .Expect(data.substr(0, 1024), ">")
        .Expect(data.substr(1024, 1024), ">")
        .Expect(data.substr(2048), kOk);
    RecordingProgress progress;
    EXPECT_TRUE(media.PutFile(&file.info, &progress));
    ExpectScriptMet();
    EXPECT_EQ(progress.fileSize, 2500u);
    EXPECT_EQ(progress.transferred, 2500u);
    EXPECT_EQ(progress.additions, 3);
    EXPECT_EQ(media.errorCode, 0u);
    // Three writes for the content: two blocks and the remainder.
    EXPECT_EQ(socket.Writes().size(), 5u);
    EXPECT_EQ(socket.Writes()[4].size(), 452u);
}

TEST_F(SamsungMedia, EchoedHeaderIsNotTheAnswer)
{
    // With the echo on, the header comes back first: "ERROR" inside a name is not the
    // phone's verdict.
    const std::string data = Pattern(1500);
    LocalFile file("TERROR.mid", data);
    ASSERT_TRUE(media.ChangeFolder("Звуки"));
    const std::string header = "AT+MELW=0,\"TERROR\",4,1500," + CrcText(data) + "\r";
    socket.Expect("ATZ\r", "ATZ\r" + kOk)
        .Expect(header, header + "\r\n>")
        .Expect(data.substr(0, 1024), ">")
        .Expect(data.substr(1024), kOk);
    EXPECT_TRUE(media.PutFile(&file.info, nullptr));
    ExpectScriptMet();
}

TEST_F(SamsungMedia, PictureTypeFollowsTheExtension)
{
    const struct {
        const char* name;
        const char* stem;
        int type;
    } cases[] = {{"logo.gif", "logo", 2}, {"photo.jpg", "photo", 11}, {"a.b.GiF", "a.b", 2},
                 {"noext", "noext", 11}, {"Фото.png", "Фото", 11}};
    for (const auto& c : cases) {
        ScriptedSocket s;
        s.SetBytePerRead(true);
        SAMSUNG_AT_FTP m;
        m.Connect(&s, nullptr, 0);
        m.ChangeFolder("Изображения");
        const std::string data = Pattern(300);
        LocalFile file(c.name, data);
        std::string stem = c.stem;
        if (stem == "Фото")
            stem = kPhotoUtf8;
        s.Expect("ATZ\r", kOk)
            .Expect("AT+IMGW=0,\"" + stem + "\"," + std::to_string(c.type) + ",0,0,0,0,100,300," +
                        CrcText(data) + "\r",
                    ">")
            .Expect(data, kOk);
        EXPECT_TRUE(m.PutFile(&file.info, nullptr)) << c.name;
        EXPECT_TRUE(s.Done()) << c.name;
        EXPECT_TRUE(s.Unexpected().empty()) << c.name;
    }
}

TEST_F(SamsungMedia, ContentOfWholeBlocksEndsWithTheLastBlocksVerdict)
{
    const std::string data = Pattern(2048);
    LocalFile file("b.mmf", data);
    ASSERT_TRUE(media.ChangeFolder("Звуки"));
    socket.Expect("ATZ\r", kOk)
        .Expect("AT+MELW=0,\"b\",4,2048," + CrcText(data) + "\r", ">")
        .Expect(data.substr(0, 1024), ">")
        .Expect(data.substr(1024), kOk);
    EXPECT_TRUE(media.PutFile(&file.info, nullptr));
    ExpectScriptMet();
}

TEST_F(SamsungMedia, UploadFailuresAreReported)
{
    const std::string data = Pattern(1500);
    const std::string header = "AT+MELW=0,\"r\",4,1500," + CrcText(data) + "\r";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> exchange;
    } cases[] = {
        {"no answer to ATZ", {{"ATZ\r", ""}}},
        {"header refused", {{"ATZ\r", kOk}, {header, kError}}},
        {"header silent", {{"ATZ\r", kOk}, {header, ""}}},
        {"block refused", {{"ATZ\r", kOk}, {header, ">"}, {data.substr(0, 1024), "\r\nCRCERR\r\n"}}},
        {"wrong checksum",
         {{"ATZ\r", kOk}, {header, ">"}, {data.substr(0, 1024), ">"}, {data.substr(1024), "\r\nCRCERR\r\n"}}},
        {"error at the end",
         {{"ATZ\r", kOk}, {header, ">"}, {data.substr(0, 1024), ">"}, {data.substr(1024), kError}}},
        {"silent at the end", {{"ATZ\r", kOk}, {header, ">"}, {data.substr(0, 1024), ">"}, {data.substr(1024), ""}}},
        {"closed before everything arrived", {{"ATZ\r", kOk}, {header, ">"}, {data.substr(0, 1024), kOk}}},
        {"only prompts at the end",
         {{"ATZ\r", kOk}, {header, ">"}, {data.substr(0, 1024), ">"}, {data.substr(1024), std::string(20, '>')}}},
    };
    for (const auto& c : cases) {
        ScriptedSocket s;
        s.SetBytePerRead(true);
        SAMSUNG_AT_FTP m;
        m.Connect(&s, nullptr, 0);
        m.ChangeFolder("Звуки");
        LocalFile file("r.mid", data);
        for (const auto& [write, answer] : c.exchange)
            s.Expect(write, answer);
        EXPECT_FALSE(m.PutFile(&file.info, nullptr)) << c.what;
        EXPECT_TRUE(s.Unexpected().empty()) << c.what;
        EXPECT_EQ(m.errorCode, 0u) << c.what;
    }
}

TEST_F(SamsungMedia, FileOverTheLimitIsRefusedBeforeAnythingIsSent)
{
    LocalFile file("big.mid", Pattern(1001));
    ASSERT_TRUE(media.ChangeFolder("Звуки"));
    media.maxFileSize = 1000;
    EXPECT_FALSE(media.PutFile(&file.info, nullptr));
    EXPECT_EQ(media.errorCode, 1050u);
    EXPECT_EQ(media.LastError(), 1050);
    EXPECT_TRUE(socket.Writes().empty());

    // A file of 4 GiB or more is over any limit, whatever its low 32 bits say.
    media.errorCode = 0;
    file.info.findData.sizeHigh = 1;
    file.info.findData.sizeLow = 10;
    EXPECT_FALSE(media.PutFile(&file.info, nullptr));
    EXPECT_EQ(media.errorCode, 1050u);
    EXPECT_TRUE(socket.Writes().empty());
}

TEST_F(SamsungMedia, NothingIsUploadedIntoPhotosOrUnderAnUnsendableName)
{
    LocalFile photo("p.jpg", Pattern(10));
    ASSERT_TRUE(media.ChangeFolder("Фотографии"));
    socket.Expect("ATZ\r", kOk);
    EXPECT_FALSE(media.PutFile(&photo.info, nullptr));
    ExpectScriptMet();
    EXPECT_EQ(socket.Writes().size(), 1u);

    ASSERT_TRUE(media.ChangeFolder("Звуки"));
    for (const char* name : {"a\"b.mid", ".mid"}) {
        LocalFile file(name, Pattern(10));
        EXPECT_FALSE(media.PutFile(&file.info, nullptr)) << name;
    }
    const std::string longName = std::string(260, 'n') + ".mid";
    LocalFile tooLong(longName.substr(0, 200), Pattern(10));
    tooLong.info.path = (tooLong.dir.string() + "/" + longName).c_str();
    EXPECT_FALSE(media.PutFile(&tooLong.info, nullptr));
    EXPECT_EQ(socket.Writes().size(), 1u);
}

TEST_F(SamsungMedia, LocalFileProblemsFailTheUpload)
{
    MessageBoxRecorder boxes;
    ASSERT_TRUE(media.ChangeFolder("Звуки"));
    FileInformation missing;
    missing.path = "/nonexistent/qv/x.mid";
    missing.findData.sizeLow = 5;
    socket.Expect("ATZ\r", kOk);
    EXPECT_FALSE(media.PutFile(&missing, nullptr));
    EXPECT_EQ(boxes.Boxes().size(), 1u);

    LocalFile changed("c.mid", Pattern(50));
    changed.info.findData.sizeLow = 100;  // the file shrank since it was chosen
    socket.Expect("ATZ\r", kOk);
    EXPECT_FALSE(media.PutFile(&changed.info, nullptr));
    ExpectScriptMet();
    EXPECT_EQ(socket.Writes().size(), 2u);
}

TEST_F(SamsungMedia, DeleteConfirmsAndNeedsTheVerdict)
{
    const std::string command = "AT+MELW=7,\"Del\",5,1,1,1,16,100,0,0\r";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> exchange;
        bool result;
        int purges;
    } cases[] = {
        {"accepted", {{"ATZ\r", kOk}, {command, ">"}, {">\r", kOk}}, true, 0},
        {"accepted after the echo", {{"ATZ\r", kOk}, {command, command + ">"}, {">\r", ">\r" + kOk}}, true, 0},
        {"no answer to ATZ", {{"ATZ\r", ""}}, false, 0},
        {"refused", {{"ATZ\r", kOk}, {command, kError}}, false, 0},
        {"silent", {{"ATZ\r", kOk}, {command, ""}}, false, 0},
        {"refused at the confirmation", {{"ATZ\r", kOk}, {command, ">"}, {">\r", kError}}, false, 0},
        {"silent at the confirmation", {{"ATZ\r", kOk}, {command, ">"}, {">\r", ""}}, false, 0},
        {"checksum error", {{"ATZ\r", kOk}, {command, ">"}, {">\r", "\r\nCRCERR\r\n"}}, false, 1},
    };
    for (const auto& c : cases) {
        ScriptedSocket s;
        s.SetBytePerRead(true);
        SAMSUNG_AT_FTP m;
        m.Connect(&s, nullptr, 0);
        m.ChangeFolder("Звуки");
        auto* entry = new FolderObject;
        entry->type = FolderObject::kFile;
        entry->name = "Ring.mmf";
        entry->mediaIndex = 7;
        m.entries.Append(entry);
        for (const auto& [write, answer] : c.exchange)
            s.Expect(write, answer);
        EXPECT_EQ(m.DeleteObject("Ring.mmf"), c.result) << c.what;
        EXPECT_TRUE(s.Done()) << c.what;
        EXPECT_TRUE(s.Unexpected().empty()) << c.what;
        EXPECT_EQ(s.purgeCalls, c.purges) << c.what;
    }
}

TEST_F(SamsungMedia, DeleteNeedsAListedFileInAWritableFolder)
{
    ASSERT_TRUE(media.ChangeFolder("Изображения"));
    AddEntry("zero.jpg", 0);
    AddEntry("pic.jpg", 3)->type = FolderObject::kFolder;
    EXPECT_FALSE(media.DeleteObject("missing.jpg"));
    EXPECT_FALSE(media.DeleteObject("zero.jpg"));
    EXPECT_FALSE(media.DeleteObject("pic.jpg"));
    ASSERT_TRUE(media.ChangeFolder("Фотографии"));
    AddEntry("photo.jpg", 2);
    EXPECT_FALSE(media.DeleteObject("photo.jpg"));
    EXPECT_TRUE(socket.Writes().empty());

    ASSERT_TRUE(media.ChangeFolder("Изображения"));
    AddEntry("logo.jpg", 12);
    socket.Expect("ATZ\r", kOk)
        .Expect("AT+IMGW=12,\"Del\",5,1,1,1,16,100,0,0\r", ">")
        .Expect(">\r", kOk);
    EXPECT_TRUE(media.DeleteObject("logo.jpg"));
    ExpectScriptMet();
}

}  // namespace
