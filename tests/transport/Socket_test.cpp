#include <gtest/gtest.h>

#include <string>

#include "support/ScriptedSocket.h"

namespace {

struct ReplyCase {
    const char* name;
    std::string bytes;
    int32_t flags;
    const char* reply;
    const char* result;
    int32_t consumed;  // -1: all bytes
};

class ReadReplyShapes : public testing::TestWithParam<ReplyCase> {};

TEST_P(ReadReplyShapes, CollectsInformationAndFinalLine)
{
    const ReplyCase& c = GetParam();
    ScriptedSocket socket;
    socket.SetBytePerRead(true);
    socket.Feed(c.bytes);
    int32_t n = socket.ReadReply(c.flags);
    EXPECT_EQ(n, c.consumed < 0 ? static_cast<int32_t>(c.bytes.size()) : c.consumed);
    EXPECT_STREQ(socket.reply.CStr(), c.reply);
    EXPECT_STREQ(socket.result.CStr(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Socket, ReadReplyShapes,
    testing::Values(
        ReplyCase{"InfoThenOk", "\r\nNokia\r\n\r\nOK\r\n", 0, "Nokia", "OK", -1},
        ReplyCase{"JoinedLines", "\r\nA\r\n\r\nB\r\n\r\nOK\r\n", 2, "AB", "OK", -1},
        ReplyCase{"LastLineOnly", "\r\nA\r\n\r\nB\r\n\r\nOK\r\n", 0, "B", "OK", -1},
        ReplyCase{"EchoOverwritten", "AT+CGMI\r\r\nSIEMENS\r\n\r\nOK\r\n", 0, "SIEMENS", "OK", -1},
        ReplyCase{"EchoJoined", "AT+CGMI\r\r\nSIEMENS\r\n\r\nOK\r\n", 2, "AT+CGMISIEMENS", "OK", -1},
        ReplyCase{"CmeError", "\r\nX\r\n+CME ERROR: 10\r\n", 0, "X", "+CME ERROR: 10", -1},
        ReplyCase{"PlainError", "\r\nERROR\r\n", 0, "", "ERROR", -1},
        ReplyCase{"OkayIsInformation", "\r\nOKAY\r\n", 0, "OKAY", "", -1},
        ReplyCase{"UnterminatedOk", "\r\nOK", 0, "", "", -1},
        ReplyCase{"OkWithoutLineFeed", "\r\nOK\r", 0, "", "", -1},
        ReplyCase{"LowerCaseOk", "\r\nok\r\n", 0, "ok", "", -1},
        ReplyCase{"OkAfterFinalIsLeft", "\r\nOK\r\nEXTRA\r\n", 0, "", "OK", 6},
        ReplyCase{"BareLineFeeds", "A\nOK\n", 0, "A", "OK", -1},
        ReplyCase{"Silent", "", 0, "", "", 0}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST(Socket, ReadReplyStartsAfresh)
{
    ScriptedSocket socket;
    socket.Feed("\r\nfirst\r\nOK\r\n").Feed("half");
    socket.ReadReply(0);
    ASSERT_STREQ(socket.result.CStr(), "OK");
    EXPECT_EQ(socket.ReadReply(0), 4);
    EXPECT_STREQ(socket.reply.CStr(), "");
    EXPECT_STREQ(socket.result.CStr(), "");
    EXPECT_STREQ(socket.line.CStr(), "half");
}

TEST(Socket, ReadReplyStopsAtSilenceInsideTheReply)
{
    ScriptedSocket socket;
    socket.Feed("\r\nA\r\n").Silence().Feed("OK\r\n");
    EXPECT_EQ(socket.ReadReply(0), 5);
    EXPECT_STREQ(socket.result.CStr(), "");
    EXPECT_STREQ(socket.reply.CStr(), "A");
}

TEST(Socket, LineLongerThanTheCapEndsTheReplyAsFailure)
{
    ScriptedSocket socket;
    std::string longLine(Socket::kMaxLineBytes + 10, 'x');
    socket.Feed(longLine + "\r\nOK\r\n");
    int32_t n = socket.ReadReply(0);
    EXPECT_EQ(n, static_cast<int32_t>(Socket::kMaxLineBytes) + 1);
    EXPECT_TRUE(socket.result.IsEmpty());
    EXPECT_TRUE(socket.line.IsEmpty());
}

TEST(Socket, LineOfExactlyTheCapIsAccepted)
{
    ScriptedSocket socket;
    std::string line(Socket::kMaxLineBytes, 'y');
    socket.Feed("\r\n" + line + "\r\nOK\r\n");
    socket.ReadReply(0);
    EXPECT_STREQ(socket.result.CStr(), "OK");
    EXPECT_EQ(socket.reply.Length(), Socket::kMaxLineBytes);
}

TEST(Socket, ReplyLongerThanTheCapEndsAsFailure)
{
    ScriptedSocket socket;
    std::string many;
    while (many.size() < Socket::kMaxReplyBytes + 100)
        many += "+FSDL: \"file.txt\",1234\r\n";
    socket.Feed(many + "OK\r\n");
    int32_t n = socket.ReadReply(Socket::kJoinLines);
    EXPECT_EQ(n, static_cast<int32_t>(Socket::kMaxReplyBytes));
    EXPECT_TRUE(socket.result.IsEmpty());
}

TEST(Socket, ReplyJustUnderTheCapSucceeds)
{
    ScriptedSocket socket;
    std::string lines;
    const std::string one = "+X: 1234567890\r\n";
    while (lines.size() + one.size() + 4 < Socket::kMaxReplyBytes)
        lines += one;
    socket.Feed(lines + "OK\r\n");
    socket.ReadReply(Socket::kJoinLines);
    EXPECT_STREQ(socket.result.CStr(), "OK");
    EXPECT_EQ(socket.reply.Length(), (lines.size() / one.size()) * (one.size() - 2));
}

TEST(Socket, WriteLengthOfTextAndOfCount)
{
    ScriptedSocket socket;
    EXPECT_EQ(socket.Write("AT\r", 0), 3);
    const char bytes[] = {'a', 0, 'b'};
    EXPECT_EQ(socket.Write(bytes, 3), 3);
    ASSERT_EQ(socket.Writes().size(), 2u);
    EXPECT_EQ(socket.Writes()[1], std::string(bytes, 3));
}

TEST(Socket, ReservedSlotAnswersFalse)
{
    ScriptedSocket socket;
    EXPECT_FALSE(socket.Reserved());
}

}  // namespace
