// The OBEX packet codec: CONNECT, response reading and judging, DISCONNECT, ABORT and the
// memory query, with the phone's bytes arriving one per read and all at once.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "obex/ObexTestKit.h"
#include "support/ObexBytes.h"
#include "support/ScriptedSocket.h"
#include "support/VirtualClock.h"

using namespace obexbytes;

namespace {

const std::string kFolderBrowsing = Hex("F9 EC 7B C4 95 3C 11 D2 98 4E 52 54 00 DC 9E 09");

struct Rig {
    explicit Rig(bool bytePerRead = true, TComm* port = nullptr) : socket(port, 1)
    {
        socket.SetBytePerRead(bytePerRead);
        obex->socket = &socket;
    }
    bool Connect(const std::string& target = kFolderBrowsing)
    {
        return obex->Connect(&socket, reinterpret_cast<const uint8_t*>(target.data()),
                             static_cast<uint32_t>(target.size()));
    }
    ScriptedSocket socket;
    std::unique_ptr<TestObex> obex = std::make_unique<TestObex>();
};

TEST(ObexConnect, RequestBytesForEachTarget)
{
    struct Case {
        const char* what;
        std::string target;
        std::string request;
    };
    const Case cases[] = {
        {"no target", "", Hex("80 00 07 10 00 80 00")},
        {"folder browsing", kFolderBrowsing,
         Hex("80 00 1A 10 00 80 00 46 00 13") + kFolderBrowsing},
        {"IrMC", "IRMC-SYNC", Hex("80 00 13 10 00 80 00 46 00 0C") + "IRMC-SYNC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.socket.Expect(c.request, Hex("A0 00 07 10 00 04 00"));
        EXPECT_TRUE(rig.Connect(c.target));
        EXPECT_TRUE(rig.obex->connected);
        EXPECT_TRUE(rig.socket.Done());
        EXPECT_TRUE(rig.socket.Unexpected().empty());
    }
}

TEST(ObexConnect, PeerMaximumIsRoundedAndClamped)
{
    struct Case {
        std::string response;
        uint32_t expected;
    };
    const Case cases[] = {
        {Hex("A0 00 07 10 00 04 00"), 1024},
        {Hex("A0 00 07 10 00 27 10"), 9216},   // 10000 cut to a multiple of 1024
        {Hex("A0 00 07 10 00 00 FF"), 255},
        {Hex("A0 00 07 10 00 03 E8"), 1000},   // below 1024 kept as it is
        {Hex("A0 00 07 10 00 80 E8"), 32768},  // 33000
        {Hex("A0 00 07 10 00 FF FF"), 32768},  // more than the buffer holds
        {Hex("A0 00 07 10 00 00 00"), 255},    // nonsense small values: the OBEX minimum
        {Hex("A0 00 07 10 00 00 10"), 255},
        {Hex("A0 00 03"), 255},                // no field at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToHex(c.response));
        Rig rig;
        rig.socket.Expect(Hex("80 00 07 10 00 80 00"), c.response);
        ASSERT_TRUE(rig.Connect(""));
        EXPECT_EQ(rig.obex->peerMaxPacket, c.expected);
    }
}

TEST(ObexConnect, SecondConnectSendsNothing)
{
    Rig rig;
    rig.socket.Expect(Hex("80 00 07 10 00 80 00"), Hex("A0 00 07 10 00 04 00"));
    ASSERT_TRUE(rig.Connect(""));
    EXPECT_TRUE(rig.Connect(""));
    EXPECT_EQ(rig.socket.Writes().size(), 1u);
}

TEST(ObexConnect, SerialLineWaitsAfterEachRequestAndRetriesOnceAfterDraining)
{
    VirtualClock clock;
    ClockOverride installed(clock);
    TSerialPort port;
    Rig rig(true, &port);
    const std::string request = Hex("80 00 07 10 00 80 00");
    rig.socket.Expect(request, Hex("C0 00 03") + "junk")
        .Silence()
        .Expect(request, Hex("A0 00 07 10 00 08 00"));
    EXPECT_TRUE(rig.Connect(""));
    EXPECT_EQ(rig.obex->peerMaxPacket, 2048u);
    EXPECT_EQ(clock.slept, 2000u);  // one wait after each of the two requests
    EXPECT_TRUE(rig.socket.Done());
    EXPECT_TRUE(rig.socket.Unexpected().empty());
}

TEST(ObexConnect, WirelessLinkDoesNotWaitAndFailsAfterTwoRefusals)
{
    VirtualClock clock;
    ClockOverride installed(clock);
    TIrDAPort port;
    Rig rig(true, &port);
    const std::string request = Hex("80 00 07 10 00 80 00");
    rig.socket.Expect(request, Hex("C3 00 03")).Expect(request, Hex("C3 00 03"));
    EXPECT_FALSE(rig.Connect(""));
    EXPECT_FALSE(rig.obex->connected);
    EXPECT_EQ(clock.slept, 0u);
    EXPECT_EQ(rig.obex->LastError(), 0xC3);
    EXPECT_EQ(rig.socket.Writes().size(), 2u);
}

struct ResponseCase {
    const char* what;
    std::string bytes;  // what the phone sends (followed by silence)
    bool good;
    int lastError;
    uint16_t length;
    bool allConsumed;  // nothing of it may be left in the line for the next request
};

class ObexResponse : public ::testing::TestWithParam<bool> {};

TEST_P(ObexResponse, ReadAndJudged)
{
    const std::string big = Packet(0xA0, std::string(32765, 'x'));
    const ResponseCase cases[] = {
        {"3-byte success", Hex("A0 00 03"), true, 0xA0, 3, true},
        {"continue", Hex("90 00 03"), true, 0x90, 3, true},
        {"continue without final bit", Hex("10 00 03"), true, 0x10, 3, true},
        {"success without final bit", Hex("20 00 03"), true, 0x20, 3, true},
        {"with payload", Hex("A0 00 06 01 02 03"), true, 0xA0, 6, true},
        {"largest packet", big, true, 0xA0, 32768, true},
        {"shorter than announced", Hex("A0 00 05 01"), false, 0xA0, 5, true},
        {"forbidden", Hex("C3 00 03"), false, 0xC3, 3, true},
        {"not found", Hex("C4 00 03"), false, 0xC4, 3, true},
        {"nothing", "", false, 0, 0, true},
        {"header cut short", Hex("A0 00"), false, 0xA0, 0, true},
        {"length below header size", Hex("A0 00 02 41 42 43 44"), false, 0xA0, 0, true},
        {"length zero", Hex("A0 00 00 41 42"), false, 0xA0, 0, true},
        {"length beyond the buffer", Hex("A0 80 01") + std::string(100, 'z'), false, 0xA0, 0,
         true},
        {"length 0xFFFF", Hex("A0 FF FF") + std::string(100, 'z'), false, 0xA0, 0, true},
    };
    for (const ResponseCase& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig(GetParam());
        rig.socket.Feed(c.bytes).Silence();
        EXPECT_EQ(rig.obex->ReadResponse(), c.good);
        EXPECT_EQ(rig.obex->LastError(), c.lastError);
        EXPECT_EQ(rig.obex->responseLength, c.length);
        if (c.allConsumed) {
            // The silence after the bytes may or may not have been consumed.
            rig.socket.Feed("!");
            uint8_t next = 0;
            if (rig.socket.Read(&next, 1) == 0)
                rig.socket.Read(&next, 1);
            EXPECT_EQ(next, '!');
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BytePerRead, ObexResponse, ::testing::Values(true, false));

TEST(ObexResponse, StaleBytesOfAnEarlierResponseDoNotLeakIntoTheHeaderArea)
{
    Rig rig;
    rig.socket.Feed(Hex("A0 00 0A 01 02 03 04 05 06 07")).Feed(Hex("A0 00 03"));
    ASSERT_TRUE(rig.obex->ReadResponse());
    ASSERT_TRUE(rig.obex->ReadResponse());
    for (int i = 3; i < 10; ++i)
        EXPECT_EQ(rig.obex->response[i], 0) << i;
}

TEST(ObexDisconnect, GoodRefusedAndWithoutSocket)
{
    {
        Rig rig;
        rig.obex->connected = true;
        rig.socket.Expect(Hex("81 00 03"), Hex("A0 00 03"));
        EXPECT_TRUE(rig.obex->Disconnect());
        EXPECT_FALSE(rig.obex->connected);
    }
    {
        Rig rig;
        rig.obex->connected = true;
        rig.socket.Expect(Hex("81 00 03"), Hex("C3 00 03"));
        EXPECT_FALSE(rig.obex->Disconnect());
        EXPECT_TRUE(rig.obex->connected);
    }
    {
        TestObex obex;
        obex.connected = true;
        EXPECT_TRUE(obex.Disconnect());
        EXPECT_FALSE(obex.connected);
    }
}

TEST(ObexAbort, AnswerIsReadWholeLikeAnyResponse)
{
    {
        // An answer with headers: its tail must not become the next request's answer.
        Rig rig;
        rig.socket.Expect(Hex("FF 00 03"), Hex("A0 00 08 CB 00 00 00 07") + Hex("A0 00 03"));
        EXPECT_TRUE(rig.obex->Abort());
        EXPECT_TRUE(rig.obex->ReadResponse());
        EXPECT_EQ(rig.obex->responseLength, 3);
    }
    {
        Rig rig;
        rig.socket.Expect(Hex("FF 00 03"));
        EXPECT_FALSE(rig.obex->Abort());
        EXPECT_EQ(rig.socket.AllWritten(), Hex("FF 00 03"));
    }
}

TEST(ObexQueryMemory, RequestsAndAnswers)
{
    struct Case {
        const char* what;
        std::u16string firstFolder;  // empty: at the root
        uint8_t which;
        std::string response;
        uint32_t expected;
    };
    const Case cases[] = {
        {"total at the root", u"", 1, Hex("A0 00 0C 4C 00 09 32 04 00 10 00 00"), 1048576},
        {"free in a folder", u"Data", 2, Hex("A0 00 0C 4C 00 09 32 04 00 00 12 34"), 0x1234},
        {"two-byte value", u"", 2, Hex("A0 00 0A 4C 00 07 32 02 01 02"), 0x0102},
        {"value longer than 32 bits", u"", 1, Hex("A0 00 0D 4C 00 0A 32 05 01 00 00 00 00"), 0},
        {"value beyond the response", u"", 1, Hex("A0 00 0A 4C 00 07 32 04 00 10"), 0},
        {"other tag", u"", 1, Hex("A0 00 0C 4C 00 09 33 04 00 10 00 00"), 0},
        {"other header", u"", 1, Hex("A0 00 0C 48 00 09 32 04 00 10 00 00"), 0},
        {"bare success", u"", 1, Hex("A0 00 03"), 0},
        {"refused", u"", 1, Hex("C0 00 0C 4C 00 09 32 04 00 10 00 00"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        std::string request;
        if (c.firstFolder.empty()) {
            request = Hex("83 00 09 4C 00 06 32 01") + std::string(1, static_cast<char>(c.which));
        } else {
            rig.obex->pathParts.Append(new GString("Data"));
            rig.obex->pathParts.Append(new GString("Sub"));
            const std::string name = Utf16Be(u"\\" + c.firstFolder);
            const uint32_t n = static_cast<uint32_t>(name.size());
            request = Hex("83") + Be16(n + 10) + Hex("4C") + Be16(n + 7) + Hex("32") +
                      std::string(1, static_cast<char>(n + 3)) +
                      std::string(1, static_cast<char>(c.which)) +
                      std::string(1, static_cast<char>(n)) + name;
        }
        rig.socket.Expect(request, c.response);
        EXPECT_EQ(rig.obex->QueryMemory(c.which), c.expected);
        EXPECT_TRUE(rig.socket.Unexpected().empty()) << ToHex(rig.socket.AllWritten());
    }
}

TEST(ObexQueryMemory, FolderNameTooLongForTheOneByteLengthSendsNothing)
{
    Rig rig;
    rig.obex->pathParts.Append(new GString(std::string(130, 'a').c_str()));
    EXPECT_EQ(rig.obex->QueryMemory(1), 0u);
    EXPECT_TRUE(rig.socket.Writes().empty());
}

}  // namespace
