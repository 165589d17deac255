// GET and PUT of 1 MiB through Wine's COM port, a pty and the phone simulator, next to the
// raw throughput of the same path (the simulator's AT echo). A benchmark, not a test:
// disabled in test runs, started by scripts/bench.sh.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/win/ObexWinKit.h"

namespace {

constexpr uint32_t kSize = 1024 * 1024;

double Rate(uint64_t bytes, DWORD ms)
{
    return ms != 0 ? bytes * 1000.0 / ms : 0.0;
}

// Bytes written to the simulator in AT mode come back as echo, in the same blocks a large
// OBEX packet would use. Answers the bytes the line carried per second, both directions
// counted (the echo's payload rate is half of it): the stricter yardstick for a transfer
// that moves its data one way.
double RawEcho(uint32_t block)
{
    PhoneSim sim;
    if (!sim.Ready())
        return 0;
    TSerialPort port;
    port.portName = sim.ComName().c_str();
    SocketSerial socket(&port, 0);
    if (!socket.Open())
        return 0;
    std::string out(block, 'A');
    std::string in(block, '\0');
    const DWORD start = GetTickCount();
    uint64_t moved = 0;
    while (moved < kSize) {
        if (socket.Write(out.data(), static_cast<int32_t>(block)) != static_cast<int32_t>(block))
            break;
        int32_t got = 0;
        while (got < static_cast<int32_t>(block)) {
            const int32_t n = socket.Read(&in[got], static_cast<int32_t>(block) - got);
            if (n <= 0)
                break;
            got += n;
        }
        moved += static_cast<uint64_t>(got);
        if (got < static_cast<int32_t>(block))
            break;
    }
    return Rate(2 * moved, GetTickCount() - start);
}

void ObexFigures(const char* maxPacket, double raw)
{
    PhoneRoot root;
    root.Write("down.bin", Pattern(kSize, 3));
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--max-packet", maxPacket});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    ASSERT_TRUE(line.Connect());

    DWORD start = GetTickCount();
    const std::string got = line.Get("down.bin", kSize);
    const DWORD getMs = GetTickCount() - start;
    EXPECT_EQ(got.size(), kSize);

    PhoneRoot local;
    local.Write("up.bin", Pattern(kSize, 4));
    FileInformation info = LocalFile(local.Path("up.bin"));
    start = GetTickCount();
    EXPECT_TRUE(line.obex->PutFile(&info, nullptr));
    const DWORD putMs = GetTickCount() - start;

    const double get = Rate(got.size(), getMs), put = Rate(kSize, putMs);
    std::printf("OBEX packets of %s bytes: GET 1 MiB in %lu ms = %.0f bytes/s (%.0f%% of raw), "
                "PUT 1 MiB in %lu ms = %.0f bytes/s (%.0f%% of raw)\n",
                maxPacket, static_cast<unsigned long>(getMs), get, raw > 0 ? 100 * get / raw : 0,
                static_cast<unsigned long>(putMs), put, raw > 0 ? 100 * put / raw : 0);
    std::fflush(stdout);
}

// What a user gets from a phone on a cable: the simulator runs its line at 115200 baud, so
// the yardstick is the line itself, 11 520 bytes a second each way. Packets of 1 KiB, as
// most phones take.
TEST(ObexThroughput, DISABLED_OneMebibyteAt115200Baud)
{
    const double lineLimit = 115200 / 10.0;
    PhoneRoot root;
    root.Write("down.bin", Pattern(kSize, 5));
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--max-packet", "1024", "--baud", "115200"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    line.port.baudRate = 115200;
    ASSERT_TRUE(line.Connect());
    ASSERT_EQ(line.obex->peerMaxPacket, 1024u);

    DWORD start = GetTickCount();
    const std::string got = line.Get("down.bin", kSize);
    const DWORD getMs = GetTickCount() - start;
    EXPECT_EQ(got.size(), kSize);

    PhoneRoot local;
    const std::string upload = Pattern(kSize, 6);
    local.Write("up.bin", upload);
    FileInformation info = LocalFile(local.Path("up.bin"));
    start = GetTickCount();
    EXPECT_TRUE(line.obex->PutFile(&info, nullptr));
    const DWORD putMs = GetTickCount() - start;
    EXPECT_TRUE(root.Read("up.bin") == upload);

    const double get = Rate(got.size(), getMs), put = Rate(kSize, putMs);
    std::printf("at 115200 baud, 1 KiB packets: GET 1 MiB in %lu ms = %.0f bytes/s = %.3f of the "
                "line's %.0f; PUT 1 MiB in %lu ms = %.0f bytes/s = %.3f\n",
                static_cast<unsigned long>(getMs), get, get / lineLimit, lineLimit,
                static_cast<unsigned long>(putMs), put, put / lineLimit);
    std::fflush(stdout);
}

// Each OBEX run is set against the raw line moving blocks of its own packet size, since a
// round trip per block costs the same there.
TEST(ObexThroughput, DISABLED_GetAndPutOneMebibyte)
{
    for (uint32_t block : {32768u, 1024u}) {
        const double raw = RawEcho(block);
        std::printf("raw line (AT echo in %u-byte blocks, both directions counted): %.0f "
                    "bytes/s\n",
                    block, raw);
        std::fflush(stdout);
        ObexFigures(block == 32768u ? "32768" : "1024", raw);
    }
}

}  // namespace
