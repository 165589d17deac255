// What the file-access base class does for every implementation: the path text and the
// draining of a line.
#include <gtest/gtest.h>

#include <string>

#include "obex/ObexTestKit.h"
#include "support/ScriptedSocket.h"

namespace {

TEST(FtpCurrentPath, JoinsComponentsOnlyWhileConnected)
{
    TestObex ftp;
    ftp.pathParts.Append(new GString("a"));
    ftp.pathParts.Append(new GString("Фото"));
    EXPECT_STREQ(ftp.CurrentPath().CStr(), "");  // not connected
    ftp.connected = true;
    EXPECT_STREQ(ftp.CurrentPath().CStr(), "a\\Фото");
    List<GString> other;
    GString x("x");
    other.Append(&x);
    EXPECT_STREQ(ftp.CurrentPath(&other).CStr(), "x");
    List<GString> empty;
    EXPECT_STREQ(ftp.CurrentPath(&empty).CStr(), "");
    other.RemoveAll();
}

TEST(FtpDrainInput, ReadsUntilTheLineIsSilent)
{
    TestObex ftp;
    ScriptedSocket socket;
    socket.SetBytePerRead(true);
    socket.Feed("late reply").Silence().Feed("next");
    ftp.socket = &socket;
    ftp.DrainInput();
    char c = 0;
    EXPECT_EQ(socket.Read(&c, 1), 1);
    EXPECT_EQ(c, 'n');  // what came after the silence is left for the next user
}

TEST(FtpDrainInput, StopsAtOneMebibyteOfEndlessInput)
{
    TestObex ftp;
    ScriptedSocket socket;
    socket.Feed(std::string(1024 * 1024 + 10, 'z'));
    ftp.socket = &socket;
    ftp.DrainInput();
    char rest[16];
    EXPECT_EQ(socket.Read(rest, sizeof rest), 10);
}

}  // namespace
