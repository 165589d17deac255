// The IrDA and Bluetooth transports: their addresses, their failure without a stack (Wine
// has neither), and the shared send/receive loops over a loopback TCP connection.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "support/MessageBoxRecorder.h"
#include "transport/win/SocketBT.h"
#include "transport/win/SocketIrDA.h"
#include "transport/win/WinsockStream.h"

namespace {

class Winsock : public testing::Test {
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
};

TEST_F(Winsock, IrdaAddressNamesTheServiceOfTheChannel)
{
    TIrDAPort port;
    const uint8_t id[4] = {0x12, 0x34, 0x56, 0x78};
    std::memcpy(port.irdaAddress, id, 4);
    const char* services[] = {"IrDA:IrCOMM", "OBEX", "OBEX"};
    for (int32_t channel = 0; channel < 3; ++channel) {
        SocketIrDA socket(&port, channel);
        EXPECT_EQ(socket.address.irdaAddressFamily, 26);
        EXPECT_EQ(std::memcmp(socket.address.irdaDeviceID, id, 4), 0);
        EXPECT_STREQ(socket.address.irdaServiceName, services[channel]);
    }
    EXPECT_EQ(sizeof(SOCKADDR_IRDA), 32u);
}

TEST_F(Winsock, BluetoothAddressNamesTheServiceClassOfTheChannel)
{
    TBthPort port;
    const uint8_t address[8] = {0x66, 0x55, 0x44, 0x33, 0x22, 0x11, 0, 0};
    port.SetAddress(address);
    const uint32_t classes[] = {0x1103, 0x1106, 0x1105, 0x1108};
    for (int32_t channel = 0; channel < 4; ++channel) {
        SocketBT socket(&port, channel);
        EXPECT_EQ(socket.address.addressFamily, 32);
        EXPECT_EQ(socket.address.btAddr, 0x112233445566ull);
        EXPECT_EQ(socket.address.serviceClassId.Data1, classes[channel]);
        EXPECT_EQ(socket.address.serviceClassId.Data2, 0x0000);
        EXPECT_EQ(socket.address.serviceClassId.Data3, 0x1000);
        const uint8_t tail[8] = {0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB};
        EXPECT_EQ(std::memcmp(socket.address.serviceClassId.Data4, tail, 8), 0);
        EXPECT_EQ(socket.address.port, 0u);
    }
}

TEST_F(Winsock, WithoutAStackOpenFailsSilently)
{
    MessageBoxRecorder boxes;
    TIrDAPort irda;
    TBthPort bth;
    SocketIrDA ir(&irda, 0);
    SocketBT bt(&bth, 1);
    EXPECT_FALSE(ir.Open());
    EXPECT_FALSE(bt.Open());
    EXPECT_FALSE(ir.IsOpen());
    EXPECT_FALSE(bt.IsOpen());
    EXPECT_FALSE(irda.isOpen);
    EXPECT_FALSE(bth.isOpen);
    char byte;
    EXPECT_EQ(ir.Read(&byte, 1), 0);
    EXPECT_EQ(bt.Write("AT\r", 0), 0);
    EXPECT_TRUE(ir.Close());
    EXPECT_TRUE(bt.Close());
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A connected loopback pair: client non-blocking, as the transports use it.
struct Loopback {
    Loopback()
    {
        SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int len = sizeof a;
        bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
        client = CreateStreamSocket(AF_INET, IPPROTO_TCP);
        connected = ConnectWithin(client, reinterpret_cast<sockaddr*>(&a), sizeof a, 5000);
        server = accept(listener, nullptr, nullptr);
        closesocket(listener);
    }
    ~Loopback()
    {
        if (client != INVALID_SOCKET)
            CloseStreamSocket(client);
        if (server != INVALID_SOCKET)
            closesocket(server);
    }
    SOCKET client = INVALID_SOCKET;
    SOCKET server = INVALID_SOCKET;
    bool connected = false;
};

// Counts the sends that reach the socket.
class CountingStream : public WinsockStream {
public:
    using WinsockStream::WinsockStream;
    int32_t Send(const uint8_t* data, int32_t length) override
    {
        ++sends;
        return WinsockStream::Send(data, length);
    }
    int sends = 0;
};

TEST_F(Winsock, WriteDeliversEveryByteOnceThroughPartialSends)
{
    Loopback link;
    ASSERT_TRUE(link.connected);
    // More than the stack buffers: the sends come back partial and would-block many times.
    std::vector<char> data(32 * 1024 * 1024);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i % 251);
    std::string received;
    std::thread reader([&] {
        char buffer[8192];
        while (received.size() < data.size()) {
            int n = recv(link.server, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<size_t>(n));
        }
    });
    CountingStream stream(link.client);
    int32_t sent = StreamWrite(stream, data.data(), static_cast<int32_t>(data.size()), 3000);
    EXPECT_GT(stream.sends, 1);
    shutdown(link.client, SD_SEND);  // the reader ends even if something is missing
    reader.join();
    EXPECT_EQ(sent, static_cast<int32_t>(data.size()));
    ASSERT_EQ(received.size(), data.size());
    EXPECT_TRUE(std::equal(received.begin(), received.end(), data.begin()));
}

TEST_F(Winsock, WriteToAStalledPeerReturnsWhatWentAfterTheWait)
{
    Loopback link;
    ASSERT_TRUE(link.connected);
    std::vector<char> data(64 * 1024 * 1024, 'q');
    WinsockStream stream(link.client);
    DWORD start = GetTickCount();
    int32_t sent = StreamWrite(stream, data.data(), static_cast<int32_t>(data.size()), 1000);
    DWORD ms = GetTickCount() - start;
    EXPECT_GE(sent, 0);
    EXPECT_LT(sent, static_cast<int32_t>(data.size()));
    EXPECT_GE(ms, 900u);
}

// Signals once a receive has brought bytes, so the peer sends its second piece only after
// the read holds the first.
class SignallingStream : public WinsockStream {
public:
    explicit SignallingStream(SOCKET s) : WinsockStream(s), received(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~SignallingStream() override { CloseHandle(received); }
    int32_t Recv(uint8_t* buffer, int32_t length) override
    {
        const int32_t n = WinsockStream::Recv(buffer, length);
        if (n > 0)
            SetEvent(received);
        return n;
    }
    HANDLE received;
};

TEST_F(Winsock, ReadGathersPiecesAndStopsAtSilence)
{
    Loopback link;
    ASSERT_TRUE(link.connected);
    SignallingStream stream(link.client);
    std::thread writer([&] {
        send(link.server, "ab", 2, 0);
        WaitForSingleObject(stream.received, 10000);
        send(link.server, "cde", 3, 0);
    });
    char buffer[16] = {};
    EXPECT_EQ(StreamRead(stream, buffer, 5, 5000), 5);
    EXPECT_STREQ(buffer, "abcde");
    writer.join();
    DWORD start = GetTickCount();
    EXPECT_EQ(StreamRead(stream, buffer, 4, 300), 0);
    EXPECT_GE(GetTickCount() - start, 250u);  // it waited for the rest before giving up
}

}  // namespace
