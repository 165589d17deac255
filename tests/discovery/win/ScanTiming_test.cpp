// Benchmark (prints figures; run by scripts/bench.sh): how long a scan takes to identify a
// phone that answers at once, against the fixed waits on that path, and the same for opening
// a Siemens phone's file access over its cable.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/Clock.h"
#include "devices/SIEMENS_Device.h"
#include "discovery/win/ScanSetup.h"
#include "obex/Progress.h"
#include "support/win/PhoneSim.h"
#include "transport/Socket.h"

namespace {

double NowMsPrecise()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The system clock, with the fixed waits the code asks for added up.
class SleepTally : public Clock {
public:
    explicit SleepTally(Clock& real) : real(real) {}
    uint32_t Milliseconds() override { return real.Milliseconds(); }
    void Sleep(uint32_t ms) override
    {
        slept += ms;
        real.Sleep(ms);
    }
    Clock& real;
    uint32_t slept = 0;
};

class TimedPolls : public PortPollers {
public:
    explicit TimedPolls(PortPollers& inner) : inner(inner) {}
    void PollSerial(List<TComm>& found) override
    {
        double start = NowMsPrecise();
        inner.PollSerial(found);
        serialMs = NowMsPrecise() - start;
    }
    void PollIrDA(List<TComm>& found) override { inner.PollIrDA(found); }
    void PollBluetooth(List<TComm>& found) override { inner.PollBluetooth(found); }
    PortPollers& inner;
    double serialMs = 0;
};

class NoWait : public WaitProgress {
public:
    void SetRange(uint32_t, uint32_t) override {}
    void Step() override {}
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

TEST(ScanTiming, DISABLED_ScanToIdentifiedPhone)
{
    constexpr int kRounds = 5;
    std::vector<double> total, poll, connect, waits;
    for (int round = 0; round < kRounds; ++round) {
        PhoneSim sim({"--profile", "generic"});
        ASSERT_TRUE(sim.Ready()) << sim.Error();
        Scanner scanner({sim.ComName()});
        SleepTally tally(SystemClock());
        Clock* previous = SetClockForTesting(&tally);
        TimedPolls polls(scanner.pollers);
        double start = NowMsPrecise();
        scanner.Scan(polls);
        double spent = NowMsPrecise() - start;
        SetClockForTesting(previous);
        TComm* port = scanner.Port(sim.ComName());
        ASSERT_TRUE(port != nullptr && port->identified);
        total.push_back(spent);
        poll.push_back(polls.serialMs);
        connect.push_back(spent - polls.serialMs);
        waits.push_back(tally.slept);
    }
    std::printf("scan to identified phone (median of %d): %.0f ms\n", kRounds, Median(total));
    std::printf("  serial poll (interfaces, registry, device checks): %.0f ms\n", Median(poll));
    std::printf("  open + ATZ, ATE0 + 4 identity questions + device:   %.0f ms (%.0f ms per exchange)\n",
                Median(connect), Median(connect) / 6);
    std::printf("  fixed waits on this path: %.0f ms\n", Median(waits));
}

TEST(ScanTiming, DISABLED_SiemensFileAccessOverCable)
{
    constexpr int kRounds = 3;
    std::vector<double> total, waits;
    for (int round = 0; round < kRounds; ++round) {
        PhoneSim sim({"--profile", "siemens"});
        ASSERT_TRUE(sim.Ready()) << sim.Error();
        Scanner scanner({sim.ComName()});
        scanner.Scan();
        TComm* port = scanner.Port(sim.ComName());
        ASSERT_TRUE(port != nullptr && port->identified);
        SleepTally tally(SystemClock());
        Clock* previous = SetClockForTesting(&tally);
        NoWait wait;
        double start = NowMsPrecise();
        Socket* obex = port->GetSocket(Socket::kChannelObex, &wait);
        bool opened = obex != nullptr && port->device->OpenFileAccess(obex, &wait);
        double spent = NowMsPrecise() - start;
        SetClockForTesting(previous);
        ASSERT_TRUE(opened);
        total.push_back(spent);
        waits.push_back(tally.slept);
        port->Disconnect();
    }
    std::printf("Siemens file access over the cable (median of %d): %.0f ms\n", kRounds, Median(total));
    std::printf("  fixed waits on this path (mode switch, OBEX connect on a serial line): %.0f ms\n",
                Median(waits));
    std::printf("  exchanges (AT^SQWE=0, AT^SQWE=3, CONNECT): %.0f ms\n", Median(total) - Median(waits));
}

}  // namespace
