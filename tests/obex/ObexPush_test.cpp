// Object Push: the CONNECT without target and what its answer gives, and the file dialog's
// result read back into paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/TSerialPort.h"
#include "obex/OBEX_Push.h"
#include "support/ObexBytes.h"
#include "support/ScriptedSocket.h"
#include "support/VirtualClock.h"

using namespace obexbytes;

namespace {

// Every answer the phone may give to the push CONNECT, each after a session whose
// DISCONNECT the phone refused (the object still believes it is connected). The request is
// sent every time, once, without the serial line's wait and without a second try.
TEST(ObexPushConnect, OneRequestAndAnyGoodAnswerClamped)
{
    struct Case {
        const char* what;
        std::string answer;
        bool connected;
        uint32_t peerMaxPacket;
    };
    const Case cases[] = {
        {"three-byte answer", Hex("A0 00 03"), true, 255},
        {"maximum beyond the buffer", Hex("A0 00 07 10 00 FF FF"), true, 32768},
        {"with a Connection Id", Hex("A0 00 0C 10 00 04 00 CB 00 00 00 07"), true, 1024},
        {"refused", Hex("C3 00 03"), false, 0},
        {"no answer", "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualClock clock;
        ClockOverride installed(clock);
        TSerialPort port;
        ScriptedSocket socket(&port, Socket::kChannelPush);
        socket.SetBytePerRead(true);
        socket.Expect(Hex("80 00 07 10 00 80 00"), c.answer);
        OBEX_Push push;
        push.connected = true;
        const uint8_t target[] = {1, 2, 3};
        EXPECT_EQ(push.Connect(&socket, target, sizeof target), c.connected);
        EXPECT_EQ(push.connected, c.connected);
        EXPECT_EQ(socket.Writes().size(), 1u);
        EXPECT_TRUE(socket.Unexpected().empty());
        EXPECT_EQ(clock.slept, 0u);
        if (c.connected) {
            EXPECT_EQ(push.peerMaxPacket, c.peerMaxPacket);
        }
    }
}

struct Parsed {
    bool ok;
    std::string folder;
    std::vector<std::string> paths;
};

// The buffer is exactly as long as the bytes given: a read beyond them is caught.
Parsed Parse(const std::string& bytes, size_t fileOffset)
{
    std::vector<char> buffer(bytes.begin(), bytes.end());
    GString folder("unchanged");
    std::vector<GString> paths;
    Parsed out;
    out.ok = FileSelector::ParsePaths(buffer.data(), buffer.size(), fileOffset, folder, paths);
    out.folder = folder.CStr();
    for (const GString& path : paths)
        out.paths.push_back(path.CStr());
    return out;
}

TEST(PushFileSelection, OneFileAndSeveralGiveFullPaths)
{
    using namespace std::string_literals;
    Parsed one = Parse("C:\\dir\\a.txt\0"s, 7);
    EXPECT_TRUE(one.ok);
    EXPECT_EQ(one.folder, "C:\\dir\\");
    EXPECT_EQ(one.paths, std::vector<std::string>{"C:\\dir\\a.txt"});

    // Whatever follows the single name is not read as more names.
    Parsed oneInLargeBuffer = Parse("C:\\dir\\a.txt\0stale\0\0"s, 7);
    EXPECT_EQ(oneInLargeBuffer.paths, std::vector<std::string>{"C:\\dir\\a.txt"});

    Parsed several = Parse("C:\\dir\0a.txt\0b c.jpg\0\0"s, 7);
    EXPECT_TRUE(several.ok);
    EXPECT_EQ(several.folder, "C:\\dir");
    EXPECT_EQ(several.paths, (std::vector<std::string>{"C:\\dir\\a.txt", "C:\\dir\\b c.jpg"}));

    Parsed inRoot = Parse("C:\\\0a\0b\0\0"s, 4);
    EXPECT_EQ(inRoot.paths, (std::vector<std::string>{"C:\\a", "C:\\b"}));
}

TEST(PushFileSelection, BrokenBuffersGiveNothing)
{
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string bytes;
        size_t fileOffset;
    };
    const Case cases[] = {
        {"offset 0", "C:\\a.txt\0"s, 0},
        {"offset at the end", "C:\\a.txt\0"s, 9},
        {"offset beyond the end", "C:\\a.txt\0"s, 400},
        {"NUL inside the folder", "C:\0dir\\a.txt\0"s, 7},
        {"one name without its NUL", "C:\\dir\\a.txt"s, 7},
        {"no name", "C:\\dir\\\0"s, 7},
        {"list without its closing empty name", "C:\\dir\0a.txt\0b.txt\0"s, 7},
        {"list whose last name runs to the end", "C:\\dir\0a.txt\0b.txt"s, 7},
        {"list without names", "C:\\dir\0\0"s, 7},
        {"no text at all", std::string(16, '\0'), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Parsed parsed = Parse(c.bytes, c.fileOffset);
        EXPECT_FALSE(parsed.ok);
        EXPECT_TRUE(parsed.paths.empty());
        EXPECT_EQ(parsed.folder, "unchanged");
    }
}

}  // namespace
