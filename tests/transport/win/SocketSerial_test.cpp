// The serial transport against the phone simulator on a mapped COM port.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/TSerialPort.h"
#include "support/CountingSocket.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/PhoneSim.h"
#include "transport/win/SocketSerial.h"

namespace {

class Stopwatch {
public:
    DWORD Ms() const { return GetTickCount() - start; }

private:
    DWORD start = GetTickCount();
};

// A serial port on the simulator's COM port, with a socket on channel 0.
struct Line {
    explicit Line(PhoneSim& sim)
    {
        port.portName = sim.ComName().c_str();
        port.displayName = "Simulated phone";
    }
    TSerialPort port;
    SocketSerial socket{&port, 0};
};

std::string ReadExactly(Socket& s, int32_t count)
{
    std::string out(static_cast<size_t>(count), '\0');
    int32_t n = s.Read(&out[0], count);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

TEST(SocketSerial, OpensConfiguresAndCloses)
{
    PhoneSim sim;
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;
    Line line(sim);
    ASSERT_TRUE(line.socket.Open());
    EXPECT_TRUE(line.socket.IsOpen());
    EXPECT_TRUE(line.port.isOpen);
    EXPECT_EQ(line.port.commTimeouts.readTotalTimeoutConstant, SocketSerial::kReadWaitMs);
    EXPECT_TRUE(line.socket.Open());       // already open
    EXPECT_TRUE(line.socket.Configure());  // again on the open line
    EXPECT_TRUE(line.socket.Close());
    EXPECT_FALSE(line.socket.IsOpen());
    EXPECT_FALSE(line.port.isOpen);
    EXPECT_TRUE(line.socket.Close());  // closing a closed socket is fine

    EXPECT_TRUE(line.socket.Configure());  // closed: opens, configures, closes again
    EXPECT_FALSE(line.socket.IsOpen());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SocketSerial, AtExchangeAndEchoOff)
{
    PhoneSim sim({"--manufacturer", "ACME"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    Line line(sim);
    ASSERT_TRUE(line.socket.Open());
    CountingSocket at(line.socket);
    EXPECT_EQ(at.Write("ATZ\r", 0), 4);
    EXPECT_GT(at.ReadReply(0), 0);
    EXPECT_STREQ(at.result.CStr(), "OK");
    EXPECT_STREQ(at.reply.CStr(), "ATZ");  // the echo, before echo is off
    at.Write("ATE0\r", 0);
    at.ReadReply(0);
    EXPECT_STREQ(at.result.CStr(), "OK");
    at.Write("AT+CGMI\r", 0);
    at.ReadReply(Socket::kJoinLines);
    EXPECT_STREQ(at.reply.CStr(), "ACME");
    at.Write("AT+NOSUCH\r", 0);
    at.ReadReply(0);
    EXPECT_STREQ(at.result.CStr(), "ERROR");
    EXPECT_EQ(at.shortReads, 0);  // no read waited for a time-out
}

TEST(SocketSerial, ReplySplitAcrossReadsIsJoined)
{
    // The echo comes at once, the answer 700 ms later: one read of both must wait for it.
    PhoneSim sim({"--delay", "700"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    Line line(sim);
    ASSERT_TRUE(line.socket.Open());
    line.socket.Write("AT\r", 0);
    Stopwatch clock;
    EXPECT_EQ(ReadExactly(line.socket, 9), "AT\r\r\nOK\r\n");
    EXPECT_GE(clock.Ms(), 500u);
}

TEST(SocketSerial, QueuedAnswerIsReadWhole)
{
    PhoneSim sim({"--manufacturer", "ACME"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    Line line(sim);
    ASSERT_TRUE(line.socket.Open());
    line.socket.Write("AT+CGMI\r", 0);
    const std::string answer = "AT+CGMI\r\r\nACME\r\n\r\nOK\r\n";
    ASSERT_TRUE(sim.WaitForBytesToPc(answer.size()));
    CountingSocket counted(line.socket);
    EXPECT_EQ(ReadExactly(counted, 8), "AT+CGMI\r");
    EXPECT_EQ(ReadExactly(counted, static_cast<int32_t>(answer.size()) - 8), answer.substr(8));
    EXPECT_EQ(counted.shortReads, 0);
}

TEST(SocketSerial, SilentLineEndsAReadAfterTwelveSecondsSlow)
{
    // Only 2 bytes ever arrive (the start of the echo); a read of 3 returns them after the
    // four waits of 3 s.
    PhoneSim sim({"--silence-after", "2"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    Line line(sim);
    ASSERT_TRUE(line.socket.Open());
    line.socket.Write("ATZ\r", 0);
    Stopwatch clock;
    EXPECT_EQ(ReadExactly(line.socket, 3), "AT");
    EXPECT_GE(clock.Ms(), 11000u);
}

TEST(SocketSerial, CutLineEndsReadsAndWrites)
{
    PhoneSim sim({"--cut-at", "3"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    Line line(sim);
    ASSERT_TRUE(line.socket.Open());
    line.socket.Write("ATZ\r", 0);
    std::string got = ReadExactly(line.socket, 10);
    EXPECT_EQ(got, "ATZ");
    EXPECT_EQ(sim.Control("MODE?"), "cut");
    int32_t written = line.socket.Write("AT\r", 0);
    EXPECT_GE(written, 0);
    EXPECT_LE(written, 3);
    EXPECT_EQ(line.socket.Read(&got[0], 1), 0);
    EXPECT_TRUE(line.socket.Close());
}

TEST(SocketSerial, StalledLineEndsAWrite)
{
    // The phone takes in nothing: once the pty's buffer is full the bytes cannot go on. The
    // write gives up after what they need at the line's speed and a margin, and returns
    // what went (at 200 ms a byte it would hold the worker for most of a day).
    PhoneSim sim({"--stall-input-after", "0"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    Line line(sim);
    line.port.baudRate = 921600;
    ASSERT_TRUE(line.socket.Open());
    const std::string data(256 * 1024, 'x');
    const int32_t written = line.socket.Write(data.data(), static_cast<int32_t>(data.size()));
    EXPECT_GE(written, 0);
    EXPECT_LT(written, static_cast<int32_t>(data.size()));
    EXPECT_EQ(sim.Control("STATS"), "in=0 out=0");
    EXPECT_TRUE(line.socket.Close());
}

TEST(SocketSerial, FallsBackToTheDevicePath)
{
    PhoneSim sim;
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;
    TSerialPort port;
    port.portName = "QVNOSUCHPORT";
    port.devicePath = sim.DevicePath().c_str();
    SocketSerial socket(&port, 0);
    ASSERT_TRUE(socket.Open());
    socket.Write("AT\r", 0);
    socket.ReadReply(0);
    EXPECT_STREQ(socket.result.CStr(), "OK");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SocketSerial, PortThatOpensNeitherWayIsReported)
{
    MessageBoxRecorder boxes(MessageReporter::kOk);
    TSerialPort port;
    port.portName = "QVNOSUCHPORT";
    port.devicePath = "\\\\.\\QVNOSUCHDEVICE";
    port.displayName = "Порт 7";
    SocketSerial socket(&port, 0);
    EXPECT_FALSE(socket.Open());
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_FALSE(port.isOpen);
    std::vector<RecordedBox> shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Ошибка открытия:Порт 7\n", 0), 0u) << shown[0].text;
    EXPECT_GT(shown[0].text.size(), std::string("Ошибка открытия:Порт 7\n").size());
    EXPECT_TRUE(socket.Close());
    char byte = 0;
    EXPECT_EQ(socket.Read(&byte, 1), 0);
    EXPECT_EQ(socket.Write("AT\r", 0), 0);
}

TEST(SocketSerial, ObexBytesReachTheServerInObexMode)
{
    PhoneSim sim({"--obex", "obexftpd", "--start-in-obex"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    Line line(sim);
    ASSERT_TRUE(line.socket.Open());
    // CONNECT: version 1.0, no flags, maximum packet 0x0400.
    const unsigned char connect[] = {0x80, 0x00, 0x07, 0x10, 0x00, 0x04, 0x00};
    EXPECT_EQ(line.socket.Write(connect, sizeof connect), 7);
    unsigned char head[3] = {};
    ASSERT_EQ(line.socket.Read(head, 3), 3) << sim.Log();
    EXPECT_EQ(head[0], 0xA0);
    int length = head[1] << 8 | head[2];
    ASSERT_GE(length, 7);
    ASSERT_LE(length, 1024);
    std::vector<unsigned char> rest(static_cast<size_t>(length - 3));
    EXPECT_EQ(line.socket.Read(rest.data(), length - 3), length - 3);
}

}  // namespace

namespace {

TEST(SocketSerial, LineThatRefusesItsSettingsIsClosedCleanly)
{
    // A plain file where the port should be: it opens, but takes no line settings. (Wine
    // keeps treating a port it once opened as a serial line, hence a port new to the process.)
    ComPortLease lease(true);
    ASSERT_TRUE(lease.Taken());
    std::string path = PhoneSim::WinePath(lease.UnixPath());
    DeleteFileA(path.c_str());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    MessageBoxRecorder boxes(MessageReporter::kOk);
    TSerialPort port;
    port.portName = lease.ComName().c_str();
    SocketSerial socket(&port, 0);
    EXPECT_FALSE(socket.Open());
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_FALSE(port.isOpen);
    std::vector<RecordedBox> shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    // The line opened; it was the settings that failed (that box has the system text only).
    EXPECT_EQ(shown[0].text.find("Ошибка открытия:"), std::string::npos) << shown[0].text;
    EXPECT_TRUE(socket.Close());
    EXPECT_FALSE(socket.Configure());
    char byte = 0;
    EXPECT_EQ(socket.Read(&byte, 1), 0);
    DeleteFileA(path.c_str());
}

}  // namespace
