// Throughput of the serial transport under Wine: a 1 MiB file fetched from the simulator's
// OBEX server with 64 KiB packets, read with whole-queue reads and with one byte per call.
// A benchmark, not a test: disabled in test runs, started by scripts/bench.sh.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "devices/TSerialPort.h"
#include "support/win/PhoneSim.h"
#include "transport/win/SocketSerial.h"

namespace {

constexpr uint32_t kFileSize = 1024 * 1024;

using ReadFn = int32_t (*)(Socket&, uint8_t*, int32_t);

int32_t ReadBulk(Socket& s, uint8_t* buffer, int32_t count) { return s.Read(buffer, count); }

int32_t ReadBytewise(Socket& s, uint8_t* buffer, int32_t count)
{
    int32_t n = 0;
    while (n < count && s.Read(buffer + n, 1) == 1)
        ++n;
    return n;
}

// One OBEX response: opcode and the bytes after the 3-byte head; false on a short read.
bool ReadResponse(Socket& s, ReadFn read, uint8_t& code, std::vector<uint8_t>& body)
{
    uint8_t head[3];
    if (read(s, head, 3) != 3)
        return false;
    code = head[0];
    int length = head[1] << 8 | head[2];
    if (length < 3)
        return false;
    body.resize(static_cast<size_t>(length - 3));
    return body.empty() || read(s, body.data(), length - 3) == length - 3;
}

// Body bytes of a GET response: Body (0x48) and End-of-body (0x49) headers. The two top bits
// of a header id give its encoding: text or bytes with a 16-bit length, one byte, four bytes.
uint32_t BodyBytes(const std::vector<uint8_t>& headers)
{
    uint32_t total = 0;
    size_t i = 0;
    while (i < headers.size()) {
        uint8_t id = headers[i];
        size_t len = 0;
        switch (id & 0xC0) {
        case 0x80:
            len = 2;
            break;
        case 0xC0:
            len = 5;
            break;
        default:
            if (i + 3 > headers.size())
                return total;
            len = static_cast<size_t>(headers[i + 1] << 8 | headers[i + 2]);
            if (len < 3)
                return total;
            if (id == 0x48 || id == 0x49)
                total += static_cast<uint32_t>(len - 3);
        }
        i += len;
    }
    return total;
}

// GETs the file; answers the body bytes received and the milliseconds it took.
uint32_t Fetch(Socket& s, ReadFn read, const char* name, DWORD limitMs, DWORD& ms)
{
    std::vector<uint8_t> get = {0x83, 0, 0, 0x01, 0, 0};
    for (const char* p = name;; ++p) {
        get.push_back(0);
        get.push_back(static_cast<uint8_t>(*p));
        if (*p == 0)
            break;
    }
    get[4] = static_cast<uint8_t>((get.size() - 3) >> 8);
    get[5] = static_cast<uint8_t>(get.size() - 3);
    get[1] = static_cast<uint8_t>(get.size() >> 8);
    get[2] = static_cast<uint8_t>(get.size());
    const uint8_t more[] = {0x83, 0x00, 0x03};
    DWORD start = GetTickCount();
    uint32_t received = 0;
    s.Write(get.data(), static_cast<int32_t>(get.size()));
    for (;;) {
        uint8_t code = 0;
        std::vector<uint8_t> body;
        if (!ReadResponse(s, read, code, body))
            break;
        received += BodyBytes(body);
        if (code != 0x90 || GetTickCount() - start > limitMs)
            break;
        s.Write(more, sizeof more);
    }
    ms = GetTickCount() - start;
    return received;
}

TEST(SerialThroughput, DISABLED_OneMebibyteFromTheSimulator)
{
    std::string build = getenv("QV_BUILD") ? getenv("QV_BUILD") : "";
    ASSERT_FALSE(build.empty());
    std::string rootUnix = build + "/bench-root";
    std::string root = PhoneSim::WinePath(rootUnix);
    CreateDirectoryA(root.c_str(), nullptr);
    {
        std::vector<char> data(kFileSize);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<char>(i * 7 + 3);
        FILE* f = fopen((root + "\\big.bin").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(data.data(), 1, data.size(), f);
        fclose(f);
    }
    PhoneSim sim({"--start-in-obex", "--root", rootUnix, "--max-packet", "65535"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    TSerialPort port;
    port.portName = sim.ComName().c_str();
    SocketSerial socket(&port, 0);
    ASSERT_TRUE(socket.Open());
    const uint8_t connect[] = {0x80, 0x00, 0x07, 0x10, 0x00, 0xFF, 0xFF};
    socket.Write(connect, sizeof connect);
    uint8_t code = 0;
    std::vector<uint8_t> rest;
    ASSERT_TRUE(ReadResponse(socket, ReadBulk, code, rest));
    ASSERT_EQ(code, 0xA0);

    DWORD bulkMs = 0;
    uint32_t bulk = Fetch(socket, ReadBulk, "big.bin", 120000, bulkMs);
    EXPECT_EQ(bulk, kFileSize);
    DWORD byteMs = 0;
    uint32_t bytewise = Fetch(socket, ReadBytewise, "big.bin", 20000, byteMs);
    auto rate = [](uint32_t bytes, DWORD ms) { return ms ? bytes * 1000.0 / ms : 0.0; };
    printf("serial read, whole queue per call: %u bytes in %lu ms = %.0f bytes/s\n", bulk,
           static_cast<unsigned long>(bulkMs), rate(bulk, bulkMs));
    printf("serial read, one byte per call:    %u bytes in %lu ms = %.0f bytes/s%s\n", bytewise,
           static_cast<unsigned long>(byteMs), rate(bytewise, byteMs),
           bytewise < kFileSize ? " (stopped after the time limit)" : "");
    fflush(stdout);
    EXPECT_GT(bytewise, 0u);
    DeleteFileA((root + "\\big.bin").c_str());
}

}  // namespace
