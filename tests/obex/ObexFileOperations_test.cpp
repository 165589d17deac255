// The OBEX file operations over a scripted phone: the exact requests, what the phone's
// answers make of the result, and how transfers end when something goes wrong.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "devices/Device.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "obex/ObexTestKit.h"
#include "support/MessageBoxRecorder.h"
#include "support/ObexBytes.h"
#include "support/ScriptedSocket.h"

using namespace obexbytes;

namespace {

const std::string kGood = Hex("A0 00 03");
const std::string kParent = Hex("85 00 08 02 00 01 00 03");
// The root request is the same top-of-tree request as the first step of "..": no back-up flag.
const std::string kRoot = Hex("85 00 08 02 00 01 00 03");
const std::string kContinue = Hex("83 00 03");
const std::string kAbort = Hex("FF 00 03");

std::string SetPath(const std::u16string& name)
{
    const std::string n = Utf16Be(name);
    return Hex("85") + Be16(n.size() + 8) + Hex("02 00") + Header(0x01, n);
}

std::string NameRequest(uint8_t opcode, const std::u16string& name)
{
    return Packet(opcode, Header(0x01, Utf16Be(name)));
}

struct Rig {
    explicit Rig(TComm* port = nullptr, uint32_t peerMax = 1024) : socket(port, 1)
    {
        socket.SetBytePerRead(true);
        obex->socket = &socket;
        obex->connected = true;
        obex->peerMaxPacket = peerMax;
    }
    std::string Path() const { return obex->CurrentPath().CStr(); }
    void Clean() const
    {
        EXPECT_TRUE(socket.Done()) << "script not consumed";
        EXPECT_TRUE(socket.Unexpected().empty()) << ToHex(socket.Unexpected().front());
    }
    ScriptedSocket socket;
    std::unique_ptr<TestObex> obex = std::make_unique<TestObex>();
};

// --- folders ---

TEST(ObexChangeFolder, RelativePathsEnterOneComponentAtATime)
{
    struct Case {
        const char* text;
        std::vector<std::u16string> sent;
        std::string path;
    };
    const Case cases[] = {
        {"a/b\\c", {u"a", u"b", u"c"}, "a\\b\\c"},
        {"a//b", {u"a", u"b"}, "a\\b"},
        {"\\a\\", {u"a"}, "a"},
        {"", {}, ""},
        {"Фото/Лето", {u"Фото", u"Лето"}, "Фото\\Лето"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Rig rig;
        for (const std::u16string& name : c.sent)
            rig.socket.Expect(SetPath(name), kGood);
        EXPECT_TRUE(rig.obex->ChangeFolder(c.text));
        EXPECT_EQ(rig.Path(), c.path);
        rig.Clean();
    }
}

TEST(ObexChangeFolder, RefusedComponentKeepsWhatWasEntered)
{
    Rig rig;
    rig.socket.Expect(SetPath(u"a"), kGood).Expect(SetPath(u"b"), Hex("C4 00 03"));
    EXPECT_FALSE(rig.obex->ChangeFolder("a/b/c"));
    EXPECT_EQ(rig.Path(), "a");
    EXPECT_EQ(rig.obex->LastError(), 0xC4);
    rig.Clean();
}

TEST(ObexChangeFolder, NameLimitIsCheckedBeforeAnythingIsSent)
{
    {
        Rig rig;
        const std::string longest(254, 'd');
        rig.socket.Expect(SetPath(std::u16string(254, u'd')), kGood);
        EXPECT_TRUE(rig.obex->ChangeFolder(longest.c_str()));
        rig.Clean();
    }
    {
        // An empty Name would take the phone to the root instead.
        Rig rig;
        rig.socket.Expect(SetPath(u"a"), kGood);
        const std::string text = "a/" + std::string(255, 'd');
        EXPECT_FALSE(rig.obex->ChangeFolder(text.c_str()));
        EXPECT_EQ(rig.Path(), "a");
        EXPECT_EQ(rig.socket.Writes().size(), 1u);
        rig.Clean();
    }
}

TEST(ObexChangeFolder, ParentGoesToTheTopAndReentersTheRest)
{
    Rig rig;
    rig.obex->pathParts.Append(new GString("a"));
    rig.obex->pathParts.Append(new GString("b"));
    rig.socket.Expect(kParent, kGood).Expect(SetPath(u"a"), kGood);
    EXPECT_TRUE(rig.obex->ChangeFolder(".."));
    EXPECT_EQ(rig.Path(), "a");
    rig.Clean();
}

TEST(ObexChangeFolder, ParentAndRootOutcomes)
{
    struct Case {
        const char* what;
        const char* text;
        std::string request;
        std::string answer;
        bool reenterFails;
        bool result;
        std::string path;
    };
    // pathParts names the folder the phone confirmed; anything short of that is a failure.
    const Case cases[] = {
        {"parent refused", "..", kParent, Hex("C3 00 03"), false, false, "a\\b"},
        {"parent cut off", "..", kParent, "", false, false, "a\\b"},
        {"re-entry refused", "..", kParent, kGood, true, false, ""},
        {"root", "\\", kRoot, kGood, false, true, ""},
        {"root refused", "\\", kRoot, Hex("C3 00 03"), false, false, "a\\b"},
        {"root cut off", "\\", kRoot, "", false, false, "a\\b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.obex->pathParts.Append(new GString("a"));
        rig.obex->pathParts.Append(new GString("b"));
        rig.socket.Expect(c.request, c.answer);
        if (c.reenterFails)
            rig.socket.Expect(SetPath(u"a"), Hex("C4 00 03"));
        EXPECT_EQ(rig.obex->ChangeFolder(c.text), c.result);
        EXPECT_EQ(rig.Path(), c.path);
        rig.Clean();
    }
}

TEST(ObexCreateFolder, CreatesThenReturnsToTheFolderTheUserIsIn)
{
    Rig rig;
    rig.obex->pathParts.Append(new GString("a"));
    rig.socket.Expect(Hex("85 00 0A 00 00 01 00 05 00 78"), kGood)
        .Expect(kParent, kGood)
        .Expect(SetPath(u"a"), kGood);
    EXPECT_TRUE(rig.obex->CreateFolder("x"));
    EXPECT_EQ(rig.Path(), "a");
    rig.Clean();
}

TEST(ObexCreateFolder, FailsWhenThePhoneDoesNotGoBack)
{
    // Created and entered, but the way back is refused: the phone stays in the new folder.
    Rig rig;
    rig.obex->pathParts.Append(new GString("a"));
    rig.socket.Expect(Hex("85 00 0A 00 00 01 00 05 00 78"), kGood).Expect(kParent, Hex("C3 00 03"));
    EXPECT_FALSE(rig.obex->CreateFolder("x"));
    EXPECT_EQ(rig.Path(), "a\\x");
    rig.Clean();
}

TEST(ObexCreateFolder, RefusedOrUnsendable)
{
    {
        Rig rig;
        rig.socket.Expect(Hex("85 00 0A 00 00 01 00 05 00 78"), Hex("C1 00 03"));
        EXPECT_FALSE(rig.obex->CreateFolder("x"));
        EXPECT_EQ(rig.Path(), "");
        rig.Clean();
    }
    {
        Rig rig;
        EXPECT_FALSE(rig.obex->CreateFolder(std::string(255, 'x').c_str()));
        EXPECT_TRUE(rig.socket.Writes().empty());
    }
}

// --- delete and rename ---

TEST(ObexDeleteObject, FinalPutWithNameOnly)
{
    struct Case {
        std::string answer;
        bool result;
        int lastError;
    };
    for (const Case& c : {Case{kGood, true, 0xA0}, Case{Hex("C3 00 03"), false, 0xC3},
                          Case{"", false, 0}}) {
        Rig rig;
        rig.socket.Expect(Hex("82 00 12 01 00 0F") + Utf16Be(u"a.txt"), c.answer);
        EXPECT_EQ(rig.obex->DeleteObject("a.txt"), c.result);
        EXPECT_EQ(rig.obex->LastError(), c.lastError);
        rig.Clean();
    }
}

TEST(ObexDeleteObject, UnsendableNameClearsTheLastCodeAndSendsNothing)
{
    Rig rig;
    rig.obex->response[0] = 0xC4;
    EXPECT_FALSE(rig.obex->DeleteObject(std::string(300, 'x').c_str()));
    EXPECT_EQ(rig.obex->LastError(), 0);
    EXPECT_TRUE(rig.socket.Writes().empty());
}

TEST(ObexRenameObject, ActionOnWirelessLinks)
{
    TIrDAPort irda;
    for (TComm* port : {static_cast<TComm*>(&irda), static_cast<TComm*>(nullptr)}) {
        Rig rig(port);
        const std::string oldName = Utf16Be(u"old.txt"), newName = Utf16Be(u"Новый.txt");
        rig.socket.Expect(Packet(0x86, Hex("94 01") + Header(0x01, oldName) +
                                           Header(0x15, newName)),
                          kGood);
        EXPECT_TRUE(rig.obex->RenameObject("old.txt", "Новый.txt"));
        EXPECT_EQ(rig.socket.AllWritten().size(), oldName.size() + newName.size() + 11);
        rig.Clean();
    }
}

TEST(ObexRenameObject, VendorPutOnSerialLines)
{
    TSerialPort serial;
    Rig rig(&serial);
    const std::string oldName = Utf16Be(u"old.txt", false), newName = Utf16Be(u"new.txt", false);
    const std::string params = Hex("34 04") + "move" + Hex("35") +
                               std::string(1, static_cast<char>(oldName.size())) + oldName +
                               Hex("36") + std::string(1, static_cast<char>(newName.size())) +
                               newName;
    rig.socket.Expect(Packet(0x82, Header(0x4C, params)), Hex("C3 00 03"));
    EXPECT_FALSE(rig.obex->RenameObject("old.txt", "new.txt"));
    EXPECT_EQ(rig.obex->LastError(), 0xC3);
    // n + m + 12 with n, m the names' byte counts with their terminators.
    EXPECT_EQ(rig.socket.AllWritten().size(), oldName.size() + 2 + newName.size() + 2 + 12);
    rig.Clean();
}

TEST(ObexRenameObject, SerialNamesBeyond127CharactersAreRefusedLocally)
{
    TSerialPort serial;
    {
        Rig rig(&serial);
        rig.socket.SetResponder([](const std::string&) { return Hex("A0 00 03"); });
        EXPECT_TRUE(rig.obex->RenameObject(std::string(127, 'o').c_str(),
                                           std::string(127, 'n').c_str()));
        EXPECT_EQ(rig.socket.AllWritten().size(), 12u + 256 + 256);
    }
    for (int which = 0; which < 2; ++which) {
        Rig rig(&serial);
        const std::string shortName = "n", longName(128, 'x');
        EXPECT_FALSE(rig.obex->RenameObject(which == 0 ? longName.c_str() : shortName.c_str(),
                                            which == 0 ? shortName.c_str() : longName.c_str()));
        EXPECT_TRUE(rig.socket.Writes().empty());
    }
}

// --- GET ---

struct GetCase {
    const char* what;
    uint32_t listedSize;                 // 0: the listing gave none
    std::vector<std::string> responses;  // answer to the request, then to each continuation
    bool whole;                          // GetFile's verdict
    std::string arrived;                 // what the sink took
    bool aborted = false;                // the read was stopped with ABORT
};

std::string Abbreviate(const std::string& bytes)
{
    return bytes.size() <= 16 ? bytes : bytes.substr(0, 16) + "...";
}

TEST(ObexGetFile, ResponsesAndTheVerdict)
{
    const std::string big(70000, 'b');
    std::vector<std::string> unlisted;
    for (size_t at = 0; at < big.size(); at += 1000)
        unlisted.push_back(Packet(at + 1000 < big.size() ? 0x90 : 0xA0,
                                  Header(at + 1000 < big.size() ? 0x48 : 0x49, big.substr(at, 1000))));
    const GetCase cases[] = {
        {"one packet", 5, {Packet(0xA0, Header(0x49, "hello"))}, true, "hello"},
        {"continued",
         11,
         {Packet(0x90, Header(0x48, "hel")), Packet(0x90, Header(0x48, "lo ")),
          Packet(0xA0, Header(0x49, "world"))},
         true,
         "hello world"},
        {"length header before the body", 5,
         {Packet(0x90, Hex("C3 00 00 00 05") + Header(0x48, "he")),
          Packet(0xA0, Header(0x49, "llo"))},
         true, "hello"},
        {"time header in a bodyless first answer", 2,
         {Packet(0x90, Header(0x44, "20070315T142501Z")), Packet(0xA0, Header(0x49, "hi"))},
         true, "hi"},
        {"empty final answer after the body", 2, {Packet(0x90, Header(0x48, "hi")), kGood}, true,
         "hi"},
        {"name header skipped by its length", 3,
         {Packet(0xA0, Header(0x01, Utf16Be(u"x")) + Header(0x49, "abc"))}, true, "abc"},
        {"one-byte and four-byte headers skipped", 3,
         {Packet(0xA0, Hex("97 01 CB 00 00 00 01") + Header(0x49, "abc"))}, true, "abc"},
        // Listed without a size: read to the end, however long.
        {"unlisted size, read to the end", 0, unlisted, true, big},
        {"unlisted size with a length header", 0,
         {Packet(0x90, Hex("C3 00 00 00 04") + Header(0x48, "ab")), Packet(0xA0, Header(0x49, "cd"))},
         true, "abcd"},
        // The phone's Length header is newer than the listing.
        {"length header overrides the listing", 9,
         {Packet(0xA0, Hex("C3 00 00 00 04") + Header(0x49, "abcd"))}, true, "abcd"},
        // A copy that is short or long is never whole.
        {"fewer bytes than listed", 6, {Packet(0xA0, Header(0x49, "abc"))}, false, "abc"},
        {"fewer bytes than the length header", 0,
         {Packet(0xA0, Hex("C3 00 00 00 06") + Header(0x49, "abc"))}, false, "abc"},
        {"more bytes than listed", 4,
         {Packet(0x90, Header(0x48, "abc")), Packet(0xA0, Header(0x49, "defgh"))}, false, "abc",
         true},
        {"body header longer than the response", 5, {Packet(0xA0, Hex("49 00 10") + "abc")}, false,
         ""},
        {"header length below 3", 5, {Packet(0xA0, Hex("42 00 01") + Header(0x49, "abc"))}, false,
         ""},
        {"phone breaks off with an error", 6,
         {Packet(0x90, Header(0x48, "abc")), Hex("C3 00 03")}, false, "abc"},
        {"link cut mid-transfer", 6, {Packet(0x90, Header(0x48, "abc")), ""}, false, "abc"},
        {"missing file", 6, {Hex("C4 00 03")}, false, ""},
    };
    for (const GetCase& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.socket.SetBytePerRead(false);
        RecordingProgress progress;
        rig.socket.Expect(NameRequest(0x83, u"f.bin"), c.responses[0]);
        for (size_t i = 1; i < c.responses.size(); ++i)
            rig.socket.Expect(kContinue, c.responses[i]);
        if (c.aborted)
            rig.socket.Expect(kAbort, kGood);
        FolderObject entry;
        entry.name = "f.bin";
        entry.size = c.listedSize;
        MemoryFileSink sink;
        EXPECT_EQ(rig.obex->GetFile(&entry, sink, &progress), c.whole);
        const std::string arrived(reinterpret_cast<const char*>(sink.Data()), sink.Size());
        EXPECT_EQ(arrived.size(), c.arrived.size());
        EXPECT_TRUE(arrived == c.arrived) << Abbreviate(arrived);
        EXPECT_EQ(progress.transferred, c.arrived.size());
        rig.Clean();
    }
}

TEST(ObexGetFile, MissingFileLeavesItsCode)
{
    Rig rig;
    rig.socket.Expect(NameRequest(0x83, u"none"), Hex("C4 00 03"));
    FolderObject entry;
    entry.name = "none";
    entry.size = 3;
    MemoryFileSink sink;
    EXPECT_FALSE(rig.obex->GetFile(&entry, sink, nullptr));
    EXPECT_EQ(rig.obex->LastError(), 0xC4);
}

TEST(ObexGetFile, PathNamesAreSentUnchanged)
{
    Rig rig;
    rig.socket.Expect(NameRequest(0x83, u"Фото\\лето.jpg"), Packet(0xA0, Header(0x49, "x")));
    FolderObject entry;
    entry.name = "Фото\\лето.jpg";
    entry.size = 1;
    MemoryFileSink sink;
    EXPECT_TRUE(rig.obex->GetFile(&entry, sink, nullptr));
    rig.Clean();
}

// A sink that holds a few bytes only, as one writing to a full disk would.
class SmallSink : public FileSink {
public:
    explicit SmallSink(uint32_t room) : room(room) {}
    bool Reserve(uint32_t size) override { return size <= room; }
    bool Write(const uint8_t*, uint32_t count) override
    {
        if (count > room)
            return false;
        room -= count;
        return true;
    }
    uint32_t room;
};

TEST(ObexGetFile, ASinkThatRefusesStopsTheRead)
{
    FolderObject entry;
    entry.name = "f";
    {
        // The size is known from the first answer: refused before any more is asked for.
        Rig rig;
        entry.size = 6;
        rig.socket.Expect(NameRequest(0x83, u"f"), Packet(0x90, Header(0x48, "abc")))
            .Expect(kAbort, kGood);
        SmallSink sink(5);
        EXPECT_FALSE(rig.obex->GetFile(&entry, sink, nullptr));
        rig.Clean();
    }
    {
        Rig rig;
        entry.size = 0;
        rig.socket.Expect(NameRequest(0x83, u"f"), Packet(0x90, Header(0x48, "abc")))
            .Expect(kContinue, Packet(0x90, Header(0x48, "def")))
            .Expect(kAbort, kGood);
        SmallSink sink(5);
        EXPECT_FALSE(rig.obex->GetFile(&entry, sink, nullptr));
        rig.Clean();
    }
}

TEST(ObexGetFile, NothingIsSentWhenAlreadyCancelled)
{
    FolderObject entry;
    entry.name = "f";
    entry.size = 6;
    Rig rig;
    RecordingProgress cancelled;
    cancelled.cancelAfterChecks = 0;
    MemoryFileSink sink;
    EXPECT_FALSE(rig.obex->GetFile(&entry, sink, &cancelled));
    EXPECT_TRUE(rig.socket.Writes().empty());
}

TEST(ObexGetFile, CancelMidTransferAbortsKeepingWhatArrived)
{
    Rig rig;
    RecordingProgress progress;
    progress.cancelAfterChecks = 2;  // the check before the request and before chunk 1 pass
    rig.socket.Expect(NameRequest(0x83, u"f"), Packet(0x90, Header(0x48, "abc")))
        .Expect(kContinue, Packet(0x90, Header(0x48, "def")))
        .Expect(kAbort, kGood);
    FolderObject entry;
    entry.name = "f";
    entry.size = 9;
    MemoryFileSink sink;
    EXPECT_FALSE(rig.obex->GetFile(&entry, sink, &progress));
    EXPECT_EQ(sink.Size(), 3u);
    rig.Clean();
}

TEST(MemoryFileSink, GrowsToItsLimitAndNoFurther)
{
    const std::string part(100000, 'p');
    const auto* bytes = reinterpret_cast<const uint8_t*>(part.data());
    MemoryFileSink sink(250001);
    EXPECT_FALSE(sink.Reserve(250002));
    ASSERT_TRUE(sink.Write(bytes, 100000));
    ASSERT_TRUE(sink.Write(bytes, 100000));
    EXPECT_FALSE(sink.Write(bytes, 50002));
    ASSERT_TRUE(sink.Write(bytes, 50001));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sink.Data()), sink.Size()),
              part + part + part.substr(0, 50001));
}

// --- GetObject / GetTypedObject / ReadFolder ---

const std::string kListingRequest =
    Hex("83 00 1F 01 00 03 42 00 19") + "x-obex/folder-listing" + std::string(1, '\0');

TEST(ObexGetNamedObject, NamedObjectWithoutType)
{
    Rig rig;
    rig.socket.Expect(NameRequest(0x83, u"telecom/devinfo.txt"),
                      Packet(0x90, Header(0x48, "MANU:X\r\n")))
        .Expect(kContinue, Packet(0xA0, Header(0x49, "MOD:Y\r\n")));
    GString out("stale");
    EXPECT_EQ(rig.obex->GetNamedObject("telecom/devinfo.txt", out), 15u);
    EXPECT_STREQ(out.CStr(), "MANU:X\r\nMOD:Y\r\n");
    rig.Clean();
}

TEST(ObexGetNamedObject, FailuresLeaveAnEmptyOutput)
{
    struct Case {
        const char* what;
        std::vector<std::string> responses;
    };
    std::vector<std::string> bodyless(66, Hex("90 00 03"));
    const Case cases[] = {
        {"refused", {Hex("C4 00 03")}},
        {"cut mid-object", {Packet(0x90, Header(0x48, "abc"))}},
        {"error after a part", {Packet(0x90, Header(0x48, "abc")), Hex("D0 00 03")}},
        {"endless bodyless continues", bodyless},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.socket.Expect(NameRequest(0x83, u"o"), c.responses[0]);
        for (size_t i = 1; i < c.responses.size(); ++i)
            rig.socket.Expect(kContinue, c.responses[i]);
        GString out("stale");
        EXPECT_EQ(rig.obex->GetNamedObject("o", out), 0u);
        EXPECT_TRUE(out.IsEmpty());
    }
}

TEST(ObexGetNamedObject, PhoneThatContinuesWithoutDataIsGivenUp)
{
    // Continue answers with no Body or an empty one, as long as they are asked for (the
    // phone here tires after 1000, so that a fault shows as a failure, not a hang).
    for (const std::string& idle : {Hex("90 00 03"), Packet(0x90, Header(0x48, ""))}) {
        SCOPED_TRACE(ToHex(idle));
        Rig rig;
        rig.socket.SetBytePerRead(false);
        int requests = 0;
        bool aborted = false;
        rig.socket.SetResponder([&](const std::string& written) {
            aborted = aborted || written == kAbort;
            return ++requests < 1000 ? idle : std::string();
        });
        GString out;
        EXPECT_EQ(rig.obex->GetNamedObject("o", out), 0u);
        EXPECT_TRUE(aborted);
        EXPECT_LE(requests, static_cast<int>(OBEX_FTP::kMaxIdleResponses) + 2);
    }
}

TEST(ObexReadFolder, CancelledListingStopsWithAbortAndNoRetry)
{
    Rig rig;
    rig.obex->pathParts.Append(new GString("a"));
    CountingWait wait;
    wait.cancelAfterSteps = 1;
    rig.socket.Expect(kListingRequest, Packet(0x90, Header(0x48, "<folder-li")))
        .Expect(kAbort, kGood);
    EXPECT_FALSE(rig.obex->ReadFolder(&wait));
    EXPECT_EQ(rig.Path(), "a");
    rig.Clean();
}

TEST(ObexGetNamedObject, CollectsAtMostSixteenMebibytes)
{
    Rig rig;
    rig.socket.SetBytePerRead(false);
    const std::string chunk = Packet(0x90, Header(0x48, std::string(32000, 'z')));
    size_t continuations = 0;
    bool aborted = false;
    rig.socket.SetResponder([&](const std::string& written) {
        if (written == kAbort) {
            aborted = true;
            return kGood;
        }
        ++continuations;
        return chunk;
    });
    GString out;
    EXPECT_EQ(rig.obex->GetNamedObject("big", out), 0u);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_TRUE(aborted);
    // The request and 524 continuations bring 525 x 32000 bytes, just over the limit.
    EXPECT_EQ(continuations, 525u);
}

TEST(ObexGetTypedObject, ExactListingRequestAndTheUnaskedSecondPacket)
{
    Rig rig;
    CountingWait wait;
    rig.obex->progressWindow = &wait;
    // The first answer has a zero where its first header should be: the object follows
    // without another request.
    rig.socket.Expect(kListingRequest, Packet(0x90, Hex("00 00 00 00 00 00")) +
                                           Packet(0x90, Header(0x48, "<a")))
        .Expect(kContinue, Packet(0xA0, Header(0x49, "b>")));
    GString out;
    EXPECT_EQ(rig.obex->GetTypedObject(out, nullptr, "x-obex/folder-listing"), 4u);
    EXPECT_STREQ(out.CStr(), "<ab>");
    EXPECT_EQ(wait.steps, 2);
    rig.Clean();
}

class ListingDevice : public Device {
public:
    using Device::Device;
    void AfterListing(FTP* fileAccess) override
    {
        ++calls;
        seen = fileAccess;
    }
    int calls = 0;
    FTP* seen = nullptr;
};

const std::string kListing =
    "<?xml version=\"1.0\"?><folder-listing version=\"1.0\">"
    "<folder name=\"Sub\"/><file name=\"a.txt\" size=\"3\"/></folder-listing>";

TEST(ObexReadFolder, ListsCallsTheDeviceHookAndParses)
{
    TIrDAPort port;
    auto* device = new ListingDevice(&port);
    port.device = device;
    Rig rig(&port);
    CountingWait wait;
    rig.socket.Expect(kListingRequest, Packet(0x90, Header(0x48, kListing.substr(0, 40))))
        .Expect(kContinue, Packet(0xA0, Header(0x49, kListing.substr(40))));
    EXPECT_TRUE(rig.obex->ReadFolder(&wait));
    EXPECT_EQ(rig.obex->progressWindow, &wait);
    EXPECT_EQ(wait.steps, 2);
    EXPECT_EQ(device->calls, 1);
    EXPECT_EQ(device->seen, rig.obex.get());
    ASSERT_EQ(rig.obex->entries.Count(), 2u);
    EXPECT_STREQ(rig.obex->entries.Get(1)->name.CStr(), "a.txt");
    rig.Clean();
}

TEST(ObexReadFolder, EmptyListingIsRetriedOnceFromTheRoot)
{
    struct Case {
        const char* what;
        std::string rootAnswer;
        bool reenter;           // the script re-enters a\b
        std::string reenterAnswer;
        std::string secondListing;
        bool result;
        std::string path;
    };
    const Case cases[] = {
        {"second listing arrives", kGood, true, kGood, Packet(0xA0, Header(0x49, kListing)), true,
         "a\\b"},
        {"second listing empty as well", kGood, true, kGood, kGood, false, "a\\b"},
        {"re-entry refused", kGood, true, Hex("C4 00 03"), "", false, "a"},
        {"root refused: listing retried where we are", Hex("C3 00 03"), false, "",
         Packet(0xA0, Header(0x49, kListing)), true, "a\\b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.obex->pathParts.Append(new GString("a"));
        rig.obex->pathParts.Append(new GString("b"));
        rig.socket.Expect(kListingRequest, kGood + "leftover").Silence();
        rig.socket.Expect(kRoot, c.rootAnswer);
        if (c.reenter) {
            rig.socket.Expect(SetPath(u"a"), kGood);
            rig.socket.Expect(SetPath(u"b"), c.reenterAnswer);
        }
        if (!c.secondListing.empty())
            rig.socket.Expect(kListingRequest, c.secondListing);
        EXPECT_EQ(rig.obex->ReadFolder(nullptr), c.result);
        EXPECT_EQ(rig.Path(), c.path);
        rig.Clean();
    }
}

// --- PUT ---

class TempFile {
public:
    explicit TempFile(const std::string& content)
    {
        char pattern[] = "/tmp/qv_obex_put_XXXXXX";
        const int fd = mkstemp(pattern);
        path = pattern;
        if (fd >= 0)
            close(fd);
        std::ofstream(path, std::ios::binary) << content;
    }
    ~TempFile() { std::remove(path.c_str()); }
    std::string path;
};

FileInformation Info(const std::string& path, const char* name, uint64_t lastWrite = 0)
{
    FileInformation info;
    info.path = path.c_str();
    std::snprintf(info.findData.fileName, sizeof info.findData.fileName, "%s", name);
    info.findData.lastWriteTime = lastWrite;
    return info;
}

// The local time of the file is what the Time header carries: pin the zone.
class ObexPutFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* tz = std::getenv("TZ");
        savedTz = tz != nullptr ? tz : "";
        hadTz = tz != nullptr;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override
    {
        if (hadTz)
            setenv("TZ", savedTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::string savedTz;
    bool hadTz = false;
};

// 2007-03-15 14:25:01 UTC as a FILETIME.
constexpr uint64_t kWriteTime = (1173968701ull + 11644473600ull) * 10000000ull;
const std::string kTimeHeader = Hex("44 00 12") + "20070315T142501";

std::string FirstHeaders(const std::u16string& name, uint32_t size, bool withTime = true)
{
    return Header(0x01, Utf16Be(name)) + Hex("C3") + Be32(size) + (withTime ? kTimeHeader : "");
}

// Splits what was written into packets by their length fields.
std::vector<std::string> Packets(const std::string& all)
{
    std::vector<std::string> out;
    size_t at = 0;
    while (at + 3 <= all.size()) {
        const size_t length = (static_cast<uint8_t>(all[at + 1]) << 8) |
                              static_cast<uint8_t>(all[at + 2]);
        if (length < 3 || at + length > all.size())
            break;
        out.push_back(all.substr(at, length));
        at += length;
    }
    return out;
}

TEST_F(ObexPutFile, EmptyFileIsOneFinalPacket)
{
    TempFile file("");
    FileInformation info = Info(file.path, "e.txt", kWriteTime);
    Rig rig;
    rig.socket.Expect(Packet(0x82, FirstHeaders(u"e.txt", 0) + Hex("49 00 03")), kGood);
    RecordingProgress progress;
    EXPECT_TRUE(rig.obex->PutFile(&info, &progress));
    EXPECT_EQ(progress.fileSize, 0u);
    rig.Clean();
}

TEST_F(ObexPutFile, SmallFileFitsTheFirstPacket)
{
    TempFile file("hello");
    FileInformation info = Info(file.path, "Привет.txt", kWriteTime);
    Rig rig;
    rig.socket.Expect(Packet(0x82, FirstHeaders(u"Привет.txt", 5) + Header(0x49, "hello")),
                      kGood);
    EXPECT_TRUE(rig.obex->PutFile(&info, nullptr));
    rig.Clean();
}

struct PutShape {
    const char* what;
    uint32_t peerMax;
    std::string name;
    uint32_t size;
};

// Every packet within the phone's maximum, the body reassembled equals the file, only the last
// packet final, and the progress saw every byte.
TEST_F(ObexPutFile, MultiPacketShapes)
{
    // With a one-character name the first packet's headers take 3 + 7 + 5 + 18 = 33 bytes.
    const PutShape shapes[] = {
        {"room exactly filled by the file", 255, "a", 255 - 33 - 3},
        {"one byte more than the first packet holds", 255, "a", 255 - 33 - 3 + 1},
        {"second packet ends exactly at the file size", 255, "a", (255 - 33 - 3) + (255 - 6)},
        {"many packets", 255, "a", 5000},
        {"1 KiB packets", 1024, "a", 100000},
        {"32 KiB packets", 32768, "a", 200000},
        // A name of n characters makes the first headers 2n + 31 bytes long.
        {"headers leave no room for a body", 255, std::string(111, 'n'), 100},
        {"headers fill the packet, empty file", 255, std::string(112, 'n'), 0},
    };
    for (const PutShape& s : shapes) {
        SCOPED_TRACE(s.what);
        std::string content(s.size, '\0');
        for (uint32_t i = 0; i < s.size; ++i)
            content[i] = static_cast<char>(i * 7 + 3);
        TempFile file(content);
        FileInformation info = Info(file.path, s.name.c_str(), kWriteTime);
        Rig rig(nullptr, s.peerMax);
        rig.socket.SetBytePerRead(false);
        rig.socket.SetResponder([](const std::string& w) {
            return static_cast<uint8_t>(w[0]) == 0x82 ? Hex("A0 00 03") : Hex("90 00 03");
        });
        RecordingProgress progress;
        ASSERT_TRUE(rig.obex->PutFile(&info, &progress));
        const std::vector<std::string> packets = Packets(rig.socket.AllWritten());
        ASSERT_EQ(packets.size(), rig.socket.Writes().size());
        std::string body;
        for (size_t i = 0; i < packets.size(); ++i) {
            const std::string& p = packets[i];
            EXPECT_LE(p.size(), s.peerMax) << "packet " << i;
            EXPECT_EQ(static_cast<uint8_t>(p[0]), i + 1 == packets.size() ? 0x82 : 0x02)
                << "packet " << i;
            size_t at = 3;
            if (i == 0)
                at += FirstHeaders(std::u16string(s.name.begin(), s.name.end()), s.size).size();
            if (at < p.size()) {
                const uint8_t id = static_cast<uint8_t>(p[at]);
                EXPECT_EQ(id, i + 1 == packets.size() ? 0x49 : 0x48) << "packet " << i;
                body += p.substr(at + 3);
            } else {
                EXPECT_NE(i + 1, packets.size()) << "the final packet carries End of Body";
            }
        }
        EXPECT_EQ(body, content);
        EXPECT_EQ(progress.fileSize, s.size);
        EXPECT_EQ(progress.transferred, s.size);
    }
}

TEST_F(ObexPutFile, SecondPacketOfExactlyTheChunkIsFinal)
{
    // 219 bytes fill the first packet, the next 249 are one full chunk.
    std::string content(219 + 249, 'q');
    TempFile file(content);
    FileInformation info = Info(file.path, "a", kWriteTime);
    Rig rig(nullptr, 255);
    rig.socket.Expect(Packet(0x02, FirstHeaders(u"a", 468) + Header(0x48, content.substr(0, 219))),
                      Hex("90 00 03"))
        .Expect(Packet(0x82, Header(0x49, content.substr(219))), kGood);
    EXPECT_TRUE(rig.obex->PutFile(&info, nullptr));
    rig.Clean();
}

TEST_F(ObexPutFile, HeadersThatDoNotFitTheSmallestPacketSendNothing)
{
    TempFile file("x");
    FileInformation info = Info(file.path, std::string(200, 'n').c_str(), kWriteTime);
    Rig rig(nullptr, 255);
    EXPECT_FALSE(rig.obex->PutFile(&info, nullptr));
    EXPECT_TRUE(rig.socket.Writes().empty());
    EXPECT_EQ(rig.obex->LastError(), 0);
}

TEST_F(ObexPutFile, FailuresAfterTheFirstPacketAbortAndDeleteThePartialObject)
{
    // LastError tells why the upload failed, never how the clean-up went.
    struct Case {
        const char* what;
        int cancelAfter;            // IsCancelled checks that pass
        std::string secondAnswer;   // answer to the second packet ("" : not sent)
        int lastError;
    };
    const Case cases[] = {
        {"cancelled", 0, "", 0},
        {"phone refuses the second packet", -1, Hex("C0 00 03"), 0xC0},
        {"link cut after the second packet", -1, "-", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string content(600, 'p');
        TempFile file(content);
        FileInformation info = Info(file.path, "a", kWriteTime);
        Rig rig(nullptr, 255);
        RecordingProgress progress;
        progress.cancelAfterChecks = c.cancelAfter;
        rig.socket.Expect(
            Packet(0x02, FirstHeaders(u"a", 600) + Header(0x48, content.substr(0, 219))),
            Hex("90 00 03"));
        const std::string second = Packet(0x02, Header(0x48, content.substr(219, 249)));
        if (c.secondAnswer == "-")
            rig.socket.Expect(second).Silence();
        else if (!c.secondAnswer.empty())
            rig.socket.Expect(second, c.secondAnswer);
        rig.socket.Expect(kAbort, kGood).Expect(NameRequest(0x82, u"a"), kGood);
        EXPECT_FALSE(rig.obex->PutFile(&info, &progress));
        EXPECT_EQ(rig.obex->LastError(), c.lastError);
        rig.Clean();
    }
}

TEST_F(ObexPutFile, FirstPacketRefusedEndsWithoutAbort)
{
    TempFile file("abc");
    FileInformation info = Info(file.path, "a", kWriteTime);
    Rig rig;
    rig.socket.Expect(Packet(0x82, FirstHeaders(u"a", 3) + Header(0x49, "abc")), Hex("C3 00 03"));
    EXPECT_FALSE(rig.obex->PutFile(&info, nullptr));
    EXPECT_EQ(rig.obex->LastError(), 0xC3);
    rig.Clean();
}

// Cuts the file once the first packet has been read from it (SetFileSize comes just before
// that packet is sent).
struct FileCutter : OperationProgress {
    std::string path;
    bool cut = false;
    bool IsCancelled() override { return false; }
    void SetFileSize(uint32_t) override
    {
        std::filesystem::resize_file(path, 300);
        cut = true;
    }
    void AddTransferred(uint32_t) override {}
    void PumpMessages() override {}
};

TEST_F(ObexPutFile, FileShrinkingUnderTheTransferAbortsAndFails)
{
    std::string content(600, 's');
    TempFile file(content);
    FileInformation info = Info(file.path, "a", kWriteTime);
    Rig rig(nullptr, 255);
    rig.socket.Expect(Packet(0x02, FirstHeaders(u"a", 600) + Header(0x48, content.substr(0, 219))),
                      Hex("90 00 03"));
    rig.socket.Expect(kAbort, kGood).Expect(NameRequest(0x82, u"a"), kGood);
    FileCutter cutter;
    cutter.path = file.path;
    EXPECT_FALSE(rig.obex->PutFile(&info, &cutter));
    EXPECT_TRUE(cutter.cut);
    rig.Clean();
}

TEST_F(ObexPutFile, MissingLocalFileIsReportedAndNothingSent)
{
    MessageBoxRecorder boxes(MessageReporter::kOk);
    FileInformation info = Info("/tmp/qv_obex_no_such_file", "x", kWriteTime);
    Rig rig;
    EXPECT_FALSE(rig.obex->PutFile(&info, nullptr));
    EXPECT_TRUE(rig.socket.Writes().empty());
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(ObexPutFile, FilesOfFourGibibytesAreRefused)
{
    TempFile file("");
    std::filesystem::resize_file(file.path, 0x100000000ull);  // sparse
    FileInformation info = Info(file.path, "huge.bin", kWriteTime);
    info.findData.sizeHigh = 1;
    Rig rig;
    rig.obex->response[0] = 0xC3;
    EXPECT_FALSE(rig.obex->PutFile(&info, nullptr));
    EXPECT_TRUE(rig.socket.Writes().empty());
    EXPECT_EQ(rig.obex->LastError(), 0);
}

// A phone that names the connection in its CONNECT answer gets that name first in every
// request of the session, continuations and ABORT included; the next session starts without.
TEST_F(ObexPutFile, ConnectionIdLeadsEveryRequestOfTheSession)
{
    const std::string target = Hex("F9 EC 7B C4 95 3C 11 D2 98 4E 52 54 00 DC 9E 09");
    const std::string id = Hex("CB 00 00 00 2A");
    auto with = [&](uint8_t opcode, const std::string& rest) { return Packet(opcode, id + rest); };
    auto setPath = [&](const std::string& name) {
        return Packet(0x85, Hex("02 00") + id + Header(0x01, name));
    };
    const std::string content(300, 'c');
    TempFile file(content);
    FileInformation info = Info(file.path, "p", kWriteTime);
    const uint32_t room = 256 - (3 + 5 + 7 + 5 + 18) - 3;

    TIrDAPort irda;
    ScriptedSocket socket(&irda, 1);
    socket.SetBytePerRead(true);
    TestObex obex;
    socket.Expect(Hex("80 00 1A 10 00 80 00 46 00 13") + target,
                  Packet(0xA0, Hex("10 00 01 00") + Header(0x4A, target) + id))
        .Expect(setPath(Utf16Be(u"a")), kGood)
        .Expect(setPath(""), kGood)
        .Expect(with(0x83, Hex("01 00 03 42 00 19") + "x-obex/folder-listing" + std::string(1, '\0')),
                Packet(0x90, Header(0x48, kListing.substr(0, 40))))
        .Expect(with(0x83, ""), Packet(0xA0, Header(0x49, kListing.substr(40))))
        .Expect(with(0x83, Header(0x01, Utf16Be(u"f"))), Packet(0xA0, Header(0x49, "abc")))
        .Expect(with(0x02, FirstHeaders(u"p", 300) + Header(0x48, content.substr(0, room))),
                Hex("90 00 03"))
        .Expect(with(0x82, Header(0x49, content.substr(room))), kGood)
        .Expect(with(0x82, Header(0x01, Utf16Be(u"p"))), kGood)
        .Expect(with(0x86, Hex("94 01") + Header(0x01, Utf16Be(u"a.txt")) +
                               Header(0x15, Utf16Be(u"b.txt"))),
                kGood)
        .Expect(with(0x83, Hex("4C 00 06 32 01 01")), Packet(0xA0, Hex("4C 00 09 32 04 00 10 00 00")))
        .Expect(with(0x83, Header(0x01, Utf16Be(u"g"))), Packet(0x90, Header(0x48, "abc")))
        .Expect(with(0xFF, ""), kGood)
        .Expect(with(0x81, ""), kGood)
        .Expect(Hex("80 00 07 10 00 80 00"), Hex("A0 00 07 10 00 04 00"))
        .Expect(Hex("81 00 03"), kGood);

    ASSERT_TRUE(obex.Connect(&socket, reinterpret_cast<const uint8_t*>(target.data()), 16));
    EXPECT_EQ(obex.peerMaxPacket, 256u);
    EXPECT_TRUE(obex.ChangeFolder("a"));
    EXPECT_TRUE(obex.ChangeFolder("\\"));
    EXPECT_TRUE(obex.ReadFolder(nullptr));
    FolderObject entry;
    entry.name = "f";
    entry.size = 3;
    MemoryFileSink sink;
    EXPECT_TRUE(obex.GetFile(&entry, sink, nullptr));
    EXPECT_TRUE(obex.PutFile(&info, nullptr));
    EXPECT_TRUE(obex.DeleteObject("p"));
    EXPECT_TRUE(obex.RenameObject("a.txt", "b.txt"));
    EXPECT_EQ(obex.QueryMemory(1), 1048576u);
    RecordingProgress cancel;
    cancel.cancelAfterChecks = 1;
    entry.name = "g";
    EXPECT_FALSE(obex.GetFile(&entry, sink, &cancel));
    EXPECT_TRUE(obex.Disconnect());
    ASSERT_TRUE(obex.Connect(&socket, nullptr, 0));
    EXPECT_TRUE(obex.Disconnect());
    EXPECT_TRUE(socket.Done());
    EXPECT_TRUE(socket.Unexpected().empty()) << ToHex(socket.Unexpected().front());
}

}  // namespace
