#include "samsung/SAMSUNG_AT_FS.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Locale.h"
#include "samsung/RecordingProgress.h"
#include "support/ScriptedSocket.h"

namespace {

using samsung_test::RecordingProgress;
using samsung_test::RecordingWait;

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";

// The UTF-8 bytes of the Cyrillic word Фото and its Windows-1251 form.
const std::string kPhotoUtf8 = "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE";
const char* const kPhotoAnsi = "\xD4\xEE\xF2\xEE";

std::string FileRecord(const std::string& name, const std::string& size, const std::string& date)
{
    return "\r\n+FSDL: 1,\"" + name + "\",0,1,2,3," + size + ",0,\"" + date + "\"";
}

std::string Block(const std::string& data, uint32_t number)
{
    return "\r\n+FSFR:" + std::to_string(data.size()) + "," + std::to_string(number) + "," + data +
           "\r\n#OK#\r\n";
}

std::string Pattern(size_t n, int seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + static_cast<size_t>(seed)) & 0xFF);
    return s;
}

struct Fixture : ::testing::Test {
    Fixture()
    {
        SetThousandsSeparator(' ');
        socket.SetBytePerRead(true);
    }
    void Connect()
    {
        socket.Expect("AT+FSIF=0\r", kOk);
        ASSERT_TRUE(fs.Connect(&socket, nullptr, 0));
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (uint32_t i = 0; i < fs.entries.Count(); ++i)
            names.emplace_back(fs.entries.Get(i)->name.CStr());
        return names;
    }
    std::vector<std::string> Path()
    {
        std::vector<std::string> parts;
        for (uint32_t i = 0; i < fs.pathParts.Count(); ++i)
            parts.emplace_back(fs.pathParts.Get(i)->CStr());
        return parts;
    }
    void ExpectScriptMet()
    {
        EXPECT_TRUE(socket.Done());
        EXPECT_TRUE(socket.Unexpected().empty()) << socket.Unexpected().front();
    }

    ScriptedSocket socket;
    SAMSUNG_AT_FS fs;
};

using SamsungFs = Fixture;

TEST_F(SamsungFs, ConnectAcceptsOkAndSilenceButNotARefusal)
{
    const struct {
        std::string answer;
        bool connected;
    } cases[] = {{kOk, true}, {"", true}, {kError, false}, {"\r\n+CME ERROR: 4\r\n", false}};
    for (const auto& c : cases) {
        ScriptedSocket s;
        s.SetBytePerRead(true);
        s.Expect("AT+FSIF=0\r", c.answer);
        SAMSUNG_AT_FS f;
        EXPECT_EQ(f.Connect(&s, nullptr, 0), c.connected) << c.answer;
        EXPECT_EQ(f.connected, c.connected);
        EXPECT_TRUE(s.Done());
    }
}

TEST_F(SamsungFs, CapabilitiesReadAndDeleteOnly)
{
    EXPECT_TRUE(fs.CanCopyFromDevice());
    EXPECT_TRUE(fs.CanDelete());
    EXPECT_FALSE(fs.CanCreateFolder());
    EXPECT_FALSE(fs.CanRename());
    EXPECT_FALSE(fs.CanCopyToDevice());
}

TEST_F(SamsungFs, PutFileFailsWithoutSendingAnything)
{
    Connect();
    FileInformation file;
    file.path = "/tmp/a.txt";
    file.findData.sizeLow = 10;
    RecordingProgress progress;
    EXPECT_FALSE(fs.PutFile(&file, &progress));
    EXPECT_EQ(socket.Writes().size(), 1u);  // the connect command only
    EXPECT_EQ(progress.transferred, 0u);
}

TEST_F(SamsungFs, ListsFoldersThenPagedFiles)
{
    Connect();
    socket.Expect("AT+FSIF=0\r\n", kOk)
        .Expect("AT+FSDI=\"/\"\r",
                "\r\n+FSDI: 0,\"Images\"\r\n+FSDI: 0,\"Sounds\"\r\n+FSDI: 0,\"a,b\"\r\n+FSDI: 0,\"" +
                    kPhotoUtf8 + "\"" + kOk)
        .Expect("AT+FSDL=\"/\"\r", FileRecord("a.txt", "1234", "2007:03:15 14:25:01") +
                                      FileRecord("b", "12abc", "2007-03-15 14:25:01") +
                                      "\r\n#OK#\r\n")
        .Expect("##>\r\n", FileRecord(kPhotoUtf8 + ".jpg", "1234567", "2008:12:31 23:59:58") +
                               "\r\n#OK#\r\n")
        .Expect("##>\r\n", kOk);
    RecordingWait wait;
    EXPECT_TRUE(fs.ReadFolder(&wait));
    ExpectScriptMet();

    EXPECT_EQ(Names(), (std::vector<std::string>{"Images", "Sounds", "a,b", kPhotoAnsi, "a.txt", "b",
                                                 std::string(kPhotoAnsi) + ".jpg"}));
    for (uint32_t i = 0; i < 4; ++i) {
        const FolderObject* folder = fs.entries.Get(i);
        EXPECT_EQ(folder->type, FolderObject::kFolder);
        EXPECT_EQ(folder->time.year, 0);
        EXPECT_TRUE(folder->sizeText.IsEmpty());
    }
    const FolderObject* a = fs.entries.Get(4);
    EXPECT_EQ(a->type, FolderObject::kFile);
    EXPECT_EQ(a->size, 1234u);
    EXPECT_STREQ(a->sizeText.CStr(), "1 234");
    EXPECT_STREQ(a->extension.CStr(), ".txt");
    const SystemTime& t = a->time;
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute, t.second, t.dayOfWeek,
                                t.milliseconds}),
              std::vector<int>({2007, 3, 15, 14, 25, 1, 0, 0}));

    const FolderObject* b = fs.entries.Get(5);
    EXPECT_EQ(b->size, 12u);
    EXPECT_STREQ(b->sizeText.CStr(), "12 abc");  // grouped as text
    EXPECT_EQ(b->time.year, 0);                  // no ':' at the fifth byte
    EXPECT_TRUE(b->extension.IsEmpty());

    const FolderObject* c = fs.entries.Get(6);
    EXPECT_EQ(c->size, 1234567u);
    EXPECT_STREQ(c->sizeText.CStr(), "1 234 567");
    EXPECT_EQ(c->time.second, 58);

    EXPECT_EQ(wait.rangeHigh, 10u);
    EXPECT_EQ(wait.steps, 3);  // once at the start, once per page
}

TEST_F(SamsungFs, RefusedFolderRequestListsNothing)
{
    Connect();
    socket.Expect("AT+FSIF=0\r\n", kOk)
        .Expect("AT+FSDI=\"/\"\r", "\r\n+FSDI: 0,\"Images\"\r\n+CME ERROR: 100\r\n");
    EXPECT_TRUE(fs.ReadFolder(nullptr));
    ExpectScriptMet();
    EXPECT_EQ(fs.entries.Count(), 0u);
    EXPECT_EQ(socket.Writes().back(), "AT+FSDI=\"/\"\r");  // no file request
}

TEST_F(SamsungFs, RefusedListingModeListsNothing)
{
    Connect();
    socket.Expect("AT+FSIF=0\r\n", kError);
    EXPECT_TRUE(fs.ReadFolder(nullptr));
    EXPECT_EQ(fs.entries.Count(), 0u);
    EXPECT_EQ(socket.Writes().size(), 2u);
}

// A listing that does not end with the phone's final result was cut short: it fails rather
// than show an empty or partial folder as if it were all.
TEST_F(SamsungFs, SilenceOrACutLineFailsTheListing)
{
    const std::string page = FileRecord("a.txt", "1", "2007:03:15 14:25:01") + "\r\n#OK#\r\n";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> exchange;
    } cases[] = {
        {"silent from the start", {{"AT+FSIF=0\r\n", ""}, {"AT+FSDI=\"/\"\r", ""}}},
        {"silent mid-page",
         {{"AT+FSIF=0\r\n", kOk},
          {"AT+FSDI=\"/\"\r", kOk},
          {"AT+FSDL=\"/\"\r", page},
          {"##>\r\n", FileRecord("b.txt", "2", "2007:03:15 14:25:01")}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedSocket s;
        s.SetBytePerRead(true);
        s.Expect("AT+FSIF=0\r", kOk);
        SAMSUNG_AT_FS f;
        ASSERT_TRUE(f.Connect(&s, nullptr, 0));
        for (const auto& [write, answer] : c.exchange)
            s.Expect(write, answer);
        EXPECT_FALSE(f.ReadFolder(nullptr));
        EXPECT_EQ(f.entries.Count(), 0u);
        EXPECT_TRUE(s.Done());
    }
}

TEST_F(SamsungFs, ChangeFolderEntersEachComponentTheRootAndTheParent)
{
    Connect();
    socket.Expect("AT+FSIF\r", kOk)
        .Expect("AT+FSCD=\"a\"\r", kOk)
        .Expect("AT+FSCD=\"b\"\r", kOk)
        .Expect("AT+FSCD=\"" + kPhotoUtf8 + "\"\r", kOk);
    EXPECT_TRUE(fs.ChangeFolder(GString("a//b\\\xD4\xEE\xF2\xEE")));
    ExpectScriptMet();
    EXPECT_EQ(Path(), (std::vector<std::string>{"a", "b", kPhotoAnsi}));
    EXPECT_STREQ(fs.CurrentPath().CStr(), "a\\b\\\xD4\xEE\xF2\xEE");

    socket.Expect("AT+FSIF\r", kOk).Expect("AT+FSCD=\"..\"\r", kOk);
    EXPECT_TRUE(fs.ChangeFolder(".."));
    EXPECT_EQ(Path(), (std::vector<std::string>{"a", "b"}));

    // A listing does not forget where the phone is.
    socket.Expect("AT+FSIF=0\r\n", kOk).Expect("AT+FSDI=\"/\"\r", kOk).Expect("AT+FSDL=\"/\"\r", kOk);
    fs.ReadFolder(nullptr);
    EXPECT_EQ(Path(), (std::vector<std::string>{"a", "b"}));

    socket.Expect("AT+FSIF\r", kOk).Expect("/\r", kOk);
    EXPECT_TRUE(fs.ChangeFolder("\\"));
    EXPECT_TRUE(Path().empty());
    ExpectScriptMet();
}

TEST_F(SamsungFs, ChangeFolderSucceedsOnlyWhenThePhoneSaysOk)
{
    const struct {
        const char* path;
        std::vector<std::pair<std::string, std::string>> exchange;
        bool result;
        std::vector<std::string> pathAfter;
    } cases[] = {
        {"a/b", {{"AT+FSIF\r", kOk}, {"AT+FSCD=\"a\"\r", kOk}, {"AT+FSCD=\"b\"\r", kError}}, false, {"a"}},
        {"a", {{"AT+FSIF\r", kOk}, {"AT+FSCD=\"a\"\r", ""}}, false, {}},  // silence
        {"a", {{"AT+FSIF\r", kOk}, {"AT+FSCD=\"a\"\r", "\r\n+CME ERROR: 3\r\n"}}, false, {}},
        {"a", {{"AT+FSIF\r", ""}, {"AT+FSCD=\"a\"\r", kOk}}, true, {"a"}},  // FSIF answer ignored
        {"\\", {{"AT+FSIF\r", kOk}, {"/\r", ""}}, false, {"x"}},
        {"\\", {{"AT+FSIF\r", kOk}, {"/\r", kError}}, false, {"x"}},
        {"..", {{"AT+FSIF\r", kOk}, {"AT+FSCD=\"..\"\r", kError}}, false, {"x"}},
    };
    for (const auto& c : cases) {
        ScriptedSocket s;
        s.SetBytePerRead(true);
        s.Expect("AT+FSIF=0\r", kOk);
        SAMSUNG_AT_FS f;
        ASSERT_TRUE(f.Connect(&s, nullptr, 0));
        if (c.path[0] == '\\' || c.path[0] == '.') {
            s.Expect("AT+FSIF\r", kOk).Expect("AT+FSCD=\"x\"\r", kOk);
            ASSERT_TRUE(f.ChangeFolder("x"));
        }
        for (const auto& [write, answer] : c.exchange)
            s.Expect(write, answer);
        EXPECT_EQ(f.ChangeFolder(c.path), c.result) << c.path;
        EXPECT_TRUE(s.Done()) << c.path;
        std::vector<std::string> parts;
        for (uint32_t i = 0; i < f.pathParts.Count(); ++i)
            parts.emplace_back(f.pathParts.Get(i)->CStr());
        EXPECT_EQ(parts, c.pathAfter) << c.path;
    }
}

TEST_F(SamsungFs, NamesThatCannotBeSentAreRefusedLocally)
{
    Connect();
    const std::string tooLong(260, 'n');  // 259 bytes and the terminator fill the buffer
    const GString names[] = {"a\"b", "a\rb", "a\nb", GString(tooLong.c_str()), ""};
    for (const GString& name : names) {
        const size_t writes = socket.Writes().size();
        EXPECT_FALSE(fs.DeleteObject(name));
        EXPECT_FALSE(fs.ChangeFolder(name.IsEmpty() ? GString("x/\"") : name));
        FolderObject entry;
        entry.name = name;
        entry.size = 4;
        MemoryFileSink sink;
        EXPECT_FALSE(fs.GetFile(&entry, sink, nullptr));
        EXPECT_EQ(socket.Writes().size(), writes) << name.CStr();
    }
    ExpectScriptMet();

    const std::string longest(259, 'n');
    socket.Expect("AT+FSFE=-1,\"" + longest + "\"\r\n", kOk);
    EXPECT_TRUE(fs.DeleteObject(GString(longest.c_str())));
    ExpectScriptMet();
}

TEST_F(SamsungFs, DeleteNeedsAnOk)
{
    const struct {
        std::string answer;
        bool result;
    } cases[] = {{kOk, true}, {kError, false}, {"", false}, {"\r\nOK", false}};
    for (const auto& c : cases) {
        ScriptedSocket s;
        s.SetBytePerRead(true);
        s.Expect("AT+FSIF=0\r", kOk).Expect("AT+FSFE=-1,\"" + kPhotoUtf8 + ".jpg\"\r\n", c.answer);
        SAMSUNG_AT_FS f;
        ASSERT_TRUE(f.Connect(&s, nullptr, 0));
        EXPECT_EQ(f.DeleteObject(GString("\xD4\xEE\xF2\xEE.jpg")), c.result) << c.answer;
        EXPECT_TRUE(s.Done());
    }
}

struct SamsungFsRead : Fixture {
    // Whether the read was whole; what arrived goes to buffer.
    bool Read(uint32_t size, std::vector<uint8_t>& buffer, OperationProgress* progress = nullptr)
    {
        FolderObject entry;
        entry.name = "dir\\f.bin";
        entry.size = size;
        MemoryFileSink sink;
        const bool whole = fs.GetFile(&entry, sink, progress);
        buffer.assign(sink.Data(), sink.Data() + sink.Size());
        return whole;
    }
    void ExpectRequest(const std::string& answer = "\r\n#OK#\r\n")
    {
        socket.Expect("AT+FSFR=-1,\"dir\\f.bin\"\r\n", answer);
    }
};

TEST_F(SamsungFsRead, ReadsBlocksAcknowledgingEach)
{
    Connect();
    const std::string data = Pattern(1300, 3);
    ExpectRequest();
    socket.Expect("##>\r\n", Block(data.substr(0, 512), 1))
        .Expect("##>\r\n", "\r\n\r\n" + Block(data.substr(512, 512), 2))  // a little noise first
        .Expect("##>\r\n", Block(data.substr(1024), 3))
        .Expect("##>\r\n", kOk);
    RecordingProgress progress;
    std::vector<uint8_t> buffer;
    EXPECT_TRUE(Read(1300, buffer, &progress));
    ExpectScriptMet();
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), data);
    EXPECT_EQ(progress.transferred, 1300u);
    EXPECT_EQ(progress.additions, 3);
    EXPECT_EQ(progress.pumps, 3);
    EXPECT_GE(progress.cancelChecks, 4);  // before the request and before every block
}

TEST_F(SamsungFsRead, BlockOf512BytesWithAnySecondField)
{
    Connect();
    const std::string data = Pattern(512, 9);
    ExpectRequest();
    socket.Expect("##>\r\n", "\r\n+FSFR: 512,xyz," + data + "#OK#\r\n").Expect("##>\r\n", kOk);
    std::vector<uint8_t> buffer;
    EXPECT_TRUE(Read(512, buffer));
    ExpectScriptMet();
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), data);
}

TEST_F(SamsungFsRead, EmptyFileNeedsOnlyTheClosingOk)
{
    Connect();
    ExpectRequest();
    socket.Expect("##>\r\n", kOk);
    std::vector<uint8_t> buffer;
    EXPECT_TRUE(Read(0, buffer));
    EXPECT_TRUE(buffer.empty());
    ExpectScriptMet();
}

TEST_F(SamsungFsRead, EveryFaultFailsTheTransfer)
{
    const std::string data = Pattern(600, 1);
    const std::string first = Block(data.substr(0, 512), 1);
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> afterRequest;
        std::string requestAnswer;
    } cases[] = {
        {"unknown file", {}, kError},
        {"silent after the request", {}, ""},
        {"silent instead of a block", {{"##>\r\n", ""}}, "\r\n#OK#\r\n"},
        {"block shorter than announced",
         {{"##>\r\n", "\r\n+FSFR:512,1," + data.substr(0, 300)}}, "\r\n#OK#\r\n"},
        {"empty block", {{"##>\r\n", "\r\n+FSFR:0,1,\r\n#OK#\r\n"}}, "\r\n#OK#\r\n"},
        {"block beyond the listed size",
         {{"##>\r\n", first}, {"##>\r\n", Block(data.substr(0, 100), 2)}}, "\r\n#OK#\r\n"},
        {"length that is no number", {{"##>\r\n", "\r\n+FSFR:5x2,1,"}}, "\r\n#OK#\r\n"},
        {"noise before the header", {{"##>\r\n", "\r\n0123456789ab+FSFR:88,1,"}}, "\r\n#OK#\r\n"},
        {"length without a comma", {{"##>\r\n", "\r\n+FSFR:00000000512,1,"}}, "\r\n#OK#\r\n"},
        {"second field too long", {{"##>\r\n", "\r\n+FSFR:512,12345678901,"}}, "\r\n#OK#\r\n"},
        {"no marker after a block", {{"##>\r\n", "\r\n+FSFR:512,1," + data.substr(0, 512)}},
         "\r\n#OK#\r\n"},
        {"error after a block", {{"##>\r\n", "\r\n+FSFR:512,1," + data.substr(0, 512) + kError}},
         "\r\n#OK#\r\n"},
        {"more data than listed",
         {{"##>\r\n", first}, {"##>\r\n", Block(data.substr(512), 2)},
          {"##>\r\n", Block("extra", 3)}},
         "\r\n#OK#\r\n"},
    };
    for (const auto& c : cases) {
        ScriptedSocket s;
        s.SetBytePerRead(true);
        s.Expect("AT+FSIF=0\r", kOk).Expect("AT+FSFR=-1,\"f\"\r\n", c.requestAnswer);
        for (const auto& [write, answer] : c.afterRequest)
            s.Expect(write, answer);
        SAMSUNG_AT_FS f;
        ASSERT_TRUE(f.Connect(&s, nullptr, 0));
        FolderObject entry;
        entry.name = "f";
        entry.size = 600;
        MemoryFileSink sink;
        EXPECT_FALSE(f.GetFile(&entry, sink, nullptr)) << c.what;
        EXPECT_TRUE(s.Done()) << c.what;
        EXPECT_LT(s.readCalls, 5000) << c.what;
    }
}

TEST_F(SamsungFsRead, CancelIsSeenBeforeEveryBlock)
{
    Connect();
    const std::string data = Pattern(1024, 5);
    ExpectRequest();
    socket.Expect("##>\r\n", Block(data.substr(0, 512), 1))
        .Expect("##>\r\n", Block(data.substr(512), 2));
    RecordingProgress progress;
    progress.cancelWhen = [](const RecordingProgress& p) { return p.transferred >= 512; };
    std::vector<uint8_t> buffer;
    EXPECT_FALSE(Read(1024, buffer, &progress));
    EXPECT_EQ(progress.transferred, 512u);
    // The second block is never acknowledged: the phone waits for "##>" that does not come.
    size_t acknowledgements = 0;
    for (const std::string& w : socket.Writes())
        acknowledgements += w == "##>\r\n" ? 1 : 0;
    EXPECT_EQ(acknowledgements, 2u);
}

TEST_F(SamsungFsRead, CancelledBeforeStartOrRefusedBySinkSendsNothing)
{
    Connect();
    RecordingProgress cancelled;
    cancelled.cancelWhen = [](const RecordingProgress&) { return true; };
    std::vector<uint8_t> buffer;
    EXPECT_FALSE(Read(10, buffer, &cancelled));
    FolderObject entry;
    entry.name = "f";
    entry.size = 10;
    MemoryFileSink small(9);
    EXPECT_FALSE(fs.GetFile(&entry, small, nullptr));
    EXPECT_EQ(socket.Writes().size(), 1u);
}

// Once every listed byte has arrived the file is whole, however the phone closes; silence
// before the last byte fails (above), and so does a phone that goes on with more data.
TEST_F(SamsungFsRead, ClosingAfterTheLastByteIsNotJudged)
{
    const std::string data = Pattern(600, 2);
    const std::string first = Block(data.substr(0, 512), 1);
    const std::string lastData = "\r\n+FSFR:88,2," + data.substr(512);
    const struct {
        const char* what;
        std::string lastBlock;                                      // answer to the second "##>"
        std::vector<std::pair<std::string, std::string>> closing;  // then
        bool whole;
    } cases[] = {
        {"marker, then silence", lastData + "\r\n#OK#\r\n", {{"##>\r\n", ""}}, true},
        {"marker, then an error", lastData + "\r\n#OK#\r\n", {{"##>\r\n", kError}}, true},
        {"OK without the marker", lastData + kOk, {}, true},
        {"nothing at all", lastData, {}, true},
        {"another block", lastData + "\r\n#OK#\r\n", {{"##>\r\n", Block("extra", 3)}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedSocket s;
        s.SetBytePerRead(true);
        s.Expect("AT+FSIF=0\r", kOk)
            .Expect("AT+FSFR=-1,\"f\"\r\n", "\r\n#OK#\r\n")
            .Expect("##>\r\n", first)
            .Expect("##>\r\n", c.lastBlock);
        for (const auto& [write, answer] : c.closing)
            s.Expect(write, answer);
        SAMSUNG_AT_FS f;
        ASSERT_TRUE(f.Connect(&s, nullptr, 0));
        FolderObject entry;
        entry.name = "f";
        entry.size = 600;
        MemoryFileSink sink;
        EXPECT_EQ(f.GetFile(&entry, sink, nullptr), c.whole);
        EXPECT_TRUE(std::string(reinterpret_cast<const char*>(sink.Data()), sink.Size()) == data);
        EXPECT_TRUE(s.Done());
        EXPECT_TRUE(s.Unexpected().empty());
    }
}

}  // namespace
